#include "calc/DaylightWindow.h"

#include "base/Logger.h"
#include "calc/CalcLog.h"
#include "tables/DaylightTables.h"
#include "tables/FdssnaTables.h"

#include "model/LENIFloor.h"
#include "model/LENIProject.h"
#include "model/LENIRoom.h"

#include <cmath>

int GetFacadeOfWallDirection(const Point& direction) {
    if (std::fabs(direction.y) > std::fabs(direction.x)) return FACADE_EASTWEST;
    if (direction.x > 0.0) return FACADE_SOUTH;
    if (direction.x < 0.0) return FACADE_NORTH;
    Log().Printf(LOG_ERROR, "GDFD: Cannot get wall facing direction. Wall direction = %.1f %.1f", direction.x,
                 direction.y);
    return FACADE_SOUTH;
}

int GetDaylightClassOfDcaj(double dcaj) {
    int daylightClass = DAYLIGHT_CLASS_WEAK;
    if (dcaj >= 6.0) {
        daylightClass = DAYLIGHT_CLASS_STRONG;
        CalcLogPrintf("    Daylight class = Strong (kDaylightFactorPcent,Dcaj=%.3f)", dcaj);
    } else if (dcaj >= 4.0) {
        daylightClass = DAYLIGHT_CLASS_MEDIUM;
        CalcLogPrintf("    Daylight class = Medium (kDaylightFactorPcent,Dcaj=%.3f)", dcaj);
    } else if (dcaj >= 2.0) {
        CalcLogPrintf("    Daylight class = Low (kDaylightFactorPcent,Dcaj=%.3f)", dcaj);
    }

    return daylightClass;
}

double GetDaylightDependencyFactorFd(const WindowDaylightInput& in) {
    const double area = in.area;
    CalcLogPrintf("    GetDcajOfWindow, clipped DaylightArea=%.3f", area);

    const double hLi = in.height + in.sill - in.workSurfaceHeight;
    const double depth = std::fmin(in.roomDepth, 2.5 * hLi);
    // A lintel level with the work plane would give 0 / 0; 2.5 is the index on both sides of it.
    const double spaceDepthIndex = hLi != 0.0 ? depth / hLi : 2.5;

    const double effectiveArea = in.workSurfaceHeight > in.sill
                                     ? in.width * (in.height - (in.workSurfaceHeight - in.sill))
                                     : in.width * in.height;
    const double transparencyIndex = area > 0.0 ? effectiveArea / area : 0.0;
    CalcLogPrintf("    TransparencyIndex = EffectiveWindowArea(%.3f) / DaylightArea(%.3f) = %.3f(Itrj)",
                  effectiveArea, area, transparencyIndex);

    auto shadingIndex = [&in] { return in.shadingIndex ? in.shadingIndex() : GetShadingIndex(in.shading); };
    double ish = shadingIndex();
    const double dcaj = ((transparencyIndex * 20.0 + 4.13) - spaceDepthIndex * 1.36) * ish;
    CalcLogPrintf("    GetDcajOfWindow, TransparencyIndex=%.3f, SpaceDepthIndex=%.3f,  ShadingIndex=%.3f",
                  transparencyIndex, spaceDepthIndex, ish);
    CalcLogPrintf("    kDcaj =  (4.13 + (20.0*%.3f) - (1.36*%.3f))*%.3f = %.3f", transparencyIndex,
                  spaceDepthIndex, ish, dcaj);

    const int daylightClass = GetDaylightClassOfDcaj(dcaj);

    const double tauEff = in.k1 * in.tauD65 * in.k2 * in.k3;
    const double daylightFactor = dcaj * tauEff;
    CalcLogPrintf("    kDaylightFactorPcent[%.3f]= kDcaj[%.3f]*kTeff[%.3f]", daylightFactor, dcaj, tauEff);

    const int facade = GetFacadeOfWallDirection(in.wallDirection);
    const double fdssna =
        GetDaylightSupplyFactorFdssna(in.latitude, in.em, in.hdirHglob, daylightFactor, facade);
    const double fdssa = GetDaylightSupplyFactorFdssa(in.shadingType, daylightClass);

    double trelsna = GetTrelSna(facade, in.hdirHglob, in.latitude);
    ish = shadingIndex();
    if (ish < 0.5) {
        CalcLogPrintf("    kIshj[%.3f] < 0.5 so changing Trelsna[%.3f] to 1.0 (see F.3.2.3)", ish, trelsna);
        trelsna = 1.0;
    }
    const double fds = (1.0 - trelsna) * fdssa + trelsna * fdssna;
    CalcLogPrintf("    Fds[%.3f]= (Trelsna[%.3f]*kFdssna[%.3f]) + (kTrelsa[%.3f]*kFdssa[%.3f])", fds, trelsna,
                  fdssna, 1.0 - trelsna, fdssa);

    const double fdc = GetLightingControlFactorFdcj(in.controlTechnique, daylightClass, in.em);

    const double v = GetWindowMonthlyFactorV(in.timeStep, in.shadingType, facade);
    CalcLogPrintf("    GetDaylightDependencyFactorFd %s V = %.3f\n", GetTimeStepName(in.timeStep).c_str(), v);

    const double fd = 1.0 - ((v * fdc) * fds);
    CalcLogPrintf("    Daylight Dependency Factor = Fd[%.3f] = 1.0 - Fdc[%.3f]*Fds[%.3f] (of window)", fd,
                  fdc, fds);
    return fd;
}

double GetDaylightDependencyFactorFd(const CLENIWindow& window, const CLENIZone& zone, const CLENIRoom& room,
                                     const CLENIFloor& floor, double area, double hdirHglob, double latitude,
                                     unsigned timeStep, const CLENIProject& project) {
    WindowDaylightInput in;
    in.width = window.m_dWidth;
    in.height = window.m_dHeight;
    in.sill = window.m_dSillHeight;
    in.tauD65 = window.m_dTauD65;
    in.k1 = window.m_dK1;
    in.k2 = window.m_dK2;
    in.k3 = window.m_dK3;
    in.shadingIndex = [&] { return GetShadingIndex(window, floor, project); };
    in.workSurfaceHeight = room.GetWrkSrfHi();
    in.shadingType = room.GetShadingType();
    in.roomDepth = room.GetRoomDepthAtWindow(window);
    in.wallDirection = room.GetWallDirectionVector(window.m_iWallId);
    in.controlTechnique = zone.GetControlTechnique();
    in.em = zone.GetZoneIlluminance();
    in.latitude = latitude;
    in.hdirHglob = hdirHglob;
    in.timeStep = timeStep;
    in.area = area;
    return GetDaylightDependencyFactorFd(in);
}

CLENIWindow GetLoggedVerticalEquivalent(const CLENIWindow& window, double h) {
    SVerticalEquivalentWorking w;
    const CLENIWindow vertical = GetVerticalEquivalent(window, h, &w);
    CalcLogPrintf("        Get vertical equivalent of sloped window, slope=%6.1f, lunghezza=%6.1f", w.gamma,
                  w.slopeLength);
    CalcLogPrintf("        HeightFrom Floor = %6.3f DistFromWall = %6.3f ", w.heightToSlope, w.distToWall);
    CalcLogPrintf("        Original B = %6.3f %6.3f", w.originalB.x, w.originalB.y);
    CalcLogPrintf("             New B = %6.3f %6.3f", w.turnedB.x, w.turnedB.y);
    CalcLogPrintf("        Original C = %6.3f %6.3f", w.originalC.x, w.originalC.y);
    CalcLogPrintf("             New C = %6.3f %6.3f", w.turnedC.x, w.turnedC.y);
    if (w.lowered) CalcLogPrintf("           Moved C = %6.3f %6.3f", w.turnedC.x, w.roomHeight);
    CalcLogPrintf("        vertical height of rotated window = %6.3f", vertical.m_dHeight);
    CalcLogPrintf("                    top of rotated window = %6.3f",
                  vertical.m_dHeight + vertical.m_dSillHeight);
    CalcLogPrintf("                 bottom of rotated window = %6.3f", vertical.m_dSillHeight);
    return vertical;
}
