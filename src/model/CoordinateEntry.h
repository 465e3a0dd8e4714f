#pragma once
// A corner typed while drawing an outline, in metres:
//   x;y            absolute
//   @dx;dy         relative to the last corner
//   @length<angle  relative, the angle in degrees counter-clockwise from the x axis
// The decimal sign is the user's (a point or a comma). The semicolon always separates x from y;
// with a point as the decimal sign a comma separates them too, and with a comma as the decimal
// sign a comma is only ever a decimal sign, so "1,5" is never read both ways. Spaces are ignored.

#include "dxf/Point.h"

#include <string>

struct CoordinateEntry {
    bool ok = false;
    Point point;       // the corner (x, y; z and w 0)
    std::string error; // why the text was refused, for the user
};

// last: the last corner of the outline, or nullptr when there is none yet (a relative entry is
// then refused).
CoordinateEntry ParseCoordinateEntry(const std::string& text, char decimalSign, const Point* last);
