#include "ui/platform/QtPreferenceStore.h"
#include "app/Preferences.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(QtPreferenceStoreTest, PreferencesSurviveTheStoreAndItsLetterCase) {
    TempDir dir{"prefs"};
    const QString ini = QString::fromStdString((dir / "prefs.ini").string());
    fs::create_directories(dir / "Documents");
    setenv("XDG_DOCUMENTS_DIR", (dir / "Documents").c_str(), 1);
    {
        CQtPreferenceStore store(ini);
        IPreferenceStore* previous = SetPreferenceStore(&store);
        CPreferences prefs;
        prefs.m_dGridSize = 0.5;
        prefs.m_csProjectsDir = (dir / "Projects").string();
        WriteFileText(dir / "a.LENI1XML", "x");
        prefs.AddToRecentFiles((dir / "a.LENI1XML").string());
        prefs.SavePreferences();
        SetPreferenceStore(previous);
    }
    CQtPreferenceStore store(ini);
    std::string value;
    EXPECT_EQ(store.ReadString("HKEY_CURRENT_USER", "software\\nuva_leni_v1", "pref_grid_size", value),
              IPreferenceStore::FOUND);
    EXPECT_DOUBLE_EQ(std::stod(value), 0.5);
    EXPECT_EQ(store.ReadString("HKEY_CURRENT_USER", "Software\\NUVA_LENI_V1", "NO_SUCH_VALUE", value),
              IPreferenceStore::NOT_FOUND);

    IPreferenceStore* previous = SetPreferenceStore(&store);
    CPreferences prefs;
    prefs.LoadPreferences();
    SetPreferenceStore(previous);
    EXPECT_DOUBLE_EQ(prefs.m_dGridSize, 0.5);
    EXPECT_EQ(prefs.m_csProjectsDir, (dir / "Projects").string());
    EXPECT_EQ(prefs.GetRecentFile(0), (dir / "a.LENI1XML").string());
    unsetenv("XDG_DOCUMENTS_DIR");
}

} // namespace
