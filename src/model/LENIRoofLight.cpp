#include "model/LENIRoofLight.h"

#include "base/Logger.h"
#include "base/TextUtils.h"

#include <algorithm>

void CLENIRoofLight::SetOrientation(int orientation) {
    m_iOrientation = std::clamp(orientation, static_cast<int>(RLO_HORIZONTAL), static_cast<int>(RLO_NORTH));
}

std::string CLENIRoofLight::GetLabel() const {
    return StrPrintf("AD_%d", m_iId);
}

std::string CLENIRoofLight::GetTypeName() const {
    return m_iType == RL_SHED ? "ShedRoofLight" : "FlatRoofLight";
}

int CLENIRoofLight::GetTypeFromName(const std::string& name) {
    return EqualsNoCase(name, "ShedRoofLight") ? RL_SHED : RL_FLAT;
}

std::string CLENIRoofLight::GetRLOrientString(int orientation) {
    static const char* const names[] = {"Horizontal", "South",           "South East/West",
                                        "East West",  "North East/West", "North"};
    if (orientation >= RLO_HORIZONTAL && orientation <= RLO_NORTH) return names[orientation];
    Log().Printf(LOG_ERROR, "GetRLOrientString Could not find %d match", orientation);
    return names[RLO_HORIZONTAL];
}
