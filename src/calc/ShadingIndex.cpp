#include "calc/ShadingIndex.h"

#include "calc/CalcLog.h"
#include "dxf/Geometry.h"
#include "model/LENIAtrium.h"
#include "model/LENIFloor.h"
#include "model/LENIProject.h"
#include "model/LENIWindow.h"

#include <cmath>

namespace {
// The value of pi the established results were computed with.
constexpr double kPi = 3.14159265359;
// Areas below a thousand times the smallest normal double count as none.
constexpr double kMinAtriumArea = 2.2250738585072014e-305;
} // namespace

double GetAtriumWellIndex(const Polygon& polygon, double heightToTop) {
    double perimeter = 0.0;
    for (size_t i = 0; i < polygon.size(); ++i)
        perimeter += Distance2D(polygon[i], polygon[(i + 1) % polygon.size()]);
    double area = polygon.size() < 3 ? 0.0 : CalcPolygonArea(polygon);
    if (!(area >= kMinAtriumArea)) return 0.0;
    return (perimeter * 0.5 * heightToTop) / area;
}

double GetShadingIndex(const ShadingIndexInput& in) {
    double ishis = in.frontAngle >= 60.0 ? 0.0 : std::cos(in.frontAngle * kPi / 180.0 * 1.5);
    double issha = in.overhangAngle >= 67.5 ? 0.0 : std::cos(in.overhangAngle * kPi / 180.0 * 1.33);
    double ishva = 1.0 - in.sideAngle / 300.0;

    double kIshAtrium = 1.0;
    if (in.atrium && !in.atriumName.empty()) {
        const AtriumShadingData& atrium = *in.atrium;
        double wi = GetAtriumWellIndex(atrium.polygon, in.heightToTop);
        CalcLogPrintf("    Atrium %s hToTopFloor=%.2f wi=%.2f", in.atriumName.c_str(), in.heightToTop, wi);
        if (atrium.kind == ATRIUM_COURTYARD) {
            // Not limited like an atrium: a deep courtyard can give a negative factor.
            kIshAtrium = 1.0 - wi * 0.85;
            CalcLogPrintf("    Atrium courtyard returning kIshinat=%.2f", kIshAtrium);
        } else if (wi > 1.18) {
            kIshAtrium = 0.0;
            CalcLogPrintf("    Atrium kWellIndex > 1.18 returning 0.0");
        } else {
            kIshAtrium = (atrium.k1 * atrium.transmittance * atrium.k2 * atrium.k3) * (1.0 - wi * 0.85);
            CalcLogPrintf("    Atrium kIshinat = %.3f", kIshAtrium);
        }
    }
    CalcLogPrintf("    Shading index, Ishis=%.3f Issha=%.3f Ishva=%.3f kIshAtrium=%.3f", ishis, issha, ishva,
                  kIshAtrium);
    double kGdf = in.hasGlazedDoubleFacade ? in.gdfK1 * in.gdfTau * in.gdfK2 * in.gdfK3 : 1.0;
    return (((issha * ishis) * ishva) * kGdf) * kIshAtrium;
}

double GetAtriumWellIndex(const CLENIAtrium& atrium, double heightToTop) {
    return GetAtriumWellIndex(atrium.m_Polygon, heightToTop);
}

double GetShadingIndex(const CLENIWindow& window, const CLENIFloor& floor, const CLENIProject& project) {
    ShadingIndexInput in;
    in.frontAngle = window.m_dFrontAngle;
    in.overhangAngle = window.m_dOverhangAngle;
    in.sideAngle = window.m_dSideAngle;
    in.hasGlazedDoubleFacade = window.m_bHasGdf;
    in.gdfTau = window.m_dGdfTau;
    in.gdfK1 = window.m_dGdfK1;
    in.gdfK2 = window.m_dGdfK2;
    in.gdfK3 = window.m_dGdfK3;
    in.atriumName = window.m_csAtriumName;
    in.heightToTop = project.GetHeightFromFloorToTop(floor);
    AtriumShadingData atrium;
    if (const CLENIAtrium* found =
            window.m_csAtriumName.empty() ? nullptr : floor.FindAtrium(window.m_csAtriumName)) {
        atrium.polygon = found->m_Polygon;
        atrium.kind = found->m_iKind;
        atrium.transmittance = found->m_dTrans;
        atrium.k1 = found->m_dK1;
        atrium.k2 = found->m_dK2;
        atrium.k3 = found->m_dK3;
        in.atrium = &atrium;
    }
    return GetShadingIndex(in);
}
