#include "app/BatchCommands.h"
#include "app/LENIBApp.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(BatchCommandsTest, SplitsAtBlanksKeepingQuotedBlanksAndTildes) {
    struct Case {
        const char* line;
        std::vector<std::string> tokens;
    } cases[] = {
        {"", {}},
        {"    ", {}},
        {"report a b", {"report", "a", "b"}},
        {"   report    a   ", {"report", "a"}},
        {"dxftoxml \"C:\\My Plans\\Level 1.dxf\" p.xml",
         {"dxftoxml", "\"C:\\My Plans\\Level 1.dxf\"", "p.xml"}},
        {"report C:\\PROGRA~1\\x.LENI1XML plans/a~b.dxf",
         {"report", "C:\\PROGRA~1\\x.LENI1XML", "plans/a~b.dxf"}},
        {"report \"a~ b\"", {"report", "\"a~ b\""}},
        {"report \"open quote  to end", {"report", "\"open quote  to end"}},
        {"a\"b c\"d e", {"a\"b c\"d", "e"}},
    };
    for (const Case& c : cases) {
        CommandTokens tokens{"left over"};
        EXPECT_EQ(SplitCommandLine(c.line, " ", tokens), static_cast<int>(c.tokens.size())) << c.line;
        EXPECT_EQ(tokens, c.tokens) << c.line;
    }
}

TEST(BatchCommandsTest, ArgumentLosesQuotesAndOuterBlanks) {
    CommandTokens tokens;
    SplitCommandLine("dxftoxml \"C:\\My Projects\\a.xml\" \" padded \" plain", " ", tokens);
    EXPECT_EQ(GetCommandArgument(tokens, 1), "C:\\My Projects\\a.xml");
    EXPECT_EQ(GetCommandArgument(tokens, 2), "padded");
    EXPECT_EQ(GetCommandArgument(tokens, 3), "plain");
    EXPECT_EQ(GetCommandArgument(tokens, 4), "");
}

TEST(BatchCommandsTest, JoinedArgumentsSplitBackToTheSameArguments) {
    const char* argv[] = {"orvantis", "dxftoxml", "/home/u/My Plans/Level 1.dxf", "/tmp/PROGRA~1/p.xml",
                          "3,2",      ""};
    std::string line = JoinCommandLine(6, argv);
    CommandTokens tokens;
    ASSERT_EQ(SplitCommandLine(line, " ", tokens), 5) << line;
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(GetCommandArgument(tokens, i), argv[i + 1]);
    EXPECT_TRUE(IsEmptyCommandLine(JoinCommandLine(1, argv)));
    EXPECT_TRUE(IsEmptyCommandLine("  \t "));
    EXPECT_FALSE(IsEmptyCommandLine("  x "));
}

TEST(BatchCommandsTest, QuotesInsidePathsAreReadAsWindowsCommandLinesHaveThem) {
    struct Case {
        const char* line;
        std::vector<std::string> arguments;
    } cases[] = {
        // A backslash before a quote escapes it, inside quotes and outside.
        {"report \"C:\\My \\\"best\\\" plans\\a.xml\" x", {"report", "C:\\My \"best\" plans\\a.xml", "x"}},
        {"report a\\\"b c", {"report", "a\"b", "c"}},
        // A doubled quote inside quotes is one quote.
        {"report \"say \"\"hi\"\".xml\" x", {"report", "say \"hi\".xml", "x"}},
        // An even run of backslashes before a quote: half of them, and the quote closes.
        {"report \"C:\\dir\\\\\" x", {"report", "C:\\dir\\", "x"}},
        // Backslashes elsewhere stay as typed.
        {"report C:\\a\\\\b x", {"report", "C:\\a\\\\b", "x"}},
        {"report \"\" x", {"report", "", "x"}},
    };
    for (const Case& c : cases) {
        CommandTokens tokens;
        ASSERT_EQ(SplitCommandLine(c.line, " ", tokens), static_cast<int>(c.arguments.size())) << c.line;
        for (size_t i = 0; i < c.arguments.size(); ++i)
            EXPECT_EQ(GetCommandArgument(tokens, i), c.arguments[i]) << c.line;
    }
    // What the program is given as separate arguments comes back whole, whatever it holds.
    const char* argv[] = {"orvantis", "report",      "a \"b\" c.xml", "tail\\",
                          "q\"",      "\\\"x\\\\\"", "C:\\dir\\ x\\"};
    const std::string line = JoinCommandLine(7, argv);
    CommandTokens tokens;
    ASSERT_EQ(SplitCommandLine(line, " ", tokens), 6) << line;
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(GetCommandArgument(tokens, i), argv[i + 1]) << line;
}

TEST(BatchCommandsTest, CopyPathSitsBesideTheResultsFile) {
    struct Case {
        const char* results;
        const char* copy;
    } cases[] = {
        {"C:\\r\\x.res", "C:\\r\\x_(CON_RISULTATI).res"},
        {"D:\\out\\b1.xml", "D:\\out\\b1_(CON_RISULTATI).xml"},
        {"/srv/out/b1.xml", "/srv/out/b1_(CON_RISULTATI).xml"},
        {"b1.xml", "b1_(CON_RISULTATI).xml"},
        {"/srv/v2.0/results", "/srv/v2.0/results_(CON_RISULTATI)"},
        {"/srv/a.b.xml", "/srv/a.b_(CON_RISULTATI).xml"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResultsCopyPath(c.results), c.copy) << c.results;
}

TEST(BatchCommandsTest, FloorNameIsTheDxfNameWithoutFolderAndExtension) {
    struct Case {
        const char* dxf;
        const char* floor;
    } cases[] = {
        {"C:\\plans\\Level 1.dxf", "Level 1"},      {"plans/a~b.dxf", "a~b"}, {"plan", "plan"},
        {"/p.v2/ground.floor.DXF", "ground.floor"}, {"/p.v2/attic", "attic"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FloorNameFromDxfPath(c.dxf), c.floor) << c.dxf;
}

// Runs command lines in-process with a capturing work, from a folder holding p.LENI1XML,
// plan.dxf and "My Plans/Level 1.dxf".
class BatchDispatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteFileText(dir / "p.LENI1XML", "<NUVA_LENI_V3/>");
        WriteFileText(dir / "plan.dxf", "0\nEOF\n");
        fs::create_directories(dir / "My Plans");
        WriteFileText(dir / "My Plans" / "Level 1.dxf", "0\nEOF\n");
        BatchWork work;
        work.report = [this](const ReportJob& job) { reports.push_back(job); };
        work.dxfToXml = [this](const DxfToXmlJob& job) { dxfJobs.push_back(job); };
        previous = SetBatchWork(work);
    }
    void TearDown() override { SetBatchWork(previous); }

    // Replaces "@" by the test folder.
    std::string Line(const std::string& line) const {
        std::string out;
        for (char c : line)
            out += c == '@' ? dir.path().string() : std::string(1, c);
#ifdef _WIN32
        // As a Windows user types them.
        for (char& c : out)
            if (c == '/') c = '\\';
#endif
        return out;
    }

    TempDir dir{"batch"};
    LogRecorder log;
    BatchWork previous;
    std::vector<ReportJob> reports;
    std::vector<DxfToXmlJob> dxfJobs;
};

TEST_F(BatchDispatchTest, ResultCodes) {
    struct Case {
        const char* line;
        int result;
    } cases[] = {
        {"", 1},
        {"     ", 1},
        {"frobnicate", 7},
        {"reports @/p.LENI1XML @/r.xml @/l.txt", 7},
        {"report @/p.LENI1XML @/r.xml", 2},
        {"report @/p.LENI1XML @/r.xml @/l.txt extra", 2},
        {"report @/missing.x @/r.xml @/l.txt", 8},
        {"report @ @/r.xml @/l.txt", 8},
        {"report @/p.LENI1XML @/r.xml @/l.txt", 0},
        {"REPORT @/p.LENI1XML @/r.xml @/l.txt", 0},
        {"Report @/p.LENI1XML @/r.xml @/l.txt", 0},
        {"dxftoxml @/plan.dxf @/p.xml 3", 2},
        {"dxftoxml @/plan.dxf @/p.xml 3 @/l.txt extra", 2},
        {"dxftoxml @/plan.dxf @/p.xml 1 @/l.txt", 10},
        {"dxftoxml @/plan.dxf @/p.xml 1.01 @/l.txt", 0},
        {"dxftoxml @/plan.dxf @/p.xml 200 @/l.txt", 0},
        {"dxftoxml @/plan.dxf @/p.xml 200.5 @/l.txt", 10},
        {"dxftoxml @/plan.dxf @/p.xml abc @/l.txt", 10},
        {"dxftoxml @/plan.dxf @/p.xml -5 @/l.txt", 10},
        {"dxftoxml @/plan.dxf @/p.xml nan @/l.txt", 10},
        {"dxftoxml @/plan.dxf @/p.xml inf @/l.txt", 10},
        {"dxftoxml @/missing.dxf @/p.xml 3 @/l.txt", 8},
        {"dxftoxml @/missing.dxf @/p.xml 0 @/l.txt", 10},
        {"DXFTOXML \"@/My Plans/Level 1.dxf\" @/p.xml 3,2 @/l.txt", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DispatchBatchCommand(Line(c.line)), c.result) << c.line;
        Log().Reset();
    }
}

TEST_F(BatchDispatchTest, ReportHandsOverItsPathsAndStartsTheLogFile) {
    ASSERT_EQ(DispatchBatchCommand(Line("report \"@/p.LENI1XML\" @/out.res @/l.txt")), 0);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].projectFile, (dir / "p.LENI1XML").string());
    EXPECT_EQ(reports[0].resultsFile, (dir / "out.res").string());
    EXPECT_EQ(reports[0].copyFile, (dir / "out_(CON_RISULTATI).res").string());
    EXPECT_TRUE(Log().IsBatch());
    auto lines = ReadLines(dir / "l.txt");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("CLogger::SetToFile (" + (dir / "l.txt").string() + ") on Date: ", 0), 0u);
}

TEST_F(BatchDispatchTest, DxfToXmlReadsTheHeightAndNamesTheFloor) {
    ASSERT_EQ(
        DispatchBatchCommand(Line("dxftoxml \"@/My Plans/Level 1.dxf\" \"@/out dir/p.xml\" 3,2 @/l.txt")), 0);
    ASSERT_EQ(DispatchBatchCommand(Line("dxftoxml @/plan.dxf @/p.xml 1.01 @/l2.txt")), 0);
    ASSERT_EQ(dxfJobs.size(), 2u);
    EXPECT_EQ(dxfJobs[0].dxfFile, (dir / "My Plans" / "Level 1.dxf").string());
    EXPECT_EQ(dxfJobs[0].projectFile, (dir / "out dir" / "p.xml").string());
    EXPECT_EQ(dxfJobs[0].floorName, "Level 1");
    EXPECT_DOUBLE_EQ(dxfJobs[0].height, 3.2);
    EXPECT_EQ(dxfJobs[1].floorName, "plan");
    EXPECT_DOUBLE_EQ(dxfJobs[1].height, 1.01);
    EXPECT_TRUE(fs::exists(dir / "l.txt"));
}

} // namespace

TEST(OpenCommandTest, ArgumentsAreCheckedAndTheProjectFileMadeAbsolute) {
    TempDir dir{"open"};
    WriteFileText(dir / "A b.LENI1XML", "<NUVA_LENI_V3/>");
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    struct Case {
        const char* line;
        bool isOpen;
        int code;
        std::string file;
    } cases[] = {
        {"open", true, BATCH_DONE, ""},
        {"Open \"A b.LENI1XML\"", true, BATCH_DONE, (dir / "A b.LENI1XML").string()},
#ifndef _WIN32 // Windows takes "sub/.." away by the name alone
        {"open sub/../\"A b.LENI1XML\"", true, BATCH_INPUT_MISSING, ""}, // no folder sub
#endif
        {"open missing.LENI1XML", true, BATCH_INPUT_MISSING, ""},
        {"open \"A b.LENI1XML\" more", true, BATCH_TOKEN_COUNT, ""},
        {"opened x", false, 0, ""},
        {"report open x y", false, 0, ""},
    };
    for (const Case& c : cases) {
        CommandTokens tokens;
        SplitCommandLine(c.line, " ", tokens);
        EXPECT_EQ(IsOpenCommand(tokens), c.isOpen) << c.line;
        if (!c.isOpen) continue;
        std::string file = "left over";
        EXPECT_EQ(CheckOpenCommand(tokens, file), c.code) << c.line;
        if (c.code == BATCH_DONE) {
            EXPECT_EQ(file, c.file) << c.line;
        }
    }
    fs::current_path(previous);
}
