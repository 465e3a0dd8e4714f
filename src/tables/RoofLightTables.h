#pragma once
// Tables and lookups of the daylight calculation of roof lights: the orientation rows, the relative
// times without sun-shading activation, the daylight supply factors without and with sun shading,
// the utilisation factors of flat and shed roof lights, the slope factors and the monthly factors.

#include "tables/OpeningCodes.h"

#include <string>

constexpr int kRoofLightTableRows = 21;

// Row of the roof-light tables: 0 for a horizontal roof light, else among the four rows of the
// orientation the first whose slope (30, 45, 60, 90 deg) is nearest to gamma F.
int GetRoofLightTableRow(int orientation, double gammaF);

// Trelsna of the row at the reference latitude nearest to the given one.
double GetRoofLightTrelsna(int orientation, double gammaF, double latitude);

// The illuminance a supply-table column stands for: the nearest of 100, 300, 500, 750 and 1000 lx
// (a tie goes to the lower); returns the column 0..4 within a class.
int GetRoofLightSupplyColumn(double em);
// Fds without (withShading false) or with sun shading for a row, daylight class 1..3 and Em.
double GetRoofLightSupplyFactor(bool withShading, int row, int daylightClass, double em);

// Slope factor k-gamma in percent, by the nearest of the slopes 0, 30, 45, 60, 90 deg.
double GetRoofLightSlopeFactor(double gammaF);

// Utilisation factor eta for the room index k. type: RL_FLAT or RL_SHED; width and
// length are the roof light's W and L; hs, hw, hg, gamma F and gamma W its utilisation parameters.
// Another type is reported ("CLENIRoofLight::GU unhandled enumerator") and gives 0.5.
double GetUtilisationFactor(int type, double width, double length, double hs, double hw, double hg,
                            double gammaF, double gammaW, double roomIndex);

// V of a roof light for a month 1..12; the annual step gives 1; a step above 12 is reported and gives 1.
double GetRoofLightMonthlyFactorV(unsigned timeStep);
