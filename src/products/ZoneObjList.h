#pragma once
// The counted luminaire list of a zone, window or roof light: reference ids and counts only;
// every power comes from the product database when a total is asked for.

#include <string>
#include <vector>

class TiXmlElement;
class CLumSysDataBase;

enum EnergyUse { Lighting = 0, Charging = 1, Standby = 2, Parasitic = 3, All = 4 };

class CZoneObjList {
  public:
    struct Entry {
        std::string refId;
        int count = 0;
        bool operator==(const Entry& o) const { return refId == o.refId && count == o.count; }
    };

    bool ReadFromXml(const TiXmlElement* lumList);
    void WriteToXml(TiXmlElement* lumList) const;
    void AddLuminaire(const std::string& refId);
    void SetLuminaireCount(const std::string& refId, int count);
    // Out of range: reports and yields an empty id with count 0.
    void GetLuminaireAtIndex(int index, std::string& refId, int& count) const;
    bool HasLuminaire(const std::string& refId) const;
    int GetCount() const { return static_cast<int>(m_Entries.size()); }
    double GetTotalPower(int energyUse, const CLumSysDataBase& db) const;
    void Clear() { m_Entries.clear(); }

    // Standby and charging energy of the list in kWh for a time step (0 the year, 1..12 a month).
    double GetParasiticEnergy(int timeStep, const CLumSysDataBase& db) const;
    // 8760 hours for the year, 730 for every month.
    static double HoursOfTimeStep(int timeStep);

    const std::vector<Entry>& GetEntries() const { return m_Entries; }
    bool operator==(const CZoneObjList& o) const { return m_Entries == o.m_Entries; }

  private:
    std::vector<Entry> m_Entries;
};
