#pragma once
#include "dxf/DxfEntity.h"

#include <vector>

// One face of a polyface mesh: 3 or 4 point numbers, 1-based as in DXF; 0 vertices once merged away.
struct DxfMeshFace {
    int count = 0;
    int index[4] = {0, 0, 0, 0}; // groups 71-74 of a face VERTEX (absolute values)
};

// Polyface mesh (POLYLINE with flag 64).
class CDxfMesh : public CDxfEntity {
  public:
    std::vector<Point> m_Points;      // VERTEX records with flags 128 + 64, groups 10/20/30
    std::vector<DxfMeshFace> m_Faces; // VERTEX records with flag 128 only

    std::unique_ptr<CDxfEntity> Clone() const override { return std::make_unique<CDxfMesh>(*this); }
    std::unique_ptr<CDxfEntity> GetTransformedCopy(const Matrix4& matrix) const override;
    int GetType() const override { return DXF_MESH; }
    const char* GetTypeName() const override { return "MESH"; }
    void ApplyWriteTransform(double scale, const Point& offset) override;
    void RotateAboutOrigin(double radians) override;
    // Meshes are never the nearest entity.
    double DistanceTo(const Point& p) const override { return 1e36 + p.x; }
    bool IsSame(const CDxfEntity& other, double tolerance) const override;
    bool GetExtents(Point& min, Point& max, const Matrix4& matrix) const override;
    void Dump(const char* prefix) const override;

    void AddPoint(const Point& p) { m_Points.push_back(p); }
    // Up to four 1-based point numbers.
    void AddFace(const int* indices, int count);
    int GetPointCount() const { return static_cast<int>(m_Points.size()); }
    int GetFaceCount() const { return static_cast<int>(m_Faces.size()); }
    // Out of range: logged, and the first face is given (an empty face when there is none).
    DxfMeshFace GetFace(int i) const;
    // i is 0-based. Out of range: logged, and the first point is given ((0, 0, 0) when there is none).
    Point GetPoint(int i) const;
    // Unit normal of a face from its first three points; false when they do not span a plane.
    bool GetFaceNormal(const DxfMeshFace& face, Point& normal) const;

    // Joins coplanar pairs of triangles that share an edge into quadrilaterals.
    void MergeTrianglePairs();
    // Makes face i the quadrilateral of triangles i and j and empties face j. False (with an
    // alert) when the two do not share exactly one edge.
    bool MergeTriangles(int i, int j);
    // Reverses the vertex order of every face of 3 or 4 vertices.
    void ReverseFaces();
};
