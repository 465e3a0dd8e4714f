#pragma once
// Energy of one time step of the calculation for a building, floor or room.

// Time steps: 0 the whole year, 1 to 12 January to December.
constexpr int kLeniTimeSteps = 13;

struct LeniTimeStepResult {
    int timeStep = 0;
    double Wl = 0.0;   // lighting energy, kWh
    double Wp = 0.0;   // parasitic energy (standby and emergency charging), kWh
    double area = 0.0; // m2

    // kWh/m2; 0 when there is no area to divide by.
    double GetLENI() const { return area > 0.0 ? (Wl + Wp) / area : 0.0; }
};

// What a calculation that could not run returns: no energy over a token area, so LENI stays 0.
inline LeniTimeStepResult EmptyLeniResult(int timeStep) {
    LeniTimeStepResult r;
    r.timeStep = timeStep;
    r.area = 0.0001;
    return r;
}
