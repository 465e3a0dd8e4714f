#include "dxf/DxfPalette.h"

#include <cmath>

namespace {

// Full-brightness colour of hue h (0-23) in 15 degree steps from red through yellow, green, cyan,
// blue and magenta.
void HueColour(int h, int rgb[3]) {
    static const int kRamp[5] = {0, 63, 127, 191, 255};
    const int sector = h / 4, step = h % 4;
    const int up = kRamp[step], down = kRamp[4 - step];
    switch (sector) {
    case 0:
        rgb[0] = 255, rgb[1] = up, rgb[2] = 0;
        break;
    case 1:
        rgb[0] = down, rgb[1] = 255, rgb[2] = 0;
        break;
    case 2:
        rgb[0] = 0, rgb[1] = 255, rgb[2] = up;
        break;
    case 3:
        rgb[0] = 0, rgb[1] = down, rgb[2] = 255;
        break;
    case 4:
        rgb[0] = up, rgb[1] = 0, rgb[2] = 255;
        break;
    default:
        rgb[0] = 255, rgb[1] = 0, rgb[2] = down;
        break;
    }
}

} // namespace

Rgb GetPaletteColour(int n) {
    static const Rgb kFixed[10] = {MakeRgb(0, 0, 0),      MakeRgb(255, 0, 0),   MakeRgb(255, 255, 0),
                                   MakeRgb(0, 255, 0),    MakeRgb(0, 255, 255), MakeRgb(0, 0, 255),
                                   MakeRgb(255, 0, 255),  MakeRgb(0, 0, 0),     MakeRgb(120, 120, 120),
                                   MakeRgb(200, 200, 200)};
    static const int kGreys[6] = {84, 118, 152, 186, 220, 255};
    static const int kLevels[5] = {255, 165, 127, 76, 38};
    if (n < 0 || n > 255) return MakeRgb(0, 0, 0);
    if (n < 10) return kFixed[n];
    if (n >= 250) return MakeRgb(kGreys[n - 250], kGreys[n - 250], kGreys[n - 250]);
    // 10 + 10 h + 2 k + p: hue h, brightness level k, p = 1 halfway to the grey of that level.
    const int h = (n - 10) / 10, k = ((n - 10) % 10) / 2, p = (n - 10) % 2;
    int rgb[3];
    HueColour(h, rgb);
    const int level = kLevels[k];
    for (int& c : rgb) {
        c = static_cast<int>(std::lround(c * level / 255.0));
        if (p) c = (c + level) / 2;
    }
    return MakeRgb(rgb[0], rgb[1], rgb[2]);
}
