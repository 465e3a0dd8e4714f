#include "calc/EnergyCalc.h"

#include "base/CalcMode.h"
#include "base/DeferredOutput.h"
#include "base/Logger.h"
#include "base/OrderedParallel.h"
#include "base/TextUtils.h"
#include "calc/CalcLog.h"
#include "calc/DaylightWindow.h"
#include "calc/GeometryCache.h"
#include "calc/RoofLightDaylight.h"
#include "calc/RoomContentKey.h"
#include "calc/RoomPassMemo.h"
#include "calc/ZoneFactors.h"
#include "dxf/Geometry.h"
#include "model/LENIProject.h"
#include "products/LumSysDataBase.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

ZoneFcInputs FcInputsOf(const CLENIZone& zone) {
    ZoneFcInputs in;
    in.bConstantIllumination = zone.GetConstantIlluminanceControl();
    in.bConstantLumenOutput = zone.GetConstantLumenOutput();
    in.dFcc = zone.GetFcc();
    in.dZoneLux = zone.GetZoneIlluminance();
    in.dZoneLuxReal = zone.GetRealIlluminance();
    return in;
}

double FoOf(const CLENIZone& zone) {
    return GetZoneFo(zone.GetFoMode(), zone.GetFa(), zone.GetOccupancyControlSystem());
}

namespace {

// Cells per side of the sampling grid along the longer side of the zone's bounding box.
constexpr double kGridDivisions = 300.0;

void LogClosingControls(const CLENIZone& zone, const char* part) {
    CalcLogPrintf("    Zone %s '%s' CLO=%d CIC=%d Fcc=%.3f", zone.GetName().c_str(), part,
                  zone.GetConstantLumenOutput() ? 1 : 0, zone.GetConstantIlluminanceControl() ? 1 : 0,
                  zone.GetFcc());
}

int ZoneIndexInRoom(const CLENIRoom& room, const CLENIZone& zone) {
    const std::vector<CLENIZone>& zones = room.GetZones();
    for (size_t i = 0; i < zones.size(); ++i)
        if (&zones[i] == &zone) return static_cast<int>(i);
    return room.GetZoneIndexByName(zone.GetName());
}

// The daylight area of a roof light built from the height its work-list copy carries (the floor's
// height, or where a horizontal sloped window's glazing sits); the room's height when it has none.
Polygon RoofLightDaylightAreaAtItsHeight(const CLENIRoom& room, const CLENIRoofLight& roofLight) {
    if (!(roofLight.m_dZOrig > 0.0)) return room.GetRoofLightDaylightArea(roofLight);
    const double d = roofLight.m_dZOrig - room.GetWrkSrfHi();
    const Point ref = room.GetReferencePoint();
    const double x0 = ref.x + roofLight.m_dXOrig - d, y0 = ref.y + roofLight.m_dYOrig - d;
    const double x1 = x0 + roofLight.m_dXLength + 2.0 * d, y1 = y0 + roofLight.m_dYWidth + 2.0 * d;
    return {Point(x0, y0), Point(x1, y0), Point(x1, y1), Point(x0, y1)};
}

// ---- What the geometry alone decides, kept while a CReportGeometryMemo lives ----

std::atomic<bool> g_bGeometryMemo{false};
// Bumped when a memo ends: every thread's entries are stale from then on.
std::atomic<unsigned> g_GeometryMemoGeneration{0};

template <class T> struct Remembered {
    T value;
    CDeferredOutput traces;
};
// Keyed by the object, which of its results, and what the calculation log does with lines.
using MemoKey = std::tuple<const void*, size_t, int>;
template <class T> using MemoMap = std::map<MemoKey, Remembered<T>>;

// Each thread keeps its own entries: no lock, and a room is worked out on one thread at a time.
struct ThreadGeometryMemo {
    unsigned generation = 0;
    MemoMap<std::vector<double>> areas;
    MemoMap<CLENIWindow> windows;
    MemoMap<CLENIRoofLight> roofLights;
};

ThreadGeometryMemo* CurrentGeometryMemo() {
    if (!g_bGeometryMemo.load(std::memory_order_acquire)) return nullptr;
    thread_local ThreadGeometryMemo memo;
    const unsigned generation = g_GeometryMemoGeneration.load(std::memory_order_acquire);
    if (memo.generation != generation) {
        memo = ThreadGeometryMemo();
        memo.generation = generation;
    }
    return &memo;
}

// What compute gives (and leaves in the logs) for part of object, remembered in map when its
// log lines would not be written: 1 when the log is quiet or closed, 2 when it discards lines
// (then only a line too long leaves a trace). Lines that are written are never remembered.
template <class T, class Compute>
T Remember(MemoMap<T>* map, const void* object, size_t part, Compute compute) {
    const int mode = IsCalcLogQuiet() || !IsCalcLoggerOpen() ? 1 : IsCalcLogDiscarding() ? 2 : 0;
    if (!map || mode == 0) return compute();
    const MemoKey key(object, part, mode);
    auto it = map->find(key);
    if (it == map->end()) {
        Remembered<T> entry;
        {
            CDeferredOutput::Scope capture(entry.traces);
            entry.value = compute();
        }
        it = map->emplace(key, std::move(entry)).first;
    }
    if (!it->second.traces.IsEmpty()) {
        CDeferredOutput traces = it->second.traces;
        traces.Replay();
    }
    return it->second.value;
}

// The part of a daylight area inside each zone of the room, in zone order.
std::vector<double> AreasInZones(const CLENIRoom& room, const Polygon& daylightArea) {
    std::vector<double> areas;
    for (const CLENIZone& zone : room.GetZones()) {
        areas.push_back(GetAreaInZoneCached(zone.GetPolygon(), daylightArea));
    }
    return areas;
}

// The floor the room's floor name gives. A room of the project's own lists is on the floor whose
// list holds it (floor names are unique), which takes no search by name.
int FloorIndexOfRoom(const CLENIProject& project, const CLENIRoom& room) {
    const int holding = GetFloorIndexHoldingRoom(project, room);
    if (holding >= 0 &&
        EqualsNoCase(project.GetFloors()[static_cast<size_t>(holding)].GetName(), room.GetFloorName()))
        return holding;
    return project.GetFloorIndexByName(room.GetFloorName());
}

// The zone holding the largest part; the first on ties; -1 without zones.
int BillingZone(const std::vector<double>& areas) {
    int best = areas.empty() ? -1 : 0;
    for (size_t i = 1; i < areas.size(); ++i)
        if (areas[i] > areas[best]) best = static_cast<int>(i);
    return best;
}

} // namespace

CReportGeometryMemo::CReportGeometryMemo() {
    if (IsReferenceCalculation() || g_bGeometryMemo.load()) return;
    g_GeometryMemoGeneration.fetch_add(1);
    g_bGeometryMemo.store(true);
    m_bOwner = true;
}

CReportGeometryMemo::~CReportGeometryMemo() {
    if (!m_bOwner) return;
    g_bGeometryMemo.store(false);
    g_GeometryMemoGeneration.fetch_add(1);
}

int GetParasiticHours(unsigned timeStep) {
    return timeStep == 0u ? 8760 : 730;
}

ZoneSamplingGrid GetZoneSamplingGrid(const Polygon& zonePolygon) {
    ZoneSamplingGrid grid;
    if (zonePolygon.empty()) return grid;
    Point min, max;
    GetPolygonBoundingBox(zonePolygon, min, max);
    const double dx = max.x - min.x, dy = max.y - min.y;
    const double f = std::max(dx, dy) / kGridDivisions;
    if (!(f > 0.0) || !std::isfinite(f)) return grid;
    grid.x0 = min.x;
    grid.y0 = min.y;
    grid.f = f;
    grid.nx = static_cast<int>(std::floor(dx / f)) + 1;
    grid.ny = static_cast<int>(std::floor(dy / f)) + 1;
    return grid;
}

double GetAreaInZone(const Polygon& zonePolygon, const Polygon& polygon, const ZoneSamplingGrid& grid) {
    const double cellArea = grid.f * grid.f;
    double area = 0.0;
    for (int i = 0; i < grid.nx; ++i) {
        for (int j = 0; j < grid.ny; ++j) {
            const Point p(grid.x0 + i * grid.f + grid.f * 0.5, grid.y0 + j * grid.f + grid.f * 0.5);
            if (IsPointInPolygon(zonePolygon, p) && IsPointInPolygon(polygon, p)) area += cellArea;
        }
    }
    return area;
}

int GetBillingZoneIndex(const CLENIRoom& room, const Polygon& daylightArea) {
    return BillingZone(AreasInZones(room, daylightArea));
}

double GetZoneEnergyAND(const CLENIZone& zone, const CLENIRoom& room, unsigned timeStep,
                        const CLumSysDataBase& db) {
    const double power = zone.GetLumList().GetTotalPower(Lighting, db);
    const int td = room.GetTdForTimeStep(static_cast<int>(timeStep));
    const int tn = room.GetTnForTimeStep(static_cast<int>(timeStep));
    const double fc = GetZoneFc(FcInputsOf(zone), room.GetMaintenanceFactor());
    const double fo = FoOf(zone);
    // Summed in 64 bits: hours set by any caller cannot overflow into a negative energy.
    const long long hours = static_cast<long long>(td) + tn;
    const double energy = ((fc * power) * fo) * static_cast<double>(hours) / 1000.0;
    LogClosingControls(zone, "AND");
    CalcLogPrintf("    Zone %s 'AND' energy for lighting = %.3fkWh = Zone 'AND' "
                  "Power[%.3f]*Fc[%.3f]*Fo[%.3f]*TotalOperatingHours[%lld]/1000.0 ",
                  zone.GetName().c_str(), energy, power, fc, fo, hours);
    return energy;
}

double GetZoneEnergyAD(const CLENIZone& zone, const CLENIProject& project, const CLENIRoom& room,
                       const CLENIFloor& floor, unsigned timeStep, ZoneDaylightPower* daylight) {
    const CLumSysDataBase& db = project.GetProducts();
    const int self = ZoneIndexInRoom(room, zone);
    const double td = room.GetTdForTimeStep(static_cast<int>(timeStep));
    const double tn = room.GetTnForTimeStep(static_cast<int>(timeStep));
    const char* zoneName = zone.GetName().c_str();

    ThreadGeometryMemo* memo = CurrentGeometryMemo();
    std::vector<CLENIRoofLight> roofLights = room.GetRoofLights();
    if (floor.GetHeight() > 0.0)
        for (CLENIRoofLight& roofLight : roofLights)
            roofLight.m_dZOrig = floor.GetHeight();

    double total = 0.0;

    const std::vector<CLENIWindow>& windows = room.GetWindows();
    for (size_t w = 0; w < windows.size(); ++w) {
        const CLENIWindow& original = windows[w];
        const int type = original.m_iVertWinType;
        if (type == VWT_HORIZONTAL_SLOPED) {
            roofLights.push_back(Remember(memo ? &memo->roofLights : nullptr, &original, 0,
                                          [&] { return room.GetRoofLightEquivalent(original); }));
            continue;
        }
        if (type != VWT_VERTICAL && type != VWT_VERTICAL_SLOPED) {
            Log().Printf(LOG_ERROR, "Unhandled LeniWinType: %d", type);
            return 0.0;
        }

        std::vector<double> areas;
        {
            // Which zone bills this window is decided without a trace in the log.
            CCalcLogQuiet quiet;
            areas = Remember(memo ? &memo->areas : nullptr, &original, 0, [&] {
                const CLENIWindow window = type == VWT_VERTICAL_SLOPED
                                               ? GetVerticalEquivalent(original, floor.GetHeight())
                                               : original;
                return AreasInZones(room, room.GetWindowDaylightArea(window));
            });
            if (BillingZone(areas) != self) continue;
        }
        const CLENIWindow window =
            type == VWT_VERTICAL_SLOPED
                ? Remember(memo ? &memo->windows : nullptr, &original, 0,
                           [&] { return GetLoggedVerticalEquivalent(original, floor.GetHeight()); })
                : original;

        const double area = areas[self];
        const double pn = window.m_LumList.GetTotalPower(Lighting, db);
        const double fc = GetZoneFc(FcInputsOf(zone), room.GetMaintenanceFactor());
        const double fo = FoOf(zone);
        const double fd =
            GetDaylightDependencyFactorFd(window, zone, room, floor, area, project.GetHdirHglob(),
                                          project.GetLatitude(), timeStep, project);
        const double energy = (td * fd + tn) * ((fc * pn) * fo) / 1000.0;
        if (daylight) {
            daylight->power += pn;
            daylight->timesFd += pn * fd;
        }
        CalcLogPrintf("    Zone %s AD (Window %d %d) energy = kPn[%.2f] * kFc[%.2f] * kFo[%.2f] * "
                      "((ktd[%.2f] * kFd[%.2f]) + ktn[%.2f])\n",
                      zoneName, window.m_iWindowId, window.m_iWallId, pn, fc, fo, td, fd, tn);
        CalcLogPrintf("    Zone %s AD (Window %d %d) energy = %.2f/1000.0\n", zoneName, window.m_iWindowId,
                      window.m_iWallId, energy);
        total += energy;
    }

    for (size_t r = 0; r < roofLights.size(); ++r) {
        const CLENIRoofLight& roofLight = roofLights[r];
        // The list is the room's roof lights, then the equivalents of its windows, each time.
        const std::vector<double> areas = Remember(memo ? &memo->areas : nullptr, &room, r, [&] {
            return AreasInZones(room, RoofLightDaylightAreaAtItsHeight(room, roofLight));
        });
        if (BillingZone(areas) != self) continue;

        const double area = areas[self];
        const double pn = roofLight.m_LumList.GetTotalPower(Lighting, db);
        const double fc = GetZoneFc(FcInputsOf(zone), room.GetMaintenanceFactor());
        const double fo = FoOf(zone);
        const double fd = GetDaylightDependencyFactorFdRoofLight(roofLight, room, zone, area,
                                                                 project.GetLatitude(), timeStep);
        const double energy = (td * fd + tn) * ((fc * pn) * fo) / 1000.0;
        if (daylight) {
            daylight->power += pn;
            daylight->timesFd += pn * fd;
        }
        CalcLogPrintf("    Zone %s AD (Roof Light %d) energy = kPn[%.2f] * kFc[%.2f] * kFo[%.2f] * "
                      "((ktd[%.2f] * kFd[%.2f]) + ktn[%.2f])\n",
                      zoneName, roofLight.m_iId, pn, fc, fo, td, fd, tn);
        CalcLogPrintf("    Zone %s AD (Roof Light %d) energy = %.2f/1000.0\n", zoneName, roofLight.m_iId,
                      energy);
        total += energy;
    }

    CalcLogPrintf("  Calculated AD normal energy in zone %s = %.2f\n", zoneName, total);
    LogClosingControls(zone, "AD");
    return total;
}

// ---- Room ----

double GetLightingEnergy(const CLENIRoom& room, const CLENIProject& project, unsigned timeStep) {
    const int td = room.GetTdForTimeStep(static_cast<int>(timeStep));
    const int tn = room.GetTnForTimeStep(static_cast<int>(timeStep));
    CalcLogPrintf("    Daylight hours Td = %.1f, Daylight absence hours Tn = %.1f time=%s",
                  static_cast<double>(td), static_cast<double>(tn), GetTimeStepName(timeStep).c_str());

    const int floorIndex = FloorIndexOfRoom(project, room);
    double total = 0.0;
    for (const CLENIZone& zone : room.GetZones()) {
        double zoneEnergy = 0.0;
        const double and_ = GetZoneEnergyAND(zone, room, timeStep, project.GetProducts());
        if (floorIndex < 0) {
            Log().Printf(LOG_ERROR, "Could not find floor %s in project", room.GetFloorName().c_str());
        } else {
            const double ad =
                GetZoneEnergyAD(zone, project, room, *project.GetFloorByIndex(floorIndex), timeStep);
            CalcLogPrintf("    Zone Energy (%s) AND=%.3fkWh  AD=%.2fkWh", zone.GetName().c_str(), and_, ad);
            zoneEnergy = and_ + ad;
        }
        CalcLogPrintf("    Zone Energy (%s) = %.3fW", zone.GetName().c_str(), zoneEnergy);
        total += zoneEnergy;
    }
    CalcLogPrintf("    Room Energy = %.2f", total);
    return total;
}

namespace {

// GetParasiticEnergy of a room from its lists' kept powers.
double ParasiticOfPowers(const std::vector<double>& powers, unsigned timeStep) {
    const double hours = GetParasiticHours(timeStep);
    double wp = 0.0;
    for (double power : powers)
        wp += hours * power / 1000.0;
    return wp;
}

// The room's lists' kept powers for an energy use; null in the reference calculation, which keeps
// nothing, and when a product is not found (GetListPowers).
std::shared_ptr<const std::vector<double>> KeptListPowers(const CLENIRoom& room, int energyUse,
                                                          const CLumSysDataBase& db) {
    return IsReferenceCalculation() ? nullptr : room.GetListPowers(energyUse, db);
}

} // namespace

double GetParasiticEnergy(const CLENIRoom& room, unsigned timeStep, const CLumSysDataBase& db) {
    if (const auto powers = KeptListPowers(room, Parasitic, db)) return ParasiticOfPowers(*powers, timeStep);
    const double hours = GetParasiticHours(timeStep);
    double wp = 0.0;
    for (const CLENIZone& zone : room.GetZones())
        wp += hours * zone.GetLumList().GetTotalPower(Parasitic, db) / 1000.0;
    for (const CLENIWindow& window : room.GetWindows())
        wp += hours * window.m_LumList.GetTotalPower(Parasitic, db) / 1000.0;
    for (const CLENIRoofLight& roofLight : room.GetRoofLights())
        wp += hours * roofLight.m_LumList.GetTotalPower(Parasitic, db) / 1000.0;
    return wp;
}

double GetInstalledPower(const CLENIRoom& room, int energyUse, const CLumSysDataBase& db) {
    double power = 0.0;
    if (const auto powers = KeptListPowers(room, energyUse, db)) {
        for (double listPower : *powers)
            power += listPower;
        return power;
    }
    for (const CLENIZone& zone : room.GetZones())
        power += zone.GetLumList().GetTotalPower(energyUse, db);
    for (const CLENIWindow& window : room.GetWindows())
        power += window.m_LumList.GetTotalPower(energyUse, db);
    for (const CLENIRoofLight& roofLight : room.GetRoofLights())
        power += roofLight.m_LumList.GetTotalPower(energyUse, db);
    return power;
}

LeniTimeStepResult CalculateSubLeni(const CLENIRoom& room, const CLENIProject& project, unsigned timeStep) {
    if (room.GetFloorName().empty()) {
        Log().Printf(LOG_ERROR, "CLENIRoom::CSL null parent floor");
        return EmptyLeniResult(static_cast<int>(timeStep));
    }
    if (room.GetZoneCount() == 0) return EmptyLeniResult(static_cast<int>(timeStep));

    bool opened = false;
    if (!IsCalcLoggerOpen())
        opened = StartCalcLogger(
            GetCalcLogPath(project.GetProjectFolder(),
                           GetSubLeniCalcLogFileName(room.GetFloorName(), room.GetName(), timeStep)));

    LeniTimeStepResult result;
    result.timeStep = static_cast<int>(timeStep);
    result.area = room.GetArea();
    CalcLogPrintf("  SubLeni of room <%s>, (project <%s>) TimeStep <%s> starting...\n",
                  room.GetName().c_str(), project.GetName().c_str(), GetTimeStepName(timeStep).c_str());
    CalcLogPrintf("  Room %s MF = %.2f...\n", room.GetName().c_str(), room.GetMaintenanceFactor());
    result.Wp = GetParasiticEnergy(room, timeStep, project.GetProducts());
    CalcLogPrintf("  EnergyWp=%.3fkWh (Standby,Emergency,Charging...)\n", result.Wp);
    result.Wl = GetLightingEnergy(room, project, timeStep);
    CalcLogPrintf("  kSubLeni = (EnergyWl[%.3f] + EnergyWp[%.3f]) / kRoomArea[%.3f]\n", result.Wl, result.Wp,
                  result.area);
    CalcLogPrintf("  kSubLeni = TotalEnergy[%.3f] / kRoomArea[%.3f]\n", result.Wl + result.Wp, result.area);
    CalcLogPrintf("  kSubLeni = %.3f", result.GetLENI());

    if (opened) StopCalcLogger();
    return result;
}

// ---- Floor ----

double GetLightingEnergy(const CLENIFloor& floor, const CLENIProject& project, unsigned timeStep) {
    // Rooms are independent: worked out side by side, then summed and logged in list order.
    std::vector<const CLENIRoom*> rooms;
    for (const CLENIRoom& room : floor.GetRooms())
        rooms.push_back(&room);
    std::vector<double> energies(rooms.size());
    GetRoomsLightingEnergyOnce(rooms, project, timeStep, energies.data());
    double wl = 0.0;
    for (double energy : energies)
        wl += energy;
    return wl;
}

double GetParasiticEnergy(const CLENIFloor& floor, unsigned timeStep, const CLumSysDataBase& db) {
    // Every month has the same hours: within one calculation the floor's figure is worked out
    // once for the year and once for the months, unless working it out leaves traces (a product
    // not found is reported each time).
    const int hours = GetParasiticHours(timeStep);
    double wp = 0.0;
    if (FindKeptFloorParasitic(floor, db, hours, wp)) return wp;
    bool silent = true;
    for (const CLENIRoom& room : floor.GetRooms()) {
        const auto powers = KeptListPowers(room, Parasitic, db);
        silent = silent && powers;
        wp += powers ? ParasiticOfPowers(*powers, timeStep) : GetParasiticEnergy(room, timeStep, db);
    }
    if (silent) KeepFloorParasitic(floor, db, hours, wp);
    return wp;
}

double GetInstalledPower(const CLENIFloor& floor, int energyUse, const CLumSysDataBase& db) {
    double power = 0.0;
    for (const CLENIRoom& room : floor.GetRooms())
        power += GetInstalledPower(room, energyUse, db);
    return power;
}

double GetTotalEnergy(const CLENIFloor& floor, const CLENIProject& project, unsigned timeStep) {
    const std::vector<CLENIRoom>& rooms = floor.GetRooms();
    std::vector<double> energies(rooms.size());
    // When every product is found, the standby energies leave no traces: the lighting energies
    // are then found for the whole floor at once.
    std::vector<std::shared_ptr<const std::vector<double>>> powers(rooms.size());
    bool silent = true;
    for (size_t i = 0; i < rooms.size() && silent; ++i)
        silent = (powers[i] = KeptListPowers(rooms[i], Parasitic, project.GetProducts())) != nullptr;
    if (silent) {
        std::vector<const CLENIRoom*> list;
        list.reserve(rooms.size());
        for (const CLENIRoom& room : rooms)
            list.push_back(&room);
        std::vector<double> lighting(rooms.size());
        GetRoomsLightingEnergyOnce(list, project, timeStep, lighting.data());
        for (size_t i = 0; i < rooms.size(); ++i)
            energies[i] = ParasiticOfPowers(*powers[i], timeStep) + lighting[i];
    } else {
        RunInOrder(rooms.size(), [&](size_t i) {
            const double wp = GetParasiticEnergy(rooms[i], timeStep, project.GetProducts());
            const double wl = GetRoomLightingEnergyOnce(rooms[i], project, timeStep);
            energies[i] = wp + wl;
        });
    }
    double total = 0.0;
    for (double energy : energies)
        total += energy;
    return total;
}

// ---- Building ----

double GetArea(const CLENIProject& project) {
    double area = 0.0;
    for (const CLENIFloor& floor : project.GetFloors())
        area += floor.GetInstanceCount() * floor.GetArea();
    return area;
}

double GetLightingEnergy(const CLENIProject& project, unsigned timeStep) {
    // The rooms of all floors are worked out side by side in one go, then summed floor by floor
    // in list order, as the floors' own sums are.
    std::vector<const CLENIRoom*> rooms;
    for (const CLENIFloor& floor : project.GetFloors())
        for (const CLENIRoom& room : floor.GetRooms())
            rooms.push_back(&room);
    std::vector<double> energies(rooms.size());
    GetRoomsLightingEnergyOnce(rooms, project, timeStep, energies.data());
    double wl = 0.0;
    size_t next = 0;
    for (const CLENIFloor& floor : project.GetFloors()) {
        double floorWl = 0.0;
        for (size_t i = 0; i < floor.GetRooms().size(); ++i)
            floorWl += energies[next++];
        wl += floor.GetInstanceCount() * floorWl;
    }
    return wl;
}

double GetParasiticEnergy(const CLENIProject& project, unsigned timeStep) {
    double wp = 0.0;
    for (const CLENIFloor& floor : project.GetFloors())
        wp += floor.GetInstanceCount() * GetParasiticEnergy(floor, timeStep, project.GetProducts());
    return wp;
}

double GetInstalledPower(const CLENIProject& project, int energyUse) {
    double power = 0.0;
    for (const CLENIFloor& floor : project.GetFloors())
        power += floor.GetInstanceCount() * GetInstalledPower(floor, energyUse, project.GetProducts());
    return power;
}

double GetAverageFo(const CLENIProject& project) {
    double weighted = 0.0, weights = 0.0;
    for (const CLENIFloor& floor : project.GetFloors())
        for (const CLENIRoom& room : floor.GetRooms())
            for (const CLENIZone& zone : room.GetZones()) {
                const double c = floor.GetInstanceCount() * zone.GetArea();
                weighted += c * FoOf(zone);
                weights += c;
            }
    return weights > 0.0 ? weighted / weights : 0.0;
}

LeniTimeStepResult CalculateAnnualLENI(const CLENIProject& project, unsigned timeStep) {
    CRoomPassMemo memo; // every room is worked out twice below
    StartCalcLogger(
        GetCalcLogPath(project.GetProjectFolder(), GetBuildingCalcLogFileName(project.GetName())));
    CalcLogPrintf("CalculateAnnualLENI starting for project <%s>\n", project.GetName().c_str());

    LeniTimeStepResult result;
    result.timeStep = static_cast<int>(timeStep);
    for (const CLENIFloor& floor : project.GetFloors()) {
        const double area = floor.GetInstanceCount() * floor.GetArea();
        CalcLogPrintf("  Floor %s Area=%7.2fsqmt (%d instances of this floor)", floor.GetName().c_str(), area,
                      floor.GetInstanceCount());
        result.area += area;
    }
    result.Wp = GetParasiticEnergy(project, timeStep);
    result.Wl = GetLightingEnergy(project, timeStep);

    // The building's energy line is worked out afresh, so the log shows every room a second time.
    const double wp = GetParasiticEnergy(project, timeStep);
    const double wl = GetLightingEnergy(project, timeStep);
    CalcLogPrintf("Building Energy=%7.2fkWh, Building Area=%7.2fsqmt", wp + wl, result.area);
    CalcLogPrintf("Building %s LENI %7.2fkWh", GetTimeStepName(timeStep).c_str(), result.GetLENI());
    StopCalcLogger();
    return result;
}

LeniTimeStepResult CalculateLENIofFloor(const CLENIProject& project, const std::string& floorName,
                                        unsigned timeStep) {
    CRoomPassMemo memo; // every room is worked out twice below
    StartCalcLogger(GetCalcLogPath(project.GetProjectFolder(), GetFloorCalcLogFileName(floorName)));
    CalcLogPrintf("CalculateLENIofFloor starting for project <%s> floor <%s> time=<%s>\n",
                  project.GetName().c_str(), floorName.c_str(), GetTimeStepName(timeStep).c_str());

    const int index = project.GetFloorIndexByName(floorName);
    if (index < 0) {
        Log().Printf(LOG_INFO, "CLENIProject::GFBN unrecognised floor: <%s>", floorName.c_str());
        Log().Printf(LOG_ERROR, "CENIProject::CLENIOF floor not found: <%s>", floorName.c_str());
        StopCalcLogger();
        return EmptyLeniResult(static_cast<int>(timeStep));
    }
    const CLENIFloor& floor = *project.GetFloorByIndex(index);

    LeniTimeStepResult result;
    result.timeStep = static_cast<int>(timeStep);
    const double total = GetTotalEnergy(floor, project, timeStep);
    result.area = floor.GetArea();
    CalcLogPrintf("Floor Energy=%7.2fkWh, Floor Area=%7.2fsqmt", total, result.area);
    result.Wp = GetParasiticEnergy(floor, timeStep, project.GetProducts());
    result.Wl = GetLightingEnergy(floor, project, timeStep);
    CalcLogPrintf("Floor Annual LENI %7.2fkWh", result.GetLENI());
    StopCalcLogger();
    return result;
}
