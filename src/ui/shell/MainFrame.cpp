#include "ui/shell/MainFrame.h"

#include "app/LENIBApp.h"
#include "base/FileUtils.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/editor/DxfTabDlg.h"
#include "ui/editor/FloorView.h"
#include "ui/editor/LeniColouring.h"
#include "ui/print/DefinePrintPagesDlg.h"
#include "ui/print/ReportPrinter.h"
#include "ui/products/ObjDbTableDlg.h"
#include "ui/results/VariantsDlg.h"
#include "ui/shell/HelpPages.h"
#include "ui/shell/LENIBView.h"
#include "ui/shell/ToolBarIcons.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QUrl>
#include <cstdarg>

namespace {

const size_t kRecentPathShown = 40;

bool HasExtension(const std::string& path, const char* extension) {
    // The last four characters: a point and the three letters.
    return path.size() >= 4 && EqualsNoCase(path.substr(path.size() - 4), extension);
}

} // namespace

std::string ShortenRecentPath(const std::string& path) {
    if (path.size() <= kRecentPathShown) return path;
    return "..." + path.substr(path.size() - kRecentPathShown);
}

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    m_pView = new CLENIBView(m_Doc, this);
    setCentralWidget(m_pView);
    CreateMainMenu();
    CreateToolBar();
    CreateStatusBar();
    connect(m_pView, &CLENIBView::documentChanged, this, &CMainFrame::OnDocumentChanged);
    m_pView->SetStatusHandler([this](const std::string& text) { SetStatusText("%s", text.c_str()); });
    setAcceptDrops(true);
    m_Doc.OnNewDocument();
    OnDocumentChanged();
    resize(1100, 780);
}

CMainFrame::~CMainFrame() {
    // The view goes first: it lets go of the document.
    delete m_pView;
    m_pView = nullptr;
}

QTabWidget* CMainFrame::GetTabCtrl() const {
    return m_pView->GetTabCtrl();
}

QAction* CMainFrame::AddCommand(QMenu* menu, const char* text, int id) {
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setData(id);
    m_commands[id] = action;
    connect(action, &QAction::triggered, this, [this, id]() { OnCommand(id); });
    return action;
}

QAction* CMainFrame::FindCommand(int id) const {
    auto it = m_commands.find(id);
    return it == m_commands.end() ? nullptr : it->second;
}

bool CMainFrame::RunCommand(int id) {
    UpdateCommandUi();
    QAction* action = FindCommand(id);
    if (!action || !action->isEnabled()) return false;
    action->trigger();
    return true;
}

void CMainFrame::CreateMainMenu() {
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu("&File");
    AddCommand(file, "New LENI Project...", ID_NEW_PROJECT)->setShortcut(QKeySequence::New);
    AddCommand(file, "Open LENI Project...", ID_OPEN_PROJECT)->setShortcut(QKeySequence::Open);
    AddCommand(file, "Save LENI Project", ID_SAVE_PROJECT)->setShortcut(QKeySequence::Save);
    AddCommand(file, "Save With Calculation...", ID_SAVE_WITH_CALCULATION);
    AddCommand(file, "Save As...", ID_SAVE_AS);
    file->addSeparator();
    AddCommand(file, "Create NUVA DB file...", ID_CREATE_NUVA_DB);
    AddCommand(file, "Export Report as PDF...", kExportReportPdf);
    AddCommand(file, "Export Results as CSV...", kExportResultsCsv);
    AddCommand(file, "Compare with Project...", kCompareWithProject);
    file->addSeparator();
    AddCommand(file, "Printer Setup...", ID_PRINT_SETUP);
    AddCommand(file, "Define Print Pages...", ID_DEFINE_PRINT_PAGES);
    AddCommand(file, "Print preview...", ID_PRINT_PREVIEW);
    AddCommand(file, "Print...", ID_PRINT)->setShortcut(QKeySequence("Ctrl+P"));
    file->addSeparator();
    AddCommand(file, "Edit product database...", ID_EDIT_PRODUCT_DB);
    file->addSeparator();
    // A row per recent file; rows without a file stay hidden.
    for (int i = 0; i < CLENIBApp::kRecentFileCount; ++i)
        AddCommand(file, "(no file)", ID_RECENT_FIRST + i)->setVisible(false);
    file->addSeparator();
    AddCommand(file, "E&xit", ID_APP_EXIT);
    connect(file, &QMenu::aboutToShow, this, &CMainFrame::UpdateRecentFileItems);

    QMenu* edit = bar->addMenu("&Edit");
    AddCommand(edit, "&Undo\tCtrl+Z", ID_EDIT_UNDO)->setShortcut(QKeySequence("Ctrl+Z"));
    AddCommand(edit, "&Redo\tCtrl+Y", ID_EDIT_REDO)->setShortcut(QKeySequence("Ctrl+Y"));

    QMenu* project = bar->addMenu("Project Properties");
    AddCommand(project, "Project Properties...", ID_PROJECT_PROPERTIES);
    project->addSeparator();
    AddCommand(project, "Add DXF floor to project...", ID_ADD_DXF_FLOOR)
        ->setStatusTip("Add a DXF to the project");
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
    AddCommand(view, "DXF background On/Off", ID_DXF_BACKGROUND)->setCheckable(true);
    AddCommand(view, "Luminaire Tables", ID_SHOW_LUMINAIRE_TABLES)->setCheckable(true);
    AddCommand(view, "Opening Labels", ID_SHOW_OPENING_LABELS)->setCheckable(true);
    AddCommand(view, "Colour Rooms by LENI", kColourRoomsByLeni)->setCheckable(true);
    view->addSeparator();
    AddCommand(view, "Measure Distance and Area", ID_MEASURE);

    QMenu* calculation = bar->addMenu("Calculation");
    AddCommand(calculation, "Building Calculation...", ID_BUILDING_CALCULATION);
    AddCommand(calculation, "Floor Calculation...", ID_FLOOR_CALCULATION);
    calculation->addSeparator();
    AddCommand(calculation, "Savings Advisor...", kSavingsAdvisor);

    QMenu* folders = bar->addMenu("Folders");
    AddCommand(folders, "Projects", ID_FOLDERS_PROJECTS);
    AddCommand(folders, "App Data (General Log e DB luminaires)", ID_FOLDERS_APP_DATA);

    QMenu* help = bar->addMenu("&Help");
    AddCommand(help, "&Help", ID_HELP_CONTENTS)->setShortcut(QKeySequence::HelpContents);
    help->addSeparator();
    AddCommand(help, "&About ORVANTIS NUVA V3...", ID_APP_ABOUT);

    for (QAction* popup : bar->actions())
        if (QMenu* menu = popup->menu())
            connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
    UpdateRecentFileItems();
}

void CMainFrame::CreateToolBar() {
    m_pToolBar = addToolBar("Standard");
    m_pToolBar->setObjectName("toolBar");
    m_pToolBar->setIconSize(QSize(48, 48));
    m_pToolBar->setMovable(false);
    struct Button {
        int id;
        QIcon (*icon)();
    } buttons[] = {
        {ID_NEW_PROJECT, MakeNewProjectIcon},   {ID_OPEN_PROJECT, MakeOpenProjectIcon},
        {ID_SAVE_PROJECT, MakeSaveProjectIcon}, {0, nullptr},
        {ID_ADD_DXF_FLOOR, MakeAddFloorIcon},   {ID_REMOVE_DXF_FLOOR, MakeRemoveFloorIcon},
        {ID_ADD_ROOM, MakeAddRoomIcon},         {ID_ADD_ZONE, MakeAddZoneIcon},
    };
    for (const Button& button : buttons) {
        if (!button.icon) {
            m_pToolBar->addSeparator();
            continue;
        }
        // The button is the menu item itself: same command, same enabling.
        QAction* action = FindCommand(button.id);
        action->setIcon(button.icon());
        action->setIconVisibleInMenu(false);
        m_pToolBar->addAction(action);
    }
}

void CMainFrame::CreateStatusBar() {
    m_pPromptPane = new QLabel("Ready", this);
    statusBar()->addWidget(m_pPromptPane, 1);
    m_pStatusPane = new QLabel(this);
    m_pStatusPane->setMinimumWidth(QFontMetrics(m_pStatusPane->font()).horizontalAdvance(kStatusTemplate) +
                                   8);
    statusBar()->addPermanentWidget(m_pStatusPane);
}

void CMainFrame::SetStatusText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = StrVPrintf(format, args);
    va_end(args);
    // Never dropped: a pane left with an old text tells the user something that is no longer so.
    const QString shown = QString::fromStdString(text);
    const int width = m_pStatusPane->fontMetrics().horizontalAdvance(shown) + 2 * m_pStatusPane->margin() + 8;
    if (width > m_pStatusPane->minimumWidth()) m_pStatusPane->setMinimumWidth(width);
    m_pStatusPane->setText(shown);
}

std::string CMainFrame::GetStatusText() const {
    return m_pStatusPane->text().toStdString();
}

std::string CMainFrame::GetPromptText() const {
    const QString temporary = statusBar()->currentMessage();
    return (temporary.isEmpty() ? m_pPromptPane->text() : temporary).toStdString();
}

void CMainFrame::UpdateCommandUi() {
    for (auto& [id, action] : m_commands) {
        bool enabled = true;
        switch (id) {
        case ID_FOLDERS_PROJECTS:
        case ID_FOLDERS_APP_DATA:
        case ID_APP_ABOUT:
        case ID_HELP_CONTENTS:
        case ID_APP_EXIT:
        case ID_EDIT_PRODUCT_DB:
            enabled = true;
            break;
        case ID_PRINT_SETUP:
        case ID_PRINT_PREVIEW:
        case ID_PRINT:
            enabled = true; // the print commands say themselves when there is nothing to print
            break;
        case kExportReportPdf:
        case kCompareWithProject:
        case kSavingsAdvisor:
        case kExportResultsCsv:
            enabled = m_Doc.IsProjectOpen();
            break;
        case kColourRoomsByLeni:
            // Another project's results would colour rooms of the same names.
            if (!m_Doc.IsProjectOpen() && IsLeniColouringOn()) SetLeniColouring(nullptr);
            action->setChecked(IsLeniColouringOn());
            enabled = m_Doc.IsProjectOpen();
            break;
        case ID_PRINT_FLOOR_LENI:
            // Only the floor page's own "Print Floor..." prints a floor page.
            enabled = false;
            break;
        default:
            if (id >= ID_RECENT_FIRST && id <= ID_RECENT_LAST)
                enabled = !App().GetRecentFile(id - ID_RECENT_FIRST).empty();
            else
                enabled = m_pView->IsCommandEnabled(id);
        }
        action->setEnabled(enabled);
        if (action->isCheckable() && id != kColourRoomsByLeni) action->setChecked(m_pView->IsCommandChecked(id));
    }
}

void CMainFrame::UpdateRecentFileItems() {
    for (int i = 0; i < CLENIBApp::kRecentFileCount; ++i) {
        QAction* action = FindCommand(ID_RECENT_FIRST + i);
        const std::string& path = App().GetRecentFile(i);
        action->setVisible(!path.empty());
        if (path.empty()) {
            action->setText("(no file)");
            action->setEnabled(false);
        } else {
            action->setText(
                QString::fromStdString(StrPrintf("&%d: %s", i + 1, ShortenRecentPath(path).c_str())));
            action->setEnabled(true);
        }
    }
}

void CMainFrame::OnDocumentChanged() {
    const QString title = QString::fromStdString(m_Doc.GetTitle());
    setWindowTitle(title + "[*] - ORVANTIS");
    setWindowModified(m_Doc.IsModified());
    UpdateCommandUi();
}

void CMainFrame::OnCommand(int id) {
    // The colouring holds the results of the project open when it was switched on: another project
    // (one of the same room names too) starts uncoloured.
    if (id == ID_NEW_PROJECT || id == ID_OPEN_PROJECT || (id >= ID_RECENT_FIRST && id <= ID_RECENT_LAST))
        SetLeniColouring(nullptr);
    switch (id) {
    case ID_NEW_PROJECT:
        m_Doc.OnFileNew();
        break;
    case ID_OPEN_PROJECT:
        m_Doc.OpenProject();
        break;
    case ID_SAVE_PROJECT:
        m_Doc.Save(false);
        break;
    case ID_SAVE_WITH_CALCULATION:
        m_Doc.Save(true);
        break;
    case ID_SAVE_AS:
        m_Doc.OnSaveAs();
        break;
    case ID_PROJECT_PROPERTIES:
        m_Doc.OnProjectProperties();
        break;
    case ID_BUILDING_CALCULATION:
        m_Doc.OnBuildingCalculation();
        break;
    case ID_CREATE_NUVA_DB:
        m_Doc.OnCreateNuvaDb();
        break;
    case kExportReportPdf:
        ExportReportPdf(this, m_Doc, GetViewDrawings(m_pView));
        break;
    case kExportResultsCsv:
        ExportResultsCsvAs(this, m_Doc);
        break;
    case kCompareWithProject:
        ShowCompareWithProject(this, m_Doc.GetProject());
        break;
    case kSavingsAdvisor:
        ShowSavingsAdvisor(this, m_Doc);
        UpdateCommandUi();
        break;
    case ID_PRINT_SETUP:
        RunPrinterSetup(this);
        break;
    case ID_PRINT:
    case ID_PRINT_PREVIEW:
        PrintReport(this, m_Doc.GetProject(), GetViewDrawings(m_pView), id == ID_PRINT_PREVIEW);
        break;
    case ID_DEFINE_PRINT_PAGES:
        RunDefinePrintPages(this, m_Doc);
        break;
    case ID_ADD_DXF_FLOOR:
        m_pView->OnAddDxfFloor();
        break;
    case ID_ADD_SIMPLE_FLOOR:
        m_pView->OnAddSimpleFloor();
        break;
    case ID_REMOVE_DXF_FLOOR:
        m_pView->OnRemoveDxfFloor();
        break;
    case ID_ADD_ROOM:
        m_pView->OnStartMode(MM_ADD_ROOM);
        break;
    case ID_ADD_ZONE:
        if (const CDxfTabDlg* page = m_pView->GetCurrDxfTabDlg()) {
            const CLENIFloor* floor = m_Doc.GetProject().GetFloorByName(page->GetFloorName());
            if (!floor || floor->GetRoomCount() == 0) {
                Log().Printf(LOG_ERROR, "You must add rooms before you can put zones inside them");
                break;
            }
            m_pView->OnStartMode(MM_ADD_ZONE);
        }
        break;
    case ID_ADD_ATRIUM:
        m_pView->OnStartMode(MM_ADD_ATRIUM);
        break;
    case ID_MEASURE:
        m_pView->OnStartMode(MM_MEASURE);
        break;
    case ID_EDIT_UNDO:
        m_pView->OnUndo();
        break;
    case ID_EDIT_REDO:
        m_pView->OnRedo();
        break;
    case ID_ZOOM_ALL:
        m_pView->OnZoomAll();
        break;
    case ID_OBJECT_SNAP:
        m_pView->OnObjectSnap();
        break;
    case ID_GRID_SNAP:
        m_pView->OnGridSnap();
        break;
    case ID_GRID_SNAP_SETTINGS:
        m_pView->OnGridSnapSettings();
        break;
    case ID_DXF_BACKGROUND:
    case ID_SHOW_LUMINAIRE_TABLES:
    case ID_SHOW_OPENING_LABELS:
        m_pView->TogglePlanDisplay(id);
        break;
    case kColourRoomsByLeni:
        // Switched on, the rooms take the results of a calculation made now.
        SetLeniColouring(IsLeniColouringOn() || !m_Doc.IsProjectOpen() ? nullptr : &m_Doc.GetProject());
        FindCommand(kColourRoomsByLeni)->setChecked(IsLeniColouringOn());
        for (int i = 0; m_pView && i < m_pView->GetTabCount(); ++i)
            if (CDxfTabDlg* page = m_pView->GetPage(i))
                if (page->GetFloorView()) page->GetFloorView()->Invalidate();
        break;
    case ID_FLOOR_CALCULATION:
        m_pView->OnFloorCalculation();
        break;
    case ID_EDIT_PRODUCT_DB:
        ShowProductDatabase(this, OBJDB_EDIT, &m_Doc.GetProject());
        break;
    case ID_FOLDERS_PROJECTS:
        OnFoldersProjects();
        break;
    case ID_FOLDERS_APP_DATA:
        OnFoldersAppData();
        break;
    case ID_APP_ABOUT:
        OnAppAbout();
        break;
    case ID_HELP_CONTENTS:
        OnHelpContents();
        break;
    case ID_APP_EXIT:
        close();
        break;
    default:
        if (id >= ID_RECENT_FIRST && id <= ID_RECENT_LAST) m_Doc.OpenRecentFile(id - ID_RECENT_FIRST);
        break;
    }
    OnDocumentChanged();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_Doc.CanCloseFrame())
        event->accept();
    else
        event->ignore();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        paths.push_back(url.toLocalFile().toStdString());
    event->acceptProposedAction();
    DropFiles(paths);
}

void CMainFrame::DropFiles(const std::vector<std::string>& paths) {
    if (paths.size() != 1) {
        WalertBox("You can only drag one file at a time.");
        return;
    }
    const std::string& path = paths[0];
    if (HasExtension(path, ".LDT") || HasExtension(path, ".IES")) {
        WalertBox(
            "LDT and IES files must be dragged into the\nluminaire database dialog.\n\nUse the File menu --> "
            "Edit Luminaire Database item.");
    } else if (HasExtension(path, ".DXF")) {
        if (!m_Doc.IsProjectOpen())
            WalertBox("A project must be open before you open a DXF file.");
        else
            m_pView->AddDxfFloor(path);
    } else if (path.size() > 9 && EqualsNoCase(path.substr(path.size() - 9), ".LENI1XML")) {
        SetLeniColouring(nullptr);
        m_Doc.OpenProject(path);
    } else {
        WalertBox("Files of this type cannot be dropped into the program");
    }
    OnDocumentChanged();
}

void CMainFrame::OpenProjectFromOutside(const std::string& path) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    SetLeniColouring(nullptr);
    if (m_Doc.OpenProject(path)) {
        App().AddToRecentFiles(path);
        UpdateRecentFileItems();
    }
    OnDocumentChanged();
}

void CMainFrame::OnFoldersProjects() {
    std::string dir = App().GetProjectsDir();
    if (DirectoryExists(dir)) {
        m_pView->OpenFolderInBrowser(dir);
        return;
    }
    if (WyesNoBox("The projects dir does not exist:\n%s\nDo you want to select another directory?",
                  dir.c_str()) != IDYES)
        return;
    const QString chosen = AskExistingFolder(this, QString(), QString::fromStdString(dir));
    if (!chosen.isEmpty()) App().SetProjectsDir(chosen.toStdString());
}

void CMainFrame::OnFoldersAppData() {
    m_pView->OpenFolderInBrowser(App().GetAppDataDir());
}

void CMainFrame::OnHelpContents() {
    ShowHelpPage();
}

void CMainFrame::OnAppAbout() {
    IconedWalertBoxW(MB_ICON_INFORMATION, "%s", CLENIBApp::VersionBanner().c_str());
}
