#pragma once
#include "dxf/DxfEntity.h"

// LINE.
class CDxfLine : public CDxfEntity {
  public:
    Point m_Start; // groups 10/20/30
    Point m_End;   // groups 11/21/31

    CDxfLine() = default;
    CDxfLine(const Point& start, const Point& end) : m_Start(start), m_End(end) {}

    std::unique_ptr<CDxfEntity> Clone() const override { return std::make_unique<CDxfLine>(*this); }
    std::unique_ptr<CDxfEntity> GetTransformedCopy(const Matrix4& matrix) const override;
    int GetType() const override { return DXF_LINE; }
    const char* GetTypeName() const override { return "LINE"; }
    void ApplyWriteTransform(double scale, const Point& offset) override;
    void RotateAboutOrigin(double radians) override;
    double DistanceTo(const Point& p) const override;
    bool IsInBox(const Point& min, const Point& max) const override;
    bool IsSame(const CDxfEntity& other, double tolerance) const override;
    Point GetStartPoint() const override { return m_Start; }
    Point GetEndPoint() const override { return m_End; }
    bool GetExtents(Point& min, Point& max, const Matrix4& matrix) const override;
    void Dump(const char* prefix) const override;
    void DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const override;
};
