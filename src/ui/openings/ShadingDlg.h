#pragma once
// "Shading Index Of This Window": the three obstruction angles with their pictures, the glazed
// double facade and the atrium or courtyard the window faces.

#include "model/LENIWindow.h"
#include "ui/dialogs/CheckedDialog.h"

class CLENIFloor;
class CPictureFrame;
class QCheckBox;
class QComboBox;
class QGroupBox;

class CShadingDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    // Edits a copy of the window; the floor gives the atria it may face.
    CShadingDlg(const CLENIWindow& window, const CLENIFloor& floor, QWidget* parent = nullptr);
    const CLENIWindow& GetWindow() const { return m_Window; }

    QLineEdit* GetFrontField() const { return m_pFront; }
    QLineEdit* GetOverhangField() const { return m_pOverhang; }
    QLineEdit* GetSideField() const { return m_pSide; }
    QCheckBox* GetGdfCheck() const { return m_pHasGdf; }
    QGroupBox* GetGdfGroup() const { return m_pGdfGroup; }
    QLineEdit* GetGdfTauField() const { return m_pGdfTau; }
    QLineEdit* GetGdfK1Field() const { return m_pGdfK1; }
    QLineEdit* GetGdfK2Field() const { return m_pGdfK2; }
    QLineEdit* GetGdfK3Field() const { return m_pGdfK3; }
    QComboBox* GetAtriumList() const { return m_pAtrium; }
    // Front, overhang, side.
    CPictureFrame* GetPicture(int kind) const { return m_pPictures[kind]; }

  protected:
    bool OnOK() override;

  private:
    void OnGdfToggled();

    CLENIWindow m_Window;
    QLineEdit* m_pFront;
    QLineEdit* m_pOverhang;
    QLineEdit* m_pSide;
    CPictureFrame* m_pPictures[3];
    QCheckBox* m_pHasGdf;
    QGroupBox* m_pGdfGroup;
    QLineEdit* m_pGdfTau;
    QLineEdit* m_pGdfK1;
    QLineEdit* m_pGdfK2;
    QLineEdit* m_pGdfK3;
    QComboBox* m_pAtrium;
};
