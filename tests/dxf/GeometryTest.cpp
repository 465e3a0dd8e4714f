#include "dxf/Geometry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

Polygon Rect(double x0, double y0, double x1, double y1) {
    return {Point(x0, y0), Point(x1, y0), Point(x1, y1), Point(x0, y1)};
}

Polygon RegularPolygon(int n, double r) {
    Polygon p;
    for (int i = 0; i < n; ++i)
        p.emplace_back(r * std::cos(2 * kPi * i / n), r * std::sin(2 * kPi * i / n));
    return p;
}

TEST(GeometryTest, Distances) {
    const Point a(0, 0, 0), b(3, 4, 12);
    EXPECT_DOUBLE_EQ(Distance2D(a, b), 5.0);
    EXPECT_DOUBLE_EQ(Distance3D(a, b), 13.0);

    struct Case {
        Point a, b, p;
        double expected;
    } cases[] = {
        {Point(0, 0), Point(10, 0), Point(4, 3), 3.0},     // foot on the segment, x-y only
        {Point(0, 0), Point(10, 0), Point(4, 3, 7), 3.0},  // z ignored beside the segment
        {Point(0, 0), Point(10, 0), Point(-3, 4), 5.0},    // before a: distance to a
        {Point(0, 0), Point(10, 0), Point(13, 0, 4), 5.0}, // beyond b: 3D distance to b
        {Point(2, 2), Point(2, 2), Point(2, 5, 4), 5.0},   // zero length: 3D distance to a
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(DistanceToSegment(c.a, c.b, c.p), c.expected);
}

TEST(GeometryTest, CounterClockwise) {
    Polygon rect = Rect(0, 0, 10, 5);
    EXPECT_TRUE(IsPolygonCounterClockwise(rect));
    ReversePolygon(rect);
    EXPECT_FALSE(IsPolygonCounterClockwise(rect));
    EXPECT_EQ(rect[0], Point(0, 5));

    // A straight vertex in the middle of the bottom edge: the lowest vertex with the largest x is
    // the true corner (10, 0).
    Polygon extra = {Point(0, 0), Point(5, 0), Point(10, 0), Point(10, 5), Point(0, 5)};
    EXPECT_TRUE(IsPolygonCounterClockwise(extra));
    Polygon reversed(extra.rbegin(), extra.rend());
    EXPECT_FALSE(IsPolygonCounterClockwise(reversed));

    EXPECT_FALSE(IsPolygonCounterClockwise({Point(0, 0), Point(1, 0)}));
    EXPECT_FALSE(IsPolygonCounterClockwise({}));
}

TEST(GeometryTest, AreaByTriangulation) {
    RecordingMessageBoxes boxes;
    LogRecorder log;
    Polygon clockwise = Rect(0, 0, 10, 5);
    ReversePolygon(clockwise);
    struct Case {
        const char* name;
        Polygon polygon;
        double area;
    } cases[] = {
        {"clockwise 10 x 5", clockwise, 50.0},
        {"L shape", {Point(0, 0), Point(6, 0), Point(6, 2), Point(2, 2), Point(2, 5), Point(0, 5)}, 18.0},
        {"three collinear", {Point(0, 0), Point(1, 0), Point(2, 0)}, 0.0},
        {"two vertices", {Point(0, 0), Point(1, 1)}, 0.0},
        // A reflex vertex beside the lowest corner of the ear at the leftmost vertex: cutting that
        // ear would count 40 m2 outside the outline.
        {"hidden reflex vertex", {Point(0, 0), Point(10, 2), Point(5, 1.5), Point(10, 10)}, 20.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(CalcPolygonArea(c.polygon), c.area, 1e-12) << c.name;
    EXPECT_FALSE(log.Contains("Triangulate failed"));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST(GeometryTest, AreaWhereTriangulationFailsIsTheOutlineArea) {
    struct Case {
        const char* name;
        Polygon polygon;
        double area;
        const char* alert; // expected box, or null
    } cases[] = {
        // Regular n-gon of radius 10: n/2 r^2 sin(2 pi / n).
        {"159 vertices", RegularPolygon(159, 10.0), 159 / 2.0 * 100 * std::sin(2 * kPi / 159),
         "Polygon too complex to triangulate, 159 points\n"},
        // Every triangle is degenerate and dropped.
        {"four collinear", {Point(0, 0), Point(1, 0), Point(2, 0), Point(3, 0)}, 0.0, nullptr},
    };
    for (const Case& c : cases) {
        RecordingMessageBoxes boxes;
        LogRecorder log;
        EXPECT_NEAR(CalcPolygonArea(c.polygon), c.area, 1e-9) << c.name;
        EXPECT_EQ(log.Count("CalcPolygonArea Triangulate failed"), 1) << c.name;
        if (c.alert) {
            ASSERT_EQ(boxes.boxes.size(), 1u) << c.name;
            EXPECT_EQ(boxes.boxes[0].text, c.alert);
        } else {
            EXPECT_TRUE(boxes.boxes.empty()) << c.name;
        }
    }

    // 158 vertices is still triangulated.
    RecordingMessageBoxes boxes;
    LogRecorder log;
    EXPECT_EQ(Triangulate(RegularPolygon(158, 10.0).data(), 158).size(), 156u);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST(GeometryTest, TriangulateSmallCases) {
    Polygon tri = {Point(0, 0), Point(0, 0), Point(0, 0)};
    auto t = Triangulate(tri.data(), 3); // three points: one triangle, unchecked
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].a, 0);
    EXPECT_EQ(t[0].b, 1);
    EXPECT_EQ(t[0].c, 2);
    EXPECT_TRUE(Triangulate(tri.data(), 2).empty());
    EXPECT_TRUE(Triangulate(nullptr, 5).empty());
}

TEST(GeometryTest, SegmentsCrossAndIntersection) {
    struct Case {
        const char* name;
        Point p, q, a, b;
        bool cross;
    } cases[] = {
        {"X", Point(0, 0), Point(10, 10), Point(0, 10), Point(10, 0), true},
        {"parallel", Point(0, 0), Point(10, 0), Point(0, 1), Point(10, 1), false},
        {"apart", Point(0, 0), Point(1, 1), Point(5, 0), Point(6, -3), false},
        {"collinear overlap", Point(0, 0), Point(10, 0), Point(5, 0), Point(15, 0), false},
        // An end point on the other segment counts as right of it (-1): a T from the left side
        // crosses, the same T from the right side does not.
        {"T from left", Point(0, 0), Point(10, 0), Point(5, 0), Point(5, 5), true},
        {"T from right", Point(0, 0), Point(10, 0), Point(5, 0), Point(5, -5), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SegmentsCross(c.p, c.q, c.a, c.b), c.cross) << c.name;

    Point x;
    ASSERT_TRUE(GetSegmentIntersection(Point(0, 0, 0), Point(10, 10, 4), Point(0, 10), Point(10, 0), x));
    EXPECT_DOUBLE_EQ(x.x, 5.0);
    EXPECT_DOUBLE_EQ(x.y, 5.0);
    EXPECT_DOUBLE_EQ(x.z, 2.0);
    EXPECT_FALSE(GetSegmentIntersection(Point(0, 0), Point(10, 0), Point(0, 1), Point(10, 1), x));
}

TEST(GeometryTest, PointInPolygonOnTheOutline) {
    // Ties count as "right of the line": of the counter-clockwise square only the bottom edge is
    // inside, and a ray along the bottom or top edge is not fooled by the corners it touches.
    const Polygon square = Rect(0, 0, 10, 10);
    struct Case {
        Point p;
        bool inside;
    } cases[] = {
        {Point(5, 5), true}, {Point(15, 5), false}, {Point(0, 5), false},  {Point(10, 5), false},
        {Point(5, 0), true}, {Point(5, 10), false}, {Point(-5, 0), false}, {Point(-5, 10), false},
    };
    for (const Case& c : cases)
        for (int repeat = 0; repeat < 3; ++repeat)
            EXPECT_EQ(IsPointInPolygon(square, c.p), c.inside) << c.p.x << " " << c.p.y;
    EXPECT_FALSE(IsPointInPolygon({}, Point(0, 0)));
}

TEST(GeometryTest, NearestPointOnPolygon) {
    const Polygon square = Rect(0, 0, 10, 10);
    struct Case {
        Point p;
        double distance;
        Point nearest;
        int i1, i2;
    } cases[] = {
        {Point(4, -3), 3.0, Point(4, 0), 0, 1},    // foot on edge 0
        {Point(13, 14), 5.0, Point(10, 10), 2, 2}, // beyond a corner: the vertex
        {Point(5, 5), 5.0, Point(5, 0), 0, 1},     // centre: all edges tie, the first wins
        {Point(10, 5), 0.0, Point(10, 5), 1, 2},   // on edge 1
    };
    for (const Case& c : cases) {
        NearestPoint n = GetNearestPointOnPolygon(square, c.p);
        EXPECT_DOUBLE_EQ(n.distance, c.distance);
        EXPECT_EQ(n.point, c.nearest);
        EXPECT_EQ(n.index1, c.i1);
        EXPECT_EQ(n.index2, c.i2);
    }
    NearestPoint none = GetNearestPointOnPolygon({}, Point(1, 1));
    EXPECT_EQ(none.distance, 1e100);
}

TEST(GeometryTest, PolygonsOverlap) {
    const Polygon room = Rect(0, 0, 10, 5);
    struct Case {
        const char* name;
        Polygon other;
        bool overlap;
    } cases[] = {
        {"neighbour sharing a wall", Rect(10, 0, 20, 5), false},
        {"neighbour overlapping by 0.03", Rect(9.97, 0, 20, 5), false},
        {"neighbour overlapping by 0.1", Rect(9.9, 0, 20, 5), true},
        {"contained", Rect(2, 1, 4, 3), true},
        {"containing", Rect(-1, -1, 11, 6), true},
        {"identical copy", Rect(0, 0, 10, 5), true},
        {"cross through the middle", Rect(4, -2, 6, 7), true},
        {"apart", Rect(20, 20, 30, 30), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PolygonsOverlap(room, c.other, kContainmentTolerance), c.overlap) << c.name;
        EXPECT_EQ(PolygonsOverlap(c.other, room, kContainmentTolerance), c.overlap) << c.name << " swapped";
    }
    EXPECT_TRUE(PolygonsOverlap(room, room, kContainmentTolerance));
    EXPECT_TRUE(HasVertexInside(Rect(2, 1, 4, 3), room, kContainmentTolerance));
    EXPECT_FALSE(HasVertexInside(room, Rect(2, 1, 4, 3), kContainmentTolerance));
}

TEST(GeometryTest, OutlineInsideAnLShapedOutline) {
    // The notch is x > 4, y > 4; (4, 4) is the reflex corner.
    const Polygon room = {Point(0, 0), Point(10, 0), Point(10, 4), Point(4, 4), Point(4, 10), Point(0, 10)};
    struct Case {
        const char* name;
        Polygon zone;
        bool inside;
    } cases[] = {
        {"the room itself", room, true},
        {"a rectangle in one arm", Rect(1, 1, 9, 3), true},
        {"a side across the notch, every corner inside", {Point(2, 2), Point(8, 2), Point(3, 8)}, false},
        {"a side touching the reflex corner", {Point(0, 0), Point(8, 0), Point(0, 8)}, true},
        {"a side cutting off the reflex corner", {Point(0, 0), Point(9, 0), Point(0, 9)}, false},
        {"a corner in the notch", Rect(1, 1, 6, 6), false},
        {"a side along the wall, 1 cm outside", Rect(-0.01, 1, 3, 9), true},
        {"a side 10 cm outside", Rect(-0.1, 1, 3, 9), false},
        {"around the room", Rect(-1, -1, 11, 11), false},
        {"two corners", {Point(1, 1), Point(2, 2)}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPolygonInsidePolygon(c.zone, room, kContainmentTolerance), c.inside) << c.name;
    // One side alone, as drawing checks it corner by corner.
    EXPECT_TRUE(IsSegmentInsidePolygon(Point(1, 9), Point(1, 1), room, kContainmentTolerance));
    EXPECT_FALSE(IsSegmentInsidePolygon(Point(3, 9), Point(9, 3), room, kContainmentTolerance));
    EXPECT_TRUE(IsSegmentInsidePolygon(Point(4, 9), Point(4, 4), room, kContainmentTolerance));
}

TEST(GeometryTest, OutlinesOverlapBySidesNotOnlyByCorners) {
    const Polygon b = Rect(12, 0, 16, 6);
    struct Case {
        const char* name;
        Polygon a;
        bool overlap;
    } cases[] = {
        {"a corner pushed across the wall, on the wall's line", {Point(0, 0), Point(13, 0), Point(10, 6), Point(0, 6)}, true},
        {"touching along a wall", Rect(8, 0, 12, 6), false},
        {"touching at a corner", Rect(8, 6, 12, 9), false},
        {"apart", Rect(0, 0, 10, 6), false},
        {"the same outline", b, true},
        {"a cross through it, no corner inside", {Point(13, -1), Point(15, -1), Point(15, 7), Point(13, 7)}, true},
        {"inside it", Rect(13, 1, 14, 2), true},
        {"around it", Rect(10, -1, 18, 8), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OutlinesOverlap(c.a, b, kContainmentTolerance), c.overlap) << c.name;
        EXPECT_EQ(OutlinesOverlap(b, c.a, kContainmentTolerance), c.overlap) << c.name << " (swapped)";
    }
}

TEST(GeometryTest, CentroidAndBoundingBox) {
    Polygon p = {Point(0, 0, 1, 2), Point(4, 0, 3, 2), Point(4, 2, 5, 2), Point(0, 2, 3, 2)};
    EXPECT_EQ(GetPolygonCentroid(p), Point(2, 1, 3, 2));
    Point lo, hi;
    GetPolygonBoundingBox(p, lo, hi);
    EXPECT_EQ(lo, Point(0, 0, 0, 0));
    EXPECT_EQ(hi, Point(4, 2, 0, 0));
    EXPECT_EQ(GetPolygonCentroid({}), Point());
    lo = hi = Point(9, 9, 9, 9);
    GetPolygonBoundingBox({}, lo, hi);
    EXPECT_EQ(lo, Point());
    EXPECT_EQ(hi, Point());
}

TEST(GeometryTest, GridSnap) {
    LogRecorder log;
    CSnapPointList list;
    list.m_iFlags = CSnapPointList::SNAP_GRID;
    list.m_dGridSpacing = 0.5;
    struct Case {
        double v, snapped;
    } cases[] = {{1.25, 1.5}, {-1.25, -1.0}, {1.24, 1.0}, {-1.26, -1.5},
                 {0.0, 0.0},  {0.74, 0.5},   {-0.2, 0.0}};
    for (const Case& c : cases) {
        Point s = Snap(list, Point(c.v, c.v, 3.0, 4.0), 1.0);
        EXPECT_DOUBLE_EQ(s.x, c.snapped) << c.v;
        EXPECT_DOUBLE_EQ(s.y, c.snapped) << c.v;
        EXPECT_EQ(s.z, 0.0);
        EXPECT_EQ(s.w, 0.0);
    }
    EXPECT_TRUE(log.Contains("Grid snapped coords are 1.50 1.50"));

    // A spacing that is no positive number leaves the point where it is.
    list.m_dGridSpacing = 0.0;
    EXPECT_EQ(Snap(list, Point(1.3, 2.7), 1.0), Point(1.3, 2.7));
}

TEST(GeometryTest, ObjectSnap) {
    CSnapPointList list;
    list.m_iFlags = CSnapPointList::SNAP_OBJECT | CSnapPointList::SNAP_GRID;
    const Point p(5, 5);
    EXPECT_EQ(Snap(list, p, 1.0), p); // empty list: unchanged, and no grid snap either

    list.AddPoint(Point(6, 5, 1, 0));  // distance 1, the first of a tie
    list.AddPoint(Point(4, 5, 2, 0));  // distance 1
    list.AddPoint(Point(5.9, 5.9, 3)); // in the search box but farther (1.27)
    EXPECT_EQ(Snap(list, p, 1.0), Point(6, 5, 1, 0));
    EXPECT_EQ(Snap(list, Point(20, 20), 1.0), Point(20, 20)); // nothing near: unchanged

    list.AddPoint(Point(5.5, 4.6, 9)); // now the nearest
    EXPECT_EQ(Snap(list, p, 1.0), Point(5.5, 4.6, 9));
    // The search box is square: a point 0.9 away along both axes qualifies, 1.1 along one does not.
    CSnapPointList box;
    box.m_iFlags = CSnapPointList::SNAP_OBJECT;
    box.AddPoint(Point(6.1, 5.0));
    box.AddPoint(Point(5.9, 5.9));
    EXPECT_EQ(Snap(box, p, 1.0), Point(5.9, 5.9));

    CSnapPointList off; // neither snap
    EXPECT_EQ(Snap(off, Point(1.26, 3.3, 1, 1), 1.0), Point(1.26, 3.3, 1, 1));
}

TEST(GeometryTest, MatrixConvention) {
    // Rotate 90 degrees, then move by (10, 0): the product applies its right factor first.
    Matrix4 m = MultiplyMatrix(TranslationMatrix(10, 0, 0), RotationZMatrix(kPi / 2));
    Point p = TransformPoint(m, Point(1, 0, 5, 0));
    EXPECT_NEAR(p.x, 10.0, 1e-12);
    EXPECT_NEAR(p.y, 1.0, 1e-12);
    EXPECT_EQ(p.z, 5.0);
    EXPECT_TRUE(IsIdentityMatrix(Matrix4()));
    EXPECT_FALSE(IsIdentityMatrix(m));
}

} // namespace
