#pragma once
// "Save As New Name": the name of the project's copy.

#include "ui/dialogs/CheckedDialog.h"

class CNameDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    explicit CNameDlg(const std::string& proposal, QWidget* parent = nullptr);
    const std::string& GetName() const { return m_csName; }
    QLineEdit* GetNameField() const { return m_pName; }

  protected:
    bool OnOK() override;

  private:
    QLineEdit* m_pName;
    std::string m_csName;
};
