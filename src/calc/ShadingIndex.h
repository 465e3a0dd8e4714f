#pragma once
// The shading index Ish of a vertical window: obstructions in front, above and beside it, the atrium
// or courtyard it may face and a glazed double facade in front of it.

#include "dxf/Point.h"
#include "model/LENIAtrium.h" // ATRIUM_COURTYARD, ATRIUM_ATRIUM

#include <string>

class CLENIAtrium;
class CLENIFloor;
class CLENIProject;
class CLENIWindow;

// The atrium fields the shading index reads.
struct AtriumShadingData {
    Polygon polygon;
    int kind = ATRIUM_ATRIUM;
    double transmittance = 1.0;
    double k1 = 1.0, k2 = 1.0, k3 = 1.0;
};

// The window fields and surroundings the shading index reads.
struct ShadingIndexInput {
    double frontAngle = 0.0;    // alpha, degrees
    double overhangAngle = 0.0; // beta, degrees
    double sideAngle = 0.0;     // sigma, degrees
    bool hasGlazedDoubleFacade = false;
    double gdfTau = 0.85, gdfK1 = 1.0, gdfK2 = 1.0, gdfK3 = 1.0;
    std::string atriumName;                    // as the window names it
    const AtriumShadingData* atrium = nullptr; // the atrium found by that name, or none
    double heightToTop = 0.0;                  // from the window's floor to the top of the building
};

// Atrium well index wi = (perimeter x 0.5 x h) / area; 0 for a polygon without area.
double GetAtriumWellIndex(const Polygon& polygon, double heightToTop);

// Ish; writes its lines to the calculation log.
double GetShadingIndex(const ShadingIndexInput& input);

// The same for a window of a floor of the project: the atrium is looked up by the window's atrium
// name among the floor's atria; one that cannot be found does not count.
double GetShadingIndex(const CLENIWindow& window, const CLENIFloor& floor, const CLENIProject& project);
double GetAtriumWellIndex(const CLENIAtrium& atrium, double heightToTop);
