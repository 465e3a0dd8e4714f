#pragma once
// The printed report: the list of pages the print flags choose, and the drawing of each page
// (project, floor, room, zone) through the canvas, in the device units of the page. The results
// section of the PDF report (a table of every floor and room, and a monthly bar chart) is drawn
// here too. The desktop program paints these on a printer or a PDF writer.

#include "dxf/DrawCanvas.h"
#include "model/ProjectFileResults.h"

#include <functional>
#include <string>
#include <vector>

class CDxfFile;
class CLENIProject;

enum PrintPageKind { PAGE_PROJECT = 0, PAGE_FLOOR = 1, PAGE_ROOM = 2, PAGE_ZONE = 3 };

// One page to print; the names select what it shows.
struct PrintPageRecord {
    int kind = PAGE_PROJECT;
    std::string floor;
    std::string room;
    std::string zone;
};

// The project page if flagged; then per floor its page if flagged, and per room its page if
// flagged followed by the pages of its flagged zones. A room's or zone's page does not need its
// floor or room to be flagged.
std::vector<PrintPageRecord> BuildPrintPageList(const CLENIProject& project);

// Where things go on a page of width W and height H (device units).
struct PageLayout {
    int left = 0, right = 0, top = 0, bottom = 0;
    int valueX = 0;    // the column of the values
    int smallFont = 0; // font heights
    int bigFont = 0;
    int lineStep = 0;
    int headerStep = 0;
};
PageLayout ComputePageLayout(int width, int height);

// The top of the footer line, and the lowest point the page's content may reach above it.
int GetFooterTop(const PageLayout& layout);
int GetContentBottom(const PageLayout& layout);

// The square the floor picture is stretched onto: as large as fits between the margins and between
// top (where the page's lines end) and the content's bottom, centred in that space.
struct PictureSquare {
    int x = 0, y = 0, side = 0;
};
PictureSquare PlacePicture(const PageLayout& layout, int top);

// The drawings of the floor pages, found by floor name (ignoring case); null when there is none.
using FloorDrawingLookup = std::function<const CDxfFile*(const std::string& floorName)>;

struct PrintDate {
    int year = 0, month = 0, day = 0;
};
// Today's local date.
PrintDate TodayForPrint();

// Draws one page. Values are calculated from the model as the page is drawn (the project page
// runs the building calculation with its log).
// With results, a floor page fills each room by its LENI (GetLeniColour) under a legend.
void PrintPage(IDrawCanvas& canvas, int width, int height, const CLENIProject* project,
               const PrintPageRecord& page, const FloorDrawingLookup& drawings, const PrintDate& date,
               const LENIProjectResults* results = nullptr);

// ---- The whole report: its parts in order, the contents and the footer ----

enum ReportPartKind {
    PART_PAGE = 0,
    PART_CONTENTS = 1,
    PART_RESULTS_TABLE = 2,
    PART_RESULTS_CHART = 3,
    PART_FLOOR_MONTHS = 4,
    PART_LUMINAIRES = 5,
    PART_ROOM_SCHEDULE = 6
};

// One device page of the report; index counts the pages of a part that takes several.
struct ReportPart {
    int kind = PART_PAGE;
    PrintPageRecord page; // of a PART_PAGE
    int index = 0;
};

// The report in order: the project page (when flagged), the contents (when the report has more than
// one other page), the floor, room and zone pages, then tablePages pages of the results table and the
// monthly chart, then floorMonthPages pages of the floors' monthly energies, roomSchedulePages pages
// of the room schedule and luminairePages pages of the luminaire schedule (none of the results
// section when tablePages is 0).
std::vector<ReportPart> BuildReportParts(const std::vector<PrintPageRecord>& pages, int tablePages,
                                         int width, int height, int floorMonthPages = 0,
                                         int luminairePages = 0, int roomSchedulePages = 0);

// The line the contents shows for a part ("Floor: Ground", "Annual results", ...); empty for the
// further pages of a part, which the contents does not list.
std::string GetReportPartTitle(const ReportPart& part);

// Page index (0-based) of the contents: each listed part with its page number.
void DrawContentsPage(IDrawCanvas& canvas, int width, int height, const CLENIProject& project,
                      const std::vector<ReportPart>& parts, int pageIndex);

// The footer of every page: the project name at the left, the date in the middle and
// "Page n of N" at the right, under a thin rule.
void DrawPageFooter(IDrawCanvas& canvas, int width, int height, const CLENIProject& project,
                    const PrintDate& date, int pageNumber, int pageCount);

// ---- The results section of the PDF report ----

// One row of the results table: the building, a floor (one instance) or a room.
struct ReportTableRow {
    int level = 0; // 0 building, 1 floor, 2 room
    std::string name;
    double area = 0.0;
    double installedPower = 0.0;
    double Wl = 0.0, Wp = 0.0;
    double LENI = 0.0;
};
// Building, then every floor followed by its rooms, all for the year.
std::vector<ReportTableRow> GetReportTableRows(const CLENIProject& project,
                                               const LENIProjectResults& results);

// How many table pages the rows need on a page of that size (the bar chart follows on its own page).
int GetResultsTablePageCount(size_t rowCount, int width, int height);
// Draws table page index (0-based) of the results section.
void DrawResultsTablePage(IDrawCanvas& canvas, int width, int height, const CLENIProject& project,
                          const std::vector<ReportTableRow>& rows, int pageIndex);
// The page of the building's monthly bar chart.
void DrawResultsChartPage(IDrawCanvas& canvas, int width, int height, const CLENIProject& project,
                          const LENIObjectResults& building);
// Below the monthly table: the building's annual cost and CO2, its LENI against the target and each
// month's cost and CO2, each when the project sets it, from y down.
void DrawCostAndTargetLines(IDrawCanvas& canvas, const PageLayout& layout, const CLENIProject& project,
                            const LENIObjectResults& building, int y);
// The cells a results table adds for a row where the project sets them: cost and CO2 of the
// row's energy (energy x price, energy x factor) and the row's LENI against the target ("pass" or
// "FAIL").
std::vector<std::string> GetCostAndTargetCells(const CLENIProject& project, const ReportTableRow& row);

// The floors' monthly energies (one instance of each floor): a block of the twelve months and the
// year per floor, as many blocks a page as fit.
int GetFloorMonthsPageCount(size_t floorCount, int width, int height);
void DrawFloorMonthsPage(IDrawCanvas& canvas, int width, int height, const CLENIProject& project,
                         const LENIProjectResults& results, int pageIndex);

// The luminaire schedule: per product (in the order the zones, windows and roof lights first name
// them) a row for the building, followed by a row for each floor that holds it (one instance of the
// floor). The page ends with the count and power of all luminaires, the building's installed power.
struct LuminaireScheduleRow {
    bool building = false;    // the product's row; otherwise a floor's
    std::string product;      // the product's reference
    std::string description;  // empty when the product is not in the project's database
    std::string floor;        // of a floor's row, with " (one of n)" for a floor of n instances
    double power = 0.0;       // W of one luminaire
    long long count = 0;      // in the building (every instance) or on the floor (one instance)
    double totalPower = 0.0;  // count x power
};
std::vector<LuminaireScheduleRow> GetLuminaireSchedule(const CLENIProject& project);
int GetLuminairePageCount(size_t rowCount, int width, int height);
void DrawLuminairePage(IDrawCanvas& canvas, int width, int height, const CLENIProject& project,
                       const std::vector<LuminaireScheduleRow>& rows, int pageIndex);

// The room schedule: a line per floor, then a row per room, the columns of GetRoomScheduleColumns.
struct RoomScheduleRow;
int GetRoomSchedulePageCount(const std::vector<RoomScheduleRow>& rows, int width, int height);
void DrawRoomSchedulePage(IDrawCanvas& canvas, int width, int height, const CLENIProject& project,
                          const std::vector<RoomScheduleRow>& rows, int pageIndex);

// A bar chart of Wl and Wp for each month (time steps 1 to 12), bars side by side, with a value
// axis, month initials and a legend, inside the rectangle. fontHeight is the label font.
void DrawMonthlyBarChart(IDrawCanvas& canvas, int left, int top, int right, int bottom,
                         const LeniTimeStepResult steps[kLeniTimeSteps], int fontHeight);
// The value axis: a tick of 1, 2 or 5 times a power of ten, at most six ticks up to the largest
// month's value or just above it (one tick of 1 when every month is 0).
struct ChartAxis {
    double tick = 1.0;
    int steps = 1;
    double maximum = 1.0;
};
ChartAxis GetChartAxis(double largest);

// The colours of the chart's two series.
constexpr Rgb kChartWlColour = MakeRgb(230, 160, 30);
constexpr Rgb kChartWpColour = MakeRgb(60, 90, 160);

// ---- Rooms coloured by LENI ----

// The top of the one colour scale of the building: the chart axis's maximum over the largest annual
// LENI of its rooms (1 when every room's is 0).
double GetLeniScaleTop(const LENIProjectResults& results);
// A room's fill: pale green at 0, pale yellow at half the top, pale red at the top and above.
Rgb GetLeniColour(double leni, double scaleTop);
// The legend: its title at left, then the colour bar to right with the axis's ticks below it, two
// font heights and a third tall from top.
void DrawLeniLegend(IDrawCanvas& canvas, int left, int top, int right, int fontHeight, double scaleTop);
