#include "ui/view3d/OglViewState.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double kPi = 3.14159265359;

// Column-major 4 x 4 products, as OpenGL keeps them: out = a x b.
void Multiply(const double a[16], const double b[16], double out[16]) {
    double r[16];
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            double s = 0.0;
            for (int k = 0; k < 4; ++k)
                s += a[k * 4 + row] * b[c * 4 + k];
            r[c * 4 + row] = s;
        }
    std::memcpy(out, r, sizeof r);
}

void Identity(double m[16]) {
    for (int i = 0; i < 16; ++i)
        m[i] = (i % 5 == 0) ? 1.0 : 0.0;
}

void Translate(double m[16], double x, double y, double z) {
    double t[16];
    Identity(t);
    t[12] = x;
    t[13] = y;
    t[14] = z;
    Multiply(m, t, m);
}

void Scale(double m[16], double x, double y, double z) {
    double s[16];
    Identity(s);
    s[0] = x;
    s[5] = y;
    s[10] = z;
    Multiply(m, s, m);
}

// As glRotated about one of the axes (0 x, 1 y, 2 z).
void Rotate(double m[16], double degrees, int axis) {
    const double r = degrees * kPi / 180.0, c = std::cos(r), s = std::sin(r);
    double t[16];
    Identity(t);
    const int i = (axis + 1) % 3, j = (axis + 2) % 3;
    t[i * 4 + i] = c;
    t[j * 4 + j] = c;
    t[i * 4 + j] = s;
    t[j * 4 + i] = -s;
    Multiply(m, t, m);
}

} // namespace

void COglViewState::SetView(double rotX, double rotY, double rotZ) {
    m_dRotX = rotX;
    m_dRotY = rotY;
    m_dRotZ = rotZ;
    m_dPanX = m_dPanY = 0.0;
    m_dZoom = 1.0;
}

void COglViewState::Rotate(int dx, int dy) {
    m_dRotX = std::clamp(m_dRotX - dy, -180.0, 0.0);
    m_dRotY = 0.0;
    m_dRotZ -= dx;
    while (m_dRotZ > 180.0)
        m_dRotZ -= 360.0;
    while (m_dRotZ < -180.0)
        m_dRotZ += 360.0;
}

void COglViewState::Pan(int dx, int dy) {
    m_dPanX += 15.0 * dx / m_dZoom;
    m_dPanY += -15.0 * dy / m_dZoom;
}

bool COglViewState::Wheel(int delta) {
    const double zoom = m_dZoom + kZoomPerNotch * delta / kWheelUnitsPerNotch;
    // A small allowance, so that ten notches from 1.0 still reach 0.5 despite rounding.
    if (zoom < kMinZoom - 1e-9 || zoom > kMaxZoom + 1e-9) return false;
    m_dZoom = zoom;
    return true;
}

void COglViewState::GetProjection(double aspect, double out[16]) const {
    // glOrtho(-a / zoom, a / zoom, -1 / zoom, 1 / zoom, 1, -1).
    const double r = aspect / m_dZoom, t = 1.0 / m_dZoom, n = 1.0, f = -1.0;
    Identity(out);
    out[0] = 1.0 / r;
    out[5] = 1.0 / t;
    out[10] = -2.0 / (f - n);
    out[14] = -(f + n) / (f - n);
}

void COglViewState::GetModelView(double out[16]) const {
    Identity(out);
    Scale(out, 1.0, 1.0, -1.0);
    Translate(out, -m_dPanX / 4000.0, -m_dPanY / 4000.0, 0.0);
    ::Rotate(out, m_dRotX, 0);
    ::Rotate(out, m_dRotY, 1);
    ::Rotate(out, m_dRotZ, 2);
    const double largest =
        std::max({m_BoxMax.x - m_BoxMin.x, m_BoxMax.y - m_BoxMin.y, m_BoxMax.z - m_BoxMin.z, 0.0});
    // An empty box (a drawing of one point) is drawn unscaled rather than divided by zero.
    const double s = largest > 0.0 ? 1.4 / largest : 1.0;
    Scale(out, s, s, s);
    Translate(out, -(m_BoxMin.x + m_BoxMax.x) / 2.0, -(m_BoxMin.y + m_BoxMax.y) / 2.0,
              -(m_BoxMin.z + m_BoxMax.z) / 2.0);
}

Point COglViewState::ToDevice(const Point& p, double aspect) const {
    double mv[16], pr[16], m[16];
    GetModelView(mv);
    GetProjection(aspect, pr);
    Multiply(pr, mv, m);
    const double v[4] = {p.x, p.y, p.z, 1.0};
    double r[4];
    for (int row = 0; row < 4; ++row)
        r[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
    return Point(r[0] / r[3], r[1] / r[3], r[2] / r[3]);
}

bool COglViewState::operator==(const COglViewState& o) const {
    return m_dRotX == o.m_dRotX && m_dRotY == o.m_dRotY && m_dRotZ == o.m_dRotZ && m_dPanX == o.m_dPanX &&
           m_dPanY == o.m_dPanY && m_dZoom == o.m_dZoom && m_BoxMin == o.m_BoxMin && m_BoxMax == o.m_BoxMax;
}
