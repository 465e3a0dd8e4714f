#pragma once
// The layer table of a drawing: up to 2048 owned layer records, looked up by name without
// regard to case.

#include "dxf/DxfLayer.h"

#include <memory>
#include <string>
#include <vector>

class CLayerTable {
  public:
    static constexpr int kMaxLayers = 2048;
    static constexpr size_t kMaxNameLength = 255;

    CLayerTable() = default;
    CLayerTable(const CLayerTable&) = delete; // entities point into the records
    CLayerTable& operator=(const CLayerTable&) = delete;

    // Drawings read from files clean every layer name they meet (see CleanLayerName).
    void SetCleanNames(bool clean) { m_bCleanNames = clean; }
    bool GetCleanNames() const { return m_bCleanNames; }

    // Adds a layer, or gives an existing one of that name the new colour (its visibility stays).
    // Returns the record, or null when refused.
    CDxfLayer* AddLayer(const char* name, int colour, bool visible);
    // The record of that name; the first record for a missing, empty or unknown name; null only
    // for an empty table.
    CDxfLayer* GetLayerPtrFromName(const char* name) const;
    // Hides the named layer.
    void SetLayerVisibility(const char* name);
    bool LayerExists(const char* name) const;

    int GetCount() const { return static_cast<int>(m_Layers.size()); }
    CDxfLayer* GetLayer(int i) const { return m_Layers[i].get(); }
    // Deletes every record: only when the whole drawing is reset.
    void Clear() { m_Layers.clear(); }

    // Keeps the letters, digits, "_" and "-", at most 31 of them; "LAYERR" when nothing is left.
    static std::string CleanLayerName(const std::string& name);
    // Layer names compare without regard to case; an empty stored name compares as "0".
    static bool LayerNamesEqual(const std::string& stored, const std::string& name);

  private:
    CDxfLayer* Find(const std::string& name) const;
    std::string Prepare(const char* name) const;

    std::vector<std::unique_ptr<CDxfLayer>> m_Layers;
    bool m_bCleanNames = false;
};
