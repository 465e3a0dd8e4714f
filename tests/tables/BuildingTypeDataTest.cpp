#include "tables/BuildingTypeData.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Errors raise a box in the interactive program; the recording host keeps them out of the log.
class BuildingTypeDataTest : public ::testing::Test {
  protected:
    RecordingMessageBoxes boxes;
    LogRecorder log;
};

} // namespace

TEST_F(BuildingTypeDataTest, AllRoomTypeKeysInTableOrder) {
    std::vector<std::string> keys{"left over"};
    BuildingTypeData().GetAllRoomTypeStrings(keys);
    ASSERT_EQ(keys.size(), 85u);
    EXPECT_EQ(keys.front(), "[Residential buildings]Living room(Fa=0.30)");
    EXPECT_EQ(keys.back(), "[Other]Car parks - Public(Fa=0.00)");
    // Spot checks of names with trailing full stops, odd spacing and two-decimal Fa.
    auto has = [&](const std::string& key) { return std::find(keys.begin(), keys.end(), key) != keys.end(); };
    EXPECT_TRUE(has("[Offices]Cellular office 1 person.(Fa=0.40)"));
    EXPECT_TRUE(has("[Residential buildings]Cellar(Fa=0.95)"));
    EXPECT_TRUE(has("[Educational buildings]Classroom(Fa=0.25)"));
    EXPECT_TRUE(has("[Other]museum/ Exhibition hall(Fa=0.00)"));
    EXPECT_TRUE(has("[Restaurants]Kitchen/storage(Fa=0.50)"));
    EXPECT_EQ(keys[16], "[Offices]Cellular office 1 person.(Fa=0.40)");
}

TEST_F(BuildingTypeDataTest, BuildingTypesWithHoursAndRoomCounts) {
    struct Row {
        const char* name;
        int td, tn;
        size_t rooms;
    };
    const Row expected[] = {
        {"Residential buildings", 1820, 1680, 16},
        {"Offices", 2250, 250, 14},
        {"Educational buildings", 1800, 200, 12},
        {"Hospitals", 3000, 2000, 11},
        {"Manufacturing factory", 2500, 1500, 5},
        {"Hotels", 3000, 2000, 7},
        {"Restaurants", 1250, 1250, 7},
        {"Wholesale and retail service", 3000, 2000, 3},
        {"Other", 1000, 1000, 10},
    };
    const auto& types = BuildingTypeData().GetBuildingTypes();
    ASSERT_EQ(types.size(), 9u);
    std::vector<std::string> names = BuildingTypeData().GetBuildingTypeNames();
    ASSERT_EQ(names.size(), 9u);
    for (size_t i = 0; i < 9; ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(names[i], expected[i].name);
        EXPECT_EQ(types[i].m_iTd, expected[i].td);
        EXPECT_EQ(types[i].m_iTn, expected[i].tn);
        EXPECT_EQ(types[i].m_RoomTypes.size(), expected[i].rooms);
    }
}

TEST_F(BuildingTypeDataTest, FirstRoomTypeOfBuildingType) {
    EXPECT_EQ(BuildingTypeData().GetFirstRoomTypeOfBuildingType("offices"),
              "[Offices]Cellular office 1 person.(Fa=0.40)");
    EXPECT_EQ(BuildingTypeData().GetFirstRoomTypeOfBuildingType("OTHER"), "[Other]Waiting areas(Fa=0.00)");
    EXPECT_TRUE(log.messages.empty());

    EXPECT_EQ(BuildingTypeData().GetFirstRoomTypeOfBuildingType("Castles"), "Living room");
    EXPECT_EQ(log.Count("CBuildingTypeData::GFRTOBT could not find building type <Castles>", LOG_ERROR), 1);
}

TEST_F(BuildingTypeDataTest, TdTnByBuildingType) {
    int td = 0, tn = 0;
    EXPECT_TRUE(BuildingTypeData().GetTdTnByBuildingType("Restaurants", td, tn));
    EXPECT_EQ(td, 1250);
    EXPECT_EQ(tn, 1250);
    EXPECT_TRUE(BuildingTypeData().GetTdTnByBuildingType("offices", td, tn));
    EXPECT_EQ(td, 2250);
    EXPECT_EQ(tn, 250);
    EXPECT_TRUE(log.messages.empty());

    EXPECT_FALSE(BuildingTypeData().GetTdTnByBuildingType("Igloo", td, tn));
    EXPECT_EQ(td, 1000);
    EXPECT_EQ(tn, 1000);
    EXPECT_EQ(log.Count("CBuildingTypeData::GTTBBT Could not find building type <Igloo>", LOG_ERROR), 1);

    EXPECT_TRUE(BuildingTypeData().IsBuildingType("WHOLESALE AND RETAIL SERVICE"));
    EXPECT_FALSE(BuildingTypeData().IsBuildingType("Wholesale"));
}

TEST_F(BuildingTypeDataTest, RoomIndexOutOfRangeUsesFirstRoomType) {
    EXPECT_EQ(BuildingTypeData().GetRoomTypeString(7, 3),
              "[Wholesale and retail service]Sales area(Fa=0.00)");
    EXPECT_EQ(log.Count("CBuildingTypeData::GRA(3) index error", LOG_ERROR), 1);
}

TEST_F(BuildingTypeDataTest, FaFromRoomTypeString) {
    struct Case {
        const char* key;
        double fa;
        const char* message; // expected error, or nullptr
    };
    const Case cases[] = {
        {"[Hospitals]Culvert/conduct/(dimmed)(Fa=0.70)", 0.7, nullptr},
        {"[Residential buildings]Cellar(Fa=0.95)", 0.95, nullptr},
        {"[Educational buildings]Classroom(Fa=0.25)", 0.25, nullptr},
        {"[Other]Sports hall(Fa=0.00)", 0.0, nullptr},
        {"[Offices]X(Fa=1.00)", 1.0, nullptr},
        {"[Offices]Cellular office 1 person.(Fa=1.20)", 0.5,
         "CLENIRoom::GFFRTS: 'Fa=' out of range, 1.200:\n[Offices]Cellular office 1 person.(Fa=1.20)"},
        {"[Offices]X(Fa=-0.10)", 0.5, "CLENIRoom::GFFRTS: 'Fa=' out of range, -0.100:\n[Offices]X(Fa=-0.10)"},
        {"[Offices]X(Fa=nan)", 0.5, "CLENIRoom::GFFRTS: 'Fa=' out of range"},
        {"Living room", 0.0, "CLENIRoom::GFFRTS: Expected to find 'Fa=' in string:\n<Living room>"},
        {"[Offices]X(fa=0.40)", 0.0, "CLENIRoom::GFFRTS: Expected to find 'Fa='"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        log.Clear();
        EXPECT_DOUBLE_EQ(CBuildingTypeData::GetFaFromRoomTypeString(c.key), c.fa);
        if (c.message) {
            ASSERT_EQ(log.messages.size(), 1u);
            EXPECT_EQ(log.messages[0].first, LOG_ERROR);
            EXPECT_EQ(log.messages[0].second.rfind(c.message, 0), 0u) << log.messages[0].second;
        } else {
            EXPECT_TRUE(log.messages.empty()) << log.All();
        }
    }
}

TEST_F(BuildingTypeDataTest, EveryKeyGivesBackItsFa) {
    for (const auto& type : BuildingTypeData().GetBuildingTypes())
        for (const auto& room : type.m_RoomTypes)
            EXPECT_DOUBLE_EQ(CBuildingTypeData::GetFaFromRoomTypeString(CBuildingTypeData::MakeRoomTypeKey(
                                 type.m_csName, room.m_csName, room.m_dFa)),
                             room.m_dFa)
                << room.m_csName;
    EXPECT_TRUE(log.messages.empty());
}
