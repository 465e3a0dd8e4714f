// The results export file and the numbers of the project file written with results.

#include "report/ResultsExport.h"
#include "model/LENIProject.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cstdlib>

namespace {

Polygon Rect(double x0, double y0, double x1, double y1) {
    return {Point(x0, y0), Point(x1, y0), Point(x1, y1), Point(x0, y1)};
}

double ChildDouble(const TiXmlElement* e, const char* name) {
    const TiXmlElement* child = e ? e->FirstChildElement(name) : nullptr;
    EXPECT_TRUE(child && child->GetText()) << name;
    return child && child->GetText() ? std::strtod(child->GetText(), nullptr) : -1.0;
}

std::vector<std::string> ChildNames(const TiXmlElement* e) {
    std::vector<std::string> names;
    for (const TiXmlElement* c = e->FirstChildElement(); c; c = c->NextSiblingElement())
        names.push_back(c->Value());
    return names;
}

// The worked example (a 50 m2 room, ten 36 W luminaires of 0.5 W standby, td 2250, tn 250, Fo 1)
// on a floor of the given instance count, with a 1.2 x 1.5 m window and a 1 x 4 m roof light
// without luminaires.
CLENIProject Example(const fs::path& folder, int instances) {
    CLENIProject project;
    project.SetProjectFolder(folder.string());
    project.SetName("Villa");
    project.SetDominantBuildingType("Offices");
    CLumTypeData p;
    p.SetRefId("T36");
    p.SetMaxPow(36.0);
    p.SetStandbyPow(0.5);
    p.SetChargePow(0.25);
    project.GetProducts().AddLumData(p);
    CLENIFloor floor("Ground", 3.2);
    floor.SetInstanceCount(instances);
    CLENIRoom room;
    room.InitFromPolygon("Kitchen", Rect(0, 0, 10, 5), 3.2);
    room.SetRoomType("[Offices]Cellular office 1 person.(Fa=0.40)");
    room.SetTd(2250);
    room.SetTn(250);
    CLENIZone zone;
    zone.InitFromPolygon("Z1", Rect(0, 0, 10, 5));
    zone.SetFoMode(FOMODE_ONE);
    zone.GetLumList().AddLuminaire("T36");
    zone.GetLumList().SetLuminaireCount("T36", 10);
    room.AddZone(zone);
    CLENIWindow window;
    window.m_iWallId = 2;
    window.m_iWindowId = 0;
    window.m_dStart = 1;
    window.m_dWidth = 1.2;
    window.m_dHeight = 1.5;
    window.m_dSillHeight = 1.0;
    room.AddWindow(window);
    CLENIRoofLight roofLight;
    roofLight.m_iId = 0;
    roofLight.m_dXLength = 4;
    roofLight.m_dYWidth = 1;
    room.AddRoofLight(roofLight);
    floor.AddRoom(room);
    project.AppendFloor(floor);
    return project;
}

} // namespace

TEST(ResultsExportTest, BuildingTotals) {
    TempDir dir{"export"};
    CLENIProject project = Example(dir.path(), 3);
    EXPECT_NEAR(GetTotalBuildingHeight(project), 10.5, 1e-12);
    EXPECT_EQ(GetNumberOfFloors(project), 3);
    // 1.2 x 1.5 = 1.8 for the window, 2 x 4 for the roof light, on three storeys.
    EXPECT_NEAR(GetTotalWindowsArea(project), 3 * 9.8, 1e-12);

    std::tm march{};
    march.tm_year = 2024 - 1900;
    march.tm_mon = 2;
    march.tm_mday = 5;
    march.tm_hour = 12;
    EXPECT_EQ(FormatFileCreationDate(std::mktime(&march)), "2024-03-05");
}

TEST(ResultsExportTest, FileHoldsTheYearAndTheTwelveMonths) {
    TempDir dir{"export"};
    CLENIProject project = Example(dir.path(), 3);
    LeniTimeStepResult annual;
    ASSERT_TRUE(ExportResults(project, (dir / "out.XML").string(), &annual));
    EXPECT_NEAR(annual.GetLENI(), (900.0 + 8760 * 7.5 / 1000) / 50, 1e-9);

    TiXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile((dir / "out.XML").string().c_str()));
    const TiXmlElement* root = doc.RootElement();
    ASSERT_TRUE(root);
    EXPECT_STREQ(root->Value(), "LENI_DB_V1");
    const std::vector<std::string> order = {"Name",
                                            "Descr",
                                            "Location",
                                            "DominantBuildingType",
                                            "Latitude",
                                            "Longitude",
                                            "YearToBeBuilt",
                                            "YearBuilt",
                                            "FileCreationDate",
                                            "TotalBuildingHeight",
                                            "TotalWindowsArea",
                                            "NumberOfFloors",
                                            "AverageFo",
                                            "InstalledStandbyPowerPpc",
                                            "InstalledChargingPowerPem",
                                            "AnnualLENI",
                                            "EnergyForLightingWl",
                                            "EnergyForStandbyAndChargingWp",
                                            "MonthlyCalculation"};
    EXPECT_EQ(ChildNames(root), order);
    EXPECT_EQ(FormatFileCreationDate(std::time(nullptr)),
              root->FirstChildElement("FileCreationDate")->GetText());
    EXPECT_STREQ(root->FirstChildElement("TotalBuildingHeight")->GetText(), "10.5000000");
    EXPECT_STREQ(root->FirstChildElement("NumberOfFloors")->GetText(), "3");
    EXPECT_DOUBLE_EQ(ChildDouble(root, "AverageFo"), 1.0);
    EXPECT_DOUBLE_EQ(ChildDouble(root, "InstalledStandbyPowerPpc"), 15.0);
    EXPECT_DOUBLE_EQ(ChildDouble(root, "InstalledChargingPowerPem"), 7.5);
    EXPECT_NEAR(ChildDouble(root, "EnergyForLightingWl"), 2700.0, 1e-7);
    EXPECT_NEAR(ChildDouble(root, "EnergyForStandbyAndChargingWp"), 3 * 65.7, 1e-7);
    EXPECT_NEAR(ChildDouble(root, "AnnualLENI"), (2700.0 + 197.1) / 150, 1e-7);

    const TiXmlElement* monthly = root->FirstChildElement("MonthlyCalculation");
    ASSERT_TRUE(monthly);
    std::vector<std::string> months;
    for (int m = 1; m <= 12; ++m)
        months.push_back("M" + std::to_string(m));
    EXPECT_EQ(ChildNames(monthly), months);
    // Every month: 188 + 21 hours of 360 W on three storeys; 730 h of 7.5 W.
    for (const TiXmlElement* m = monthly->FirstChildElement(); m; m = m->NextSiblingElement()) {
        EXPECT_NEAR(ChildDouble(m, "Wl"), 3 * 75.24, 1e-7) << m->Value();
        EXPECT_NEAR(ChildDouble(m, "Wp"), 3 * 5.475, 1e-7) << m->Value();
        EXPECT_NEAR(ChildDouble(m, "SpecificEnergy"), (3 * 75.24 + 3 * 5.475) / 150, 1e-7) << m->Value();
    }

    // The building's log left beside the project is the year's.
    auto lines = ReadLines(dir / "LENI_CALC_LOG_Villa.TXT");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Building Annual LENI   19.31kWh");
}

// With a price and an emission factor the year and each month carry energy x price and x factor
// beside the energy; without them the file has none (the order above).
TEST(ResultsExportTest, CostAndCO2WhereTheProjectSetsThem) {
    TempDir dir{"export"};
    CLENIProject project = Example(dir.path(), 3);
    project.SetEnergyPrice(0.2);
    project.SetCO2Factor(0.4);
    ASSERT_TRUE(ExportResults(project, (dir / "out.XML").string(), nullptr));
    TiXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile((dir / "out.XML").string().c_str()));
    const TiXmlElement* root = doc.RootElement();
    ASSERT_TRUE(root);
    const std::vector<std::string> names = ChildNames(root);
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(names.end() - 3, names.end()),
              (std::vector<std::string>{"AnnualCost", "AnnualCO2", "MonthlyCalculation"}));
    // 2897.10 kWh a year; 3 x (75.24 + 5.475) = 242.145 kWh a month.
    EXPECT_NEAR(ChildDouble(root, "AnnualCost"), 579.42, 1e-7);
    EXPECT_NEAR(ChildDouble(root, "AnnualCO2"), 1158.84, 1e-7);
    for (const TiXmlElement* m = root->FirstChildElement("MonthlyCalculation")->FirstChildElement(); m;
         m = m->NextSiblingElement()) {
        EXPECT_EQ(ChildNames(m), (std::vector<std::string>{"SpecificEnergy", "Wl", "Wp", "Cost", "CO2"}));
        EXPECT_NEAR(ChildDouble(m, "Cost"), 48.429, 1e-7) << m->Value();
        EXPECT_NEAR(ChildDouble(m, "CO2"), 96.858, 1e-7) << m->Value();
    }
}

TEST(ResultsExportTest, ABuildingWithoutAreaHasNoLENI) {
    TempDir dir{"export"};
    CLENIProject project;
    project.SetProjectFolder(dir.path().string());
    project.SetName("Empty");
    CLENIFloor floor("F", 3.0);
    CLENIRoom room;
    room.SetName("Flat");
    room.AddZone(CLENIZone());
    floor.AddRoom(room);
    project.AppendFloor(floor);
    ASSERT_TRUE(ExportResults(project, (dir / "e.XML").string()));
    TiXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile((dir / "e.XML").string().c_str()));
    EXPECT_STREQ(doc.RootElement()->FirstChildElement("AverageFo")->GetText(), "0.0000000");
    EXPECT_STREQ(doc.RootElement()->FirstChildElement("AnnualLENI")->GetText(), "0.0000000");
}
