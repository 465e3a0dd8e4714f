#pragma once
// Results of the calculation that depend on geometry alone, remembered across the time steps and
// passes of one report (a report runs every room some forty times) and across reports of an
// unchanged model. Keys are the geometry itself, bit for bit, so an edited outline simply misses;
// no entry ever has to be invalidated.

#include "dxf/Point.h"

#include <cstddef>

// GetAreaInZone of polygon within the zone's sampling grid. The reference calculation
// (IsReferenceCalculation) evaluates it point by point every time; otherwise it is counted row by
// row once per pair of outlines and thread. Safe to call from several threads.
double GetAreaInZoneCached(const Polygon& zonePolygon, const Polygon& polygon);

// Entries now held by the calling thread, and forgetting the entries of every thread (tests,
// benchmarks).
size_t GetGeometryCacheSize();
void ClearGeometryCache();
