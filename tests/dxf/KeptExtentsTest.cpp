// The extents a drawing and its blocks keep after reading, against a full walk through every
// insert; and the culling of the drawing loop, against drawing everything.

#include "dxf/DxfArc.h"
#include "dxf/DxfBlock.h"
#include "dxf/DxfCircle.h"
#include "dxf/DxfEllipse.h"
#include "dxf/DxfFile.h"
#include "dxf/DxfInsert.h"
#include "dxf/DxfLine.h"
#include "dxf/DxfPline.h"
#include "dxf/DxfPoint.h"
#include "dxf/DxfSolid.h"
#include "dxf/DxfText.h"
#include "dxf/EntList.h"
#include "dxf/Geometry.h"
#include "dxf/LayerTable.h"
#include "dxf/Render.h"
#include "support/RecordingCanvas.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// The box as the drawing used to measure it on every opening: every entity, every insert through
// its block's entities under the composed matrix, without any kept box.
void WalkInto(ExtentsBox& box, const CEntList& list, const Matrix4& m, bool visibleOnly) {
    for (const auto& e : list) {
        if (visibleOnly && e->GetLayer() && !e->GetLayer()->m_bVisible) continue;
        if (e->GetType() == DXF_INSERT) {
            const auto& insert = static_cast<const CDxfInsert&>(*e);
            if (insert.m_pBlock)
                WalkInto(box, insert.m_pBlock->m_EntList, MultiplyMatrix(m, insert.GetToWorldXform()), false);
            continue;
        }
        Point lo, hi;
        if (e->GetExtents(lo, hi, m)) {
            box.Add(lo);
            box.Add(hi);
        }
    }
}

ExtentsBox FullWalk(const CEntList& list, bool visibleOnly) {
    ExtentsBox box;
    WalkInto(box, list, Matrix4(), visibleOnly);
    return box;
}

// A drawing made in code: layers, blocks that stay where they are, entities.
struct Scene {
    CLayerTable layers;
    CDxfLayer* zero = layers.AddLayer("0", 7, true);
    CDxfLayer* hidden = layers.AddLayer("HIDDEN", 1, false);
    std::vector<std::unique_ptr<CDxfBlock>> blocks;
    CEntList entities;

    CDxfBlock& Block(const char* name) {
        blocks.push_back(std::make_unique<CDxfBlock>());
        blocks.back()->SetName(name);
        return *blocks.back();
    }
    static CDxfInsert Insert(CDxfBlock& block, const Point& at, double rotation = 0.0, double sx = 1.0,
                             double sy = 1.0) {
        CDxfInsert insert;
        insert.m_pBlock = &block;
        insert.SetBlockName(block.m_csName);
        insert.m_Insert = at;
        insert.m_dRotation = rotation;
        insert.m_dScaleX = sx;
        insert.m_dScaleY = sy;
        return insert;
    }
};

CDxfPline Square(double x, double y, double side, double width = 0.0) {
    CDxfPline p;
    p.AddVertex(Point(x, y), 0.0, width);
    p.AddVertex(Point(x + side, y), 0.5, width); // a bulge out of the box of the corners
    p.AddVertex(Point(x + side, y + side), 0.0, width);
    p.AddVertex(Point(x, y + side), 0.0, width);
    p.m_bClosed = true;
    return p;
}

// A desk block inside a room block with a door arc; the room inserted turned, scaled and mirrored.
void NestedRooms(Scene& s) {
    CDxfBlock& desk = s.Block("DESK");
    desk.m_BasePoint = Point(0.5, 0.25);
    desk.m_EntList.AddEntity(Square(0, 0, 1.6), s.zero);
    desk.m_EntList.AddEntity(CDxfCircle(Point(0.8, 1.2), 0.3), s.zero);
    CDxfBlock& room = s.Block("ROOM");
    room.m_EntList.AddEntity(CDxfLine(Point(0, 0), Point(6, 0)), s.zero);
    room.m_EntList.AddEntity(CDxfArc(Point(5, 5), 0.9, 10.0, 100.0), s.zero);
    room.m_EntList.AddEntity(Scene::Insert(desk, Point(1, 1), 90.0, 2.0, 0.5), s.zero);
    room.m_EntList.AddEntity(CDxfLine(Point(0, 9), Point(1, 9)), s.hidden); // hidden, but the insert shows it
    s.entities.AddEntity(Scene::Insert(room, Point(10, 0), 30.0), s.zero);
    s.entities.AddEntity(Scene::Insert(room, Point(-10, 3), 0.0, -1.0, 1.0), s.zero); // mirrored
    s.entities.AddEntity(Scene::Insert(room, Point(0, -20), 217.0, 0.25, 3.0), s.zero);
    s.entities.AddEntity(CDxfText("LABEL", Point(4, 4), 0.5), s.zero);
    s.entities.AddEntity(CDxfLine(Point(100, 100), Point(101, 101)), s.hidden);
}

void ExpectSameBox(const ExtentsBox& kept, const ExtentsBox& walked, const std::string& what) {
    ASSERT_EQ(kept.valid, walked.valid) << what;
    if (!kept.valid) return;
    EXPECT_EQ(kept.min, walked.min) << what;
    EXPECT_EQ(kept.max, walked.max) << what;
}

// The drawing's extents and every block's equal the full walk's.
void ExpectKeptEqualsWalk(const Scene& s, const std::string& what) {
    Point lo, hi;
    const bool any = GetDrawingExtents(s.entities, lo, hi);
    ExtentsBox kept;
    kept.valid = any;
    kept.min = lo;
    kept.max = hi;
    ExpectSameBox(kept, FullWalk(s.entities, true), what + ": drawing");
    if (!any) {
        EXPECT_EQ(lo, Point()) << what;
    }
    for (const auto& block : s.blocks) {
        ExtentsBox keptBlock;
        keptBlock.valid = block->GetExtents(keptBlock.min, keptBlock.max, Matrix4());
        ExpectSameBox(keptBlock, FullWalk(block->m_EntList, false), what + ": block " + block->m_csName);
    }
}

TEST(KeptExtentsTest, DrawingAndBlockExtentsEqualTheFullWalkThroughEdits) {
    struct Case {
        const char* what;
        std::function<void(Scene&)> build;
        std::function<void(Scene&)> edit; // after the first measurement; the kept boxes must follow
    } cases[] = {
        {"empty drawing", [](Scene&) {}, [](Scene&) {}},
        {"an empty block inserted",
         [](Scene& s) { s.entities.AddEntity(Scene::Insert(s.Block("NONE"), Point(3, 3)), s.zero); },
         [](Scene& s) { s.blocks[0]->m_EntList.AddEntity(CDxfPoint(Point(1, 2)), s.zero); }},
        {"nested, turned, scaled and mirrored inserts", NestedRooms,
         [](Scene& s) { s.entities.AddEntity(CDxfLine(Point(-50, -60), Point(70, 80)), s.zero); }},
        {"a nested block grows", NestedRooms,
         [](Scene& s) { s.blocks[0]->m_EntList.AddEntity(CDxfLine(Point(0, 0), Point(0, 40)), s.zero); }},
        {"a layer shown", NestedRooms, [](Scene& s) { s.hidden->m_bVisible = true; }},
        {"everything taken away", NestedRooms, [](Scene& s) { s.entities.Clear(); }},
    };
    for (const Case& c : cases) {
        Scene s;
        c.build(s);
        ExpectKeptEqualsWalk(s, std::string(c.what) + " (as made)");
        c.edit(s);
        ExpectKeptEqualsWalk(s, std::string(c.what) + " (after the edit)");
    }
}

TEST(KeptExtentsTest, ADrawingReadBackKeepsTheWalkedExtents) {
    // The nested rooms written to a file and read: the reader resolves the inserts after reading
    // them, so what it keeps must be measured after that.
    Scene s;
    NestedRooms(s);
    CDxfFile written;
    written.GetLayerTable().AddLayer("HIDDEN", 1, false);
    for (const auto& block : s.blocks)
        written.AddBlock(*block);
    for (const auto& e : s.entities) {
        auto copy = e->Clone();
        if (copy->GetType() == DXF_INSERT) {
            auto& insert = static_cast<CDxfInsert&>(*copy);
            insert.m_pBlock = written.FindBlock(insert.m_csBlockName);
        }
        copy->SetLayer(written.GetLayerTable().GetLayerPtrFromName(e->GetLayerName().c_str()));
        written.GetEntList().AdoptEntity(std::move(copy));
    }
    TempDir dir("keptextents");
    ASSERT_TRUE(written.SaveFile((dir / "rooms.dxf").string()));
    CDxfFile read;
    ASSERT_TRUE(read.ReadFile((dir / "rooms.dxf").string()));
    ASSERT_EQ(read.GetEntityCount(), 5);
    Point lo, hi;
    read.GetExtents(lo, hi);
    const ExtentsBox walked = FullWalk(read.GetEntList(), true);
    ASSERT_TRUE(walked.valid);
    EXPECT_EQ(lo, walked.min);
    EXPECT_EQ(hi, walked.max);
    ASSERT_EQ(read.GetBlockCount(), 2);
    for (int i = 0; i < read.GetBlockCount(); ++i) {
        ExtentsBox kept;
        kept.valid = read.GetBlock(i)->GetExtents(kept.min, kept.max, Matrix4());
        ExpectSameBox(kept, FullWalk(read.GetBlock(i)->m_EntList, false), read.GetBlock(i)->m_csName);
    }
    // Showing and hiding layers afterwards needs no new reading.
    read.GetLayerTable().GetLayerPtrFromName("HIDDEN")->m_bVisible = true;
    read.SetLayerVisibility("0");
    read.GetExtents(lo, hi);
    EXPECT_EQ(lo, Point(100, 100));
    EXPECT_EQ(hi, Point(101, 101));
    read.GetLayerTable().GetLayerPtrFromName("HIDDEN")->m_bVisible = false;
    read.GetExtents(lo, hi);
    EXPECT_EQ(hi, Point()) << "nothing visible";
}

// ---- Culling ----

constexpr int kWidth = 300;
constexpr int kHeight = 200;

// Whether what the call draws may land on the picture (pixels 0..width-1, 0..height-1).
bool Touches(const RecordingCanvas::Op& op) {
    if (op.points.empty()) return false;
    int x0 = op.points[0].x, x1 = x0, y0 = op.points[0].y, y1 = y0;
    for (const CanvasPoint& p : op.points) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    int reach = op.pen.width > 1 ? op.pen.width / 2 + 1 : 0;
    if (op.kind == RecordingCanvas::TEXT) // turned about its corner, as wide as the canvas says
        reach = static_cast<int>(op.text.size()) * op.font.height / 2 + op.font.height;
    return x1 + reach >= 0 && x0 - reach < kWidth && y1 + reach >= 0 && y0 - reach < kHeight;
}

bool SameOp(const RecordingCanvas::Op& a, const RecordingCanvas::Op& b) {
    if (a.kind != b.kind || a.pen != b.pen || a.text != b.text || a.colour != b.colour ||
        a.points.size() != b.points.size())
        return false;
    for (size_t i = 0; i < a.points.size(); ++i)
        if (a.points[i].x != b.points[i].x || a.points[i].y != b.points[i].y) return false;
    return true;
}

// The plan drawn culled to the picture, and drawn whole: the culled calls must be the whole
// drawing's, in order, less only calls that cannot reach the picture.
void ExpectCullingKeepsThePicture(const CEntList& entities, const Point& viewMin, const Point& viewMax,
                                  const std::string& what) {
    RenderSource source;
    source.entities = &entities;
    const ViewTransform vt = GetViewTransform({0, 0, kWidth, kHeight}, ZOOM_BOX, source, viewMin, viewMax);
    const Matrix4 toWorld = InvertPlaneTransform(vt.worldToPixel);
    const Point a = TransformPoint(toWorld, Point(0, kHeight)), b = TransformPoint(toWorld, Point(kWidth, 0));
    RecordingCanvas culled, whole;
    DrawDrawing(culled, source, vt.worldToPixel, a, b);
    // The loop without any culling.
    for (const auto& e : entities) {
        if (e->GetLayer() && !e->GetLayer()->m_bVisible) continue;
        whole.SetPen(GetPenForColor(GetDrawingColourNumber(*e)));
        e->DrawIntoDC(whole, vt.worldToPixel);
    }
    size_t next = 0, dropped = 0;
    for (const RecordingCanvas::Op& op : whole.ops) {
        if (next < culled.ops.size() && SameOp(op, culled.ops[next])) {
            ++next;
            continue;
        }
        ++dropped;
        EXPECT_FALSE(Touches(op)) << what << ": a call reaching the picture was culled, kind " << op.kind
                                  << " at " << op.points[0].x << "," << op.points[0].y;
    }
    EXPECT_EQ(next, culled.ops.size()) << what << ": the culled drawing drew what the whole one did not";
}

TEST(KeptExtentsTest, CullingDropsOnlyWhatCannotReachThePicture) {
    Scene s;
    NestedRooms(s);
    CDxfLayer* walls = s.layers.AddLayer("WALLS", 3, true);
    s.entities.AddEntity(Square(20, 20, 3, 0.4), walls); // a wide outline
    s.entities.AddEntity(CDxfPoint(Point(12, 12)), walls);
    CDxfText tiny("small print", Point(14, 14), 0.01); // drawn as a 10-pixel dash
    s.entities.AddEntity(tiny, walls);
    CDxfText turned("TURNED TEXT", Point(16, 10), 0.4);
    turned.m_dRotation = 60.0;
    s.entities.AddEntity(turned, walls);
    CDxfSolid solid;
    solid.m_iNumCorners = 3;
    solid.m_Corners[0] = Point(8, 8);
    solid.m_Corners[1] = Point(9, 8);
    solid.m_Corners[2] = Point(8, 9.5);
    s.entities.AddEntity(solid, walls);
    for (int i = 0; i < 12; ++i) // lines ending at fractions of a pixel around the views' edges
        s.entities.AddEntity(CDxfLine(Point(-3.0 + i * 0.37, -1.0 - i * 0.013), Point(-2.99 + i * 0.37, 30)),
                             s.zero);

    // A block with a kind the culling does not measure is never culled.
    CDxfBlock& lamp = s.Block("LAMP");
    CDxfEllipse shade;
    shade.m_dXSemiAxis = 0.3;
    shade.m_dYSemiAxis = 0.2;
    lamp.m_EntList.AddEntity(shade, s.zero);
    lamp.m_EntList.AddEntity(CDxfLine(Point(0, 0), Point(0.5, 0)), s.zero);
    s.entities.AddEntity(Scene::Insert(lamp, Point(2, 15)), walls);

    // Views across the drawing at several sizes, their edges at odd fractions.
    int views = 0;
    for (double size : {1.3, 4.7, 11.0, 37.0}) {
        for (double x = -25.0; x < 30.0; x += size * 0.61) {
            for (double y = -30.0; y < 25.0; y += size * 0.73) {
                ExpectCullingKeepsThePicture(s.entities, Point(x, y), Point(x + size, y + size * 0.667),
                                             "view at " + std::to_string(x) + "," + std::to_string(y) +
                                                 " size " + std::to_string(size));
                ++views;
                if (testing::Test::HasFailure()) return;
            }
        }
    }
    EXPECT_GT(views, 200);
}

} // namespace
