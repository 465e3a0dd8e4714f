#include "dxf/DxfPline.h"
#include "dxf/Geometry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

CDxfPline MakePline(std::initializer_list<Point> points, bool closed = false) {
    CDxfPline p;
    for (const Point& v : points)
        p.AddVertex(v);
    p.m_bClosed = closed;
    return p;
}

TEST(DxfPlineTest, StartAndEndPoints) {
    CDxfPline open = MakePline({Point(0, 0), Point(5, 0), Point(5, 5)});
    EXPECT_EQ(open.GetStartPoint(), Point(0, 0));
    EXPECT_EQ(open.GetEndPoint(), Point(5, 5));
    CDxfPline closed = MakePline({Point(0, 0), Point(5, 0), Point(5, 5)}, true);
    EXPECT_EQ(closed.GetEndPoint(), Point(0, 0));

    RecordingMessageBoxes boxes;
    LogRecorder log;
    CDxfPline empty;
    EXPECT_EQ(empty.GetStartPoint(), Point());
    EXPECT_EQ(empty.GetEndPoint(), Point());
    EXPECT_EQ(log.Count("GetStartPoint on empty polyline", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("GetEndPoint on empty polyline", LOG_ERROR), 1);
}

TEST(DxfPlineTest, VertexAccessOutOfRangeGivesTheFirst) {
    LogRecorder log;
    CDxfPline p;
    p.AddVertex(Point(1, 2), 0.5, 0.25);
    p.AddVertex(Point(3, 4), 0.0, 0.0);
    EXPECT_EQ(p.GetVertexAt(5), Point(1, 2));
    EXPECT_EQ(p.GetWidthAt(-1), 0.25);
    EXPECT_EQ(p.GetBulgeAt(2), 0.0);
    EXPECT_EQ(p.GetBulgeAt(0), 0.5);
    EXPECT_TRUE(log.Contains("GetVertexAt index out of range error:5"));
    EXPECT_TRUE(log.Contains("GetWidthAt index out of range error:-1"));
    EXPECT_TRUE(log.Contains("GetBulgeAt index out of range error:2"));
}

TEST(DxfPlineTest, RemoveDuplicateVerticesLooksAtEveryEarlierVertex) {
    // A' repeats A two vertices later and still goes.
    CDxfPline p = MakePline({Point(0, 0), Point(5, 0), Point(0.005, 0.005), Point(5, 5), Point(5, 5.02)});
    p.RemoveDuplicateVertices(0.01);
    ASSERT_EQ(p.GetVertexCount(), 4);
    EXPECT_EQ(p.GetVertexAt(2), Point(5, 5));
    EXPECT_EQ(p.GetVertexAt(3), Point(5, 5.02));

    // 3D distance: a vertex right above another is not a duplicate.
    CDxfPline q = MakePline({Point(0, 0, 0), Point(0, 0, 1)});
    q.RemoveDuplicateVertices(0.01);
    EXPECT_EQ(q.GetVertexCount(), 2);
}

TEST(DxfPlineTest, SelfIntersection) {
    struct Case {
        const char* name;
        CDxfPline pline;
        bool crossing;
    } cases[] = {
        {"bow-tie crossing in edges 0 and 2",
         MakePline({Point(0, 0), Point(10, 10), Point(10, 0), Point(0, 10)}), true},
        {"crossing only with the closing edge",
         MakePline({Point(0, 0), Point(10, 0), Point(0, 10), Point(10, 10)}), false},
        {"square", MakePline({Point(0, 0), Point(10, 0), Point(10, 10), Point(0, 10)}), false},
        {"triangle", MakePline({Point(0, 0), Point(10, 10), Point(10, 0)}), false},
        {"square closed by repeating its first vertex",
         MakePline({Point(0, 0), Point(10, 0), Point(10, 10), Point(0, 10), Point(0, 0)}), false},
        {"later edge crossing the first",
         MakePline({Point(0, 0), Point(10, 0), Point(10, 5), Point(5, 5), Point(5, -5)}), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.pline.IsSelfIntersecting(), c.crossing) << c.name;
}

TEST(DxfPlineTest, BulgeArcPoints) {
    const double s = std::sqrt(0.5);
    struct Case {
        const char* name;
        Point p, q;
        double bulge;
        Point middle; // point 9 of 19
    } cases[] = {
        {"quarter counter-clockwise about the origin", Point(1, 0), Point(0, 1), std::tan(3.14159265359 / 8),
         Point(s, s)},
        {"quarter clockwise about (1, 1)", Point(1, 0), Point(0, 1), -std::tan(3.14159265359 / 8),
         Point(1 - s, 1 - s)},
        {"half circle below the chord", Point(0, 0), Point(2, 0), 1.0, Point(1, -1)},
        {"three quarters, the long way round", Point(1, 0), Point(0, 1), -std::tan(3 * 3.14159265359 / 8),
         Point(-s, -s)},
    };
    for (const Case& c : cases) {
        Point out[19];
        CDxfPline::GetBulgeArcPoints(c.p, c.q, c.bulge, Matrix4(), out);
        EXPECT_NEAR(out[0].x, c.p.x, 1e-9) << c.name;
        EXPECT_NEAR(out[0].y, c.p.y, 1e-9) << c.name;
        EXPECT_NEAR(out[18].x, c.q.x, 1e-9) << c.name;
        EXPECT_NEAR(out[18].y, c.q.y, 1e-9) << c.name;
        EXPECT_NEAR(out[9].x, c.middle.x, 1e-9) << c.name;
        EXPECT_NEAR(out[9].y, c.middle.y, 1e-9) << c.name;
    }
}

TEST(DxfPlineTest, ExtentsFollowArcSegments) {
    CDxfPline p;
    p.AddVertex(Point(0, 0), 1.0); // half circle down to y = -1
    p.AddVertex(Point(2, 0));
    p.AddVertex(Point(2, 3), 1.0); // the last vertex's bulge makes no arc
    Point lo, hi;
    ASSERT_TRUE(p.GetExtents(lo, hi, Matrix4()));
    EXPECT_NEAR(lo.y, -1.0, 1e-9);
    EXPECT_NEAR(hi.x, 2.0, 1e-9);
    EXPECT_NEAR(hi.y, 3.0, 1e-9);

    ASSERT_TRUE(p.GetExtents(lo, hi, TranslationMatrix(10, 20, 0)));
    EXPECT_NEAR(lo.x, 10.0, 1e-9);
    EXPECT_NEAR(lo.y, 19.0, 1e-9);

    CDxfPline empty;
    EXPECT_FALSE(empty.GetExtents(lo, hi, Matrix4()));
    EXPECT_FALSE(empty.IsInBox(Point(-1e9, -1e9), Point(1e9, 1e9)));
    EXPECT_TRUE(p.IsInBox(Point(1, -0.5), Point(1.5, -0.2)));
    EXPECT_FALSE(p.IsInBox(Point(3, 0), Point(4, 1)));
}

TEST(DxfPlineTest, DistanceIncludesTheClosingSegment) {
    CDxfPline open = MakePline({Point(0, 0), Point(10, 0), Point(10, 10)});
    EXPECT_DOUBLE_EQ(open.DistanceTo(Point(4, 6)), std::sqrt(2.0)); // to the segment (10,10)-(0,0)
    EXPECT_DOUBLE_EQ(open.DistanceTo(Point(5, -1)), 1.0);
    EXPECT_EQ(CDxfPline().DistanceTo(Point(0, 0)), 1e32);
}

TEST(DxfPlineTest, MirroredCopyTurnsArcsRound) {
    CDxfPline p;
    p.AddVertex(Point(1, 0, 0, 7), 0.5);
    p.AddVertex(Point(3, 0));
    auto copy = p.GetTransformedCopy(ScalingMatrix(-1, 1, 1));
    const auto& mirrored = static_cast<const CDxfPline&>(*copy);
    EXPECT_EQ(mirrored.GetVertexAt(0), Point(-1, 0, 0, 0));
    EXPECT_EQ(mirrored.GetBulgeAt(0), -0.5);
    // Both arcs bulge to the same side (down) of the x axis.
    Point a[19], b[19];
    CDxfPline::GetBulgeArcPoints(p.GetVertexAt(0), p.GetVertexAt(1), 0.5, Matrix4(), a);
    CDxfPline::GetBulgeArcPoints(mirrored.GetVertexAt(0), mirrored.GetVertexAt(1), -0.5, Matrix4(), b);
    EXPECT_NEAR(a[9].y, b[9].y, 1e-12);
    EXPECT_NEAR(a[9].x, -b[9].x, 1e-12);
}

TEST(DxfPlineTest, PolygonFromPolyline) {
    LogRecorder log;
    struct Case {
        const char* name;
        CDxfPline pline;
        Polygon polygon;
    } cases[] = {
        {"clockwise 10 x 5 becomes counter-clockwise",
         MakePline({Point(0, 0), Point(0, 5), Point(10, 5), Point(10, 0)}),
         {Point(10, 0), Point(10, 5), Point(0, 5), Point(0, 0)}},
        {"repeated last vertex dropped",
         MakePline({Point(0, 0), Point(10, 0), Point(10, 5), Point(0, 5), Point(0.01, 0)}),
         {Point(0, 0), Point(10, 0), Point(10, 5), Point(0, 5)}},
        {"extra vertex on the bottom edge kept",
         MakePline({Point(0, 0), Point(5, 0), Point(10, 0), Point(10, 5), Point(0, 5)}),
         {Point(0, 0), Point(5, 0), Point(10, 0), Point(10, 5), Point(0, 5)}},
        {"two vertices", MakePline({Point(0, 0), Point(1, 0)}), {}},
    };
    for (const Case& c : cases) {
        Polygon polygon = {Point(99, 99)};
        InitPolygonFromDxfPline(polygon, &c.pline);
        EXPECT_EQ(polygon, c.polygon) << c.name;
    }
    EXPECT_TRUE(log.Contains("InitPolygonFromDxfPline with only 2 vertices"));

    Polygon polygon;
    InitPolygonFromDxfPline(polygon, &cases[0].pline);
    EXPECT_DOUBLE_EQ(CalcPolygonArea(polygon), 50.0);
    InitPolygonFromDxfPline(polygon, nullptr);
    EXPECT_TRUE(polygon.empty());
    EXPECT_TRUE(log.Contains("InitPolygonFromDxfPline with null pline"));
}

} // namespace
