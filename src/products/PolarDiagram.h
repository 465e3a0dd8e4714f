#pragma once
// The polar diagram of a luminaire's intensity distribution in the C0-C180 and C90-C270 planes,
// as photometric data sheets show it: the nadir points down, C0 and C90 to the right, C180 and
// C270 to the left, rings of equal intensity with their values.

#include "dxf/DrawCanvas.h"

class CPhotometry;

class CPolarDiagram {
  public:
    static constexpr Rgb kC0Colour = MakeRgb(200, 30, 30);  // C0-C180, solid
    static constexpr Rgb kC90Colour = MakeRgb(30, 60, 200); // C90-C270, dashed
    static constexpr int kRings = 4;

    // The ring scale: the smallest 1, 2, 2.5 or 5 times a power of ten not below maxValue.
    static double NiceScale(double maxValue);

    // Draws the diagram into the square of side size at (left, top).
    static void Draw(IDrawCanvas& canvas, const CPhotometry& photometry, int left, int top, int size);
};
