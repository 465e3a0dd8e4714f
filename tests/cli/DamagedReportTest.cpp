// "orvantis report" on every damaged project file: the documented exit code, within seconds, with
// the reason in the log file and nothing written outside the project folder.

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <set>
#include <sys/wait.h>

namespace {

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs the report in folder; a run that hangs is stopped after a minute (exit code 124).
int Report(const fs::path& folder, const std::string& project, double& seconds) {
    const std::string cmd = "cd " + Quote(folder.string()) + " && timeout 60 " + Quote(ORVANTIS_EXE) +
                            " report " + Quote(project) + " results.xml log.txt >stdout.txt 2>&1 </dev/null";
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(cmd.c_str());
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// orvantis dxftoxml <dxf> floor.LENI1XML 3 log.txt, run in folder.
int DxfToXml(const fs::path& folder, const std::string& dxf, double& seconds) {
    const std::string cmd = "cd " + Quote(folder.string()) + " && timeout 60 " + Quote(ORVANTIS_EXE) +
                            " dxftoxml " + Quote(dxf) +
                            " floor.LENI1XML 3 log.txt >stdout.txt 2>&1 </dev/null";
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(cmd.c_str());
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::set<std::string> FilesUnder(const fs::path& root) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files.insert(entry.path().lexically_relative(root).generic_string());
    return files;
}

} // namespace

TEST(DamagedReportTest, EveryDamagedProjectEndsWithItsExitCodeWithinSeconds) {
    const fs::path damaged = TestDataDir() / "damaged" / "project";
    int cases = 0;
    for (const std::string& line : ReadLines(damaged / "EXPECTED.tsv")) {
        if (line.empty() || line[0] == '#') continue;
        const size_t tab = line.find('\t');
        const std::string file = line.substr(0, tab);
        const int expected = std::atoi(line.c_str() + tab + 1);
        SCOPED_TRACE(file);
        ++cases;

        TempDir dir("damaged report");
        fs::copy_file(damaged / file, dir / file);
        double seconds = 0;
        const int code = Report(dir.path(), file, seconds);
        EXPECT_EQ(code, expected) << ReadFileText(dir / "stdout.txt") << ReadFileText(dir / "log.txt");
        EXPECT_LT(seconds, 10.0 * kTimeBoundScale);
        // The reason is in the log file, never only on the screen.
        if (expected != 0) {
            EXPECT_NE(ReadFileText(dir / "log.txt"), "");
        }
        // A project that was read gives its results; one that was not, no results at all.
        const std::set<std::string> files = FilesUnder(dir.path());
        EXPECT_EQ(files.count("results.xml"), expected == 0 ? 1u : 0u);
    }
    EXPECT_GT(cases, 40);
}

TEST(DamagedReportTest, UnsafeNamesWriteOnlyIntoTheProjectFolder) {
    TempDir root("names report");
    const fs::path folder = root / "all" / "project";
    fs::create_directories(folder);
    fs::copy_file(TestDataDir() / "damaged" / "names" / "unsafe_names.LENI1XML", folder / "p.LENI1XML");
    double seconds = 0;
    ASSERT_EQ(Report(folder, "p.LENI1XML", seconds), 0) << ReadFileText(folder / "log.txt");
    for (const std::string& file : FilesUnder(root.path()))
        EXPECT_EQ(file.rfind("all/project/", 0), 0u) << file;
    EXPECT_TRUE(fs::exists(folder / "LENI_CALC_LOG____.._outside.TXT"));
}

TEST(DamagedReportTest, EveryDamagedDrawingTurnsIntoAProjectWithinSeconds) {
    const fs::path damaged = TestDataDir() / "damaged" / "dxf";
    int cases = 0;
    for (const auto& entry : fs::directory_iterator(damaged)) {
        if (entry.path().extension() != ".dxf") continue;
        const std::string file = entry.path().filename().string();
        SCOPED_TRACE(file);
        ++cases;
        TempDir dir("damaged dxftoxml");
        fs::copy_file(entry.path(), dir / file);
        double seconds = 0;
        // The input file exists: whatever the drawing holds, the command runs to its end.
        EXPECT_EQ(DxfToXml(dir.path(), file, seconds), 0) << ReadFileText(dir / "stdout.txt");
        EXPECT_LT(seconds, 10.0 * kTimeBoundScale);
        EXPECT_TRUE(fs::exists(dir / "floor.LENI1XML"));
    }
    EXPECT_GT(cases, 10);
}
