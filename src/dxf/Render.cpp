#include "dxf/Render.h"

#include "base/Logger.h"
#include "dxf/DxfArc.h"
#include "dxf/DxfBlock.h"
#include "dxf/DxfCircle.h"
#include "dxf/DxfEntity.h"
#include "dxf/DxfInsert.h"
#include "dxf/DxfLine.h"
#include "dxf/DxfPalette.h"
#include "dxf/DxfPline.h"
#include "dxf/DxfSolid.h"
#include "dxf/DxfText.h"
#include "dxf/EntList.h"
#include "dxf/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

// The 2D box that holds the box lo-hi under the matrix, worked out by intervals: each output
// coordinate is a sum of terms, each least and greatest at one end of its axis. A hair is added,
// since mapping the points one by one may round the other way.
ExtentsBox TransformBox2D(const Point& lo, const Point& hi, const Matrix4& m) {
    ExtentsBox out;
    double low[2], high[2];
    for (int r = 0; r < 2; ++r) {
        double a = m.m[r][3], b = m.m[r][3];
        const double l[3] = {lo.x, lo.y, lo.z}, h[3] = {hi.x, hi.y, hi.z};
        for (int k = 0; k < 3; ++k) {
            const double p = m.m[r][k] * l[k], q = m.m[r][k] * h[k];
            a += std::min(p, q);
            b += std::max(p, q);
        }
        const double hair = 1e-12 * (std::fabs(a) + std::fabs(b));
        low[r] = a - hair;
        high[r] = b + hair;
        if (!(low[r] <= high[r])) { // an unbounded box under a zero term: unbounded still
            low[r] = -HUGE_VAL;
            high[r] = HUGE_VAL;
        }
    }
    out.valid = true;
    out.min = Point(low[0], low[1]);
    out.max = Point(high[0], high[1]);
    return out;
}

ExtentsBox Square(const Point& centre, double halfSide) {
    ExtentsBox box;
    box.valid = true;
    box.min = Point(centre.x - halfSide, centre.y - halfSide, centre.z);
    box.max = Point(centre.x + halfSide, centre.y + halfSide, centre.z);
    return box;
}

ExtentsBox Everywhere() {
    return Square(Point(), HUGE_VAL);
}

// The pixel marks that are not to scale (a point's cross, a tiny text's 10-pixel dash, a circle
// below a pixel, truncation towards zero) reach at most this far beyond an entity's box.
constexpr double kMarkPixels = 12.0;

// What decides how far texts reach: their font scale on this canvas.
struct ReachContext {
    double fontScale = 1.0;
};

ExtentsBox GetBlockReach(const CDxfBlock& block, const ReachContext& context);

// The reach of a top-level entity in the drawing plane, the common kinds without a matrix: the
// same box as GetReach's, found with less arithmetic. False when the entity is not one of them.
bool GetPlainReach(const CDxfEntity& e, const ReachContext& context, ExtentsBox& box) {
    if (!e.HasIdentityMatrix()) return false;
    switch (e.GetType()) {
    case DXF_TEXT: {
        const CDxfText& t = static_cast<const CDxfText&>(e);
        const double reach = 1.5 * std::fabs(t.m_dHeight) * (double(t.m_csText.size()) + 2.0) *
                             std::max(1.0, std::fabs(t.m_dWidthFactor)) * std::max(1.0, context.fontScale);
        box = Square(t.m_Insert, reach);
        return true;
    }
    case DXF_ARC: {
        const CDxfArc& a = static_cast<const CDxfArc&>(e);
        box = Square(a.m_Centre, std::fabs(a.m_dRadius));
        return true;
    }
    case DXF_CIRCLE: {
        const CDxfCircle& c = static_cast<const CDxfCircle&>(e);
        box = Square(c.m_Centre, std::fabs(c.m_dRadius));
        return true;
    }
    case DXF_SOLID: {
        const CDxfSolid& solid = static_cast<const CDxfSolid&>(e);
        box = ExtentsBox();
        for (int i = 0; i < solid.GetCornerCount(); ++i)
            box.Add(solid.m_Corners[i]);
        return true;
    }
    case DXF_PLINE: {
        const CDxfPline& pline = static_cast<const CDxfPline&>(e);
        box = ExtentsBox();
        for (const DxfVertex& v : pline.m_Vertices) {
            // Bulges and widths reach beyond the vertices: measured in full.
            if (v.bulge != 0.0 || v.width != 0.0) return false;
            box.Add(v.point);
        }
        return true;
    }
    default:
        return false;
    }
}

// A box holding all the entity draws under the matrix (block to world), apart from pixel marks;
// invalid when it draws nothing. Coarser than its extents where its extents do not hold its
// drawing: arcs and texts are measured generously, wide polylines with their width, and a
// circle by its largest radius under a stretching insert.
ExtentsBox GetReach(const CDxfEntity& e, const Matrix4& matrix, const ReachContext& context) {
    ExtentsBox box;
    switch (e.GetType()) {
    case DXF_INSERT: {
        const CDxfInsert& insert = static_cast<const CDxfInsert&>(e);
        if (!insert.m_pBlock) return box;
        const ExtentsBox local = GetBlockReach(*insert.m_pBlock, context);
        if (!local.valid) return box;
        return TransformBox2D(local.min, local.max, MultiplyMatrix(matrix, GetInsertMatrix(insert)));
    }
    case DXF_TEXT: {
        // No font is wider than 1.5 heights a character, whatever the justification or rotation.
        const CDxfText& t = static_cast<const CDxfText&>(e);
        const double reach = 1.5 * std::fabs(t.m_dHeight) * (double(t.m_csText.size()) + 2.0) *
                             std::max(1.0, std::fabs(t.m_dWidthFactor)) * std::max(1.0, context.fontScale);
        const ExtentsBox square = Square(t.m_Insert, reach);
        return TransformBox2D(square.min, square.max, e.ComposeWithOwn(matrix));
    }
    case DXF_ARC: {
        const CDxfArc& a = static_cast<const CDxfArc&>(e);
        const ExtentsBox square = Square(a.m_Centre, std::fabs(a.m_dRadius));
        return TransformBox2D(square.min, square.max, e.ComposeWithOwn(matrix));
    }
    case DXF_CIRCLE: {
        const CDxfCircle& c = static_cast<const CDxfCircle&>(e);
        const Matrix4 m = e.ComposeWithOwn(matrix);
        const double r = std::fabs(c.m_dRadius);
        const double reach = std::max(TransformedLength(m, r, 0.0, 0.0), TransformedLength(m, 0.0, r, 0.0));
        return Square(TransformPoint(m, c.m_Centre), reach);
    }
    case DXF_LINE:
    case DXF_SOLID:
    case DXF_3DFACE:
    case DXF_POINT:
        box.valid = e.GetExtents(box.min, box.max, matrix);
        return box;
    case DXF_PLINE: {
        box.valid = e.GetExtents(box.min, box.max, matrix);
        double width = 0.0;
        for (const DxfVertex& v : static_cast<const CDxfPline&>(e).m_Vertices)
            width = std::max(width, std::fabs(v.width));
        if (box.valid && width > 0.0) {
            const Matrix4 m = e.ComposeWithOwn(matrix);
            const double pad = width * (std::fabs(m.m[0][0]) + std::fabs(m.m[0][1]) + std::fabs(m.m[1][0]) +
                                        std::fabs(m.m[1][1]));
            box.min = Point(box.min.x - pad, box.min.y - pad, box.min.z);
            box.max = Point(box.max.x + pad, box.max.y + pad, box.max.z);
        }
        return box;
    }
    default:
        // Kinds not measured here are never culled.
        return Everywhere();
    }
}

// The reach of a block's entities in block coordinates, measured once and kept with the block
// until an entity list changes. Hidden layers count: their inserts may show them.
ExtentsBox GetBlockReach(const CDxfBlock& block, const ReachContext& context) {
    // Blocks that insert one another draw, below a block, what depends on where the walk began:
    // only a box measured from the top is kept.
    const bool fromTop = CDxfBlock::GetVisitDepth() == 0;
    const unsigned long long now = CEntList::GetChangeCount();
    CDxfBlock::KeptBox& kept = block.m_KeptReach;
    if (fromTop && kept.at == now && kept.fontScale == context.fontScale) return kept.box;
    CDxfBlock::VisitGuard guard(block);
    if (!guard.Entered()) return ExtentsBox(); // a block that inserts itself draws nothing more
    ExtentsBox box;
    const Matrix4 identity;
    for (const auto& e : block.m_EntList)
        if (e) box.Add(GetReach(*e, identity, context));
    if (fromTop) {
        kept.box = box;
        kept.at = now;
        kept.fontScale = context.fontScale;
    }
    return box;
}

// Whether the entity may draw into the view box.
bool MayTouchView(const CDxfEntity& e, const ReachContext& context, const Point& viewMin,
                  const Point& viewMax) {
    if (e.GetType() == DXF_LINE && e.HasIdentityMatrix()) {
        // The plan's most common entity, without building a box: rejected only when both ends lie
        // beyond the same side.
        const CDxfLine& l = static_cast<const CDxfLine&>(e);
        return !((l.m_Start.x < viewMin.x && l.m_End.x < viewMin.x) ||
                 (l.m_Start.x > viewMax.x && l.m_End.x > viewMax.x) ||
                 (l.m_Start.y < viewMin.y && l.m_End.y < viewMin.y) ||
                 (l.m_Start.y > viewMax.y && l.m_End.y > viewMax.y));
    }
    ExtentsBox box;
    if (e.GetType() == DXF_INSERT) {
        const CDxfInsert& insert = static_cast<const CDxfInsert&>(e);
        if (!insert.m_pBlock) return false;
        const ExtentsBox local = GetBlockReach(*insert.m_pBlock, context);
        if (!local.valid) return false;
        box = TransformBox2D(local.min, local.max, GetInsertMatrix(insert));
    } else if (!GetPlainReach(e, context, box)) {
        box = GetReach(e, Matrix4(), context);
    }
    return box.valid && BoxesOverlap2D(box.min, box.max, viewMin, viewMax);
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
    if (!entities.GetKeptExtents(box, true)) {
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
    ReachContext context;
    context.fontScale = canvas.GetFontScale();
    // The view grown by the pixel marks, in world units: a view that cannot be measured so is not
    // culled at all.
    const double scale = std::min(std::hypot(worldToPixel.m[0][0], worldToPixel.m[1][0]),
                                  std::hypot(worldToPixel.m[0][1], worldToPixel.m[1][1]));
    const double grow = scale > 0.0 && std::isfinite(scale) ? kMarkPixels / scale : HUGE_VAL;
    const Point cullMin(viewMin.x - grow, viewMin.y - grow), cullMax(viewMax.x + grow, viewMax.y + grow);
    for (const auto& entity : *source.entities) {
        const CDxfEntity* e = entity.get();
        if (!e) {
            Log().Printf(LOG_INFO, "A pointer in the display list is null.");
            break;
        }
        if (e->GetLayer() && !e->GetLayer()->m_bVisible) continue;
        if (!MayTouchView(*e, context, cullMin, cullMax)) continue;
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
    // Plans turn their thousands of inserts by a few angles: the last one's sine and cosine are kept.
    static thread_local double lastRotation = 0.0, lastCos = 1.0, lastSin = 0.0;
    if (!(insert.m_dRotation == lastRotation &&
          std::signbit(insert.m_dRotation) == std::signbit(lastRotation))) {
        const double r = insert.m_dRotation * kDegToRad;
        lastCos = std::cos(r);
        lastSin = std::sin(r);
        lastRotation = insert.m_dRotation;
    }
    const double c = lastCos, s = lastSin;
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
    DrawPixelPolyline(canvas, points.data(), points.size(), closed);
}

void DrawPixelPolyline(IDrawCanvas& canvas, const Point* points, size_t count, bool closed) {
    if (count < 2) return;
    const bool inside = std::all_of(points, points + count, InGuard);
    if (!inside) {
        for (size_t i = 0; i + 1 < count; ++i)
            DrawPixelLine(canvas, points[i], points[i + 1]);
        if (closed) DrawPixelLine(canvas, points[count - 1], points[0]);
        return;
    }
    // Points that fall on the pixel before them add nothing but work: a small arc of 50 points
    // may cover only a few pixels. The buffer is kept from call to call: a plan draws thousands.
    static thread_local std::vector<CanvasPoint> pixels;
    pixels.clear();
    pixels.reserve(count + 1);
    for (size_t i = 0; i < count; ++i) {
        const CanvasPoint q{static_cast<int>(points[i].x), static_cast<int>(points[i].y)};
        if (!pixels.empty() && pixels.back().x == q.x && pixels.back().y == q.y) continue;
        pixels.push_back(q);
    }
    if (closed && pixels.size() > 1) pixels.push_back(pixels.front());
    if (pixels.size() == 1) pixels.push_back(pixels.front()); // a dot rather than nothing
    canvas.DrawPolyline(pixels);
}
