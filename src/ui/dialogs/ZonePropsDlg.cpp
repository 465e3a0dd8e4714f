#include "ui/dialogs/ZonePropsDlg.h"

#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "model/LENIRoom.h"
#include "tables/BuildingTypeData.h"
#include "tables/LENITables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <cmath>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

const char* const kBothControls = "CLO and CIC cannot be enabled at the same time";
const TypedNumberField kOverdesign = {"Overdesign zone lux", "lx", "lux, at least the maintained illuminance",
                                      false};
const TypedNumberField kFcc = {"Fcc", "", "a factor from 0 to 1", false};
const TypedNumberField kFa = {"User absence factor Fa", "", "a factor from 0 to 1", false};

} // namespace

CZonePropsDlg::CZonePropsDlg(const CLENIZone& zone, const CLENIRoom* room, bool existing, QWidget* parent)
    : CCheckedDialog("Zone Properties", parent), m_Zone(zone), m_pRoom(room), m_bExisting(existing) {
    SetHelpPage("zone.html");
    m_pName = AddField("Zone name:", Q(zone.GetName()), 30);
    m_pArea = new QLabel(Q(FormatDouble("%.2f m\u00b2", zone.GetArea())), this);
    GetForm()->addRow("Zone area:", m_pArea);
    m_pLux = new QComboBox(this);
    GetForm()->addRow("Maintained illuminance (lx):", m_pLux);
    m_pSystem = new QComboBox(this);
    m_pSystem->setMinimumContentsLength(40);
    m_pSystem->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    GetForm()->addRow("Occupancy control system:", m_pSystem);
    m_pCic = new QCheckBox("Has constant illuminance sensor for AND (CIC)", this);
    m_pCic->setChecked(zone.GetConstantIlluminanceControl());
    GetForm()->addRow(m_pCic);
    m_pClo = new QCheckBox("Has Constant Lumens Output (CLO)", this);
    m_pClo->setChecked(zone.GetConstantLumenOutput());
    GetForm()->addRow(m_pClo);
    m_pOverdesign = AddNumberField("Overdesign zone lux:", kOverdesign, zone.GetRealIlluminance(), 2, "", 10);
    m_pFcc = AddNumberField("Fcc, efficiency factor of constant illuminance control:", kFcc, zone.GetFcc(), 3,
                            "", 10);
    m_pFcNote = new QLabel(this);
    GetForm()->addRow("Fc:", m_pFcNote);
    m_pTechnique = new QComboBox(this);
    GetForm()->addRow("Daylight control technique:", m_pTechnique);
    m_pOccupancy = new QComboBox(this);
    m_pOccupancy->addItems({kAlwaysOccupied, kCalcFromFa});
    GetForm()->addRow("Occupancy, Fo:", m_pOccupancy);
    m_pFa = AddField("User absence factor Fa:", QString(), 10);
    NameNumberField(m_pFa, kFa);
    FinishLayout();

    if (!room) {
        Log().Printf(LOG_ERROR, "CZonePropsDlg::OID called with null floor.");
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    if (!existing) {
        const double fa = CBuildingTypeData::GetFaFromRoomTypeString(room->GetRoomType());
        if (fa < 0.0 || fa > 1.0)
            Log().Printf(LOG_ERROR, "CLENIZone::SFAF(%.3f) out of range.", fa);
        else
            m_Zone.SetFa(fa);
    }
    m_pFa->setText(ShowNumber(m_Zone.GetFa(), 3));
    m_pOccupancy->setCurrentIndex(m_Zone.GetFoMode() == FOMODE_ONE ? 0 : 1);

    for (const std::string& name : CLENITables::GetControlTechniqueNames())
        m_pTechnique->addItem(Q(name));
    const int technique = CLENITables::FindControlTechnique(m_Zone.GetControlTechnique());
    if (technique < 0)
        Log().Printf(LOG_ERROR, "PCTD control technique <%s> not found",
                     m_Zone.GetControlTechnique().c_str());
    m_pTechnique->setCurrentIndex(technique);

    int lux = -1;
    for (double choice : CLENITables::GetLuxChoices()) {
        if (std::fabs(choice - m_Zone.GetZoneIlluminance()) < 0.1) lux = m_pLux->count();
        m_pLux->addItem(QString::number(static_cast<int>(choice)), choice);
    }
    if (lux < 0) Log().Printf(LOG_ERROR, "PZLCC lux choice  <%.3f> not found", m_Zone.GetZoneIlluminance());
    m_pLux->setCurrentIndex(lux);

    for (const std::string& name : CLENITables::GetOccupancySystemNames())
        m_pSystem->addItem(Q(name));
    const int system = m_pSystem->findText(Q(m_Zone.GetOccupancyControlSystem()));
    if (system < 0) Log().Printf(LOG_ERROR, "%s", m_Zone.GetOccupancyControlSystem().c_str());
    m_pSystem->setCurrentIndex(system);

    ApplyControlRules();
    connect(m_pCic, &QCheckBox::clicked, this, &CZonePropsDlg::OnCicOrCloClicked);
    connect(m_pClo, &QCheckBox::clicked, this, &CZonePropsDlg::OnCicOrCloClicked);
    connect(m_pOccupancy, &QComboBox::currentIndexChanged, this, &CZonePropsDlg::ApplyControlRules);
    connect(m_pSystem, &QComboBox::currentIndexChanged, this, &CZonePropsDlg::ApplyControlRules);
}

void CZonePropsDlg::OnCicOrCloClicked() {
    ApplyControlRules();
    if (m_pCic->isChecked() && m_pClo->isChecked()) WalertBox("%s", kBothControls);
}

void CZonePropsDlg::ApplyControlRules() {
    const bool cic = m_pCic->isChecked(), clo = m_pClo->isChecked();
    if (cic)
        m_pFcNote->setText("Fc calculated from MF and Fcc");
    else
        m_pFcNote->setText(clo ? "Fc calculated from (1+MF)/2" : "Fc=1.0");
    m_pFcc->setEnabled(cic);
    if (QWidget* label = GetForm()->labelForField(m_pFcc)) label->setEnabled(cic);
    GetForm()->setRowVisible(m_pOverdesign, cic || clo);
    m_pFa->setEnabled(m_pOccupancy->currentText() == kCalcFromFa);
    if (QWidget* label = GetForm()->labelForField(m_pFa)) label->setEnabled(m_pFa->isEnabled());
}

bool CZonePropsDlg::OnOK() {
    const bool cic = m_pCic->isChecked(), clo = m_pClo->isChecked();
    if (cic && clo) {
        WalertBox("%s", kBothControls);
        return false;
    }
    if (m_pTechnique->currentIndex() < 0)
        Log().Printf(LOG_ERROR, "Dialog error setting control technique");
    else
        m_Zone.SetControlTechnique(m_pTechnique->currentText().toStdString());
    if (m_pSystem->currentIndex() < 0) {
        Log().Printf(LOG_ERROR, "Dialog error setting control technique");
    } else {
        const std::string system = m_pSystem->currentText().toStdString();
        bool known = false;
        for (const std::string& name : CLENITables::GetOccupancySystemNames())
            known = known || name == system;
        if (known)
            m_Zone.SetOccupancyControlSystem(system);
        else
            Log().Printf(LOG_ERROR, "CLENIZone::SOCS <%s>\n is not a valid occupancy control system",
                         system.c_str());
    }
    if (m_pLux->currentIndex() < 0)
        Log().Printf(LOG_ERROR, "Dialog error setting zone lux");
    else
        m_Zone.SetZoneIlluminance(m_pLux->currentData().toDouble());

    const std::string name = TrimWhiteSpace(FieldText(m_pName));
    if (name.empty()) {
        WalertBox("Please input a zone name");
        return false;
    }
    const bool sameName = m_bExisting && EqualsNoCase(name, m_Zone.GetName());
    if (!sameName && m_pRoom && m_pRoom->ZoneExists(name)) {
        WalertBox("A zone called <%s> already exists\nin the room <%s>", name.c_str(),
                  m_pRoom->GetName().c_str());
        return false;
    }
    m_Zone.SetName(name);
    double fcc = 0.0;
    if (!ReadNumber(m_pFcc, kFcc, fcc)) return false;
    if (fcc < 0.0 || fcc > 1.0) {
        WalertBox("Fcc (efficiency factor of constant illumination control or\nconstant illuminance factor) "
                  "must be "
                  "between 0.0 and 1.0\nIf you don't know Fcc, then set Fcc=1.0.");
        return false;
    }
    m_Zone.SetConstantIlluminanceControl(cic);
    m_Zone.SetFcc(fcc);
    m_Zone.SetConstantLumenOutput(clo);
    double fa = 0.0;
    if (!ReadNumber(m_pFa, kFa, fa)) return false;
    if (fa < 0.0 || fa > 1.0) {
        WalertBox("Absence factor should be between 0 and 1 inclusive");
        return false;
    }
    m_Zone.SetFa(fa);
    if (cic || clo) {
        double overdesign = 0.0;
        if (!ReadNumber(m_pOverdesign, kOverdesign, overdesign)) return false;
        if (overdesign < m_Zone.GetZoneIlluminance()) {
            WalertBox("Overdesign lux should be equal to or greater than standard lx.");
            return false;
        }
        m_Zone.SetRealIlluminance(overdesign);
    }
    m_Zone.SetFoMode(m_pOccupancy->currentText() == kCalcFromFa ? FOMODE_FROM_FA : FOMODE_ONE);
    return true;
}
