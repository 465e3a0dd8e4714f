#pragma once
// Counting the sampling-grid points that lie inside two polygons, row by row instead of point by
// point, with the very same answer as testing every point with IsPointInPolygon.

#include "calc/EnergyCalc.h"

#include <cstdint>

// Number of grid points (the cell centres of GetAreaInZone) inside both polygons by the
// ray-parity rule of IsPointInPolygon, ties and all. Along one grid row every edge's crossing
// test is monotone in x, so each edge toggles the parity of one run of columns found by a binary
// search that evaluates the same floating-point expressions as the point test. Falls back to the
// point-by-point count for coordinates that are not finite or lie beyond 1e7.
int64_t CountGridPointsInBoth(const Polygon& a, const Polygon& b, const ZoneSamplingGrid& grid);

// The same count, point by point (the baseline the row count must equal).
int64_t CountGridPointsInBothPointwise(const Polygon& a, const Polygon& b, const ZoneSamplingGrid& grid);

// 0.0 + value + value + ... (count times) in double arithmetic, exactly as the running sum of a
// loop, in time logarithmic in count.
double RepeatedSum(double value, int64_t count);

// GetAreaInZone by the row count: bit for bit the value of the point-by-point evaluation.
double GetAreaInZoneByRows(const Polygon& zonePolygon, const Polygon& polygon, const ZoneSamplingGrid& grid);
