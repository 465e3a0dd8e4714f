#include "dxf/ImportLayers.h"

#include "dxf/DxfFile.h"

void HideSpecialLayers(CDxfFile& dxf) {
    for (const char* name : kSpecialLayers)
        if (dxf.GetLayerTable().LayerExists(name)) dxf.SetLayerVisibility(name);
}
