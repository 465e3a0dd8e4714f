#pragma once
// The palette of DXF colour numbers (1-255 a colour, 0 by block, 256 by layer).

#include "dxf/DrawCanvas.h"

// Note: colour 7 is black, not white: drawings are shown on a white background.
// Numbers outside 0-255 give black.
Rgb GetPaletteColour(int colourNumber);
