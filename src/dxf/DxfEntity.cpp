#include "dxf/DxfEntity.h"

#include "base/Logger.h"
#include "base/TextUtils.h"
#include "dxf/Geometry.h"
#include "dxf/LayerTable.h"

#include <algorithm>
#include <cmath>

CDxfEntity::CDxfEntity(const CDxfEntity& other) : m_pLayer(other.m_pLayer), m_iColour(other.m_iColour) {
    if (other.m_pMatrix) m_pMatrix = std::make_unique<Matrix4>(*other.m_pMatrix);
}

CDxfEntity& CDxfEntity::operator=(const CDxfEntity& other) {
    if (this != &other) {
        m_pLayer = other.m_pLayer;
        m_iColour = other.m_iColour;
        m_pMatrix = other.m_pMatrix ? std::make_unique<Matrix4>(*other.m_pMatrix) : nullptr;
    }
    return *this;
}

void CDxfEntity::SetLayer(CDxfLayer* layer) {
    if (!layer) {
        Log().Printf(LOG_INFO, "CDxfEntity::SetLayer nullptr");
        return;
    }
    m_pLayer = layer;
}

const std::string& CDxfEntity::GetLayerName() const {
    static const std::string kNone;
    return m_pLayer ? m_pLayer->m_csName : kNone;
}

const Matrix4& CDxfEntity::GetMatrix() const {
    static const Matrix4 kIdentity;
    return m_pMatrix ? *m_pMatrix : kIdentity;
}

void CDxfEntity::SetMatrix(const Matrix4& matrix) {
    // Most entities lie in the drawing plane; only the others carry a matrix.
    if (IsIdentityMatrix(matrix))
        m_pMatrix.reset();
    else
        m_pMatrix = std::make_unique<Matrix4>(matrix);
}

Matrix4 CDxfEntity::ComposeWithOwn(const Matrix4& matrix) const {
    return m_pMatrix ? MultiplyMatrix(matrix, *m_pMatrix) : matrix;
}

bool CDxfEntity::IsOnLayer(const std::string& name) const {
    return CLayerTable::LayerNamesEqual(GetLayerName(), name);
}

Point RotatePointAboutOrigin(const Point& p, double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    return Point(p.x * c - p.y * s, p.x * s + p.y * c, p.z, p.w);
}

Point ApplyWriteTransformToPoint(const Point& p, double scale, const Point& offset) {
    return Point((p.x + offset.x) * scale, (p.y + offset.y) * scale, (p.z + offset.z) * scale, p.w);
}

void AddTransformedBox(ExtentsBox& box, const Point& lo, const Point& hi, const Matrix4& matrix) {
    // All corners, so that a rotated box is still held whole.
    for (int i = 0; i < 8; ++i) {
        Point corner((i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z);
        box.Add(TransformPoint(matrix, corner));
    }
}

double TransformedLength(const Matrix4& m, double dx, double dy, double dz) {
    const double x = m.m[0][0] * dx + m.m[0][1] * dy + m.m[0][2] * dz;
    const double y = m.m[1][0] * dx + m.m[1][1] * dy + m.m[1][2] * dz;
    const double z = m.m[2][0] * dx + m.m[2][1] * dy + m.m[2][2] * dz;
    return std::sqrt(x * x + y * y + z * z);
}

double PickDistanceToSegment(const Point& a, const Point& b, const Point& p) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    if (len2 > 0.0) {
        const double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2;
        if (t >= 0.0 && t <= 1.0) return Distance2D(Point(a.x + t * dx, a.y + t * dy), p);
    }
    return std::min(Distance3D(a, p), Distance3D(b, p));
}

bool BoxesOverlap2D(const Point& aMin, const Point& aMax, const Point& bMin, const Point& bMax) {
    return aMax.x >= bMin.x && aMin.x <= bMax.x && aMax.y >= bMin.y && aMin.y <= bMax.y;
}
