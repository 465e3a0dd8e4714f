#include "dxf/Dxf3DFace.h"

#include "base/Logger.h"
#include "dxf/Geometry.h"

std::unique_ptr<CDxfEntity> CDxf3DFace::GetTransformedCopy(const Matrix4& matrix) const {
    auto copy = std::make_unique<CDxf3DFace>(*this);
    const Matrix4 m = ComposeWithOwn(matrix);
    for (int i = 0; i < 4; ++i)
        copy->m_Corners[i] = TransformPoint(m, m_Corners[i]);
    copy->SetMatrix(Matrix4());
    return copy;
}

void CDxf3DFace::ApplyWriteTransform(double scale, const Point& offset) {
    for (Point& c : m_Corners)
        c = ApplyWriteTransformToPoint(c, scale, offset);
}

void CDxf3DFace::RotateAboutOrigin(double radians) {
    if (radians == 0.0) return;
    for (Point& c : m_Corners)
        c = RotatePointAboutOrigin(c, radians);
}

bool CDxf3DFace::GetExtents(Point& min, Point& max, const Matrix4& matrix) const {
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

bool CDxf3DFace::IsSame(const CDxfEntity& other, double tolerance) const {
    if (other.GetType() != GetType()) return false;
    const CDxf3DFace& o = static_cast<const CDxf3DFace&>(other);
    if (GetCornerCount() != o.GetCornerCount()) return false;
    for (int i = 0; i < GetCornerCount(); ++i)
        if (Distance3D(m_Corners[i], o.m_Corners[i]) > tolerance) return false;
    return true;
}

double CDxf3DFace::DistanceTo(const Point&) const {
    return 100.0;
}

void CDxf3DFace::Dump(const char* prefix) const {
    Log().Printf(LOG_INFO, "%s 3DFACE with %d sides\n", prefix ? prefix : "", m_iNumCorners);
}
