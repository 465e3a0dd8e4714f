#include "app/Preferences.h"

#include "base/FileUtils.h"
#include "base/Logger.h"
#include "base/TextUtils.h"
#include "base/WideReg.h"
#include "model/DxfImport.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::string DoubleText(double value) {
    return FormatDouble("%.40f", value);
}

double Clamped(double value, double lo, double hi) {
    return std::clamp(value, lo, hi);
}

} // namespace

CPreferences& Preferences() {
    static CPreferences preferences;
    return preferences;
}

CPreferences::CPreferences() {
    SetDefaults();
}

void CPreferences::SetDefaults() {
    const std::string documents = MyGetFolderPath().string();
    m_csDxfReadDir = m_csProjectsDir = m_csLdtIesDir = m_csDbImportDir = documents;
    m_WindowTemplate = CLENIWindow();
    m_WindowTemplate.m_dWidth = 1.5;
    m_WindowTemplate.m_dHeight = 1.0;
    m_WindowTemplate.m_dSillHeight = 0.5;
    m_WindowTemplate.m_dTauD65 = 0.85;
    m_WindowTemplate.m_dK1 = 0.95;
    m_WindowTemplate.m_dK2 = 0.8;
    m_WindowTemplate.m_dK3 = 0.85;
    m_WindowTemplate.m_dFrontAngle = m_WindowTemplate.m_dSideAngle = m_WindowTemplate.m_dOverhangAngle = 0.0;
    m_WindowTemplate.m_bHasGdf = false;
    m_WindowTemplate.m_dGdfTau = m_WindowTemplate.m_dGdfK1 = m_WindowTemplate.m_dGdfK2 =
        m_WindowTemplate.m_dGdfK3 = 1.0;
    m_RoofLightTemplate = CLENIRoofLight();
    m_RoofLightTemplate.m_dXLength = 4.0;
    m_RoofLightTemplate.m_dYWidth = 1.0;
    m_RoofLightTemplate.m_dGammaF = 0.0; // the default roof light is flat
    m_RoofLightTemplate.m_dGammaW = 30.0;
    m_RoofLightTemplate.m_dKObl1 = 0.9;
    m_RoofLightTemplate.m_dKObl2 = 0.9;
    m_RoofLightTemplate.m_dKObl3 = 0.85;
    m_RoofLightTemplate.SetOrientation(0);
    m_RoofLightTemplate.m_iType = RL_FLAT;
    m_RoofLightTemplate.m_dTauD65Sa = 0.5;
    m_RoofLightTemplate.m_dTauD65Sna = 0.85;
    m_RoofLightTemplate.m_dHs = m_RoofLightTemplate.m_dHg = m_RoofLightTemplate.m_dHw = 1.0;
    m_dGridSize = 1.0;
    for (std::string& file : m_RecentFiles)
        file.clear();
}

void CPreferences::LoadPreferences() {
    SetDefaults();
    const CWideReg reg(kBaseKey);
    const std::string base = reg.GetBaseKey();
    auto folder = [&](const char* name, std::string& value) {
        const std::string text = reg.GetRegistryStringValue(base, name, value);
        if (!text.empty()) value = text;
    };
    auto number = [&](const char* name, double& value) {
        value = reg.GetRegistryDoubleValue(base, name, value);
    };
    auto ranged = [&](const char* name, double& value, double lo, double hi) {
        value = Clamped(reg.GetRegistryDoubleValue(base, name, value), lo, hi);
    };
    auto integer = [&](const char* name, int value) {
        std::string text;
        return reg.GetRegistryStringValue(base + name, text) ? std::atoi(text.c_str()) : value;
    };

    folder("PREF_DXF_READ_DIR", m_csDxfReadDir);
    folder("PREF_PROJECTS_DIR", m_csProjectsDir);
    folder("PREF_LDT_IES_DIR", m_csLdtIesDir);
    folder("PREF_DB_IMPORT_DIR", m_csDbImportDir);
    CLENIWindow& w = m_WindowTemplate;
    number("PREF_WINDOW_WIDTH", w.m_dWidth);
    number("PREF_WINDOW_HEIGHT", w.m_dHeight);
    number("PREF_WINDOW_LOWER_Y", w.m_dSillHeight);
    number("PREF_TAUD65", w.m_dTauD65);
    number("PREF_K1", w.m_dK1);
    number("PREF_K2", w.m_dK2);
    number("PREF_K3", w.m_dK3);
    ranged("FRONT_ANGLE", w.m_dFrontAngle, 0.0, 89.999);
    ranged("SIDE_ANGLE", w.m_dSideAngle, 0.0, 89.999);
    ranged("OVERHANG_ANGLE", w.m_dOverhangAngle, 0.0, 89.999);
    w.m_bHasGdf = reg.GetRegistryBoolValue(base, "PREF_HAS_GDF", false);
    number("PREF_GDF_TAU", w.m_dGdfTau);
    number("PREF_GDF_K1", w.m_dGdfK1);
    number("PREF_GDF_K2", w.m_dGdfK2);
    number("PREF_GDF_K3", w.m_dGdfK3);
    CLENIRoofLight& r = m_RoofLightTemplate;
    ranged("PREF_RL_XLEN", r.m_dXLength, 0.01, 500.0);
    ranged("PREF_RL_YWID", r.m_dYWidth, 0.01, 500.0);
    ranged("PREF_RL_GAMMA_F_DEGS", r.m_dGammaF, 0.0, 90.0);
    ranged("PREF_RL_GAMMA_W_DEGS", r.m_dGammaW, 0.0, 90.0);
    ranged("PREF_RL_KOBL1", r.m_dKObl1, 0.0, 1.0);
    ranged("PREF_RL_KOBL2", r.m_dKObl2, 0.0, 1.0);
    ranged("PREF_RL_KOBL3", r.m_dKObl3, 0.0, 1.0);
    r.SetOrientation(integer("PREF_RL_ORIENT", r.GetOrientation()));
    r.m_iType = integer("PREF_RL_TYPE", r.m_iType);
    number("PREF_RL_TAUD_SA", r.m_dTauD65Sa);
    number("PREF_RL_TAUD_SNA", r.m_dTauD65Sna);
    number("PREF_RL_HS", r.m_dHs);
    number("PREF_RL_HG", r.m_dHg);
    number("PREF_RL_HW", r.m_dHw);
    number("PREF_GRID_SIZE", m_dGridSize);

    // Only files that still exist, moved up into the free places.
    int next = 0;
    for (int n = 1; n <= kRecentFiles; ++n) {
        std::string path;
        if (reg.GetRegistryStringValue(base + StrPrintf("MRU%d", n), path) && FileExists(path))
            m_RecentFiles[next++] = path;
    }

    // A floor added from a drawing starts its windows from the template, as it stands then.
    InstallDxfFloorImporter([this] { return m_WindowTemplate; });
}

void CPreferences::SavePreferences() const {
    const CWideReg reg(kBaseKey);
    const std::string& key = reg.GetBaseKey();
    auto text = [&](const char* name, const std::string& value) { reg.SetValue(key, value, name); };
    auto number = [&](const char* name, double value) { reg.SetValue(key, DoubleText(value), name); };
    auto integer = [&](const char* name, int value) { reg.SetValue(key, StrPrintf("%d", value), name); };

    text("PREF_DXF_READ_DIR", m_csDxfReadDir);
    text("PREF_PROJECTS_DIR", m_csProjectsDir);
    text("PREF_LDT_IES_DIR", m_csLdtIesDir);
    text("PREF_DB_IMPORT_DIR", m_csDbImportDir);
    const CLENIWindow& w = m_WindowTemplate;
    number("PREF_WINDOW_WIDTH", w.m_dWidth);
    number("PREF_WINDOW_HEIGHT", w.m_dHeight);
    number("PREF_WINDOW_LOWER_Y", w.m_dSillHeight);
    number("PREF_TAUD65", w.m_dTauD65);
    number("PREF_K1", w.m_dK1);
    number("PREF_K2", w.m_dK2);
    number("PREF_K3", w.m_dK3);
    number("FRONT_ANGLE", w.m_dFrontAngle);
    number("SIDE_ANGLE", w.m_dSideAngle);
    number("OVERHANG_ANGLE", w.m_dOverhangAngle);
    text("PREF_HAS_GDF", w.m_bHasGdf ? "1" : "0");
    number("PREF_GDF_TAU", w.m_dGdfTau);
    number("PREF_GDF_K1", w.m_dGdfK1);
    number("PREF_GDF_K2", w.m_dGdfK2);
    number("PREF_GDF_K3", w.m_dGdfK3);
    const CLENIRoofLight& r = m_RoofLightTemplate;
    number("PREF_RL_XLEN", r.m_dXLength);
    number("PREF_RL_YWID", r.m_dYWidth);
    number("PREF_RL_GAMMA_F_DEGS", r.m_dGammaF);
    number("PREF_RL_GAMMA_W_DEGS", r.m_dGammaW);
    number("PREF_RL_KOBL1", r.m_dKObl1);
    number("PREF_RL_KOBL2", r.m_dKObl2);
    number("PREF_RL_KOBL3", r.m_dKObl3);
    integer("PREF_RL_ORIENT", r.GetOrientation());
    integer("PREF_RL_TYPE", r.m_iType);
    number("PREF_RL_TAUD_SA", r.m_dTauD65Sa);
    number("PREF_RL_TAUD_SNA", r.m_dTauD65Sna);
    number("PREF_RL_HS", r.m_dHs);
    number("PREF_RL_HG", r.m_dHg);
    number("PREF_RL_HW", r.m_dHw);
    number("PREF_GRID_SIZE", m_dGridSize);
    for (int n = 1; n <= kRecentFiles; ++n)
        reg.SetValue(key, m_RecentFiles[n - 1], StrPrintf("MRU%d", n));
}

void CPreferences::AddToRecentFiles(const std::string& path) {
    if (path.empty() || !FileExists(path)) return;
    for (const std::string& file : m_RecentFiles)
        if (EqualsNoCase(file, path)) return; // already listed: the order stays
    for (int i = kRecentFiles - 1; i > 0; --i)
        m_RecentFiles[i] = m_RecentFiles[i - 1];
    m_RecentFiles[0] = path;
}

std::string CPreferences::GetRecentFile(int position) const {
    return position >= 0 && position < kRecentFiles ? m_RecentFiles[position] : std::string();
}
