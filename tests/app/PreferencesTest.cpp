#include "app/Preferences.h"

#include "base/FileUtils.h"
#include "base/WideReg.h"
#include "model/LENIProject.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

const char* const kRoot = "HKEY_CURRENT_USER";
const char* const kKey = "Software\\NUVA_LENI_V1";

class PreferencesTest : public ::testing::Test {
  protected:
    PreferencesTest() { m_pPrevious = SetPreferenceStore(&store); }
    ~PreferencesTest() override {
        SetPreferenceStore(m_pPrevious);
        CLENIProject::SetDxfFloorImporterForProject(nullptr);
    }
    void Store(const char* name, const std::string& value) {
        store.CreateKey(kRoot, kKey);
        store.WriteString(kRoot, kKey, name, value);
    }
    std::string Stored(const char* name) {
        std::string value;
        EXPECT_EQ(store.ReadString(kRoot, kKey, name, value), IPreferenceStore::FOUND) << name;
        return value;
    }
    fs::path MakeFile(const std::string& name) {
        WriteFileText(dir / name, "x");
        return dir / name;
    }

    CMemoryPreferenceStore store;
    RecordingMessageBoxes boxes;
    LogRecorder log;
    TempDir dir{"prefs"};
    CPreferences prefs;

  private:
    IPreferenceStore* m_pPrevious = nullptr;
};

} // namespace

TEST_F(PreferencesTest, AFreshAccountGetsTheDefaults) {
    prefs.LoadPreferences();
    const std::string documents = MyGetFolderPath().string();
    EXPECT_EQ(prefs.m_csDxfReadDir, documents);
    EXPECT_EQ(prefs.m_csProjectsDir, documents);
    EXPECT_EQ(prefs.m_csLdtIesDir, documents);
    EXPECT_EQ(prefs.m_csDbImportDir, documents);
    EXPECT_EQ(prefs.m_WindowTemplate.m_dWidth, 1.5);
    EXPECT_EQ(prefs.m_WindowTemplate.m_dHeight, 1.0);
    EXPECT_EQ(prefs.m_WindowTemplate.m_dSillHeight, 0.5);
    EXPECT_EQ(prefs.m_WindowTemplate.m_dGdfTau, 1.0);
    EXPECT_FALSE(prefs.m_WindowTemplate.m_bHasGdf);
    EXPECT_EQ(prefs.m_RoofLightTemplate.m_dXLength, 4.0);
    EXPECT_EQ(prefs.m_RoofLightTemplate.m_dGammaF, 0.0);
    EXPECT_EQ(prefs.m_RoofLightTemplate.m_dGammaW, 30.0);
    EXPECT_EQ(prefs.m_RoofLightTemplate.m_iType, RL_FLAT);
    EXPECT_EQ(prefs.m_dGridSize, 1.0);
    for (int i = 0; i < CPreferences::kRecentFiles; ++i)
        EXPECT_EQ(prefs.GetRecentFile(i), "");
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(log.messages.empty()) << log.All();
}

TEST_F(PreferencesTest, SavedValuesReadBackInTheirTextForms) {
    prefs.m_csProjectsDir = "/home/u/Projekte";
    prefs.m_WindowTemplate.m_dWidth = 2.25;
    prefs.m_WindowTemplate.m_dSideAngle = 12.5;
    prefs.m_WindowTemplate.m_bHasGdf = true;
    prefs.m_RoofLightTemplate.SetOrientation(3);
    prefs.m_RoofLightTemplate.m_iType = RL_SHED;
    prefs.m_RoofLightTemplate.m_dKObl3 = 0.7;
    prefs.m_dGridSize = 0.5;
    prefs.AddToRecentFiles(MakeFile("a.LENI1XML").string());
    prefs.SavePreferences();

    EXPECT_EQ(Stored("PREF_WINDOW_WIDTH"), "2.2500000000000000000000000000000000000000");
    EXPECT_EQ(Stored("PREF_RL_ORIENT"), "3");
    EXPECT_EQ(Stored("PREF_HAS_GDF"), "1");
    EXPECT_EQ(Stored("MRU1"), (dir / "a.LENI1XML").string());
    EXPECT_EQ(Stored("MRU6"), "");

    CPreferences again;
    again.LoadPreferences();
    EXPECT_EQ(again.m_csProjectsDir, "/home/u/Projekte");
    EXPECT_EQ(again.m_WindowTemplate.m_dWidth, 2.25);
    EXPECT_EQ(again.m_WindowTemplate.m_dSideAngle, 12.5);
    EXPECT_TRUE(again.m_WindowTemplate.m_bHasGdf);
    EXPECT_EQ(again.m_RoofLightTemplate.GetOrientation(), 3);
    EXPECT_EQ(again.m_RoofLightTemplate.m_iType, RL_SHED);
    EXPECT_EQ(again.m_RoofLightTemplate.m_dKObl3, 0.7);
    EXPECT_EQ(again.m_dGridSize, 0.5);
    EXPECT_EQ(again.GetRecentFile(0), (dir / "a.LENI1XML").string());
}

TEST_F(PreferencesTest, StoredValuesAreKeptWithinTheirRanges) {
    const std::pair<const char*, const char*> stored[] = {
        {"FRONT_ANGLE", "95"},   {"PREF_RL_XLEN", "0"},   {"PREF_RL_GAMMA_W_DEGS", "abc"},
        {"PREF_RL_KOBL1", "-2"}, {"PREF_RL_YWID", "1e9"}, {"PREF_PROJECTS_DIR", ""}};
    for (const auto& [name, text] : stored)
        Store(name, text);
    prefs.LoadPreferences();
    EXPECT_EQ(prefs.m_WindowTemplate.m_dFrontAngle, 89.999);
    EXPECT_EQ(prefs.m_RoofLightTemplate.m_dXLength, 0.01);
    EXPECT_EQ(prefs.m_RoofLightTemplate.m_dGammaW, 0.0); // no number: 0
    EXPECT_EQ(prefs.m_RoofLightTemplate.m_dKObl1, 0.0);
    EXPECT_EQ(prefs.m_RoofLightTemplate.m_dYWidth, 500.0);
    EXPECT_EQ(prefs.m_csProjectsDir, MyGetFolderPath().string()); // empty: the default
}

TEST_F(PreferencesTest, AFlagOtherThanOneOrZeroIsShownAndReadsFalse) {
    Store("PREF_HAS_GDF", "yes");
    prefs.LoadPreferences();
    EXPECT_FALSE(prefs.m_WindowTemplate.m_bHasGdf);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "CWideReg::GetRegistryBoolValue, expected 1 or 0, got:\nyes");
}

TEST_F(PreferencesTest, RecentFilesKeepTheirOrderAndDropMissingOnes) {
    const std::string a = MakeFile("a.xml").string(), b = MakeFile("b.xml").string(),
                      c = MakeFile("c.xml").string(), d = MakeFile("d.xml").string();
    for (const std::string& f : {c, b, a})
        prefs.AddToRecentFiles(f);
    prefs.AddToRecentFiles(b);
    prefs.AddToRecentFiles(MakeFile("B.XML").string()); // b in other letters: already listed
    prefs.AddToRecentFiles((dir / "none.xml").string());
    prefs.AddToRecentFiles("");
    EXPECT_EQ(prefs.GetRecentFile(0), a);
    EXPECT_EQ(prefs.GetRecentFile(1), b);
    EXPECT_EQ(prefs.GetRecentFile(2), c);
    prefs.AddToRecentFiles(d);
    EXPECT_EQ(prefs.GetRecentFile(0), d);
    EXPECT_EQ(prefs.GetRecentFile(3), c);
    EXPECT_EQ(prefs.GetRecentFile(6), "");
    EXPECT_EQ(prefs.GetRecentFile(-1), "");

    for (int i = 0; i < 3; ++i)
        prefs.AddToRecentFiles(MakeFile("more" + std::to_string(i)).string());
    EXPECT_EQ(prefs.GetRecentFile(5), b); // six kept, the oldest dropped
    prefs.SavePreferences();

    // A file deleted between two runs is gone at the next start; the others move up.
    fs::remove(d);
    CPreferences next;
    next.LoadPreferences();
    EXPECT_EQ(next.GetRecentFile(2), (dir / "more0").string());
    EXPECT_EQ(next.GetRecentFile(3), a);
    EXPECT_EQ(next.GetRecentFile(4), b);
    EXPECT_EQ(next.GetRecentFile(5), "");
}

TEST_F(PreferencesTest, WideRegChecksPathsAndValueTypes) {
    const CWideReg reg("HKEY_CURRENT_USER\\Software\\NUVA_LENI_V1");
    EXPECT_EQ(reg.GetBaseKey(), "HKEY_CURRENT_USER\\Software\\NUVA_LENI_V1\\");
    std::string value;
    EXPECT_FALSE(reg.GetRegistryStringValue("HKEY_CURRENT_USER\\Software\\NUVA_LENI_V1\\MISSING", value));
    EXPECT_TRUE(log.messages.empty()); // a missing value is no error

    EXPECT_FALSE(reg.GetRegistryStringValue("HKEY_NOWHERE\\Software\\X", value));
    EXPECT_TRUE(log.Contains("GIKS:Bad initial key value:\nHKEY_NOWHERE\\Software\\X"));
    EXPECT_TRUE(log.Contains("GRSV: Bad initial key:\n<HKEY_NOWHERE\\Software\\X>"));
    EXPECT_FALSE(reg.GetRegistryStringValue("HKEY_CURRENT_USER\\" + std::string(260, 'k'), value));
    EXPECT_TRUE(log.Contains("GRSV: String too long (278 chars)"));

    store.SetNonStringValue(kRoot, kKey, "BINARY");
    EXPECT_FALSE(reg.GetRegistryStringValue(reg.GetBaseKey() + "binary", value));
    EXPECT_EQ(value, "Error, pBuffer not a string");
    Store("LONG", std::string(CWideReg::kMaxValue + 1, 'x'));
    EXPECT_EQ(reg.GetRegistryStringValue(reg.GetBaseKey(), "LONG", "dflt"), "dflt");
    EXPECT_TRUE(log.Contains("GRSV:Registry string too long"));
    EXPECT_EQ(reg.GetRegistryDoubleValue(reg.GetBaseKey(), "", 7.5), 7.5);
    EXPECT_TRUE(log.Contains("GRBASSV: Bad input params"));

    EXPECT_FALSE(reg.SetValue("HKEY_NOWHERE\\Software", "1", "X"));
    EXPECT_TRUE(boxes.Contains("SRSV: Bad initial key:\n<HKEY_NOWHERE\\Software>"));
    EXPECT_TRUE(reg.SetValue("HKEY_CURRENT_USER\\Software\\Other\\", "2,5", "num"));
    EXPECT_EQ(reg.GetRegistryDoubleValue("HKEY_CURRENT_USER\\Software\\Other\\", "NUM", 0.0), 2.0);

    log.Clear();
    const CWideReg empty("");
    EXPECT_TRUE(log.Contains("CWideReg::CWideReg : empty basename"));
    EXPECT_EQ(empty.GetRegistryStringValue(empty.GetBaseKey(), "PREF_K1", "d"), "d");
}
