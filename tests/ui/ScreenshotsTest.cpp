// Pictures of the main window with the sample building, one per floor tab, and of every project
// and floor dialog, written into the build folder for a person to look at.

#include "ui/dialogs/DxfSizeDlg.h"
#include "ui/editor/DxfViewSettings.h"
#include "ui/dialogs/FloorDlg.h"
#include "ui/GuiTestSupport.h"
#include "ui/shell/MainFrame.h"
#include "ui/dialogs/MultiFloorDlg.h"
#include "ui/dialogs/NameDlg.h"
#include "ui/dialogs/NewProjDlg.h"
#include "ui/dialogs/SimpleFloorDlg.h"

#include <QApplication>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

using ScreenshotsTest = GuiTest;

fs::path SampleDir() {
    return fs::path(ORVANTIS_SOURCE_DIR) / "examples" / "sample";
}

TEST_F(ScreenshotsTest, MainWindowWithTheSampleBuildingOnEveryFloorTab) {
    if (!fs::exists(SampleDir() / "SAMPLE.LENI1XML")) GTEST_SKIP() << "no sample building";
    const fs::path folder = ProjectsDir() / "SAMPLE";
    fs::copy(SampleDir(), folder, fs::copy_options::recursive);
    CMainFrame& f = Frame();
    f.DropFiles({(folder / "SAMPLE.LENI1XML").string()});
    ASSERT_GE(f.GetTabCtrl()->count(), 1);
    EXPECT_EQ(f.GetDocument().GetTitle(), "SAMPLE");
    for (int i = 0; i < f.GetTabCtrl()->count(); ++i) {
        f.GetTabCtrl()->setCurrentIndex(i);
        QApplication::processEvents();
        SaveScreenshot(f, "main-window-" + f.GetTabCtrl()->tabText(i).toStdString());
    }
}

TEST_F(ScreenshotsTest, EveryProjectAndFloorDialog) {
    Frame();
    auto shoot = [](QDialog& dialog, const std::string& name) {
        dialog.show();
        QApplication::processEvents();
        SaveScreenshot(dialog, "dialog-" + name);
        dialog.hide();
    };
    CLENIProject settings;
    CNewProjDlg newProject(settings, PROJECT_DIALOG_NEW, ProjectsDir().string());
    shoot(newProject, "new-project");
    settings.SetName("SAMPLE");
    settings.SetLocation("Milano");
    settings.SetYearBuilt(2010);
    CNewProjDlg properties(settings, PROJECT_DIALOG_PROPERTIES, ProjectsDir().string());
    shoot(properties, "project-properties");
    if (fs::exists(SampleDir() / "Ground.DXF")) {
        CDxfSizeDlg size((SampleDir() / "Ground.DXF").string());
        shoot(size, "dxf-size");
    }
    CFloorDlg floor(3.0);
    shoot(floor, "floor-properties");
    CMultiFloorDlg instances(1);
    shoot(instances, "multiple-instances");
    CSimpleFloorDlg simple(settings);
    shoot(simple, "simple-floor");
    CNameDlg name("New Name");
    shoot(name, "save-as-new-name");
    CDxfViewSettings grid(1.0);
    shoot(grid, "grid-snap-settings");
}

} // namespace
