#include "dxf/DxfCircle.h"

#include "base/Logger.h"
#include "dxf/Geometry.h"

#include <cmath>

std::unique_ptr<CDxfEntity> CDxfCircle::GetTransformedCopy(const Matrix4& matrix) const {
    auto copy = std::make_unique<CDxfCircle>(*this);
    const Matrix4 m = ComposeWithOwn(matrix);
    copy->m_Centre = TransformPoint(m, m_Centre);
    copy->m_dRadius = TransformedLength(m, m_dRadius, 0.0, 0.0);
    copy->SetMatrix(Matrix4());
    return copy;
}

void CDxfCircle::ApplyWriteTransform(double scale, const Point& offset) {
    m_Centre = ApplyWriteTransformToPoint(m_Centre, scale, offset);
    m_dRadius *= scale;
}

void CDxfCircle::RotateAboutOrigin(double radians) {
    if (radians != 0.0) m_Centre = RotatePointAboutOrigin(m_Centre, radians);
}

double CDxfCircle::DistanceTo(const Point& p) const {
    return std::fabs(Distance3D(m_Centre, p) - m_dRadius);
}

bool CDxfCircle::IsInBox(const Point& min, const Point& max) const {
    const Matrix4& m = GetMatrix();
    const Point c = TransformPoint(m, m_Centre);
    const double r = TransformedLength(m, m_dRadius, 0.0, 0.0);
    return BoxesOverlap2D(Point(c.x - r, c.y - r), Point(c.x + r, c.y + r), min, max);
}

bool CDxfCircle::IsSame(const CDxfEntity& other, double tolerance) const {
    if (other.GetType() != GetType()) return false;
    const CDxfCircle& o = static_cast<const CDxfCircle&>(other);
    return Distance3D(m_Centre, o.m_Centre) <= tolerance && std::fabs(m_dRadius - o.m_dRadius) <= tolerance;
}

bool CDxfCircle::GetExtents(Point& min, Point& max, const Matrix4& matrix) const {
    ExtentsBox box;
    AddTransformedBox(box, Point(m_Centre.x - m_dRadius, m_Centre.y - m_dRadius, 0.0),
                      Point(m_Centre.x + m_dRadius, m_Centre.y + m_dRadius, 0.0), ComposeWithOwn(matrix));
    min = box.min;
    max = box.max;
    return true;
}

void CDxfCircle::Dump(const char* prefix) const {
    Log().Printf(LOG_INFO, "%s CIRCLE on %s center %6.2f %6.2f radius %6.2f\n", prefix ? prefix : "",
                 GetLayerName().c_str(), m_Centre.x, m_Centre.y, m_dRadius);
}
