#include "model/ModelOverlay.h"

#include "base/Logger.h"
#include "base/TextUtils.h"
#include "dxf/Geometry.h"
#include "dxf/Render.h"
#include "model/LENIAtrium.h"
#include "model/LENIFloor.h"
#include "model/LENIRoom.h"
#include "products/ZoneObjList.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <vector>

namespace {

using namespace overlay;

// Plan points to pixels, truncated as the drawing of the plan truncates them.
Polygon ToPixels(const Polygon& world, const Matrix4& m) {
    Polygon pixels;
    pixels.reserve(world.size());
    for (const Point& p : world) {
        const Point q = TransformPoint(m, p);
        pixels.emplace_back(ToPixel(q.x), ToPixel(q.y));
    }
    return pixels;
}

CanvasPoint ToCanvas(const Point& p) {
    return {ToPixel(p.x), ToPixel(p.y)};
}

void DrawLabel(IDrawCanvas& canvas, const CanvasPoint& at, const std::string& text, Rgb colour) {
    canvas.DrawText(at.x, at.y, text, GetModelLabelFont(), colour);
}

// A luminaire table wanted with its top centre at (x, y), where the placer puts it.
void DrawPlacedTable(IDrawCanvas& canvas, CLabelPlacer& placer, int x, int y, const std::string& title,
                     const CZoneObjList& list, const CanvasPen& pen, Rgb textColour) {
    const CanvasPoint at = placer.Place(x, y, kHalfTableWidth, kRowHeight * (list.GetCount() + 1));
    DrawLuminaireTable(canvas, at.x, at.y, title, list, pen, textColour);
}

void DrawRoofLight(IDrawCanvas& canvas, const CLENIRoom& room, const CLENIRoofLight& roofLight, const Matrix4& m,
                   const OverlayOptions& options, CLabelPlacer& placer) {
    const Polygon outline = ToPixels(room.GetRoofLightOutline(roofLight), m);
    DrawPixelPolyline(canvas, outline, true);
    if (outline.size() >= 4 && options.openingLabels) {
        std::string label = " Roof light " + roofLight.GetTypeName();
        if (roofLight.m_iType == RL_SHED)
            label += " " + CLENIRoofLight::GetRLOrientString(roofLight.GetOrientation()) + " " +
                     StrPrintf("(%.1f\xC2\xB0)", roofLight.m_dGammaF);
        DrawLabel(canvas, ToCanvas(outline[3]), label, kRoofLightTextColour);
    }
    const CanvasPen outlinePen = canvas.GetPen();
    canvas.SetPen(kDaylightAreaPen);
    DrawPixelPolyline(canvas, ToPixels(room.GetRoofLightDaylightArea(roofLight), m), true);
    if (roofLight.m_LumList.GetCount() > 0 && outline.size() >= 3 && options.luminaireTables) {
        const int x = ToPixel((outline[0].x + outline[2].x) / 2.0);
        const int y = ToPixel((outline[0].y + outline[2].y) / 2.0);
        DrawPlacedTable(canvas, placer, x, y, roofLight.GetLabel(), roofLight.m_LumList, kDaylightAreaPen,
                        kRoofLightTextColour);
    }
    // The next roof light's outline is drawn with the outline pen again.
    canvas.SetPen(outlinePen);
}

} // namespace

CanvasFont GetModelLabelFont() {
    CanvasFont font;
    font.faceName = "ARIAL";
    font.height = 12;
    return font;
}

std::string ShortenRefId(const std::string& refId) {
    // Counted in characters, so that a multi-byte character is never split.
    size_t chars = 0, cut = std::string::npos;
    for (size_t i = 0; i < refId.size(); ++i) {
        if ((static_cast<unsigned char>(refId[i]) & 0xC0) == 0x80) continue;
        if (chars == kMaxShownRefId) {
            cut = i;
            break;
        }
        ++chars;
    }
    if (cut == std::string::npos) return refId;
    return refId.substr(0, cut) + "...";
}

void DrawLuminaireTable(IDrawCanvas& canvas, int x, int y, const std::string& title, const CZoneObjList& list,
                        const CanvasPen& pen, Rgb textColour) {
    const CanvasPen saved = canvas.GetPen();
    canvas.SetPen(pen);
    const CanvasFont font = GetModelLabelFont();
    const int entries = list.GetCount();
    const int left = x - kHalfTableWidth, right = x + kHalfTableWidth;
    const int bottom = y + kRowHeight * (entries + 1);
    canvas.DrawPolyline({{left, y}, {right, y}, {right, bottom}, {left, bottom}, {left, y}});
    canvas.DrawText(x - 81, y, title, font, textColour);
    if (entries > 0) canvas.DrawLine(x + 50, y + kRowHeight, x + 50, bottom);
    for (int i = 1; i <= entries; ++i) {
        const CZoneObjList::Entry& entry = list.GetEntries()[i - 1];
        const int rowTop = y + kRowHeight * i;
        canvas.DrawLine(left, rowTop, right, rowTop);
        // A wide id stops at the count column rather than running into the count.
        canvas.PushClipRect(left, rowTop, x + 49, rowTop + kRowHeight);
        canvas.DrawText(x - 81, rowTop, ShortenRefId(entry.refId), font, textColour);
        canvas.PopClipRect();
        canvas.DrawText(x + 50, rowTop, StrPrintf(" %d", entry.count), font, textColour);
    }
    canvas.SetPen(saved);
}

CanvasPoint GetZoneLabelPoint(const Polygon& pixels) {
    const size_t n = pixels.size();
    if (n < 3) return n ? ToCanvas(pixels[0]) : CanvasPoint{};
    Point mean;
    for (const Point& p : pixels) {
        mean.x += p.x;
        mean.y += p.y;
    }
    mean.x /= double(n);
    mean.y /= double(n);
    if (IsPointInPolygon(pixels, mean)) return ToCanvas(mean);
    size_t top = 0;
    for (size_t i = 1; i < n; ++i)
        if (pixels[i].y < pixels[top].y) top = i;
    const Point& a = pixels[top];
    const Point& b = pixels[(top + 1) % n];
    const Point& c = pixels[(top + 2) % n];
    return ToCanvas(Point((a.x + b.x + c.x) / 3.0, (a.y + b.y + c.y) / 3.0));
}

namespace {

// A bound of how far a label's text reaches from where it is drawn, in pixels: no glyph of the
// label font is wider than 1.1 times its height, and a UTF-8 byte is at most one character.
int TextReach(const std::string& text) {
    return GetModelLabelFont().height * 11 * (int(text.size()) + 2) / 10;
}

int TableReach(const std::string& title, const CZoneObjList& list) {
    int reach = std::max(kHalfTableWidth, 81 + TextReach(title));
    for (const CZoneObjList::Entry& entry : list.GetEntries())
        reach = std::max(reach, 50 + TextReach(StrPrintf(" %d", entry.count)));
    return std::max(reach, kRowHeight * (list.GetCount() + 2));
}

void Extend(PixelBounds& bounds, const Polygon& pixels) {
    for (const Point& p : pixels) {
        bounds.left = std::min(bounds.left, p.x);
        bounds.right = std::max(bounds.right, p.x);
        bounds.top = std::min(bounds.top, p.y);
        bounds.bottom = std::max(bounds.bottom, p.y);
    }
}

} // namespace

namespace {

using RoomExtent = CRoomExtentMemo::Extent;

thread_local std::unordered_map<const CLENIRoom*, RoomExtent>* t_pExtents = nullptr;

RoomExtent GetRoomExtent(const CLENIRoom& room) {
    if (t_pExtents) {
        const auto found = t_pExtents->find(&room);
        if (found != t_pExtents->end()) return found->second;
    }
    RoomExtent extent;
    PixelBounds& bounds = extent.world;
    bounds.left = bounds.top = std::numeric_limits<double>::infinity();
    bounds.right = bounds.bottom = -std::numeric_limits<double>::infinity();
    Extend(bounds, room.GetPolygon());
    // The room's name where the plan editor draws it.
    int reach = TextReach(room.GetName()) + 2 * kRowHeight;
    for (const CLENIZone& zone : room.GetZones()) {
        Extend(bounds, zone.GetPolygon());
        reach = std::max(reach, TableReach(zone.GetName() + " (AND)", zone.GetLumList()));
    }
    for (const CLENIWindow& window : room.GetWindows()) {
        Extend(bounds, room.GetWindowDaylightArea(window));
        reach = std::max(reach, TextReach(window.GetLabel()));
        if (window.m_LumList.GetCount() > 0)
            reach = std::max(reach, TableReach(window.GetDaylightAreaLabel(), window.m_LumList));
    }
    for (const CLENIRoofLight& roofLight : room.GetRoofLights()) {
        Extend(bounds, room.GetRoofLightOutline(roofLight));
        Extend(bounds, room.GetRoofLightDaylightArea(roofLight));
        reach = std::max(reach, TextReach(" Roof light " + roofLight.GetTypeName() + " (shed orientation, 000.0 deg)"));
        if (roofLight.m_LumList.GetCount() > 0)
            reach = std::max(reach, TableReach(roofLight.GetLabel(), roofLight.m_LumList));
    }
    // Thick pens and rounding to whole pixels.
    extent.reach = reach + 16;
    if (t_pExtents) t_pExtents->emplace(&room, extent);
    return extent;
}

} // namespace

CRoomExtentMemo::CRoomExtentMemo() : m_pOuter(t_pExtents) {
    t_pExtents = &m_Extents;
}

CRoomExtentMemo::~CRoomExtentMemo() {
    t_pExtents = m_pOuter;
}

PixelBounds GetRoomModelBounds(const CLENIRoom& room, const Matrix4& worldToPixel) {
    const RoomExtent extent = GetRoomExtent(room);
    PixelBounds bounds;
    bounds.left = bounds.top = std::numeric_limits<double>::infinity();
    bounds.right = bounds.bottom = -std::numeric_limits<double>::infinity();
    if (!(extent.world.left <= extent.world.right)) return bounds; // nothing to draw
    // The corners of the world box: the picture of the box holds the picture of every point in it.
    const PixelBounds& w = extent.world;
    Extend(bounds, ToPixels({Point(w.left, w.top), Point(w.right, w.top), Point(w.right, w.bottom),
                             Point(w.left, w.bottom)},
                            worldToPixel));
    bounds.left -= extent.reach;
    bounds.top -= extent.reach;
    bounds.right += extent.reach;
    bounds.bottom += extent.reach;
    return bounds;
}

void DrawFloorModel(IDrawCanvas& canvas, const CLENIFloor& floor, const Matrix4& worldToPixel, double h,
                    const PixelBounds* visible, const OverlayOptions& options) {
    const CanvasPen saved = canvas.GetPen();
    for (const CLENIRoom& room : floor.GetRooms()) {
        if (visible) {
            // A room whose drawing cannot reach the visible part is not drawn at all: the cost of
            // a page follows what it shows, not the size of the floor.
            const PixelBounds b = GetRoomModelBounds(room, worldToPixel);
            if (!(b.right >= visible->left && b.left <= visible->right && b.bottom >= visible->top &&
                  b.top <= visible->bottom))
                continue;
        }
        DrawRoomModel(canvas, room, worldToPixel, h, options);
    }
    for (const CLENIAtrium& atrium : floor.GetAtria())
        DrawAtriumModel(canvas, atrium, worldToPixel);
    canvas.SetPen(saved);
}

namespace {

void DrawZone(IDrawCanvas& canvas, const CLENIZone& zone, const Matrix4& worldToPixel, const OverlayOptions& options,
              CLabelPlacer& placer) {
    if (zone.GetPolygon().size() < 3) {
        Log().Printf(LOG_INFO, "DrawZone with badly formed polygon...");
        return;
    }
    const Polygon pixels = ToPixels(zone.GetPolygon(), worldToPixel);
    DrawPixelPolyline(canvas, pixels, true);
    if (!options.luminaireTables) return;
    const CanvasPoint at = GetZoneLabelPoint(pixels);
    DrawPlacedTable(canvas, placer, at.x, at.y, zone.GetName() + " (AND)", zone.GetLumList(), kZoneTablePen,
                    kRoomTextColour);
}

void DrawWindow(IDrawCanvas& canvas, const CLENIRoom& room, const CLENIWindow& window, const Matrix4& worldToPixel,
                const OverlayOptions& options, CLabelPlacer& placer) {
    Point s, e;
    if (!room.GetWallStartAndEnd2D(window, s, e)) return;
    const Point ps = TransformPoint(worldToPixel, s), pe = TransformPoint(worldToPixel, e);
    const Point S(ToPixel(ps.x), ToPixel(ps.y)), E(ToPixel(pe.x), ToPixel(pe.y));
    const CanvasPen windowPen = canvas.GetPen();
    DrawPixelLine(canvas, S, E);
    if (options.openingLabels)
        canvas.DrawTextOpaque(ToPixel(0.2 * S.x + 0.8 * E.x), ToPixel(0.2 * S.y + 0.8 * E.y), window.GetLabel(),
                              GetModelLabelFont(), kWindowLabelColour, kLabelBackground);
    canvas.SetPen(kDaylightAreaPen);
    const Polygon area = ToPixels(room.GetWindowDaylightArea(window), worldToPixel);
    DrawPixelPolyline(canvas, area, true);
    if (window.m_LumList.GetCount() > 0 && !area.empty() && options.luminaireTables) {
        Point c;
        for (const Point& p : area) {
            c.x += p.x;
            c.y += p.y;
        }
        c.x /= double(area.size());
        c.y /= double(area.size());
        const Point mid((S.x + E.x) / 2.0, (S.y + E.y) / 2.0);
        DrawPlacedTable(canvas, placer, ToPixel(0.2 * c.x + 0.8 * mid.x), ToPixel(0.2 * c.y + 0.8 * mid.y),
                        window.GetDaylightAreaLabel(), window.m_LumList, kDaylightAreaPen, kRoomTextColour);
    }
    canvas.SetPen(windowPen);
}

// The roof lights' outlines and labels, which stay where they are: the tables keep clear of them.
void ReserveRoofLights(IDrawCanvas& canvas, const CLENIRoom& room, const Matrix4& worldToPixel,
                       const OverlayOptions& options, CLabelPlacer& placer) {
    for (const CLENIRoofLight& roofLight : room.GetRoofLights()) {
        const Polygon outline = ToPixels(room.GetRoofLightOutline(roofLight), worldToPixel);
        if (outline.empty()) continue;
        PixelBounds box{outline[0].x, outline[0].y, outline[0].x, outline[0].y};
        Extend(box, outline);
        if (options.openingLabels && outline.size() >= 4) {
            // As DrawRoofLight writes it, from the fourth corner; the shed's orientation at its longest.
            const std::string label = " Roof light " + roofLight.GetTypeName() + " South (00.0\xC2\xB0)";
            const Point& at = outline[3];
            Extend(box, {Point(at.x, at.y), Point(at.x + canvas.GetTextWidth(label, GetModelLabelFont()), at.y + kRowHeight)});
        }
        placer.Reserve(box);
    }
}

// The room's name on white at the room's label point, the first box the placer takes.
void DrawRoomName(IDrawCanvas& canvas, const CLENIRoom& room, const Polygon& pixels, CLabelPlacer& placer) {
    if (pixels.size() < 3 || room.GetName().empty()) return;
    const CanvasFont font = GetModelLabelFont();
    const int width = canvas.GetTextWidth(room.GetName(), font) + 6;
    const CanvasPoint want = GetZoneLabelPoint(pixels);
    // Above the zone table that is wanted at the same point.
    const CanvasPoint at = placer.Place(want.x, want.y - kRowHeight - 4, width / 2 + 1, kRowHeight + 2);
    canvas.DrawTextOpaque(at.x - width / 2 + 3, at.y + 1, room.GetName(), font, kRoomPen.colour, kLabelBackground);
}

} // namespace

void DrawRoomModel(IDrawCanvas& canvas, const CLENIRoom& room, const Matrix4& worldToPixel, double /*h*/,
                   const OverlayOptions& options) {
    // Every room outline gets the room pen, not whatever pen the room before it left selected.
    canvas.SetPen(kRoomPen);
    const Polygon pixels = ToPixels(room.GetPolygon(), worldToPixel);
    DrawPixelPolyline(canvas, pixels, true);
    CLabelPlacer placer(pixels, options.keepTablesApart);
    if (options.keepTablesApart) ReserveRoofLights(canvas, room, worldToPixel, options, placer);
    if (options.roomNames) DrawRoomName(canvas, room, pixels, placer);
    canvas.SetPen(kZonePen);
    for (const CLENIZone& zone : room.GetZones())
        DrawZone(canvas, zone, worldToPixel, options, placer);
    for (const CLENIWindow& window : room.GetWindows()) {
        canvas.SetPen(kWindowPen);
        DrawWindow(canvas, room, window, worldToPixel, options, placer);
    }
    // Note: the room's roof-light geometry uses the room's own height, which the floor keeps equal to h.
    if (room.GetRoofLightCount() > 0) {
        canvas.SetPen(kRoofLightPen);
        for (const CLENIRoofLight& roofLight : room.GetRoofLights())
            DrawRoofLight(canvas, room, roofLight, worldToPixel, options, placer);
    }
}

void DrawZoneModel(IDrawCanvas& canvas, const CLENIZone& zone, const Matrix4& worldToPixel) {
    CLabelPlacer placer({}, false);
    DrawZone(canvas, zone, worldToPixel, OverlayOptions(), placer);
}

void DrawWindowModel(IDrawCanvas& canvas, const CLENIRoom& room, const CLENIWindow& window,
                     const Matrix4& worldToPixel) {
    CLabelPlacer placer({}, false);
    DrawWindow(canvas, room, window, worldToPixel, OverlayOptions(), placer);
}

void DrawRoofLightModel(IDrawCanvas& canvas, const CLENIRoom& room, const CLENIRoofLight& roofLight,
                        const Matrix4& worldToPixel) {
    CLabelPlacer placer({}, false);
    DrawRoofLight(canvas, room, roofLight, worldToPixel, OverlayOptions(), placer);
}

CLabelPlacer::CLabelPlacer(const Polygon& roomPixels, bool active) : m_Room(roomPixels), m_bActive(active) {
    if (m_Room.empty()) return;
    m_RoomBox = {m_Room[0].x, m_Room[0].y, m_Room[0].x, m_Room[0].y};
    Extend(m_RoomBox, m_Room);
}

bool CLabelPlacer::Fits(const PixelBounds& box) const {
    // The cheap tests first: most places tried fail them.
    if (m_Room.empty() || box.left < m_RoomBox.left || box.right > m_RoomBox.right || box.top < m_RoomBox.top ||
        box.bottom > m_RoomBox.bottom)
        return false;
    constexpr double kGap = 2.0;
    for (const PixelBounds& other : m_Placed)
        if (box.left < other.right + kGap && other.left < box.right + kGap && box.top < other.bottom + kGap &&
            other.top < box.bottom + kGap)
            return false;
    for (const Point& corner : {Point(box.left, box.top), Point(box.right, box.top), Point(box.right, box.bottom),
                                Point(box.left, box.bottom)})
        if (!IsPointInPolygon(m_Room, corner)) return false;
    // Sides of the room that cut across the box (a notch) count as well.
    for (size_t i = 0; i < m_Room.size(); ++i) {
        const Point& a = m_Room[i];
        if (a.x > box.left && a.x < box.right && a.y > box.top && a.y < box.bottom) return false;
    }
    return true;
}

namespace {

struct Offset {
    int i, j; // quarter widths aside, half rows down
};

// The places tried, nearest first for a step of dxStep pixels aside and dyStep down; kept per step,
// since a picture asks for few different table widths.
const std::vector<Offset>& OffsetsNearestFirst(int dxStep, int dyStep) {
    constexpr int kRows = 60, kColumns = 12;
    thread_local std::unordered_map<long long, std::vector<Offset>> cache;
    std::vector<Offset>& offsets = cache[(static_cast<long long>(dxStep) << 32) | static_cast<unsigned>(dyStep)];
    if (!offsets.empty()) return offsets;
    for (int j = -kRows; j <= kRows; ++j)
        for (int i = -kColumns; i <= kColumns; ++i)
            offsets.push_back({i, j});
    auto cost = [&](const Offset& o) {
        const double dx = double(o.i) * dxStep, dy = double(o.j) * dyStep;
        return dx * dx + dy * dy;
    };
    std::stable_sort(offsets.begin(), offsets.end(),
                     [&](const Offset& a, const Offset& b) { return cost(a) < cost(b); });
    return offsets;
}

} // namespace

CanvasPoint CLabelPlacer::Place(int x, int y, int halfWidth, int height) {
    if (!m_bActive) return {x, y};
    auto boxAt = [&](int cx, int top) {
        PixelBounds box;
        box.left = cx - halfWidth;
        box.right = cx + halfWidth;
        box.top = top;
        box.bottom = top + height;
        return box;
    };
    // Candidates nearest first: half-row steps down and up, quarter-width steps to the sides.
    const int dyStep = kRowHeight / 2, dxStep = std::max(1, halfWidth / 2);
    for (const Offset& o : OffsetsNearestFirst(dxStep, dyStep)) {
        const int cx = x + o.i * dxStep, top = y + o.j * dyStep;
        const PixelBounds box = boxAt(cx, top);
        if (Fits(box)) {
            m_Placed.push_back(box);
            return {cx, top};
        }
    }
    m_Placed.push_back(boxAt(x, y));
    return {x, y};
}

void DrawAtriumModel(IDrawCanvas& canvas, const CLENIAtrium& atrium, const Matrix4& worldToPixel) {
    const CanvasPen saved = canvas.GetPen();
    canvas.SetPen(kAtriumPen);
    const Polygon pixels = ToPixels(atrium.m_Polygon, worldToPixel);
    DrawPixelPolyline(canvas, pixels, true);
    if (pixels.size() >= 3) {
        // The mean of the first, second and fourth vertices; a triangle uses its third.
        const Point& last = pixels.size() >= 4 ? pixels[3] : pixels[2];
        const Point at((pixels[0].x + pixels[1].x + last.x) / 3.0,
                       (pixels[0].y + pixels[1].y + last.y) / 3.0);
        DrawLabel(canvas, ToCanvas(at), atrium.m_csName, kAtriumTextColour);
    }
    canvas.SetPen(saved);
}

void DrawNorthArrow(IDrawCanvas& canvas, int right) {
    const CanvasPen saved = canvas.GetPen();
    canvas.SetPen({MakeRgb(0, 0, 0), 1, PEN_SOLID});
    const int r = right;
    canvas.DrawLine(r - 16, 90, r - 16, 30);
    canvas.DrawLine(r - 16, 30, r - 24, 46);
    canvas.DrawLine(r - 16, 30, r - 8, 46);
    canvas.DrawPolyline({{r - 24, 30}, {r - 24, 14}, {r - 8, 30}, {r - 8, 14}});
    canvas.SetPen(saved);
}

void DrawInstanceMark(IDrawCanvas& canvas, int right, int count) {
    if (count == 1) return;
    CanvasFont font;
    font.faceName = "ARIAL";
    font.height = 24;
    const std::string text = StrPrintf("X%d", count);
    canvas.DrawText(right - 5 - canvas.GetTextWidth(text, font), 90, text, font, MakeRgb(0, 0, 0));
}
