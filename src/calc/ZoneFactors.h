#pragma once
// The two factors of a zone that do not depend on daylight: the occupancy dependency factor Fo
// and the constant illuminance factor Fc.

#include <string>

// Fo mode of a zone: Fo is 1.0 (stored as "1"); any other mode calculates Fo from Fa.
constexpr int kFoModeAlwaysOne = 1;
constexpr int kFoModeFromFa = 0;

// 1.0 for Fo mode 1, otherwise CLENITables::GetFoFromFaUsingE1(fa, occupancySystem).
double GetZoneFo(int foMode, double fa, const std::string& occupancySystem);

// The zone's constant-illuminance settings that Fc depends on.
struct ZoneFcInputs {
    bool bConstantIllumination = false; // CIC
    bool bConstantLumenOutput = false;  // CLO
    double dFcc = 1.0;                  // constant illuminance factor input, 0 ... 1
    double dZoneLux = 500.0;            // required maintained illuminance, lx
    double dZoneLuxReal = 500.0;        // design illuminance, lx
};

// Fc for the zone in a room of maintenance factor roomMF; writes its working to the calculation
// log. CIC takes precedence over CLO; either one is scaled by the over-design factor
// zone lux / design lux.
double GetZoneFc(const ZoneFcInputs& zone, double roomMF);
