#pragma once
// The numbers that the project file written "with results" carries. The model cannot calculate
// them itself: the energy calculation installs a provider at start-up, and the writer asks it
// once per save.

#include "model/LeniTimeStepResult.h"

#include <functional>
#include <vector>

class CLENIProject;

// Results of the building, one floor or one room for the year and the twelve months.
struct LENIObjectResults {
    double area = 0.0;           // "Area", m2; also the divisor of every "LENIResult"
    double installedPower = 0.0; // "InstalledPower", W
    // Index = time step; only Wl and Wp are written, the LENI is formed with the area above.
    LeniTimeStepResult steps[kLeniTimeSteps];
};

struct LENIProjectResults {
    LENIObjectResults building;
    std::vector<LENIObjectResults> floors;             // in floor order
    std::vector<std::vector<LENIObjectResults>> rooms; // [floor][room], in list order
};

// Fills the results of the whole project; false when they could not be calculated.
using ProjectResultsProvider = std::function<bool(const CLENIProject& project, LENIProjectResults& results)>;
void SetProjectResultsProvider(ProjectResultsProvider provider);
const ProjectResultsProvider& GetProjectResultsProvider();
