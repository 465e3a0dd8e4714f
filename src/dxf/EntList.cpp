#include "dxf/EntList.h"

#include "base/Logger.h"
#include "dxf/LayerTable.h"

CEntList::CEntList(const CEntList& other) {
    *this = other;
}

CEntList& CEntList::operator=(const CEntList& other) {
    if (this == &other) return *this;
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
    return m_Entities.back().get();
}

CDxfEntity* CEntList::AdoptEntity(std::unique_ptr<CDxfEntity> entity) {
    if (!entity) return nullptr;
    m_Entities.push_back(std::move(entity));
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
