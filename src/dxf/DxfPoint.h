#pragma once
#include "dxf/DxfEntity.h"

// POINT.
class CDxfPoint : public CDxfEntity {
  public:
    Point m_Point; // groups 10/20/30

    CDxfPoint() = default;
    explicit CDxfPoint(const Point& p) : m_Point(p) {}

    std::unique_ptr<CDxfEntity> Clone() const override { return std::make_unique<CDxfPoint>(*this); }
    std::unique_ptr<CDxfEntity> GetTransformedCopy(const Matrix4& matrix) const override;
    int GetType() const override { return DXF_POINT; }
    const char* GetTypeName() const override { return "POINT"; }
    void ApplyWriteTransform(double scale, const Point& offset) override;
    void RotateAboutOrigin(double radians) override;
    double DistanceTo(const Point& p) const override;
    bool IsInBox(const Point& min, const Point& max) const override;
    bool IsSame(const CDxfEntity& other, double tolerance) const override;
    bool GetExtents(Point& min, Point& max, const Matrix4& matrix) const override;
    void Dump(const char* prefix) const override;
    void DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const override;
};
