#pragma once
// A roof light in the ceiling of a room, identified within the room by its id. Its position is
// relative to the room's reference point (smallest x and smallest y of the room outline).

#include "products/ZoneObjList.h"
#include "tables/OpeningCodes.h" // the types RL_* and orientations RLO_*

#include <string>

class CLENIRoofLight {
  public:
    double m_dYWidth = 1.0;     // "YWidth", along y
    double m_dXLength = 4.0;    // "XLength", along x
    double m_dXOrig = 1.0;      // "XOrig"
    double m_dYOrig = 1.0;      // "YOrig"
    double m_dZOrig = 0.0;      // not stored in the file
    int m_iId = -1;             // "id"
    int m_iType = RL_FLAT;      // "type": "FlatRoofLight" or "ShedRoofLight"
    double m_dTauD65Sna = 0.85; // "TauD65Sna", shading not activated
    double m_dTauD65Sa = 0.5;   // "TauD65Sa", shading activated
    double m_dKObl1 = 0.9;      // "kObl1"
    double m_dKObl2 = 0.9;      // "kObl2"
    double m_dKObl3 = 0.85;     // "kObl3"
    double m_dHw = 1.0;         // "hw"
    double m_dHg = 1.0;         // "hg"
    double m_dHs = 1.0;         // "hs"
    double m_dGammaF = 60.0;    // "GammaF", degrees
    double m_dGammaW = 30.0;    // "GammaW", degrees
    CZoneObjList m_LumList;     // luminaires of the daylight area

    int GetOrientation() const { return m_iOrientation; }
    // "orient": clamped to 0..5.
    void SetOrientation(int orientation);

    // "AD_<id>" as shown on the floor plan.
    std::string GetLabel() const;
    // "FlatRoofLight" or "ShedRoofLight".
    std::string GetTypeName() const;
    static int GetTypeFromName(const std::string& name);
    // "Horizontal", "South", ...; an unnamed value logs and gives "Horizontal".
    static std::string GetRLOrientString(int orientation);

  private:
    int m_iOrientation = RLO_HORIZONTAL; // "orient"
};
