#include "dxf/LayerTable.h"

#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "dxf/DxfPalette.h"

#include <cctype>
#include <cstring>

namespace {

void SetPens(CDxfLayer& layer, Rgb colourPens) {
    layer.m_ThinBlackPen = {MakeRgb(0, 0, 0), 1};
    layer.m_ThickBlackPen = {MakeRgb(0, 0, 0), 4};
    layer.m_ThinColourPen = {colourPens, 1};
    layer.m_ThickColourPen = {colourPens, 4};
}

} // namespace

std::string CLayerTable::CleanLayerName(const std::string& name) {
    std::string clean;
    for (char ch : name) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if ((c < 128 && std::isalnum(c)) || c == '_' || c == '-') {
            clean += ch;
            if (clean.size() == 31) break;
        }
    }
    return clean.empty() ? "LAYERR" : clean;
}

bool CLayerTable::LayerNamesEqual(const std::string& stored, const std::string& name) {
    return EqualsNoCase(stored.empty() ? std::string("0") : stored, name);
}

std::string CLayerTable::Prepare(const char* name) const {
    return m_bCleanNames ? CleanLayerName(name) : std::string(name);
}

CDxfLayer* CLayerTable::Find(const std::string& name) const {
    for (const auto& layer : m_Layers)
        if (LayerNamesEqual(layer->m_csName, name)) return layer.get();
    return nullptr;
}

CDxfLayer* CLayerTable::AddLayer(const char* name, int colour, bool visible) {
    if (!name) {
        AlertBox("AddLayer, bad string pointer");
        return nullptr;
    }
    if (!*name) {
        AlertBox("AddLayer, empty layer name");
        return nullptr;
    }
    if (std::strlen(name) > kMaxNameLength) {
        AlertBox("AddLayer, layer name too long");
        return nullptr;
    }
    if (colour < 1 || colour > 255) {
        Log().Printf(LOG_ERROR, "Bad iAciCol %d in AddLayer", colour);
        return nullptr;
    }
    const std::string clean = Prepare(name);
    if (CDxfLayer* existing = Find(clean)) {
        // Note: a second definition recolours all four pens, the black ones included.
        existing->m_iColour = colour;
        const Rgb rgb = GetPaletteColour(colour);
        existing->m_ThinBlackPen = existing->m_ThinColourPen = {rgb, 1};
        existing->m_ThickBlackPen = existing->m_ThickColourPen = {rgb, 4};
        return existing;
    }
    if (GetCount() >= kMaxLayers) {
        Log().Printf(LOG_ERROR, "CLayerTable::AddLayer (%s),\ntoo many layers (%d)", clean.c_str(),
                     GetCount());
        return nullptr;
    }
    auto layer = std::make_unique<CDxfLayer>();
    layer->m_csName = clean;
    layer->m_bVisible = visible;
    layer->m_iColour = colour;
    SetPens(*layer, colour == 7 ? MakeRgb(0, 0, 0) : GetPaletteColour(colour));
    m_Layers.push_back(std::move(layer));
    return m_Layers.back().get();
}

CDxfLayer* CLayerTable::GetLayerPtrFromName(const char* name) const {
    if (m_Layers.empty()) {
        AlertBox("GetLayerPtrFromName, but no layers in table");
        return nullptr;
    }
    if (!name || !*name) return m_Layers.front().get();
    CDxfLayer* layer = Find(Prepare(name));
    return layer ? layer : m_Layers.front().get();
}

void CLayerTable::SetLayerVisibility(const char* name) {
    if (!name || !*name) {
        AlertBox("SetLayerVisibility, no name specified\n");
        return;
    }
    CDxfLayer* layer = Find(Prepare(name));
    if (!layer) {
        AlertBox("SetLayerVisibility(%s) not found\n", name);
        return;
    }
    layer->m_bVisible = false;
}

bool CLayerTable::LayerExists(const char* name) const {
    if (!name || !*name || m_Layers.empty()) return false;
    return Find(Prepare(name)) != nullptr;
}
