#include "ui/editor/PlanDisplay.h"

#include "app/Preferences.h"
#include "base/WideReg.h"

namespace {

constexpr const char* kTables = "PLAN_SHOW_LUMINAIRE_TABLES";
constexpr const char* kLabels = "PLAN_SHOW_OPENING_LABELS";
constexpr const char* kDxf = "PLAN_SHOW_DXF";

} // namespace

PlanDisplay LoadPlanDisplay() {
    const CWideReg reg(CPreferences::kBaseKey);
    const std::string& base = reg.GetBaseKey();
    PlanDisplay display;
    display.luminaireTables = reg.GetRegistryBoolValue(base, kTables, true);
    display.openingLabels = reg.GetRegistryBoolValue(base, kLabels, true);
    display.dxfDrawing = reg.GetRegistryBoolValue(base, kDxf, true);
    return display;
}

void SavePlanDisplay(const PlanDisplay& display) {
    const CWideReg reg(CPreferences::kBaseKey);
    const std::string& key = reg.GetBaseKey();
    reg.SetValue(key, display.luminaireTables ? "1" : "0", kTables);
    reg.SetValue(key, display.openingLabels ? "1" : "0", kLabels);
    reg.SetValue(key, display.dxfDrawing ? "1" : "0", kDxf);
}
