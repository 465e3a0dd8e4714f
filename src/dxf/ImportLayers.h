#pragma once
// The five reserved layers whose polylines become rooms, zones, vertical windows, roof lights and
// atria of a floor. Names compare without regard to case.

class CDxfFile;

constexpr const char* kLayerRoom = "LENI_ROOM";
constexpr const char* kLayerZone = "LENI_ZONE";
constexpr const char* kLayerVertWindow = "LENI_VERT_WINDOW";
constexpr const char* kLayerRoofLight = "LENI_ROOF_LIGHT";
constexpr const char* kLayerAtrium = "LENI_ATRIUM";
constexpr const char* const kSpecialLayers[5] = {kLayerRoom, kLayerZone, kLayerVertWindow, kLayerRoofLight,
                                                 kLayerAtrium};

// Hides those of the five layers that the drawing has, so that the model's own outlines show
// instead.
void HideSpecialLayers(CDxfFile& dxf);
