#pragma once
#include "dxf/DxfEntity.h"

// TEXT, and MTEXT read as a text.
class CDxfText : public CDxfEntity {
  public:
    static constexpr size_t kMaxText = 126;

    std::string m_csText;        // group 1, at most 126 characters
    Point m_Insert;              // groups 10/20/30
    Point m_Align;               // groups 11/21
    double m_dRotation = 0.0;    // group 50, degrees
    int m_iHorzJustify = 0;      // group 72: 0 left, 1 centre, 2 right
    int m_iVertJustify = 0;      // group 73
    double m_dHeight = 0.0;      // group 40
    double m_dWidthFactor = 1.0; // group 41
    std::string m_csFontName = "Arial";
    bool m_bBold = false;
    bool m_bItalic = false;

    CDxfText() = default;
    CDxfText(const std::string& text, const Point& insert, double height)
        : m_Insert(insert), m_dHeight(height) {
        SetText(text);
    }
    // Keeps at most 126 characters.
    void SetText(const std::string& text) { m_csText = text.substr(0, kMaxText); }

    std::unique_ptr<CDxfEntity> Clone() const override { return std::make_unique<CDxfText>(*this); }
    std::unique_ptr<CDxfEntity> GetTransformedCopy(const Matrix4& matrix) const override;
    int GetType() const override { return DXF_TEXT; }
    const char* GetTypeName() const override { return "TEXT"; }
    void ApplyWriteTransform(double scale, const Point& offset) override;
    void RotateAboutOrigin(double radians) override;
    double DistanceTo(const Point& p) const override;
    bool IsSame(const CDxfEntity& other, double tolerance) const override;
    bool GetExtents(Point& min, Point& max, const Matrix4& matrix) const override;
    void Dump(const char* prefix) const override;
    void DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const override;
};
