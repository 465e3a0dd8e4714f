#include "dxf/DrawnArea.h"

#include "dxf/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

bool OutlineCrossesItself(const Polygon& polygon) {
    const size_t n = polygon.size();
    if (n < 4) return false;
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1) continue; // the closing side meets the first one
            if (SegmentsCross(polygon[i], polygon[i + 1], polygon[j], polygon[(j + 1) % n])) return true;
        }
    return false;
}

namespace {

struct SideInSlab {
    double yLeft, yMid, yRight;
    int direction; // +1 running towards larger x, -1 towards smaller
};

double YAt(const Point& a, const Point& b, double x) {
    return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
}

} // namespace

// The plane is cut into vertical slabs at every corner and every crossing, so that within a slab
// no two sides cross and their order from bottom to top is the same all across it. Walking up
// a slab, the winding number changes by each side's direction; between two sides with a
// non-zero winding number lies a trapezoid of the drawn area.
double CalcDrawnArea(const Polygon& polygon) {
    const size_t n = polygon.size();
    if (n < 3) return 0.0;
    std::vector<double> cuts;
    cuts.reserve(n * 2);
    for (const Point& p : polygon)
        cuts.push_back(p.x);
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j) {
            Point crossing;
            if (GetSegmentIntersection(polygon[i], polygon[(i + 1) % n], polygon[j], polygon[(j + 1) % n],
                                       crossing))
                cuts.push_back(crossing.x);
        }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

    double area = 0.0;
    std::vector<SideInSlab> sides;
    for (size_t k = 0; k + 1 < cuts.size(); ++k) {
        const double left = cuts[k], right = cuts[k + 1], mid = (left + right) / 2.0;
        sides.clear();
        for (size_t i = 0; i < n; ++i) {
            const Point& a = polygon[i];
            const Point& b = polygon[(i + 1) % n];
            if (std::min(a.x, b.x) > left || std::max(a.x, b.x) < right) continue; // vertical ones too
            sides.push_back({YAt(a, b, left), YAt(a, b, mid), YAt(a, b, right), b.x > a.x ? 1 : -1});
        }
        std::sort(sides.begin(), sides.end(),
                  [](const SideInSlab& s, const SideInSlab& t) { return s.yMid < t.yMid; });
        int winding = 0;
        for (size_t s = 0; s + 1 < sides.size(); ++s) {
            winding += sides[s].direction;
            if (winding == 0) continue;
            const double heightLeft = sides[s + 1].yLeft - sides[s].yLeft;
            const double heightRight = sides[s + 1].yRight - sides[s].yRight;
            area += (right - left) * (heightLeft + heightRight) / 2.0;
        }
    }
    return area;
}
