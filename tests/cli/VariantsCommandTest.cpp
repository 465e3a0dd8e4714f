// The batch commands "advise" and "compare" run as a user runs them, on the sample building.

#include "model/LENIProject.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <sys/wait.h>

namespace {

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

int RunOrvantis(const TempDir& dir, const std::vector<std::string>& args) {
    std::string cmd = Quote(ORVANTIS_EXE);
    for (const std::string& arg : args)
        cmd += " " + Quote(arg);
    cmd += " >" + Quote((dir / "stdout.txt").string()) + " 2>&1 </dev/null";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, ',');)
        fields.push_back(field);
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    return fields;
}

struct Sample {
    TempDir dir{"variants"};
    fs::path project;
    Sample() {
        fs::copy(fs::path(ORVANTIS_SOURCE_DIR) / "examples" / "sample", dir / "sample", fs::copy_options::recursive);
        project = dir / "sample" / "SAMPLE.LENI1XML";
    }
};

} // namespace

TEST(VariantsCommandTest, CompareShowsExactlyWhatChanged) {
    Sample s;
    // A copy with the ground floor's corridor removed and one office's desk zone on occupancy 4.
    CLENIProject b;
    {
        LogRecorder log;
        ASSERT_TRUE(b.ReadProject(s.project.string()));
    }
    ASSERT_TRUE(b.GetFloorByName("Ground")->RemoveRoomByName("Corridor"));
    b.FindRoom("Typical", "Office_A")->FindZone("Desks_A")->SetOccupancyControlSystem("4");
    const fs::path copy = s.dir / "B.LENI1XML";
    ASSERT_TRUE(b.Save(copy.string(), false));

    struct Case {
        fs::path other;
        std::map<std::string, std::string> statuses; // "level/floor/room" -> status, the rest "same"
    };
    const Case cases[] = {
        {s.project, {}},
        {copy,
         {{"building//", "changed"},
          {"floor/Ground/", "changed"},
          {"room/Ground/Corridor", "removed"},
          {"floor/Typical/", "changed"},
          {"room/Typical/Office_A", "changed"}}},
    };
    for (const Case& c : cases) {
        const fs::path csv = s.dir / "compare.csv";
        ASSERT_EQ(RunOrvantis(s.dir, {"compare", s.project.string(), c.other.string(), csv.string(),
                              (s.dir / "log.txt").string()}),
                  0)
            << ReadFileText(s.dir / "stdout.txt");
        const std::vector<std::string> lines = ReadLines(csv);
        // The header, then the building, 3 floors and 7 rooms, each for the year and 12 months.
        ASSERT_EQ(lines.size(), 1u + 11u * 13u);
        std::map<std::string, std::string> changed;
        for (size_t i = 1; i < lines.size(); ++i) {
            const std::vector<std::string> f = Fields(lines[i]);
            ASSERT_EQ(f.size(), 20u) << lines[i];
            const std::string key = f[0] + "/" + f[1] + "/" + f[2];
            if (f[3] != "same") changed[key] = f[3];
            if (f[3] == "same") {
                for (size_t v = 7; v < 20; v += 3)
                    EXPECT_EQ(f[v], "0.00") << lines[i];
            }
            if (f[3] == "removed") {
                EXPECT_EQ(f[6], "") << lines[i];
            }
        }
        EXPECT_EQ(changed, c.statuses);
    }
}

TEST(VariantsCommandTest, AdviseWritesTheRankingAndKeepsTheReportExitCodes) {
    Sample s;
    const fs::path advice = s.dir / "advice.csv", log = s.dir / "log.txt";
    ASSERT_EQ(RunOrvantis(s.dir, {"advise", s.project.string(), advice.string(), log.string()}), 0)
        << ReadFileText(s.dir / "stdout.txt");
    const std::vector<std::string> lines = ReadLines(advice);
    ASSERT_GT(lines.size(), 3u);
    EXPECT_EQ(lines[0], "floor,room,zone,option,energy before (kWh/year),energy after (kWh/year),"
                        "saved (kWh/year),LENI after (kWh/(m2 year))");
    EXPECT_EQ(lines[1].rfind("(building),,,every zone's best option,", 0), 0u) << lines[1];
    EXPECT_EQ(ReadFileText(s.dir / "stdout.txt").rfind("LENI ", 0), 0u);

    WriteFileText(s.dir / "broken.LENI1XML", "<NUVA_LENI_V3>");
    struct Case {
        std::vector<std::string> args;
        int code;
    };
    const Case cases[] = {
        {{"advise", s.project.string(), advice.string()}, 2},
        {{"advise", (s.dir / "none.LENI1XML").string(), advice.string(), log.string()}, 8},
        {{"advise", s.project.string(), s.project.string(), log.string()}, 2},
        {{"advise", (s.dir / "broken.LENI1XML").string(), (s.dir / "a2.csv").string(), log.string()}, 3},
        {{"advise", s.project.string(), (s.dir / "no/such/folder/a.csv").string(), log.string()}, 4},
        {{"compare", s.project.string(), s.project.string(), s.project.string(), log.string()}, 2},
        {{"compare", s.project.string(), (s.dir / "broken.LENI1XML").string(), (s.dir / "c.csv").string(),
          log.string()},
         3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunOrvantis(s.dir, c.args), c.code) << c.args[0] << " " << c.args.size();
    EXPECT_FALSE(fs::exists(s.dir / "a2.csv"));
    EXPECT_FALSE(fs::exists(s.dir / "c.csv"));
}
