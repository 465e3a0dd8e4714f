#include "model/ModelGeometry.h"

#include "dxf/Geometry.h"

void NormalisePolygon(Polygon& polygon) {
    if (polygon.size() >= 3 && !IsPolygonCounterClockwise(polygon)) ReversePolygon(polygon);
}
