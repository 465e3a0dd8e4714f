// A program killed while it saves a project leaves the project file either as it was or as the
// save meant it to be, always whole: the writer is killed at the moment the new text stands
// complete in its temporary file and has not yet replaced the old file.

#include "app/BatchCommands.h"
#include "app/ReportWork.h"
#include "base/FileUtils.h"
#include "model/LENIProject.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void KillSelf(const char*, const fs::path&) {
    std::raise(SIGKILL);
}

// Saves the project in a child process that is killed (SIGKILL) when the hook is set; returns
// the child's wait status.
int SaveInChild(const CLENIProject& project, const fs::path& path, SafeWriteHook hook) {
    const pid_t pid = fork();
    if (pid == 0) {
        SetSafeWriteHook(hook);
        const bool saved = project.Save(path.string(), false);
        _exit(saved ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

CLENIProject ReadBack(const fs::path& path) {
    CLENIProject project;
    EXPECT_TRUE(project.ReadProject(path.string()));
    return project;
}

} // namespace

TEST(DamagedSaveTest, KillBetweenTemporaryFileAndRenameLeavesTheOldFileWhole) {
    TempDir dir("killed save");
    const fs::path path = dir / "Damaged.LENI1XML";
    fs::copy_file(TestDataDir() / "damaged" / "names" / "unsafe_names.LENI1XML", path);
    const std::string before = ReadFileText(path);

    CLENIProject project = ReadBack(path);
    project.SetDescription("changed before the save");

    // Killed at the last moment: the old file stands, byte for byte.
    int status = SaveInChild(project, path, KillSelf);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    EXPECT_EQ(ReadFileText(path), before);
    EXPECT_EQ(ReadBack(path).GetDescription(), "Base of the damaged files");

    // The same save not interrupted: the new file, whole, replaces it.
    status = SaveInChild(project, path, nullptr);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadBack(path).GetDescription(), "changed before the save");
    const std::string after = ReadFileText(path);
    EXPECT_NE(after.find("</NUVA_LENI_V3>"), std::string::npos);
}

TEST(DamagedSaveTest, KilledFirstSaveLeavesNoHalfFile) {
    TempDir dir("killed first save");
    fs::copy_file(TestDataDir() / "damaged" / "names" / "unsafe_names.LENI1XML", dir / "source.LENI1XML");
    const CLENIProject project = ReadBack(dir / "source.LENI1XML");
    const fs::path path = dir / "new.LENI1XML";

    const int status = SaveInChild(project, path, KillSelf);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    // Nothing under the project's name: a reader never meets a half-written project file.
    EXPECT_FALSE(fs::exists(path));
}

namespace {

// Counts the renames a run makes and kills it at the second: the results file in place, the
// project copy not yet.
int g_iRenames = 0;
void KillAtSecondRename(const char*, const fs::path&) {
    if (++g_iRenames == 2) std::raise(SIGKILL);
}

int ReportInChild(const ReportJob& job, SafeWriteHook hook) {
    const pid_t pid = fork();
    if (pid == 0) {
        g_iRenames = 0;
        SetSafeWriteHook(hook);
        _exit(RunReport(job));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

} // namespace

TEST(DamagedSaveTest, KilledReportLeavesResultsAndCopyBothOldOrBothNew) {
    TempDir dir("killed report");
    fs::copy_file(TestDataDir() / "energy" / "hand" / "HAND.LENI1XML", dir / "HAND.LENI1XML");
    ReportJob job{(dir / "HAND.LENI1XML").string(), (dir / "R.XML").string(), ""};
    job.copyFile = ResultsCopyPath(job.resultsFile);
    WriteFileText(job.resultsFile, "old results");
    WriteFileText(job.copyFile, "old copy");

    // Killed at the first rename, and at the second: in neither case is only one file new...
    int status = ReportInChild(job, KillSelf);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(ReadFileText(job.resultsFile), "old results");
    EXPECT_EQ(ReadFileText(job.copyFile), "old copy");
    status = ReportInChild(job, KillAtSecondRename);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    // ...except in the instant between the two renames, which the hook stands for: the first
    // renamed is the results file, so the copy is what lags, never the reverse.
    EXPECT_EQ(ReadFileText(job.copyFile), "old copy");

    // The next run removes the killed runs' temporaries and puts both new files in place.
    status = ReportInChild(job, nullptr);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_NE(ReadFileText(job.resultsFile).find("<AnnualLENI>"), std::string::npos);
    EXPECT_NE(ReadFileText(job.copyFile).find("</NUVA_LENI_V3>"), std::string::npos);
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(".orvtmp-"), std::string::npos) << entry.path();
}
