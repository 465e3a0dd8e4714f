#pragma once
// Polygon rules that every model outline follows.

#include "dxf/Point.h"

// Reverses an outline of at least 3 vertices that is not counter-clockwise, so that the inside of
// a room lies to the left of each wall.
void NormalisePolygon(Polygon& polygon);
