#include "tables/DaylightTables.h"

#include "base/TextUtils.h"
#include "support/DaylightLogCapture.h"

#include <gtest/gtest.h>

namespace {

TEST(DaylightTablesTest, ControlFactorColumnFollowsTheIlluminance) {
    struct Case {
        const char* technique;
        int daylightClass;
        double em;
        double fdc;
        const char* lines; // the two log lines, joined
    };
    const Case cases[] = {
        {"Manual", DAYLIGHT_CLASS_WEAK, 200, 0.50,
         "  GetLightingControlFactorFdcj Input 200.0 lx, using 300.0 lx for Table F.16 |"
         "  GetLightingControlFactorFdcj Table F.16 lookup of row[1] <I Manual> col1 yields Fdc:0.500 "},
        {"manual", DAYLIGHT_CLASS_STRONG, 1000, 0.54,
         "  GetLightingControlFactorFdcj Input 1000.0 lx, using 750.0 lx for Table F.16 |"
         "  GetLightingControlFactorFdcj Table F.16 lookup of row[1] <I Manual> col9 yields Fdc:0.540 "},
        {"AUTOMATIC DIMMED STAND-BY LOSSES NO SWITCH ON", DAYLIGHT_CLASS_MEDIUM, 500, 0.80,
         "  GetLightingControlFactorFdcj Input 500.0 lx, using 500.0 lx for Table F.16 |"
         "  GetLightingControlFactorFdcj Table F.16 lookup of row[7] <VII Automatic Dimmed Stand-by Losses "
         "No "
         "Switch On> col5 yields Fdc:0.800 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.technique);
        CalcLogCapture capture;
        EXPECT_EQ(GetLightingControlFactorFdcj(c.technique, c.daylightClass, c.em), c.fdc);
        std::vector<std::string> lines = capture.Lines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0] + "|" + lines[1], c.lines);
    }
    // Between the columns the nearest one, a tie going to the lower.
    const std::pair<double, double> columns[] = {{300, 300}, {400, 300}, {400.5, 500},
                                                 {625, 500}, {626, 750}, {750, 750}};
    for (const auto& [em, column] : columns)
        EXPECT_EQ(GetFdcColumnLux(em), column) << em;
}

TEST(DaylightTablesTest, UnknownTechniqueOrShadingFallsBackToHalf) {
    LogRecorder log;
    EXPECT_EQ(GetLightingControlFactorFdcj("Manual control", DAYLIGHT_CLASS_WEAK, 500), 0.5);
    EXPECT_TRUE(log.Contains("GetLightingControlFactorFdcj could not find technique <Manual control>"));
    EXPECT_EQ(GetLightingControlFactorFdcj("Manual", 0, 500), 0.5);
    EXPECT_EQ(GetDaylightSupplyFactorFdssa(4, DAYLIGHT_CLASS_WEAK), 0.5);
    EXPECT_TRUE(log.Contains("CLENITables::GDSFF Shading solution out of range:4"));
    EXPECT_EQ(GetShadingSolutionName(4), "GSS, Unknown Shading 4");
}

TEST(DaylightTablesTest, SunShadingSupplyFactor) {
    CalcLogCapture capture;
    EXPECT_EQ(GetDaylightSupplyFactorFdssa(SHADING_NONE, DAYLIGHT_CLASS_STRONG), 0.0);
    EXPECT_EQ(GetDaylightSupplyFactorFdssa(SHADING_AUTO_GLARE_PROTECTION, DAYLIGHT_CLASS_MEDIUM), 0.43);
    EXPECT_EQ(GetDaylightSupplyFactorFdssa(SHADING_LIGHT_GUIDES, DAYLIGHT_CLASS_STRONG), 0.8);
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::string>{"    Fdssa Auto Glare Protection Medium returning 0.430",
                                        "    Fdssa Light Guides Strong returning 0.800"}));
}

TEST(DaylightTablesTest, TrelsnaIndexesAreTenthsAndTensOfDegreesClamped) {
    struct Case {
        int facade;
        double hdirHglob, latitude, trelsna;
    };
    const Case cases[] = {
        {FACADE_SOUTH, 0.45, 45, 0.64},    // h 4, l 4
        {FACADE_SOUTH, 0.71, 45, 0.23},    // h 7
        {FACADE_EASTWEST, 0.58, 60, 0.77}, // h 5, l 6
        {FACADE_NORTH, 0.36, 30, 0.98},    // h 3, l 3
        {FACADE_NORTH, 0.95, 90, 0.0},     // clamped to h 9, l 8
        {FACADE_SOUTH, -0.1, -10, 1.0},    // clamped to 0, 0
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetTrelSna(c.facade, c.hdirHglob, c.latitude), c.trelsna) << c.facade << " " << c.hdirHglob;
}

TEST(DaylightTablesTest, MonthlyFactorOfWindows) {
    EXPECT_EQ(GetWindowMonthlyFactorV(3, SHADING_LIGHT_GUIDES, FACADE_SOUTH), 1.06);
    EXPECT_EQ(GetWindowMonthlyFactorV(1, SHADING_LIGHT_GUIDES, FACADE_EASTWEST), 0.74);
    for (int facade : {FACADE_SOUTH, FACADE_EASTWEST, FACADE_NORTH})
        EXPECT_EQ(GetWindowMonthlyFactorV(12, SHADING_GLARE_PROTECTION, facade), 0.66);
    EXPECT_EQ(GetWindowMonthlyFactorV(0, SHADING_LIGHT_GUIDES, FACADE_SOUTH), 1.0);
    LogRecorder log;
    EXPECT_EQ(GetWindowMonthlyFactorV(13, SHADING_NONE, FACADE_SOUTH), 1.0);
    EXPECT_TRUE(log.Contains("GMFVF with month = 13"));
}

} // namespace
