#include "ui/dialogs/RoomPropsDlg.h"

#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "dxf/Geometry.h"
#include "model/LENIFloor.h"
#include "tables/BuildingTypeData.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kHoursPerYear = 8760.0;
const char* const kDcajCalculated = "Calculated";
const char* const kDcajUser = "User";

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

const TypedNumberField kWorkplane = {"Workplane height", "m", "metres from 0 to 2", false};
const TypedNumberField kMf = {"Room maintenance factor MF", "", "a factor from 0 to 1", false};
const TypedNumberField kUserDcaj = {"User Dcaj", "%", "per cent from 0 to 100", false};
const TypedNumberField kTd = {"Daylight time td", "h", "hours per year from 0 to 8760", true};
const TypedNumberField kTn = {"Daylight absence time tn", "h", "hours per year from 0 to 8760", true};

} // namespace

CRoomPropsDlg::CRoomPropsDlg(const CLENIRoom& room, const CLENIFloor* floor, bool existing,
                             const std::string& buildingType, QWidget* parent)
    : CCheckedDialog("Room Properties", parent), m_Room(room), m_pFloor(floor), m_bExisting(existing) {
    SetHelpPage("room.html");
    m_pName = AddField("Room name:", Q(room.GetName()));
    m_pRoomType = new QComboBox(this);
    m_pRoomType->setMinimumContentsLength(40);
    m_pRoomType->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    GetForm()->addRow("Room type:", m_pRoomType);
    m_pWorkplane = AddNumberField("Workplane height (m):", kWorkplane, room.GetWrkSrfHi(), 3, "", 10);
    m_pMf = AddNumberField("Room maintenance factor MF:", kMf, room.GetMaintenanceFactor(), 2, "", 10);
    m_pDcajMethod = new QComboBox(this);
    m_pDcajMethod->addItems({kDcajCalculated, kDcajUser});
    m_pDcajMethod->setCurrentIndex(room.GetDcajSource() == DCAJ_USER ? 1 : 0);
    GetForm()->addRow("Dcaj method:", m_pDcajMethod);
    m_pUserDcaj = AddNumberField("User Dcaj (%):", kUserDcaj, room.GetUserDcaj(), 3, " %");
    m_pShading = new QComboBox(this);
    for (int code = SHADING_NONE; code <= SHADING_LIGHT_GUIDES; ++code)
        m_pShading->addItem(Q(CLENIRoom::GetShadingName(code)), code);
    m_pShading->setCurrentIndex(std::max(0, m_pShading->findData(room.GetShadingType())));
    GetForm()->addRow("Shading:", m_pShading);
    m_pTd = AddField("Daylight time td (hours per year):", QString::number(room.GetTd()));
    NameNumberField(m_pTd, kTd);
    m_pTn = AddField("Daylight absence time tn (hours per year):", QString::number(room.GetTn()));
    NameNumberField(m_pTn, kTn);
    m_pSummary = AddNote(QString());
    FinishLayout();

    if (!floor) {
        Log().Printf(LOG_ERROR, "CRoomPropsDlg::OID called with null floor.");
        // Closes as soon as it is shown: there is nothing it could check a name against.
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    FillRoomTypes(buildingType);
    if (!existing) m_Room.SetRoomType(CBuildingTypeData::GetFirstRoomTypeOfBuildingType(buildingType));
    const int selected = m_pRoomType->findText(Q(m_Room.GetRoomType()));
    if (selected < 0)
        Log().Printf(LOG_ERROR, "PopulateComboFromStringList default not found:\n%s",
                     m_Room.GetRoomType().c_str());
    m_pRoomType->setCurrentIndex(selected);
    connect(m_pRoomType, &QComboBox::currentIndexChanged, this, &CRoomPropsDlg::OnRoomTypeChanged);

    Point lo, hi;
    GetPolygonBoundingBox(m_Room.GetPolygon(), lo, hi);
    m_pSummary->setText(Q(StrPrintf(
        "Area=%.1f m\u00b2 (bounding box %.1fm x %.1fm) height = %.1fm  Average Em=%.1flx", m_Room.GetArea(),
        hi.x - lo.x, hi.y - lo.y, m_Room.GetHeight(), m_Room.GetAverageZoneIlluminance())));
}

void CRoomPropsDlg::FillRoomTypes(const std::string& dominant) {
    std::vector<std::string> types;
    CBuildingTypeData::GetAllRoomTypeStrings(types);
    // The project's own building type first, then the others in the table's order; each group
    // under a heading that cannot be chosen.
    std::vector<std::string> buildings = CBuildingTypeData::GetBuildingTypeNames();
    const auto own = std::find(buildings.begin(), buildings.end(), dominant);
    if (own != buildings.end()) std::rotate(buildings.begin(), own, own + 1);
    auto* model = qobject_cast<QStandardItemModel*>(m_pRoomType->model());
    for (const std::string& building : buildings) {
        const std::string prefix = "[" + building + "]";
        bool heading = false;
        for (const std::string& type : types) {
            if (type.compare(0, prefix.size(), prefix) != 0) continue;
            if (!heading) {
                m_pRoomType->addItem(Q(building == dominant ? building + " (this project)" : building));
                if (model) {
                    QStandardItem* item = model->item(m_pRoomType->count() - 1);
                    item->setFlags(item->flags() & ~(Qt::ItemIsSelectable | Qt::ItemIsEnabled));
                    QFont bold = item->font();
                    bold.setBold(true);
                    item->setFont(bold);
                }
                heading = true;
            }
            m_pRoomType->addItem(Q(type));
        }
    }
}

void CRoomPropsDlg::OnRoomTypeChanged(int index) {
    if (index < 0) return;
    const std::string type = m_pRoomType->itemText(index).toStdString();
    if (!m_Room.SetRoomType(type)) {
        Log().Printf(LOG_ERROR, "CRoomPropsDlg::OCSRB: could not get room type");
        return;
    }
    int td = 0, tn = 0;
    CBuildingTypeData::GetTdTnByBuildingType(m_Room.GetBuildingTypeFromRoomTypeString(), td, tn);
    const double fa = CBuildingTypeData::GetFaFromRoomTypeString(type);
    if (!m_bExisting) {
        // A new room has nothing of its own yet: it takes the type's hours.
        m_pTd->setText(QString::number(td));
        m_pTn->setText(QString::number(tn));
        return;
    }
    // An existing room's hours and its zones' absence factors may be the user's own: they change
    // only when the user says so, after seeing what would change.
    std::string changes;
    const CTypedNumberReader reader = NumberReader();
    int shownTd = 0, shownTn = 0;
    if (!reader.Read(FieldText(m_pTd), kTd, shownTd) || shownTd != td)
        changes += StrPrintf("\ntd: %s h -> %d h", FieldText(m_pTd).c_str(), td);
    if (!reader.Read(FieldText(m_pTn), kTn, shownTn) || shownTn != tn)
        changes += StrPrintf("\ntn: %s h -> %d h", FieldText(m_pTn).c_str(), tn);
    const bool faKnown = fa >= 0.0 && fa <= 1.0;
    for (const CLENIZone& zone : m_Room.GetZones()) {
        const double own = m_dCarriedFa >= 0.0 ? m_dCarriedFa : zone.GetFa();
        if (faKnown && std::fabs(own - fa) > 1e-9)
            changes += StrPrintf("\nFa of zone %s: %.2f -> %.2f", zone.GetName().c_str(), own, fa);
    }
    if (changes.empty()) return;
    if (WyesNoBox("The room type %s has its own defaults.\nCarry them into this room and its zones?%s",
                  type.c_str(), changes.c_str()) != IDYES)
        return;
    m_pTd->setText(QString::number(td));
    m_pTn->setText(QString::number(tn));
    if (faKnown) m_dCarriedFa = fa;
}

bool CRoomPropsDlg::OnOK() {
    const std::string name = TrimWhiteSpace(FieldText(m_pName));
    if (name.empty()) {
        WalertBox("Please input a room name");
        return false;
    }
    if (m_pRoomType->currentIndex() < 0) {
        WalertBox("Please select a room type");
        return false;
    }
    const bool sameName = m_bExisting && EqualsNoCase(name, m_Room.GetName());
    if (!sameName && m_pFloor && m_pFloor->RoomExists(name)) {
        WalertBox("A room called <%s> already exists\non the floor <%s>", name.c_str(),
                  m_pFloor->GetName().c_str());
        return false;
    }
    m_Room.SetName(name);
    double workplane = 0.0;
    if (!ReadNumber(m_pWorkplane, kWorkplane, workplane)) return false;
    if (workplane < 0.0 || workplane > 2.0) {
        WalertBox("Work surface height should be between %.3f annd %.3f inclusive", 0.0, 2.0);
        return false;
    }
    m_Room.SetWrkSrfHi(workplane);
    m_Room.SetShadingType(m_pShading->currentData().toInt());
    double mf = 0.0;
    if (!ReadNumber(m_pMf, kMf, mf)) return false;
    if (mf < 0.0 || mf > 1.0) {
        WalertBox("Maintenance factor should be between %.3f and %.3f", 0.0, 1.0);
        return false;
    }
    m_Room.SetMaintenanceFactor(mf);
    if (m_pDcajMethod->currentText() != kDcajCalculated) {
        double dcaj = 0.0;
        if (!ReadNumber(m_pUserDcaj, kUserDcaj, dcaj)) return false;
        if (dcaj < 0.0 || dcaj > 100.0) {
            WalertBox("User Dcaj should be between 0 %% and 100 %%");
            return false;
        }
        m_Room.SetDcajSource(DCAJ_USER);
        m_Room.SetUserDcaj(dcaj);
    } else {
        m_Room.SetDcajSource(DCAJ_CALCULATED);
    }
    int td = 0, tn = 0;
    if (!ReadNumber(m_pTd, kTd, td) || !ReadNumber(m_pTn, kTn, tn)) return false;
    if (td < 0) {
        WalertBox("Daylight hours must be 0 or more");
        return false;
    }
    if (tn < 0) {
        WalertBox("Daylight absence hours must be 0 or more");
        return false;
    }
    if (td + static_cast<double>(tn) > kHoursPerYear) {
        WalertBox("tn + td = %d. There are only\n%.0f hours per year", td + tn, kHoursPerYear);
        return false;
    }
    m_Room.SetTd(td);
    m_Room.SetTn(tn);
    if (m_dCarriedFa >= 0.0) {
        const std::vector<CLENIZone> zones = m_Room.GetZones();
        for (CLENIZone zone : zones) {
            zone.SetFa(m_dCarriedFa);
            m_Room.ReplaceZone(zone);
        }
    }
    return true;
}
