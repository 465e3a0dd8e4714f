#include "calc/RoofLightDaylight.h"

#include "base/TextUtils.h"
#include "support/DaylightLogCapture.h"

#include <gtest/gtest.h>

namespace {

TEST(RoofLightDaylightTest, WholeLogBlockOfOneRoofLight) {
    auto sections = ReadSections(TestDataDir() / "calc" / "daylight" / "rooflight_block.txt");
    ASSERT_FALSE(sections["log"].empty());
    auto v = ReadKeyValues(sections["input"]);
    auto num = [&v](const char* key) { return ParseDouble(v.at(key)); };
    RoofLightDaylightInput in;
    RoofLightDaylightData& rl = in.roofLight;
    rl.id = static_cast<int>(num("id"));
    rl.type = static_cast<int>(num("type"));
    rl.orientation = static_cast<int>(num("orientation"));
    rl.width = num("width");
    rl.length = num("length");
    rl.tauSna = num("tauSna");
    rl.tauSa = num("tauSa");
    rl.kObl1 = num("kObl1");
    rl.kObl2 = num("kObl2");
    rl.kObl3 = num("kObl3");
    rl.hw = num("hw");
    rl.hg = num("hg");
    rl.hs = num("hs");
    rl.gammaF = num("gammaF");
    rl.gammaW = num("gammaW");
    const double x = num("roomX"), y = num("roomY");
    in.roomIndex =
        GetRoomIndex({Point(2, 3), Point(2 + x, 3), Point(2 + x, 3 + y), Point(2, 3 + y)}, num("roomHeight"));
    in.controlTechnique = v.at("controlTechnique");
    in.em = num("em");
    in.area = num("area");
    in.latitude = num("latitude");
    in.timeStep = static_cast<unsigned>(num("timeStep"));

    CalcLogCapture capture;
    double fd = GetDaylightDependencyFactorFdRoofLight(in);
    EXPECT_NEAR(fd, ParseDouble(ReadKeyValues(sections["fd"]).at("fd")), 1e-6);
    EXPECT_EQ(capture.Lines(), sections["log"]);
}

TEST(RoofLightDaylightTest, NorthFacingVerticalShedAtLatitude38AlmostNoDaylight) {
    RoofLightDaylightInput in;
    in.roofLight.type = RL_SHED;
    in.roofLight.orientation = RLO_NORTH;
    in.roofLight.gammaF = 90.0;
    in.roomIndex = 1.0;
    in.area = 20.0;
    in.latitude = 38.0;
    CalcLogCapture capture;
    double fd = GetDaylightDependencyFactorFdRoofLight(in);
    std::vector<std::string> lines = capture.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "    GetDaylightDependencyFactorFdRoofLight -1 Trelsna=0.030 Trelsa=0.970");
    // Fds_sa is 0, so Fds = 0.03 x Fds_sna (weak class, 500 lx: 0.46).
    EXPECT_TRUE(std::find(lines.begin(), lines.end(), "        kDaylightSupplyFactorFds=0.014") !=
                lines.end());
    EXPECT_GT(fd, 0.98);
}

TEST(RoofLightDaylightTest, DaylightAreaOutsideTheZoneIsWeakWithoutDaylight) {
    RoofLightDaylightData rl;
    EXPECT_EQ(GetMeanDaylightFactor(rl, false, 1.0, 0.0), 0.0);
    EXPECT_EQ(GetMeanDaylightFactor(rl, true, 1.0, 0.0), 0.0);
    RoofLightDaylightInput in;
    in.area = 0.0;
    CalcLogCapture capture;
    GetDaylightDependencyFactorFdRoofLight(in);
    std::vector<std::string> lines = capture.Lines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[1], "        Dbar_sna=0.000 Dbar_sa=0.000");
    EXPECT_EQ(lines[3], "        Class sna = Low Class sa=Low");
}

TEST(RoofLightDaylightTest, RoomIndexOfARoomWithoutSize) {
    EXPECT_EQ(GetRoomIndex({Point(0, 0), Point(10, 0), Point(10, 6)}, 0.0), 0.0);
    EXPECT_EQ(GetRoomIndex({}, 3.0), 0.0);
}

} // namespace
