#include "dxf/DxfText.h"

#include "base/Logger.h"
#include "dxf/Geometry.h"

#include <cmath>

std::unique_ptr<CDxfEntity> CDxfText::GetTransformedCopy(const Matrix4& matrix) const {
    auto copy = std::make_unique<CDxfText>(*this);
    const Matrix4 m = ComposeWithOwn(matrix);
    copy->m_Insert = TransformPoint(m, m_Insert);
    copy->m_Align = TransformPoint(m, m_Align);
    copy->m_dHeight = TransformedLength(m, 0.0, m_dHeight, 0.0);
    copy->m_dRotation = m_dRotation + std::atan2(m.m[1][0], m.m[0][0]) * 180.0 / kDxfPi;
    copy->SetMatrix(Matrix4());
    return copy;
}

void CDxfText::ApplyWriteTransform(double scale, const Point& offset) {
    m_Insert = ApplyWriteTransformToPoint(m_Insert, scale, offset);
    m_Align = ApplyWriteTransformToPoint(m_Align, scale, offset);
    m_dHeight *= scale;
}

void CDxfText::RotateAboutOrigin(double radians) {
    if (radians == 0.0) return;
    m_Insert = RotatePointAboutOrigin(m_Insert, radians);
    m_dRotation += radians * 180.0 / kDxfPi;
}

double CDxfText::DistanceTo(const Point& p) const {
    return Distance3D(m_Insert, p);
}

bool CDxfText::IsSame(const CDxfEntity& other, double tolerance) const {
    if (other.GetType() != GetType()) return false;
    const CDxfText& o = static_cast<const CDxfText&>(other);
    return m_csText == o.m_csText && m_csFontName == o.m_csFontName &&
           Distance3D(m_Insert, o.m_Insert) <= tolerance;
}

bool CDxfText::GetExtents(Point& min, Point& max, const Matrix4& matrix) const {
    if (m_csText.empty()) return false;
    // A rough square around the insertion point: enough for zooming and culling.
    const double half = m_csText.size() * m_dHeight / 2.5 * m_dWidthFactor;
    ExtentsBox box;
    AddTransformedBox(box, Point(m_Insert.x - half, m_Insert.y - half, m_Insert.z),
                      Point(m_Insert.x + half, m_Insert.y + half, m_Insert.z), ComposeWithOwn(matrix));
    min = box.min;
    max = box.max;
    return true;
}

void CDxfText::Dump(const char* prefix) const {
    Log().Printf(LOG_INFO, "%s TEXT (<%s>) on layer <%s>, height %6.3f\n", prefix ? prefix : "",
                 m_csText.c_str(), GetLayerName().c_str(), m_dHeight);
}
