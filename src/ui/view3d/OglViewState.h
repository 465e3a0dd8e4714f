#pragma once
// What the 3D viewer looks from: the rotation angles, the pan, the zoom and the box of the drawing,
// how mouse drags and wheel notches change them, and the matrices that put a model point on the
// drawing area. Plain numbers, so the view is tested without an OpenGL context.
// Note: the matrices are OpenGL's (column-major, 16 doubles); normalised device coordinates run
// from -1 to 1 across the square drawing area, y up.

#include "dxf/Point.h"

class COglViewState {
  public:
    static constexpr double kMinZoom = 0.5;
    static constexpr double kMaxZoom = 20.0;
    static constexpr double kZoomPerNotch = 0.1;
    static constexpr int kWheelUnitsPerNotch = 120;

    double m_dRotX = 0.0, m_dRotY = 0.0, m_dRotZ = 0.0; // degrees
    double m_dPanX = 0.0, m_dPanY = 0.0;
    double m_dZoom = 1.0;
    Point m_BoxMin, m_BoxMax; // extents of the drawing, taken once

    // A standard view: these angles, no pan, zoom 1.
    void SetView(double rotX, double rotY, double rotZ);
    // A mouse move by (previous - current) pixels with the left button down: tilts about x within
    // [-180, 0] and turns about z, kept within [-180, 180].
    void Rotate(int dx, int dy);
    // The same with the right button down: moves the picture, less when zoomed in.
    void Pan(int dx, int dy);
    // Wheel units (120 a notch, positive away from the user): 0.1 of zoom a notch, refused when
    // the result would leave [0.5, 20]. False when nothing changed.
    bool Wheel(int delta);

    // width / height of the drawing area.
    void GetProjection(double aspect, double out[16]) const;
    // The model-view matrix of the drawing: mirror z, pan, rotations about x, y, z, the box scaled
    // to 1.4 on its longest side and centred on the origin.
    void GetModelView(double out[16]) const;
    // A model point in normalised device coordinates (x, y; z the depth).
    Point ToDevice(const Point& p, double aspect) const;

    bool operator==(const COglViewState& o) const;
    bool operator!=(const COglViewState& o) const { return !(*this == o); }
};
