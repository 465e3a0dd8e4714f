#include "ui/openings/PictureFrame.h"

#include "ui/platform/QtCanvas.h"

#include <QPainter>

CPictureFrame::CPictureFrame(Painter painter, QSize minimum, QWidget* parent)
    : QWidget(parent), m_Painter(std::move(painter)) {
    setMinimumSize(minimum);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CPictureFrame::DrawInto(IDrawCanvas& canvas) const {
    if (m_Painter) m_Painter(canvas, PictureBox{0, 0, width(), height()});
}

void CPictureFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    CQtCanvas canvas(painter);
    DrawInto(canvas);
    canvas.Flush();
    painter.setPen(QColor(160, 160, 160));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
