#include "dxf/DxfPoint.h"

#include "base/Logger.h"
#include "dxf/Geometry.h"

std::unique_ptr<CDxfEntity> CDxfPoint::GetTransformedCopy(const Matrix4& matrix) const {
    auto copy = std::make_unique<CDxfPoint>(*this);
    copy->m_Point = TransformPoint(ComposeWithOwn(matrix), m_Point);
    copy->SetMatrix(Matrix4());
    return copy;
}

void CDxfPoint::ApplyWriteTransform(double scale, const Point& offset) {
    m_Point = ApplyWriteTransformToPoint(m_Point, scale, offset);
}

void CDxfPoint::RotateAboutOrigin(double radians) {
    if (radians != 0.0) m_Point = RotatePointAboutOrigin(m_Point, radians);
}

double CDxfPoint::DistanceTo(const Point& p) const {
    return Distance3D(m_Point, p);
}

bool CDxfPoint::IsInBox(const Point& min, const Point& max) const {
    const Point p = TransformPoint(GetMatrix(), m_Point);
    return p.x >= min.x && p.x <= max.x && p.y >= min.y && p.y <= max.y;
}

bool CDxfPoint::IsSame(const CDxfEntity& other, double tolerance) const {
    if (other.GetType() != GetType()) return false;
    return Distance3D(m_Point, static_cast<const CDxfPoint&>(other).m_Point) <= tolerance;
}

bool CDxfPoint::GetExtents(Point& min, Point& max, const Matrix4& matrix) const {
    min = max = TransformPoint(ComposeWithOwn(matrix), m_Point);
    min.w = max.w = 0.0;
    return true;
}

void CDxfPoint::Dump(const char* prefix) const {
    Log().Printf(LOG_INFO, "%s POINT on <%s> %6.3f %6.3f %6.3f \n", prefix ? prefix : "",
                 GetLayerName().c_str(), m_Point.x, m_Point.y, m_Point.z);
}
