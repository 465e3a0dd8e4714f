#pragma once
// One product of a luminaire database: a luminaire, control gear or emergency unit with the
// powers the energy calculation multiplies by operating hours.

#include <string>

class TiXmlElement;

// Bits of TypeFlags.
enum { LUMTYPE_LUMINAIRE = 1, LUMTYPE_CONTROL = 2, LUMTYPE_EMERGENCY = 4 };

struct LumTypeName {
    const char* name;
    int typeFlags;
};
// The product types in the order the edit dialog lists them.
extern const LumTypeName kLumTypeNames[7];
// The name of a TypeFlags value; empty for a value not in the table.
const char* GetLumTypeName(int typeFlags);

// Product control systems, indexed by their code 0..2.
extern const char* const kProdConSysNames[3];

class CLumTypeData {
  public:
    // The largest power a file may give, W: beyond it a value is taken as damaged (a megawatt
    // luminaire does not exist, and such numbers would swamp every total).
    static constexpr double kMaxPower = 1e6;

    // The empty product: a luminaire, control system 1, no texts, all powers 0.
    CLumTypeData() = default;

    bool ReadFromXml(const TiXmlElement* element);
    void WriteToXml(TiXmlElement* parent) const;

    // Fills refid, Desc and MaxPow from an EULUMDAT (.LDT) or IESNA (.IES) file.
    bool ImportFromPhotometricFile(const std::string& path);
    bool ImportFromLdtFile(const std::string& path);
    bool ImportFromIesFile(const std::string& path);
    // The EULUMDAT lines the import takes (9, 10 and 32) without its rule that line 10 must name
    // the product: false only when the file cannot be opened. The desktop program proposes a
    // reference id for the many files that leave line 10 empty.
    bool ReadLdtLines(const std::string& path);

    int GetTypeFlags() const { return m_iTypeFlags; }
    void SetTypeFlags(int flags) { m_iTypeFlags = flags; }
    int GetProdConSys() const { return m_iProdConSys; }
    void SetProdConSys(int code) { m_iProdConSys = code; }
    const std::string& GetRefId() const { return m_csRefId; }
    void SetRefId(const std::string& refId) { m_csRefId = refId; }
    const std::string& GetDesc() const { return m_csDesc; }
    void SetDesc(const std::string& desc) { m_csDesc = desc; }
    double GetMaxPow() const { return m_dMaxPow; }
    void SetMaxPow(double watts) { m_dMaxPow = watts; }
    double GetStandbyPow() const { return m_dStandbyPow; }
    void SetStandbyPow(double watts) { m_dStandbyPow = watts; }
    double GetChargePow() const { return m_dChargePow; }
    void SetChargePow(double watts) { m_dChargePow = watts; }

    bool operator==(const CLumTypeData& o) const;

  private:
    int m_iTypeFlags = LUMTYPE_LUMINAIRE;
    int m_iProdConSys = 1;
    std::string m_csRefId;
    std::string m_csDesc;
    double m_dMaxPow = 0.0;     // luminaire input power "Piw", W
    double m_dStandbyPow = 0.0; // parasitic standby power of controls "Pci", W
    double m_dChargePow = 0.0;  // emergency battery charging power "Pei", W
};
