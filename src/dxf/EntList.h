#pragma once
// An owned, ordered list of entities. Entities go in as clones; copying the list clones them all.

#include "dxf/DxfEntity.h"

#include <memory>
#include <string>
#include <vector>

class CEntList {
  public:
    CEntList() = default;
    CEntList(const CEntList& other);
    CEntList& operator=(const CEntList& other);
    CEntList(CEntList&& other) noexcept;
    CEntList& operator=(CEntList&& other) noexcept;

    // Adds a clone of the entity on the layer (a null layer keeps the entity's own, with a note).
    // Returns the clone, or null when the entity could not be cloned.
    CDxfEntity* AddEntity(const CDxfEntity& entity, CDxfLayer* layer);
    // Takes an entity that is already the list's own (no clone).
    CDxfEntity* AdoptEntity(std::unique_ptr<CDxfEntity> entity);
    // Out of range: logged, and the first entity is given (null for an empty list).
    CDxfEntity* GetEntityPtr(int i) const;
    int GetCount() const { return static_cast<int>(m_Entities.size()); }
    bool IsEmpty() const { return m_Entities.empty(); }
    // True for "0", else whether some entity is on the layer.
    bool IsOnLayer(const std::string& name) const;
    void Clear();
    void Reserve(size_t n) { m_Entities.reserve(n); }

    // The box over the entities as each measures itself (GetExtents, identity matrix): of those on
    // visible layers (and without a layer) when visibleOnly, else of all. Measured on first use and
    // kept, per layer, so that opening, zooming and culling do not walk every insert again and
    // hiding a layer needs no new walk. False when nothing is measured.
    bool GetKeptExtents(ExtentsBox& box, bool visibleOnly) const;
    // Every change to any list drops every kept box (blocks nest: a block's box depends on the
    // blocks it inserts). Code that edits an entity in place, or points an insert at another block
    // or moves a block's base point, after the entity went into a list calls this.
    static void NoteGeometryChanged();
    // Counts the changes; a box kept elsewhere and measured at another count is out of date.
    static unsigned long long GetChangeCount();

    // Plain iteration for readers of the whole list.
    using Storage = std::vector<std::unique_ptr<CDxfEntity>>;
    Storage::const_iterator begin() const { return m_Entities.begin(); }
    Storage::const_iterator end() const { return m_Entities.end(); }

  private:
    struct LayerBox {
        const CDxfLayer* layer;
        ExtentsBox box;
    };
    Storage m_Entities;
    mutable std::vector<LayerBox> m_KeptBoxes; // per layer, in order of first appearance
    mutable unsigned long long m_KeptAt = 0;   // the change count they were measured at; 0: never
};
