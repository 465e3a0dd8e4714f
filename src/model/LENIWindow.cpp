#include "model/LENIWindow.h"

#include "base/TextUtils.h"
#include "dxf/Point.h"

#include <cmath>

std::string CLENIWindow::GetLabel() const {
    return StrPrintf("W_%d_%d", m_iWallId, m_iWindowId);
}

std::string CLENIWindow::GetDaylightAreaLabel() const {
    return StrPrintf("%s (AD)", GetLabel().c_str());
}

std::string CLENIWindow::GetVertWinTypeName(int type) {
    switch (type) {
    case VWT_VERTICAL:
        return "Vertical";
    case VWT_VERTICAL_SLOPED:
        return "Vertical Sloped";
    case VWT_HORIZONTAL_SLOPED:
        return "Horizontal Sloped";
    default:
        return std::string();
    }
}

namespace {
// Turns p counter-clockwise about a by the angle (degrees) in the vertical plane of the wall:
// x is the distance from the wall, y the height.
void RotateAbout(const Point& a, double degrees, Point& p) {
    const double pi = 3.14159265359;
    const double dx = p.x - a.x;
    const double dy = p.y - a.y;
    const double r = std::sqrt(dx * dx + dy * dy);
    const double angle = std::atan2(dy, dx) + degrees * pi / 180.0;
    p.x = a.x + r * std::cos(angle);
    p.y = a.y + r * std::sin(angle);
}
} // namespace

CLENIWindow GetVerticalEquivalent(const CLENIWindow& window, double h, SVerticalEquivalentWorking* working) {
    const double pi = 3.14159265359;
    const double gamma = window.m_dGamma;
    const double g = gamma * pi / 180.0;
    const double L = window.m_dSlopeLength;
    const double dw = window.m_dDistToWall;
    const double hs = window.m_dHeightToSlope;
    const Point A(0.0, hs);
    Point B(std::cos(g) * dw, std::sin(g) * dw + hs);
    Point C(std::cos(g) * (L + dw), std::sin(g) * (L + dw) + hs);
    const Point originalB = B, originalC = C;

    RotateAbout(A, 90.0 - gamma, B);
    RotateAbout(A, 90.0 - gamma, C);
    const Point turnedB = B, turnedC = C;
    const bool lowered = C.y > h;
    if (lowered) {
        const double excess = C.y - h;
        B.y -= excess;
        C.y = h;
    }

    CLENIWindow vertical = window;
    vertical.m_iVertWinType = VWT_VERTICAL;
    vertical.m_dSillHeight = B.y;
    vertical.m_dHeight = C.y - B.y;
    if (working) {
        working->gamma = gamma;
        working->slopeLength = L;
        working->heightToSlope = hs;
        working->distToWall = dw;
        working->originalB = originalB;
        working->turnedB = turnedB;
        working->originalC = originalC;
        working->turnedC = turnedC;
        working->lowered = lowered;
        working->roomHeight = h;
    }
    return vertical;
}
