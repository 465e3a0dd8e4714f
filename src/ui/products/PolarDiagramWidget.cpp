#include "ui/products/PolarDiagramWidget.h"

#include "products/PolarDiagram.h"
#include "ui/platform/QtCanvas.h"

#include <QPainter>
#include <algorithm>

CPolarDiagramWidget::CPolarDiagramWidget(const CPhotometry& photometry, QWidget* parent)
    : QWidget(parent), m_Photometry(photometry) {
    setMinimumSize(300, 300);
}

void CPolarDiagramWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int size = std::min(width(), height());
    CQtCanvas canvas(painter);
    CPolarDiagram::Draw(canvas, m_Photometry, (width() - size) / 2, (height() - size) / 2, size);
    canvas.Flush();
}
