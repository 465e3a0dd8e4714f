#include "ui/view3d/OglViewer.h"

#include "base/MessageBoxes.h"
#include "dxf/DxfFile.h"
#include "ui/dialogs/CheckedDialog.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/shell/HelpPages.h"
#include "ui/view3d/OglView.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

namespace {
// The standard views: rotation about x, y and z.
constexpr double kSideX[3] = {-90, 0, 0};
constexpr double kSideY[3] = {-90, 0, -90};
constexpr double kTop[3] = {0, 0, 0};
constexpr double kGeneral[3] = {-60, 0, -30};
} // namespace

bool COglViewer::CanMakeContext() {
    QOpenGLContext context;
    context.setFormat(COglView::RequestedFormat());
    if (!context.create() || context.isOpenGLES()) return false;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface)) return false;
    context.doneCurrent();
    return true;
}

COglViewer::COglViewer(std::unique_ptr<CDxfFile> drawing, const std::string& roomName,
                       const std::string& folder, QWidget* parent)
    : QDialog(parent), m_pDrawing(std::move(drawing)), m_csRoomName(roomName), m_csFolder(folder) {
    setWindowTitle("3D Viewer");
    setMinimumSize(260, 260);

    m_pButtons = new QWidget(this);
    auto* column = new QVBoxLayout(m_pButtons);
    column->setContentsMargins(6, 6, 6, 6);
    m_pShowText = new QCheckBox("Show Text", m_pButtons);
    m_pShowText->setChecked(true);
    column->addWidget(m_pShowText);
    auto button = [this, column](const char* text) {
        auto* b = new QPushButton(text, m_pButtons);
        b->setAutoDefault(false); // Enter never presses a button of the viewer
        column->addWidget(b);
        return b;
    };
    m_pSideX = button("Side View (X)");
    m_pSideY = button("Side View (Y)");
    m_pTop = button("Top View (Z)");
    m_pGeneral = button("General View");
    column->addSpacing(12);
    m_pSave = button("Save Dxf...");
    QPushButton* help = button("Help");
    // Three angle fields and their button, kept from the first versions of the viewer but not shown.
    for (int i = 0; i < 3; ++i) {
        m_pRotation[i] = new QLineEdit(m_pButtons);
        m_pRotation[i]->setVisible(false);
        column->addWidget(m_pRotation[i]);
    }
    m_pUpdate = button("Update");
    m_pUpdate->setVisible(false);
    column->addStretch(1);
    m_pButtons->adjustSize();

    m_bHasContext = CanMakeContext();
    if (!m_bHasContext) AlertBox("%s", "CreateOGLContext\nwglCreateContext(pDC->m_hDC) failed.");
    m_pView = new COglView(m_bHasContext, this);
    m_pView->SetDrawing(m_pDrawing.get());

    connect(m_pShowText, &QCheckBox::toggled, m_pView, &COglView::SetShowText);
    auto view = [this](const double* angles) { m_pView->SetView(angles[0], angles[1], angles[2]); };
    connect(m_pSideX, &QPushButton::clicked, this, [view] { view(kSideX); });
    connect(m_pSideY, &QPushButton::clicked, this, [view] { view(kSideY); });
    connect(m_pTop, &QPushButton::clicked, this, [view] { view(kTop); });
    connect(m_pGeneral, &QPushButton::clicked, this, [view] { view(kGeneral); });
    connect(m_pSave, &QPushButton::clicked, this, &COglViewer::OnSaveDxf);
    AddDialogHelp(*this, "room-3d.html", nullptr);
    connect(help, &QPushButton::clicked, this, [] { ShowHelpPage("room-3d.html"); });
    connect(m_pUpdate, &QPushButton::clicked, this, &COglViewer::OnUpdate);
    LayOut();
}

COglViewer::~COglViewer() = default;

void COglViewer::keyPressEvent(QKeyEvent* event) {
    // The viewer closes only through its window: Enter and Escape do nothing.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void COglViewer::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_bPlaced) return;
    m_bPlaced = true;
    // Beside the floor plan: right edge and top on those of the parent window.
    if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr) {
        const QRect p = owner->frameGeometry();
        move(p.right() - frameGeometry().width() + 1, p.top());
    }
}

void COglViewer::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOut();
}

void COglViewer::LayOut() {
    if (width() <= 1 || height() <= 1) return;
    const QSize buttons = m_pButtons->sizeHint();
    m_pButtons->setGeometry(0, 0, buttons.width(), height());
    const int right = buttons.width();
    const int side = std::max(1, std::min(width() - right - 4, height() - 4));
    m_pView->setGeometry(right + 2, 2, side, side);
}

void COglViewer::OnSaveDxf() {
    const std::filesystem::path proposed = std::filesystem::path(m_csFolder) / (m_csRoomName + "_3D");
    const QString file =
        AskSaveFileName(this, "Save as DXF...", QString::fromStdString(proposed.string()), "(*.DXF)", "DXF");
    if (file.isEmpty()) return;
    m_pDrawing->SaveFile(file.toStdString());
}

void COglViewer::OnUpdate() {
    m_pView->SetRotation(FieldDouble(m_pRotation[0]), FieldDouble(m_pRotation[1]),
                         FieldDouble(m_pRotation[2]));
}
