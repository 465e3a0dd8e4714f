// The printed report pages on a recording canvas: the page list of the print flags, the layout
// (margins, fonts, the picture), the values of each page kind against the hand-worked building,
// and the results section of the PDF report.

#include "report/ReportPages.h"

#include "base/TextUtils.h"
#include "dxf/DxfFile.h"
#include "model/LENIProject.h"
#include "report/ResultsCsv.h"
#include "report/ResultsExport.h"
#include "report/RoomSchedule.h"
#include "support/RecordingCanvas.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

Polygon Rect(double x0, double y0, double x1, double y1) {
    return {Point(x0, y0), Point(x1, y0), Point(x1, y1), Point(x0, y1)};
}

// The hand-worked room: 50 m2, ten 36 W luminaires of 0.5 W standby and 0.25 W charging, td 2250,
// tn 250, Fo 1: per storey Wl = 0.36 kW x 2500 h = 900 kWh, Wp = 7.5 W x 8760 h = 65.7 kWh.
CLENIProject Example(const fs::path& folder, int instances) {
    CLENIProject project;
    project.SetProjectFolder(folder.string());
    project.SetName("Villa");
    project.SetDominantBuildingType("Offices");
    project.SetLocation("Milano");
    project.SetYearToBeBuilt(2026);
    CLumTypeData p;
    p.SetRefId("T36");
    p.SetMaxPow(36.0);
    p.SetStandbyPow(0.5);
    p.SetChargePow(0.25);
    project.GetProducts().AddLumData(p);
    CLENIFloor floor("Ground", 3.2);
    floor.SetInstanceCount(instances);
    CLENIRoom room;
    room.InitFromPolygon("Kitchen", Rect(0, 0, 10, 5), 3.2);
    room.SetRoomType("[Offices]Cellular office 1 person.(Fa=0.40)");
    room.SetTd(2250);
    room.SetTn(250);
    CLENIZone zone;
    zone.InitFromPolygon("Z1", Rect(0, 0, 10, 5));
    zone.SetFoMode(FOMODE_ONE);
    zone.GetLumList().AddLuminaire("T36");
    zone.GetLumList().SetLuminaireCount("T36", 10);
    room.AddZone(zone);
    floor.AddRoom(room);
    project.AppendFloor(floor);
    return project;
}

const PrintDate kDate{2024, 3, 5};
constexpr int kW = 2480, kH = 3508; // A4 portrait at 300 dpi

// The value drawn in the value column on the label's line.
std::string ValueOf(const RecordingCanvas& canvas, const std::string& label) {
    const RecordingCanvas::Op* l = canvas.FindText(label);
    if (!l) return "<no label " + label + ">";
    const PageLayout layout = ComputePageLayout(kW, kH);
    for (const auto& op : canvas.ops)
        if (op.kind == RecordingCanvas::TEXT && op.points[0].y == l->points[0].y &&
            op.points[0].x == layout.valueX)
            return op.text;
    return "<no value>";
}

// The floor drawing of the sample building, standing for any floor.
struct Drawing {
    CDxfFile file;
    Drawing() {
        EXPECT_TRUE(file.ReadFile((fs::path(ORVANTIS_SOURCE_DIR) / "examples/sample/Ground.DXF").string()));
    }
    FloorDrawingLookup Lookup() const {
        return [this](const std::string&) { return &file; };
    }
};

} // namespace

TEST(ReportPagesTest, LayoutOfPortraitAndLandscapePages) {
    struct Case {
        int w, h, top;
        PageLayout layout; // left, right, top, bottom, value column, fonts, line steps
        PictureSquare picture;
    };
    // left = trunc(0.05 W), right = trunc(0.95 W), top = trunc(0.02 H), bottom = trunc(0.98 H),
    // value = trunc(0.3 (right - left) + left); h = H / 60, big 1.5 h, line 3/2 h, header 3/2 line.
    // The footer's top is bottom - h, the content ends a line above it; the picture below a page's
    // lines (top) is a square as large as fits between the margins and down to the content's end,
    // centred in that space.
    const Case cases[] = {
        {2480, 3508, 1000, {124, 2356, 70, 3437, 793, 58, 87, 87, 130}, {124, 1030, 2232}},
        {3508, 2480, 700, {175, 3332, 49, 2430, 1122, 41, 61, 61, 91}, {939, 700, 1628}},
        {1100, 850, 300, {55, 1045, 17, 833, 352, 14, 21, 21, 31}, {301, 300, 498}},
    };
    for (const Case& c : cases) {
        const PageLayout l = ComputePageLayout(c.w, c.h);
        EXPECT_EQ(l.left, c.layout.left) << c.w;
        EXPECT_EQ(l.right, c.layout.right) << c.w;
        EXPECT_EQ(l.top, c.layout.top) << c.w;
        EXPECT_EQ(l.bottom, c.layout.bottom) << c.w;
        EXPECT_EQ(l.valueX, c.layout.valueX) << c.w;
        EXPECT_EQ(l.smallFont, c.layout.smallFont) << c.w;
        EXPECT_EQ(l.bigFont, c.layout.bigFont) << c.w;
        EXPECT_EQ(l.lineStep, c.layout.lineStep) << c.w;
        EXPECT_EQ(l.headerStep, c.layout.headerStep) << c.w;
        EXPECT_EQ(GetFooterTop(l), l.bottom - l.smallFont) << c.w;
        EXPECT_EQ(GetContentBottom(l), l.bottom - l.smallFont - l.lineStep) << c.w;
        const PictureSquare p = PlacePicture(l, c.top);
        EXPECT_EQ(p.x, c.picture.x) << c.w;
        EXPECT_EQ(p.y, c.picture.y) << c.w;
        EXPECT_EQ(p.side, c.picture.side) << c.w;
        // Inside the margins and above the footer, touching two opposite sides of the space.
        EXPECT_GE(p.x, l.left);
        EXPECT_LE(p.x + p.side, l.right);
        EXPECT_GE(p.y, c.top);
        EXPECT_LE(p.y + p.side, GetContentBottom(l));
        EXPECT_TRUE(p.side == l.right - l.left || p.side == GetContentBottom(l) - c.top) << c.w;
    }
    // No room left under the lines: no picture.
    EXPECT_EQ(PlacePicture(ComputePageLayout(2480, 3508), 3400).side, 0);
}

TEST(ReportPagesTest, PageListFollowsTheFlags) {
    CLENIProject project;
    project.SetName("P");
    for (const char* name : {"F1", "F2"}) {
        CLENIFloor floor(name, 3.0);
        for (int r = 0; r < 2; ++r) {
            CLENIRoom room;
            room.InitFromPolygon("R" + std::to_string(r + 1), Rect(r * 10, 0, r * 10 + 10, 5), 3.0);
            for (int z = 0; z < 2; ++z) {
                CLENIZone zone;
                zone.InitFromPolygon("Z" + std::to_string(z + 1),
                                     Rect(r * 10 + z * 5, 0, r * 10 + z * 5 + 5, 5));
                room.AddZone(zone);
            }
            floor.AddRoom(room);
        }
        project.AppendFloor(floor);
    }
    auto flag = [&](bool projectFlag) {
        project.SetPrintMe(projectFlag);
        for (const char* f : {"F1", "F2"})
            for (const char* r : {"R1", "R2"}) {
                CLENIRoom* room = project.FindRoom(f, r);
                room->SetPrintMe(false);
                room->FindZone("Z1")->SetPrintMe(false);
                room->FindZone("Z2")->SetPrintMe(false);
            }
        project.GetFloorByName("F1")->SetPrintMe(false);
        project.GetFloorByName("F2")->SetPrintMe(false);
    };
    auto describe = [&]() {
        std::string text;
        for (const PrintPageRecord& p : BuildPrintPageList(project))
            text += std::to_string(p.kind) + ":" + p.floor + "/" + p.room + "/" + p.zone + " ";
        return text;
    };
    flag(false);
    EXPECT_EQ(describe(), "");
    flag(true);
    EXPECT_EQ(describe(), "0:// ");
    // A zone flagged in an unflagged room of an unflagged floor comes after the earlier rooms' pages.
    project.FindRoom("F1", "R1")->SetPrintMe(true);
    project.FindRoom("F1", "R2")->FindZone("Z2")->SetPrintMe(true);
    project.GetFloorByName("F2")->SetPrintMe(true);
    project.FindRoom("F2", "R1")->FindZone("Z1")->SetPrintMe(true);
    project.FindRoom("F2", "R1")->SetPrintMe(true);
    EXPECT_EQ(describe(), "0:// 2:F1/R1/ 3:F1/R2/Z2 1:F2// 2:F2/R1/ 3:F2/R1/Z1 ");
}

TEST(ReportPagesTest, ProjectPageHeaderAndValues) {
    TempDir dir{"pages"};
    const CLENIProject project = Example(dir.path(), 2);
    RecordingCanvas canvas;
    PrintPage(canvas, kW, kH, &project, {PAGE_PROJECT, "", "", ""}, nullptr, kDate);

    // In order from the header line step: the big project line, then one small line each.
    const std::vector<std::pair<std::string, std::string>> lines = {
        {"PROJECT:", "Villa"},
        {"Date printed:", "2024-03-05"},
        {"Year to be built:", "2026"},
        {"Latitude:", ValueOf(canvas, "Latitude:")},
        {"Longitude:", ValueOf(canvas, "Longitude:")},
        {"Location:", "Milano"},
        {"Hdir/Hglob:", ValueOf(canvas, "Hdir/Hglob:")},
        {"Dominant Building Type:", "Offices"},
        {"Number of DXFs:", "1"},
        {"Number of floors:", "2"},
        {"Building Installed Power:", "720.00 W"},
        {"Annual Building Energy:", "1931.40 kWh (Wl 1800.00 kWh + Wp 131.40 kWh)"},
        {"Total Building Area:", "100.00 m\u00b2"},
        {"Annual Building LENI:", "19.31 kWh/(m\u00b2 year)"},
    };
    int y = 130;
    for (size_t i = 0; i < lines.size(); ++i) {
        const RecordingCanvas::Op* label = canvas.FindText(lines[i].first);
        ASSERT_TRUE(label) << lines[i].first;
        EXPECT_EQ(label->points[0].x, 124) << lines[i].first;
        EXPECT_EQ(label->points[0].y, y) << lines[i].first;
        EXPECT_EQ(label->font.faceName, "ARIAL");
        EXPECT_EQ(label->font.height, i == 0 ? 87 : 58) << lines[i].first;
        EXPECT_EQ(ValueOf(canvas, lines[i].first), lines[i].second);
        y += i == 0 ? 130 : 87;
    }
    EXPECT_EQ(ValueOf(canvas, "Latitude:").back(), std::string("\u00b0").back());
    EXPECT_FALSE(canvas.FindText("Year built:"));
}

TEST(ReportPagesTest, FloorRoomAndZonePages) {
    TempDir dir{"pages"};
    CLENIProject project = Example(dir.path(), 3);
    // A room of no area prints 0.00 as its LENIsub.
    CLENIRoom flat;
    flat.InitFromPolygon("Flat", {Point(20, 0), Point(21, 0), Point(22, 0)}, 3.0);
    project.GetFloorByName("Ground")->AddRoom(flat);
    const Drawing drawing;
    const PageLayout layout = ComputePageLayout(kW, kH);
    // The picture starts where the page's lines end: the header (a title and five lines) and the
    // floor's title and five lines.
    const PictureSquare square = PlacePicture(layout, 130 + 130 + 5 * 87 + 130 + 5 * 87);
    EXPECT_EQ(square.y, 1260);
    EXPECT_EQ(square.side, 3292 - 1260);
    EXPECT_EQ(square.x, 124 + (2232 - 2032) / 2);

    RecordingCanvas floorPage;
    PrintPage(floorPage, kW, kH, &project, {PAGE_FLOOR, "Ground", "", ""}, drawing.Lookup(), kDate);
    EXPECT_EQ(ValueOf(floorPage, "Floor Name:"), "Ground");
    // One storey of the three.
    EXPECT_EQ(ValueOf(floorPage, "Floor Installed Power (Pn):"), "360.00W");
    EXPECT_EQ(ValueOf(floorPage, "Annual Floor Energy:"), "965.70 kWh (Wl 900.00 kWh + Wp 65.70 kWh)");
    EXPECT_EQ(ValueOf(floorPage, "Floor Area:"), "50.00 m\u00b2");
    EXPECT_EQ(ValueOf(floorPage, "Floor LENIsub:"), "19.31 kWh/m\u00b2 year");
    // The kind's title comes below the header, not over it.
    EXPECT_GT(floorPage.FindText("FLOOR:")->points[0].y, floorPage.FindText("Location:")->points[0].y);
    EXPECT_LT(floorPage.FindText("FLOOR:")->points[0].y, floorPage.FindText("Floor Name:")->points[0].y);
    // The picture: a frame on the square, everything of the drawing inside it.
    const auto frames = floorPage.OfKind(RecordingCanvas::POLYLINE);
    ASSERT_FALSE(frames.empty());
    const std::vector<CanvasPoint>& frame = frames.back().points;
    ASSERT_EQ(frame.size(), 5u);
    EXPECT_EQ(frame[0].x, square.x);
    EXPECT_EQ(frame[0].y, square.y);
    EXPECT_EQ(frame[2].x, square.x + square.side);
    EXPECT_EQ(frame[2].y, square.y + square.side);
    size_t inside = 0;
    for (const auto& op : floorPage.ops) {
        if (op.kind != RecordingCanvas::LINE) continue;
        for (const CanvasPoint& p : op.points) {
            EXPECT_GE(p.x, square.x - square.side);
            EXPECT_LE(p.x, square.x + 2 * square.side);
        }
        ++inside;
    }
    EXPECT_GT(inside, 0u);

    RecordingCanvas roomPage;
    PrintPage(roomPage, kW, kH, &project, {PAGE_ROOM, "Ground", "Kitchen", ""}, drawing.Lookup(), kDate);
    EXPECT_EQ(ValueOf(roomPage, "Room Name:"), "Kitchen");
    EXPECT_EQ(ValueOf(roomPage, "Room Installed Power (Pn):"), "360.00W");
    EXPECT_EQ(ValueOf(roomPage, "Annual Room Energy:"), "965.70 kWh (Wl 900.00 kWh + Wp 65.70 kWh)");
    EXPECT_EQ(ValueOf(roomPage, "Room Area:"), "50.00 m\u00b2");
    EXPECT_EQ(ValueOf(roomPage, "Room LENIsub:"), "19.31 kWh/(m\u00b2 year)");
    EXPECT_EQ(ValueOf(roomPage, "Daylight hours td:"), "2250 h");
    EXPECT_EQ(ValueOf(roomPage, "Nightime hours tn:"), "250 h");

    RecordingCanvas flatPage;
    PrintPage(flatPage, kW, kH, &project, {PAGE_ROOM, "Ground", "Flat", ""}, drawing.Lookup(), kDate);
    EXPECT_EQ(ValueOf(flatPage, "Room Area:"), "0.00 m\u00b2");
    EXPECT_EQ(ValueOf(flatPage, "Room LENIsub:"), "0.00 kWh/(m\u00b2 year)");

    RecordingCanvas zonePage;
    PrintPage(zonePage, kW, kH, &project, {PAGE_ZONE, "Ground", "Kitchen", "Z1"}, drawing.Lookup(), kDate);
    EXPECT_EQ(ValueOf(zonePage, "Zone Name:"), "Z1");
    EXPECT_TRUE(zonePage.FindText("ZONE:"));
}

TEST(ReportPagesTest, MissingPartsAndFaults) {
    TempDir dir{"pages"};
    const CLENIProject project = Example(dir.path(), 1);
    {
        // The floor's drawing is no longer among the tabs: the texts without a picture.
        LogRecorder log;
        RecordingCanvas canvas;
        PrintPage(canvas, kW, kH, &project, {PAGE_FLOOR, "Ground", "", ""}, nullptr, kDate);
        EXPECT_EQ(ValueOf(canvas, "Floor Area:"), "50.00 m\u00b2");
        EXPECT_TRUE(canvas.OfKind(RecordingCanvas::POLYLINE).empty());
        EXPECT_EQ(log.Count("Could not find DXF file corresponding to floor Ground", LOG_ERROR), 1)
            << log.All();
        EXPECT_EQ(log.Count("Cannot get dxf for floor", LOG_ERROR), 1);
    }
    {
        // A zone page whose zone is gone prints nothing.
        LogRecorder log;
        RecordingCanvas canvas;
        PrintPage(canvas, kW, kH, &project, {PAGE_ZONE, "Ground", "Kitchen", "Gone"}, nullptr, kDate);
        EXPECT_TRUE(canvas.ops.empty());
        EXPECT_EQ(log.Count("CLENIProject::FZBN could not find zone <Gone>", LOG_ERROR), 1) << log.All();
    }
    {
        LogRecorder log;
        RecordingCanvas canvas;
        PrintPage(canvas, kW, kH, &project, {7, "", "", ""}, nullptr, kDate);
        PrintPage(canvas, kW, kH, nullptr, {PAGE_PROJECT, "", "", ""}, nullptr, kDate);
        EXPECT_TRUE(canvas.ops.empty());
        EXPECT_EQ(log.Count("Unkknown page type in PrintPage (7)", LOG_ERROR), 1);
        EXPECT_EQ(log.Count("The project pointer is null when printing", LOG_ERROR), 1);
    }
}

TEST(ReportPagesTest, ResultsTableAndMonthlyChart) {
    TempDir dir{"pages"};
    const CLENIProject project = Example(dir.path(), 3);
    LENIProjectResults results;
    ASSERT_TRUE(CalculateProjectResults(project, results));
    const std::vector<ReportTableRow> rows = GetReportTableRows(project, results);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "Villa");
    EXPECT_NEAR(rows[0].Wl, 2700.0, 1e-7);
    EXPECT_NEAR(rows[0].LENI, (2700.0 + 197.1) / 150.0, 1e-9);
    EXPECT_EQ(rows[1].name, "Ground (one of 3)");
    EXPECT_NEAR(rows[1].Wp, 65.7, 1e-9);
    EXPECT_EQ(rows[2].level, 2);
    EXPECT_NEAR(rows[2].installedPower, 360.0, 1e-12);

    RecordingCanvas table;
    DrawResultsTablePage(table, kW, kH, project, rows, 0);
    EXPECT_TRUE(table.FindText("2700.00"));
    EXPECT_TRUE(table.FindText("19.31"));
    EXPECT_TRUE(table.FindText("Ground (one of 3)"));
    EXPECT_EQ(GetResultsTablePageCount(3, kW, kH), 1);
    EXPECT_EQ(GetResultsTablePageCount(200, kW, kH), 7); // (3292 - 607) / 87 = 30 rows a page
    EXPECT_EQ(GetResultsTablePageCount(30, kW, kH), 1);
    EXPECT_EQ(GetResultsTablePageCount(31, kW, kH), 2);

    // The floors' monthly energies: one instance of the floor, its months and its year.
    RecordingCanvas floors;
    DrawFloorMonthsPage(floors, kW, kH, project, results, 0);
    EXPECT_TRUE(floors.FindText("Ground (50.00 m\u00b2)"));
    EXPECT_TRUE(floors.FindText("900.00"));
    EXPECT_TRUE(floors.FindText("65.70"));
    EXPECT_TRUE(floors.FindText("965.70"));
    EXPECT_TRUE(floors.FindText("19.31"));
    EXPECT_TRUE(floors.FindText("December"));
    // Two blocks of 15 lines a page: (3292 - 390) / 78 = 37 lines.
    EXPECT_EQ(GetFloorMonthsPageCount(2, kW, kH), 1);
    EXPECT_EQ(GetFloorMonthsPageCount(5, kW, kH), 3);
    RecordingCanvas empty;
    DrawFloorMonthsPage(empty, kW, kH, project, results, 1);
    EXPECT_FALSE(empty.FindText("Ground (50.00 m\u00b2)"));

    // Ticks of 1, 2 or 5 times a power of ten, at most six of them.
    const struct {
        double largest, tick;
        int steps;
    } axes[] = {{0.0, 1.0, 1},     {75.24, 20.0, 4}, {540.0, 100.0, 6},
                {600.0, 100.0, 6}, {1.0, 0.2, 5},    {601.0, 200.0, 4}};
    for (const auto& a : axes) {
        const ChartAxis axis = GetChartAxis(a.largest);
        EXPECT_DOUBLE_EQ(axis.tick, a.tick) << a.largest;
        EXPECT_EQ(axis.steps, a.steps) << a.largest;
        EXPECT_DOUBLE_EQ(axis.maximum, a.tick * a.steps) << a.largest;
    }

    // Every month of the building: Wl 3 x 75.24 kWh on an axis of five ticks of 50 up to 250, Wp 3 x 5.475
    // kWh.
    RecordingCanvas chart;
    DrawMonthlyBarChart(chart, 0, 0, 1200, 600, results.building.steps, 20);
    std::vector<RecordingCanvas::Op> wl, wp;
    for (const auto& op : chart.OfKind(RecordingCanvas::FILLRECT)) {
        if (op.colour == kChartWlColour && op.points[1].y - op.points[0].y > 20) wl.push_back(op);
        if (op.colour == kChartWpColour && op.points[1].x - op.points[0].x > 20) wp.push_back(op);
    }
    ASSERT_EQ(wl.size(), 12u); // the legend's square is lower
    ASSERT_EQ(wp.size(), 12u);
    const int plotTop = 40, plotBottom = 600 - 60;
    EXPECT_EQ(wl[0].points[1].y, plotBottom);
    EXPECT_EQ(wl[0].points[0].y, plotBottom - int(std::lround((plotBottom - plotTop) * 225.72 / 250.0)));
    EXPECT_EQ(wp[0].points[0].y, plotBottom - int(std::lround((plotBottom - plotTop) * 16.425 / 250.0)));
    EXPECT_TRUE(chart.FindText("250"));
    EXPECT_TRUE(chart.FindText("Mar"));
}

TEST(ReportPagesTest, ReportPartsContentsAndFooter) {
    TempDir dir{"pages"};
    const CLENIProject project = Example(dir.path(), 1);
    auto describe = [](const std::vector<ReportPart>& parts) {
        std::string text;
        for (const ReportPart& part : parts)
            text += StrPrintf("%d.%d:%s|", part.kind, part.index, GetReportPartTitle(part).c_str());
        return text;
    };
    const std::vector<PrintPageRecord> pages = {{PAGE_PROJECT, "", "", ""},
                                                {PAGE_FLOOR, "Ground", "", ""},
                                                {PAGE_ZONE, "Ground", "Kitchen", "Z1"}};
    // The contents after the project page; a second table page is not listed.
    const std::vector<ReportPart> parts = BuildReportParts(pages, 2, kW, kH);
    EXPECT_EQ(describe(parts), "0.0:Project|1.0:|0.0:Floor: Ground|0.0:Zone: Ground / Kitchen / Z1|"
                               "2.0:Annual results of the building, its floors and rooms|2.1:|"
                               "3.0:Monthly energy of the building|");
    EXPECT_EQ(describe(BuildReportParts({pages[0]}, 1, kW, kH, 2)),
              "0.0:Project|1.0:|2.0:Annual results of the building, its floors and rooms|"
              "3.0:Monthly energy of the building|4.0:Monthly energy of each floor|4.1:|");
    // Without results and without a project page: the contents comes first.
    EXPECT_EQ(describe(BuildReportParts({pages[1], pages[2]}, 0, kW, kH)),
              "1.0:|0.0:Floor: Ground|0.0:Zone: Ground / Kitchen / Z1|");
    // A single page stands alone.
    EXPECT_EQ(describe(BuildReportParts({pages[1]}, 0, kW, kH)), "0.0:Floor: Ground|");
    EXPECT_EQ(describe(BuildReportParts({pages[0]}, 0, kW, kH)), "0.0:Project|");

    // The contents lists each part with its page number, in order, one line each.
    RecordingCanvas contents;
    DrawContentsPage(contents, kW, kH, project, parts, 0);
    EXPECT_TRUE(contents.FindText("CONTENTS"));
    const std::vector<std::pair<std::string, std::string>> listed = {
        {"Project", "1"},
        {"Floor: Ground", "3"},
        {"Zone: Ground / Kitchen / Z1", "4"},
        {"Annual results of the building, its floors and rooms", "5"},
        {"Monthly energy of the building", "7"}};
    int y = -1;
    for (const auto& entry : listed) {
        const RecordingCanvas::Op* title = contents.FindText(entry.first);
        ASSERT_TRUE(title) << entry.first;
        EXPECT_GT(title->points[0].y, y) << entry.first;
        y = title->points[0].y;
        std::string number;
        for (const auto& op : contents.ops)
            if (op.kind == RecordingCanvas::TEXT && op.points[0].y == y && op.text.find('.') == std::string::npos &&
                op.text != entry.first)
                number = op.text;
        EXPECT_EQ(number, entry.second) << entry.first;
    }

    // Many rooms: the contents takes as many pages as its lines need (one line each, 32 a page).
    std::vector<PrintPageRecord> many(1, pages[0]);
    for (int i = 0; i < 40; ++i)
        many.push_back({PAGE_ROOM, "Ground", StrPrintf("R%d", i), ""});
    const std::vector<ReportPart> long_ = BuildReportParts(many, 1, kW, kH);
    ASSERT_GE(long_.size(), 3u);
    EXPECT_EQ(long_[1].kind, PART_CONTENTS);
    EXPECT_EQ(long_[2].kind, PART_CONTENTS);
    EXPECT_EQ(long_[3].kind, PART_PAGE);
    RecordingCanvas second;
    DrawContentsPage(second, kW, kH, project, long_, 1);
    EXPECT_FALSE(second.FindText("Room: Ground / R0"));
    EXPECT_TRUE(second.FindText("Room: Ground / R39"));
    EXPECT_TRUE(second.FindText("Monthly energy of the building"));

    // The footer: name, date and page count on one line below the content, inside the margins.
    RecordingCanvas footer;
    DrawPageFooter(footer, kW, kH, project, kDate, 3, 7);
    const PageLayout layout = ComputePageLayout(kW, kH);
    for (const char* text : {"Villa", "2024-03-05", "Page 3 of 7"}) {
        const RecordingCanvas::Op* op = footer.FindText(text);
        ASSERT_TRUE(op) << text;
        EXPECT_EQ(op->points[0].y, GetFooterTop(layout)) << text;
        EXPECT_GT(op->points[0].y, GetContentBottom(layout)) << text;
        EXPECT_GE(op->points[0].x, layout.left) << text;
        EXPECT_LT(op->points[0].x, layout.right) << text;
    }
    EXPECT_EQ(footer.FindText("Villa")->points[0].x, layout.left);
    EXPECT_LT(footer.FindText("2024-03-05")->points[0].x, footer.FindText("Page 3 of 7")->points[0].x);
}

TEST(ReportPagesTest, LuminaireScheduleCountsEveryInstance) {
    TempDir dir{"pages"};
    CLENIProject project = Example(dir.path(), 3);
    CLENIFloor top("Top", 3.0);
    CLENIRoom room;
    room.InitFromPolygon("Hall", Rect(0, 0, 4, 4), 3.0);
    CLENIZone zone;
    zone.InitFromPolygon("Z", Rect(0, 0, 4, 4));
    zone.GetLumList().AddLuminaire("X9"); // not in the product database
    zone.GetLumList().SetLuminaireCount("X9", 2);
    zone.GetLumList().AddLuminaire("T36");
    zone.GetLumList().SetLuminaireCount("T36", 4);
    room.AddZone(zone);
    top.AddRoom(room);
    project.AppendFloor(top);

    std::string text;
    for (const LuminaireScheduleRow& r : GetLuminaireSchedule(project))
        text += StrPrintf("%d %s %s %.2f %lld %.2f|", r.building ? 1 : 0,
                          (r.building ? r.product : r.floor).c_str(), r.description.c_str(), r.power, r.count,
                          r.totalPower);
    // T36: 10 on each of three Ground storeys and 4 on Top, 36 W each.
    EXPECT_EQ(text, "1 T36  36.00 34 1224.00|0 Ground (one of 3)  36.00 10 360.00|0 Top  36.00 4 144.00|"
                    "1 X9  0.00 2 0.00|0 Top  0.00 2 0.00|");

    const std::vector<LuminaireScheduleRow> rows = GetLuminaireSchedule(project);
    RecordingCanvas page;
    DrawLuminairePage(page, kW, kH, project, rows, 0);
    EXPECT_TRUE(page.FindText("LUMINAIRE SCHEDULE"));
    for (const char* shown : {"T36", "1224.00", "34", "Ground (one of 3)", "360.00", "144.00", "X9",
                              "(not in the product database)"})
        EXPECT_TRUE(page.FindText(shown)) << shown;
    EXPECT_TRUE(page.FindText("All luminaires"));
    EXPECT_TRUE(page.FindText("36")); // 34 + 2
    EXPECT_EQ(GetLuminairePageCount(rows.size(), kW, kH), 1);
}

TEST(ReportPagesTest, RoomScheduleOfHandWorkedRooms) {
    TempDir dir{"pages"};
    CLENIProject project = Example(dir.path(), 2);
    CLENIFloor& ground = *project.GetFloorByIndex(0);
    // Hall, 10 x 5 m: Z1 (20 m2, Fo 1, four 36 W luminaires) and Z2 (30 m2, no luminaires, Fo from
    // Fa 0.55 with a manual switch: 1.0 - 0.35 / 0.7 x 0.7 = 0.65). Area-weighted Fo
    // (20 x 1 + 30 x 0.65) / 50 = 0.79; Wl = 0.144 kW x 2500 h = 360 kWh, Wp = 3 W x 8760 h = 26.28 kWh.
    CLENIRoom hall;
    hall.InitFromPolygon("Hall", Rect(0, 10, 10, 15), 3.2);
    hall.SetRoomType("[Offices]Corridor");
    hall.SetTd(2250);
    hall.SetTn(250);
    CLENIZone z1, z2;
    z1.InitFromPolygon("Z1", Rect(0, 10, 4, 15));
    z1.SetFoMode(FOMODE_ONE);
    z1.GetLumList().AddLuminaire("T36");
    z1.GetLumList().SetLuminaireCount("T36", 4);
    z2.InitFromPolygon("Z2", Rect(4, 10, 10, 15));
    z2.SetFoMode(FOMODE_FROM_FA);
    z2.SetFa(0.55);
    z2.SetOccupancyControlSystem("1.Manual On/Off Switch");
    hall.AddZone(z1);
    hall.AddZone(z2);
    ground.AddRoom(hall);
    CLENIRoom store; // no zones: no factors
    store.InitFromPolygon("Store", Rect(20, 0, 23, 3), 3.2);
    ground.AddRoom(store);

    LENIProjectResults results;
    ASSERT_TRUE(CalculateProjectResults(project, results));
    const std::vector<RoomScheduleRow> rows = GetRoomSchedule(project, results);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].zones.size(), 2u);
    EXPECT_DOUBLE_EQ(rows[1].zones[1].Fo, 0.65);
    EXPECT_DOUBLE_EQ(rows[1].zones[1].Fd, 1.0); // no power: nothing for daylight to save

    RecordingCanvas page;
    DrawRoomSchedulePage(page, kW, kH, project, rows, 0);
    // The texts on the line of each room, left to right.
    auto line = [&](const std::string& room) {
        const RecordingCanvas::Op* name = page.FindText(room);
        if (!name) return "<no row " + room + ">";
        std::vector<std::pair<int, std::string>> cells;
        for (const auto& op : page.ops)
            if (op.kind == RecordingCanvas::TEXT && op.points[0].y == name->points[0].y)
                cells.emplace_back(op.points[0].x, op.text);
        std::sort(cells.begin(), cells.end());
        std::string text;
        for (const auto& cell : cells)
            text += (text.empty() ? "" : " ") + cell.second;
        return text;
    };
    EXPECT_TRUE(page.FindText("Floor: Ground"));
    // A room type longer than its column ends with an ellipsis.
    EXPECT_EQ(line("Kitchen"),
              "Kitchen Cellular of... 50.00 360.00 7.20 2250 250 1.00 1.00 1.00 900.00 65.70 19.31");
    EXPECT_EQ(line("Hall"), "Hall Corridor 50.00 144.00 2.88 2250 250 0.79 1.00 1.00 360.00 26.28 7.73");
    EXPECT_EQ(line("Store"), "Store 9.00 0.00 0.00 1000 1000 - - - 0.00 0.00 0.00");
    EXPECT_EQ(GetRoomSchedulePageCount(rows, kW, kH), 1);
}

TEST(ReportPagesTest, FloorPageColoursRoomsByLeni) {
    TempDir dir{"pages"};
    const CLENIProject project = Example(dir.path(), 1);
    LENIProjectResults results;
    ASSERT_TRUE(CalculateProjectResults(project, results));
    // Kitchen: (900 + 65.7) kWh / 50 m2 = 19.314; the axis of ticks of 5 ends at 20.
    EXPECT_DOUBLE_EQ(GetLeniScaleTop(results), 20.0);
    const struct {
        double leni;
        Rgb colour;
    } scale[] = {
        {0.0, MakeRgb(115, 255, 115)},    // green
        {10.0, MakeRgb(255, 255, 115)},   // yellow at half the top
        {19.314, MakeRgb(255, 124, 115)}, // green 2 x (1 - 0.9657) = 0.0686: 255 x (0.45 + 0.55 x 0.0686)
        {25.0, MakeRgb(255, 115, 115)},   // red at the top and above
    };
    for (const auto& s : scale)
        EXPECT_EQ(GetLeniColour(s.leni, 20.0), s.colour) << s.leni;

    Drawing drawing;
    RecordingCanvas page;
    PrintPage(page, kW, kH, &project, {PAGE_FLOOR, "Ground", "", ""}, drawing.Lookup(), kDate, &results);
    auto kitchenFills = [](const RecordingCanvas& canvas) {
        int n = 0;
        for (const auto& op : canvas.OfKind(RecordingCanvas::POLYGON))
            n += op.colour == MakeRgb(255, 124, 115) ? 1 : 0;
        return n;
    };
    EXPECT_EQ(kitchenFills(page), 1);
    EXPECT_TRUE(page.FindText("Rooms by LENI, kWh/(m\u00b2 year):"));
    for (const char* tick : {"0", "5", "10", "15", "20"})
        EXPECT_TRUE(page.FindText(tick)) << tick;
    // Without results the rooms stay unfilled.
    RecordingCanvas plain;
    PrintPage(plain, kW, kH, &project, {PAGE_FLOOR, "Ground", "", ""}, drawing.Lookup(), kDate);
    EXPECT_EQ(kitchenFills(plain), 0);
}

// Where the project sets them, the chart page ends with the building's annual cost, CO2 and target
// mark, and a results table row's cells are its energy x price, x factor and its mark: three
// storeys of 965.70 kWh (2897.10 kWh) over 150 m2, LENI 19.31.
TEST(ReportPagesTest, CostCO2AndTargetOnThePrintedPages) {
    TempDir dir{"pages"};
    CLENIProject project = Example(dir.path(), 3);
    LENIProjectResults results;
    ASSERT_TRUE(CalculateProjectResults(project, results));
    const std::vector<ReportTableRow> rows = GetReportTableRows(project, results);
    RecordingCanvas plain;
    DrawResultsChartPage(plain, kW, kH, project, results.building);
    EXPECT_FALSE(plain.FindText("Building Annual cost: 579.42, CO2: 1158.84 kg"));
    EXPECT_TRUE(GetCostAndTargetCells(project, rows[0]).empty());

    project.SetEnergyPrice(0.2);
    project.SetCO2Factor(0.4);
    project.SetLeniTarget(19.0);
    RecordingCanvas chart;
    DrawResultsChartPage(chart, kW, kH, project, results.building);
    EXPECT_TRUE(chart.FindText("Building Annual cost: 579.42, CO2: 1158.84 kg"));
    EXPECT_TRUE(chart.FindText("Building Target 19.00 kWh/(m\u00b2 year): FAIL"));
    // March: 3 x (75.24 + 5.475) = 242.145 kWh.
    EXPECT_TRUE(chart.FindText("Mar 48.43, 96.86"));
    EXPECT_TRUE(chart.FindText("Dec 48.43, 96.86"));
    EXPECT_EQ(GetCostAndTargetCells(project, rows[0]), (std::vector<std::string>{"579.42", "1158.84", "FAIL"}));
    EXPECT_EQ(GetCostAndTargetCells(project, rows[2]), (std::vector<std::string>{"193.14", "386.28", "FAIL"}));
    // The room schedule and the CSV carry the same three figures: one storey's Kitchen, 965.70 kWh.
    const std::vector<RoomScheduleRow> schedule = GetRoomSchedule(project, results);
    ASSERT_FALSE(schedule.empty());
    EXPECT_NEAR(schedule[0].cost, 193.14, 0.005);
    EXPECT_NEAR(schedule[0].CO2, 386.28, 0.005);
    EXPECT_EQ(schedule[0].targetMark, "FAIL");
    RecordingCanvas schedulePage;
    DrawRoomSchedulePage(schedulePage, kW, kH, project, schedule, 0);
    for (const char* text : {"Cost", "CO2", "Target", "193.14", "386.28", "FAIL"})
        EXPECT_TRUE(schedulePage.FindText(text)) << text;
    const std::string csv = BuildResultsCsv(project);
    EXPECT_NE(csv.find(",Annual cost,Annual CO2 (kg),LENI target\r\n"), std::string::npos);
    // The building's row ends with 2897.10 kWh x 0.2 and x 0.4, and its mark.
    EXPECT_NE(csv.find(",579.4200000,1158.8400000,FAIL\r\n"), std::string::npos) << csv.substr(0, 2000);
    project.SetLeniTarget(19.5);
    project.SetEnergyPrice(std::nullopt);
    EXPECT_EQ(GetCostAndTargetCells(project, rows[1]), (std::vector<std::string>{"386.28", "pass"}));
}
