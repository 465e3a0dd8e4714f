// The pictures of the user manual, taken from the program itself into the manual beside the
// built program (a build runs this suite), so the manual always shows the program as it is; and
// the manual's own consistency: every page and picture it refers to exists.

#include "model/LENIFloor.h"
#include "model/LENIProject.h"
#include "ui/GuiTestSupport.h"
#include "ui/dialogs/DxfSizeDlg.h"
#include "ui/dialogs/FloorDlg.h"
#include "ui/dialogs/MultiFloorDlg.h"
#include "ui/dialogs/NameDlg.h"
#include "ui/dialogs/NewProjDlg.h"
#include "ui/dialogs/SimpleFloorDlg.h"
#include "ui/editor/DxfViewSettings.h"
#include "ui/editor/FloorView.h"
#include "ui/shell/MainFrame.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabWidget>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>

namespace {

fs::path SourceManual() {
    return fs::path(ORVANTIS_SOURCE_DIR) / "docs" / "manual";
}

fs::path SampleDir() {
    return fs::path(ORVANTIS_SOURCE_DIR) / "examples" / "sample";
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// What the pages refer to by src= and href= (local files only, anchors dropped).
std::set<std::string> References(const std::string& attribute) {
    std::set<std::string> found;
    const std::regex pattern(attribute + "=\"([^\"#:]+)(#[^\"]*)?\"");
    for (const auto& entry : fs::directory_iterator(SourceManual())) {
        if (entry.path().extension() != ".html") continue;
        const std::string text = ReadAll(entry.path());
        for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
            found.insert((*it)[1].str());
    }
    return found;
}

void Save(QWidget& widget, const std::string& name) {
    const fs::path folder = fs::path(ORVANTIS_EXE).parent_path() / "manual" / "images";
    fs::create_directories(folder);
    widget.show();
    QApplication::processEvents();
    EXPECT_TRUE(widget.grab().save(QString::fromStdString((folder / (name + ".png")).string()), "PNG"))
        << name;
}

using ManualPictures = GuiTest;

TEST_F(ManualPictures, EveryPictureTheManualShowsIsTakenFromTheProgram) {
    CMainFrame& f = Frame();
    f.resize(800, 480);
    Save(f, "main-window-empty");
    f.resize(1000, 700);

    CLENIProject settings;
    // A folder as a reader's own would look; the dialog only shows it.
    CNewProjDlg newProject(settings, PROJECT_DIALOG_NEW, "/home/anna/Documents/LENI Projects");
    newProject.GetNameField()->setText("SAMPLE");
    newProject.GetBuildingTypeList()->setCurrentText("Offices");
    newProject.GetTownField()->setText("Milano");
    newProject.GetLatitudeField()->setText("45.5");
    newProject.GetLongitudeField()->setText("9.2");
    newProject.GetYearBuiltField()->setText("2010");
    Save(newProject, "dialog-project");

    settings.SetName("SAMPLE");
    CSimpleFloorDlg simple(settings);
    Save(simple, "dialog-simple-floor");
    CDxfSizeDlg size((SampleDir() / "Ground.DXF").string());
    Save(size, "dialog-dxf-size");
    CFloorDlg floor(3.0);
    Save(floor, "dialog-floor-properties");
    CMultiFloorDlg instances(4);
    Save(instances, "dialog-floor-instances");
    CNameDlg name("SAMPLE_V2");
    Save(name, "dialog-save-as-new-name");
    CDxfViewSettings grid(1.0);
    Save(grid, "dialog-grid-snap");

    // The sample building, one picture per floor.
    const fs::path folder = ProjectsDir() / "SAMPLE";
    fs::copy(SampleDir(), folder, fs::copy_options::recursive);
    f.DropFiles({(folder / "SAMPLE.LENI1XML").string()});
    ASSERT_EQ(f.GetTabCtrl()->count(), 3);
    for (int i = 0; i < f.GetTabCtrl()->count(); ++i) {
        f.GetTabCtrl()->setCurrentIndex(i);
        QApplication::processEvents();
        // The pointer over the plan, so the status bar shows the snaps and the position.
        for (CFloorView* view : f.GetTabCtrl()->currentWidget()->findChildren<CFloorView*>()) {
            const QPoint at(view->width() / 3, view->height() / 2);
            QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(view->mapToGlobal(at)), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(view, &move);
        }
        Save(f, "sample-" + f.GetTabCtrl()->tabText(i).toLower().toStdString());
    }

    // The top floor's page with the new commands of the floor page.
    CFloorView* view = f.GetTabCtrl()->currentWidget()->findChildren<CFloorView*>().value(0);
    ASSERT_NE(view, nullptr);
    const CLENIFloor* top = f.GetDocument().GetProject().GetFloorByName(f.GetTabCtrl()->tabText(2).toStdString());
    ASSERT_TRUE(top && top->GetRoomCount() > 0);
    const Polygon& outline = top->GetRooms()[0].GetPolygon();
    PlanDisplay bare;
    bare.luminaireTables = bare.openingLabels = false;
    view->SetPlanDisplay(bare);
    Save(f, "sample-top-without-tables");
    view->SetPlanDisplay(PlanDisplay());
    view->StartMeasure();
    view->MeasureAt(outline[0]);
    view->MeasureAt(outline[2]);
    Save(f, "editor-measure");
    view->StopDrawing();
    view->SelectAt(Point((outline[0].x + outline[2].x) / 2, (outline[0].y + outline[2].y) / 2));
    view->SetCopyMode(true);
    Save(f, "editor-copy-room");
    view->ClearSelection();
    CDxfSizeDlg units((SampleDir() / "Ground.DXF").string());
    units.GetUnitsList()->setCurrentText("foot");
    Save(units, "dialog-dxf-size-units");

    // Every picture a page shows is one of these.
    for (const std::string& image : References("src"))
        EXPECT_TRUE(fs::exists(fs::path(ORVANTIS_EXE).parent_path() / "manual" / image)) << image;
}

TEST(Manual, EveryPageALinkNamesExistsAndEveryPageIsReachableFromTheContents) {
    std::set<std::string> pages;
    for (const auto& entry : fs::directory_iterator(SourceManual()))
        if (entry.path().extension() == ".html") pages.insert(entry.path().filename().string());
    ASSERT_TRUE(pages.count("index.html"));
    const std::set<std::string> links = References("href");
    for (const std::string& link : links)
        EXPECT_TRUE(fs::exists(SourceManual() / link)) << link;
    for (const std::string& page : pages)
        if (page != "index.html") {
            EXPECT_TRUE(links.count(page)) << page << " is linked from no page";
        }
}

} // namespace
