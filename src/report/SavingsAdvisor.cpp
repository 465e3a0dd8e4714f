#include "report/SavingsAdvisor.h"

#include "base/DeferredOutput.h"
#include "base/OrderedParallel.h"
#include "base/TextUtils.h"
#include "calc/EnergyCalc.h"
#include "calc/RoomPassMemo.h"
#include "model/LENIProject.h"
#include "tables/LENITables.h"

#include <algorithm>
#include <cstdio>

namespace {

struct ZoneRef {
    int floor, room, zone;
};

CLENIZone& ZoneOf(CLENIProject& project, const ZoneRef& ref) {
    CLENIRoom& room = *project.GetFloorByIndex(ref.floor)->GetRoomByIndex(ref.room);
    return *room.FindZone(room.GetZones()[static_cast<size_t>(ref.zone)].GetName());
}

ZoneControls ControlsOf(const CLENIZone& zone) {
    return {zone.GetOccupancyControlSystem(), zone.GetControlTechnique(), zone.GetConstantIlluminanceControl(),
            zone.GetFcc()};
}

void SetControls(CLENIZone& zone, const ZoneControls& controls) {
    zone.SetOccupancyControlSystem(controls.occupancy);
    zone.SetControlTechnique(controls.technique);
    zone.SetConstantIlluminanceControl(controls.constantIlluminance);
    zone.SetFcc(controls.fcc);
}

// The system is known by the first character of its name, the technique by its whole name.
bool SameOccupancy(const std::string& a, const std::string& b) {
    return !a.empty() && !b.empty() && a[0] == b[0];
}

std::string Fcc(double fcc) {
    return FormatDouble("%.2f", fcc);
}

// Every choice of the zone's controls but its own: each occupancy system with each technique,
// with constant illuminance control as the zone has it and on. Switched on, it takes the Fcc the
// user gave the zone (one below 1), else the given one.
std::vector<ZoneControls> Alternatives(const ZoneControls& now, double defaultFcc) {
    const double fcc = now.fcc > 0.0 && now.fcc < 1.0 ? now.fcc : defaultFcc;
    std::vector<std::pair<bool, double>> illuminance{{now.constantIlluminance, now.fcc}};
    if (!now.constantIlluminance || now.fcc != fcc) illuminance.emplace_back(true, fcc);
    std::vector<ZoneControls> all;
    for (const std::string& occupancy : CLENITables::GetOccupancySystemNames())
        for (const std::string& technique : CLENITables::GetControlTechniqueNames())
            for (const auto& [on, value] : illuminance) {
                const ZoneControls c{occupancy, technique, on, value};
                if (SameOccupancy(c.occupancy, now.occupancy) && EqualsNoCase(c.technique, now.technique) &&
                    c.constantIlluminance == now.constantIlluminance && c.fcc == now.fcc)
                    continue;
                all.push_back(c);
            }
    return all;
}

std::string Label(const ZoneControls& now, const ZoneControls& option) {
    std::vector<std::string> parts;
    if (!SameOccupancy(option.occupancy, now.occupancy)) parts.push_back("occupancy " + option.occupancy.substr(0, 1));
    if (!EqualsNoCase(option.technique, now.technique))
        parts.push_back("daylight " + CLENITables::GetControlTechniqueRoman(option.technique));
    if (option.constantIlluminance != now.constantIlluminance || option.fcc != now.fcc)
        parts.push_back("constant illuminance (Fcc " + Fcc(option.fcc) + ")");
    std::string label;
    for (const std::string& part : parts)
        label += (label.empty() ? "" : " + ") + part;
    return label;
}

// The building's annual energy and LENI, as the building's calculation sums them: Wp, then Wl room
// by room within each floor and floor by floor times its instance count.
struct Building {
    LeniTimeStepResult result;
    std::vector<std::vector<double>> roomWl; // by floor and room
};

// Wl of the listed rooms as they are now, in one top-level calculation (the model holds still
// meanwhile); rooms whose content was worked out before come from the room result memo.
std::vector<double> RoomEnergies(const CLENIProject& project, const std::vector<const CLENIRoom*>& rooms) {
    CRoomPassMemo pass;
    std::vector<double> energies(rooms.size());
    RunInOrder(rooms.size(), [&](size_t i) { energies[i] = GetRoomLightingEnergyOnce(*rooms[i], project, 0); });
    return energies;
}

Building Calculate(const CLENIProject& project) {
    Building b;
    CRoomPassMemo pass;
    b.result.area = GetArea(project);
    b.result.Wp = GetParasiticEnergy(project, 0);
    b.result.Wl = GetLightingEnergy(project, 0);
    std::vector<const CLENIRoom*> rooms;
    for (const CLENIFloor& floor : project.GetFloors())
        for (const CLENIRoom& room : floor.GetRooms())
            rooms.push_back(&room);
    // The rooms were just worked out: their reports are not made twice.
    CDeferredOutput repeated;
    std::vector<double> energies;
    {
        CDeferredOutput::Scope capture(repeated);
        energies = RoomEnergies(project, rooms);
    }
    size_t next = 0;
    for (const CLENIFloor& floor : project.GetFloors()) {
        const auto first = energies.begin() + static_cast<std::ptrdiff_t>(next);
        next += floor.GetRooms().size();
        b.roomWl.emplace_back(first, energies.begin() + static_cast<std::ptrdiff_t>(next));
    }
    return b;
}

// The building's Wl with one room's Wl replaced, summed in the calculation's order.
double WlWith(const CLENIProject& project, const Building& b, const ZoneRef& at, double roomWl) {
    double wl = 0.0;
    for (size_t f = 0; f < b.roomWl.size(); ++f) {
        double floorWl = 0.0;
        for (size_t r = 0; r < b.roomWl[f].size(); ++r)
            floorWl += (static_cast<int>(f) == at.floor && static_cast<int>(r) == at.room) ? roomWl : b.roomWl[f][r];
        wl += project.GetFloors()[f].GetInstanceCount() * floorWl;
    }
    return wl;
}

} // namespace

SavingsAdvice AdviseSavings(const CLENIProject& original, double fcc) {
    // The desktop program's memo when it has one; otherwise one of a modest size: the rooms of
    // the options are worked out once each and not asked for again.
    CRoomResultMemo memo(size_t{64} << 20);
    CLENIProject project = original;
    SavingsAdvice advice;
    const Building before = Calculate(project);
    advice.area = before.result.area;
    advice.energyBefore = before.result.Wp + before.result.Wl;
    advice.leniBefore = before.result.GetLENI();

    // Zones by their place in their room: round k changes zone k of every room at once, one
    // choice per round, so each round is one calculation of the changed rooms.
    std::vector<ZoneRef> zones;
    size_t mostZones = 0;
    const auto& floors = project.GetFloors();
    for (size_t f = 0; f < floors.size(); ++f)
        for (size_t r = 0; r < floors[f].GetRooms().size(); ++r) {
            const size_t count = floors[f].GetRooms()[r].GetZones().size();
            mostZones = std::max(mostZones, count);
            for (size_t z = 0; z < count; ++z)
                zones.push_back({static_cast<int>(f), static_cast<int>(r), static_cast<int>(z)});
        }
    std::vector<std::vector<ZoneControls>> choices(zones.size());
    std::vector<ZoneControls> current(zones.size());
    std::vector<std::vector<double>> roomWl(zones.size());
    for (size_t i = 0; i < zones.size(); ++i) {
        current[i] = ControlsOf(ZoneOf(project, zones[i]));
        choices[i] = Alternatives(current[i], fcc);
        roomWl[i].resize(choices[i].size());
    }
    for (size_t k = 0; k < mostZones; ++k) {
        std::vector<size_t> inRound;
        size_t rounds = 0;
        for (size_t i = 0; i < zones.size(); ++i)
            if (static_cast<size_t>(zones[i].zone) == k) {
                inRound.push_back(i);
                rounds = std::max(rounds, choices[i].size());
            }
        for (size_t c = 0; c < rounds; ++c) {
            std::vector<size_t> changed;
            std::vector<const CLENIRoom*> rooms;
            for (size_t i : inRound)
                if (c < choices[i].size()) {
                    SetControls(ZoneOf(project, zones[i]), choices[i][c]);
                    changed.push_back(i);
                    rooms.push_back(project.GetFloorByIndex(zones[i].floor)->GetRoomByIndex(zones[i].room));
                }
            // What the calculation reports of a room (a window it cannot handle) it reported in the
            // first calculation; the options would repeat it dozens of times, a box each.
            CDeferredOutput repeated;
            std::vector<double> energies;
            {
                CDeferredOutput::Scope capture(repeated);
                energies = RoomEnergies(project, rooms);
            }
            for (size_t j = 0; j < changed.size(); ++j) {
                roomWl[changed[j]][c] = energies[j];
                SetControls(ZoneOf(project, zones[changed[j]]), current[changed[j]]);
            }
        }
    }

    CLENIProject allBest = original;
    for (size_t i = 0; i < zones.size(); ++i) {
        const ZoneRef& at = zones[i];
        const CLENIFloor& floor = floors[static_cast<size_t>(at.floor)];
        const CLENIRoom& room = floor.GetRooms()[static_cast<size_t>(at.room)];
        std::vector<AdviceOption> options;
        for (size_t c = 0; c < choices[i].size(); ++c) {
            AdviceOption o;
            o.floor = at.floor;
            o.room = at.room;
            o.zone = at.zone;
            o.floorName = floor.GetName();
            o.roomName = room.GetName();
            o.zoneName = room.GetZones()[static_cast<size_t>(at.zone)].GetName();
            o.controls = choices[i][c];
            o.label = Label(current[i], o.controls);
            LeniTimeStepResult after = before.result;
            after.Wl = WlWith(project, before, at, roomWl[i][c]);
            o.energyBefore = advice.energyBefore;
            o.energyAfter = after.Wp + after.Wl;
            o.saved = o.energyBefore - o.energyAfter;
            o.leniAfter = after.GetLENI();
            if (o.saved > 0.0) options.push_back(o);
        }
        // Most saved first; of options that save the same, the one that changes least stands for
        // them all (a daylight technique changes nothing in a zone that bills no opening).
        auto changes = [](const AdviceOption& o) { return std::count(o.label.begin(), o.label.end(), '+'); };
        std::stable_sort(options.begin(), options.end(), [&](const AdviceOption& a, const AdviceOption& b) {
            return a.saved != b.saved ? a.saved > b.saved : changes(a) < changes(b);
        });
        options.erase(std::unique(options.begin(), options.end(),
                                  [](const AdviceOption& a, const AdviceOption& b) { return a.energyAfter == b.energyAfter; }),
                      options.end());
        if (!options.empty()) {
            ++advice.zonesImproved;
            SetControls(ZoneOf(allBest, at), options.front().controls);
        }
        advice.options.insert(advice.options.end(), options.begin(), options.end());
    }
    CDeferredOutput repeated;
    CDeferredOutput::Scope capture(repeated);
    const Building best = Calculate(allBest);
    advice.energyAllBest = best.result.Wp + best.result.Wl;
    advice.leniAllBest = best.result.GetLENI();
    return advice;
}

bool ApplyAdviceOption(CLENIProject& project, const AdviceOption& option) {
    CLENIRoom* room = project.FindRoom(option.floorName, option.roomName);
    CLENIZone* zone = room ? room->FindZone(option.zoneName) : nullptr;
    if (!zone) return false;
    SetControls(*zone, option.controls);
    return true;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string GetAdviceCsv(const SavingsAdvice& advice, const CLENIProject& project) {
    const auto& price = project.GetEnergyPrice();
    const auto& co2 = project.GetCO2Factor();
    std::string csv = "floor,room,zone,option,energy before (kWh/year),energy after (kWh/year),"
                      "saved (kWh/year),LENI after (kWh/(m2 year))";
    if (price) csv += ",cost saved (per year)";
    if (co2) csv += ",CO2 saved (kg/year)";
    csv += "\n";
    auto row = [&](const std::string& floor, const std::string& room, const std::string& zone,
                   const std::string& option, double before, double after, double leni) {
        const double saved = before - after;
        csv += CsvField(floor) + "," + CsvField(room) + "," + CsvField(zone) + "," + CsvField(option) + "," +
               FormatDouble("%.2f", before) + "," + FormatDouble("%.2f", after) + "," + FormatDouble("%.2f", saved) +
               "," + FormatDouble("%.2f", leni);
        if (price) csv += "," + FormatDouble("%.2f", saved * *price);
        if (co2) csv += "," + FormatDouble("%.2f", saved * *co2);
        csv += "\n";
    };
    row("(building)", "", "", "every zone's best option", advice.energyBefore, advice.energyAllBest,
        advice.leniAllBest);
    for (const AdviceOption& o : advice.options)
        row(o.floorName, o.roomName, o.zoneName, o.label, o.energyBefore, o.energyAfter, o.leniAfter);
    return csv;
}
