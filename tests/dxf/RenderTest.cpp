#include "dxf/Render.h"
#include "dxf/DADC.h"
#include "dxf/DxfArc.h"
#include "dxf/DxfBlock.h"
#include "dxf/DxfCircle.h"
#include "dxf/DxfInsert.h"
#include "dxf/DxfLine.h"
#include "dxf/DxfPalette.h"
#include "dxf/DxfPline.h"
#include "dxf/DxfPoint.h"
#include "dxf/DxfSolid.h"
#include "dxf/DxfText.h"
#include "dxf/EntList.h"
#include "dxf/Geometry.h"
#include "dxf/LayerTable.h"
#include "support/RecordingCanvas.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr Rgb kBlack = MakeRgb(0, 0, 0);
constexpr Rgb kRed = MakeRgb(255, 0, 0);

// A drawing built in code: a layer table with "0" (colour 7) and an entity list.
struct TestDrawing {
    CLayerTable layers;
    CEntList entities;
    CSnapPointList snap;
    CDxfLayer* zero;
    TestDrawing() { zero = layers.AddLayer("0", 7, true); }
    CDxfEntity* Add(const CDxfEntity& e, CDxfLayer* layer = nullptr) {
        return entities.AddEntity(e, layer ? layer : zero);
    }
    RenderSource Source() const {
        RenderSource s;
        s.entities = &entities;
        s.snap = &snap;
        return s;
    }
};

// Scale 10 pixels per unit, world origin at pixel (0, 1000), y up.
Matrix4 TenPixelsPerUnit() {
    Matrix4 m;
    m.m[0][0] = 10;
    m.m[1][1] = -10;
    m.m[1][3] = 1000;
    return m;
}

void Draw(const TestDrawing& d, RecordingCanvas& canvas, const Matrix4& m = TenPixelsPerUnit()) {
    DrawDrawing(canvas, d.Source(), m, Point(-1e6, -1e6), Point(1e6, 1e6));
}

TEST(RenderTest, ViewTransformFitsTheChosenBox) {
    TestDrawing d;
    d.Add(CDxfLine(Point(0, 0), Point(100, 50)));
    TestDrawing header;
    header.Add(CDxfLine(Point(0, 0), Point(100, 50)));
    struct Case {
        const char* what;
        const TestDrawing* drawing;
        Point headerMin, headerMax;
        int mode;
        Point boxMin, boxMax;
        double scale;
        Point corner; // the world point that lands on the bottom-left pixel (1, 399)
    } cases[] = {
        {"100 x 10 box sits at the bottom", &d, {}, {}, ZOOM_BOX, {0, 0}, {100, 10}, 398.0 / 100, {0, 0}},
        {"zero width counts as 0.1", &d, {}, {}, ZOOM_BOX, {5, 0}, {5, 10}, 398.0 / 10, {5, 0}},
        {"extents with a 2 % margin", &d, {}, {}, ZOOM_EXTENTS, {}, {}, 398.0 / 104, {-2, -1}},
        {"no header extents: drawing extents", &d, {}, {}, ZOOM_HEADER_EXTENTS, {}, {}, 398.0 / 100, {0, 0}},
        {"header extents", &header, {10, 10}, {20, 20}, ZOOM_HEADER_EXTENTS, {}, {}, 398.0 / 10, {10, 10}},
    };
    for (const Case& c : cases) {
        RenderSource source = c.drawing->Source();
        source.headerMin = c.headerMin;
        source.headerMax = c.headerMax;
        const ViewTransform vt = GetViewTransform({0, 0, 400, 400}, c.mode, source, c.boxMin, c.boxMax);
        EXPECT_NEAR(vt.worldToPixel.m[0][0], c.scale, 1e-12) << c.what;
        EXPECT_NEAR(vt.worldToPixel.m[1][1], -c.scale, 1e-12) << c.what;
        const Point p = TransformPoint(vt.worldToPixel, c.corner);
        EXPECT_NEAR(p.x, 1.0, 1e-9) << c.what;
        EXPECT_NEAR(p.y, 399.0, 1e-9) << c.what;
    }
    // The 100 x 10 box: its top edge at 399 - 39.8 pixels, the space above left empty.
    const ViewTransform vt = GetViewTransform({0, 0, 400, 400}, ZOOM_BOX, d.Source(), {0, 0}, {100, 10});
    EXPECT_NEAR(TransformPoint(vt.worldToPixel, Point(100, 10)).y, 399.0 - 39.8, 1e-9);
    EXPECT_NEAR(TransformPoint(vt.worldToPixel, Point(100, 10)).x, 399.0, 1e-9);
}

TEST(RenderTest, UnknownZoomModeIsLoggedAndUsesTheHeaderExtents) {
    TestDrawing d;
    d.Add(CDxfLine(Point(0, 0), Point(100, 50)));
    LogRecorder log;
    const ViewTransform vt = GetViewTransform({0, 0, 400, 400}, 7, d.Source(), {}, {});
    EXPECT_TRUE(log.Contains("Unrecognised eZoomMode = 7"));
    EXPECT_NEAR(vt.worldToPixel.m[0][0], 3.98, 1e-12);
}

TEST(RenderTest, PensFollowTheColourRules) {
    TestDrawing d;
    CDxfLayer* green = d.layers.AddLayer("WALLS", 3, true);
    CDxfLine byBlock(Point(0, 0), Point(1, 1));
    byBlock.SetColour(0);
    CDxfLine outOfRange(Point(0, 0), Point(1, 1));
    outOfRange.SetColour(300);
    CDxfLine byLayer(Point(0, 0), Point(1, 1));
    CDxfLine own(Point(0, 0), Point(1, 1));
    own.SetColour(5);
    d.Add(byBlock);
    d.Add(outOfRange);
    d.Add(byLayer, green);
    d.Add(own, green);
    LogRecorder log;
    RecordingCanvas canvas;
    canvas.pen = {MakeRgb(1, 2, 3), 3, PEN_DASH};
    Draw(d, canvas);
    const auto lines = canvas.OfKind(RecordingCanvas::LINE);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].pen, (CanvasPen{kBlack, 1, PEN_SOLID})) << "colour 0 draws with the colour-7 pen";
    EXPECT_EQ(lines[1].pen.colour, kRed) << "colour 300 falls back to colour 1";
    EXPECT_TRUE(log.Contains("GetPenForColor(300) out of range"));
    EXPECT_EQ(lines[2].pen.colour, MakeRgb(0, 255, 0)) << "by layer";
    EXPECT_EQ(lines[3].pen.colour, MakeRgb(0, 0, 255));
    EXPECT_EQ(canvas.pen, (CanvasPen{MakeRgb(1, 2, 3), 3, PEN_DASH})) << "the caller's pen is restored";
}

TEST(RenderTest, HiddenLayersAndCulledEntitiesAreNotDrawn) {
    TestDrawing d;
    CDxfLayer* hidden = d.layers.AddLayer("HIDDEN", 1, false);
    d.Add(CDxfLine(Point(0, 0), Point(1, 1)), hidden);
    d.Add(CDxfLine(Point(50, 50), Point(60, 60))); // outside the view box
    d.Add(CDxfLine(Point(1, 1), Point(2, 2)));
    RecordingCanvas canvas;
    DrawDrawing(canvas, d.Source(), TenPixelsPerUnit(), Point(0, 0), Point(10, 10));
    const auto lines = canvas.OfKind(RecordingCanvas::LINE);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points[0].x, 10);
    EXPECT_EQ(lines[0].points[0].y, 990);
}

TEST(RenderTest, TextsArcsAndInsertsAreCulledOnlyWhenTheyCannotShow) {
    TestDrawing d;
    CDxfBlock block;
    block.SetName("B");
    block.m_EntList.AddEntity(CDxfLine(Point(0, 0), Point(1, 0)), d.zero);
    CDxfInsert far, near, rotated;
    far.m_pBlock = near.m_pBlock = rotated.m_pBlock = &block;
    far.m_Insert = Point(50, 50);
    near.m_Insert = Point(9.5, 5);
    rotated.m_Insert = Point(10.5, 5); // turned back into the view
    rotated.m_dRotation = 180;
    d.Add(far);
    d.Add(near);
    d.Add(rotated);
    d.Add(CDxfText("FAR AWAY", Point(60, 5), 1.0));
    d.Add(CDxfText("ENDS INSIDE", Point(-5, 5), 1.0)); // starts left of the view, runs into it
    CDxfText right("RIGHT", Point(14, 5), 1.0);        // right-justified from beyond the view
    right.m_iHorzJustify = 2;
    d.Add(right);
    d.Add(CDxfArc(Point(30, 5), 1.0, 0, 90));
    d.Add(CDxfArc(Point(12, 5), 2.5, 90, 270)); // its centre outside, its left half inside
    RecordingCanvas canvas;
    DrawDrawing(canvas, d.Source(), TenPixelsPerUnit(), Point(0, 0), Point(10, 10));
    EXPECT_EQ(canvas.OfKind(RecordingCanvas::LINE).size(), 2u) << "the near and the rotated insert";
    EXPECT_EQ(canvas.FindText("FAR AWAY"), nullptr);
    EXPECT_NE(canvas.FindText("ENDS INSIDE"), nullptr);
    EXPECT_NE(canvas.FindText("RIGHT"), nullptr);
    EXPECT_EQ(canvas.OfKind(RecordingCanvas::POLYLINE).size(), 1u);
}

TEST(RenderTest, TextsBySizeJustificationAndSwitch) {
    TestDrawing d;
    CDxfLayer* blue = d.layers.AddLayer("NOTES", 5, true);
    CDxfText tiny("tiny", Point(1, 1), 0.12);    // 1.2 pixels high
    CDxfText big("R%%C20%%U", Point(2, 3), 2.0); // 20 pixels: A = 1 + 29 = 30
    big.m_iHorzJustify = 1;
    big.m_bBold = true;
    big.m_dRotation = 90;
    CDxfText byBlock("grey", Point(0, 0), 2.0);
    byBlock.SetColour(0);
    CDxfText right("RR", Point(0, 0), 2.0);
    right.m_iHorzJustify = 2;
    right.SetColour(1);
    d.Add(tiny, blue);
    d.Add(big, blue);
    d.Add(byBlock, blue);
    d.Add(right, blue);
    RecordingCanvas canvas;
    Draw(d, canvas);
    const auto lines = canvas.OfKind(RecordingCanvas::LINE);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points[0].x, 10);
    EXPECT_EQ(lines[0].points[0].y, 990);
    EXPECT_EQ(lines[0].points[1].x, 20) << "a 10-pixel line stands for the text";
    EXPECT_EQ(lines[0].points[1].y, 990);
    EXPECT_EQ(lines[0].pen.colour, MakeRgb(0, 0, 255));

    const RecordingCanvas::Op* shown = canvas.FindText("RD20");
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->font.height, 30);
    EXPECT_TRUE(shown->font.bold);
    EXPECT_EQ(shown->font.escapement, 900);
    EXPECT_EQ(shown->font.faceName, "Arial");
    EXPECT_EQ(shown->colour, MakeRgb(0, 0, 255));
    EXPECT_EQ(shown->points[0].x, 20 - 4 * 15 / 2) << "centred: half its width to the left";
    EXPECT_EQ(shown->points[0].y, 970 - 25) << "top at y - trunc(0.85 A)";
    ASSERT_NE(canvas.FindText("grey"), nullptr);
    EXPECT_EQ(canvas.FindText("grey")->colour, MakeRgb(127, 127, 127));
    ASSERT_NE(canvas.FindText("RR"), nullptr);
    EXPECT_EQ(canvas.FindText("RR")->colour, kRed);
    EXPECT_EQ(canvas.FindText("RR")->points[0].x, -30);

    RecordingCanvas printer;
    printer.fontScale = 2.0;
    Draw(d, printer);
    EXPECT_EQ(printer.FindText("RD20")->font.height, 60) << "printer fonts scale with the resolution";

    SetTextDrawing(false);
    RecordingCanvas off;
    Draw(d, off);
    SetTextDrawing(true);
    EXPECT_TRUE(off.ops.empty());
}

TEST(RenderTest, GridOnlyBelow400Columns) {
    TestDrawing d;
    d.Add(CDxfPoint(Point(-100, -100)));
    d.snap.m_iFlags = CSnapPointList::SNAP_GRID;
    struct Case {
        double spacing;
        Point min, max;
        Rgb background;
        size_t pixels;
        Rgb grey;
    } cases[] = {
        {0.1, {0, 0}, {100, 1}, MakeRgb(255, 255, 255), 0, 0}, // 1000 columns
        {1.0, {0, 0}, {10, 5}, MakeRgb(255, 255, 255), 11 * 6 * 5, MakeRgb(100, 100, 100)},
        {1.0, {0.4, 0.6}, {2.4, 1.4}, MakeRgb(0, 0, 0), 3 * 1 * 5, MakeRgb(55, 55, 55)},
        {0.25, {0, 0}, {100, 0}, MakeRgb(255, 255, 255), 0, 0}, // exactly 400 columns
        {0.25, {0, 0}, {99.75, 0}, MakeRgb(255, 255, 255), 400 * 5, MakeRgb(100, 100, 100)},
    };
    for (const Case& c : cases) {
        d.snap.m_dGridSpacing = c.spacing;
        RenderSource source = d.Source();
        source.background = c.background;
        RecordingCanvas canvas;
        DrawDrawing(canvas, source, TenPixelsPerUnit(), c.min, c.max);
        const auto pixels = canvas.OfKind(RecordingCanvas::PIXEL);
        ASSERT_EQ(pixels.size(), c.pixels) << c.spacing << " " << c.max.x;
        if (!pixels.empty()) {
            EXPECT_EQ(pixels[0].colour, c.grey);
        }
    }
    // One plus sign: the grid point and its four neighbours, the point rounded to the grid.
    d.snap.m_dGridSpacing = 1.0;
    RecordingCanvas canvas;
    DrawDrawing(canvas, d.Source(), TenPixelsPerUnit(), Point(1.4, 2.4), Point(1.4, 2.4));
    const auto pixels = canvas.OfKind(RecordingCanvas::PIXEL);
    ASSERT_EQ(pixels.size(), 5u);
    std::vector<std::pair<int, int>> at;
    for (const auto& p : pixels)
        at.emplace_back(p.points[0].x, p.points[0].y);
    EXPECT_EQ(at, (std::vector<std::pair<int, int>>{{10, 980}, {9, 980}, {11, 980}, {10, 979}, {10, 981}}));
}

TEST(RenderTest, InsertsOnLayerZeroTakeTheInsertColour) {
    TestDrawing d;
    CDxfLayer* doors = d.layers.AddLayer("DOORS", 2, true);
    CDxfLayer* own = d.layers.AddLayer("FIXED", 4, true);
    CDxfLayer* off = d.layers.AddLayer("OFF", 6, false);
    CDxfBlock block;
    block.SetName("DOOR");
    block.m_BasePoint = Point(1, 0);
    block.m_EntList.AddEntity(CDxfLine(Point(1, 0), Point(2, 0)), d.zero); // layer "0": insert's colour
    CDxfLine byBlock(Point(1, 0), Point(1, 1));
    byBlock.SetColour(0);
    block.m_EntList.AddEntity(byBlock, own);                            // by block: insert's colour
    block.m_EntList.AddEntity(CDxfLine(Point(1, 1), Point(2, 1)), own); // own layer: cyan
    block.m_EntList.AddEntity(CDxfLine(Point(1, 1), Point(2, 2)), off); // hidden: skipped
    CDxfInsert red;
    red.m_pBlock = &block;
    red.m_Insert = Point(10, 10);
    red.m_dScaleX = red.m_dScaleY = 2.0;
    red.SetColour(1);
    CDxfInsert byLayer = red;
    byLayer.SetColour(kColourByLayer);
    CDxfInsert unresolved;
    d.Add(red, doors);
    d.Add(byLayer, doors);
    d.Add(unresolved, doors);
    RecordingCanvas canvas;
    Draw(d, canvas);
    const auto lines = canvas.OfKind(RecordingCanvas::LINE);
    ASSERT_EQ(lines.size(), 6u);
    const Rgb expected[6] = {
        kRed, kRed, MakeRgb(0, 255, 255), MakeRgb(255, 255, 0), MakeRgb(255, 255, 0), MakeRgb(0, 255, 255)};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(lines[i].pen.colour, expected[i]) << i;
    // Block point (1, 0) is the base point: at the insertion point (10, 10); (2, 0) twice as far.
    EXPECT_EQ(lines[0].points[0].x, 100);
    EXPECT_EQ(lines[0].points[0].y, 900);
    EXPECT_EQ(lines[0].points[1].x, 120);
}

TEST(RenderTest, ABlockInsertingItselfIsDrawnOnce) {
    TestDrawing d;
    CDxfBlock block;
    block.SetName("LOOP");
    block.m_EntList.AddEntity(CDxfLine(Point(0, 0), Point(1, 0)), d.zero);
    CDxfInsert self;
    self.m_pBlock = &block;
    block.m_EntList.AddEntity(self, d.zero);
    d.Add(self);
    RecordingCanvas canvas;
    Draw(d, canvas);
    EXPECT_EQ(canvas.OfKind(RecordingCanvas::LINE).size(), 1u);
}

TEST(RenderTest, PolylineSegmentsWidthsAndBulges) {
    TestDrawing d;
    CDxfPline pline;
    pline.AddVertex(Point(0, 0), 0.0, 0.5);
    pline.AddVertex(Point(10, 0), 1.0); // a half circle to the next vertex
    pline.AddVertex(Point(10, 10));
    pline.m_bClosed = true;
    d.Add(pline);
    CDxfPline single;
    single.AddVertex(Point(0, 0));
    d.Add(single);
    RecordingCanvas canvas;
    Draw(d, canvas);
    const auto lines = canvas.OfKind(RecordingCanvas::LINE);
    const auto arcs = canvas.OfKind(RecordingCanvas::POLYLINE);
    ASSERT_EQ(lines.size(), 2u) << "the first segment and the closing one";
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_EQ(lines[0].pen.width, 5) << "(m00 + m01) x the start vertex width";
    EXPECT_EQ(arcs[0].pen.width, 0);
    EXPECT_EQ(arcs[0].points.size(), 19u);
    EXPECT_NEAR(arcs[0].points.front().x, 100, 1);
    EXPECT_NEAR(arcs[0].points.back().y, 900, 1);
    EXPECT_NEAR(arcs[0].points[9].x, 150, 1) << "bulge 1: a half circle to the right of the chord";
    EXPECT_EQ(lines[1].points[0].y, 900) << "closing segment from the last vertex";
    EXPECT_EQ(lines[1].points[1].x, 0);
    EXPECT_EQ(canvas.pen.width, 1) << "the loop's pen comes back";
}

TEST(RenderTest, ArcsCirclesPointsAndSolids) {
    TestDrawing d;
    d.Add(CDxfArc(Point(0, 0), 10.0, 0.0, 90.0));
    d.Add(CDxfArc(Point(0, 0), 10.0, 45.0, 45.000001)); // no sweep to speak of
    d.Add(CDxfCircle(Point(5, 5), 2.0));
    d.Add(CDxfCircle(Point(5, 5), 0.05)); // half a pixel
    d.Add(CDxfPoint(Point(1, 1)));
    CDxfSolid solid;
    solid.m_iNumCorners = 4;
    solid.m_Corners[0] = Point(0, 0);
    solid.m_Corners[1] = Point(1, 0);
    solid.m_Corners[2] = Point(0, 1);
    solid.m_Corners[3] = Point(1, 1);
    solid.SetColour(3);
    d.Add(solid);
    CDxfSolid triangle;
    triangle.m_iNumCorners = 3;
    triangle.m_Corners[0] = Point(0, 0);
    triangle.m_Corners[1] = Point(0.01, 0); // the same pixel
    triangle.m_Corners[2] = Point(1, 1);
    d.Add(triangle);
    RecordingCanvas canvas;
    Draw(d, canvas);

    const auto polylines = canvas.OfKind(RecordingCanvas::POLYLINE);
    ASSERT_EQ(polylines.size(), 1u);
    ASSERT_EQ(polylines[0].points.size(), 50u);
    EXPECT_EQ(polylines[0].points.front().x, 100);
    EXPECT_EQ(polylines[0].points.front().y, 1000);
    EXPECT_EQ(polylines[0].points.back().x, 0);
    EXPECT_EQ(polylines[0].points.back().y, 900);

    const auto ellipses = canvas.OfKind(RecordingCanvas::ELLIPSE);
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ(ellipses[0].points[0].x, 30);
    EXPECT_EQ(ellipses[0].points[0].y, 930);
    EXPECT_EQ(ellipses[0].points[1].x, 70);
    EXPECT_EQ(ellipses[0].points[1].y, 970);
    const auto pixels = canvas.OfKind(RecordingCanvas::PIXEL);
    ASSERT_EQ(pixels.size(), 1u);
    EXPECT_EQ(pixels[0].points[0].x, 50);

    const auto lines = canvas.OfKind(RecordingCanvas::LINE);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points[0].x, 8);
    EXPECT_EQ(lines[0].points[0].y, 988);
    EXPECT_EQ(lines[0].points[1].x, 12);
    EXPECT_EQ(lines[0].points[1].y, 992);

    const auto polygons = canvas.OfKind(RecordingCanvas::POLYGON);
    ASSERT_EQ(polygons.size(), 2u);
    std::vector<std::pair<int, int>> quad;
    for (const auto& p : polygons[0].points)
        quad.emplace_back(p.x, p.y);
    EXPECT_EQ(quad, (std::vector<std::pair<int, int>>{{0, 1000}, {10, 1000}, {10, 990}, {0, 990}}))
        << "no bow tie";
    EXPECT_EQ(polygons[0].colour, MakeRgb(0, 255, 0));
    EXPECT_EQ(polygons[1].points.size(), 2u) << "repeated pixels dropped";
}

TEST(RenderTest, SegmentsFarOffTheSurfaceAreClippedAlongTheirLine) {
    RecordingCanvas canvas;
    DrawPixelLine(canvas, Point(-1e12, 100), Point(1e12, 100));
    DrawPixelLine(canvas, Point(-1e12, -1e12), Point(1e12, 1e12));
    DrawPixelLine(canvas, Point(-1e12, -1e12), Point(-1e12, 1e12)); // wholly outside
    DrawPixelLine(canvas, Point(NAN, 0), Point(0, 0));
    const auto lines = canvas.OfKind(RecordingCanvas::LINE);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points[0].y, 100);
    EXPECT_EQ(lines[0].points[1].y, 100);
    EXPECT_LT(lines[0].points[0].x, -1000000);
    EXPECT_EQ(lines[1].points[0].x, lines[1].points[0].y) << "still on the diagonal";
    EXPECT_EQ(lines[1].points[1].x, lines[1].points[1].y);
}

TEST(RenderTest, PolylinePointsOnTheSamePixelAreDrawnOnce) {
    RecordingCanvas canvas;
    DrawPixelPolyline(canvas, {Point(1.2, 1.2), Point(1.7, 1.9), Point(2.1, 1.1), Point(2.9, 1.5)}, false);
    DrawPixelPolyline(canvas, {Point(5.1, 5.1), Point(5.2, 5.3), Point(5.9, 5.9)}, true); // one pixel
    const auto polylines = canvas.OfKind(RecordingCanvas::POLYLINE);
    ASSERT_EQ(polylines.size(), 2u);
    ASSERT_EQ(polylines[0].points.size(), 2u);
    EXPECT_EQ(polylines[0].points[1].x, 2);
    ASSERT_EQ(polylines[1].points.size(), 2u) << "a dot, not nothing";
    EXPECT_EQ(polylines[1].points[0].x, polylines[1].points[1].x);
}

TEST(RenderTest, NearestPaletteColour) {
    EXPECT_EQ(GetNearestPaletteColour(MakeRgb(0, 100, 55)), 126);
    EXPECT_EQ(GetNearestPaletteColour(MakeRgb(127, 0, 0)), 14);
    EXPECT_EQ(GetNearestPaletteColour(MakeRgb(0, 128, 127)), 134);
    EXPECT_EQ(GetNearestPaletteColour(MakeRgb(0, 0, 0)), 7) << "the lowest number of the equal blacks";
    EXPECT_EQ(GetNearestPaletteColour(MakeRgb(255, 255, 255)), 255);
}

TEST(RenderTest, DrawIntoRectErasesClipsAndFits) {
    TestDrawing d;
    d.Add(CDxfLine(Point(0, 0), Point(100, 10)));
    d.Add(CDxfLine(Point(0, 30), Point(1, 30))); // above the fitted box but inside the rectangle
    RecordingCanvas canvas;
    DrawIntoRect(canvas, d.Source(), {0, 0, 400, 400}, ZOOM_BOX, Point(0, 0), Point(100, 10), true);
    ASSERT_FALSE(canvas.ops.empty());
    EXPECT_EQ(canvas.ops[0].kind, RecordingCanvas::FILLRECT);
    EXPECT_EQ(canvas.ops[0].colour, MakeRgb(255, 255, 255));
    const auto lines = canvas.OfKind(RecordingCanvas::LINE);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points[0].x, 1);
    EXPECT_EQ(lines[0].points[0].y, 399);
    EXPECT_EQ(lines[1].points[0].y, 399 - static_cast<int>(30 * 3.98 + 1e-9) - 1);
}

TEST(RenderTest, OffscreenBitmapSizesAndFile) {
    LogRecorder log;
    RecordingMessageBoxes boxes;
    CDADC dc;
    EXPECT_FALSE(dc.ConstructForSize(0, 10));
    EXPECT_TRUE(log.Contains("CDADC::ConstructForSize() strange\nsizes : 0 by 10."));
    EXPECT_FALSE(dc.ConstructForSize(100000, 100000));
    EXPECT_TRUE(boxes.Contains("cannot InitData(). You may be running\nout of memory."));
    EXPECT_FALSE(dc.IsUsable());

    ASSERT_TRUE(dc.ConstructForSize(5, 2));
    EXPECT_EQ(dc.GetStride(), 16);
    EXPECT_EQ(dc.GetImageSize(), 32u);
    EXPECT_EQ(dc.GetFileHeader().type, 19778);
    EXPECT_EQ(dc.GetFileHeader().size, 86u);
    EXPECT_EQ(dc.GetPixel(4, 1), kBlack) << "cleared";
    EXPECT_FALSE(dc.InitData(dc.GetInfoHeader())) << "a second store is refused";
    dc.Fill(MakeRgb(10, 20, 30));
    dc.SetPixel(4, 0, MakeRgb(1, 2, 3));
    EXPECT_EQ(dc.GetPixel(4, 0), MakeRgb(1, 2, 3));
    EXPECT_EQ(dc.GetBits()[0], 30) << "blue first";

    TempDir dir;
    ASSERT_TRUE(dc.WriteBmp(dir / "page.bmp"));
    const std::string bmp = ReadFileText(dir / "page.bmp");
    ASSERT_EQ(bmp.size(), 86u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    // Bottom row first: the top row, with the set pixel, is the last one in the file.
    EXPECT_EQ(static_cast<unsigned char>(bmp[54 + 16 + 12]), 3);
    EXPECT_EQ(static_cast<unsigned char>(bmp[54 + 12]), 30);
}

} // namespace
