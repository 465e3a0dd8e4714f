#pragma once
// Lighting and parasitic energies of zones, rooms, floors and the building, and the LENI, for the
// year (time step 0) or one month (1 ... 12). Nothing is stored: every call reads the model as it
// is. While a calculation log is open every step writes its lines into it.

#include "calc/ZoneFactors.h"
#include "dxf/Point.h"
#include "model/LeniTimeStepResult.h"

#include <string>

class CLENIProject;
class CLENIFloor;
class CLENIRoom;
class CLENIZone;
class CLumSysDataBase;

// Hours the parasitic loads run: 8760 for the year, 730 for any month.
int GetParasiticHours(unsigned timeStep);

// The sampling grid laid over a zone's bounding box to measure how much of another polygon lies
// inside the zone: square cells of side f = max(dx, dy) / 300, sampled at their centres.
struct ZoneSamplingGrid {
    double x0 = 0.0, y0 = 0.0; // bounding-box minimum
    double f = 0.0;            // cell side
    int nx = 0, ny = 0;        // columns and rows; none when the box has no extent
};
ZoneSamplingGrid GetZoneSamplingGrid(const Polygon& zonePolygon);

// Area of polygon inside the zone: f^2 for every cell centre inside both. The plain point-by-point
// evaluation; any faster version must give the same value.
double GetAreaInZone(const Polygon& zonePolygon, const Polygon& polygon, const ZoneSamplingGrid& grid);

// Index of the zone of the room that bills the luminaires of an opening whose daylight area is
// given: the zone holding the largest part of it, the first on ties (so the room's first zone when
// the area lies in none); -1 for a room without zones.
int GetBillingZoneIndex(const CLENIRoom& room, const Polygon& daylightArea);

// The zone's settings that its constant illuminance factor Fc depends on, and its occupancy factor Fo.
ZoneFcInputs FcInputsOf(const CLENIZone& zone);
double FoOf(const CLENIZone& zone);

// Energy of the zone's own luminaires (the part of the zone not daylit), kWh.
double GetZoneEnergyAND(const CLENIZone& zone, const CLENIRoom& room, unsigned timeStep,
                        const CLumSysDataBase& db);
// Energy of the luminaires in the daylight areas of the room's windows and roof lights that this
// zone bills, kWh. Each opening is billed by one zone of the room only (GetBillingZoneIndex).
// When daylight is given, it receives the lighting power of the openings this zone bills and that
// power weighted by each opening's daylight dependency factor Fd.
struct ZoneDaylightPower {
    double power = 0.0;   // W
    double timesFd = 0.0; // sum of power x Fd, W
};
double GetZoneEnergyAD(const CLENIZone& zone, const CLENIProject& project, const CLENIRoom& room,
                       const CLENIFloor& floor, unsigned timeStep, ZoneDaylightPower* daylight = nullptr);

// Room: Wl (the sum of its zones, with the room section of the log), Wp and installed power of an
// energy use code (the zones' lists, then the windows', then the roof lights').
double GetLightingEnergy(const CLENIRoom& room, const CLENIProject& project, unsigned timeStep);
double GetParasiticEnergy(const CLENIRoom& room, unsigned timeStep, const CLumSysDataBase& db);
double GetInstalledPower(const CLENIRoom& room, int energyUse, const CLumSysDataBase& db);
// The sub-LENI of one room; opens the room's log when none is open.
LeniTimeStepResult CalculateSubLeni(const CLENIRoom& room, const CLENIProject& project, unsigned timeStep);

// One instance of a floor: sums over its rooms in list order.
double GetLightingEnergy(const CLENIFloor& floor, const CLENIProject& project, unsigned timeStep);
double GetParasiticEnergy(const CLENIFloor& floor, unsigned timeStep, const CLumSysDataBase& db);
double GetInstalledPower(const CLENIFloor& floor, int energyUse, const CLumSysDataBase& db);
// Sum over the rooms of (Wp + Wl), room by room.
double GetTotalEnergy(const CLENIFloor& floor, const CLENIProject& project, unsigned timeStep);

// The building: sums over the floors of instance count x the floor's value.
double GetArea(const CLENIProject& project);
double GetLightingEnergy(const CLENIProject& project, unsigned timeStep);
double GetParasiticEnergy(const CLENIProject& project, unsigned timeStep);
double GetInstalledPower(const CLENIProject& project, int energyUse);
// Fo of all zones weighted by instance count x zone area; 0 without zone area.
double GetAverageFo(const CLENIProject& project);

// The building for one time step (any step, despite the name), with the building's log.
LeniTimeStepResult CalculateAnnualLENI(const CLENIProject& project, unsigned timeStep);
// One instance of the floor of that name, with the floor's log; area 0.0001 for an unknown name.
LeniTimeStepResult CalculateLENIofFloor(const CLENIProject& project, const std::string& floorName,
                                        unsigned timeStep);

// For a run that calculates an unchanging model many times over (a report's thirteen time steps
// and the project copy's results): while an instance lives, what the calculation of a room works
// out from its geometry alone (the vertical equivalent of a sloped window, the zone that bills
// each window and roof light and its part of the daylight area) is worked out once per room, with
// the traces it leaves, and reused by every time step. Work whose log lines are written is always
// done afresh, so a log reads as without it. The model must not change meanwhile.
class CReportGeometryMemo {
  public:
    CReportGeometryMemo();
    ~CReportGeometryMemo();
    CReportGeometryMemo(const CReportGeometryMemo&) = delete;
    CReportGeometryMemo& operator=(const CReportGeometryMemo&) = delete;

  private:
    bool m_bOwner = false;
};
