#include "dxf/DxfEllipse.h"

#include "base/Logger.h"
#include "dxf/Geometry.h"

#include <algorithm>
#include <cmath>

std::unique_ptr<CDxfEntity> CDxfEllipse::GetTransformedCopy(const Matrix4& matrix) const {
    auto copy = std::make_unique<CDxfEllipse>(*this);
    const Matrix4 m = ComposeWithOwn(matrix);
    copy->m_Centre = TransformPoint(m, m_Centre);
    // The copy stays axis-aligned: each semi-axis is the reach of the mapped axes along x and y.
    const double ax = m.m[0][0] * m_dXSemiAxis, ay = m.m[1][0] * m_dXSemiAxis;
    const double bx = m.m[0][1] * m_dYSemiAxis, by = m.m[1][1] * m_dYSemiAxis;
    copy->m_dXSemiAxis = std::max(std::fabs(ax), std::fabs(bx));
    copy->m_dYSemiAxis = std::max(std::fabs(ay), std::fabs(by));
    copy->SetMatrix(Matrix4());
    return copy;
}

void CDxfEllipse::ApplyWriteTransform(double scale, const Point& offset) {
    m_Centre = ApplyWriteTransformToPoint(m_Centre, scale, offset);
    m_dXSemiAxis *= scale;
    m_dYSemiAxis *= scale;
}

void CDxfEllipse::RotateAboutOrigin(double radians) {
    if (radians != 0.0) m_Centre = RotatePointAboutOrigin(m_Centre, radians);
}

double CDxfEllipse::DistanceTo(const Point& p) const {
    return Distance3D(m_Centre, p);
}

bool CDxfEllipse::IsSame(const CDxfEntity& other, double tolerance) const {
    if (other.GetType() != GetType()) return false;
    const CDxfEllipse& o = static_cast<const CDxfEllipse&>(other);
    return Distance3D(m_Centre, o.m_Centre) <= tolerance &&
           std::fabs(m_dXSemiAxis - o.m_dXSemiAxis) <= tolerance &&
           std::fabs(m_dYSemiAxis - o.m_dYSemiAxis) <= tolerance;
}

bool CDxfEllipse::GetExtents(Point& min, Point& max, const Matrix4& matrix) const {
    ExtentsBox box;
    AddTransformedBox(box, Point(m_Centre.x - m_dXSemiAxis, m_Centre.y - m_dYSemiAxis, m_Centre.z),
                      Point(m_Centre.x + m_dXSemiAxis, m_Centre.y + m_dYSemiAxis, m_Centre.z),
                      ComposeWithOwn(matrix));
    min = box.min;
    max = box.max;
    return true;
}

void CDxfEllipse::Dump(const char* prefix) const {
    Log().Printf(LOG_INFO, "%s ELLIPSE on <%s>\n", prefix ? prefix : "", GetLayerName().c_str());
}
