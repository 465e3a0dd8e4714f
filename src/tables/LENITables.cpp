#include "tables/LENITables.h"

#include "base/Logger.h"
#include "base/TextUtils.h"

#include <cmath>
#include <iterator>

namespace {

// clang-format off
// Occupancy dependency factor Fo against absence factor Fa per occupancy control system (EN 15193,
// Table E.1). The names, multiple blanks included, are shown to the user and stored in zones.
const CLENITables::OccupancySystem kOccupancySystemRows[] = {
    // name                                                                                         Fa                         Fo
    {"1.Manual On/Off Switch",                                                                      {0.0, 0.1, 0.2, 0.9, 1.0}, {1.0, 1.0,   1.0,  0.3,  0.0}},
    {"2.Manual On/Off switch + additional automatic sweeping extinction signal,  and  Auto on/Dimmed", {0.0, 0.1, 0.2, 0.9, 1.0}, {1.0, 0.975, 0.95, 0.25, 0.0}},
    {"3.Auto on/Auto off    and    Manual on/ Dimmed",                                              {0.0, 0.1, 0.2, 0.9, 1.0}, {1.0, 0.95,  0.9,  0.2,  0.0}},
    {"4.Manual on/Auto Off",                                                                        {0.0, 0.1, 0.2, 0.9, 1.0}, {1.0, 0.9,   0.8,  0.1,  0.0}},
};

// Maintained illuminance levels a zone may require, in lux.
const double kLuxChoiceRows[] = {20, 30, 50, 75, 100, 150, 200, 300, 500, 750, 1000, 1500, 2000, 5000};

// Lighting control techniques with their lighting control factor Fdc (EN 15193, Table F.16).
const CLENITables::ControlTechnique kControlTechniqueRows[] = {
    //                                                            weak                  medium                strong
    // name                                              roman    300    500    750     300    500    750     300    500    750   (lx)
    {"Manual",                                           "I",    {0.50,  0.47,  0.44,   0.55,  0.52,  0.49,   0.60,  0.57,  0.54}},
    {"Automatic Switched On/Off",                        "II",   {0.58,  0.59,  0.59,   0.63,  0.63,  0.62,   0.67,  0.66,  0.65}},
    {"Automatic Switched On/Off In Stages",              "III",  {0.65,  0.70,  0.73,   0.70,  0.73,  0.75,   0.73,  0.75,  0.76}},
    {"Automatic Daylight Responsive Off",                "IV",   {0.65,  0.70,  0.73,   0.70,  0.73,  0.75,   0.73,  0.75,  0.76}},
    {"Automatic Dimmed Stand-by Losses Switch On",       "V",    {0.65,  0.70,  0.73,   0.70,  0.73,  0.75,   0.73,  0.75,  0.76}},
    {"Automatic Dimmed No Stand-by Losses Switch On",    "VI",   {0.71,  0.74,  0.76,   0.77,  0.78,  0.79,   0.81,  0.81,  0.81}},
    {"Automatic Dimmed Stand-by Losses No Switch On",    "VII",  {0.72,  0.77,  0.80,   0.77,  0.80,  0.83,   0.80,  0.83,  0.84}},
    {"Automatic Dimmed No Stand-by Losses No Switch On", "VIII", {0.78,  0.81,  0.84,   0.85,  0.86,  0.87,   0.89,  0.89,  0.89}},
};
// clang-format on

// Built on first use, so callers from other static initialisers find them filled.
const std::vector<CLENITables::OccupancySystem>& OccupancySystems() {
    static const std::vector<CLENITables::OccupancySystem> rows(std::begin(kOccupancySystemRows),
                                                                std::end(kOccupancySystemRows));
    return rows;
}

const std::vector<CLENITables::ControlTechnique>& ControlTechniques() {
    static const std::vector<CLENITables::ControlTechnique> rows(std::begin(kControlTechniqueRows),
                                                                 std::end(kControlTechniqueRows));
    return rows;
}

} // namespace

const std::vector<CLENITables::OccupancySystem>& CLENITables::GetOccupancySystems() {
    return OccupancySystems();
}

std::vector<std::string> CLENITables::GetOccupancySystemNames() {
    std::vector<std::string> names;
    for (const OccupancySystem& system : kOccupancySystemRows)
        names.push_back(system.name);
    return names;
}

double CLENITables::GetFoFromFaUsingE1(double fa, const std::string& occupancySystem) {
    const OccupancySystem* row = nullptr;
    // Zones and project files hold the system by its leading number, so only that is compared.
    if (!occupancySystem.empty()) {
        for (const OccupancySystem& system : kOccupancySystemRows) {
            if (system.name[0] == occupancySystem[0]) {
                row = &system;
                break;
            }
        }
    }
    if (!row) {
        Log().Printf(
            LOG_ERROR,
            "CLENITables::GetFoFromFaUsingE1 could not find match for\nOccupancy Control System <%s>",
            occupancySystem.c_str());
        return 0.5;
    }
    const double* x = row->fa;
    const double* y = row->fo;
    if (fa < x[0]) return y[0];
    if (fa > x[kOccupancyPoints - 1]) return y[kOccupancyPoints - 1];
    for (int k = 0; k < kOccupancyPoints; ++k) {
        if (fa == x[k]) return y[k];
        if (x[k] > fa)
            return (x[k] - fa) / (x[k] - x[k - 1]) * y[k - 1] + (fa - x[k - 1]) / (x[k] - x[k - 1]) * y[k];
    }
    // Only a NaN absence factor falls through every comparison.
    Log().Printf(LOG_ERROR, "CLENITables::GetFoFromFaUsingE1 Fa %.3f is not a number, Fo 0.5 used", fa);
    return 0.5;
}

const std::vector<double>& CLENITables::GetLuxChoices() {
    static const std::vector<double> choices(std::begin(kLuxChoiceRows), std::end(kLuxChoiceRows));
    return choices;
}

bool CLENITables::IsValidZoneLux(double lux) {
    for (double choice : kLuxChoiceRows)
        if (std::fabs(lux - choice) < 0.1) return true;
    return false;
}

const std::vector<CLENITables::ControlTechnique>& CLENITables::GetControlTechniques() {
    return ControlTechniques();
}

std::vector<std::string> CLENITables::GetControlTechniqueNames() {
    std::vector<std::string> names;
    for (const ControlTechnique& technique : kControlTechniqueRows)
        names.push_back(technique.name);
    return names;
}

int CLENITables::FindControlTechnique(const std::string& name) {
    for (size_t i = 0; i < std::size(kControlTechniqueRows); ++i)
        if (EqualsNoCase(kControlTechniqueRows[i].name, name)) return static_cast<int>(i);
    return -1;
}

std::string CLENITables::GetControlTechniqueRoman(const std::string& name) {
    int index = FindControlTechnique(name);
    return index < 0 ? std::string() : kControlTechniqueRows[index].roman;
}
