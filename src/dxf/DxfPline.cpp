#include "dxf/DxfPline.h"

#include "base/Logger.h"
#include "dxf/Geometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTinyDistance = 2.2250738585072014e-305;

} // namespace

std::unique_ptr<CDxfEntity> CDxfPline::GetTransformedCopy(const Matrix4& matrix) const {
    auto copy = std::make_unique<CDxfPline>(*this);
    const Matrix4 m = ComposeWithOwn(matrix);
    // A mirror reverses the turning sense of every arc segment.
    const bool mirrored = m.m[0][0] * m.m[1][1] - m.m[0][1] * m.m[1][0] < 0.0;
    for (DxfVertex& v : copy->m_Vertices) {
        v.point = TransformPoint(m, v.point);
        v.point.w = 0.0;
        if (mirrored) v.bulge = -v.bulge;
    }
    copy->SetMatrix(Matrix4());
    return copy;
}

void CDxfPline::ApplyWriteTransform(double scale, const Point& offset) {
    for (DxfVertex& v : m_Vertices)
        v.point = ApplyWriteTransformToPoint(v.point, scale, offset);
}

void CDxfPline::RotateAboutOrigin(double radians) {
    if (radians == 0.0) return;
    for (DxfVertex& v : m_Vertices)
        v.point = RotatePointAboutOrigin(v.point, radians);
}

double CDxfPline::DistanceTo(const Point& p) const {
    const size_t n = m_Vertices.size();
    if (n == 0) return 1e32;
    double best = PickDistanceToSegment(m_Vertices[n - 1].point, m_Vertices[0].point, p);
    for (size_t i = 0; i + 1 < n; ++i)
        best = std::min(best, PickDistanceToSegment(m_Vertices[i].point, m_Vertices[i + 1].point, p));
    return best;
}

bool CDxfPline::IsInBox(const Point& min, const Point& max) const {
    Point lo, hi;
    if (!GetExtents(lo, hi, Matrix4())) return false;
    return BoxesOverlap2D(lo, hi, min, max);
}

bool CDxfPline::IsSame(const CDxfEntity& other, double tolerance) const {
    if (other.GetType() != GetType()) return false;
    const CDxfPline& o = static_cast<const CDxfPline&>(other);
    if (m_Vertices.size() != o.m_Vertices.size()) return false;
    for (size_t i = 0; i < m_Vertices.size(); ++i)
        if (Distance3D(m_Vertices[i].point, o.m_Vertices[i].point) > tolerance ||
            std::fabs(m_Vertices[i].width - o.m_Vertices[i].width) > tolerance)
            return false;
    return true;
}

Point CDxfPline::GetStartPoint() const {
    if (m_Vertices.empty()) {
        Log().Printf(LOG_ERROR, "GetStartPoint on empty polyline");
        return Point();
    }
    return m_Vertices.front().point;
}

Point CDxfPline::GetEndPoint() const {
    if (m_Vertices.empty()) {
        Log().Printf(LOG_ERROR, "GetEndPoint on empty polyline");
        return Point();
    }
    return m_bClosed ? m_Vertices.front().point : m_Vertices.back().point;
}

void CDxfPline::GetBulgeArcPoints(const Point& p, const Point& q, double bulge, const Matrix4& matrix,
                                  Point out[kArcSteps + 1]) {
    const double theta = 4.0 * std::atan(bulge);
    const double c = Distance2D(p, q) / 2.0;
    const double r = std::fabs(c / std::sin(theta / 2.0));
    const double h = std::sqrt(std::max(0.0, r * r - c * c));
    const double mx = (p.x + q.x) / 2.0, my = (p.y + q.y) / 2.0;
    // Unit normal on the left of p -> q.
    double nx = 0.0, ny = 0.0;
    if (c > 0.0) {
        nx = -(q.y - p.y) / (2.0 * c);
        ny = (q.x - p.x) / (2.0 * c);
    }
    const bool left =
        (std::fabs(theta) < kDxfPi && bulge > 0.0) || (std::fabs(theta) >= kDxfPi && bulge < 0.0);
    const double side = left ? 1.0 : -1.0;
    const double cx = mx + side * h * nx, cy = my + side * h * ny;
    const double start = std::atan2(p.y - cy, p.x - cx);
    const double step = theta / kArcSteps;
    for (int i = 0; i <= kArcSteps; ++i) {
        const double a = start + i * step;
        out[i] = TransformPoint(matrix, Point(cx + r * std::cos(a), cy + r * std::sin(a), 0.0));
    }
}

bool CDxfPline::GetExtents(Point& min, Point& max, const Matrix4& matrix) const {
    if (m_Vertices.empty()) return false;
    const Matrix4 m = ComposeWithOwn(matrix);
    ExtentsBox box;
    const size_t n = m_Vertices.size();
    Point arc[kArcSteps + 1];
    for (size_t i = 0; i < n; ++i) {
        box.Add(TransformPoint(m, m_Vertices[i].point));
        if (m_Vertices[i].bulge != 0.0 && i + 1 < n) {
            GetBulgeArcPoints(m_Vertices[i].point, m_Vertices[i + 1].point, m_Vertices[i].bulge, m, arc);
            for (const Point& a : arc)
                box.Add(a);
        }
    }
    min = box.min;
    max = box.max;
    return true;
}

void CDxfPline::Dump(const char* prefix) const {
    Log().Printf(LOG_INFO, "%s PLINE on <%s> %d vertices\n", prefix ? prefix : "", GetLayerName().c_str(),
                 GetVertexCount());
}

Point CDxfPline::GetVertexAt(int i) const {
    if (i < 0 || i >= GetVertexCount()) {
        Log().Printf(LOG_ERROR, "GetVertexAt index out of range error:%d", i);
        return m_Vertices.empty() ? Point() : m_Vertices.front().point;
    }
    return m_Vertices[i].point;
}

double CDxfPline::GetWidthAt(int i) const {
    if (i < 0 || i >= GetVertexCount()) {
        Log().Printf(LOG_ERROR, "GetWidthAt index out of range error:%d", i);
        return m_Vertices.empty() ? 0.0 : m_Vertices.front().width;
    }
    return m_Vertices[i].width;
}

double CDxfPline::GetBulgeAt(int i) const {
    if (i < 0 || i >= GetVertexCount()) {
        Log().Printf(LOG_ERROR, "GetBulgeAt index out of range error:%d", i);
        return 0.0;
    }
    return m_Vertices[i].bulge;
}

void CDxfPline::SetDefaultStartWidth(double width) {
    if (width < 0.0) {
        Log().Printf(LOG_ERROR, "CDxfPline::SDSW = %6.3f", width);
        return;
    }
    m_dDefaultStartWidth = width;
}

void CDxfPline::RemoveDuplicateVertices(double tolerance) {
    std::vector<DxfVertex> kept;
    kept.reserve(m_Vertices.size());
    for (size_t i = 0; i < m_Vertices.size(); ++i) {
        bool duplicate = false;
        for (size_t j = 0; j < i && !duplicate; ++j)
            duplicate = Distance3D(m_Vertices[i].point, m_Vertices[j].point) <= tolerance;
        if (!duplicate) kept.push_back(m_Vertices[i]);
    }
    m_Vertices.swap(kept);
}

bool CDxfPline::IsSelfIntersecting() const {
    const int n = GetVertexCount();
    if (n <= 3) return false;
    // A polyline closed by repeating its first vertex: its first and last edges meet there.
    const bool closedByRepeat = Distance2D(m_Vertices[n - 1].point, m_Vertices[0].point) <= kTinyDistance;
    for (int i = 0; i <= n - 3; ++i)
        for (int j = i + 2; j <= n - 2; ++j) {
            if (i == 0 && j == n - 2 && closedByRepeat) continue;
            if (SegmentsCross(m_Vertices[i].point, m_Vertices[i + 1].point, m_Vertices[j].point,
                              m_Vertices[j + 1].point))
                return true;
        }
    return false;
}
