// The project document without a window: safe names, the guarded folder deletion and saving.

#include "app/LENIBDoc.h"
#include "app/LENIBApp.h"
#include "app/Preferences.h"
#include "base/WideReg.h"
#include "model/LENIProject.h"
#include "report/ReportPages.h"
#include "support/TestSupport.h"
#include "tables/BuildingTypeData.h"

#include <gtest/gtest.h>

namespace {

TEST(LENIBDocNamesTest, UnsafeCharactersBecomeUnderscoresInFileNamesOnly) {
    const struct {
        const char* name;
        const char* safe;
    } cases[] = {
        {"Ground floor", "Ground floor"},
        {"a/b", "a_b"},
        {"..\\..\\x", "___.._x"},
        {"..", "__"},
        {".hidden", "_hidden"},
        {"end. ", "end__"},
        {"a:b*c?", "a_b_c_"},
        {"tab\there", "tab_here"},
        {"CON", "CON_"},
        {"nul.txt", "nul.txt_"},
        {"com1", "com1_"},
        {"COM10", "COM10"},
        {"", "_"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeSafeFileName(c.name), c.safe) << c.name;

    const struct {
        const char* name;
        bool accepted;
    } names[] = {{"Alpha", true}, {"Alpha 2.0", true}, {".", false},     {"..", false},   {" . . ", false},
                 {"a|b", false},  {"a\"b", false},     {"a\x01", false}, {"a\x7f", false}};
    for (const auto& c : names)
        EXPECT_EQ(IsAcceptableProjectName(c.name), c.accepted) << c.name;
}

TEST(LENIBDocNamesTest, FolderDeletionStaysStrictlyInsideTheProjectsFolder) {
    TempDir dir{"doc"};
    const fs::path projects = dir / "Projects";
    fs::create_directories(projects / "Alpha" / "sub");
    fs::create_directories(dir / "Outside");
    WriteFileText(dir / "Outside" / "keep.txt", "x");
    std::error_code linkError;
    fs::create_directory_symlink(dir / "Outside", projects / "Link", linkError);
    if (linkError) GTEST_SKIP() << "this system cannot make a folder link: " << linkError.message();
    RecordingMessageBoxes boxes;
    LogRecorder log;

    for (const fs::path& refused : {projects, projects / ".", projects / "..", dir.path(), dir / "Outside",
                                    projects / "Alpha" / ".." / "..", projects / "Link"}) {
        EXPECT_FALSE(DeleteProjectFolder(refused, projects)) << refused;
        EXPECT_TRUE(log.Contains("is not inside the projects folder")) << refused;
        log.Clear();
    }
    EXPECT_FALSE(DeleteProjectFolder(projects / "Alpha", ""));
    EXPECT_TRUE(fs::exists(dir / "Outside" / "keep.txt"));
    EXPECT_TRUE(fs::exists(projects / "Alpha" / "sub"));

    EXPECT_TRUE(DeleteProjectFolder(projects / "Alpha", projects));
    EXPECT_FALSE(fs::exists(projects / "Alpha"));
    EXPECT_TRUE(fs::exists(projects));
}

// A document without window: every dialog is cancelled.
class NoUi : public IDocumentUi {
  public:
    void ClearView() override {}
    void ShowProject() override {}
    void DocumentChanged() override {}
    bool IsEditorIdle() const override { return true; }
    bool HasCurrentTab() const override { return true; }
    bool RunProjectDialog(CLENIProject&, int) override { return false; }
    bool RunNameDialog(const std::string&, std::string&) override { return false; }
    bool AskProjectFileToOpen(const std::string&, std::string&) override { return false; }
    bool AskResultsFileToSave(const std::string&, const std::string&, std::string&) override { return false; }
    void OpenFolderInBrowser(const std::string&) override {}
    void RunBuildingCalculation() override { ++calculations; }
    void SetWaitCursor(bool) override {}
    int calculations = 0;
};

TEST(LENIBDocTest, AFailedSaveKeepsTheWorkMarkedAsUnsaved) {
    CBuildingTypeData::InitBuildingTypeTables();
    TempDir dir{"doc"};
    Preferences() = CPreferences();
    RecordingMessageBoxes boxes;
    LogRecorder log;
    NoUi ui;
    CLENIBDoc doc(&ui);
    doc.GetProject().SetName("Alpha");
    doc.GetProject().SetProjectFolder((dir / "missing").string());
    doc.GetProject().SetDominantBuildingType(CBuildingTypeData::GetBuildingTypeNames()[0]);
    doc.SetModifiedFlag(true);

    EXPECT_FALSE(doc.Save());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(log.Contains("Project directory does not exist"));
    // Yes to the question with a save that fails: the command that asked stops.
    boxes.answers.push_back(IDYES);
    EXPECT_FALSE(doc.SaveModified());
    EXPECT_TRUE(doc.IsModified());

    fs::create_directories(dir / "missing");
    EXPECT_TRUE(doc.Save());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(App().GetRecentFile(0), (dir / "missing" / "Alpha.LENI1XML").string());
    Preferences() = CPreferences();
}

TEST(LENIBDocTest, BuildingCalculationRunsOnlyForAnOpenProjectWithCountedFloors) {
    CBuildingTypeData::InitBuildingTypeTables();
    RecordingMessageBoxes boxes;
    LogRecorder log;
    NoUi ui;
    CLENIBDoc doc(&ui);
    doc.OnBuildingCalculation();
    EXPECT_TRUE(boxes.boxes.empty());
    doc.GetProject().SetName("Alpha");
    doc.GetProject().SetProjectFolder("/tmp");
    doc.OnBuildingCalculation();
    EXPECT_TRUE(boxes.Contains("There needs to be at least one floor"));
    EXPECT_EQ(ui.calculations, 0);
    doc.GetProject().AddFloor("Ground", 3, 0, "");
    doc.OnBuildingCalculation();
    EXPECT_EQ(ui.calculations, 1);
}

TEST(LENIBDocTest, ANewProjectPrintsItsProjectResultsAndFloorPages) {
    // The project dialog answered with a name and a folder.
    class NewUi : public NoUi {
      public:
        bool RunProjectDialog(CLENIProject& project, int) override {
            project.SetName("Alpha");
            project.SetProjectFolder(folder);
            return true;
        }
        std::string folder;
    };
    TempDir dir{"doc"};
    Preferences() = CPreferences();
    RecordingMessageBoxes boxes;
    LogRecorder log;
    NewUi ui;
    ui.folder = dir.path().string();
    CLENIBDoc doc(&ui);
    doc.OnFileNew();
    ASSERT_EQ(doc.GetProject().GetName(), "Alpha");
    doc.GetProject().AddFloor("Ground", 3, 0, "");
    doc.GetProject().AddFloor("First", 3, 0, "");
    std::string parts;
    for (const ReportPart& part : BuildReportParts(BuildPrintPageList(doc.GetProject()), 1, 2480, 3508))
        parts += GetReportPartTitle(part) + "|";
    EXPECT_EQ(parts, "Project||Floor: Ground|Floor: First|Annual results of the building, its floors and rooms|"
                     "Monthly energy of the building|");
}

} // namespace

// The desktop saves a project whose file lies at the longest path the platform allows (its
// temporary beside it cut to fit), keeps it among the recent files across a start, and reports
// one a byte longer without marking the work saved.
TEST(LENIBDocTest, SavesUpToThePlatformsLongestPathAndReportsBeyondIt) {
#ifdef _WIN32
    GTEST_SKIP() << "paths there are short; the cases are the same at 260 bytes";
#endif
    CBuildingTypeData::InitBuildingTypeTables();
    TempDir dir{"long"};
    CMemoryPreferenceStore store;
    IPreferenceStore* previous = SetPreferenceStore(&store);
    Preferences() = CPreferences();
    RecordingMessageBoxes boxes;
    NoUi ui;
    CLENIBDoc doc(&ui);
    doc.GetProject().SetName("Alpha");
    doc.GetProject().SetDominantBuildingType(CBuildingTypeData::GetBuildingTypeNames()[0]);
    ASSERT_TRUE(doc.GetProject().AddFloor("Ground", 3.0, 0, ""));
    const std::string fileName = "/Alpha.LENI1XML";
    for (const size_t bytes : {kMaxPathBytes, kMaxPathBytes + 1}) {
        SCOPED_TRACE(bytes);
        // Folders of 200 bytes, then one that brings the project file's path to the length.
        fs::path folder = dir.path() / "q";
        while (bytes - folder.string().size() - fileName.size() > 201)
            folder /= std::string(200, 'p');
        folder /= std::string(bytes - folder.string().size() - fileName.size() - 1, 'r');
        ASSERT_TRUE(fs::create_directories(folder));
        const std::string file = folder.string() + fileName;
        ASSERT_EQ(file.size(), bytes);
        doc.GetProject().SetProjectFolder(folder.string());
        doc.SetModifiedFlag(true);
        LogRecorder log;
        const bool fits = bytes <= kMaxPathBytes;
        EXPECT_EQ(doc.Save(), fits);
        EXPECT_EQ(doc.IsModified(), !fits);
        if (fits) {
            CLENIProject read;
            EXPECT_TRUE(read.ReadProject(file)) << log.All();
            Preferences().SavePreferences();
            CPreferences again;
            again.LoadPreferences();
            EXPECT_EQ(again.GetRecentFile(0), file);
            EXPECT_FALSE(log.Contains("too long")) << log.All();
        } else {
            EXPECT_TRUE(log.Contains("Could not save the project file:\n" + file)) << log.All();
            // Nothing left behind, not even the temporary.
            EXPECT_TRUE(fs::is_empty(folder));
        }
    }
    Preferences() = CPreferences();
    SetPreferenceStore(previous);
}
