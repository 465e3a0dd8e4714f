// The savings advisor on a building worked out by hand, and its promise kept by the calculation.

#include "report/SavingsAdvisor.h"
#include "calc/EnergyCalc.h"
#include "model/LENIProject.h"
#include "support/TestSupport.h"
#include "tables/LENITables.h"

#include <gtest/gtest.h>

namespace {

Polygon Rect(double x0, double y0, double x1, double y1) {
    return {Point(x0, y0), Point(x1, y0), Point(x1, y1), Point(x0, y1)};
}

// Two rooms without openings, one zone each: Fa 0.2 (Fo 1, 0.95, 0.9, 0.8 under the four
// occupancy systems), manual switching, no constant illuminance control, room MF 0.7,
// td 2250 + tn 250 = 2500 h.
//   Office 10 x 5 m, ten 36 W luminaires with 0.5 W standby: Wl 900, Wp 43.8 kWh
//   Store   5 x 4 m, four 36 W luminaires:                     Wl 360 kWh
// Building: 70 m2, 1303.8 kWh, LENI 18.6257.
// Constant illuminance with Fcc 0.9: Fc = 1 - 0.5 x 0.9 x (1 - 0.7) = 0.865 (Fcod 500/500).
CLENIProject HandBuilding() {
    CLENIProject project;
    project.SetName("Hand");
    CLumTypeData product;
    product.SetRefId("T36");
    product.SetMaxPow(36.0);
    product.SetStandbyPow(0.5);
    project.GetProducts().AddLumData(product);
    CLumTypeData bare = product;
    bare.SetRefId("B36");
    bare.SetStandbyPow(0.0);
    project.GetProducts().AddLumData(bare);
    CLENIFloor floor("Ground", 3.0);
    auto add = [&floor](const char* roomName, const Polygon& outline, const char* zoneName, const char* refId,
                        int count) {
        CLENIRoom room;
        room.InitFromPolygon(roomName, outline, 3.0);
        room.SetTd(2250);
        room.SetTn(250);
        room.SetMaintenanceFactor(0.7);
        CLENIZone zone;
        zone.InitFromPolygon(zoneName, outline);
        zone.SetFoMode(FOMODE_FROM_FA);
        zone.SetFa(0.2);
        zone.SetOccupancyControlSystem(CLENITables::GetOccupancySystemNames()[0]);
        zone.SetControlTechnique("Manual");
        zone.GetLumList().AddLuminaire(refId);
        zone.GetLumList().SetLuminaireCount(refId, count);
        room.AddZone(zone);
        floor.AddRoom(room);
    };
    add("Office", Rect(0, 0, 10, 5), "Z1", "T36", 10);
    add("Store", Rect(10, 0, 15, 4), "Z2", "B36", 4);
    project.AppendFloor(floor);
    return project;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

const AdviceOption* Find(const SavingsAdvice& advice, const std::string& zone, const std::string& label) {
    for (const AdviceOption& o : advice.options)
        if (o.zoneName == zone && o.label == label) return &o;
    return nullptr;
}

} // namespace

TEST(SavingsAdvisorTest, HandWorkedBuilding) {
    LogRecorder log;
    CLENIProject project = HandBuilding();
    const SavingsAdvice advice = AdviseSavings(project);
    EXPECT_NEAR(advice.area, 70.0, 1e-9);
    EXPECT_NEAR(advice.energyBefore, 1303.8, 1e-9);
    EXPECT_NEAR(advice.leniBefore, 1303.8 / 70.0, 1e-12);

    struct Case {
        const char* zone;
        const char* label;
        double saved; // worked out by hand
    };
    const Case cases[] = {
        // 360 W x 0.95 x 2500 h = 855 kWh
        {"Z1", "occupancy 2", 45.0},
        // 0.865 x 360 W x 0.8 x 2500 h = 622.8 kWh
        {"Z1", "occupancy 4 + constant illuminance (Fcc 0.90)", 277.2},
        // 0.865 x 144 W x 0.8 x 2500 h = 249.12 kWh
        {"Z2", "occupancy 4 + constant illuminance (Fcc 0.90)", 110.88},
    };
    for (const Case& c : cases) {
        const AdviceOption* o = Find(advice, c.zone, c.label);
        ASSERT_NE(o, nullptr) << c.label;
        EXPECT_NEAR(o->saved, c.saved, 1e-9) << c.label;
        EXPECT_NEAR(o->energyAfter, 1303.8 - c.saved, 1e-9) << c.label;
        EXPECT_NEAR(o->leniAfter, (1303.8 - c.saved) / 70.0, 1e-12) << c.label;
    }
    // Each zone: the seven other occupancy and constant-illuminance choices, each once (without
    // openings no daylight technique changes anything), the most saved first.
    ASSERT_EQ(advice.options.size(), 14u);
    EXPECT_EQ(advice.options[0].label, cases[1].label);
    EXPECT_EQ(advice.options[7].label, cases[2].label);
    for (size_t i = 1; i < advice.options.size(); ++i) {
        if (advice.options[i].zoneName == advice.options[i - 1].zoneName) {
            EXPECT_GE(advice.options[i - 1].saved, advice.options[i].saved);
        }
    }
    EXPECT_EQ(advice.zonesImproved, 2);
    EXPECT_NEAR(advice.energyAllBest, 622.8 + 43.8 + 249.12, 1e-9);
    EXPECT_NEAR(advice.leniAllBest, (622.8 + 43.8 + 249.12) / 70.0, 1e-12);

    // The CSV: cost and CO2 columns only when set, each saved kWh x price or factor.
    EXPECT_EQ(GetAdviceCsv(advice, project).find("cost"), std::string::npos);
    project.SetEnergyPrice(0.2);
    project.SetCO2Factor(0.5);
    const std::vector<std::string> lines = SplitLines(GetAdviceCsv(advice, project));
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "floor,room,zone,option,energy before (kWh/year),energy after (kWh/year),saved (kWh/year),"
                        "LENI after (kWh/(m2 year)),cost saved (per year),CO2 saved (kg/year)");
    EXPECT_EQ(lines[1], "(building),,,every zone's best option,1303.80,915.72,388.08,13.08,77.62,194.04");
    EXPECT_EQ(lines[2], "Ground,Office,Z1,occupancy 4 + constant illuminance (Fcc 0.90),1303.80,1026.60,277.20,"
                        "14.67,55.44,138.60");
}

// Applied, an option gives the LENI the advisor promised, to the last digit, through the same
// calculation "report" runs; so does every zone's best option at once. On the sample building,
// whose zones have windows, daylight techniques and several zones per room.
TEST(SavingsAdvisorTest, ApplyingAnOptionGivesThePromisedLeni) {
    LogRecorder log;
    CLENIProject sample;
    ASSERT_TRUE(sample.ReadProject((fs::path(ORVANTIS_SOURCE_DIR) / "examples/sample/SAMPLE.LENI1XML").string()));
    TempDir dir;
    sample.SetProjectFolder(dir.path().string());
    const SavingsAdvice advice = AdviseSavings(sample);
    ASSERT_GT(advice.options.size(), 10u);
    EXPECT_EQ(advice.leniBefore, CalculateAnnualLENI(sample, 0).GetLENI());

    bool daylight = false;
    for (size_t i = 0; i < advice.options.size(); i += 7) {
        const AdviceOption& o = advice.options[i];
        daylight = daylight || o.label.find("daylight") != std::string::npos;
        CLENIProject applied = sample;
        ASSERT_TRUE(ApplyAdviceOption(applied, o));
        EXPECT_EQ(CalculateAnnualLENI(applied, 0).GetLENI(), o.leniAfter) << o.roomName << " " << o.label;
    }
    EXPECT_TRUE(daylight);

    CLENIProject allBest = sample;
    std::string lastZone;
    for (const AdviceOption& o : advice.options)
        if (o.floorName + "/" + o.roomName + "/" + o.zoneName != lastZone) {
            lastZone = o.floorName + "/" + o.roomName + "/" + o.zoneName;
            ASSERT_TRUE(ApplyAdviceOption(allBest, o));
        }
    EXPECT_EQ(CalculateAnnualLENI(allBest, 0).GetLENI(), advice.leniAllBest);
    EXPECT_LT(advice.leniAllBest, advice.leniBefore);
    EXPECT_EQ(log.Count("", LOG_ERROR), 0) << log.All();
}

// A zone whose Fcc the user has set keeps it when the advisor switches constant illuminance on:
// Fcc 0.5 gives Fc = 1 - 0.5 x 0.5 x 0.3 = 0.925, so 0.925 x 900 kWh = 832.5 kWh, 67.5 saved.
TEST(SavingsAdvisorTest, TheZonesOwnFccIsKept) {
    LogRecorder log;
    CLENIProject project = HandBuilding();
    project.FindRoom("Ground", "Office")->FindZone("Z1")->SetFcc(0.5);
    const SavingsAdvice advice = AdviseSavings(project);
    const AdviceOption* o = Find(advice, "Z1", "constant illuminance (Fcc 0.50)");
    ASSERT_NE(o, nullptr);
    EXPECT_NEAR(o->saved, 67.5, 1e-9);
    EXPECT_EQ(Find(advice, "Z1", "constant illuminance (Fcc 0.90)"), nullptr);
    EXPECT_NE(Find(advice, "Z2", "constant illuminance (Fcc 0.90)"), nullptr);
}

// What the calculation reports of a room is reported once, as by one calculation, not once for
// every option worked out (in the desktop program each would be a message box).
TEST(SavingsAdvisorTest, ARoomsFaultIsReportedOnce) {
    CLENIProject project = HandBuilding();
    CLENIWindow window;
    window.m_iWallId = 0;
    window.m_iWindowId = 1;
    window.m_dWidth = 1;
    window.m_dHeight = 1;
    window.m_iVertWinType = 3;
    project.FindRoom("Ground", "Office")->AddWindow(window);
    LogRecorder log;
    const SavingsAdvice advice = AdviseSavings(project);
    EXPECT_EQ(advice.options.size(), 14u);
    EXPECT_EQ(log.Count("Unhandled LeniWinType: 3", LOG_ERROR), 1) << log.All();
}
