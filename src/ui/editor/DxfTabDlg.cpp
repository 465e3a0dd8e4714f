#include "ui/editor/DxfTabDlg.h"

#include "app/LENIBDoc.h"
#include "base/Logger.h"
#include "base/TextUtils.h"
#include "dxf/DxfFile.h"
#include "dxf/EntList.h"
#include "ui/editor/ContextHooks.h"
#include "ui/editor/FloorCommands.h"

#include <QMenu>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#if __has_include("ui/editor/FloorView.h")
#include "ui/editor/FloorView.h"
#define ORVANTIS_HAVE_FLOOR_VIEW 1
#endif

CDxfTabDlg::CDxfTabDlg(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    m_pView = new CFloorView(this);
    layout->addWidget(m_pView);
    m_pView->SetFinishHandler(
        [this](int mode, const Polygon& outline) { return FinishOutline(mode, outline); });
    m_pView->SetContextHandler(
        [this](const Point& at, const QPoint& global) { OpenContextMenu(at, global); });
    m_pView->SetEditHandler([this](const OutlineEdit& edit) {
        return m_pDoc && ApplyFloorOutlineEdit(MakeContext(Point()), edit);
    });
    m_pView->SetCopyHandler([this](const std::string& room, const Point& by) {
        return m_pDoc && !CopyFloorRoom(MakeContext(Point()), room, by).empty();
    });
#else
    m_pPlaceholder = new QWidget(this);
    m_pPlaceholder->setAutoFillBackground(true);
    QPalette palette = m_pPlaceholder->palette();
    palette.setColor(QPalette::Window, QColor(0x9B, 0x9B, 0x9B));
    m_pPlaceholder->setPalette(palette);
    layout->addWidget(m_pPlaceholder);
#endif
}

CDxfTabDlg::~CDxfTabDlg() {
    // The view holds pointers into the drawing: let go of them first, without telling a window
    // that may be going as well.
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    if (m_pView) {
        m_pView->SetModeHandler(nullptr);
        m_pView->SetFinishHandler(nullptr);
        m_pView->SetContextHandler(nullptr);
        m_pView->SetEditHandler(nullptr);
        m_pView->SetCopyHandler(nullptr);
        m_pView->SetDrawing(nullptr, nullptr, nullptr);
    }
#endif
}

void CDxfTabDlg::SetDxfFile(std::unique_ptr<CDxfFile> dxf, const std::string& floorName,
                            const CLENIFloor* floor, double gridSize) {
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    if (m_pView) m_pView->SetDrawing(nullptr, nullptr, nullptr);
#endif
    m_pDxf = std::move(dxf);
    m_pFloor = m_pDxf ? floor : nullptr;
    m_csFloorName = m_pDxf ? floorName : std::string();
    if (!m_pDxf) return;
    m_pDxf->m_BackgroundColour = 0xFFFFFF;
    CSnapPointList& snap = m_pDxf->GetSnapPoints();
    snap.m_iFlags = 0;
    snap.m_dGridSpacing = std::clamp(gridSize, 0.1, 100.0);
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    m_pView->SetDrawing(&m_pDxf->GetEntList(), &snap, floor);
#else
    (void)floor;
#endif
}

void CDxfTabDlg::SetFloor(const CLENIFloor* floor) {
    if (m_pDxf) m_pFloor = floor;
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    if (m_pDxf) m_pView->SetFloor(floor);
#else
    (void)floor;
#endif
}

bool CDxfTabDlg::IsIdle() const {
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    return m_pView->GetMouseMode() == MM_NONE;
#else
    return true;
#endif
}

void CDxfTabDlg::ZoomAll() {
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    if (m_pDxf) m_pView->ZoomAll();
#endif
}

void CDxfTabDlg::ToggleObjectSnap() {
    if (!m_pDxf) return;
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    m_pView->ToggleObjectSnap();
#else
    m_pDxf->GetSnapPoints().m_iFlags ^= CSnapPointList::SNAP_OBJECT;
#endif
}

void CDxfTabDlg::ToggleGridSnap() {
    if (!m_pDxf) return;
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    m_pView->ToggleGridSnap();
#else
    m_pDxf->GetSnapPoints().m_iFlags ^= CSnapPointList::SNAP_GRID;
#endif
}

void CDxfTabDlg::ToggleDxfBackground() {
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    if (m_pDxf) m_pView->SetShowDxfBackground(!m_pView->GetShowDxfBackground());
#endif
}

double CDxfTabDlg::GetGridSize() const {
    return m_pDxf ? m_pDxf->GetSnapPoints().m_dGridSpacing : 1.0;
}

void CDxfTabDlg::SetGridSize(double size) {
    if (!m_pDxf) return;
    m_pDxf->GetSnapPoints().m_dGridSpacing = std::clamp(size, 0.1, 100.0);
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    m_pView->SetFloor(m_pFloor);
#endif
}

bool CDxfTabDlg::IsObjectSnapOn() const {
    return m_pDxf && (m_pDxf->GetSnapPoints().m_iFlags & CSnapPointList::SNAP_OBJECT);
}

bool CDxfTabDlg::IsGridSnapOn() const {
    return m_pDxf && (m_pDxf->GetSnapPoints().m_iFlags & CSnapPointList::SNAP_GRID);
}

std::string CDxfTabDlg::GetStatusText() const {
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    return m_pView->GetStatusText();
#else
    return std::string();
#endif
}

void CDxfTabDlg::SetStatusCallback(std::function<void(const std::string&)> callback) {
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    m_pView->SetStatusCallback(std::move(callback));
#else
    (void)callback;
#endif
}

void CDxfTabDlg::SetModeHandler(std::function<void()> handler) {
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    m_pView->SetModeHandler(std::move(handler));
#else
    (void)handler;
#endif
}

void CDxfTabDlg::StartMode(int mode) {
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    if (m_pDxf && IsIdle()) {
        if (mode == MM_MEASURE)
            m_pView->StartMeasure();
        else
            m_pView->StartDrawing(mode);
    }
#else
    (void)mode;
#endif
}

FloorPageContext CDxfTabDlg::MakeContext(const Point& at) {
    FloorPageContext ctx;
    ctx.parent = this;
    ctx.doc = m_pDoc;
    ctx.floorName = m_csFloorName;
    ctx.clickPoint = Point(at.x, at.y);
    ctx.drawing = m_pDxf.get();
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    ctx.viewWidth = m_pView->GetViewMax().x - m_pView->GetViewMin().x;
#endif
    CLENIBDoc* doc = m_pDoc;
    ctx.beginChange = [doc]() {
        if (doc) doc->BeginChange();
    };
    ctx.changed = [this]() { ModelChanged(); };
    return ctx;
}

void CDxfTabDlg::ModelChanged() {
    if (m_pDoc) {
        const CLENIProject& project = m_pDoc->GetProject();
        const int index = project.GetFloorIndexByName(m_csFloorName);
        SetFloor(index >= 0 ? project.GetFloorByIndex(index) : nullptr);
        m_pDoc->SetModifiedFlag(true);
    }
    if (m_ChangedHandler) m_ChangedHandler();
}

int CDxfTabDlg::FinishOutline(int mode, const Polygon& outline) {
    if (!m_pDoc) return FINISH_FAILED;
    FloorPageContext ctx = MakeContext(Point());
    switch (mode) {
    case MM_ADD_ROOM:
        return FinishRoomOutline(ctx, outline);
    case MM_ADD_ZONE:
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
        return FinishZoneOutline(ctx, outline, m_pView->GetZoneRoomName());
#else
        return FINISH_FAILED;
#endif
    case MM_ADD_ATRIUM:
        return FinishAtriumOutline(ctx, outline);
    default:
        Log().Printf(LOG_ERROR, "Unhandled m_eMouseMode: %d", mode);
        return FINISH_FAILED;
    }
}

bool CDxfTabDlg::IsContextCommandEnabled(int id) const {
    if (id == IDC_PRINT_ZONE) return true;
    return m_pDoc && m_pDoc->GetProject().GetFloorCount() > 0 && m_pDxf &&
           m_pDxf->GetEntList().GetCount() > 0;
}

QMenu* CDxfTabDlg::OpenContextMenu(const Point& at, const QPoint& global) {
    if (m_pMenu) m_pMenu->close();
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setObjectName("Context");
    std::map<std::string, QMenu*> submenus;
    for (const ContextMenuItem& item : GetContextMenuItems()) {
        QMenu*& sub = submenus[item.submenu];
        if (!sub) sub = menu->addMenu(item.submenu);
        QAction* action = sub->addAction(item.text);
        action->setData(item.id);
        action->setEnabled(IsContextCommandEnabled(item.id));
        const int id = item.id;
        connect(action, &QAction::triggered, this, [this, id, at]() { RunContextCommand(id, at); });
    }
    m_pMenu = menu;
    menu->popup(global);
    return menu;
}

void CDxfTabDlg::RunContextCommand(int id, const Point& at) {
    if (!IsContextCommandEnabled(id)) return;
    if (id == IDC_REMOVE_DXF_FLOOR || id == IDC_FLOOR_CALCULATION) {
        if (m_CommandHandler) m_CommandHandler(id);
        return;
    }
    RunFloorPageCommand(id, MakeContext(at));
}
