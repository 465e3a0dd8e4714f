#include "model/LENIFloor.h"

#include "base/Logger.h"
#include "base/TextUtils.h"
#include "dxf/Geometry.h"
#include "model/UniqueNames.h"

#include <algorithm>

namespace {
// Room heights follow the floor but stay within the room's own range.
double RoomHeightFor(double floorHeight) {
    return std::clamp(floorHeight, 1.0, 200.0);
}
} // namespace

CLENIFloor::CLENIFloor() : m_dHeight(3.0), m_iInstanceCount(1), m_bPrintMe(false) {}

CLENIFloor::CLENIFloor(const std::string& name, double height)
    : m_dHeight(height), m_csName(name), m_iInstanceCount(1), m_bPrintMe(false) {
    if (name.empty()) Log().Printf(LOG_ERROR, "CLENIFloor::CLENIFloor called with empty floor name");
}

void CLENIFloor::SetHeight(double height) {
    if (!(height >= 1.0 && height <= 200.0)) height = 3.0;
    m_dHeight = height;
    for (CLENIRoom& room : m_Rooms)
        room.SetHeight(RoomHeightFor(height));
}

void CLENIFloor::SetInstanceCount(int count) {
    m_iInstanceCount = count > 0 ? count : 1;
}

// ---- Rooms ----

bool CLENIFloor::AddRoom(const CLENIRoom& room) {
    if (RoomExists(room.GetName())) {
        Log().Printf(LOG_ERROR, "CLENIFloor::AR trying to add room with same name: %s",
                     room.GetName().c_str());
        return false;
    }
    m_Rooms.push_back(room);
    m_Rooms.back().SetFloorName(m_csName);
    return true;
}

int CLENIFloor::GetRoomIndexByName(const std::string& name) const {
    for (size_t i = 0; i < m_Rooms.size(); ++i)
        if (EqualsNoCase(m_Rooms[i].GetName(), name)) return static_cast<int>(i);
    return -1;
}

CLENIRoom* CLENIFloor::FindRoom(const std::string& name) {
    const int i = GetRoomIndexByName(name);
    return i < 0 ? nullptr : &m_Rooms[i];
}

const CLENIRoom* CLENIFloor::FindRoom(const std::string& name) const {
    const int i = GetRoomIndexByName(name);
    return i < 0 ? nullptr : &m_Rooms[i];
}

CLENIRoom* CLENIFloor::GetRoomByIndex(int index) {
    return const_cast<CLENIRoom*>(static_cast<const CLENIFloor*>(this)->GetRoomByIndex(index));
}

const CLENIRoom* CLENIFloor::GetRoomByIndex(int index) const {
    if (index < 0 || index >= GetRoomCount()) {
        Log().Printf(LOG_ERROR, "CLENIFloor::GRBI(%d) out of range", index);
        return m_Rooms.empty() ? nullptr : &m_Rooms.front();
    }
    return &m_Rooms[index];
}

bool CLENIFloor::ReplaceRoom(const CLENIRoom& room) {
    CLENIRoom* existing = FindRoom(room.GetName());
    if (!existing) return false;
    *existing = room;
    existing->SetFloorName(m_csName);
    return true;
}

bool CLENIFloor::RemoveRoomByName(const std::string& name) {
    const int i = GetRoomIndexByName(name);
    if (i < 0) {
        Log().Printf(LOG_ERROR, "CLENIFloor::::RRBN (%s) no room by that name", name.c_str());
        return false;
    }
    m_Rooms.erase(m_Rooms.begin() + i);
    return true;
}

bool CLENIFloor::RemoveZoneByName(const std::string& zone, const std::string& room) {
    CLENIRoom* r = FindRoom(room);
    if (!r) {
        Log().Printf(LOG_ERROR, "CLENIFloor::RZBN %s %s failed", zone.c_str(), room.c_str());
        return false;
    }
    return r->RemoveZoneByName(zone);
}

bool CLENIFloor::RemoveWindow(int wallId, int windowId, const std::string& room) {
    CLENIRoom* r = FindRoom(room);
    if (!r) {
        Log().Printf(LOG_ERROR, "CLENIFloor::RWIR (%s) no room by that name", room.c_str());
        return false;
    }
    return r->RemoveWindow(wallId, windowId);
}

bool CLENIFloor::RemoveRoofLight(const std::string& room, int id) {
    CLENIRoom* r = FindRoom(room);
    if (!r) {
        Log().Printf(LOG_ERROR, "CLENIFloor::RRLFR %s failed", room.c_str());
        return false;
    }
    return r->RemoveRoofLight(id);
}

const CLENIRoom* CLENIFloor::GetRoomAtPoint(const Point& p, bool near) const {
    for (const CLENIRoom& room : m_Rooms)
        if (room.GetPolygon().size() >= 3 && IsPointInPolygon(room.GetPolygon(), p)) return &room;
    if (near)
        for (const CLENIRoom& room : m_Rooms)
            if (!room.GetPolygon().empty() &&
                GetNearestPointOnPolygon(room.GetPolygon(), p).distance <= kContainmentTolerance)
                return &room;
    return nullptr;
}

void CLENIFloor::GetBoundingBox(Point& min, Point& max) const {
    min = max = Point();
    bool first = true;
    for (const CLENIRoom& room : m_Rooms)
        for (const Point& p : room.GetPolygon()) {
            if (first) {
                min = max = Point(p.x, p.y);
                first = false;
            }
            min.x = std::min(min.x, p.x);
            min.y = std::min(min.y, p.y);
            max.x = std::max(max.x, p.x);
            max.y = std::max(max.y, p.y);
        }
}

int CLENIFloor::GetRoofLightCount() const {
    int count = 0;
    for (const CLENIRoom& room : m_Rooms)
        count += room.GetRoofLightCount();
    return count;
}

double CLENIFloor::GetArea() const {
    double area = 0.0;
    for (const CLENIRoom& room : m_Rooms)
        area += room.GetArea();
    return area;
}

// ---- Generated names ----

std::string CLENIFloor::GetUniqueRoomName() const {
    std::string name = FindFreeRoomName(*this);
    if (!name.empty()) return name;
    Log().Printf(LOG_ERROR, "CLENIFloor::GURN limit reached");
    return "NEW_ROOM";
}

std::string CLENIFloor::GetUniqueZoneName(const std::string& room) const {
    std::string name = FindFreeZoneName(*this, room);
    if (!name.empty()) return name;
    Log().Printf(LOG_ERROR, "CLENIFloor::GUZN limit reached");
    return "NEW_ZONE";
}

std::string CLENIFloor::GetUniqueAtriumName() const {
    std::string name = FindFreeAtriumName(*this);
    if (!name.empty()) return name;
    Log().Printf(LOG_ERROR, "CLENIFloor::GUAZN limit reached");
    return "NEW_ATRIO";
}

// ---- Atria ----

bool CLENIFloor::AddAtrium(const CLENIAtrium& atrium) {
    if (FindAtrium(atrium.m_csName)) {
        Log().Printf(LOG_ERROR, "CLENIFloor::AA trying to add atrium with same name: %s",
                     atrium.m_csName.c_str());
        return false;
    }
    m_Atria.push_back(atrium);
    return true;
}

CLENIAtrium* CLENIFloor::FindAtrium(const std::string& name) {
    return const_cast<CLENIAtrium*>(static_cast<const CLENIFloor*>(this)->FindAtrium(name));
}

const CLENIAtrium* CLENIFloor::FindAtrium(const std::string& name) const {
    for (const CLENIAtrium& atrium : m_Atria)
        if (EqualsNoCase(atrium.m_csName, name)) return &atrium;
    return nullptr;
}

bool CLENIFloor::ReplaceAtrium(const CLENIAtrium& atrium, const std::string& name) {
    CLENIAtrium* existing = FindAtrium(name);
    if (!existing) return false;
    *existing = atrium;
    return true;
}

bool CLENIFloor::RemoveAtrium(const std::string& name) {
    for (size_t i = 0; i < m_Atria.size(); ++i)
        if (EqualsNoCase(m_Atria[i].m_csName, name)) {
            m_Atria.erase(m_Atria.begin() + i);
            return true;
        }
    return false;
}

const CLENIAtrium* CLENIFloor::GetAtriumAtPoint(const Point& p) const {
    for (const CLENIAtrium& atrium : m_Atria)
        if (atrium.m_Polygon.size() >= 3 && IsPointInPolygon(atrium.m_Polygon, p)) return &atrium;
    return nullptr;
}
