#pragma once
// A vertical window in a room wall (straight, vertical sloped or horizontal sloped), identified
// within its room by the pair (wall id, window id).
// Note: "start" runs along the wall from the wall's start vertex; the room lies to the left of the
// wall's direction, so the window's daylight area extends to that side.

#include "dxf/Point.h"
#include "products/ZoneObjList.h"

#include <string>

enum { VWT_VERTICAL = 0, VWT_VERTICAL_SLOPED = 1, VWT_HORIZONTAL_SLOPED = 2 };

class CLENIWindow {
  public:
    double m_dWidth = 0.0;             // "wide", along the wall
    double m_dHeight = 0.0;            // "high"
    double m_dSillHeight = 0.0;        // "y", bottom edge above the floor
    double m_dStart = 0.0;             // "x", from the wall's start
    int m_iWallId = -1;                // "wallid"
    int m_iWindowId = -1;              // "windowid"
    double m_dTauD65 = 0.85;           // "td65"
    double m_dK1 = 0.95;               // "k1"
    double m_dK2 = 0.8;                // "k2"
    double m_dK3 = 0.85;               // "k3"
    double m_dFrontAngle = 0.0;        // "frontangle"
    double m_dSideAngle = 0.0;         // "sideangle"
    double m_dOverhangAngle = 0.0;     // "overhangangle"
    bool m_bHasGdf = false;            // "hasgdf"
    double m_dGdfTau = 0.85;           // "gdftau"
    double m_dGdfK1 = 1.0;             // "gdfk1"
    double m_dGdfK2 = 1.0;             // "gdfk2"
    double m_dGdfK3 = 1.0;             // "gdfk3"
    std::string m_csAtriumName;        // "AtriumName"; empty when the window faces outside
    CZoneObjList m_LumList;            // luminaires of the daylight area
    int m_iVertWinType = VWT_VERTICAL; // "VertWinType"
    double m_dSlopeLength = 0.0;       // "SlopeLength"
    double m_dGamma = 0.0;             // "Gamma", degrees
    double m_dDistToWall = 0.0;        // "DistToWall"
    double m_dHeightToSlope = 0.0;     // "HeightToSlope"
    int m_iSlopeType = 1;              // "SlopeType"
    double m_dTD65SA = 0.5;            // "TD65SA"

    double GetLintelHeight() const { return m_dSillHeight + m_dHeight; }
    // "W_<wall>_<window>" as shown on the floor plan.
    std::string GetLabel() const;
    std::string GetDaylightAreaLabel() const;

    // "Vertical", "Vertical Sloped", "Horizontal Sloped"; empty for another value.
    static std::string GetVertWinTypeName(int type);
};

// How a vertical equivalent was found, for the calculation to account for: the glazing's lower
// edge B and top C before and after turning about the foot of the slope, and whether the top was
// lowered to the room height.
struct SVerticalEquivalentWorking {
    double gamma = 0.0;
    double slopeLength = 0.0;
    double heightToSlope = 0.0;
    double distToWall = 0.0;
    Point originalB, turnedB, originalC, turnedC;
    bool lowered = false;
    double roomHeight = 0.0;
};

// The vertical window that stands for a vertical sloped window in a room of height h: the
// glazing turned up about its lower edge, lowered where needed so its top stays within h.
// working, when given, receives the steps.
CLENIWindow GetVerticalEquivalent(const CLENIWindow& window, double h,
                                  SVerticalEquivalentWorking* working = nullptr);
