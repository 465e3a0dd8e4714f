#pragma once
// Paints the core's polar diagram of a photometric file.

#include "products/Photometry.h"

#include <QWidget>

class CPolarDiagramWidget : public QWidget {
    Q_OBJECT
  public:
    explicit CPolarDiagramWidget(const CPhotometry& photometry, QWidget* parent = nullptr);
    QSize sizeHint() const override { return QSize(300, 300); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    CPhotometry m_Photometry;
};
