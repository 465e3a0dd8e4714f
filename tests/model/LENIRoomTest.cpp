#include "ModelTestSupport.h"

#include "dxf/DxfPline.h"

namespace {
CLENIWindow MakeWindow(int wall, int id, double start, double width, double sill = 0.9, double height = 1.5) {
    CLENIWindow w;
    w.m_iWallId = wall;
    w.m_iWindowId = id;
    w.m_dStart = start;
    w.m_dWidth = width;
    w.m_dSillHeight = sill;
    w.m_dHeight = height;
    return w;
}
} // namespace

TEST(LENIRoomTest, FieldRangesAreKept) {
    CLENIRoom room = MakeRoom("R1", Rect(0, 0, 4, 4));
    EXPECT_TRUE(room.SetWrkSrfHi(0.0));
    EXPECT_TRUE(room.SetWrkSrfHi(2.0));
    EXPECT_FALSE(room.SetWrkSrfHi(2.01));
    EXPECT_DOUBLE_EQ(room.GetWrkSrfHi(), 2.0);
    room.SetMaintenanceFactor(1.4);
    EXPECT_DOUBLE_EQ(room.GetMaintenanceFactor(), 1.0);
    room.SetMaintenanceFactor(-0.1);
    EXPECT_DOUBLE_EQ(room.GetMaintenanceFactor(), 0.0);
    room.SetHeight(250);
    EXPECT_DOUBLE_EQ(room.GetHeight(), 200.0);
    EXPECT_FALSE(room.SetUserDcaj(-1.0));
    EXPECT_TRUE(room.SetUserDcaj(2.5));
    EXPECT_DOUBLE_EQ(room.GetUserDcaj(), 2.5);
}

TEST(LENIRoomTest, MonthlyHoursAreATwelfthRoundedHalfUp) {
    CLENIRoom room;
    const struct {
        int annual, month;
    } cases[] = {{2250, 188}, {250, 21}, {1000, 83}, {1800, 150}, {1250, 104}, {6, 1}, {5, 0}, {18, 2}};
    for (const auto& c : cases) {
        room.SetTd(c.annual);
        room.SetTn(c.annual);
        EXPECT_EQ(room.GetTdForTimeStep(0), c.annual);
        EXPECT_EQ(room.GetTdForTimeStep(3), c.month) << c.annual;
        EXPECT_EQ(room.GetTnForTimeStep(12), c.month) << c.annual;
    }
}

TEST(LENIRoomTest, RoomTypeKeyGivesTheBuildingType) {
    CLENIRoom room;
    const struct {
        const char* key;
        const char* buildingType;
    } cases[] = {
        {"[Offices]Cellular office 1 person.(Fa=0.40)", "Offices"},
        {"  [Hotels]Kitchen(Fa=0.00)\t", "Hotels"},
        {"Offices]Cellular office 1 person.(Fa=0.40)", "Residential buildings"},
        {"[Offices Cellular office(Fa=0.40)", "Residential buildings"},
    };
    for (const auto& c : cases) {
        room.SetRoomType(c.key);
        EXPECT_EQ(room.GetBuildingTypeFromRoomTypeString(), c.buildingType) << c.key;
    }
    EXPECT_EQ(room.GetRoomType(), "[Offices Cellular office(Fa=0.40)");
    EXPECT_FALSE(room.SetRoomType("   "));
    EXPECT_EQ(room.GetRoomType(), "[Offices Cellular office(Fa=0.40)");
    // Kept even without its Fa.
    EXPECT_TRUE(room.SetRoomType("Living room"));
    EXPECT_EQ(room.GetRoomType(), "Living room");
}

TEST(LENIRoomTest, HoursComeFromTheBuildingType) {
    CLENIRoom room;
    room.GetTdTnByBuildingType("restaurants");
    EXPECT_EQ(room.GetTd(), 1250);
    EXPECT_EQ(room.GetTn(), 1250);
    room.GetTdTnByBuildingType("Castle");
    EXPECT_EQ(room.GetTd(), 1000);
    EXPECT_EQ(room.GetTn(), 1000);
}

TEST(LENIRoomTest, ZonesRoofLightsAndWindowsKeepTheirIdentities) {
    CLENIRoom room = MakeRoom("R1", Rect(0, 0, 10, 6));
    EXPECT_TRUE(room.AddZone(MakeZone("Desk", Rect(0, 0, 4, 6))));
    EXPECT_FALSE(room.AddZone(MakeZone("DESK", Rect(4, 0, 10, 6))));
    EXPECT_TRUE(room.ZoneExists("desk"));

    CLENIRoofLight roofLight;
    roofLight.m_iId = 1;
    EXPECT_TRUE(room.AddRoofLight(roofLight));
    EXPECT_FALSE(room.AddRoofLight(roofLight));
    roofLight.m_iId = 3;
    room.AddRoofLight(roofLight);
    EXPECT_EQ(room.GetFreeRoofLightId(1), 2);
    EXPECT_EQ(room.GetFreeRoofLightId(3), 4);
    EXPECT_TRUE(room.RemoveRoofLight(1));
    EXPECT_EQ(room.GetFreeRoofLightId(1), 1);

    EXPECT_TRUE(room.AddWindow(MakeWindow(0, 0, 1, 1)));
    EXPECT_TRUE(room.AddWindow(MakeWindow(1, 0, 1, 1)));
    EXPECT_FALSE(room.AddWindow(MakeWindow(0, 0, 5, 1)));
    EXPECT_EQ(room.GetFreeWindowId(0), 1);
    CLENIWindow changed = MakeWindow(1, 0, 2, 1.5);
    EXPECT_TRUE(room.ChangeWindow(changed));
    EXPECT_DOUBLE_EQ(room.FindWindow(1, 0)->m_dWidth, 1.5);
    EXPECT_DOUBLE_EQ(room.FindWindow(0, 0)->m_dWidth, 1.0);
    EXPECT_TRUE(room.RemoveWindow(0, 0));
    EXPECT_EQ(room.GetWindowCount(), 1);
}

TEST(LENIRoomTest, AverageZoneIlluminanceIsAreaWeighted) {
    CLENIRoom room = MakeRoom("R1", Rect(0, 0, 10, 6));
    EXPECT_DOUBLE_EQ(room.GetAverageZoneIlluminance(), 0.0);
    CLENIZone a = MakeZone("A", Rect(0, 0, 4, 6)); // 24 m2 at 300 lx
    a.SetZoneIlluminance(300);
    CLENIZone b = MakeZone("B", Rect(4, 0, 10, 6)); // 36 m2 at 500 lx
    room.AddZone(a);
    room.AddZone(b);
    EXPECT_NEAR(room.GetAverageZoneIlluminance(), (24 * 300 + 36 * 500) / 60.0, 1e-9);
}

TEST(LENIRoomTest, OutlineIsKeptCounterClockwiseWithItsReferencePoint) {
    CLENIRoom room = MakeRoom("R1", {Point(2, 1), Point(2, 5), Point(9, 5), Point(9, 1)});
    EXPECT_TRUE(IsPolygonCounterClockwise(room.GetPolygon()));
    EXPECT_EQ(room.GetReferencePoint(), Point(2, 1));
    EXPECT_EQ(room.GetRoomExtents(), Point(7, 4));
    EXPECT_DOUBLE_EQ(room.GetArea(), 28.0);
}

TEST(LENIRoomTest, WallsRunAlongTheOutline) {
    CLENIRoom room = MakeRoom("R1", Rect(0, 0, 5, 3));
    EXPECT_DOUBLE_EQ(room.GetWallLength(0), 5.0);
    EXPECT_DOUBLE_EQ(room.GetWallLength(3), 3.0);
    EXPECT_EQ(room.GetWallDirectionVector(1), Point(0, 1));
    EXPECT_EQ(room.GetWallDirectionVector(2), Point(-1, 0));

    Point s, e;
    EXPECT_TRUE(room.GetWallStartAndEnd2D(MakeWindow(2, 0, 1, 2), s, e));
    EXPECT_EQ(s, Point(4, 3));
    EXPECT_EQ(e, Point(2, 3));

    EXPECT_DOUBLE_EQ(room.GetXAlongWallSide(Point(1.5, 2), 0), 1.5);
    EXPECT_DOUBLE_EQ(room.GetXAlongWallSide(Point(-3, 2), 0), 0.0);
    EXPECT_DOUBLE_EQ(room.GetXAlongWallSide(Point(8, -1), 0), 5.0);
}

TEST(LENIRoomTest, WindowNearAPointMustProjectInsideIt) {
    CLENIRoom room = MakeRoom("R1", Rect(0, 0, 10, 6));
    room.AddWindow(MakeWindow(0, 0, 1, 2)); // x 1 .. 3
    room.AddWindow(MakeWindow(0, 1, 5, 2)); // x 5 .. 7
    room.AddWindow(MakeWindow(2, 0, 1, 2)); // top wall, x 9 .. 7
    const struct {
        Point p;
        int wall, index;
    } cases[] = {
        {Point(2, 0.5), 0, 0},  {Point(6, -0.9), 0, 1}, {Point(6, 1.0), 0, -1}, {Point(3, 0.1), 0, -1},
        {Point(4, 0.1), 0, -1}, {Point(8, 5.5), 2, 2},  {Point(8, 5.5), 0, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(room.FindWindowNearPoint(c.p, c.wall), c.index) << c.p.x << " " << c.p.y;
}

TEST(LENIRoomTest, MessagesOfRefusalsAndWallsOutOfRange) {
    CLENIRoom room = MakeRoom("R1", Rect(0, 0, 5, 3));
    room.AddZone(MakeZone("Z1", Rect(0, 0, 2, 3)));
    CLENIRoofLight roofLight;
    roofLight.m_iId = 2;
    room.AddRoofLight(roofLight);
    room.AddWindow(MakeWindow(0, 0, 1, 1));
    double length = 0, along = 0;
    Point direction, s, e;
    ExpectMessages({
        {"empty name", [] { CLENIRoom().InitFromPolygon("", Rect(0, 0, 1, 1), 3); },
         "CLENIRoom::IFDP with empty name.", LOG_INFO},
        {"two vertices",
         [] {
             CLENIRoom().InitFromPolygon("R", {Point(0, 0), Point(1, 1)}, 3);
         },
         "CLENIRoom::IFDP bad pPline parameter.", LOG_INFO},
        {"no polyline", [] { CLENIRoom().InitFromDxfPline("R", nullptr, 3); },
         "CLENIRoom::IFDP bad pPline parameter.", LOG_INFO},
        {"same zone", [&] { room.AddZone(MakeZone("z1", Rect(2, 0, 4, 3))); },
         "CLENIRoom::AZ trying to add zone with same name: z1", LOG_ERROR},
        {"same roof light", [&] { room.AddRoofLight(roofLight); },
         "CLENIRoom::ARL room R1 rooflight id already exists:2", LOG_ERROR},
        {"same window", [&] { room.AddWindow(MakeWindow(0, 0, 3, 1)); },
         "CLENIRoom::AW(0,0) window already exists in room R1", LOG_ERROR},
        {"change window", [&] { room.ChangeWindow(MakeWindow(1, 4, 0, 1)); },
         "CLENIRoom::CW(WallId 1, WindowId 4) failed.", LOG_ERROR},
        {"set type", [&] { room.SetRoomType("[Offices]Archives(Fa=0.98)"); },
         "SetRoomType <[Offices]Archives(Fa=0.98)>", LOG_INFO},
        {"empty type", [&] { room.SetRoomType(" "); }, "SetRoomType, empty string", LOG_ERROR},
        {"type without Fa", [&] { room.SetRoomType("Living room"); },
         "CLENIRoom::SRT but no fa in the string: <Living room>", LOG_ERROR},
        {"no start bracket",
         [&] {
             room.SetRoomType("Offices]Archives(Fa=0.98)");
             room.GetBuildingTypeFromRoomTypeString();
         },
         "CLENIRoom::GDBTFRTS: Could not find correct start square bracket in room string", LOG_ERROR},
        {"no end bracket",
         [&] {
             room.SetRoomType("[Offices Archives(Fa=0.98)");
             room.GetBuildingTypeFromRoomTypeString();
         },
         "CLENIRoom::GDBTFRTS: Could not find correct end square bracket in room string", LOG_ERROR},
        {"unknown building type", [&] { room.GetTdTnByBuildingType("Castle"); },
         "CBuildingTypeData::GTTBBT Could not find building type <Castle>", LOG_ERROR},
        {"work surface", [&] { room.SetWrkSrfHi(2.5); }, "SetWrkSrfHi 2.500 out of range (room <R1>",
         LOG_ERROR},
        {"wall length", [&] { length = room.GetWallLength(4); }, "GetWallLength(4) wall id out of range",
         LOG_ERROR},
        {"wall direction", [&] { direction = room.GetWallDirectionVector(-1); },
         "GetWallDirectionVector(-1) wall id out of range", LOG_ERROR},
        {"window ends", [&] { room.GetWallStartAndEnd2D(MakeWindow(7, 0, 1, 1), s, e); },
         "GetWallStartAndEnd2D(7) out of range", LOG_ERROR},
        {"along wall", [&] { along = room.GetXAlongWallSide(Point(1, 1), 9); },
         "GetXAlongWallSide(9) out of range in room R1", LOG_ERROR},
    });
    EXPECT_DOUBLE_EQ(length, 1.0);
    EXPECT_DOUBLE_EQ(std::hypot(direction.x, direction.y), 1.0);
    EXPECT_DOUBLE_EQ(along, 0.5);
    EXPECT_EQ(room.GetZoneCount(), 1);
    EXPECT_EQ(room.GetRoofLightCount(), 1);
    EXPECT_EQ(room.GetWindowCount(), 1);
}

TEST(LENIRoomTest, RoomFromADrawnPolyline) {
    CDxfPline pline; // clockwise, closed by repeating its first vertex
    for (const Point& p : {Point(0, 0), Point(0, 4), Point(5, 4), Point(5, 0), Point(0, 0.005)})
        pline.AddVertex(p);
    CLENIRoom room;
    ASSERT_TRUE(room.InitFromDxfPline("Hall", &pline, 0.5));
    EXPECT_EQ(room.GetName(), "Hall");
    EXPECT_DOUBLE_EQ(room.GetHeight(), 1.0);
    EXPECT_EQ(room.GetPolygon().size(), 4u);
    EXPECT_TRUE(IsPolygonCounterClockwise(room.GetPolygon()));

    CDxfPline sliver; // three vertices, two of them the same point
    for (const Point& p : {Point(0, 0), Point(3, 0), Point(3, 0.001)})
        sliver.AddVertex(p);
    ExpectMessages({{"two distinct vertices", [&] { room.InitFromDxfPline("Other", &sliver, 3.0); },
                     "CLENIRoom::IFDP bad pPline parameter.", LOG_INFO}});
    EXPECT_EQ(room.GetName(), "Hall");
    EXPECT_DOUBLE_EQ(room.GetArea(), 20.0);
}

// The area is kept with the outline it was measured on: a new outline, on the room or on a copy
// of it, is measured again, and the copy's new outline leaves the original's area alone.
TEST(LENIRoomTest, AreaFollowsTheOutlineThroughEditsAndCopies) {
    CLENIRoom room = MakeRoom("R1", Rect(0, 0, 4, 3));
    EXPECT_DOUBLE_EQ(room.GetArea(), 12.0);
    EXPECT_DOUBLE_EQ(room.GetArea(), 12.0); // asked again: the kept figure
    CLENIRoom copy = room;
    copy.SetPolygon(Rect(0, 0, 5, 2));
    EXPECT_DOUBLE_EQ(copy.GetArea(), 10.0);
    EXPECT_DOUBLE_EQ(room.GetArea(), 12.0);
    room.SetPolygon(Polygon{{0, 0}, {6, 0}, {6, 2}, {2, 2}, {2, 4}, {0, 4}}); // L: 6x2 + 2x2
    EXPECT_DOUBLE_EQ(room.GetArea(), 16.0);
    room.SetPolygon(Rect(0, 0, 4, 3));
    EXPECT_DOUBLE_EQ(room.GetArea(), 12.0);
}

// What the calculation keeps for a room is found again by its revision alone, so every way of
// changing a room must give it a revision it never had, and nothing else may.
TEST(LENIRoomTest, EveryChangeGivesANewRevisionAndACopyKeepsIt) {
    CLENIRoom base = MakeRoom("R1", Rect(0, 0, 6, 4));
    base.AddZone(MakeZone("Z1", Rect(0, 0, 3, 4)));
    base.AddWindow(MakeWindow(0, 0, 1.0, 1.5));
    CLENIRoofLight roofLight;
    roofLight.m_iId = 1;
    base.AddRoofLight(roofLight);
    const CLENIRoom& unchanged = base;
    const std::uint64_t before = unchanged.GetRevision();
    // Reading does not change it.
    unchanged.GetArea();
    unchanged.FindZone("Z1");
    unchanged.FindWindow(0, 0);
    unchanged.GetListPowers(Parasitic, CLumSysDataBase::Global());
    EXPECT_EQ(unchanged.GetRevision(), before);

    const std::vector<std::pair<const char*, std::function<void(CLENIRoom&)>>> changes = {
        {"name", [](CLENIRoom& r) { r.SetName("R2"); }},
        {"floor name", [](CLENIRoom& r) { r.SetFloorName("F1"); }},
        {"room type", [](CLENIRoom& r) { r.SetRoomType("[Offices]Office(Fa=0.00)"); }},
        {"hours by building type", [](CLENIRoom& r) { r.GetTdTnByBuildingType("Offices"); }},
        {"td", [](CLENIRoom& r) { r.SetTd(1234); }},
        {"tn", [](CLENIRoom& r) { r.SetTn(123); }},
        {"working plane", [](CLENIRoom& r) { r.SetWrkSrfHi(0.7); }},
        {"maintenance factor", [](CLENIRoom& r) { r.SetMaintenanceFactor(0.6); }},
        {"height", [](CLENIRoom& r) { r.SetHeight(3.3); }},
        {"outline", [](CLENIRoom& r) { r.SetPolygon(Rect(0, 0, 7, 4)); }},
        {"outline from a polygon", [](CLENIRoom& r) { r.InitFromPolygon("R1", Rect(0, 0, 6, 5), 3.0); }},
        {"dcaj source", [](CLENIRoom& r) { r.SetDcajSource(DCAJ_USER); }},
        {"user dcaj", [](CLENIRoom& r) { r.SetUserDcaj(2.0); }},
        {"shading", [](CLENIRoom& r) { r.SetShadingType(SHADING_LIGHT_GUIDES); }},
        {"print", [](CLENIRoom& r) { r.SetPrintMe(true); }},
        {"zone added", [](CLENIRoom& r) { r.AddZone(MakeZone("Z2", Rect(3, 0, 6, 4))); }},
        {"zone replaced", [](CLENIRoom& r) { r.ReplaceZone(MakeZone("Z1", Rect(0, 0, 2, 4))); }},
        {"zone removed", [](CLENIRoom& r) { r.RemoveZoneByName("Z1"); }},
        {"window added", [](CLENIRoom& r) { r.AddWindow(MakeWindow(1, 0, 0.5, 1.0)); }},
        {"window changed", [](CLENIRoom& r) { r.ChangeWindow(MakeWindow(0, 0, 1.0, 2.0)); }},
        {"window removed", [](CLENIRoom& r) { r.RemoveWindow(0, 0); }},
        {"roof light added",
         [](CLENIRoom& r) {
             CLENIRoofLight more;
             more.m_iId = 2;
             r.AddRoofLight(more);
         }},
        {"roof light changed",
         [](CLENIRoom& r) {
             CLENIRoofLight changed = r.GetRoofLights()[0];
             changed.m_dYWidth += 0.5;
             r.ChangeRoofLight(changed);
         }},
        {"roof light removed", [](CLENIRoom& r) { r.RemoveRoofLight(1); }},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        CLENIRoom room = base;
        EXPECT_EQ(room.GetRevision(), before); // a copy is the same content
        change(room);
        EXPECT_NE(room.GetRevision(), before);
        EXPECT_EQ(CLENIRoom(room).GetRevision(), room.GetRevision());
        EXPECT_EQ(base.GetRevision(), before);
    }

    // A part handed out for changing may be changed at any later time: from then on the room (and
    // any copy) never shows the same revision twice.
    for (const auto& handOut : std::vector<std::function<void(CLENIRoom&)>>{
             [](CLENIRoom& r) { r.FindZone("Z1"); }, [](CLENIRoom& r) { r.FindWindow(0, 0); },
             [](CLENIRoom& r) { r.FindRoofLight(1); }}) {
        CLENIRoom room = base;
        handOut(room);
        const CLENIRoom copy = room;
        EXPECT_NE(room.GetRevision(), room.GetRevision());
        EXPECT_NE(copy.GetRevision(), copy.GetRevision());
        room = base; // the content of a room that handed nothing out
        EXPECT_EQ(room.GetRevision(), before);
    }
}
