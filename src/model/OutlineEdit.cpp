#include "model/OutlineEdit.h"

#include "base/TextUtils.h"
#include "dxf/DxfPline.h"
#include "dxf/Geometry.h"
#include "model/LENIFloor.h"

#include <algorithm>
#include <utility>

namespace {

bool IsSimpleOutline(const Polygon& outline) {
    const size_t n = outline.size();
    for (size_t i = 0; i < n; ++i)
        if (Distance2D(outline[i], outline[(i + 1) % n]) <= 1e-6) return false;
    // Closed by repeating the first corner, so the closing side is checked too.
    CDxfPline pline;
    for (const Point& v : outline)
        pline.AddVertex(Point(v.x, v.y));
    pline.AddVertex(Point(outline.front().x, outline.front().y));
    return !pline.IsSelfIntersecting() && CalcShoelaceArea(outline) > 1e-9;
}

Polygon Shifted(const Polygon& outline, const Point& by) {
    Polygon moved = outline;
    for (Point& v : moved) {
        v.x += by.x;
        v.y += by.y;
    }
    return moved;
}

// The other room of the floor that the outline would overlap; null when none.
const CLENIRoom* OverlappedRoom(const CLENIFloor& floor, const Polygon& outline, const std::string& self) {
    for (const CLENIRoom& other : floor.GetRooms())
        if (!EqualsNoCase(other.GetName(), self) &&
            (PolygonsOverlap(outline, other.GetPolygon(), kContainmentTolerance) ||
             OutlinesOverlap(outline, other.GetPolygon(), kContainmentTolerance)))
            return &other;
    return nullptr;
}

// "Office" -> "Office 2", "Office 2" -> "Office 3": the first number not taken on the floor.
std::string FreeCopyName(const CLENIFloor& floor, const std::string& name) {
    std::string stem = name;
    const size_t space = stem.find_last_of(' ');
    if (space != std::string::npos && space + 1 < stem.size() &&
        stem.find_first_not_of("0123456789", space + 1) == std::string::npos)
        stem.erase(space);
    for (int i = 2; i < 100000; ++i) {
        const std::string candidate = StrPrintf("%s %d", stem.c_str(), i);
        if (!floor.RoomExists(candidate)) return candidate;
    }
    return floor.GetUniqueRoomName();
}

bool CheckRoom(const CLENIFloor& floor, const OutlineEdit& edit, CLENIRoom& room, std::string& message) {
    const Polygon outline = edit.outline;
    if (const CLENIRoom* other = OverlappedRoom(floor, outline, room.GetName())) {
        message = StrPrintf("The room <%s> would overlap room <%s>.", room.GetName().c_str(), other->GetName().c_str());
        return false;
    }
    if (!edit.wallMap.empty() && !IsPolygonCounterClockwise(outline) && room.GetWindowCount() > 0) {
        message = "The outline would turn inside out and its windows would lose their walls.";
        return false;
    }
    // Roof lights keep their place on the plan (or move with a moved room).
    const Point oldRef = room.GetReferencePoint();
    std::vector<CLENIRoofLight> roofLights = room.GetRoofLights();
    std::vector<CLENIWindow> windows = room.GetWindows();
    std::vector<CLENIZone> zones = room.GetZones();
    room.SetPolygon(outline);
    if (!IsPolygonCounterClockwise(outline) && room.GetWindowCount() > 0) {
        message = "The outline would turn inside out and its windows would lose their walls.";
        return false;
    }
    const Point newRef = room.GetReferencePoint();
    const Point by = edit.moveContents ? edit.shift : Point();
    for (CLENIRoofLight& roofLight : roofLights) {
        roofLight.m_dXOrig += oldRef.x + by.x - newRef.x;
        roofLight.m_dYOrig += oldRef.y + by.y - newRef.y;
        room.ChangeRoofLight(roofLight);
        if (!IsPolygonInsidePolygon(room.GetRoofLightOutline(roofLight), room.GetPolygon(), kContainmentTolerance)) {
            message = StrPrintf("The roof light %d of room <%s> would no longer lie inside the room.",
                                roofLight.m_iId, room.GetName().c_str());
            return false;
        }
    }
    if (!edit.wallMap.empty()) {
        for (const CLENIWindow& window : windows)
            room.RemoveWindow(window.m_iWallId, window.m_iWindowId);
        for (CLENIWindow& window : windows) {
            const int wall = window.m_iWallId;
            if (wall < 0 || wall >= static_cast<int>(edit.wallMap.size()) || edit.wallMap[wall] < 0) {
                message = StrPrintf("A window of room <%s> is on a wall that would be gone.\nRemove the window first.",
                                    room.GetName().c_str());
                return false;
            }
            window.m_iWallId = edit.wallMap[wall];
            room.AddWindow(window);
        }
    }
    for (const CLENIWindow& window : room.GetWindows()) {
        std::string why;
        if (!room.CheckWindowPlacement(window, why)) {
            message = StrPrintf("A window of room <%s> would no longer fit its wall:\n%s", room.GetName().c_str(),
                                why.c_str());
            return false;
        }
    }
    for (CLENIZone& zone : zones) {
        if (edit.moveContents) {
            zone.SetPolygon(Shifted(zone.GetPolygon(), edit.shift));
            room.ReplaceZone(zone);
        }
        if (!IsPolygonInsidePolygon(zone.GetPolygon(), room.GetPolygon(), kContainmentTolerance)) {
            message = StrPrintf("The zone <%s> would no longer lie inside room <%s>.", zone.GetName().c_str(),
                                room.GetName().c_str());
            return false;
        }
    }
    return true;
}

} // namespace

Polygon GetEditedOutline(const CLENIFloor& floor, int kind, const std::string& room, const std::string& name) {
    if (kind == OUTLINE_ATRIUM) {
        const CLENIAtrium* atrium = floor.FindAtrium(name);
        return atrium ? atrium->m_Polygon : Polygon();
    }
    const CLENIRoom* r = floor.FindRoom(room);
    if (!r) return Polygon();
    if (kind == OUTLINE_ROOM) return r->GetPolygon();
    const CLENIZone* zone = kind == OUTLINE_ZONE ? r->FindZone(name) : nullptr;
    return zone ? zone->GetPolygon() : Polygon();
}

std::vector<int> WallMapAfterInsert(int n, int after) {
    std::vector<int> map(std::max(n, 0));
    for (int i = 0; i < n; ++i)
        map[i] = i <= after ? i : i + 1;
    return map;
}

std::vector<int> WallMapAfterDelete(int n, int corner) {
    std::vector<int> map(std::max(n, 0));
    const int before = (corner + n - 1) % std::max(n, 1);
    for (int i = 0; i < n; ++i) {
        if (i == corner || i == before)
            map[i] = -1;
        else
            map[i] = i < corner ? i : i - 1;
    }
    return map;
}

bool ApplyOutlineEdit(CLENIFloor& floor, const OutlineEdit& edit, std::string& message) {
    message.clear();
    const Polygon& outline = edit.outline;
    if (outline.size() < 3) {
        message = "An outline needs at least 3 corners.";
        return false;
    }
    if (!IsSimpleOutline(outline)) {
        message = "This cannot be self intersecting";
        return false;
    }
    switch (edit.kind) {
    case OUTLINE_ROOM: {
        const CLENIRoom* found = floor.FindRoom(edit.room);
        if (!found) break;
        CLENIRoom room = *found;
        if (!CheckRoom(floor, edit, room, message)) return false;
        floor.ReplaceRoom(room);
        return true;
    }
    case OUTLINE_ZONE: {
        CLENIRoom* room = floor.FindRoom(edit.room);
        const CLENIZone* found = room ? std::as_const(*room).FindZone(edit.name) : nullptr;
        if (!found) break;
        if (!IsPolygonInsidePolygon(outline, room->GetPolygon(), kContainmentTolerance)) {
            message = StrPrintf("Zones have to stay inside their room\nA side of this zone crosses the walls of room <%s>.",
                                room->GetName().c_str());
            return false;
        }
        for (const CLENIZone& other : room->GetZones())
            if (!EqualsNoCase(other.GetName(), edit.name) &&
                (PolygonsOverlap(outline, other.GetPolygon(), kContainmentTolerance) ||
                 OutlinesOverlap(outline, other.GetPolygon(), kContainmentTolerance))) {
                message = StrPrintf("The zone <%s> would overlap zone <%s>.", edit.name.c_str(),
                                    other.GetName().c_str());
                return false;
            }
        CLENIZone zone = *found;
        zone.SetPolygon(outline);
        room->ReplaceZone(zone);
        return true;
    }
    case OUTLINE_ATRIUM: {
        const CLENIAtrium* found = floor.FindAtrium(edit.name);
        if (!found) break;
        CLENIAtrium atrium = *found;
        atrium.SetPolygon(outline);
        floor.ReplaceAtrium(atrium, edit.name);
        return true;
    }
    default:
        break;
    }
    message = "The outline to change is no longer on this floor.";
    return false;
}

bool CopyRoom(const CLENIFloor& from, const std::string& room, const Point& by, CLENIFloor& to,
              std::string& newName, std::string& message) {
    message.clear();
    const CLENIRoom* source = from.FindRoom(room);
    if (!source) {
        message = StrPrintf("There is no room <%s> to copy.", room.c_str());
        return false;
    }
    const Point shift(by.x, by.y);
    const Polygon outline = Shifted(source->GetPolygon(), shift);
    if (const CLENIRoom* other = OverlappedRoom(to, outline, std::string())) {
        message = StrPrintf("The copy of room <%s> would overlap room <%s>.\nPut it where the floor is free.",
                            room.c_str(), other->GetName().c_str());
        return false;
    }
    newName = FreeCopyName(to, source->GetName());
    CLENIRoom copy = *source;
    copy.SetName(newName);
    copy.SetFloorName(to.GetName());
    // Windows keep their walls and roof lights their place in the room: both are held relative to it.
    copy.SetPolygon(outline);
    const std::string oldSuffix = "_(" + source->GetName() + ")";
    for (const CLENIZone& zone : source->GetZones())
        copy.RemoveZoneByName(zone.GetName());
    for (CLENIZone zone : source->GetZones()) {
        zone.SetPolygon(Shifted(zone.GetPolygon(), shift));
        const std::string& name = zone.GetName();
        if (name.size() > oldSuffix.size() &&
            EqualsNoCase(name.substr(name.size() - oldSuffix.size()), oldSuffix))
            zone.SetName(name.substr(0, name.size() - oldSuffix.size()) + "_(" + newName + ")");
        copy.AddZone(zone);
    }
    copy.SetHeight(to.GetHeight());
    if (!to.AddRoom(copy)) {
        message = StrPrintf("The copy of room <%s> could not be added to floor <%s>.", room.c_str(), to.GetName().c_str());
        return false;
    }
    return true;
}
