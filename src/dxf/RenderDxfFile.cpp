#include "dxf/RenderDxfFile.h"

#include "dxf/DxfFile.h"

RenderSource GetRenderSource(const CDxfFile& drawing) {
    RenderSource source;
    source.entities = &drawing.GetEntList();
    source.snap = &drawing.GetSnapPoints();
    source.headerMin = drawing.GetHeaderExtMin();
    source.headerMax = drawing.GetHeaderExtMax();
    source.background = drawing.m_BackgroundColour;
    return source;
}

void DrawDrawing(IDrawCanvas& canvas, const CDxfFile& drawing, const Matrix4& worldToPixel,
                 const Point& viewMin, const Point& viewMax) {
    DrawDrawing(canvas, GetRenderSource(drawing), worldToPixel, viewMin, viewMax);
}
