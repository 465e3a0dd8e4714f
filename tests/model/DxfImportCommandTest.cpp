// The batch command that turns a floor plan into a project, run as a user runs it.

#include "model/LENIProject.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace {

int RunProgram(const std::string& arguments) {
    const std::string command = std::string("'") + ORVANTIS_EXE + "' " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(DxfToXmlCommand, FloorPlanBecomesAProjectThatReportCalculates) {
    TempDir dir("dxftoxml");
    fs::copy_file(TestDataDir() / "dxf" / "reserved_layers.dxf", dir / "Level 1.dxf");
    const fs::path project = dir / "out.LENI1XML";
    ASSERT_EQ(RunProgram("dxftoxml '" + (dir / "Level 1.dxf").string() + "' '" + project.string() +
                         "' 3,2 '" + (dir / "log.txt").string() + "'"),
              0);
    // The room drawn twice is refused, and said so in the log.
    EXPECT_NE(ReadFileText(dir / "log.txt").find("intersects an existing room"), std::string::npos);

    LogRecorder log;
    CLENIProject read;
    ASSERT_TRUE(read.ReadProject(project.string()));
    EXPECT_EQ(read.GetName(), "");
    EXPECT_EQ(read.GetDominantBuildingType(), "Residential buildings");
    ASSERT_EQ(read.GetFloorCount(), 1);
    const CLENIFloor& floor = read.GetFloors()[0];
    EXPECT_EQ(floor.GetName(), "Level 1");
    EXPECT_DOUBLE_EQ(floor.GetHeight(), 3.2);
    EXPECT_EQ(floor.GetInstanceCount(), 1);
    ASSERT_EQ(floor.GetRoomCount(), 2);
    EXPECT_EQ(floor.GetRooms()[0].GetZoneCount() + floor.GetRooms()[1].GetZoneCount(), 2);
    EXPECT_EQ(floor.GetRooms()[0].GetWindowCount() + floor.GetRooms()[1].GetWindowCount(), 3);
    EXPECT_EQ(floor.GetRoofLightCount(), 1);
    EXPECT_EQ(floor.GetAtriumCount(), 1);
    EXPECT_DOUBLE_EQ(floor.GetRooms()[0].GetHeight(), 3.2);

    ASSERT_EQ(RunProgram("report '" + project.string() + "' '" + (dir / "results.xml").string() + "' '" +
                         (dir / "report.txt").string() + "'"),
              0);
    // The calculation ran over the imported floor: results and the copy with results are there.
    const std::string results = ReadFileText(dir / "results.xml");
    EXPECT_NE(results.find("<LENI_DB_V1"), std::string::npos) << ReadFileText(dir / "report.txt");
    EXPECT_TRUE(FileExists(dir / "results_(CON_RISULTATI).xml"));
}
