#pragma once
#include "dxf/DxfEntity.h"

// CIRCLE.
class CDxfCircle : public CDxfEntity {
  public:
    Point m_Centre;         // groups 10/20/30
    double m_dRadius = 1.0; // group 40

    CDxfCircle() = default;
    CDxfCircle(const Point& centre, double radius) : m_Centre(centre), m_dRadius(radius) {}

    std::unique_ptr<CDxfEntity> Clone() const override { return std::make_unique<CDxfCircle>(*this); }
    std::unique_ptr<CDxfEntity> GetTransformedCopy(const Matrix4& matrix) const override;
    int GetType() const override { return DXF_CIRCLE; }
    const char* GetTypeName() const override { return "CIRCLE"; }
    void ApplyWriteTransform(double scale, const Point& offset) override;
    void RotateAboutOrigin(double radians) override;
    double DistanceTo(const Point& p) const override;
    bool IsInBox(const Point& min, const Point& max) const override;
    bool IsSame(const CDxfEntity& other, double tolerance) const override;
    bool GetExtents(Point& min, Point& max, const Matrix4& matrix) const override;
    void Dump(const char* prefix) const override;
    void DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const override;
};
