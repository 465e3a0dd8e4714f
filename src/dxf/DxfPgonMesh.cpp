#include "dxf/DxfPgonMesh.h"

#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "dxf/Geometry.h"

void CDxfPgonMesh::Init(int m, int n, bool closedM, bool closedN) {
    m_iM = m;
    m_iN = n;
    m_bClosedM = closedM;
    m_bClosedN = closedN;
    m_Points.clear();
    if (m < 2 || n < 2) {
        m_iNumFaces = 0;
        return;
    }
    long long faces = static_cast<long long>(m - 1) * (n - 1);
    if (closedM) faces += n - 1;
    if (closedN) faces += m - 1;
    m_iNumFaces = faces > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(faces);
}

bool CDxfPgonMesh::AddPoint(const Point& p) {
    // Points are stored as they come, so a damaged count in a file never allocates M x N up front.
    if (static_cast<long long>(m_Points.size()) >= GetRequiredPointCount()) {
        AlertBox("CDxfPgonMesh::AddPoint, too many points\nM=%d N=%d NumPoints=%d", m_iM, m_iN,
                 GetPointCount());
        return false;
    }
    m_Points.push_back(p);
    return true;
}

std::unique_ptr<CDxfEntity> CDxfPgonMesh::Clone() const {
    if (static_cast<long long>(m_Points.size()) != GetRequiredPointCount()) {
        AlertBox(
            "Number of points specified in the mesh is %d\nBut a M=%d by N=%d mesh requires %lld points\n"
            "Cannot clone this mesh.",
            GetPointCount(), m_iM, m_iN, GetRequiredPointCount());
        return nullptr;
    }
    return std::make_unique<CDxfPgonMesh>(*this);
}

std::unique_ptr<CDxfEntity> CDxfPgonMesh::GetTransformedCopy(const Matrix4& matrix) const {
    auto copy = Clone();
    if (!copy) return nullptr;
    auto* mesh = static_cast<CDxfPgonMesh*>(copy.get());
    const Matrix4 m = ComposeWithOwn(matrix);
    for (Point& p : mesh->m_Points)
        p = TransformPoint(m, p);
    mesh->SetMatrix(Matrix4());
    return copy;
}

void CDxfPgonMesh::ApplyWriteTransform(double scale, const Point& offset) {
    for (Point& p : m_Points)
        p = ApplyWriteTransformToPoint(p, scale, offset);
}

void CDxfPgonMesh::RotateAboutOrigin(double radians) {
    if (radians == 0.0) return;
    for (Point& p : m_Points)
        p = RotatePointAboutOrigin(p, radians);
}

bool CDxfPgonMesh::IsSame(const CDxfEntity& other, double tolerance) const {
    if (other.GetType() != GetType()) return false;
    const CDxfPgonMesh& o = static_cast<const CDxfPgonMesh&>(other);
    if (m_iM != o.m_iM || m_iN != o.m_iN || m_Points.size() != o.m_Points.size()) return false;
    for (size_t i = 0; i < m_Points.size(); ++i)
        if (Distance3D(m_Points[i], o.m_Points[i]) > tolerance) return false;
    return true;
}

bool CDxfPgonMesh::GetExtents(Point& min, Point& max, const Matrix4& matrix) const {
    if (m_Points.empty()) return false;
    const Matrix4 m = ComposeWithOwn(matrix);
    ExtentsBox box;
    for (const Point& p : m_Points)
        box.Add(TransformPoint(m, p));
    min = box.min;
    max = box.max;
    return true;
}

void CDxfPgonMesh::Dump(const char* prefix) const {
    Log().Printf(LOG_INFO, "%s POLYGONMESH on <%s> %d M points\n", prefix ? prefix : "",
                 GetLayerName().c_str(), m_iM);
}
