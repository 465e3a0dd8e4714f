// How each entity draws itself into a canvas, with the pen the drawing loop selected. Points are
// mapped through matrix x the entity's own matrix; pixel coordinates are truncated to integers.

#include "base/Logger.h"
#include "dxf/Dxf3DFace.h"
#include "dxf/DxfArc.h"
#include "dxf/DxfBlock.h"
#include "dxf/DxfCircle.h"
#include "dxf/DxfInsert.h"
#include "dxf/DxfLine.h"
#include "dxf/DxfPalette.h"
#include "dxf/DxfPline.h"
#include "dxf/DxfPoint.h"
#include "dxf/DxfSolid.h"
#include "dxf/DxfText.h"
#include "dxf/Geometry.h"
#include "dxf/LayerTable.h"
#include "dxf/Render.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

void ReplaceAll(std::string& text, const std::string& what, const std::string& with) {
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

// The text as shown: the diameter code becomes "D", the underline code is dropped.
std::string DisplayText(const std::string& raw) {
    std::string text = raw;
    ReplaceAll(text, "%%C", "D");
    ReplaceAll(text, "%%c", "D");
    ReplaceAll(text, "%%U", "");
    ReplaceAll(text, "%%u", "");
    if (text.size() > 255) text.resize(255);
    return text;
}

} // namespace

void CDxfLine::DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const {
    const Matrix4 m = ComposeWithOwn(matrix);
    DrawPixelLine(canvas, TransformPoint(m, m_Start), TransformPoint(m, m_End));
}

void CDxfPline::DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const {
    const int n = GetVertexCount();
    if (n < 2) return;
    const Matrix4 m = ComposeWithOwn(matrix);
    const CanvasPen saved = canvas.GetPen();
    const double widthScale = m.m[0][0] + m.m[0][1];
    const int segments = m_bClosed ? n : n - 1;
    CanvasPen pen = saved;
    Point start = TransformPoint(m, m_Vertices[0].point); // each vertex is mapped once
    for (int i = 0; i < segments; ++i) {
        const DxfVertex& a = m_Vertices[i];
        const DxfVertex& b = m_Vertices[(i + 1) % n];
        const Point end = TransformPoint(m, b.point);
        // A mirrored insert must not lose the width, and no width may overflow a pen.
        const double width = std::fmin(std::fabs(widthScale * a.width), 10000.0);
        const CanvasPen segmentPen{saved.colour, std::isfinite(width) ? static_cast<int>(width) : 0,
                                   saved.style};
        if (i == 0 || segmentPen != pen) {
            pen = segmentPen;
            canvas.SetPen(pen);
        }
        if (a.bulge != 0.0) {
            Point arc[kArcSteps + 1];
            GetBulgeArcPoints(a.point, b.point, a.bulge, m, arc);
            DrawPixelPolyline(canvas, arc, kArcSteps + 1, false);
        } else {
            DrawPixelLine(canvas, start, end);
        }
        start = end;
    }
    canvas.SetPen(saved);
}

void CDxfArc::DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const {
    if (std::fabs(m_dEndAngle - m_dStartAngle) < 1e-5) return;
    const Matrix4 m = ComposeWithOwn(matrix);
    const double sweep = GetSweep();
    constexpr int kPoints = 50;
    // The mapped centre and radius vectors along x and y, and the angle stepped by rotation, so a
    // plan full of door swings does not cost 100 sines and cosines per arc.
    const Point c = TransformPoint(m, m_Centre);
    const double ux = m.m[0][0] * m_dRadius, uy = m.m[1][0] * m_dRadius;
    const double vx = m.m[0][1] * m_dRadius, vy = m.m[1][1] * m_dRadius;
    const double a0 = m_dStartAngle * kDegToRad, step = sweep / (kPoints - 1) * kDegToRad;
    const double cs = std::cos(step), sn = std::sin(step);
    double co = std::cos(a0), si = std::sin(a0);
    Point points[kPoints];
    for (int i = 0; i < kPoints; ++i) {
        points[i] = Point(c.x + co * ux + si * vx, c.y + co * uy + si * vy);
        const double next = co * cs - si * sn;
        si = si * cs + co * sn;
        co = next;
    }
    DrawPixelPolyline(canvas, points, kPoints, false);
}

void CDxfCircle::DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const {
    const Matrix4 m = ComposeWithOwn(matrix);
    const Point c = TransformPoint(m, m_Centre);
    const Point top = TransformPoint(m, Point(m_Centre.x, m_Centre.y + m_dRadius, m_Centre.z));
    const double r = Distance2D(c, top);
    const int x = ToPixel(c.x), y = ToPixel(c.y);
    if (!(r >= 1.0)) {
        canvas.SetPixel(x, y, canvas.GetPen().colour);
        return;
    }
    const int ri = ToPixel(r);
    canvas.DrawEllipse(ToPixel(c.x - ri), ToPixel(c.y - ri), ToPixel(c.x + ri), ToPixel(c.y + ri));
}

void CDxfPoint::DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const {
    const Point p = TransformPoint(ComposeWithOwn(matrix), m_Point);
    const int x = ToPixel(p.x), y = ToPixel(p.y);
    canvas.DrawLine(x - 2, y - 2, x + 2, y + 2);
    canvas.DrawLine(x - 2, y + 2, x + 2, y - 2);
}

void CDxfText::DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const {
    if (!IsTextDrawingOn() || m_csText.empty()) return;
    const Matrix4 m = ComposeWithOwn(matrix);
    const Point p = TransformPoint(m, m_Insert);
    const double v = TransformedLength(m, m_dHeight, 0.0, 0.0);
    if (!std::isfinite(v) || v > 1e6) return; // far beyond any font
    const int a = 1 + static_cast<int>(1.45 * v);
    const int x = ToPixel(p.x), y = ToPixel(p.y);
    if (a <= 3) {
        // Too small to read: a short line shows where the text is.
        canvas.DrawLine(x, y, x + 10, y);
        return;
    }
    const double height = a * canvas.GetFontScale();
    if (height > 50000.0) return;
    CanvasFont font;
    font.faceName = m_csFontName.empty() ? "Arial" : m_csFontName;
    font.height = static_cast<int>(height);
    font.bold = m_bBold;
    font.italic = m_bItalic;
    font.escapement = static_cast<int>(std::fmod(m_dRotation, 360.0) * 10.0);

    Rgb colour;
    const int number = GetColour();
    if (number == kColourByLayer)
        colour = GetLayer() ? GetLayer()->m_ThinColourPen.colour : MakeRgb(255, 255, 255);
    else if (number == kColourByBlock)
        colour = MakeRgb(127, 127, 127);
    else
        colour = GetPaletteColour(number);

    const std::string text = DisplayText(m_csText);
    int left = x;
    if (m_iHorzJustify == 1 || m_iHorzJustify == 2) {
        const int width = canvas.GetTextWidth(text, font);
        left -= m_iHorzJustify == 1 ? width / 2 : width;
    }
    canvas.DrawText(left, y - static_cast<int>(0.85 * a), text, font, colour);
}

void CDxfSolid::DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const {
    const int n = GetCornerCount();
    if (n < 3) return;
    const Matrix4 m = ComposeWithOwn(matrix);
    // Note: a four-corner solid lists its corners as two edges in the same direction (1-2 and 3-4);
    // the outline runs 1, 2, 4, 3, or the quadrilateral would become a bow tie.
    static const int kTriangle[3] = {0, 1, 2};
    static const int kQuad[4] = {0, 1, 3, 2};
    const int* order = n == 4 ? kQuad : kTriangle;
    static thread_local std::vector<CanvasPoint> points; // kept: plans hold thousands of solids
    points.clear();
    for (int i = 0; i < n; ++i) {
        const Point p = TransformPoint(m, m_Corners[order[i]]);
        const CanvasPoint q{ToPixel(p.x), ToPixel(p.y)};
        if (!points.empty() && points.back().x == q.x && points.back().y == q.y) continue;
        points.push_back(q);
    }
    if (points.size() > 1 && points.back().x == points.front().x && points.back().y == points.front().y)
        points.pop_back();
    canvas.FillPolygon(points, canvas.GetPen().colour);
}

void CDxf3DFace::DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const {
    const int n = GetCornerCount();
    if (n < 2) return;
    const Matrix4 m = ComposeWithOwn(matrix);
    std::vector<Point> points;
    for (int i = 0; i < n; ++i)
        points.push_back(TransformPoint(m, m_Corners[i]));
    DrawPixelPolyline(canvas, points, true);
}

void CDxfInsert::DrawIntoDC(IDrawCanvas& canvas, const Matrix4& matrix) const {
    if (!m_pBlock) return;
    CDxfBlock::VisitGuard guard(*m_pBlock);
    if (!guard.Entered()) return; // a block that inserts itself
    const Matrix4 m = MultiplyMatrix(matrix, GetInsertMatrix(*this));
    int insertColour = GetColour();
    if (insertColour == kColourByLayer) insertColour = GetLayer() ? GetLayer()->m_iColour : 1;
    if (insertColour == kColourByBlock) insertColour = 7;
    const CanvasPen saved = canvas.GetPen();
    for (const auto& entity : m_pBlock->m_EntList) {
        const CDxfEntity* e = entity.get();
        if (!e) continue;
        if (e->GetLayer() && !e->GetLayer()->m_bVisible && e->GetType() != DXF_INSERT) continue;
        const bool takesInsertColour =
            e->GetColour() == kColourByBlock || CLayerTable::LayerNamesEqual(e->GetLayerName(), "0");
        canvas.SetPen(GetPenForColor(takesInsertColour ? insertColour : GetDrawingColourNumber(*e)));
        e->DrawIntoDC(canvas, m);
    }
    canvas.SetPen(saved);
}
