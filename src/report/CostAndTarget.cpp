#include "report/CostAndTarget.h"

#include "base/TextUtils.h"
#include "calc/CalcLog.h"
#include "model/LENIProject.h"

std::string GetCostAndCO2Line(const CLENIProject& project, double energyKWh, unsigned timeStep) {
    std::string line;
    if (project.GetEnergyPrice()) line = StrPrintf("cost: %.2f", energyKWh * *project.GetEnergyPrice());
    if (project.GetCO2Factor())
        line += (line.empty() ? "" : ", ") + StrPrintf("CO2: %.2f kg", energyKWh * *project.GetCO2Factor());
    return line.empty() ? line : GetTimeStepName(timeStep) + " " + line;
}

std::string GetTargetMark(const CLENIProject& project, double leni) {
    if (!project.GetLeniTarget()) return std::string();
    return leni <= *project.GetLeniTarget() ? "pass" : "FAIL";
}

std::string GetTargetLine(const CLENIProject& project, double leni, unsigned timeStep) {
    if (!project.GetLeniTarget() || timeStep != 0) return std::string();
    return StrPrintf("Target %.2f kWh/(m\xC2\xB2 year): %s", *project.GetLeniTarget(),
                     GetTargetMark(project, leni).c_str());
}
