#include "tables/DaylightTables.h"

#include "base/CalcLogWriter.h"
#include "base/Logger.h"
#include "base/TextUtils.h"
#include "tables/LENITables.h"

#include <cmath>

namespace {

// clang-format off
// Sun-shading supply factor Fdssa by shading code (rows) and daylight class weak, medium, strong.
const double kFdssa[4][3] = {
    /* 0 No Shading            */ {0.0, 0.0,  0.0},
    /* 1 Glare Protection      */ {0.1, 0.2,  0.3},
    /* 2 Auto Glare Protection */ {0.2, 0.43, 0.55},
    /* 3 Light Guides          */ {0.3, 0.65, 0.8},
};

const char* const kShadingNames[4] = {"No Shading", "Glare Protection", "Auto Glare Protection", "Light Guides"};

// Trelsna of vertical windows: [facade][h = Hdir/Hglob in tenths][l = latitude in tens of degrees].
const double kTrelSna[FACADE_COUNT][10][9] = {
    {   // South
        {1,    1,    1,    1,    1,    1,    1,    1,    1   },
        {0.99, 0.97, 0.94, 0.93, 0.96, 0.98, 0.98, 0.93, 0.88},
        {0.94, 0.91, 0.86, 0.84, 0.86, 0.87, 0.86, 0.8,  0.72},
        {0.89, 0.86, 0.79, 0.75, 0.75, 0.76, 0.75, 0.69, 0.61},
        {0.83, 0.8,  0.71, 0.65, 0.64, 0.65, 0.65, 0.6,  0.53},
        {0.71, 0.67, 0.57, 0.5,  0.49, 0.5,  0.51, 0.47, 0.4 },
        {0.55, 0.51, 0.41, 0.33, 0.32, 0.34, 0.36, 0.32, 0.23},
        {0.47, 0.43, 0.32, 0.24, 0.23, 0.26, 0,    0,    0   },
        {0,    0.42, 0.32, 0.24, 0.23, 0.26, 0,    0,    0   },
        {0,    0.42, 0.32, 0.24, 0.23, 0.26, 0,    0,    0   },
    },
    {   // EastWest
        {1,    1,    1,    1,    1,    1,    1,    1,    1   },
        {0.99, 0.98, 0.97, 0.97, 1,    1,    0.99, 0.95, 0.92},
        {0.95, 0.94, 0.92, 0.92, 0.94, 0.94, 0.93, 0.88, 0.85},
        {0.91, 0.89, 0.87, 0.86, 0.88, 0.88, 0.87, 0.83, 0.79},
        {0.84, 0.83, 0.8,  0.79, 0.81, 0.82, 0.82, 0.8,  0.78},
        {0.74, 0.73, 0.7,  0.7,  0.73, 0.76, 0.77, 0.77, 0.76},
        {0.64, 0.63, 0.61, 0.61, 0.65, 0.69, 0.72, 0.72, 0.73},
        {0.59, 0.58, 0.56, 0.56, 0.61, 0.65, 0,    0,    0   },
        {0,    0.58, 0.56, 0.56, 0.61, 0.65, 0,    0,    0   },
        {0,    0.58, 0.56, 0.56, 0.61, 0.65, 0,    0,    0   },
    },
    {   // North
        {1,    1,    1,    1,    1,    1,    1,    1,    1   },
        {0.99, 0.99, 0.99, 1,    1,    1,    1,    1,    1   },
        {0.97, 0.97, 0.98, 1,    1,    1,    1,    1,    1   },
        {0.92, 0.92, 0.94, 0.98, 1,    1,    1,    1,    1   },
        {0.84, 0.85, 0.89, 0.94, 1,    1,    1,    1,    1   },
        {0.77, 0.79, 0.83, 0.91, 0.98, 1,    1,    1,    1   },
        {0.73, 0.75, 0.8,  0.89, 0.98, 1,    1,    1,    1   },
        {0.71, 0.73, 0.79, 0.88, 0.98, 1,    0,    0,    0   },
        {0,    0.73, 0.79, 0.88, 0.98, 1,    0,    0,    0   },
        {0,    0.73, 0.79, 0.88, 0.98, 1,    0,    0,    0   },
    },
};

// Monthly factors V of vertical windows, January to December; the North row is also the default.
const double kWindowV[FACADE_COUNT][12] = {
    /* South    */ {0.67, 0.89, 1.06, 1.18, 1.25, 1.28, 1.26, 1.2,  1.08, 0.92, 0.72, 0.46},
    /* EastWest */ {0.74, 0.92, 1.06, 1.16, 1.22, 1.24, 1.22, 1.16, 1.06, 0.93, 0.75, 0.54},
    /* North    */ {0.85, 0.97, 1.06, 1.12, 1.16, 1.17, 1.15, 1.11, 1.04, 0.94, 0.81, 0.66},
};
// clang-format on

int ClampIndex(double value, int last) {
    if (!(value > 0.0)) // also NaN
        return 0;
    double f = std::floor(value);
    return f >= last ? last : static_cast<int>(f);
}

} // namespace

double GetFdcColumnLux(double em) {
    if (em <= 400.0) // below 300 lx, 300 lx itself and the tie at 400 lx
        return 300.0;
    if (em <= 625.0) return 500.0;
    return 750.0;
}

double GetLightingControlFactorFdcj(const std::string& technique, int daylightClass, double em) {
    double columnLux = GetFdcColumnLux(em);
    CalcLogPrintf("  GetLightingControlFactorFdcj Input %.1f lx, using %.1f lx for Table F.16 \n", em,
                  columnLux);
    int row = CLENITables::FindControlTechnique(technique);
    if (row < 0) {
        Log().Printf(LOG_ERROR, "GetLightingControlFactorFdcj could not find technique <%s>",
                     technique.c_str());
        return 0.5;
    }
    int luxColumn;
    if (columnLux == 300.0)
        luxColumn = 0;
    else if (columnLux == 500.0)
        luxColumn = 1;
    else if (columnLux == 750.0)
        luxColumn = 2;
    else {
        Log().Printf(LOG_ERROR, "GetLightingControlFactorFdcj could not find %.3f lux", columnLux);
        return 0.5;
    }
    // Only classes 1 to 3 have columns; anything else would read outside the row.
    if (daylightClass < DAYLIGHT_CLASS_WEAK || daylightClass > DAYLIGHT_CLASS_STRONG) {
        Log().Printf(LOG_ERROR, "GetLightingControlFactorFdcj daylight class %d out of range", daylightClass);
        return 0.5;
    }
    int column = 3 * (daylightClass - 1) + luxColumn;
    const CLENITables::ControlTechnique& entry = CLENITables::GetControlTechniques()[row];
    double fdc = entry.fdc[column];
    CalcLogPrintf(
        "  GetLightingControlFactorFdcj Table F.16 lookup of row[%d] <%s %s> col%d yields Fdc:%.3f \n",
        row + 1, entry.roman, entry.name, column + 1, fdc);
    return fdc;
}

const char* GetDaylightClassName(int daylightClass) {
    switch (daylightClass) {
    case DAYLIGHT_CLASS_WEAK:
        return "Low";
    case DAYLIGHT_CLASS_MEDIUM:
        return "Medium";
    case DAYLIGHT_CLASS_STRONG:
        return "Strong";
    default:
        return "None";
    }
}

const char* GetCompassFacingAsText(int facade) {
    switch (facade) {
    case FACADE_SOUTH:
        return "South";
    case FACADE_EASTWEST:
        return "EastWest";
    case FACADE_NORTH:
        return "North";
    default:
        return "Error in GetCompassFacingAsText";
    }
}

std::string GetShadingSolutionName(int shadingType) {
    if (shadingType >= 0 && shadingType <= 3) return kShadingNames[shadingType];
    return StrPrintf("GSS, Unknown Shading %d", shadingType);
}

double GetDaylightSupplyFactorFdssa(int shadingType, int daylightClass) {
    if (shadingType == SHADING_NONE) return 0.0;
    if (shadingType < 0 || shadingType > 3) {
        Log().Printf(LOG_ERROR, "CLENITables::GDSFF Shading solution out of range:%d", shadingType);
        return 0.5;
    }
    if (daylightClass < DAYLIGHT_CLASS_WEAK || daylightClass > DAYLIGHT_CLASS_STRONG) {
        Log().Printf(LOG_ERROR, "CLENITables::GDSFF daylight class out of range:%d", daylightClass);
        return 0.5;
    }
    double value = kFdssa[shadingType][daylightClass - 1];
    CalcLogPrintf("    Fdssa %s %s returning %.3f", kShadingNames[shadingType],
                  GetDaylightClassName(daylightClass), value);
    return value;
}

double GetTrelSna(int facade, double hdirHglob, double latitude) {
    if (facade < 0 || facade >= FACADE_COUNT) facade = FACADE_SOUTH;
    int h = ClampIndex(hdirHglob / 0.9 * 9.0, 9);
    int l = ClampIndex(latitude / 80.0 * 8.0, 8);
    return kTrelSna[facade][h][l];
}

double GetWindowMonthlyFactorV(unsigned timeStep, int shadingType, int facade) {
    if (timeStep == 0) return 1.0;
    if (timeStep > 12) {
        Log().Printf(LOG_ERROR, "GMFVF with month = %d", static_cast<int>(timeStep));
        return 1.0;
    }
    int row = FACADE_NORTH;
    if (shadingType == SHADING_LIGHT_GUIDES && facade >= 0 && facade < FACADE_COUNT) row = facade;
    return kWindowV[row][timeStep - 1];
}
