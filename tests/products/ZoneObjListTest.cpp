#include "products/ZoneObjList.h"
#include "products/LumSysDataBase.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

namespace {

using Entries = std::vector<CZoneObjList::Entry>;

class ZoneObjListTest : public ::testing::Test {
  protected:
    void SetUp() override { CLumSysDataBase::ResetGlobal(); }
    void TearDown() override { CLumSysDataBase::ResetGlobal(); }
    RecordingMessageBoxes boxes;
    LogRecorder log;
};

CLumTypeData Product(const std::string& refId, double maxPow, double standby, double charge) {
    CLumTypeData p;
    p.SetRefId(refId);
    p.SetMaxPow(maxPow);
    p.SetStandbyPow(standby);
    p.SetChargePow(charge);
    return p;
}

TEST_F(ZoneObjListTest, AddingAndSettingCountsKeepOneEntryPerProductInOrder) {
    CZoneObjList list;
    for (const char* id : {"a", "B", "c", "A", "a", ""})
        list.AddLuminaire(id);
    EXPECT_EQ(list.GetEntries(), (Entries{{"a", 3}, {"B", 1}, {"c", 1}}));
    list.SetLuminaireCount("b", 0);
    list.SetLuminaireCount("C", 5);
    list.SetLuminaireCount("c", -1);
    list.SetLuminaireCount("zz", 2);
    EXPECT_EQ(list.GetEntries(), (Entries{{"a", 3}, {"c", 5}}));
    std::string refId = "x";
    int count = 9;
    list.GetLuminaireAtIndex(2, refId, count);
    EXPECT_EQ(refId + std::to_string(count), "0");
    EXPECT_EQ(log.Count("CZoneObjList::AL no reference id", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("CZoneObjList::SLC bad count -1 (c)", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("CZoneObjList::SLC not found (zz)", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("CZoneObjList::GLAI out of range (2)", LOG_ERROR), 1);
}

TEST_F(ZoneObjListTest, ReadingTakesEntriesAsWrittenAndFailsOnBadOnes) {
    struct Case {
        const char* xml;
        Entries entries;     // what stays in the list
        const char* message; // nullptr: the read succeeds
    } cases[] = {
        {"<L><Luminaire refid='a' count='2'/><Luminaire refid='A' count='3'/></L>",
         {{"a", 2}, {"A", 3}},
         nullptr},
        {"<L/>", {}, nullptr},
        {"<L><Luminaire refid='a' count='1'/><Luminaire refid='b' count='0'/></L>",
         {{"a", 1}},
         "'count' attribute = 0 in LumList XML element, refid=<b>"},
        {"<L><Luminaire refid='b' count='-2'/></L>",
         {},
         "'count' attribute = -2 in LumList XML element, refid=<b>"},
        {"<L><Luminaire refid='b' count='4294967294'/></L>",
         {},
         "'count' attribute = 4294967294 in LumList XML element, refid=<b>"},
        {"<L><Luminaire refid='b' count='many'/></L>", {}, "'count' attribute = 0 in LumList XML element"},
        {"<L><Luminaire refid='b' count=''/></L>", {}, "Missing 'count' attribute in LumList XML element"},
        {"<L><Luminaire count='1'/></L>", {}, "Missing 'refid' attribute in LumList XML element"},
        {"<L><Luminaire refid='a' count='1'/><Note/></L>", {{"a", 1}}, "Missing 'refid' attribute"},
    };
    for (const Case& c : cases) {
        log.Clear();
        TiXmlDocument doc;
        doc.Parse(c.xml);
        CZoneObjList list;
        list.AddLuminaire("old");
        EXPECT_EQ(list.ReadFromXml(doc.RootElement()), c.message == nullptr) << c.xml;
        EXPECT_EQ(list.GetEntries(), c.entries) << c.xml;
        EXPECT_EQ(log.Count(c.message ? c.message : "", LOG_ERROR), c.message ? 1 : 0) << log.All();
    }
}

TEST_F(ZoneObjListTest, WrittenListReadsBack) {
    CZoneObjList list, again;
    list.AddLuminaire("Lampe \xC3\xA9t\xC3\xA9");
    list.AddLuminaire("b");
    list.SetLuminaireCount("b", 12);
    TiXmlElement element("LumList");
    list.WriteToXml(&element);
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    element.Accept(&printer);
    EXPECT_EQ(printer.Str(), "<LumList><Luminaire refid=\"Lampe \xE9t\xE9\" count=\"1\" />"
                             "<Luminaire refid=\"b\" count=\"12\" /></LumList>");
    EXPECT_TRUE(again.ReadFromXml(&element));
    EXPECT_EQ(again, list);
}

TEST_F(ZoneObjListTest, TotalPowerAndParasiticEnergy) {
    CLumSysDataBase::Global().AddLumData(Product("Lum36", 36, 0.5, 0));
    CLumSysDataBase project;
    project.AddLumData(Product("Emg", 0, 0, 2));
    CZoneObjList list;
    for (const char* id : {"LUM36", "lum36", "Lum36", "Emg"}) // 36 W found through the project's database
        list.AddLuminaire(id);
    const std::pair<int, double> cases[] = {
        {Lighting, 108}, {Charging, 2}, {Standby, 1.5}, {Parasitic, 3.5}, {All, 111.5}};
    for (const auto& [code, watts] : cases)
        EXPECT_DOUBLE_EQ(list.GetTotalPower(code, project), watts) << code;
    EXPECT_NEAR(list.GetParasiticEnergy(0, project), 30.66, 1e-9);
    for (int month = 1; month <= 12; ++month)
        EXPECT_NEAR(list.GetParasiticEnergy(month, project), 2.555, 1e-9);
    EXPECT_TRUE(log.messages.empty()) << log.All();

    EXPECT_EQ(list.GetTotalPower(5, project), 0.0);
    EXPECT_EQ(list.GetTotalPower(-1, project), 0.0);
    EXPECT_EQ(log.Count("CLENIObjList::GTP unhandled energy use enum", LOG_ERROR), 2);
    list.AddLuminaire("ghost");
    EXPECT_DOUBLE_EQ(list.GetTotalPower(All, project), 111.5);
    EXPECT_EQ(log.Count("CLumSysDataBase::GLDFRI could not find luminaire <ghost>", LOG_ERROR), 1);
}

} // namespace
