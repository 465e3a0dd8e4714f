#include "model/LENIAtrium.h"

#include "model/ModelGeometry.h"

std::string CLENIAtrium::GetKindName() const {
    return m_iKind == ATRIUM_COURTYARD ? "courtyard" : "atrium";
}

void CLENIAtrium::SetPolygon(const Polygon& polygon) {
    m_Polygon = polygon;
    NormalisePolygon(m_Polygon);
}
