#include "calc/ShadingIndex.h"

#include "calc/CalcLog.h"
#include "dxf/Geometry.h"

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
        if (atrium.kind == ATRIUM_KIND_COURTYARD) {
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
