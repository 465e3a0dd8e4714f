#include "ui/MainFrame.h"

#include "app/FileUtils.h"
#include "app/LENIBApp.h"
#include "app/MessageBoxes.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileDialog>
#include <QKeySequence>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QUrl>

namespace {

// Command ids of the main menu, as the program's resources number them.
enum {
    ID_ZOOM_ALL = 32771,
    ID_ADD_DXF_FLOOR = 32774,
    ID_NEW_PROJECT = 32776,
    ID_OPEN_PROJECT = 32777,
    ID_REMOVE_DXF_FLOOR = 32780,
    ID_SAVE_PROJECT = 32781,
    ID_FOLDERS_PROJECTS = 32783,
    ID_FOLDERS_APP_DATA = 32784,
    ID_ADD_ZONE = 32787,
    ID_ADD_ROOM = 32793,
    ID_EDIT_PRODUCT_DB = 32798,
    ID_PROJECT_PROPERTIES = 32810,
    ID_SAVE_AS = 32811,
    ID_ADD_SIMPLE_FLOOR = 32816,
    ID_OBJECT_SNAP = 32817,
    ID_GRID_SNAP = 32818,
    ID_GRID_SNAP_SETTINGS = 32820,
    ID_BUILDING_CALCULATION = 32825,
    ID_FLOOR_CALCULATION = 32835,
    ID_DEFINE_PRINT_PAGES = 32854,
    ID_PRINT_FLOOR_LENI = 32856,
    ID_RECENT_FIRST = 32865,
    ID_CREATE_NUVA_DB = 32897,
    ID_ADD_ATRIUM = 32900,
    ID_DXF_BACKGROUND = 32907,
    ID_SAVE_WITH_CALCULATION = 32910,
    ID_PRINT_SETUP = 57606,
    ID_PRINT = 57607,
    ID_PRINT_PREVIEW = 57609,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
};

const int kRecentFiles = 6;

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle("ORVANTIS");
    CreateMainMenu();
    // The view's tab strip: one tab per floor, filled as floors are opened.
    m_pTabCtrl = new QTabWidget(this);
    m_pTabCtrl->setObjectName("tabCtrl");
    m_pTabCtrl->setUsesScrollButtons(true);
    setCentralWidget(m_pTabCtrl);
    statusBar()->showMessage("Ready");
    resize(1024, 768);
}

QAction* CMainFrame::AddCommand(QMenu* menu, const char* text, int id) {
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setData(id);
    m_commands[id] = action;
    return action;
}

QAction* CMainFrame::FindCommand(int id) const {
    auto it = m_commands.find(id);
    return it == m_commands.end() ? nullptr : it->second;
}

void CMainFrame::CreateMainMenu() {
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu("&File");
    AddCommand(file, "New LENI Project...", ID_NEW_PROJECT);
    AddCommand(file, "Open LENI Project...", ID_OPEN_PROJECT);
    AddCommand(file, "Save LENI Project", ID_SAVE_PROJECT);
    AddCommand(file, "Save With Calculation...", ID_SAVE_WITH_CALCULATION);
    AddCommand(file, "Save As...", ID_SAVE_AS);
    file->addSeparator();
    AddCommand(file, "Create NUVA DB file...", ID_CREATE_NUVA_DB);
    file->addSeparator();
    AddCommand(file, "Printer Setup...", ID_PRINT_SETUP);
    AddCommand(file, "Define Print Pages...", ID_DEFINE_PRINT_PAGES);
    AddCommand(file, "Print preview...", ID_PRINT_PREVIEW);
    AddCommand(file, "Print...", ID_PRINT)->setShortcut(QKeySequence("Ctrl+P"));
    file->addSeparator();
    AddCommand(file, "Edit product database...", ID_EDIT_PRODUCT_DB);
    file->addSeparator();
    for (int i = 0; i < kRecentFiles; ++i)
        AddCommand(file, "(no file)", ID_RECENT_FIRST + i)->setEnabled(false);
    file->addSeparator();
    connect(AddCommand(file, "E&xit", ID_APP_EXIT), &QAction::triggered, this, &QWidget::close);

    QMenu* project = bar->addMenu("Project Properties");
    AddCommand(project, "Project Properties...", ID_PROJECT_PROPERTIES);
    project->addSeparator();
    AddCommand(project, "Add DXF floor to project...", ID_ADD_DXF_FLOOR);
    AddCommand(project, "Add Simple Floor...", ID_ADD_SIMPLE_FLOOR);
    AddCommand(project, "Remove DXF floor from project...", ID_REMOVE_DXF_FLOOR);
    project->addSeparator();
    AddCommand(project, "Add room to floor", ID_ADD_ROOM);
    AddCommand(project, "Add zone to room", ID_ADD_ZONE);
    AddCommand(project, "Add atrium to floor", ID_ADD_ATRIUM);
    project->addSeparator();
    AddCommand(project, "Print Floor LENI...", ID_PRINT_FLOOR_LENI);

    QMenu* view = bar->addMenu("&View");
    AddCommand(view, "Zoom All", ID_ZOOM_ALL);
    AddCommand(view, "Object Snap On-Off\tF3", ID_OBJECT_SNAP);
    AddCommand(view, "Grid Snap On-Off\tF9", ID_GRID_SNAP);
    AddCommand(view, "Grid Snap Settings", ID_GRID_SNAP_SETTINGS);
    AddCommand(view, "DXF background On/Off", ID_DXF_BACKGROUND);

    QMenu* calculation = bar->addMenu("Calculation");
    AddCommand(calculation, "Building Calculation...", ID_BUILDING_CALCULATION);
    AddCommand(calculation, "Floor Calculation...", ID_FLOOR_CALCULATION);

    QMenu* folders = bar->addMenu("Folders");
    connect(AddCommand(folders, "Projects", ID_FOLDERS_PROJECTS), &QAction::triggered, this,
            &CMainFrame::OnFoldersProjects);
    connect(AddCommand(folders, "App Data (General Log e DB luminaires)", ID_FOLDERS_APP_DATA),
            &QAction::triggered, this, &CMainFrame::OnFoldersAppData);

    QMenu* help = bar->addMenu("&Help");
    connect(AddCommand(help, "&About ORVANTIS NUVA V3...", ID_APP_ABOUT), &QAction::triggered, this,
            &CMainFrame::OnAppAbout);
}

void CMainFrame::OnFoldersProjects() {
    std::string dir = App().GetProjectsDir();
    if (DirectoryExists(dir)) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(dir)));
        return;
    }
    if (WyesNoBox("The projects dir does not exist:\n%s\nDo you want to select another directory?",
                  dir.c_str()) != IDYES)
        return;
    QString chosen = QFileDialog::getExistingDirectory(nullptr, QString(), QString::fromStdString(dir),
                                                       QFileDialog::ShowDirsOnly);
    if (!chosen.isEmpty()) App().SetProjectsDir(chosen.toStdString());
}

void CMainFrame::OnFoldersAppData() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(App().GetAppDataDir())));
}

void CMainFrame::OnAppAbout() {
    IconedWalertBoxW(MB_ICON_INFORMATION, "%s", CLENIBApp::VersionBanner().c_str());
}
