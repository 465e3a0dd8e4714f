#include "report/ReportPages.h"

#include "report/CostAndTarget.h"

#include "base/Logger.h"
#include "base/TextUtils.h"
#include "calc/CalcLog.h"
#include "calc/EnergyCalc.h"
#include "dxf/DxfFile.h"
#include "dxf/Render.h"
#include "dxf/RenderDxfFile.h"
#include "model/LENIProject.h"
#include "model/LENIRoofLight.h"
#include "model/LENIWindow.h"
#include "model/ModelOverlay.h"
#include "products/LumSysDataBase.h"
#include "products/ZoneObjList.h"
#include "report/RoomSchedule.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace {

constexpr const char* kPageFace = "ARIAL";
constexpr int kPictureSize = 1000; // the side of the off-screen picture, in its own pixels
constexpr Rgb kBlack = MakeRgb(0, 0, 0);
constexpr Rgb kWhite = MakeRgb(255, 255, 255);
constexpr Rgb kGrey = MakeRgb(120, 120, 120);

CanvasFont PageFont(int height, bool bold = false) {
    CanvasFont font;
    font.faceName = kPageFace;
    font.height = height;
    font.bold = bold;
    return font;
}

// Draws the picture's 1000 x 1000 pixels onto a square of the page, as a bitmap stretched onto it
// would appear: coordinates, pen widths and font heights all scale by side / 1000.
class CStretchCanvas : public IDrawCanvas {
  public:
    CStretchCanvas(IDrawCanvas& target, int x, int y, int side)
        : m_Target(target), m_x(x), m_y(y), m_dScale(double(side) / kPictureSize) {}

    void SetPen(const CanvasPen& pen) override {
        m_Pen = pen;
        CanvasPen scaled = pen;
        scaled.width = pen.width <= 1 ? pen.width : std::max(1, int(std::lround(pen.width * m_dScale)));
        m_Target.SetPen(scaled);
    }
    CanvasPen GetPen() const override { return m_Pen; }
    void DrawLine(int x0, int y0, int x1, int y1) override { m_Target.DrawLine(X(x0), Y(y0), X(x1), Y(y1)); }
    void DrawPolyline(const std::vector<CanvasPoint>& points) override { m_Target.DrawPolyline(Map(points)); }
    void FillPolygon(const std::vector<CanvasPoint>& points, Rgb fill) override {
        m_Target.FillPolygon(Map(points), fill);
    }
    void DrawEllipse(int left, int top, int right, int bottom) override {
        m_Target.DrawEllipse(X(left), Y(top), X(right), Y(bottom));
    }
    void DrawText(int x, int y, const std::string& text, const CanvasFont& font, Rgb colour) override {
        m_Target.DrawText(X(x), Y(y), text, Font(font), colour);
    }
    void DrawTextOpaque(int x, int y, const std::string& text, const CanvasFont& font, Rgb colour,
                        Rgb background) override {
        m_Target.DrawTextOpaque(X(x), Y(y), text, Font(font), colour, background);
    }
    int GetTextWidth(const std::string& text, const CanvasFont& font) override {
        return int(std::lround(m_Target.GetTextWidth(text, Font(font)) / m_dScale));
    }
    void SetPixel(int x, int y, Rgb colour) override {
        const int size = std::max(1, int(std::lround(m_dScale)));
        m_Target.FillRect(X(x), Y(y), X(x) + size, Y(y) + size, colour);
    }
    double GetFontScale() const override { return m_Target.GetFontScale(); }
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override {
        m_Target.FillRect(X(left), Y(top), X(right), Y(bottom), colour);
    }
    void PushClipRect(int left, int top, int right, int bottom) override {
        m_Target.PushClipRect(X(left), Y(top), X(right), Y(bottom));
    }
    void PopClipRect() override { m_Target.PopClipRect(); }

  private:
    int X(int v) const { return m_x + int(std::lround(v * m_dScale)); }
    int Y(int v) const { return m_y + int(std::lround(v * m_dScale)); }
    std::vector<CanvasPoint> Map(const std::vector<CanvasPoint>& points) const {
        std::vector<CanvasPoint> out;
        out.reserve(points.size());
        for (const CanvasPoint& p : points)
            out.push_back({X(p.x), Y(p.y)});
        return out;
    }
    CanvasFont Font(const CanvasFont& font) const {
        CanvasFont scaled = font;
        scaled.height = std::max(1, int(std::lround(font.height * m_dScale)));
        return scaled;
    }

    IDrawCanvas& m_Target;
    int m_x, m_y;
    double m_dScale;
    CanvasPen m_Pen;
};

// The writer of the page's lines: a label at the left margin, its value in the value column.
class CPageWriter {
  public:
    CPageWriter(IDrawCanvas& canvas, const PageLayout& layout) : m_Canvas(canvas), m_Layout(layout) {}
    int y = 0;
    void Line(const std::string& label, const std::string& value) {
        const CanvasFont font = PageFont(m_Layout.smallFont);
        m_Canvas.DrawText(m_Layout.left, y, label, font, kBlack);
        if (!value.empty()) m_Canvas.DrawText(m_Layout.valueX, y, value, font, kBlack);
        y += m_Layout.lineStep;
    }
    void Title(const std::string& label, const std::string& value) {
        const CanvasFont font = PageFont(m_Layout.bigFont);
        m_Canvas.DrawText(m_Layout.left, y, label, font, kBlack);
        if (!value.empty()) m_Canvas.DrawText(m_Layout.valueX, y, value, font, kBlack);
        y += m_Layout.headerStep;
    }

  private:
    IDrawCanvas& m_Canvas;
    const PageLayout& m_Layout;
};

void DrawHeader(CPageWriter& out, const CLENIProject& project, const PrintDate& date) {
    out.Title("PROJECT:", project.GetName());
    out.Line("Date printed:", StrPrintf("%4d-%02d-%02d", date.year, date.month, date.day));
    if (project.GetYearBuilt() != 0)
        out.Line("Year built:", StrPrintf("%d", project.GetYearBuilt()));
    else if (project.GetYearToBeBuilt() != 0)
        out.Line("Year to be built:", StrPrintf("%d", project.GetYearToBeBuilt()));
    out.Line("Latitude:", StrPrintf("%.2f\u00b0", project.GetLatitude()));
    out.Line("Longitude:", StrPrintf("%.2f\u00b0", project.GetLongitude()));
    out.Line("Location:", project.GetLocation());
}

std::string EnergyText(double Wl, double Wp) {
    return StrPrintf("%.2f kWh (Wl %.2f kWh + Wp %.2f kWh)", Wl + Wp, Wl, Wp);
}

void BoundingBox(const Polygon& polygon, Point& lo, Point& hi) {
    lo = hi = Point();
    if (polygon.empty()) return;
    lo = hi = polygon.front();
    for (const Point& p : polygon) {
        lo.x = std::min(lo.x, p.x);
        lo.y = std::min(lo.y, p.y);
        hi.x = std::max(hi.x, p.x);
        hi.y = std::max(hi.y, p.y);
    }
}

// The floor drawing with the floor model over it, cut to the box (or to the drawing's extents when
// none is given), on the picture square of the page.
void DrawFloorPicture(IDrawCanvas& canvas, const PageLayout& layout, int top, const CLENIFloor& floor,
                      const FloorDrawingLookup& drawings, const Point* boxMin, const Point* boxMax,
                      const std::vector<Rgb>* roomFills = nullptr) {
    const CDxfFile* drawing = drawings ? drawings(floor.GetName()) : nullptr;
    if (!drawing) {
        Log().Printf(LOG_ERROR, "Could not find DXF file corresponding to floor %s", floor.GetName().c_str());
        Log().Printf(LOG_ERROR, "Cannot get dxf for floor");
        return;
    }
    Point lo, hi;
    if (boxMin && boxMax) {
        lo = *boxMin;
        hi = *boxMax;
    } else {
        GetDrawingExtents(drawing->GetEntList(), lo, hi);
    }
    // The region, grown by 2 % on each side so the outlines on its edge stay whole, is centred in
    // the square rather than left at its bottom-left corner.
    const double side = std::max({hi.x - lo.x, hi.y - lo.y, 0.1}) * 1.04;
    const double cx = (lo.x + hi.x) / 2.0, cy = (lo.y + hi.y) / 2.0;
    lo.x = cx - side / 2.0;
    hi.x = cx + side / 2.0;
    lo.y = cy - side / 2.0;
    hi.y = cy + side / 2.0;
    const PictureSquare square = PlacePicture(layout, top);
    if (square.side <= 0) return;

    CStretchCanvas picture(canvas, square.x, square.y, square.side);
    picture.PushClipRect(0, 0, kPictureSize, kPictureSize);
    picture.FillRect(0, 0, kPictureSize, kPictureSize, kWhite);
    const RenderSource source = GetRenderSource(*drawing);
    const PixelRect rect{0, 0, kPictureSize - 1, kPictureSize - 1};
    const ViewTransform view = GetViewTransform(rect, ZOOM_BOX, source, lo, hi);
    // Rooms coloured under the plan's lines.
    const std::vector<CLENIRoom>& rooms = floor.GetRooms();
    for (size_t r = 0; roomFills && r < rooms.size() && r < roomFills->size(); ++r) {
        if ((*roomFills)[r] == kWhite) continue;
        std::vector<CanvasPoint> points;
        for (const Point& p : rooms[r].GetPolygon()) {
            const Point q = TransformPoint(view.worldToPixel, p);
            points.push_back({int(std::lround(q.x)), int(std::lround(q.y))});
        }
        if (points.size() >= 3) picture.FillPolygon(points, (*roomFills)[r]);
    }
    DrawDrawing(picture, source, view.worldToPixel, view.viewMin, view.viewMax);
    // Only what falls on the picture: a room page of a large floor does not carry the whole floor.
    const PixelBounds visible{0, 0, double(kPictureSize), double(kPictureSize)};
    DrawFloorModel(picture, floor, view.worldToPixel, floor.GetHeight(), &visible);
    picture.PopClipRect();
    // A thin frame shows where the picture ends on the white paper.
    canvas.SetPen({kGrey, 1, PEN_SOLID});
    const int r = square.x + square.side, b = square.y + square.side;
    canvas.DrawPolyline({{square.x, square.y}, {r, square.y}, {r, b}, {square.x, b}, {square.x, square.y}});
}

int FloorIndexOf(const CLENIProject& project, const CLENIFloor& floor) {
    const std::vector<CLENIFloor>& floors = project.GetFloors();
    for (size_t f = 0; f < floors.size(); ++f)
        if (&floors[f] == &floor) return int(f);
    return -1;
}

void DrawProjectPage(CPageWriter& out, const CLENIProject& project) {
    const double power = GetInstalledPower(project, Lighting);
    const LeniTimeStepResult year = CalculateAnnualLENI(project, 0);
    long long storeys = 0;
    for (const CLENIFloor& floor : project.GetFloors())
        storeys += floor.GetInstanceCount();
    out.Line("Hdir/Hglob:", StrPrintf("%.2f", project.GetHdirHglob()));
    out.Line("Dominant Building Type:", project.GetDominantBuildingType());
    out.Line("Number of DXFs:", StrPrintf("%d", project.GetFloorCount()));
    out.Line("Number of floors:", StrPrintf("%lld", storeys));
    out.Line("Building Installed Power:", StrPrintf("%.2f W", power));
    out.Line("Annual Building Energy:", EnergyText(year.Wl, year.Wp));
    out.Line("Total Building Area:", StrPrintf("%.2f m\u00b2", year.area));
    out.Line("Annual Building LENI:", StrPrintf("%.2f kWh/(m\u00b2 year)", year.GetLENI()));
}

void DrawFloorPage(IDrawCanvas& canvas, CPageWriter& out, const PageLayout& layout,
                   const CLENIProject& project, const CLENIFloor& floor, const FloorDrawingLookup& drawings,
                   const LENIProjectResults* results) {
    const CLumSysDataBase& db = project.GetProducts();
    CCalcLogQuiet quiet; // the page's numbers add nothing to a log
    const double power = GetInstalledPower(floor, Lighting, db);
    const double Wp = GetParasiticEnergy(floor, 0, db);
    const double Wl = GetLightingEnergy(floor, project, 0);
    const double area = floor.GetArea();
    out.Title("FLOOR:", "");
    out.Line("Floor Name:", floor.GetName());
    out.Line("Floor Installed Power (Pn):", StrPrintf("%.2fW", power));
    out.Line("Annual Floor Energy:", EnergyText(Wl, Wp));
    out.Line("Floor Area:", StrPrintf("%.2f m\u00b2", area));
    out.Line("Floor LENIsub:", StrPrintf("%.2f kWh/m\u00b2 year", area > 0.0 ? (Wl + Wp) / area : 0.0));
    // With results, each room is filled by its LENI on the building's one scale, the legend above.
    std::vector<Rgb> fills;
    const int index = FloorIndexOf(project, floor);
    if (results && index >= 0 && size_t(index) < results->rooms.size()) {
        const double scaleTop = GetLeniScaleTop(*results);
        for (const LENIObjectResults& room : results->rooms[size_t(index)])
            fills.push_back(GetLeniColour(room.steps[0].GetLENI(), scaleTop));
        DrawLeniLegend(canvas, layout.left, out.y, layout.right, layout.smallFont, scaleTop);
        out.y += layout.lineStep * 3;
    }
    DrawFloorPicture(canvas, layout, out.y, floor, drawings, nullptr, nullptr, fills.empty() ? nullptr : &fills);
}

void DrawRoomPage(IDrawCanvas& canvas, CPageWriter& out, const PageLayout& layout,
                  const CLENIProject& project, const CLENIFloor& floor, const CLENIRoom& room,
                  const FloorDrawingLookup& drawings) {
    const CLumSysDataBase& db = project.GetProducts();
    CCalcLogQuiet quiet;
    const double Wp = GetParasiticEnergy(room, 0, db);
    const double Wl = GetLightingEnergy(room, project, 0);
    const double power = GetInstalledPower(room, Lighting, db);
    const double area = room.GetArea();
    out.Title("ROOM:", "");
    out.Line("Room Name:", room.GetName());
    out.Line("Room Installed Power (Pn):", StrPrintf("%.2fW", power));
    out.Line("Annual Room Energy:", EnergyText(Wl, Wp));
    out.Line("Room Area:", StrPrintf("%.2f m\u00b2", area));
    out.Line("Room LENIsub:", StrPrintf("%.2f kWh/(m\u00b2 year)", area > 0.0 ? (Wl + Wp) / area : 0.0));
    out.Line("Daylight hours td:", StrPrintf("%d h", room.GetTd()));
    out.Line("Nightime hours tn:", StrPrintf("%d h", room.GetTn()));
    Point lo, hi;
    BoundingBox(room.GetPolygon(), lo, hi);
    DrawFloorPicture(canvas, layout, out.y, floor, drawings, &lo, &hi);
}

void DrawZonePage(IDrawCanvas& canvas, CPageWriter& out, const PageLayout& layout, const CLENIFloor& floor,
                  const CLENIZone& zone, const FloorDrawingLookup& drawings) {
    out.Title("ZONE:", "");
    out.Line("Zone Name:", zone.GetName());
    Point lo, hi;
    BoundingBox(zone.GetPolygon(), lo, hi);
    DrawFloorPicture(canvas, layout, out.y, floor, drawings, &lo, &hi);
}

} // namespace

std::vector<PrintPageRecord> BuildPrintPageList(const CLENIProject& project) {
    std::vector<PrintPageRecord> pages;
    if (project.GetPrintMe()) pages.push_back({PAGE_PROJECT, "", "", ""});
    for (const CLENIFloor& floor : project.GetFloors()) {
        if (floor.GetPrintMe()) pages.push_back({PAGE_FLOOR, floor.GetName(), "", ""});
        for (const CLENIRoom& room : floor.GetRooms()) {
            if (room.GetPrintMe()) pages.push_back({PAGE_ROOM, floor.GetName(), room.GetName(), ""});
            for (const CLENIZone& zone : room.GetZones())
                if (zone.GetPrintMe())
                    pages.push_back({PAGE_ZONE, floor.GetName(), room.GetName(), zone.GetName()});
        }
    }
    return pages;
}

PageLayout ComputePageLayout(int width, int height) {
    PageLayout l;
    l.left = int(0.05 * width);
    l.right = int(width - 0.05 * width);
    l.top = int(0.02 * height);
    l.bottom = int(height - 0.02 * height);
    l.valueX = int(0.3 * (l.right - l.left) + l.left);
    l.smallFont = height / 60;
    l.bigFont = int(1.5 * l.smallFont);
    l.lineStep = l.smallFont * 3 / 2;
    l.headerStep = l.lineStep * 3 / 2;
    return l;
}

int GetFooterTop(const PageLayout& layout) {
    return layout.bottom - layout.smallFont;
}

int GetContentBottom(const PageLayout& layout) {
    return GetFooterTop(layout) - layout.lineStep;
}

PictureSquare PlacePicture(const PageLayout& layout, int top) {
    PictureSquare sq;
    const int bottom = GetContentBottom(layout);
    const int width = layout.right - layout.left;
    const int height = bottom - top;
    sq.side = std::max(0, std::min(width, height));
    sq.x = layout.left + (width - sq.side) / 2;
    sq.y = top + (std::max(0, height) - sq.side) / 2;
    return sq;
}

PrintDate TodayForPrint() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

void PrintPage(IDrawCanvas& canvas, int width, int height, const CLENIProject* project,
               const PrintPageRecord& page, const FloorDrawingLookup& drawings, const PrintDate& date,
               const LENIProjectResults* results) {
    if (!project) {
        Log().Printf(LOG_ERROR, "The project pointer is null when printing");
        return;
    }
    if (page.kind < PAGE_PROJECT || page.kind > PAGE_ZONE) {
        Log().Printf(LOG_ERROR, "Unkknown page type in PrintPage (%d)", page.kind);
        return;
    }
    const CLENIFloor* floor = page.kind == PAGE_PROJECT ? nullptr : project->GetFloorByName(page.floor);
    const CLENIRoom* room = nullptr;
    if (floor && page.kind >= PAGE_ROOM) {
        room = project->FindRoom(page.floor, page.room);
        if (!room)
            Log().Printf(LOG_ERROR, "CLENIProject::GRBN (%s) no floor by that name", page.room.c_str());
    }
    const CLENIZone* zone = nullptr;
    if (room && page.kind == PAGE_ZONE) {
        const int index = room->GetZoneIndexByName(page.zone);
        if (index >= 0)
            zone = &room->GetZones()[size_t(index)];
        else
            Log().Printf(LOG_ERROR, "CLENIProject::FZBN could not find zone <%s>", page.zone.c_str());
    }
    if (page.kind == PAGE_ZONE && !zone) return; // a zone page without its zone prints nothing

    const PageLayout layout = ComputePageLayout(width, height);
    CPageWriter out(canvas, layout);
    out.y = layout.headerStep;
    DrawHeader(out, *project, date);
    switch (page.kind) {
    case PAGE_PROJECT:
        DrawProjectPage(out, *project);
        break;
    case PAGE_FLOOR:
        if (floor) DrawFloorPage(canvas, out, layout, *project, *floor, drawings, results);
        break;
    case PAGE_ROOM:
        if (room) DrawRoomPage(canvas, out, layout, *project, *floor, *room, drawings);
        break;
    case PAGE_ZONE:
        DrawZonePage(canvas, out, layout, *floor, *zone, drawings);
        break;
    }
}

// ---- Results section ----

std::vector<ReportTableRow> GetReportTableRows(const CLENIProject& project,
                                               const LENIProjectResults& results) {
    std::vector<ReportTableRow> rows;
    auto make = [](int level, const std::string& name, const LENIObjectResults& r) {
        ReportTableRow row;
        row.level = level;
        row.name = name;
        row.area = r.area;
        row.installedPower = r.installedPower;
        row.Wl = r.steps[0].Wl;
        row.Wp = r.steps[0].Wp;
        row.LENI = r.area > 0.0 ? (row.Wl + row.Wp) / r.area : 0.0;
        return row;
    };
    rows.push_back(make(0, project.GetName(), results.building));
    const std::vector<CLENIFloor>& floors = project.GetFloors();
    for (size_t f = 0; f < floors.size() && f < results.floors.size(); ++f) {
        std::string name = floors[f].GetName();
        if (floors[f].GetInstanceCount() != 1)
            name += StrPrintf(" (one of %d)", floors[f].GetInstanceCount());
        rows.push_back(make(1, name, results.floors[f]));
        const std::vector<CLENIRoom>& rooms = floors[f].GetRooms();
        for (size_t r = 0; r < rooms.size() && f < results.rooms.size() && r < results.rooms[f].size(); ++r)
            rows.push_back(make(2, rooms[r].GetName(), results.rooms[f][r]));
    }
    return rows;
}

namespace {

// Table geometry shared by the page count and the drawing.
struct TableGeometry {
    PageLayout layout;
    int firstRowY = 0;
    int rowStep = 0;
    int rowsPerPage = 1;
};

TableGeometry GetTableGeometry(int width, int height) {
    TableGeometry g;
    g.layout = ComputePageLayout(width, height);
    g.rowStep = std::max(1, g.layout.lineStep);
    // Below the page title and the column heads (two lines).
    g.firstRowY = 3 * g.layout.headerStep + 2 * g.layout.lineStep + g.layout.lineStep / 2;
    g.rowsPerPage = std::max(1, (GetContentBottom(g.layout) - g.firstRowY) / g.rowStep);
    return g;
}

// Text cut with an ellipsis to fit the room (device units) it has.
std::string FitText(IDrawCanvas& canvas, std::string text, int room, const CanvasFont& font) {
    if (canvas.GetTextWidth(text, font) <= room) return text;
    while (!text.empty() && canvas.GetTextWidth(text + "...", font) > room) {
        text.pop_back();
        while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
            text.pop_back(); // not inside a character
    }
    return text + "...";
}

// The table of the twelve months and the year under a bold head: Wl, Wp, their sum and the energy
// per square metre, right-aligned, from y down; rows that would pass bottom are left out. Returns
// the y under the last row.
int DrawMonthTable(IDrawCanvas& canvas, const PageLayout& l, int y,
                   const LeniTimeStepResult steps[kLeniTimeSteps], int bottom) {
    const int smallFont = std::max(1, l.smallFont * 9 / 10);
    const CanvasFont font = PageFont(smallFont);
    const CanvasFont bold = PageFont(smallFont, true);
    const int span = l.right - l.left;
    const double stops[4] = {0.40, 0.58, 0.76, 1.0};
    auto rightAligned = [&](int column, int at, const std::string& text, const CanvasFont& f) {
        canvas.DrawText(l.left + int(stops[column] * span) - canvas.GetTextWidth(text, f), at, text, f,
                        kBlack);
    };
    const int step = std::max(1, l.lineStep * 9 / 10);
    canvas.DrawText(l.left, y, "Month", bold, kBlack);
    rightAligned(0, y, "Wl kWh", bold);
    rightAligned(1, y, "Wp kWh", bold);
    rightAligned(2, y, "W kWh", bold);
    rightAligned(3, y, "kWh/m\u00b2", bold);
    y += step;
    canvas.SetPen({kBlack, 1, PEN_SOLID});
    canvas.DrawLine(l.left, y - step / 6, l.right, y - step / 6);
    for (int m = 1; m <= kLeniTimeSteps; ++m) {
        const int index = m % kLeniTimeSteps; // the months, then the year
        if (y + step > bottom) break;
        const LeniTimeStepResult& s = steps[index];
        const CanvasFont& f = index == 0 ? bold : font;
        if (index == 0) canvas.DrawLine(l.left, y - step / 6, l.right, y - step / 6);
        canvas.DrawText(l.left, y, GetTimeStepName(unsigned(index)), f, kBlack);
        rightAligned(0, y, StrPrintf("%.2f", s.Wl), f);
        rightAligned(1, y, StrPrintf("%.2f", s.Wp), f);
        rightAligned(2, y, StrPrintf("%.2f", s.Wl + s.Wp), f);
        rightAligned(3, y, StrPrintf("%.2f", s.GetLENI()), f);
        y += step;
    }
    return y;
}

void DrawSectionTitle(IDrawCanvas& canvas, const PageLayout& layout, const CLENIProject& project,
                      const std::string& title) {
    int y = layout.headerStep;
    canvas.DrawText(layout.left, y, "PROJECT:", PageFont(layout.bigFont), kBlack);
    canvas.DrawText(layout.valueX, y, project.GetName(), PageFont(layout.bigFont), kBlack);
    y += layout.headerStep;
    canvas.DrawText(layout.left, y, title, PageFont(layout.bigFont, true), kBlack);
}

} // namespace

int GetResultsTablePageCount(size_t rowCount, int width, int height) {
    const TableGeometry g = GetTableGeometry(width, height);
    const size_t perPage = size_t(g.rowsPerPage);
    return std::max(1, int((rowCount + perPage - 1) / perPage));
}

void DrawResultsTablePage(IDrawCanvas& canvas, int width, int height, const CLENIProject& project,
                          const std::vector<ReportTableRow>& rows, int pageIndex) {
    const TableGeometry g = GetTableGeometry(width, height);
    const PageLayout& l = g.layout;
    DrawSectionTitle(canvas, l, project, "ANNUAL RESULTS");

    // Name column, then five number columns right-aligned at these fractions of the width.
    const double stops[5] = {0.48, 0.60, 0.72, 0.84, 1.0};
    const char* heads[5] = {"Area", "Power", "Wl", "Wp", "LENI"};
    const char* units[5] = {"m\u00b2", "W", "kWh", "kWh", "kWh/(m\u00b2 year)"};
    const int span = l.right - l.left;
    const int smallFont = std::max(1, l.smallFont * 9 / 10);
    const CanvasFont font = PageFont(smallFont);
    const CanvasFont bold = PageFont(smallFont, true);
    auto rightAligned = [&](int column, int y, const std::string& text, const CanvasFont& f) {
        const int x = l.left + int(stops[column] * span) - canvas.GetTextWidth(text, f);
        canvas.DrawText(x, y, text, f, kBlack);
    };

    int y = g.firstRowY - 2 * g.rowStep;
    canvas.DrawText(l.left, y, "Floor / room", bold, kBlack);
    for (int c = 0; c < 5; ++c)
        rightAligned(c, y, heads[c], bold);
    y += g.rowStep;
    for (int c = 0; c < 5; ++c)
        rightAligned(c, y, units[c], font);
    y += g.rowStep;
    canvas.SetPen({kBlack, std::max(1, smallFont / 12), PEN_SOLID});
    canvas.DrawLine(l.left, y - g.rowStep / 6, l.right, y - g.rowStep / 6);

    const size_t first = size_t(std::max(0, pageIndex)) * size_t(g.rowsPerPage);
    for (size_t i = first; i < rows.size() && i < first + size_t(g.rowsPerPage); ++i) {
        const ReportTableRow& row = rows[i];
        const CanvasFont& f = row.level < 2 ? bold : font;
        if (row.level == 1) {
            canvas.SetPen({MakeRgb(200, 200, 200), 1, PEN_SOLID});
            canvas.DrawLine(l.left, y - g.rowStep / 6, l.right, y - g.rowStep / 6);
        }
        canvas.DrawText(l.left + row.level * smallFont, y, row.name, f, kBlack);
        rightAligned(0, y, StrPrintf("%.2f", row.area), f);
        rightAligned(1, y, StrPrintf("%.2f", row.installedPower), f);
        rightAligned(2, y, StrPrintf("%.2f", row.Wl), f);
        rightAligned(3, y, StrPrintf("%.2f", row.Wp), f);
        rightAligned(4, y, StrPrintf("%.2f", row.LENI), f);
        y += g.rowStep;
    }
    if (first + size_t(g.rowsPerPage) >= rows.size())
        canvas.DrawText(l.left, y + g.rowStep / 2,
                        "Floor rows are one instance of the floor; the building counts every instance.",
                        PageFont(std::max(1, smallFont * 8 / 10)), kGrey);
}

void DrawResultsChartPage(IDrawCanvas& canvas, int width, int height, const CLENIProject& project,
                          const LENIObjectResults& building) {
    const PageLayout l = ComputePageLayout(width, height);
    DrawSectionTitle(canvas, l, project, "MONTHLY ENERGY OF THE BUILDING");
    const int top = l.headerStep * 3;
    const int bottom = std::min(GetContentBottom(l), top + (l.right - l.left) / 2);
    DrawMonthlyBarChart(canvas, l.left, top, l.right, bottom, building.steps, l.smallFont);

    // The numbers behind the bars, and the year.
    const int step = std::max(1, l.lineStep * 9 / 10);
    const int y = DrawMonthTable(canvas, l, bottom + l.lineStep, building.steps, GetContentBottom(l));
    DrawCostAndTargetLines(canvas, l, project, building, y + step / 2);
}

void DrawCostAndTargetLines(IDrawCanvas& canvas, const PageLayout& l, const CLENIProject& project,
                            const LENIObjectResults& building, int y) {
    const LeniTimeStepResult& year = building.steps[0];
    const CanvasFont bold = PageFont(std::max(1, l.smallFont * 9 / 10), true);
    for (const std::string& line : {GetCostAndCO2Line(project, year.Wl + year.Wp, 0),
                                    GetTargetLine(project, year.GetLENI(), 0)}) {
        if (line.empty() || y + l.lineStep > GetContentBottom(l)) continue;
        canvas.DrawText(l.left, y, "Building " + line, bold, kBlack);
        y += l.lineStep;
    }
    // The months under a heading, in four columns of three: "Jan 48.43, 96.86".
    const auto& price = project.GetEnergyPrice();
    const auto& co2 = project.GetCO2Factor();
    if ((!price && !co2) || y + 4 * l.lineStep > GetContentBottom(l)) return;
    canvas.DrawText(l.left, y,
                    std::string("Building each month: ") + (price ? "cost" : "") + (price && co2 ? ", " : "") +
                        (co2 ? "CO2 kg" : ""),
                    bold, kBlack);
    y += l.lineStep;
    const CanvasFont font = PageFont(std::max(1, l.smallFont * 9 / 10));
    const int quarter = (l.right - l.left) / 4;
    for (int m = 1; m < kLeniTimeSteps; ++m) {
        const double energy = building.steps[m].Wl + building.steps[m].Wp;
        std::string text = GetTimeStepName(unsigned(m)).substr(0, 3);
        if (price) text += StrPrintf(" %.2f", energy * *price);
        if (co2) text += StrPrintf("%s %.2f", price ? "," : "", energy * *co2);
        canvas.DrawText(l.left + ((m - 1) / 3) * quarter, y + ((m - 1) % 3) * l.lineStep, text, font, kBlack);
    }
}

std::vector<std::string> GetCostAndTargetCells(const CLENIProject& project, const ReportTableRow& row) {
    std::vector<std::string> cells;
    const double energyKWh = row.Wl + row.Wp;
    if (project.GetEnergyPrice()) cells.push_back(StrPrintf("%.2f", energyKWh * *project.GetEnergyPrice()));
    if (project.GetCO2Factor()) cells.push_back(StrPrintf("%.2f", energyKWh * *project.GetCO2Factor()));
    if (project.GetLeniTarget()) cells.push_back(GetTargetMark(project, row.LENI));
    return cells;
}

ChartAxis GetChartAxis(double largest) {
    ChartAxis axis;
    if (!(largest > 0.0) || !std::isfinite(largest)) return axis;
    // The smallest tick of 1, 2 or 5 times a power of ten that needs at most six steps.
    const double rough = largest / 6.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    axis.tick = 10.0 * power;
    for (double m : {1.0, 2.0, 5.0})
        if (m * power * 6.0 >= largest * (1.0 - 1e-12)) {
            axis.tick = m * power;
            break;
        }
    axis.steps = std::max(1, int(std::ceil(largest / axis.tick - 1e-9)));
    axis.maximum = axis.steps * axis.tick;
    return axis;
}

void DrawMonthlyBarChart(IDrawCanvas& canvas, int left, int top, int right, int bottom,
                         const LeniTimeStepResult steps[kLeniTimeSteps], int fontHeight) {
    const int fh = std::max(1, fontHeight);
    const CanvasFont font = PageFont(fh);
    double largest = 0.0;
    for (int m = 1; m < kLeniTimeSteps; ++m)
        largest = std::max({largest, steps[m].Wl, steps[m].Wp});
    const ChartAxis axis = GetChartAxis(largest);
    const double axisMax = axis.maximum;

    // Room for the axis labels at the left, the month names and the legend below.
    const std::string widest = StrPrintf("%.0f", axisMax);
    const int plotLeft = left + canvas.GetTextWidth(widest, font) + fh;
    const int plotRight = right - fh / 2;
    const int plotTop = top + fh * 2;
    const int plotBottom = bottom - fh * 3;
    if (plotRight <= plotLeft || plotBottom <= plotTop) return;

    canvas.DrawText(left, top, "kWh", font, kBlack);
    for (int i = 0; i <= axis.steps; ++i) {
        const int y = plotBottom - int(std::lround((plotBottom - plotTop) * double(i) / axis.steps));
        canvas.SetPen({i == 0 ? kBlack : MakeRgb(215, 215, 215), 1, PEN_SOLID});
        canvas.DrawLine(plotLeft, y, plotRight, y);
        const std::string label = StrPrintf(axis.tick >= 1.0 ? "%.0f" : "%.2f", axis.tick * i);
        canvas.DrawText(plotLeft - fh / 3 - canvas.GetTextWidth(label, font), y - fh / 2, label, font,
                        kBlack);
    }
    canvas.SetPen({kBlack, 1, PEN_SOLID});
    canvas.DrawLine(plotLeft, plotTop, plotLeft, plotBottom);

    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const double slot = double(plotRight - plotLeft) / 12.0;
    const int barWidth = std::max(1, int(slot * 0.36));
    auto barTop = [&](double value) {
        const double v = std::clamp(value, 0.0, axisMax);
        return plotBottom - int(std::lround((plotBottom - plotTop) * v / axisMax));
    };
    for (int m = 1; m < kLeniTimeSteps; ++m) {
        const int x0 = plotLeft + int(std::lround(slot * (m - 1) + slot * 0.14));
        const int wlTop = barTop(steps[m].Wl), wpTop = barTop(steps[m].Wp);
        if (wlTop < plotBottom) canvas.FillRect(x0, wlTop, x0 + barWidth, plotBottom, kChartWlColour);
        if (wpTop < plotBottom)
            canvas.FillRect(x0 + barWidth, wpTop, x0 + 2 * barWidth, plotBottom, kChartWpColour);
        const std::string month = kMonths[m - 1];
        const int centre = plotLeft + int(std::lround(slot * (m - 0.5)));
        canvas.DrawText(centre - canvas.GetTextWidth(month, font) / 2, plotBottom + fh / 3, month, font,
                        kBlack);
    }
    // Legend below the month names.
    const int ly = plotBottom + fh * 3 / 2 + fh / 3;
    int lx = plotLeft;
    for (int s = 0; s < 2; ++s) {
        const Rgb colour = s == 0 ? kChartWlColour : kChartWpColour;
        const std::string text = s == 0 ? "Wl, lighting energy" : "Wp, parasitic energy";
        canvas.FillRect(lx, ly + fh / 5, lx + fh, ly + fh, colour);
        canvas.DrawText(lx + fh * 3 / 2, ly, text, font, kBlack);
        lx += fh * 3 / 2 + canvas.GetTextWidth(text, font) + fh * 2;
    }
}

// ---- The whole report ----

namespace {

// The rows of the contents: below the section title and one line of space.
int ContentsFirstRowY(const PageLayout& layout) {
    return 3 * layout.headerStep + layout.lineStep;
}

int ContentsRowsPerPage(int width, int height) {
    const PageLayout l = ComputePageLayout(width, height);
    return std::max(1, (GetContentBottom(l) - ContentsFirstRowY(l)) / std::max(1, l.lineStep));
}

} // namespace

std::vector<ReportPart> BuildReportParts(const std::vector<PrintPageRecord>& pages, int tablePages,
                                         int width, int height, int floorMonthPages, int luminairePages,
                                         int roomSchedulePages) {
    std::vector<ReportPart> head, body;
    for (const PrintPageRecord& page : pages) {
        ReportPart part;
        part.page = page;
        (page.kind == PAGE_PROJECT && head.empty() && body.empty() ? head : body).push_back(part);
    }
    for (int i = 0; i < tablePages; ++i) {
        ReportPart part;
        part.kind = PART_RESULTS_TABLE;
        part.index = i;
        body.push_back(part);
    }
    if (tablePages > 0) {
        ReportPart part;
        part.kind = PART_RESULTS_CHART;
        body.push_back(part);
        for (const auto& [kind, pages] : {std::make_pair(PART_FLOOR_MONTHS, floorMonthPages),
                                          std::make_pair(PART_ROOM_SCHEDULE, roomSchedulePages),
                                          std::make_pair(PART_LUMINAIRES, luminairePages)})
            for (int i = 0; i < pages; ++i) {
                ReportPart part;
                part.kind = kind;
                part.index = i;
                body.push_back(part);
            }
    }
    std::vector<ReportPart> parts = head;
    if (body.size() > 1) {
        size_t listed = head.size();
        for (const ReportPart& part : body)
            if (!GetReportPartTitle(part).empty()) ++listed;
        const size_t perPage = size_t(ContentsRowsPerPage(width, height));
        const int contentsPages = int((listed + perPage - 1) / perPage);
        for (int i = 0; i < contentsPages; ++i) {
            ReportPart part;
            part.kind = PART_CONTENTS;
            part.index = i;
            parts.push_back(part);
        }
    }
    parts.insert(parts.end(), body.begin(), body.end());
    return parts;
}

std::string GetReportPartTitle(const ReportPart& part) {
    switch (part.kind) {
    case PART_PAGE:
        switch (part.page.kind) {
        case PAGE_PROJECT:
            return "Project";
        case PAGE_FLOOR:
            return "Floor: " + part.page.floor;
        case PAGE_ROOM:
            return "Room: " + part.page.floor + " / " + part.page.room;
        case PAGE_ZONE:
            return "Zone: " + part.page.floor + " / " + part.page.room + " / " + part.page.zone;
        default:
            return "";
        }
    case PART_RESULTS_TABLE:
        return part.index == 0 ? "Annual results of the building, its floors and rooms" : "";
    case PART_RESULTS_CHART:
        return "Monthly energy of the building";
    case PART_FLOOR_MONTHS:
        return part.index == 0 ? "Monthly energy of each floor" : "";
    case PART_ROOM_SCHEDULE:
        return part.index == 0 ? "Room schedule" : "";
    case PART_LUMINAIRES:
        return part.index == 0 ? "Luminaire schedule" : "";
    default:
        return "";
    }
}

void DrawContentsPage(IDrawCanvas& canvas, int width, int height, const CLENIProject& project,
                      const std::vector<ReportPart>& parts, int pageIndex) {
    const PageLayout l = ComputePageLayout(width, height);
    DrawSectionTitle(canvas, l, project, "CONTENTS");
    const CanvasFont font = PageFont(l.smallFont);
    const size_t perPage = size_t(ContentsRowsPerPage(width, height));
    const size_t first = size_t(std::max(0, pageIndex)) * perPage;
    size_t listed = 0;
    int y = ContentsFirstRowY(l);
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].kind == PART_CONTENTS) continue;
        const std::string title = GetReportPartTitle(parts[i]);
        if (title.empty()) continue;
        const size_t n = listed++;
        if (n < first) continue;
        if (n >= first + perPage) break;
        const std::string number = StrPrintf("%d", int(i) + 1);
        const int numberX = l.right - canvas.GetTextWidth(number, font);
        canvas.DrawText(l.left, y, title, font, kBlack);
        // Dots lead the eye from the title to its page number.
        const int dotsLeft = l.left + canvas.GetTextWidth(title, font) + l.smallFont;
        const int dotsRight = numberX - l.smallFont / 2;
        const int dotWidth = std::max(1, canvas.GetTextWidth(". ", font));
        if (dotsRight > dotsLeft) {
            const int count = (dotsRight - dotsLeft) / dotWidth;
            std::string dots;
            for (int d = 0; d < count; ++d)
                dots += ". ";
            if (!dots.empty()) canvas.DrawText(dotsRight - count * dotWidth, y, dots, font, kGrey);
        }
        canvas.DrawText(numberX, y, number, font, kBlack);
        y += l.lineStep;
    }
}

void DrawPageFooter(IDrawCanvas& canvas, int width, int height, const CLENIProject& project,
                    const PrintDate& date, int pageNumber, int pageCount) {
    const PageLayout l = ComputePageLayout(width, height);
    const int top = GetFooterTop(l);
    const CanvasFont font = PageFont(std::max(1, l.smallFont * 8 / 10));
    canvas.SetPen({kGrey, 1, PEN_SOLID});
    canvas.DrawLine(l.left, top - l.smallFont / 4, l.right, top - l.smallFont / 4);
    canvas.DrawText(l.left, top, project.GetName(), font, kGrey);
    const std::string day = StrPrintf("%4d-%02d-%02d", date.year, date.month, date.day);
    canvas.DrawText((l.left + l.right - canvas.GetTextWidth(day, font)) / 2, top, day, font, kGrey);
    const std::string page = StrPrintf("Page %d of %d", pageNumber, pageCount);
    canvas.DrawText(l.right - canvas.GetTextWidth(page, font), top, page, font, kGrey);
}

namespace {

// A floor's block: its name, the column heads, twelve months and the year.
constexpr int kFloorBlockLines = 15;

int FloorBlocksPerPage(int width, int height) {
    const PageLayout l = ComputePageLayout(width, height);
    const int step = std::max(1, l.lineStep * 9 / 10);
    const int lines = (GetContentBottom(l) - 3 * l.headerStep) / step;
    return std::max(1, (lines + 1) / (kFloorBlockLines + 1)); // a line of space between blocks
}

} // namespace

int GetFloorMonthsPageCount(size_t floorCount, int width, int height) {
    const size_t perPage = size_t(FloorBlocksPerPage(width, height));
    return std::max(1, int((floorCount + perPage - 1) / perPage));
}

void DrawFloorMonthsPage(IDrawCanvas& canvas, int width, int height, const CLENIProject& project,
                         const LENIProjectResults& results, int pageIndex) {
    const PageLayout l = ComputePageLayout(width, height);
    DrawSectionTitle(canvas, l, project, "MONTHLY ENERGY OF EACH FLOOR (ONE INSTANCE)");
    const CanvasFont bold = PageFont(std::max(1, l.smallFont * 9 / 10), true);
    const int step = std::max(1, l.lineStep * 9 / 10);
    const size_t perPage = size_t(FloorBlocksPerPage(width, height));
    const std::vector<CLENIFloor>& floors = project.GetFloors();
    const size_t first = size_t(std::max(0, pageIndex)) * perPage;
    int y = 3 * l.headerStep;
    for (size_t f = first; f < floors.size() && f < results.floors.size() && f < first + perPage; ++f) {
        const LENIObjectResults& r = results.floors[f];
        canvas.DrawText(l.left, y, floors[f].GetName() + StrPrintf(" (%.2f m\u00b2)", r.area), bold, kBlack);
        y = DrawMonthTable(canvas, l, y + step, r.steps, GetContentBottom(l));
        y += step;
    }
}

std::vector<LuminaireScheduleRow> GetLuminaireSchedule(const CLENIProject& project) {
    // The products in the order the zones first name them, each with its count per floor.
    std::vector<std::string> products;
    std::vector<std::vector<long long>> perFloor; // [product][floor], one instance
    const std::vector<CLENIFloor>& floors = project.GetFloors();
    auto add = [&](size_t f, const CZoneObjList& list) {
        for (const CZoneObjList::Entry& entry : list.GetEntries()) {
            size_t p = 0;
            while (p < products.size() && products[p] != entry.refId)
                ++p;
            if (p == products.size()) {
                products.push_back(entry.refId);
                perFloor.emplace_back(floors.size(), 0);
            }
            perFloor[p][f] += entry.count;
        }
    };
    // Zones, windows and roof lights carry luminaires, as the installed power counts them.
    for (size_t f = 0; f < floors.size(); ++f)
        for (const CLENIRoom& room : floors[f].GetRooms()) {
            for (const CLENIZone& zone : room.GetZones())
                add(f, zone.GetLumList());
            for (const CLENIWindow& window : room.GetWindows())
                add(f, window.m_LumList);
            for (const CLENIRoofLight& roofLight : room.GetRoofLights())
                add(f, roofLight.m_LumList);
        }
    std::vector<LuminaireScheduleRow> rows;
    const CLumSysDataBase& db = project.GetProducts();
    for (size_t p = 0; p < products.size(); ++p) {
        const CLumTypeData* data = db.FindLumData(products[p]);
        LuminaireScheduleRow building;
        building.building = true;
        building.product = products[p];
        building.description = data ? data->GetDesc() : "";
        building.power = data ? data->GetMaxPow() : 0.0;
        for (size_t f = 0; f < floors.size(); ++f)
            building.count += perFloor[p][f] * floors[f].GetInstanceCount();
        building.totalPower = double(building.count) * building.power;
        rows.push_back(building);
        for (size_t f = 0; f < floors.size(); ++f) {
            if (perFloor[p][f] == 0) continue;
            LuminaireScheduleRow row = building;
            row.building = false;
            row.floor = floors[f].GetName();
            if (floors[f].GetInstanceCount() != 1)
                row.floor += StrPrintf(" (one of %d)", floors[f].GetInstanceCount());
            row.count = perFloor[p][f];
            row.totalPower = double(row.count) * row.power;
            rows.push_back(row);
        }
    }
    return rows;
}

int GetLuminairePageCount(size_t rowCount, int width, int height) {
    return GetResultsTablePageCount(rowCount, width, height);
}

void DrawLuminairePage(IDrawCanvas& canvas, int width, int height, const CLENIProject& project,
                       const std::vector<LuminaireScheduleRow>& rows, int pageIndex) {
    const TableGeometry g = GetTableGeometry(width, height);
    const PageLayout& l = g.layout;
    DrawSectionTitle(canvas, l, project, "LUMINAIRE SCHEDULE");
    const int span = l.right - l.left;
    const int smallFont = std::max(1, l.smallFont * 9 / 10);
    const CanvasFont font = PageFont(smallFont);
    const CanvasFont bold = PageFont(smallFont, true);
    const int descriptionX = l.left + int(0.24 * span);
    const int descriptionEnd = l.left + int(0.62 * span);
    const double stops[3] = {0.72, 0.84, 1.0};
    auto rightAligned = [&](int column, int y, const std::string& text, const CanvasFont& f) {
        canvas.DrawText(l.left + int(stops[column] * span) - canvas.GetTextWidth(text, f), y, text, f, kBlack);
    };
    auto fitted = [&](const std::string& text, int room, const CanvasFont& f) {
        return FitText(canvas, text, room, f);
    };
    int y = g.firstRowY - 2 * g.rowStep;
    canvas.DrawText(l.left, y, "Product / floor", bold, kBlack);
    canvas.DrawText(descriptionX, y, "Description", bold, kBlack);
    rightAligned(0, y, "Power", bold);
    rightAligned(1, y, "Count", bold);
    rightAligned(2, y, "Total power", bold);
    y += g.rowStep;
    rightAligned(0, y, "W", font);
    rightAligned(2, y, "W", font);
    y += g.rowStep;
    canvas.SetPen({kBlack, std::max(1, smallFont / 12), PEN_SOLID});
    canvas.DrawLine(l.left, y - g.rowStep / 6, l.right, y - g.rowStep / 6);
    const size_t first = size_t(std::max(0, pageIndex)) * size_t(g.rowsPerPage);
    for (size_t i = first; i < rows.size() && i < first + size_t(g.rowsPerPage); ++i) {
        const LuminaireScheduleRow& row = rows[i];
        const CanvasFont& f = row.building ? bold : font;
        if (row.building) {
            canvas.SetPen({MakeRgb(200, 200, 200), 1, PEN_SOLID});
            canvas.DrawLine(l.left, y - g.rowStep / 6, l.right, y - g.rowStep / 6);
            canvas.DrawText(l.left, y, fitted(row.product, descriptionX - l.left - smallFont, f), f, kBlack);
            const std::string description =
                row.description.empty() && !project.GetProducts().FindLumData(row.product)
                    ? "(not in the product database)"
                    : row.description;
            canvas.DrawText(descriptionX, y, fitted(description, descriptionEnd - descriptionX, font), font,
                            kBlack);
            rightAligned(0, y, StrPrintf("%.2f", row.power), f);
        } else {
            canvas.DrawText(l.left + smallFont, y, fitted(row.floor, descriptionEnd - l.left - smallFont, f), f,
                            kBlack);
        }
        rightAligned(1, y, StrPrintf("%lld", row.count), f);
        rightAligned(2, y, StrPrintf("%.2f", row.totalPower), f);
        y += g.rowStep;
    }
    const bool last = first + size_t(g.rowsPerPage) >= rows.size();
    if (last) {
        // The building's luminaires together: their power is the building's installed power.
        long long count = 0;
        double total = 0.0;
        for (const LuminaireScheduleRow& row : rows)
            if (row.building) {
                count += row.count;
                total += row.totalPower;
            }
        canvas.SetPen({kBlack, std::max(1, smallFont / 12), PEN_SOLID});
        canvas.DrawLine(l.left, y - g.rowStep / 6, l.right, y - g.rowStep / 6);
        canvas.DrawText(l.left, y, "All luminaires", bold, kBlack);
        rightAligned(1, y, StrPrintf("%lld", count), bold);
        rightAligned(2, y, StrPrintf("%.2f", total), bold);
        y += g.rowStep;
    }
    if (last)
        canvas.DrawText(l.left, y + g.rowStep / 2,
                        "A product's row counts every instance of each floor; a floor's row, one instance.",
                        PageFont(std::max(1, smallFont * 8 / 10)), kGrey);
}

namespace {

// The schedule's lines: each floor's name, then its rooms; -1 stands for a floor's line.
std::vector<std::pair<size_t, long>> RoomScheduleLines(const std::vector<RoomScheduleRow>& rows) {
    std::vector<std::pair<size_t, long>> lines;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i == 0 || rows[i].floorIndex != rows[i - 1].floorIndex) lines.emplace_back(i, -1);
        lines.emplace_back(i, long(i));
    }
    return lines;
}

} // namespace

int GetRoomSchedulePageCount(const std::vector<RoomScheduleRow>& rows, int width, int height) {
    return GetResultsTablePageCount(RoomScheduleLines(rows).size(), width, height);
}

void DrawRoomSchedulePage(IDrawCanvas& canvas, int width, int height, const CLENIProject& project,
                          const std::vector<RoomScheduleRow>& rows, int pageIndex) {
    const TableGeometry g = GetTableGeometry(width, height);
    const PageLayout& l = g.layout;
    DrawSectionTitle(canvas, l, project, "ROOM SCHEDULE (ONE INSTANCE OF EACH FLOOR)");
    const int span = l.right - l.left;
    const std::vector<RoomScheduleColumn> columns = GetRoomScheduleColumns(project);
    // The largest figure of each number column in the whole schedule, so that every page has the
    // same columns.
    std::vector<std::string> widest(columns.size());
    for (size_t c = 0; c < columns.size(); ++c) {
        if (!columns[c].format) {
            if (columns[c].width == 0.0) // a short text: its longest, whole
                for (const RoomScheduleRow& row : rows)
                    if (const std::string text = columns[c].text(row); text.size() > widest[c].size()) widest[c] = text;
            continue;
        }
        double largest = 0.0;
        for (const RoomScheduleRow& row : rows)
            if (std::isfinite(columns[c].value(row))) largest = std::max(largest, std::fabs(columns[c].value(row)));
        widest[c] = FormatDouble(columns[c].format, -largest);
    }
    // A number column is as wide as its widest figure, its head and its unit, and a gap; the text
    // columns share what is left by their shares, cutting long names. The font is made smaller
    // until the number columns leave at least a quarter of the line to the texts.
    int smallFont = std::max(1, l.smallFont * 3 / 4);
    CanvasFont font, bold;
    std::vector<int> widths(columns.size(), 0);
    int gap = 0, numbers = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        font = PageFont(smallFont);
        bold = PageFont(smallFont, true);
        gap = std::max(1, smallFont / 2);
        numbers = 0;
        for (size_t c = 0; c < columns.size(); ++c) {
            widths[c] = std::max(canvas.GetTextWidth(columns[c].head, bold), canvas.GetTextWidth(columns[c].unit, font));
            if (!columns[c].format && columns[c].width > 0.0) continue;
            widths[c] = std::max(widths[c], canvas.GetTextWidth(widest[c], font)) + gap;
            numbers += widths[c];
        }
        if (numbers <= span * 3 / 4 || smallFont <= 1) break;
        smallFont = std::max(1, int(smallFont * (span * 3.0 / 4.0) / numbers));
    }
    double textShares = 0.0;
    for (const RoomScheduleColumn& c : columns)
        textShares += c.format ? 0.0 : c.width;
    const int textRoom = std::max(0, span - numbers);
    for (size_t c = 0; c < columns.size(); ++c)
        if (!columns[c].format && columns[c].width > 0.0) widths[c] = int(columns[c].width / textShares * textRoom);
    // Each column's left and right edge; numbers end at the right edge, texts start at the left.
    std::vector<int> lefts, rights;
    int at = l.left;
    for (size_t c = 0; c < columns.size(); ++c) {
        lefts.push_back(at);
        at += widths[c];
        rights.push_back(at);
    }
    auto cell = [&](size_t c, int y, const std::string& text, const CanvasFont& f) {
        if (text.empty()) return;
        if (columns[c].format || columns[c].width == 0.0) // numbers and short texts end at the right
            canvas.DrawText(rights[c] - canvas.GetTextWidth(text, f), y, text, f, kBlack);
        else
            canvas.DrawText(lefts[c], y, FitText(canvas, text, rights[c] - lefts[c] - gap, f), f, kBlack);
    };
    int y = g.firstRowY - 2 * g.rowStep;
    for (size_t c = 0; c < columns.size(); ++c) {
        cell(c, y, columns[c].head, bold);
        cell(c, y + g.rowStep, columns[c].unit, font);
    }
    y += 2 * g.rowStep;
    canvas.SetPen({kBlack, std::max(1, smallFont / 12), PEN_SOLID});
    canvas.DrawLine(l.left, y - g.rowStep / 6, l.right, y - g.rowStep / 6);
    const std::vector<std::pair<size_t, long>> lines = RoomScheduleLines(rows);
    const size_t first = size_t(std::max(0, pageIndex)) * size_t(g.rowsPerPage);
    for (size_t i = first; i < lines.size() && i < first + size_t(g.rowsPerPage); ++i) {
        const RoomScheduleRow& row = rows[lines[i].first];
        if (lines[i].second < 0) {
            canvas.SetPen({MakeRgb(200, 200, 200), 1, PEN_SOLID});
            canvas.DrawLine(l.left, y - g.rowStep / 6, l.right, y - g.rowStep / 6);
            canvas.DrawText(l.left, y, "Floor: " + row.floor, bold, kBlack);
        } else {
            for (size_t c = 0; c < columns.size(); ++c)
                cell(c, y, FormatScheduleCell(columns[c], row), font);
        }
        y += g.rowStep;
    }
    if (first + size_t(g.rowsPerPage) >= lines.size())
        canvas.DrawText(l.left, y + g.rowStep / 2,
                        "Pn installed lighting power; Fo, Fc, Fd the means of the room's zones weighted by "
                        "their areas.",
                        PageFont(std::max(1, smallFont * 9 / 10)), kGrey);
}

// ---- Rooms coloured by LENI ----

double GetLeniScaleTop(const LENIProjectResults& results) {
    double largest = 0.0;
    for (const std::vector<LENIObjectResults>& floor : results.rooms)
        for (const LENIObjectResults& room : floor)
            largest = std::max(largest, room.steps[0].GetLENI());
    return GetChartAxis(largest).maximum;
}

Rgb GetLeniColour(double leni, double scaleTop) {
    // Green, through yellow, to red, pale enough for the plan's lines to read on it.
    const double t = scaleTop > 0.0 && std::isfinite(leni) ? std::clamp(leni / scaleTop, 0.0, 1.0) : 0.0;
    const double red = t < 0.5 ? 2.0 * t : 1.0, green = t < 0.5 ? 1.0 : 2.0 * (1.0 - t);
    auto pale = [](double c) { return int(std::lround(255.0 * (0.45 + 0.55 * c))); };
    return MakeRgb(pale(red), pale(green), pale(0.0));
}

void DrawLeniLegend(IDrawCanvas& canvas, int left, int top, int right, int fontHeight, double scaleTop) {
    const int fh = std::max(1, fontHeight);
    const CanvasFont font = PageFont(fh);
    const std::string title = "Rooms by LENI, kWh/(m\u00b2 year):";
    canvas.DrawText(left, top, title, font, kBlack);
    const int barLeft = left + canvas.GetTextWidth(title, font) + fh;
    const int barRight = right - fh;
    if (barRight <= barLeft) return;
    const int slices = 60;
    for (int i = 0; i < slices; ++i) {
        const int x0 = barLeft + (barRight - barLeft) * i / slices;
        const int x1 = barLeft + (barRight - barLeft) * (i + 1) / slices;
        canvas.FillRect(x0, top, x1, top + fh, GetLeniColour(scaleTop * (i + 0.5) / slices, scaleTop));
    }
    canvas.SetPen({kGrey, 1, PEN_SOLID});
    canvas.DrawPolyline({{barLeft, top}, {barRight, top}, {barRight, top + fh}, {barLeft, top + fh}, {barLeft, top}});
    const ChartAxis axis = GetChartAxis(scaleTop);
    for (int i = 0; i <= axis.steps; ++i) {
        const int x = barLeft + int(std::lround((barRight - barLeft) * double(i) / axis.steps));
        const std::string label = StrPrintf(axis.tick >= 1.0 ? "%.0f" : "%.2f", axis.tick * i);
        canvas.DrawLine(x, top + fh, x, top + fh + fh / 3);
        canvas.DrawText(x - canvas.GetTextWidth(label, font) / 2, top + fh + fh / 3, label, font, kBlack);
    }
}
