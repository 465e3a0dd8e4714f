#pragma once
#include "dxf/DxfEntity.h"

#include <vector>

// Polygon mesh (POLYLINE with flag 16): an M x N grid of points in row order.
class CDxfPgonMesh : public CDxfEntity {
  public:
    int m_iM = 0;                // group 71
    int m_iN = 0;                // group 72
    bool m_bClosedM = false;     // group 70 bit 1
    bool m_bClosedN = false;     // group 70 bit 32
    int m_iNumFaces = 0;         // (M - 1)(N - 1), plus N - 1 when closed in M, plus M - 1 when closed in N
    std::vector<Point> m_Points; // VERTEX records with flag 64, groups 10/20/30; at most M x N

    // Sets the counts and flags and empties the points.
    void Init(int m, int n, bool closedM, bool closedN);
    // Appends the next point; one more than M x N is refused with an alert.
    bool AddPoint(const Point& p);
    int GetPointCount() const { return static_cast<int>(m_Points.size()); }
    long long GetRequiredPointCount() const { return static_cast<long long>(m_iM) * m_iN; }

    // No clone (null, with an alert) while the point count differs from M x N.
    std::unique_ptr<CDxfEntity> Clone() const override;
    std::unique_ptr<CDxfEntity> GetTransformedCopy(const Matrix4& matrix) const override;
    int GetType() const override { return DXF_PGONMESH; }
    const char* GetTypeName() const override { return "PGON-MESH"; }
    void ApplyWriteTransform(double scale, const Point& offset) override;
    void RotateAboutOrigin(double radians) override;
    double DistanceTo(const Point& p) const override { return 1e32 + p.x; }
    bool IsSame(const CDxfEntity& other, double tolerance) const override;
    bool GetExtents(Point& min, Point& max, const Matrix4& matrix) const override;
    void Dump(const char* prefix) const override;
};
