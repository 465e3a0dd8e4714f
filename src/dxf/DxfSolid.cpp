#include "dxf/DxfSolid.h"

#include "base/Logger.h"
#include "dxf/Geometry.h"

#include <algorithm>

std::unique_ptr<CDxfEntity> CDxfSolid::GetTransformedCopy(const Matrix4& matrix) const {
    auto copy = std::make_unique<CDxfSolid>(*this);
    const Matrix4 m = ComposeWithOwn(matrix);
    for (int i = 0; i < 4; ++i)
        copy->m_Corners[i] = TransformPoint(m, m_Corners[i]);
    copy->SetMatrix(Matrix4());
    return copy;
}

void CDxfSolid::ApplyWriteTransform(double scale, const Point& offset) {
    for (Point& c : m_Corners)
        c = ApplyWriteTransformToPoint(c, scale, offset);
}

void CDxfSolid::RotateAboutOrigin(double radians) {
    if (radians == 0.0) return;
    for (Point& c : m_Corners)
        c = RotatePointAboutOrigin(c, radians);
}

bool CDxfSolid::GetExtents(Point& min, Point& max, const Matrix4& matrix) const {
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

bool CDxfSolid::IsSame(const CDxfEntity& other, double tolerance) const {
    if (other.GetType() != GetType()) return false;
    const CDxfSolid& o = static_cast<const CDxfSolid&>(other);
    if (GetCornerCount() != o.GetCornerCount()) return false;
    for (int i = 0; i < GetCornerCount(); ++i)
        if (Distance2D(m_Corners[i], o.m_Corners[i]) > tolerance) return false;
    return true;
}

double CDxfSolid::DistanceTo(const Point& p) const {
    double best = 1e32;
    for (int i = 0; i < GetCornerCount(); ++i)
        best = std::min(best, Distance2D(m_Corners[i], p));
    return best;
}

void CDxfSolid::Dump(const char* prefix) const {
    Log().Printf(LOG_INFO, "%s Solid with %d points on <%s>\n", prefix ? prefix : "", m_iNumCorners,
                 GetLayerName().c_str());
}
