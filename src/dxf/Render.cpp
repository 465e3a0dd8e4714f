#include "dxf/Render.h"

#include "base/Logger.h"
#include "dxf/DxfArc.h"
#include "dxf/DxfBlock.h"
#include "dxf/DxfEntity.h"
#include "dxf/DxfInsert.h"
#include "dxf/DxfPalette.h"
#include "dxf/DxfText.h"
#include "dxf/EntList.h"
#include "dxf/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

namespace {


struct PenTable {
    CanvasPen pens[256];
    PenTable() {
        for (int i = 0; i < 256; ++i)
            pens[i] = {GetPaletteColour(i), 1, PEN_SOLID};
    }
};

PenTable& Pens() {
    static PenTable table;
    return table;
}

bool g_bDrawText = true;

// Pixels farther out than this are off every surface; segments are clipped to it so that the
// integer pixel coordinates cannot overflow.
constexpr double kGuard = 4194304.0;

bool InGuard(const Point& p) {
    return std::fabs(p.x) <= kGuard && std::fabs(p.y) <= kGuard;
}

// Liang-Barsky clipping of the segment to the guard square; false when nothing is left.
bool ClipToGuard(Point& a, Point& b) {
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y))
        return false;
    double t0 = 0.0, t1 = 1.0;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x + kGuard, kGuard - a.x, a.y + kGuard, kGuard - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    const Point start = a;
    a = Point(start.x + t0 * dx, start.y + t0 * dy);
    b = Point(start.x + t1 * dx, start.y + t1 * dy);
    return true;
}

// Rounds to the nearest multiple of the grid spacing, as snapping does.
double RoundToGrid(double v, double g) {
    const double r = std::fmod(v, g);
    if (v >= 0) return r < g - r ? v - r : v + (g - r);
    return std::fabs(r) <= std::fabs(g + r) ? v - r : v - (g + r);
}

// Whether an insert may touch the view box, from its block's box measured once per drawing pass
// and carried through the insert's transform. The carried box holds the exact extents, so nothing
// visible is culled; it saves measuring every block entity again for every insert.
class InsertCuller {
  public:
    bool MayTouch(const CDxfInsert& insert, const Point& viewMin, const Point& viewMax) {
        if (!insert.m_pBlock) return false;
        auto found = m_Boxes.find(insert.m_pBlock);
        if (found == m_Boxes.end()) {
            ExtentsBox box;
            box.valid = insert.m_pBlock->GetExtents(box.min, box.max, Matrix4());
            found = m_Boxes.emplace(insert.m_pBlock, box).first;
        }
        const ExtentsBox& local = found->second;
        if (!local.valid) return false;
        ExtentsBox world;
        AddTransformedBox(world, local.min, local.max, GetInsertMatrix(insert));
        return BoxesOverlap2D(world.min, world.max, viewMin, viewMax);
    }

  private:
    std::unordered_map<const CDxfBlock*, ExtentsBox> m_Boxes;
};

bool SquareMayTouch(const Point& centre, double halfSide, const Matrix4& own, const Point& viewMin,
                    const Point& viewMax) {
    ExtentsBox box;
    AddTransformedBox(box, Point(centre.x - halfSide, centre.y - halfSide, centre.z),
                      Point(centre.x + halfSide, centre.y + halfSide, centre.z), own);
    return BoxesOverlap2D(box.min, box.max, viewMin, viewMax);
}

// Whether the entity may touch the view box. Texts, arcs, solids and faces say yes to every box;
// here they are measured too, generously, so that a plan of many thousand texts zoomed in draws
// only the texts near the view.
bool MayTouchView(const CDxfEntity& e, InsertCuller& inserts, const Point& viewMin, const Point& viewMax) {
    switch (e.GetType()) {
    case DXF_INSERT:
        return inserts.MayTouch(static_cast<const CDxfInsert&>(e), viewMin, viewMax);
    case DXF_TEXT: {
        // No font is wider than 1.5 heights a character, whatever the justification or rotation.
        const CDxfText& t = static_cast<const CDxfText&>(e);
        const double reach = 1.5 * std::fabs(t.m_dHeight) * (double(t.m_csText.size()) + 2.0) *
                             std::max(1.0, std::fabs(t.m_dWidthFactor));
        return SquareMayTouch(t.m_Insert, reach, e.GetMatrix(), viewMin, viewMax);
    }
    case DXF_ARC: {
        const CDxfArc& a = static_cast<const CDxfArc&>(e);
        return SquareMayTouch(a.m_Centre, std::fabs(a.m_dRadius), e.GetMatrix(), viewMin, viewMax);
    }
    case DXF_SOLID:
    case DXF_3DFACE: {
        Point lo, hi;
        return e.GetExtents(lo, hi, Matrix4()) && BoxesOverlap2D(lo, hi, viewMin, viewMax);
    }
    default:
        return e.IsInBox(viewMin, viewMax);
    }
}

} // namespace

CanvasPen GetPenForColor(int colour) {
    if (colour < 1 || colour > 255) {
        Log().Printf(LOG_INFO, "GetPenForColor(%d) out of range", colour);
        colour = 1;
    }
    return Pens().pens[colour];
}

void SetPenColourForColour7(Rgb colour) {
    Pens().pens[7].colour = colour;
}

void SetTextDrawing(bool on) {
    g_bDrawText = on;
}

bool IsTextDrawingOn() {
    return g_bDrawText;
}

int GetNearestPaletteColour(Rgb colour) {
    int best = 1;
    int bestCost = -1;
    for (int i = 1; i <= 255; ++i) {
        const Rgb p = GetPaletteColour(i);
        const int cost = 2 * std::abs(RgbRed(p) - RgbRed(colour)) +
                         3 * std::abs(RgbGreen(p) - RgbGreen(colour)) +
                         std::abs(RgbBlue(p) - RgbBlue(colour));
        if (bestCost < 0 || cost < bestCost) {
            best = i;
            bestCost = cost;
        }
    }
    return best;
}

int GetDrawingColourNumber(const CDxfEntity& entity) {
    const int colour = entity.GetColour();
    if (colour == kColourByLayer) return entity.GetLayer() ? entity.GetLayer()->m_iColour : 1;
    if (colour == kColourByBlock) return 7;
    return colour;
}

bool GetDrawingExtents(const CEntList& entities, Point& min, Point& max, const Point& margin) {
    ExtentsBox box;
    const Matrix4 identity;
    for (const auto& e : entities) {
        if (!e) continue;
        if (e->GetLayer() && !e->GetLayer()->m_bVisible) continue;
        Point lo, hi;
        if (!e->GetExtents(lo, hi, identity)) continue;
        box.Add(lo);
        box.Add(hi);
    }
    if (!box.valid) {
        min = max = Point();
        return false;
    }
    min = box.min;
    max = box.max;
    const double gx = (max.x - min.x) * margin.x, gy = (max.y - min.y) * margin.y,
                 gz = (max.z - min.z) * margin.z;
    min = Point(min.x - gx, min.y - gy, min.z - gz);
    max = Point(max.x + gx, max.y + gy, max.z + gz);
    return true;
}

ViewTransform GetViewTransform(const PixelRect& rect, int zoomMode, const RenderSource& source,
                               const Point& boxMin, const Point& boxMax, const Matrix4* extra) {
    Point lo, hi;
    if (zoomMode != ZOOM_EXTENTS && zoomMode != ZOOM_HEADER_EXTENTS && zoomMode != ZOOM_BOX) {
        Log().Printf(LOG_INFO, "Unrecognised eZoomMode = %d", zoomMode);
        zoomMode = ZOOM_HEADER_EXTENTS;
    }
    if (zoomMode == ZOOM_EXTENTS) {
        if (source.entities) GetDrawingExtents(*source.entities, lo, hi, Point(0.02, 0.02, 0.0));
    } else if (zoomMode == ZOOM_HEADER_EXTENTS) {
        lo = source.headerMin;
        hi = source.headerMax;
        if (Distance2D(lo, hi) < 1e-4) {
            lo = hi = Point();
            if (source.entities) GetDrawingExtents(*source.entities, lo, hi);
        }
    } else {
        lo = boxMin;
        hi = boxMax;
    }
    double w = hi.x - lo.x, h = hi.y - lo.y;
    if (!(w > 0.0)) w = 0.1;
    if (!(h > 0.0)) h = 0.1;

    const double rectAspect = double(rect.right - rect.left + 1) / double(rect.bottom - rect.top + 1);
    const double s = rectAspect > w / h ? (rect.bottom - rect.top - 2) / h : (rect.right - rect.left - 2) / w;

    ViewTransform vt;
    Matrix4& m = vt.worldToPixel;
    m.m[0][0] = s;
    m.m[0][3] = rect.left + 1 - s * lo.x;
    m.m[1][1] = -s;
    m.m[1][3] = rect.bottom - 1 + s * lo.y;
    vt.viewMin = lo;
    vt.viewMax = hi;
    if (extra) {
        vt.worldToPixel = MultiplyMatrix(m, *extra);
        vt.viewMin = TransformPoint(*extra, lo);
        vt.viewMax = TransformPoint(*extra, hi);
    }
    return vt;
}

Matrix4 InvertPlaneTransform(const Matrix4& m) {
    const double a = m.m[0][0], b = m.m[0][1], c = m.m[1][0], d = m.m[1][1];
    const double det = a * d - b * c;
    Matrix4 inv;
    if (!(std::fabs(det) > 0.0) || !std::isfinite(det)) return inv;
    inv.m[0][0] = d / det;
    inv.m[0][1] = -b / det;
    inv.m[1][0] = -c / det;
    inv.m[1][1] = a / det;
    const double tx = m.m[0][3], ty = m.m[1][3];
    inv.m[0][3] = -(inv.m[0][0] * tx + inv.m[0][1] * ty);
    inv.m[1][3] = -(inv.m[1][0] * tx + inv.m[1][1] * ty);
    return inv;
}

void DrawDrawing(IDrawCanvas& canvas, const RenderSource& source, const Matrix4& worldToPixel,
                 const Point& viewMin, const Point& viewMax) {
    if (!source.entities || source.entities->IsEmpty()) return;
    const CanvasPen saved = canvas.GetPen();
    InsertCuller inserts;
    for (const auto& entity : *source.entities) {
        const CDxfEntity* e = entity.get();
        if (!e) {
            Log().Printf(LOG_INFO, "A pointer in the display list is null.");
            break;
        }
        if (e->GetLayer() && !e->GetLayer()->m_bVisible) continue;
        if (!MayTouchView(*e, inserts, viewMin, viewMax)) continue;
        canvas.SetPen(GetPenForColor(GetDrawingColourNumber(*e)));
        e->DrawIntoDC(canvas, worldToPixel);
    }
    if (source.snap) DrawSnapGrid(canvas, *source.snap, source.background, worldToPixel, viewMin, viewMax);
    canvas.SetPen(saved);
}

void DrawSnapGrid(IDrawCanvas& canvas, const CSnapPointList& snap, Rgb background,
                  const Matrix4& worldToPixel, const Point& viewMin, const Point& viewMax) {
    if (!(snap.m_iFlags & CSnapPointList::SNAP_GRID)) return;
    const double g = snap.m_dGridSpacing;
    if (!(g > 0.0) || !std::isfinite(g)) return;
    if (!((viewMax.x - viewMin.x) / g < 400.0)) return;
    const int sum = RgbRed(background) + RgbGreen(background) + RgbBlue(background);
    const Rgb grey = sum < 301 ? MakeRgb(55, 55, 55) : MakeRgb(100, 100, 100);
    const double x0 = RoundToGrid(viewMin.x, g), x1 = RoundToGrid(viewMax.x, g);
    const double y0 = RoundToGrid(viewMin.y, g), y1 = RoundToGrid(viewMax.y, g);
    const double slack = g * 1e-6;
    for (int i = 0; x0 + i * g <= x1 + slack; ++i) {
        for (int j = 0; y0 + j * g <= y1 + slack; ++j) {
            const Point p = TransformPoint(worldToPixel, Point(x0 + i * g, y0 + j * g));
            if (!InGuard(p)) continue;
            const int px = ToPixel(p.x), py = ToPixel(p.y);
            canvas.SetPixel(px, py, grey);
            canvas.SetPixel(px - 1, py, grey);
            canvas.SetPixel(px + 1, py, grey);
            canvas.SetPixel(px, py - 1, grey);
            canvas.SetPixel(px, py + 1, grey);
        }
    }
}

void DrawIntoRect(IDrawCanvas& canvas, const RenderSource& source, const PixelRect& rect, int zoomMode,
                  const Point& boxMin, const Point& boxMax, bool erase) {
    const ViewTransform vt = GetViewTransform(rect, zoomMode, source, boxMin, boxMax);
    canvas.PushClipRect(rect.left, rect.top, rect.right, rect.bottom);
    if (erase) canvas.FillRect(rect.left, rect.top, rect.right, rect.bottom, source.background);
    // Cull against all the rectangle shows, not only the fitted box, so that nothing visible is left out.
    const Matrix4 toWorld = InvertPlaneTransform(vt.worldToPixel);
    const Point a = TransformPoint(toWorld, Point(rect.left, rect.bottom));
    const Point b = TransformPoint(toWorld, Point(rect.right, rect.top));
    DrawDrawing(canvas, source, vt.worldToPixel, Point(std::min(a.x, b.x), std::min(a.y, b.y)),
                Point(std::max(a.x, b.x), std::max(a.y, b.y)));
    canvas.PopClipRect();
}

Matrix4 GetInsertMatrix(const CDxfInsert& insert) {
    if (!insert.m_pBlock) return insert.GetToWorldXform();
    const Point& base = insert.m_pBlock->m_BasePoint;
    const double r = insert.m_dRotation * kDegToRad, c = std::cos(r), s = std::sin(r);
    const double sx = insert.m_dScaleX, sy = insert.m_dScaleY, sz = insert.m_dScaleZ;
    Matrix4 m;
    m.m[0][0] = c * sx;
    m.m[0][1] = -s * sy;
    m.m[0][3] = insert.m_Insert.x - c * sx * base.x + s * sy * base.y;
    m.m[1][0] = s * sx;
    m.m[1][1] = c * sy;
    m.m[1][3] = insert.m_Insert.y - s * sx * base.x - c * sy * base.y;
    m.m[2][2] = sz;
    m.m[2][3] = insert.m_Insert.z - sz * base.z;
    return insert.HasIdentityMatrix() ? m : MultiplyMatrix(insert.GetMatrix(), m);
}

int ToPixel(double v) {
    if (!(v == v)) return 0;
    if (v > kGuard) return static_cast<int>(kGuard);
    if (v < -kGuard) return -static_cast<int>(kGuard);
    return static_cast<int>(v);
}

void DrawPixelLine(IDrawCanvas& canvas, const Point& a, const Point& b) {
    if (InGuard(a) && InGuard(b)) {
        canvas.DrawLine(static_cast<int>(a.x), static_cast<int>(a.y), static_cast<int>(b.x),
                        static_cast<int>(b.y));
        return;
    }
    Point p = a, q = b;
    if (ClipToGuard(p, q)) canvas.DrawLine(ToPixel(p.x), ToPixel(p.y), ToPixel(q.x), ToPixel(q.y));
}

void DrawPixelPolyline(IDrawCanvas& canvas, const std::vector<Point>& points, bool closed) {
    if (points.size() < 2) return;
    const bool inside = std::all_of(points.begin(), points.end(), InGuard);
    if (!inside) {
        for (size_t i = 0; i + 1 < points.size(); ++i)
            DrawPixelLine(canvas, points[i], points[i + 1]);
        if (closed) DrawPixelLine(canvas, points.back(), points.front());
        return;
    }
    // Points that fall on the pixel before them add nothing but work: a small arc of 50 points
    // may cover only a few pixels.
    std::vector<CanvasPoint> pixels;
    pixels.reserve(points.size() + 1);
    for (const Point& p : points) {
        const CanvasPoint q{static_cast<int>(p.x), static_cast<int>(p.y)};
        if (!pixels.empty() && pixels.back().x == q.x && pixels.back().y == q.y) continue;
        pixels.push_back(q);
    }
    if (closed && pixels.size() > 1) pixels.push_back(pixels.front());
    if (pixels.size() == 1) pixels.push_back(pixels.front()); // a dot rather than nothing
    canvas.DrawPolyline(pixels);
}
