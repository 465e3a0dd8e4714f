#pragma once
// The daylight dependency factor Fd of a roof light, from the mean daylight factors of its daylight
// area without and with sun shading.

#include "dxf/Point.h"
#include "model/LENIRoofLight.h"
#include "tables/RoofLightTables.h"

#include <string>

class CLENIRoom;
class CLENIZone;

// The roof-light fields the daylight calculation reads.
struct RoofLightDaylightData {
    int id = -1;
    int type = RL_FLAT;
    int orientation = RLO_HORIZONTAL;
    double width = 1.0;  // Y width W
    double length = 4.0; // X length L
    double tauSna = 0.85, tauSa = 0.5;
    double kObl1 = 0.9, kObl2 = 0.9, kObl3 = 0.85;
    double hw = 1.0, hg = 1.0, hs = 1.0;
    double gammaF = 60.0, gammaW = 30.0;
};

// Everything the daylight dependency factor of one roof light in one zone reads.
struct RoofLightDaylightInput {
    RoofLightDaylightData roofLight;
    double roomIndex = 0.0;
    std::string controlTechnique = "Manual";
    double em = 500.0;
    double area = 0.0; // of the roof light's daylight area inside the zone
    double latitude = 45.0;
    unsigned timeStep = 0;
};

// k = (dx x dy) / ((dx + dy) x h) of the room polygon's bounding box; 0 when that has no size.
double GetRoomIndex(const Polygon& roomPolygon, double roomHeight);

// Dbar in percent, without (withShading false) or with sun shading. A daylight area that does not
// reach the zone (area 0) gives 0.
double GetMeanDaylightFactor(const RoofLightDaylightData& roofLight, bool withShading, double roomIndex,
                             double area);

// Fd = 1 - V x Fds x Fdc; writes its lines to the calculation log.
double GetDaylightDependencyFactorFdRoofLight(const RoofLightDaylightInput& in);

// The fields of a roof light of the model.
RoofLightDaylightData GetRoofLightDaylightData(const CLENIRoofLight& roofLight);

// The same for a roof light of the model; room is (a copy of) the roof light's room.
double GetMeanDaylightFactor(const CLENIRoofLight& roofLight, bool withShading, double roomIndex,
                             double area);
double GetUtilisationFactor(const CLENIRoofLight& roofLight, double roomIndex);
double GetDaylightDependencyFactorFdRoofLight(const CLENIRoofLight& roofLight, const CLENIRoom& room,
                                              const CLENIZone& zone, double area, double latitude,
                                              unsigned timeStep);
