#include "ModelTestSupport.h"

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

CLENIWindow SlopedWindow(int type, double gamma, double length, double toWall, double toSlope) {
    CLENIWindow w = MakeWindow(0, 0, 1.0, 2.0);
    w.m_iVertWinType = type;
    w.m_dGamma = gamma;
    w.m_dSlopeLength = length;
    w.m_dDistToWall = toWall;
    w.m_dHeightToSlope = toSlope;
    return w;
}

void ExpectPolygonNear(const Polygon& actual, const Polygon& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, 1e-9) << "vertex " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, 1e-9) << "vertex " << i;
    }
}
} // namespace

TEST(LENIWindowTest, Labels) {
    const CLENIWindow w = MakeWindow(2, 1, 0, 1);
    EXPECT_EQ(w.GetLabel(), "W_2_1");
    EXPECT_EQ(w.GetDaylightAreaLabel(), "W_2_1 (AD)");
}

TEST(LENIWindowTest, PlacementKeepsWindowsOnTheWallAndApart) {
    CLENIRoom room = MakeRoom("R1", Rect(0, 0, 5, 3));
    room.AddWindow(MakeWindow(0, 0, 0.5, 1.0)); // 0.5 .. 1.5 along, 0.9 .. 2.4 high
    const char* const start = "The start of the window is outside of the room";
    const char* const end = "The end of the window is outside of the room";
    const char* const overlap = "The window overlaps an existing window in the room";
    const struct {
        const char* what;
        CLENIWindow window;
        const char* message; // null: accepted
    } cases[] = {
        {"end beyond the wall", MakeWindow(0, 1, 3.5, 2.0), end},
        {"end on the wall's end", MakeWindow(0, 1, 3.0, 2.0), nullptr},
        {"start before the wall", MakeWindow(0, 1, -0.1, 1.0), start},
        {"overlapping", MakeWindow(0, 1, 1.0, 1.0), overlap},
        {"inside another", MakeWindow(0, 1, 0.7, 0.2, 1.2, 0.3), overlap},
        {"same span, above it", MakeWindow(0, 1, 0.5, 1.0, 2.4, 0.5), nullptr},
        {"touching its side", MakeWindow(0, 1, 1.5, 1.0), nullptr},
        {"the window itself", MakeWindow(0, 0, 0.6, 1.0), nullptr},
        {"another wall", MakeWindow(1, 1, 0.5, 1.0), nullptr},
        {"on the short wall, too long", MakeWindow(1, 1, 1.5, 2.0), end},
    };
    for (const auto& c : cases) {
        std::string message;
        EXPECT_EQ(room.CheckWindowPlacement(c.window, message), c.message == nullptr) << c.what;
        EXPECT_EQ(message, c.message ? c.message : "") << c.what;
    }
}

TEST(LENIWindowTest, RoomDepthIsMeasuredInFrontOfTheWindow) {
    const struct {
        const char* what;
        Polygon outline;
        CLENIWindow window;
        double depth;
    } cases[] = {
        {"deep room", Rect(0, 0, 6, 10), MakeWindow(0, 0, 2, 1.2), 10.0},
        {"shallow room", Rect(0, 0, 6, 3), MakeWindow(0, 0, 2, 1.2), 3.0},
        {"window on the left wall", Rect(0, 0, 6, 3), MakeWindow(3, 0, 1, 1), 6.0},
        // A room wrapping round a notch of outside space: the wall across the notch lies behind.
        {"notched room",
         {Point(0, 0), Point(12, 0), Point(12, 6), Point(6, 6), Point(6, 2), Point(3, 2), Point(3, 6),
          Point(0, 6)},
         MakeWindow(3, 0, 1, 2),
         6.0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(MakeRoom("R", c.outline).GetRoomDepthAtWindow(c.window), c.depth, 1e-9) << c.what;
}

TEST(LENIWindowTest, DaylightAreaOfAVerticalWindow) {
    // Sill 0.9 + height 1.5 over a work surface at 0.8: aD = 2.5 x 1.6 = 4, unless the room is shallower.
    // The area is aD / 4 wider than the window on each side: 1.2 + 4 / 2 = 3.2 m.
    ExpectPolygonNear(MakeRoom("R", Rect(0, 0, 6, 10)).GetWindowDaylightArea(MakeWindow(0, 0, 2, 1.2)),
                      {Point(1.0, 0), Point(4.2, 0), Point(4.2, 4), Point(1.0, 4)});
    ExpectPolygonNear(MakeRoom("R", Rect(0, 0, 6, 3)).GetWindowDaylightArea(MakeWindow(0, 0, 2, 1.2)),
                      {Point(1.25, 0), Point(3.95, 0), Point(3.95, 3), Point(1.25, 3)});
    // On the top wall (running towards -x) the area still extends into the room.
    ExpectPolygonNear(MakeRoom("R", Rect(0, 0, 6, 10)).GetWindowDaylightArea(MakeWindow(2, 0, 1, 1.2)),
                      {Point(6.0, 10), Point(2.8, 10), Point(2.8, 6), Point(6.0, 6)});
    // A window wholly below the work surface lights no depth.
    ExpectPolygonNear(
        MakeRoom("R", Rect(0, 0, 6, 10)).GetWindowDaylightArea(MakeWindow(0, 0, 2, 1.2, 0.1, 0.5)),
        {Point(2.0, 0), Point(3.2, 0), Point(3.2, 0), Point(2.0, 0)});
}

TEST(LENIWindowTest, VerticalSlopedWindowTurnsUpAboutItsLowerEdge) {
    const struct {
        double gamma, length, toWall, toSlope, h, sill, height;
    } cases[] = {
        {60, 1.2, 0.3, 2.0, 3.5, 2.3, 1.2}, {60, 1.2, 0.3, 2.0, 4.0, 2.3, 1.2},
        {60, 1.2, 0.3, 2.0, 3.0, 1.8, 1.2}, {90, 1.0, 0.5, 1.0, 3.0, 1.5, 1.0},
        {30, 2.0, 0.0, 0.5, 3.0, 0.5, 2.0},
    };
    for (const auto& c : cases) {
        CLENIWindow sloped = SlopedWindow(VWT_VERTICAL_SLOPED, c.gamma, c.length, c.toWall, c.toSlope);
        const CLENIWindow vertical = GetVerticalEquivalent(sloped, c.h);
        EXPECT_EQ(vertical.m_iVertWinType, VWT_VERTICAL);
        EXPECT_NEAR(vertical.m_dSillHeight, c.sill, 1e-9) << c.gamma << " " << c.h;
        EXPECT_NEAR(vertical.m_dHeight, c.height, 1e-9) << c.gamma << " " << c.h;
        EXPECT_DOUBLE_EQ(vertical.m_dWidth, sloped.m_dWidth);
    }
    // Its daylight area is that of the vertical equivalent: lintel 3.0, aD = 2.5 x 2.2 = 5.5.
    const CLENIRoom room = MakeRoom("R", Rect(0, 0, 8, 10), 3.0);
    const Polygon area = room.GetWindowDaylightArea(SlopedWindow(VWT_VERTICAL_SLOPED, 60, 1.2, 0.3, 2.0));
    ExpectPolygonNear(area, {Point(-0.375, 0), Point(4.375, 0), Point(4.375, 5.5), Point(-0.375, 5.5)});
}

TEST(LENIWindowTest, BadWindowTypeHasNoDaylightArea) {
    CLENIWindow w = MakeWindow(0, 0, 1, 1);
    w.m_iVertWinType = 7;
    Polygon area{Point()};
    ExpectMessages({{"type 7", [&] { area = MakeRoom("R", Rect(0, 0, 5, 5)).GetWindowDaylightArea(w); },
                     "CLENIRoom::GWDR bad window type:7", LOG_ERROR}});
    EXPECT_TRUE(area.empty());
}
