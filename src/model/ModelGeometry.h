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

class CLENIFloor;

// What a picked point was snapped to, in the order snapping tries them.
enum SnapKind {
    SNAPPED_NONE = 0,   // the point as picked
    SNAPPED_CORNER = 1, // a corner of a room, zone or atrium
    SNAPPED_EDGE = 2,   // the nearest point on a side of a room, zone or atrium
    SNAPPED_POINT = 3,  // a point of the DXF drawing
    SNAPPED_GRID = 4,   // the grid
};

// The nearest corner of the floor's rooms, zones and atria within tolerance of p or, when none is,
// the nearest point on one of their sides within tolerance; SNAPPED_NONE with snapped = p otherwise.
// A corner is taken exactly as stored, so an outline snapped to another shares its coordinates.
SnapKind SnapToFloorOutlines(const CLENIFloor& floor, const Point& p, double tolerance, Point& snapped);
