#include "dxf/DxfFile.h"

#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "dxf/Dxf3DFace.h"
#include "dxf/DxfArc.h"
#include "dxf/DxfCircle.h"
#include "dxf/DxfEllipse.h"
#include "dxf/DxfInsert.h"
#include "dxf/DxfLine.h"
#include "dxf/DxfLineReader.h"
#include "dxf/DxfMesh.h"
#include "dxf/DxfPgonMesh.h"
#include "dxf/DxfPline.h"
#include "dxf/DxfPoint.h"
#include "dxf/DxfSolid.h"
#include "dxf/DxfText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <strings.h>
#include <unordered_set>

CDxfFile::CDxfFile() {
    m_LayerTable.SetCleanNames(true);
    Reset();
}

CDxfFile::CDxfFile(const std::string& fileName) : CDxfFile() {
    ReadFile(fileName);
}

CDxfFile::~CDxfFile() = default;

void CDxfFile::Reset() {
    // Entities point to layers and blocks: they go first.
    m_EntList.Clear();
    m_Blocks.clear();
    m_BlockIndex.clear();
    m_SnapPoints.Clear();
    m_bSnapPointsDue = false;
    m_iLineCount = 0;
    m_dWriteScale = 1.0;
    m_WriteOffset = Point();
    m_BackgroundColour = 0xFFFFFF;
    m_LayerTable.Clear();
    m_pCurrentLayer = m_LayerTable.AddLayer("0", 7, true);
    m_csLastLayerRaw = "0";
    m_Group = DxfGroup();
    m_csFileName.clear();
    m_ExtMin = m_ExtMax = Point();
    m_iHeaderUnits = -1;
    m_pReader.reset();
    m_bEntitiesEntered = false;
    m_bNumberRefused = false;
    m_bBlockOverflowReported = false;
}

void CDxfFile::ResetForRead() {
    Reset();
}

CDxfBlock* CDxfFile::FindBlock(const std::string& name) const {
    auto it = m_BlockIndex.find(ToUpper(name));
    return it == m_BlockIndex.end() ? nullptr : it->second;
}

CDxfBlock* CDxfFile::AddBlock(const CDxfBlock& block) {
    if (GetBlockCount() >= kMaxBlocks) {
        Log().Printf(LOG_ERROR, "Block buffer overflow\n");
        return nullptr;
    }
    if (FindBlock(block.m_csName)) {
        Log().Printf(LOG_ERROR, "Block called %s already exists", block.m_csName.c_str());
        return nullptr;
    }
    m_Blocks.push_back(std::make_unique<CDxfBlock>(block));
    CDxfBlock* added = m_Blocks.back().get();
    m_BlockIndex[ToUpper(added->m_csName)] = added;
    return added;
}

// ---------------------------------------------------------------------------------------------
// After reading

void CDxfFile::ResolveList(CEntList& list, std::unordered_set<const CDxfBlock*>& resolved) {
    for (const auto& entity : list) {
        if (entity->GetType() != DXF_INSERT) continue;
        auto* insert = static_cast<CDxfInsert*>(entity.get());
        if (!insert->m_pBlock) insert->m_pBlock = FindBlock(insert->m_csBlockName);
        if (!insert->m_pBlock) {
            Log().Printf(LOG_INFO, "****Could not resolve an insert of %s\n", insert->m_csBlockName.c_str());
            Log().Printf(LOG_INFO, "A still unresolved insert exists, %s:", insert->m_csBlockName.c_str());
            continue;
        }
        // Each block's list once: blocks that insert one another several times over would make
        // a walk through every insert take time exponential in the nesting depth. This also
        // keeps a block that inserts itself from being entered again.
        if (resolved.insert(insert->m_pBlock).second) ResolveList(insert->m_pBlock->m_EntList, resolved);
    }
}

void CDxfFile::CutInsert(CDxfInsert& insert, ExpansionWalk& walk, const char* why, size_t limit) {
    // The first one only: the error is also a message box, and a file may hold millions of them.
    if (!walk.reported) {
        walk.reported = true;
        if (limit > 0)
            Log().Printf(LOG_ERROR,
                         "DXF: an insert of the block <%s> %s %d entities through its nested "
                         "blocks\nin <%s>; it is not drawn, nor are others like it.",
                         insert.m_pBlock->m_csName.c_str(), why, static_cast<int>(limit),
                         m_csFileName.c_str());
        else
            Log().Printf(LOG_ERROR, "DXF: the block <%s> %s in <%s>; that insert is not drawn.",
                         insert.m_pBlock->m_csName.c_str(), why, m_csFileName.c_str());
    }
    insert.m_pBlock = nullptr;
}

// What a walk over the entity costs: one, and one more for each of its points.
static size_t WalkWeight(const CDxfEntity& entity) {
    switch (entity.GetType()) {
    case DXF_PLINE:
        return 1 + static_cast<const CDxfPline&>(entity).m_Vertices.size();
    case DXF_MESH:
        return 1 + static_cast<const CDxfMesh&>(entity).GetPointCount() +
               static_cast<const CDxfMesh&>(entity).GetFaceCount();
    case DXF_PGONMESH:
        return 1 + static_cast<const CDxfPgonMesh&>(entity).GetPointCount();
    default:
        return 1;
    }
}

size_t CDxfFile::LimitExpansion(const CEntList& list, size_t limit, ExpansionWalk& walk) {
    constexpr size_t kInProgress = SIZE_MAX;
    size_t total = 0;
    for (const auto& entity : list) {
        total += WalkWeight(*entity);
        if (entity->GetType() != DXF_INSERT) continue;
        auto* insert = static_cast<CDxfInsert*>(entity.get());
        CDxfBlock* block = insert->m_pBlock;
        if (!block) continue;
        size_t inner;
        if (auto it = walk.sizes.find(block); it == walk.sizes.end()) {
            walk.sizes[block] = kInProgress;
            inner = LimitExpansion(block->m_EntList, kMaxInsertExpansion, walk);
            walk.sizes[block] = inner;
        } else if (it->second == kInProgress) {
            // A block that inserts itself, directly or through others: what that insert draws
            // would depend on where the walk began, so it draws nothing.
            CutInsert(*insert, walk, "inserts itself", 0);
            continue;
        } else {
            inner = it->second;
        }
        // Every walk over the drawing (extents, drawing, snapping, picking) goes through all of
        // them; the insert stays in the drawing but shows nothing.
        if (inner > kMaxInsertExpansion) {
            CutInsert(*insert, walk, "would draw more than", kMaxInsertExpansion);
            continue;
        }
        if (total + inner > limit) {
            CutInsert(*insert, walk, "would draw more than", limit);
            continue;
        }
        total += inner;
    }
    return total;
}

void CDxfFile::ResolveInserts() {
    std::unordered_set<const CDxfBlock*> resolved;
    ResolveList(m_EntList, resolved);
    ExpansionWalk walk;
    LimitExpansion(m_EntList, kMaxDrawingExpansion, walk);
}

void CDxfFile::CheckMeshOrientation() {
    std::vector<CDxfMesh*> meshes;
    for (const auto& e : m_EntList)
        if (e->GetType() == DXF_MESH) meshes.push_back(static_cast<CDxfMesh*>(e.get()));
    if (meshes.empty()) return;
    Point lo, hi;
    GetExtents(lo, hi);
    const Point far(hi.x * 1000.0, hi.y * 1000.0, hi.z * 1000.0);
    int passed = 0, failed = 0;
    for (int axis = 0; axis < 3; ++axis) {
        auto coord = [axis](const Point& p) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; };
        const CDxfMesh* best = nullptr;
        int bestIndex = 0;
        for (const CDxfMesh* mesh : meshes)
            for (int i = 0; i < mesh->GetPointCount(); ++i)
                if (!best || coord(mesh->m_Points[i]) > coord(best->m_Points[bestIndex])) {
                    best = mesh;
                    bestIndex = i;
                }
        if (!best) continue;
        // The face holding that vertex (point numbers are 1-based).
        const DxfMeshFace* face = nullptr;
        for (const DxfMeshFace& f : best->m_Faces) {
            for (int k = 0; k < f.count && !face; ++k)
                if (f.index[k] == bestIndex + 1) face = &f;
            if (face) break;
        }
        Point normal;
        if (!face || !best->GetFaceNormal(*face, normal)) continue;
        const Point& v = best->m_Points[bestIndex];
        const double dx = far.x - v.x, dy = far.y - v.y, dz = far.z - v.z;
        const double len = std::sqrt(dx * dx + dy * dy + dz * dz);
        bool outward = true;
        if (len > 0.0) {
            const double c = std::clamp((normal.x * dx + normal.y * dy + normal.z * dz) / len, -1.0, 1.0);
            outward = std::acos(c) <= 1.570796326795;
        }
        (outward ? passed : failed)++;
    }
    if (passed == 0 && failed > 0) {
        for (CDxfMesh* mesh : meshes)
            mesh->ReverseFaces();
    } else if (passed > 0 && failed > 0) {
        AlertBox("The mesh normals are not consistent:<%s>\n", m_csFileName.c_str());
    }
}

const CSnapPointList& CDxfFile::GetSnapPoints() const {
    if (m_bSnapPointsDue) RebuildSnapPoints();
    return m_SnapPoints;
}

CSnapPointList& CDxfFile::GetSnapPoints() {
    if (m_bSnapPointsDue) RebuildSnapPoints();
    return m_SnapPoints;
}

void CDxfFile::RebuildSnapPoints() const {
    m_bSnapPointsDue = false;
    m_SnapPoints.Clear();
    // Counted before any point is made: what the file holds (twice over, and never fewer than
    // kMinSnapPoints), so that the points stay in proportion to the file however often its
    // inserts repeat a block.
    size_t stored = 0;
    for (const auto& e : m_EntList)
        stored += WalkWeight(*e);
    for (const auto& block : m_Blocks)
        for (const auto& e : block->m_EntList)
            stored += WalkWeight(*e);
    m_SnapPoints.m_Limit = std::max(kMinSnapPoints, 2 * stored);
    // Room at once for the points of the drawing's own lines and polylines: grown by doubling,
    // the list would hold up to three times its points for a moment, which for a drawing of long
    // polylines was the most memory its reading took.
    size_t own = 0;
    for (const auto& e : m_EntList)
        own += e->GetType() == DXF_LINE   ? 2
               : e->GetType() == DXF_PLINE ? static_cast<const CDxfPline&>(*e).m_Vertices.size()
                                           : 0;
    m_SnapPoints.m_Points.reserve(std::min(own, m_SnapPoints.m_Limit));
    const Matrix4 identity;
    for (const auto& e : m_EntList)
        AddSnapPoints(m_SnapPoints, e.get(), identity);
    if (m_SnapPoints.IsFull())
        Log().Printf(LOG_INFO, "DXF: only the first %d snap points of <%s> are kept",
                     static_cast<int>(m_SnapPoints.m_Limit), m_csFileName.c_str());
}

void CDxfFile::GetExtents(Point& min, Point& max, const Point& margin) const {
    ExtentsBox box;
    if (!m_EntList.GetKeptExtents(box, true)) {
        min = max = Point();
        return;
    }
    min = box.min;
    max = box.max;
    const double gx = (max.x - min.x) * margin.x, gy = (max.y - min.y) * margin.y,
                 gz = (max.z - min.z) * margin.z;
    min.x -= gx, max.x += gx;
    min.y -= gy, max.y += gy;
    min.z -= gz, max.z += gz;
}

Point CDxfFile::GetSize() const {
    Point lo, hi;
    GetExtents(lo, hi);
    return Point(hi.x - lo.x, hi.y - lo.y, hi.z - lo.z);
}

double MetresPerHeaderUnit(int units) {
    switch (units) {
    case 1:
        return 0.0254;
    case 2:
        return 0.3048;
    case 4:
        return 0.001;
    case 5:
        return 0.01;
    case 6:
        return 1.0;
    default:
        return 0.0;
    }
}
