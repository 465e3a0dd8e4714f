#include "ModelTestSupport.h"

TEST(LENIZoneTest, IlluminancesAndFaTakeOnlyValidValues) {
    // value, taken as the zone illuminance, as the real illuminance, as Fa
    const struct {
        double value;
        bool lux, real, fa;
    } cases[] = {
        {0, false, false, true},        {0.95, false, true, true},          {1.2, false, true, false},
        {20, true, true, false},        {450, false, true, false},          {499.8, false, true, false},
        {499.95, true, true, false},    {5000, true, true, false},          {10000, false, true, false},
        {10000.5, false, false, false}, {std::nan(""), false, false, false}};
    for (const auto& c : cases) {
        CLENIZone zone;
        EXPECT_EQ(zone.SetZoneIlluminance(c.value), c.lux) << c.value;
        EXPECT_EQ(zone.GetZoneIlluminance(), c.lux ? c.value : 500.0) << c.value;
        EXPECT_EQ(zone.SetRealIlluminance(c.value), c.real) << c.value;
        EXPECT_EQ(zone.GetRealIlluminance(), c.real ? c.value : 500.0) << c.value;
        EXPECT_EQ(zone.SetFa(c.value), c.fa) << c.value;
        EXPECT_EQ(zone.GetFa(), c.fa ? c.value : 0.5) << c.value;
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
