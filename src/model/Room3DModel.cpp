#include "model/Room3DModel.h"

#include "dxf/DxfFile.h"
#include "dxf/DxfLine.h"
#include "dxf/DxfPline.h"
#include "dxf/DxfText.h"
#include "model/LENIRoom.h"

#include <string>
#include <vector>

namespace {

CDxfPline Closed3D(const Polygon& points, double z) {
    CDxfPline pline;
    pline.m_bClosed = true;
    pline.m_b3D = true;
    for (const Point& p : points)
        pline.AddVertex(Point(p.x, p.y, z));
    return pline;
}

// Keeps each point's own height.
CDxfPline Closed3D(const Polygon& points) {
    CDxfPline pline;
    pline.m_bClosed = true;
    pline.m_b3D = true;
    for (const Point& p : points)
        pline.AddVertex(Point(p.x, p.y, p.z));
    return pline;
}

// The window's glazing corners with their heights; empty when its wall does not exist (logged).
Polygon WindowCorners(const CLENIRoom& room, const CLENIWindow& window) {
    Point s, e;
    if (!room.GetWallStartAndEnd2D(window, s, e)) return Polygon();
    if (window.m_iVertWinType == VWT_VERTICAL_SLOPED || window.m_iVertWinType == VWT_HORIZONTAL_SLOPED)
        return GetSlopedWindowOutline(window, room);
    const double sill = window.m_dSillHeight, lintel = window.GetLintelHeight();
    return {Point(s.x, s.y, sill), Point(e.x, e.y, sill), Point(e.x, e.y, lintel), Point(s.x, s.y, lintel)};
}

struct PlacedRoofLight {
    CLENIRoofLight roofLight;
    double z; // height of the glazing
};

} // namespace

std::unique_ptr<CDxfFile> BuildRoom3DModel(const CLENIRoom& source, double roomHeight) {
    // The daylight areas depend on the room's height: they are those of the room at this height.
    CLENIRoom room = source;
    room.SetHeight(roomHeight);
    // The height as the room keeps it (within [1, 200] m, never NaN), so the file stays readable.
    const double height = room.GetHeight();
    const double workPlane = room.GetWrkSrfHi();

    auto dxf = std::make_unique<CDxfFile>();
    CLayerTable& layers = dxf->GetLayerTable();
    CDxfLayer* floorLayer = layers.AddLayer(kRoom3DLayerFloor, 1, true);
    CDxfLayer* workLayer = layers.AddLayer(kRoom3DLayerWorkSurface, 3, true);
    CDxfLayer* ceilingLayer = layers.AddLayer(kRoom3DLayerCeiling, 8, true);
    CDxfLayer* windowLayer = layers.AddLayer(kRoom3DLayerWindow, 4, true);
    CDxfLayer* roofLightLayer = layers.AddLayer(kRoom3DLayerRoofLight, 4, true);
    CDxfLayer* daylightLayer = layers.AddLayer(kRoom3DLayerDaylight, 11, true);
    CDxfLayer* labelLayer = layers.GetLayerPtrFromName("0");
    CEntList& list = dxf->GetEntList();

    const Polygon& outline = room.GetPolygon();
    for (const Point& p : outline)
        list.AddEntity(CDxfLine(p, Point(p.x, p.y, height)), floorLayer);
    if (!outline.empty()) {
        list.AddEntity(Closed3D(outline), floorLayer);
        list.AddEntity(Closed3D(outline, workPlane), workLayer);
        list.AddEntity(Closed3D(outline, height), ceilingLayer);
    }

    std::vector<PlacedRoofLight> roofLights;
    for (const CLENIRoofLight& roofLight : room.GetRoofLights())
        roofLights.push_back({roofLight, height});

    for (const CLENIWindow& window : room.GetWindows()) {
        const Polygon corners = WindowCorners(room, window);
        if (corners.empty()) continue;
        for (size_t i = 0; i < corners.size(); ++i)
            list.AddEntity(
                CDxfText(std::string(1, static_cast<char>('R' + i)), corners[i], kRoom3DLabelHeight),
                labelLayer);
        list.AddEntity(Closed3D(corners), windowLayer);
        if (window.m_iVertWinType == VWT_HORIZONTAL_SLOPED) {
            const CLENIRoofLight equivalent = room.GetRoofLightEquivalent(window);
            roofLights.push_back({equivalent, equivalent.m_dZOrig});
            continue;
        }
        const Polygon area = room.GetWindowDaylightArea(window);
        if (!area.empty()) list.AddEntity(Closed3D(area, workPlane), daylightLayer);
    }

    for (const PlacedRoofLight& placed : roofLights) {
        const Polygon glazing = room.GetRoofLightOutline(placed.roofLight);
        const Polygon area = room.GetRoofLightDaylightArea(placed.roofLight);
        list.AddEntity(Closed3D(glazing, placed.z), roofLightLayer);
        list.AddEntity(Closed3D(area, workPlane), daylightLayer);
        for (size_t i = 0; i < glazing.size() && i < area.size(); ++i)
            list.AddEntity(
                CDxfLine(Point(glazing[i].x, glazing[i].y, placed.z), Point(area[i].x, area[i].y, workPlane)),
                daylightLayer);
    }
    return dxf;
}
