#include "ModelTestSupport.h"

TEST(LENIZoneTest, NewZoneHoldsTheDefaults) {
    CLENIZone zone;
    EXPECT_EQ(zone.GetControlTechnique(), "Manual");
    EXPECT_EQ(zone.GetOccupancyControlSystem(), "1.Manual On/Off Switch");
    EXPECT_DOUBLE_EQ(zone.GetZoneIlluminance(), 500.0);
    EXPECT_DOUBLE_EQ(zone.GetRealIlluminance(), 500.0);
    EXPECT_DOUBLE_EQ(zone.GetFa(), 0.5);
    EXPECT_EQ(zone.GetFoMode(), FOMODE_ONE);
    EXPECT_DOUBLE_EQ(zone.GetFcc(), 1.0);
    EXPECT_FALSE(zone.GetConstantIlluminanceControl());
    EXPECT_FALSE(zone.GetConstantLumenOutput());
}

TEST(LENIZoneTest, SettersTakeOnlyValidValues) {
    const struct {
        const char* what;
        std::function<bool(CLENIZone&)> set;
        bool taken;
        std::function<double(const CLENIZone&)> get;
        double after;
    } cases[] = {
        {"lux choice", [](CLENIZone& z) { return z.SetZoneIlluminance(750); }, true,
         [](const CLENIZone& z) { return z.GetZoneIlluminance(); }, 750},
        {"lux near a choice", [](CLENIZone& z) { return z.SetZoneIlluminance(499.95); }, true,
         [](const CLENIZone& z) { return z.GetZoneIlluminance(); }, 499.95},
        {"lux not a choice", [](CLENIZone& z) { return z.SetZoneIlluminance(450); }, false,
         [](const CLENIZone& z) { return z.GetZoneIlluminance(); }, 500},
        {"real lux at the top", [](CLENIZone& z) { return z.SetRealIlluminance(10000); }, true,
         [](const CLENIZone& z) { return z.GetRealIlluminance(); }, 10000},
        {"real lux zero", [](CLENIZone& z) { return z.SetRealIlluminance(0); }, false,
         [](const CLENIZone& z) { return z.GetRealIlluminance(); }, 500},
        {"real lux NaN", [](CLENIZone& z) { return z.SetRealIlluminance(std::nan("")); }, false,
         [](const CLENIZone& z) { return z.GetRealIlluminance(); }, 500},
        {"Fa", [](CLENIZone& z) { return z.SetFa(0.95); }, true, [](const CLENIZone& z) { return z.GetFa(); },
         0.95},
        {"Fa above 1", [](CLENIZone& z) { return z.SetFa(1.2); }, false,
         [](const CLENIZone& z) { return z.GetFa(); }, 0.5},
    };
    for (const auto& c : cases) {
        CLENIZone zone;
        EXPECT_EQ(c.set(zone), c.taken) << c.what;
        EXPECT_DOUBLE_EQ(c.get(zone), c.after) << c.what;
    }
}

TEST(LENIZoneTest, ControlTechniqueIsKeptAsGiven) {
    CLENIZone zone;
    EXPECT_TRUE(zone.SetControlTechnique("automatic switched on/off"));
    EXPECT_EQ(zone.GetControlTechnique(), "automatic switched on/off");
    EXPECT_FALSE(zone.SetControlTechnique("Automatic"));
    EXPECT_EQ(zone.GetControlTechnique(), "automatic switched on/off");
}

TEST(LENIZoneTest, OutlineIsKeptCounterClockwise) {
    CLENIZone zone;
    EXPECT_TRUE(zone.InitFromPolygon("Z1", {Point(0, 0), Point(0, 2), Point(3, 2), Point(3, 0)}));
    EXPECT_TRUE(IsPolygonCounterClockwise(zone.GetPolygon()));
    EXPECT_DOUBLE_EQ(zone.GetArea(), 6.0);
    EXPECT_FALSE(zone.InitFromPolygon("Z2", {Point(0, 0), Point(1, 0)}));
    EXPECT_EQ(zone.GetName(), "Z1");
    EXPECT_EQ(zone.GetPolygon().size(), 4u);
}

TEST(LENIZoneTest, RefusalsWriteTheirMessages) {
    CLENIZone zone;
    ExpectMessages({
        {"empty name", [&] { zone.InitFromPolygon("", Rect(0, 0, 1, 1)); },
         "CLENIZone::IFDP with empty name.", LOG_ERROR},
        {"short outline", [&] { zone.InitFromPolygon("Z", {Point(0, 0)}); },
         "CLENIZone::IFDP bad pPline parameter.", LOG_ERROR},
        {"no polyline", [&] { zone.InitFromDxfPline("Z", nullptr); }, "CLENIZone::IFDP bad pPline parameter.",
         LOG_ERROR},
        {"technique", [&] { zone.SetControlTechnique("Dimmed"); },
         "CLENIZone::SCT Dimmed is not a valid control technique", LOG_ERROR},
        {"zone lux", [&] { zone.SetZoneIlluminance(450); }, "CLENIZone::SZLE 450.000 is not a valid zone lux",
         LOG_ERROR},
        {"real lux", [&] { zone.SetRealIlluminance(12000); }, "CLENIZone::SERJ 12000.000 is not a valid lux",
         LOG_ERROR},
        {"Fa", [&] { zone.SetFa(-0.2); }, "CLENIZone::SFAF(-0.200) out of range.", LOG_ERROR},
    });
}
