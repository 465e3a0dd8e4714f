#include "ModelTestSupport.h"

namespace {
CLENIWindow HorizontalSloped(int wall, double gamma) {
    CLENIWindow w;
    w.m_iWallId = wall;
    w.m_iWindowId = 0;
    w.m_dStart = 1.0;
    w.m_dWidth = 2.0;
    w.m_iVertWinType = VWT_HORIZONTAL_SLOPED;
    w.m_dGamma = gamma;
    w.m_dSlopeLength = 1.0;
    w.m_dDistToWall = 0.4;
    w.m_dHeightToSlope = 2.0;
    return w;
}
} // namespace

TEST(LENIRoofLightTest, LabelAndTypeNames) {
    CLENIRoofLight r;
    r.m_iId = 4;
    EXPECT_EQ(r.GetLabel(), "AD_4");
    EXPECT_EQ(r.GetTypeName(), "FlatRoofLight");
    EXPECT_EQ(CLENIRoofLight::GetTypeFromName("shedrooflight"), RL_SHED);
}

TEST(LENIRoofLightTest, OrientationIsClampedAndNamed) {
    CLENIRoofLight r;
    const struct { int set, kept; } cases[] = {{-2, 0}, {0, 0}, {3, 3}, {5, 5}, {9, 5}};
    for (const auto& c : cases) {
        r.SetOrientation(c.set);
        EXPECT_EQ(r.GetOrientation(), c.kept) << c.set;
    }
    EXPECT_EQ(CLENIRoofLight::GetRLOrientString(RLO_NORTH_EAST_WEST), "North East/West");
    std::string name;
    ExpectMessages({{"unnamed", [&] { name = CLENIRoofLight::GetRLOrientString(9); },
                     "GetRLOrientString Could not find 9 match", LOG_ERROR}});
    EXPECT_EQ(name, "Horizontal");
}

TEST(LENIRoofLightTest, OutlineAndDaylightAreaSitOnTheReferencePoint) {
    CLENIRoom room = MakeRoom("R", Rect(2, 1, 12, 9), 3.0); // reference point (2, 1)
    CLENIRoofLight r;                                       // 4 x 1 m at (1, 1)
    const Polygon outline = room.GetRoofLightOutline(r);
    EXPECT_EQ(outline, (Polygon{Point(3, 2), Point(7, 2), Point(7, 3), Point(3, 3)}));
    // Work surface 0.8 in a 3 m room: enlarged by 2.2 m on every side, 8.4 x 5.4 m.
    const Polygon area = room.GetRoofLightDaylightArea(r);
    ASSERT_EQ(area.size(), 4u);
    EXPECT_NEAR(area[0].x, 0.8, 1e-12);
    EXPECT_NEAR(area[0].y, -0.2, 1e-12);
    EXPECT_NEAR(area[2].x - area[0].x, 8.4, 1e-12);
    EXPECT_NEAR(area[2].y - area[0].y, 5.4, 1e-12);
    EXPECT_NEAR(CalcPolygonArea(area), 8.4 * 5.4, 1e-9);
}

TEST(LENIRoofLightTest, HorizontalSlopedWindowLeansOverTheRoom) {
    CLENIRoom room = MakeRoom("R", Rect(0, 0, 6, 5), 3.0);
    const double c30 = std::cos(30.0 * 3.14159265359 / 180.0);
    const struct {
        const char* what;
        int wall;
        double gamma;
        double x, y, xLength, yWidth, z;
    } cases[] = {
        // Glazing from 0.4 to 1.4 m off the wall at 30 degrees: 0.4 cos 30 .. 1.4 cos 30 into the room,
        // its end side at heights 2.2 and 2.7.
        {"bottom wall", 0, 30, 1.0, 0.4 * c30, 2.0, c30, 2.45},
        {"top wall", 2, 30, 3.0, 5.0 - 1.4 * c30, 2.0, c30, 2.45},
        {"lying flat", 0, 0, 1.0, 0.4, 2.0, 1.0, 2.0},
        // Upright glazing projects onto a line.
        {"upright", 0, 90, 1.0, 0.0, 2.0, 0.01, 2.9},
    };
    for (const auto& c : cases) {
        const CLENIRoofLight r = room.GetRoofLightEquivalent(HorizontalSloped(c.wall, c.gamma));
        EXPECT_NEAR(r.m_dXOrig, c.x, 1e-9) << c.what;
        EXPECT_NEAR(r.m_dYOrig, c.y, 1e-9) << c.what;
        EXPECT_NEAR(r.m_dXLength, c.xLength, 1e-9) << c.what;
        EXPECT_NEAR(r.m_dYWidth, c.yWidth, 1e-9) << c.what;
        EXPECT_NEAR(r.m_dZOrig, c.z, 1e-9) << c.what;
    }
}

TEST(LENIRoofLightTest, EquivalentTakesTheWindowsGlazing) {
    CLENIRoom room = MakeRoom("R", Rect(0, 0, 6, 5), 3.0);
    CLENIWindow w = HorizontalSloped(0, 30);
    w.m_dK1 = 1.2;
    w.m_dK2 = -0.1;
    w.m_dK3 = 0.7;
    w.m_dTauD65 = 0.6;
    w.m_dTD65SA = 0.3;
    const CLENIRoofLight r = room.GetRoofLightEquivalent(w);
    EXPECT_EQ(r.m_iType, RL_FLAT);
    EXPECT_DOUBLE_EQ(r.m_dHs, 0.0);
    EXPECT_DOUBLE_EQ(r.m_dGammaW, 0.0);
    EXPECT_DOUBLE_EQ(r.m_dKObl1, 1.0);
    EXPECT_DOUBLE_EQ(r.m_dKObl2, 0.0);
    EXPECT_DOUBLE_EQ(r.m_dKObl3, 0.7);
    EXPECT_DOUBLE_EQ(r.m_dTauD65Sna, 0.6);
    EXPECT_DOUBLE_EQ(r.m_dTauD65Sa, 0.3);

    // The window's daylight area is the roof light's: enlarged by 3.0 - 0.8 on every side.
    const Polygon area = room.GetWindowDaylightArea(w);
    ASSERT_EQ(area.size(), 4u);
    EXPECT_NEAR(area[0].x, 1.0 - 2.2, 1e-9);
    EXPECT_NEAR(area[0].y, r.m_dYOrig - 2.2, 1e-9);
    EXPECT_NEAR(area[2].x, 3.0 + 2.2, 1e-9);

    ExpectMessages({{"vertical window", [&] { room.GetRoofLightEquivalent(CLENIWindow()); },
                     "GetRoofLightEquivalent called on non horizontally sloped window", LOG_ERROR}});
}
