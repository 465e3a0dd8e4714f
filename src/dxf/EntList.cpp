#include "dxf/EntList.h"

#include "base/Logger.h"
#include "dxf/LayerTable.h"

#include <atomic>

namespace {

// Counts changes to entity lists; kept boxes measured at another count are measured again.
std::atomic<unsigned long long> g_Changes{1};

} // namespace

void CEntList::NoteGeometryChanged() {
    g_Changes.fetch_add(1, std::memory_order_relaxed);
}

unsigned long long CEntList::GetChangeCount() {
    return g_Changes.load(std::memory_order_relaxed);
}

CEntList::CEntList(const CEntList& other) {
    *this = other;
}

CEntList::CEntList(CEntList&& other) noexcept : m_Entities(std::move(other.m_Entities)) {
    NoteGeometryChanged();
}

CEntList& CEntList::operator=(CEntList&& other) noexcept {
    m_Entities = std::move(other.m_Entities);
    NoteGeometryChanged();
    return *this;
}

void CEntList::Clear() {
    m_Entities.clear();
    NoteGeometryChanged();
}

CEntList& CEntList::operator=(const CEntList& other) {
    if (this == &other) return *this;
    NoteGeometryChanged();
    Storage copy;
    copy.reserve(other.m_Entities.size());
    for (const auto& e : other.m_Entities)
        if (auto clone = e->Clone()) copy.push_back(std::move(clone));
    m_Entities.swap(copy);
    return *this;
}

CDxfEntity* CEntList::AddEntity(const CDxfEntity& entity, CDxfLayer* layer) {
    std::unique_ptr<CDxfEntity> clone = entity.Clone();
    if (!clone) {
        Log().Printf(LOG_ERROR, "CEntList::AddEntity,Could not clone entity");
        return nullptr;
    }
    clone->SetLayer(layer);
    m_Entities.push_back(std::move(clone));
    NoteGeometryChanged();
    return m_Entities.back().get();
}

CDxfEntity* CEntList::AdoptEntity(std::unique_ptr<CDxfEntity> entity) {
    if (!entity) return nullptr;
    m_Entities.push_back(std::move(entity));
    NoteGeometryChanged();
    return m_Entities.back().get();
}

CDxfEntity* CEntList::GetEntityPtr(int i) const {
    if (i < 0 || i >= GetCount()) {
        Log().Printf(LOG_ERROR, "GetEntityPtr(%d) but only %d entities", i, GetCount());
        return m_Entities.empty() ? nullptr : m_Entities.front().get();
    }
    return m_Entities[i].get();
}

bool CEntList::IsOnLayer(const std::string& name) const {
    if (name == "0") return true;
    for (const auto& e : m_Entities)
        if (e->IsOnLayer(name)) return true;
    return false;
}

bool CEntList::GetKeptExtents(ExtentsBox& box, bool visibleOnly) const {
    const unsigned long long now = GetChangeCount();
    if (m_KeptAt != now) {
        m_KeptBoxes.clear();
        const Matrix4 identity;
        size_t last = 0;
        for (const auto& e : m_Entities) {
            Point lo, hi;
            if (!e->GetExtents(lo, hi, identity)) continue;
            const CDxfLayer* layer = e->GetLayer();
            // Plans hold long runs on one layer, and few layers.
            if (last >= m_KeptBoxes.size() || m_KeptBoxes[last].layer != layer) {
                last = 0;
                while (last < m_KeptBoxes.size() && m_KeptBoxes[last].layer != layer)
                    ++last;
                if (last == m_KeptBoxes.size()) m_KeptBoxes.push_back({layer, ExtentsBox()});
            }
            m_KeptBoxes[last].box.Add(lo);
            m_KeptBoxes[last].box.Add(hi);
        }
        m_KeptAt = now;
    }
    box = ExtentsBox();
    for (const LayerBox& kept : m_KeptBoxes)
        if (!visibleOnly || !kept.layer || kept.layer->m_bVisible) box.Add(kept.box);
    return box.valid;
}
