// The batch report run as a user runs it: the built program on a building worked out by hand and
// on the sample building, and its refusals.

#include "base/TextUtils.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

struct ReportRun {
    int code = -1;
    std::string out;
};

// orvantis report <project> <results> <log>, run in dir; standard output is kept.
ReportRun Report(const TempDir& dir, const fs::path& project, const fs::path& results, const fs::path& log) {
    const fs::path out = dir / "stdout.txt";
    const std::string cmd = "cd " + Quote(dir.path().string()) + " && " + Quote(ORVANTIS_EXE) + " report " +
                            Quote(project.string()) + " " + Quote(results.string()) + " " +
                            Quote(log.string()) + " >" + Quote(out.string()) + " 2>&1 </dev/null";
    ReportRun run;
    int status = std::system(cmd.c_str());
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFileText(out);
    return run;
}

// The hand-worked expectations: "name = value" and "log: line" / "log2: line".
struct Expected {
    std::map<std::string, double> values;
    std::vector<std::pair<std::string, int>> logLines; // line, times it appears
};

Expected ReadExpected(const fs::path& path) {
    Expected e;
    for (const std::string& line : ReadLines(path)) {
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("log: ", 0) == 0) {
            e.logLines.emplace_back(line.substr(5), 1);
        } else if (line.rfind("log2: ", 0) == 0) {
            e.logLines.emplace_back(line.substr(6), 2);
        } else {
            size_t eq = line.find(" = ");
            if (eq != std::string::npos) e.values[line.substr(0, eq)] = ParseDouble(line.substr(eq + 3));
        }
    }
    return e;
}

double Value(const TiXmlElement* parent, const std::string& dottedPath) {
    const TiXmlElement* e = parent;
    size_t start = 0;
    while (e && start <= dottedPath.size()) {
        size_t dot = dottedPath.find('.', start);
        std::string part =
            dottedPath.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        e = e->FirstChildElement(part.c_str());
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    EXPECT_TRUE(e && e->GetText()) << dottedPath;
    return e && e->GetText() ? ParseDouble(e->GetText()) : -1e300;
}

// Equal to the last of the seven printed decimals.
void ExpectPrinted(double actual, double expected, const std::string& what) {
    EXPECT_LE(std::abs(actual - expected), 0.5e-7 + 1e-12)
        << what << ": " << FormatDouble("%.7f", actual) << " against " << FormatDouble("%.9f", expected);
}

} // namespace

TEST(ReportTest, HandWorkedBuilding) {
    TempDir dir{"report hand"};
    const fs::path data = TestDataDir() / "energy" / "hand";
    fs::copy_file(data / "HAND.LENI1XML", dir / "HAND.LENI1XML");
    const Expected expected = ReadExpected(data / "expected.txt");
    ASSERT_GT(expected.values.size(), 10u);

    ReportRun run = Report(dir, dir / "HAND.LENI1XML", dir / "HAND_NUVA_DB.XML", dir / "log.txt");
    ASSERT_EQ(run.code, 0) << run.out;
    EXPECT_EQ(run.out, "Annual LENI 26.59 kWh/(m\xC2\xB2 year), results in " +
                           (dir / "HAND_NUVA_DB.XML").string() + "\n");

    TiXmlDocument results;
    ASSERT_TRUE(results.LoadFile((dir / "HAND_NUVA_DB.XML").string().c_str()));
    const TiXmlElement* root = results.RootElement();
    ASSERT_TRUE(root);
    for (const char* name : {"TotalBuildingHeight", "TotalWindowsArea", "NumberOfFloors", "AverageFo",
                             "InstalledStandbyPowerPpc", "InstalledChargingPowerPem", "AnnualLENI",
                             "EnergyForLightingWl", "EnergyForStandbyAndChargingWp"})
        ExpectPrinted(Value(root, name), expected.values.at(name), name);
    const TiXmlElement* monthly = root->FirstChildElement("MonthlyCalculation");
    for (const char* name : {"SpecificEnergy", "Wl", "Wp"})
        ExpectPrinted(Value(monthly, std::string("M1.") + name),
                      expected.values.at(std::string("M1.") + name), name);

    // The copy with results: the building, its only floor and its only room carry the same numbers.
    TiXmlDocument copy;
    ASSERT_TRUE(copy.LoadFile((dir / "HAND_NUVA_DB_(CON_RISULTATI).XML").string().c_str()));
    const TiXmlElement* project = copy.RootElement();
    ASSERT_TRUE(project);
    const TiXmlElement* floor = project->FirstChildElement("FloorList")->FirstChildElement("Floor");
    const TiXmlElement* room = floor->FirstChildElement("RoomList")->FirstChildElement("Room");
    for (const TiXmlElement* owner : {project, floor, room}) {
        const TiXmlElement* r = owner->FirstChildElement("Results");
        ASSERT_TRUE(r) << owner->Value();
        ExpectPrinted(Value(r, "Area"), expected.values.at("Area"), "Area");
        ExpectPrinted(Value(r, "InstalledPower"), expected.values.at("InstalledPower"), "InstalledPower");
        ExpectPrinted(Value(r, "Annual.Wl"), expected.values.at("EnergyForLightingWl"), "Annual.Wl");
        ExpectPrinted(Value(r, "Annual.Wp"), expected.values.at("EnergyForStandbyAndChargingWp"),
                      "Annual.Wp");
        ExpectPrinted(Value(r, "Annual.LENIResult"), expected.values.at("AnnualLENI"), "Annual.LENIResult");
        ExpectPrinted(Value(r, "M1.Wl"), expected.values.at("M1.Wl"), "M1.Wl");
        ExpectPrinted(Value(r, "M1.LENIResult"), expected.values.at("M1.SpecificEnergy"), "M1.LENIResult");
        EXPECT_TRUE(r->FirstChildElement("M12")) << owner->Value();
    }

    // The building's calculation log beside the project, line by line.
    auto lines = ReadLines(dir / "LENI_CALC_LOG_HAND.TXT");
    ASSERT_FALSE(lines.empty());
    for (const auto& [line, times] : expected.logLines)
        EXPECT_EQ(std::count(lines.begin(), lines.end(), line), times) << line;
    EXPECT_EQ(lines.back(), expected.logLines.back().first);

    // Nothing went wrong, so the log file holds only its first line.
    EXPECT_EQ(ReadLines(dir / "log.txt").size(), 1u);
}

TEST(ReportTest, SampleBuilding) {
    TempDir dir{"report sample"};
    fs::copy(fs::path(ORVANTIS_SOURCE_DIR) / "examples" / "sample", dir / "sample",
             fs::copy_options::recursive);
    const fs::path results = dir / "SAMPLE_NUVA_DB.XML";
    ReportRun run = Report(dir, dir / "sample" / "SAMPLE.LENI1XML", results, dir / "log.txt");
    ASSERT_EQ(run.code, 0) << run.out << ReadFileText(dir / "log.txt");
    EXPECT_EQ(ReadLines(dir / "log.txt").size(), 1u) << ReadFileText(dir / "log.txt");

    TiXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(results.string().c_str()));
    const TiXmlElement* root = doc.RootElement();
    ASSERT_TRUE(root);
    const double leni = Value(root, "AnnualLENI");
    EXPECT_EQ(run.out, "Annual LENI " + FormatDouble("%.2f", leni) + " kWh/(m\xC2\xB2 year), results in " +
                           results.string() + "\n");
    // Three floor plans, the middle one for two storeys.
    EXPECT_EQ(Value(root, "NumberOfFloors"), 4.0);
    ExpectPrinted(Value(root, "TotalBuildingHeight"), 3.5 + 2 * 3.5 + 3.3, "TotalBuildingHeight");
    ExpectPrinted(leni,
                  (Value(root, "EnergyForLightingWl") + Value(root, "EnergyForStandbyAndChargingWp")) /
                      (3 * 136.0 + 160.0),
                  "AnnualLENI");

    TiXmlDocument copy;
    ASSERT_TRUE(copy.LoadFile((dir / "SAMPLE_NUVA_DB_(CON_RISULTATI).XML").string().c_str()));
    const TiXmlElement* building = copy.RootElement()->FirstChildElement("Results");
    ASSERT_TRUE(building);
    ExpectPrinted(Value(building, "Annual.Wl"), Value(root, "EnergyForLightingWl"), "Annual.Wl");
    ExpectPrinted(Value(building, "Area"), 3 * 136.0 + 160.0, "Area");
    // The floors, counted with their instances, add up to the building.
    double wl = 0.0;
    for (const TiXmlElement* f =
             copy.RootElement()->FirstChildElement("FloorList")->FirstChildElement("Floor");
         f; f = f->NextSiblingElement("Floor"))
        wl += ParseDouble(f->Attribute("count")) * Value(f->FirstChildElement("Results"), "Annual.Wl");
    EXPECT_NEAR(wl, Value(building, "Annual.Wl"), 1e-5);

    auto lines = ReadLines(dir / "sample" / "LENI_CALC_LOG_SAMPLE.TXT");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Building Annual LENI " + FormatDouble("%7.2f", leni) + "kWh");
}

TEST(ReportTest, AProjectThatCannotBeReadWritesNothing) {
    TempDir dir{"report unread"};
    WriteFileText(dir / "broken.LENI1XML", "this is not XML <<<");
    ReportRun run = Report(dir, dir / "broken.LENI1XML", dir / "R.XML", dir / "log.txt");
    EXPECT_EQ(run.code, 3);
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(fs::exists(dir / "R.XML"));
    EXPECT_FALSE(fs::exists(dir / "R_(CON_RISULTATI).XML"));
    const std::string log = ReadFileText(dir / "log.txt");
    EXPECT_NE(log.find("Could not load project XML file:"), std::string::npos) << log;
    EXPECT_NE(log.find("report: the project file could not be read, no results written:"), std::string::npos)
        << log;
}

TEST(ReportTest, ResultsThatCannotBeWrittenFailTheRun) {
    TempDir dir{"report unwritable"};
    fs::copy_file(TestDataDir() / "energy" / "hand" / "HAND.LENI1XML", dir / "HAND.LENI1XML");
    WriteFileText(dir / "file", "a file where a folder should be");
    ReportRun run = Report(dir, dir / "HAND.LENI1XML", dir / "file" / "R.XML", dir / "log.txt");
    EXPECT_EQ(run.code, 4);
    EXPECT_EQ(run.out, "");
    const std::string log = ReadFileText(dir / "log.txt");
    EXPECT_NE(log.find("Could not write the results file:"), std::string::npos) << log;
    EXPECT_NE(log.find("Could not save the project file:"), std::string::npos) << log;
    EXPECT_NE(log.find("report: the results were not all written"), std::string::npos) << log;
}

TEST(ReportTest, AReadOnlyFolderFailsTheRun) {
    TempDir dir{"report read-only"};
    fs::copy_file(TestDataDir() / "energy" / "hand" / "HAND.LENI1XML", dir / "HAND.LENI1XML");
    fs::create_directory(dir / "locked");
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    if (access((dir / "locked").c_str(), W_OK) == 0) {
        fs::permissions(dir / "locked", fs::perms::owner_all);
        GTEST_SKIP() << "this user writes into read-only folders";
    }
    ReportRun run = Report(dir, dir / "HAND.LENI1XML", dir / "locked" / "R.XML", dir / "log.txt");
    fs::permissions(dir / "locked", fs::perms::owner_all);
    EXPECT_EQ(run.code, 4);
    EXPECT_FALSE(fs::exists(dir / "locked" / "R.XML"));
}
