#include "ui/shell/LENIBView.h"

#include "app/LENIBApp.h"
#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "calc/EnergyCalc.h"
#include "dxf/DxfFile.h"
#include "dxf/DxfPline.h"
#include "tables/BuildingTypeData.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/dialogs/DxfSizeDlg.h"
#include "ui/dialogs/FloorDlg.h"
#include "ui/dialogs/NameDlg.h"
#include "ui/dialogs/NewProjDlg.h"
#include "ui/dialogs/RoomPropsDlg.h"
#include "ui/dialogs/SimpleFloorDlg.h"
#include "ui/dialogs/ZonePropsDlg.h"
#include "ui/editor/DxfTabDlg.h"
#include "ui/editor/DxfViewSettings.h"
#include "ui/editor/FloorView.h"
#include "ui/results/LeniResultDlg.h"

#include <QApplication>
#include <QDesktopServices>
#include <QTabBar>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const char* const kSpecialLayers[] = {"LENI_ROOM", "LENI_ZONE", "LENI_VERT_WINDOW", "LENI_ROOF_LIGHT",
                                      "LENI_ATRIUM"};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string ReplacePercent(std::string text) {
    std::replace(text.begin(), text.end(), '%', 'P');
    return text;
}

// A floor page not shown yet keeps the path of its drawing and its floor's name here until it is read.
const char* const kUnreadDxfPath = "orvantisUnreadDxfPath";
const char* const kUnreadFloorName = "orvantisUnreadFloorName";

// The drawing of a floor, with the layers the model draws itself hidden.
std::unique_ptr<CDxfFile> ReadFloorDrawing(const std::string& path) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto dxf = std::make_unique<CDxfFile>();
    dxf->ReadFile(path);
    QApplication::restoreOverrideCursor();
    for (const char* layer : kSpecialLayers)
        if (dxf->GetLayerTable().LayerExists(layer)) dxf->SetLayerVisibility(layer);
    return dxf;
}

// The floor's DXF file in the project folder: the floor name, made safe, with ".DXF".
fs::path FloorDxfPath(const CLENIProject& project, const std::string& floorName) {
    return JoinPath(project.GetProjectFolder(), MakeSafeFileName(floorName) + ".DXF");
}

// The Fa written in a room type key "...(Fa=0.70)".
double FaOfRoomType(const std::string& roomType) {
    const size_t at = roomType.rfind("(Fa=");
    return at == std::string::npos ? 0.0 : ParseDouble(roomType.substr(at + 4));
}

} // namespace

CLENIBView::CLENIBView(CLENIBDoc& doc, QWidget* parent)
    : QWidget(parent), m_Doc(doc), m_PlanDisplay(LoadPlanDisplay()) {
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pTabCtrl = new QTabWidget(this);
    m_pTabCtrl->setObjectName("tabCtrl");
    m_pTabCtrl->setMovable(true);
    m_pTabCtrl->setUsesScrollButtons(true);
    m_pTabCtrl->setDocumentMode(true);
    layout->addWidget(m_pTabCtrl);
    AddPage("DXF OF FLOOR");
    SetTabText(kNoFloorLoaded);
    connect(m_pTabCtrl, &QTabWidget::currentChanged, this, &CLENIBView::OnTabChanged);
    // A dropped tab puts the floors in the new order at once: what the strip shows is the order
    // the calculation uses.
    connect(m_pTabCtrl->tabBar(), &QTabBar::tabMoved, this, [this](int, int) { ReconcileFloorOrder(); });
    m_Doc.SetUi(this);
}

CLENIBView::~CLENIBView() {
    m_Doc.SetUi(nullptr);
}

int CLENIBView::GetTabCount() const {
    return m_pTabCtrl->count();
}

CDxfTabDlg* CLENIBView::GetPage(int index) const {
    CDxfTabDlg* page = qobject_cast<CDxfTabDlg*>(m_pTabCtrl->widget(index));
    if (page) ReadPendingDrawing(page);
    return page;
}

bool CLENIBView::IsPageRead(int index) const {
    const QWidget* page = m_pTabCtrl->widget(index);
    return page && !page->property(kUnreadDxfPath).isValid();
}

void CLENIBView::ReadPendingDrawing(CDxfTabDlg* page) const {
    const QVariant path = page->property(kUnreadDxfPath);
    if (!path.isValid()) return;
    const std::string floorName = page->property(kUnreadFloorName).toString().toStdString();
    page->setProperty(kUnreadDxfPath, QVariant());
    page->setProperty(kUnreadFloorName, QVariant());
    page->SetDxfFile(ReadFloorDrawing(path.toString().toStdString()), floorName,
                     m_Doc.GetProject().GetFloorByName(floorName), App().GetDefaultGridSize());
}

std::string CLENIBView::GetTabText(int index) const {
    return m_pTabCtrl->tabText(index).toStdString();
}

CDxfTabDlg* CLENIBView::GetCurrDxfTabDlg() const {
    if (m_pTabCtrl->count() == 0) return nullptr;
    const int index = m_pTabCtrl->currentIndex();
    return GetPage(index < 0 ? 0 : index);
}

CDxfTabDlg* CLENIBView::GetCurrDxfTabDlg() {
    if (m_pTabCtrl->count() == 0) {
        Log().Printf(LOG_ERROR, "Error in GetCurrDxfTabDlg, tabs non existent");
        return nullptr;
    }
    if (m_pTabCtrl->currentIndex() < 0) m_pTabCtrl->setCurrentIndex(0);
    return GetPage(m_pTabCtrl->currentIndex());
}

void CLENIBView::SetTabText(const std::string& text) {
    if (m_pTabCtrl->count() > 0) m_pTabCtrl->setTabText(0, Q(text));
}

CDxfTabDlg* CLENIBView::AddPage(const std::string& text) {
    auto* page = new CDxfTabDlg(m_pTabCtrl);
    page->SetStatusCallback([this](const std::string& status) {
        if (m_StatusHandler) m_StatusHandler(status);
    });
    page->SetDocument(&m_Doc);
    page->SetCommandHandler([this](int id) {
        if (id == ID_REMOVE_DXF_FLOOR) OnRemoveDxfFloor();
        if (id == ID_FLOOR_CALCULATION) OnFloorCalculation();
        emit documentChanged();
    });
    page->SetChangedHandler([this]() { emit documentChanged(); });
    page->SetModeHandler([this]() { emit documentChanged(); });
    if (CFloorView* view = page->GetFloorView()) view->SetPlanDisplay(m_PlanDisplay);
    m_pTabCtrl->addTab(page, Q(text));
    return page;
}

void CLENIBView::RefreshFloors() {
    const CLENIProject& project = m_Doc.GetProject();
    // A page not read yet finds its floor by name when it is read.
    for (int i = 0; i < GetTabCount(); ++i) {
        auto* page = qobject_cast<CDxfTabDlg*>(m_pTabCtrl->widget(i));
        if (page && page->HasDrawing()) page->SetFloor(project.GetFloorByName(page->GetFloorName()));
    }
}

void CLENIBView::DocumentChanged() {
    emit documentChanged();
}

bool CLENIBView::IsEditorIdle() const {
    const CDxfTabDlg* page = GetCurrDxfTabDlg();
    return !page || page->IsIdle();
}

bool CLENIBView::IsCommandEnabled(int id) const {
    const CDxfTabDlg* page = GetCurrDxfTabDlg();
    const bool idle = page && page->IsIdle();
    const bool drawing = page && page->HasDrawing();
    switch (id) {
    case ID_ADD_DXF_FLOOR:
        return idle;
    case ID_EDIT_UNDO:
    case ID_EDIT_REDO:
        return idle && m_Doc.IsCommandEnabled(id);
    case ID_REMOVE_DXF_FLOOR:
        return idle && GetTabCount() > 0;
    case ID_ADD_ROOM:
    case ID_ADD_ZONE:
    case ID_ADD_ATRIUM:
    case ID_MEASURE:
        return drawing && idle;
    case ID_DXF_BACKGROUND:
    case ID_SHOW_LUMINAIRE_TABLES:
    case ID_SHOW_OPENING_LABELS:
        return drawing;
    case ID_FLOOR_CALCULATION:
        return m_Doc.IsProjectOpen() && m_Doc.GetProject().GetFloorCount() > 0 && idle;
    case ID_DEFINE_PRINT_PAGES:
        return m_Doc.IsProjectOpen();
    case ID_ZOOM_ALL:
    case ID_ADD_SIMPLE_FLOOR:
    case ID_OBJECT_SNAP:
    case ID_GRID_SNAP:
    case ID_GRID_SNAP_SETTINGS:
        return true;
    default:
        return m_Doc.IsCommandEnabled(id);
    }
}

// ---- Tabs and floor order ----

void CLENIBView::OnTabChanged(int index) {
    if (index >= 0 && index < GetTabCount()) GetPage(index); // shown now: its drawing is read
    if (index >= GetTabCount()) {
        Log().Printf(LOG_INFO, "CLENIBView::OTSC, OnTabSelChange, index %d\n", index);
        m_pTabCtrl->setCurrentIndex(0);
    }
    ReconcileFloorOrder();
    emit documentChanged();
}

void CLENIBView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    ReconcileFloorOrder();
}

void CLENIBView::ReconcileFloorOrder() {
    CLENIProject& project = m_Doc.GetProject();
    if (m_bReconciling || !m_Doc.IsProjectOpen() || project.GetFloorCount() < 2) return;
    std::vector<std::string> names;
    bool moved = false;
    for (int i = 0; i < GetTabCount(); ++i) {
        const std::string name = GetTabText(i);
        names.push_back(name);
        if (project.GetFloorIndexByName(name) != i) moved = true;
    }
    if (!moved) return;
    m_bReconciling = true;
    // Floors without a tab (their drawing was missing) keep their place after the tabbed ones.
    for (const CLENIFloor& floor : project.GetFloors())
        if (std::none_of(names.begin(), names.end(),
                         [&](const std::string& n) { return EqualsNoCase(n, floor.GetName()); }))
            names.push_back(floor.GetName());
    if (project.ReorderFloors(names)) {
        // The kept steps hold the floors in the old order, which the tabs no longer show.
        m_Doc.ForgetUndoSteps();
        RefreshFloors();
        m_Doc.SetModifiedFlag(true);
    }
    m_bReconciling = false;
}

void CLENIBView::RemoveAllDxfTabs() {
    Log().Printf(LOG_INFO, "RemoveAllDxfTabs starting...\n");
    while (GetTabCount() > 1) {
        QWidget* page = m_pTabCtrl->widget(GetTabCount() - 1);
        m_pTabCtrl->removeTab(GetTabCount() - 1);
        delete page;
    }
    if (GetTabCount() == 0) AddPage(kNoFloorLoaded);
    GetPage(0)->SetDxfFile(nullptr, std::string(), nullptr, App().GetDefaultGridSize());
    SetTabText(kNoFloorLoaded);
}

CDxfTabDlg* CLENIBView::PageForFloor(const std::string& modelName) {
    if (GetTabCount() == 1 && IsPageRead(0) && !GetPage(0)->HasDrawing()) {
        SetTabText(modelName);
        return GetPage(0);
    }
    return AddPage(modelName);
}

// The floor whose file this is (the file name is the floor name made safe).
static std::string FloorNameOfDxf(const CLENIProject& project, const std::string& path) {
    const std::string fileName = fs::path(path).stem().string();
    for (const CLENIFloor& floor : project.GetFloors())
        if (EqualsNoCase(MakeSafeFileName(floor.GetName()), fileName)) return floor.GetName();
    return fileName;
}

bool CLENIBView::OpenDxfTab(const std::string& path) {
    std::unique_ptr<CDxfFile> dxf = ReadFloorDrawing(path);
    const std::string modelName = FloorNameOfDxf(m_Doc.GetProject(), path);
    const CLENIFloor* floor = m_Doc.GetProject().GetFloorByName(modelName);
    const bool reused = GetTabCount() == 1 && IsPageRead(0) && !GetPage(0)->HasDrawing();
    CDxfTabDlg* page = PageForFloor(modelName);
    if (!reused) m_pTabCtrl->setCurrentWidget(page);
    page->SetDxfFile(std::move(dxf), modelName, floor, App().GetDefaultGridSize());
    emit documentChanged();
    return true;
}

void CLENIBView::AddUnreadDxfTab(const std::string& path) {
    const std::string modelName = FloorNameOfDxf(m_Doc.GetProject(), path);
    CDxfTabDlg* page = PageForFloor(modelName);
    page->setProperty(kUnreadFloorName, Q(modelName));
    page->setProperty(kUnreadDxfPath, Q(path));
}

void CLENIBView::LoadProjectDxfs() {
    RemoveAllDxfTabs();
    const CLENIProject& project = m_Doc.GetProject();
    if (project.GetFloorCount() == 0) SetTabText(kNoDxf);
    for (const CLENIFloor& floor : project.GetFloors()) {
        const fs::path path = FloorDxfPath(project, floor.GetName());
        if (FileExists(path))
            AddUnreadDxfTab(path.string());
        else
            Log().Printf(LOG_ERROR, "CLENIBView::LPD, Dxf Floor file:\n%s\ndoes not exist",
                         path.string().c_str());
    }
    m_pTabCtrl->setCurrentIndex(GetTabCount() - 1);
    GetCurrDxfTabDlg(); // the tab shown reads its drawing now, had it been current before
    RefreshFloors();
    emit documentChanged();
}

// ---- Adding and removing floors ----

void CLENIBView::OnAddDxfFloor() {
    if (!m_Doc.IsProjectOpen()) {
        Log().Printf(LOG_ERROR, "A DXF file cannot be added until a\nproject is created or opened.");
        return;
    }
    const QString chosen =
        AskOpenFileName(this, "Add DXF file to project...", Q(App().GetDxfReadDir()), "DXF (*.DXF *.dxf)");
    if (chosen.isEmpty()) return;
    const std::string path = chosen.toStdString();
    Log().Printf(LOG_INFO, "Read DXF file <%s>\n", ReplacePercent(path).c_str());
    AddDxfFloor(path);
}

void CLENIBView::AddDxfFloor(const std::string& path) {
    const std::string floorName = fs::path(path).stem().string();
    if (m_Doc.GetProject().FloorExists(floorName)) {
        Log().Printf(
            LOG_ERROR,
            "A floor with the name <%s>\nalready exists in this project\nRename the DXF file or choose a\n"
            "different DXF file.\n ",
            floorName.c_str());
        return;
    }
    double scale = 1.0;
    {
        CDxfSizeDlg size(path, this);
        if (!size.IsDrawingRead() || ExecDialog(size) != QDialog::Accepted) return;
        scale = size.GetScale();
    }
    CFloorDlg floorDlg(3.0, this);
    if (ExecDialog(floorDlg) != QDialog::Accepted) return;
    const int answer = YesNoCancelBox(
        "Import rooms, zones and windows on special layers?\n\nRooms on %s\nZones on %s\nVertical windows on "
        "%s\nRoof lights on %s\nAtriums on %s\n\n(NOTE:The DXF scale is 1.0 = 1 meter.)\n",
        kSpecialLayers[0], kSpecialLayers[1], kSpecialLayers[2], kSpecialLayers[3], kSpecialLayers[4]);
    if (answer == IDCANCEL) return;
    AddDxfFloorToProject(path, floorDlg.GetHeight(), answer == IDYES, scale);

    const std::string folder = fs::path(path).parent_path().string();
    if (DirectoryExists(folder))
        App().SetDxfReadDir(folder);
    else
        Log().Printf(LOG_ERROR, "DxfReadDir does not exist:\n%s", folder.c_str());
}

bool CLENIBView::AddDxfFloorToProject(const std::string& path, double height, bool import, double scale) {
    Log().Printf(LOG_INFO, "CLENIBView::ADFPT starting...\n");
    CLENIProject& project = m_Doc.GetProject();
    if (!m_Doc.IsProjectOpen()) {
        Log().Printf(LOG_ERROR, "A DXF file cannot be added until a\nproject is created or opened.");
        return false;
    }
    const std::string floorName = fs::path(path).stem().string();
    const fs::path destination = FloorDxfPath(project, floorName);
    std::error_code ec;
    if (scale != 1.0) {
        // The project's copy is written in metres: the floor's rooms, the snapping and every later
        // opening of the project take it as it is.
        CDxfFile drawing;
        drawing.ReadFile(path);
        drawing.m_dWriteScale = scale;
        if (drawing.GetEntityCount() == 0 || !drawing.SaveFile(destination.string())) {
            Log().Printf(LOG_ERROR, "CLENIBView::ADFPT, Could not write the copy of the DXF file in metres:\n<%s>",
                         destination.string().c_str());
            return false;
        }
    } else if (!EqualsNoCase(fs::absolute(path, ec).lexically_normal().string(),
                             destination.lexically_normal().string())) {
        fs::copy_file(path, destination, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            Log().Printf(LOG_ERROR, "CLENIBView::ADFPT, Could not create copy of DXF file:\n<%s>",
                         destination.string().c_str());
            return false;
        }
    }
    LENIImportCounts counts;
    // One undo step: Undo takes the floor and its tab away again, its file staying where it is.
    m_Doc.BeginChange();
    if (!project.AddFloor(floorName, height, import ? 1 : 0, destination.string(), &counts)) return false;
    const bool importFailed = import && counts.error;
    RefreshFloors();
    OpenDxfTab(destination.string());
    m_Doc.SetModifiedFlag(true);

    const int total = counts.rooms + counts.zones + counts.windows + counts.roofLights + counts.atria;
    if (total > 0)
        Log().Printf(
            LOG_ERROR,
            "Added a new floor <%s> to project <%s>.\nIt had %d entities on special layers.\nThere were %d "
            "rooms and %d zones.\nThere were %d windows and %d rooflights.\nThere were %d atriums.\n",
            floorName.c_str(), project.GetName().c_str(), total, counts.rooms, counts.zones, counts.windows,
            counts.roofLights, counts.atria);
    else
        Log().Printf(LOG_ERROR, "Added a new floor <%s> to project <%s>.\n", floorName.c_str(),
                     project.GetName().c_str());
    if (importFailed)
        Log().Printf(LOG_ERROR,
                     "There were errors on the special LENI layers\nPlease check the general log file for "
                     "details.\nSee the Folders menu to find the general log file");
    return true;
}

void CLENIBView::OnAddSimpleFloor() {
    if (!m_Doc.IsProjectOpen()) {
        Log().Printf(LOG_ERROR, "A floor cannot be added until a\nproject is created or opened.");
        return;
    }
    CSimpleFloorDlg dialog(m_Doc.GetProject(), this);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    const double x = dialog.GetXLength(), y = dialog.GetYWidth();

    CDxfFile drawing;
    CDxfPline outline;
    outline.m_bClosed = true;
    outline.AddVertex(Point{0, 0, 0, 0});
    outline.AddVertex(Point{x, 0, 0, 0});
    outline.AddVertex(Point{x, y, 0, 0});
    outline.AddVertex(Point{0, y, 0, 0});
    drawing.GetEntList().AddEntity(outline, drawing.GetLayerTable().GetLayerPtrFromName("0"));
    // Written straight into the project folder: a file of that name elsewhere (the all-projects
    // folder holds the user's own files) is never overwritten or deleted.
    const fs::path path = FloorDxfPath(m_Doc.GetProject(), dialog.GetName());
    if (!drawing.SaveFile(path.string())) {
        Log().Printf(LOG_ERROR, "CLENIBView::ADFPT, Could not create copy of DXF file:\n<%s>",
                     path.string().c_str());
        return;
    }
    if (!AddDxfFloorToProject(path.string(), dialog.GetZHeight(), false)) return;
    AddSimpleFloorRoom(dialog.GetName(), x, y);
}

void CLENIBView::AddSimpleFloorRoom(const std::string& floorName, double x, double y) {
    CLENIProject& project = m_Doc.GetProject();
    CLENIFloor* floor = project.GetFloorByName(floorName);
    if (!floor) {
        Log().Printf(LOG_ERROR, "Could not get floor <%s> in this project", floorName.c_str());
        return;
    }
    const Polygon outline = {Point{0, 0, 0, 0}, Point{x, 0, 0, 0}, Point{x, y, 0, 0}, Point{0, y, 0, 0}};
    CLENIRoom room;
    room.InitFromPolygon(floor->GetUniqueRoomName(), outline, std::clamp(floor->GetHeight(), 1.0, 200.0));
    room.SetFloorName(floor->GetName());
    room.SetMaintenanceFactor(std::clamp(project.GetMaintenanceFactor(), 0.0, 1.0));
    room.GetTdTnByBuildingType(project.GetDominantBuildingType());
    room.SetRoomType(CBuildingTypeData::GetFirstRoomTypeOfBuildingType(project.GetDominantBuildingType()));
    // As for a drawn room, the user sees and sets the room and its zone; Cancel keeps the
    // defaults, since the floor is already made for this one room.
    CRoomPropsDlg roomDlg(room, floor, false, project.GetDominantBuildingType(), this);
    if (ExecDialog(roomDlg) == QDialog::Accepted) room = roomDlg.GetRoom();
    if (WyesNoBox("Do you want a single (same shape) zone in this room?") == IDYES) {
        CLENIZone zone;
        zone.InitFromPolygon("ZONE_01_(" + room.GetName() + ")", outline);
        zone.SetFa(FaOfRoomType(room.GetRoomType()));
        CZonePropsDlg zoneDlg(zone, &room, false, this);
        if (ExecDialog(zoneDlg) == QDialog::Accepted) zone = zoneDlg.GetZone();
        room.AddZone(zone);
    }
    project.AddRoomToFloor(room);
    RefreshFloors();
    m_Doc.SetModifiedFlag(true);
}

void CLENIBView::OnRemoveDxfFloor() {
    CLENIProject& project = m_Doc.GetProject();
    if (project.GetFloorCount() == 0) {
        Log().Printf(LOG_ERROR, "There are no DXF floors to remove");
        return;
    }
    CDxfTabDlg* page = GetCurrDxfTabDlg();
    if (!page) return;
    const std::string floorName = page->GetFloorName();
    if (WyesNoBox("Remove this DXF floor:\n%s\nfrom the project?", floorName.c_str()) != IDYES) return;
    if (GetTabCount() == 1 && m_pTabCtrl->currentIndex() != 0)
        Log().Printf(LOG_ERROR, "Warning only one tab but tab index is %d", m_pTabCtrl->currentIndex());
    if (GetTabCount() > 1 || page->HasDrawing()) {
        // One undo step; the floor's drawing file stays in the project folder for it.
        m_Doc.BeginChange();
        project.DeleteFloor(floorName);
        // The tab strip changing under it is no new order of the floors.
        const bool wasReconciling = m_bReconciling;
        m_bReconciling = true;
        RemovePage(page);
        m_bReconciling = wasReconciling;
    }
    m_Doc.SetModifiedFlag(true);
    RefreshFloors();
    emit documentChanged();
}

void CLENIBView::RemovePage(CDxfTabDlg* page) {
    if (GetTabCount() == 1) {
        page->SetDxfFile(nullptr, std::string(), nullptr, App().GetDefaultGridSize());
        SetTabText(kNoFloorLoaded);
        return;
    }
    m_pTabCtrl->removeTab(m_pTabCtrl->indexOf(page));
    // The page's own context menu may have asked for this: it goes once that call returns.
    page->SetFloor(nullptr);
    page->hide();
    page->deleteLater();
    m_pTabCtrl->setCurrentIndex(0);
}

void CLENIBView::SyncPagesWithFloors() {
    const CLENIProject& project = m_Doc.GetProject();
    const bool wasReconciling = m_bReconciling;
    m_bReconciling = true; // the tabs are put in the floors' order, not the other way round
    auto pageOf = [&](const std::string& floor, int from) {
        for (int i = from; i < GetTabCount(); ++i)
            if (GetPage(i)->HasDrawing() && EqualsNoCase(GetPage(i)->GetFloorName(), floor)) return i;
        return -1;
    };
    for (int i = GetTabCount() - 1; i >= 0; --i)
        if (GetPage(i)->HasDrawing() && !project.FloorExists(GetPage(i)->GetFloorName())) RemovePage(GetPage(i));
    for (const CLENIFloor& floor : project.GetFloors()) {
        const fs::path path = FloorDxfPath(project, floor.GetName());
        if (pageOf(floor.GetName(), 0) < 0 && FileExists(path)) OpenDxfTab(path.string());
    }
    int to = 0;
    for (const CLENIFloor& floor : project.GetFloors()) {
        const int at = pageOf(floor.GetName(), to);
        if (at < 0) continue;
        if (at != to) m_pTabCtrl->tabBar()->moveTab(at, to);
        ++to;
    }
    m_bReconciling = wasReconciling;
    RefreshFloors();
    emit documentChanged();
}

// ---- View commands ----

void CLENIBView::OnZoomAll() {
    if (CDxfTabDlg* page = GetCurrDxfTabDlg()) page->ZoomAll();
}

void CLENIBView::OnObjectSnap() {
    if (CDxfTabDlg* page = GetCurrDxfTabDlg()) page->ToggleObjectSnap();
}

void CLENIBView::OnGridSnap() {
    CDxfTabDlg* page = GetCurrDxfTabDlg();
    if (!page) return;
    const int was = page->IsGridSnapOn();
    page->ToggleGridSnap();
    Log().Printf(LOG_INFO, "Grid snap was %d, now is %d (%d)", was, page->IsGridSnapOn() ? 1 : 0,
                 page->HasDrawing() ? page->GetDxfFile()->GetSnapPoints().m_iFlags : 0);
}

void CLENIBView::OnDxfBackground() {
    TogglePlanDisplay(ID_DXF_BACKGROUND);
}

void CLENIBView::TogglePlanDisplay(int id) {
    bool* flag = id == ID_SHOW_LUMINAIRE_TABLES ? &m_PlanDisplay.luminaireTables
                 : id == ID_SHOW_OPENING_LABELS ? &m_PlanDisplay.openingLabels
                 : id == ID_DXF_BACKGROUND      ? &m_PlanDisplay.dxfDrawing
                                                : nullptr;
    if (!flag) return;
    *flag = !*flag;
    SavePlanDisplay(m_PlanDisplay);
    for (int i = 0; i < GetTabCount(); ++i)
        if (CFloorView* view = GetPage(i)->GetFloorView()) view->SetPlanDisplay(m_PlanDisplay);
}

bool CLENIBView::IsCommandChecked(int id) const {
    switch (id) {
    case ID_SHOW_LUMINAIRE_TABLES:
        return m_PlanDisplay.luminaireTables;
    case ID_SHOW_OPENING_LABELS:
        return m_PlanDisplay.openingLabels;
    case ID_DXF_BACKGROUND:
        return m_PlanDisplay.dxfDrawing;
    default:
        return false;
    }
}

void CLENIBView::OnStartMode(int mode) {
    if (CDxfTabDlg* page = GetCurrDxfTabDlg()) page->StartMode(mode);
    emit documentChanged();
}

void CLENIBView::OnUndo() {
    if (IsEditorIdle()) m_Doc.Undo();
}

void CLENIBView::OnRedo() {
    if (IsEditorIdle()) m_Doc.Redo();
}

void CLENIBView::OnGridSnapSettings() {
    CDxfTabDlg* page = GetCurrDxfTabDlg();
    if (!page || !page->HasDrawing()) return;
    CDxfViewSettings dialog(page->GetGridSize(), this);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    page->SetGridSize(dialog.GetGridSize());
    App().SetDefaultGridSize(dialog.GetGridSize());
}

void CLENIBView::OnFloorCalculation() {
    const CLENIProject& project = m_Doc.GetProject();
    if (!m_Doc.IsProjectOpen() || project.GetFloorCount() == 0) {
        Log().Printf(LOG_ERROR, "CLENIBView::OC, no project");
        return;
    }
    const CDxfTabDlg* page = GetCurrDxfTabDlg();
    if (!page) {
        Log().Printf(LOG_ERROR, "CLENIBView::OC, could not get DXF tab.");
        return;
    }
    const std::string floorName = page->GetFloorName();
    if (!project.FloorExists(floorName)) {
        Log().Printf(LOG_ERROR, "There is no FLOOR here! Odd. Strange.");
        return;
    }
    ShowLENIDialog(this, project, floorName, 0);
}

// ---- IDocumentUi ----

bool CLENIBView::RunProjectDialog(CLENIProject& settings, int mode) {
    CNewProjDlg dialog(settings, mode, App().GetProjectsDir(), this);
    return ExecDialog(dialog) == QDialog::Accepted;
}

bool CLENIBView::RunNameDialog(const std::string& proposal, std::string& name) {
    CNameDlg dialog(proposal, this);
    if (ExecDialog(dialog) != QDialog::Accepted) return false;
    name = dialog.GetName();
    return true;
}

bool CLENIBView::AskProjectFileToOpen(const std::string& startDir, std::string& path) {
    const QString ext = kProjectFileExtension;
    const QString chosen =
        AskOpenFileName(this, "Open LENI comprehensive method project", Q(startDir),
                        "LENI Comprehensive Project (*." + ext + " *." + ext.toLower() + ")");
    path = chosen.toStdString();
    return !chosen.isEmpty();
}

bool CLENIBView::AskResultsFileToSave(const std::string& startDir, const std::string& proposedName,
                                      std::string& path) {
    const QString chosen =
        AskSaveFileName(this, "Create NUVA DB XML file...", Q(JoinPath(startDir, proposedName).string()),
                        "XML (*.XML *.xml)", "XML");
    path = chosen.toStdString();
    return !chosen.isEmpty();
}

void CLENIBView::OpenFolderInBrowser(const std::string& folder) {
    // Tests run without a desktop to open it in.
    if (QApplication::platformName() == "offscreen") return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(Q(folder)));
}

void CLENIBView::RunBuildingCalculation() {
    const CLENIProject& project = m_Doc.GetProject();
    ShowLENIDialog(this, project, "", 0);
}

void CLENIBView::SetWaitCursor(bool wait) {
    if (wait)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}
