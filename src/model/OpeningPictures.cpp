#include "model/OpeningPictures.h"

#include "base/TextUtils.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr Rgb kWhite = MakeRgb(255, 255, 255);
constexpr Rgb kBlack = MakeRgb(0, 0, 0);
constexpr Rgb kGlass = MakeRgb(0, 90, 200);
constexpr Rgb kMark = MakeRgb(190, 0, 0);
constexpr Rgb kSolid = MakeRgb(190, 190, 190);

double Radians(double degrees) {
    return degrees * kPi / 180.0;
}

int Round(double v) {
    return static_cast<int>(std::lround(v));
}

CanvasPoint Pt(double x, double y) {
    return {Round(x), Round(y)};
}

// Text height that suits the box: readable in a small frame, not shouting in a large one.
CanvasFont LabelFont(const PictureBox& box) {
    CanvasFont font;
    font.height = std::clamp(std::min(box.Height(), box.Width()) / 14, 10, 16);
    return font;
}

void Line(IDrawCanvas& c, const CanvasPen& pen, double x0, double y0, double x1, double y1) {
    c.SetPen(pen);
    c.DrawLine(Round(x0), Round(y0), Round(x1), Round(y1));
}

// An arc about (cx, cy) from angle a0 to a1 (degrees, counter-clockwise on the screen, 0 pointing
// right).
void Arc(IDrawCanvas& c, double cx, double cy, double radius, double a0, double a1) {
    c.SetPen({kMark, 1, PEN_SOLID});
    std::vector<CanvasPoint> points;
    const int steps = std::max(2, static_cast<int>(std::fabs(a1 - a0) / 5.0) + 1);
    for (int i = 0; i <= steps; ++i) {
        const double a = Radians(a0 + (a1 - a0) * i / steps);
        points.push_back(Pt(cx + radius * std::cos(a), cy - radius * std::sin(a)));
    }
    c.DrawPolyline(points);
}

// Text whose vertical middle is at y; anchored at its left end, or at its right end.
void Label(IDrawCanvas& c, const CanvasFont& font, double x, double y, const std::string& text,
           bool rightAligned = false) {
    const int width = c.GetTextWidth(text, font);
    const double left = rightAligned ? x - width : x;
    c.DrawText(Round(left), Round(y - font.height / 2.0), text, font, kMark);
}

// Dimension line between two points, with small ticks across it.
void Dimension(IDrawCanvas& c, double x0, double y0, double x1, double y1) {
    const CanvasPen pen{kMark, 1, PEN_SOLID};
    Line(c, pen, x0, y0, x1, y1);
    const double dx = x1 - x0, dy = y1 - y0;
    const double length = std::hypot(dx, dy);
    if (length <= 0.0) return;
    const double nx = -dy / length * 4.0, ny = dx / length * 4.0;
    Line(c, pen, x0 - nx, y0 - ny, x0 + nx, y0 + ny);
    Line(c, pen, x1 - nx, y1 - ny, x1 + nx, y1 + ny);
}

void Background(IDrawCanvas& c, const PictureBox& box) {
    c.FillRect(box.left, box.top, box.right, box.bottom, kWhite);
}

double Finite(double v, double fallback = 0.0) {
    return std::isfinite(v) ? v : fallback;
}

} // namespace

void DrawSlopedWindowPicture(IDrawCanvas& c, const PictureBox& box, int windowType, double heightToSlope,
                             double length, double gamma, double distance) {
    Background(c, box);
    if (windowType != 1 && windowType != 2) return;
    const CanvasFont font = LabelFont(box);
    // Sizes beyond a kilometre draw as a kilometre: their sums stay finite.
    const double h = std::clamp(Finite(heightToSlope), 0.0, 1000.0);
    const double d = std::clamp(Finite(distance), 0.0, 1000.0);
    const double l = std::clamp(Finite(length), 0.0, 1000.0);
    const double g = std::clamp(Finite(gamma), 0.0, 90.0);
    const std::string heightText = StrPrintf("h = %.1f m", Finite(heightToSlope));
    const std::string distanceText = StrPrintf("d = %.1f m", Finite(distance));
    const std::string lengthText = StrPrintf("L = %.1f m", Finite(length));
    const std::string angleText = StrPrintf("\xCE\xB3 = %.1f\xC2\xB0", Finite(gamma));

    // The section in metres: the wall from (0, 0) up to (0, h), the slope from there at g.
    const double ux = std::cos(Radians(g)), uy = std::sin(Radians(g));
    const double slope = d + l + std::max(0.25 * (d + l), 0.3);
    const double span = std::max({h, slope, 1.0});
    const double minX = -0.15 * span;
    const double maxX = std::max(slope * ux, 0.25 * span);
    const double maxY = std::max(h + slope * uy, 0.1 * span);

    const int leftRoom = c.GetTextWidth(heightText, font) + 20;
    const int rightRoom = std::max(c.GetTextWidth(distanceText, font), c.GetTextWidth(lengthText, font)) + 16;
    const double availW = std::max(1, box.Width() - leftRoom - rightRoom);
    const double availH = std::max(1, box.Height() - 4 * font.height);
    const double scale = std::min(availW / (maxX - minX), availH / maxY);
    const double x0 = box.left + leftRoom + (availW - scale * (maxX - minX)) / 2.0 - scale * minX;
    const double y0 = box.bottom - font.height;
    auto X = [&](double x) { return x0 + scale * x; };
    auto Y = [&](double y) { return y0 - scale * y; };

    const CanvasPen structure{kBlack, 3, PEN_SOLID};
    Line(c, {kBlack, 1, PEN_SOLID}, X(minX), Y(0), X(maxX), Y(0));    // floor
    Line(c, structure, X(0), Y(0), X(0), Y(h));                       // wall
    Line(c, structure, X(0), Y(h), X(slope * ux), Y(h + slope * uy)); // slope
    Line(c, {kGlass, 5, PEN_SOLID}, X(d * ux), Y(h + d * uy), X((d + l) * ux), Y(h + (d + l) * uy));

    // Height to the slope, beside the wall.
    const double dimX = X(0) - 8;
    Dimension(c, dimX, Y(0), dimX, Y(h));
    Label(c, font, dimX - 6, (Y(0) + Y(h)) / 2.0, heightText, true);

    // Distance and length along the slope, on its outer side (up and to the left of it).
    const double nx = -uy * 10.0, ny = -ux * 10.0; // screen offset away from the room
    auto along = [&](double a, double b, const std::string& text) {
        const double xa = X(a * ux) + nx, ya = Y(h + a * uy) + ny;
        const double xb = X(b * ux) + nx, yb = Y(h + b * uy) + ny;
        Dimension(c, xa, ya, xb, yb);
        const double mx = (xa + xb) / 2.0, my = (ya + yb) / 2.0;
        // Steep slopes put the text beside the line, flat ones above it.
        // Steep slopes put the text beside the line, flat ones above its lower half, where the
        // rising line stays clear of it.
        if (g >= 45.0)
            Label(c, font, mx - 6, my, text, true);
        else
            Label(c, font, mx + 2, my - 0.9 * font.height, text, true);
    };
    along(0.0, d, distanceText);
    along(d, d + l, lengthText);

    // The angle, between the horizontal and the slope.
    const double radius = std::clamp(scale * span * 0.18, 18.0, 60.0);
    Line(c, {kMark, 1, PEN_DASH}, X(0), Y(h), X(0) + radius * 1.3, Y(h));
    Arc(c, X(0), Y(h), radius, 0.0, g);
    const double mid = Radians(g / 2.0);
    Label(c, font, X(0) + (radius + 6) * std::cos(mid), Y(h) - (radius + 6) * std::sin(mid), angleText);
}

std::string GetShadingPictureSymbol(int kind) {
    switch (kind) {
    case SHADING_PICTURE_FRONT:
        return "I Sh,lsh";
    case SHADING_PICTURE_OVERHANG:
        return "I Sh,hA";
    case SHADING_PICTURE_SIDE:
        return "I Sh,vA";
    default:
        return std::string();
    }
}

void DrawShadingPicture(IDrawCanvas& c, const PictureBox& box, int kind, double angle) {
    Background(c, box);
    const CanvasFont font = LabelFont(box);
    const double a = std::clamp(Finite(angle), 0.0, 89.999);
    const double w = box.Width(), h = box.Height();
    const double m = font.height;
    const double top = box.top + 2 * m, bottom = box.bottom - m;
    const double left = box.left + m, right = box.right - m;
    c.DrawText(box.left + 4, box.top + 2, GetShadingPictureSymbol(kind), font, kBlack);
    const CanvasPen structure{kBlack, 3, PEN_SOLID};
    const CanvasPen glass{kGlass, 5, PEN_SOLID};
    const CanvasPen sight{kMark, 1, PEN_SOLID};
    const CanvasPen reference{kMark, 1, PEN_DASH};

    if (kind == SHADING_PICTURE_FRONT) {
        // Side view: the window in its wall on the left, an obstruction facing it on the right.
        const double wallX = box.left + 0.2 * w, obsX = box.left + 0.72 * w;
        const double cy = bottom - 0.4 * (bottom - top);
        Line(c, {kBlack, 1, PEN_SOLID}, left, bottom, right, bottom);
        Line(c, structure, wallX, bottom, wallX, top);
        Line(c, glass, wallX, cy + 0.1 * h, wallX, cy - 0.1 * h);
        double obsTop = cy - std::tan(Radians(a)) * (obsX - wallX);
        double endX = obsX;
        if (obsTop < top) { // taller than the picture: the sight line ends at its top
            endX = wallX + (cy - top) / std::tan(Radians(a));
            obsTop = top;
        }
        c.SetPen({kBlack, 1, PEN_SOLID});
        c.FillPolygon({Pt(obsX, bottom), Pt(right, bottom), Pt(right, obsTop), Pt(obsX, obsTop)}, kSolid);
        Line(c, reference, wallX, cy, obsX, cy);
        Line(c, sight, wallX, cy, endX, obsTop);
        const double radius = 0.45 * (obsX - wallX);
        Arc(c, wallX, cy, radius, 0.0, a);
        Label(c, font, wallX + radius + 4, cy - 2 - font.height / 2.0,
              StrPrintf("\xCE\xB1 = %.1f\xC2\xB0", a));
    } else if (kind == SHADING_PICTURE_OVERHANG) {
        // Side view: the window in its wall, an overhang above it reaching out to the right.
        const double wallX = box.left + 0.3 * w;
        const double cy = bottom - 0.35 * (bottom - top);
        const double overhangY = top + 0.15 * (bottom - top);
        double depth = std::tan(Radians(a)) * (cy - overhangY);
        double endX = wallX + depth, endY = overhangY;
        if (endX > right) { // deeper than the picture: the sight line ends at its edge
            endX = right;
            endY = cy - (right - wallX) / std::tan(Radians(a));
            depth = right - wallX;
        }
        Line(c, {kBlack, 1, PEN_SOLID}, left, bottom, right, bottom);
        Line(c, structure, wallX, bottom, wallX, top);
        Line(c, glass, wallX, cy + 0.1 * h, wallX, cy - 0.1 * h);
        if (depth > 0.5) {
            c.SetPen({kBlack, 1, PEN_SOLID});
            c.FillPolygon({Pt(wallX, overhangY - 5), Pt(wallX + depth, overhangY - 5),
                           Pt(wallX + depth, overhangY), Pt(wallX, overhangY)},
                          kSolid);
        }
        Line(c, reference, wallX + 2, cy, wallX + 2, overhangY);
        Line(c, sight, wallX, cy, endX, endY);
        const double radius = 0.4 * (cy - overhangY);
        Arc(c, wallX, cy, radius, 90.0 - a, 90.0);
        Label(c, font, wallX + 0.5 * radius + 6, cy - radius - font.height / 2.0,
              StrPrintf("\xCE\xB2 = %.1f\xC2\xB0", a));
    } else {
        // Plan view: the facade along the bottom, outside above it, a fin beside the window.
        const double wallY = bottom - 0.15 * (bottom - top);
        const double cx = box.left + 0.3 * w, finX = box.left + 0.72 * w;
        double finTip = wallY - std::tan(Radians(a)) * (finX - cx);
        double endX = finX;
        if (finTip < top) {
            endX = cx + (wallY - top) / std::tan(Radians(a));
            finTip = top;
        }
        Line(c, structure, left, wallY, right, wallY);
        Line(c, glass, cx - 0.1 * w, wallY, cx + 0.1 * w, wallY);
        if (wallY - finTip > 0.5) Line(c, structure, finX, wallY, finX, finTip);
        Line(c, reference, cx, wallY - 2, finX, wallY - 2);
        Line(c, sight, cx, wallY, endX, finTip);
        const double radius = 0.45 * (finX - cx);
        Arc(c, cx, wallY, radius, 0.0, a);
        Label(c, font, cx + radius + 4, wallY - 4 - font.height / 2.0,
              StrPrintf("\xCF\x83 = %.1f\xC2\xB0", a));
        c.DrawText(box.left + 4, Round(wallY + 4), "plan", font, kBlack);
    }
}

void DrawRoofLightPicture(IDrawCanvas& c, const PictureBox& box, int type, double gammaF, double gammaW,
                          double hw, double hg, double hs) {
    Background(c, box);
    const CanvasFont font = LabelFont(box);
    const double m = font.height;
    const CanvasPen structure{kBlack, 3, PEN_SOLID};
    const CanvasPen glass{kGlass, 4, PEN_SOLID};
    const double gw = std::clamp(Finite(gammaW), 1.0, 90.0);

    if (type == 1) {
        // Three flat forms side by side: a flat glazing, a dome and a pyramid on a shaft whose
        // sides are splayed at gamma W. The first is drawn large and carries the marks.
        c.DrawText(box.left + 4, box.top + 2, "FlatRoofLight", font, kBlack);
        const std::string hsText = StrPrintf("%.2f m", Finite(hs));
        const double leftRoom = c.GetTextWidth(hsText, font) + 16;
        const double rest = std::max(60.0, box.Width() - leftRoom);
        const double widths[3] = {0.55 * rest, 0.225 * rest, 0.225 * rest};
        const double base = box.bottom - 2.5 * m;
        // A shallow splay is drawn at 10 degrees at least, and a shaft is lowered so that its
        // splay fits the form's width.
        const double gwDrawn = std::max(gw, 10.0);
        double formLeft = box.left + leftRoom;
        for (int form = 0; form < 3; ++form) {
            const double subW = widths[form];
            const double cx = formLeft + subW / 2.0;
            formLeft += subW;
            const double shaft = std::max(
                4.0, std::min(0.4 * (box.Height() - 5 * m), 0.36 * subW * std::tan(Radians(gwDrawn))));
            const double bs = 0.22 * subW;
            const double splay = shaft / std::tan(Radians(gwDrawn));
            const double bRb = bs + 2.0 * splay;
            const double topY = base - shaft;
            const double roofLeft = form == 0 ? box.left + 4 : cx - subW / 2.0 + 4;
            Line(c, structure, roofLeft, base, cx - bRb / 2.0, base); // roof either side
            Line(c, structure, cx + bRb / 2.0, base, cx + subW / 2.0 - 4, base);
            Line(c, structure, cx - bRb / 2.0, base, cx - bs / 2.0, topY); // splayed shaft
            Line(c, structure, cx + bRb / 2.0, base, cx + bs / 2.0, topY);
            if (form == 0) {
                Line(c, glass, cx - bs / 2.0, topY, cx + bs / 2.0, topY);
            } else if (form == 1) {
                c.SetPen(glass);
                std::vector<CanvasPoint> dome;
                for (int i = 0; i <= 12; ++i) {
                    const double t = kPi * i / 12.0;
                    dome.push_back(Pt(cx - bs / 2.0 * std::cos(t), topY - 0.35 * bs * std::sin(t)));
                }
                c.DrawPolyline(dome);
            } else {
                Line(c, glass, cx - bs / 2.0, topY, cx, topY - 0.4 * bs);
                Line(c, glass, cx, topY - 0.4 * bs, cx + bs / 2.0, topY);
            }
            if (form != 0) continue;
            const double dimX = cx - bRb / 2.0 - 8;
            Dimension(c, dimX, base, dimX, topY);
            // Above the roof line, whatever the shaft's height.
            Label(c, font, dimX - 4, base - 1.5 * font.height - 3, "hs", true);
            Label(c, font, dimX - 4, base - 0.5 * font.height - 3, hsText, true);
            Dimension(c, cx - bs / 2.0, topY - 8, cx + bs / 2.0, topY - 8);
            Label(c, font, cx - c.GetTextWidth("bs", font) / 2.0, topY - 8 - font.height, "bs");
            Dimension(c, cx - bRb / 2.0, base + 8, cx + bRb / 2.0, base + 8);
            Label(c, font, cx - c.GetTextWidth("bRb", font) / 2.0, base + 8 + font.height, "bRb");
            Arc(c, cx + bRb / 2.0, base, std::max(10.0, std::min(24.0, 0.8 * shaft)), 180.0 - gwDrawn, 180.0);
            Label(c, font, cx + bRb / 2.0 + 6, base + 8 + font.height,
                  StrPrintf("\xCE\xB3W = %.1f\xC2\xB0", Finite(gammaW)));
        }
        return;
    }

    // Shed: the face rising at gamma F on the left, glazed over its upper hG, the roof falling
    // back at gamma W. Very flat angles are drawn at 10 degrees so the tooth stays visible.
    c.DrawText(box.left + 4, box.top + 2, "ShedRoofLight", font, kBlack);
    // The heights are marked on two lines, the symbol over the value, to leave the tooth room.
    const std::string hwText = StrPrintf("%.2f m", Finite(hw));
    const std::string hgText = StrPrintf("%.2f m", Finite(hg));
    const double gf = std::clamp(Finite(gammaF), 10.0, 90.0);
    const double gwDrawn = std::max(gw, 10.0);
    const double leftRoom = c.GetTextWidth(hwText, font) + 24;
    const double rightRoom = c.GetTextWidth(hgText, font) + 26;
    const double availW = std::max(20.0, box.Width() - leftRoom - rightRoom);
    const double base = box.bottom - 2.0 * m;
    const double runPerHeight = 1.0 / std::tan(Radians(gf)) + 1.0 / std::tan(Radians(gwDrawn));
    const double heightW =
        std::max(10.0, std::min(0.62 * (box.Height() - 4 * m), availW / std::max(runPerHeight, 1e-6)));
    const double ratio = hw > 0.0 ? std::clamp(Finite(hg) / hw, 0.05, 1.0) : 1.0;
    const double heightG = heightW * ratio;
    const double faceRun = heightW / std::tan(Radians(gf));
    const double roofRun = heightW / std::tan(Radians(gwDrawn));
    const double x0 = box.left + leftRoom + std::max(0.0, (availW - faceRun - roofRun) / 2.0);
    const double apexX = x0 + faceRun, apexY = base - heightW;
    const double endX = apexX + roofRun;
    Line(c, structure, box.left + 4, base, x0, base);
    Line(c, structure, endX, base, box.right - 4, base);
    Line(c, {kBlack, 1, PEN_SOLID}, x0, base, endX, base);
    Line(c, structure, x0, base, apexX, apexY);   // face
    Line(c, structure, apexX, apexY, endX, base); // roof
    const double glassX = x0 + faceRun * (1.0 - ratio), glassY = base - heightW + heightG;
    Line(c, glass, glassX, glassY, apexX, apexY);
    // hW on the left of the face, hG on the right of the tooth.
    const double dimW = x0 - 10;
    Dimension(c, dimW, base, dimW, apexY);
    Label(c, font, dimW - 4, (base + apexY) / 2.0 - font.height / 2.0, "hW", true);
    Label(c, font, dimW - 4, (base + apexY) / 2.0 + font.height / 2.0, hwText, true);
    const double dimG = endX + 12;
    Line(c, {kMark, 1, PEN_DASH}, apexX, apexY, dimG, apexY);
    Line(c, {kMark, 1, PEN_DASH}, glassX, glassY, dimG, glassY);
    Dimension(c, dimG, apexY, dimG, glassY);
    Label(c, font, dimG + 5, (apexY + glassY) / 2.0 - font.height / 2.0, "hG");
    Label(c, font, dimG + 5, (apexY + glassY) / 2.0 + font.height / 2.0, hgText);
    const double radius = std::clamp(0.25 * heightW, 14.0, 40.0);
    Arc(c, x0, base, radius, 0.0, gf);
    Label(c, font, x0 + radius + 4, base - font.height / 2.0 - 2,
          StrPrintf("\xCE\xB3"
                    "F = %.1f\xC2\xB0",
                    Finite(gammaF)));
    Arc(c, endX, base, radius, 180.0 - gwDrawn, 180.0);
    const std::string gwText = StrPrintf("\xCE\xB3W = %.1f\xC2\xB0", Finite(gammaW));
    Label(c, font, endX - c.GetTextWidth(gwText, font) / 2.0, base + 4 + font.height / 2.0, gwText);
}

std::string GetRoofLightABText(double x, double y) {
    // Two positive sides; negative ones would give a product above 0 as well and show nonsense.
    if (x > 0.0 && y > 0.0) {
        if (x >= y) return StrPrintf("a=%.2f m  b=%.2fm  a/b=%.2f", x, y, x / y);
        return StrPrintf("a=%.2f m b=%.2f m  a/b=%.2f", y, x, y / x);
    }
    return "Invalid values in X Length and/or Y Width";
}
