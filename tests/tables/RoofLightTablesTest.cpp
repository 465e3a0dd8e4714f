#include "tables/RoofLightTables.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(RoofLightTablesTest, UtilisationFactorColumns) {
    struct Case {
        const char* what;
        int type;
        double width, length, hs, hw, hg, gammaF, gammaW, k, eta;
    };
    const Case cases[] = {
        // Flat: always the ratio-1 columns; relative height hs / max(W, L); then the nearest angle.
        {"flat low, 30", RL_FLAT, 1, 4, 1.0, 1, 1, 0, 30, 1.0, 0.59},
        {"flat low, 90", RL_FLAT, 1, 4, 1.0, 1, 1, 0, 80, 1.0, 0.56},
        {"flat high, 60", RL_FLAT, 4, 1, 2.0, 1, 1, 0, 60, 1.0, 0.61},
        {"flat, angle tie 45", RL_FLAT, 1, 4, 3.0, 1, 1, 0, 45, 5.0, 1.02},
        {"flat, k nearest 2", RL_FLAT, 1, 4, 1.0, 1, 1, 0, 30, 2.2, 0.83},
        // Shed: ratio hg / hw, slope gamma F, then angle gamma W unless the single 45 deg column.
        {"shed 1/30/30", RL_SHED, 1, 4, 1, 1, 1, 30, 30, 0.6, 0.39},
        {"shed 1/60/75", RL_SHED, 1, 4, 1, 1, 1, 60, 80, 0.6, 0.35},
        {"shed 1/45 single", RL_SHED, 1, 4, 1, 1, 1, 45, 75, 0.6, 0.37},
        {"shed 0.5/90/60", RL_SHED, 1, 4, 1, 2, 1, 90, 60, 5.0, 0.77},
        {"shed 0.5/45 single", RL_SHED, 1, 4, 1, 1, 0.6, 50, 30, 1.25, 0.61},
        {"shed ratio tie 0.75", RL_SHED, 1, 4, 1, 4, 3, 30, 75, 1.0, 0.55},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetUtilisationFactor(c.type, c.width, c.length, c.hs, c.hw, c.hg, c.gammaF, c.gammaW, c.k),
                  c.eta)
            << c.what;
    LogRecorder log;
    EXPECT_EQ(GetUtilisationFactor(2, 1, 4, 1, 1, 1, 60, 30, 1.0), 0.5);
    EXPECT_TRUE(log.Contains("CLENIRoofLight::GU unhandled enumerator: 2"));
}

TEST(RoofLightTablesTest, TrelsnaRowAndReferenceLatitude) {
    struct Case {
        int orientation;
        double gammaF, latitude, trelsna;
    };
    const Case cases[] = {
        {RLO_HORIZONTAL, 0, 45.47, 0.65},   // the 45.8 column
        {RLO_HORIZONTAL, 0, 49, 0.62},      // the 48.1 column
        {RLO_NORTH, 90, 38, 0.03},          // row 20
        {RLO_EAST_WEST, 37.5, 67.3, 0.72},  // tie between 30 and 45: the 30 deg row
        {RLO_EAST_WEST, 37.6, 67.3, 0.76},  // the 45 deg row
        {RLO_SOUTH_EAST_WEST, 80, 0, 0.45}, // the 90 deg row, the first column
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetRoofLightTrelsna(c.orientation, c.gammaF, c.latitude), c.trelsna)
            << c.orientation << " " << c.gammaF << " " << c.latitude;
}

TEST(RoofLightTablesTest, SupplyFactorsSlopeFactorsAndMonths) {
    // Columns stand for 100, 300, 500, 750, 1000 lx; a tie goes to the lower.
    EXPECT_EQ(GetRoofLightSupplyFactor(false, 0, 1, 100), 0.95);
    EXPECT_EQ(GetRoofLightSupplyFactor(false, 0, 1, 200), 0.95);
    EXPECT_EQ(GetRoofLightSupplyFactor(false, 0, 2, 500), 0.85);
    EXPECT_EQ(GetRoofLightSupplyFactor(true, 12, 3, 5000), 0.87);
    EXPECT_EQ(GetRoofLightSupplyFactor(true, 20, 3, 300), 0.0);
    EXPECT_EQ(GetRoofLightSlopeFactor(0), 100);
    EXPECT_EQ(GetRoofLightSlopeFactor(37.5), 92);
    EXPECT_EQ(GetRoofLightSlopeFactor(75), 72);
    EXPECT_EQ(GetRoofLightSlopeFactor(80), 50);
    EXPECT_EQ(GetRoofLightMonthlyFactorV(5), 1.22);
    EXPECT_EQ(GetRoofLightMonthlyFactorV(12), 0.54);
    EXPECT_EQ(GetRoofLightMonthlyFactorV(0), 1.0);
    LogRecorder log;
    EXPECT_EQ(GetRoofLightMonthlyFactorV(14), 1.0);
    EXPECT_TRUE(log.Contains("GMFRL with month = 14"));
}

} // namespace
