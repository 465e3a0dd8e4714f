// Preference values edited by hand into numbers that are not finite are refused: the defaults
// stay, so no window or roof light is ever made from them.

#include "app/Preferences.h"
#include "base/WideReg.h"
#include "model/LENIProject.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(DamagedPreferencesTest, NonFiniteNumbersKeepTheDefaults) {
    CMemoryPreferenceStore store;
    IPreferenceStore* previous = SetPreferenceStore(&store);
    store.CreateKey("HKEY_CURRENT_USER", "Software\\NUVA_LENI_V1");
    const std::pair<const char*, const char*> stored[] = {{"PREF_WINDOW_WIDTH", "nan"},
                                                          {"PREF_WINDOW_HEIGHT", "inf"},
                                                          {"PREF_TAUD65", "1e999"},
                                                          {"PREF_K1", "-inf"}};
    for (const auto& [name, text] : stored)
        store.WriteString("HKEY_CURRENT_USER", "Software\\NUVA_LENI_V1", name, text);

    CPreferences prefs;
    prefs.LoadPreferences();
    // What an account without stored values gets.
    CMemoryPreferenceStore empty;
    SetPreferenceStore(&empty);
    CPreferences defaults;
    defaults.LoadPreferences();
    EXPECT_EQ(prefs.m_WindowTemplate.m_dWidth, defaults.m_WindowTemplate.m_dWidth);
    EXPECT_EQ(prefs.m_WindowTemplate.m_dHeight, defaults.m_WindowTemplate.m_dHeight);
    EXPECT_EQ(prefs.m_WindowTemplate.m_dTauD65, defaults.m_WindowTemplate.m_dTauD65);
    EXPECT_EQ(prefs.m_WindowTemplate.m_dK1, defaults.m_WindowTemplate.m_dK1);

    SetPreferenceStore(previous);
    CLENIProject::SetDxfFloorImporterForProject(nullptr);
}
