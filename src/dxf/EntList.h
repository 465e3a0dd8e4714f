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
    CEntList(CEntList&&) noexcept = default;
    CEntList& operator=(CEntList&&) noexcept = default;

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
    void Clear() { m_Entities.clear(); }
    void Reserve(size_t n) { m_Entities.reserve(n); }

    // Plain iteration for readers of the whole list.
    using Storage = std::vector<std::unique_ptr<CDxfEntity>>;
    Storage::const_iterator begin() const { return m_Entities.begin(); }
    Storage::const_iterator end() const { return m_Entities.end(); }

  private:
    Storage m_Entities;
};
