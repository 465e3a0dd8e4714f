#pragma once
#include "dxf/DxfCorners.h"

// SOLID: a filled triangle or quadrilateral. m_iNumCorners is the coordinate groups read / 3.
class CDxfSolid : public CDxfCorners {
  public:
    CDxfSolid() : CDxfCorners(0) {}

    std::unique_ptr<CDxfEntity> Clone() const override { return std::make_unique<CDxfSolid>(*this); }
    int GetType() const override { return DXF_SOLID; }
    const char* GetTypeName() const override { return "SOLID"; }
    double DistanceTo(const Point& p) const override;
    bool IsSame(const CDxfEntity& other, double tolerance) const override;
    void Dump(const char* prefix) const override;
    void DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const override;
};
