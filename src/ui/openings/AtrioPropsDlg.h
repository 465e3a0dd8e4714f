#pragma once
// "Atrium Properties": the kind (courtyard or atrium), the well index under the building above it
// and the glazing of the atrium roof.

#include "model/LENIAtrium.h"
#include "ui/dialogs/CheckedDialog.h"

class QComboBox;
class QLabel;

class CAtrioPropsDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    // Edits a copy of the atrium; h is the height from the atrium's floor to the top of the building.
    CAtrioPropsDlg(const CLENIAtrium& atrium, double h, QWidget* parent = nullptr);
    const CLENIAtrium& GetAtrium() const { return m_Atrium; }

    QComboBox* GetTypeList() const { return m_pType; }
    QLabel* GetWellIndexLabel() const { return m_pWi; }
    QLabel* GetHeightLabel() const { return m_pH; }
    QLineEdit* GetTauField() const { return m_pTau; }
    QLineEdit* GetK1Field() const { return m_pK1; }
    QLineEdit* GetK2Field() const { return m_pK2; }
    QLineEdit* GetK3Field() const { return m_pK3; }

  protected:
    bool OnOK() override;

  private:
    CLENIAtrium m_Atrium;
    QComboBox* m_pType;
    QLabel* m_pWi;
    QLabel* m_pH;
    QLineEdit* m_pTau;
    QLineEdit* m_pK1;
    QLineEdit* m_pK2;
    QLineEdit* m_pK3;
};
