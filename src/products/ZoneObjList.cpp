#include "products/ZoneObjList.h"

#include "base/Logger.h"
#include "base/TextUtils.h"
#include "base/XmlUtils.h"
#include "products/LumSysDataBase.h"

#include <tinyxml.h>

#include <climits>

bool CZoneObjList::ReadFromXml(const TiXmlElement* lumList) {
    m_Entries.clear();
    if (!lumList) return false;
    // Every sibling after the first "Luminaire" is read as an entry, whatever its name.
    for (const TiXmlElement* e = lumList->FirstChildElement("Luminaire"); e; e = e->NextSiblingElement()) {
        Entry entry;
        if (!GetXmlAttribute(e, "refid", entry.refId) || entry.refId.empty()) {
            Log().Printf(LOG_ERROR, "Missing 'refid' attribute in LumList XML element");
            return false;
        }
        std::string countText;
        if (!GetXmlAttribute(e, "count", countText) || countText.empty()) {
            Log().Printf(LOG_ERROR, "Missing 'count' attribute in LumList XML element");
            return false;
        }
        // A count that is not a positive 32-bit number would be summed as billions of
        // luminaires, so it fails the list as 0 does.
        long long count = ParseXmlInteger(countText);
        if (count <= 0 || count > INT_MAX) {
            Log().Printf(LOG_ERROR, "'count' attribute = %lld in LumList XML element, refid=<%s>", count,
                         entry.refId.c_str());
            return false;
        }
        entry.count = static_cast<int>(count);
        m_Entries.push_back(entry);
    }
    return true;
}

void CZoneObjList::WriteToXml(TiXmlElement* lumList) const {
    if (!lumList) return;
    for (const Entry& entry : m_Entries) {
        auto* e = new TiXmlElement("Luminaire");
        SetXmlAttribute(e, "refid", entry.refId);
        e->SetAttribute("count", entry.count);
        lumList->LinkEndChild(e);
    }
}

void CZoneObjList::AddLuminaire(const std::string& refId) {
    // An entry without an id could not be read back from the project file.
    if (refId.empty()) {
        Log().Printf(LOG_ERROR, "CZoneObjList::AL no reference id");
        return;
    }
    for (Entry& entry : m_Entries)
        if (EqualsNoCase(entry.refId, refId)) {
            if (entry.count < INT_MAX) ++entry.count;
            return;
        }
    m_Entries.push_back(Entry{refId, 1});
}

void CZoneObjList::SetLuminaireCount(const std::string& refId, int count) {
    for (size_t i = 0; i < m_Entries.size(); ++i) {
        if (!EqualsNoCase(m_Entries[i].refId, refId)) continue;
        // A negative count could not be read back from the project file.
        if (count < 0) {
            Log().Printf(LOG_ERROR, "CZoneObjList::SLC bad count %d (%s)", count, refId.c_str());
            return;
        }
        if (count == 0)
            m_Entries.erase(m_Entries.begin() + static_cast<std::ptrdiff_t>(i));
        else
            m_Entries[i].count = count;
        return;
    }
    Log().Printf(LOG_ERROR, "CZoneObjList::SLC not found (%s)", refId.c_str());
}

void CZoneObjList::GetLuminaireAtIndex(int index, std::string& refId, int& count) const {
    if (index < 0 || index >= GetCount()) {
        Log().Printf(LOG_ERROR, "CZoneObjList::GLAI out of range (%d)", index);
        refId.clear();
        count = 0;
        return;
    }
    refId = m_Entries[index].refId;
    count = m_Entries[index].count;
}

bool CZoneObjList::HasLuminaire(const std::string& refId) const {
    for (const Entry& entry : m_Entries)
        if (EqualsNoCase(entry.refId, refId)) return true;
    return false;
}

double CZoneObjList::GetTotalPower(int energyUse, const CLumSysDataBase& db) const {
    if (energyUse < Lighting || energyUse > All) {
        Log().Printf(LOG_ERROR, "CLENIObjList::GTP unhandled energy use enum");
        return 0.0;
    }
    double total = 0.0;
    for (const Entry& entry : m_Entries) {
        const CLumTypeData* found = db.FindLumData(entry.refId);
        static const CLumTypeData kNoProduct;
        const CLumTypeData& product = found ? *found : kNoProduct;
        double value = 0.0;
        switch (energyUse) {
        case Lighting:
            value = product.GetMaxPow();
            break;
        case Charging:
            value = product.GetChargePow();
            break;
        case Standby:
            value = product.GetStandbyPow();
            break;
        case Parasitic:
            value = product.GetChargePow() + product.GetStandbyPow();
            break;
        case All:
            value = product.GetMaxPow() + product.GetChargePow() + product.GetStandbyPow();
            break;
        }
        total += static_cast<double>(static_cast<unsigned>(entry.count)) * value;
    }
    return total;
}

double CZoneObjList::GetParasiticEnergy(int timeStep, const CLumSysDataBase& db) const {
    return GetTotalPower(Parasitic, db) * HoursOfTimeStep(timeStep) / 1000.0;
}

double CZoneObjList::HoursOfTimeStep(int timeStep) {
    return timeStep == 0 ? 8760.0 : 730.0;
}
