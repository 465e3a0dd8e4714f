#pragma once
// The result of one calculation of a building, floor or room for one time step.

// Time steps: 0 the year, 1 ... 12 January ... December.
constexpr unsigned kAnnualTimeStep = 0;
constexpr unsigned kTimeStepCount = 13;

struct LeniTimeStepResult {
    unsigned timeStep = 0;
    double wl = 0.0;   // lighting energy, kWh
    double wp = 0.0;   // parasitic energy (standby, emergency charging), kWh
    double area = 0.0; // m2; 0.0001 when the calculation could not run

    // (Wl + Wp) / area, kWh/m2 for the step; 0 when the area is not above 0.
    double GetLENI() const { return area > 0.0 ? (wl + wp) / area : 0.0; }
};

// What a calculation that could not run returns: no energy over a token area, so LENI stays 0.
inline LeniTimeStepResult EmptyLeniResult(unsigned timeStep) {
    LeniTimeStepResult r;
    r.timeStep = timeStep;
    r.area = 0.0001;
    return r;
}
