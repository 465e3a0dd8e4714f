#include "tables/LENITables.h"

#include "base/TextUtils.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class LENITablesTest : public ::testing::Test {
  protected:
    RecordingMessageBoxes boxes;
    LogRecorder log;
};

const char* const kSystem2 =
    "2.Manual On/Off switch + additional automatic sweeping extinction signal,  and  Auto on/Dimmed";

} // namespace

TEST_F(LENITablesTest, FoFromFaByInterpolation) {
    struct Case {
        double fa;
        const char* system;
        double fo;
    };
    const Case cases[] = {
        {0.5, "1.Manual On/Off Switch", 0.7}, // (0.4/0.7) * 1.0 + (0.3/0.7) * 0.3
        {0.05, "3.Auto on/Auto off    and    Manual on/ Dimmed", 0.975},
        {0.95, kSystem2, 0.125},            // halfway between 0.25 and 0.0
        {0.9, "4.Manual on/Auto Off", 0.1}, // a table point, no interpolation
        {0.15, "4", 0.85},
        {0.55, "2", 0.6},                       // halfway between 0.95 and 0.25
        {0.3, "1", 0.9},                        // (0.6/0.7) * 1.0 + (0.1/0.7) * 0.3
        {-0.2, "3", 1.0},                       // below the table
        {1.5, "3", 0.0},                        // above the table
        {0.0, "3 with anything after it", 1.0}, // only the first character counts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.system) + " Fa=" + std::to_string(c.fa));
        EXPECT_NEAR(CLENITables::GetFoFromFaUsingE1(c.fa, c.system), c.fo, 1e-12);
    }
    EXPECT_TRUE(log.messages.empty()) << log.All();
}

TEST_F(LENITablesTest, UnknownOccupancySystemGivesHalfWithError) {
    for (const char* name : {"Manual", "", "5.Something"}) {
        SCOPED_TRACE(name);
        log.Clear();
        EXPECT_EQ(CLENITables::GetFoFromFaUsingE1(0.3, name), 0.5);
        ASSERT_EQ(log.messages.size(), 1u);
        EXPECT_EQ(log.messages[0].first, LOG_ERROR);
        EXPECT_EQ(log.messages[0].second,
                  std::string("CLENITables::GetFoFromFaUsingE1 could not find match for\n"
                              "Occupancy Control System <") +
                      name + ">");
    }
}

TEST_F(LENITablesTest, NanAbsenceFactorGivesHalfWithError) {
    EXPECT_EQ(CLENITables::GetFoFromFaUsingE1(std::numeric_limits<double>::quiet_NaN(), "1"), 0.5);
    EXPECT_EQ(log.Count("is not a number", LOG_ERROR), 1);
}

TEST_F(LENITablesTest, LuxChoicesAndTolerance) {
    const std::vector<double> expected = {20,  30,  50,  75,   100,  150,  200,
                                          300, 500, 750, 1000, 1500, 2000, 5000};
    EXPECT_EQ(CLENITables::GetLuxChoices(), expected);
    struct Case {
        double lux;
        bool valid;
    };
    const Case cases[] = {
        {499.95, true}, {499.8, false}, {500.09, true}, {500.2, false}, {20.0, true},          {5000.0, true},
        {0.0, false},   {400.0, false}, {10000, false}, {-500, false},  {std::nan(""), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CLENITables::IsValidZoneLux(c.lux), c.valid) << c.lux;
}

TEST_F(LENITablesTest, ControlTechniquesMatchWholeNameIgnoringCase) {
    std::vector<std::string> names = CLENITables::GetControlTechniqueNames();
    ASSERT_EQ(names.size(), 8u);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(CLENITables::FindControlTechnique(ToUpper(names[i])), i);
    EXPECT_EQ(CLENITables::GetControlTechniqueRoman("automatic dimmed no stand-by losses no switch on"),
              "VIII");
    EXPECT_EQ(CLENITables::GetControlTechniqueRoman("Automatic Daylight Responsive Off"), "IV");
    EXPECT_FALSE(CLENITables::IsValidControlTechnique("Automatic"));
    EXPECT_FALSE(CLENITables::IsValidControlTechnique("Manual "));
    EXPECT_EQ(CLENITables::GetControlTechniqueRoman("Dimmed"), "");
}
