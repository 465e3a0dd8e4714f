#include "ui/dialogs/DxfSizeDlg.h"

#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "dxf/DxfFile.h"
#include "dxf/Render.h"
#include "ui/platform/QtCanvas.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

namespace {
const int kPictureWidth = 420;
const int kPictureHeight = 300;

struct Unit {
    const char* name;
    const char* spoken; // as the size line says it
    double metres;
};
const Unit kUnits[] = {
    {"m", "meter", 1.0}, {"mm", "mm", 0.001}, {"cm", "cm", 0.01}, {"inch", "inch", 0.0254}, {"foot", "foot", 0.3048}};
} // namespace

CDxfSizeDlg::CDxfSizeDlg(const std::string& dxfPath, QWidget* parent)
    : CCheckedDialog("DXF Size", parent), m_pDxf(std::make_unique<CDxfFile>()) {
    SetHelpPage("dxf-size.html");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_pDxf->ReadFile(dxfPath);
    QApplication::restoreOverrideCursor();

    m_pPicture = new QLabel(this);
    m_pPicture->setFixedSize(kPictureWidth, kPictureHeight);
    m_pPicture->setFrameShape(QFrame::Box);
    GetMainLayout()->addWidget(m_pPicture, 0, Qt::AlignHCenter);
    auto* unitsRow = new QHBoxLayout;
    unitsRow->addWidget(new QLabel("Drawing units:", this));
    m_pUnits = new QComboBox(this);
    for (const Unit& unit : kUnits)
        m_pUnits->addItem(unit.name);
    unitsRow->addWidget(m_pUnits);
    unitsRow->addStretch();
    GetMainLayout()->addLayout(unitsRow);
    m_pSize = new QLabel(this);
    m_pSize->setWordWrap(true);
    GetMainLayout()->addWidget(m_pSize);
    FinishLayout();
    // The header's units, where it names any the list has.
    const double header = MetresPerHeaderUnit(m_pDxf->GetHeaderUnits());
    for (int i = 0; i < m_pUnits->count(); ++i)
        if (kUnits[i].metres == header) m_pUnits->setCurrentIndex(i);
    m_dScale = kUnits[m_pUnits->currentIndex()].metres;
    connect(m_pUnits, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && index < m_pUnits->count()) m_dScale = kUnits[index].metres;
        ShowSize();
    });

    if (m_pDxf->GetEntityCount() == 0) {
        Log().Printf(LOG_ERROR, "There has been an error with the DXF file or the DXF file is empty");
        return;
    }
    m_bRead = true;
    const Point size = m_pDxf->GetSize();
    m_dWidth = size.x;
    m_dHeight = size.y;
    ShowSize();
    DrawPicture();
}

void CDxfSizeDlg::ShowSize() {
    if (!m_bRead) return;
    const int index = std::clamp(m_pUnits->currentIndex(), 0, int(std::size(kUnits)) - 1);
    std::string text = StrPrintf("Scale is 1 unit = 1 %s%s. This dxf is %.1fm by %.1fm ", kUnits[index].spoken,
                                 m_pDxf->GetHeaderUnits() >= 0 && MetresPerHeaderUnit(m_pDxf->GetHeaderUnits()) ==
                                         kUnits[index].metres
                                     ? " (from the file)"
                                     : "",
                                 GetWidth(), GetHeight());
    const bool large = GetWidth() > kLargePlan || GetHeight() > kLargePlan;
    if (large) text += StrPrintf("\nLarger than %.0f m on a side: check the drawing units.", kLargePlan);
    m_pSize->setText(QString::fromStdString(text));
    m_pSize->setStyleSheet(large ? "color: #b00000; font-weight: bold;" : "");
}

CDxfSizeDlg::~CDxfSizeDlg() = default;

void CDxfSizeDlg::DrawPicture() {
    const QSize size = m_pPicture->contentsRect().size();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CQtCanvas canvas(painter);
        RenderSource source;
        source.entities = &m_pDxf->GetEntList();
        source.headerMin = m_pDxf->GetHeaderExtMin();
        source.headerMax = m_pDxf->GetHeaderExtMax();
        source.background = MakeRgb(255, 255, 255);
        SetPenColourForColour7(MakeRgb(0, 0, 0));
        // A box of the drawing's proportions, centred, so the picture sits in the middle.
        const int margin = 6;
        const double w = std::max(m_dWidth, 1e-9), h = std::max(m_dHeight, 1e-9);
        const double room = std::min((size.width() - 2.0 * margin) / w, (size.height() - 2.0 * margin) / h);
        const int pw = std::max(1, static_cast<int>(w * room)), ph = std::max(1, static_cast<int>(h * room));
        const int left = (size.width() - pw) / 2, top = (size.height() - ph) / 2;
        const PixelRect rect{left, top, left + pw, top + ph};
        DrawIntoRect(canvas, source, rect, ZOOM_EXTENTS, Point(), Point(), false);
        canvas.Flush();
    }
    m_pPicture->setPixmap(QPixmap::fromImage(image));
}

void CDxfSizeDlg::showEvent(QShowEvent* event) {
    CCheckedDialog::showEvent(event);
    GetOkButton()->setFocus(Qt::TabFocusReason);
}

bool CDxfSizeDlg::OnOK() {
    const double w = GetWidth(), h = GetHeight();
    const bool doubtful = w > 1000.0 || h > 1000.0 || w < 0.5 || h < 0.5;
    if (doubtful && WyesNoBox("The DXF file dimensions are %.1f meters by %.1f meters\nCarry on anyway?", w, h) !=
                        IDYES)
        return false;
    return true;
}
