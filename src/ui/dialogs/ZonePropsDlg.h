#pragma once
// "Zone Properties": name, maintained illuminance, occupancy control, constant illuminance
// control (CIC) or constant lumen output (CLO), daylight control technique and the absence
// factor of a zone, edited on a copy.

#include "model/LENIZone.h"
#include "ui/dialogs/CheckedDialog.h"

class CLENIRoom;
class QCheckBox;
class QComboBox;

class CZonePropsDlg : public CCheckedDialog {
    Q_OBJECT
  public:
    static constexpr const char* kAlwaysOccupied = "Always Occupied";
    static constexpr const char* kCalcFromFa = "Calc From Fa";

    // existing: the zone is already in the room; a new zone takes Fa from the room's type.
    CZonePropsDlg(const CLENIZone& zone, const CLENIRoom* room, bool existing, QWidget* parent = nullptr);
    const CLENIZone& GetZone() const { return m_Zone; }

    QLineEdit* GetNameField() const { return m_pName; }
    QLabel* GetAreaLabel() const { return m_pArea; }
    QComboBox* GetLuxList() const { return m_pLux; }
    QLineEdit* GetOverdesignField() const { return m_pOverdesign; }
    QComboBox* GetSystemList() const { return m_pSystem; }
    QCheckBox* GetCicBox() const { return m_pCic; }
    QCheckBox* GetCloBox() const { return m_pClo; }
    QLineEdit* GetFccField() const { return m_pFcc; }
    QLabel* GetFcNote() const { return m_pFcNote; }
    QComboBox* GetTechniqueList() const { return m_pTechnique; }
    QComboBox* GetOccupancyList() const { return m_pOccupancy; }
    QLineEdit* GetFaField() const { return m_pFa; }

  protected:
    bool OnOK() override;

  private:
    // Which fields apply follows CIC, CLO and the occupancy choice.
    void ApplyControlRules();
    void OnCicOrCloClicked();

    CLENIZone m_Zone;
    const CLENIRoom* m_pRoom;
    bool m_bExisting;
    QLineEdit* m_pName;
    QLabel* m_pArea;
    QComboBox* m_pLux;
    QLineEdit* m_pOverdesign;
    QComboBox* m_pSystem;
    QCheckBox* m_pCic;
    QCheckBox* m_pClo;
    QLineEdit* m_pFcc;
    QLabel* m_pFcNote;
    QComboBox* m_pTechnique;
    QComboBox* m_pOccupancy;
    QLineEdit* m_pFa;
};
