// The fast calculation (cache, row counting of the sampling grid, both cores) must leave exactly
// the files the reference calculation leaves: the same results file, project copy with results
// and calculation log, byte for byte, and the same general-log messages in the same order.

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace {

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs the batch report on a copy of the project in its own folder, with the reference
// calculation on or off, and returns the exit code.
int RunReport(const fs::path& folder, const fs::path& project, bool reference) {
    fs::create_directories(folder);
    fs::copy_file(project, folder / project.filename());
    const std::string cmd = "cd " + Quote(folder.string()) +
                            " && ORVANTIS_REFERENCE_CALC=" + (reference ? "1" : "0") + " " +
                            Quote(ORVANTIS_EXE) + " report " + Quote(project.filename().string()) +
                            " results.xml general.log >stdout.txt 2>&1 </dev/null";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The general log without the clock: the date of its first line and the time stamp of each
// message.
std::string WithoutTimes(const std::string& log) {
    std::string out;
    size_t pos = 0;
    while (pos < log.size()) {
        size_t end = log.find('\n', pos);
        end = end == std::string::npos ? log.size() : end + 1;
        std::string line = log.substr(pos, end - pos);
        if (line.rfind("CLogger::SetToFile", 0) == 0)
            line = line.substr(0, line.find(" on Date:"));
        else if (line.rfind("[", 0) == 0 && line.find("]:") != std::string::npos)
            line = line.substr(line.find("]:") + 2);
        out += line;
        pos = end;
    }
    return out;
}

// Byte for byte, except that the results file names the day it was written: two runs either
// side of midnight may differ there and nowhere else.
bool SameFile(const std::string& a, const std::string& b) {
    if (a == b) return true;
    auto withoutDay = [](const std::string& text) {
        const size_t begin = text.find("<FileCreationDate>"), end = text.find("</FileCreationDate>");
        return begin == std::string::npos || end == std::string::npos
                   ? text
                   : text.substr(0, begin) + text.substr(end);
    };
    return withoutDay(a) == withoutDay(b) && withoutDay(a) != a;
}

TEST(ReferenceIdentityTest, FastAndReferenceReportsLeaveIdenticalFiles) {
    const fs::path project = TestDataDir() / "calc" / "identity" / "IDENTITY.LENI1XML";
    ASSERT_TRUE(fs::exists(project));
    TempDir dir("orvantis-identity");
    const fs::path reference = dir / "reference", fast = dir / "fast";
    ASSERT_EQ(RunReport(reference, project, true), 0);
    ASSERT_EQ(RunReport(fast, project, false), 0);

    for (const char* name :
         {"results.xml", "results_(CON_RISULTATI).xml", "LENI_CALC_LOG_IDENTITY.TXT", "stdout.txt"}) {
        const std::string expected = ReadFileText(reference / name);
        ASSERT_FALSE(expected.empty()) << name;
        EXPECT_TRUE(SameFile(ReadFileText(fast / name), expected)) << name << " differs";
    }
    const std::string generalLog = WithoutTimes(ReadFileText(reference / "general.log"));
    EXPECT_NE(generalLog.find("Unhandled LeniWinType: 3"), std::string::npos);
    EXPECT_EQ(WithoutTimes(ReadFileText(fast / "general.log")), generalLog);
}

// A zone name long enough to make its log lines too long: the passes whose log the annual pass
// replaces write no lines, yet the general log still reports every line that would have been too
// long, and the project copy's results (taken from those passes) leave the same messages.
TEST(ReferenceIdentityTest, TooLongLogLinesAreReportedAlikeByBothCalculations) {
    std::string text = ReadFileText(TestDataDir() / "calc" / "identity" / "IDENTITY.LENI1XML");
    const std::string from = "zonename=\"Z1\"";
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, from.size(), "zonename=\"" + std::string(760, 'L') + "\"");
    TempDir dir("orvantis-identity-long");
    const fs::path project = dir / "LONG.LENI1XML";
    WriteFileText(project, text);
    const fs::path reference = dir / "reference", fast = dir / "fast";
    ASSERT_EQ(RunReport(reference, project, true), 0);
    ASSERT_EQ(RunReport(fast, project, false), 0);

    for (const char* name : {"results.xml", "results_(CON_RISULTATI).xml", "LENI_CALC_LOG_IDENTITY.TXT"}) {
        const std::string expected = ReadFileText(reference / name);
        ASSERT_FALSE(expected.empty()) << name;
        EXPECT_TRUE(SameFile(ReadFileText(fast / name), expected)) << name << " differs";
    }
    const std::string generalLog = WithoutTimes(ReadFileText(reference / "general.log"));
    // Thirteen passes report their long lines.
    EXPECT_NE(generalLog.find("characters too long, an empty line written in its place"), std::string::npos);
    EXPECT_EQ(WithoutTimes(ReadFileText(fast / "general.log")), generalLog);
}

} // namespace
