#pragma once
// "Floor Properties": the floor-to-ceiling distance, 1 to 200 m.

#include "ui/dialogs/CheckedDialog.h"

class CFloorDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    // The distance is shown as "%.2f m".
    explicit CFloorDlg(double height, QWidget* parent = nullptr);
    double GetHeight() const { return m_dHeight; }
    QLineEdit* GetHeightField() const { return m_pHeight; }

  protected:
    bool OnOK() override;

  private:
    QLineEdit* m_pHeight;
    double m_dHeight;
};
