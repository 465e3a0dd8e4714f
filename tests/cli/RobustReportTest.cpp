// The batch report against a hostile or careless folder: links planted beside the project, device
// files and FIFOs as outputs, hours that overflow or are negative, a byte-order mark, quotes in
// paths. Each run is the built program as a user starts it.

#include "base/TextUtils.h"
#include "support/FifoReader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// orvantis report <project> <results> <log>, run in dir; returns the exit code.
int Report(const TempDir& dir, const std::string& project, const std::string& results,
           const std::string& log) {
    const std::string cmd = "cd " + Quote(dir.path().string()) + " && timeout 60 " + Quote(ORVANTIS_EXE) +
                            " report " + Quote(project) + " " + Quote(results) + " " + Quote(log) +
                            " >stdout.txt 2>&1 </dev/null";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string HandProject() {
    return ReadFileText(TestDataDir() / "energy" / "hand" / "HAND.LENI1XML");
}

// The annual LENI of a results file.
double AnnualLeni(const fs::path& results) {
    TiXmlDocument doc;
    const std::string text = ReadFileText(results);
    doc.Parse(text.c_str());
    const TiXmlElement* root = doc.RootElement();
    const TiXmlElement* leni = root ? root->FirstChildElement("AnnualLENI") : nullptr;
    return leni && leni->GetText() ? ParseDouble(leni->GetText()) : -1.0;
}

// The building worked out by hand in tests/data/energy/hand (td 2250, tn 250 = the hours of
// "Offices").
constexpr double kHandLeni = 26.590155885;

} // namespace

// ---- Links planted beside the project ----

TEST(RobustReportTest, LinksPlantedAtEveryOutputNameAreNotFollowed) {
    TempDir dir("report links");
    WriteFileText(dir / "HAND.LENI1XML", HandProject());
    const fs::path victim = dir / "victim.txt";
    WriteFileText(victim, "precious");
    // The building calculation log by symbolic link, the results and the general log by hard
    // link, the project copy by symbolic link.
    fs::create_symlink(victim, dir / "LENI_CALC_LOG_HAND.TXT");
    fs::create_hard_link(victim, dir / "R.XML");
    fs::create_hard_link(victim, dir / "log.txt");
    fs::create_symlink(victim, dir / "R_(CON_RISULTATI).XML");

    ASSERT_EQ(Report(dir, "HAND.LENI1XML", "R.XML", "log.txt"), 0) << ReadFileText(dir / "stdout.txt");
    EXPECT_EQ(ReadFileText(victim), "precious");
    for (const char* name : {"LENI_CALC_LOG_HAND.TXT", "R.XML", "log.txt", "R_(CON_RISULTATI).XML"}) {
        EXPECT_FALSE(fs::is_symlink(dir / name)) << name;
        EXPECT_EQ(fs::hard_link_count(dir / name), 1u) << name;
    }
    EXPECT_NEAR(AnnualLeni(dir / "R.XML"), kHandLeni, 5e-8);
    EXPECT_NE(ReadFileText(dir / "LENI_CALC_LOG_HAND.TXT").find("Building Annual LENI"), std::string::npos);
}

// ---- Devices and FIFOs as outputs ----

TEST(RobustReportTest, ResultsToAFifoOrADeviceAreWrittenIntoIt) {
    TempDir dir("report devices");
    WriteFileText(dir / "HAND.LENI1XML", HandProject());

    // A FIFO read by another program: it receives the results and stays a FIFO.
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    FifoReader reader(dir / "pipe"); // reading before the program starts: a FIFO nobody reads is refused
    EXPECT_EQ(Report(dir, "HAND.LENI1XML", "pipe", "log.txt"), 0) << ReadFileText(dir / "log.txt");
    const std::string received = reader.Received();
    EXPECT_NE(received.find("<AnnualLENI>"), std::string::npos) << received;
    struct stat st;
    ASSERT_EQ(lstat((dir / "pipe").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    // A null device made in the folder (as /dev/null is): it stays the device.
    if (geteuid() != 0 || mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "making a device node needs root";
    EXPECT_EQ(Report(dir, "HAND.LENI1XML", "null", "null"), 0) << ReadFileText(dir / "stdout.txt");
    ASSERT_EQ(lstat((dir / "null").c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(st.st_rdev, makedev(1, 3));
    // The copy beside it is an ordinary file.
    EXPECT_TRUE(fs::is_regular_file(dir / "null_(CON_RISULTATI)"));
}

// ---- Operating hours from the file ----

TEST(RobustReportTest, HoursOutOfRangeTakeTheBuildingTypesHours) {
    // Each replaced by "Offices" hours 2250 and 250, which the hand-worked building has: its LENI.
    const struct {
        const char* td;
        const char* tn;
    } cases[] = {{"2147483647", "1"}, {"1", "2147483647"}, {"-2000", "250"},
                 {"2250", "-1"},      {"8000", "761"},     {"99999999999999", "0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.td) + " " + c.tn);
        TempDir dir("report hours");
        std::string text = HandProject();
        const std::string hours = "td=\"2250\" tn=\"250\"";
        text.replace(text.find(hours), hours.size(), StrPrintf("td=\"%s\" tn=\"%s\"", c.td, c.tn));
        WriteFileText(dir / "HAND.LENI1XML", text);
        ASSERT_EQ(Report(dir, "HAND.LENI1XML", "R.XML", "log.txt"), 0);
        EXPECT_NEAR(AnnualLeni(dir / "R.XML"), kHandLeni, 5e-8);
        const std::string log = ReadFileText(dir / "log.txt");
        EXPECT_NE(log.find("Room Office in XML file: the operating hours td = "), std::string::npos) << log;
        EXPECT_NE(log.find("The hours of the building type Offices are used (td = 2250, tn = 250)."),
                  std::string::npos)
            << log;
        // The copy holds the hours used.
        EXPECT_NE(ReadFileText(dir / "R_(CON_RISULTATI).XML").find("td=\"2250\" tn=\"250\""),
                  std::string::npos);
    }
}

TEST(RobustReportTest, HoursAtTheEdgesOfTheRangeAreKept) {
    for (const char* hours : {"td=\"0\" tn=\"0\"", "td=\"8760\" tn=\"0\"", "td=\"0\" tn=\"8760\""}) {
        SCOPED_TRACE(hours);
        TempDir dir("report edge hours");
        std::string text = HandProject();
        const std::string original = "td=\"2250\" tn=\"250\"";
        text.replace(text.find(original), original.size(), hours);
        WriteFileText(dir / "HAND.LENI1XML", text);
        ASSERT_EQ(Report(dir, "HAND.LENI1XML", "R.XML", "log.txt"), 0);
        EXPECT_EQ(ReadFileText(dir / "log.txt").find("operating hours"), std::string::npos);
        EXPECT_NE(ReadFileText(dir / "R_(CON_RISULTATI).XML").find(hours), std::string::npos);
    }
}

// ---- What editors and shells hand over ----

TEST(RobustReportTest, AByteOrderMarkIsAccepted) {
    TempDir dir("report bom");
    WriteFileText(dir / "HAND.LENI1XML", "\xEF\xBB\xBF" + HandProject());
    ASSERT_EQ(Report(dir, "HAND.LENI1XML", "R.XML", "log.txt"), 0) << ReadFileText(dir / "log.txt");
    EXPECT_NEAR(AnnualLeni(dir / "R.XML"), kHandLeni, 5e-8);
}

TEST(RobustReportTest, QuotesAndBackslashesInPathsReachTheFileSystem) {
    TempDir dir("report quotes");
    fs::create_directory(dir / "a \"quoted\" dir\\");
    const std::string project = "a \"quoted\" dir\\/H\"A\"ND.LENI1XML";
    WriteFileText(dir / project, HandProject());
    ASSERT_EQ(Report(dir, project, "r\"\"s\\.xml", "log\".txt"), 0) << ReadFileText(dir / "stdout.txt");
    EXPECT_NEAR(AnnualLeni(dir / "r\"\"s\\.xml"), kHandLeni, 5e-8);
    EXPECT_TRUE(fs::exists(dir / "r\"\"s\\_(CON_RISULTATI).xml"));
    EXPECT_TRUE(fs::exists(dir / "log\".txt"));
}

// ---- Numbers beyond any building ----

TEST(RobustReportTest, HugeSizesNeverReachTheResultsAsInfinity) {
    // Each of these made the total window area overflow; clamped to 1e9 m it stays a number.
    const struct {
        const char* from;
        const char* to;
        const char* named;
    } cases[] = {
        {"high=\"1.5000\"", "high=\"1e308\"", "Window high"},
        {"<XLength>2.0000000</XLength>", "<XLength>1e308</XLength>", "RoofLight XLength"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to);
        TempDir dir("huge numbers");
        std::string text = HandProject();
        ASSERT_NE(text.find(c.from), std::string::npos);
        text.replace(text.find(c.from), std::strlen(c.from), c.to);
        WriteFileText(dir / "HAND.LENI1XML", text);
        ASSERT_EQ(Report(dir, "HAND.LENI1XML", "R.XML", "log.txt"), 0) << ReadFileText(dir / "stdout.txt");
        for (const char* file : {"R.XML", "R_(CON_RISULTATI).XML"}) {
            const std::string written = ReadFileText(dir / file);
            EXPECT_EQ(written.find(">inf<"), std::string::npos) << file;
            EXPECT_EQ(written.find("nan<"), std::string::npos) << file;
        }
        const std::string log = ReadFileText(dir / "log.txt");
        EXPECT_NE(log.find(std::string("The number <1e308> of ") + c.named), std::string::npos) << log;
    }
}
