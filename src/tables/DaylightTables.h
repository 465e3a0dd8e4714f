#pragma once
// Fixed tables of the daylight calculation of vertical windows: the lookup of the lighting control
// factor Fdc (its table is CLENITables'; roof lights use it too), the relative times without
// sun-shading activation, the monthly factors V, the sun-shading solutions and the names of classes
// and facades.

#include "tables/OpeningCodes.h"

#include <string>

enum { DAYLIGHT_CLASS_WEAK = 1, DAYLIGHT_CLASS_MEDIUM = 2, DAYLIGHT_CLASS_STRONG = 3 };
enum { FACADE_SOUTH = 0, FACADE_EASTWEST = 1, FACADE_NORTH = 2, FACADE_COUNT = 3 };

// The Table F.16 column for an illuminance: below 300 lx the 300 lx column, above 750 lx the 750 lx
// column, in between the nearest of 300, 500 and 750 lx (a tie goes to the lower column).
double GetFdcColumnLux(double em);

// Fdc of a technique (whole name, any letter case) for a daylight class and illuminance; writes
// its lines to the calculation log. 0.5 with an error for an unknown technique or class.
double GetLightingControlFactorFdcj(const std::string& technique, int daylightClass, double em);

// "Low", "Medium", "Strong", else "None".
const char* GetDaylightClassName(int daylightClass);
// "South", "EastWest", "North", else "Error in GetCompassFacingAsText".
const char* GetCompassFacingAsText(int facade);
// "No Shading" ... "Light Guides"; an unknown code gives "GSS, Unknown Shading %d".
std::string GetShadingSolutionName(int shadingType);

// Fdssa of a shading solution and daylight class; writes its line for codes 1 to 3; an unknown code
// (or class) is reported and gives 0.5.
double GetDaylightSupplyFactorFdssa(int shadingType, int daylightClass);

// Relative time without sun-shading activation of a vertical window of a facade.
double GetTrelSna(int facade, double hdirHglob, double latitude);

// V of a vertical window for a month 1..12 (annual step 0 gives 1); light guides follow the facade
// row, every other shading type the North row. A step above 12 is reported and gives 1.
double GetWindowMonthlyFactorV(unsigned timeStep, int shadingType, int facade);
