#pragma once
#include "dxf/DxfEntity.h"

// An entity of up to four corners (3DFACE, SOLID): their transforms and extents, alike for both.
class CDxfCorners : public CDxfEntity {
  public:
    Point m_Corners[4]; // groups 10-13 / 20-23 / 30-33
    int m_iNumCorners;

    std::unique_ptr<CDxfEntity> GetTransformedCopy(const Matrix4& matrix) const override;
    void ApplyWriteTransform(double scale, const Point& offset) override;
    void RotateAboutOrigin(double radians) override;
    bool GetExtents(Point& min, Point& max, const Matrix4& matrix) const override;

    int GetCornerCount() const { return m_iNumCorners < 0 ? 0 : (m_iNumCorners > 4 ? 4 : m_iNumCorners); }

  protected:
    explicit CDxfCorners(int corners) : m_iNumCorners(corners) {}
    // Whether other is of this type with as many corners, each within tolerance of this one's by
    // distance.
    bool HasSameCorners(const CDxfEntity& other, double tolerance,
                        double (*distance)(const Point&, const Point&)) const;
};
