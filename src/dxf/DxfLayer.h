#pragma once
// One record of a drawing's layer table. Entities point to it; it lives as long as its table.

#include "dxf/DrawCanvas.h"

#include <string>

class CDxfLayer {
  public:
    std::string m_csName;   // group 2 of the LAYER record, at most 255 characters
    bool m_bVisible = true; // false when group 62 is negative or group 70 has bit 1 (frozen)
    int m_iColour = 7;      // group 62, absolute value, 1-255
    // Pens of the renderer: thin (width 1) and thick (width 4), black and in the layer's colour.
    CanvasPen m_ThinBlackPen;
    CanvasPen m_ThickBlackPen;
    CanvasPen m_ThinColourPen;
    CanvasPen m_ThickColourPen;
};
