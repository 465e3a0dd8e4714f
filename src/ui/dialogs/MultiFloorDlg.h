#pragma once
// "Multiple Instances Of Floor": how many consecutive identical storeys a floor stands for.

#include "ui/dialogs/CheckedDialog.h"

class CMultiFloorDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    explicit CMultiFloorDlg(int instances, QWidget* parent = nullptr);
    int GetInstances() const { return m_iInstances; }
    QLineEdit* GetInstancesField() const { return m_pInstances; }

  protected:
    bool OnOK() override;

  private:
    QLineEdit* m_pInstances;
    int m_iInstances;
};
