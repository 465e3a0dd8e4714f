#include "calc/GridCount.h"

#include "dxf/Geometry.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Where IsPointInPolygon's crossing ray ends; the row count evaluates the same expressions.
constexpr double kFarX = 100000000.0;
// Within this range the first half of the crossing test reduces to comparing y values exactly
// (see RowRuns); beyond it the points are tested one by one.
constexpr double kRowCountLimit = 1e7;

struct Edge {
    double ax, ay, bx, by;
};

bool WithinLimit(double v) {
    return std::isfinite(v) && std::fabs(v) <= kRowCountLimit;
}

bool EdgesOf(const Polygon& polygon, std::vector<Edge>& edges) {
    const size_t n = polygon.size();
    edges.clear();
    edges.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const Point& a = polygon[i];
        const Point& b = polygon[(i + 1) % n];
        if (!WithinLimit(a.x) || !WithinLimit(a.y)) return false;
        edges.push_back({a.x, a.y, b.x, b.y});
    }
    return true;
}

// First index in [0, n) where pred holds, n when none; pred must be false then true.
template <typename Pred> int FirstTrue(int n, Pred pred) {
    int lo = 0, hi = n;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (pred(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// The columns of one grid row that lie inside the polygon, as sorted disjoint runs [begin, end).
//
// IsPointInPolygon counts the edges (a, b) that SegmentsCross the ray from p to (kFarX, p.y):
//   Side(p, q, a) * Side(p, q, b) < 0  and  Side(a, b, p) * Side(a, b, q) < 0.
// With |p.x| well below kFarX, Side(p, q, a) is +1 exactly when a.y > p.y, so the first factor
// says the edge straddles the row and does not depend on the column. Side(a, b, q) does not
// depend on it either. Side(a, b, p) compares (p.y - a.y)(b.x - a.x) with (p.x - a.x)(b.y - a.y);
// the right side is monotone in p.x (rounding is monotone) and p.x grows with the column, so the
// columns where the edge is crossed form one run that a binary search finds.
void RowRuns(const std::vector<Edge>& edges, double py, const std::vector<double>& xs,
             std::vector<int>& toggles, std::vector<int>& runs) {
    const int nx = static_cast<int>(xs.size());
    toggles.clear();
    for (const Edge& e : edges) {
        if ((e.ay > py) == (e.by > py)) continue;
        const double dx = e.bx - e.ax, dy = e.by - e.ay;
        const double lhs = (py - e.ay) * dx;
        const bool sideQ = lhs > (kFarX - e.ax) * dy;
        auto sideP = [&](int i) { return lhs > (xs[i] - e.ax) * dy; };
        int begin, end;
        if (dy > 0.0) {
            // sideP holds on a prefix [0, t).
            const int t = FirstTrue(nx, [&](int i) { return !sideP(i); });
            begin = sideQ ? t : 0;
            end = sideQ ? nx : t;
        } else {
            // sideP holds on a suffix [t, nx).
            const int t = FirstTrue(nx, sideP);
            begin = sideQ ? 0 : t;
            end = sideQ ? t : nx;
        }
        if (begin < end) {
            toggles.push_back(begin);
            toggles.push_back(end);
        }
    }
    std::sort(toggles.begin(), toggles.end());
    runs.clear();
    // Equal positions cancel in pairs; what is left alternates between run starts and ends.
    for (size_t i = 0; i < toggles.size();) {
        size_t j = i;
        while (j < toggles.size() && toggles[j] == toggles[i])
            ++j;
        if ((j - i) % 2 == 1) runs.push_back(toggles[i]);
        i = j;
    }
}

int64_t OverlapOfRuns(const std::vector<int>& a, const std::vector<int>& b) {
    int64_t total = 0;
    size_t i = 0, j = 0;
    while (i + 1 < a.size() && j + 1 < b.size()) {
        const int lo = std::max(a[i], b[j]);
        const int hi = std::min(a[i + 1], b[j + 1]);
        if (lo < hi) total += hi - lo;
        if (a[i + 1] < b[j + 1])
            i += 2;
        else
            j += 2;
    }
    return total;
}

uint64_t BitsOf(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

// The runs of every grid row inside one outline: row j's runs are runs[start[j], start[j + 1]). A zone
// is counted against each daylight area of its room in turn, so each thread keeps the rows of the
// last few outlines it met, found again by the grid and the outline's coordinates, bit for bit.
struct OutlineRows {
    std::vector<uint64_t> key;
    std::vector<int> start;
    std::vector<int> runs;
};

const OutlineRows& RowsOf(const std::vector<Edge>& edges, const ZoneSamplingGrid& grid, const std::vector<double>& xs) {
    constexpr size_t kKept = 8;
    thread_local std::vector<OutlineRows> kept;
    thread_local size_t next = 0;
    thread_local std::vector<uint64_t> key;
    key.clear();
    for (double v : {grid.x0, grid.y0, grid.f})
        key.push_back(BitsOf(v));
    key.push_back(static_cast<uint64_t>(grid.nx));
    key.push_back(static_cast<uint64_t>(grid.ny));
    for (const Edge& e : edges) {
        key.push_back(BitsOf(e.ax));
        key.push_back(BitsOf(e.ay));
    }
    for (const OutlineRows& rows : kept)
        if (rows.key == key) return rows;
    kept.reserve(kKept); // what is handed out stays in place

    if (kept.size() < kKept) kept.emplace_back();
    OutlineRows& rows = kept[next];
    next = (next + 1) % kKept;
    rows.key = key;
    rows.start.assign(1, 0);
    rows.runs.clear();
    std::vector<int> toggles, runs;
    for (int j = 0; j < grid.ny; ++j) {
        const double py = grid.y0 + j * grid.f + grid.f * 0.5;
        RowRuns(edges, py, xs, toggles, runs);
        rows.runs.insert(rows.runs.end(), runs.begin(), runs.end());
        rows.start.push_back(static_cast<int>(rows.runs.size()));
    }
    return rows;
}

} // namespace

int64_t CountGridPointsInBothPointwise(const Polygon& a, const Polygon& b, const ZoneSamplingGrid& grid) {
    int64_t count = 0;
    for (int i = 0; i < grid.nx; ++i)
        for (int j = 0; j < grid.ny; ++j) {
            const Point p(grid.x0 + i * grid.f + grid.f * 0.5, grid.y0 + j * grid.f + grid.f * 0.5);
            if (IsPointInPolygon(a, p) && IsPointInPolygon(b, p)) ++count;
        }
    return count;
}

int64_t CountGridPointsInBoth(const Polygon& a, const Polygon& b, const ZoneSamplingGrid& grid) {
    if (grid.nx <= 0 || grid.ny <= 0) return 0;
    std::vector<Edge> edgesA, edgesB;
    if (!EdgesOf(a, edgesA) || !EdgesOf(b, edgesB) || !WithinLimit(grid.x0) || !WithinLimit(grid.y0) ||
        !WithinLimit(grid.f))
        return CountGridPointsInBothPointwise(a, b, grid);

    std::vector<double> xs(static_cast<size_t>(grid.nx));
    for (int i = 0; i < grid.nx; ++i)
        xs[i] = grid.x0 + i * grid.f + grid.f * 0.5;
    if (!WithinLimit(xs.back()) || !WithinLimit(grid.y0 + grid.ny * grid.f))
        return CountGridPointsInBothPointwise(a, b, grid);

    // A row below an outline's lowest vertex or level with or above its highest one crosses none of
    // its edges (see RowRuns), so it has no run there and adds nothing.
    double low = -DBL_MAX, high = DBL_MAX;
    for (const std::vector<Edge>* edges : {&edgesA, &edgesB}) {
        double lo = DBL_MAX, hi = -DBL_MAX;
        for (const Edge& e : *edges) {
            lo = std::min(lo, e.ay);
            hi = std::max(hi, e.ay);
        }
        low = std::max(low, lo);
        high = std::min(high, hi);
    }

    const OutlineRows& rowsA = RowsOf(edgesA, grid, xs);
    std::vector<int> toggles, runsA, runsB;
    int64_t count = 0;
    for (int j = 0; j < grid.ny; ++j) {
        const double py = grid.y0 + j * grid.f + grid.f * 0.5;
        if (py < low || py >= high || rowsA.start[j] == rowsA.start[j + 1]) continue;
        runsA.assign(rowsA.runs.begin() + rowsA.start[j], rowsA.runs.begin() + rowsA.start[j + 1]);
        RowRuns(edgesB, py, xs, toggles, runsB);
        count += OverlapOfRuns(runsA, runsB);
    }
    return count;
}

double RepeatedSum(double value, int64_t count) {
    if (count <= 0) return 0.0;
    double s = 0.0 + value;
    if (!std::isfinite(value) || value == 0.0) return s; // NaN, an infinity or zero stay what they are
    // Round to nearest is symmetric, so a sum of negative terms mirrors the positive one.
    if (value < 0.0) return -RepeatedSum(-value, count);

    int64_t done = 1;
    while (done < count) {
        if (!std::isfinite(s)) return s;
        if (s < 0x1p-960) {
            s += value;
            ++done;
            continue;
        }
        // s lies in [2^(ex-1), 2^ex), where the doubles are the multiples of u = 2^(ex-53). While
        // s + value stays below 2^ex, each addition adds round(value / u) units, the same every time
        // unless value / u ends in exactly one half (then the rounding alternates with the parity of
        // s: add one at a time).
        int ex = 0;
        std::frexp(s, &ex);
        const double q = std::ldexp(value, 53 - ex); // value in units of u, exact
        const double whole = std::floor(q);
        const double fraction = q - whole;
        if (fraction == 0.5) {
            s += value;
            ++done;
            continue;
        }
        const double units = fraction < 0.5 ? whole : whole + 1.0;
        if (units == 0.0) return s;              // every further addition leaves s unchanged
        const double m = std::ldexp(s, 53 - ex); // s in units of u, an integer below 2^53
        const double room =
            0x1p53 - m - whole - 1.0; // additions k = 0.. with k * units <= room stay in the binade
        if (room < 0.0) {
            s += value;
            ++done;
            continue;
        }
        const uint64_t unitCount = static_cast<uint64_t>(units);
        const uint64_t fit = static_cast<uint64_t>(room) / unitCount + 1;
        const uint64_t steps = std::min<uint64_t>(fit, static_cast<uint64_t>(count - done));
        s = std::ldexp(static_cast<double>(static_cast<uint64_t>(m) + steps * unitCount), ex - 53);
        done += static_cast<int64_t>(steps);
    }
    return s;
}

double GetAreaInZoneByRows(const Polygon& zonePolygon, const Polygon& polygon, const ZoneSamplingGrid& grid) {
    return RepeatedSum(grid.f * grid.f, CountGridPointsInBoth(zonePolygon, polygon, grid));
}
