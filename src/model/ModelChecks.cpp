#include "model/ModelChecks.h"

#include "base/TextUtils.h"
#include "dxf/Geometry.h"
#include "model/LENIProject.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <utility>

namespace {

// What a size may be off by, in metres, before it is a finding: a millimetre.
constexpr double kSizeTolerance = 1e-3;

std::vector<std::string> WorkOutRoomShape(const CLENIRoom& room);

// The findings of rooms as last worked out, by room object, with the room's revision they are
// of: the results dialog shows every room's after each calculation. Forgotten all at once when
// there are many more than a large building has rooms.
class CKnownFindings {
  public:
    std::vector<std::string> Of(const CLENIRoom& room) {
        const std::uint64_t revision = room.GetRevision();
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            auto it = m_Known.find(&room);
            if (it != m_Known.end() && it->second.first == revision) return it->second.second;
        }
        std::vector<std::string> found = WorkOutRoomShape(room);
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_Known.size() >= kMaxRooms) m_Known.clear();
        m_Known[&room] = {revision, found};
        return found;
    }

  private:
    static constexpr size_t kMaxRooms = 100000;
    std::mutex m_Mutex;
    std::unordered_map<const CLENIRoom*, std::pair<std::uint64_t, std::vector<std::string>>> m_Known;
};

CKnownFindings& KnownFindings() {
    static CKnownFindings known;
    return known;
}

} // namespace

std::vector<std::string> CheckRoomShape(const CLENIRoom& room) {
    return KnownFindings().Of(room);
}

namespace {

std::vector<std::string> WorkOutRoomShape(const CLENIRoom& room) {
    std::vector<std::string> found;
    const char* name = room.GetName().c_str();
    const double roomArea = room.GetArea();
    if (room.OutlineCrossesItself())
        found.push_back(
            StrPrintf("The outline of room <%s> crosses itself: its area is taken as the area drawn, "
                      "%.2f m\xC2\xB2. Please draw the room again.",
                      name, roomArea));
    Point roomLo, roomHi;
    GetPolygonBoundingBox(room.GetPolygon(), roomLo, roomHi);
    for (const CLENIZone& zone : room.GetZones()) {
        Point lo, hi;
        GetPolygonBoundingBox(zone.GetPolygon(), lo, hi);
        const double area = zone.GetArea();
        if (area > roomArea + kSizeTolerance * kSizeTolerance * 1e3)
            found.push_back(
                StrPrintf("Zone <%s> of room <%s> has an area of %.2f m\xC2\xB2, more than its room's "
                          "%.2f m\xC2\xB2.",
                          zone.GetName().c_str(), name, area, roomArea));
        else if (lo.x < roomLo.x - kSizeTolerance || lo.y < roomLo.y - kSizeTolerance ||
                 hi.x > roomHi.x + kSizeTolerance || hi.y > roomHi.y + kSizeTolerance)
            found.push_back(
                StrPrintf("Zone <%s> of room <%s> reaches beyond its room.", zone.GetName().c_str(), name));
    }
    for (const CLENIWindow& window : room.GetWindows()) {
        if (window.m_iWallId < 0 || window.m_iWallId >= room.GetWallCount()) continue;
        const double wall = room.GetWallLength(window.m_iWallId);
        if (window.m_dStart + window.m_dWidth > wall + kSizeTolerance)
            found.push_back(
                StrPrintf("Window(%d) of room <%s> reaches %.3f m along its wall, which is %.3f m long: "
                          "the window is longer than its wall.",
                          window.m_iWindowId, name, window.m_dStart + window.m_dWidth, wall));
    }
    return found;
}

} // namespace

std::vector<std::string> CheckProjectShape(const CLENIProject& project) {
    std::vector<std::string> found;
    for (const CLENIFloor& floor : project.GetFloors())
        for (const CLENIRoom& room : floor.GetRooms()) {
            std::vector<std::string> more = CheckRoomShape(room);
            found.insert(found.end(), more.begin(), more.end());
        }
    for (const std::string& id : project.GetProductIdsReadTwice())
        found.push_back(
            StrPrintf("The project file holds the luminaire <refid = %s> twice: the second one was "
                      "ignored.",
                      id.c_str()));
    return found;
}
