#pragma once
// "Grid Snap Settings": the grid spacing of the floor-plan editor, 0.1 to 100 m.

#include "ui/dialogs/CheckedDialog.h"

class CDxfViewSettings : public CCheckedDialog {
    Q_OBJECT
  public:
    // The size is shown as "%.3f".
    explicit CDxfViewSettings(double gridSize, QWidget* parent = nullptr);
    double GetGridSize() const { return m_dGridSize; }
    QLineEdit* GetGridSizeField() const { return m_pGridSize; }

  protected:
    bool OnOK() override;

  private:
    QLineEdit* m_pGridSize;
    double m_dGridSize;
};
