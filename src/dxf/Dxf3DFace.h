#pragma once
#include "dxf/DxfEntity.h"

// 3DFACE: three or four corners.
class CDxf3DFace : public CDxfEntity {
  public:
    int m_iNumCorners = 4; // highest corner group read + 1
    Point m_Corners[4];    // groups 10-13 / 20-23 / 30-33

    std::unique_ptr<CDxfEntity> Clone() const override { return std::make_unique<CDxf3DFace>(*this); }
    std::unique_ptr<CDxfEntity> GetTransformedCopy(const Matrix4& matrix) const override;
    int GetType() const override { return DXF_3DFACE; }
    const char* GetTypeName() const override { return "3DFACE"; }
    void ApplyWriteTransform(double scale, const Point& offset) override;
    void RotateAboutOrigin(double radians) override;
    // Faces are never picked: always 100.
    double DistanceTo(const Point& p) const override;
    bool IsSame(const CDxfEntity& other, double tolerance) const override;
    bool GetExtents(Point& min, Point& max, const Matrix4& matrix) const override;
    void Dump(const char* prefix) const override;
    void DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const override;

    int GetCornerCount() const { return m_iNumCorners < 0 ? 0 : (m_iNumCorners > 4 ? 4 : m_iNumCorners); }
};
