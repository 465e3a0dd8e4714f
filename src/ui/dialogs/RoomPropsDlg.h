#pragma once
// "Room Properties": name, room type, workplane height, maintenance factor, daylight factor
// source, shading and the operating hours of a room, edited on a copy.

#include "model/LENIRoom.h"
#include "ui/dialogs/CheckedDialog.h"

#include <string>

class CLENIFloor;
class QComboBox;

class CRoomPropsDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    // existing: the room is already on the floor (its own name is then no clash); a new room
    // takes the default room type of the building type.
    CRoomPropsDlg(const CLENIRoom& room, const CLENIFloor* floor, bool existing,
                  const std::string& buildingType, QWidget* parent = nullptr);
    const CLENIRoom& GetRoom() const { return m_Room; }
    // Without a floor the dialog cannot work: it closes as cancelled.
    bool IsUsable() const { return m_pFloor != nullptr; }

    QLineEdit* GetNameField() const { return m_pName; }
    QComboBox* GetRoomTypeList() const { return m_pRoomType; }
    QLineEdit* GetWorkplaneField() const { return m_pWorkplane; }
    QLineEdit* GetMfField() const { return m_pMf; }
    QComboBox* GetDcajMethodList() const { return m_pDcajMethod; }
    QLineEdit* GetUserDcajField() const { return m_pUserDcaj; }
    QComboBox* GetShadingList() const { return m_pShading; }
    QLineEdit* GetTdField() const { return m_pTd; }
    QLineEdit* GetTnField() const { return m_pTn; }
    QLabel* GetSummary() const { return m_pSummary; }

  protected:
    bool OnOK() override;

  private:
    void OnRoomTypeChanged(int index);
    // The room types grouped by building type, the dominant one first.
    void FillRoomTypes(const std::string& dominant);

    CLENIRoom m_Room;
    const CLENIFloor* m_pFloor;
    bool m_bExisting;
    // The absence factor the zones take on OK when the user carried a new type's defaults
    // into them; below 0: the zones keep their own.
    double m_dCarriedFa = -1.0;
    QLineEdit* m_pName;
    QComboBox* m_pRoomType;
    QLineEdit* m_pWorkplane;
    QLineEdit* m_pMf;
    QComboBox* m_pDcajMethod;
    QLineEdit* m_pUserDcaj;
    QComboBox* m_pShading;
    QLineEdit* m_pTd;
    QLineEdit* m_pTn;
    QLabel* m_pSummary;
};
