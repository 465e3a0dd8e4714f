// Properties of the triangulation and of the point-in-polygon test over seeded random simple
// polygons, convex and concave, checked against independent references.
#include "dxf/Geometry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Deterministic on every platform (the standard distributions are not).
class Rng {
  public:
    explicit Rng(uint32_t seed) : m_gen(seed) {}
    double Uniform(double lo, double hi) { return lo + (hi - lo) * (m_gen() / 4294967296.0); }
    int Int(int lo, int hi) { return lo + static_cast<int>(m_gen() % static_cast<uint32_t>(hi - lo + 1)); }

  private:
    std::mt19937 m_gen;
};

// A polygon star-shaped around a random centre: concave unless every radius is the same. The
// angles step by less than half a turn, so the outline never passes behind the centre.
Polygon RandomPolygon(Rng& rng, bool convex) {
    const int n = rng.Int(3, 60);
    std::vector<double> angles;
    for (;;) {
        angles.assign(n, 0.0);
        for (double& a : angles)
            a = rng.Uniform(0.0, 2 * kPi);
        std::sort(angles.begin(), angles.end());
        // Vertices too close in angle make slivers that the triangulation drops on purpose.
        angles.erase(
            std::unique(angles.begin(), angles.end(), [](double a, double b) { return b - a < 0.02; }),
            angles.end());
        double widest = 2 * kPi - (angles.back() - angles.front());
        for (size_t i = 1; i < angles.size(); ++i)
            widest = std::max(widest, angles[i] - angles[i - 1]);
        if (angles.size() >= 3 && widest < 0.9 * kPi && 2 * kPi - (angles.back() - angles.front()) >= 0.02)
            break;
    }
    const double cx = rng.Uniform(-500, 500), cy = rng.Uniform(-500, 500);
    // Room-sized outlines (metres): the triangulation drops slivers thinner than 0.1 mm by design.
    const double rx = rng.Uniform(10, 60), ry = convex ? rng.Uniform(10, 60) : rx;
    Polygon poly;
    for (double a : angles) {
        const double r = convex ? 1.0 : rng.Uniform(0.25, 1.0);
        poly.emplace_back(cx + rx * r * std::cos(a), cy + ry * r * std::sin(a));
    }
    if (rng.Int(0, 1)) std::reverse(poly.begin(), poly.end());
    return poly;
}

double Orient(const Point& a, const Point& b, const Point& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Winding number of the outline around p (Sunday's method).
int WindingNumber(const Polygon& poly, const Point& p) {
    int wn = 0;
    const size_t n = poly.size();
    for (size_t i = 0; i < n; ++i) {
        const Point& a = poly[i];
        const Point& b = poly[(i + 1) % n];
        if (a.y <= p.y) {
            if (b.y > p.y && Orient(a, b, p) > 0) ++wn;
        } else if (b.y <= p.y && Orient(a, b, p) < 0) {
            --wn;
        }
    }
    return wn;
}

bool ProperlyCross(const Point& a, const Point& b, const Point& c, const Point& d) {
    const double d1 = Orient(a, b, c), d2 = Orient(a, b, d), d3 = Orient(c, d, a), d4 = Orient(c, d, b);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

double DistanceToOutline(const Polygon& poly, const Point& p) {
    double best = 1e300;
    for (size_t i = 0; i < poly.size(); ++i)
        best = std::min(best, DistanceToSegment(poly[i], poly[(i + 1) % poly.size()], p));
    return best;
}

class GeometryPropertyTest : public ::testing::TestWithParam<bool> {};

TEST_P(GeometryPropertyTest, TriangulationCoversThePolygonExactly) {
    RecordingMessageBoxes boxes;
    const bool convex = GetParam();
    Rng rng(convex ? 20240601u : 20240602u);
    for (int iter = 0; iter < 2000; ++iter) {
        Polygon poly = RandomPolygon(rng, convex);
        if (poly.size() < 3) continue;
        SCOPED_TRACE(::testing::Message() << "polygon " << iter << " with " << poly.size() << " vertices");
        const int n = static_cast<int>(poly.size());
        std::vector<Triangle> tris = Triangulate(poly.data(), n);
        ASSERT_EQ(static_cast<int>(tris.size()), n - 2);

        const double shoelace = CalcShoelaceArea(poly);
        double sum = 0.0;
        for (const Triangle& t : tris) {
            const Point &a = poly[t.a], &b = poly[t.b], &c = poly[t.c];
            sum += std::fabs(Orient(a, b, c)) / 2.0;
            const Point centre((a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3);
            ASSERT_NE(WindingNumber(poly, centre), 0) << "triangle " << t.a << " " << t.b << " " << t.c;
            const Point* corners[3] = {&a, &b, &c};
            for (int k = 0; k < 3; ++k)
                for (int e = 0; e < n; ++e)
                    ASSERT_FALSE(
                        ProperlyCross(*corners[k], *corners[(k + 1) % 3], poly[e], poly[(e + 1) % n]));
        }
        ASSERT_NEAR(sum, shoelace, 1e-9 * shoelace);
        ASSERT_NEAR(CalcPolygonArea(poly), shoelace, 1e-9 * shoelace);

        // Every triangle has the winding of the first.
        const bool first = Orient(poly[tris[0].a], poly[tris[0].b], poly[tris[0].c]) > 0;
        for (const Triangle& t : tris)
            ASSERT_EQ(Orient(poly[t.a], poly[t.b], poly[t.c]) > 0, first);
    }
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_P(GeometryPropertyTest, PointInPolygonAgreesWithWindingNumberAwayFromEdges) {
    const bool convex = GetParam();
    Rng rng(convex ? 7u : 8u);
    for (int iter = 0; iter < 2000; ++iter) {
        Polygon poly = RandomPolygon(rng, convex);
        if (poly.size() < 3) continue;
        Point lo, hi;
        GetPolygonBoundingBox(poly, lo, hi);
        for (int k = 0; k < 20; ++k) {
            const Point p(rng.Uniform(lo.x - 1, hi.x + 1), rng.Uniform(lo.y - 1, hi.y + 1));
            if (DistanceToOutline(poly, p) < 1e-6) continue;
            ASSERT_EQ(IsPointInPolygon(poly, p), WindingNumber(poly, p) != 0)
                << "polygon " << iter << " point " << p.x << " " << p.y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ConvexAndConcave, GeometryPropertyTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("Convex") : std::string("Concave");
                         });

} // namespace
