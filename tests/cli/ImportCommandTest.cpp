// The batch import of luminaire files into a database file, run as a user runs it.
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

namespace {

std::string Ldt(const std::string& number, const std::string& watts) {
    std::string text = "Maker\n1\n1\n1\n0\n3\n0\n\nPanel\n" + number +
                       "\n\n\n\n600\n600\n50\n600\n600\n0\n0\n0\n0\n100\n1\n0\n1\n1\nLED\n3000\n4000\n90\n" + watts +
                       "\n";
    for (int i = 0; i < 10; ++i) text += "0.5\n";
    return text + "0\n0\n45\n90\n100\n80\n10\n";
}

} // namespace

TEST(ImportCommandTest, AddsFilesAndFoldersToADatabaseFileWithOneSummaryAndExitCode) {
    TempDir dir{"import"};
    fs::create_directories(dir / "lamps");
    WriteFileText(dir / "lamps" / "a.ldt", Ldt("A-1", "20"));
    WriteFileText(dir / "bad.ies", "IESNA:LM-63-2002\n[LUMCAT] B\n");
    WriteFileText(dir / "damaged.xml", "<LENI_V1_LUM_DB><LumTypeData");
    const std::string db = (dir / "db.xml").string();
    struct Case {
        std::string args;
        int code;
        const char* summary; // first line printed, or nothing
        int products;        // in the database file afterwards, -1: no file
    } cases[] = {
        {db + " " + (dir / "log.txt").string(), 2, "", -1},
        {db + " " + (dir / "missing.ldt").string() + " " + (dir / "log.txt").string(), 8, "", -1},
        {db + " " + (dir / "lamps").string() + " " + (dir / "log.txt").string(), 0,
         "1 imported, 0 skipped as already present, 0 refused", 1},
        {db + " " + (dir / "lamps" / "a.ldt").string() + " " + (dir / "log.txt").string(), 0,
         "0 imported, 1 skipped as already present, 0 refused", 1},
        {db + " " + (dir / "bad.ies").string() + " " + (dir / "log.txt").string(), 11,
         "0 imported, 0 skipped as already present, 1 refused", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const std::string command = std::string(ORVANTIS_EXE) + " import " + c.args + " > " +
                                    (dir / "out.txt").string() + " 2>/dev/null";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.code);
        const std::string out = ReadFileText(dir / "out.txt");
        EXPECT_EQ(out.substr(0, out.find('\n')), c.summary);
        if (c.products < 0) {
            EXPECT_FALSE(fs::exists(db));
            continue;
        }
        size_t count = 0;
        const std::string saved = ReadFileText(db);
        for (size_t at = saved.find("<LumTypeData"); at != std::string::npos; at = saved.find("<LumTypeData", at + 1))
            ++count;
        EXPECT_EQ(count, static_cast<size_t>(c.products));
    }
    // A database file that cannot be read is left as it was.
    const std::string command = std::string(ORVANTIS_EXE) + " import " + (dir / "damaged.xml").string() + " " +
                                (dir / "lamps").string() + " " + (dir / "log.txt").string() + " >/dev/null";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(ReadFileText(dir / "damaged.xml"), "<LENI_V1_LUM_DB><LumTypeData");
}
