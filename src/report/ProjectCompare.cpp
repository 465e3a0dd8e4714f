#include "report/ProjectCompare.h"

#include "base/TextUtils.h"
#include "calc/CalcLog.h"
#include "calc/EnergyCalc.h"
#include "calc/RoomPassMemo.h"
#include "model/LENIProject.h"
#include "report/ResultsExport.h"
#include "report/SavingsAdvisor.h"

namespace {

bool Calculate(const CLENIProject& project, LENIProjectResults& results) {
    // Each project holds still while its thirteen steps are worked out.
    CReportRoomMemo memo;
    CReportGeometryMemo geometry;
    return CalculateProjectResults(project, results);
}

bool SameResults(const LENIObjectResults& a, const LENIObjectResults& b) {
    if (a.area != b.area || a.installedPower != b.installedPower) return false;
    for (int step = 0; step < kLeniTimeSteps; ++step)
        if (a.steps[step].Wl != b.steps[step].Wl || a.steps[step].Wp != b.steps[step].Wp) return false;
    return true;
}

int FindByName(const std::vector<std::string>& names, const std::string& name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (EqualsNoCase(names[i], name)) return static_cast<int>(i);
    return -1;
}

template <class T> std::vector<std::string> NamesOf(const std::vector<T>& objects) {
    std::vector<std::string> names;
    for (const T& object : objects)
        names.push_back(object.GetName());
    return names;
}

// Appends the rows of items matched by name: A's order, then B's items A lacks.
template <class Add>
void Match(const std::vector<std::string>& inA, const std::vector<std::string>& inB, Add add) {
    for (size_t i = 0; i < inA.size(); ++i)
        add(static_cast<int>(i), FindByName(inB, inA[i]));
    for (size_t j = 0; j < inB.size(); ++j)
        if (FindByName(inA, inB[j]) < 0) add(-1, static_cast<int>(j));
}

// Two decimals; a difference that rounds to nothing reads 0.00, never -0.00.
std::string Number(double value) {
    const std::string text = FormatDouble("%.2f", value);
    return text == "-0.00" ? "0.00" : text;
}

} // namespace

std::string CompareRow::Status() const {
    if (!inA) return "added";
    if (!inB) return "removed";
    return SameResults(a, b) ? "same" : "changed";
}

bool CompareProjects(const CLENIProject& a, const CLENIProject& b, ProjectComparison& comparison) {
    LENIProjectResults ra, rb;
    comparison = ProjectComparison();
    if (!Calculate(a, ra) || !Calculate(b, rb)) return false;
    CompareRow building;
    building.inA = building.inB = true;
    building.a = ra.building;
    building.b = rb.building;
    comparison.rows.push_back(building);
    Match(NamesOf(a.GetFloors()), NamesOf(b.GetFloors()), [&](int fa, int fb) {
        CompareRow floor;
        floor.level = COMPARE_FLOOR;
        floor.inA = fa >= 0;
        floor.inB = fb >= 0;
        floor.floor = floor.inA ? a.GetFloors()[fa].GetName() : b.GetFloors()[fb].GetName();
        if (floor.inA) floor.a = ra.floors[fa];
        if (floor.inB) floor.b = rb.floors[fb];
        comparison.rows.push_back(floor);
        const std::vector<std::string> none;
        const std::vector<std::string> roomsA = floor.inA ? NamesOf(a.GetFloors()[fa].GetRooms()) : none;
        const std::vector<std::string> roomsB = floor.inB ? NamesOf(b.GetFloors()[fb].GetRooms()) : none;
        Match(roomsA, roomsB, [&](int ia, int ib) {
            CompareRow room;
            room.level = COMPARE_ROOM;
            room.floor = floor.floor;
            room.inA = ia >= 0;
            room.inB = ib >= 0;
            room.room = room.inA ? roomsA[ia] : roomsB[ib];
            if (room.inA) room.a = ra.rooms[fa][ia];
            if (room.inB) room.b = rb.rooms[fb][ib];
            comparison.rows.push_back(room);
        });
    });
    return true;
}

std::string GetComparisonCsv(const ProjectComparison& comparison) {
    std::string csv = "level,floor,room,status,period";
    for (const char* value : {"area (m2)", "power (W)", "Wl (kWh)", "Wp (kWh)", "LENI (kWh/m2)"})
        for (const char* side : {"A", "B", "B-A"})
            csv += std::string(",") + value + " " + side;
    csv += "\n";
    static const char* const kLevels[] = {"building", "floor", "room"};
    for (const CompareRow& row : comparison.rows) {
        const std::string status = row.Status();
        for (int step = 0; step < kLeniTimeSteps; ++step) {
            csv += std::string(kLevels[row.level]) + "," + CsvField(row.floor) + "," + CsvField(row.room) + "," +
                   status + "," + GetTimeStepName(static_cast<unsigned>(step));
            const LeniTimeStepResult& sa = row.a.steps[step];
            const LeniTimeStepResult& sb = row.b.steps[step];
            const double values[5][2] = {{row.a.area, row.b.area},
                                         {row.a.installedPower, row.b.installedPower},
                                         {sa.Wl, sb.Wl},
                                         {sa.Wp, sb.Wp},
                                         {sa.GetLENI(), sb.GetLENI()}};
            for (const auto& v : values) {
                csv += "," + (row.inA ? Number(v[0]) : std::string());
                csv += "," + (row.inB ? Number(v[1]) : std::string());
                csv += "," + (row.inA && row.inB ? Number(v[1] - v[0]) : std::string());
            }
            csv += "\n";
        }
    }
    return csv;
}
