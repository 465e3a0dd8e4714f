#pragma once
// The 3D model of one room as a drawing of its own: the outlines of floor, work plane and
// ceiling, the walls' vertical edges, the windows with their corner letters, the roof lights and
// the daylight areas of both. Being a plain drawing it is shown by the 3D viewer and saved as DXF
// by the writer.
// Note: z is the height above the room's floor; the window daylight areas lie on the work plane,
// roof lights in the ceiling (a horizontal sloped window's equivalent at its own height).

#include <memory>

class CDxfFile;
class CLENIRoom;

// Layer names of the model and their colour numbers, in the order the layers are added.
constexpr const char* kRoom3DLayerFloor = "FLOOR";         // colour 1
constexpr const char* kRoom3DLayerWorkSurface = "WRKSURF"; // colour 3
constexpr const char* kRoom3DLayerCeiling = "CEILING";     // colour 8
constexpr const char* kRoom3DLayerWindow = "WINDOW";       // colour 4
constexpr const char* kRoom3DLayerRoofLight = "ROOFLIGHT"; // colour 4
constexpr const char* kRoom3DLayerDaylight = "DAYLIGHT";   // colour 11
constexpr double kRoom3DLabelHeight = 0.25;                // the corner letters of the windows

// The model of the room standing roomHeight high (the floor's height when shown from a floor
// page); the daylight areas are those of the room at that height. The caller owns the drawing.
std::unique_ptr<CDxfFile> BuildRoom3DModel(const CLENIRoom& room, double roomHeight);
