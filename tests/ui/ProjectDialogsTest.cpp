// The project and floor dialogs through their widgets: each check's message, the dialog staying
// open on a failed check, the values read back on OK.

#include "app/LENIBDoc.h"
#include "tables/BuildingTypeData.h"
#include "ui/GuiTestSupport.h"
#include "ui/dialogs/DxfSizeDlg.h"
#include "ui/dialogs/FloorDlg.h"
#include "ui/dialogs/MultiFloorDlg.h"
#include "ui/dialogs/NameDlg.h"
#include "ui/dialogs/NewProjDlg.h"
#include "ui/dialogs/SimpleFloorDlg.h"
#include "ui/editor/DxfViewSettings.h"
#include "ui/shell/MainFrame.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class ProjectDialogsTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        CBuildingTypeData::InitBuildingTypeTables();
    }
    // Presses OK; returns the message shown, or "" when the dialog closed with OK.
    std::string PressOk(QDialog& dialog) {
        boxes.boxes.clear();
        dialog.setResult(QDialog::Rejected);
        dialog.accept();
        if (dialog.result() == QDialog::Accepted) {
            EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts();
            return "";
        }
        return boxes.boxes.empty() ? "(no message)" : boxes.boxes.back().text;
    }
};

struct FieldCase {
    const char* text;
    const char* message; // "" when accepted
};

TEST_F(ProjectDialogsTest, SingleValueDialogsKeepTheirRanges) {
    const FieldCase heights[] = {
        {"3.00 m", ""},
        {"1", ""},
        {"200", ""},
        {"0.99", "Floor height must be from 1.00 to 200.00 meters."},
        {"200.01", "Floor height must be from 1.00 to 200.00 meters."},
        {"abc", "Floor to ceiling distance: \"abc\" is not a number; enter metres from 1 to 200"}};
    for (const FieldCase& c : heights) {
        CFloorDlg dialog(3.0);
        EXPECT_EQ(dialog.GetHeightField()->text().toStdString(), "3.00 m");
        dialog.GetHeightField()->setText(c.text);
        EXPECT_EQ(PressOk(dialog), c.message) << c.text;
    }
    CFloorDlg floor(3.0);
    floor.GetHeightField()->setText("2.75 m");
    PressOk(floor);
    EXPECT_DOUBLE_EQ(floor.GetHeight(), 2.75);

    const FieldCase instances[] = {{"1", ""},
                                   {"1000", ""},
                                   {"0", "Floors can have between 1 and 1000 instances."},
                                   {"1001", "Floors can have between 1 and 1000 instances."}};
    for (const FieldCase& c : instances) {
        CMultiFloorDlg dialog(1);
        dialog.GetInstancesField()->setText(c.text);
        EXPECT_EQ(PressOk(dialog), c.message) << c.text;
    }

    const FieldCase grids[] = {{"0.1", ""},
                               {"100", ""},
                               {"0.09", "Grid snap size must be between 0.10m and 100.00m"},
                               {"100.5", "Grid snap size must be between 0.10m and 100.00m"}};
    for (const FieldCase& c : grids) {
        CDxfViewSettings dialog(1.0);
        EXPECT_EQ(dialog.GetGridSizeField()->text().toStdString(), "1.000");
        dialog.GetGridSizeField()->setText(c.text);
        EXPECT_EQ(PressOk(dialog), c.message) << c.text;
    }
}

TEST_F(ProjectDialogsTest, NewNameDialogRefusesNamesThatAreNoFolderName) {
    const FieldCase names[] = {
        {"Beta", ""},
        {"Beta 2", ""},
        {"", "Project name is...?"},
        {"a<b", kBadNameCharactersMessage},
        {"a*b", kBadNameCharactersMessage},
        {"..", kBadNameCharactersMessage},
        {".", kBadNameCharactersMessage},
        {". .", kBadNameCharactersMessage},
        {"a\tb", kBadNameCharactersMessage},
    };
    for (const FieldCase& c : names) {
        CNameDlg dialog("New Name");
        dialog.GetNameField()->setText(c.text);
        EXPECT_EQ(PressOk(dialog), c.message) << c.text;
    }
}

TEST_F(ProjectDialogsTest, SimpleFloorDialogChecksNameAndSizes) {
    CLENIProject project;
    project.AddFloor("FLOOR_001", 3, 0, "");
    struct Case {
        const char *name, *x, *y, *z, *message;
    } cases[] = {
        {"Ground", "10.0m", "10.0m", "3.0m", ""},
        {"  ", "10", "10", "3", "Please name the floor."},
        {"floor_001", "10", "10", "3", "A floor named <floor_001>\nalready exists"},
        {"G", "0.05", "10", "3", "Plan dimensions too big or too small"},
        {"G", "10", "1000.1", "3", "Plan dimensions too big or too small"},
        {"G", "10", "10", "0.5", "Height (0.5m) too big or too small"},
    };
    for (const Case& c : cases) {
        CSimpleFloorDlg dialog(project);
        EXPECT_EQ(dialog.GetNameField()->text().toStdString(), "FLOOR_002");
        dialog.GetNameField()->setText(c.name);
        dialog.GetXField()->setText(c.x);
        dialog.GetYField()->setText(c.y);
        dialog.GetZField()->setText(c.z);
        EXPECT_EQ(PressOk(dialog), c.message) << c.name << " " << c.x << " " << c.y << " " << c.z;
    }
}

TEST_F(ProjectDialogsTest, ProjectDialogChecksInOrderAndCreatesTheFolder) {
    CLENIProject settings;
    CNewProjDlg dialog(settings, PROJECT_DIALOG_NEW, ProjectsDir().string());
    EXPECT_EQ(dialog.GetBuildingTypeList()->currentIndex(), -1);
    EXPECT_EQ(dialog.GetMFField()->text().toStdString(), "0.70");
    auto fill = [&] {
        dialog.GetNameField()->setText("Alpha");
        dialog.GetBuildingTypeList()->setCurrentIndex(0);
        dialog.GetMFField()->setText("0.8");
        dialog.GetLatitudeField()->setText("45.0");
        dialog.GetLongitudeField()->setText("9.2");
        dialog.GetTownField()->setText("Milano");
        dialog.GetHdirHglobField()->setText("0.45");
        dialog.GetYearBuiltField()->setText("2010");
        dialog.GetYearToBeBuiltField()->setText("0");
    };
    using Field = QLineEdit* (CNewProjDlg::*)() const;
    struct Case {
        Field field;
        const char* text;
        const char* message;
    } cases[] = {
        {&CNewProjDlg::GetNameField, "", "Project name is...?"},
        {&CNewProjDlg::GetNameField, "a:b", kBadNameCharactersMessage},
        {&CNewProjDlg::GetNameField, "..", kBadNameCharactersMessage},
        {&CNewProjDlg::GetMFField, "1.01",
         "Maintenance factor should be between 0 and 1\nA guide default is 0.70"},
        {&CNewProjDlg::GetLatitudeField, "-1", "Latitude should be between 0.0 and 90.0."},
        {&CNewProjDlg::GetLongitudeField, "181",
         "Longitude should be between -180.0 and 180.0.\n0\u00b0... +180\u00b0 "
         "Eastwards from Greenwich,\n0\u00b0... -180\u00b0 Westwards from Greenwich"},
        {&CNewProjDlg::GetTownField, "   ", "The location should be a town or city name."},
        {&CNewProjDlg::GetYearBuiltField, "999",
         "One of the years has to be 4 digit year\nAnd the other has to be 0"},
        {&CNewProjDlg::GetYearToBeBuiltField, "2030", nullptr}, // both set
    };
    for (const Case& c : cases) {
        fill();
        (dialog.*c.field)()->setText(c.text);
        const std::string message = PressOk(dialog);
        if (c.message)
            EXPECT_EQ(message, c.message) << c.text;
        else
            EXPECT_EQ(
                message.rfind(
                    "Please set one of the years to 0\nand the other to a 4 digit year, for example ", 0),
                0u)
                << message;
    }
    fill();
    dialog.GetYearBuiltField()->setText("0");
    EXPECT_EQ(PressOk(dialog).rfind("Please set one of the years to a 4 digit year, for example ", 0), 0u);
    fill();
    dialog.GetBuildingTypeList()->setCurrentIndex(-1);
    EXPECT_EQ(PressOk(dialog), "Please select the building type");
    EXPECT_FALSE(fs::exists(ProjectsDir() / "Alpha"));

    fill();
    dialog.GetYearBuiltField()->setText("0");
    dialog.GetYearToBeBuiltField()->setText("2030");
    EXPECT_EQ(PressOk(dialog), "");
    EXPECT_TRUE(fs::is_directory(ProjectsDir() / "Alpha"));
    EXPECT_EQ(settings.GetName(), "Alpha");
    EXPECT_EQ(settings.GetLocation(), "Milano");
    EXPECT_DOUBLE_EQ(settings.GetMaintenanceFactor(), 0.8);
    EXPECT_EQ(settings.GetYearBuilt(), 0);
    EXPECT_EQ(settings.GetYearToBeBuilt(), 2030);
    EXPECT_EQ(settings.GetDominantBuildingType(), CBuildingTypeData::GetBuildingTypeNames()[0]);
}

TEST_F(ProjectDialogsTest, ProjectDialogSuggestsHdirHglobByLatitude) {
    const struct {
        double latitude;
        const char* text;
    } cases[] = {{15, "0.34"}, {15.01, "0.36"}, {80, "0.40"}, {-1, "??"}, {90.5, "??"}};
    for (const auto& c : cases)
        EXPECT_EQ(CNewProjDlg::SuggestedHdirHglobText(c.latitude), c.text) << c.latitude;
    CLENIProject settings;
    CNewProjDlg dialog(settings, PROJECT_DIALOG_NEW, ProjectsDir().string());
    dialog.GetLatitudeField()->setText("10");
    EXPECT_EQ(dialog.GetSuggestedLabel()->text().toStdString(), "0.34");
    dialog.GetNameField()->setText("Gamma");
    EXPECT_EQ(dialog.GetProjectFolderLabel()->text().toStdString(), (ProjectsDir() / "Gamma").string());
}

TEST_F(ProjectDialogsTest, ProjectDialogRefusesARootFolderAndReplacesAnExistingProjectOnlyAfterYes) {
    CLENIProject settings;
    auto fill = [](CNewProjDlg& d) {
        d.GetNameField()->setText("Alpha");
        d.GetBuildingTypeList()->setCurrentIndex(0);
        d.GetTownField()->setText("Milano");
        d.GetYearBuiltField()->setText("2010");
    };
    CNewProjDlg root(settings, PROJECT_DIALOG_NEW, "/");
    fill(root);
    EXPECT_EQ(PressOk(root), "You must NOT put the project in a root directory.");

    fs::create_directories(ProjectsDir() / "Alpha");
    WriteFileText(ProjectsDir() / "Alpha" / "keep.txt", "data");
    CNewProjDlg dialog(settings, PROJECT_DIALOG_NEW, ProjectsDir().string());
    fill(dialog);
    boxes.answers.push_back(IDNO);
    EXPECT_EQ(PressOk(dialog),
              "This project directory already exists.\nMaking a new project here will DELETE all data\n"
              "of the existing project. Continue?");
    EXPECT_TRUE(fs::exists(ProjectsDir() / "Alpha" / "keep.txt"));
    boxes.answers.push_back(IDYES);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(fs::is_directory(ProjectsDir() / "Alpha"));
    EXPECT_FALSE(fs::exists(ProjectsDir() / "Alpha" / "keep.txt"));
}

TEST_F(ProjectDialogsTest, PropertiesFormShowsTheProjectAndKeepsItsName) {
    CLENIProject settings;
    settings.SetName("Alpha");
    settings.SetDominantBuildingType(CBuildingTypeData::GetBuildingTypeNames()[1]);
    settings.SetHdirHglob(0.42);
    settings.SetLocation("Roma");
    settings.SetYearBuilt(1999);
    CNewProjDlg dialog(settings, PROJECT_DIALOG_PROPERTIES, ProjectsDir().string());
    EXPECT_FALSE(dialog.GetNameField()->isEnabled());
    EXPECT_TRUE(dialog.GetBrowseButton()->isHidden());
    EXPECT_EQ(dialog.GetBuildingTypeList()->currentIndex(), 1);
    EXPECT_EQ(dialog.GetHdirHglobField()->text().toStdString(), "0.42");
    dialog.GetTownField()->setText("Torino");
    EXPECT_EQ(PressOk(dialog), "");
    EXPECT_EQ(settings.GetLocation(), "Torino");
    EXPECT_FALSE(fs::exists(ProjectsDir() / "Alpha"));

    // Price, emission factor and target: empty is unset, a negative number is refused.
    settings.SetCO2Factor(0.4);
    CNewProjDlg values(settings, PROJECT_DIALOG_PROPERTIES, ProjectsDir().string());
    EXPECT_EQ(values.GetEnergyPriceField()->text().toStdString(), "");
    EXPECT_EQ(values.GetCO2FactorField()->text().toStdString(), "0.40");
    values.GetEnergyPriceField()->setText("-0.2");
    EXPECT_NE(PressOk(values), "");
    EXPECT_FALSE(settings.GetEnergyPrice());
    values.GetEnergyPriceField()->setText("0.25");
    values.GetCO2FactorField()->setText(" ");
    values.GetLeniTargetField()->setText("15");
    EXPECT_EQ(PressOk(values), "");
    EXPECT_EQ(settings.GetEnergyPrice(), std::optional<double>(0.25));
    EXPECT_FALSE(settings.GetCO2Factor());
    EXPECT_EQ(settings.GetLeniTarget(), std::optional<double>(15.0));
}

TEST_F(ProjectDialogsTest, DxfSizeDialogAsksAboutDoubtfulSizes) {
    auto rectangle = [this](const char* name, double w, double h) {
        const fs::path path = dir / name;
        WriteFileText(path, "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n" + std::to_string(w) +
                                "\n21\n" + std::to_string(h) + "\n0\nENDSEC\n0\nEOF\n");
        return path.string();
    };
    CDxfSizeDlg doubtful(rectangle("thin.dxf", 0.4, 20));
    ASSERT_TRUE(doubtful.IsDrawingRead());
    EXPECT_EQ(doubtful.GetSizeLabel()->text().toStdString(),
              "Scale is 1 unit = 1 meter. This dxf is 0.4m by 20.0m ");
    boxes.answers.push_back(IDNO);
    EXPECT_EQ(PressOk(doubtful), "The DXF file dimensions are 0.4 meters by 20.0 meters\nCarry on anyway?");

    CDxfSizeDlg fine(rectangle("fine.dxf", 0.5, 1000));
    EXPECT_EQ(PressOk(fine), "");

    WriteFileText(dir / "empty.dxf", "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n");
    boxes.boxes.clear();
    CDxfSizeDlg empty((dir / "empty.dxf").string());
    EXPECT_FALSE(empty.IsDrawingRead());
    EXPECT_TRUE(boxes.Contains("There has been an error with the DXF file or the DXF file is empty"));
}

TEST_F(ProjectDialogsTest, DxfSizeDialogTakesTheUnitsFromTheFileOrTheUserAndFlagsHugePlans) {
    // An 8000 x 6000 rectangle, with or without a header naming its units.
    auto plan = [this](const char* name, int units) {
        const fs::path path = dir / name;
        const std::string header =
            units < 0 ? "" : "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n" + std::to_string(units) + "\n0\nENDSEC\n";
        WriteFileText(path, header + "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n8000\n21\n6000\n0\nENDSEC\n0\nEOF\n");
        return path.string();
    };
    struct Row {
        const char* file;
        int headerUnits;
        const char* chosen; // nullptr: as the dialog proposes
        const char* wantUnits;
        double wantWidth, wantHeight;
        const char* wantText;
    } rows[] = {
        {"mm.dxf", 4, nullptr, "mm", 8.0, 6.0, "Scale is 1 unit = 1 mm (from the file). This dxf is 8.0m by 6.0m "},
        {"cm.dxf", 5, nullptr, "cm", 80.0, 60.0, "Scale is 1 unit = 1 cm (from the file). This dxf is 80.0m by 60.0m "},
        {"none.dxf", -1, nullptr, "m", 8000.0, 6000.0,
         "Scale is 1 unit = 1 meter. This dxf is 8000.0m by 6000.0m \nLarger than 500 m on a side: check the drawing units."},
        {"chosen.dxf", -1, "mm", "mm", 8.0, 6.0, "Scale is 1 unit = 1 mm. This dxf is 8.0m by 6.0m "},
        {"inch.dxf", 0, "inch", "inch", 203.2, 152.4, "Scale is 1 unit = 1 inch. This dxf is 203.2m by 152.4m "},
        {"foot.dxf", 2, nullptr, "foot", 2438.4, 1828.8,
         "Scale is 1 unit = 1 foot (from the file). This dxf is 2438.4m by 1828.8m \nLarger than 500 m on a side: check the drawing units."},
    };
    for (const Row& row : rows) {
        CDxfSizeDlg dialog(plan(row.file, row.headerUnits));
        ASSERT_TRUE(dialog.IsDrawingRead()) << row.file;
        if (row.chosen) dialog.GetUnitsList()->setCurrentText(row.chosen);
        EXPECT_EQ(dialog.GetUnitsList()->currentText().toStdString(), row.wantUnits) << row.file;
        EXPECT_NEAR(dialog.GetWidth(), row.wantWidth, 1e-9) << row.file;
        EXPECT_NEAR(dialog.GetHeight(), row.wantHeight, 1e-9) << row.file;
        EXPECT_EQ(dialog.GetSizeLabel()->text().toStdString(), row.wantText) << row.file;
        if (std::string(row.file) == "none.dxf") SaveScreenshot(dialog, "dxf-size-large-plan");
    }
}

} // namespace
