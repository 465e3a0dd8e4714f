#pragma once
#include "dxf/DxfEntity.h"

// SOLID: a filled triangle or quadrilateral.
class CDxfSolid : public CDxfEntity {
  public:
    Point m_Corners[4];    // groups 10-13 / 20-23 / 30-33
    int m_iNumCorners = 0; // coordinate groups read / 3

    std::unique_ptr<CDxfEntity> Clone() const override { return std::make_unique<CDxfSolid>(*this); }
    std::unique_ptr<CDxfEntity> GetTransformedCopy(const Matrix4& matrix) const override;
    int GetType() const override { return DXF_SOLID; }
    const char* GetTypeName() const override { return "SOLID"; }
    void ApplyWriteTransform(double scale, const Point& offset) override;
    void RotateAboutOrigin(double radians) override;
    double DistanceTo(const Point& p) const override;
    bool IsSame(const CDxfEntity& other, double tolerance) const override;
    bool GetExtents(Point& min, Point& max, const Matrix4& matrix) const override;
    void Dump(const char* prefix) const override;
    void DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const override;

    int GetCornerCount() const { return m_iNumCorners < 0 ? 0 : (m_iNumCorners > 4 ? 4 : m_iNumCorners); }
};
