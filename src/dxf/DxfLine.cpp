#include "dxf/DxfLine.h"

#include "base/Logger.h"
#include "dxf/Geometry.h"

namespace {

enum { OUT_LEFT = 1, OUT_RIGHT = 2, OUT_ABOVE = 4, OUT_BELOW = 8 };

int Outcode(const Point& p, const Point& min, const Point& max) {
    int code = 0;
    if (p.x < min.x)
        code |= OUT_LEFT;
    else if (p.x > max.x)
        code |= OUT_RIGHT;
    if (p.y > max.y)
        code |= OUT_ABOVE;
    else if (p.y < min.y)
        code |= OUT_BELOW;
    return code;
}

} // namespace

std::unique_ptr<CDxfEntity> CDxfLine::GetTransformedCopy(const Matrix4& matrix) const {
    auto copy = std::make_unique<CDxfLine>(*this);
    const Matrix4 m = ComposeWithOwn(matrix);
    copy->m_Start = TransformPoint(m, m_Start);
    copy->m_End = TransformPoint(m, m_End);
    copy->SetMatrix(Matrix4());
    return copy;
}

void CDxfLine::ApplyWriteTransform(double scale, const Point& offset) {
    m_Start = ApplyWriteTransformToPoint(m_Start, scale, offset);
    m_End = ApplyWriteTransformToPoint(m_End, scale, offset);
}

void CDxfLine::RotateAboutOrigin(double radians) {
    if (radians == 0.0) return;
    m_Start = RotatePointAboutOrigin(m_Start, radians);
    m_End = RotatePointAboutOrigin(m_End, radians);
}

double CDxfLine::DistanceTo(const Point& p) const {
    return PickDistanceToSegment(m_Start, m_End, p);
}

bool CDxfLine::IsInBox(const Point& min, const Point& max) const {
    const Matrix4& m = GetMatrix();
    // Rejected only when both ends lie beyond the same side of the rectangle.
    return (Outcode(TransformPoint(m, m_Start), min, max) & Outcode(TransformPoint(m, m_End), min, max)) == 0;
}

bool CDxfLine::IsSame(const CDxfEntity& other, double tolerance) const {
    if (other.GetType() != GetType()) return false;
    const CDxfLine& o = static_cast<const CDxfLine&>(other);
    auto near = [&](const Point& p) {
        return Distance2D(p, o.m_Start) <= tolerance || Distance2D(p, o.m_End) <= tolerance;
    };
    return near(m_Start) && near(m_End);
}

bool CDxfLine::GetExtents(Point& min, Point& max, const Matrix4& matrix) const {
    // The two end points themselves, so that a rotated line keeps its true box.
    const Matrix4 m = ComposeWithOwn(matrix);
    ExtentsBox box;
    box.Add(TransformPoint(m, m_Start));
    box.Add(TransformPoint(m, m_End));
    min = box.min;
    max = box.max;
    return true;
}

void CDxfLine::Dump(const char* prefix) const {
    Log().Printf(LOG_INFO, "%s LINE from %6.2f %6.2f to %6.2f %6.2f\n", prefix ? prefix : "", m_Start.x,
                 m_Start.y, m_End.x, m_End.y);
}
