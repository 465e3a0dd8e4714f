#include "model/ModelOverlay.h"

#include "base/TextUtils.h"
#include "model/LENIFloor.h"
#include "model/ModelTestSupport.h"
#include "support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace overlay;
using Op = RecordingCanvas::Op;

// 10 pixels per metre, the plan origin at pixel (0, 1000).
Matrix4 TenPixelsPerMetre() {
    Matrix4 m;
    m.m[0][0] = 10;
    m.m[1][1] = -10;
    m.m[1][3] = 1000;
    return m;
}

void Count(CZoneObjList& list, const std::string& refId, int count) {
    list.AddLuminaire(refId);
    list.SetLuminaireCount(refId, count);
}

CLENIWindow MakeWindow(int wall, int id, double start, double width) {
    CLENIWindow w;
    w.m_iWallId = wall;
    w.m_iWindowId = id;
    w.m_dStart = start;
    w.m_dWidth = width;
    w.m_dSillHeight = 1.0;
    w.m_dHeight = 1.0;
    return w;
}

// Room A (20 x 10) with an L-shaped zone without luminaires, a zone with two, a window with
// luminaires and one without, and two roof lights; room B beside it; two atria.
CLENIFloor MakeFloor() {
    CLENIRoom a = MakeRoom("A", Rect(0, 0, 20, 10));
    a.AddZone(
        MakeZone("L", {Point(0, 0), Point(10, 0), Point(10, 2), Point(2, 2), Point(2, 8), Point(0, 8)}));
    CLENIZone lit = MakeZone("LIT", Rect(12, 2, 18, 8));
    Count(lit.GetLumList(), "ABCDEFGHIJKLMNOPQRSTUVWXY", 3); // 25 characters
    Count(lit.GetLumList(), "SHORT", 12);
    a.AddZone(lit);
    CLENIWindow withLums = MakeWindow(0, 1, 2.0, 4.0);
    Count(withLums.m_LumList, "DL1", 2);
    a.AddWindow(withLums);
    a.AddWindow(MakeWindow(2, 0, 1.0, 2.0));
    CLENIRoofLight shed;
    shed.m_iId = 3;
    shed.m_iType = RL_SHED;
    shed.SetOrientation(RLO_SOUTH);
    shed.m_dGammaF = 60.0;
    Count(shed.m_LumList, "RL", 1);
    a.AddRoofLight(shed);
    CLENIRoofLight flat;
    flat.m_iId = 4;
    flat.m_dXOrig = 10;
    a.AddRoofLight(flat);

    CLENIFloor floor("F1", 3.0);
    floor.AddRoom(a);
    floor.AddRoom(MakeRoom("B", Rect(20, 0, 30, 10)));
    CLENIAtrium four;
    four.m_csName = "COURT";
    four.SetPolygon(Rect(40, 0, 46, 9));
    floor.AddAtrium(four);
    CLENIAtrium three;
    three.m_csName = "TRI";
    three.SetPolygon({Point(50, 0), Point(56, 0), Point(50, 9)});
    floor.AddAtrium(three);
    return floor;
}

std::vector<std::pair<int, int>> Corners(const Op& op) {
    std::vector<std::pair<int, int>> v;
    for (const CanvasPoint& p : op.points)
        v.emplace_back(p.x, p.y);
    return v;
}

TEST(ModelOverlayTest, OrderAndPens) {
    const CLENIFloor floor = MakeFloor();
    RecordingCanvas canvas;
    const CanvasPen before{MakeRgb(9, 9, 9), 1, PEN_SOLID};
    canvas.pen = before;
    DrawFloorModel(canvas, floor, TenPixelsPerMetre(), 3.0);

    // The outlines and lines in drawing order, with their pens.
    std::vector<std::pair<std::string, CanvasPen>> strokes;
    for (const Op& op : canvas.ops) {
        if (op.kind == RecordingCanvas::TEXT) {
            strokes.emplace_back("text " + op.text, op.pen);
            continue;
        }
        strokes.emplace_back(op.kind == RecordingCanvas::LINE ? "line" : "polyline", op.pen);
    }
    const std::vector<std::pair<std::string, CanvasPen>> expected = {
        {"polyline", kRoomPen},      // room A
        {"polyline", kZonePen},      // zone L
        {"polyline", kZoneTablePen}, // its table: title row only
        {"text L (AND)", kZoneTablePen},
        {"polyline", kZonePen}, // zone LIT
        {"polyline", kZoneTablePen},
        {"text LIT (AND)", kZoneTablePen},
        {"line", kZoneTablePen}, // the count column
        {"line", kZoneTablePen}, // row 1
        {"text ABCDEFGHIJKLMNOPQRST...", kZoneTablePen},
        {"text  3", kZoneTablePen},
        {"line", kZoneTablePen}, // row 2
        {"text SHORT", kZoneTablePen},
        {"text  12", kZoneTablePen},
        {"line", kWindowPen}, // window W_0_1
        {"text W_0_1", kWindowPen},
        {"polyline", kDaylightAreaPen},
        {"polyline", kDaylightAreaPen}, // its table
        {"text W_0_1 (AD)", kDaylightAreaPen},
        {"line", kDaylightAreaPen},
        {"line", kDaylightAreaPen},
        {"text DL1", kDaylightAreaPen},
        {"text  2", kDaylightAreaPen},
        {"line", kWindowPen}, // window W_2_0: no luminaires, no table
        {"text W_2_0", kWindowPen},
        {"polyline", kDaylightAreaPen},
        {"polyline", kRoofLightPen}, // roof light 3
        {"text  Roof light ShedRoofLight South (60.0\xC2\xB0)", kRoofLightPen},
        {"polyline", kDaylightAreaPen},
        {"polyline", kDaylightAreaPen},
        {"text AD_3", kDaylightAreaPen},
        {"line", kDaylightAreaPen},
        {"line", kDaylightAreaPen},
        {"text RL", kDaylightAreaPen},
        {"text  1", kDaylightAreaPen},
        {"polyline", kRoofLightPen}, // roof light 4, with the outline pen again
        {"text  Roof light FlatRoofLight", kRoofLightPen},
        {"polyline", kDaylightAreaPen},
        {"polyline", kRoomPen}, // room B, with the room pen again
        {"polyline", kAtriumPen},
        {"text COURT", kAtriumPen},
        {"polyline", kAtriumPen},
        {"text TRI", kAtriumPen},
    };
    ASSERT_EQ(strokes.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(strokes[i].first, expected[i].first) << i;
        EXPECT_EQ(strokes[i].second, expected[i].second) << i << " " << expected[i].first;
    }
    EXPECT_EQ(canvas.pen, before);
}

TEST(ModelOverlayTest, LabelPositionsAndColours) {
    const CLENIFloor floor = MakeFloor();
    RecordingCanvas canvas;
    DrawFloorModel(canvas, floor, TenPixelsPerMetre(), 3.0);
    const Rgb black = MakeRgb(0, 0, 0), roofLight = MakeRgb(0, 0, 55);
    struct Case {
        const char* text;
        int x, y;
        Rgb colour;
    } cases[] = {
        // L zone: its vertex mean (40, 966) lies outside; the topmost pixel vertex (20, 920) and the
        // next two, (0, 920) and (0, 1000), have the centroid (6, 946); the title sits 81 left of it.
        {"L (AND)", 6 - 81, 946, black},
        // LIT zone: the vertex mean (150, 950) lies inside.
        {"LIT (AND)", 150 - 81, 950, black},
        {"ABCDEFGHIJKLMNOPQRST...", 150 - 81, 950 + 14, black},
        {" 3", 150 + 50, 950 + 14, black},
        {" 12", 150 + 50, 950 + 28, black},
        // Window from S (20, 1000) to E (60, 1000): label at 0.2 S + 0.8 E.
        {"W_0_1", 52, 1000, MakeRgb(0, 100, 0)},
        // Daylight area 1.25..6.75 x 0..3 m (depth 2.5 x (2 - 0.8) = 3): pixel mean C (39.5, 985),
        // wall midpoint M (40, 1000); the table at 0.2 C + 0.8 M = (39.9, 997).
        {"W_0_1 (AD)", 39 - 81, 997, black},
        // Roof light 3 spans (1, 1)-(5, 2) m: label at its fourth corner, table at the middle of the
        // first and third.
        {" Roof light ShedRoofLight South (60.0\xC2\xB0)", 10, 980, roofLight},
        {"AD_3", 30 - 81, 985, roofLight},
        // Atria: the mean of the first, second and fourth vertices; a triangle uses all three.
        {"COURT", (400 + 460 + 400) / 3, (1000 + 1000 + 910) / 3, MakeRgb(0, 128, 127)},
        {"TRI", (500 + 560 + 500) / 3, (1000 + 1000 + 910) / 3, MakeRgb(0, 128, 127)},
    };
    for (const Case& c : cases) {
        const Op* op = canvas.FindText(c.text);
        ASSERT_NE(op, nullptr) << c.text;
        EXPECT_EQ(op->points[0].x, c.x) << c.text;
        EXPECT_EQ(op->points[0].y, c.y) << c.text;
        EXPECT_EQ(op->colour, c.colour) << c.text;
        EXPECT_EQ(op->opaque, c.y == 1000 && c.x == 52) << c.text << ": only the window label is opaque";
        EXPECT_EQ(op->font.faceName, "ARIAL");
        EXPECT_EQ(op->font.height, 12);
    }
}

TEST(ModelOverlayTest, LuminaireTableGeometry) {
    CZoneObjList list;
    Count(list, "A", 1);
    Count(list, "B", 2);
    RecordingCanvas canvas;
    DrawLuminaireTable(canvas, 100, 200, "T", list, kZoneTablePen, 0);
    const auto polylines = canvas.OfKind(RecordingCanvas::POLYLINE);
    ASSERT_EQ(polylines.size(), 1u);
    EXPECT_EQ(Corners(polylines[0]),
              (std::vector<std::pair<int, int>>{{16, 200}, {184, 200}, {184, 242}, {16, 242}, {16, 200}}));
    const auto lines = canvas.OfKind(RecordingCanvas::LINE);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(Corners(lines[0]), (std::vector<std::pair<int, int>>{{150, 214}, {150, 242}}));
    EXPECT_EQ(Corners(lines[1]), (std::vector<std::pair<int, int>>{{16, 214}, {184, 214}}));
    EXPECT_EQ(Corners(lines[2]), (std::vector<std::pair<int, int>>{{16, 228}, {184, 228}}));
    EXPECT_TRUE(canvas.OfKind(RecordingCanvas::POLYGON).empty()) << "not filled";

    RecordingCanvas empty;
    DrawLuminaireTable(empty, 100, 200, "Z (AND)", CZoneObjList(), kZoneTablePen, 0);
    ASSERT_EQ(empty.ops.size(), 2u) << "the title row only";
    EXPECT_EQ(Corners(empty.ops[0]),
              (std::vector<std::pair<int, int>>{{16, 200}, {184, 200}, {184, 214}, {16, 214}, {16, 200}}));
}

TEST(ModelOverlayTest, ReferenceIdsAreCutAfterTwentyCharacters) {
    EXPECT_EQ(ShortenRefId("ABCDEFGHIJKLMNOPQRSTUVWXY"), "ABCDEFGHIJKLMNOPQRST...");
    EXPECT_EQ(ShortenRefId("ABCDEFGHIJKLMNOPQRST"), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(ShortenRefId("ABCDEFGHIJKLMNOPQRSTU"), "ABCDEFGHIJKLMNOPQRST...");
    // Twenty characters, the last of two bytes, are kept whole.
    EXPECT_EQ(ShortenRefId("ABCDEFGHIJKLMNOPQRS\xC3\xA9XYZ"), "ABCDEFGHIJKLMNOPQRS\xC3\xA9...");
}

TEST(ModelOverlayTest, ABadZoneIsLoggedAndSkipped) {
    CLENIZone zone;
    zone.SetName("BAD");
    zone.SetPolygon({Point(0, 0), Point(1, 1)});
    LogRecorder log;
    RecordingCanvas canvas;
    DrawZoneModel(canvas, zone, TenPixelsPerMetre());
    EXPECT_TRUE(canvas.ops.empty());
    EXPECT_TRUE(log.Contains("DrawZone with badly formed polygon..."));
}

TEST(ModelOverlayTest, InstanceMark) {
    RecordingCanvas single;
    DrawInstanceMark(single, 500, 1);
    EXPECT_TRUE(single.ops.empty());
    RecordingCanvas three;
    DrawInstanceMark(three, 500, 3);
    ASSERT_NE(three.FindText("X3"), nullptr);
    EXPECT_EQ(three.FindText("X3")->font.height, 24);
    EXPECT_EQ(Corners(*three.FindText("X3")), (std::vector<std::pair<int, int>>{{500 - 5 - 24, 90}}))
        << "right-aligned at r - 5";
}

} // namespace

// A picture that shows part of the floor draws every mark that falls on it, and leaves out the rooms
// none of whose marks can: at close and at far zoom (where the tables are large beside the rooms).
TEST(ModelOverlayTest, OnlyRoomsThatReachTheVisibleBoxAreDrawn) {
    const CLENIFloor floor = MakeFloor();
    struct Box {
        int left, top, right, bottom;
    };
    // Whether an op's marks touch the box; a text takes the recording canvas's width and its height.
    auto touches = [](const Op& op, const Box& b) {
        int l = op.points[0].x, r = l, t = op.points[0].y, btm = t;
        for (const CanvasPoint& p : op.points) {
            l = std::min(l, p.x);
            r = std::max(r, p.x);
            t = std::min(t, p.y);
            btm = std::max(btm, p.y);
        }
        if (op.kind == RecordingCanvas::TEXT) {
            r += int(op.text.size()) * op.font.height / 2;
            btm += op.font.height;
        }
        return r >= b.left && l <= b.right && btm >= b.top && t <= b.bottom;
    };
    auto same = [](const Op& a, const Op& b) {
        return a.kind == b.kind && Corners(a) == Corners(b) && a.text == b.text;
    };
    for (const double pixelsPerMetre : {10.0, 1.0}) {
        Matrix4 m;
        m.m[0][0] = pixelsPerMetre;
        m.m[1][1] = -pixelsPerMetre;
        m.m[1][3] = 1000;
        RecordingCanvas whole;
        DrawFloorModel(whole, floor, m, 3.0);
        size_t drawnLess = 0;
        for (int x = -200; x <= 600; x += 50)
            for (int y = 600; y <= 1200; y += 50) {
                const Box box{x, y, x + 60, y + 60};
                SCOPED_TRACE(testing::Message() << pixelsPerMetre << " px/m, box at " << x << "," << y);
                RecordingCanvas part;
                const PixelBounds visible{double(box.left), double(box.top), double(box.right), double(box.bottom)};
                DrawFloorModel(part, floor, m, 3.0, &visible);
                for (const Op& op : whole.ops) {
                    if (!touches(op, box)) continue;
                    const bool found =
                        std::any_of(part.ops.begin(), part.ops.end(), [&](const Op& o) { return same(o, op); });
                    EXPECT_TRUE(found) << "missing: " << op.text << " at " << op.points[0].x << ","
                                       << op.points[0].y;
                }
                if (part.ops.size() < whole.ops.size()) ++drawnLess;
            }
        // Far from the rooms, a picture does not carry them.
        EXPECT_GT(drawnLess, 0u);
        RecordingCanvas far;
        const PixelBounds away{5000, 5000, 6000, 6000};
        DrawFloorModel(far, floor, m, 3.0, &away);
        for (const Op& op : far.ops)
            EXPECT_FALSE(op.text == "A" || op.text.find("LIT") != std::string::npos) << op.text;
        // A box over everything draws what the whole floor draws, in its order.
        RecordingCanvas all;
        const PixelBounds everything{-1e6, -1e6, 1e6, 1e6};
        DrawFloorModel(all, floor, m, 3.0, &everything);
        ASSERT_EQ(all.ops.size(), whole.ops.size());
        for (size_t i = 0; i < all.ops.size(); ++i)
            EXPECT_TRUE(same(all.ops[i], whole.ops[i])) << i;
    }
}

TEST(ModelOverlayTest, LabelPlacerKeepsBoxesInsideTheRoomAndApart) {
    // A room 200 x 200 pixels; boxes placed one after another on the same placer.
    CLabelPlacer placer({Point(0, 0), Point(200, 0), Point(200, 200), Point(0, 200)}, true);
    struct Row {
        int x, y, halfWidth, height;
        int wantX, wantY;
        const char* why;
    } rows[] = {
        {100, 20, 40, 28, 100, 20, "free: where it is wanted"},
        // Steps of 7 down and 20 aside: 35 down is the nearest clear of the first with a 2-pixel
        // gap (up would leave the room).
        {100, 20, 40, 28, 100, 55, "on the first: moved below it"},
        {190, 100, 40, 28, 150, 100, "over the right wall: moved 40 to the left"},
        {100, 100, 150, 28, 100, 100, "wider than the room: left where it is wanted"},
    };
    for (const Row& row : rows) {
        const CanvasPoint at = placer.Place(row.x, row.y, row.halfWidth, row.height);
        EXPECT_EQ(at.x, row.wantX) << row.why;
        EXPECT_EQ(at.y, row.wantY) << row.why;
    }
    // Not active (printed pages): every box where it is wanted.
    CLabelPlacer off({Point(0, 0), Point(200, 0), Point(200, 200), Point(0, 200)}, false);
    off.Place(100, 20, 40, 28);
    const CanvasPoint same = off.Place(100, 20, 40, 28);
    EXPECT_EQ(same.x, 100);
    EXPECT_EQ(same.y, 20);
}

TEST(ModelOverlayTest, PlanOptionsNameRoomsAndSwitchTablesAndLabels) {
    const CLENIFloor floor = MakeFloor();
    struct Row {
        bool tables, labels, names;
        bool wantTable, wantWindowLabel, wantRoofLightLabel, wantRoomName;
    } rows[] = {
        {true, true, false, true, true, true, false}, // the printed pages
        {true, true, true, true, true, true, true},
        {false, true, true, false, true, true, true},
        {true, false, true, true, false, false, true},
    };
    for (const Row& row : rows) {
        OverlayOptions options;
        options.luminaireTables = row.tables;
        options.openingLabels = row.labels;
        options.roomNames = row.names;
        options.keepTablesApart = row.names;
        RecordingCanvas canvas;
        DrawFloorModel(canvas, floor, TenPixelsPerMetre(), 3.0, nullptr, options);
        auto has = [&](const std::string& text) {
            return std::any_of(canvas.ops.begin(), canvas.ops.end(),
                               [&](const Op& op) { return op.kind == RecordingCanvas::TEXT && op.text == text; });
        };
        const std::string what = StrPrintf("tables %d labels %d names %d", row.tables, row.labels, row.names);
        EXPECT_EQ(has("LIT (AND)"), row.wantTable) << what;
        EXPECT_EQ(has(floor.GetRooms()[0].GetWindows()[0].GetLabel()), row.wantWindowLabel) << what;
        EXPECT_EQ(has(" Roof light FlatRoofLight"), row.wantRoofLightLabel) << what;
        EXPECT_EQ(has("A") && has("B"), row.wantRoomName) << what;
    }
}
