#include "products/LumSysDataBase.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <chrono>
#include <cstdint>
#include <thread>

namespace {

class LumSysDataBaseTest : public ::testing::Test {
  protected:
    void SetUp() override { CLumSysDataBase::ResetGlobal(); }
    void TearDown() override { CLumSysDataBase::ResetGlobal(); }
    void ReadXml(CLumSysDataBase& db, const std::string& xml) {
        TiXmlDocument doc;
        doc.Parse(xml.c_str());
        ASSERT_FALSE(doc.Error()) << doc.ErrorDesc();
        db.ReadFromXml(doc.RootElement());
    }
    RecordingMessageBoxes boxes;
    LogRecorder log;
};

CLumTypeData Product(const std::string& refId, double maxPow, double standby = 0, double charge = 0) {
    CLumTypeData p;
    p.SetRefId(refId);
    p.SetMaxPow(maxPow);
    p.SetStandbyPow(standby);
    p.SetChargePow(charge);
    return p;
}

std::string Lum(const std::string& refId, const std::string& body, const char* tag = "LumTypeData") {
    return std::string("<") + tag + " refid=\"" + refId + "\">" + body + "</" + tag + ">";
}
std::string Pow(const char* max, const char* standby = "0", const char* charge = "0") {
    return std::string("<MaxPow>") + max + "</MaxPow><StandbyPow>" + standby + "</StandbyPow><ChargePow>" +
           charge + "</ChargePow>";
}

TEST_F(LumSysDataBaseTest, ReadingSkipsBadProductsAndStopsAtAForeignSibling) {
    CLumSysDataBase db;
    ReadXml(db, "<LENI_V1_LUM_DB>" + Lum("abc", "<Desc>first</Desc>" + Pow("36")) +
                    Lum("ABC", "<Desc>second</Desc>" + Pow("36")) +
                    Lum("noMax", "<StandbyPow>0</StandbyPow>") + Lum("negStandby", Pow("10", "-0.5")) +
                    Lum("nanMax", Pow("nan")) + Lum("", Pow("1")) +
                    Lum("zero", "<TypeFlags>7</TypeFlags><ProdConSys>x</ProdConSys>" + Pow("0")) +
                    Lum("lower", Pow("1"), "lumtypedata") + "<Other/>" + Lum("after", Pow("1")) +
                    "</LENI_V1_LUM_DB>");
    ASSERT_EQ(db.GetCount(), 3) << log.All();
    CLumTypeData abc = db.GetLumDataAtIndex(0), zero = db.GetLumDataAtIndex(1);
    EXPECT_EQ(abc.GetDesc(), "first");
    EXPECT_EQ(abc.GetTypeFlags(), 1); // missing elements: a luminaire, control system "Occupancy"
    EXPECT_EQ(abc.GetProdConSys(), 1);
    EXPECT_EQ(zero.GetRefId(), "zero");
    EXPECT_EQ(zero.GetMaxPow(), 0.0);
    EXPECT_EQ(zero.GetTypeFlags(), 7);
    EXPECT_EQ(zero.GetProdConSys(), 0); // text that is no number
    EXPECT_EQ(db.GetLumDataAtIndex(2).GetRefId(), "lower");
    EXPECT_EQ(
        log.Count("Ignoring luminaire <refid = ABC> because it\nalready exists in the database.", LOG_ERROR),
        1);
    EXPECT_EQ(log.Count("CLumTypeData::RFX no MaxPow", LOG_ERROR), 2); // missing, nan
    EXPECT_EQ(log.Count("CLumTypeData::RFX no StandbyPow", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("CLumTypeData::RFX no refid attribute", LOG_ERROR), 1);
    EXPECT_FALSE(db.IsChanged());
}

TEST_F(LumSysDataBaseTest, LookupIgnoresCaseAndFallsBackToGlobal) {
    CLumSysDataBase& global = CLumSysDataBase::Global();
    global.AddLumData(Product("x-120", 58));
    global.AddLumData(Product("shared", 1));
    CLumSysDataBase project;
    project.AddLumData(Product("Shared", 2));
    project.AddLumData(Product("abc", 36));
    EXPECT_EQ(project.GetLumDataFromRefId("ABC").GetMaxPow(), 36.0);
    EXPECT_EQ(project.GetLumDataFromRefId("X-120").GetMaxPow(), 58.0);
    EXPECT_EQ(project.GetLumDataFromRefId("SHARED").GetMaxPow(), 2.0);
    EXPECT_TRUE(log.messages.empty()) << log.All();

    EXPECT_EQ(project.GetLumDataFromRefId("nope"), CLumTypeData());
    EXPECT_EQ(log.Count("CLumSysDataBase::GLDFRI could not find luminaire <nope>", LOG_ERROR), 1);
    global.GetLumDataFromRefId("abc"); // the global database never looks into a project
    EXPECT_EQ(log.Count("could not find luminaire <abc>"), 1);
}

TEST_F(LumSysDataBaseTest, LookupFollowsEveryChangeOfTheDatabase) {
    CLumSysDataBase db;
    // Every change gives the database a revision it never had; looking up changes nothing.
    std::uint64_t seen = db.GetRevision();
    auto changed = [&] {
        const bool differs = db.GetRevision() != seen;
        seen = db.GetRevision();
        return differs;
    };
    for (const char* id : {"A", "b", "C", "d"})
        db.AddLumData(Product(id, 1));
    EXPECT_TRUE(changed());
    // A duplicate added by hand: the first of the two is found, as in a list search.
    db.AddLumData(Product("a", 99));
    EXPECT_TRUE(changed());
    EXPECT_EQ(db.GetIndexOfRefId("a"), 0);
    db.DeleteObject("B");
    EXPECT_TRUE(changed());
    EXPECT_EQ(db.GetIndexOfRefId("c"), 1);
    EXPECT_EQ(db.GetIndexOfRefId("D"), 2);
    EXPECT_FALSE(db.HasRefId("b"));
    EXPECT_FALSE(changed());
    db.DeleteObject("a");
    EXPECT_TRUE(changed());
    EXPECT_EQ(db.GetLumDataFromRefId("A").GetMaxPow(), 99.0);
    EXPECT_EQ(db.GetIndexOfRefId("a"), 2);
    db.ReplaceLumData(Product("C", 7));
    EXPECT_TRUE(changed());
    EXPECT_EQ(db.FindLumData("c")->GetMaxPow(), 7.0);
    db.AddProducts({Product("E", 3)});
    EXPECT_TRUE(changed());
    const CLumSysDataBase copy = db; // the same content: the same revision
    EXPECT_EQ(copy.GetRevision(), db.GetRevision());
    db.Clear();
    EXPECT_TRUE(changed());
    EXPECT_FALSE(db.HasRefId("d"));
    ReadXml(db, "<LENI_V1_LUM_DB>" + Lum("Z", Pow("5")) + "</LENI_V1_LUM_DB>");
    EXPECT_TRUE(changed());
    EXPECT_EQ(db.GetIndexOfRefId("z"), 0);
    EXPECT_FALSE(db.HasRefId("C"));
}

TEST_F(LumSysDataBaseTest, ManyProductsAreReadAndLookedUpWithoutAListSearchEach) {
    // 40 000 products, every one twice: the list search took minutes on such a file.
    std::string xml = "<LENI_V1_LUM_DB>";
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 40000; ++i)
            xml += Lum("P" + std::to_string(i), Pow(round == 0 ? "1" : "2"));
    xml += "</LENI_V1_LUM_DB>";
    CLumSysDataBase db;
    const auto start = std::chrono::steady_clock::now();
    ReadXml(db, xml);
    for (int i = 0; i < 40000; ++i)
        ASSERT_EQ(db.FindLumData("p" + std::to_string(i))->GetMaxPow(), 1.0);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 10.0);
    EXPECT_EQ(db.GetCount(), 40000);
}

TEST_F(LumSysDataBaseTest, FileHoldsFixedNumberFormatsAndTheFileCodePage) {
    TempDir dir;
    CLumSysDataBase& global = CLumSysDataBase::Global();
    global.SetFilePath((dir / kLumDbFileName).string());
    CLumTypeData p = Product("L62", 62, 0.5, 1.25);
    p.SetDesc("Città 62 W");
    global.AddLumData(p);
    EXPECT_EQ(ReadFileText(dir / kLumDbFileName), "<?xml version=\"1.0\" ?>\n<LENI_V1_LUM_DB>\n"
                                                  "    <LumTypeData refid=\"L62\">\n"
                                                  "        <Desc>Citt\xE0 62 W</Desc>\n"
                                                  "        <TypeFlags>1</TypeFlags>\n"
                                                  "        <ProdConSys>1</ProdConSys>\n"
                                                  "        <MaxPow>62.0000000</MaxPow>\n"
                                                  "        <StandbyPow>0.5000000</StandbyPow>\n"
                                                  "        <ChargePow>1.2500000</ChargePow>\n"
                                                  "    </LumTypeData>\n</LENI_V1_LUM_DB>\n");
    CLumSysDataBase again;
    ASSERT_TRUE(again.ReadFromFile((dir / kLumDbFileName).string()));
    EXPECT_EQ(again.GetProducts(), std::vector<CLumTypeData>{p});
    EXPECT_EQ(log.Count("Read 1 products from <", LOG_INFO), 1);
}

TEST_F(LumSysDataBaseTest, GlobalFileIsWrittenWhenAChangeCompletesAndOnlyThen) {
    TempDir dir;
    std::string path = (dir / kLumDbFileName).string();
    CLumSysDataBase& global = CLumSysDataBase::Global();
    EXPECT_FALSE(global.ReadFromFile(path));
    EXPECT_EQ(log.Count("Luminaire database file:\n" + path +
                            "\ndoes not exist\nA new empty luminaire database will be created.",
                        LOG_INFO),
              1);
    global.WriteIfChanged();
    EXPECT_FALSE(FileExists(path));

    // Every completed edit reaches the file at once, not only at exit.
    CLumSysDataBase copy;
    global.AddLumData(Product("one", 10));
    EXPECT_FALSE(global.IsChanged());
    ASSERT_TRUE(copy.ReadFromFile(path));
    EXPECT_EQ(copy.GetCount(), 1);
    global.ReplaceLumData(Product("ONE", 11));
    ASSERT_TRUE(copy.ReadFromFile(path));
    EXPECT_EQ(copy.GetLumDataAtIndex(0).GetMaxPow(), 11.0);
    global.DeleteObject("one");
    ASSERT_TRUE(copy.ReadFromFile(path));
    EXPECT_EQ(copy.GetCount(), 0);

    auto stamp = fs::last_write_time(path);
    ASSERT_TRUE(global.ReadFromFile(path));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    global.WriteIfChanged();
    EXPECT_EQ(fs::last_write_time(path), stamp);

    // A failed write is reported and keeps the change for the write at exit.
    global.SetFilePath((dir / "no-folder" / kLumDbFileName).string());
    global.AddLumData(Product("two", 1));
    EXPECT_TRUE(global.IsChanged());
    EXPECT_EQ(log.Count("Could not write the luminaire database file:", LOG_ERROR), 1);
}

TEST_F(LumSysDataBaseTest, UnreadableFileIsReportedAndKeptBeforeBeingReplaced) {
    TempDir dir;
    std::string path = (dir / kLumDbFileName).string();
    const std::pair<const char*, const char*> cases[] = {
        {"<LENI_V1_LUM_DB><LumTypeData refid=", "Could not load luminaire database project XML file:\n"},
        {"<?xml version=\"1.0\" ?><OTHER/>", "Top level element missing in luminaire database file:\n"}};
    for (const auto& [content, message] : cases) {
        CLumSysDataBase::ResetGlobal();
        WriteFileText(path, content);
        CLumSysDataBase& global = CLumSysDataBase::Global();
        EXPECT_FALSE(global.ReadFromFile(path));
        EXPECT_EQ(log.Count(std::string(message) + path, LOG_ERROR), 1) << log.All();
        global.AddLumData(Product("new", 1));
        EXPECT_EQ(ReadFileText(path + ".bak"), content);
        CLumSysDataBase copy;
        ASSERT_TRUE(copy.ReadFromFile(path));
        EXPECT_EQ(copy.GetCount(), 1);
    }
}

} // namespace

TEST_F(LumSysDataBaseTest, ADuplicateProductIdIsInTheLogOfABatchRunOnce) {
    TempDir dir;
    Log().SetMode(LOGMODE_BATCH);
    Log().SetToFile((dir / "batch.log").string());
    CLumSysDataBase db;
    ReadXml(db, "<LENI_V1_LUM_DB>" + Lum("Twice", Pow("5")) + Lum("Once", Pow("6")) + Lum("twice", Pow("7")) +
                    "</LENI_V1_LUM_DB>");
    const std::string text = ReadFileText(dir / "batch.log");
    Log().Reset();
    EXPECT_EQ(db.GetCount(), 2);
    EXPECT_EQ(db.FindLumData("TWICE")->GetMaxPow(), 5.0); // the first one is kept
    const std::string line = "Ignoring luminaire <refid = twice>";
    const size_t at = text.find(line);
    EXPECT_NE(at, std::string::npos) << text;
    EXPECT_EQ(text.find(line, at + 1), std::string::npos) << text;
    EXPECT_EQ(text.find("refid = Once"), std::string::npos) << text;
}
