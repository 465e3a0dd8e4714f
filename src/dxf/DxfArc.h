#pragma once
#include "dxf/DxfEntity.h"

// ARC, counter-clockwise from the start angle to the end angle.
class CDxfArc : public CDxfEntity {
  public:
    Point m_Centre;             // groups 10/20/30
    double m_dRadius = 1.0;     // group 40
    double m_dStartAngle = 0.0; // group 50, degrees
    double m_dEndAngle = 0.0;   // group 51, degrees

    CDxfArc() = default;
    CDxfArc(const Point& centre, double radius, double startAngle, double endAngle)
        : m_Centre(centre), m_dRadius(radius), m_dStartAngle(startAngle), m_dEndAngle(endAngle) {}

    // The angle swept, in degrees: end - start, plus 360 when the arc passes 0 degrees.
    double GetSweep() const;

    std::unique_ptr<CDxfEntity> Clone() const override { return std::make_unique<CDxfArc>(*this); }
    std::unique_ptr<CDxfEntity> GetTransformedCopy(const Matrix4& matrix) const override;
    int GetType() const override { return DXF_ARC; }
    const char* GetTypeName() const override { return "ARC"; }
    void ApplyWriteTransform(double scale, const Point& offset) override;
    void RotateAboutOrigin(double radians) override;
    double DistanceTo(const Point& p) const override;
    bool IsSame(const CDxfEntity& other, double tolerance) const override;
    Point GetStartPoint() const override;
    Point GetEndPoint() const override;
    bool GetExtents(Point& min, Point& max, const Matrix4& matrix) const override;
    void Dump(const char* prefix) const override;
    void DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const override;
};
