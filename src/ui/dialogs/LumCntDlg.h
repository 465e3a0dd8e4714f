#pragma once
// "Change Object Count": how many of one luminaire a list holds; 0 takes it off the list.

#include "ui/dialogs/CheckedDialog.h"

class CLumCntDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    explicit CLumCntDlg(int count, QWidget* parent = nullptr);
    int GetCount() const { return m_iCount; }
    QLineEdit* GetCountField() const { return m_pCount; }

  protected:
    bool OnOK() override;

  private:
    QLineEdit* m_pCount;
    int m_iCount;
};
