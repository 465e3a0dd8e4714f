#pragma once
// The renderer's view of a whole drawing read from a file.

#include "dxf/Render.h"

class CDxfFile;

// The drawing's entities, snap settings, header extents and background.
RenderSource GetRenderSource(const CDxfFile& drawing);
// Draws the drawing through the matrix, culled to the view box.
void DrawDrawing(IDrawCanvas& canvas, const CDxfFile& drawing, const Matrix4& worldToPixel,
                 const Point& viewMin, const Point& viewMax);
