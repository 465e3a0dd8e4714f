#include "calc/RoofLightDaylight.h"

#include "calc/CalcLog.h"
#include "tables/DaylightTables.h"

#include "model/LENIRoom.h"
#include "model/LENIZone.h"

#include <algorithm>

namespace {
int ClassWithoutShading(double dbar) {
    if (dbar >= 7.0) return DAYLIGHT_CLASS_STRONG;
    if (dbar >= 4.0) return DAYLIGHT_CLASS_MEDIUM;
    return DAYLIGHT_CLASS_WEAK;
}

int ClassWithShading(double dbar) {
    if (dbar >= 2.5) return DAYLIGHT_CLASS_STRONG;
    if (dbar >= 1.5) return DAYLIGHT_CLASS_MEDIUM;
    return DAYLIGHT_CLASS_WEAK;
}
} // namespace

double GetRoomIndex(const Polygon& roomPolygon, double roomHeight) {
    if (roomPolygon.empty()) return 0.0;
    double minX = roomPolygon[0].x, maxX = minX, minY = roomPolygon[0].y, maxY = minY;
    for (const Point& p : roomPolygon) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    const double dx = maxX - minX, dy = maxY - minY;
    const double denominator = (dx + dy) * roomHeight;
    return denominator > 0.0 ? (dx * dy) / denominator : 0.0;
}

double GetMeanDaylightFactor(const RoofLightDaylightData& rl, bool withShading, double roomIndex,
                             double area) {
    const double tau = withShading ? rl.tauSa : rl.tauSna;
    const double kGamma = GetRoofLightSlopeFactor(rl.gammaF);
    const double eta = GetUtilisationFactor(rl.type, rl.width, rl.length, rl.hs, rl.hw, rl.hg, rl.gammaF,
                                            rl.gammaW, roomIndex);
    // A daylight area outside the zone lights nothing of it, like a window's transparency index of 0.
    const double areaRatio = area > 0.0 ? (rl.width * rl.length) / area : 0.0;
    return tau * kGamma * (rl.kObl2 * rl.kObl1 * rl.kObl3) * areaRatio * eta;
}

double GetDaylightDependencyFactorFdRoofLight(const RoofLightDaylightInput& in) {
    const RoofLightDaylightData& rl = in.roofLight;
    const double dbarSna = GetMeanDaylightFactor(rl, false, in.roomIndex, in.area);
    const double dbarSa = GetMeanDaylightFactor(rl, true, in.roomIndex, in.area);

    const double trelsna = GetRoofLightTrelsna(rl.orientation, rl.gammaF, in.latitude);
    const double trelsa = 1.0 - trelsna;

    const int classSna = ClassWithoutShading(dbarSna);
    const int classSa = ClassWithShading(dbarSa);

    CalcLogPrintf("    GetDaylightDependencyFactorFdRoofLight %d Trelsna=%.3f Trelsa=%.3f\n", rl.id, trelsna,
                  trelsa);
    CalcLogPrintf("        Dbar_sna=%.3f Dbar_sa=%.3f\n", dbarSna, dbarSa);
    CalcLogPrintf("        eOrient = %s Slope Degs=%.1f\n",
                  CLENIRoofLight::GetRLOrientString(rl.orientation).c_str(), rl.gammaF);
    CalcLogPrintf("        Class sna = %s Class sa=%s\n", GetDaylightClassName(classSna),
                  GetDaylightClassName(classSa));

    const int row = GetRoofLightTableRow(rl.orientation, rl.gammaF);
    const double fdsSna = GetRoofLightSupplyFactor(false, row, classSna, in.em);
    const double fdsSa = GetRoofLightSupplyFactor(true, row, classSa, in.em);
    const double fds = fdsSa * trelsa + fdsSna * trelsna;

    const double fdcSna = GetLightingControlFactorFdcj(in.controlTechnique, classSna, in.em);
    const double fdcSa = GetLightingControlFactorFdcj(in.controlTechnique, classSa, in.em);
    const double fdc = fdcSa * trelsa + fdcSna * trelsna;

    CalcLogPrintf("        kDaylightSupplyFactorFds=%.3f", fds);

    const double v = GetRoofLightMonthlyFactorV(in.timeStep);
    if (in.timeStep >= 1 && in.timeStep <= 12)
        CalcLogPrintf("        V=%.3f for period <%s>\n", v, GetTimeStepName(in.timeStep).c_str());

    const double fd = 1.0 - ((v * fds) * fdc);
    CalcLogPrintf("        Fd[%.3f] = 1.0 - (VFactor[%.3f]*Fds[%.3f]*Fdc[%.3f])", fd, v, fds, fdc);
    return fd;
}

RoofLightDaylightData GetRoofLightDaylightData(const CLENIRoofLight& roofLight) {
    RoofLightDaylightData rl;
    rl.id = roofLight.m_iId;
    rl.type = roofLight.m_iType;
    rl.orientation = roofLight.GetOrientation();
    rl.width = roofLight.m_dYWidth;
    rl.length = roofLight.m_dXLength;
    rl.tauSna = roofLight.m_dTauD65Sna;
    rl.tauSa = roofLight.m_dTauD65Sa;
    rl.kObl1 = roofLight.m_dKObl1;
    rl.kObl2 = roofLight.m_dKObl2;
    rl.kObl3 = roofLight.m_dKObl3;
    rl.hw = roofLight.m_dHw;
    rl.hg = roofLight.m_dHg;
    rl.hs = roofLight.m_dHs;
    rl.gammaF = roofLight.m_dGammaF;
    rl.gammaW = roofLight.m_dGammaW;
    return rl;
}

double GetMeanDaylightFactor(const CLENIRoofLight& roofLight, bool withShading, double roomIndex,
                             double area) {
    return GetMeanDaylightFactor(GetRoofLightDaylightData(roofLight), withShading, roomIndex, area);
}

double GetUtilisationFactor(const CLENIRoofLight& roofLight, double roomIndex) {
    const RoofLightDaylightData rl = GetRoofLightDaylightData(roofLight);
    return GetUtilisationFactor(rl.type, rl.width, rl.length, rl.hs, rl.hw, rl.hg, rl.gammaF, rl.gammaW,
                                roomIndex);
}

double GetDaylightDependencyFactorFdRoofLight(const CLENIRoofLight& roofLight, const CLENIRoom& room,
                                              const CLENIZone& zone, double area, double latitude,
                                              unsigned timeStep) {
    RoofLightDaylightInput in;
    in.roofLight = GetRoofLightDaylightData(roofLight);
    in.roomIndex = GetRoomIndex(room.GetPolygon(), room.GetHeight());
    in.controlTechnique = zone.GetControlTechnique();
    in.em = zone.GetZoneIlluminance();
    in.area = area;
    in.latitude = latitude;
    in.timeStep = timeStep;
    return GetDaylightDependencyFactorFdRoofLight(in);
}
