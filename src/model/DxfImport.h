#pragma once
// Import of a floor's rooms, zones, vertical windows, roof lights and atria from the polylines of
// the reserved layers of its DXF drawing. Each step walks the drawing's entities in file order;
// an element that fails a check is reported and dropped, and sets the error flag.

#include "model/LENIProject.h"

#include <functional>
#include <string>

class CDxfFile;
class CLENIWindow;

// Rooms of "LENI_ROOM"; they take the project's maintenance factor and the first room type and the
// hours of its dominant building type.
int ImportRoomsFromDxf(CLENIFloor& floor, const CDxfFile& dxf, const CLENIProject& project, bool& error);
// Zones of "LENI_ZONE", each in the first room that holds all its vertices.
int ImportZonesFromDxf(CLENIFloor& floor, const CDxfFile& dxf, bool& error);
// Windows of the two-vertex polylines of "LENI_VERT_WINDOW", on the nearest wall of every room
// they lie along; windowTemplate gives the starting values of a new window.
int ImportWindowsFromDxf(CLENIFloor& floor, const CDxfFile& dxf, bool& error,
                         const CLENIWindow& windowTemplate);
// Roof lights of the four-vertex polylines of "LENI_ROOF_LIGHT", as their bounding rectangles.
int ImportRoofLightsFromDxf(CLENIFloor& floor, const CDxfFile& dxf, bool& error);
// Atria of "LENI_ATRIUM".
int ImportAtriaFromDxf(CLENIFloor& floor, const CDxfFile& dxf, bool& error);

// All five in order: rooms; zones, windows and roof lights only when a room came in; atria always.
LENIImportCounts ImportSpecialLayers(CLENIFloor& floor, const CDxfFile& dxf, const CLENIProject& project,
                                     const CLENIWindow& windowTemplate);

// Makes the project's add-floor operation read the DXF file and import its special layers. The
// provider gives the window template at the time of each import (none: a default window).
void InstallDxfFloorImporter(std::function<CLENIWindow()> windowTemplate = {});

// The general-log note of a floor added from a DXF file, and the message when elements were refused.
void ReportFloorImport(const std::string& floor, const std::string& project, const LENIImportCounts& counts);
