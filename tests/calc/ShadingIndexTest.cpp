#include "calc/ShadingIndex.h"

#include "support/DaylightLogCapture.h"

#include <gtest/gtest.h>

namespace {

Polygon Rectangle(double w, double d) {
    return {Point(0, 0), Point(w, 0), Point(w, d), Point(0, d)};
}

TEST(ShadingIndexTest, ObstructionAnglesAndDoubleFacade) {
    struct Case {
        double front, overhang, side;
        bool gdf;
        double ish;
    };
    const Case cases[] = {
        {0, 0, 0, false, 1.0},    {30, 0, 0, false, 0.70710678},
        {60, 0, 0, false, 0.0},   {0, 45, 0, false, 0.50226},
        {0, 67.5, 0, false, 0.0}, {0, 0, 30, false, 0.9},
        {0, 0, 0, true, 0.85},    {30, 45, 30, true, 0.70710678 * 0.50226 * 0.9 * 0.85},
    };
    for (const Case& c : cases) {
        ShadingIndexInput in;
        in.frontAngle = c.front;
        in.overhangAngle = c.overhang;
        in.sideAngle = c.side;
        in.hasGlazedDoubleFacade = c.gdf;
        EXPECT_NEAR(GetShadingIndex(in), c.ish, 2e-5) << c.front << " " << c.overhang << " " << c.side;
    }
}

TEST(ShadingIndexTest, AtriaAndCourtyards) {
    struct Case {
        const char* what;
        double width, depth;
        int kind;
        double transmittance, factor;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"courtyard 10 x 10",
         10,
         10,
         ATRIUM_COURTYARD,
         1.0,
         -0.19,
         {"    Atrium A1 hToTopFloor=7.00 wi=1.40", "    Atrium courtyard returning kIshinat=-0.19",
          "    Shading index, Ishis=1.000 Issha=1.000 Ishva=1.000 kIshAtrium=-0.190"}},
        {"atrium 20 x 10",
         20,
         10,
         ATRIUM_ATRIUM,
         1.0,
         0.1075,
         {"    Atrium A1 hToTopFloor=7.00 wi=1.05", "    Atrium kIshinat = 0.108",
          "    Shading index, Ishis=1.000 Issha=1.000 Ishva=1.000 kIshAtrium=0.108"}},
        {"deep atrium 10 x 10",
         10,
         10,
         ATRIUM_ATRIUM,
         1.0,
         0.0,
         {"    Atrium A1 hToTopFloor=7.00 wi=1.40", "    Atrium kWellIndex > 1.18 returning 0.0",
          "    Shading index, Ishis=1.000 Issha=1.000 Ishva=1.000 kIshAtrium=0.000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AtriumShadingData atrium;
        atrium.polygon = Rectangle(c.width, c.depth);
        atrium.kind = c.kind;
        atrium.transmittance = c.transmittance;
        ShadingIndexInput in;
        in.atriumName = "A1";
        in.atrium = &atrium;
        in.heightToTop = 7.0;
        CalcLogCapture capture;
        EXPECT_NEAR(GetShadingIndex(in), c.factor, 1e-12);
        EXPECT_EQ(capture.Lines(), c.lines);
    }
}

TEST(ShadingIndexTest, MissingAtriumCountsAsOutside) {
    ShadingIndexInput in;
    in.atriumName = "Deleted atrium";
    CalcLogCapture capture;
    EXPECT_EQ(GetShadingIndex(in), 1.0);
    EXPECT_EQ(
        capture.Lines(),
        std::vector<std::string>{"    Shading index, Ishis=1.000 Issha=1.000 Ishva=1.000 kIshAtrium=1.000"});
}

TEST(ShadingIndexTest, WellIndexOfAPolygonWithoutAreaIsZero) {
    EXPECT_EQ(GetAtriumWellIndex(Polygon{Point(0, 0), Point(5, 0), Point(10, 0)}, 7.0), 0.0);
    EXPECT_EQ(GetAtriumWellIndex(Polygon(), 7.0), 0.0);
    EXPECT_NEAR(GetAtriumWellIndex(Rectangle(20, 10), 7.0), 1.05, 1e-12);
}

} // namespace
