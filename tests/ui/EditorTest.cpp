// The floor page as a user drives it: drawing rooms, zones and atria with the mouse and keys,
// the refusals on the way, the dialogs that finish an outline, undo and redo.

#include "ui/editor/FloorView.h"

#include "app/LENIBApp.h"
#include "calc/EnergyCalc.h"
#include "dxf/DxfFile.h"
#include "products/LumSysDataBase.h"
#include "ui/EditorTestSupport.h"
#include "ui/GuiTestSupport.h"
#include "ui/dialogs/DxfSizeDlg.h"
#include "ui/dialogs/FloorDlg.h"
#include "ui/dialogs/RoomPropsDlg.h"
#include "ui/dialogs/ZonePropsDlg.h"
#include "ui/editor/DxfTabDlg.h"
#include "ui/editor/FloorCommands.h"
#include "ui/openings/AtrioPropsDlg.h"
#include "ui/shell/LENIBView.h"
#include "ui/shell/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using EditorTest = EditorGuiTest;

// A window on wall 0 from 2 m to 5 m, a roof light and 6 luminaires LUM-1 in the first zone.
void FurnishRoom(CLENIProject& project, const std::string& floor, const std::string& name) {
    CLENIRoom room = *project.FindRoom(floor, name);
    CLENIWindow window;
    window.m_iWallId = 0;
    window.m_iWindowId = 0;
    window.m_dStart = 2;
    window.m_dWidth = 3;
    window.m_dHeight = 1.5;
    window.m_dSillHeight = 0.9;
    ASSERT_TRUE(room.AddWindow(window));
    CLENIRoofLight roofLight;
    roofLight.m_iId = 1;
    room.AddRoofLight(roofLight);
    CLENIZone zone = room.GetZones().at(0);
    zone.GetLumList().AddLuminaire("LUM-1");
    zone.GetLumList().SetLuminaireCount("LUM-1", 6);
    room.ReplaceZone(zone);
    ASSERT_TRUE(project.GetFloorByName(floor)->ReplaceRoom(room));
}

TEST_F(EditorTest, DrawsASnappedRoomOnADxfFloorWithItsSingleZoneThenUndoesAndRedoesIt) {
    NewProject("Drawn");
    AddPlanFloor("Plan");
    Frame().RunCommand(ID_SAVE_PROJECT);
    ASSERT_FALSE(Doc().IsModified());
    Page()->SetGridSize(1.0);
    QTest::keyClick(View(), Qt::Key_F9);
    ASSERT_TRUE(Page()->IsGridSnapOn());

    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ROOM));
    EXPECT_EQ(View()->GetMouseMode(), MM_ADD_ROOM);
    Frame().UpdateCommandUi();
    // Nothing that starts a mode or changes the floor while an outline is drawn.
    for (int id : {ID_ADD_ROOM, ID_ADD_ZONE, ID_ADD_ATRIUM, ID_REMOVE_DXF_FLOOR, ID_EDIT_UNDO})
        EXPECT_FALSE(Frame().FindCommand(id)->isEnabled()) << id;

    Click({0.1, 0.12});
    Click({7.9, -0.1});
    QTest::keyClick(View(), Qt::Key_Return);
    EXPECT_EQ(LastBox(), "A polygon needs at least 3 corners");
    EXPECT_EQ(View()->GetOutline().size(), 2u);
    Click({8.1, 5.9});
    Click({5.2, 3.1});
    QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier); // takes back the last corner, not an undo
    ASSERT_EQ(View()->GetOutline().size(), 3u);
    Click({0.15, 6.1});
    // The snapped corners, and the rubber band drawn from the last one to the pointer.
    const Polygon expected = {{0, 0}, {8, 0}, {8, 6}, {0, 6}};
    ASSERT_EQ(View()->GetOutline().size(), 4u);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_DOUBLE_EQ(View()->GetOutline()[i].x, expected[i].x) << i;
        EXPECT_DOUBLE_EQ(View()->GetOutline()[i].y, expected[i].y) << i;
    }
    Move({3.3, 2.2});
    SaveScreenshot(Frame(), "editor-drawing-room");

    script.Next<CRoomPropsDlg>([](CRoomPropsDlg& d) {
        d.GetNameField()->setText("  Office ");
        d.GetTdField()->setText("2000");
        d.GetTnField()->setText("500");
        d.accept();
    });
    boxes.answers.push_back(IDYES); // a single zone
    script.Next<CZonePropsDlg>([](CZonePropsDlg& d) {
        d.GetOccupancyList()->setCurrentText(CZonePropsDlg::kAlwaysOccupied);
        d.accept();
    });
    QTest::keyClick(View(), Qt::Key_Enter);
    EXPECT_TRUE(script.AllUsed()) << BoxTexts();
    EXPECT_EQ(View()->GetMouseMode(), MM_NONE);
    EXPECT_FALSE(View()->HasOutline());
    const CLENIRoom* office = Project().FindRoom("Plan", "Office");
    ASSERT_NE(office, nullptr);
    EXPECT_NEAR(office->GetArea(), 48.0, 1e-9);
    EXPECT_EQ(office->GetTd(), 2000);
    EXPECT_EQ(office->GetTn(), 500);
    ASSERT_EQ(office->GetZoneCount(), 1);
    EXPECT_EQ(office->GetZones()[0].GetName(), "ZONE_01_(Office)");
    EXPECT_EQ(office->GetZones()[0].GetFoMode(), FOMODE_ONE);
    EXPECT_TRUE(Doc().IsModified());

    // Undo (Ctrl+Z in mode 0) goes back to the saved project, Redo (Ctrl+Y) brings the room back.
    Frame().activateWindow();
    QApplication::setActiveWindow(&Frame());
    Frame().UpdateCommandUi();
    QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Project().FindRoom("Plan", "Office"), nullptr);
    EXPECT_FALSE(Doc().IsModified());
    Frame().UpdateCommandUi();
    QTest::keyClick(View(), Qt::Key_Y, Qt::ControlModifier);
    ASSERT_NE(Project().FindRoom("Plan", "Office"), nullptr);
    EXPECT_TRUE(Doc().IsModified());
    // The page draws the restored floor, not the one that was replaced (a sanitizer run would
    // catch a stale floor here).
    View()->RenderImage();
    EXPECT_FALSE(View()->GetImage().isNull());
}

TEST_F(EditorTest, ZonesStayInsideTheirRoomAndOutsideOtherZones) {
    NewProject("Zones");
    AddSimpleFloor("Ground", 10, 10, 3, false); // ROOM_000 from (0,0) to (10,10)

    // A room may not start inside another.
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ROOM));
    Click({5, 5});
    EXPECT_EQ(LastBox(), "The new room cannot be inside an existing room\nThis point is inside <ROOM_000>");
    EXPECT_FALSE(View()->HasOutline());
    // A second room beside it, closed by a click on its first corner.
    Click({11, 1});
    Click({13, 1});
    Click({13, 4});
    Click({11, 4});
    script.Next<CRoomPropsDlg>([](CRoomPropsDlg& d) {
        d.GetNameField()->setText("Store");
        d.accept();
    });
    boxes.answers.push_back(IDNO);
    Click({11.03, 1.02});
    ASSERT_NE(Project().FindRoom("Ground", "Store"), nullptr) << BoxTexts();
    EXPECT_EQ(Project().FindRoom("Ground", "Store")->GetZoneCount(), 0);

    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ZONE));
    Click({-0.6, 5});
    EXPECT_EQ(LastBox(),
              "Zones have to be drawn inside rooms.\n(You can stop drawing the zone using the ESC key.)");
    Click({1, 1});
    Click({12, 2});
    EXPECT_EQ(LastBox().rfind(
                  "Zones have to stay inside their room\nThis zone has to stay inside room <ROOM_000>.\n", 0),
              0u)
        << LastBox();
    EXPECT_NE(LastBox().find("is inside room <Store>"), std::string::npos);
    Click({5, 1});
    Click({5, 4});
    Click({3, 0.5}); // would cross the first side
    EXPECT_EQ(LastBox(), "This cannot be self intersecting");
    EXPECT_EQ(View()->GetOutline().size(), 3u);
    Click({1, 4});
    script.Next<CZonePropsDlg>([](CZonePropsDlg& d) { d.accept(); });
    Click({1.04, 1.03}); // within a fortieth of the view width of the first corner: closes
    const CLENIRoom* room = Project().FindRoom("Ground", "ROOM_000");
    ASSERT_EQ(room->GetZoneCount(), 1) << BoxTexts();
    EXPECT_EQ(room->GetZones()[0].GetPolygon().size(), 4u);
    EXPECT_NEAR(room->GetZones()[0].GetArea(), 12.0, 0.1); // corners as exact as a pixel

    // Not inside that zone, but on its outline it may start.
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ZONE));
    Click({2, 2});
    EXPECT_EQ(LastBox(),
              "The new zone cannot be inside existing zones\nThis point is inside <ZONE_01_(ROOM_000)>");
    EXPECT_FALSE(View()->HasOutline());
    const size_t before = boxes.boxes.size();
    Click(OnPixel({5, 2}));
    EXPECT_EQ(boxes.boxes.size(), before) << BoxTexts();
    EXPECT_TRUE(View()->HasOutline());
    QTest::keyClick(View(), Qt::Key_Escape);
    EXPECT_FALSE(View()->HasOutline());
    EXPECT_EQ(View()->GetMouseMode(), MM_NONE);

    // A zone in the other room; a cancelled zone dialog ends the mode but leaves the outline.
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ZONE));
    Click({11.5, 1.5});
    Click({12.5, 1.5});
    Click({12.5, 3.5});
    script.Cancel();
    QTest::keyClick(View(), Qt::Key_Return);
    EXPECT_EQ(View()->GetMouseMode(), MM_NONE);
    EXPECT_TRUE(View()->HasOutline());
    EXPECT_EQ(Project().FindRoom("Ground", "Store")->GetZoneCount(), 0);
    QTest::keyClick(View(), Qt::Key_Escape);
    EXPECT_FALSE(View()->HasOutline());
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ZONE));
    Click({11.5, 1.5});
    Click({12.5, 1.5});
    Click({12.5, 3.5});
    script.Next<CZonePropsDlg>([](CZonePropsDlg& d) { d.accept(); });
    QTest::keyClick(View(), Qt::Key_Return);
    ASSERT_EQ(Project().FindRoom("Ground", "Store")->GetZoneCount(), 1) << BoxTexts();
    EXPECT_EQ(Project().FindRoom("Ground", "Store")->GetZones()[0].GetName(), "ZONE_01_(Store)");

    // Each accepted outline is one step back.
    for (int zones : {0}) {
        ASSERT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
        EXPECT_EQ(Project().FindRoom("Ground", "Store")->GetZoneCount(), zones);
    }
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
    EXPECT_EQ(Project().FindRoom("Ground", "ROOM_000")->GetZoneCount(), 0);
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
    EXPECT_EQ(Project().FindRoom("Ground", "Store"), nullptr);
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_REDO));
    EXPECT_NE(Project().FindRoom("Ground", "Store"), nullptr);
}

TEST_F(EditorTest, AtriumOutlineIsAddedToTheFloorAndRefusesAClickInsideAnAtrium) {
    NewProject("Atria");
    AddSimpleFloor("Ground", 10, 10, 3, false);
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ATRIUM));
    EXPECT_EQ(View()->GetMouseMode(), MM_ADD_ATRIUM);
    Click({2, 2});
    Click({4, 2});
    Click({4, 4});
    script.Next<CAtrioPropsDlg>([](CAtrioPropsDlg& d) { d.accept(); });
    QTest::keyClick(View(), Qt::Key_Return);
    const CLENIFloor* floor = Project().GetFloorByName("Ground");
    ASSERT_EQ(floor->GetAtriumCount(), 1) << BoxTexts();
    EXPECT_EQ(floor->GetAtria()[0].m_iKind, ATRIUM_ATRIUM);
    EXPECT_DOUBLE_EQ(floor->GetAtria()[0].m_dTrans, 1.0);
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ATRIUM));
    Click({3.5, 2.5});
    EXPECT_EQ(LastBox(), "The new atrim cannot be inside an existing atrium\nThis point is inside <" +
                             floor->GetAtria()[0].m_csName + ">");
}

TEST_F(EditorTest, MiddleButtonPansAndGivesTheDrawingModeBack) {
    NewProject("Pan");
    AddSimpleFloor("Ground", 10, 10, 3, false);
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ROOM));
    const QPoint at = At({12, 5});
    QTest::mousePress(View(), Qt::MiddleButton, Qt::NoModifier, at);
    EXPECT_EQ(View()->GetMouseMode(), MM_PAN);
    EXPECT_EQ(View()->GetSavedMode(), MM_ADD_ROOM);
    QTest::mouseRelease(View(), Qt::MiddleButton, Qt::NoModifier, at);
    EXPECT_EQ(View()->GetMouseMode(), MM_ADD_ROOM);
    EXPECT_EQ(View()->cursor().shape(), Qt::CrossCursor);
    QTest::keyClick(View(), Qt::Key_Escape);
    EXPECT_EQ(View()->GetMouseMode(), MM_NONE);
}

TEST_F(EditorTest, RightClickOpensTheContextMenuWithEveryCommandAndRunsTheChosenOne) {
    NewProject("Menu");
    AddSimpleFloor("Ground", 10, 10, 3, false);
    QTest::mousePress(View(), Qt::RightButton, Qt::NoModifier, At({5, 5}));
    QMenu* menu = Page()->GetContextMenu();
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> submenus;
    int items = 0;
    QAction* erase = nullptr;
    for (QAction* action : menu->actions()) {
        submenus.push_back(action->text().toStdString());
        for (QAction* item : action->menu()->actions()) {
            ++items;
            EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
            if (item->data().toInt() == IDC_ERASE_ROOM) erase = item;
        }
    }
    EXPECT_EQ(submenus, (std::vector<std::string>{"Floor", "Room", "Zone", "Window", "Atrium", "Roof Light",
                                                  "Products"}));
    EXPECT_EQ(items, 28); // with Copy Room to Floor
    ASSERT_NE(erase, nullptr);
    SaveScreenshot(*menu->actions()[1]->menu(), "editor-context-menu-room");
    boxes.answers.push_back(IDYES);
    erase->trigger();
    EXPECT_EQ(boxes.boxes.back().text, "Remove room <ROOM_000>\nfrom floor <Ground>?");
    EXPECT_EQ(Project().GetFloorByName("Ground")->GetRoomCount(), 0);
    EXPECT_TRUE(Doc().IsModified());
    menu->close();
}

TEST_F(EditorTest, AZoneCrossingTheNotchOfAnLShapedRoomIsRefusedAndAZoneSnapsToItsWalls) {
    NewProject("LShape");
    AddPlanFloor("Plan");
    Page()->SetGridSize(1.0);
    QTest::keyClick(View(), Qt::Key_F9);
    View()->SetDecimalSign('.');
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ROOM));
    EXPECT_EQ(View()->GetPrompt(), "Click the first corner, type x,y, or press R to draw a rectangle");
    const Polygon lShape = {{0, 0}, {8, 0}, {8, 2}, {3, 2}, {3, 6}, {0, 6}};
    for (const Point& p : lShape)
        Click({p.x + 0.1, p.y - 0.1});
    EXPECT_EQ(View()->GetPrompt(), "Click the next corner, type x,y, or press Enter to close");
    script.Next<CRoomPropsDlg>([](CRoomPropsDlg& d) {
        d.GetNameField()->setText("L");
        d.accept();
    });
    boxes.answers.push_back(IDNO);
    QTest::keyClick(View(), Qt::Key_Return);
    const CLENIRoom* room = Project().FindRoom("Plan", "L");
    ASSERT_NE(room, nullptr) << BoxTexts();
    EXPECT_DOUBLE_EQ(room->GetArea(), 8 * 2 + 3 * 4);

    // Every corner inside the room, a side across the notch: refused when it is clicked...
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ZONE));
    Click({1, 1});
    Click({7, 1});
    Click({2, 5});
    EXPECT_EQ(LastBox(), "Zones have to stay inside their room\nThis side would cross the walls of room <L>.");
    EXPECT_EQ(View()->GetOutline().size(), 2u);
    QTest::keyClick(View(), Qt::Key_Escape);
    // ... and when the closing side is the one that crosses, refused on Enter, wherever the
    // pointer is; the outline stays to be mended.
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ZONE));
    Click({2, 5});
    Click({1, 1});
    Click({7, 1});
    Move({1.5, 3});
    QTest::keyClick(View(), Qt::Key_Return);
    EXPECT_EQ(LastBox(), "Zones have to stay inside their room\nA side of this zone crosses the walls of room <L>.");
    EXPECT_EQ(View()->GetMouseMode(), MM_ADD_ZONE);
    EXPECT_EQ(View()->GetOutline().size(), 3u);
    EXPECT_EQ(room->GetZoneCount(), 0);
    QTest::keyClick(View(), Qt::Key_Escape);

    // Object snap puts a zone's corners on the room's corners and sides exactly, grid or not.
    QTest::keyClick(View(), Qt::Key_F9);
    QTest::keyClick(View(), Qt::Key_F3);
    ASSERT_TRUE(Page()->IsObjectSnapOn());
    ASSERT_FALSE(Page()->IsGridSnapOn());
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ZONE));
    Move({0.08, 0.07});
    EXPECT_EQ(View()->SnapPick(View()->GetPointerWorld()).kind, SNAPPED_CORNER);
    EXPECT_EQ(View()->GetStatusText().rfind("Click the first corner, type x,y, or press R to draw a rectangle   snap: "
                                            "corner   [grid snap off F9] [OBJECT SNAP ON F3]   DXFPOS: ",
                                            0),
              0u)
        << View()->GetStatusText();
    for (const Point& p : {Point(0.08, 0.07), Point(7.93, 0.06), Point(7.9, 1.92), Point(3.07, 1.9)})
        Click(p);
    Move({0.06, 1.87});
    EXPECT_EQ(View()->SnapPick(View()->GetPointerWorld()).kind, SNAPPED_EDGE);
    Click({0.06, 1.87});
    SaveScreenshot(Frame(), "editor-zone-snapped-to-walls");
    script.Next<CZonePropsDlg>([](CZonePropsDlg& d) { d.accept(); });
    QTest::keyClick(View(), Qt::Key_Return);
    ASSERT_EQ(room->GetZoneCount(), 1) << BoxTexts();
    const Polygon& zone = room->GetZones()[0].GetPolygon();
    ASSERT_EQ(zone.size(), 5u);
    const Polygon corners = {{0, 0}, {8, 0}, {8, 2}, {3, 2}};
    for (const Point& c : corners)
        EXPECT_EQ(std::count_if(zone.begin(), zone.end(),
                                [&](const Point& v) { return v.x == c.x && v.y == c.y; }),
                  1)
            << c.x << " " << c.y;
    // The fifth corner lies on the west wall exactly.
    EXPECT_EQ(std::count_if(zone.begin(), zone.end(), [](const Point& v) { return v.x == 0.0 && v.y > 1.5; }),
              1);
}

TEST_F(EditorTest, RoomsFromTypedCornersAndRectanglesAZoneRectangleOnItsRoomsCorners) {
    NewProject("Typed");
    AddPlanFloor("Plan");
    View()->SetDecimalSign(',');
    auto type = [&](const char* text) {
        QTest::keyClicks(View(), text);
        QTest::keyClick(View(), Qt::Key_Return);
    };
    auto expectOutline = [&](const Polygon& expected, const Polygon& actual) {
        ASSERT_EQ(actual.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(actual[i].x, expected[i].x) << i;
            EXPECT_EQ(actual[i].y, expected[i].y) << i;
        }
    };

    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ROOM));
    EXPECT_EQ(View()->GetPrompt(), "Click the first corner, type x;y, or press R to draw a rectangle");
    // With a comma as decimal sign "1,5" is one number, not a corner: refused, nothing placed.
    type("1,5");
    EXPECT_EQ(LastBox(), "\"1,5\" is not a corner.\nType x;y, @dx;dy or @length<angle in metres, for "
                         "example 2,5;4 or @3,2<90");
    EXPECT_FALSE(View()->HasOutline());
    EXPECT_EQ(View()->GetEntry(), "1,5");
    QTest::keyClick(View(), Qt::Key_Escape); // clears the entry, the mode stays
    EXPECT_EQ(View()->GetEntry(), "");
    EXPECT_EQ(View()->GetMouseMode(), MM_ADD_ROOM);
    type("@1;1");
    EXPECT_EQ(LastBox(), "There is no corner yet to measure from: type the first corner as x;y.");
    QTest::keyClick(View(), Qt::Key_Escape);
    type("0;0");
    type("@4,5;0");
    QTest::keyClicks(View(), "@3<90");
    EXPECT_NE(View()->GetStatusText().find("Corner: @3<90_"), std::string::npos) << View()->GetStatusText();
    Move({3, 1.5});
    SaveScreenshot(Frame(), "editor-typed-corner");
    QTest::keyClick(View(), Qt::Key_Return);
    type("0;3");
    EXPECT_EQ(View()->GetPrompt(), "Click the next corner, type x;y, or press Enter to close");
    expectOutline({{0, 0}, {4.5, 0}, {4.5, 3}, {0, 3}}, View()->GetOutline());
    script.Next<CRoomPropsDlg>([](CRoomPropsDlg& d) {
        d.GetNameField()->setText("Typed");
        d.accept();
    });
    boxes.answers.push_back(IDNO);
    QTest::keyClick(View(), Qt::Key_Return);
    const CLENIRoom* typed = Project().FindRoom("Plan", "Typed");
    ASSERT_NE(typed, nullptr) << BoxTexts();
    EXPECT_EQ(typed->GetArea(), 13.5);

    // A rectangle by two typed corners.
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ROOM));
    QTest::keyClick(View(), Qt::Key_R);
    EXPECT_TRUE(View()->IsRectangle());
    EXPECT_EQ(View()->GetPrompt(), "Rectangle: click the first corner or type x;y");
    type("5;0");
    EXPECT_EQ(View()->GetPrompt(), "Rectangle: click the opposite corner or type x;y");
    Move({7, 2});
    SaveScreenshot(Frame(), "editor-rectangle");
    script.Next<CRoomPropsDlg>([](CRoomPropsDlg& d) {
        d.GetNameField()->setText("Rect");
        d.accept();
    });
    boxes.answers.push_back(IDNO);
    type("@3;2,5");
    const CLENIRoom* rect = Project().FindRoom("Plan", "Rect");
    ASSERT_NE(rect, nullptr) << BoxTexts();
    expectOutline({{5, 0}, {8, 0}, {8, 2.5}, {5, 2.5}}, rect->GetPolygon());
    EXPECT_EQ(View()->GetMouseMode(), MM_NONE);

    // A rectangle over another room is refused when it is finished; it stays to be mended.
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ROOM));
    QTest::keyClick(View(), Qt::Key_R);
    type("4,7;2");
    type("6;2,8");
    EXPECT_EQ(LastBox(), "This new room would contain (or be contained by)\nan existing room.");
    EXPECT_EQ(View()->GetOutline().size(), 4u);
    EXPECT_EQ(Project().GetFloorByName("Plan")->GetRoomCount(), 2);
    QTest::keyClick(View(), Qt::Key_Escape);

    // A zone rectangle clicked on two corners of its room with object snap: the room's outline.
    QTest::keyClick(View(), Qt::Key_F3);
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ZONE));
    QTest::keyClick(View(), Qt::Key_R);
    Click({0.06, 0.05});
    script.Next<CZonePropsDlg>([](CZonePropsDlg& d) { d.accept(); });
    Click({4.44, 2.93});
    typed = Project().FindRoom("Plan", "Typed"); // the floor's rooms have grown since
    ASSERT_EQ(typed->GetZoneCount(), 1) << BoxTexts();
    expectOutline(typed->GetPolygon(), typed->GetZones()[0].GetPolygon());
}

TEST_F(EditorTest, OutlinesEditedInModeZeroAreCheckedAndUndoable) {
    NewProject("Edit");
    AddSimpleFloor("Ground", 10, 10, 3, false); // ROOM_000 from (0,0) to (10,10)
    View()->SetDecimalSign('.');
    Page()->SetGridSize(1.0);
    QTest::keyClick(View(), Qt::Key_F9);
    auto corners = [&](const std::string& name) { return Project().FindRoom("Ground", name)->GetPolygon(); };
    auto has = [](const Polygon& outline, const Point& p) {
        return std::any_of(outline.begin(), outline.end(), [&](const Point& v) { return v.x == p.x && v.y == p.y; });
    };
    auto drag = [&](const Point& from, const Point& to) {
        Move(from);
        QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, At(from));
        Move(to);
        QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, At(to));
    };
    // A second room by typed corners: Store from (11,0) to (14,4).
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_ROOM));
    for (const char* corner : {"11,0", "@3,0", "@0,4", "11,4"}) {
        QTest::keyClicks(View(), corner);
        QTest::keyClick(View(), Qt::Key_Return);
    }
    script.Next<CRoomPropsDlg>([](CRoomPropsDlg& d) {
        d.GetNameField()->setText("Store");
        d.accept();
    });
    boxes.answers.push_back(IDNO);
    QTest::keyClick(View(), Qt::Key_Return);
    ASSERT_NE(Project().FindRoom("Ground", "Store"), nullptr) << BoxTexts();

    Click({5, 5});
    ASSERT_EQ(View()->GetSelectedKind(), OUTLINE_ROOM);
    EXPECT_EQ(View()->GetSelectedRoom(), "ROOM_000");
    EXPECT_NE(View()->GetStatusText().find("Drag a corner or the inside"), std::string::npos);

    // A corner dragged onto the grid: one undo step.
    drag({10, 10}, {10.2, 11.1});
    SaveScreenshot(Frame(), "editor-corner-dragged");
    EXPECT_TRUE(has(corners("ROOM_000"), {10, 11})) << BoxTexts();
    EXPECT_TRUE(Doc().IsModified());
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
    EXPECT_TRUE(has(corners("ROOM_000"), {10, 10}));
    EXPECT_EQ(View()->GetSelectedOutline(), corners("ROOM_000")); // the selection follows the undo

    // Into the other room: refused with its message, the room as it was.
    drag({10, 0}, {12, 1});
    EXPECT_EQ(LastBox(), "The room <ROOM_000> would overlap room <Store>.");
    EXPECT_TRUE(has(corners("ROOM_000"), {10, 0}));
    EXPECT_EQ(View()->GetSelectedOutline(), corners("ROOM_000"));

    // A corner inserted on the south wall at the pointer, then deleted again.
    Move({5.2, 0.3});
    QTest::keyClick(View(), Qt::Key_Insert);
    EXPECT_EQ(corners("ROOM_000").size(), 5u);
    EXPECT_TRUE(has(corners("ROOM_000"), {5, 0}));
    drag({5, 0}, {5, -2});
    EXPECT_TRUE(has(corners("ROOM_000"), {5, -2}));
    EXPECT_DOUBLE_EQ(Project().FindRoom("Ground", "ROOM_000")->GetArea(), 110.0);
    Move({5, -1.8});
    QTest::keyClick(View(), Qt::Key_Delete);
    EXPECT_EQ(corners("ROOM_000").size(), 4u);
    EXPECT_DOUBLE_EQ(Project().FindRoom("Ground", "ROOM_000")->GetArea(), 100.0);

    // Store moved by a typed distance, then dragged by its inside; both snap onto the grid.
    Click({12, 2});
    ASSERT_EQ(View()->GetSelectedRoom(), "Store");
    QTest::keyClicks(View(), "@0,5");
    QTest::keyClick(View(), Qt::Key_Return);
    EXPECT_EQ(corners("Store"), (Polygon{{11, 5}, {14, 5}, {14, 9}, {11, 9}}));
    drag({12, 7}, {13.1, 6.9});
    EXPECT_EQ(corners("Store"), (Polygon{{12, 5}, {15, 5}, {15, 9}, {12, 9}}));
    QTest::keyClick(View(), Qt::Key_Escape);
    EXPECT_EQ(View()->GetSelectedKind(), OUTLINE_NONE);
}

TEST_F(EditorTest, RoomsAreCopiedWithTheirContentsByTypedDistanceByCtrlDragAndToAnotherFloor) {
    NewProject("Copy");
    AddSimpleFloor("Ground", 10, 10, 3, true); // ROOM_000 from (0,0) to (10,10), one zone over it
    View()->SetDecimalSign('.');
    Page()->SetGridSize(1.0);
    QTest::keyClick(View(), Qt::Key_F9);
    // A window on the south wall, a roof light and a luminaire list travel with the copies.
    FurnishRoom(Project(), "Ground", "ROOM_000");
    Page()->SetFloor(Project().GetFloorByName("Ground"));
    Frame().RunCommand(ID_SAVE_PROJECT);
    const CLENIRoom original = *Project().FindRoom("Ground", "ROOM_000");
    auto shifted = [](Polygon outline, double dx, double dy) {
        for (Point& v : outline) v = Point(v.x + dx, v.y + dy);
        return outline;
    };
    auto expectCopy = [&](const std::string& floor, const std::string& name, double dx, double dy) {
        const CLENIRoom* copy = Project().FindRoom(floor, name);
        ASSERT_NE(copy, nullptr) << name << BoxTexts();
        EXPECT_EQ(copy->GetPolygon(), shifted(original.GetPolygon(), dx, dy)) << name;
        ASSERT_EQ(copy->GetZoneCount(), 1) << name;
        EXPECT_EQ(copy->GetZones()[0].GetName(), "ZONE_01_(" + name + ")");
        EXPECT_EQ(copy->GetZones()[0].GetPolygon(), shifted(original.GetZones()[0].GetPolygon(), dx, dy));
        ASSERT_EQ(copy->GetZones()[0].GetLumList().GetCount(), 1);
        EXPECT_EQ(copy->GetZones()[0].GetLumList(), original.GetZones()[0].GetLumList());
        ASSERT_EQ(copy->GetWindowCount(), 1) << name;
        EXPECT_EQ(copy->GetWindows()[0].m_iWallId, 0);
        ASSERT_EQ(copy->GetRoofLights().size(), 1u) << name;
        EXPECT_EQ(copy->GetRoofLightOutline(copy->GetRoofLights()[0]),
                  shifted(original.GetRoofLightOutline(original.GetRoofLights()[0]), dx, dy));
    };

    // The zone fills the room: a click selects it, C takes its room for copying.
    Click({5, 5});
    QTest::keyClick(View(), Qt::Key_C);
    ASSERT_TRUE(View()->IsCopyMode());
    EXPECT_EQ(View()->GetSelectedKind(), OUTLINE_ROOM);
    EXPECT_NE(View()->GetStatusText().find("Copy: drag the room or type @dx,dy"), std::string::npos);
    // Where it would overlap the original: refused, nothing added.
    QTest::keyClicks(View(), "@5,0");
    QTest::keyClick(View(), Qt::Key_Return);
    EXPECT_EQ(LastBox(), "The copy of room <ROOM_000> would overlap room <ROOM_000>.\nPut it where the floor is free.");
    EXPECT_EQ(Project().GetFloorByName("Ground")->GetRoomCount(), 1);
    EXPECT_FALSE(Doc().IsModified());

    // A typed distance: one undo step.
    QTest::keyClick(View(), Qt::Key_C);
    QTest::keyClicks(View(), "@12,0");
    QTest::keyClick(View(), Qt::Key_Return);
    expectCopy("Ground", "ROOM_000 2", 12, 0);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_FALSE(View()->IsCopyMode());
    EXPECT_EQ(Project().FindRoom("Ground", "ROOM_000")->GetPolygon(), original.GetPolygon());
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
    EXPECT_EQ(Project().FindRoom("Ground", "ROOM_000 2"), nullptr);
    EXPECT_FALSE(Doc().IsModified());
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_REDO));

    // Ctrl held while dragging the inside: the copy lands on the grid where the pointer leaves it.
    Click({5, 5});
    QTest::keyClick(View(), Qt::Key_C); // the room, not its zone
    QTest::keyClick(View(), Qt::Key_C); // and back to moving
    ASSERT_FALSE(View()->IsCopyMode());
    Move({5, 5});
    QTest::mousePress(View(), Qt::LeftButton, Qt::ControlModifier, At({5, 5}));
    Move({5.2, 16.9});
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::ControlModifier, At({5.2, 16.9}));
    expectCopy("Ground", "ROOM_000 3", 0, 12);

    // To another floor at the same place, through the room's context menu.
    ASSERT_TRUE(Project().AppendFloor([] {
        CLENIFloor upper;
        upper.SetName("Upper");
        upper.SetHeight(3.5);
        return upper;
    }()));
    script.Next<QInputDialog>([](QInputDialog& d) {
        d.setTextValue("Upper");
        d.accept();
    });
    Page()->RunContextCommand(IDC_COPY_ROOM_TO_FLOOR, {5, 5});
    expectCopy("Upper", "ROOM_000 2", 0, 0);
    EXPECT_DOUBLE_EQ(Project().FindRoom("Upper", "ROOM_000 2")->GetHeight(), 3.5);
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
    EXPECT_EQ(Project().GetFloorByName("Upper")->GetRoomCount(), 0);
}

TEST_F(EditorTest, ViewSwitchesCarryCheckMarksAreRememberedAndRedrawEveryPage) {
    NewProject("Switches");
    AddSimpleFloor("Ground", 10, 10, 3, true);
    FurnishRoom(Project(), "Ground", "ROOM_000");
    Page()->SetFloor(Project().GetFloorByName("Ground"));
    struct Row {
        int id;
        bool PlanDisplay::*flag;
    } rows[] = {{ID_SHOW_LUMINAIRE_TABLES, &PlanDisplay::luminaireTables},
                {ID_SHOW_OPENING_LABELS, &PlanDisplay::openingLabels},
                {ID_DXF_BACKGROUND, &PlanDisplay::dxfDrawing}};
    for (const Row& row : rows) {
        Frame().UpdateCommandUi();
        QAction* action = Frame().FindCommand(row.id);
        ASSERT_TRUE(action->isCheckable()) << row.id;
        EXPECT_TRUE(action->isChecked()) << row.id;
        View()->RenderImage();
        const QImage before = View()->GetImage();
        ASSERT_TRUE(Frame().RunCommand(row.id));
        Frame().UpdateCommandUi();
        EXPECT_FALSE(action->isChecked()) << row.id;
        EXPECT_FALSE(View()->GetPlanDisplay().*row.flag) << row.id;
        EXPECT_FALSE(LoadPlanDisplay().*row.flag) << row.id; // kept for the next start
        View()->RenderImage();
        // A simple floor's drawing lies under its room's outline: the switch is what shows it went.
        if (row.id == ID_DXF_BACKGROUND) {
            EXPECT_FALSE(View()->GetShowDxfBackground());
        } else {
            EXPECT_NE(View()->GetImage(), before) << row.id;
        }
        ASSERT_TRUE(Frame().RunCommand(row.id));
        EXPECT_TRUE(LoadPlanDisplay().*row.flag) << row.id;
    }
    // The room's name is drawn on the plan (dark green on white) with the table below it.
    View()->RenderImage();
    const QImage& image = View()->GetImage();
    int named = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == QColor(0, 100, 55)) ++named;
    EXPECT_GT(named, 0);
    SaveScreenshot(Frame(), "editor-room-names");
}

TEST_F(EditorTest, APlanDrawnInMillimetresComesInInMetresWithItsRooms) {
    NewProject("Units");
    // 8000 x 6000 mm walls, and the same outline on the rooms' layer.
    const std::string outline = "90\n4\n70\n1\n10\n0\n20\n0\n10\n8000\n20\n0\n10\n8000\n20\n6000\n10\n0\n20\n6000\n";
    const fs::path path = dir / "Millimetres.dxf";
    std::ofstream(path) << "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n4\n0\nENDSEC\n"
                           "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n2\n0\nLAYER\n2\nLENI_ROOM\n70\n0\n62\n3\n"
                           "0\nLAYER\n2\nWALLS\n70\n0\n62\n7\n0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
                           "0\nLWPOLYLINE\n8\nWALLS\n" + outline + "0\nLWPOLYLINE\n8\nLENI_ROOM\n" + outline +
                               "0\nENDSEC\n0\nEOF\n";
    script.Next<CDxfSizeDlg>([](CDxfSizeDlg& d) {
        EXPECT_EQ(d.GetScale(), 0.001);
        d.accept();
    });
    script.Next<CFloorDlg>([](CFloorDlg& d) {
        d.GetHeightField()->setText("3");
        d.accept();
    });
    boxes.answers.push_back(IDYES); // rooms from the special layers
    Frame().GetView()->AddDxfFloor(path.string());
    EXPECT_TRUE(script.AllUsed()) << BoxTexts();
    ASSERT_NE(Page()->GetDxfFile(), nullptr);
    const Point size = Page()->GetDxfFile()->GetSize();
    EXPECT_NEAR(size.x, 8.0, 1e-9);
    EXPECT_NEAR(size.y, 6.0, 1e-9);
    const CLENIFloor* floor = Project().GetFloorByName("Millimetres");
    ASSERT_NE(floor, nullptr);
    ASSERT_EQ(floor->GetRoomCount(), 1) << BoxTexts();
    EXPECT_NEAR(floor->GetRooms()[0].GetArea(), 48.0, 1e-9);
    // The file chosen is left as it was.
    std::ifstream in(path);
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(in), {}).find("8000"), std::string::npos);
}

TEST_F(EditorTest, MeasureGivesTheDistanceBetweenSnappedPointsAndTheAreasUnderAClick) {
    NewProject("Measure");
    AddSimpleFloor("Ground", 10, 8, 3, true); // ROOM_000 from (0,0) to (10,8), one zone over it
    QTest::keyClick(View(), Qt::Key_F3);     // object snap: the room's corners and sides
    Page()->SetGridSize(1.0);
    QTest::keyClick(View(), Qt::Key_F9); // and the grid elsewhere
    const std::string before = ProjectText();
    ASSERT_TRUE(Frame().RunCommand(ID_MEASURE));
    ASSERT_EQ(View()->GetMouseMode(), MM_MEASURE);
    EXPECT_NE(View()->GetStatusText().find("Measure: click a point"), std::string::npos);
    struct Row {
        Point click;
        const char* want;
    } rows[] = {
        // 10 x 8 = 80 m2 for the zone and the room.
        {{0.1, 0.15}, "Zone <ZONE_01_(ROOM_000)>: 80.00 m2 in room <ROOM_000>: 80.00 m2   From 0.00 0.00"},
        // The corner (10, 8): sqrt(100 + 64) = 12.806.
        {{9.9, 7.9}, "Distance 12.81 m (dx 10.00 m, dy 8.00 m)"},
        // A point outside every room (on the grid), then a side of the room (snapped to (10, 4)).
        {{14.1, 3.9}, "From 14.00 4.00"},
        {{10.1, 4.0}, "Distance 4.00 m (dx -4.00 m, dy 0.00 m)"},
    };
    for (const Row& row : rows) {
        Click(row.click);
        EXPECT_EQ(View()->GetMeasureText(), row.want) << row.click.x << " " << row.click.y;
        if (&row == &rows[1]) SaveScreenshot(Frame(), "editor-measure");
    }
    EXPECT_NE(View()->GetStatusText().find("Distance 4.00 m"), std::string::npos);
    SaveScreenshot(Frame(), "editor-measure-edge");
    QTest::keyClick(View(), Qt::Key_Escape);
    EXPECT_EQ(View()->GetMouseMode(), MM_NONE);
    EXPECT_EQ(ProjectText(), before); // measuring changes nothing
}

TEST_F(EditorTest, AddingAndRemovingFloorsAreUndoStepsAndTheTabsFollowTheFloors) {
    NewProject("Floors");
    AddPlanFloor("A");
    AddPlanFloor("B");
    const fs::path folder = Project().GetProjectFolder();
    auto tabs = [&] {
        std::vector<std::string> names;
        for (int i = 0; i < Frame().GetView()->GetTabCount(); ++i) names.push_back(Frame().GetView()->GetTabText(i));
        return names;
    };
    auto floors = [&] {
        std::vector<std::string> names;
        for (const CLENIFloor& floor : Project().GetFloors()) names.push_back(floor.GetName());
        return names;
    };
    using Names = std::vector<std::string>;
    ASSERT_EQ(tabs(), (Names{"A", "B"}));

    // Adding B undone and redone.
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
    EXPECT_EQ(floors(), (Names{"A"}));
    EXPECT_EQ(tabs(), (Names{"A"}));
    EXPECT_TRUE(fs::exists(folder / "B.DXF")); // left alone, no longer listed
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_REDO));
    EXPECT_EQ(floors(), (Names{"A", "B"}));
    EXPECT_EQ(tabs(), (Names{"A", "B"}));

    // A removed: its file stays; Undo brings it back in its place.
    Frame().GetTabCtrl()->setCurrentIndex(0);
    boxes.answers.push_back(IDYES);
    ASSERT_TRUE(Frame().RunCommand(ID_REMOVE_DXF_FLOOR));
    EXPECT_EQ(floors(), (Names{"B"}));
    EXPECT_EQ(tabs(), (Names{"B"}));
    EXPECT_TRUE(fs::exists(folder / "A.DXF"));
    EXPECT_TRUE(Doc().IsModified());
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
    EXPECT_EQ(floors(), (Names{"A", "B"}));
    EXPECT_EQ(tabs(), (Names{"A", "B"}));
    // Both undone: the project as it was created, with the empty tab.
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
    EXPECT_EQ(floors(), Names{});
    EXPECT_EQ(Frame().GetView()->GetTabCount(), 1);
    EXPECT_FALSE(Page()->HasDrawing());
}

} // namespace
