#include "model/FieldRanges.h"

#include "base/Logger.h"
#include "model/LENIAtrium.h"
#include "model/LENIRoofLight.h"
#include "model/LENIWindow.h"

#include <limits>

namespace {

constexpr double kNoLimit = std::numeric_limits<double>::infinity();

template <class T> struct Range {
    const char* field;
    double T::*member;
    double min, max;
};

void Clamp(const std::string& element, const char* field, double& value, double min, double max) {
    if (value >= min && value <= max) return;
    const double limit = value < min ? min : max;
    Log().Printf(LOG_ERROR, "%s: %s = %g is %s %g, which it cannot be; %g is used.", element.c_str(), field, value,
                 value < min ? "below" : "above", limit, limit);
    value = limit;
}

template <class T, size_t N> void ClampAll(T& object, const std::string& element, const Range<T> (&ranges)[N]) {
    for (const Range<T>& r : ranges)
        Clamp(element, r.field, object.*(r.member), r.min, r.max);
}

} // namespace

void KeepInRange(CLENIWindow& w, const std::string& room) {
    static const Range<CLENIWindow> ranges[] = {
        {"wide", &CLENIWindow::m_dWidth, 0.0, kNoLimit},
        {"high", &CLENIWindow::m_dHeight, 0.0, kNoLimit},
        {"x", &CLENIWindow::m_dStart, 0.0, kNoLimit},
        {"y", &CLENIWindow::m_dSillHeight, 0.0, kNoLimit},
        {"td65", &CLENIWindow::m_dTauD65, 0.0, 1.0},
        {"k1", &CLENIWindow::m_dK1, 0.0, 1.0},
        {"k2", &CLENIWindow::m_dK2, 0.0, 1.0},
        {"k3", &CLENIWindow::m_dK3, 0.0, 1.0},
        {"gdftau", &CLENIWindow::m_dGdfTau, 0.0, 1.0},
        {"gdfk1", &CLENIWindow::m_dGdfK1, 0.0, 1.0},
        {"gdfk2", &CLENIWindow::m_dGdfK2, 0.0, 1.0},
        {"gdfk3", &CLENIWindow::m_dGdfK3, 0.0, 1.0},
        {"frontangle", &CLENIWindow::m_dFrontAngle, 0.0, 90.0},
        {"sideangle", &CLENIWindow::m_dSideAngle, 0.0, 90.0},
        {"overhangangle", &CLENIWindow::m_dOverhangAngle, 0.0, 90.0},
        {"DistToWall", &CLENIWindow::m_dDistToWall, 0.0, kNoLimit},
        {"Gamma", &CLENIWindow::m_dGamma, 0.0, 90.0},
        {"SlopeLength", &CLENIWindow::m_dSlopeLength, 0.0, kNoLimit},
        {"HeightToSlope", &CLENIWindow::m_dHeightToSlope, 0.0, kNoLimit},
        {"TD65SA", &CLENIWindow::m_dTD65SA, 0.0, 1.0},
    };
    ClampAll(w, "Window " + w.GetLabel() + " of room <" + room + ">", ranges);
}

void KeepInRange(CLENIRoofLight& r, const std::string& room) {
    static const Range<CLENIRoofLight> ranges[] = {
        {"XLength", &CLENIRoofLight::m_dXLength, 0.0, kNoLimit},
        {"YWidth", &CLENIRoofLight::m_dYWidth, 0.0, kNoLimit},
        {"TauD65Sna", &CLENIRoofLight::m_dTauD65Sna, 0.0, 1.0},
        {"TauD65Sa", &CLENIRoofLight::m_dTauD65Sa, 0.0, 1.0},
        {"kObl1", &CLENIRoofLight::m_dKObl1, 0.0, 1.0},
        {"kObl2", &CLENIRoofLight::m_dKObl2, 0.0, 1.0},
        {"kObl3", &CLENIRoofLight::m_dKObl3, 0.0, 1.0},
        {"hw", &CLENIRoofLight::m_dHw, 0.0, kNoLimit},
        {"hg", &CLENIRoofLight::m_dHg, 0.0, kNoLimit},
        {"hs", &CLENIRoofLight::m_dHs, 0.0, kNoLimit},
        {"GammaF", &CLENIRoofLight::m_dGammaF, 0.0, 90.0},
        {"GammaW", &CLENIRoofLight::m_dGammaW, 0.0, 90.0},
    };
    ClampAll(r, "Roof light " + r.GetLabel() + " of room <" + room + ">", ranges);
}

void KeepInRange(CLENIAtrium& a) {
    static const Range<CLENIAtrium> ranges[] = {
        {"trans", &CLENIAtrium::m_dTrans, 0.0, 1.0},
        {"k1", &CLENIAtrium::m_dK1, 0.0, 1.0},
        {"k2", &CLENIAtrium::m_dK2, 0.0, 1.0},
        {"k3", &CLENIAtrium::m_dK3, 0.0, 1.0},
    };
    ClampAll(a, "Atrium <" + a.m_csName + ">", ranges);
}

void KeepProjectNumbersInRange(double& latitude, double& longitude, double& mf, double& hdirHglob) {
    Clamp("Project", "Latitude", latitude, -90.0, 90.0);
    Clamp("Project", "Longitude", longitude, -180.0, 180.0);
    Clamp("Project", "MF", mf, 0.0, 1.0);
    Clamp("Project", "HdirHglob", hdirHglob, 0.0, 1.0);
}
