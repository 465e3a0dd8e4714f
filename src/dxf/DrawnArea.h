#pragma once
// The area of an outline whose sides cross one another, as the eye sees it drawn.

#include "dxf/Point.h"

// Whether two sides of the closed outline that do not meet at a corner cross.
bool OutlineCrossesItself(const Polygon& polygon);

// The area of every point the closed outline goes round (its non-zero winding set), each point
// counted once, however often the outline goes round it. For an outline that does not cross
// itself this is its ordinary area; for a bow tie it is the two triangles, not their difference.
double CalcDrawnArea(const Polygon& polygon);
