#pragma once
// A lighting zone inside a room: its outline, lighting requirements, controls and luminaires.

#include "dxf/Point.h"
#include "products/ZoneObjList.h"

#include <string>

class CDxfPline;

enum { FOMODE_FROM_FA = 0, FOMODE_ONE = 1 };

class CLENIZone {
  public:
    CLENIZone();

    // Back to a new zone's values (name and outline emptied).
    void Reset();

    // Name and outline from a drawn polyline; an empty name or a polyline of fewer than 3 usable
    // vertices is refused and leaves the zone unchanged.
    bool InitFromDxfPline(const std::string& name, const CDxfPline* pline);
    // The same from an outline already made.
    bool InitFromPolygon(const std::string& name, const Polygon& polygon);

    const std::string& GetName() const { return m_csName; }
    void SetName(const std::string& name) { m_csName = name; }

    const std::string& GetControlTechnique() const { return m_csControlTechnique; }
    // Only one of the lighting control technique names (any letter case) is taken, as given.
    bool SetControlTechnique(const std::string& name);

    const std::string& GetOccupancyControlSystem() const { return m_csOccupancyControlSystem; }
    void SetOccupancyControlSystem(const std::string& name) { m_csOccupancyControlSystem = name; }

    const Polygon& GetPolygon() const { return m_Polygon; }
    // Stored counter-clockwise.
    void SetPolygon(const Polygon& polygon);
    double GetArea() const;

    const CZoneObjList& GetLumList() const { return m_LumList; }
    CZoneObjList& GetLumList() { return m_LumList; }

    double GetZoneIlluminance() const { return m_dZoneLux; }
    // Only one of the maintained illuminance choices (within 0.1 lx) is taken.
    bool SetZoneIlluminance(double lux);
    double GetRealIlluminance() const { return m_dRealLux; }
    // Taken within (0, 10000] lx.
    bool SetRealIlluminance(double lux);

    double GetFa() const { return m_dFa; }
    // Taken within [0, 1].
    bool SetFa(double fa);

    int GetFoMode() const { return m_iFoMode; }
    void SetFoMode(int mode) { m_iFoMode = mode; }

    bool GetConstantIlluminanceControl() const { return m_bCIC; }
    void SetConstantIlluminanceControl(bool on) { m_bCIC = on; }
    double GetFcc() const { return m_dFcc; }
    void SetFcc(double fcc) { m_dFcc = fcc; }
    bool GetConstantLumenOutput() const { return m_bCLO; }
    void SetConstantLumenOutput(bool on) { m_bCLO = on; }

    bool GetPrintMe() const { return m_bPrintMe; }
    void SetPrintMe(bool print) { m_bPrintMe = print; }

  private:
    std::string m_csName;
    std::string m_csControlTechnique;       // "controltechnique"
    std::string m_csOccupancyControlSystem; // "ocs" (its first character in the file)
    Polygon m_Polygon;
    CZoneObjList m_LumList; // "LumList"
    double m_dZoneLux;      // "zonelux", required maintained illuminance
    double m_dRealLux;      // "zoneluxreal", design illuminance
    double m_dFa;           // "fa"
    int m_iFoMode;          // "fo": "1" or "ffa"
    bool m_bCIC;            // "ConstantIllum" active
    double m_dFcc;          // "ConstantIllum" fcc
    bool m_bCLO;            // "ConstLumenOuput" active
    bool m_bPrintMe;        // "PrintMe"
};
