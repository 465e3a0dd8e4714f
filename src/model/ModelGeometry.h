#pragma once
// Polygon rules that every model outline follows.

#include "dxf/Point.h"

// Reverses an outline of at least 3 vertices that is not counter-clockwise, so that the inside of
// a room lies to the left of each wall.
void NormalisePolygon(Polygon& polygon);

// Bounds of a model outline read from a file: more vertices than any room needs would make the
// calculation's sampling of zones run for hours, and a coordinate beyond a million kilometres is
// no floor plan (its areas would overflow).
constexpr int kMaxPolygonVertices = 1000;
constexpr double kMaxCoordinate = 1e9;
