#include "calc/RoomContentKey.h"

#include "model/LENIProject.h"
#include "products/LumSysDataBase.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Fixed-size fields as their bytes, texts and lists with their lengths in front, so that no two
// different inputs give the same bytes.
// Given the bytes of an earlier key instead, it compares as it goes and writes nothing.
class CKeyWriter {
  public:
    explicit CKeyWriter(std::string& out) : m_pOut(&out) {}
    CKeyWriter(const char* expected, size_t size) : m_pExpected(expected), m_ExpectedSize(size) {}
    // Comparing: whether everything put so far, and nothing more, is the expected bytes.
    bool IsSame() const { return m_bSame && m_At == m_ExpectedSize; }
    void Tag(char tag) { Raw(&tag, 1); }
    void Put(double value) { Raw(&value, sizeof value); }
    void Put(int value) { Raw(&value, sizeof value); }
    void Put(bool value) {
        const char byte = value ? '\1' : '\0';
        Raw(&byte, 1);
    }
    void Put(const std::string& text) {
        Size(text.size());
        Raw(text.data(), text.size());
    }
    void Size(size_t n) {
        const std::uint64_t value = n;
        Raw(&value, sizeof value);
    }
    void Put(const Point& p) {
        Put(p.x);
        Put(p.y);
        Put(p.z);
        Put(p.w);
    }
    void Put(const Polygon& polygon) {
        Size(polygon.size());
        for (const Point& p : polygon)
            Put(p);
    }
    void Put(const CZoneObjList& list) {
        Size(list.GetEntries().size());
        for (const CZoneObjList::Entry& e : list.GetEntries()) {
            Put(e.refId);
            Put(e.count);
        }
    }

  private:
    void Raw(const void* data, size_t size) {
        if (m_pOut) {
            m_pOut->append(static_cast<const char*>(data), size);
            return;
        }
        if (!m_bSame) return;
        if (size > m_ExpectedSize - m_At || std::memcmp(m_pExpected + m_At, data, size) != 0) {
            m_bSame = false;
            return;
        }
        m_At += size;
    }
    std::string* m_pOut = nullptr;
    const char* m_pExpected = nullptr;
    size_t m_ExpectedSize = 0;
    size_t m_At = 0;
    bool m_bSame = true;
};

void PutZone(CKeyWriter& w, const CLENIZone& z) {
    w.Tag('Z');
    w.Put(z.GetName());
    w.Put(z.GetControlTechnique());
    w.Put(z.GetOccupancyControlSystem());
    w.Put(z.GetPolygon());
    w.Put(z.GetLumList());
    w.Put(z.GetZoneIlluminance());
    w.Put(z.GetRealIlluminance());
    w.Put(z.GetFa());
    w.Put(z.GetFoMode());
    w.Put(z.GetConstantIlluminanceControl());
    w.Put(z.GetFcc());
    w.Put(z.GetConstantLumenOutput());
    w.Put(z.GetPrintMe());
}

void PutWindow(CKeyWriter& w, const CLENIWindow& x) {
    w.Tag('W');
    w.Put(x.m_dWidth);
    w.Put(x.m_dHeight);
    w.Put(x.m_dSillHeight);
    w.Put(x.m_dStart);
    w.Put(x.m_iWallId);
    w.Put(x.m_iWindowId);
    w.Put(x.m_dTauD65);
    w.Put(x.m_dK1);
    w.Put(x.m_dK2);
    w.Put(x.m_dK3);
    w.Put(x.m_dFrontAngle);
    w.Put(x.m_dSideAngle);
    w.Put(x.m_dOverhangAngle);
    w.Put(x.m_bHasGdf);
    w.Put(x.m_dGdfTau);
    w.Put(x.m_dGdfK1);
    w.Put(x.m_dGdfK2);
    w.Put(x.m_dGdfK3);
    w.Put(x.m_csAtriumName);
    w.Put(x.m_LumList);
    w.Put(x.m_iVertWinType);
    w.Put(x.m_dSlopeLength);
    w.Put(x.m_dGamma);
    w.Put(x.m_dDistToWall);
    w.Put(x.m_dHeightToSlope);
    w.Put(x.m_iSlopeType);
    w.Put(x.m_dTD65SA);
}

void PutRoofLight(CKeyWriter& w, const CLENIRoofLight& r) {
    w.Tag('R');
    w.Put(r.m_dYWidth);
    w.Put(r.m_dXLength);
    w.Put(r.m_dXOrig);
    w.Put(r.m_dYOrig);
    w.Put(r.m_dZOrig);
    w.Put(r.m_iId);
    w.Put(r.m_iType);
    w.Put(r.m_dTauD65Sna);
    w.Put(r.m_dTauD65Sa);
    w.Put(r.m_dKObl1);
    w.Put(r.m_dKObl2);
    w.Put(r.m_dKObl3);
    w.Put(r.m_dHw);
    w.Put(r.m_dHg);
    w.Put(r.m_dHs);
    w.Put(r.m_dGammaF);
    w.Put(r.m_dGammaW);
    w.Put(r.m_LumList);
    w.Put(r.GetOrientation());
}

void PutAtrium(CKeyWriter& w, const CLENIAtrium& a) {
    w.Tag('A');
    w.Put(a.m_Polygon);
    w.Put(a.m_iKind);
    w.Put(a.m_csName);
    w.Put(a.m_dTrans);
    w.Put(a.m_dK1);
    w.Put(a.m_dK2);
    w.Put(a.m_dK3);
}

// The product a luminaire entry stands for, found as the calculation finds it.
void PutProduct(CKeyWriter& w, const std::string& refId, const CLumSysDataBase& db) {
    const CLumSysDataBase* from = &db;
    int index = db.GetIndexOfRefId(refId);
    char tag = 'P';
    if (index < 0 && !db.IsGlobal()) {
        from = &CLumSysDataBase::Global();
        index = from->GetIndexOfRefId(refId);
        tag = 'G';
    }
    if (index < 0) {
        w.Tag('N');
        return;
    }
    const CLumTypeData& p = from->GetProducts()[static_cast<size_t>(index)];
    w.Tag(tag);
    w.Put(p.GetTypeFlags());
    w.Put(p.GetProdConSys());
    w.Put(p.GetRefId());
    w.Put(p.GetDesc());
    w.Put(p.GetMaxPow());
    w.Put(p.GetStandbyPow());
    w.Put(p.GetChargePow());
}

void PutProducts(CKeyWriter& w, const CZoneObjList& list, const CLumSysDataBase& db) {
    for (const CZoneObjList::Entry& e : list.GetEntries())
        PutProduct(w, e.refId, db);
}

} // namespace

namespace {

void PutFloor(CKeyWriter& w, const CLENIProject& project, int index) {
    w.Put(index);
    if (index < 0 || index >= project.GetFloorCount()) return;
    const CLENIFloor& floor = project.GetFloors()[static_cast<size_t>(index)];
    w.Tag('F');
    w.Put(floor.GetName());
    w.Put(floor.GetHeight());
    w.Put(floor.GetInstanceCount());
    w.Put(floor.GetPrintMe());
    // The height to the top of the building, from this floor or from the first of its name.
    const int first = project.GetFloorIndexByName(floor.GetName());
    w.Put(first);
    for (int i = std::max(0, std::min(first, index)); i < project.GetFloorCount(); ++i) {
        const CLENIFloor& above = project.GetFloors()[static_cast<size_t>(i)];
        w.Put(above.GetHeight());
        w.Put(above.GetInstanceCount());
    }
    w.Size(floor.GetAtria().size());
    for (const CLENIAtrium& atrium : floor.GetAtria())
        PutAtrium(w, atrium);
}

} // namespace

std::string GetRoomCalcContext(const CLENIProject& project, int floorByName, int floorHoldingRoom) {
    std::string out;
    out.reserve(128 + 32 * static_cast<size_t>(project.GetFloorCount()));
    CKeyWriter w(out);
    w.Tag('C');
    w.Put(project.GetLatitude());
    w.Put(project.GetLongitude());
    w.Put(project.GetHdirHglob());
    w.Put(project.GetMaintenanceFactor());
    w.Put(project.GetDominantBuildingType());
    PutFloor(w, project, floorByName);
    if (floorHoldingRoom != floorByName) PutFloor(w, project, floorHoldingRoom);
    return out;
}

int GetFloorIndexHoldingRoom(const CLENIProject& project, const CLENIRoom& room) {
    const std::vector<CLENIFloor>& floors = project.GetFloors();
    for (size_t i = 0; i < floors.size(); ++i) {
        const std::vector<CLENIRoom>& rooms = floors[i].GetRooms();
        if (!rooms.empty() && &room >= rooms.data() && &room < rooms.data() + rooms.size())
            return static_cast<int>(i);
    }
    return -1;
}

namespace {

void PutRoomContent(CKeyWriter& w, const CLENIRoom& room, const CLENIProject& project) {
    w.Tag('r');
    w.Put(room.GetName());
    w.Put(room.GetRoomType());
    w.Put(room.GetFloorName());
    w.Put(room.GetTd());
    w.Put(room.GetTn());
    w.Put(room.GetWrkSrfHi());
    w.Put(room.GetMaintenanceFactor());
    w.Put(room.GetHeight());
    w.Put(room.GetPolygon());
    w.Put(room.GetDcajSource());
    w.Put(room.GetUserDcaj());
    w.Put(room.GetShadingType());
    w.Put(room.GetPrintMe());
    w.Size(room.GetZones().size());
    for (const CLENIZone& zone : room.GetZones())
        PutZone(w, zone);
    w.Size(room.GetWindows().size());
    for (const CLENIWindow& window : room.GetWindows())
        PutWindow(w, window);
    w.Size(room.GetRoofLights().size());
    for (const CLENIRoofLight& roofLight : room.GetRoofLights())
        PutRoofLight(w, roofLight);

    const CLumSysDataBase& db = project.GetProducts();
    w.Tag('p');
    for (const CLENIZone& zone : room.GetZones())
        PutProducts(w, zone.GetLumList(), db);
    for (const CLENIWindow& window : room.GetWindows())
        PutProducts(w, window.m_LumList, db);
    for (const CLENIRoofLight& roofLight : room.GetRoofLights())
        PutProducts(w, roofLight.m_LumList, db);
}

} // namespace

std::string GetRoomContent(const CLENIRoom& room, const CLENIProject& project) {
    std::string out;
    out.reserve(1024);
    CKeyWriter w(out);
    PutRoomContent(w, room, project);
    return out;
}

bool IsRoomContent(const char* content, size_t size, const CLENIRoom& room, const CLENIProject& project) {
    CKeyWriter w(content, size);
    PutRoomContent(w, room, project);
    return w.IsSame();
}

std::string GetRoomContentKey(const CLENIRoom& room, const CLENIProject& project) {
    return GetRoomContent(room, project) +
           GetRoomCalcContext(project, project.GetFloorIndexByName(room.GetFloorName()),
                              GetFloorIndexHoldingRoom(project, room));
}
