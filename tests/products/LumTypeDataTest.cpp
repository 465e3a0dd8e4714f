#include "base/TextUtils.h"
#include "products/LumSysDataBase.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace {

class LumTypeDataTest : public ::testing::Test {
  protected:
    void SetUp() override { CLumSysDataBase::ResetGlobal(); }
    void TearDown() override { CLumSysDataBase::ResetGlobal(); }
    std::string Write(const std::string& name, const std::string& content) {
        WriteFileText(dir / name, content);
        return (dir / name).string();
    }
    TempDir dir;
    RecordingMessageBoxes boxes;
    LogRecorder log;
};

// An EULUMDAT file: every line "0" unless given.
std::string Ldt(const std::map<int, std::string>& lines, const std::string& eol = "\n", int count = 40) {
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += (lines.count(i) ? lines.at(i) : "0") + eol;
    return text;
}

std::string Ies(const std::string& head, const std::string& ballast = "1.0 1.0 36.5") {
    return "IESNA:LM-63-2002\n" + head + "1 1000 1.0 5 1 1 2 0.1 0.1 0.05\n" + ballast +
           "\n0 22.5 45 67.5 90\n0\n";
}

TEST_F(LumTypeDataTest, ImportDispatchesOnTheFileNameExtension) {
    const std::string ldt = Ldt({{10, "LDT-1"}}), ies = Ies("[LUMCAT] IES-1\nTILT=NONE\n");
    const std::pair<const char*, const char*> cases[] = {
        {"lamp.ldt", "LDT-1"}, {"lamp.Ies", "IES-1"}, {"lamp.txt", nullptr}, {".LDT", nullptr}};
    for (const auto& [name, refId] : cases) {
        CLumTypeData product;
        std::string path = Write(name, EqualsNoCase(name, "lamp.ies") ? ies : ldt);
        EXPECT_EQ(product.ImportFromPhotometricFile(path), refId != nullptr) << name;
        EXPECT_EQ(product.GetRefId(), refId ? refId : "");
        EXPECT_EQ(log.Count("CLumTypeData::IFPF bad extension.\n<" + path + ">", LOG_ERROR), refId ? 0 : 1);
    }
    std::string absent = (dir / "absent.ldt").string();
    EXPECT_FALSE(CLumTypeData().ImportFromPhotometricFile(absent));
    EXPECT_EQ(log.Count("CLumTypeData::IFPF does not exist.\n<" + absent + ">", LOG_ERROR), 1);
}

TEST_F(LumTypeDataTest, LdtTakesNameNumberAndWattageFromLines9To32) {
    const std::string b258(258, 'b');
    struct Case {
        std::string content;
        const char *refId, *desc; // refId nullptr: refused for its empty line 10
        double watts;
    } cases[] = {
        {Ldt({{9, "Downlight"}, {10, "DL-58"}, {32, " 58.5 "}}), "DL-58", "Downlight", 58.5},
        {Ldt({{9, " Downlight \t"}, {10, "DL-58 "}, {32, "58.5"}}, "\r\n"), "DL-58", "Downlight", 58.5},
        {Ldt({{9, "\"Trion\""}, {10, "\"33499000\""}, {32, "n/a"}}), "\"33499000\"", "\"Trion\"", 0},
        {Ldt({{9, "120\xB0"}, {10, "L\xE9"}, {32, "-5"}}, "\r"), "L\xC3\xA9", "120\xC2\xB0", 0},
        {Ldt({{9, "Short"}, {10, "S-1"}}, "\n", 20), "S-1", "Short", 0},
        // A line of 258 characters is one line; a longer one comes in pieces, each a line.
        {Ldt({{9, b258}, {10, "R"}, {32, "5"}}), "R", b258.c_str(), 5},
        {Ldt({{9, b258 + "TAIL"}, {31, "6"}}), "TAIL", b258.c_str(), 6},
        {Ldt({{9, "Has a name"}, {10, "   "}}), nullptr, nullptr, 0},
        {"", nullptr, nullptr, 0},
    };
    for (const Case& c : cases) {
        log.Clear();
        std::string path = Write("lamp.ldt", c.content);
        CLumTypeData product;
        ASSERT_EQ(product.ImportFromPhotometricFile(path), c.refId != nullptr) << c.content.substr(0, 60);
        if (!c.refId) {
            EXPECT_EQ(log.Count("Line 10 (ref id) of the LDT is empty:\n" + path, LOG_ERROR), 1);
            continue;
        }
        CLumTypeData expected;
        expected.SetRefId(c.refId);
        expected.SetDesc(c.desc);
        expected.SetMaxPow(c.watts);
        EXPECT_EQ(product, expected) << product.GetRefId() << " " << product.GetMaxPow();
    }
}

TEST_F(LumTypeDataTest, IesTakesKeywordsAndTheInputWattsOfTheBallastLine) {
    struct Case {
        std::string content;
        const char *refId, *desc;
        double watts;
    } cases[] = {
        {Ies("[LUMCAT] ABC-1\n[LUMINAIRE]   Batten 36\nTILT=NONE\n"), "ABC-1", "Batten 36", 36.5},
        {Ies("[lumcat] OLD\r\n[Lumcat] NEW  \r\n[luminaire]\r\ntilt=none\r\n"), "NEW", "NEW", 36.5},
        {Ies("[LUMCAT] \"334\"\nTILT=INCLUDE\n1\n4\n0.0 45.0\n90.0 180.0\n1.00 0.90 0.80 1.00\n", "1 1 10.0"),
         "\"334\"", "\"334\"", 10},
        {Ies("[LUMCAT] T-2\nTILT = INCLUDE\n1 2 0 90 1 0.5\n", "1 1 12"), "T-2", "T-2", 12},
        {Ies("[LUMCAT] T-3\nTILT=lamp.tlt\n", "1 1 13"), "T-3", "T-3", 13},
        {Ies("[LUMCAT] T-4\nTILT=INCLUDE\n1\n-3\n"), "T-4", "T-4", 0},
        {Ies("[LUMCAT] T-5\nTILT=INCLUDE\n1\n99999999999999999999\n"), "T-5", "T-5", 0},
        {Ies("[LUMCAT] B-1\nTILT=NONE\n", "1.0 1.0"), "B-1", "B-1", 0},
        {"IESNA:LM-63-1995\n[LUMCAT] N-1\n[LUMINAIRE] no tilt line\n", "N-1", "no tilt line", 0},
        // The first generation has label lines instead of keywords; in later files they are text.
        {"  CATALOG NUMBER: xx-1\n  LUMINAIRE: Test luminaire\t\nTILT=NONE\n1 3150 1 37 5 1 1 0.4 4 0.5\n1 1 "
         "147.5\n",
         "xx-1", "Test luminaire", 147.5},
        {Ies("LUMINAIRE: free text\n[LUMCAT] K-1\nTILT=NONE\n"), "K-1", "K-1", 36.5},
        // Without a luminaire name the description is put together from what the file says.
        {Ies("[LUMCAT] L-1\n[MANUFAC] Maker\n[LAMP] LED 30 W\n[LUMINAIRE]\nTILT=NONE\n"), "L-1",
         "L-1, Maker, LED 30 W", 36.5},
        {Ies("[MANUFAC]\nTILT=NONE\n"), "", "lamp", 36.5},
    };
    for (const Case& c : cases) {
        CLumTypeData product;
        ASSERT_TRUE(product.ImportFromPhotometricFile(Write("lamp.ies", c.content)));
        EXPECT_EQ(product.GetRefId(), c.refId);
        EXPECT_EQ(product.GetDesc(), c.desc);
        EXPECT_DOUBLE_EQ(product.GetMaxPow(), c.watts) << c.refId;
    }
    EXPECT_TRUE(log.messages.empty()) << log.All();
}

TEST_F(LumTypeDataTest, ImportProductFileAddsOnceWritesAtOnceAndRefusesAProductWithoutId) {
    std::string dbPath = (dir / kLumDbFileName).string();
    CLumSysDataBase& global = CLumSysDataBase::Global();
    global.SetFilePath(dbPath);
    std::string ldt = Write("lamp.ldt", Ldt({{10, "AB-7"}, {32, "62"}}));
    ASSERT_TRUE(global.ImportProductFile(ldt));
    CLumSysDataBase copy;
    ASSERT_TRUE(copy.ReadFromFile(dbPath));
    EXPECT_EQ(copy.GetLumDataFromRefId("ab-7").GetMaxPow(), 62.0);

    EXPECT_FALSE(global.ImportProductFile(ldt));
    EXPECT_EQ(global.GetCount(), 1);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              "This luminaire (AB-7) is already present in the database.\nPlease delete it or "
              "change its reference id before adding in a new version.");
    EXPECT_FALSE(global.ImportProductFile(Write("nokey.ies", Ies("[LUMINAIRE] no key\nTILT=NONE\n"))));
    EXPECT_EQ(log.Count("CLumSysDataBase::ALD, no reference id", LOG_ERROR), 1);
    EXPECT_EQ(global.GetCount(), 1);
}

TEST_F(LumTypeDataTest, PublishedPhotometricFiles) {
    fs::path root = SharedDataDir() / "photometric";
    if (SharedDataDir().empty() || !fs::is_directory(root)) GTEST_SKIP() << "no shared photometric files";
    std::ifstream table(TestDataDir() / "products" / "published_photometric_files.tsv");
    std::string row;
    int rows = 0, added = 0;
    while (std::getline(table, row)) {
        if (row.empty() || row[0] == '#') continue;
        std::vector<std::string> f;
        for (size_t b = 0, e; b <= row.size(); b = e + 1)
            f.push_back(row.substr(b, (e = std::min(row.find('\t', b), row.size())) - b));
        ASSERT_EQ(f.size(), 4u) << row;
        SCOPED_TRACE(f[0]);
        ++rows;
        CLumTypeData product;
        std::string path = (root / f[0]).string();
        ASSERT_EQ(product.ImportFromPhotometricFile(path), f[1] != "-") << log.All();
        if (f[1] == "-") continue;
        EXPECT_EQ(product.GetRefId(), f[1]);
        EXPECT_EQ(product.GetDesc(), f[2]);
        EXPECT_DOUBLE_EQ(product.GetMaxPow(), ParseDouble(f[3]));
        added += CLumSysDataBase::Global().ImportProductFile(path);
    }
    EXPECT_EQ(rows, 18);
    // All with a reference id but the IES twin of the ERCO luminaire, whose number is taken.
    EXPECT_EQ(added, 13);
    EXPECT_TRUE(boxes.Contains("This luminaire (\"33499000\") is already present"));
}

} // namespace
