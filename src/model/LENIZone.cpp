#include "model/LENIZone.h"

#include "base/Logger.h"
#include "dxf/Geometry.h"
#include "model/ModelGeometry.h"
#include "tables/LENITables.h"

CLENIZone::CLENIZone() {
    Reset();
}

void CLENIZone::Reset() {
    m_csName.clear();
    m_csControlTechnique = "Manual";
    m_csOccupancyControlSystem = "1.Manual On/Off Switch";
    m_Polygon.clear();
    m_LumList.Clear();
    m_dZoneLux = 500.0;
    m_dRealLux = 500.0;
    m_dFa = 0.5;
    m_iFoMode = FOMODE_ONE;
    m_bCIC = false;
    m_dFcc = 1.0;
    m_bCLO = false;
    m_bPrintMe = false;
}

bool CLENIZone::InitFromDxfPline(const std::string& name, const CDxfPline* pline) {
    if (name.empty()) {
        Log().Printf(LOG_ERROR, "CLENIZone::IFDP with empty name.");
        return false;
    }
    Polygon polygon;
    if (pline) InitPolygonFromDxfPline(polygon, pline);
    if (polygon.size() < 3) {
        Log().Printf(LOG_ERROR, "CLENIZone::IFDP bad pPline parameter.");
        return false;
    }
    m_csName = name;
    SetPolygon(polygon);
    return true;
}

bool CLENIZone::InitFromPolygon(const std::string& name, const Polygon& polygon) {
    if (name.empty()) {
        Log().Printf(LOG_ERROR, "CLENIZone::IFDP with empty name.");
        return false;
    }
    if (polygon.size() < 3) {
        Log().Printf(LOG_ERROR, "CLENIZone::IFDP bad pPline parameter.");
        return false;
    }
    m_csName = name;
    SetPolygon(polygon);
    return true;
}

bool CLENIZone::SetControlTechnique(const std::string& name) {
    if (!CLENITables::IsValidControlTechnique(name)) {
        Log().Printf(LOG_ERROR, "CLENIZone::SCT %s is not a valid control technique", name.c_str());
        return false;
    }
    m_csControlTechnique = name;
    return true;
}

void CLENIZone::SetPolygon(const Polygon& polygon) {
    m_Polygon = polygon;
    NormalisePolygon(m_Polygon);
}

double CLENIZone::GetArea() const {
    return m_Polygon.size() < 3 ? 0.0 : CalcPolygonArea(m_Polygon);
}

bool CLENIZone::SetZoneIlluminance(double lux) {
    if (!CLENITables::IsValidZoneLux(lux)) {
        Log().Printf(LOG_ERROR, "CLENIZone::SZLE %.3f is not a valid zone lux", lux);
        return false;
    }
    m_dZoneLux = lux;
    return true;
}

bool CLENIZone::SetRealIlluminance(double lux) {
    // Written so that NaN fails as well.
    if (!(lux > 0.0 && lux <= 10000.0)) {
        Log().Printf(LOG_ERROR, "CLENIZone::SERJ %.3f is not a valid lux", lux);
        return false;
    }
    m_dRealLux = lux;
    return true;
}

bool CLENIZone::SetFa(double fa) {
    if (!(fa >= 0.0 && fa <= 1.0)) {
        Log().Printf(LOG_ERROR, "CLENIZone::SFAF(%.3f) out of range.", fa);
        return false;
    }
    m_dFa = fa;
    return true;
}
