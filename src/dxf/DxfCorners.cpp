#include "dxf/DxfCorners.h"

#include "dxf/Geometry.h"

std::unique_ptr<CDxfEntity> CDxfCorners::GetTransformedCopy(const Matrix4& matrix) const {
    std::unique_ptr<CDxfEntity> copy = Clone();
    CDxfCorners& corners = static_cast<CDxfCorners&>(*copy);
    const Matrix4 m = ComposeWithOwn(matrix);
    for (int i = 0; i < 4; ++i)
        corners.m_Corners[i] = TransformPoint(m, m_Corners[i]);
    corners.SetMatrix(Matrix4());
    return copy;
}

void CDxfCorners::ApplyWriteTransform(double scale, const Point& offset) {
    for (Point& c : m_Corners)
        c = ApplyWriteTransformToPoint(c, scale, offset);
}

void CDxfCorners::RotateAboutOrigin(double radians) {
    if (radians == 0.0) return;
    for (Point& c : m_Corners)
        c = RotatePointAboutOrigin(c, radians);
}

bool CDxfCorners::GetExtents(Point& min, Point& max, const Matrix4& matrix) const {
    const int n = GetCornerCount();
    if (n == 0) return false;
    const Matrix4 m = ComposeWithOwn(matrix);
    ExtentsBox box;
    for (int i = 0; i < n; ++i)
        box.Add(TransformPoint(m, m_Corners[i]));
    min = box.min;
    max = box.max;
    return true;
}

bool CDxfCorners::HasSameCorners(const CDxfEntity& other, double tolerance,
                                 double (*distance)(const Point&, const Point&)) const {
    if (other.GetType() != GetType()) return false;
    const CDxfCorners& o = static_cast<const CDxfCorners&>(other);
    if (GetCornerCount() != o.GetCornerCount()) return false;
    for (int i = 0; i < GetCornerCount(); ++i)
        if (distance(m_Corners[i], o.m_Corners[i]) > tolerance) return false;
    return true;
}
