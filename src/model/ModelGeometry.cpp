#include "model/ModelGeometry.h"

#include "dxf/Geometry.h"
#include "model/LENIFloor.h"

#include <cmath>
#include <functional>

void NormalisePolygon(Polygon& polygon) {
    if (polygon.size() >= 3 && !IsPolygonCounterClockwise(polygon)) ReversePolygon(polygon);
}

namespace {

// Calls visit for each outline of the floor a point may snap to.
void ForEachOutline(const CLENIFloor& floor, const std::function<void(const Polygon&)>& visit) {
    for (const CLENIRoom& room : floor.GetRooms()) {
        visit(room.GetPolygon());
        for (const CLENIZone& zone : room.GetZones())
            visit(zone.GetPolygon());
    }
    for (const CLENIAtrium& atrium : floor.GetAtria())
        visit(atrium.m_Polygon);
}

} // namespace

SnapKind SnapToFloorOutlines(const CLENIFloor& floor, const Point& p, double tolerance, Point& snapped) {
    snapped = p;
    double best = tolerance;
    bool found = false;
    ForEachOutline(floor, [&](const Polygon& outline) {
        for (const Point& corner : outline) {
            const double d = Distance2D(corner, p);
            if (d <= best) {
                best = d;
                snapped = Point(corner.x, corner.y);
                found = true;
            }
        }
    });
    if (found) return SNAPPED_CORNER;
    best = tolerance;
    ForEachOutline(floor, [&](const Polygon& outline) {
        const size_t n = outline.size();
        if (n < 2) return;
        for (size_t i = 0; i < n; ++i) {
            const Point& a = outline[i];
            const Point& b = outline[(i + 1) % n];
            const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
            if (!(length2 > 0.0)) continue;
            const double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2;
            if (t < 0.0 || t > 1.0) continue;
            // A wall along an axis keeps its coordinate exactly.
            const Point foot(dx == 0.0 ? a.x : a.x + t * dx, dy == 0.0 ? a.y : a.y + t * dy);
            const double d = Distance2D(foot, p);
            if (d <= best) {
                best = d;
                snapped = foot;
                found = true;
            }
        }
    });
    return found ? SNAPPED_EDGE : SNAPPED_NONE;
}
