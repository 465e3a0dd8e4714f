#include "dxf/Dxf3DFace.h"
#include "dxf/DxfArc.h"
#include "dxf/DxfBlock.h"
#include "dxf/DxfCircle.h"
#include "dxf/DxfEllipse.h"
#include "dxf/DxfInsert.h"
#include "dxf/DxfLine.h"
#include "dxf/DxfMesh.h"
#include "dxf/DxfPgonMesh.h"
#include "dxf/DxfPline.h"
#include "dxf/DxfPoint.h"
#include "dxf/DxfSolid.h"
#include "dxf/DxfText.h"
#include "dxf/EntList.h"
#include "dxf/Geometry.h"
#include "dxf/LayerTable.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectPointNear(const Point& a, const Point& b, const char* what) {
    EXPECT_NEAR(a.x, b.x, 1e-9) << what;
    EXPECT_NEAR(a.y, b.y, 1e-9) << what;
    EXPECT_NEAR(a.z, b.z, 1e-9) << what;
}

TEST(DxfEntityTest, ArcSweepsThroughZero) {
    CDxfArc arc(Point(0, 0), 1.0, 350.0, 10.0);
    EXPECT_DOUBLE_EQ(arc.GetSweep(), 20.0);
    Point lo, hi;
    ASSERT_TRUE(arc.GetExtents(lo, hi, Matrix4()));
    EXPECT_NEAR(lo.x, std::cos(10 * kDegToRad), 1e-9);
    EXPECT_NEAR(hi.x, 1.0, 1e-9);
    EXPECT_NEAR(lo.y, -std::sin(10 * kDegToRad), 1e-9);
    EXPECT_NEAR(hi.y, std::sin(10 * kDegToRad), 1e-9);
    ExpectPointNear(arc.GetStartPoint(), Point(std::cos(350 * kDegToRad), std::sin(350 * kDegToRad)),
                    "start");

    CDxfArc half(Point(5, 5, 3), 2.0, 0.0, 180.0);
    EXPECT_DOUBLE_EQ(half.GetSweep(), 180.0);
    ASSERT_TRUE(half.GetExtents(lo, hi, Matrix4()));
    EXPECT_NEAR(lo.y, 5.0, 1e-9);
    EXPECT_NEAR(hi.y, 7.0, 1e-9);
    EXPECT_EQ(lo.z, 0.0); // the centre's z is not measured
    EXPECT_DOUBLE_EQ(half.DistanceTo(Point(5, 9, 3)), 2.0);

    CDxfArc a(Point(0, 0), 1.0, 350.0, 10.0), b(Point(0, 0), 1.0, 350.0, 10.0005);
    EXPECT_TRUE(a.IsSame(b, 0.001));
    EXPECT_FALSE(a.IsSame(CDxfArc(Point(0, 0), 1.0, 340.0, 10.0), 0.001));
}

TEST(DxfEntityTest, LineInBoxRejectsOnlyBothEndsBeyondOneSide) {
    const Point lo(0, 0), hi(10, 10);
    struct Case {
        Point a, b;
        bool inBox;
    } cases[] = {
        {Point(2, 2), Point(3, 3), true},      {Point(-5, 5), Point(15, 5), true}, // through
        {Point(-5, 1), Point(-1, 9), false},   {Point(11, 1), Point(12, 9), false},
        {Point(1, 11), Point(9, 12), false},   {Point(1, -1), Point(9, -2), false},
        {Point(-5, 20), Point(20, -5), true}, // crosses two sides' outer regions: kept
        {Point(-1, 12), Point(-2, 13), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CDxfLine(c.a, c.b).IsInBox(lo, hi), c.inBox)
            << c.a.x << "," << c.a.y << " " << c.b.x << "," << c.b.y;
}

TEST(DxfEntityTest, Distances) {
    CDxfLine line(Point(0, 0), Point(10, 0));
    EXPECT_DOUBLE_EQ(line.DistanceTo(Point(5, 3)), 3.0);
    EXPECT_DOUBLE_EQ(line.DistanceTo(Point(13, 4)), 5.0);
    EXPECT_DOUBLE_EQ(line.DistanceTo(Point(-3, 0, 4)), 5.0);
    EXPECT_DOUBLE_EQ(CDxfCircle(Point(0, 0), 5).DistanceTo(Point(3, 0)), 2.0);
    EXPECT_DOUBLE_EQ(CDxfPoint(Point(1, 1, 1)).DistanceTo(Point(1, 1, 3)), 2.0);
    EXPECT_DOUBLE_EQ(CDxfText("Door", Point(2, 0), 1).DistanceTo(Point(2, 4)), 4.0);
    CDxfSolid solid;
    EXPECT_EQ(solid.DistanceTo(Point()), 1e32);
    solid.m_iNumCorners = 3;
    solid.m_Corners[0] = Point(0, 0);
    solid.m_Corners[1] = Point(4, 0);
    solid.m_Corners[2] = Point(4, 3, 9);
    EXPECT_DOUBLE_EQ(solid.DistanceTo(Point(4, 4)), 1.0);
    EXPECT_EQ(CDxf3DFace().DistanceTo(Point()), 100.0);
    EXPECT_EQ(CDxfMesh().DistanceTo(Point(2, 0)), 1e36 + 2);
}

TEST(DxfEntityTest, SameWithinTolerance) {
    const double tol = 0.01;
    CDxfLine line(Point(0, 0), Point(10, 0));
    EXPECT_TRUE(line.IsSame(CDxfLine(Point(10.005, 0), Point(0, 0.005)), tol)); // reversed
    EXPECT_FALSE(line.IsSame(CDxfLine(Point(0, 0), Point(10.02, 0)), tol));
    EXPECT_FALSE(line.IsSame(CDxfPoint(Point(0, 0)), tol));
    EXPECT_TRUE(CDxfCircle(Point(1, 1), 2).IsSame(CDxfCircle(Point(1, 1.005), 2.005), tol));
    EXPECT_FALSE(CDxfCircle(Point(1, 1), 2).IsSame(CDxfCircle(Point(1, 1), 2.5), tol));
    CDxfText a("Office", Point(0, 0), 1), b("Office", Point(0.001, 0), 2);
    EXPECT_TRUE(a.IsSame(b, tol));
    b.m_csFontName = "Courier";
    EXPECT_FALSE(a.IsSame(b, tol));
    EXPECT_TRUE(CDxfEllipse(Point(0, 0), 2, 1).IsSame(CDxfEllipse(Point(0, 0), 2.001, 1), tol));
}

TEST(DxfEntityTest, ExtentsOfSimpleEntities) {
    Point lo, hi;
    ASSERT_TRUE(CDxfCircle(Point(5, 5, 2), 2).GetExtents(lo, hi, Matrix4()));
    ExpectPointNear(lo, Point(3, 3, 0), "circle min");
    ExpectPointNear(hi, Point(7, 7, 0), "circle max");

    // "Office": 6 characters x height 1 / 2.5 x width factor 1 = 2.4 each side.
    ASSERT_TRUE(CDxfText("Office", Point(10, 10), 1).GetExtents(lo, hi, Matrix4()));
    ExpectPointNear(lo, Point(7.6, 7.6), "text min");
    ExpectPointNear(hi, Point(12.4, 12.4), "text max");
    EXPECT_FALSE(CDxfText().GetExtents(lo, hi, Matrix4()));

    // A rotated line keeps its true box.
    CDxfLine diagonal(Point(0, 1), Point(1, 0));
    ASSERT_TRUE(diagonal.GetExtents(lo, hi, RotationZMatrix(3.14159265358979 / 4)));
    EXPECT_NEAR(lo.y, std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(hi.y, std::sqrt(0.5), 1e-12);

    CDxfSolid none;
    EXPECT_FALSE(none.GetExtents(lo, hi, Matrix4()));
}

TEST(DxfEntityTest, ObjectMatrixAppliesBeforeTheCallersMatrix) {
    // An entity drawn in a plane turned upside down (extrusion 0, 0, -1 mirrors x).
    Matrix4 flip;
    flip.m[0][0] = -1;
    flip.m[2][2] = -1;
    CDxfPoint p(Point(2, 3, 0));
    p.SetMatrix(flip);
    EXPECT_FALSE(p.HasIdentityMatrix());
    Point lo, hi;
    ASSERT_TRUE(p.GetExtents(lo, hi, TranslationMatrix(10, 0, 0)));
    EXPECT_EQ(lo, Point(8, 3, 0));
    EXPECT_TRUE(p.IsInBox(Point(-3, 0), Point(-1, 5)));

    auto copy = p.GetTransformedCopy(TranslationMatrix(10, 0, 0));
    EXPECT_TRUE(copy->HasIdentityMatrix());
    EXPECT_EQ(static_cast<CDxfPoint&>(*copy).m_Point, Point(8, 3, 0));
    p.SetMatrix(Matrix4());
    EXPECT_TRUE(p.HasIdentityMatrix());
}

TEST(DxfEntityTest, RotateAndWriteTransform) {
    const double quarter = 3.14159265359 / 2;
    CDxfLine line(Point(1, 0), Point(2, 0));
    line.RotateAboutOrigin(quarter);
    ExpectPointNear(line.m_End, Point(0, 2), "line");
    CDxfArc arc(Point(1, 0), 1, 0, 90);
    arc.RotateAboutOrigin(quarter);
    ExpectPointNear(arc.m_Centre, Point(0, 1), "arc centre");
    EXPECT_NEAR(arc.m_dStartAngle, 90.0, 1e-9);
    EXPECT_NEAR(arc.m_dEndAngle, 180.0, 1e-9);
    CDxfArc still(Point(1, 0), 1, 0, 90);
    still.RotateAboutOrigin(0.0);
    EXPECT_EQ(still.m_Centre, Point(1, 0));

    CDxfCircle circle(Point(1, 2, 3), 4);
    circle.ApplyWriteTransform(2.0, Point(10, 20, 30));
    EXPECT_EQ(circle.m_Centre, Point(22, 44, 66));
    EXPECT_EQ(circle.m_dRadius, 8.0);
}

TEST(DxfEntityTest, EntityListOwnsClones) {
    LogRecorder log;
    CLayerTable layers;
    CDxfLayer* walls = layers.AddLayer("Walls", 1, true);
    CEntList list;
    CDxfLine line(Point(0, 0), Point(1, 0));
    CDxfEntity* added = list.AddEntity(line, walls);
    ASSERT_NE(added, nullptr);
    line.m_End = Point(5, 5);
    EXPECT_EQ(static_cast<CDxfLine*>(added)->m_End, Point(1, 0));
    EXPECT_EQ(added->GetLayer(), walls);
    EXPECT_EQ(line.GetLayer(), nullptr);

    // A null layer keeps the entity's own.
    line.SetLayer(walls);
    CDxfEntity* second = list.AddEntity(line, nullptr);
    EXPECT_EQ(second->GetLayer(), walls);
    EXPECT_EQ(log.Count("CDxfEntity::SetLayer nullptr", LOG_INFO), 1);

    EXPECT_EQ(list.GetEntityPtr(7), added);
    EXPECT_TRUE(log.Contains("GetEntityPtr(7) but only 2 entities"));
    EXPECT_TRUE(list.IsOnLayer("walls"));
    EXPECT_TRUE(list.IsOnLayer("0"));
    EXPECT_FALSE(list.IsOnLayer("Doors"));

    CEntList copy(list);
    ASSERT_EQ(copy.GetCount(), 2);
    EXPECT_NE(copy.GetEntityPtr(0), list.GetEntityPtr(0));
    EXPECT_TRUE(copy.GetEntityPtr(0)->IsSame(*list.GetEntityPtr(0), 0.0));

    // A mesh missing points cannot be cloned, so it is not added.
    RecordingMessageBoxes boxes;
    CDxfPgonMesh mesh;
    mesh.Init(2, 2, false, false);
    mesh.AddPoint(Point(0, 0));
    EXPECT_EQ(list.AddEntity(mesh, walls), nullptr);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_TRUE(log.Contains("CEntList::AddEntity,Could not clone entity"));
    ASSERT_FALSE(boxes.boxes.empty());
    EXPECT_EQ(boxes.boxes[0].text,
              "Number of points specified in the mesh is 1\nBut a M=2 by N=2 mesh requires 4 "
              "points\nCannot clone this mesh.");
}

TEST(DxfEntityTest, PolygonMeshCounts) {
    RecordingMessageBoxes boxes;
    struct Case {
        int m, n;
        bool closedM, closedN;
        int faces;
    } cases[] = {{3, 4, false, false, 6},
                 {3, 4, true, false, 9},
                 {3, 4, false, true, 8},
                 {3, 4, true, true, 11},
                 {1, 4, true, true, 0}};
    for (const Case& c : cases) {
        CDxfPgonMesh mesh;
        mesh.Init(c.m, c.n, c.closedM, c.closedN);
        EXPECT_EQ(mesh.m_iNumFaces, c.faces) << c.m << "x" << c.n;
    }
    CDxfPgonMesh mesh;
    mesh.Init(2, 2, false, false);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(mesh.AddPoint(Point(i, i)));
    EXPECT_FALSE(mesh.AddPoint(Point(9, 9)));
    EXPECT_EQ(mesh.GetPointCount(), 4);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "CDxfPgonMesh::AddPoint, too many points\nM=2 N=2 NumPoints=4");
    EXPECT_NE(mesh.Clone(), nullptr);
}

TEST(DxfEntityTest, TrianglesOfAPlaneMergeIntoQuadrilaterals) {
    CDxfMesh mesh;
    // A unit square (1 2 3 4) and a triangle standing up on its edge 2-3.
    for (Point p : {Point(0, 0), Point(1, 0), Point(1, 1), Point(0, 1), Point(1, 0.5, 1)})
        mesh.AddPoint(p);
    const int t1[3] = {1, 2, 3}, t2[3] = {1, 3, 4}, up[3] = {2, 3, 5};
    mesh.AddFace(t1, 3);
    mesh.AddFace(up, 3);
    mesh.AddFace(t2, 3);
    mesh.MergeTrianglePairs();
    EXPECT_EQ(mesh.GetFace(0).count, 4);
    const int expected[4] = {1, 2, 3, 4}; // shared 1 and 3: (A, B, C, X)
    EXPECT_TRUE(std::equal(expected, expected + 4, mesh.GetFace(0).index));
    EXPECT_EQ(mesh.GetFace(1).count, 3); // not coplanar
    EXPECT_EQ(mesh.GetFace(2).count, 0);

    struct Case {
        int first[3], second[3], quad[4];
    } orders[] = {
        {{1, 2, 3}, {2, 1, 4}, {1, 4, 2, 3}}, // shares A, B: (A, X, B, C)
        {{1, 2, 3}, {3, 1, 4}, {1, 2, 3, 4}}, // shares A, C: (A, B, C, X)
        {{1, 2, 3}, {3, 2, 4}, {1, 2, 4, 3}}, // shares B, C: (A, B, X, C)
    };
    for (const Case& c : orders) {
        CDxfMesh m;
        m.m_Points.resize(4);
        m.AddFace(c.first, 3);
        m.AddFace(c.second, 3);
        ASSERT_TRUE(m.MergeTriangles(0, 1));
        EXPECT_TRUE(std::equal(c.quad, c.quad + 4, m.m_Faces[0].index))
            << c.second[0] << c.second[1] << c.second[2];
        EXPECT_EQ(m.m_Faces[1].count, 0);
    }

    RecordingMessageBoxes boxes;
    CDxfMesh apart;
    apart.m_Points.resize(6);
    const int a[3] = {1, 2, 3}, b[3] = {4, 5, 6};
    apart.AddFace(a, 3);
    apart.AddFace(b, 3);
    EXPECT_FALSE(apart.MergeTriangles(0, 1));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text.rfind("MergeTriangles, Error: could not find shared edge.", 0), 0u);
    EXPECT_EQ(apart.m_Faces[0].count, 3);
}

// A block "DOOR" with base point (1, 0): a line from the base point to (3, 0) on layer "Doors".
struct DoorBlock {
    CLayerTable layers;
    CDxfLayer* zero = layers.AddLayer("0", 7, true);
    CDxfLayer* doors = layers.AddLayer("Doors", 2, true);
    CDxfBlock block;
    DoorBlock() {
        block.SetName("DOOR");
        block.m_BasePoint = Point(1, 0);
        block.m_EntList.AddEntity(CDxfLine(Point(1, 0), Point(3, 0)), doors);
    }
    CDxfInsert Insert(const Point& at, double scale, double rotation) {
        CDxfInsert insert;
        insert.SetBlockName("DOOR");
        insert.m_pBlock = &block;
        insert.m_Insert = at;
        insert.m_dScaleX = insert.m_dScaleY = scale;
        insert.m_dRotation = rotation;
        insert.SetLayer(zero);
        return insert;
    }
};

TEST(DxfEntityTest, InsertPlacesItsBlock) {
    DoorBlock door;
    CDxfInsert insert = door.Insert(Point(10, 10), 2.0, 90.0);
    // (3, 0): less the base point (2, 0), scaled (4, 0), turned a quarter (0, 4), moved (10, 14).
    ExpectPointNear(TransformPoint(insert.GetToWorldXform(), Point(3, 0)), Point(10, 14), "to world");
    Point lo, hi;
    ASSERT_TRUE(insert.GetExtents(lo, hi, Matrix4()));
    ExpectPointNear(lo, Point(10, 10), "extents min");
    ExpectPointNear(hi, Point(10, 14), "extents max");
    EXPECT_TRUE(insert.IsInBox(Point(9, 13), Point(11, 20)));
    EXPECT_FALSE(insert.IsInBox(Point(0, 0), Point(5, 5)));

    CSnapPointList snaps;
    AddSnapPoints(snaps, &insert, TranslationMatrix(0, 0, 5));
    ASSERT_EQ(snaps.m_Points.size(), 2u);
    ExpectPointNear(snaps.m_Points[0], Point(10, 10, 5), "snap start");
    ExpectPointNear(snaps.m_Points[1], Point(10, 14, 5), "snap end");

    // Only lines, polylines and inserts give snap points.
    CSnapPointList others;
    CDxfCircle circle(Point(0, 0), 1);
    AddSnapPoints(others, &circle, Matrix4());
    CDxfPline pline;
    pline.AddVertex(Point(1, 1, 0, 5));
    pline.AddVertex(Point(2, 2));
    AddSnapPoints(others, &pline, TranslationMatrix(1, 0, 0));
    ASSERT_EQ(others.m_Points.size(), 2u);
    EXPECT_EQ(others.m_Points[0], Point(2, 1, 0, 0));
}

TEST(DxfEntityTest, InsertLayersAndSameness) {
    DoorBlock door;
    CDxfInsert insert = door.Insert(Point(0, 0), 1.0, 0.0);
    EXPECT_TRUE(insert.IsOnLayer("0"));
    EXPECT_TRUE(insert.IsOnLayer("doors")); // through the block's entity
    EXPECT_FALSE(insert.IsOnLayer("Windows"));
    door.block.m_csLayer = "Windows";
    EXPECT_TRUE(insert.IsOnLayer("Windows"));

    CDxfInsert other = door.Insert(Point(0, 0.001), 1.0, 0.0005);
    EXPECT_TRUE(insert.IsSame(other, 0.01));
    other.m_dScaleX = 1.1;
    EXPECT_FALSE(insert.IsSame(other, 0.01));
    CDxfBlock twin(door.block);
    CDxfInsert elsewhere = door.Insert(Point(0, 0), 1.0, 0.0);
    elsewhere.m_pBlock = &twin;
    EXPECT_FALSE(insert.IsSame(elsewhere, 0.01));
}

TEST(DxfEntityTest, UnresolvedInsertHasNoExtents) {
    LogRecorder log;
    CDxfInsert insert;
    insert.SetBlockName("MISSING");
    Point lo, hi;
    EXPECT_FALSE(insert.GetExtents(lo, hi, Matrix4()));
    EXPECT_FALSE(insert.IsInBox(Point(-1e9, -1e9), Point(1e9, 1e9)));
    EXPECT_TRUE(IsIdentityMatrix(insert.GetToWorldXform()));
    EXPECT_TRUE(log.Contains("CDxfInsert::GetToWorldXform on insert with a null block"));
    CSnapPointList snaps;
    AddSnapPoints(snaps, &insert, Matrix4());
    EXPECT_TRUE(snaps.m_Points.empty());
}

TEST(DxfEntityTest, BlockInsertingItselfIsVisitedOnce) {
    DoorBlock door;
    CDxfInsert self = door.Insert(Point(5, 0), 1.0, 0.0);
    door.block.m_EntList.AddEntity(self, door.zero);
    CDxfInsert insert = door.Insert(Point(0, 0), 1.0, 0.0);
    Point lo, hi;
    ASSERT_TRUE(insert.GetExtents(lo, hi, Matrix4()));
    ExpectPointNear(hi, Point(2, 0), "only the line itself");
    EXPECT_FALSE(insert.IsOnLayer("Windows"));
    CSnapPointList snaps;
    AddSnapPoints(snaps, &insert, Matrix4());
    EXPECT_EQ(snaps.m_Points.size(), 2u);
}

TEST(DxfEntityTest, MirroredInsertCopy) {
    DoorBlock door;
    CDxfInsert insert = door.Insert(Point(4, 1), 2.0, 30.0);
    auto copy = insert.GetTransformedCopy(ScalingMatrix(-1, 1, 1));
    const auto& mirrored = static_cast<const CDxfInsert&>(*copy);
    EXPECT_EQ(mirrored.m_Insert, Point(-4, 1));
    EXPECT_EQ(mirrored.m_dScaleX, -2.0);
    EXPECT_EQ(mirrored.m_dScaleY, 2.0);
    EXPECT_EQ(mirrored.m_dRotation, 330.0);
    EXPECT_EQ(mirrored.m_pBlock, &door.block);
    EXPECT_EQ(mirrored.m_csBlockName, "DOOR");
}

TEST(DxfEntityTest, BlockCopyClonesEntities) {
    RecordingMessageBoxes boxes;
    DoorBlock door;
    CDxfBlock copy;
    copy.m_EntList.AddEntity(CDxfPoint(Point(9, 9)), door.zero);
    copy.CopyFrom(door.block);
    EXPECT_EQ(copy.m_csName, "DOOR");
    EXPECT_EQ(copy.m_BasePoint, Point(1, 0));
    ASSERT_EQ(copy.m_EntList.GetCount(), 1);
    EXPECT_NE(copy.m_EntList.GetEntityPtr(0), door.block.m_EntList.GetEntityPtr(0));
    EXPECT_EQ(copy.m_EntList.GetEntityPtr(0)->GetType(), DXF_LINE);

    CDxfBlock empty;
    Point lo, hi;
    EXPECT_FALSE(empty.GetExtents(lo, hi, Matrix4()));
    empty.SetName("");
    empty.SetLayer("");
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "CDxfBlock::SetName (empty)");
    EXPECT_EQ(boxes.boxes[1].text, "CDxfBlock::SetLayer (empty)");
    EXPECT_EQ(empty.m_csLayer, "0");
}

} // namespace
