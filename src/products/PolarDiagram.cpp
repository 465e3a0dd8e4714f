#include "products/PolarDiagram.h"

#include "base/TextUtils.h"
#include "products/Photometry.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
const Rgb kGrid = MakeRgb(190, 190, 190);
const Rgb kText = MakeRgb(60, 60, 60);

// One plane pair as one curve: from the top of the left plane down to the nadir and up the right.
std::vector<CanvasPoint> PlaneCurve(const CPhotometry& photometry, double rightPlane, int cx, int cy,
                                    double pixelsPerUnit, double limit) {
    std::vector<CanvasPoint> points;
    auto add = [&](double plane, double gamma, int side) {
        // Negative values of a damaged table are drawn at the centre; nothing leaves the picture.
        const double r = std::clamp(photometry.GetIntensity(plane, gamma) * pixelsPerUnit, 0.0, limit);
        const double a = gamma * kPi / 180.0;
        points.push_back({cx + side * static_cast<int>(std::lround(r * std::sin(a))),
                          cy + static_cast<int>(std::lround(r * std::cos(a)))});
    };
    for (int g = 180; g >= 0; --g)
        add(rightPlane + 180.0, g, -1);
    for (int g = 1; g <= 180; ++g)
        add(rightPlane, g, +1);
    return points;
}
} // namespace

double CPolarDiagram::NiceScale(double maxValue) {
    if (!(maxValue > 0) || !std::isfinite(maxValue)) return 1.0;
    const double decade = std::pow(10.0, std::floor(std::log10(maxValue)));
    for (double step : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (step * decade >= maxValue * (1 - 1e-12)) return step * decade;
    return 10.0 * decade;
}

void CPolarDiagram::Draw(IDrawCanvas& canvas, const CPhotometry& photometry, int left, int top, int size) {
    canvas.FillRect(left, top, left + size, top + size, MakeRgb(255, 255, 255));
    const CanvasFont font{"Arial", std::max(9, size / 28)};
    const int margin = font.height * 2;
    const int cx = left + size / 2, cy = top + size / 2;
    const int radius = std::max(1, size / 2 - margin);

    // Rings of equal intensity and spokes every 30 degrees.
    const double scale = NiceScale(photometry.GetMaxIntensity());
    canvas.SetPen({kGrid, 1, PEN_SOLID});
    for (int ring = 1; ring <= kRings; ++ring) {
        const int r = radius * ring / kRings;
        canvas.DrawEllipse(cx - r, cy - r, cx + r, cy + r);
    }
    for (int deg = 0; deg < 180; deg += 30) {
        const double a = deg * kPi / 180.0;
        const int dx = static_cast<int>(std::lround(radius * std::sin(a)));
        const int dy = static_cast<int>(std::lround(radius * std::cos(a)));
        canvas.DrawLine(cx - dx, cy - dy, cx + dx, cy + dy);
    }
    // Ring values up the upper axis, where most luminaires send little light.
    for (int ring = 1; ring <= kRings; ++ring) {
        const std::string value = FormatDouble("%g", scale * ring / kRings);
        canvas.DrawText(cx + 3, cy - radius * ring / kRings - font.height - 1, value, font, kText);
    }
    for (int deg : {0, 30, 60, 90, 120, 150, 180}) {
        // Angles from the nadir along the right half of the outer ring; 0 and 180 left of the axis.
        const double a = deg * kPi / 180.0;
        const std::string label = std::to_string(deg) + "\xC2\xB0";
        int x = cx + static_cast<int>(std::lround((radius + 4) * std::sin(a)));
        int y = cy + static_cast<int>(std::lround((radius + 4) * std::cos(a))) - font.height / 2;
        if (deg % 180 == 0) x = cx - canvas.GetTextWidth(label, font) - 4;
        if (deg == 0) y = cy + radius + 1;
        if (deg == 180) y = cy - radius - font.height - 1;
        canvas.DrawText(x, y, label, font, kText);
    }

    if (photometry.HasIntensities()) {
        const double pixelsPerUnit = std::isfinite(scale) ? radius / scale : 0.0;
        canvas.SetPen({kC0Colour, 2, PEN_SOLID});
        canvas.DrawPolyline(PlaneCurve(photometry, 0.0, cx, cy, pixelsPerUnit, radius));
        canvas.SetPen({kC90Colour, 2, PEN_DASH});
        canvas.DrawPolyline(PlaneCurve(photometry, 90.0, cx, cy, pixelsPerUnit, radius));
    } else {
        canvas.DrawText(left + margin, cy - font.height, "No intensity data", font, kText);
    }

    // Legend and unit in the corners.
    const int lineLength = font.height * 2;
    canvas.SetPen({kC0Colour, 2, PEN_SOLID});
    canvas.DrawLine(left + 4, top + font.height / 2 + 2, left + 4 + lineLength, top + font.height / 2 + 2);
    canvas.DrawText(left + 8 + lineLength, top + 2, "C0-C180", font, kText);
    canvas.SetPen({kC90Colour, 2, PEN_DASH});
    canvas.DrawLine(left + 4, top + font.height * 3 / 2 + 4, left + 4 + lineLength,
                    top + font.height * 3 / 2 + 4);
    canvas.DrawText(left + 8 + lineLength, top + font.height + 4, "C90-C270", font, kText);
    const std::string unit = photometry.GetIntensityUnit();
    canvas.DrawText(left + size - canvas.GetTextWidth(unit, font) - 4, top + 2, unit, font, kText);
}
