#pragma once
// "Roof Light Properties": a flat or shed roof light of a room's ceiling with its place, size,
// glazing, angles and heights, and a picture of its kind.

#include "model/LENIRoofLight.h"
#include "ui/dialogs/CheckedDialog.h"

class CPictureFrame;
class QComboBox;
class QLabel;

class CRoofLightDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    // Edits a copy of the roof light; the room's bounding box is width (x) by depth (y), both 0
    // for a room without corners.
    CRoofLightDlg(const CLENIRoofLight& roofLight, double roomWidth, double roomDepth,
                  QWidget* parent = nullptr);
    const CLENIRoofLight& GetRoofLight() const { return m_RoofLight; }

    QLabel* GetIdLabel() const { return m_pId; }
    QComboBox* GetTypeList() const { return m_pType; }
    QComboBox* GetOrientationList() const { return m_pOrient; }
    QLineEdit* GetXOriginField() const { return m_pXOrig; }
    QLineEdit* GetYOriginField() const { return m_pYOrig; }
    QLineEdit* GetXLengthField() const { return m_pXLength; }
    QLineEdit* GetYWidthField() const { return m_pYWidth; }
    QLineEdit* GetTauSnaField() const { return m_pTauSna; }
    QLineEdit* GetTauSaField() const { return m_pTauSa; }
    QLineEdit* GetKObl1Field() const { return m_pKObl1; }
    QLineEdit* GetKObl2Field() const { return m_pKObl2; }
    QLineEdit* GetKObl3Field() const { return m_pKObl3; }
    QLineEdit* GetGammaFField() const { return m_pGammaF; }
    QLineEdit* GetGammaWField() const { return m_pGammaW; }
    QLineEdit* GetHwField() const { return m_pHw; }
    QLineEdit* GetHgField() const { return m_pHg; }
    QLineEdit* GetHsField() const { return m_pHs; }
    QLabel* GetABLabel() const { return m_pAB; }
    CPictureFrame* GetPicture() const { return m_pPicture; }

  protected:
    bool OnOK() override;

  private:
    void OnTypeChanged();
    void ShowAB();

    CLENIRoofLight m_RoofLight;
    double m_dRoomWidth;
    double m_dRoomDepth;
    QLabel* m_pId;
    QComboBox* m_pType;
    QComboBox* m_pOrient;
    QLineEdit* m_pXOrig;
    QLineEdit* m_pYOrig;
    QLineEdit* m_pXLength;
    QLineEdit* m_pYWidth;
    QLineEdit* m_pTauSna;
    QLineEdit* m_pTauSa;
    QLineEdit* m_pKObl1;
    QLineEdit* m_pKObl2;
    QLineEdit* m_pKObl3;
    QLineEdit* m_pGammaF;
    QLineEdit* m_pGammaW;
    QLineEdit* m_pHw;
    QLineEdit* m_pHg;
    QLineEdit* m_pHs;
    QLabel* m_pAB;
    CPictureFrame* m_pPicture;
};
