#pragma once
// A drawing canvas that records every call, so tests can check what is drawn where with which pen.
// Text widths are fixed: half the font height per byte.

#include "dxf/DrawCanvas.h"

#include <string>
#include <vector>

class RecordingCanvas : public IDrawCanvas {
  public:
    enum Kind { LINE, POLYLINE, POLYGON, ELLIPSE, TEXT, PIXEL, FILLRECT };
    struct Op {
        Kind kind;
        CanvasPen pen;                   // the pen current at the call
        std::vector<CanvasPoint> points; // line: the two ends; ellipse and fill: the two corners
        std::string text;
        CanvasFont font;
        Rgb colour = 0;      // text, pixel and fill colour
        bool opaque = false; // text on its background box
        Rgb background = 0;
    };

    std::vector<Op> ops;
    CanvasPen pen;
    double fontScale = 1.0;

    void SetPen(const CanvasPen& p) override { pen = p; }
    CanvasPen GetPen() const override { return pen; }
    void DrawLine(int x0, int y0, int x1, int y1) override { Add(LINE, {{x0, y0}, {x1, y1}}); }
    void DrawPolyline(const std::vector<CanvasPoint>& points) override { Add(POLYLINE, points); }
    void FillPolygon(const std::vector<CanvasPoint>& points, Rgb fill) override {
        Add(POLYGON, points).colour = fill;
    }
    void DrawEllipse(int left, int top, int right, int bottom) override {
        Add(ELLIPSE, {{left, top}, {right, bottom}});
    }
    void DrawText(int x, int y, const std::string& text, const CanvasFont& font, Rgb colour) override {
        Op& op = Add(TEXT, {{x, y}});
        op.text = text;
        op.font = font;
        op.colour = colour;
    }
    void DrawTextOpaque(int x, int y, const std::string& text, const CanvasFont& font, Rgb colour,
                        Rgb background) override {
        DrawText(x, y, text, font, colour);
        ops.back().opaque = true;
        ops.back().background = background;
    }
    int GetTextWidth(const std::string& text, const CanvasFont& font) override {
        return static_cast<int>(text.size()) * font.height / 2;
    }
    void SetPixel(int x, int y, Rgb colour) override { Add(PIXEL, {{x, y}}).colour = colour; }
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override {
        Add(FILLRECT, {{left, top}, {right, bottom}}).colour = colour;
    }
    double GetFontScale() const override { return fontScale; }

    std::vector<Op> OfKind(Kind kind) const {
        std::vector<Op> found;
        for (const Op& op : ops)
            if (op.kind == kind) found.push_back(op);
        return found;
    }
    // The first text op with exactly this text, or null.
    const Op* FindText(const std::string& text) const {
        for (const Op& op : ops)
            if (op.kind == TEXT && op.text == text) return &op;
        return nullptr;
    }

  private:
    Op& Add(Kind kind, std::vector<CanvasPoint> points) {
        Op op;
        op.kind = kind;
        op.pen = pen;
        op.points = std::move(points);
        ops.push_back(std::move(op));
        return ops.back();
    }
};
