#include "products/LumSysDataBase.h"
#include "model/XmlUtils.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <thread>

namespace {

class LumSysDataBaseTest : public ::testing::Test {
  protected:
    void SetUp() override { CLumSysDataBase::ResetGlobal(); }
    void TearDown() override { CLumSysDataBase::ResetGlobal(); }

    // Reads the products of an XML text whose root holds "LumTypeData" children.
    void ReadXml(CLumSysDataBase& db, const std::string& xml) {
        TiXmlDocument doc;
        doc.Parse(xml.c_str());
        ASSERT_FALSE(doc.Error()) << doc.ErrorDesc();
        db.ReadFromXml(doc.RootElement());
    }

    static CLumTypeData Product(const std::string& refId, double maxPow, double standby = 0,
                                double charge = 0) {
        CLumTypeData p;
        p.SetRefId(refId);
        p.SetMaxPow(maxPow);
        p.SetStandbyPow(standby);
        p.SetChargePow(charge);
        return p;
    }

    RecordingMessageBoxes boxes; // errors raise boxes in the interactive program
    LogRecorder log;
};

std::string Lum(const std::string& refId, const std::string& body) {
    return "<LumTypeData refid=\"" + refId + "\">" + body + "</LumTypeData>";
}
const std::string kPowers = "<MaxPow>36</MaxPow><StandbyPow>0.5</StandbyPow><ChargePow>0</ChargePow>";

TEST_F(LumSysDataBaseTest, ReadingKeepsGoodProductsAndSkipsBadOnes) {
    CLumSysDataBase db;
    ReadXml(db, "<LENI_V1_LUM_DB>" + Lum("abc", "<Desc>first</Desc>" + kPowers) + // kept
                    Lum("ABC", "<Desc>second</Desc>" + kPowers) +                 // duplicate
                    Lum("noMax", "<StandbyPow>0</StandbyPow><ChargePow>0</ChargePow>") +
                    Lum("negStandby",
                        "<MaxPow>10</MaxPow><StandbyPow>-0.5</StandbyPow><ChargePow>0</ChargePow>") +
                    Lum("nanMax", "<MaxPow>nan</MaxPow><StandbyPow>0</StandbyPow><ChargePow>0</ChargePow>") +
                    Lum("noCharge", "<MaxPow>10</MaxPow><StandbyPow>0</StandbyPow>") + Lum("", kPowers) +
                    Lum("zero", "<MaxPow>0</MaxPow><StandbyPow>0</StandbyPow><ChargePow>0</ChargePow>") +
                    "</LENI_V1_LUM_DB>");
    ASSERT_EQ(db.GetCount(), 2) << log.All();
    EXPECT_EQ(db.GetLumDataAtIndex(0).GetDesc(), "first");
    EXPECT_EQ(db.GetLumDataAtIndex(1).GetRefId(), "zero");
    EXPECT_EQ(db.GetLumDataAtIndex(1).GetMaxPow(), 0.0);
    EXPECT_EQ(
        log.Count("Ignoring luminaire <refid = ABC> because it\nalready exists in the database.", LOG_INFO),
        1);
    EXPECT_EQ(log.Count("CLumTypeData::RFX no MaxPow", LOG_ERROR), 2); // missing and nan
    EXPECT_EQ(log.Count("CLumTypeData::RFX no StandbyPow", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("CLumTypeData::RFX no ChargePow", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("CLumTypeData::RFX no refid attribute", LOG_ERROR), 1);
    EXPECT_FALSE(db.IsChanged());
}

TEST_F(LumSysDataBaseTest, MissingTypeFieldsDefaultAndReadingStopsAtForeignSibling) {
    CLumSysDataBase db;
    ReadXml(db, "<Products>" + Lum("A", kPowers) +
                    "<lumtypedata refid=\"B\"><TypeFlags>7</TypeFlags><ProdConSys>x</ProdConSys>" + kPowers +
                    "</lumtypedata><Other/>" + Lum("C", kPowers) + "</Products>");
    ASSERT_EQ(db.GetCount(), 2);
    CLumTypeData a = db.GetLumDataAtIndex(0);
    EXPECT_EQ(a.GetTypeFlags(), 1);
    EXPECT_EQ(a.GetProdConSys(), 1);
    EXPECT_STREQ(GetLumTypeName(a.GetTypeFlags()), "Luminaire");
    EXPECT_STREQ(kProdConSysNames[a.GetProdConSys()], "Occupancy");
    CLumTypeData b = db.GetLumDataAtIndex(1);
    EXPECT_EQ(b.GetTypeFlags(), 7);
    EXPECT_EQ(b.GetProdConSys(), 0); // text that is no number
    EXPECT_STREQ(GetLumTypeName(7), "Luminaire+Control+Emergency");
    EXPECT_STREQ(GetLumTypeName(8), "");
    EXPECT_FALSE(db.HasRefId("C"));
}

TEST_F(LumSysDataBaseTest, LookupIgnoresCaseAndFallsBackToGlobal) {
    CLumSysDataBase& global = CLumSysDataBase::Global();
    global.AddLumData(Product("x-120", 58));
    global.AddLumData(Product("shared", 1));
    CLumSysDataBase project;
    project.AddLumData(Product("Shared", 2));
    project.AddLumData(Product("abc", 36));

    EXPECT_EQ(project.GetLumDataFromRefId("ABC").GetMaxPow(), 36.0);
    EXPECT_EQ(project.GetIndexOfRefId("ABC"), 1);
    EXPECT_EQ(project.GetLumDataFromRefId("X-120").GetMaxPow(), 58.0); // only the global has it
    EXPECT_EQ(project.GetLumDataFromRefId("SHARED").GetMaxPow(), 2.0); // the project's copy first
    EXPECT_TRUE(log.messages.empty()) << log.All();

    CLumTypeData unknown = project.GetLumDataFromRefId("nope");
    EXPECT_EQ(unknown, CLumTypeData());
    EXPECT_EQ(log.Count("CLumSysDataBase::GLDFRI could not find luminaire <nope>", LOG_ERROR), 1);
    // The global database does not look into any project.
    global.GetLumDataFromRefId("abc");
    EXPECT_EQ(log.Count("could not find luminaire <abc>"), 1);
}

TEST_F(LumSysDataBaseTest, EditsSetTheChangedFlagAndReportBadArguments) {
    CLumSysDataBase db;
    db.AddLumData(Product("", 5));
    EXPECT_EQ(db.GetCount(), 0);
    EXPECT_FALSE(db.IsChanged());
    EXPECT_EQ(log.Count("CLumSysDataBase::ALD, no reference id", LOG_ERROR), 1);

    for (const char* id : {"a", "b", "c"})
        db.AddLumData(Product(id, 1));
    EXPECT_TRUE(db.IsChanged());
    db.SetChanged(false);
    db.ReplaceLumData(Product("B", 9));
    EXPECT_TRUE(db.IsChanged());
    EXPECT_EQ(db.GetLumDataAtIndex(1).GetMaxPow(), 9.0);
    db.DeleteObject("A");
    ASSERT_EQ(db.GetCount(), 2);
    EXPECT_EQ(db.GetLumDataAtIndex(0).GetRefId(), "B");
    EXPECT_EQ(db.GetLumDataAtIndex(1).GetRefId(), "c");

    db.ReplaceLumData(Product("zz", 1));
    db.DeleteObject("zz");
    EXPECT_EQ(db.GetLumDataAtIndex(2), CLumTypeData());
    EXPECT_EQ(log.Count("CLumSysDataBase::RLD Could not find refid <zz>", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("CLumSysDataBase::DO error zz", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("CLumSysDataBase::GLDAI out of range ikRow=2 size is 2", LOG_ERROR), 1);
}

TEST_F(LumSysDataBaseTest, WritesTheDocumentWithFixedNumberFormats) {
    TempDir dir;
    CLumSysDataBase& global = CLumSysDataBase::Global();
    global.SetFilePath((dir / kLumDbFileName).string());
    CLumTypeData p = Product("L62", 62, 0.5, 1.25);
    p.SetDesc("Città 62 W");
    global.AddLumData(p);
    std::string text = ReadFileText(dir / kLumDbFileName);
    EXPECT_EQ(text, "<?xml version=\"1.0\" ?>\n"
                    "<LENI_V1_LUM_DB>\n"
                    "    <LumTypeData refid=\"L62\">\n"
                    "        <Desc>Citt\xE0 62 W</Desc>\n"
                    "        <TypeFlags>1</TypeFlags>\n"
                    "        <ProdConSys>1</ProdConSys>\n"
                    "        <MaxPow>62.0000000</MaxPow>\n"
                    "        <StandbyPow>0.5000000</StandbyPow>\n"
                    "        <ChargePow>1.2500000</ChargePow>\n"
                    "    </LumTypeData>\n"
                    "</LENI_V1_LUM_DB>\n");

    CLumSysDataBase again;
    ASSERT_TRUE(again.ReadFromFile((dir / kLumDbFileName).string()));
    ASSERT_EQ(again.GetCount(), 1);
    EXPECT_EQ(again.GetLumDataAtIndex(0), p);
    EXPECT_EQ(log.Count("Read 1 products from <", LOG_INFO), 1);
}

TEST_F(LumSysDataBaseTest, GlobalFileIsWrittenWhenAChangeCompletesAndOnlyThen) {
    TempDir dir;
    std::string path = (dir / kLumDbFileName).string();
    CLumSysDataBase& global = CLumSysDataBase::Global();

    // No file yet: reported, and the program goes on with an empty database.
    EXPECT_FALSE(global.ReadFromFile(path));
    EXPECT_EQ(log.Count("Luminaire database file:\n" + path +
                            "\ndoes not exist\nA new empty luminaire database will be created.",
                        LOG_ERROR),
              1);
    global.WriteIfChanged();
    EXPECT_FALSE(FileExists(path));

    // Each completed edit reaches the file at once, not only at exit.
    global.AddLumData(Product("one", 10));
    EXPECT_FALSE(global.IsChanged());
    CLumSysDataBase copy;
    ASSERT_TRUE(copy.ReadFromFile(path));
    EXPECT_EQ(copy.GetCount(), 1);
    global.ReplaceLumData(Product("ONE", 11));
    ASSERT_TRUE(copy.ReadFromFile(path));
    EXPECT_EQ(copy.GetLumDataAtIndex(0).GetMaxPow(), 11.0);
    global.DeleteObject("one");
    ASSERT_TRUE(copy.ReadFromFile(path));
    EXPECT_EQ(copy.GetCount(), 0);

    // A project's database never writes a file of its own.
    CLumSysDataBase project;
    project.AddLumData(Product("p", 1));
    EXPECT_TRUE(project.IsChanged());

    // Reading and exiting without a change leaves the file alone.
    auto stamp = fs::last_write_time(path);
    ASSERT_TRUE(global.ReadFromFile(path));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    global.WriteIfChanged();
    EXPECT_EQ(fs::last_write_time(path), stamp);
}

TEST_F(LumSysDataBaseTest, UnreadableFileIsReportedAndKeptBeforeBeingReplaced) {
    TempDir dir;
    struct Case {
        const char* content;
        const char* message;
    } cases[] = {
        {"<LENI_V1_LUM_DB><LumTypeData refid=", "Could not load luminaire database project XML file:\n"},
        {"<?xml version=\"1.0\" ?><OTHER/>", "Top level element missing in luminaire database file:\n"},
    };
    for (const Case& c : cases) {
        CLumSysDataBase::ResetGlobal();
        log.Clear();
        std::string path = (dir / kLumDbFileName).string();
        WriteFileText(path, c.content);
        fs::remove(path + ".bak");
        CLumSysDataBase& global = CLumSysDataBase::Global();
        EXPECT_FALSE(global.ReadFromFile(path));
        EXPECT_EQ(global.GetCount(), 0);
        EXPECT_EQ(log.Count(c.message, LOG_ERROR), 1) << log.All();
        global.AddLumData(Product("new", 1));
        EXPECT_EQ(ReadFileText(path + ".bak"), c.content);
        CLumSysDataBase copy;
        ASSERT_TRUE(copy.ReadFromFile(path));
        EXPECT_EQ(copy.GetCount(), 1);
    }
}

TEST_F(LumSysDataBaseTest, FailedWriteIsReportedAndKeepsTheChange) {
    TempDir dir;
    CLumSysDataBase& global = CLumSysDataBase::Global();
    global.SetFilePath((dir / "missing-folder" / kLumDbFileName).string());
    global.AddLumData(Product("a", 1));
    EXPECT_TRUE(global.IsChanged());
    EXPECT_EQ(log.Count("Could not write the luminaire database file:", LOG_ERROR), 1);
}

} // namespace
