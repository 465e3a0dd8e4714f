#include "dxf/DxfMesh.h"

#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "dxf/Geometry.h"

#include <algorithm>
#include <cmath>

namespace {

bool Contains(const DxfMeshFace& f, int index) {
    for (int k = 0; k < f.count; ++k)
        if (f.index[k] == index) return true;
    return false;
}

double VectorDistance(const Point& a, const Point& b) {
    return Distance3D(a, b);
}

} // namespace

std::unique_ptr<CDxfEntity> CDxfMesh::GetTransformedCopy(const Matrix4& matrix) const {
    auto copy = std::make_unique<CDxfMesh>(*this);
    const Matrix4 m = ComposeWithOwn(matrix);
    for (Point& p : copy->m_Points)
        p = TransformPoint(m, p);
    copy->SetMatrix(Matrix4());
    return copy;
}

void CDxfMesh::ApplyWriteTransform(double scale, const Point& offset) {
    for (Point& p : m_Points)
        p = ApplyWriteTransformToPoint(p, scale, offset);
}

void CDxfMesh::RotateAboutOrigin(double radians) {
    if (radians == 0.0) return;
    for (Point& p : m_Points)
        p = RotatePointAboutOrigin(p, radians);
}

bool CDxfMesh::IsSame(const CDxfEntity& other, double tolerance) const {
    if (other.GetType() != GetType()) return false;
    const CDxfMesh& o = static_cast<const CDxfMesh&>(other);
    if (m_Points.size() != o.m_Points.size() || m_Faces.size() != o.m_Faces.size()) return false;
    for (size_t i = 0; i < m_Points.size(); ++i)
        if (Distance3D(m_Points[i], o.m_Points[i]) > tolerance) return false;
    for (size_t i = 0; i < m_Faces.size(); ++i)
        if (m_Faces[i].count != o.m_Faces[i].count ||
            !std::equal(m_Faces[i].index, m_Faces[i].index + 4, o.m_Faces[i].index))
            return false;
    return true;
}

bool CDxfMesh::GetExtents(Point& min, Point& max, const Matrix4& matrix) const {
    if (m_Points.empty()) return false;
    const Matrix4 m = ComposeWithOwn(matrix);
    ExtentsBox box;
    for (const Point& p : m_Points)
        box.Add(TransformPoint(m, p));
    min = box.min;
    max = box.max;
    return true;
}

void CDxfMesh::Dump(const char* prefix) const {
    Log().Printf(LOG_INFO, "%s MESH on <%s>\n", prefix ? prefix : "", GetLayerName().c_str());
}

void CDxfMesh::AddFace(const int* indices, int count) {
    DxfMeshFace face;
    face.count = std::clamp(count, 0, 4);
    for (int k = 0; k < face.count; ++k)
        face.index[k] = std::abs(indices[k]);
    m_Faces.push_back(face);
}

DxfMeshFace CDxfMesh::GetFace(int i) const {
    if (i < 0 || i >= GetFaceCount()) {
        Log().Printf(LOG_ERROR, "CDxfMesh::GetFace(%d) out of range, there are %d faces", i, GetFaceCount());
        return m_Faces.empty() ? DxfMeshFace() : m_Faces.front();
    }
    return m_Faces[i];
}

Point CDxfMesh::GetPoint(int i) const {
    if (m_Points.empty()) {
        Log().Printf(LOG_ERROR, "Mesh GetPoint(%d), but m_pPoints == nullptr", i);
        return Point();
    }
    if (i < 0 || i >= GetPointCount()) {
        Log().Printf(LOG_ERROR, "Mesh GetPoint(%d) out of range, there are %d points", i, GetPointCount());
        return m_Points.front();
    }
    return m_Points[i];
}

bool CDxfMesh::GetFaceNormal(const DxfMeshFace& face, Point& normal) const {
    if (face.count < 3) return false;
    for (int k = 0; k < 3; ++k)
        if (face.index[k] < 1 || face.index[k] > GetPointCount()) return false;
    const Point& a = m_Points[face.index[0] - 1];
    const Point& b = m_Points[face.index[1] - 1];
    const Point& c = m_Points[face.index[2] - 1];
    const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
    const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(len > 0.0)) return false;
    normal = Point(nx / len, ny / len, nz / len);
    return true;
}

void CDxfMesh::MergeTrianglePairs() {
    const int n = GetFaceCount();
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n && m_Faces[i].count == 3; ++j) {
            const DxfMeshFace& a = m_Faces[i];
            const DxfMeshFace& b = m_Faces[j];
            if (b.count != 3) continue;
            int shared = 0;
            for (int k = 0; k < 3; ++k)
                if (Contains(b, a.index[k])) ++shared;
            if (shared != 2) continue;
            Point na, nb;
            if (!GetFaceNormal(a, na) || !GetFaceNormal(b, nb)) continue;
            const Point reversed(-nb.x, -nb.y, -nb.z);
            if (VectorDistance(na, nb) <= 0.01 || VectorDistance(na, reversed) <= 0.01) MergeTriangles(i, j);
        }
    }
}

bool CDxfMesh::MergeTriangles(int i, int j) {
    if (i < 0 || j < 0 || i >= GetFaceCount() || j >= GetFaceCount()) return false;
    DxfMeshFace& a = m_Faces[i];
    DxfMeshFace& b = m_Faces[j];
    int fourth = 0;
    for (int k = 0; k < b.count; ++k)
        if (!Contains(a, b.index[k])) fourth = b.index[k];
    int common[3] = {0, 0, 0};
    int sharedPoints[2] = {0, 0};
    int nShared = 0;
    for (int k = 0; k < 3 && k < a.count; ++k)
        if (Contains(b, a.index[k])) {
            common[k] = 1;
            if (nShared < 2) sharedPoints[nShared] = a.index[k];
            ++nShared;
        }
    if (a.count != 3 || b.count != 3 || nShared != 2) {
        AlertBox(
            "MergeTriangles, Error: could not find shared edge.\ni4thPoint= %d\nCommonPoints= [%d %d %d]\n"
            "SharedPoints= [%d %d]",
            fourth, common[0], common[1], common[2], sharedPoints[0], sharedPoints[1]);
        return false;
    }
    if (fourth == 0) {
        AlertBox("MergeTriangles, Error: could not find 4th point");
        return false;
    }
    // The new point goes between the two shared ones in the first triangle's cyclic order.
    const int A = a.index[0], B = a.index[1], C = a.index[2];
    DxfMeshFace quad;
    quad.count = 4;
    if (common[0] && common[1]) {
        const int q[4] = {A, fourth, B, C};
        std::copy(q, q + 4, quad.index);
    } else if (common[0] && common[2]) {
        const int q[4] = {A, B, C, fourth};
        std::copy(q, q + 4, quad.index);
    } else if (common[1] && common[2]) {
        const int q[4] = {A, B, fourth, C};
        std::copy(q, q + 4, quad.index);
    } else {
        AlertBox("MergeTriangles, Error: while inserting 4th point");
        return false;
    }
    a = quad;
    b = DxfMeshFace();
    return true;
}

void CDxfMesh::ReverseFaces() {
    for (DxfMeshFace& f : m_Faces)
        if (f.count == 3 || f.count == 4) std::reverse(f.index, f.index + f.count);
}
