#include "report/RoomSchedule.h"

#include "base/TextUtils.h"
#include "calc/CalcLog.h"
#include "calc/EnergyCalc.h"
#include "calc/ZoneFactors.h"
#include "model/LENIProject.h"
#include "products/LumSysDataBase.h"
#include "report/CostAndTarget.h"

#include <cmath>
#include <limits>

namespace {

ZoneScheduleFigures ZoneFigures(const CLENIProject& project, const CLENIFloor& floor, const CLENIRoom& room,
                                const CLENIZone& zone) {
    ZoneScheduleFigures z;
    z.name = zone.GetName();
    z.area = zone.GetArea();
    z.Fo = FoOf(zone);
    z.Fc = GetZoneFc(FcInputsOf(zone), room.GetMaintenanceFactor());
    // The zone's own luminaires are not daylit (Fd 1); those of the openings it bills have theirs.
    const double own = zone.GetLumList().GetTotalPower(Lighting, project.GetProducts());
    ZoneDaylightPower daylight;
    GetZoneEnergyAD(zone, project, room, floor, 0, &daylight);
    z.power = own + daylight.power;
    z.Fd = z.power > 0.0 ? (own + daylight.timesFd) / z.power : 1.0;
    return z;
}

double NoValue() {
    return std::numeric_limits<double>::quiet_NaN();
}

// "[Offices]Cellular office" shows as "Cellular office": the building type is the project's.
std::string RoomTypeText(const RoomScheduleRow& row) {
    const size_t close = row.roomType.rfind(']');
    return row.roomType.rfind('[', 0) == 0 && close != std::string::npos ? row.roomType.substr(close + 1)
                                                                         : row.roomType;
}

} // namespace

std::vector<RoomScheduleRow> GetRoomSchedule(const CLENIProject& project, const LENIProjectResults& results) {
    CCalcLogQuiet quiet; // the factors repeat what the calculation has logged
    std::vector<RoomScheduleRow> rows;
    const std::vector<CLENIFloor>& floors = project.GetFloors();
    for (size_t f = 0; f < floors.size() && f < results.rooms.size(); ++f) {
        const std::vector<CLENIRoom>& rooms = floors[f].GetRooms();
        for (size_t r = 0; r < rooms.size() && r < results.rooms[f].size(); ++r) {
            const CLENIRoom& room = rooms[r];
            const LENIObjectResults& result = results.rooms[f][r];
            RoomScheduleRow row;
            row.floorIndex = f;
            row.floor = floors[f].GetName();
            row.room = room.GetName();
            row.roomType = room.GetRoomType();
            row.area = result.area;
            row.installedPower = result.installedPower;
            row.powerDensity = row.area > 0.0 ? row.installedPower / row.area : 0.0;
            row.td = room.GetTd();
            row.tn = room.GetTn();
            row.Wl = result.steps[0].Wl;
            row.Wp = result.steps[0].Wp;
            row.LENI = result.steps[0].GetLENI();
            const double energy = row.Wl + row.Wp;
            row.cost = project.GetEnergyPrice() ? energy * *project.GetEnergyPrice() : NoValue();
            row.CO2 = project.GetCO2Factor() ? energy * *project.GetCO2Factor() : NoValue();
            row.targetMark = GetTargetMark(project, row.LENI);
            double weights = 0.0;
            for (const CLENIZone& zone : room.GetZones()) {
                row.zones.push_back(ZoneFigures(project, floors[f], room, zone));
                const ZoneScheduleFigures& z = row.zones.back();
                row.Fo += z.area * z.Fo;
                row.Fc += z.area * z.Fc;
                row.Fd += z.area * z.Fd;
                weights += z.area;
            }
            row.hasZones = weights > 0.0;
            if (row.hasZones) {
                row.Fo /= weights;
                row.Fc /= weights;
                row.Fd /= weights;
            } else {
                row.Fo = row.Fc = row.Fd = NoValue();
            }
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

std::vector<RoomScheduleColumn> GetRoomScheduleColumns(const CLENIProject& project) {
    std::vector<RoomScheduleColumn> columns = {
        {"Room", "", nullptr, 0.13, nullptr, [](const RoomScheduleRow& r) { return r.room; }},
        {"Room type", "", nullptr, 0.19, nullptr, RoomTypeText},
        {"Area", "m\u00b2", "%.2f", 0.075, [](const RoomScheduleRow& r) { return r.area; }, nullptr},
        {"Pn", "W", "%.2f", 0.075, [](const RoomScheduleRow& r) { return r.installedPower; }, nullptr},
        {"Pn/A", "W/m\u00b2", "%.2f", 0.06, [](const RoomScheduleRow& r) { return r.powerDensity; }, nullptr},
        {"td", "h", "%.0f", 0.055, [](const RoomScheduleRow& r) { return double(r.td); }, nullptr},
        {"tn", "h", "%.0f", 0.05, [](const RoomScheduleRow& r) { return double(r.tn); }, nullptr},
        {"Fo", "", "%.2f", 0.045, [](const RoomScheduleRow& r) { return r.Fo; }, nullptr},
        {"Fc", "", "%.2f", 0.045, [](const RoomScheduleRow& r) { return r.Fc; }, nullptr},
        {"Fd", "", "%.2f", 0.045, [](const RoomScheduleRow& r) { return r.Fd; }, nullptr},
        {"Wl", "kWh", "%.2f", 0.085, [](const RoomScheduleRow& r) { return r.Wl; }, nullptr},
        {"Wp", "kWh", "%.2f", 0.07, [](const RoomScheduleRow& r) { return r.Wp; }, nullptr},
        {"LENI", "kWh/(m\u00b2 y)", "%.2f", 0.11, [](const RoomScheduleRow& r) { return r.LENI; }, nullptr},
    };
    if (project.GetEnergyPrice())
        columns.push_back({"Cost", "", "%.2f", 0.07, [](const RoomScheduleRow& r) { return r.cost; }, nullptr});
    if (project.GetCO2Factor())
        columns.push_back({"CO2", "kg", "%.2f", 0.07, [](const RoomScheduleRow& r) { return r.CO2; }, nullptr});
    if (project.GetLeniTarget())
        columns.push_back({"Target", "", nullptr, 0.0, nullptr, [](const RoomScheduleRow& r) { return r.targetMark; }});
    return columns;
}

std::string FormatScheduleCell(const RoomScheduleColumn& column, const RoomScheduleRow& row) {
    if (!column.format) return column.text(row);
    const double value = column.value(row);
    return std::isfinite(value) ? FormatDouble(column.format, value) : "-";
}
