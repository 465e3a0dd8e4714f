#pragma once
// Deterministic synthetic inputs for the benchmarks: project files of any size and ASCII DXF floor
// plans of a given byte size. The same arguments always give the same bytes.

#include <cstddef>
#include <string>

struct BuildingShape {
    int floors = 1;
    int roomsPerFloor = 1;
    int zonesPerRoom = 1;
    int windowsPerRoom = 1;
    int roofLightsPerRoom = 0; // in the rooms of the top floor only
};

// A whole project file (the project's own products included). Rooms alternate between the two
// facades of a corridor; every fourth room is L-shaped, with concave zones; zones are strips
// across the room depth, so window daylight areas straddle them; windows cycle through every
// opening type (vertical, vertical sloped, horizontal sloped), face outside, an atrium or a
// courtyard, carry shading angles and sometimes a glazed double facade; one window of the first
// floor has a type no calculation knows, so the error path is exercised as well.
std::string GenerateBuildingXml(const BuildingShape& shape, const std::string& name);

// An ASCII DXF floor plan of at least targetBytes: header extents, a layer table, blocks with
// nested inserts, then lines, polylines with bulges, texts and inserts with attributes.
std::string GenerateDxfPlan(size_t targetBytes);

// An ASCII DXF of at least targetBytes holding only long polylines (LWPOLYLINE, each of the given
// number of vertices with its count given, as survey exports trace walls point by point).
std::string GenerateDxfLongPolylines(size_t targetBytes, int vertices);
