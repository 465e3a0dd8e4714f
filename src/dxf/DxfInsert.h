#pragma once
#include "dxf/DxfEntity.h"

#include <string>
#include <vector>

class CDxfBlock;

// A visible attribute of an INSERT.
struct DxfAttribute {
    std::string tag;   // group 2 of the ATTRIB, at most 99 characters
    std::string value; // group 1 of the ATTRIB, at most 99 characters
};

// INSERT: places a block, scaled, rotated and moved.
class CDxfInsert : public CDxfEntity {
  public:
    static constexpr int kMaxAttributes = 9;
    static constexpr size_t kMaxAttributeText = 99;
    static constexpr size_t kMaxBlockName = 255;

    CDxfBlock* m_pBlock = nullptr;          // in the drawing's block table; null while unresolved
    Point m_Insert;                         // groups 10/20/30
    double m_dScaleX = 1.0;                 // group 41
    double m_dScaleY = 1.0;                 // group 42
    double m_dScaleZ = 1.0;                 // group 43 is not read
    double m_dRotation = 0.0;               // group 50, degrees
    std::vector<DxfAttribute> m_Attributes; // at most 9
    std::string m_csBlockName;              // group 2, kept for resolution

    void SetBlockName(const std::string& name) { m_csBlockName = name.substr(0, kMaxBlockName); }
    // Fills the next free attribute slot; false when all 9 are taken.
    bool AddAttribute(const std::string& tag, const std::string& value);
    // Maps a point of the block into the insert's coordinates: base point removed, scaled,
    // rotated about z, moved to the insertion point, then the insert's own matrix.
    Matrix4 GetToWorldXform() const;

    std::unique_ptr<CDxfEntity> Clone() const override { return std::make_unique<CDxfInsert>(*this); }
    std::unique_ptr<CDxfEntity> GetTransformedCopy(const Matrix4& matrix) const override;
    int GetType() const override { return DXF_INSERT; }
    const char* GetTypeName() const override { return "INSERT"; }
    void ApplyWriteTransform(double scale, const Point& offset) override;
    void RotateAboutOrigin(double radians) override;
    double DistanceTo(const Point& p) const override;
    bool IsInBox(const Point& min, const Point& max) const override;
    bool IsOnLayer(const std::string& name) const override;
    bool IsSame(const CDxfEntity& other, double tolerance) const override;
    // An unresolved insert has no extents.
    bool GetExtents(Point& min, Point& max, const Matrix4& matrix) const override;
    void Dump(const char* prefix) const override;
    void DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const override;
};
