#include "ui/editor/FloorView.h"

#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "dxf/DxfFile.h"
#include "dxf/DxfPalette.h"
#include "dxf/DxfPline.h"
#include "dxf/EntList.h"
#include "dxf/Geometry.h"
#include "dxf/Render.h"
#include "model/CoordinateEntry.h"
#include "model/LENIFloor.h"
#include "model/ModelOverlay.h"
#include "ui/editor/LeniColouring.h"
#include "ui/platform/QtCanvas.h"

#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

// The picture sits inside a 2-pixel frame of the page.
constexpr int kFrame = 2;
const QColor kEmptyPage(0x9B, 0x9B, 0x9B);
// Zones may start on an existing zone's outline, within this distance of it.
constexpr double kOnOutline = 0.05;

bool IsDrawingMode(int mode) {
    return mode == MM_ADD_ROOM || mode == MM_ADD_ZONE || mode == MM_ADD_ATRIUM;
}

// Modes whose clicks pick snapped points.
bool IsPickingMode(int mode) {
    return IsDrawingMode(mode) || mode == MM_MEASURE;
}

QColor ToQColor(Rgb c) {
    return QColor(RgbRed(c), RgbGreen(c), RgbBlue(c));
}

} // namespace

const char* CFloorView::GetOutlineLayer(int mode) {
    switch (mode) {
    case MM_ADD_ROOM:
        return "FLOOR_PLINE";
    case MM_ADD_ZONE:
        return "ZONE_PLINE";
    case MM_ADD_ATRIUM:
        return "ATRIUM_PLINE";
    default:
        return "";
    }
}

int CFloorView::GetOutlineColour(int mode) {
    // The nearest palette colours to RGB(0,100,55), RGB(127,0,0) and RGB(0,128,127).
    switch (mode) {
    case MM_ADD_ROOM:
        return 126;
    case MM_ADD_ZONE:
        return 14;
    case MM_ADD_ATRIUM:
        return 134;
    default:
        return 7;
    }
}

CFloorView::CFloorView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(100, 100);
    const QString sign = QLocale().decimalPoint();
    SetDecimalSign(sign.isEmpty() ? '.' : sign.at(0).toLatin1());
}

void CFloorView::SetDrawing(const CEntList* entities, CSnapPointList* snap, const CLENIFloor* floor) {
    m_pEntities = entities;
    m_pSnap = snap;
    m_pFloor = floor;
    m_iSavedMode = MM_NONE;
    StopDrawing();
    if (!entities) m_Image = QImage();
    ZoomAll();
}

void CFloorView::SetDxfFile(CDxfFile* drawing, const CLENIFloor* floor) {
    if (!drawing) {
        SetDrawing(nullptr, nullptr, floor);
        return;
    }
    drawing->m_BackgroundColour = MakeRgb(255, 255, 255);
    SetPenColourForColour7(MakeRgb(0, 0, 0));
    SetDrawing(&drawing->GetEntList(), &drawing->GetSnapPoints(), floor);
}

void CFloorView::SetFloor(const CLENIFloor* floor) {
    m_pFloor = floor;
    RefreshSelection();
    Invalidate();
}

// ---- Editing outlines ----

double CFloorView::PixelScale() const {
    return std::abs(GetWorldToPixel().m[0][0]);
}

bool CFloorView::SelectAt(const Point& p) {
    ClearSelection();
    if (!m_pFloor) return false;
    if (const CLENIRoom* room = m_pFloor->GetRoomAtPoint(p, false)) {
        m_SelRoom = room->GetName();
        if (const CLENIZone* zone = room->GetZoneAtPoint(p)) {
            m_iSelKind = OUTLINE_ZONE;
            m_SelName = zone->GetName();
        } else {
            m_iSelKind = OUTLINE_ROOM;
        }
    } else if (const CLENIAtrium* atrium = m_pFloor->GetAtriumAtPoint(p)) {
        m_iSelKind = OUTLINE_ATRIUM;
        m_SelName = atrium->m_csName;
    } else {
        return false;
    }
    RefreshSelection();
    return m_iSelKind != OUTLINE_NONE;
}

void CFloorView::ClearSelection() {
    m_iSelKind = OUTLINE_NONE;
    m_SelRoom.clear();
    m_SelName.clear();
    m_SelOutline.clear();
    m_iDragCorner = -1;
    m_bMovingOutline = false;
    m_bCopy = false;
    update();
}

void CFloorView::SetCopyMode(bool copy) {
    m_bCopy = copy && m_iSelKind == OUTLINE_ROOM;
    ReportStatus();
    update();
}

bool CFloorView::PlaceSelection(const Point& by) {
    if (!m_bCopy) {
        Polygon outline = m_SelOutline;
        for (Point& v : outline) {
            v.x += by.x;
            v.y += by.y;
        }
        return CommitEdit(outline, {}, Point(by.x, by.y));
    }
    m_bCopy = false;
    const bool done = m_CopyHandler && m_CopyHandler(m_SelRoom, Point(by.x, by.y));
    RefreshSelection();
    ReportStatus();
    return done;
}

void CFloorView::RefreshSelection() {
    if (m_iSelKind == OUTLINE_NONE) return;
    m_SelOutline = m_pFloor ? GetEditedOutline(*m_pFloor, m_iSelKind, m_SelRoom, m_SelName) : Polygon();
    if (m_SelOutline.empty()) ClearSelection();
    update();
}

bool CFloorView::CommitEdit(const Polygon& outline, std::vector<int> wallMap, const Point& shift) {
    if (m_iSelKind == OUTLINE_NONE) return false;
    OutlineEdit edit;
    edit.kind = m_iSelKind;
    edit.room = m_SelRoom;
    edit.name = m_SelName;
    edit.outline = outline;
    for (Point& v : edit.outline)
        v.z = v.w = 0.0;
    edit.wallMap = std::move(wallMap);
    edit.shift = shift;
    edit.moveContents = m_iSelKind == OUTLINE_ROOM && (shift.x != 0.0 || shift.y != 0.0);
    const bool done = m_EditHandler && m_EditHandler(edit);
    RefreshSelection();
    return done;
}

bool CFloorView::InsertCornerAt(const Point& p) {
    if (m_iSelKind == OUTLINE_NONE || m_SelOutline.size() < 2) return false;
    const Point at = SnapPick(p).point;
    const NearestPoint nearest = GetNearestPointOnPolygon(m_SelOutline, at);
    if (nearest.index1 < 0) return false;
    // On the side nearest the pointer, after its first corner.
    int after = nearest.index1;
    const int n = static_cast<int>(m_SelOutline.size());
    if (nearest.index1 == nearest.index2) {
        WalertBox("Point at a side of the outline, not at a corner, to insert a corner");
        return false;
    }
    if (nearest.index2 != (after + 1) % n) after = nearest.index2;
    Polygon outline = m_SelOutline;
    outline.insert(outline.begin() + after + 1, Point(at.x, at.y));
    return CommitEdit(outline, m_iSelKind == OUTLINE_ROOM ? WallMapAfterInsert(n, after) : std::vector<int>(),
                      Point());
}

bool CFloorView::DeleteCornerAt(const Point& p) {
    if (m_iSelKind == OUTLINE_NONE) return false;
    const int n = static_cast<int>(m_SelOutline.size());
    if (n <= 3) {
        WalertBox("An outline keeps at least 3 corners");
        return false;
    }
    int corner = -1;
    double best = 0.0;
    for (int i = 0; i < n; ++i) {
        const double d = Distance2D(m_SelOutline[i], p);
        if (corner < 0 || d < best) {
            corner = i;
            best = d;
        }
    }
    Polygon outline = m_SelOutline;
    outline.erase(outline.begin() + corner);
    return CommitEdit(outline, m_iSelKind == OUTLINE_ROOM ? WallMapAfterDelete(n, corner) : std::vector<int>(),
                      Point());
}

bool CFloorView::MoveSelection(const Point& by) {
    if (m_iSelKind == OUTLINE_NONE || (by.x == 0.0 && by.y == 0.0)) return false;
    return PlaceSelection(by);
}

void CFloorView::DrawSelection(QPainter& painter) {
    if (m_iSelKind == OUTLINE_NONE || m_SelOutline.empty() || m_Image.isNull()) return;
    const Matrix4 toPixel = GetWorldToPixel();
    QPolygonF line;
    for (const Point& v : m_SelOutline) {
        const Point q = TransformPoint(toPixel, Point(v.x, v.y));
        line << QPointF(q.x + kFrame, q.y + kFrame);
    }
    painter.save();
    painter.setClipRect(QRect(kFrame, kFrame, m_Image.width(), m_Image.height()));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 90, 220), 2, Qt::DashLine));
    painter.drawPolygon(line);
    // The corners' grips.
    painter.setPen(QPen(QColor(0, 90, 220), 1));
    painter.setBrush(Qt::white);
    for (int i = 0; i < line.size(); ++i) {
        if (i == m_iDragCorner) painter.setBrush(QColor(0, 90, 220));
        painter.drawRect(QRectF(line[i].x() - 4, line[i].y() - 4, 8, 8));
        if (i == m_iDragCorner) painter.setBrush(Qt::white);
    }
    painter.restore();
}

void CFloorView::ZoomAll() {
    Point lo, hi;
    bool any = m_pEntities && GetDrawingExtents(*m_pEntities, lo, hi, Point(0.05, 0.05, 0.0));
    auto take = [&](const Polygon& polygon) {
        for (const Point& p : polygon) {
            if (!any) {
                lo = hi = p;
                any = true;
            }
            lo.x = std::min(lo.x, p.x);
            lo.y = std::min(lo.y, p.y);
            hi.x = std::max(hi.x, p.x);
            hi.y = std::max(hi.y, p.y);
        }
    };
    // Everything of the floor the user drew: an atrium or a roof light may lie beyond the rooms
    // and the drawing, and must not be left outside the view.
    if (m_pFloor) {
        for (const CLENIRoom& room : m_pFloor->GetRooms()) {
            take(room.GetPolygon());
            for (const CLENIRoofLight& roofLight : room.GetRoofLights())
                take(room.GetRoofLightOutline(roofLight));
        }
        for (const CLENIAtrium& atrium : m_pFloor->GetAtria())
            take(atrium.m_Polygon);
    }
    if (!any) hi = Point(1, 1);
    SetViewWindow(Point(lo.x, lo.y), Point(hi.x, hi.y));
}

void CFloorView::ZoomStep(int n, const Point& c) {
    const double width = m_ViewMax.x - m_ViewMin.x;
    if ((width < 0.01 && n > 0) || (width > 5e8 && n < 0)) return;
    // Many notches at once must not turn the view inside out.
    const double f = std::max(0.05, 1.0 - 0.05 * n);
    SetViewWindow(Point(c.x - f * (c.x - m_ViewMin.x), c.y - f * (c.y - m_ViewMin.y)),
                  Point(c.x + f * (m_ViewMax.x - c.x), c.y + f * (m_ViewMax.y - c.y)));
}

void CFloorView::Pan(double dx, double dy) {
    SetViewWindow(Point(m_ViewMin.x + dx, m_ViewMin.y + dy), Point(m_ViewMax.x + dx, m_ViewMax.y + dy));
}

void CFloorView::SetViewWindow(const Point& min, const Point& max) {
    m_ViewMin = min;
    m_ViewMax = max;
    Invalidate();
}

void CFloorView::SetShowDxfBackground(bool show) {
    m_bShowDxf = show;
    Invalidate();
}

void CFloorView::SetPlanDisplay(const PlanDisplay& display) {
    m_Display = display;
    SetShowDxfBackground(display.dxfDrawing);
}

void CFloorView::ToggleObjectSnap() {
    if (m_pSnap) m_pSnap->m_iFlags ^= CSnapPointList::SNAP_OBJECT;
    ReportStatus();
    Invalidate();
}

void CFloorView::ToggleGridSnap() {
    if (m_pSnap) {
        const int was = (m_pSnap->m_iFlags & CSnapPointList::SNAP_GRID) ? 1 : 0;
        m_pSnap->m_iFlags ^= CSnapPointList::SNAP_GRID;
        Log().Printf(LOG_INFO, "Grid snap was %d, now is %d (%d)", was, 1 - was, m_pSnap->m_iFlags);
    }
    ReportStatus();
    Invalidate();
}

std::string CFloorView::GetStatusText() const {
    const bool grid = m_pSnap && (m_pSnap->m_iFlags & CSnapPointList::SNAP_GRID);
    const bool object = m_pSnap && (m_pSnap->m_iFlags & CSnapPointList::SNAP_OBJECT);
    std::string snaps =
        grid ? StrPrintf("[GRID SNAP ON %.2f m F9] ", m_pSnap->m_dGridSpacing) : "[grid snap off F9] ";
    snaps += object ? "[OBJECT SNAP ON F3]" : "[object snap off F3]";
    std::string text = StrPrintf("%s   DXFPOS: %.2f %.2f", snaps.c_str(), m_PointerWorld.x, m_PointerWorld.y);
    // What the mode expects comes first, where a narrow status bar still shows it.
    if (IsPickingMode(m_eMouseMode)) {
        static const char* const kSnapNames[] = {"", "corner", "side", "drawing point", "grid"};
        const int kind = SnapPick(m_PointerWorld).kind;
        if (kind > SNAPPED_NONE && kind <= SNAPPED_GRID) text = StrPrintf("snap: %s   ", kSnapNames[kind]) + text;
    }
    const std::string prompt = GetPrompt();
    if (!prompt.empty()) text = prompt + "   " + text;
    return text;
}

std::string CFloorView::GetPrompt() const {
    if (m_eMouseMode == MM_NONE && m_iSelKind != OUTLINE_NONE) {
        const std::string xy = m_cDecimalSign == ',' ? "@dx;dy" : "@dx,dy";
        if (m_bCopy)
            return "Copy: drag the room or type " + xy + " to place the copy, C to move instead, Esc to let go" +
                   (m_Entry.empty() ? std::string() : "   Copy by: " + m_Entry + "_");
        std::string prompt = "Drag a corner or the inside, Insert or Delete a corner at the pointer, type " + xy +
                             " to move, C to copy a room, Esc to let go";
        if (!m_Entry.empty()) prompt += "   Move by: " + m_Entry + "_";
        return prompt;
    }
    if (m_eMouseMode == MM_MEASURE) {
        const std::string prompt = m_iMeasurePoints == 1 ? "Measure: click the second point"
                                                         : "Measure: click a point or inside a room; Esc ends";
        return m_MeasureText.empty() ? prompt : m_MeasureText + "   " + prompt;
    }
    if (!IsDrawingMode(m_eMouseMode)) return std::string();
    const std::string xy = m_cDecimalSign == ',' ? "x;y" : "x,y";
    std::string prompt;
    if (m_bRectangle)
        prompt = !m_bHasOutline || m_Outline.empty() ? "Rectangle: click the first corner or type " + xy
                                                      : "Rectangle: click the opposite corner or type " + xy;
    else if (!m_bHasOutline || m_Outline.empty())
        prompt = "Click the first corner, type " + xy + ", or press R to draw a rectangle";
    else if (m_Outline.size() < 3)
        prompt = "Click the next corner or type " + xy;
    else
        prompt = "Click the next corner, type " + xy + ", or press Enter to close";
    if (!m_Entry.empty()) prompt += "   Corner: " + m_Entry + "_";
    return prompt;
}

void CFloorView::ReportStatus() {
    if (m_StatusCallback) m_StatusCallback(GetStatusText());
}

QSize CFloorView::AreaSize() const {
    return QSize(std::max(1, width() - 2 * kFrame), std::max(1, height() - 2 * kFrame));
}

Matrix4 CFloorView::GetWorldToPixel() const {
    const QSize area = AreaSize();
    const PixelRect rect{0, 0, area.width(), area.height()};
    // The view window is centred in the picture: it grows on both sides to the picture's shape,
    // rather than sitting in the bottom-left corner with the spare room above or to the right.
    Point lo = m_ViewMin, hi = m_ViewMax;
    const double w = hi.x - lo.x > 0.0 ? hi.x - lo.x : 0.1, h = hi.y - lo.y > 0.0 ? hi.y - lo.y : 0.1;
    const double rectAspect = double(rect.right + 1) / double(rect.bottom + 1);
    if (rectAspect > w / h) {
        const double s = (rect.bottom - 2) / h;
        const double grow = s > 0.0 ? ((rect.right - 2) / s - w) / 2.0 : 0.0;
        if (grow > 0.0) {
            lo.x -= grow;
            hi.x += grow;
        }
    } else {
        const double s = (rect.right - 2) / w;
        const double grow = s > 0.0 ? ((rect.bottom - 2) / s - h) / 2.0 : 0.0;
        if (grow > 0.0) {
            lo.y -= grow;
            hi.y += grow;
        }
    }
    return GetViewTransform(rect, ZOOM_BOX, RenderSource(), lo, hi).worldToPixel;
}

Point CFloorView::WidgetToWorld(const QPoint& pixel) const {
    const Point p = TransformPoint(InvertPlaneTransform(GetWorldToPixel()),
                                   Point(pixel.x() - kFrame, pixel.y() - kFrame));
    return Point(p.x, p.y);
}

void CFloorView::Invalidate() {
    m_bRedrawNeeded = true;
    update();
}

void CFloorView::RenderImage() {
    if (!m_pEntities && !m_pFloor) {
        m_Image = QImage();
        return;
    }
    const QSize area = AreaSize();
    if (m_Image.size() != area) {
        m_Image = QImage(area, QImage::Format_RGB32);
        m_bRedrawNeeded = true;
    }
    if (!m_bRedrawNeeded) return;
    m_Image.fill(Qt::white);
    const Matrix4 toPixel = GetWorldToPixel();
    {
        QPainter painter(&m_Image);
        CQtCanvas canvas(painter);
        if (m_pFloor) FillRoomsByLeni(canvas, *m_pFloor, toPixel); // under the plan's lines
        if (m_bShowDxf && m_pEntities) {
            RenderSource source;
            source.entities = m_pEntities;
            source.snap = m_pSnap;
            // Everything the picture shows is drawn, also beyond the view window where the
            // picture's shape differs from the window's.
            const Matrix4 toWorld = InvertPlaneTransform(toPixel);
            const Point a = TransformPoint(toWorld, Point(0, area.height()));
            const Point b = TransformPoint(toWorld, Point(area.width(), 0));
            DrawDrawing(canvas, source, toPixel, Point(a.x, a.y), Point(b.x, b.y));
        }
        if (m_pFloor) {
            OverlayOptions options;
            options.luminaireTables = m_Display.luminaireTables;
            options.openingLabels = m_Display.openingLabels;
            options.roomNames = true;
            options.keepTablesApart = true;
            DrawFloorModel(canvas, *m_pFloor, toPixel, m_pFloor->GetHeight(), nullptr, options);
        }
        DrawNorthArrow(canvas, area.width());
        if (m_pFloor) DrawInstanceMark(canvas, area.width(), m_pFloor->GetInstanceCount());
        DrawLeniColouringLegend(canvas, area.width(), area.height());
    }
    m_bRedrawNeeded = false;
    ++m_iRenderCount;
}

// ---- Drawing outlines ----

void CFloorView::SetMode(int mode) {
    const bool changed = mode != m_eMouseMode;
    m_eMouseMode = mode;
    if (IsPickingMode(mode))
        setCursor(Qt::CrossCursor);
    else
        unsetCursor();
    if (changed && m_ModeHandler) m_ModeHandler();
    if (changed) ReportStatus();
}

void CFloorView::StartDrawing(int mode) {
    if (!IsDrawingMode(mode)) return;
    m_Outline.clear();
    m_bHasOutline = false;
    m_csZoneRoom.clear();
    m_Entry.clear();
    m_bRectangle = false;
    ClearSelection();
    SetMode(mode);
    setFocus();
    update();
}

void CFloorView::StartMeasure() {
    StopDrawing();
    ClearSelection();
    m_iMeasurePoints = 0;
    m_MeasureText.clear();
    SetMode(MM_MEASURE);
    setCursor(Qt::CrossCursor);
    setFocus();
}

std::string CFloorView::AreaTextAt(const Point& p) const {
    if (!m_pFloor) return std::string();
    if (const CLENIRoom* room = m_pFloor->GetRoomAtPoint(p, false)) {
        const std::string roomText = StrPrintf("room <%s>: %.2f m2", room->GetName().c_str(), room->GetArea());
        if (const CLENIZone* zone = room->GetZoneAtPoint(p))
            return StrPrintf("Zone <%s>: %.2f m2 in ", zone->GetName().c_str(), zone->GetArea()) + roomText;
        return "R" + roomText.substr(1);
    }
    if (const CLENIAtrium* atrium = m_pFloor->GetAtriumAtPoint(p))
        return StrPrintf("Atrium <%s>: %.2f m2", atrium->m_csName.c_str(), CalcShoelaceArea(atrium->m_Polygon));
    return std::string();
}

void CFloorView::MeasureAt(const Point& p) {
    if (m_eMouseMode != MM_MEASURE) return;
    const Point at = SnapPick(p).point;
    if (m_iMeasurePoints != 1) {
        m_MeasureFrom = Point(at.x, at.y);
        m_iMeasurePoints = 1;
        m_MeasureText = StrPrintf("From %.2f %.2f", at.x, at.y);
        // The areas under the pointer itself: a snapped point may sit on the room's wall.
        const std::string area = AreaTextAt(p);
        if (!area.empty()) m_MeasureText = area + "   " + m_MeasureText;
    } else {
        m_MeasureTo = Point(at.x, at.y);
        m_iMeasurePoints = 2;
        const double dx = m_MeasureTo.x - m_MeasureFrom.x, dy = m_MeasureTo.y - m_MeasureFrom.y;
        m_MeasureText = StrPrintf("Distance %.2f m (dx %.2f m, dy %.2f m)", std::hypot(dx, dy), dx, dy);
    }
    ReportStatus();
    update();
}

void CFloorView::DrawMeasure(QPainter& painter) {
    if (m_eMouseMode != MM_MEASURE || m_iMeasurePoints == 0 || m_Image.isNull()) return;
    const Matrix4 toPixel = GetWorldToPixel();
    auto pixel = [&](const Point& w) {
        const Point q = TransformPoint(toPixel, Point(w.x, w.y));
        return QPointF(q.x + kFrame, q.y + kFrame);
    };
    const QPointF a = pixel(m_MeasureFrom);
    const QPointF b = m_iMeasurePoints == 2 ? pixel(m_MeasureTo) : QPointF(m_Pointer.x() + kFrame, m_Pointer.y() + kFrame);
    painter.save();
    painter.setClipRect(QRect(kFrame, kFrame, m_Image.width(), m_Image.height()));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(200, 0, 160), 2, m_iMeasurePoints == 2 ? Qt::SolidLine : Qt::DashLine));
    painter.drawLine(a, b);
    painter.drawEllipse(a, 3.0, 3.0);
    if (m_iMeasurePoints == 2) {
        painter.drawEllipse(b, 3.0, 3.0);
        // The distance at the middle of the line, on white.
        const QString text = QString::fromStdString(m_MeasureText.substr(0, m_MeasureText.find(" (")));
        const QFontMetrics metrics(painter.font());
        const QPointF mid = (a + b) / 2.0;
        const double w = metrics.horizontalAdvance(text) + 8, h = metrics.height() + 4;
        // Kept inside the picture, where a point lies near its edge.
        const QRectF box(std::clamp(mid.x() + 6, double(kFrame), std::max(double(kFrame), kFrame + m_Image.width() - w)),
                         std::clamp(mid.y() - h - 2, double(kFrame), std::max(double(kFrame), kFrame + m_Image.height() - h)),
                         w, h);
        painter.fillRect(box, Qt::white);
        painter.setPen(QColor(200, 0, 160));
        painter.drawText(box, Qt::AlignCenter, text);
    }
    painter.restore();
}

void CFloorView::StopDrawing() {
    m_Outline.clear();
    m_bHasOutline = false;
    m_csZoneRoom.clear();
    m_Entry.clear();
    m_bRectangle = false;
    SetMode(MM_NONE);
    Invalidate();
}

bool CFloorView::CheckClick(const Point& p) {
    switch (m_eMouseMode) {
    case MM_ADD_ROOM:
        if (const CLENIRoom* room = m_pFloor ? m_pFloor->GetRoomAtPoint(p, false) : nullptr) {
            WalertBox("The new room cannot be inside an existing room\nThis point is inside <%s>",
                      room->GetName().c_str());
            return false;
        }
        return true;
    case MM_ADD_ZONE: {
        const CLENIRoom* room = m_pFloor ? m_pFloor->GetRoomAtPoint(p, true) : nullptr;
        if (!room) {
            WalertBox(
                "Zones have to be drawn inside rooms.\n(You can stop drawing the zone using the ESC key.)");
            return false;
        }
        for (const CLENIZone& zone : room->GetZones())
            if (IsPointInPolygon(zone.GetPolygon(), p) &&
                GetNearestPointOnPolygon(zone.GetPolygon(), p).distance >= kOnOutline) {
                WalertBox("The new zone cannot be inside existing zones\nThis point is inside <%s>",
                          zone.GetName().c_str());
                return false;
            }
        if (!m_bHasOutline) {
            m_csZoneRoom = room->GetName();
        } else if (!EqualsNoCase(room->GetName(), m_csZoneRoom)) {
            WalertBox(
                "Zones have to stay inside their room\nThis zone has to stay inside room <%s>.\n%.3f %.3f "
                "is inside room <%s>",
                m_csZoneRoom.c_str(), p.x, p.y, room->GetName().c_str());
            return false;
        }
        return true;
    }
    case MM_ADD_ATRIUM:
        if (const CLENIAtrium* atrium = m_pFloor ? m_pFloor->GetAtriumAtPoint(p) : nullptr) {
            WalertBox("The new atrim cannot be inside an existing atrium\nThis point is inside <%s>",
                      atrium->m_csName.c_str());
            return false;
        }
        return true;
    default:
        return false;
    }
}

CFloorView::SnapResult CFloorView::SnapPick(const Point& p) const {
    SnapResult result;
    result.point = Point(p.x, p.y);
    if (!m_pSnap) return result;
    const double tolerance = GetSnapTolerance();
    if (m_pSnap->m_iFlags & CSnapPointList::SNAP_OBJECT) {
        Point snapped;
        if (m_pFloor) {
            const SnapKind kind = SnapToFloorOutlines(*m_pFloor, p, tolerance, snapped);
            if (kind != SNAPPED_NONE) {
                result.point = snapped;
                result.kind = kind;
                return result;
            }
        }
        if (SnapToListPoint(*m_pSnap, p, tolerance, snapped)) {
            result.point = Point(snapped.x, snapped.y);
            result.kind = SNAPPED_POINT;
            return result;
        }
    }
    if (m_pSnap->m_iFlags & CSnapPointList::SNAP_GRID) {
        Point snapped;
        if (SnapToGridPoint(*m_pSnap, p, snapped)) {
            result.point = snapped;
            result.kind = SNAPPED_GRID;
        }
    }
    return result;
}

bool CFloorView::CheckZoneSide(const Point& a, const Point& b) {
    const CLENIRoom* room = m_pFloor ? m_pFloor->FindRoom(m_csZoneRoom) : nullptr;
    if (!room || IsSegmentInsidePolygon(a, b, room->GetPolygon(), kContainmentTolerance)) return true;
    WalertBox("Zones have to stay inside their room\nThis side would cross the walls of room <%s>.",
              room->GetName().c_str());
    return false;
}

void CFloorView::AddCorner(const Point& p, bool typed) {
    if (!CheckClick(p)) return;
    const double s = typed ? 1e-9 : GetSnapTolerance();
    Point corner = typed ? Point(p.x, p.y) : SnapPick(p).point;
    corner.z = 0.0;
    corner.w = 0.0; // bulge
    if (m_bRectangle && m_bHasOutline && m_Outline.size() == 1) {
        CompleteRectangle(corner);
        return;
    }
    // A zone's side may not leave its room, though both its ends are inside (the notch of an L).
    if (m_eMouseMode == MM_ADD_ZONE && m_bHasOutline && !m_Outline.empty() &&
        !(m_Outline.size() >= 3 && Distance2D(p, m_Outline.front()) < s) &&
        !CheckZoneSide(m_Outline.back(), corner))
        return;
    if (!m_bHasOutline) {
        m_Outline.clear();
        m_bHasOutline = true;
        m_Outline.push_back(corner);
    } else if (m_Outline.size() < 3) {
        m_Outline.push_back(corner);
    } else if (Distance2D(p, m_Outline.front()) < s) {
        FinishOutline();
        return;
    } else {
        m_Outline.push_back(corner);
        CDxfPline pline;
        for (const Point& v : m_Outline)
            pline.AddVertex(v);
        if (pline.IsSelfIntersecting()) {
            WalertBox("This cannot be self intersecting");
            m_Outline.pop_back();
        }
    }
    ReportStatus();
    update();
}

void CFloorView::CompleteRectangle(const Point& c) {
    const Point a = m_Outline.front();
    if (a.x == c.x || a.y == c.y) {
        WalertBox("The two corners of a rectangle have to differ in x and in y");
        return;
    }
    const Polygon rectangle = {a, Point(c.x, a.y), c, Point(a.x, c.y)};
    if (m_eMouseMode == MM_ADD_ZONE)
        for (size_t i = 0; i < rectangle.size(); ++i)
            if (!CheckZoneSide(rectangle[i], rectangle[(i + 1) % rectangle.size()])) return;
    m_Outline = rectangle;
    for (Point& v : m_Outline)
        v.z = v.w = 0.0;
    // From here on it is an outline like any other: a refused one may be mended corner by corner.
    m_bRectangle = false;
    FinishOutline();
    ReportStatus();
}

void CFloorView::PlaceTypedCorner() {
    const Point* last = m_bHasOutline && !m_Outline.empty() ? &m_Outline.back() : nullptr;
    const CoordinateEntry entry = ParseCoordinateEntry(m_Entry, m_cDecimalSign, last);
    if (!entry.ok) {
        WalertBox("%s", entry.error.c_str());
        return;
    }
    m_Entry.clear();
    AddCorner(entry.point, true);
    ReportStatus();
    update();
}

void CFloorView::FinishOutline() {
    if (!IsDrawingMode(m_eMouseMode)) {
        Log().Printf(LOG_ERROR, "Unhandled m_eMouseMode: %d", m_eMouseMode);
        return;
    }
    const int result = m_FinishHandler ? m_FinishHandler(m_eMouseMode, m_Outline) : FINISH_FAILED;
    if (result == FINISH_DONE) {
        StopDrawing();
    } else if (result == FINISH_CANCELLED) {
        m_csZoneRoom.clear();
        SetMode(MM_NONE);
        Invalidate();
    } else {
        update();
    }
}

void CFloorView::DrawSnapMarker(QPainter& painter) {
    if (!IsPickingMode(m_eMouseMode) || !m_pSnap || !m_pSnap->m_iFlags || m_Image.isNull()) return;
    const SnapResult snap = SnapPick(m_PointerWorld);
    if (snap.kind == SNAPPED_NONE) return;
    const Point p = TransformPoint(GetWorldToPixel(), Point(snap.point.x, snap.point.y));
    const QPointF at(p.x + kFrame, p.y + kFrame);
    painter.save();
    painter.setClipRect(QRect(kFrame, kFrame, m_Image.width(), m_Image.height()));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(220, 0, 0), 2));
    // A square on a corner, a diamond on a side, a circle on a drawing's point, a cross on the grid.
    switch (snap.kind) {
    case SNAPPED_CORNER:
        painter.drawRect(QRectF(at.x() - 5, at.y() - 5, 10, 10));
        break;
    case SNAPPED_EDGE:
        painter.drawPolygon(QPolygonF({at + QPointF(0, -6), at + QPointF(6, 0), at + QPointF(0, 6), at + QPointF(-6, 0)}));
        break;
    case SNAPPED_POINT:
        painter.drawEllipse(at, 5.0, 5.0);
        break;
    default:
        painter.drawLine(at + QPointF(-6, 0), at + QPointF(6, 0));
        painter.drawLine(at + QPointF(0, -6), at + QPointF(0, 6));
        break;
    }
    painter.restore();
}

void CFloorView::DrawOutline(QPainter& painter) {
    if (!m_bHasOutline || m_Outline.empty() || m_Image.isNull()) return;
    const Matrix4 toPixel = GetWorldToPixel();
    auto pixel = [&](const Point& w) {
        const Point p = TransformPoint(toPixel, Point(w.x, w.y));
        return QPointF(p.x + kFrame, p.y + kFrame);
    };
    painter.save();
    painter.setClipRect(QRect(kFrame, kFrame, m_Image.width(), m_Image.height()));
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int mode =
        IsDrawingMode(m_eMouseMode) ? m_eMouseMode : (IsDrawingMode(m_iSavedMode) ? m_iSavedMode : 0);
    const QColor colour = ToQColor(GetPaletteColour(GetOutlineColour(mode ? mode : MM_ADD_ROOM)));
    painter.setPen(QPen(colour, 2));
    QPolygonF line;
    for (const Point& v : m_Outline)
        line << pixel(v);
    painter.drawPolyline(line);
    for (const QPointF& corner : line)
        painter.drawRect(QRectF(corner.x() - 2, corner.y() - 2, 4, 4));
    if (IsDrawingMode(m_eMouseMode)) {
        // The rubber band runs from the last corner to where the next click would put a corner.
        const QPointF pointer(m_Pointer.x() + kFrame, m_Pointer.y() + kFrame);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        const QPointF to(std::round(pointer.x()), std::round(pointer.y()));
        if (m_bRectangle && line.size() == 1)
            painter.drawRect(QRectF(line.front(), to).normalized());
        else
            painter.drawLine(line.back(), to);
        if (m_Outline.size() >= 3) {
            // Where a click closes the outline.
            const QPointF first = line.front();
            const double r = GetSnapTolerance() * std::abs(toPixel.m[0][0]);
            painter.setPen(QPen(colour, 1, Qt::DotLine));
            painter.drawEllipse(first, r, r);
        }
    }
    painter.restore();
    ++m_iOverlayCount;
}

void CFloorView::paintEvent(QPaintEvent*) {
    RenderImage();
    QPainter painter(this);
    if (m_Image.isNull()) {
        painter.fillRect(rect(), kEmptyPage);
        return;
    }
    painter.fillRect(rect(), palette().window());
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(QRect(kFrame - 1, kFrame - 1, m_Image.width() + 1, m_Image.height() + 1));
    painter.drawImage(QPoint(kFrame, kFrame), m_Image);
    DrawSelection(painter);
    DrawOutline(painter);
    DrawMeasure(painter);
    DrawSnapMarker(painter);
    if (IsDrawingMode(m_eMouseMode) && !m_Entry.empty()) {
        // The typed corner beside the pointer, where the eye is.
        const QString text = QString::fromStdString(m_Entry + "_");
        const QFontMetrics metrics(painter.font());
        QRectF box(m_Pointer.x() + kFrame + 14, m_Pointer.y() + kFrame + 14, metrics.horizontalAdvance(text) + 8,
                   metrics.height() + 4);
        painter.fillRect(box, QColor(255, 255, 225));
        painter.setPen(Qt::black);
        painter.drawRect(box);
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

void CFloorView::resizeEvent(QResizeEvent*) {
    Invalidate();
}

void CFloorView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pixel = event->position().toPoint() - QPoint(kFrame, kFrame);
    if (m_eMouseMode == MM_PAN) {
        // The content follows the pointer.
        const double s = GetWorldToPixel().m[0][0];
        const QPoint d = pixel - m_Pointer;
        if (s > 0.0) Pan(-d.x() / s, d.y() / s);
    }
    m_Pointer = pixel;
    m_PointerWorld = WidgetToWorld(event->position().toPoint());
    if (m_eMouseMode == MM_NONE && m_bLeftDown && m_iSelKind != OUTLINE_NONE) {
        // Only the selection moves over the kept picture.
        const Polygon model = m_pFloor ? GetEditedOutline(*m_pFloor, m_iSelKind, m_SelRoom, m_SelName) : Polygon();
        if (m_iDragCorner >= 0 && m_iDragCorner < static_cast<int>(m_SelOutline.size())) {
            const Point at = SnapPick(m_PointerWorld).point;
            m_SelOutline[m_iDragCorner].x = at.x;
            m_SelOutline[m_iDragCorner].y = at.y;
        } else if (m_bMovingOutline && model.size() == m_SelOutline.size() && !model.empty()) {
            // The grabbed outline's first corner snaps; the rest follows it.
            const Point first(model[0].x + m_PointerWorld.x - m_DragFrom.x, model[0].y + m_PointerWorld.y - m_DragFrom.y);
            const Point at = SnapPick(first).point;
            for (size_t i = 0; i < model.size(); ++i) {
                m_SelOutline[i].x = model[i].x + (at.x - model[0].x);
                m_SelOutline[i].y = model[i].y + (at.y - model[0].y);
            }
        }
        update();
    }
    ReportStatus();
    // Only the rubber band moves: the plan comes from the kept picture.
    if (IsDrawingMode(m_eMouseMode) && (m_bHasOutline || (m_pSnap && m_pSnap->m_iFlags))) update();
    if (m_eMouseMode == MM_MEASURE) update();
}

void CFloorView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        m_Pointer = event->position().toPoint() - QPoint(kFrame, kFrame);
        m_PointerWorld = WidgetToWorld(event->position().toPoint());
        if (m_ContextHandler && HasDrawing())
            m_ContextHandler(m_PointerWorld, event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton && m_eMouseMode == MM_NONE && HasDrawing()) {
        m_Pointer = event->position().toPoint() - QPoint(kFrame, kFrame);
        m_PointerWorld = WidgetToWorld(event->position().toPoint());
        m_bLeftDown = true;
        m_iDragCorner = -1;
        m_bMovingOutline = false;
        m_DragFrom = m_PointerWorld;
        if (m_iSelKind != OUTLINE_NONE) {
            // A grip within 6 pixels is taken before the inside.
            const double grip = 6.0 / std::max(PixelScale(), 1e-12);
            double best = grip;
            for (size_t i = 0; i < m_SelOutline.size(); ++i) {
                const double d = Distance2D(m_SelOutline[i], m_PointerWorld);
                if (d <= best) {
                    best = d;
                    m_iDragCorner = static_cast<int>(i);
                }
            }
            // Ctrl held while grabbing a room's inside drags a copy.
            if (m_iSelKind == OUTLINE_ROOM && (event->modifiers() & Qt::ControlModifier)) m_bCopy = true;
            if (m_iDragCorner < 0 && IsPointInPolygon(m_SelOutline, m_PointerWorld) &&
                !(m_iSelKind == OUTLINE_ROOM && !m_bCopy && m_pFloor && m_pFloor->FindRoom(m_SelRoom) &&
                  m_pFloor->FindRoom(m_SelRoom)->GetZoneAtPoint(m_PointerWorld)))
                m_bMovingOutline = true;
        }
        if (m_iDragCorner < 0 && !m_bMovingOutline) SelectAt(m_PointerWorld);
        update();
        return;
    }
    if (event->button() != Qt::MiddleButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_iSavedMode = m_eMouseMode == MM_PAN ? MM_NONE : m_eMouseMode;
    m_Pointer = event->position().toPoint() - QPoint(kFrame, kFrame);
    SetMode(MM_PAN);
}

void CFloorView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && IsDrawingMode(m_eMouseMode) && HasDrawing()) {
        m_Pointer = event->position().toPoint() - QPoint(kFrame, kFrame);
        m_PointerWorld = WidgetToWorld(event->position().toPoint());
        AddCorner(m_PointerWorld);
        return;
    }
    if (event->button() == Qt::LeftButton && m_eMouseMode == MM_MEASURE) {
        m_Pointer = event->position().toPoint() - QPoint(kFrame, kFrame);
        m_PointerWorld = WidgetToWorld(event->position().toPoint());
        MeasureAt(m_PointerWorld);
        return;
    }
    if (event->button() == Qt::LeftButton && m_eMouseMode == MM_NONE && m_bLeftDown) {
        m_bLeftDown = false;
        const Polygon model = m_pFloor ? GetEditedOutline(*m_pFloor, m_iSelKind, m_SelRoom, m_SelName) : Polygon();
        const bool dragged = m_iDragCorner >= 0 || m_bMovingOutline;
        const Point shift = m_bMovingOutline && !model.empty() && !m_SelOutline.empty()
                                ? Point(m_SelOutline[0].x - model[0].x, m_SelOutline[0].y - model[0].y)
                                : Point();
        const bool copying = m_bMovingOutline && m_bCopy;
        m_iDragCorner = -1;
        m_bMovingOutline = false;
        if (copying) {
            if (shift.x != 0.0 || shift.y != 0.0)
                PlaceSelection(shift);
            else
                RefreshSelection();
            update();
            return;
        }
        if (dragged && m_SelOutline != model) CommitEdit(m_SelOutline, {}, shift);
        update();
        return;
    }
    if (event->button() != Qt::MiddleButton || m_eMouseMode != MM_PAN) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const int saved = m_iSavedMode;
    m_iSavedMode = MM_NONE;
    if (saved != MM_NONE && !IsPickingMode(saved)) Log().Printf(LOG_ERROR, "SetMouseMode not handled");
    SetMode(IsPickingMode(saved) ? saved : MM_NONE);
}

void CFloorView::wheelEvent(QWheelEvent* event) {
    const int n = event->angleDelta().y() / 120;
    if (n != 0) ZoomStep(n, WidgetToWorld(event->position().toPoint()));
    event->accept();
}

void CFloorView::keyPressEvent(QKeyEvent* event) {
    const double t = 0.05 * std::hypot(m_ViewMax.x - m_ViewMin.x, m_ViewMax.y - m_ViewMin.y);
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    const bool editing = m_eMouseMode == MM_NONE && m_iSelKind != OUTLINE_NONE;
    if (editing && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        switch (event->key()) {
        case Qt::Key_Insert:
            InsertCornerAt(m_PointerWorld);
            return;
        case Qt::Key_C:
            // A selected zone's room is the one copied.
            if (m_iSelKind == OUTLINE_ZONE) {
                m_iSelKind = OUTLINE_ROOM;
                m_SelName.clear();
                RefreshSelection();
            }
            SetCopyMode(!m_bCopy);
            return;
        case Qt::Key_Delete:
            DeleteCornerAt(m_PointerWorld);
            return;
        case Qt::Key_Escape:
            if (m_Entry.empty()) {
                ClearSelection();
                return;
            }
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!m_Entry.empty()) {
                // A typed distance: x;y or @x;y alike move by that much.
                const Point origin(0.0, 0.0);
                const CoordinateEntry entry = ParseCoordinateEntry(m_Entry, m_cDecimalSign, &origin);
                if (!entry.ok) {
                    WalertBox("%s", entry.error.c_str());
                    return;
                }
                m_Entry.clear();
                MoveSelection(entry.point);
                ReportStatus();
                return;
            }
            break;
        default:
            break;
        }
    }
    if ((IsDrawingMode(m_eMouseMode) || editing) && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const QString text = event->text();
        const char c = text.size() == 1 ? text.at(0).toLatin1() : '\0';
        // Keypad plus and minus zoom unless a number is being typed.
        const bool zoomKey = keypad && (c == '+' || c == '-') && m_Entry.empty();
        if (c != '\0' && std::string("0123456789.,;@<-+").find(c) != std::string::npos && !zoomKey) {
            if (m_Entry.size() < 64) m_Entry += c;
            ReportStatus();
            update();
            return;
        }
        if (event->key() == Qt::Key_Backspace && !m_Entry.empty()) {
            m_Entry.pop_back();
            ReportStatus();
            update();
            return;
        }
        if (event->key() == Qt::Key_Escape && !m_Entry.empty()) {
            m_Entry.clear();
            ReportStatus();
            update();
            return;
        }
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !m_Entry.empty()) {
            PlaceTypedCorner();
            return;
        }
        if (event->key() == Qt::Key_R && (!m_bHasOutline || m_Outline.empty()) && m_eMouseMode != MM_NONE) {
            m_bRectangle = !m_bRectangle;
            ReportStatus();
            update();
            return;
        }
    }
    switch (event->key()) {
    case Qt::Key_Plus:
        if (!keypad) break;
        ZoomStep(5, m_PointerWorld);
        return;
    case Qt::Key_Minus:
        if (!keypad) break;
        ZoomStep(-5, m_PointerWorld);
        return;
    case Qt::Key_Left:
        Pan(-t, 0);
        return;
    case Qt::Key_Right:
        Pan(t, 0);
        return;
    case Qt::Key_Up:
        Pan(0, t);
        return;
    case Qt::Key_Down:
        Pan(0, -t);
        return;
    case Qt::Key_F3:
        ToggleObjectSnap();
        return;
    case Qt::Key_F9:
        ToggleGridSnap();
        return;
    case Qt::Key_Escape:
        m_iSavedMode = MM_NONE;
        StopDrawing();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_bHasOutline && IsDrawingMode(m_eMouseMode)) {
            if (m_Outline.size() > 2)
                FinishOutline();
            else
                WalertBox("A polygon needs at least 3 corners");
            Invalidate();
            return;
        }
        break;
    case Qt::Key_Z:
        if ((event->modifiers() & Qt::ControlModifier) && IsDrawingMode(m_eMouseMode)) {
            if (m_Outline.size() > 1) m_Outline.pop_back();
            Invalidate();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

bool CFloorView::event(QEvent* event) {
    // While drawing, Ctrl+Z takes back a corner: the main window's Undo must not take the key.
    if (event->type() == QEvent::ShortcutOverride && IsDrawingMode(m_eMouseMode)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Z && (key->modifiers() & Qt::ControlModifier)) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}
