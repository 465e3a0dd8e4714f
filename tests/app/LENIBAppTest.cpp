#include "app/LENIBApp.h"
#include "app/Preferences.h"
#include "base/WideReg.h"
#include "products/LumSysDataBase.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <regex>
#include <vector>

namespace {

// Points the per-user data folder at a temporary folder while alive.
class AppDataHome {
  public:
    AppDataHome() {
        const char* old = std::getenv("XDG_DATA_HOME");
        m_hadOld = old != nullptr;
        if (old) m_old = old;
        setenv("XDG_DATA_HOME", m_dir.path().c_str(), 1);
    }
    ~AppDataHome() {
        if (m_hadOld)
            setenv("XDG_DATA_HOME", m_old.c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
        App().Reset();
    }
    fs::path AppData() const { return m_dir / "ORVANTIS NUVA"; }

  private:
    TempDir m_dir{"appdata"};
    bool m_hadOld = false;
    std::string m_old;
};

std::string StripPrefix(const std::string& line) {
    return line.size() >= 20 && line[0] == '[' ? line.substr(20) : line;
}

TEST(LENIBAppTest, VersionBannerCarriesTheBuildDateAndTime) {
    EXPECT_TRUE(std::regex_match(CLENIBApp::VersionBanner(),
                                 std::regex("ORVANTIS NUVA V3\\.3\\.8 [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4} "
                                            "[0-9]{2}:[0-9]{2}:[0-9]{2}")))
        << CLENIBApp::VersionBanner();
}

TEST(LENIBAppTest, InteractiveStartMakesTheAppDataFolderAndRewritesTheGeneralLog) {
    AppDataHome home;
    for (int start = 0; start < 2; ++start) {
        LogRecorder log;
        RecordingMessageBoxes boxes;
        App().Reset();
        App().InitInteractive();
        EXPECT_FALSE(App().IsBatch());
        EXPECT_EQ(App().GetAppDataDir(), home.AppData().string());
        EXPECT_TRUE(fs::is_directory(home.AppData()));

        fs::path logPath = home.AppData() / "LENI_V1_LOG.TXT";
        EXPECT_EQ(App().GetGeneralLogPath(), logPath.string());
        auto lines = ReadLines(logPath);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[0].rfind("CLogger::SetToFile (" + logPath.string() + ") on Date: ", 0), 0u);
        // Only this start's lines: the file is rewritten, not appended to.
        EXPECT_EQ(StripPrefix(lines[lines.size() - 2]), "Version = " + CLENIBApp::VersionBanner());
        EXPECT_EQ(StripPrefix(lines.back()), "Logging to " + logPath.string());
        EXPECT_EQ(log.Count("help file not found", LOG_ERROR), 1);
        EXPECT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(App().ExitInstance(), 0);
    }
}

TEST(LENIBAppTest, HelpFileInTheAppDataFolderIsTaken) {
    AppDataHome home;
    fs::create_directories(home.AppData());
    WriteFileText(home.AppData() / "LENI_NUVA_HELP.chm", "help");
    LogRecorder log;
    RecordingMessageBoxes boxes;
    App().Reset();
    App().PrepareWorkingFolders();
    EXPECT_EQ(App().GetHelpFilePath(), (home.AppData() / "LENI_NUVA_HELP.chm").string());
    EXPECT_FALSE(log.Contains("help file not found"));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST(LENIBAppTest, HelpIsLookedForInTheAppDataFolderThenBesideTheProgramThenInTheInstalledManual) {
    // Where the help files are (relative to a prefix folder with bin/ and share/), and which is taken.
    struct Case {
        std::vector<std::string> present;
        std::string taken;
    } cases[] = {
        {{"bin/manual/index.html", "share/orvantis/manual/index.html"}, "bin/manual/index.html"},
        {{"share/orvantis/manual/index.html"}, "share/orvantis/manual/index.html"},
        {{"appdata/ORVANTIS NUVA/LENI_NUVA_HELP.chm", "bin/manual/index.html"},
         "appdata/ORVANTIS NUVA/LENI_NUVA_HELP.chm"},
        {{}, ""},
    };
    for (const Case& c : cases) {
        TempDir prefix{"prefix"};
        const char* old = std::getenv("XDG_DATA_HOME");
        const std::string oldValue = old ? old : "";
        setenv("XDG_DATA_HOME", (prefix / "appdata").c_str(), 1);
        for (const std::string& file : c.present) {
            fs::create_directories((prefix / file).parent_path());
            WriteFileText(prefix / file, "help");
        }
        LogRecorder log;
        RecordingMessageBoxes boxes;
        App().Reset();
        App().SetProgramDir((prefix / "bin").string());
        App().PrepareWorkingFolders();
        const std::string expected = c.taken.empty() ? "" : (prefix / c.taken).string();
        EXPECT_EQ(App().GetHelpFilePath(), expected) << c.present.size();
        const std::string missing = (prefix / "appdata" / "ORVANTIS NUVA" / "LENI_NUVA_HELP.chm").string() +
                                    "\n" + (prefix / "bin" / "manual" / "index.html").string() + "\n" +
                                    (prefix / "share" / "orvantis" / "manual" / "index.html").string() +
                                    "\nhelp file not found";
        EXPECT_EQ(log.Count(missing, LOG_ERROR), c.taken.empty() ? 1 : 0);
        if (old)
            setenv("XDG_DATA_HOME", oldValue.c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
        App().Reset();
    }
}

TEST(LENIBAppTest, AppDataFolderThatCannotBeMadeIsReported) {
    AppDataHome home;
    fs::path blocker = home.AppData().parent_path() / "blocker";
    WriteFileText(blocker, "a file where a folder should be");
    setenv("XDG_DATA_HOME", blocker.c_str(), 1);
    LogRecorder log;
    RecordingMessageBoxes boxes;
    App().Reset();
    App().PrepareWorkingFolders();
    EXPECT_EQ(log.Count("Could not make directory:\n" + (blocker / "ORVANTIS NUVA").string(), LOG_ERROR), 1);
    EXPECT_TRUE(boxes.Contains("Could not make directory:"));
}

TEST(LENIBAppTest, BatchRunShowsNoBoxEvenWithAHostInstalled) {
    TempDir dir;
    // A project that reads and calculates without an error.
    fs::copy_file(TestDataDir() / "energy" / "hand" / "HAND.LENI1XML", dir / "p.LENI1XML");
    LogRecorder log;
    RecordingMessageBoxes boxes;
    App().Reset();
    // The log file cannot be created: that is told on standard error, not in a box that would
    // keep an unattended run waiting.
    std::string line = "report " + (dir / "p.LENI1XML").string() + " " + (dir / "r.xml").string() + " \"" +
                       (dir / "no such folder" / "l.txt").string() + "\"";
    EXPECT_EQ(App().RunBatch(line), 0);
    EXPECT_TRUE(App().IsBatch());
    EXPECT_EQ(App().GetBatchResult(), 0);
    EXPECT_EQ(App().ExitInstance(), 0);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(log.Count("Cannot open the log file", LOG_ERROR), 1);

    App().Reset();
    Log().Reset();
    EXPECT_EQ(App().RunBatch("frobnicate"), 7);
    EXPECT_EQ(App().ExitInstance(), 7);
    EXPECT_TRUE(boxes.boxes.empty());
    App().Reset();
}

} // namespace

namespace {

TEST(LENIBAppExitTest, InteractiveExitWritesTheChangedLuminaireDatabaseAndThePreferences) {
    AppDataHome home;
    LogRecorder log;
    RecordingMessageBoxes boxes;
    CMemoryPreferenceStore store;
    IPreferenceStore* previous = SetPreferenceStore(&store);
    Preferences() = CPreferences();
    CLumSysDataBase::ResetGlobal();
    App().Reset();
    App().InitInteractive();
    App().LoadLuminaireDatabase();
    // The first start is no error: the log says what was done, no box is shown.
    EXPECT_EQ(log.Count("Luminaire database file:\n" + (home.AppData() / "LENI_V1_LUM_DB.XML").string() +
                            "\ndoes not exist\nA new empty luminaire database will be created.",
                        LOG_INFO),
              1);
    EXPECT_EQ(log.Count("Created the luminaire database with 5 generic products:\n" +
                            (home.AppData() / "LENI_V1_LUM_DB.XML").string(),
                        LOG_INFO),
              1);
    for (const auto& box : boxes.boxes)
        EXPECT_EQ(box.text.find("luminaire database"), std::string::npos) << box.text;
    // The new database starts with the generic products.
    EXPECT_EQ(CLumSysDataBase::Global().GetCount(), 5);
    EXPECT_EQ(CLumSysDataBase::Global().GetLumDataFromRefId("GENERIC LED HIGH-BAY").GetMaxPow(), 150.0);
    App().SetDefaultGridSize(0.5);
    CLumSysDataBase::Global().SetChanged(true);

    EXPECT_EQ(App().ExitInstance(), 0);
    EXPECT_TRUE(fs::exists(home.AppData() / "LENI_V1_LUM_DB.XML"));
    EXPECT_FALSE(CLumSysDataBase::Global().IsChanged());
    std::string grid;
    ASSERT_EQ(store.ReadString("HKEY_CURRENT_USER", "Software\\NUVA_LENI_V1", "PREF_GRID_SIZE", grid),
              IPreferenceStore::FOUND);
    EXPECT_DOUBLE_EQ(std::stod(grid), 0.5);

    SetPreferenceStore(previous);
    Preferences() = CPreferences();
    CLumSysDataBase::ResetGlobal();
}

} // namespace
