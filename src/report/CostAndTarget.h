#pragma once
// What an energy costs and emits, and a LENI against the project's target, as the result dialogs,
// the printed pages and the exports show them; nothing when the project does not set the value.

#include <string>

class CLENIProject;

// "Annual cost: 25.00, CO2: 50.00 kg" (the time step's name), with only the parts the project sets;
// empty when it sets neither price nor emission factor.
std::string GetCostAndCO2Line(const CLENIProject& project, double energyKWh, unsigned timeStep);

// "pass" or "FAIL" of a LENI against the target; empty without a target. A LENI at the target passes.
std::string GetTargetMark(const CLENIProject& project, double leni);
// "Target 15.00 kWh/(m² year): pass"; empty without a target or for a month.
std::string GetTargetLine(const CLENIProject& project, double leni, unsigned timeStep);
