#pragma once
// An atrium or courtyard on a floor that windows can face; identified within the floor by its name.

#include "dxf/Point.h"

#include <string>

enum { ATRIUM_COURTYARD = 0, ATRIUM_ATRIUM = 1 };

class CLENIAtrium {
  public:
    Polygon m_Polygon;           // outline, counter-clockwise
    int m_iKind = ATRIUM_ATRIUM; // "type": "atrium" or "courtyard"
    std::string m_csName;        // "atriumname"
    double m_dTrans = 1.0;       // "trans", transmittance of the atrium roof
    double m_dK1 = 1.0;          // "k1"
    double m_dK2 = 1.0;          // "k2"
    double m_dK3 = 1.0;          // "k3"

    // "atrium" or "courtyard".
    std::string GetKindName() const;
    // Stores the outline in the normal (counter-clockwise) orientation.
    void SetPolygon(const Polygon& polygon);
};
