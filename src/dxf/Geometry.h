#pragma once

#include <cstddef>
#include <cstdint>
// Plane geometry shared by the model, the calculation and the editor. All work is in the x-y
// plane; z and w are carried along and ignored unless stated.

#include "dxf/Point.h"

#include <vector>

class CDxfPline;
class CDxfEntity;

// Transforms (see Matrix4 for the convention).
// w is carried along. Inline: drawing a plan maps every point of it.
inline Point TransformPoint(const Matrix4& m, const Point& p) {
    return Point(m.m[0][0] * p.x + m.m[0][1] * p.y + m.m[0][2] * p.z + m.m[0][3],
                 m.m[1][0] * p.x + m.m[1][1] * p.y + m.m[1][2] * p.z + m.m[1][3],
                 m.m[2][0] * p.x + m.m[2][1] * p.y + m.m[2][2] * p.z + m.m[2][3], p.w);
}
Matrix4 MultiplyMatrix(const Matrix4& a, const Matrix4& b); // a x b: b is applied first
bool IsIdentityMatrix(const Matrix4& m);
Matrix4 TranslationMatrix(double x, double y, double z);
Matrix4 ScalingMatrix(double sx, double sy, double sz);
Matrix4 RotationZMatrix(double radians);

double Distance2D(const Point& a, const Point& b);
double Distance3D(const Point& a, const Point& b);
double DistanceToSegment(const Point& a, const Point& b, const Point& p);

void InitPolygonFromDxfPline(Polygon& polygon, const CDxfPline* pline);
bool IsPolygonCounterClockwise(const Polygon& polygon);
void ReversePolygon(Polygon& polygon);
// Area by triangulation; where the triangulation fails, the exact area of the simple polygon.
double CalcPolygonArea(const Polygon& polygon);
// The area CalcPolygonArea gives when the triangulation succeeds; false (nothing reported) when it
// gives up.
bool CalcTriangulatedArea(const Polygon& polygon, double& area);
// Exact area of a simple polygon by the shoelace formula (positive whatever the orientation).
double CalcShoelaceArea(const Polygon& polygon);

struct Triangle {
    int a, b, c;
};
// At most count - 2 triangles of vertex indexes; empty when the triangulation fails.
std::vector<Triangle> Triangulate(const Point* points, int count);

bool IsPointInPolygon(const Polygon& polygon, const Point& p);
bool SegmentsCross(const Point& p, const Point& q, const Point& a, const Point& b);
bool GetSegmentIntersection(const Point& p, const Point& q, const Point& a, const Point& b, Point& crossing);

struct NearestPoint {
    double distance = 1e100;
    Point point;
    int index1 = -1; // equal indexes: the nearest point is a vertex
    int index2 = -1;
};
NearestPoint GetNearestPointOnPolygon(const Polygon& polygon, const Point& p);

bool HasVertexInside(const Polygon& a, const Polygon& b, double tolerance);
// Whether every point of the segment a-b lies inside the outline or within tolerance of its
// boundary. The segment is cut where it meets the outline's walls and where a corner of the
// outline comes within tolerance of it, and each piece is tested: a side that leaves an L-shaped
// outline across its notch and comes back is outside though both its ends are inside.
bool IsSegmentInsidePolygon(const Point& a, const Point& b, const Polygon& outline, double tolerance);
// Whether a piece of a side of A lies inside B farther than tolerance from B's walls, or the
// other way round, or one covers the other: outlines that touch along a wall do not overlap,
// a corner pushed into the neighbour's room does, though no corner of either lies in the other.
bool OutlinesOverlap(const Polygon& a, const Polygon& b, double tolerance);
// The same for every side of a closed outline of at least 3 corners (false for fewer).
bool IsPolygonInsidePolygon(const Polygon& inner, const Polygon& outer, double tolerance);
bool PolygonsOverlap(const Polygon& a, const Polygon& b, double tolerance);
Point GetPolygonCentroid(const Polygon& polygon);
void GetPolygonBoundingBox(const Polygon& polygon, Point& min, Point& max);

// Snapping of picked points to the drawing's points or to a grid; one list per drawing.
class CSnapPointList {
  public:
    enum { SNAP_OBJECT = 1, SNAP_GRID = 2 };
    std::vector<Point> m_Points;
    int m_iFlags = 0;
    double m_dGridSpacing = 1.0;

    // At most this many points: inserts may repeat a block millions of times over, and points
    // beyond what the file itself holds would only fill memory.
    size_t m_Limit = SIZE_MAX;

    void Clear() { m_Points.clear(); }
    bool IsFull() const { return m_Points.size() >= m_Limit; }
    void AddPoint(const Point& p) {
        if (!IsFull()) m_Points.push_back(p);
    }
};

// Object snap when it is on (the nearest of the list's points within tolerance, or p), otherwise
// grid snap when it is on, otherwise p.
Point Snap(const CSnapPointList& list, const Point& p, double tolerance);
// The nearest of the list's points within tolerance of p, whatever the flags; false when none is.
bool SnapToListPoint(const CSnapPointList& list, const Point& p, double tolerance, Point& snapped);
// The nearest grid point of the list's spacing; false (p unchanged) for a spacing that is no
// positive number.
bool SnapToGridPoint(const CSnapPointList& list, const Point& p, Point& snapped);
void AddSnapPoints(CSnapPointList& list, const CDxfEntity* entity, const Matrix4& matrix);
