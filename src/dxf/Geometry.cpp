#include "dxf/Geometry.h"

#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "dxf/DxfBlock.h"
#include "dxf/DxfInsert.h"
#include "dxf/DxfLine.h"
#include "dxf/DxfPline.h"

#include <algorithm>
#include <cmath>

namespace {

// A crossing ray for parity tests ends far outside any floor plan.
constexpr double kFarX = 100000000.0;
constexpr double kTinyCross = 2.2250738585072014e-305;
constexpr int kMaxTriangulatePoints = 158;
constexpr double kDegenerateTriangle = 1e-4;

double Cross2D(const Point& o, const Point& a, const Point& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// +1 when r lies strictly left of s->t; a point on the line counts as -1.
int Side(const Point& s, const Point& t, const Point& r) {
    return (r.y - s.y) * (t.x - s.x) > (r.x - s.x) * (t.y - s.y) ? 1 : -1;
}

// Distance from r to the infinite line through p and q (to p when they coincide).
double DistanceToLine(const Point& p, const Point& q, const Point& r) {
    double len = Distance2D(p, q);
    if (len == 0.0) return Distance2D(p, r);
    return std::fabs(Cross2D(p, q, r)) / len;
}

bool IsInsideTriangle(const Point& u, const Point& v, const Point& w, const Point& p) {
    Point far(kFarX, p.y);
    int crossings = 0;
    if (SegmentsCross(p, far, u, v)) ++crossings;
    if (SegmentsCross(p, far, v, w)) ++crossings;
    if (SegmentsCross(p, far, w, u)) ++crossings;
    return (crossings & 1) != 0;
}

// Whether a triangle is counter-clockwise. (Comparing only the y of the neighbours of the leftmost
// corner misjudges thin triangles.)
bool TriangleWinding(const Point* pts, const Triangle& t) {
    return Cross2D(pts[t.a], pts[t.b], pts[t.c]) > 0.0;
}

double SnapToGrid(double v, double g) {
    double r = std::fmod(v, g);
    if (v >= 0) return r < g - r ? v - r : v + (g - r);
    return std::fabs(r) <= std::fabs(g + r) ? v - r : v - (g + r);
}

} // namespace

Matrix4 MultiplyMatrix(const Matrix4& a, const Matrix4& b) {
    Matrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double s = 0.0;
            for (int k = 0; k < 4; ++k)
                s += a.m[i][k] * b.m[k][j];
            r.m[i][j] = s;
        }
    return r;
}

bool IsIdentityMatrix(const Matrix4& m) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (m.m[i][j] != (i == j ? 1.0 : 0.0)) return false;
    return true;
}

Matrix4 TranslationMatrix(double x, double y, double z) {
    Matrix4 m;
    m.m[0][3] = x;
    m.m[1][3] = y;
    m.m[2][3] = z;
    return m;
}

Matrix4 ScalingMatrix(double sx, double sy, double sz) {
    Matrix4 m;
    m.m[0][0] = sx;
    m.m[1][1] = sy;
    m.m[2][2] = sz;
    return m;
}

Matrix4 RotationZMatrix(double radians) {
    Matrix4 m;
    double c = std::cos(radians), s = std::sin(radians);
    m.m[0][0] = c;
    m.m[0][1] = -s;
    m.m[1][0] = s;
    m.m[1][1] = c;
    return m;
}

double Distance2D(const Point& a, const Point& b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

double Distance3D(const Point& a, const Point& b) {
    double dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double DistanceToSegment(const Point& a, const Point& b, const Point& p) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double len2 = dx * dx + dy * dy;
    if (len2 > 0.0) {
        double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2;
        if (t < 0.0) return Distance3D(a, p);
        if (t > 1.0) return Distance3D(b, p);
        return Distance2D(Point(a.x + t * dx, a.y + t * dy), p);
    }
    return Distance3D(a, p);
}

bool IsPolygonCounterClockwise(const Polygon& polygon) {
    const int n = static_cast<int>(polygon.size());
    if (n < 3) return false;
    // Note: the lowest vertex with the largest x is always a true corner, even when a straight
    // vertex lies on the bottom edge.
    int k = 0;
    for (int i = 1; i < n; ++i) {
        const Point& v = polygon[i];
        if (v.y < polygon[k].y || (v.y == polygon[k].y && v.x > polygon[k].x)) k = i;
    }
    const Point& p = polygon[(k + n - 1) % n];
    const Point& v = polygon[k];
    const Point& q = polygon[(k + 1) % n];
    double cross = (v.x - p.x) * (q.y - v.y) - (v.y - p.y) * (q.x - v.x);
    return cross > 0.0;
}

void ReversePolygon(Polygon& polygon) {
    std::reverse(polygon.begin(), polygon.end());
}

double CalcShoelaceArea(const Polygon& polygon) {
    const size_t n = polygon.size();
    if (n < 3) return 0.0;
    double twice = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const Point& a = polygon[i];
        const Point& b = polygon[(i + 1) % n];
        twice += a.x * b.y - b.x * a.y;
    }
    return std::fabs(twice) / 2.0;
}

bool CalcTriangulatedArea(const Polygon& polygon, double& area) {
    area = 0.0;
    if (polygon.size() < 3) return true;
    Polygon pts(polygon);
    std::vector<Triangle> triangles = Triangulate(pts.data(), static_cast<int>(pts.size()));
    if (triangles.empty()) return false;
    for (const Triangle& t : triangles)
        area += std::fabs(Cross2D(pts[t.a], pts[t.b], pts[t.c])) / 2.0;
    return true;
}

double CalcPolygonArea(const Polygon& polygon) {
    double area = 0.0;
    if (CalcTriangulatedArea(polygon, area)) return area;
    // The triangulation gives up on large or degenerate outlines; the area still goes into
    // the energy figures, so it comes from the outline itself.
    Log().Printf(LOG_INFO, "CalcPolygonArea Triangulate failed");
    return CalcShoelaceArea(polygon);
}

std::vector<Triangle> Triangulate(const Point* points, int count) {
    std::vector<Triangle> result;
    if (!points || count < 3) return result;
    if (count == 3) {
        result.push_back({0, 1, 2});
        return result;
    }
    if (count > kMaxTriangulatePoints) {
        AlertBox("Polygon too complex to triangulate, %d points\n", count);
        return result;
    }

    // Recursive splitting at the leftmost vertex, on index lists kept on an explicit stack.
    std::vector<std::vector<int>> stack;
    stack.emplace_back(count);
    for (int i = 0; i < count; ++i)
        stack.back()[i] = i;

    std::vector<int> partA, partB;
    while (!stack.empty()) {
        std::vector<int> list = std::move(stack.back());
        stack.pop_back();
        const int m = static_cast<int>(list.size());

        int iv = 0;
        for (int i = 1; i < m; ++i)
            if (points[list[i]].x < points[list[iv]].x) iv = i;
        const int iu = (iv + m - 1) % m;
        const int iw = (iv + 1) % m;
        const Point& u = points[list[iu]];
        const Point& v = points[list[iv]];
        const Point& w = points[list[iw]];
        // Only a vertex within the ear's height can lie inside it. The ear spans the y of all three
        // corners: bounding by the neighbours alone would miss vertices beside v when v is the
        // highest or lowest corner, and cut an ear that overlaps the rest of the polygon.
        const double ylo = std::min({u.y, v.y, w.y});
        const double yhi = std::max({u.y, v.y, w.y});

        int ic = -1;
        for (int i = 0; i < m; ++i) {
            if (i == iu || i == iv || i == iw) continue;
            const Point& c = points[list[i]];
            if (!(c.y > ylo && c.y < yhi)) continue;
            if (!IsInsideTriangle(u, v, w, c)) continue;
            if (ic < 0 || c.x < points[list[ic]].x) ic = i;
        }

        partA.clear();
        partB.clear();
        if (ic < 0) {
            partA = {list[iv], list[iu], list[iw]};
            for (int i = 0; i < m; ++i)
                if (i != iv) partB.push_back(list[i]);
        } else {
            for (int i = iv;; i = (i + 1) % m) {
                partA.push_back(list[i]);
                if (i == ic) break;
            }
            for (int i = ic;; i = (i + 1) % m) {
                partB.push_back(list[i]);
                if (i == iv) break;
            }
        }

        const std::vector<int>* parts[2] = {&partA, &partB};
        for (int k = 0; k < 2; ++k) {
            const std::vector<int>& part = *parts[k];
            const int len = static_cast<int>(part.size());
            if (len < 3) {
                AlertBox(k == 0 ? "Triangulate, ERROR in T, Len_A = %d"
                                : "Triangulate, ERROR in T, Len_B = %d",
                         len);
                return {};
            }
            if (len == 3) {
                if (DistanceToLine(points[part[0]], points[part[1]], points[part[2]]) > kDegenerateTriangle)
                    result.push_back({part[0], part[1], part[2]});
            } else {
                stack.push_back(part);
            }
        }
    }

    if (static_cast<int>(result.size()) > count - 2) {
        AlertBox("Triangulate, ERROR, nopt=%d, t=%d", count - 2, static_cast<int>(result.size()));
        return {};
    }

    if (!result.empty()) {
        const bool winding = TriangleWinding(points, result[0]);
        for (Triangle& t : result)
            if (TriangleWinding(points, t) != winding) std::swap(t.b, t.c);
    }
    return result;
}

bool SegmentsCross(const Point& p, const Point& q, const Point& a, const Point& b) {
    return Side(p, q, a) * Side(p, q, b) < 0 && Side(a, b, p) * Side(a, b, q) < 0;
}

bool IsPointInPolygon(const Polygon& polygon, const Point& p) {
    const size_t n = polygon.size();
    Point far(kFarX, p.y);
    int crossings = 0;
    for (size_t i = 0; i < n; ++i)
        if (SegmentsCross(p, far, polygon[i], polygon[(i + 1) % n])) ++crossings;
    return (crossings & 1) != 0;
}

bool GetSegmentIntersection(const Point& p, const Point& q, const Point& a, const Point& b, Point& crossing) {
    if (!SegmentsCross(p, q, a, b)) return false;
    const double d1x = p.x - q.x, d1y = p.y - q.y, d1z = p.z - q.z;
    const double d2x = a.x - b.x, d2y = a.y - b.y;
    const double denom = d1y * d2x - d1x * d2y;
    if (!(std::fabs(denom) > kTinyCross)) return false;
    const double t = ((b.y - q.y) * d2x - (b.x - q.x) * d2y) / denom;
    crossing = Point(q.x + t * d1x, q.y + t * d1y, q.z + t * d1z, 0.0);
    return true;
}

NearestPoint GetNearestPointOnPolygon(const Polygon& polygon, const Point& p) {
    NearestPoint best;
    const int n = static_cast<int>(polygon.size());
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        const Point& a = polygon[i];
        const Point& b = polygon[j];
        double d = Distance2D(a, p);
        if (d < best.distance) best = {d, a, i, i};
        d = Distance2D(b, p);
        if (d < best.distance) best = {d, b, j, j};
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double len2 = dx * dx + dy * dy;
        if (len2 > 0.0) {
            const double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2;
            if (t >= 0.0 && t <= 1.0) {
                Point foot(a.x + t * dx, a.y + t * dy, a.z + t * (b.z - a.z), a.w + t * (b.w - a.w));
                d = Distance2D(foot, p);
                if (d < best.distance) best = {d, foot, i, j};
            }
        } else {
            d = Distance3D(a, p);
            if (d < best.distance) best = {d, a, i, j};
        }
    }
    return best;
}

bool HasVertexInside(const Polygon& a, const Polygon& b, double tolerance) {
    for (const Point& v : a)
        if (GetNearestPointOnPolygon(b, v).distance > tolerance && IsPointInPolygon(b, v)) return true;
    return false;
}

namespace {

bool IsInsideOrOn(const Polygon& polygon, const Point& p, double tolerance) {
    return GetNearestPointOnPolygon(polygon, p).distance <= tolerance || IsPointInPolygon(polygon, p);
}

} // namespace

bool IsSegmentInsidePolygon(const Point& a, const Point& b, const Polygon& outline, double tolerance) {
    const size_t m = outline.size();
    if (m < 3) return false;
    if (!IsInsideOrOn(outline, a, tolerance) || !IsInsideOrOn(outline, b, tolerance)) return false;
    const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
    if (!(length2 > 0.0)) return true;
    const double length = std::sqrt(length2);
    std::vector<double> cuts = {0.0, 1.0};
    for (size_t j = 0; j < m; ++j) {
        const Point& u = outline[j];
        const Point& v = outline[(j + 1) % m];
        // A corner of the outline near the segment: a wall may turn away there.
        const double t = ((u.x - a.x) * dx + (u.y - a.y) * dy) / length2;
        const double off = std::fabs((u.x - a.x) * dy - (u.y - a.y) * dx) / length;
        if (t > 0.0 && t < 1.0 && off <= tolerance) cuts.push_back(t);
        // A wall crossing the segment.
        const double ex = v.x - u.x, ey = v.y - u.y;
        const double denom = dx * ey - dy * ex;
        if (denom == 0.0) continue;
        const double s = ((u.x - a.x) * ey - (u.y - a.y) * ex) / denom;
        const double r = ((u.x - a.x) * dy - (u.y - a.y) * dx) / denom;
        if (s > 0.0 && s < 1.0 && r >= 0.0 && r <= 1.0) cuts.push_back(s);
    }
    std::sort(cuts.begin(), cuts.end());
    for (size_t i = 0; i + 1 < cuts.size(); ++i) {
        if (cuts[i + 1] - cuts[i] <= 1e-12) continue;
        const double t = (cuts[i] + cuts[i + 1]) / 2.0;
        if (!IsInsideOrOn(outline, Point(a.x + t * dx, a.y + t * dy), tolerance)) return false;
    }
    return true;
}

namespace {

// Whether a piece of a side of A lies inside B farther than tolerance from B's walls.
bool HasSidePieceInside(const Polygon& a, const Polygon& b, double tolerance) {
    const size_t n = a.size();
    for (size_t i = 0; i < n; ++i) {
        const Point& p = a[i];
        const Point& q = a[(i + 1) % n];
        const double dx = q.x - p.x, dy = q.y - p.y, length2 = dx * dx + dy * dy;
        if (!(length2 > 0.0)) continue;
        std::vector<double> cuts = {0.0, 1.0};
        const size_t m = b.size();
        for (size_t j = 0; j < m; ++j) {
            const Point& u = b[j];
            const Point& v = b[(j + 1) % m];
            const double t = ((u.x - p.x) * dx + (u.y - p.y) * dy) / length2;
            if (t > 0.0 && t < 1.0) cuts.push_back(t);
            const double ex = v.x - u.x, ey = v.y - u.y;
            const double denom = dx * ey - dy * ex;
            if (denom == 0.0) continue;
            const double s = ((u.x - p.x) * ey - (u.y - p.y) * ex) / denom;
            const double r = ((u.x - p.x) * dy - (u.y - p.y) * dx) / denom;
            if (s > 0.0 && s < 1.0 && r >= 0.0 && r <= 1.0) cuts.push_back(s);
        }
        std::sort(cuts.begin(), cuts.end());
        for (size_t k = 0; k + 1 < cuts.size(); ++k) {
            if (cuts[k + 1] - cuts[k] <= 1e-12) continue;
            const double t = (cuts[k] + cuts[k + 1]) / 2.0;
            const Point mid(p.x + t * dx, p.y + t * dy);
            if (IsPointInPolygon(b, mid) && GetNearestPointOnPolygon(b, mid).distance > tolerance) return true;
        }
    }
    return false;
}

} // namespace

bool OutlinesOverlap(const Polygon& a, const Polygon& b, double tolerance) {
    if (a.size() < 3 || b.size() < 3) return false;
    if (HasSidePieceInside(a, b, tolerance) || HasSidePieceInside(b, a, tolerance)) return true;
    // Neither side enters the other: apart, touching, or lying on the same walls. A point well
    // inside A tells the last from the others.
    for (const Triangle& t : Triangulate(a.data(), static_cast<int>(a.size()))) {
        const Point c((a[t.a].x + a[t.b].x + a[t.c].x) / 3.0, (a[t.a].y + a[t.b].y + a[t.c].y) / 3.0);
        if (IsPointInPolygon(b, c) && GetNearestPointOnPolygon(b, c).distance > tolerance) return true;
    }
    return false;
}

bool IsPolygonInsidePolygon(const Polygon& inner, const Polygon& outer, double tolerance) {
    const size_t n = inner.size();
    if (n < 3) return false;
    for (size_t i = 0; i < n; ++i)
        if (!IsSegmentInsidePolygon(inner[i], inner[(i + 1) % n], outer, tolerance)) return false;
    return true;
}

bool PolygonsOverlap(const Polygon& a, const Polygon& b, double tolerance) {
    if (&a == &b) return true;
    if (HasVertexInside(a, b, tolerance) || HasVertexInside(b, a, tolerance)) return true;
    const Point ca = GetPolygonCentroid(a);
    const Point cb = GetPolygonCentroid(b);
    if (IsPointInPolygon(a, ca) && IsPointInPolygon(b, cb) &&
        (IsPointInPolygon(b, ca) || IsPointInPolygon(a, cb)))
        return true;
    const size_t n = a.size();
    for (size_t i = 0; i < n; ++i) {
        const Point& s = a[i];
        const Point& e = a[(i + 1) % n];
        Point mid((s.x + e.x) / 2.0, (s.y + e.y) / 2.0, (s.z + e.z) / 2.0, 0.0);
        if (GetNearestPointOnPolygon(b, mid).distance > tolerance && IsPointInPolygon(b, mid)) return true;
    }
    return false;
}

Point GetPolygonCentroid(const Polygon& polygon) {
    Point c;
    if (polygon.empty()) return c;
    for (const Point& v : polygon) {
        c.x += v.x;
        c.y += v.y;
        c.z += v.z;
        c.w += v.w;
    }
    const double n = static_cast<double>(polygon.size());
    return Point(c.x / n, c.y / n, c.z / n, c.w / n);
}

void GetPolygonBoundingBox(const Polygon& polygon, Point& min, Point& max) {
    min = Point();
    max = Point();
    if (polygon.empty()) return;
    min.x = max.x = polygon[0].x;
    min.y = max.y = polygon[0].y;
    for (const Point& v : polygon) {
        min.x = std::min(min.x, v.x);
        min.y = std::min(min.y, v.y);
        max.x = std::max(max.x, v.x);
        max.y = std::max(max.y, v.y);
    }
}

bool SnapToListPoint(const CSnapPointList& list, const Point& p, double tolerance, Point& snapped) {
    const Point* best = nullptr;
    double bestDistance = 0.0;
    for (const Point& q : list.m_Points) {
        if (std::fabs(q.x - p.x) > tolerance || std::fabs(q.y - p.y) > tolerance) continue;
        const double d = Distance2D(q, p);
        if (!best || d < bestDistance) {
            best = &q;
            bestDistance = d;
        }
    }
    if (best) snapped = *best;
    return best != nullptr;
}

bool SnapToGridPoint(const CSnapPointList& list, const Point& p, Point& snapped) {
    const double g = list.m_dGridSpacing;
    // A spacing that is not a positive number would turn the point into NaN.
    if (!(g > 0.0) || !std::isfinite(g)) return false;
    snapped = Point(SnapToGrid(p.x, g), SnapToGrid(p.y, g), 0.0, 0.0);
    Log().Printf(LOG_INFO, "Grid snapped coords are %.2f %.2f", snapped.x, snapped.y);
    return true;
}

Point Snap(const CSnapPointList& list, const Point& p, double tolerance) {
    Point snapped = p;
    if (list.m_iFlags & CSnapPointList::SNAP_OBJECT) {
        SnapToListPoint(list, p, tolerance, snapped);
        return snapped;
    }
    if (list.m_iFlags & CSnapPointList::SNAP_GRID) SnapToGridPoint(list, p, snapped);
    return snapped;
}

void InitPolygonFromDxfPline(Polygon& polygon, const CDxfPline* pline) {
    polygon.clear();
    if (!pline) {
        Log().Printf(LOG_DEFERRED, "InitPolygonFromDxfPline with null pline");
        return;
    }
    const int n = pline->GetVertexCount();
    if (n < 3) {
        Log().Printf(LOG_DEFERRED, "InitPolygonFromDxfPline with only %d vertices", n);
        return;
    }
    // Bulges are ignored: a room outline is the chain of straight edges through the vertices.
    for (int i = 0; i < n; ++i) {
        const Point& v = pline->m_Vertices[i].point;
        bool duplicate = false;
        for (int j = 0; j < i && !duplicate; ++j)
            duplicate = Distance2D(v, pline->m_Vertices[j].point) <= kDuplicateVertexTolerance;
        if (!duplicate) polygon.push_back(v);
    }
    if (!IsPolygonCounterClockwise(polygon)) ReversePolygon(polygon);
}

void AddSnapPoints(CSnapPointList& list, const CDxfEntity* entity, const Matrix4& matrix) {
    if (!entity || list.IsFull()) return;
    auto add = [&](const Point& p) {
        Point q = TransformPoint(matrix, p);
        q.w = 0.0;
        list.AddPoint(q);
    };
    switch (entity->GetType()) {
    case DXF_LINE: {
        const auto* line = static_cast<const CDxfLine*>(entity);
        add(line->m_Start);
        add(line->m_End);
        break;
    }
    case DXF_PLINE:
        for (const DxfVertex& v : static_cast<const CDxfPline*>(entity)->m_Vertices)
            add(v.point);
        break;
    case DXF_INSERT: {
        const auto* insert = static_cast<const CDxfInsert*>(entity);
        if (!insert->m_pBlock) break;
        CDxfBlock::VisitGuard guard(*insert->m_pBlock);
        if (!guard.Entered()) break;
        const Matrix4 m = MultiplyMatrix(matrix, insert->GetToWorldXform());
        for (const auto& e : insert->m_pBlock->m_EntList) {
            if (list.IsFull()) break;
            AddSnapPoints(list, e.get(), m);
        }
        break;
    }
    default:
        break;
    }
}
