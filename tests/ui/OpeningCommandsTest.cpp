// The window, roof light and atrium commands of the floor page's context menu, called as the menu
// calls them: the lookups at the click point, the checks in order with their messages, the
// dialogs, and the model changed only through an accepted dialog, with the page told before and
// after. The sample building is edited, saved, reopened and calculated like the batch report.

#include "app/BatchCommands.h"
#include "app/LENIBDoc.h"
#include "app/Preferences.h"
#include "app/ReportWork.h"
#include "base/TextUtils.h"
#include "calc/EnergyCalc.h"
#include "dxf/DxfFile.h"
#include "model/LENIProject.h"
#include "ui/GuiTestSupport.h"
#include "ui/editor/ContextHooks.h"
#include "ui/openings/AtrioPropsDlg.h"
#include "ui/openings/RoofLightDlg.h"
#include "ui/openings/ShadingDlg.h"
#include "ui/openings/WindowDlg.h"
#include "ui/shell/MainFrame.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <tinyxml.h>

namespace {

class OpeningCommandsTest : public GuiTest {
  protected:
    FloorPageContext At(const std::string& floor, double x, double y) {
        FloorPageContext ctx;
        ctx.doc = &doc;
        ctx.floorName = floor;
        ctx.clickPoint = Point(x, y);
        ctx.viewWidth = 40.0;
        ctx.beginChange = [this] { ++begun; };
        ctx.changed = [this] { ++changed; };
        return ctx;
    }
    // Runs the command and returns the texts of the boxes it showed.
    std::string Run(void (*command)(const FloorPageContext&), const FloorPageContext& ctx) {
        boxes.boxes.clear();
        command(ctx);
        std::string texts;
        for (const auto& box : boxes.boxes)
            texts += (texts.empty() ? "" : " | ") + box.text;
        return texts;
    }
    CLENIRoom& Room(const std::string& floor, const std::string& room) {
        CLENIRoom* found = doc.GetProject().FindRoom(floor, room);
        EXPECT_TRUE(found) << floor << " " << room;
        return *found;
    }

    CLENIBDoc doc;
    int begun = 0;
    int changed = 0;
};

// One room 6 x 4 m with a window on wall 0, on a 3 m floor.
void SmallProject(CLENIProject& project) {
    CLENIFloor floor("F1", 3.0);
    CLENIRoom room;
    room.InitFromPolygon("R1", {{0, 0}, {6, 0}, {6, 4}, {0, 4}}, 3.0);
    CLENIWindow window;
    window.m_dWidth = 2.0;
    window.m_dHeight = 1.2;
    window.m_dSillHeight = 0.9;
    window.m_dStart = 2.0;
    window.m_iWallId = 0;
    window.m_iWindowId = 0;
    room.AddWindow(window);
    floor.AddRoom(room);
    project.AppendFloor(floor);
}

TEST_F(OpeningCommandsTest, ShadingEditIsKeptOnOkAndDroppedOnCancel) {
    SmallProject(doc.GetProject());
    for (const bool ok : {false, true}) {
        script.Next<CWindowDlg>([&](CWindowDlg& d) {
            EXPECT_EQ(d.GetShadingLabel()->text(), "Ish=1.000");
            d.GetShadingButton()->click();
            // cos(1.5 x 40 degrees) = 0.5
            EXPECT_EQ(d.GetShadingLabel()->text(), "Ish=0.500");
            ok ? d.accept() : d.reject();
        });
        script.Next<CShadingDlg>([](CShadingDlg& d) {
            d.GetFrontField()->setText("40");
            d.accept();
        });
        EXPECT_EQ(Run(CmdWindowProperties, At("F1", 3.0, 1.0)), "");
        EXPECT_TRUE(script.AllUsed());
        EXPECT_DOUBLE_EQ(Room("F1", "R1").GetWindows()[0].m_dFrontAngle, ok ? 40.0 : 0.0) << ok;
        EXPECT_EQ(begun, ok ? 1 : 0);
        EXPECT_EQ(changed, ok ? 1 : 0);
    }
}

TEST_F(OpeningCommandsTest, AddWindowNumbersItsWindowAndStartsFromTheLastAcceptedOne) {
    SmallProject(doc.GetProject());
    // Nothing near a wall: the centre of the room is 2 m from every wall.
    EXPECT_EQ(Run(CmdAddWindow, At("F1", 3.0, 2.0)), "There is no wall here");
    EXPECT_EQ(Run(CmdAddWindow, At("F1", 30.0, 2.0)), "There is no wall here");

    // A second window on wall 1 (x = 6), clicked 1.5 m along it: its centre lands there.
    std::string width, centre;
    script.Next<CWindowDlg>([&](CWindowDlg& d) {
        width = d.GetWidthField()->text().toStdString();
        centre = d.GetCentreField()->text().toStdString();
        d.GetWidthField()->setText("1.10");
        d.accept();
    });
    EXPECT_EQ(Run(CmdAddWindow, At("F1", 5.6, 1.5)), "");
    EXPECT_EQ(width, "1.50");
    EXPECT_EQ(centre, "1.50");
    const CLENIRoom& room = Room("F1", "R1");
    ASSERT_EQ(room.GetWindowCount(), 2);
    const CLENIWindow& added = room.GetWindows()[1];
    EXPECT_EQ(added.m_iWallId, 1);
    EXPECT_EQ(added.m_iWindowId, 1);
    EXPECT_DOUBLE_EQ(added.m_dStart, 1.5 - 0.55);
    EXPECT_EQ(begun, 1);
    EXPECT_EQ(changed, 1);

    // The next one starts from 1.10 m and numbers after the highest on its wall; Cancel adds nothing.
    script.Next<CWindowDlg>([&](CWindowDlg& d) {
        width = d.GetWidthField()->text().toStdString();
        EXPECT_EQ(d.GetWindow().m_iWindowId, 1);
        EXPECT_EQ(d.GetWindow().m_iWallId, 0);
        d.reject();
    });
    EXPECT_EQ(Run(CmdAddWindow, At("F1", 5.0, 0.3)), "");
    EXPECT_EQ(width, "1.10");
    EXPECT_EQ(Room("F1", "R1").GetWindowCount(), 2);
    EXPECT_EQ(changed, 1);

    // Erase: only a window whose span the point faces.
    EXPECT_EQ(Run(CmdEraseWindow, At("F1", 1.0, 0.3)), "No window here to delete");
    EXPECT_EQ(Run(CmdEraseWindow, At("F1", 3.0, 2.0)),
              "There is no wall here.\nPlease choose a point inside the room close to the window\n");
    EXPECT_EQ(Run(CmdEraseWindow, At("F1", 5.7, 1.2)), "");
    ASSERT_EQ(Room("F1", "R1").GetWindowCount(), 1);
    EXPECT_EQ(Room("F1", "R1").GetWindows()[0].m_iWallId, 0);
    EXPECT_EQ(changed, 2);
}

TEST_F(OpeningCommandsTest, AWindowAddedToAnEmptyRoomIsNumberZero) {
    SmallProject(doc.GetProject());
    doc.GetProject().RemoveWindow(0, 0, "F1", "R1");
    script.Next<CWindowDlg>([](CWindowDlg& d) { d.accept(); });
    EXPECT_EQ(Run(CmdAddWindow, At("F1", 3.0, 3.8)), "");
    ASSERT_EQ(Room("F1", "R1").GetWindowCount(), 1);
    EXPECT_EQ(Room("F1", "R1").GetWindows()[0].m_iWindowId, 0);
    EXPECT_EQ(Room("F1", "R1").GetWindows()[0].m_iWallId, 2);
}

TEST_F(OpeningCommandsTest, AddRoofLightSnapsItsOriginAndNumbersAfterOne) {
    SmallProject(doc.GetProject());
    EXPECT_EQ(Run(CmdAddRoofLight, At("F1", 3.0, 2.0)), "This room has 1 vertical windows.\nRoof lights can "
                                                        "only be added to rooms\nwith 0 vertical windows.");
    CLENIWindow sloped = Room("F1", "R1").GetWindows()[0];
    sloped.m_iVertWinType = VWT_HORIZONTAL_SLOPED; // not a vertical window
    Room("F1", "R1").ChangeWindow(sloped);
    CLENIRoofLight one;
    one.m_iId = 1;
    one.m_dXOrig = one.m_dYOrig = 0.5;
    one.m_dXLength = one.m_dYWidth = 0.5;
    Room("F1", "R1").AddRoofLight(one);

    CDxfFile drawing;
    drawing.GetSnapPoints().m_iFlags = CSnapPointList::SNAP_GRID;
    drawing.GetSnapPoints().m_dGridSpacing = 0.5;
    FloorPageContext ctx = At("F1", 3.3, 2.15);
    ctx.drawing = &drawing;
    ctx.viewWidth = 20.0; // snaps within 0.5 m
    script.Next<CRoofLightDlg>([](CRoofLightDlg& d) {
        EXPECT_EQ(d.GetIdLabel()->text(), "Roof Light Id: 2");
        EXPECT_EQ(d.GetXOriginField()->text(), "3.50m");
        EXPECT_EQ(d.GetYOriginField()->text(), "2.00m");
        // The 6 x 4 m room leaves 2.5 m beside the origin: the default 4 m is too long.
        d.accept();
        d.GetXLengthField()->setText("2.5");
        d.GetYWidthField()->setText("2");
        d.accept();
    });
    EXPECT_EQ(Run(CmdAddRoofLight, ctx), "Roof light x dimension too big for the room");
    const CLENIRoofLight* added = Room("F1", "R1").FindRoofLight(2);
    ASSERT_TRUE(added);
    EXPECT_DOUBLE_EQ(added->m_dXOrig, 3.5);
    EXPECT_DOUBLE_EQ(added->m_dXLength, 2.5);
    EXPECT_EQ(changed, 1);
}

TEST_F(OpeningCommandsTest, AtriumOfTenMetresUnderSixMetresHasWellIndexOnePointTwo) {
    // One floor 5.7 m high: 6 m to the top with its slab.
    CLENIFloor floor("F1", 5.7);
    CLENIAtrium atrium;
    atrium.m_csName = "ATRIO_01_F1";
    atrium.SetPolygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    floor.AddAtrium(atrium);
    doc.GetProject().AppendFloor(floor);
    EXPECT_EQ(Run(CmdAtriumProperties, At("F1", 11.0, 5.0)), "There is no atrium here.");
    EXPECT_EQ(Run(CmdEraseAtrium, At("F1", 11.0, 5.0)), "There is no atrium here.");
    std::string wi, h;
    script.Next<CAtrioPropsDlg>([&](CAtrioPropsDlg& d) {
        wi = d.GetWellIndexLabel()->text().toStdString();
        h = d.GetHeightLabel()->text().toStdString();
        d.reject();
    });
    EXPECT_EQ(Run(CmdAtriumProperties, At("F1", 5.0, 5.0)), "");
    EXPECT_EQ(wi, "1.200");
    EXPECT_EQ(h, "6.000");
    EXPECT_EQ(changed, 0);

    boxes.answers = {IDNO};
    EXPECT_EQ(Run(CmdEraseAtrium, At("F1", 5.0, 5.0)), "Remove this atrio on floor F1?");
    EXPECT_EQ(doc.GetProject().GetFloorByName("F1")->GetAtriumCount(), 1);
    boxes.answers = {IDYES};
    Run(CmdEraseAtrium, At("F1", 5.0, 5.0));
    EXPECT_EQ(doc.GetProject().GetFloorByName("F1")->GetAtriumCount(), 0);
    EXPECT_EQ(changed, 1);

    log.Clear();
    Run(CmdAtriumProperties, At("Nowhere", 5.0, 5.0));
    EXPECT_TRUE(log.Contains("CDxfTabDlg::OAPC could not find floor")) << log.All();
}

fs::path SampleDir() {
    return fs::path(ORVANTIS_SOURCE_DIR) / "examples" / "sample";
}

double ResultValue(const fs::path& file, const char* name) {
    TiXmlDocument xml;
    if (!xml.LoadFile(file.string().c_str())) return -1.0;
    const TiXmlElement* e = xml.RootElement()->FirstChildElement(name);
    return e && e->GetText() ? ParseDouble(e->GetText()) : -1.0;
}

TEST_F(OpeningCommandsTest, SampleBuildingEditedSavedReopenedAndReportedAlike) {
    if (!fs::exists(SampleDir() / "SAMPLE.LENI1XML")) GTEST_SKIP() << "no sample building";
    const fs::path folder = ProjectsDir() / "SAMPLE";
    fs::copy(SampleDir(), folder, fs::copy_options::recursive);
    const fs::path file = folder / "SAMPLE.LENI1XML";
    ASSERT_TRUE(doc.OpenProject(file.string()));
    const double before = CalculateAnnualLENI(doc.GetProject(), 0).GetLENI();

    // A window on the west wall (wall 3) of Office_A on the ground floor, 1.2 m wide.
    script.Next<CWindowDlg>([](CWindowDlg& d) {
        EXPECT_EQ(d.GetContextLabel()->text(), "Floor is 3.20m high, wall is 6.00m wide");
        d.GetWidthField()->setText("1.20");
        d.accept();
    });
    EXPECT_EQ(Run(CmdAddWindow, At("Ground", 0.3, 3.0)), "");
    const CLENIWindow* west = Room("Ground", "Office_A").FindWindow(3, 1);
    ASSERT_TRUE(west);
    EXPECT_DOUBLE_EQ(west->m_dWidth, 1.2);
    EXPECT_DOUBLE_EQ(west->m_dStart, 2.4);

    // Its daylight area overlaps that of the south window; the nearer wall wins. It becomes a
    // vertical sloped window.
    script.Next<CWindowDlg>([](CWindowDlg& d) {
        EXPECT_EQ(d.GetWindow().m_iWallId, 3);
        d.GetTypeList()->setCurrentIndex(VWT_VERTICAL_SLOPED);
        d.GetGammaField()->setText("80");
        d.GetLengthField()->setText("1.0");
        d.GetDistanceField()->setText("0.2");
        d.GetHeightToSlopeField()->setText("1.5");
        d.accept();
    });
    EXPECT_EQ(Run(CmdWindowProperties, At("Ground", 0.8, 3.0)), "");
    EXPECT_EQ(Room("Ground", "Office_A").FindWindow(3, 1)->m_iVertWinType, VWT_VERTICAL_SLOPED);
    EXPECT_EQ(Run(CmdWindowProperties, At("Ground", 3.0, 7.0)),
              "Please select a position in a Window's AD area");

    // Roof lights: refused below the top floor, on a top floor of two storeys, where one is, in a
    // room with vertical windows.
    const std::string notTop =
        "This floor, Typical, is not the top floor.\nRoof lights can only be added to the top "
        "floor\n\n\nYou can drag the tabs to change the order of the floors.";
    EXPECT_EQ(Run(CmdAddRoofLight, At("Typical", 4.0, 3.0)), notTop);
    ASSERT_TRUE(doc.GetProject().ReorderFloors({"Ground", "Top", "Typical"}));
    EXPECT_EQ(Run(CmdAddRoofLight, At("Typical", 4.0, 3.0)),
              "These floors, Typical, have 2 instances and so cannot have roof lights.");
    ASSERT_TRUE(doc.GetProject().ReorderFloors({"Ground", "Typical", "Top"}));
    EXPECT_EQ(Run(CmdAddRoofLight, At("Top", 14.0, 3.5)), "There is already a roof light in this position");
    EXPECT_EQ(Run(CmdAddRoofLight, At("Top", 30.0, 3.5)), "There is no room here (floor Top).");
    EXPECT_EQ(Run(CmdAddRoofLight, At("Top", 8.0, 6.0)), "This room has 2 vertical windows.\nRoof lights can "
                                                         "only be added to rooms\nwith 0 vertical windows.");
    EXPECT_EQ(Run(CmdAddWindow, At("Top", 8.0, 7.8)),
              "This room has 2 roof lights.\nWindows can only be added to rooms\nwith no roof lights");
    EXPECT_EQ(begun, 2);

    // Without its two windows the open-plan room takes a third roof light, numbered 2.
    EXPECT_EQ(Run(CmdEraseWindow, At("Top", 5.0, 0.3)), "");
    EXPECT_EQ(Run(CmdEraseWindow, At("Top", 12.0, 7.7)), "");
    EXPECT_EQ(Room("Top", "Open_plan").GetWindowCount(), 0);
    script.Next<CRoofLightDlg>([](CRoofLightDlg& d) {
        EXPECT_EQ(d.GetIdLabel()->text(), "Roof Light Id: 2");
        EXPECT_EQ(d.GetXOriginField()->text(), "8.00m");
        EXPECT_EQ(d.GetYOriginField()->text(), "6.00m");
        d.GetXLengthField()->setText("3.00m");
        d.accept();
    });
    EXPECT_EQ(Run(CmdAddRoofLight, At("Top", 8.0, 6.0)), "");
    const CLENIRoofLight* third = Room("Top", "Open_plan").FindRoofLight(2);
    ASSERT_TRUE(third);
    EXPECT_DOUBLE_EQ(third->m_dXLength, 3.0);
    EXPECT_DOUBLE_EQ(third->m_dXOrig, 8.0);

    // The shed roof light turns to 45 degrees; it is put back at the end of the list.
    script.Next<CRoofLightDlg>([](CRoofLightDlg& d) {
        EXPECT_EQ(d.GetTypeList()->currentText(), "ShedRoofLight");
        d.GetGammaFField()->setText("45");
        d.GetHgField()->setText("0.50 m"); // the sample's hg = hw is refused now
        d.accept();
    });
    EXPECT_EQ(Run(CmdRoofLightProperties, At("Top", 14.0, 3.5)), "");
    ASSERT_EQ(Room("Top", "Open_plan").GetRoofLightCount(), 3);
    EXPECT_EQ(Room("Top", "Open_plan").GetRoofLights().back().m_iId, 1);
    EXPECT_DOUBLE_EQ(Room("Top", "Open_plan").GetRoofLights().back().m_dGammaF, 45.0);
    EXPECT_EQ(Run(CmdRoofLightProperties, At("Top", 30.0, 3.5)), "No room found here, so no rooflights here");
    boxes.answers = {IDNO};
    EXPECT_EQ(Run(CmdEraseRoofLight, At("Top", 14.0, 3.5)), "Erase this roof light in room Open_plan?");
    EXPECT_EQ(Run(CmdEraseRoofLight, At("Top", 1.0, 1.0)), "There is no roof light here");
    EXPECT_EQ(Room("Top", "Open_plan").GetRoofLightCount(), 3);

    // The ground-floor atrium, 13.8 m under the top: wi = 0.5 x 20 x 13.8 / 24.
    script.Next<CAtrioPropsDlg>([](CAtrioPropsDlg& d) {
        EXPECT_EQ(d.GetHeightLabel()->text(), "13.800");
        EXPECT_EQ(d.GetWellIndexLabel()->text(), "5.750");
        d.GetTypeList()->setCurrentIndex(0);
        d.GetTauField()->setText("0.8");
        d.accept();
    });
    EXPECT_EQ(Run(CmdAtriumProperties, At("Ground", 10.0, 3.0)), "");
    EXPECT_EQ(doc.GetProject().GetFloorByName("Ground")->FindAtrium("ATRIO_01_Ground")->m_iKind,
              ATRIUM_COURTYARD);
    EXPECT_EQ(begun, 7);
    EXPECT_EQ(changed, 7);
    EXPECT_TRUE(script.AllUsed());

    const double edited = CalculateAnnualLENI(doc.GetProject(), 0).GetLENI();
    EXPECT_NE(edited, before);
    ASSERT_TRUE(doc.Save());

    CLENIBDoc reopened;
    ASSERT_TRUE(reopened.OpenProject(file.string()));
    const CLENIProject& p = reopened.GetProject();
    const CLENIWindow* sloped = p.FindRoom("Ground", "Office_A")->FindWindow(3, 1);
    ASSERT_TRUE(sloped);
    EXPECT_EQ(sloped->m_iVertWinType, VWT_VERTICAL_SLOPED);
    EXPECT_DOUBLE_EQ(sloped->m_dGamma, 80.0);
    EXPECT_EQ(p.FindRoom("Top", "Open_plan")->GetRoofLightCount(), 3);
    EXPECT_EQ(p.FindRoom("Top", "Open_plan")->GetWindowCount(), 0);
    EXPECT_DOUBLE_EQ(p.GetFloorByName("Ground")->FindAtrium("ATRIO_01_Ground")->m_dTrans, 0.8);
    const double reread = CalculateAnnualLENI(p, 0).GetLENI();
    EXPECT_DOUBLE_EQ(reread, edited);

    // The batch report of the saved file gives the same LENI (printed with seven decimals).
    ReportJob job;
    job.projectFile = file.string();
    job.resultsFile = (dir / "SAMPLE_NUVA_DB.XML").string();
    job.copyFile = ResultsCopyPath(job.resultsFile);
    ASSERT_EQ(RunReport(job), BATCH_DONE);
    EXPECT_NEAR(ResultValue(job.resultsFile, "AnnualLENI"), reread, 0.5e-7);
}

} // namespace
