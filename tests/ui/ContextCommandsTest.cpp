// The floor page's context commands: the luminaire lists of zones and daylight areas through their
// dialogs up to a saved, reopened and calculated project, the floor and room commands, and every
// refusal of a command at a point where it has nothing to act on.

#include "calc/EnergyCalc.h"
#include "products/LumSysDataBase.h"
#include "products/StarterCatalogue.h"
#include "ui/EditorTestSupport.h"
#include "ui/dialogs/LumCntDlg.h"
#include "ui/dialogs/MultiFloorDlg.h"
#include "ui/dialogs/RoomPropsDlg.h"
#include "ui/dialogs/ZoneObjectsDlg.h"
#include "ui/dialogs/ZonePropsDlg.h"
#include "ui/editor/FloorCommands.h"
#include "ui/products/ObjDbTableDlg.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class ContextCommandsTest : public EditorGuiTest {
  protected:
    // A product of the global database: 36 W, 0.5 W standby.
    void AddGlobalProduct(const std::string& refId) {
        // Only this test's product in the choice list: not the generic ones of a new database.
        for (const CLumTypeData& generic : StarterCatalogue())
            if (CLumSysDataBase::Global().HasRefId(generic.GetRefId()))
                CLumSysDataBase::Global().DeleteObject(generic.GetRefId());
        CLumTypeData product;
        product.SetRefId(refId);
        product.SetDesc("Panel " + refId);
        product.SetMaxPow(36.0);
        product.SetStandbyPow(0.5);
        CLumSysDataBase::Global().AddLumData(product);
    }
    // Answers the Zone Luminaires dialog: adds the first product of the choice list and sets its
    // count through Change Object Count.
    void ScriptAddProduct(int count, std::string* title = nullptr) {
        script.Next<CZoneObjectsDlg>([this, count, title](CZoneObjectsDlg& d) {
            if (title) *title = d.windowTitle().toStdString();
            script.Next<CObjDbTableDlg>([](CObjDbTableDlg& choice) {
                ASSERT_GT(choice.GetTable()->rowCount(), 0);
                emit choice.GetTable()->cellClicked(0, 0);
                choice.GetAddToZoneButton()->click();
            });
            d.OnAdd();
            ASSERT_EQ(d.GetListControl()->topLevelItemCount(), 1);
            script.Next<CLumCntDlg>([count](CLumCntDlg& c) {
                c.GetCountField()->setText(QString::number(count));
                c.accept();
            });
            d.OnChangeCount(0);
            d.accept();
        });
    }
    void Run(int id, const Point& at) { Page()->RunContextCommand(id, at); }
};

TEST_F(ContextCommandsTest, ZoneLuminairesThroughTheDialogsSaveReopenAndGiveTheLeniWorkedOutByHand) {
    NewProject("Lit");
    AddGlobalProduct("L36");
    AddSimpleFloor("Ground", 10, 10, 3, true); // ROOM_000 with ZONE_01_(ROOM_000), 100 m2

    script.Next<CRoomPropsDlg>([](CRoomPropsDlg& d) {
        d.GetTdField()->setText("2000");
        d.GetTnField()->setText("500");
        d.accept();
    });
    Run(IDC_ROOM_PROPERTIES, {5, 5});
    script.Next<CZonePropsDlg>([](CZonePropsDlg& d) {
        d.GetOccupancyList()->setCurrentText(CZonePropsDlg::kAlwaysOccupied);
        d.accept();
    });
    Run(IDC_ZONE_PROPERTIES, {5, 5});
    std::string title;
    ScriptAddProduct(4, &title);
    Run(IDC_PRODUCTS_AND, {5, 5});
    EXPECT_TRUE(script.AllUsed()) << BoxTexts();
    EXPECT_EQ(title, "Products in zone, AND (Area No Daylight, far from window)");
    const CLENIZone& zone = Project().FindRoom("Ground", "ROOM_000")->GetZones()[0];
    ASSERT_EQ(zone.GetLumList().GetCount(), 1);
    EXPECT_EQ(zone.GetLumList().GetEntries()[0].count, 4);
    EXPECT_TRUE(Project().GetProducts().HasRefId("L36"));

    ASSERT_TRUE(Frame().RunCommand(ID_SAVE_PROJECT));
    ASSERT_TRUE(Doc().OpenProject((ProjectsDir() / "Lit" / "Lit.LENI1XML").string()));
    const LeniTimeStepResult result = CalculateAnnualLENI(Project(), 0);
    // Wl = 4 x 36 W x Fc 1 x Fo 1 x (2000 + 500) h / 1000 = 360 kWh
    // Wp = 4 x 0.5 W x 8760 h / 1000 = 17.52 kWh;  LENI = (360 + 17.52) / 100 m2
    EXPECT_NEAR(result.Wl, 360.0, 1e-9);
    EXPECT_NEAR(result.Wp, 17.52, 1e-9);
    EXPECT_NEAR(result.area, 100.0, 1e-9);
    EXPECT_NEAR(result.GetLENI(), 3.7752, 1e-9);
}

TEST_F(ContextCommandsTest, AWindowsDaylightAreaGetsItsOwnListAndKeepsItThroughSaving) {
    NewProject("Window");
    AddGlobalProduct("L36");
    AddSimpleFloor("Ground", 10, 10, 3, true);
    // The window dialog is another part of the program: the window goes straight into the model.
    CLENIWindow window;
    window.m_iWallId = 0;
    window.m_iWindowId = 0;
    window.m_dWidth = 2.0;
    window.m_dHeight = 1.5;
    window.m_dSillHeight = 1.0;
    window.m_dStart = 4.0;
    ASSERT_TRUE(Project().FindRoom("Ground", "ROOM_000")->AddWindow(window));
    std::string title;
    ScriptAddProduct(2, &title);
    Run(IDC_PRODUCTS_AD_AND, {5, 0.5});
    EXPECT_EQ(title, "Products in zone, AD (Area Daylight, near window)");
    // The AND-only command at the same point edits the zone's list.
    ScriptAddProduct(3, &title);
    Run(IDC_PRODUCTS_AND, {5, 0.5});
    EXPECT_EQ(title, "Products in zone, AND (Area No Daylight, far from window)");
    ASSERT_TRUE(Frame().RunCommand(ID_SAVE_PROJECT));
    ASSERT_TRUE(Doc().OpenProject((ProjectsDir() / "Window" / "Window.LENI1XML").string()));
    const CLENIRoom* room = Project().FindRoom("Ground", "ROOM_000");
    ASSERT_EQ(room->GetWindowCount(), 1);
    ASSERT_EQ(room->GetWindows()[0].m_LumList.GetCount(), 1);
    EXPECT_EQ(room->GetWindows()[0].m_LumList.GetEntries()[0].count, 2);
    EXPECT_EQ(room->GetZones()[0].GetLumList().GetEntries()[0].count, 3);
}

TEST_F(ContextCommandsTest, FloorHeightCountAndRoomAndZoneEditsAreWrittenBackAndCanBeUndone) {
    NewProject("Edits");
    AddSimpleFloor("Ground", 10, 10, 3, true);
    script.Next<CFloorDlg>([](CFloorDlg& d) {
        EXPECT_EQ(d.GetHeightField()->text().toStdString(), "3.00 m");
        d.GetHeightField()->setText("4.5");
        d.accept();
    });
    Run(IDC_FLOOR_PROPERTIES, {5, 5});
    EXPECT_DOUBLE_EQ(Project().GetFloorByName("Ground")->GetHeight(), 4.5);
    script.Next<CMultiFloorDlg>([](CMultiFloorDlg& d) {
        d.GetInstancesField()->setText("3");
        d.accept();
    });
    Run(IDC_MODIFY_FLOOR_COUNT, {5, 5});
    EXPECT_EQ(Project().GetFloorByName("Ground")->GetInstanceCount(), 3);
    script.Next<CRoomPropsDlg>([](CRoomPropsDlg& d) {
        d.GetNameField()->setText("room_000"); // the same name in other letters is no clash
        d.accept();
    });
    Run(IDC_ROOM_PROPERTIES, {5, 5});
    EXPECT_EQ(Project().GetFloorByName("Ground")->GetRooms()[0].GetName(), "room_000") << BoxTexts();

    // Add Matching Zone asks first when the room has zones; No keeps them.
    boxes.answers.push_back(IDNO);
    Run(IDC_ADD_MATCHING_ZONE, {5, 5});
    EXPECT_EQ(
        LastBox(),
        "This room already has some zones.\n\nTo add a SINGLE MATCHING zone the existing\nzones will be "
        "deleted.\n\nContinue?");
    boxes.answers.push_back(IDYES);
    Run(IDC_ERASE_ZONE, {5, 5});
    EXPECT_EQ(LastBox(), "Remove zone <ZONE_01_(ROOM_000)>\nfrom room <room_000> on floor <Ground>?");
    EXPECT_EQ(Project().FindRoom("Ground", "room_000")->GetZoneCount(), 0);
    script.Next<CZonePropsDlg>([](CZonePropsDlg& d) { d.accept(); });
    const size_t asked = boxes.boxes.size();
    Run(IDC_ADD_MATCHING_ZONE, {5, 5});
    EXPECT_EQ(boxes.boxes.size(), asked); // no zones: no question
    ASSERT_EQ(Project().FindRoom("Ground", "room_000")->GetZoneCount(), 1);
    EXPECT_EQ(Project().FindRoom("Ground", "room_000")->GetZones()[0].GetName(), "ZONE_01_(room_000)");

    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(Doc().Undo()) << i;
    EXPECT_DOUBLE_EQ(Project().GetFloorByName("Ground")->GetHeight(), 3.0);
    EXPECT_EQ(Project().GetFloorByName("Ground")->GetInstanceCount(), 1);
    EXPECT_NE(Project().FindRoom("Ground", "ROOM_000"), nullptr);
}

TEST_F(ContextCommandsTest, ARoomDrawnByTypedCornersAndEditedIsSavedReopenedAndGivesTheLeniWorkedOutByHand) {
    NewProject("Typed");
    AddGlobalProduct("L36");
    AddPlanFloor("Plan");
    View()->SetDecimalSign('.');
    Page()->SetGridSize(1.0);
    QTest::keyClick(View(), Qt::Key_F9);

    // A 6 x 5 m room by typed corners, without a zone.
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ROOM));
    for (const char* corner : {"0,0", "@6,0", "@0,5", "0,5"}) {
        QTest::keyClicks(View(), corner);
        QTest::keyClick(View(), Qt::Key_Return);
    }
    script.Next<CRoomPropsDlg>([](CRoomPropsDlg& d) {
        d.GetNameField()->setText("Office");
        d.GetTdField()->setText("2000");
        d.GetTnField()->setText("500");
        d.accept();
    });
    boxes.answers.push_back(IDNO);
    QTest::keyClick(View(), Qt::Key_Return);
    ASSERT_NE(Project().FindRoom("Plan", "Office"), nullptr) << BoxTexts();
    EXPECT_NEAR(Project().FindRoom("Plan", "Office")->GetArea(), 30.0, 1e-9);

    // Its corner (6, 5) dragged onto the grid at (8, 5): a trapezoid of (6 + 8) / 2 x 5 = 35 m2.
    Click({3, 2.5});
    ASSERT_EQ(View()->GetSelectedRoom(), "Office");
    Move({6, 5});
    QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, At({6, 5}));
    Move({7.9, 5.1});
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, At({7.9, 5.1}));
    EXPECT_EQ(Project().FindRoom("Plan", "Office")->GetPolygon(), (Polygon{{0, 0}, {6, 0}, {8, 5}, {0, 5}}))
        << BoxTexts();
    QTest::keyClick(View(), Qt::Key_Escape);

    // A zone matching the room, always occupied, with 4 products of 36 W.
    script.Next<CZonePropsDlg>([](CZonePropsDlg& d) {
        d.GetOccupancyList()->setCurrentText(CZonePropsDlg::kAlwaysOccupied);
        d.accept();
    });
    Run(IDC_ADD_MATCHING_ZONE, {3, 2.5});
    ScriptAddProduct(4);
    Run(IDC_PRODUCTS_AND, {3, 2.5});
    EXPECT_TRUE(script.AllUsed()) << BoxTexts();

    ASSERT_TRUE(Frame().RunCommand(ID_SAVE_PROJECT));
    ASSERT_TRUE(Doc().OpenProject((ProjectsDir() / "Typed" / "Typed.LENI1XML").string()));
    const LeniTimeStepResult result = CalculateAnnualLENI(Project(), 0);
    // Wl = 4 x 36 W x (2000 + 500) h / 1000 = 360 kWh; Wp = 4 x 0.5 W x 8760 h / 1000 = 17.52 kWh;
    // LENI = 377.52 kWh / 35 m2 = 10.786 kWh/m2.
    EXPECT_NEAR(result.Wl, 360.0, 1e-9);
    EXPECT_NEAR(result.Wp, 17.52, 1e-9);
    EXPECT_NEAR(result.area, 35.0, 1e-9);
    EXPECT_NEAR(result.GetLENI(), 377.52 / 35.0, 1e-9);
}

// Every refusal of a context command, each at a point where its target is missing: the message
// as the user sees it, and the model untouched.
TEST_F(ContextCommandsTest, CommandsRefuseWhereTheirTargetIsMissing) {
    NewProject("Refusals");
    AddSimpleFloor("Ground", 10, 10, 3, false); // ROOM_000, no zone
    const Point outside{-0.4, 5}, inRoom{5, 5};
    struct Case {
        int id;
        Point at;
        bool withProduct;
        const char* message;
    };
    const Case cases[] = {
        {IDC_ROOM_PROPERTIES, outside, false, "There is no room here"},
        {IDC_ERASE_ROOM, outside, false, "There is no room here"},
        {IDC_ROOM_3D_VIEW, outside, false, "There is no room here"},
        {IDC_ROOM_CALCULATION, outside, false, "There is no room at this mouse position"},
        {IDC_ROOM_CALCULATION, inRoom, false, "A room needs at least 1 zone for LENI to be calculated"},
        {IDC_PRINT_ROOM, outside, false, "There is no room here"},
        {IDC_ZONE_PROPERTIES, outside, false, "No room found here, so no zones here"},
        {IDC_ZONE_PROPERTIES, inRoom, false,
         "There is no zone here.\nYou can use 'Zone->Add Matching Zone...' in the context menu"},
        {IDC_PRINT_ZONE, outside, false, "No room found here, so no zones here"},
        {IDC_ADD_MATCHING_ZONE, outside, false, "There is no room here."},
        {IDC_ERASE_ZONE, outside, false, "There is no room  here"},
        {IDC_ERASE_ZONE, inRoom, false, "There is no zone here"},
        {IDC_PRODUCTS_AD_AND, inRoom, false,
         "You need to add luminaires into the database first.\n\nUse:\n     File menu\n         Edit "
         "Luminaire "
         "Database... item"},
        {IDC_PRODUCTS_AND, outside, true, "Please click inside a zone"},
        {IDC_PRODUCTS_AND, inRoom, true,
         "There is no zone here.\nYou can use 'Zone->Add Matching Zone...' in the context menu"},
    };
    const std::string before = ProjectText();
    const size_t dialogs = script.shown.size();
    for (const Case& c : cases) {
        CLumSysDataBase::ResetGlobal();
        if (c.withProduct) {
            CLumTypeData product;
            product.SetRefId("P1");
            CLumSysDataBase::Global().AddLumData(product);
        }
        boxes.boxes.clear();
        Run(c.id, c.at);
        ASSERT_EQ(boxes.boxes.size(), 1u) << c.id << "\n" << BoxTexts();
        EXPECT_EQ(boxes.boxes[0].text, c.message) << c.id;
        EXPECT_EQ(ProjectText(), before) << c.id;
    }
    EXPECT_EQ(script.shown.size(), dialogs);

    // A floor with roof lights keeps a single instance and never opens the instances dialog.
    CLENIRoofLight roofLight;
    roofLight.m_iId = 1;
    Project().FindRoom("Ground", "ROOM_000")->AddRoofLight(roofLight);
    Project().GetFloorByName("Ground")->SetInstanceCount(2);
    boxes.boxes.clear();
    Run(IDC_MODIFY_FLOOR_COUNT, inRoom);
    ASSERT_EQ(boxes.boxes.size(), 1u) << BoxTexts();
    EXPECT_EQ(boxes.boxes[0].text, "This floor has roof lights and so can only have a single instance");
    EXPECT_EQ(Project().GetFloorByName("Ground")->GetInstanceCount(), 1);
    EXPECT_EQ(script.shown.size(), dialogs);
}

} // namespace
