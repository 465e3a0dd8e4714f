// Names read from a file that hold path separators and ".." reach the file system only as safe
// file names: every file the calculation and the save write stays in the project folder, while the
// model keeps the names as they were.

#include "base/FileUtils.h"
#include "calc/CalcLog.h"
#include "calc/EnergyCalc.h"
#include "model/LENIProject.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Every file under root, as paths relative to it.
std::set<std::string> FilesUnder(const fs::path& root) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files.insert(entry.path().lexically_relative(root).generic_string());
    return files;
}

} // namespace

TEST(DamagedNamesTest, CalculationLogsAndSaveStayInTheProjectFolder) {
    // root/all/project is the project folder; ../../x seen from it is root itself.
    TempDir root("names");
    const fs::path folder = root / "all" / "project";
    fs::create_directories(folder);
    fs::copy_file(TestDataDir() / "damaged" / "names" / "unsafe_names.LENI1XML", folder / "p.LENI1XML");

    LogRecorder log;
    CLENIProject project;
    ASSERT_TRUE(project.ReadProject((folder / "p.LENI1XML").string())) << log.All();
    ASSERT_EQ(project.GetFloorCount(), 1);
    const CLENIFloor& floor = project.GetFloors()[0];
    ASSERT_EQ(floor.GetRooms().size(), 1u);
    // The model keeps the names.
    EXPECT_EQ(project.GetName(), "../../outside");
    EXPECT_EQ(floor.GetName(), "a/b");
    EXPECT_EQ(floor.GetRooms()[0].GetName(), "../../x");

    const LeniTimeStepResult building = CalculateAnnualLENI(project, 0);
    EXPECT_GT(building.Wl, 0.0);
    CalculateLENIofFloor(project, "a/b", 3);
    CalculateSubLeni(floor.GetRooms()[0], project, 3);
    EXPECT_TRUE(project.SaveProject(false)) << log.All();

    EXPECT_EQ(FilesUnder(root.path()),
              (std::set<std::string>{"all/project/p.LENI1XML", "all/project/LENI_CALC_LOG____.._outside.TXT",
                                     "all/project/LENI_CALC_LOG_FLOOR_a_b.TXT",
                                     "all/project/SUB_LENI_CALC_LOG_a_b____.._x_March_.TXT",
                                     "all/project/___.._outside.LENI1XML"}));
    // The logs show the names as the user gave them.
    EXPECT_NE(
        ReadFileText(folder / "SUB_LENI_CALC_LOG_a_b____.._x_March_.TXT").find("SubLeni of room <../../x>"),
        std::string::npos);
}

TEST(DamagedNamesTest, SafeFileNames) {
    const struct {
        const char* name;
        const char* safe;
    } cases[] = {
        {"Kitchen", "Kitchen"},
        {"a/b", "a_b"},
        {"a\\b", "a_b"},
        {"..", "__"},
        {".", "_"},
        {"", "_"},
        {" . ", "___"},
        {"../../x", "___.._x"},
        {"x\ty\n", "x_y_"},
        {"CON", "CON_"},
        {"nul.txt", "nul.txt_"},
        {"Level 1.", "Level 1_"},
        {"<a>:\"|?*", "_a______"},
        {"Città", "Città"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeSafeFileName(c.name), c.safe) << c.name;
}
