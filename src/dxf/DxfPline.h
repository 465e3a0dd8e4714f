#pragma once
#include "dxf/DxfEntity.h"

#include <vector>

// One polyline vertex.
struct DxfVertex {
    double bulge =
        0.0; // group 42: tan(included angle / 4) of the arc to the next vertex, > 0 counter-clockwise
    double width = 0.0; // group 40 (the last one seen in the POLYLINE)
    Point point;        // groups 10/20/30
};

// POLYLINE and LWPOLYLINE.
class CDxfPline : public CDxfEntity {
  public:
    static constexpr int kArcSteps = 18; // an arc segment is drawn through 19 points

    bool m_bClosed = false;            // group 70 bit 1
    bool m_b3D = false;                // group 70 bit 8
    double m_dDefaultStartWidth = 0.0; // group 40 of the POLYLINE header
    double m_dDefaultEndWidth = 0.0;   // group 41 of the POLYLINE header
    std::vector<DxfVertex> m_Vertices;

    std::unique_ptr<CDxfEntity> Clone() const override { return std::make_unique<CDxfPline>(*this); }
    std::unique_ptr<CDxfEntity> GetTransformedCopy(const Matrix4& matrix) const override;
    int GetType() const override { return DXF_PLINE; }
    const char* GetTypeName() const override { return "POLYLINE"; }
    void ApplyWriteTransform(double scale, const Point& offset) override;
    void RotateAboutOrigin(double radians) override;
    // The segment from the last vertex back to the first is always measured.
    double DistanceTo(const Point& p) const override;
    bool IsInBox(const Point& min, const Point& max) const override;
    bool IsSame(const CDxfEntity& other, double tolerance) const override;
    Point GetStartPoint() const override;
    // The first vertex when closed, else the last.
    Point GetEndPoint() const override;
    bool GetExtents(Point& min, Point& max, const Matrix4& matrix) const override;
    void Dump(const char* prefix) const override;
    void DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const override;

    int GetVertexCount() const { return static_cast<int>(m_Vertices.size()); }
    void AddVertex(const Point& p, double bulge = 0.0, double width = 0.0) {
        m_Vertices.push_back({bulge, width, p});
    }
    // Out of range: logged, and the first vertex (its width, bulge 0) is given.
    Point GetVertexAt(int i) const;
    double GetWidthAt(int i) const;
    double GetBulgeAt(int i) const;
    // A negative width is refused with a log line.
    void SetDefaultStartWidth(double width);
    // Keeps, in order, each vertex farther than the tolerance (3D) from every vertex kept or
    // dropped before it.
    void RemoveDuplicateVertices(double tolerance);
    // Whether two non-adjacent edges cross; the closing edge is not tested.
    bool IsSelfIntersecting() const;

    // The 19 points of the arc from p to q with the bulge, mapped through the matrix (x and y, z = 0).
    static void GetBulgeArcPoints(const Point& p, const Point& q, double bulge, const Matrix4& matrix,
                                  Point out[kArcSteps + 1]);
};
