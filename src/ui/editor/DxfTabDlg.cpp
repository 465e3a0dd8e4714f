#include "ui/editor/DxfTabDlg.h"

#include "base/TextUtils.h"
#include "dxf/DxfFile.h"

#include <QVBoxLayout>
#include <algorithm>

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
    // The view holds pointers into the drawing: let go of them first.
#ifdef ORVANTIS_HAVE_FLOOR_VIEW
    if (m_pView) m_pView->SetDrawing(nullptr, nullptr, nullptr);
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
