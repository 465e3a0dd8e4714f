#pragma once
// The explanatory pictures of the window, shading and roof-light dialogs, drawn into a box of the
// canvas at whatever size the dialog gives them. Each marks the quantities the user types, with
// the values as typed, so a picture follows the fields.

#include "dxf/DrawCanvas.h"

#include <string>

struct PictureBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// Section of a sloped window: the wall up to the slope (h), the slope at gamma degrees above the
// horizontal and the glazing of length L lying on it at distance d from the wall. Type 0
// (vertical) draws only the background.
void DrawSlopedWindowPicture(IDrawCanvas& canvas, const PictureBox& box, int windowType, double heightToSlope,
                             double length, double gamma, double distance);

enum { SHADING_PICTURE_FRONT = 0, SHADING_PICTURE_OVERHANG = 1, SHADING_PICTURE_SIDE = 2 };
// One of the three obstruction angles: the front obstruction and the overhang in a side view, the
// side fin in a plan view.
void DrawShadingPicture(IDrawCanvas& canvas, const PictureBox& box, int kind, double angle);
// "I Sh,lsh", "I Sh,hA", "I Sh,vA".
std::string GetShadingPictureSymbol(int kind);

// Sections of the roof light's kind: three flat forms with hs, bs, bRb and gamma W, or a shed with
// hW, hG, gamma F and gamma W.
void DrawRoofLightPicture(IDrawCanvas& canvas, const PictureBox& box, int type, double gammaF, double gammaW,
                          double hw, double hg, double hs);

// The sides a (longer) and b (shorter) of a roof light of x length and y width.
std::string GetRoofLightABText(double xLength, double yWidth);
