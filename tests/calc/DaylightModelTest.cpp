// The daylight factors read from the model objects: the fields reach the formulas, the atrium is
// found on the window's floor, the room gives depth, facade and room index.

#include "calc/DaylightWindow.h"
#include "calc/RoofLightDaylight.h"

#include "model/LENIProject.h"
#include "support/DaylightLogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

Polygon Rect(double x0, double y0, double x1, double y1) {
    return {Point(x0, y0), Point(x1, y0), Point(x1, y1), Point(x0, y1)};
}

int CountLine(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

class DaylightModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(project.AddFloor("Ground", 3.0, 0, ""));
        CLENIRoom room;
        ASSERT_TRUE(room.InitFromPolygon("Office", Rect(0, 0, 5, 5), 3.0));
        room.SetFloorName("Ground");
        window.m_iWallId = 0; // along x: the window looks south
        window.m_iWindowId = 0;
        window.m_dStart = 1.0;
        window.m_dWidth = 1.2;
        window.m_dHeight = 1.5;
        window.m_dSillHeight = 0.9;
        window.m_csAtriumName = "court";
        ASSERT_TRUE(room.AddWindow(window));
        ASSERT_TRUE(project.AddRoomToFloor(room));
        CLENIAtrium courtyard;
        courtyard.m_csName = "Court";
        courtyard.m_iKind = ATRIUM_COURTYARD;
        courtyard.SetPolygon(Rect(0, -12, 10, -2));
        ASSERT_TRUE(project.GetFloorByName("Ground")->AddAtrium(courtyard));
        zone.InitFromPolygon("Desk", Rect(0, 0, 5, 5));
    }
    const CLENIFloor& Floor() const { return *project.GetFloorByName("Ground"); }
    const CLENIRoom& Room() const { return *project.FindRoom("Ground", "Office"); }

    CLENIProject project;
    CLENIWindow window;
    CLENIZone zone;
};

TEST_F(DaylightModelTest, WindowFacingACourtyardOfItsFloor) {
    CalcLogCapture capture;
    double fd = GetDaylightDependencyFactorFd(window, zone, Room(), Floor(), 12.8, 0.45, 45.0, 0, project);
    std::vector<std::string> lines = capture.Lines();
    // h = (3 + 0.3) x 1 = 3.3; wi = 40 x 0.5 x 3.3 / 100 = 0.66; kIshAtrium = 1 - 0.561 = 0.439.
    EXPECT_EQ(CountLine(lines, "    Atrium court hToTopFloor=3.30 wi=0.66"), 2);
    EXPECT_EQ(CountLine(lines, "    Atrium courtyard returning kIshinat=0.44"), 2);
    EXPECT_EQ(CountLine(lines, "    Shading index, Ishis=1.000 Issha=1.000 Ishva=1.000 kIshAtrium=0.439"), 2);
    // Room depth 5 m, lintel 1.6 m above the work plane: ID = 4 / 1.6; Dcaj = 3.5425 x 0.439 = 1.555.
    EXPECT_EQ(CountLine(lines, "    kDcaj =  (4.13 + (20.0*0.141) - (1.36*2.500))*0.439 = 1.555"), 1);
    EXPECT_EQ(CountLine(lines, "  DaylightFactorPcentIn,D,=0.854, Facade=South"), 1);
    EXPECT_EQ(CountLine(lines, "    kIshj[0.439] < 0.5 so changing Trelsna[0.640] to 1.0 (see F.3.2.3)"), 1);
    // D = 1.555 x 0.5491 = 0.8540: Fdssna = 46.3 + 0.708 x 16.2 = 57.77 %; Manual, weak, 500 lx: 0.47.
    EXPECT_NEAR(fd, 1.0 - 0.47 * 0.5777, 2e-4);
}

TEST_F(DaylightModelTest, WindowWhoseAtriumWasDeletedFacesOutside) {
    ASSERT_TRUE(project.GetFloorByName("Ground")->RemoveAtrium("Court"));
    CalcLogCapture capture;
    GetDaylightDependencyFactorFd(window, zone, Room(), Floor(), 12.8, 0.45, 45.0, 0, project);
    std::vector<std::string> lines = capture.Lines();
    EXPECT_EQ(CountLine(lines, "    Shading index, Ishis=1.000 Issha=1.000 Ishva=1.000 kIshAtrium=1.000"), 2);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind("    Atrium", 0) == 0; }),
              0);
}

TEST_F(DaylightModelTest, WindowOnAnEastWall) {
    window.m_iWallId = 1; // from (5, 0) to (5, 5)
    window.m_csAtriumName.clear();
    CalcLogCapture capture;
    GetDaylightDependencyFactorFd(window, zone, Room(), Floor(), 12.8, 0.45, 45.0, 0, project);
    EXPECT_EQ(CountLine(capture.Lines(), "  DaylightFactorPcentIn,D,=1.945, Facade=EastWest"), 1);
}

TEST_F(DaylightModelTest, RoofLightOfARoomInAZone) {
    CLENIRoom room;
    ASSERT_TRUE(room.InitFromPolygon("Hall", Rect(2, 3, 12, 9), 3.0));
    CLENIRoofLight roofLight;
    roofLight.m_iId = 7;
    roofLight.m_iType = RL_SHED;
    roofLight.SetOrientation(RLO_EAST_WEST);
    roofLight.m_dHg = 0.6;
    roofLight.m_dGammaF = 50.0;
    ASSERT_TRUE(zone.SetControlTechnique("Automatic Switched On/Off In Stages"));
    ASSERT_TRUE(zone.SetZoneIlluminance(750.0));
    // The roof light of the hand-worked log block: Fd = 1 - 1.22 x 0.7537 x 0.7531.
    EXPECT_NEAR(GetDaylightDependencyFactorFdRoofLight(roofLight, room, zone, 20.0, 49.0, 5), 0.3075140,
                1e-6);
}

} // namespace
