#pragma once
#include "dxf/DxfCorners.h"

// 3DFACE: three or four corners. m_iNumCorners is the highest corner group read + 1.
class CDxf3DFace : public CDxfCorners {
  public:
    CDxf3DFace() : CDxfCorners(4) {}

    std::unique_ptr<CDxfEntity> Clone() const override { return std::make_unique<CDxf3DFace>(*this); }
    int GetType() const override { return DXF_3DFACE; }
    const char* GetTypeName() const override { return "3DFACE"; }
    // Faces are never picked: always 100.
    double DistanceTo(const Point& p) const override;
    bool IsSame(const CDxfEntity& other, double tolerance) const override;
    void Dump(const char* prefix) const override;
    void DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const override;
};
