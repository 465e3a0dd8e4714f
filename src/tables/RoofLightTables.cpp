#include "tables/RoofLightTables.h"

#include "base/Logger.h"
#include "tables/DaylightTables.h"

#include <cmath>

namespace {

const double kRowSlopes[4] = {30, 45, 60, 90};

// Reference latitudes of the Trelsna columns, in the order of the columns (not sorted).
const double kTrelsnaLatitudes[7] = {38.0, 67.3, 48.1, 50.1, 51.5, 45.8, 59.3};

// clang-format off
const double kRoofLightTrelsna[kRoofLightTableRows][7] = {
    //  38.0  67.3  48.1  50.1  51.5  45.8  59.3
    {0.61, 0.69, 0.62, 0.67, 0.69, 0.65, 0.67}, //  0 Horizontal
    {0.61, 0.69, 0.62, 0.67, 0.69, 0.65, 0.67}, //  1 South 30
    {0.61, 0.69, 0.62, 0.67, 0.69, 0.65, 0.67}, //  2 South 45
    {0.61, 0.69, 0.62, 0.67, 0.69, 0.65, 0.67}, //  3 South 60
    {0.59, 0.68, 0.62, 0.67, 0.69, 0.65, 0.67}, //  4 South 90
    {0.61, 0.68, 0.62, 0.67, 0.69, 0.65, 0.67}, //  5 South East/West 30
    {0.6 , 0.7 , 0.63, 0.68, 0.71, 0.66, 0.68}, //  6 South East/West 45
    {0.56, 0.71, 0.65, 0.7 , 0.72, 0.68, 0.69}, //  7 South East/West 60
    {0.45, 0.75, 0.7 , 0.75, 0.75, 0.73, 0.73}, //  8 South East/West 90
    {0.58, 0.72, 0.64, 0.7 , 0.72, 0.67, 0.7 }, //  9 East West 30
    {0.51, 0.76, 0.69, 0.74, 0.76, 0.71, 0.74}, // 10 East West 45
    {0.44, 0.79, 0.73, 0.78, 0.79, 0.75, 0.77}, // 11 East West 60
    {0.32, 0.85, 0.81, 0.83, 0.85, 0.82, 0.83}, // 12 East West 90
    {0.56, 0.75, 0.66, 0.72, 0.75, 0.68, 0.75}, // 13 North East/West 30
    {0.47, 0.81, 0.74, 0.79, 0.81, 0.75, 0.82}, // 14 North East/West 45
    {0.35, 0.87, 0.82, 0.85, 0.87, 0.82, 0.88}, // 15 North East/West 60
    {0.18, 0.94, 0.91, 0.92, 0.94, 0.91, 0.94}, // 16 North East/West 90
    {0.54, 0.77, 0.68, 0.74, 0.77, 0.69, 0.76}, // 17 North 30
    {0.44, 0.82, 0.75, 0.79, 0.82, 0.75, 0.83}, // 18 North 45
    {0.33, 0.93, 0.85, 0.89, 0.9 , 0.84, 0.96}, // 19 North 60
    {0.03, 1   , 0.99, 1   , 1   , 1   , 1   }, // 20 North 90
};

// Fds without sun shading: weak, medium and strong class, five illuminance columns each.
const double kFdsSna[kRoofLightTableRows][15] = {
    {0.95, 0.83, 0.68, 0.52, 0.4 ,   0.97, 0.92, 0.85, 0.75, 0.65,   0.98, 0.95, 0.92, 0.86, 0.79}, //  0 Horizontal
    {0.95, 0.81, 0.66, 0.5 , 0.38,   0.97, 0.92, 0.84, 0.73, 0.62,   0.98, 0.95, 0.91, 0.84, 0.77}, //  1 South 30
    {0.94, 0.79, 0.62, 0.46, 0.35,   0.97, 0.9 , 0.81, 0.69, 0.59,   0.98, 0.94, 0.9 , 0.82, 0.74}, //  2 South 45
    {0.94, 0.75, 0.57, 0.41, 0.31,   0.96, 0.89, 0.78, 0.65, 0.53,   0.97, 0.93, 0.87, 0.79, 0.7 }, //  3 South 60
    {0.91, 0.64, 0.44, 0.3 , 0.22,   0.95, 0.82, 0.67, 0.52, 0.4 ,   0.97, 0.9 , 0.8 , 0.68, 0.58}, //  4 South 90
    {0.95, 0.81, 0.66, 0.49, 0.38,   0.97, 0.91, 0.83, 0.72, 0.62,   0.98, 0.94, 0.91, 0.84, 0.77}, //  5 South East/West 30
    {0.94, 0.78, 0.61, 0.45, 0.34,   0.97, 0.9 , 0.81, 0.69, 0.58,   0.98, 0.94, 0.89, 0.81, 0.74}, //  6 South East/West 45
    {0.94, 0.75, 0.56, 0.4 , 0.3 ,   0.96, 0.89, 0.78, 0.64, 0.53,   0.97, 0.93, 0.88, 0.79, 0.7 }, //  7 South East/West 60
    {0.92, 0.66, 0.45, 0.3 , 0.23,   0.95, 0.83, 0.69, 0.53, 0.41,   0.97, 0.91, 0.82, 0.7 , 0.59}, //  8 South East/West 90
    {0.95, 0.8 , 0.64, 0.48, 0.36,   0.97, 0.91, 0.82, 0.71, 0.6 ,   0.98, 0.95, 0.9 , 0.83, 0.76}, //  9 East West 30
    {0.95, 0.78, 0.6 , 0.43, 0.33,   0.97, 0.9 , 0.8 , 0.67, 0.56,   0.98, 0.94, 0.89, 0.81, 0.73}, // 10 East West 45
    {0.94, 0.75, 0.56, 0.39, 0.29,   0.97, 0.89, 0.78, 0.64, 0.52,   0.98, 0.94, 0.88, 0.79, 0.69}, // 11 East West 60
    {0.92, 0.66, 0.45, 0.3 , 0.23,   0.96, 0.84, 0.7 , 0.53, 0.41,   0.97, 0.91, 0.83, 0.71, 0.6 }, // 12 East West 90
    {0.95, 0.79, 0.63, 0.47, 0.35,   0.97, 0.91, 0.82, 0.7 , 0.59,   0.98, 0.95, 0.9 , 0.83, 0.75}, // 13 North East/West 30
    {0.95, 0.78, 0.59, 0.42, 0.32,   0.97, 0.91, 0.8 , 0.67, 0.55,   0.98, 0.95, 0.9 , 0.81, 0.72}, // 14 North East/West 45
    {0.95, 0.75, 0.55, 0.38, 0.29,   0.97, 0.9 , 0.78, 0.63, 0.51,   0.98, 0.94, 0.88, 0.79, 0.69}, // 15 North East/West 60
    {0.93, 0.67, 0.45, 0.3 , 0.23,   0.96, 0.85, 0.71, 0.54, 0.42,   0.97, 0.92, 0.83, 0.72, 0.61}, // 16 North East/West 90
    {0.95, 0.79, 0.62, 0.46, 0.35,   0.97, 0.91, 0.81, 0.69, 0.58,   0.98, 0.95, 0.9 , 0.82, 0.74}, // 17 North 30
    {0.95, 0.76, 0.57, 0.41, 0.31,   0.97, 0.9 , 0.79, 0.65, 0.54,   0.98, 0.94, 0.89, 0.8 , 0.71}, // 18 North 45
    {0.95, 0.75, 0.55, 0.38, 0.28,   0.97, 0.89, 0.78, 0.63, 0.51,   0.98, 0.94, 0.88, 0.79, 0.69}, // 19 North 60
    {0.93, 0.68, 0.46, 0.31, 0.23,   0.96, 0.86, 0.72, 0.55, 0.42,   0.97, 0.92, 0.84, 0.73, 0.61}, // 20 North 90
};

// Fds with sun shading, laid out as kFdsSna.
const double kFdsSa[kRoofLightTableRows][15] = {
    {0.98, 0.91, 0.83, 0.69, 0.54,   0.99, 0.96, 0.93, 0.88, 0.83,   0.99, 0.98, 0.96, 0.93, 0.9 }, //  0 Horizontal
    {0.99, 0.96, 0.91, 0.8 , 0.66,   0.99, 0.99, 0.97, 0.95, 0.91,   0.99, 0.99, 0.98, 0.97, 0.96}, //  1 South 30
    {0.99, 0.97, 0.92, 0.81, 0.67,   0.99, 0.99, 0.98, 0.96, 0.92,   0.99, 0.99, 0.99, 0.98, 0.96}, //  2 South 45
    {0.99, 0.97, 0.91, 0.79, 0.64,   0.99, 0.99, 0.98, 0.96, 0.91,   0.99, 0.99, 0.99, 0.98, 0.97}, //  3 South 60
    {0.99, 0.94, 0.83, 0.63, 0.48,   0.99, 0.99, 0.97, 0.91, 0.83,   0.99, 0.99, 0.99, 0.97, 0.93}, //  4 South 90
    {0.99, 0.94, 0.86, 0.75, 0.62,   1   , 0.98, 0.95, 0.91, 0.86,   1   , 0.99, 0.98, 0.95, 0.93}, //  5 South East/West 30
    {0.99, 0.92, 0.85, 0.74, 0.61,   1   , 0.97, 0.94, 0.9 , 0.85,   1   , 0.99, 0.97, 0.94, 0.91}, //  6 South East/West 45
    {0.99, 0.94, 0.86, 0.75, 0.6 ,   1   , 0.98, 0.96, 0.91, 0.86,   1   , 0.99, 0.98, 0.96, 0.93}, //  7 South East/West 60
    {0.99, 0.93, 0.84, 0.66, 0.5 ,   0.99, 0.98, 0.95, 0.9 , 0.84,   1   , 0.99, 0.98, 0.95, 0.92}, //  8 South East/West 90
    {0.99, 0.91, 0.81, 0.68, 0.54,   1   , 0.98, 0.94, 0.87, 0.81,   1   , 0.99, 0.97, 0.94, 0.89}, //  9 East West 30
    {0.99, 0.91, 0.81, 0.68, 0.54,   1   , 0.98, 0.94, 0.87, 0.81,   1   , 0.99, 0.98, 0.94, 0.9 }, // 10 East West 45
    {0.99, 0.92, 0.81, 0.67, 0.53,   1   , 0.98, 0.95, 0.88, 0.81,   1   , 0.99, 0.98, 0.95, 0.9 }, // 11 East West 60
    {0.99, 0.89, 0.75, 0.58, 0.44,   0.99, 0.98, 0.92, 0.84, 0.75,   0.99, 0.99, 0.97, 0.92, 0.87}, // 12 East West 90
    {0.98, 0.87, 0.75, 0.57, 0.43,   0.99, 0.96, 0.9 , 0.83, 0.75,   1   , 0.98, 0.95, 0.9 , 0.85}, // 13 North East/West 30
    {0.98, 0.86, 0.71, 0.52, 0.39,   0.99, 0.96, 0.9 , 0.81, 0.71,   0.99, 0.98, 0.95, 0.9 , 0.84}, // 14 North East/West 45
    {0.97, 0.85, 0.68, 0.49, 0.36,   0.99, 0.95, 0.89, 0.79, 0.68,   0.99, 0.97, 0.95, 0.89, 0.83}, // 15 North East/West 60
    {0.96, 0.8 , 0.57, 0.38, 0.29,   0.98, 0.94, 0.85, 0.71, 0.57,   0.99, 0.96, 0.93, 0.85, 0.76}, // 16 North East/West 90
    {0.99, 0.91, 0.75, 0.52, 0.39,   1   , 0.98, 0.93, 0.86, 0.75,   1   , 0.99, 0.97, 0.93, 0.89}, // 17 North 30
    {0.99, 0.84, 0.58, 0.38, 0.29,   1   , 0.98, 0.9 , 0.74, 0.58,   1   , 0.99, 0.97, 0.9 , 0.8 }, // 18 North 45
    {0.99, 0.68, 0.41, 0.27, 0.2 ,   0.99, 0.97, 0.79, 0.54, 0.41,   0.99, 0.99, 0.95, 0.79, 0.61}, // 19 North 60
    {0   , 0   , 0   , 0   , 0   ,   0   , 0   , 0   , 0   , 0   ,   0   , 0   , 0   , 0   , 0   }, // 20 North 90
};

const double kSupplyColumnLux[5] = {100, 300, 500, 750, 1000};

const double kSlopes[5] = {0, 30, 45, 60, 90};
const double kSlopeFactors[5] = {100, 92, 83, 72, 50};

// A row of a utilisation table: the room index k and the values of the columns (18 flat, 26 shed).
struct UtilisationRow {
    double k;
    double eta[26];
};

// Flat roof lights: columns headed by ratio / relative height / angle.
const double kFlatRatio[18]  = {1,    1,    1,    2,    2,    2,    5,    5,    5,    1,   1,   1,   2,   2,   2,   5,   5,   5};
const double kFlatHeight[18] = {0.25, 0.25, 0.25, 0.25, 0.25, 0.25, 0.25, 0.25, 0.25, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5};
const double kFlatAngle[18]  = {30,   60,   90,   30,   60,   90,   30,   60,   90,   30,  60,  90,  30,  60,  90,  30,  60,  90};
const UtilisationRow kFlatEta[10] = {
    {0.6 , {0.4 , 0.41, 0.38, 0.4 , 0.4 , 0.39, 0.41, 0.41, 0.4 , 0.4 , 0.41, 0.36, 0.4 , 0.41, 0.37, 0.42, 0.43, 0.39}},
    {0.8 , {0.53, 0.54, 0.5 , 0.53, 0.54, 0.51, 0.54, 0.55, 0.52, 0.53, 0.55, 0.46, 0.53, 0.55, 0.49, 0.55, 0.57, 0.51}},
    {1   , {0.59, 0.6 , 0.56, 0.59, 0.6 , 0.57, 0.6 , 0.61, 0.59, 0.6 , 0.61, 0.51, 0.6 , 0.61, 0.54, 0.62, 0.66, 0.56}},
    {1.25, {0.68, 0.69, 0.64, 0.68, 0.69, 0.66, 0.69, 0.7 , 0.67, 0.69, 0.69, 0.58, 0.69, 0.7 , 0.62, 0.71, 0.72, 0.64}},
    {1.5 , {0.75, 0.75, 0.69, 0.75, 0.75, 0.71, 0.76, 0.76, 0.72, 0.76, 0.75, 0.63, 0.76, 0.76, 0.67, 0.78, 0.78, 0.69}},
    {2   , {0.83, 0.83, 0.77, 0.83, 0.83, 0.79, 0.84, 0.84, 0.8 , 0.84, 0.82, 0.69, 0.84, 0.83, 0.73, 0.87, 0.85, 0.75}},
    {2.5 , {0.89, 0.88, 0.81, 0.89, 0.88, 0.84, 0.9 , 0.89, 0.85, 0.9 , 0.87, 0.73, 0.9 , 0.88, 0.77, 0.92, 0.9 , 0.79}},
    {3   , {0.93, 0.92, 0.85, 0.93, 0.92, 0.87, 0.94, 0.93, 0.88, 0.94, 0.9 , 0.76, 0.94, 0.91, 0.81, 0.96, 0.93, 0.86}},
    {4   , {0.98, 0.96, 0.9 , 0.98, 0.97, 0.92, 0.99, 0.98, 0.93, 0.99, 0.95, 0.8 , 0.98, 0.96, 0.85, 1   , 0.98, 0.87}},
    {5   , {1.02, 1   , 0.92, 1.02, 1   , 0.95, 1.03, 1.01, 0.96, 1.02, 0.97, 0.82, 1.02, 0.99, 0.87, 1.04, 1.01, 0.89}},
};

// Shed roof lights: columns headed by ratio hg/hw / slope / angle; one 45/45 column per ratio.
const double kShedRatio[26] = {1,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1,  1,  0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5};
const double kShedSlope[26] = {30, 30, 30, 30, 45, 60, 60, 60, 60, 90, 90, 90, 90, 30,  30,  30,  30,  45,  60,  60,  60,  60,  90,  90,  90,  90};
const double kShedAngle[26] = {30, 45, 60, 75, 45, 30, 45, 60, 75, 30, 45, 60, 75, 30,  45,  60,  75,  45,  30,  45,  60,  75,  30,  45,  60,  75};
const UtilisationRow kShedEta[10] = {
    {0.6 , {0.39, 0.39, 0.41, 0.4 , 0.37, 0.34, 0.35, 0.36, 0.35, 0.29, 0.3 , 0.31, 0.31, 0.38, 0.39, 0.39, 0.4 , 0.36, 0.33, 0.34, 0.35, 0.36, 0.29, 0.29, 0.3 , 0.3 }},
    {0.8 , {0.51, 0.52, 0.53, 0.5 , 0.49, 0.44, 0.45, 0.46, 0.44, 0.37, 0.39, 0.39, 0.38, 0.5 , 0.51, 0.52, 0.51, 0.48, 0.43, 0.44, 0.45, 0.44, 0.37, 0.37, 0.38, 0.38}},
    {1   , {0.57, 0.58, 0.58, 0.55, 0.55, 0.5 , 0.52, 0.51, 0.49, 0.44, 0.45, 0.45, 0.44, 0.56, 0.57, 0.57, 0.56, 0.53, 0.49, 0.5 , 0.51, 0.5 , 0.43, 0.44, 0.44, 0.44}},
    {1.25, {0.66, 0.66, 0.65, 0.62, 0.62, 0.58, 0.59, 0.58, 0.55, 0.51, 0.51, 0.51, 0.49, 0.65, 0.65, 0.65, 0.64, 0.61, 0.57, 0.58, 0.58, 0.56, 0.5 , 0.51, 0.5 , 0.5 }},
    {1.5 , {0.72, 0.72, 0.71, 0.67, 0.68, 0.64, 0.64, 0.63, 0.6 , 0.56, 0.56, 0.56, 0.54, 0.71, 0.71, 0.71, 0.69, 0.67, 0.62, 0.63, 0.63, 0.61, 0.55, 0.56, 0.55, 0.55}},
    {2   , {0.8 , 0.79, 0.77, 0.73, 0.75, 0.72, 0.71, 0.69, 0.66, 0.64, 0.63, 0.62, 0.6 , 0.79, 0.79, 0.78, 0.76, 0.75, 0.71, 0.71, 0.7 , 0.68, 0.62, 0.63, 0.62, 0.61}},
    {2.5 , {0.85, 0.84, 0.81, 0.77, 0.8 , 0.77, 0.76, 0.73, 0.7 , 0.69, 0.68, 0.66, 0.64, 0.84, 0.84, 0.83, 0.8 , 0.8 , 0.76, 0.76, 0.75, 0.72, 0.68, 0.68, 0.67, 0.65}},
    {3   , {0.88, 0.88, 0.84, 0.8 , 0.83, 0.81, 0.79, 0.76, 0.72, 0.72, 0.71, 0.69, 0.67, 0.88, 0.88, 0.86, 0.83, 0.84, 0.8 , 0.8 , 0.78, 0.75, 0.72, 0.71, 0.7 , 0.68}},
    {4   , {0.94, 0.92, 0.88, 0.84, 0.87, 0.85, 0.83, 0.8 , 0.76, 0.77, 0.75, 0.73, 0.7 , 0.93, 0.93, 0.91, 0.87, 0.88, 0.85, 0.84, 0.82, 0.79, 0.77, 0.76, 0.75, 0.72}},
    {5   , {0.97, 0.95, 0.91, 0.87, 0.9 , 0.89, 0.86, 0.82, 0.78, 0.8 , 0.78, 0.75, 0.73, 0.97, 0.96, 0.93, 0.9 , 0.92, 0.89, 0.88, 0.85, 0.81, 0.8 , 0.79, 0.77, 0.75}},
};
// clang-format on

const double kRoofLightV[12] = {0.74, 0.92, 1.06, 1.16, 1.22, 1.24, 1.22, 1.16, 1.06, 0.93, 0.75, 0.54};

// First index in [first, last) whose value is nearest to x (the earlier one wins a tie).
int FirstNearest(const double* values, int first, int last, double x) {
    int best = first;
    for (int i = first + 1; i < last; ++i)
        if (std::fabs(values[i] - x) < std::fabs(values[best] - x)) best = i;
    return best;
}

int RoomIndexRow(const UtilisationRow* rows, double k) {
    int best = 0;
    for (int i = 1; i < 10; ++i)
        if (std::fabs(rows[i].k - k) < std::fabs(rows[best].k - k)) best = i;
    return best;
}

} // namespace

int GetRoofLightTableRow(int orientation, double gammaF) {
    if (orientation < RLO_SOUTH || orientation > RLO_NORTH) return 0;
    return 4 * orientation - 3 + FirstNearest(kRowSlopes, 0, 4, gammaF);
}

double GetRoofLightTrelsna(int orientation, double gammaF, double latitude) {
    int row = GetRoofLightTableRow(orientation, gammaF);
    return kRoofLightTrelsna[row][FirstNearest(kTrelsnaLatitudes, 0, 7, latitude)];
}

int GetRoofLightSupplyColumn(double em) {
    return FirstNearest(kSupplyColumnLux, 0, 5, em);
}

double GetRoofLightSupplyFactor(bool withShading, int row, int daylightClass, double em) {
    if (row < 0 || row >= kRoofLightTableRows) row = 0;
    if (daylightClass < DAYLIGHT_CLASS_WEAK || daylightClass > DAYLIGHT_CLASS_STRONG)
        daylightClass = DAYLIGHT_CLASS_WEAK;
    int column = 5 * (daylightClass - 1) + GetRoofLightSupplyColumn(em);
    return withShading ? kFdsSa[row][column] : kFdsSna[row][column];
}

double GetRoofLightSlopeFactor(double gammaF) {
    return kSlopeFactors[FirstNearest(kSlopes, 0, 5, gammaF)];
}

double GetUtilisationFactor(int type, double width, double length, double hs, double hw, double hg,
                            double gammaF, double gammaW, double roomIndex) {
    if (type == RL_FLAT) {
        double larger = std::fmax(width, length);
        double ratio = 1.0; // the larger side over itself
        double relativeHeight = larger > 0.0 ? hs / larger : 0.0;
        int column = FirstNearest(kFlatHeight, 0, 18, relativeHeight);
        column = FirstNearest(kFlatRatio, column, column + 9, ratio);
        column = FirstNearest(kFlatAngle, column, column + 3, gammaW);
        return kFlatEta[RoomIndexRow(kFlatEta, roomIndex)].eta[column];
    }
    if (type == RL_SHED) {
        double ratio = hw != 0.0 ? hg / hw : 0.0;
        int column = FirstNearest(kShedRatio, 0, 26, ratio);
        column = FirstNearest(kShedSlope, column, column + 13, gammaF);
        if (kShedSlope[column] != 45.0) column = FirstNearest(kShedAngle, column, column + 4, gammaW);
        return kShedEta[RoomIndexRow(kShedEta, roomIndex)].eta[column];
    }
    Log().Printf(LOG_ERROR, "CLENIRoofLight::GU unhandled enumerator: %d", type);
    return 0.5;
}

double GetRoofLightMonthlyFactorV(unsigned timeStep) {
    if (timeStep == 0) return 1.0;
    if (timeStep > 12) {
        Log().Printf(LOG_ERROR, "GMFRL with month = %d", static_cast<int>(timeStep));
        return 1.0;
    }
    return kRoofLightV[timeStep - 1];
}
