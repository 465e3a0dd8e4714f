#include "calc/ZoneFactors.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

class ZoneFactorsTest : public ::testing::Test {
  protected:
    RecordingMessageBoxes boxes;
    LogRecorder log;
};

ZoneFcInputs Zone(bool cic, bool clo, double fcc, double lux, double luxReal) {
    ZoneFcInputs zone;
    zone.bConstantIllumination = cic;
    zone.bConstantLumenOutput = clo;
    zone.dFcc = fcc;
    zone.dZoneLux = lux;
    zone.dZoneLuxReal = luxReal;
    return zone;
}

} // namespace

TEST_F(ZoneFactorsTest, FoFollowsTheFoMode) {
    EXPECT_EQ(GetZoneFo(kFoModeAlwaysOne, 0.9, "1.Manual On/Off Switch"), 1.0);
    EXPECT_EQ(GetZoneFo(kFoModeAlwaysOne, 0.3, "Manual"), 1.0); // the system is not even looked at
    EXPECT_TRUE(log.messages.empty());
    EXPECT_NEAR(GetZoneFo(kFoModeFromFa, 0.5, "1.Manual On/Off Switch"), 0.7, 1e-12);
    EXPECT_EQ(GetZoneFo(kFoModeFromFa, 0.3, "Manual"), 0.5);
    EXPECT_EQ(log.Count("could not find match", LOG_ERROR), 1);
}

TEST_F(ZoneFactorsTest, FcFromConstantIlluminanceSettings) {
    struct Case {
        const char* what;
        ZoneFcInputs zone;
        double mf;
        double fc;
    };
    const Case cases[] = {
        {"CIC Fcc 1, 500 of 600 lx", Zone(true, false, 1.0, 500, 600), 0.8, 0.75},
        {"CLO, equal illuminances", Zone(false, true, 1.0, 500, 500), 0.7, 0.85},
        {"both set: the CIC formula", Zone(true, true, 0.5, 500, 500), 0.8, 0.95},
        {"CIC Fcc 0 gives Fcod", Zone(true, false, 0.0, 300, 500), 0.6, 0.6},
        {"CIC Fcc 1 MF 1 gives Fcod", Zone(true, false, 1.0, 500, 750), 1.0, 500.0 / 750.0},
        {"CLO over-designed", Zone(false, true, 1.0, 300, 600), 0.8, 0.45},
        {"neither: design lux ignored", Zone(false, false, 0.3, 500, 750), 0.5, 1.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(GetZoneFc(c.zone, c.mf), c.fc, 1e-12) << c.what;
    EXPECT_TRUE(log.messages.empty()) << log.All();
}

TEST_F(ZoneFactorsTest, DesignIlluminanceNotAboveZeroLeavesFcod1) {
    EXPECT_NEAR(GetZoneFc(Zone(true, false, 1.0, 500, 0.0), 0.8), 0.9, 1e-12);
    EXPECT_EQ(log.Count("GetZoneFc design illuminance 0.000 lx is not above 0, Fcod=1 used", LOG_ERROR), 1);
}
