#pragma once
// View > Colour Rooms by LENI: the floor pages fill each room by its annual LENI, from the results
// worked out when the colouring was switched on, on the printed report's colour scale. A room
// without a result then (added since) stays unfilled.

#include "dxf/DrawCanvas.h"
#include "dxf/Geometry.h"

class CLENIFloor;
class CLENIProject;

// On: the project's results are calculated now and kept; off: they are dropped.
void SetLeniColouring(const CLENIProject* project);
bool IsLeniColouringOn();

// Fills the floor's rooms that have a kept result (nothing when the colouring is off).
void FillRoomsByLeni(IDrawCanvas& canvas, const CLENIFloor& floor, const Matrix4& worldToPixel);
// The scale's legend along the bottom of a picture of that size, on white (nothing when off).
void DrawLeniColouringLegend(IDrawCanvas& canvas, int width, int height);
