#pragma once
#include "dxf/DxfEntity.h"

// ELLIPSE, kept only as a full axis-aligned ellipse in the drawing plane.
class CDxfEllipse : public CDxfEntity {
  public:
    Point m_Centre;            // groups 10/20/30
    double m_dXSemiAxis = 1.0; // from the major axis end point (11/21) and the ratio (40)
    double m_dYSemiAxis = 1.0; // likewise

    CDxfEllipse() = default;
    CDxfEllipse(const Point& centre, double xSemiAxis, double ySemiAxis)
        : m_Centre(centre), m_dXSemiAxis(xSemiAxis), m_dYSemiAxis(ySemiAxis) {}

    std::unique_ptr<CDxfEntity> Clone() const override { return std::make_unique<CDxfEllipse>(*this); }
    std::unique_ptr<CDxfEntity> GetTransformedCopy(const Matrix4& matrix) const override;
    int GetType() const override { return DXF_ELLIPSE; }
    const char* GetTypeName() const override { return "ELLIPSE"; }
    void ApplyWriteTransform(double scale, const Point& offset) override;
    void RotateAboutOrigin(double radians) override;
    double DistanceTo(const Point& p) const override;
    bool IsSame(const CDxfEntity& other, double tolerance) const override;
    bool GetExtents(Point& min, Point& max, const Matrix4& matrix) const override;
    void Dump(const char* prefix) const override;
};
