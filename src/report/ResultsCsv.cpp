#include "report/ResultsCsv.h"

#include "base/FileUtils.h"
#include "base/Logger.h"
#include "base/TextUtils.h"
#include "calc/CalcLog.h"
#include "calc/EnergyCalc.h"
#include "model/LENIProject.h"
#include "products/ZoneObjList.h"
#include "report/CostAndTarget.h"
#include "report/ResultsExport.h"
#include "report/RoomSchedule.h"

#include <cmath>
#include <vector>

namespace {

// The columns in order; a row fills those it has and leaves the others empty.
enum Column {
    LEVEL,
    BUILDING,
    FLOOR,
    ROOM,
    ZONE,
    INSTANCES,
    ROOM_TYPE,
    AREA,
    POWER,
    POWER_DENSITY,
    TD,
    TN,
    FO,
    FC,
    FD,
    WL,
    WP,
    W,
    LENI,
    MONTHS, // Wl, Wp and LENI of each month from here
    AFTER_MONTHS = MONTHS + 36,
    LOCATION = AFTER_MONTHS,
    BUILDING_TYPE,
    LATITUDE,
    LONGITUDE,
    YEAR_TO_BE_BUILT,
    YEAR_BUILT,
    HEIGHT,
    WINDOWS_AREA,
    FLOOR_COUNT,
    STANDBY_POWER,
    CHARGING_POWER,
    COST, // the year's, where the project sets a price, an emission factor, a target
    CO2,
    TARGET,
    COLUMN_COUNT
};

std::vector<std::string> Header() {
    std::vector<std::string> h(COLUMN_COUNT);
    h[LEVEL] = "Level";
    h[BUILDING] = "Building";
    h[FLOOR] = "Floor";
    h[ROOM] = "Room";
    h[ZONE] = "Zone";
    h[INSTANCES] = "Floor instances";
    h[ROOM_TYPE] = "Room type";
    h[AREA] = "Area (m\u00b2)";
    h[POWER] = "Installed lighting power Pn (W)";
    h[POWER_DENSITY] = "Pn per area (W/m\u00b2)";
    h[TD] = "Daylight hours td (h)";
    h[TN] = "Night hours tn (h)";
    h[FO] = "Fo";
    h[FC] = "Fc";
    h[FD] = "Fd";
    h[WL] = "Annual Wl (kWh)";
    h[WP] = "Annual Wp (kWh)";
    h[W] = "Annual W (kWh)";
    h[LENI] = "Annual LENI (kWh/(m\u00b2 year))";
    for (int m = 1; m <= 12; ++m) {
        const std::string month = GetTimeStepName(unsigned(m));
        h[MONTHS + 3 * (m - 1)] = month + " Wl (kWh)";
        h[MONTHS + 3 * (m - 1) + 1] = month + " Wp (kWh)";
        h[MONTHS + 3 * (m - 1) + 2] = month + " LENI (kWh/m\u00b2)";
    }
    h[LOCATION] = "Location";
    h[BUILDING_TYPE] = "Dominant building type";
    h[LATITUDE] = "Latitude";
    h[LONGITUDE] = "Longitude";
    h[YEAR_TO_BE_BUILT] = "Year to be built";
    h[YEAR_BUILT] = "Year built";
    h[HEIGHT] = "Total building height (m)";
    h[WINDOWS_AREA] = "Total windows area (m\u00b2)";
    h[FLOOR_COUNT] = "Number of floors";
    h[STANDBY_POWER] = "Installed standby power Ppc (W)";
    h[CHARGING_POWER] = "Installed charging power Pem (W)";
    h[COST] = "Annual cost";
    h[CO2] = "Annual CO2 (kg)";
    h[TARGET] = "LENI target";
    return h;
}

// Numbers as the results export writes them; none (not a number) leaves the field empty.
std::string Number(double value) {
    return std::isfinite(value) ? FormatDouble("%.7f", value) : std::string();
}

void PutResults(std::vector<std::string>& row, const LENIObjectResults& r) {
    row[AREA] = Number(r.area);
    row[POWER] = Number(r.installedPower);
    row[POWER_DENSITY] = Number(r.area > 0.0 ? r.installedPower / r.area : 0.0);
    const LeniTimeStepResult& year = r.steps[0];
    row[WL] = Number(year.Wl);
    row[WP] = Number(year.Wp);
    row[W] = Number(year.Wl + year.Wp);
    row[LENI] = Number(r.area > 0.0 ? (year.Wl + year.Wp) / r.area : 0.0);
    for (int m = 1; m <= 12; ++m) {
        const LeniTimeStepResult& s = r.steps[m];
        row[MONTHS + 3 * (m - 1)] = Number(s.Wl);
        row[MONTHS + 3 * (m - 1) + 1] = Number(s.Wp);
        row[MONTHS + 3 * (m - 1) + 2] = Number(r.area > 0.0 ? (s.Wl + s.Wp) / r.area : 0.0);
    }
}

// The year's cost, CO2 and target mark of an object, each where the project sets its value.
void PutCostAndTarget(std::vector<std::string>& row, const CLENIProject& project, const LENIObjectResults& r) {
    const double energy = r.steps[0].Wl + r.steps[0].Wp;
    if (project.GetEnergyPrice()) row[COST] = Number(energy * *project.GetEnergyPrice());
    if (project.GetCO2Factor()) row[CO2] = Number(energy * *project.GetCO2Factor());
    row[TARGET] = GetTargetMark(project, r.area > 0.0 ? energy / r.area : 0.0);
}

void AppendRow(std::string& out, const std::vector<std::string>& row) {
    for (size_t i = 0; i < row.size(); ++i) {
        if (i > 0) out += ',';
        out += FormatCsvField(row[i]);
    }
    out += "\r\n";
}

} // namespace

std::string FormatCsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string BuildResultsCsv(const CLENIProject& project) {
    LENIProjectResults results;
    CalculateProjectResults(project, results);
    const std::vector<RoomScheduleRow> schedule = GetRoomSchedule(project, results);

    std::string out;
    AppendRow(out, Header());
    std::vector<std::string> row(COLUMN_COUNT);
    row[LEVEL] = "Building";
    row[BUILDING] = project.GetName();
    PutResults(row, results.building);
    PutCostAndTarget(row, project, results.building);
    row[FO] = Number(GetAverageFo(project));
    row[LOCATION] = project.GetLocation();
    row[BUILDING_TYPE] = project.GetDominantBuildingType();
    row[LATITUDE] = Number(project.GetLatitude());
    row[LONGITUDE] = Number(project.GetLongitude());
    row[YEAR_TO_BE_BUILT] = StrPrintf("%d", project.GetYearToBeBuilt());
    row[YEAR_BUILT] = StrPrintf("%d", project.GetYearBuilt());
    row[HEIGHT] = Number(GetTotalBuildingHeight(project));
    row[WINDOWS_AREA] = Number(GetTotalWindowsArea(project));
    row[FLOOR_COUNT] = StrPrintf("%d", GetNumberOfFloors(project));
    row[STANDBY_POWER] = Number(GetInstalledBuildingPower(project, Standby));
    row[CHARGING_POWER] = Number(GetInstalledBuildingPower(project, Charging));
    AppendRow(out, row);

    const std::vector<CLENIFloor>& floors = project.GetFloors();
    size_t next = 0; // the schedule's rows follow the floors and rooms in order
    for (size_t f = 0; f < floors.size() && f < results.floors.size(); ++f) {
        row.assign(COLUMN_COUNT, std::string());
        row[LEVEL] = "Floor";
        row[BUILDING] = project.GetName();
        row[FLOOR] = floors[f].GetName();
        row[INSTANCES] = StrPrintf("%d", floors[f].GetInstanceCount());
        PutResults(row, results.floors[f]);
        PutCostAndTarget(row, project, results.floors[f]);
        AppendRow(out, row);
        for (size_t r = 0; r < results.rooms[f].size() && next < schedule.size(); ++r, ++next) {
            const RoomScheduleRow& room = schedule[next];
            row.assign(COLUMN_COUNT, std::string());
            row[LEVEL] = "Room";
            row[BUILDING] = project.GetName();
            row[FLOOR] = room.floor;
            row[ROOM] = room.room;
            row[ROOM_TYPE] = room.roomType;
            PutResults(row, results.rooms[f][r]);
            PutCostAndTarget(row, project, results.rooms[f][r]);
            row[TD] = StrPrintf("%d", room.td);
            row[TN] = StrPrintf("%d", room.tn);
            row[FO] = Number(room.Fo);
            row[FC] = Number(room.Fc);
            row[FD] = Number(room.Fd);
            AppendRow(out, row);
            for (const ZoneScheduleFigures& zone : room.zones) {
                row.assign(COLUMN_COUNT, std::string());
                row[LEVEL] = "Zone";
                row[BUILDING] = project.GetName();
                row[FLOOR] = room.floor;
                row[ROOM] = room.room;
                row[ZONE] = zone.name;
                row[AREA] = Number(zone.area);
                row[POWER] = Number(zone.power);
                row[POWER_DENSITY] = Number(zone.area > 0.0 ? zone.power / zone.area : 0.0);
                row[FO] = Number(zone.Fo);
                row[FC] = Number(zone.Fc);
                row[FD] = Number(zone.Fd);
                AppendRow(out, row);
            }
        }
    }
    return out;
}

bool ExportResultsCsv(const CLENIProject& project, const std::string& path) {
    std::string reason;
    if (!WriteFileSafely(fs::u8path(path), BuildResultsCsv(project), &reason)) {
        Log().Printf(LOG_ERROR, "Could not write the CSV file:\n%s\n%s", path.c_str(), reason.c_str());
        return false;
    }
    return true;
}
