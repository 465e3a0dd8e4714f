// The area of a daylight area inside a zone by the zone's sampling grid: the point-by-point
// evaluation against the row count, and the running sum of cell areas against its shortcut,
// in one run.

#include "calc/EnergyCalc.h"
#include "calc/GridCount.h"

#include <benchmark/benchmark.h>

namespace {

// An L-shaped (concave) zone and a window daylight area reaching across it.
const Polygon kZone = {Point(0, 2.5), Point(6, 2.5), Point(6, 3.5), Point(4, 3.5), Point(4, 5), Point(0, 5)};
const Polygon kDaylightArea = {Point(0.6, 0), Point(2.5, 0), Point(2.5, 3.9), Point(0.6, 3.9)};

void PointByPoint(benchmark::State& state) {
    const ZoneSamplingGrid grid = GetZoneSamplingGrid(kZone);
    for (auto _ : state)
        benchmark::DoNotOptimize(GetAreaInZone(kZone, kDaylightArea, grid));
}

void RowByRow(benchmark::State& state) {
    const ZoneSamplingGrid grid = GetZoneSamplingGrid(kZone);
    for (auto _ : state)
        benchmark::DoNotOptimize(GetAreaInZoneByRows(kZone, kDaylightArea, grid));
}

void SumLoop(benchmark::State& state) {
    const double cell = 0.02 * 0.02;
    for (auto _ : state) {
        double s = 0.0;
        for (int k = 0; k < 40000; ++k)
            s += cell;
        benchmark::DoNotOptimize(s);
    }
}

void SumShortcut(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(RepeatedSum(0.02 * 0.02, 40000));
}

} // namespace

BENCHMARK(PointByPoint)->Unit(benchmark::kMicrosecond);
BENCHMARK(RowByRow)->Unit(benchmark::kMicrosecond);
BENCHMARK(SumLoop)->Unit(benchmark::kMicrosecond);
BENCHMARK(SumShortcut)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
