// The DXF reader on arbitrary bytes, then what every caller does with a drawing: its extents,
// writing it back, and the import of the special layers into a floor.
#include "FuzzSupport.h"

#include "dxf/DxfFile.h"
#include "model/DxfImport.h"
#include "model/LENIProject.h"
#include "model/LENIWindow.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = WriteFuzzInput(data, size, "input.dxf");
    CDxfFile drawing;
    drawing.ReadFile(path);
    Point min, max;
    drawing.GetExtents(min, max, Point(0.1, 0.1, 0.1));
    drawing.GetSize();
    if (drawing.GetEntityCount() < 10000) drawing.WriteToString();

    CLENIProject project;
    project.SetDominantBuildingType("Offices");
    CLENIFloor floor("F", 3.0);
    ImportSpecialLayers(floor, drawing, project, CLENIWindow());
    return 0;
}
