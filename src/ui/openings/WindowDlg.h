#pragma once
// "Window Properties": a window of a room wall (vertical, vertical sloped or horizontal sloped) with
// its size, position, transmittance, slope and, through the Shading Index dialog, its shading.

#include "model/LENIWindow.h"
#include "ui/dialogs/CheckedDialog.h"

class CLENIFloor;
class CLENIProject;
class CLENIRoom;
class CPictureFrame;
class QComboBox;
class QLabel;
class QPushButton;

class CWindowDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    // Edits a copy of the window; room, floor and project must outlive the dialog.
    CWindowDlg(const CLENIWindow& window, const CLENIRoom& room, const CLENIFloor& floor,
               const CLENIProject& project, QWidget* parent = nullptr);
    // The edited copy; after OK the accepted window.
    const CLENIWindow& GetWindow() const { return m_Window; }

    QLabel* GetContextLabel() const { return m_pContext; }
    QComboBox* GetTypeList() const { return m_pType; }
    QLineEdit* GetWidthField() const { return m_pWidth; }
    QLineEdit* GetHeightField() const { return m_pHeight; }
    QLineEdit* GetCentreField() const { return m_pCentre; }
    QLineEdit* GetLintelField() const { return m_pLintel; }
    QLineEdit* GetTauField() const { return m_pTau; }
    QLineEdit* GetK1Field() const { return m_pK1; }
    QLineEdit* GetK2Field() const { return m_pK2; }
    QLineEdit* GetK3Field() const { return m_pK3; }
    QLineEdit* GetTdsaField() const { return m_pTdsa; }
    QLineEdit* GetLengthField() const { return m_pLength; }
    QLineEdit* GetGammaField() const { return m_pGamma; }
    QLineEdit* GetDistanceField() const { return m_pDistance; }
    QLineEdit* GetHeightToSlopeField() const { return m_pHeightToSlope; }
    QPushButton* GetShadingButton() const { return m_pShading; }
    QLabel* GetShadingLabel() const { return m_pIsh; }
    CPictureFrame* GetPicture() const { return m_pPicture; }

  protected:
    bool OnOK() override;

  private:
    void OnTypeChanged();
    void OnShading();
    void ShowShadingIndex();

    CLENIWindow m_Window;
    const CLENIRoom& m_Room;
    const CLENIFloor& m_Floor;
    const CLENIProject& m_Project;

    QLabel* m_pContext;
    QComboBox* m_pType;
    QLineEdit* m_pWidth;
    QLineEdit* m_pHeight;
    QLineEdit* m_pCentre;
    QLineEdit* m_pLintel;
    QLineEdit* m_pTau;
    QLineEdit* m_pK1;
    QLineEdit* m_pK2;
    QLineEdit* m_pK3;
    QLineEdit* m_pTdsa;
    QLineEdit* m_pLength;
    QLineEdit* m_pGamma;
    QLineEdit* m_pDistance;
    QLineEdit* m_pHeightToSlope;
    QPushButton* m_pShading;
    QLabel* m_pIsh;
    CPictureFrame* m_pPicture;
};
