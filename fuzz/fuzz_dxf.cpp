// The DXF reader on arbitrary bytes: the read, then what every caller does with a drawing
// (its extents, its snap points, writing it back).
#include "FuzzSupport.h"

#include "dxf/DxfFile.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = WriteFuzzInput(data, size, "input.dxf");
    CDxfFile drawing;
    drawing.ReadFile(path);
    Point min, max;
    drawing.GetExtents(min, max, Point(0.1, 0.1, 0.1));
    drawing.GetSize();
    if (drawing.GetEntityCount() < 10000) drawing.WriteToString();
    return 0;
}
