#include "dxf/DxfBlock.h"

#include "base/MessageBoxes.h"
#include "dxf/Geometry.h"

void CDxfBlock::SetName(const std::string& name) {
    if (name.empty()) {
        AlertBox("CDxfBlock::SetName (empty)");
        return;
    }
    m_csName = name.substr(0, kMaxName);
}

void CDxfBlock::SetLayer(const std::string& layer) {
    if (layer.empty()) {
        AlertBox("CDxfBlock::SetLayer (empty)");
        return;
    }
    m_csLayer = layer.substr(0, kMaxName);
}

void CDxfBlock::CopyFrom(const CDxfBlock& other) {
    if (this == &other) return;
    m_csName = other.m_csName;
    m_csLayer = other.m_csLayer;
    m_BasePoint = other.m_BasePoint;
    m_EntList = other.m_EntList;
}

bool CDxfBlock::GetExtents(Point& min, Point& max, const Matrix4& matrix) const {
    const bool fromTop = s_iVisits == 0;
    VisitGuard guard(*this);
    if (!guard.Entered()) return false;
    ExtentsBox box;
    if (fromTop && IsIdentityMatrix(matrix)) {
        if (!m_EntList.GetKeptExtents(box, false)) return false;
        min = box.min;
        max = box.max;
        return true;
    }
    for (const auto& e : m_EntList) {
        ExtentsBox one;
        if (e->GetExtents(one.min, one.max, matrix)) {
            one.valid = true;
            box.Add(one);
        }
    }
    if (!box.valid) return false;
    min = box.min;
    max = box.max;
    return true;
}
