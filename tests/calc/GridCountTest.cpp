// The row-by-row count of the sampling grid and the running sum of cell areas must give exactly
// what the point-by-point evaluation gives, ties on edges and vertices included.

#include "calc/GridCount.h"
#include "calc/GeometryCache.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

uint64_t Bits(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

double LoopSum(double value, int64_t count) {
    double s = 0.0;
    for (int64_t k = 0; k < count; ++k)
        s += value;
    return s;
}

Polygon Rect(double x0, double y0, double x1, double y1) {
    return {Point(x0, y0), Point(x1, y0), Point(x1, y1), Point(x0, y1)};
}

// The x of grid column i and the y of grid row j, computed as the grid computes them, so that
// outlines through them put sample points exactly on edges and vertices.
double ColumnX(const ZoneSamplingGrid& g, int i) {
    return g.x0 + i * g.f + g.f * 0.5;
}
double RowY(const ZoneSamplingGrid& g, int j) {
    return g.y0 + j * g.f + g.f * 0.5;
}

void ExpectSameCountAndArea(const Polygon& zone, const Polygon& other, const char* what) {
    const ZoneSamplingGrid grid = GetZoneSamplingGrid(zone);
    EXPECT_EQ(CountGridPointsInBoth(zone, other, grid), CountGridPointsInBothPointwise(zone, other, grid))
        << what;
    EXPECT_EQ(Bits(GetAreaInZoneByRows(zone, other, grid)), Bits(GetAreaInZone(zone, other, grid))) << what;
}

TEST(RepeatedSumTest, EqualsTheRunningSumOfALoop) {
    const double values[] = {0.0004,    0.02 * 0.02, (6.0 / 300) * (6.0 / 300),
                             1.0 / 3.0, 0.1,         1.0,
                             3.0,       1e-310,      1e-300,
                             1e300,     0.0,         -0.0,
                             -0.1,      -1.0 / 7.0};
    const int64_t counts[] = {0, 1, 2, 3, 7, 1000, 90601, 250000};
    for (double v : values)
        for (int64_t n : counts)
            EXPECT_EQ(Bits(RepeatedSum(v, n)), Bits(LoopSum(v, n))) << v << " x " << n;

    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> exponent(-30.0, 10.0);
    std::uniform_int_distribution<int64_t> count(0, 120000);
    for (int trial = 0; trial < 300; ++trial) {
        const double v = std::exp2(exponent(random));
        const int64_t n = count(random);
        EXPECT_EQ(Bits(RepeatedSum(v, n)), Bits(LoopSum(v, n))) << v << " x " << n;
    }
}

TEST(RepeatedSumTest, NonFiniteValuesStayNonFinite) {
    EXPECT_TRUE(std::isnan(RepeatedSum(std::numeric_limits<double>::quiet_NaN(), 5)));
    EXPECT_EQ(RepeatedSum(std::numeric_limits<double>::infinity(), 5),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(RepeatedSum(1e308, 5), std::numeric_limits<double>::infinity());
}

TEST(GridCountTest, ShapesWithSamplePointsOnEdgesAndVertices) {
    const Polygon zone = Rect(0.0, 0.0, 6.0, 2.5);
    const ZoneSamplingGrid g = GetZoneSamplingGrid(zone);
    const double x3 = ColumnX(g, 3), x40 = ColumnX(g, 40), x200 = ColumnX(g, 200), x299 = ColumnX(g, 299);
    const double y5 = RowY(g, 5), y60 = RowY(g, 60), y100 = RowY(g, 100);
    const Polygon lShape = {Point(0, 0),    Point(6, 0),   Point(6, 1.75),
                            Point(4, 1.75), Point(4, 2.5), Point(0, 2.5)};
    const struct {
        const char* what;
        Polygon zone, other;
    } cases[] = {
        {"same rectangle", zone, zone},
        {"edges through sample points", zone, Rect(x3, y5, x200, y100)},
        {"vertex on a sample row", zone, {Point(x40, -1.0), Point(x299, y60), Point(x40, 3.0)}},
        {"vertical edge through a sample point at a vertex's y",
         zone,
         {Point(x40, y5), Point(x200, y5), Point(x200, y60), Point(x40, y60)}},
        {"concave zone, straddling area", lShape, Rect(1.0, 0.9, 5.5, 3.5)},
        {"clockwise outline", zone, {Point(1, 1), Point(1, 2), Point(3, 2), Point(3, 1)}},
        {"self-crossing bow tie", zone, {Point(0.5, 0.2), Point(5.5, 2.2), Point(5.5, 0.2), Point(0.5, 2.2)}},
        {"repeated and collinear vertices",
         zone,
         {Point(1, 1), Point(1, 1), Point(2, 1), Point(3, 1), Point(3, 2), Point(1, 2)}},
        {"horizontal edge on a sample row", zone, {Point(x3, y60), Point(x200, y60), Point(x200, y100)}},
        {"nothing in common", zone, Rect(10, 10, 12, 12)},
        {"two vertices", zone, {Point(1, 1), Point(3, 2)}},
        {"no vertices", zone, {}},
        {"tall zone", Rect(0.0, 0.0, 1.5, 7.0), Rect(-1.0, 2.0, 0.9, 9.0)},
        {"far from the origin", Rect(250000.3, -80000.7, 250006.1, -80001.9),
         Rect(250001.0, -80001.0, 250009.0, -80000.0)},
        {"beyond the row-count range", Rect(2e7, 0, 2e7 + 5, 2), Rect(2e7 + 1, 1, 2e7 + 3, 3)},
    };
    for (const auto& c : cases)
        ExpectSameCountAndArea(c.zone, c.other, c.what);
}

TEST(GridCountTest, RandomOutlinesWithVerticesOnTheGrid) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> vertexCount(3, 9), column(-20, 320), snap(0, 2);
    std::uniform_real_distribution<double> coordinate(-0.5, 6.5);
    for (int trial = 0; trial < 40; ++trial) {
        Polygon zone, other;
        for (Polygon* p : {&zone, &other}) {
            const int n = vertexCount(random);
            for (int k = 0; k < n; ++k)
                p->push_back(Point(coordinate(random), coordinate(random)));
        }
        // Half of the second outline's vertices sit exactly on sample points of the zone's grid.
        const ZoneSamplingGrid g = GetZoneSamplingGrid(zone);
        for (Point& v : other)
            if (snap(random) > 0) v = Point(ColumnX(g, column(random)), RowY(g, column(random)));
        ExpectSameCountAndArea(zone, other, "random");
    }
}

TEST(GeometryCacheTest, RemembersByOutlineAndGivesThePointwiseArea) {
    ClearGeometryCache();
    const Polygon zone = {Point(0, 0), Point(6, 0), Point(6, 3.5), Point(4, 3.5), Point(4, 5), Point(0, 5)};
    const Polygon area = Rect(0.6, -0.2, 5.1, 4.3);
    const double expected = GetAreaInZone(zone, area, GetZoneSamplingGrid(zone));
    EXPECT_EQ(Bits(GetAreaInZoneCached(zone, area)), Bits(expected));
    EXPECT_EQ(Bits(GetAreaInZoneCached(zone, area)), Bits(expected));
    EXPECT_EQ(GetGeometryCacheSize(), 1u);

    // A copy of the outline with a different height or w is the same key; a moved vertex is not.
    Polygon raised = area;
    for (Point& p : raised)
        p.z = 3.0;
    EXPECT_EQ(Bits(GetAreaInZoneCached(zone, raised)), Bits(expected));
    Polygon moved = area;
    moved[2].x += 1e-9;
    EXPECT_EQ(Bits(GetAreaInZoneCached(zone, moved)),
              Bits(GetAreaInZone(zone, moved, GetZoneSamplingGrid(zone))));
    EXPECT_EQ(GetGeometryCacheSize(), 2u);
    ClearGeometryCache();
    EXPECT_EQ(GetGeometryCacheSize(), 0u);
}

} // namespace
