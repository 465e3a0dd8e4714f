#include "dxf/DxfInsert.h"

#include "base/Logger.h"
#include "dxf/DxfBlock.h"
#include "dxf/Geometry.h"
#include "dxf/LayerTable.h"

#include <cmath>

bool CDxfInsert::AddAttribute(const std::string& tag, const std::string& value) {
    if (static_cast<int>(m_Attributes.size()) >= kMaxAttributes) return false;
    m_Attributes.push_back({tag.substr(0, kMaxAttributeText), value.substr(0, kMaxAttributeText)});
    return true;
}

Matrix4 CDxfInsert::GetToWorldXform() const {
    if (!m_pBlock) {
        Log().Printf(LOG_ERROR, "CDxfInsert::GetToWorldXform on insert with a null block");
        return Matrix4();
    }
    const Point& base = m_pBlock->m_BasePoint;
    Matrix4 m = TranslationMatrix(-base.x, -base.y, -base.z);
    m = MultiplyMatrix(ScalingMatrix(m_dScaleX, m_dScaleY, m_dScaleZ), m);
    m = MultiplyMatrix(RotationZMatrix(m_dRotation * kDegToRad), m);
    m = MultiplyMatrix(TranslationMatrix(m_Insert.x, m_Insert.y, m_Insert.z), m);
    return HasIdentityMatrix() ? m : MultiplyMatrix(GetMatrix(), m);
}

std::unique_ptr<CDxfEntity> CDxfInsert::GetTransformedCopy(const Matrix4& matrix) const {
    auto copy = std::make_unique<CDxfInsert>(*this);
    const Matrix4 m = ComposeWithOwn(matrix);
    copy->m_Insert = TransformPoint(m, m_Insert);
    const double sx = m_dScaleX, sy = m_dScaleY, sz = m_dScaleZ;
    copy->m_dScaleX = m.m[0][0] * sx + m.m[0][1] * sy + m.m[0][2] * sz;
    copy->m_dScaleY = m.m[1][0] * sx + m.m[1][1] * sy + m.m[1][2] * sz;
    copy->m_dScaleZ = m.m[2][0] * sx + m.m[2][1] * sy + m.m[2][2] * sz;
    if (std::fabs(m.m[0][0] + 1.0) <= 1e-4 && std::fabs(m.m[1][1] - 1.0) <= 1e-4 &&
        std::fabs(m.m[2][2] - 1.0) <= 1e-4)
        copy->m_dRotation = 360.0 - m_dRotation;
    copy->SetMatrix(Matrix4());
    return copy;
}

void CDxfInsert::ApplyWriteTransform(double scale, const Point& offset) {
    m_Insert = ApplyWriteTransformToPoint(m_Insert, scale, offset);
    m_dScaleX *= scale;
    m_dScaleY *= scale;
    m_dScaleZ *= scale;
}

void CDxfInsert::RotateAboutOrigin(double radians) {
    if (radians == 0.0) return;
    m_Insert = RotatePointAboutOrigin(m_Insert, radians);
    m_dRotation += radians * 180.0 / kDxfPi;
}

double CDxfInsert::DistanceTo(const Point& p) const {
    return Distance3D(m_Insert, p);
}

bool CDxfInsert::IsInBox(const Point& min, const Point& max) const {
    Point lo, hi;
    if (!GetExtents(lo, hi, Matrix4())) return false;
    return BoxesOverlap2D(lo, hi, min, max);
}

bool CDxfInsert::IsOnLayer(const std::string& name) const {
    if (name == "0" || CDxfEntity::IsOnLayer(name)) return true;
    if (!m_pBlock) return false;
    if (CLayerTable::LayerNamesEqual(m_pBlock->m_csLayer, name)) return true;
    CDxfBlock::VisitGuard guard(*m_pBlock);
    return guard.Entered() && m_pBlock->m_EntList.IsOnLayer(name);
}

bool CDxfInsert::IsSame(const CDxfEntity& other, double tolerance) const {
    if (other.GetType() != GetType()) return false;
    const CDxfInsert& o = static_cast<const CDxfInsert&>(other);
    return m_pBlock == o.m_pBlock && std::fabs(m_dRotation - o.m_dRotation) <= tolerance &&
           Distance3D(m_Insert, o.m_Insert) <= tolerance &&
           Distance3D(Point(m_dScaleX, m_dScaleY, m_dScaleZ), Point(o.m_dScaleX, o.m_dScaleY, o.m_dScaleZ)) <=
               tolerance;
}

bool CDxfInsert::GetExtents(Point& min, Point& max, const Matrix4& matrix) const {
    if (!m_pBlock) return false;
    return m_pBlock->GetExtents(min, max, MultiplyMatrix(matrix, GetToWorldXform()));
}

void CDxfInsert::Dump(const char* prefix) const {
    Log().Printf(LOG_INFO, "%s INSERT of block ptr %p, block called <%s> on <%s> \n", prefix ? prefix : "",
                 static_cast<const void*>(m_pBlock), m_csBlockName.c_str(), GetLayerName().c_str());
}
