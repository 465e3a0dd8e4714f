#pragma once
// Drawing a DXF drawing into a canvas: the pens of the colour numbers, the view transform that fits
// a part of the drawing into a pixel rectangle, and the drawing loop with its culling, colour rules
// and snap grid. Entities draw themselves (DrawIntoDC) with the pen the loop selects.
// Note: pixel y points down; the world-to-pixel matrix flips y.

#include "dxf/DrawCanvas.h"
#include "dxf/Point.h"

#include <vector>

class CDxfEntity;
class CDxfInsert;
class CEntList;
class CSnapPointList;

// A rectangle of pixels as the windowing system gives it: right and bottom lie one past the last
// pixel inside.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

enum ZoomMode { ZOOM_EXTENTS = 0, ZOOM_HEADER_EXTENTS = 1, ZOOM_BOX = 2 };

// What the renderer reads of a drawing.
struct RenderSource {
    const CEntList* entities = nullptr;
    const CSnapPointList* snap = nullptr; // null: no grid
    Point headerMin;                      // $EXTMIN, (0, 0, 0) when the file has none
    Point headerMax;                      // $EXTMAX
    Rgb background = MakeRgb(255, 255, 255);
};

// The pen of a colour number 1-255 (width 1, solid). Another number logs and gives colour 1's pen.
CanvasPen GetPenForColor(int colour);
// Colour 7 is drawn black on a white background; a view with another background sets it here.
void SetPenColourForColour7(Rgb colour);
// The view's show-text switch: off, texts are not drawn at all.
void SetTextDrawing(bool on);
bool IsTextDrawingOn();
// The colour number 1-255 whose palette entry is nearest to the colour (2|dR| + 3|dG| + |dB|,
// the lowest number on ties).
int GetNearestPaletteColour(Rgb colour);
// The colour number whose pen draws the entity in the drawing: by layer the layer's colour (1
// without a layer), by block 7, else its own.
int GetDrawingColourNumber(const CDxfEntity& entity);

// The box over the entities on visible layers, each axis grown on both sides by its size times the
// margin; min = max = (0, 0, 0) and false when nothing is measured. The box is the one the list
// keeps (see CEntList::GetKeptExtents): no walk through the inserts after the first.
bool GetDrawingExtents(const CEntList& entities, Point& min, Point& max, const Point& margin = Point());

struct ViewTransform {
    Matrix4 worldToPixel;
    Point viewMin; // the world box that was fitted, through the extra matrix
    Point viewMax;
};
// Fits a world box into the rectangle: by zoom mode the drawing's extents with a 2 % margin, the
// header extents (the drawing's extents when those are missing), or the given box.
ViewTransform GetViewTransform(const PixelRect& rect, int zoomMode, const RenderSource& source,
                               const Point& boxMin, const Point& boxMax, const Matrix4* extra = nullptr);
// The inverse of a world-to-pixel matrix in x and y (identity when it cannot be inverted).
Matrix4 InvertPlaneTransform(const Matrix4& m);

// Draws the entities on visible layers that may touch the view box, then the snap grid. Culling
// goes by how far each entity's drawing may reach (an insert by its block's reach, kept with the
// block, under the insert's matrix), with the view grown by the few pixels of marks not drawn to
// scale; what is culled could not have touched the view.
void DrawDrawing(IDrawCanvas& canvas, const RenderSource& source, const Matrix4& worldToPixel,
                 const Point& viewMin, const Point& viewMax);
// Plus signs at the grid points within the view box, when grid snap is on and fewer than 400 grid
// columns fit the view.
void DrawSnapGrid(IDrawCanvas& canvas, const CSnapPointList& snap, Rgb background,
                  const Matrix4& worldToPixel, const Point& viewMin, const Point& viewMax);
// Fits the drawing into the rectangle (optionally filled with the background first), clipped to it.
void DrawIntoRect(IDrawCanvas& canvas, const RenderSource& source, const PixelRect& rect, int zoomMode,
                  const Point& boxMin, const Point& boxMax, bool erase);

// The insert's block-to-world matrix as GetToWorldXform makes it, written out rather than multiplied.
Matrix4 GetInsertMatrix(const CDxfInsert& insert);

// Pixel helpers shared by the entities and the model overlay. Points are pixels as doubles;
// segments far outside any surface are clipped first, so no coordinate overflows an int.
int ToPixel(double v);
void DrawPixelLine(IDrawCanvas& canvas, const Point& a, const Point& b);
// A polyline through the points, back to the first when closed.
void DrawPixelPolyline(IDrawCanvas& canvas, const std::vector<Point>& points, bool closed);
void DrawPixelPolyline(IDrawCanvas& canvas, const Point* points, size_t count, bool closed);
