// Luminaire containers and many files imported at once: real containers, hostile archives built
// here, and folders of photometric files.
#include "products/GldfReader.h"
#include "products/ProductImport.h"
#include "products/StarterCatalogue.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <utility>

namespace {

// Writes a zip archive of the given entries (name, content), compressed.
void WriteZip(const fs::path& path, const std::vector<std::pair<std::string, std::string>>& entries) {
    int error = 0;
    zip_t* archive = zip_open(path.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& entry : entries) {
        zip_source_t* source = zip_source_buffer(archive, entry.second.data(), entry.second.size(), 0);
        ASSERT_NE(source, nullptr);
        ASSERT_GE(zip_file_add(archive, entry.first.c_str(), source, ZIP_FL_ENC_UTF_8), 0) << entry.first;
    }
    ASSERT_EQ(zip_close(archive), 0);
}

const char* const kProductXml = R"(<?xml version="1.0" encoding="utf-8"?>
<Root><Header><Manufacturer>Maker</Manufacturer></Header>
<GeneralDefinitions>
 <Files><File id="f1" contentType="ldc/eulumdat" type="localFileName">a.ldt</File></Files>
 <Photometries><Photometry id="p1"><PhotometryFileReference fileId="f1"/></Photometry></Photometries>
 <Emitters><Emitter id="e1"><FixedLightEmitter><PhotometryReference photometryId="p1"/></FixedLightEmitter></Emitter></Emitters>
</GeneralDefinitions>
<ProductDefinitions><ProductMetaData><ProductNumber><Locale language="en">P-1</Locale></ProductNumber>
 <Name><Locale language="en">Panel</Locale><Locale language="it">Pannello</Locale></Name></ProductMetaData>
 <Variants><Variant id="v1"><Geometry><EmitterReference emitterId="e1"/></Geometry></Variant></Variants>
</ProductDefinitions></Root>)";

// An EULUMDAT text with number and wattage, enough for an intensity table.
std::string LdtText(const std::string& number, const std::string& watts) {
    std::vector<std::string> lines = {"Maker", "1", "1", "1", "0", "3", "0", "", "Panel", number, "", "",
                                      "", "600", "600", "50", "600", "600", "0", "0", "0", "0", "100", "1",
                                      "0", "1", "1", "LED", "3000", "4000", "90", watts};
    for (int i = 0; i < 10; ++i) lines.push_back("0.5");
    lines.insert(lines.end(), {"0", "0", "45", "90", "100", "80", "10"});
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

} // namespace

TEST(GldfReaderTest, PublishedContainersImportWithTheirPowersOrAreRefusedWithTheReason) {
    const fs::path folder = SharedDataDir() / "gldf";
    if (SharedDataDir().empty() || !fs::is_directory(folder)) GTEST_SKIP() << "no shared luminaire containers";
    struct Product {
        const char *refId, *desc;
        double watts, standby;
    };
    struct Case {
        const char* file;
        std::vector<Product> products; // empty: refused
        const char* reason;
    } cases[] = {
        // Each variant's emitter has two lamps on equipment of 110 W and 115 W, each gear 2 W standby.
        {"globallightingdata__gldf.net/GldfWithFilesComplete.gldf",
         {{"Product number variant-1", "Product name - Variant name 1", 225, 4},
          {"Product number variant-2", "Product name - Variant name 2", 225, 4}},
         ""},
        {"holg__gldf-rs/R2MCOBSIK-30.gldf",
         {{"R2MCOBSIK-30 1550", "LED COB Strip Light - VEGAS COB 2m IP20 LED Stripkit 3000K", 17.4, 0}}, ""},
        {"globallightingdata__gldf.net/GldfWithMissingProduct.gldf", {}, "holds no product.xml"},
        {"globallightingdata__gldf.net/GldfWithFiles.gldf", {}, "defines no product variant"},
        {"globallightingdata__gldf.net/GldfWithMissingFiles.gldf", {}, "which the container does not hold"},
        {"globallightingdata__gldf.net/GldfWithNoFiles.gldf", {}, "has no input power"},
        {"globallightingdata__gldf.net/GldfWithCodepage850.gldf", {}, "refers to ldc/\xC3\x84\xC3\xB6\xC3\xBC.ldt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        CLumSysDataBase database;
        CLumTypeData kept;
        kept.SetRefId("KEPT");
        database.AddLumData(kept);
        ProductImportSummary summary;
        ImportProductFiles(database, {(folder / c.file).string()}, summary);
        ASSERT_EQ(summary.imported.size(), c.products.size()) << summary.Text();
        ASSERT_EQ(database.GetCount(), static_cast<int>(c.products.size()) + 1);
        for (size_t i = 0; i < c.products.size(); ++i) {
            const CLumTypeData* product = database.FindLumData(c.products[i].refId);
            ASSERT_NE(product, nullptr) << c.products[i].refId;
            EXPECT_EQ(product->GetDesc(), c.products[i].desc);
            EXPECT_DOUBLE_EQ(product->GetMaxPow(), c.products[i].watts);
            EXPECT_DOUBLE_EQ(product->GetStandbyPow(), c.products[i].standby);
        }
        if (c.products.empty()) {
            ASSERT_EQ(summary.refused.size(), 1u);
            EXPECT_NE(summary.refused[0].second.find(c.reason), std::string::npos) << summary.refused[0].second;
        }
    }
}

TEST(GldfReaderTest, NamesInTheUsersLanguageWithEnglishAsFallBackAndPowerFromThePhotometry) {
    TempDir dir;
    WriteZip(dir / "p.gldf", {{"product.xml", kProductXml}, {"ldc/a.ldt", LdtText("X", "36")}});
    struct Case {
        const char *language, *desc;
    } cases[] = {{"it", "Pannello"}, {"de", "Panel"}, {"en", "Panel"}};
    for (const Case& c : cases) {
        std::vector<GldfProduct> products;
        std::string reason;
        ASSERT_TRUE(ReadGldfFile((dir / "p.gldf").string(), c.language, products, &reason)) << reason;
        ASSERT_EQ(products.size(), 1u);
        EXPECT_EQ(products[0].product.GetRefId(), "P-1");
        EXPECT_EQ(products[0].product.GetDesc(), c.desc) << c.language;
        // No light source gives a power: the variant's photometric file does (line 32).
        EXPECT_DOUBLE_EQ(products[0].product.GetMaxPow(), 36.0);
        EXPECT_TRUE(products[0].hasPhotometry);
        EXPECT_GT(products[0].photometry.GetMaxIntensity(), 0.0);
    }
}

TEST(GldfReaderTest, HostileArchivesAreRefusedFromTheirDirectoryBeforeAnythingIsUnpacked) {
    TempDir dir;
    ZipLimits small;
    small.maxEntries = 3;
    small.maxTotalSize = 1000;
    small.maxDepth = 3;
    const std::string bomb(20u << 20, '\0'); // 20 MB of zeros squeeze to a few kilobytes
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> entries;
        ZipLimits limits;
        const char* reason;
    } cases[] = {
        {"bomb", {{"product.xml", kProductXml}, {"ldc/a.ldt", bomb}}, ZipLimits(), "compressed beyond belief"},
        {"parent", {{"product.xml", kProductXml}, {"../a.ldt", "x"}}, ZipLimits(), "leaving the archive"},
        {"inner", {{"product.xml", kProductXml}, {"ldc/../../a.ldt", "x"}}, ZipLimits(), "leaving the archive"},
        {"absolute", {{"product.xml", kProductXml}, {"/tmp/a.ldt", "x"}}, ZipLimits(), "absolute path"},
        {"drive", {{"product.xml", kProductXml}, {"C:/a.ldt", "x"}}, ZipLimits(), "drive"},
        {"deep", {{"product.xml", kProductXml}, {"a/b/c/d/e.ldt", "x"}}, small, "nested too deep"},
        {"many", {{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}}, small, "too many entries"},
        {"total", {{"a", std::string(600, 'a')}, {"b", std::string(600, 'b')}}, small, "too large unpacked"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = dir / (std::string(c.name) + ".gldf");
        WriteZip(path, c.entries);
        std::vector<GldfProduct> products;
        std::string reason;
        EXPECT_FALSE(ReadGldfFile(path.string(), "en", products, &reason, c.limits));
        EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
        EXPECT_TRUE(products.empty());
    }
    // Nothing was unpacked beside the archives.
    size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) files += entry.is_regular_file();
    EXPECT_EQ(files, sizeof(cases) / sizeof(cases[0]));
    EXPECT_FALSE(fs::exists(dir.path().parent_path() / "a.ldt"));
}

TEST(GldfReaderTest, ProductXmlThatIsNoContainerIsRefused) {
    struct Case {
        std::string text, reason;
    } cases[] = {
        {"<LENI_V1_LUM_DB/>", "its root is <LENI_V1_LUM_DB>"},
        {"<Root><Other/></Root>", "not <Root> with a <Header>"},
        {"<Root><Header/>", "no readable XML"},
        {"<Root><Header/><ProductDefinitions/></Root>", "defines no product variant"},
        {"<Root><Header/><ProductDefinitions><Variants><Variant id='v'><Geometry><EmitterReference emitterId='x'/>"
         "</Geometry></Variant></Variants></ProductDefinitions></Root>",
         "undefined emitter x"},
    };
    for (const Case& c : cases) {
        GldfContent content;
        std::string reason;
        EXPECT_FALSE(ReadGldfProductXml(c.text, "en", content, &reason)) << c.text;
        EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
    }
    // UTF-16 with its byte order mark reads as UTF-8 does.
    std::string utf16 = "\xFF\xFE";
    for (const char ch : std::string("<Root><Header/><ProductDefinitions><Variants><Variant id='v'><Name>\xC3\xA4"
                                     "</Name></Variant></Variants></ProductDefinitions></Root>")) {
        utf16 += ch;
        utf16 += '\0';
    }
    // The two bytes of "ä" were widened one by one above: write its one UTF-16 unit instead.
    const size_t at = utf16.find(std::string("\xC3\0\xA4\0", 4));
    ASSERT_NE(at, std::string::npos);
    utf16.replace(at, 4, std::string("\xE4\0", 2));
    GldfContent content;
    std::string reason;
    ASSERT_TRUE(ReadGldfProductXml(utf16, "en", content, &reason)) << reason;
    ASSERT_EQ(content.variants.size(), 1u);
    EXPECT_EQ(content.variants[0].description, "\xC3\xA4");
}

TEST(GldfReaderTest, AFolderImportsAtOnceWithOneSummary) {
    TempDir dir;
    fs::create_directories(dir / "sub");
    WriteFileText(dir / "a.ldt", LdtText("A-1", "20"));
    WriteFileText(dir / "sub" / "b.LDT", LdtText("", "30")); // no number: the file name stands in
    WriteFileText(dir / "sub" / "again.ldt", LdtText("a-1", "20"));
    WriteFileText(dir / "c.ies", "IESNA:LM-63-2002\n[LUMCAT] C-1\n[MANUFAC] Maker\nTILT=NONE\n1 1000 1 3 1 1 2 "
                                 "0.5 0.5 0\n1 1 40\n0 45 90\n0\n100 80 10\n");
    WriteFileText(dir / "broken.ies", "IESNA:LM-63-2002\n[LUMCAT] D-1\n");
    WriteFileText(dir / "notes.txt", "not a luminaire");
    WriteZip(dir / "p.gldf", {{"product.xml", kProductXml}, {"ldc/a.ldt", LdtText("X", "36")}});

    CLumSysDataBase database;
    ProductImportSummary summary;
    std::map<std::string, CPhotometry> previews;
    const auto files = CollectProductFiles({dir.path().string(), (dir / "missing.ldt").string()}, summary);
    EXPECT_EQ(files.size(), 6u);
    ImportProductFiles(database, files, summary, &previews);
    EXPECT_EQ(summary.Text().substr(0, summary.Text().find('\n')), "4 imported, 1 skipped as already present, 2 refused");
    EXPECT_EQ(summary.refused[0].first, (dir / "missing.ldt").string());
    EXPECT_EQ(summary.refused[0].second, "does not exist");
    EXPECT_EQ(summary.refused[1].first, (dir / "broken.ies").string());
    EXPECT_EQ(database.GetCount(), 4);
    EXPECT_DOUBLE_EQ(database.GetLumDataFromRefId("b").GetMaxPow(), 30.0);
    EXPECT_DOUBLE_EQ(database.GetLumDataFromRefId("C-1").GetMaxPow(), 40.0);
    EXPECT_EQ(database.GetLumDataFromRefId("C-1").GetDesc(), "C-1, Maker");
    EXPECT_DOUBLE_EQ(database.GetLumDataFromRefId("P-1").GetMaxPow(), 36.0);
    EXPECT_EQ(previews.size(), 4u);
    EXPECT_EQ(previews.count("P-1"), 1u);
}

TEST(GldfReaderTest, PublishedPhotometricFoldersGiveOneSummaryCoveringEveryFile) {
    const fs::path folder = SharedDataDir() / "photometric";
    if (SharedDataDir().empty() || !fs::is_directory(folder)) GTEST_SKIP() << "no shared photometric files";
    CLumSysDataBase database;
    ProductImportSummary summary;
    const auto files = CollectProductFiles({folder.string()}, summary);
    ASSERT_GT(files.size(), 10u);
    ImportProductFiles(database, files, summary);
    EXPECT_EQ(summary.imported.size() + summary.duplicates.size() + summary.refused.size(), files.size())
        << summary.Text();
    EXPECT_EQ(database.GetCount(), static_cast<int>(summary.imported.size()));
    EXPECT_GT(summary.imported.size(), files.size() / 2) << summary.Text();
    for (const CLumTypeData& product : database.GetProducts()) EXPECT_FALSE(product.GetDesc().empty());
}

TEST(StarterCatalogueTest, GenericProductsAreNamedSoAndAddedOnlyOnce) {
    CLumSysDataBase database;
    CLumTypeData own;
    own.SetRefId("generic led downlight"); // the user's own product of that id stays
    own.SetMaxPow(9);
    database.AddLumData(own);
    EXPECT_EQ(AddStarterCatalogue(database), 4);
    EXPECT_EQ(AddStarterCatalogue(database), 0);
    EXPECT_EQ(database.GetCount(), 5);
    EXPECT_EQ(database.GetLumDataFromRefId("GENERIC LED DOWNLIGHT").GetMaxPow(), 9.0);
    struct Expected {
        const char* refId;
        int type;
        double watts, standby, charge;
    } expected[] = {{"GENERIC LED PANEL 600", LUMTYPE_LUMINAIRE, 34, 0.5, 0},
                    {"GENERIC LED BATTEN 1500", LUMTYPE_LUMINAIRE, 45, 0.5, 0},
                    {"GENERIC LED HIGH-BAY", LUMTYPE_LUMINAIRE, 150, 1, 0},
                    {"GENERIC LED EMERGENCY", LUMTYPE_EMERGENCY, 3, 0, 1}};
    for (const Expected& e : expected) {
        const CLumTypeData product = database.GetLumDataFromRefId(e.refId);
        EXPECT_EQ(product.GetTypeFlags(), e.type) << e.refId;
        EXPECT_EQ(product.GetMaxPow(), e.watts) << e.refId;
        EXPECT_EQ(product.GetStandbyPow(), e.standby) << e.refId;
        EXPECT_EQ(product.GetChargePow(), e.charge) << e.refId;
        EXPECT_NE(product.GetDesc().find("Generic"), std::string::npos);
    }
}
