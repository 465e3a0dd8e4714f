#include "ui/dialogs/DxfSizeDlg.h"

#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "dxf/DxfFile.h"
#include "dxf/Render.h"
#include "ui/platform/QtCanvas.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

namespace {
const int kPictureWidth = 420;
const int kPictureHeight = 300;
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
    m_pSize = new QLabel(this);
    GetMainLayout()->addWidget(m_pSize);
    FinishLayout();

    if (m_pDxf->GetEntityCount() == 0) {
        Log().Printf(LOG_ERROR, "There has been an error with the DXF file or the DXF file is empty");
        return;
    }
    m_bRead = true;
    const Point size = m_pDxf->GetSize();
    m_dWidth = size.x;
    m_dHeight = size.y;
    m_pSize->setText(QString::fromStdString(
        StrPrintf("Scale is 1 unit = 1 meter. This dxf is %.1fm by %.1fm ", m_dWidth, m_dHeight)));
    DrawPicture();
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

bool CDxfSizeDlg::OnOK() {
    const bool doubtful = m_dWidth > 1000.0 || m_dHeight > 1000.0 || m_dWidth < 0.5 || m_dHeight < 0.5;
    if (doubtful && WyesNoBox("The DXF file dimensions are %.1f meters by %.1f meters\nCarry on anyway?",
                              m_dWidth, m_dHeight) != IDYES)
        return false;
    return true;
}
