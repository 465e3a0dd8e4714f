#pragma once
// "Add Simple Floor": a floor with one rectangular room, its name and its three sizes.

#include "ui/dialogs/CheckedDialog.h"

class CLENIProject;

class CSimpleFloorDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    // Prefilled with the first free name FLOOR_001, FLOOR_002, ... and 10.0m, 10.0m, 3.0m.
    explicit CSimpleFloorDlg(const CLENIProject& project, QWidget* parent = nullptr);
    static std::string GetFreeFloorName(const CLENIProject& project);

    const std::string& GetName() const { return m_csName; }
    double GetXLength() const { return m_dX; }
    double GetYWidth() const { return m_dY; }
    double GetZHeight() const { return m_dZ; }
    QLineEdit* GetNameField() const { return m_pName; }
    QLineEdit* GetXField() const { return m_pX; }
    QLineEdit* GetYField() const { return m_pY; }
    QLineEdit* GetZField() const { return m_pZ; }

  protected:
    bool OnOK() override;

  private:
    const CLENIProject& m_Project;
    QLineEdit* m_pName;
    QLineEdit* m_pX;
    QLineEdit* m_pY;
    QLineEdit* m_pZ;
    std::string m_csName;
    double m_dX = 10.0, m_dY = 10.0, m_dZ = 3.0;
};
