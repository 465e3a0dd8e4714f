#include "tables/FdssnaTables.h"

#include "base/CalcLogWriter.h"
#include "base/FileUtils.h"
#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

const double kFdssnaDaylightFactors[kFdssnaValueCount] = {0, 0.125, 0.5, 1, 1.5, 2, 3, 5, 8, 12, 18};
const char* const kFdssnaTableFileName = "LENI_FDSSNA_TABLES.CSV";

namespace {

// The fixed axes of every table: five latitude blocks of ten rows, five Em pairs per block.
const double kLatitudes[5] = {15, 30, 45, 60, 75};
const double kEms[5] = {100, 300, 500, 750, 1000};
const double kHdirHglob[5][2] = {{0.34, 0.66}, {0.36, 0.58}, {0.45, 0.71}, {0.39, 0.58}, {0.40, 0.48}};

// The published rows (latitude 45 deg, 500 lx), percent at D = 0 ... 18 %.
struct PublishedRow {
    int facade;
    int row;
    double values[kFdssnaValueCount];
};
// clang-format off
const PublishedRow kPublishedRows[] = {
    //                           D = 0   0.125  0.5   1     1.5   2     3     5     8     12    18
    {FACADE_SOUTH,    24 /*0.45*/, {0,   15.4,  46.3, 62.5, 76,   76.2, 83.4, 86.1, 90.4, 91.8, 92.4}},
    {FACADE_SOUTH,    25 /*0.71*/, {0,   7.6,   22.8, 36.4, 46.6, 46.2, 55.3, 59.5, 67.8, 73.6, 75.4}},
    {FACADE_EASTWEST, 24 /*0.45*/, {0,   13.6,  40.7, 55,   66.9, 67.1, 73.4, 75.7, 79.5, 80.8, 82.1}},
    {FACADE_NORTH,    24 /*0.45*/, {0,   11.7,  35.2, 47.5, 57.8, 57.9, 63.4, 65.4, 68.7, 69.8, 71.8}},
};
// clang-format on

// Ratios of the EastWest and North rows to the South row that the published 0.45 rows show.
const double kEastWestToSouth = 0.88;
const double kNorthToSouth = 0.76;

constexpr int kBlock45 = 2;
constexpr int kEm500Pair = 2;

int RowOf(int block, int emPair, int high) {
    return 10 * block + 2 * emPair + high;
}

// The same rule as the Fo interpolation: clamped at both ends, linear in between.
double InterpolateRow(const double* values, double d) {
    const double* ds = kFdssnaDaylightFactors;
    if (d < ds[0]) return values[0];
    if (d > ds[kFdssnaValueCount - 1]) return values[kFdssnaValueCount - 1];
    for (int k = 0; k < kFdssnaValueCount; ++k) {
        if (d == ds[k]) return values[k];
        if (ds[k] > d)
            return (ds[k] - d) / (ds[k] - ds[k - 1]) * values[k - 1] +
                   (d - ds[k - 1]) / (ds[k] - ds[k - 1]) * values[k];
    }
    return values[kFdssnaValueCount - 1];
}

CFdssnaTables& ActiveTables() {
    static CFdssnaTables tables = CFdssnaTables::MakeDefault();
    return tables;
}

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, ','))
        fields.push_back(TrimWhiteSpace(field));
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    return fields;
}

bool ParseNumber(const std::string& text, double& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() && result.ptr == last && std::isfinite(value);
}

bool SameAxisValue(double a, double b) {
    return std::fabs(a - b) < 1e-6;
}

} // namespace

// The built-in set. Every row but the four published ones is an estimate, made in this order:
// 1. at 45 deg and 500 lx, the EastWest and North rows of the higher Hdir/Hglob are the South row
//    of that Hdir/Hglob scaled by 0.88 and 0.76, the ratios of the published rows;
// 2. at 45 deg and another Em, F(D, Em) = F500(D x 500 / Em), read with the row interpolation from
//    the 500 lx row of the same facade and Hdir/Hglob: the supply factor depends on the outdoor
//    illuminance Em / D at which daylight suffices;
// 3. a row of another latitude copies the values of the 45 deg row in the same position (same Em,
//    lower or higher Hdir/Hglob), keeping its own latitude and Hdir/Hglob.
CFdssnaTables CFdssnaTables::MakeDefault() {
    CFdssnaTables t;
    for (int f = 0; f < FACADE_COUNT; ++f)
        for (int b = 0; b < 5; ++b)
            for (int e = 0; e < 5; ++e)
                for (int high = 0; high < 2; ++high) {
                    double* row = t.m_dTable[f][RowOf(b, e, high)];
                    row[0] = kLatitudes[b];
                    row[1] = kEms[e];
                    row[2] = kHdirHglob[b][high];
                    t.m_bEstimate[f][RowOf(b, e, high)] = true;
                }
    for (const PublishedRow& p : kPublishedRows) {
        for (int k = 0; k < kFdssnaValueCount; ++k)
            t.m_dTable[p.facade][p.row][kFdssnaFirstValueColumn + k] = p.values[k];
        t.m_bEstimate[p.facade][p.row] = false;
    }
    // Step 1.
    const int row500High = RowOf(kBlock45, kEm500Pair, 1);
    for (int k = kFdssnaFirstValueColumn; k < kFdssnaColumns; ++k) {
        double south = t.m_dTable[FACADE_SOUTH][row500High][k];
        t.m_dTable[FACADE_EASTWEST][row500High][k] = south * kEastWestToSouth;
        t.m_dTable[FACADE_NORTH][row500High][k] = south * kNorthToSouth;
    }
    // Step 2.
    for (int f = 0; f < FACADE_COUNT; ++f)
        for (int high = 0; high < 2; ++high) {
            const double* source = t.m_dTable[f][RowOf(kBlock45, kEm500Pair, high)] + kFdssnaFirstValueColumn;
            for (int e = 0; e < 5; ++e) {
                if (e == kEm500Pair) continue;
                double* row = t.m_dTable[f][RowOf(kBlock45, e, high)];
                for (int k = 0; k < kFdssnaValueCount; ++k)
                    row[kFdssnaFirstValueColumn + k] =
                        InterpolateRow(source, kFdssnaDaylightFactors[k] * 500.0 / kEms[e]);
            }
        }
    // Step 3.
    for (int f = 0; f < FACADE_COUNT; ++f)
        for (int b = 0; b < 5; ++b) {
            if (b == kBlock45) continue;
            for (int r = 0; r < 10; ++r)
                for (int k = kFdssnaFirstValueColumn; k < kFdssnaColumns; ++k)
                    t.m_dTable[f][10 * b + r][k] = t.m_dTable[f][10 * kBlock45 + r][k];
        }
    return t;
}

bool CFdssnaTables::HasEstimates() const {
    for (int f = 0; f < FACADE_COUNT; ++f)
        for (int r = 0; r < kFdssnaRows; ++r)
            if (m_bEstimate[f][r]) return true;
    return false;
}

std::string CFdssnaTables::FormatCsv() const {
    std::string out = "facade,latitude,Em,HdirHglob";
    for (double d : kFdssnaDaylightFactors)
        out += FormatDouble(",%g", d);
    out += "\n";
    for (int f = 0; f < FACADE_COUNT; ++f)
        for (int r = 0; r < kFdssnaRows; ++r) {
            out += GetCompassFacingAsText(f);
            for (int c = 0; c < kFdssnaColumns; ++c)
                out += FormatDouble(",%.6g", m_dTable[f][r][c]);
            out += "\n";
        }
    return out;
}

bool CFdssnaTables::LoadCsv(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Log().Printf(LOG_ERROR,
                     "CFdssnaTables::LoadCsv could not open <%s>. The built-in Fdssna tables are used.",
                     path.string().c_str());
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParseCsv(text.str(), path.string());
}

bool CFdssnaTables::ParseCsv(const std::string& text, const std::string& name) {
    const int fieldCount = 1 + kFdssnaColumns;
    auto fail = [&name](int line, const std::string& reason) {
        Log().Printf(LOG_ERROR,
                     "CFdssnaTables::LoadCsv <%s> line %d: %s. The built-in Fdssna tables are used.",
                     name.c_str(), line, reason.c_str());
        return false;
    };

    CFdssnaTables loaded;
    bool headerSeen = false;
    int dataRows = 0;
    int lineNumber = 0;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (TrimWhiteSpace(line).empty()) continue;
        std::vector<std::string> fields = SplitFields(line);
        if ((int)fields.size() != fieldCount)
            return fail(lineNumber, StrPrintf("%d fields, expected %d", (int)fields.size(), fieldCount));
        if (!headerSeen) {
            headerSeen = true;
            for (int k = 0; k < kFdssnaValueCount; ++k) {
                double d = 0;
                const std::string& field = fields[4 + k];
                if (!ParseNumber(field, d) || !SameAxisValue(d, kFdssnaDaylightFactors[k]))
                    return fail(lineNumber,
                                StrPrintf("header column %d is <%s>, expected the daylight factor %g", 5 + k,
                                          field.c_str(), kFdssnaDaylightFactors[k]));
            }
            continue;
        }
        if (dataRows >= FACADE_COUNT * kFdssnaRows)
            return fail(lineNumber, StrPrintf("more than %d table rows", FACADE_COUNT * kFdssnaRows));
        const int facade = dataRows / kFdssnaRows;
        const int row = dataRows % kFdssnaRows;
        ++dataRows;
        if (!EqualsNoCase(fields[0], GetCompassFacingAsText(facade)))
            return fail(lineNumber, StrPrintf("facade <%s>, expected <%s>", fields[0].c_str(),
                                              GetCompassFacingAsText(facade)));
        double* values = loaded.m_dTable[facade][row];
        for (int c = 0; c < kFdssnaColumns; ++c)
            if (!ParseNumber(fields[1 + c], values[c]))
                return fail(lineNumber,
                            StrPrintf("column %d <%s> is not a number", 2 + c, fields[1 + c].c_str()));
        const int block = row / 10;
        const int emPair = (row % 10) / 2;
        const double expectedLatitude = kLatitudes[block];
        const double expectedEm = kEms[emPair];
        const double expectedHdirHglob = kHdirHglob[block][row % 2];
        if (!SameAxisValue(values[0], expectedLatitude))
            return fail(lineNumber, StrPrintf("latitude %g, expected %g", values[0], expectedLatitude));
        if (!SameAxisValue(values[1], expectedEm))
            return fail(lineNumber, StrPrintf("Em %g, expected %g", values[1], expectedEm));
        if (!SameAxisValue(values[2], expectedHdirHglob))
            return fail(lineNumber, StrPrintf("Hdir/Hglob %g, expected %g", values[2], expectedHdirHglob));
        for (int k = 0; k < kFdssnaValueCount; ++k) {
            double v = values[kFdssnaFirstValueColumn + k];
            if (v < 0.0 || v > 100.0)
                return fail(lineNumber,
                            StrPrintf("value %g at D=%g outside 0..100", v, kFdssnaDaylightFactors[k]));
        }
    }
    if (!headerSeen) return fail(lineNumber, "no header line");
    if (dataRows < FACADE_COUNT * kFdssnaRows)
        return fail(lineNumber, StrPrintf("%d table rows, expected %d (3 facades of %d rows)", dataRows,
                                          FACADE_COUNT * kFdssnaRows, kFdssnaRows));
    *this = loaded; // every row of a loaded file counts as official
    return true;
}

const CFdssnaTables& GetFdssnaTables() {
    return ActiveTables();
}

void SetFdssnaTables(const CFdssnaTables& tables) {
    ActiveTables() = tables;
}

void LoadFdssnaTablesAtStart() {
    fs::path folder = GetAppDataFolder();
    if (folder.empty()) return;
    fs::path path = folder / kFdssnaTableFileName;
    if (!FileExists(path)) return;
    CFdssnaTables tables;
    if (tables.LoadCsv(path)) {
        SetFdssnaTables(tables);
        Log().Printf(LOG_INFO, "Fdssna tables read from <%s>", path.string().c_str());
    }
}

double FindFdssnaInRow(int row, double daylightFactorPcent, int facade) {
    if (row < 0 || row >= kFdssnaRows || facade < 0 || facade >= FACADE_COUNT) {
        Log().Printf(LOG_ERROR, "FindFdssnaInRow row %d facade %d out of range", row, facade);
        return 50.0;
    }
    const double* values = GetFdssnaTables().m_dTable[facade][row] + kFdssnaFirstValueColumn;
    double result = InterpolateRow(values, daylightFactorPcent);
    CalcLogPrintf("    FindFdssnaInRow [%d] D=[%.3f pcent] return Fdssna=%.3f\n", row, daylightFactorPcent,
                  result);
    return result;
}

HdirHglobRange GetHdirHglobMinMaxForLatitude(int latitude) {
    HdirHglobRange range;
    const auto& south = GetFdssnaTables().m_dTable[FACADE_SOUTH];
    for (int r = 0; r + 1 < kFdssnaRows; ++r)
        if (south[r][0] >= latitude) {
            range.min = south[r][2];
            range.max = south[r + 1][2];
            range.found = true;
            break;
        }
    if (!range.found || range.min >= range.max || range.min < 0.0 || range.min > 1.0 || range.max < 0.0 ||
        range.max > 1.0)
        Log().Printf(LOG_ERROR, "CLENITables::GHHMMFL min=%.2f max = %.2f", range.min, range.max);
    return range;
}

double GetDaylightSupplyFactorFdssna(double latitude, double em, double hdirHglob, double daylightFactorPcent,
                                     int facade) {
    const char* facadeName = GetCompassFacingAsText(facade);
    CalcLogPrintf("  GetDaylightSupplyFactor,Fdssna, Latitude=%.3f, LuxEm=%.3f, HdirHglobIn=%.3f\n"
                  "  DaylightFactorPcentIn,D,=%.3f, Facade=%s\n",
                  latitude, em, hdirHglob, daylightFactorPcent, facadeName);
    if (facade < 0 || facade >= FACADE_COUNT) {
        Log().Printf(LOG_ERROR, "GetDaylightSupplyFactorFdssna facade %d out of range", facade);
        return 0.5;
    }
    double d = daylightFactorPcent;
    if (!(d > 0.0)) d = 0.0;
    if (d > 18.0) d = 18.0;
    // Whole degrees, halves away from zero; far-off or undefined latitudes fall outside every block.
    double phi = std::isnan(latitude) ? -1000.0 : std::fmax(-1000.0, std::fmin(1000.0, latitude));
    int latRounded;
    if (phi > 0)
        latRounded = (static_cast<int>(std::floor(10.0 * phi)) + 5) / 10;
    else
        latRounded = (static_cast<int>(10.0 * phi) - 5) / 10;
    if (!(em >= 20.0)) em = 20.0;
    if (em > 5000.0) em = 5000.0;

    const auto& table = GetFdssnaTables().m_dTable[facade];
    int block = -1;
    int lower = 0, upper = 0;
    for (int b = 0; b < 5; ++b) {
        lower = b == 0 ? 0 : static_cast<int>(table[10 * (b - 1)][0]);
        upper = static_cast<int>(table[10 * b][0]);
        if (lower <= latRounded && latRounded <= upper) {
            block = b;
            break;
        }
    }
    if (block < 0) {
        Log().Printf(LOG_ERROR, "GetDaylightSupplyFactorFdssna latitude (%d) block error", latRounded);
        return 0.5;
    }
    CalcLogPrintf("    GetDaylightSupplyFactor, using table F.4 F.5 F.6 latitude rows from %d to %d", lower,
                  upper);

    int r1 = 10 * block;
    for (int r = 10 * block + 1; r < 10 * block + 10; ++r)
        if (std::fabs(table[r][1] - em) < std::fabs(table[r1][1] - em)) r1 = r;
    int r2 = r1 + 1;

    HdirHglobRange range = GetHdirHglobMinMaxForLatitude(latRounded);
    double h = hdirHglob;
    if (range.min < range.max) {
        if (h < range.min) h = range.min;
        if (h > range.max) h = range.max;
    } else {
        AlertBox("KeepWithinRange(double) error: (min=%6.3f, max=%6.3f)\n", range.min, range.max);
    }
    double delta1 = h - table[r1][2];
    double delta2 = table[r2][2] - h;
    double w1 = delta2 / (delta1 + delta2);
    double w2 = delta1 / (delta1 + delta2);
    CalcLogPrintf("  hDirHglob=%.3f, kRowDelta1=%.3f kRowMix1=%.3f, kRowDelta2=%.3f kRowMix2=%.3f", h, delta1,
                  w1, delta2, w2);
    CalcLogPrintf("  iFirstEmRow=%d 2ndEmRow=%d", r1, r2);
    const auto& estimate = GetFdssnaTables().m_bEstimate[facade];
    if ((w1 > 0.0 && estimate[r1]) || (w2 > 0.0 && estimate[r2]))
        CalcLogPrintf("  (rows %d and %d of the Fdssna table are estimates: load the official EN 15193-1 "
                      "table F.4-F.6)",
                      r1, r2);
    double f1 = FindFdssnaInRow(r1, d, facade);
    double f2 = FindFdssnaInRow(r2, d, facade);
    double percent = f2 * w2 + f1 * w1;
    CalcLogPrintf("  Fddssna = %.3f percent (mix of %.2f and %.2f)\n", percent, f1, f2);
    return percent / 100.0;
}
