// The window, shading, roof light and atrium dialogs through their widgets: every check in its
// order with its message, the dialog staying open, the enabling rules, the values taken on OK and
// the defaults kept for the next new opening.

#include "app/Preferences.h"
#include "model/LENIProject.h"
#include "support/RecordingCanvas.h"
#include "ui/GuiTestSupport.h"
#include "ui/openings/AtrioPropsDlg.h"
#include "ui/openings/PictureFrame.h"
#include "ui/openings/RoofLightDlg.h"
#include "ui/openings/ShadingDlg.h"
#include "ui/openings/WindowDlg.h"
#include "ui/shell/MainFrame.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>

namespace {

class OpeningDialogsTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        // A 5 x 4 m room on a 3 m floor; wall 0 runs along y = 0 and has two windows.
        CLENIFloor built("F1", 3.0);
        CLENIRoom room;
        room.InitFromPolygon("R1", {{0, 0}, {5, 0}, {5, 4}, {0, 4}}, 3.0);
        first.m_dWidth = 1.5;
        first.m_dHeight = 1.0;
        first.m_dSillHeight = 0.5;
        first.m_dStart = 0.25;
        first.m_iWallId = 0;
        first.m_iWindowId = 0;
        CLENIWindow second = first;
        second.m_iWindowId = 1;
        second.m_dStart = 3.2;
        second.m_dWidth = 1.0;
        room.AddWindow(first);
        room.AddWindow(second);
        built.AddRoom(room);
        CLENIAtrium atrium;
        atrium.m_csName = "ATRIO_01_F1";
        atrium.SetPolygon({{6, 0}, {16, 0}, {16, 10}, {6, 10}});
        built.AddAtrium(atrium);
        project.AppendFloor(built);
        floor = project.GetFloorByName("F1");
        roomPtr = floor->FindRoom("R1");
    }
    // Presses OK; returns the message shown, or "" when the dialog closed with OK.
    std::string PressOk(QDialog& dialog) {
        boxes.boxes.clear();
        dialog.setResult(QDialog::Rejected);
        dialog.accept();
        if (dialog.result() == QDialog::Accepted) {
            EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts();
            return "";
        }
        return boxes.boxes.empty() ? "(no message)" : boxes.boxes.back().text;
    }

    CLENIProject project;
    CLENIFloor* floor = nullptr;
    CLENIRoom* roomPtr = nullptr;
    CLENIWindow first;
};

template <class Dialog> struct DialogCase {
    const char* what;
    std::function<void(Dialog&)> fill;
    std::string message; // "" when accepted
};

void Sloped(CWindowDlg& d, int type, const char* gamma) {
    d.GetTypeList()->setCurrentIndex(type);
    d.GetGammaField()->setText(gamma);
    d.GetLengthField()->setText("1.2 m");
    d.GetDistanceField()->setText("0.3 m");
    d.GetHeightToSlopeField()->setText("2.0 m");
}

TEST_F(OpeningDialogsTest, WindowDialogChecksInOrder) {
    const std::string gamma1 = "Slope angle must be 75\xC2\xB0 or greater, and less than 90\xC2\xB0";
    const std::string gamma2 = "Slope angle must be less than 75\xC2\xB0";
    const DialogCase<CWindowDlg> cases[] = {
        {"unchanged", [](CWindowDlg&) {}, ""},
        {"vertical sloped at 75", [](CWindowDlg& d) { Sloped(d, 1, "75"); }, ""},
        {"vertical sloped at 89.9", [](CWindowDlg& d) { Sloped(d, 1, "89.9"); }, ""},
        {"vertical sloped at 74.9", [](CWindowDlg& d) { Sloped(d, 1, "74.9"); }, gamma1},
        {"vertical sloped at 90", [](CWindowDlg& d) { Sloped(d, 1, "90"); }, gamma1},
        {"horizontal sloped at 74.9", [](CWindowDlg& d) { Sloped(d, 2, "74.9"); }, ""},
        {"horizontal sloped at 75", [](CWindowDlg& d) { Sloped(d, 2, "75"); }, gamma2},
        {"negative distance",
         [](CWindowDlg& d) {
             Sloped(d, 2, "30");
             d.GetDistanceField()->setText("-0.1");
         },
         "Distance to wall must be 0 or positive"},
        {"no length",
         [](CWindowDlg& d) {
             Sloped(d, 2, "30");
             d.GetLengthField()->setText("0.0 m");
         },
         "Length of window must be more than 0"},
        {"negative height to slope",
         [](CWindowDlg& d) {
             Sloped(d, 2, "30");
             d.GetHeightToSlopeField()->setText("-1");
         },
         "Height to slope wall must be 0 or greater"},
        {"tdsa above 1",
         [](CWindowDlg& d) {
             Sloped(d, 2, "30");
             d.GetTdsaField()->setText("1.1");
         },
         "tdsa must be between 0 and 1"},
        // A vertical window ignores the slope fields, however wrong.
        {"vertical ignores the slope", [](CWindowDlg& d) { d.GetGammaField()->setText("-5"); }, ""},
        {"height 600 m", [](CWindowDlg& d) { d.GetHeightField()->setText("600"); },
         "Window height value incorrect: enter metres above 0, at most 500"},
        {"height 0", [](CWindowDlg& d) { d.GetHeightField()->setText("0"); },
         "Window height value incorrect: enter metres above 0, at most 500"},
        {"width 600 m", [](CWindowDlg& d) { d.GetWidthField()->setText("600"); },
         "Window width value incorrect: enter metres above 0, at most 500"},
        {"width 0", [](CWindowDlg& d) { d.GetWidthField()->setText("0"); },
         "Window width value incorrect: enter metres above 0, at most 500"},
        {"width abc", [](CWindowDlg& d) { d.GetWidthField()->setText("abc"); },
         "Width: \"abc\" is not a number; enter metres above 0, at most 500"},
        {"lintel below the height", [](CWindowDlg& d) { d.GetLintelField()->setText("0.5"); },
         "Window y top (lintel) value incorrect: the lintel must be at least the window height and at most "
         "500 m above it"},
        {"lintel at the floor height", [](CWindowDlg& d) { d.GetLintelField()->setText("3.00"); }, ""},
        {"lintel 1 cm above the floor", [](CWindowDlg& d) { d.GetLintelField()->setText("3.01"); },
         "This floor is 3.0m high. The window top (lintel)\nwould be beyond the top of the floor at 3.0m"},
        {"lintel 20 cm above the floor", [](CWindowDlg& d) { d.GetLintelField()->setText("3.2"); },
         "This floor is 3.0m high. The window top (lintel)\nwould be beyond the top of the floor at 3.2m"},
        {"centre below 0", [](CWindowDlg& d) { d.GetCentreField()->setText("-1"); },
         "Window center value incorrect: enter metres from 0 to 500"},
        {"centre 600 m", [](CWindowDlg& d) { d.GetCentreField()->setText("600"); },
         "Window center value incorrect: enter metres from 0 to 500"},
        {"tau 0", [](CWindowDlg& d) { d.GetTauField()->setText("0"); },
         "Tau value incorrect: enter a factor above 0, at most 1"},
        {"tau 1", [](CWindowDlg& d) { d.GetTauField()->setText("1"); }, ""},
        {"k1 above 1", [](CWindowDlg& d) { d.GetK1Field()->setText("1.5"); },
         "k1 value incorrect: enter a factor above 0, at most 1"},
        {"k2 0", [](CWindowDlg& d) { d.GetK2Field()->setText("0"); },
         "k2 value incorrect: enter a factor above 0, at most 1"},
        {"k3 negative", [](CWindowDlg& d) { d.GetK3Field()->setText("-1"); },
         "k3 value incorrect: enter a factor above 0, at most 1"},
        {"end past the wall", [](CWindowDlg& d) { d.GetCentreField()->setText("4.5"); },
         "Window Error\nThe end of the window is outside of the room"},
        {"start before the wall", [](CWindowDlg& d) { d.GetCentreField()->setText("0.5"); },
         "Window Error\nThe start of the window is outside of the room"},
        {"onto the other window", [](CWindowDlg& d) { d.GetCentreField()->setText("3.0"); },
         "Window Error\nThe window overlaps an existing window in the room"},
        {"above the other window",
         [](CWindowDlg& d) {
             d.GetCentreField()->setText("3.0");
             d.GetHeightField()->setText("1.2");
             d.GetLintelField()->setText("2.9 m");
         },
         ""},
    };
    for (const auto& c : cases) {
        CWindowDlg dialog(first, *roomPtr, *floor, project);
        EXPECT_EQ(dialog.GetContextLabel()->text().toStdString(), "Floor is 3.00m high, wall is 5.00m wide");
        c.fill(dialog);
        EXPECT_EQ(PressOk(dialog), c.message) << c.what;
    }
}

TEST_F(OpeningDialogsTest, WindowDialogShowsTakesAndRemembersTheWindow) {
    first.m_dTD65SA = 0.4;
    CWindowDlg dialog(first, *roomPtr, *floor, project);
    EXPECT_EQ(dialog.GetWidthField()->text(), "1.50");
    EXPECT_EQ(dialog.GetHeightField()->text(), "1.00");
    EXPECT_EQ(dialog.GetCentreField()->text(), "1.00");
    EXPECT_EQ(dialog.GetLintelField()->text(), "1.50");
    EXPECT_EQ(dialog.GetTauField()->text(), "0.850");
    EXPECT_EQ(dialog.GetTdsaField()->text(), "0.400");
    EXPECT_EQ(dialog.GetGammaField()->text(), " 0.0 \xC2\xB0");
    EXPECT_EQ(dialog.GetLengthField()->text(), " 0.0 m");
    EXPECT_EQ(dialog.GetShadingLabel()->text(), "Ish=1.000");
    EXPECT_EQ(dialog.GetTypeList()->currentText(), "Vertical");

    // The type decides what can be typed.
    const struct {
        int type;
        bool heightAndLintel, slope, tdsa;
    } rules[] = {
        {0, true, false, false}, {1, false, true, false}, {2, false, true, true}, {0, true, false, false}};
    for (const auto& r : rules) {
        dialog.GetTypeList()->setCurrentIndex(r.type);
        EXPECT_EQ(dialog.GetHeightField()->isEnabled(), r.heightAndLintel) << r.type;
        EXPECT_EQ(dialog.GetLintelField()->isEnabled(), r.heightAndLintel) << r.type;
        for (QLineEdit* f : {dialog.GetLengthField(), dialog.GetGammaField(), dialog.GetDistanceField(),
                             dialog.GetHeightToSlopeField()})
            EXPECT_EQ(f->isEnabled(), r.slope) << r.type;
        EXPECT_EQ(dialog.GetTdsaField()->isEnabled(), r.tdsa) << r.type;
    }

    // The picture follows the type and the values as they are typed.
    dialog.GetTypeList()->setCurrentIndex(2);
    dialog.GetGammaField()->setText("35");
    dialog.GetLengthField()->setText("1.4");
    dialog.resize(600, 400);
    RecordingCanvas canvas;
    dialog.GetPicture()->DrawInto(canvas);
    EXPECT_TRUE(canvas.FindText("\xCE\xB3 = 35.0\xC2\xB0"));
    EXPECT_TRUE(canvas.FindText("L = 1.4 m"));

    Sloped(dialog, 1, "80");
    dialog.GetWidthField()->setText("1.2 m");
    dialog.GetCentreField()->setText("2.0");
    ASSERT_EQ(PressOk(dialog), "");
    const CLENIWindow& w = dialog.GetWindow();
    EXPECT_EQ(w.m_iVertWinType, 1);
    EXPECT_DOUBLE_EQ(w.m_dGamma, 80.0);
    EXPECT_DOUBLE_EQ(w.m_dSlopeLength, 1.2);
    EXPECT_DOUBLE_EQ(w.m_dDistToWall, 0.3);
    EXPECT_DOUBLE_EQ(w.m_dHeightToSlope, 2.0);
    EXPECT_DOUBLE_EQ(w.m_dWidth, 1.2);
    EXPECT_DOUBLE_EQ(w.m_dStart, 1.4);
    EXPECT_DOUBLE_EQ(w.m_dSillHeight, 0.5);
    EXPECT_EQ(w.m_iWallId, 0);
    EXPECT_EQ(w.m_iWindowId, 0);
    // The next new window starts from it.
    EXPECT_DOUBLE_EQ(Preferences().m_WindowTemplate.m_dWidth, 1.2);
    EXPECT_EQ(Preferences().m_WindowTemplate.m_iVertWinType, 1);
}

TEST_F(OpeningDialogsTest, ShadingDialogChecksAndTakesItsValues) {
    const DialogCase<CShadingDlg> cases[] = {
        {"unchanged", [](CShadingDlg&) {}, ""},
        {"front below 0", [](CShadingDlg& d) { d.GetFrontField()->setText("-1"); },
         "All angles must be equal to or greater than 0 degrees."},
        {"side 90", [](CShadingDlg& d) { d.GetSideField()->setText("90"); },
         "All angles must be less than 90 degrees."},
        {"overhang 89.9999", [](CShadingDlg& d) { d.GetOverhangField()->setText("89.9999"); }, ""},
        {"both wrong: the sign first",
         [](CShadingDlg& d) {
             d.GetFrontField()->setText("95");
             d.GetSideField()->setText("-3");
         },
         "All angles must be equal to or greater than 0 degrees."},
        {"tau GDF", [](CShadingDlg& d) { d.GetGdfTauField()->setText("1.5"); }, "GDF, bad tau:1.500"},
        {"k1 GDF", [](CShadingDlg& d) { d.GetGdfK1Field()->setText("-0.2"); }, "GDF, bad k1:-0.200"},
        {"k2 GDF", [](CShadingDlg& d) { d.GetGdfK2Field()->setText("1.01"); }, "GDF, bad k2:1.010"},
        {"k3 GDF", [](CShadingDlg& d) { d.GetGdfK3Field()->setText("2"); }, "GDF, bad k3:2.000"},
    };
    for (const auto& c : cases) {
        CShadingDlg dialog(first, *floor);
        c.fill(dialog);
        EXPECT_EQ(PressOk(dialog), c.message) << c.what;
    }

    CShadingDlg dialog(first, *floor);
    EXPECT_EQ(dialog.GetFrontField()->text(), "0.0");
    ASSERT_EQ(dialog.GetAtriumList()->count(), 2);
    EXPECT_EQ(dialog.GetAtriumList()->currentText(), "");
    EXPECT_FALSE(dialog.GetGdfGroup()->isEnabled());
    dialog.GetGdfCheck()->setChecked(true);
    EXPECT_TRUE(dialog.GetGdfGroup()->isEnabled());
    dialog.GetFrontField()->setText("20");
    dialog.GetOverhangField()->setText("89.9999");
    dialog.GetSideField()->setText("10.5");
    dialog.GetGdfTauField()->setText("0.7");
    dialog.GetAtriumList()->setCurrentIndex(1);
    ASSERT_EQ(PressOk(dialog), "");
    const CLENIWindow& w = dialog.GetWindow();
    EXPECT_DOUBLE_EQ(w.m_dFrontAngle, 20.0);
    EXPECT_DOUBLE_EQ(w.m_dOverhangAngle, 89.999);
    EXPECT_DOUBLE_EQ(w.m_dSideAngle, 10.5);
    EXPECT_TRUE(w.m_bHasGdf);
    EXPECT_DOUBLE_EQ(w.m_dGdfTau, 0.7);
    EXPECT_EQ(w.m_csAtriumName, "ATRIO_01_F1");

    // Opening again selects the atrium the window faces; the pictures follow the typed angles.
    CShadingDlg again(w, *floor);
    EXPECT_EQ(again.GetAtriumList()->currentText(), "ATRIO_01_F1");
    EXPECT_TRUE(again.GetGdfGroup()->isEnabled());
    again.GetSideField()->setText("42");
    again.resize(700, 500);
    RecordingCanvas canvas;
    again.GetPicture(SHADING_PICTURE_SIDE)->DrawInto(canvas);
    EXPECT_TRUE(canvas.FindText("I Sh,vA"));
    EXPECT_TRUE(canvas.FindText("\xCF\x83 = 42.0\xC2\xB0"));
}

CLENIRoofLight Shed() {
    CLENIRoofLight r;
    r.m_iType = RL_SHED;
    r.SetOrientation(RLO_SOUTH);
    r.m_dGammaF = 60.0;
    r.m_dHg = 0.5;
    r.m_dHw = 1.0;
    return r;
}

TEST_F(OpeningDialogsTest, RoofLightDialogChecksInOrder) {
    auto size = [](const char* x, const char* y, const char* ox, const char* oy) {
        return [=](CRoofLightDlg& d) {
            d.GetXLengthField()->setText(x);
            d.GetYWidthField()->setText(y);
            d.GetXOriginField()->setText(ox);
            d.GetYOriginField()->setText(oy);
        };
    };
    const std::string sizes = "Roof light dimensions must be between 0.010 and 500.0";
    const struct {
        const char* what;
        bool shed;
        std::function<void(CRoofLightDlg&)> fill;
        std::string message;
    } cases[] = {
        {"flat unchanged", false, [](CRoofLightDlg&) {}, ""},
        {"shed unchanged", true, [](CRoofLightDlg&) {}, ""},
        {"the whole room", false, size("20.00m", "8.00m", "0.00m", "0.00m"), ""},
        {"0.01 m too long", false, size("20.01m", "8.00m", "0.00m", "0.00m"),
         "Roof light x dimension too big for the room"},
        {"0.01 m too wide", false, size("20.00m", "8.01m", "0.00m", "0.00m"),
         "Roof light y dimension too big for the room"},
        {"to the far wall", false, size("18.9", "1", "1.1", "7.0"), ""},
        {"too small", false, size("0.009", "1", "0", "0"), sizes},
        {"smallest", false, size("0.01", "0.01", "0", "0"), ""},
        {"600 m", false, size("600", "1", "0", "0"), sizes},
        {"no width", false, size("4", "0", "0", "0"), sizes},
        {"origin below 0", false, size("4", "1", "-0.5", "0"), "Roof light origin must not be less than 0.0"},
        {"tau sna", false, [](CRoofLightDlg& d) { d.GetTauSnaField()->setText("1.2"); },
         "Values of Tau have to be between 0.0 and 1.0"},
        {"tau sa", false, [](CRoofLightDlg& d) { d.GetTauSaField()->setText("-0.1"); },
         "Values of Tau have to be between 0.0 and 1.0"},
        {"k obl2", false, [](CRoofLightDlg& d) { d.GetKObl2Field()->setText("1.5"); },
         "Values of K Obl... have to be between 0.0 and 1.0"},
        {"gamma W 91", false, [](CRoofLightDlg& d) { d.GetGammaWField()->setText("91"); },
         "Gamma w error: enter degrees from 0 to 90"},
        {"gamma W 90", false, [](CRoofLightDlg& d) { d.GetGammaWField()->setText("90"); }, ""},
        {"flat facing South", false,
         [](CRoofLightDlg& d) { d.GetOrientationList()->setCurrentIndex(RLO_SOUTH); },
         "Flat Roof Light, orientation must be horizontal"},
        {"flat hs below 0", false, [](CRoofLightDlg& d) { d.GetHsField()->setText("-0.5 m"); },
         "Flat Roof Light, error : hs=-0.500"},
        {"shed gamma F 1", true, [](CRoofLightDlg& d) { d.GetGammaFField()->setText("1.0"); },
         "Shed Roof Light, Gamma W error: enter \xCE\xB3"
         "F in degrees above 1, at most 90"},
        {"shed gamma F 90", true, [](CRoofLightDlg& d) { d.GetGammaFField()->setText("90"); }, ""},
        {"shed gamma F 91", true, [](CRoofLightDlg& d) { d.GetGammaFField()->setText("91"); },
         "Shed Roof Light, Gamma W error: enter \xCE\xB3"
         "F in degrees above 1, at most 90"},
        {"shed facing Horizontal", true,
         [](CRoofLightDlg& d) { d.GetOrientationList()->setCurrentIndex(RLO_HORIZONTAL); },
         "Shed Roof Light, orientation cannot be horizontal"},
        {"shed hg 0", true, [](CRoofLightDlg& d) { d.GetHgField()->setText("0"); },
         "Shed Roof Light, error hg = 0.00 hw = 1.00"},
        {"shed hg = hw", true, [](CRoofLightDlg& d) { d.GetHgField()->setText("1.00 m"); },
         "Shed Roof Light, error hg = 1.00 hw = 1.00\nbut hg must be smaller than hw."},
        {"flat takes no shed checks", false, [](CRoofLightDlg& d) { d.GetHgField()->setText("5"); }, ""},
    };
    for (const auto& c : cases) {
        CRoofLightDlg dialog(c.shed ? Shed() : CLENIRoofLight(), 20.0, 8.0);
        c.fill(dialog);
        EXPECT_EQ(PressOk(dialog), c.message) << c.what;
    }

    // A room from x = 0.1 to 3.3 is 3.1999999999999997 m wide in doubles: a roof light typed as
    // its full 3.20 m still fits, 1 cm more does not.
    for (const auto& [length, message] : {std::pair<const char*, std::string>{"3.20m", ""},
                                          {"3.21m", "Roof light x dimension too big for the room"}}) {
        CRoofLightDlg dialog(CLENIRoofLight(), 3.3 - 0.1, 8.0);
        size(length, "1", "0", "0")(dialog);
        EXPECT_EQ(PressOk(dialog), message) << length;
    }
}

TEST_F(OpeningDialogsTest, RoofLightDialogShowsTakesAndRemembersTheRoofLight) {
    CLENIRoofLight flat;
    flat.m_iId = 3;
    CRoofLightDlg dialog(flat, 20.0, 8.0);
    EXPECT_EQ(dialog.GetIdLabel()->text(), "Roof Light Id: 3");
    EXPECT_EQ(dialog.GetTypeList()->currentText(), "FlatRoofLight");
    EXPECT_EQ(dialog.GetOrientationList()->currentText(), "Horizontal");
    EXPECT_EQ(dialog.GetXLengthField()->text(), "4.00m");
    EXPECT_EQ(dialog.GetGammaFField()->text(), "0.0\xC2\xB0"); // flat: no face angle
    EXPECT_EQ(dialog.GetGammaWField()->text(), "30.0\xC2\xB0");
    EXPECT_EQ(dialog.GetHsField()->text(), "1.00 m");
    EXPECT_EQ(dialog.GetABLabel()->text(), "a=4.00 m  b=1.00m  a/b=4.00");
    EXPECT_TRUE(dialog.GetHsField()->isEnabled());
    for (QLineEdit* f : {dialog.GetGammaFField(), dialog.GetHgField(), dialog.GetHwField()})
        EXPECT_FALSE(f->isEnabled());

    // a and b follow when the size fields lose the focus.
    dialog.GetXLengthField()->setText("2");
    dialog.GetYWidthField()->setText("4");
    emit dialog.GetYWidthField()->editingFinished();
    EXPECT_EQ(dialog.GetABLabel()->text(), "a=4.00 m b=2.00 m  a/b=2.00");
    dialog.GetYWidthField()->setText("x");
    emit dialog.GetYWidthField()->editingFinished();
    EXPECT_EQ(dialog.GetABLabel()->text(), "Invalid values in X Length and/or Y Width");

    // A shed: its fields open, and its picture follows what is typed.
    dialog.GetTypeList()->setCurrentIndex(0);
    EXPECT_FALSE(dialog.GetHsField()->isEnabled());
    for (QLineEdit* f : {dialog.GetGammaFField(), dialog.GetHgField(), dialog.GetHwField()})
        EXPECT_TRUE(f->isEnabled());
    dialog.GetYWidthField()->setText("4");
    dialog.GetOrientationList()->setCurrentIndex(RLO_NORTH);
    dialog.GetGammaFField()->setText("45");
    dialog.GetHwField()->setText("1.5");
    dialog.GetHgField()->setText("0.75");
    dialog.resize(700, 500);
    RecordingCanvas canvas;
    dialog.GetPicture()->DrawInto(canvas);
    EXPECT_TRUE(canvas.FindText("ShedRoofLight"));
    EXPECT_TRUE(canvas.FindText("\xCE\xB3"
                                "F = 45.0\xC2\xB0"));
    EXPECT_TRUE(canvas.FindText("0.75 m"));
    ASSERT_EQ(PressOk(dialog), "");
    const CLENIRoofLight& r = dialog.GetRoofLight();
    EXPECT_EQ(r.m_iType, RL_SHED);
    EXPECT_EQ(r.GetOrientation(), RLO_NORTH);
    EXPECT_DOUBLE_EQ(r.m_dXLength, 2.0);
    EXPECT_DOUBLE_EQ(r.m_dYWidth, 4.0);
    EXPECT_DOUBLE_EQ(r.m_dGammaF, 45.0);
    EXPECT_DOUBLE_EQ(r.m_dHg, 0.75);
    EXPECT_DOUBLE_EQ(r.m_dHw, 1.5);
    EXPECT_EQ(r.m_iId, 3);
    EXPECT_EQ(Preferences().m_RoofLightTemplate.m_iType, RL_SHED);
    EXPECT_DOUBLE_EQ(Preferences().m_RoofLightTemplate.m_dXLength, 2.0);
}

TEST_F(OpeningDialogsTest, AtriumDialogShowsTheWellIndexAndChecksTheGlazing) {
    // A 10 m square under 6 m: wi = 0.5 x 40 x 6 / 100.
    const CLENIAtrium& atrium = floor->GetAtria().front();
    const DialogCase<CAtrioPropsDlg> cases[] = {
        {"unchanged", [](CAtrioPropsDlg&) {}, ""},
        {"tau above 1", [](CAtrioPropsDlg& d) { d.GetTauField()->setText("1.1"); },
         "The atrium glass transmittance must be between 0 and 1"},
        {"tau 0", [](CAtrioPropsDlg& d) { d.GetTauField()->setText("0"); }, ""},
        {"k1 below 0", [](CAtrioPropsDlg& d) { d.GetK1Field()->setText("-0.1"); },
         "k1  must be between 0 and 1"},
        {"k2 above 1", [](CAtrioPropsDlg& d) { d.GetK2Field()->setText("2"); },
         "k2  must be between 0 and 1"},
        {"k3 above 1", [](CAtrioPropsDlg& d) { d.GetK3Field()->setText("1.001"); },
         "k3  must be between 0 and 1"},
    };
    for (const auto& c : cases) {
        CAtrioPropsDlg dialog(atrium, 6.0);
        EXPECT_EQ(dialog.GetWellIndexLabel()->text(), "1.200");
        EXPECT_EQ(dialog.GetHeightLabel()->text(), "6.000");
        c.fill(dialog);
        EXPECT_EQ(PressOk(dialog), c.message) << c.what;
    }
    CAtrioPropsDlg dialog(atrium, 6.0);
    EXPECT_EQ(dialog.GetTypeList()->currentText(), "atrium");
    EXPECT_EQ(dialog.GetTauField()->text(), "1.000");
    dialog.GetTypeList()->setCurrentIndex(0);
    dialog.GetTauField()->setText("0.6");
    dialog.GetK3Field()->setText("0.9");
    ASSERT_EQ(PressOk(dialog), "");
    EXPECT_EQ(dialog.GetAtrium().m_iKind, ATRIUM_COURTYARD);
    EXPECT_DOUBLE_EQ(dialog.GetAtrium().m_dTrans, 0.6);
    EXPECT_DOUBLE_EQ(dialog.GetAtrium().m_dK3, 0.9);
    EXPECT_EQ(dialog.GetAtrium().m_csName, "ATRIO_01_F1");
}

TEST_F(OpeningDialogsTest, ScreenshotsAtTwoSizes) {
    CLENIWindow sloped = first;
    sloped.m_iVertWinType = VWT_HORIZONTAL_SLOPED;
    sloped.m_dGamma = 30.0;
    sloped.m_dSlopeLength = 1.2;
    sloped.m_dDistToWall = 0.4;
    sloped.m_dHeightToSlope = 1.8;
    sloped.m_dFrontAngle = 25.0;
    sloped.m_dOverhangAngle = 40.0;
    sloped.m_dSideAngle = 15.0;
    CWindowDlg window(sloped, *roomPtr, *floor, project);
    CLENIWindow steep = sloped;
    steep.m_iVertWinType = VWT_VERTICAL_SLOPED;
    steep.m_dGamma = 80.0;
    CWindowDlg steepWindow(steep, *roomPtr, *floor, project);
    CShadingDlg shading(sloped, *floor);
    CRoofLightDlg flat(CLENIRoofLight(), 20.0, 8.0);
    CRoofLightDlg shed(Shed(), 20.0, 8.0);
    CAtrioPropsDlg atrium(floor->GetAtria().front(), 6.0);
    const struct {
        QDialog* dialog;
        const char* name;
    } dialogs[] = {{&window, "window"},        {&steepWindow, "window-vertical-sloped"},
                   {&shading, "shading"},      {&flat, "roof-light-flat"},
                   {&shed, "roof-light-shed"}, {&atrium, "atrium"}};
    for (const auto& d : dialogs) {
        d.dialog->show();
        QApplication::processEvents();
        const QSize small = d.dialog->minimumSizeHint();
        d.dialog->resize(small);
        QApplication::processEvents();
        SaveScreenshot(*d.dialog, std::string("opening-") + d.name + "-small");
        d.dialog->resize(small.width() * 8 / 5, small.height() * 3 / 2);
        QApplication::processEvents();
        SaveScreenshot(*d.dialog, std::string("opening-") + d.name + "-large");
        d.dialog->hide();
    }
}

} // namespace
