#include "products/ZoneObjList.h"
#include "products/LumSysDataBase.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

namespace {

class ZoneObjListTest : public ::testing::Test {
  protected:
    void SetUp() override { CLumSysDataBase::ResetGlobal(); }
    void TearDown() override { CLumSysDataBase::ResetGlobal(); }

    static CLumTypeData Product(const std::string& refId, double maxPow, double standby, double charge) {
        CLumTypeData p;
        p.SetRefId(refId);
        p.SetMaxPow(maxPow);
        p.SetStandbyPow(standby);
        p.SetChargePow(charge);
        return p;
    }

    bool Read(CZoneObjList& list, const std::string& xml) {
        TiXmlDocument doc;
        doc.Parse(xml.c_str());
        EXPECT_FALSE(doc.Error()) << doc.ErrorDesc();
        return list.ReadFromXml(doc.RootElement());
    }

    static std::vector<std::pair<std::string, int>> Entries(const CZoneObjList& list) {
        std::vector<std::pair<std::string, int>> out;
        for (const auto& e : list.GetEntries())
            out.emplace_back(e.refId, e.count);
        return out;
    }

    RecordingMessageBoxes boxes;
    LogRecorder log;
};

using Entries_t = std::vector<std::pair<std::string, int>>;

TEST_F(ZoneObjListTest, AddingCountsOneEntryPerProductWhateverTheCase) {
    CZoneObjList list;
    list.AddLuminaire("L-36");
    list.AddLuminaire("E-2");
    list.AddLuminaire("l-36");
    list.AddLuminaire("L-36");
    list.AddLuminaire("");
    EXPECT_EQ(Entries(list), (Entries_t{{"L-36", 3}, {"E-2", 1}}));
    EXPECT_TRUE(list.HasLuminaire("e-2"));
    EXPECT_FALSE(list.HasLuminaire("E-3"));
    EXPECT_EQ(log.Count("CZoneObjList::AL no reference id", LOG_ERROR), 1);
}

TEST_F(ZoneObjListTest, SettingCountsReplacesRemovesOrReports) {
    CZoneObjList list;
    for (const char* id : {"a", "b", "c"})
        list.AddLuminaire(id);
    list.SetLuminaireCount("A", 5);
    list.SetLuminaireCount("b", 0);
    EXPECT_EQ(Entries(list), (Entries_t{{"a", 5}, {"c", 1}}));
    list.SetLuminaireCount("b", 2);
    list.SetLuminaireCount("c", -1);
    EXPECT_EQ(Entries(list), (Entries_t{{"a", 5}, {"c", 1}}));
    EXPECT_EQ(log.Count("CZoneObjList::SLC not found (b)", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("CZoneObjList::SLC bad count -1 (c)", LOG_ERROR), 1);

    std::string refId = "x";
    int count = 9;
    list.GetLuminaireAtIndex(1, refId, count);
    EXPECT_EQ(refId, "c");
    EXPECT_EQ(count, 1);
    list.GetLuminaireAtIndex(2, refId, count);
    EXPECT_EQ(refId, "");
    EXPECT_EQ(count, 0);
    list.GetLuminaireAtIndex(-1, refId, count);
    EXPECT_EQ(log.Count("CZoneObjList::GLAI out of range (2)", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("CZoneObjList::GLAI out of range (-1)", LOG_ERROR), 1);
}

TEST_F(ZoneObjListTest, ReadingTakesEntriesAsWrittenAndFailsOnBadOnes) {
    struct Case {
        const char* caption;
        const char* xml;
        bool ok;
        Entries_t entries; // what stays in the list
        const char* message;
    } cases[] = {
        {"duplicates stay",
         "<LumList><Luminaire refid='a' count='2'/><Luminaire refid='A' count='3'/></LumList>",
         true,
         {{"a", 2}, {"A", 3}},
         nullptr},
        {"empty list", "<LumList/>", true, {}, nullptr},
        {"count 0",
         "<LumList><Luminaire refid='a' count='1'/><Luminaire refid='b' count='0'/></LumList>",
         false,
         {{"a", 1}},
         "'count' attribute = 0 in LumList XML element, refid=<b>"},
        {"count -2",
         "<LumList><Luminaire refid='b' count='-2'/></LumList>",
         false,
         {},
         "'count' attribute = -2 in LumList XML element, refid=<b>"},
        {"count beyond 32 bits",
         "<LumList><Luminaire refid='b' count='4294967294'/></LumList>",
         false,
         {},
         "'count' attribute = 4294967294 in LumList XML element, refid=<b>"},
        {"count no number",
         "<LumList><Luminaire refid='b' count='many'/></LumList>",
         false,
         {},
         "'count' attribute = 0 in LumList XML element, refid=<b>"},
        {"count missing",
         "<LumList><Luminaire refid='b'/></LumList>",
         false,
         {},
         "Missing 'count' attribute in LumList XML element"},
        {"count empty",
         "<LumList><Luminaire refid='b' count=''/></LumList>",
         false,
         {},
         "Missing 'count' attribute in LumList XML element"},
        {"refid empty",
         "<LumList><Luminaire refid='' count='1'/></LumList>",
         false,
         {},
         "Missing 'refid' attribute in LumList XML element"},
        {"foreign sibling is read too",
         "<LumList><Luminaire refid='a' count='1'/><Note/></LumList>",
         false,
         {{"a", 1}},
         "Missing 'refid' attribute in LumList XML element"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        log.Clear();
        CZoneObjList list;
        list.AddLuminaire("old");
        EXPECT_EQ(Read(list, c.xml), c.ok);
        EXPECT_EQ(Entries(list), c.entries);
        if (c.message)
            EXPECT_EQ(log.Count(c.message, LOG_ERROR), 1) << log.All();
        else
            EXPECT_TRUE(log.messages.empty()) << log.All();
    }
}

TEST_F(ZoneObjListTest, WrittenListReadsBack) {
    CZoneObjList list;
    list.AddLuminaire("Lampe \xC3\xA9t\xC3\xA9");
    list.AddLuminaire("b");
    list.SetLuminaireCount("b", 12);
    TiXmlElement element("LumList");
    list.WriteToXml(&element);
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    element.Accept(&printer);
    EXPECT_EQ(
        printer.Str(),
        std::string("<LumList><Luminaire refid=\"Lampe \xE9t\xE9\" count=\"1\" /><Luminaire refid=\"b\" "
                    "count=\"12\" /></LumList>"));
    CZoneObjList again;
    EXPECT_TRUE(again.ReadFromXml(&element));
    EXPECT_EQ(again, list);
}

TEST_F(ZoneObjListTest, TotalPowerSumsCountTimesTheChosenPower) {
    CLumSysDataBase& global = CLumSysDataBase::Global();
    global.AddLumData(Product("Lum36", 36, 0.5, 0));
    CLumSysDataBase project;
    project.AddLumData(Product("Emg", 0, 0, 2));
    CZoneObjList list;
    for (int i = 0; i < 3; ++i)
        list.AddLuminaire("LUM36"); // found in the global database through the project's
    list.AddLuminaire("Emg");

    struct Case {
        int code;
        double watts;
    } cases[] = {{Lighting, 108}, {Charging, 2}, {Standby, 1.5}, {Parasitic, 3.5}, {All, 111.5}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(list.GetTotalPower(c.code, project), c.watts) << c.code;
    EXPECT_TRUE(log.messages.empty()) << log.All();

    for (int bad : {-1, 5}) {
        log.Clear();
        EXPECT_EQ(list.GetTotalPower(bad, project), 0.0);
        EXPECT_EQ(log.Count("CLENIObjList::GTP unhandled energy use enum", LOG_ERROR), 1);
    }

    // A product no database knows adds nothing and says so.
    log.Clear();
    list.AddLuminaire("ghost");
    EXPECT_DOUBLE_EQ(list.GetTotalPower(All, project), 111.5);
    EXPECT_EQ(log.Count("CLumSysDataBase::GLDFRI could not find luminaire <ghost>", LOG_ERROR), 1);
}

TEST_F(ZoneObjListTest, ParasiticEnergyOfAYearAndOfAMonth) {
    CLumSysDataBase db;
    db.AddLumData(Product("sensor", 0, 1.5, 0));
    db.AddLumData(Product("exit", 3, 0, 2));
    CZoneObjList zone, window;
    zone.AddLuminaire("sensor");
    window.AddLuminaire("exit"); // 3.5 W of standby and charging in all
    EXPECT_NEAR(zone.GetParasiticEnergy(0, db) + window.GetParasiticEnergy(0, db), 30.66, 1e-9);
    for (int month = 1; month <= 12; ++month)
        EXPECT_NEAR(zone.GetParasiticEnergy(month, db) + window.GetParasiticEnergy(month, db), 2.555, 1e-9);
}

} // namespace
