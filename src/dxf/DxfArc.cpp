#include "dxf/DxfArc.h"

#include "base/Logger.h"
#include "dxf/Geometry.h"

#include <cmath>
#include <utility>

namespace {

Point PointAtAngle(const Point& centre, double radius, double degrees) {
    return Point(centre.x + radius * std::cos(degrees * kDegToRad),
                 centre.y + radius * std::sin(degrees * kDegToRad), 0.0);
}

} // namespace

double CDxfArc::GetSweep() const {
    double sweep = m_dEndAngle - m_dStartAngle;
    if (m_dStartAngle > m_dEndAngle) sweep += 360.0;
    return sweep;
}

std::unique_ptr<CDxfEntity> CDxfArc::GetTransformedCopy(const Matrix4& matrix) const {
    auto copy = std::make_unique<CDxfArc>(*this);
    const Matrix4 m = ComposeWithOwn(matrix);
    const Point c = TransformPoint(m, m_Centre);
    const Point s = TransformPoint(m, Point(GetStartPoint().x, GetStartPoint().y, m_Centre.z));
    const Point e = TransformPoint(m, Point(GetEndPoint().x, GetEndPoint().y, m_Centre.z));
    copy->m_Centre = c;
    copy->m_dRadius = Distance2D(c, s);
    copy->m_dStartAngle = std::atan2(s.y - c.y, s.x - c.x) / kDegToRad;
    copy->m_dEndAngle = std::atan2(e.y - c.y, e.x - c.x) / kDegToRad;
    // A mirror turns the arc round: it then runs counter-clockwise from the old end.
    if (m.m[0][0] * m.m[1][1] - m.m[0][1] * m.m[1][0] < 0.0)
        std::swap(copy->m_dStartAngle, copy->m_dEndAngle);
    copy->SetMatrix(Matrix4());
    return copy;
}

void CDxfArc::ApplyWriteTransform(double scale, const Point& offset) {
    m_Centre = ApplyWriteTransformToPoint(m_Centre, scale, offset);
    m_dRadius *= scale;
}

void CDxfArc::RotateAboutOrigin(double radians) {
    if (radians == 0.0) return;
    m_Centre = RotatePointAboutOrigin(m_Centre, radians);
    const double degrees = radians * 180.0 / kDxfPi;
    m_dStartAngle += degrees;
    m_dEndAngle += degrees;
}

double CDxfArc::DistanceTo(const Point& p) const {
    return std::fabs(Distance3D(m_Centre, p) - m_dRadius);
}

bool CDxfArc::IsSame(const CDxfEntity& other, double tolerance) const {
    if (other.GetType() != GetType()) return false;
    const CDxfArc& o = static_cast<const CDxfArc&>(other);
    return Distance3D(m_Centre, o.m_Centre) <= tolerance && std::fabs(m_dRadius - o.m_dRadius) <= tolerance &&
           std::fabs(m_dStartAngle - o.m_dStartAngle) <= tolerance &&
           std::fabs((m_dStartAngle + GetSweep()) - (o.m_dStartAngle + o.GetSweep())) <= tolerance;
}

Point CDxfArc::GetStartPoint() const {
    return PointAtAngle(m_Centre, m_dRadius, m_dStartAngle);
}

Point CDxfArc::GetEndPoint() const {
    return PointAtAngle(m_Centre, m_dRadius, m_dEndAngle);
}

bool CDxfArc::GetExtents(Point& min, Point& max, const Matrix4& matrix) const {
    const Matrix4 m = ComposeWithOwn(matrix);
    const double sweep = GetSweep();
    ExtentsBox box;
    for (int i = 0; i < 15; ++i)
        box.Add(TransformPoint(m, PointAtAngle(m_Centre, m_dRadius, m_dStartAngle + sweep * i / 14.0)));
    min = box.min;
    max = box.max;
    return true;
}

void CDxfArc::Dump(const char* prefix) const {
    Log().Printf(LOG_INFO, "%s ARC on %s center %6.2f %6.2f radius %6.2f\n", prefix ? prefix : "",
                 GetLayerName().c_str(), m_Centre.x, m_Centre.y, m_dRadius);
}
