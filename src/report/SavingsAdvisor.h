#pragma once
// The savings advisor: for every zone, what the building's annual energy and LENI would be with each
// other choice of what the zone controls itself (occupancy control system, daylight control
// technique, constant illuminance control with a given Fcc, and their combinations), worked out by
// the building's own calculation, recalculating only the room of the zone.

#include <string>
#include <vector>

class CLENIProject;

// What a zone controls itself.
struct ZoneControls {
    std::string occupancy; // one of the occupancy control system names
    std::string technique; // one of the daylight control technique names
    bool constantIlluminance = false;
    double fcc = 1.0;
};

// One choice for one zone, and the building with it (annual, kWh and kWh/(m2 year)).
struct AdviceOption {
    int floor = 0, room = 0, zone = 0; // indices in the project
    std::string floorName, roomName, zoneName;
    ZoneControls controls;
    std::string label; // what changes: "occupancy 3 + daylight VI + constant illuminance (Fcc 0.90)"
    double energyBefore = 0.0, energyAfter = 0.0, saved = 0.0;
    double leniAfter = 0.0;
};

struct SavingsAdvice {
    double area = 0.0;         // the building's, m2
    double energyBefore = 0.0; // the building's annual Wl + Wp, kWh
    double leniBefore = 0.0;
    // Zone by zone in model order, each zone's options that lower the building's energy, most
    // saved first.
    std::vector<AdviceOption> options;
    // The building with every zone's best option at once.
    double energyAllBest = 0.0;
    double leniAllBest = 0.0;
    int zonesImproved = 0;
};

// Fcc assumed for constant illuminance control when the user gives the zone none (a zone's Fcc
// below 1 is the user's and is kept).
constexpr double kAdvisorDefaultFcc = 0.9;

// The advice for the project; the project is not changed. Runs no calculation log.
SavingsAdvice AdviseSavings(const CLENIProject& project, double fcc = kAdvisorDefaultFcc);

// Puts the option's controls into its zone; false when the zone is no longer there.
bool ApplyAdviceOption(CLENIProject& project, const AdviceOption& option);

// The advice as CSV: a header, the building line, then one row per zone and option; cost and CO2
// columns when the project has a price or an emission factor.
std::string GetAdviceCsv(const SavingsAdvice& advice, const CLENIProject& project);

// A CSV field: quoted when it holds a separator, a quote or a line break.
std::string CsvField(const std::string& text);
