#include "ModelTestSupport.h"

TEST(LENIFloorTest, HeightOutsideItsRangeBecomesThreeForFloorAndRooms) {
    const struct {
        double set, floor, room;
    } cases[] = {{0.5, 3.0, 3.0}, {250, 3.0, 3.0}, {1.0, 1.0, 1.0}, {200, 200, 200}, {4.2, 4.2, 4.2}};
    for (const auto& c : cases) {
        CLENIFloor floor("Ground", 3.0);
        floor.AddRoom(MakeRoom("R1", Rect(0, 0, 4, 4), 2.5));
        floor.SetHeight(c.set);
        EXPECT_DOUBLE_EQ(floor.GetHeight(), c.floor) << c.set;
        EXPECT_DOUBLE_EQ(floor.GetRooms()[0].GetHeight(), c.room) << c.set;
    }
    // A room drawn on a floor of 0.5 m gets the smallest room height.
    EXPECT_DOUBLE_EQ(MakeRoom("R2", Rect(0, 0, 4, 4), 0.5).GetHeight(), 1.0);
}

TEST(LENIFloorTest, InstanceCountIsAtLeastOne) {
    CLENIFloor floor("Ground");
    floor.SetInstanceCount(0);
    EXPECT_EQ(floor.GetInstanceCount(), 1);
    floor.SetInstanceCount(-3);
    EXPECT_EQ(floor.GetInstanceCount(), 1);
    floor.SetInstanceCount(4);
    EXPECT_EQ(floor.GetInstanceCount(), 4);
}

TEST(LENIFloorTest, GeneratedNamesTakeTheFirstFreeCounter) {
    CLENIFloor floor("Ground");
    EXPECT_EQ(floor.GetUniqueRoomName(), "ROOM_000");
    floor.AddRoom(MakeRoom("ROOM_000", Rect(0, 0, 4, 4)));
    floor.AddRoom(MakeRoom("room_002", Rect(4, 0, 8, 4)));
    EXPECT_EQ(floor.GetUniqueRoomName(), "ROOM_001");

    CLENIRoom r1 = MakeRoom("R1", Rect(0, 4, 4, 8));
    r1.AddZone(MakeZone("ZONE_01_(R1)", Rect(0, 4, 2, 8)));
    r1.AddZone(MakeZone("zone_02_(r1)", Rect(2, 4, 4, 8)));
    floor.AddRoom(r1);
    EXPECT_EQ(floor.GetUniqueZoneName("R1"), "ZONE_03_(R1)");
    EXPECT_EQ(floor.GetUniqueZoneName("Nowhere"), "ZONE_01_(Nowhere)");

    EXPECT_EQ(floor.GetUniqueAtriumName(), "ATRIO_01_Ground");
    CLENIAtrium atrium;
    atrium.m_csName = "ATRIO_01_GROUND";
    floor.AddAtrium(atrium);
    EXPECT_EQ(floor.GetUniqueAtriumName(), "ATRIO_02_Ground");
}

TEST(LENIFloorTest, GeneratedNamesSkipOnlyTheCountersTheirOwnSpellingTakes) {
    // Names in use, and the room name the next generated one gets.
    const struct {
        std::vector<std::string> used;
        const char* next;
    } cases[] = {
        {{}, "ROOM_000"},
        {{"room_000", "Room_001"}, "ROOM_002"},              // letter case does not matter
        {{"ROOM_0000", "ROOM_00", "ROOM_000 "}, "ROOM_000"}, // other spellings of the counter do
        {{"ROOM_001", "ROOM_-01", "ROOM_+00"}, "ROOM_000"},
        {{"ROOM_000", "ROOM_002"}, "ROOM_001"},
        {{"ROOM_000", "ROOM_500", "ROOM_999"}, "ROOM_001"},
    };
    for (const auto& c : cases) {
        CLENIFloor floor("F");
        for (const std::string& name : c.used) {
            CLENIRoom room;
            room.SetName(name);
            floor.AddRoom(room);
        }
        EXPECT_EQ(floor.GetUniqueRoomName(), c.next) << ::testing::PrintToString(c.used);
    }

    CLENIFloor floor("Ground");
    CLENIRoom r1 = MakeRoom("R(1)", Rect(0, 0, 1, 1));
    CLENIZone zone;
    for (const char* name : {"zone_01_(r(1))", "ZONE_2_(R(1))", "ZONE_03_(R(1)", "ZONE_02_(R(2))"}) {
        zone.SetName(name);
        r1.AddZone(zone);
    }
    floor.AddRoom(r1);
    EXPECT_EQ(floor.GetUniqueZoneName("R(1)"), "ZONE_02_(R(1))");
    CLENIAtrium atrium;
    for (const char* name : {"ATRIO_01_ground", "ATRIO_02_Ground2", "ATRIO_100_Ground"}) {
        atrium.m_csName = name;
        floor.AddAtrium(atrium);
    }
    EXPECT_EQ(floor.GetUniqueAtriumName(), "ATRIO_02_Ground");
}

TEST(LENIFloorTest, GeneratedNamesGiveUpAfterFiveHundredTries) {
    CLENIFloor floor("F");
    CLENIRoom room;
    for (int n = 0; n < 500; ++n) {
        room.SetName(StrPrintf("ROOM_%03d", n));
        floor.AddRoom(room);
    }
    CLENIRoom r1 = MakeRoom("R1", Rect(0, 0, 1, 1));
    CLENIZone zone;
    for (int n = 1; n <= 500; ++n) {
        zone.SetName(StrPrintf("ZONE_%02d_(R1)", n));
        r1.AddZone(zone);
    }
    // Counters beyond the width simply grow.
    EXPECT_TRUE(r1.ZoneExists("ZONE_100_(R1)"));
    floor.AddRoom(r1);
    CLENIAtrium atrium;
    for (int n = 1; n <= 500; ++n) {
        atrium.m_csName = StrPrintf("ATRIO_%02d_F", n);
        floor.AddAtrium(atrium);
    }
    std::string room501, zone501, atrium501;
    ExpectMessages({
        {"rooms", [&] { room501 = floor.GetUniqueRoomName(); }, "CLENIFloor::GURN limit reached", LOG_ERROR},
        {"zones", [&] { zone501 = floor.GetUniqueZoneName("R1"); }, "CLENIFloor::GUZN limit reached",
         LOG_ERROR},
        {"atria", [&] { atrium501 = floor.GetUniqueAtriumName(); }, "CLENIFloor::GUAZN limit reached",
         LOG_ERROR},
    });
    EXPECT_EQ(room501, "NEW_ROOM");
    EXPECT_EQ(zone501, "NEW_ZONE");
    EXPECT_EQ(atrium501, "NEW_ATRIO");
}

TEST(LENIFloorTest, RoomsAreFoundByNameIndexAndPoint) {
    CLENIFloor floor("Ground");
    floor.AddRoom(MakeRoom("A", Rect(0, 0, 4, 4)));
    floor.AddRoom(MakeRoom("B", Rect(4, 0, 8, 4)));
    EXPECT_EQ(floor.GetRoomIndexByName("b"), 1);
    EXPECT_EQ(floor.GetRooms()[1].GetFloorName(), "Ground");

    const struct {
        Point p;
        bool near;
        const char* room;
    } cases[] = {
        {Point(2, 2), false, "A"},        {Point(6, 2), false, "B"},       {Point(9, 2), false, nullptr},
        {Point(8.04, 2), true, "B"},      {Point(8.06, 2), true, nullptr}, {Point(-0.03, -0.03), true, "A"},
        {Point(8.04, 2), false, nullptr},
    };
    for (const auto& c : cases) {
        const CLENIRoom* room = floor.GetRoomAtPoint(c.p, c.near);
        if (c.room) {
            ASSERT_NE(room, nullptr) << c.p.x << " " << c.p.y;
            EXPECT_EQ(room->GetName(), c.room);
        } else {
            EXPECT_EQ(room, nullptr) << c.p.x << " " << c.p.y;
        }
    }

    Point min, max;
    floor.GetBoundingBox(min, max);
    EXPECT_EQ(min, Point(0, 0));
    EXPECT_EQ(max, Point(8, 4));
    EXPECT_DOUBLE_EQ(floor.GetArea(), 32.0);
}

TEST(LENIFloorTest, AtriaAreReplacedAndRemovedByName) {
    CLENIFloor floor("Ground");
    CLENIAtrium atrium;
    atrium.m_csName = "Court";
    atrium.SetPolygon({Point(0, 0), Point(0, 5), Point(5, 5), Point(5, 0)}); // clockwise
    EXPECT_TRUE(IsPolygonCounterClockwise(atrium.m_Polygon));
    floor.AddAtrium(atrium);
    EXPECT_FALSE(floor.AddAtrium(atrium));

    atrium.m_iKind = ATRIUM_COURTYARD;
    EXPECT_TRUE(floor.ReplaceAtrium(atrium, "COURT"));
    EXPECT_FALSE(floor.ReplaceAtrium(atrium, "Other"));
    ASSERT_NE(floor.GetAtriumAtPoint(Point(2, 2)), nullptr);
    EXPECT_EQ(floor.GetAtriumAtPoint(Point(2, 2))->GetKindName(), "courtyard");
    EXPECT_TRUE(floor.RemoveAtrium("court"));
    EXPECT_EQ(floor.GetAtriumCount(), 0);
}

TEST(LENIFloorTest, RefusalsWriteTheirMessages) {
    CLENIFloor floor("Ground");
    floor.AddRoom(MakeRoom("ROOM_000", Rect(0, 0, 4, 4)));
    CLENIAtrium atrium;
    atrium.m_csName = "A1";
    floor.AddAtrium(atrium);
    const CLENIRoom* room = nullptr;
    ExpectMessages({
        {"empty name", [] { CLENIFloor unnamed("", 3.0); },
         "CLENIFloor::CLENIFloor called with empty floor name", LOG_ERROR},
        {"same room name", [&] { floor.AddRoom(MakeRoom("room_000", Rect(5, 0, 8, 4))); },
         "CLENIFloor::AR trying to add room with same name: room_000", LOG_ERROR},
        {"room index", [&] { room = floor.GetRoomByIndex(5); }, "CLENIFloor::GRBI(5) out of range",
         LOG_ERROR},
        {"same atrium name", [&] { floor.AddAtrium(atrium); },
         "CLENIFloor::AA trying to add atrium with same name: A1", LOG_ERROR},
    });
    EXPECT_EQ(floor.GetRoomCount(), 1);
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(room->GetName(), "ROOM_000");
    EXPECT_EQ(CLENIFloor("Empty").GetRoomByIndex(0), nullptr);
}
