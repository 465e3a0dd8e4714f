#include "calc/DaylightWindow.h"
#include "model/LENIWindow.h"

#include "base/TextUtils.h"
#include "support/DaylightLogCapture.h"
#include "tables/DaylightTables.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

WindowDaylightInput InputFromFile(const std::map<std::string, std::string>& v) {
    WindowDaylightInput in;
    double shadingType = 0, wallX = 0, wallY = 0, timeStep = 0;
    const std::pair<const char*, double*> fields[] = {{"width", &in.width},
                                                      {"height", &in.height},
                                                      {"sill", &in.sill},
                                                      {"tauD65", &in.tauD65},
                                                      {"k1", &in.k1},
                                                      {"k2", &in.k2},
                                                      {"k3", &in.k3},
                                                      {"frontAngle", &in.shading.frontAngle},
                                                      {"overhangAngle", &in.shading.overhangAngle},
                                                      {"sideAngle", &in.shading.sideAngle},
                                                      {"workSurfaceHeight", &in.workSurfaceHeight},
                                                      {"shadingType", &shadingType},
                                                      {"roomDepth", &in.roomDepth},
                                                      {"wallDirectionX", &wallX},
                                                      {"wallDirectionY", &wallY},
                                                      {"em", &in.em},
                                                      {"latitude", &in.latitude},
                                                      {"hdirHglob", &in.hdirHglob},
                                                      {"timeStep", &timeStep},
                                                      {"area", &in.area}};
    for (const auto& [key, field] : fields)
        *field = ParseDouble(v.at(key));
    in.shadingType = static_cast<int>(shadingType);
    in.wallDirection = Point(wallX, wallY);
    in.timeStep = static_cast<unsigned>(timeStep);
    in.controlTechnique = v.at("controlTechnique");
    return in;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(DaylightWindowTest, WholeLogBlockOfOneWindow) {
    auto sections = ReadSections(TestDataDir() / "calc" / "daylight" / "window_block.txt");
    ASSERT_FALSE(sections["log"].empty());
    WindowDaylightInput in = InputFromFile(ReadKeyValues(sections["input"]));
    CalcLogCapture capture;
    double fd = GetDaylightDependencyFactorFd(in);
    EXPECT_NEAR(fd, ParseDouble(ReadKeyValues(sections["fd"]).at("fd")), 1e-6);
    EXPECT_EQ(capture.Lines(), sections["log"]);
}

// A south window at 45 deg, 500 lx, no obstruction: the published rows only.
WindowDaylightInput PlainWindow() {
    WindowDaylightInput in;
    in.width = 1.2;
    in.height = 1.5;
    in.sill = 0.9;
    in.workSurfaceHeight = 0.8;
    in.roomDepth = 5.0;
    in.area = 12.8;
    return in;
}

TEST(DaylightWindowTest, DaylightAreaOutsideTheZoneHasNoTransparency) {
    WindowDaylightInput in = PlainWindow();
    in.area = 0.0;
    CalcLogCapture capture;
    GetDaylightDependencyFactorFd(in);
    std::vector<std::string> lines = capture.Lines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[1],
              "    TransparencyIndex = EffectiveWindowArea(1.800) / DaylightArea(0.000) = 0.000(Itrj)");
    EXPECT_EQ(lines[4], "    kDcaj =  (4.13 + (20.0*0.000) - (1.36*2.500))*1.000 = 0.730"); // 4.13 - 3.4
}

TEST(DaylightWindowTest, ClassLinesFromTheirThresholds) {
    struct Case {
        double dcaj;
        int daylightClass;
        const char* line;
    };
    const Case cases[] = {
        {1.5, DAYLIGHT_CLASS_WEAK, ""},
        {2.0, DAYLIGHT_CLASS_WEAK, "    Daylight class = Low (kDaylightFactorPcent,Dcaj=2.000)"},
        {4.0, DAYLIGHT_CLASS_MEDIUM, "    Daylight class = Medium (kDaylightFactorPcent,Dcaj=4.000)"},
        {6.0, DAYLIGHT_CLASS_STRONG, "    Daylight class = Strong (kDaylightFactorPcent,Dcaj=6.000)"},
    };
    for (const Case& c : cases) {
        CalcLogCapture capture;
        EXPECT_EQ(GetDaylightClassOfDcaj(c.dcaj), c.daylightClass);
        std::vector<std::string> lines = capture.Lines();
        EXPECT_EQ(lines.empty() ? "" : lines[0], c.line);
    }
}

TEST(DaylightWindowTest, FacadeFromWallDirection) {
    const std::pair<Point, int> cases[] = {
        {Point(1, 0), FACADE_SOUTH},     {Point(-1, 0), FACADE_NORTH},
        {Point(0, 1), FACADE_EASTWEST},  {Point(0.6, -0.8), FACADE_EASTWEST},
        {Point(0.8, 0.6), FACADE_SOUTH}, {Point(-0.7071, 0.7071), FACADE_NORTH},
    };
    for (const auto& [direction, facade] : cases)
        EXPECT_EQ(GetFacadeOfWallDirection(direction), facade) << direction.x << " " << direction.y;
    LogRecorder log;
    EXPECT_EQ(GetFacadeOfWallDirection(Point(0, 0)), FACADE_SOUTH);
    EXPECT_TRUE(log.Contains("GDFD: Cannot get wall facing direction. Wall direction = 0.0 0.0"));
}

TEST(DaylightWindowTest, ShadingIndexBelowHalfUsesFdssnaAlone) {
    WindowDaylightInput in = PlainWindow();
    in.shading.sideAngle = 180.0; // Ish 0.4
    in.shadingType = SHADING_GLARE_PROTECTION;
    CalcLogCapture capture;
    GetDaylightDependencyFactorFd(in);
    std::vector<std::string> lines = capture.Lines();
    // Trelsna of South, Hdir/Hglob 0.45, 45 deg is 0.64 before it is forced to 1.
    EXPECT_TRUE(HasLine(lines, "    kIshj[0.400] < 0.5 so changing Trelsna[0.640] to 1.0 (see F.3.2.3)"));
    // Dcaj = 3.5425 * 0.4 = 1.417 (weak), D = 1.417 * 0.5491 = 0.7781, Fdssna = 46.3 + 0.5561 * 16.2 = 55.31
    // %; with Trelsna 1 the Fdssa of 0.1 no longer counts.
    EXPECT_TRUE(
        HasLine(lines, "    Fds[0.553]= (Trelsna[1.000]*kFdssna[0.553]) + (kTrelsa[0.000]*kFdssa[0.100])"));
}

TEST(DaylightWindowTest, LintelAtTheWorkPlaneStillGivesANumber) {
    WindowDaylightInput in = PlainWindow();
    in.sill = 0.0;
    in.height = 0.8; // top level with the work surface
    double fd = GetDaylightDependencyFactorFd(in);
    EXPECT_TRUE(fd >= 0.0 && fd <= 1.0) << fd;
}

TEST(DaylightWindowTest, AnnualAndFaultyStepsUseVOfOne) {
    WindowDaylightInput in = PlainWindow();
    {
        CalcLogCapture capture;
        GetDaylightDependencyFactorFd(in);
        EXPECT_TRUE(HasLine(capture.Lines(), "    GetDaylightDependencyFactorFd Annual V = 1.000"));
    }
    double annual = GetDaylightDependencyFactorFd(in);
    in.timeStep = 13;
    LogRecorder log;
    EXPECT_EQ(GetDaylightDependencyFactorFd(in), annual);
    EXPECT_TRUE(log.Contains("GMFVF with month = 13"));
}

TEST(DaylightWindowTest, VerticalEquivalentWritesItsWorkingToTheCalculationLog) {
    TempDir dir;
    const std::string path = (dir / "calc.txt").string();
    ASSERT_TRUE(StartCalcLogger(path));
    CLENIWindow sloped;
    sloped.m_iVertWinType = VWT_VERTICAL_SLOPED;
    sloped.m_dWidth = 2.0;
    sloped.m_dGamma = 60;
    sloped.m_dSlopeLength = 1.2;
    sloped.m_dDistToWall = 0.3;
    sloped.m_dHeightToSlope = 2.0;
    GetLoggedVerticalEquivalent(sloped, 3.0);
    StopCalcLogger();
    const std::vector<std::string> lines = ReadLines(path);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], "        Get vertical equivalent of sloped window, slope=  60.0, lunghezza=   1.2");
    EXPECT_EQ(lines[1], "        HeightFrom Floor =  2.000 DistFromWall =  0.300 ");
    EXPECT_EQ(lines[2], "        Original B =  0.150  2.260");
    EXPECT_EQ(lines[4], "        Original C =  0.750  3.299");
    EXPECT_EQ(lines[6].substr(lines[6].size() - 6), " 3.000");
    EXPECT_EQ(lines[7], "        vertical height of rotated window =  1.200");
    EXPECT_EQ(lines[8], "                    top of rotated window =  3.000");
    EXPECT_EQ(lines[9], "                 bottom of rotated window =  1.800");
}

} // namespace
