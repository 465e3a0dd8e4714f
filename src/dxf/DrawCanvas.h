#pragma once
// The drawing surface the entities, the model overlay and the print pages draw on. The desktop
// program implements it with QPainter; tests record the calls. Coordinates are pixels.

#include <cstdint>
#include <string>
#include <vector>

// An RGB colour packed as 0xRRGGBB.
using Rgb = uint32_t;
constexpr Rgb MakeRgb(int r, int g, int b) {
    return (static_cast<Rgb>(r & 0xFF) << 16) | (static_cast<Rgb>(g & 0xFF) << 8) |
           static_cast<Rgb>(b & 0xFF);
}
constexpr int RgbRed(Rgb c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
constexpr int RgbGreen(Rgb c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int RgbBlue(Rgb c) {
    return static_cast<int>(c & 0xFF);
}

enum CanvasPenStyle { PEN_SOLID = 0, PEN_DASH = 1, PEN_DASHDOTDOT = 2 };

// A pen; width 0 draws one pixel wide, like width 1.
struct CanvasPen {
    Rgb colour = 0;
    int width = 1;
    int style = PEN_SOLID;
    bool operator==(const CanvasPen& o) const {
        return colour == o.colour && width == o.width && style == o.style;
    }
    bool operator!=(const CanvasPen& o) const { return !(*this == o); }
};

struct CanvasPoint {
    int x = 0;
    int y = 0;
};

struct CanvasFont {
    std::string faceName = "Arial";
    int height = 12; // pixels
    bool bold = false;
    bool italic = false;
    int escapement = 0; // tenths of a degree, counter-clockwise
};

class IDrawCanvas {
  public:
    virtual ~IDrawCanvas() = default;

    virtual void SetPen(const CanvasPen& pen) = 0;
    virtual CanvasPen GetPen() const = 0;
    virtual void DrawLine(int x0, int y0, int x1, int y1) = 0;
    virtual void DrawPolyline(const std::vector<CanvasPoint>& points) = 0;
    // Outlined with the current pen and filled with the colour.
    virtual void FillPolygon(const std::vector<CanvasPoint>& points, Rgb fill) = 0;
    // A hollow ellipse inside the rectangle, with the current pen.
    virtual void DrawEllipse(int left, int top, int right, int bottom) = 0;
    // Text whose top-left corner is at (x, y) before the font's escapement turns it about that point.
    virtual void DrawText(int x, int y, const std::string& text, const CanvasFont& font, Rgb colour) = 0;
    virtual int GetTextWidth(const std::string& text, const CanvasFont& font) = 0;
    virtual void SetPixel(int x, int y, Rgb colour) = 0;
    // Font heights are multiplied by this (a printer's pixels per inch over the screen's).
    virtual double GetFontScale() const { return 1.0; }

    // Text on a box of the background colour as wide and high as the text.
    virtual void DrawTextOpaque(int x, int y, const std::string& text, const CanvasFont& font, Rgb colour,
                                Rgb /*background*/) {
        DrawText(x, y, text, font, colour);
    }
    // Fills the rectangle (right and bottom excluded) without an outline.
    virtual void FillRect(int left, int top, int right, int bottom, Rgb colour) {
        const CanvasPen old = GetPen();
        SetPen({colour, 1, PEN_SOLID});
        FillPolygon({{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}}, colour);
        SetPen(old);
    }
    // Limits drawing to the rectangle (right and bottom excluded), within any limit pushed before,
    // until the matching PopClipRect.
    virtual void PushClipRect(int /*left*/, int /*top*/, int /*right*/, int /*bottom*/) {}
    virtual void PopClipRect() {}
};
