#include "products/LumSysDataBase.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace {

class LumTypeDataTest : public ::testing::Test {
  protected:
    void SetUp() override { CLumSysDataBase::ResetGlobal(); }
    void TearDown() override { CLumSysDataBase::ResetGlobal(); }

    std::string Write(const std::string& name, const std::string& content) {
        fs::path p = dir / name;
        WriteFileText(p, content);
        return p.string();
    }

    TempDir dir;
    RecordingMessageBoxes boxes;
    LogRecorder log;
};

// An EULUMDAT file of 40 lines: every line "0" unless given.
std::string Ldt(const std::map<int, std::string>& lines, const std::string& eol = "\n", int count = 40) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        auto it = lines.find(i);
        text += (it != lines.end() ? it->second : std::string("0")) + eol;
    }
    return text;
}

std::string Ies(const std::string& header, const std::string& tilt,
                const std::string& ballast = "1.0 1.0 36.5") {
    return "IESNA:LM-63-2002\n" + header + tilt + "1 1000 1.0 5 1 1 2 0.1 0.1 0.05\n" + ballast +
           "\n0 22.5 45 67.5 90\n0\n100 90 70 40 10\n";
}

TEST_F(LumTypeDataTest, ImportDispatchesOnTheFileNameExtension) {
    const std::string ldt = Ldt({{9, "Name"}, {10, "LDT-1"}, {32, "12"}});
    const std::string ies = Ies("[LUMCAT] IES-1\n", "TILT=NONE\n");
    struct Case {
        const char* name;
        const std::string* content;
        const char* refId; // nullptr: the import fails
        const char* message;
    } cases[] = {
        {"lamp.ldt", &ldt, "LDT-1", nullptr},
        {"lamp.LDT", &ldt, "LDT-1", nullptr},
        {"lamp.Ies", &ies, "IES-1", nullptr},
        {"lamp.txt", &ldt, nullptr, "CLumTypeData::IFPF bad extension.\n<"},
        {".LDT", &ldt, nullptr, "CLumTypeData::IFPF bad extension.\n<"},
        {"lampldt", &ldt, nullptr, "CLumTypeData::IFPF bad extension.\n<"},
        {"absent.ldt", nullptr, nullptr, "CLumTypeData::IFPF does not exist.\n<"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.Clear();
        std::string path = c.content ? Write(c.name, *c.content) : (dir / c.name).string();
        CLumTypeData product;
        EXPECT_EQ(product.ImportFromPhotometricFile(path), c.refId != nullptr);
        if (c.refId)
            EXPECT_EQ(product.GetRefId(), c.refId);
        else
            EXPECT_EQ(log.Count(std::string(c.message) + path + ">", LOG_ERROR), 1) << log.All();
    }
    // A folder is no file to import.
    CLumTypeData product;
    fs::create_directory(dir / "folder.ldt");
    EXPECT_FALSE(product.ImportFromPhotometricFile((dir / "folder.ldt").string()));
}

TEST_F(LumTypeDataTest, LdtTakesNameNumberAndWattageFromTheirLines) {
    struct Case {
        const char* caption;
        std::string content;
        const char* refId; // nullptr: refused for its empty line 10
        const char* desc;
        double watts;
    } cases[] = {
        {"plain", Ldt({{9, "Downlight 58"}, {10, "DL-58"}, {32, " 58.5 "}}), "DL-58", "Downlight 58", 58.5},
        {"CR LF", Ldt({{9, " Downlight \t"}, {10, "DL-58 "}, {32, "58.5"}}, "\r\n"), "DL-58", "Downlight",
         58.5},
        {"CR only", Ldt({{9, "Old"}, {10, "MAC-1"}, {32, "7"}}, "\r"), "MAC-1", "Old", 7},
        {"quotes kept", Ldt({{9, "\"Trion\""}, {10, "\"33499000\""}, {32, "230"}}), "\"33499000\"",
         "\"Trion\"", 230},
        {"Windows-1252 name", Ldt({{9, "Lampe 120\xB0"}, {10, "L\xE9-1"}}), "L\xC3\xA9-1",
         "Lampe 120\xC2\xB0", 0},
        {"wattage no number", Ldt({{10, "X"}, {32, "n/a"}}), "X", "0", 0},
        {"wattage negative", Ldt({{10, "X"}, {32, "-5"}}), "X", "0", 0},
        {"short file", Ldt({{9, "Short"}, {10, "S-1"}}, "\n", 20), "S-1", "Short", 0},
        {"blank line 10", Ldt({{9, "Has a name"}, {10, "   "}}), nullptr, nullptr, 0},
        {"ends before line 10", Ldt({{9, "Name"}}, "\n", 9), nullptr, nullptr, 0},
        {"empty file", "", nullptr, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        log.Clear();
        std::string path = Write("lamp.ldt", c.content);
        CLumTypeData product;
        ASSERT_EQ(product.ImportFromPhotometricFile(path), c.refId != nullptr) << log.All();
        if (!c.refId) {
            EXPECT_EQ(log.Count("Line 10 (ref id) of the LDT is empty:\n" + path, LOG_ERROR), 1);
            EXPECT_EQ(product, CLumTypeData());
            continue;
        }
        EXPECT_EQ(product.GetRefId(), c.refId);
        EXPECT_EQ(product.GetDesc(), c.desc);
        EXPECT_DOUBLE_EQ(product.GetMaxPow(), c.watts);
        EXPECT_EQ(product.GetTypeFlags(), 1);
        EXPECT_EQ(product.GetProdConSys(), 1);
        EXPECT_EQ(product.GetStandbyPow(), 0.0);
        EXPECT_EQ(product.GetChargePow(), 0.0);
    }
}

TEST_F(LumTypeDataTest, LongLinesAreReadInPiecesOf258Characters) {
    const std::string exact(258, 'a');
    const std::string longer = std::string(258, 'b') + "TAIL";
    CLumTypeData product;
    // A line of exactly 258 characters is one line.
    ASSERT_TRUE(product.ImportFromLdtFile(Write("a.ldt", Ldt({{9, exact}, {10, "R"}, {32, "5"}}))));
    EXPECT_EQ(product.GetDesc(), exact);
    EXPECT_EQ(product.GetRefId(), "R");
    EXPECT_EQ(product.GetMaxPow(), 5.0);
    // A longer one counts as two, moving every later line down by one.
    ASSERT_TRUE(product.ImportFromLdtFile(Write("b.ldt", Ldt({{9, longer}, {10, "R"}, {31, "6"}}, "\r\n"))));
    EXPECT_EQ(product.GetDesc(), std::string(258, 'b'));
    EXPECT_EQ(product.GetRefId(), "TAIL");
    EXPECT_EQ(product.GetMaxPow(), 6.0);
}

TEST_F(LumTypeDataTest, IesTakesKeywordsAndTheInputWattsOfTheBallastLine) {
    const std::string tiltBlock = "TILT=INCLUDE\n1\n4\n0.0 45.0\n90.0 180.0\n1.00 0.90 0.80 1.00\n";
    struct Case {
        const char* caption;
        std::string content;
        const char* refId;
        const char* desc;
        double watts;
    } cases[] = {
        {"2002", Ies("[LUMCAT] ABC-1\n[LUMINAIRE]   Batten 36\n", "TILT=NONE\n"), "ABC-1", "Batten 36", 36.5},
        {"keywords in any case, last LUMCAT wins",
         Ies("[lumcat] OLD\r\n[Lumcat] NEW  \r\n[luminaire]\r\n", "tilt=none\r\n"), "NEW", "", 36.5},
        {"tilt data skipped", Ies("[LUMCAT] T-1\n", tiltBlock, "1.0 1.0 10.0"), "T-1", "", 10},
        {"tilt data on one line", Ies("[LUMCAT] T-2\n", "TILT = INCLUDE\n1 2 0 90 1 0.5\n", "1 1 12"), "T-2",
         "", 12},
        {"tilt file named", Ies("[LUMCAT] T-3\n", "TILT=lamp.tlt\n", "1 1 13"), "T-3", "", 13},
        {"no TILT line", "IESNA:LM-63-1995\n[LUMCAT] N-1\n[LUMINAIRE] partial\n", "N-1", "partial", 0},
        {"ballast line short", Ies("[LUMCAT] B-1\n", "TILT=NONE\n", "1.0 1.0"), "B-1", "", 0},
        {"quoted", Ies("[LUMCAT] \"33499000\"\n[LUMINAIRE] \"Trion\"\n", "TILT=NONE\n", "1.00 1.00 230.00"),
         "\"33499000\"", "\"Trion\"", 230},
        {"first generation labels",
         "     REPORT NUMBER: T1     DATE: 11-02-2021\t\n     CATALOG NUMBER: xxxx-1\n     LUMINAIRE: Test "
         "luminaire\nTILT=NONE\n1 3150 1 37 5 1 1 0.4 4 0.5\n1 1 147.5\n",
         "xxxx-1", "Test luminaire", 147.5},
        {"labels mean nothing in keyword files", Ies("LUMINAIRE: free text\n[LUMCAT] K-1\n", "TILT=NONE\n"),
         "K-1", "", 36.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        CLumTypeData product;
        ASSERT_TRUE(product.ImportFromPhotometricFile(Write("lamp.ies", c.content)));
        EXPECT_EQ(product.GetRefId(), c.refId);
        EXPECT_EQ(product.GetDesc(), c.desc);
        EXPECT_DOUBLE_EQ(product.GetMaxPow(), c.watts);
    }
    EXPECT_TRUE(log.messages.empty()) << log.All();
}

TEST_F(LumTypeDataTest, ImportProductFileAddsOnceAndRefusesWhatItCannotKey) {
    std::string dbPath = (dir / kLumDbFileName).string();
    CLumSysDataBase& global = CLumSysDataBase::Global();
    global.SetFilePath(dbPath);
    std::string ldt = Write("lamp.ldt", Ldt({{9, "Name"}, {10, "AB-7"}, {32, "62"}}));

    ASSERT_TRUE(global.ImportProductFile(ldt));
    EXPECT_EQ(global.GetCount(), 1);
    // The import reaches the file at once.
    CLumSysDataBase copy;
    ASSERT_TRUE(copy.ReadFromFile(dbPath));
    ASSERT_EQ(copy.GetCount(), 1);
    EXPECT_EQ(copy.GetLumDataAtIndex(0).GetMaxPow(), 62.0);

    EXPECT_FALSE(global.ImportProductFile(ldt));
    EXPECT_EQ(global.GetCount(), 1);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              "This luminaire (AB-7) is already present in the database.\nPlease delete it or "
              "change its reference id before adding in a new version.");

    log.Clear();
    EXPECT_FALSE(global.ImportProductFile(Write("nokey.ies", Ies("[LUMINAIRE] no key\n", "TILT=NONE\n"))));
    EXPECT_EQ(log.Count("CLumSysDataBase::ALD, no reference id", LOG_ERROR), 1);
    EXPECT_FALSE(global.ImportProductFile(Write("bad.ldt", Ldt({}, "\n", 5))));
    EXPECT_EQ(global.GetCount(), 1);
    EXPECT_FALSE(global.IsChanged());
}

// Published photometric files: what a person reads in each of them.
TEST_F(LumTypeDataTest, RealPhotometricFiles) {
    fs::path shared = SharedDataDir();
    if (shared.empty() || !fs::is_directory(shared / "photometric"))
        GTEST_SKIP() << "no shared photometric files";
    fs::path root = shared / "photometric";
    struct Case {
        const char* file;
        const char* refId; // nullptr: refused, its luminaire number line is empty
        const char* desc;
        double watts;
    } cases[] = {
        {"holg__eulumdat-rs/4058075580596_FL_MAX_LUM_600W_757_SYM_30_WAL.ldt", "4058075580596-AC317450055",
         "FL MAX LUM 600W 757 SYM 30 WAL", 600},
        {"holg__eulumdat-rs/projector.ldt", nullptr, nullptr, 0},
        {"holg__eulumdat-rs/fluorescent_luminaire.ldt", nullptr, nullptr, 0},
        {"ksmet1977__luxpy/Testlamp_Isym2_theta180+_erco_33499000_1xqt32_230w.ldt", "\"33499000\"",
         "\"Trion Ceiling washlight\"", 230},
        {"ksmet1977__luxpy/Testlamp_Isym4_43cef5d76a391dd85c41d4d09d68600d.ldt", "389 610 24 + 389 02 06 PR",
         "SRL - LED ARRAY 1 x 24W DOWN + SRL - PC PRISMATIC PROFILE", 28},
        {"ksmet1977__luxpy/Testlamp_Isym2_symmetryOverC0C180axis.ldt", nullptr, nullptr, 0},
        // Three sets of lamps: line 32 holds the wattage of the first set.
        {"dlippok__photometric-viewer/multiple_lamp_sets.ldt", "BD0150", "Dummy LDT file", 15},
        {"123VincentB__eulumdat-ugr/sample_11.ldt", "sample_11", "sample_11", 10},
        {"holg__eulumdat-rs/ITALO 1 5P5 S05 3.140-3M.IES", "22-120-01_02", "ITALO 1 X 5P5 S05 3.140-3M",
         76.70},
        {"holg__eulumdat-rs/OutdoorRoadway IES OS 8988-2022 03 AM01 60W 4000K.ies", "", "", 58.22},
        {"holg__eulumdat-rs/Indoor_60W_120G_5300LM_5000K_OVNI.ies", "7006-AB-C",
         "HIGHBAY OVNI 60W 5300LM 5000K 120\xC2\xB0", 60},
        {"holg__eulumdat-rs/TILT_TEST_SYNTHETIC.ies", "TILT-TEST", "TILT=INCLUDE Test Fixture", 10},
        {"echowuzangye__CU-calculations-based-on-IES-file/2.2.ies", "FFLEDL @ 180W / 5000K", "", 193.742},
        {"LuxCoreRender__LuxCore/ASA_15M_R2.ies", "ASA 15M R2",
         "ASA SERIES 150W PULSE START MH TYPE 2 FULL CUTOFF", 185},
        {"NREL__Radiance/examp1.ies", "251602SN-12EO", "", 63.7},
        {"tobspr__RenderPipeline/soft_arrow.ies", "H7t-301", "Open Trim (75W R-30 Flood)", 75},
        {"ksmet1977__luxpy/luxpy_test_lid_file2b.ies", "xxxx-xxxx-xxxx", "Test luminaire", 147.5},
        {"ksmet1977__luxpy/Testlamp_Isym2_theta180+_erco_33499000_1xqt32_230w.IES", "\"33499000\"",
         "\"Trion Ceiling washlight\"", 230},
    };
    int keyed = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        fs::path path = root / c.file;
        ASSERT_TRUE(FileExists(path));
        log.Clear();
        CLumTypeData product;
        ASSERT_EQ(product.ImportFromPhotometricFile(path.string()), c.refId != nullptr) << log.All();
        if (!c.refId) {
            EXPECT_EQ(log.Count("Line 10 (ref id) of the LDT is empty:", LOG_ERROR), 1);
            continue;
        }
        EXPECT_EQ(product.GetRefId(), c.refId);
        EXPECT_EQ(product.GetDesc(), c.desc);
        EXPECT_DOUBLE_EQ(product.GetMaxPow(), c.watts);
        // Into the database unless it has no number or (the ERCO twins) the number is taken.
        bool twin = c.file == std::string(cases[std::size(cases) - 1].file);
        EXPECT_EQ(CLumSysDataBase::Global().ImportProductFile(path.string()), *c.refId != '\0' && !twin);
        keyed += *c.refId != '\0' && !twin;
    }
    EXPECT_EQ(keyed, 13);
    EXPECT_EQ(CLumSysDataBase::Global().GetCount(), keyed);
    EXPECT_TRUE(boxes.Contains("This luminaire (\"33499000\") is already present"));
}

} // namespace
