// The floor page's context commands for windows, roof lights and atria: each finds its target at
// the click point, opens the property dialog on a copy and writes the accepted copy back through
// the model's operations.

#include "app/LENIBDoc.h"
#include "app/Preferences.h"
#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "dxf/DxfFile.h"
#include "dxf/Geometry.h"
#include "model/LENIProject.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/editor/ContextHooks.h"
#include "ui/openings/AtrioPropsDlg.h"
#include "ui/openings/RoofLightDlg.h"
#include "ui/openings/WindowDlg.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr double kWallPickDistance = 1.0; // m
constexpr double kMaxObstructionAngle = 89.999;

CLENIProject* ProjectOf(const FloorPageContext& ctx) {
    return ctx.doc ? &ctx.doc->GetProject() : nullptr;
}

// The page's floor; one that cannot be found by the page's name is only logged.
CLENIFloor* PageFloor(const FloorPageContext& ctx) {
    CLENIProject* project = ProjectOf(ctx);
    if (!project) return nullptr;
    if (!project->FloorExists(ctx.floorName)) {
        Log().Printf(LOG_DEFERRED, "CDxfTabDlg, floor %s could not be found", ctx.floorName.c_str());
        return nullptr;
    }
    return project->GetFloorByName(ctx.floorName);
}

CLENIRoom* RoomAt(CLENIFloor& floor, const Point& p, bool tolerant) {
    const CLENIRoom* room = floor.GetRoomAtPoint(p, tolerant);
    return room ? floor.FindRoom(room->GetName()) : nullptr;
}

// The wall of the tolerant room at the point: the nearest outline edge within 1 m.
CLENIRoom* WallAt(CLENIFloor& floor, const Point& p, int& wall) {
    CLENIRoom* room = RoomAt(floor, p, true);
    if (!room) return nullptr;
    const NearestPoint nearest = GetNearestPointOnPolygon(room->GetPolygon(), p);
    if (!(nearest.distance < kWallPickDistance) || nearest.index1 == nearest.index2) return nullptr;
    wall = nearest.index1;
    return room;
}

// Where the point's perpendicular foot falls on the segment: the parameter (0 at a, 1 at b) and
// the distance; a segment of no length gives parameter 0 and the plain distance.
double SegmentFoot(const Point& a, const Point& b, const Point& p, double& distance) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    if (length2 <= 0.0) {
        distance = Distance2D(a, p);
        return 0.0;
    }
    const double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2;
    distance = std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / std::sqrt(length2);
    return t;
}

// Index of the window of the room whose daylight area holds the point; with several, the one whose
// wall is nearest to the point. -1 for none.
int WindowOfDaylightAreaAt(const CLENIRoom& room, const Point& p) {
    std::vector<int> candidates;
    for (int i = 0; i < room.GetWindowCount(); ++i) {
        const Polygon area = room.GetWindowDaylightArea(room.GetWindows()[i]);
        if (area.size() >= 3 && IsPointInPolygon(area, p)) candidates.push_back(i);
    }
    if (candidates.size() <= 1) return candidates.empty() ? -1 : candidates.front();
    int best = candidates.front();
    double bestDistance = 1e300;
    const Polygon& outline = room.GetPolygon();
    for (int i : candidates) {
        const int wall = room.GetWindows()[i].m_iWallId;
        if (wall < 0 || wall >= room.GetWallCount()) continue;
        double distance = 0.0;
        const double t = SegmentFoot(outline[wall], outline[(wall + 1) % outline.size()], p, distance);
        if (t < 0.0 || t > 1.0) continue;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

// The roof light at the point in the strict room there; says so when there is no room.
CLENIRoofLight* RoofLightAt(CLENIFloor& floor, const Point& p, CLENIRoom*& room) {
    room = RoomAt(floor, p, false);
    if (!room) {
        WalertBox("No room found here, so no rooflights here");
        return nullptr;
    }
    const CLENIRoofLight* roofLight = room->GetRoofLightAtPoint(p);
    return roofLight ? room->FindRoofLight(roofLight->m_iId) : nullptr;
}

void RoomExtents(const CLENIRoom& room, double& width, double& depth) {
    width = depth = 0.0;
    if (room.GetPolygon().empty()) return;
    const Point extents = room.GetRoomExtents();
    width = extents.x;
    depth = extents.y;
}

} // namespace

void CmdAddWindow(const FloorPageContext& ctx) {
    CLENIFloor* floor = PageFloor(ctx);
    if (!floor) return;
    int wall = -1;
    CLENIRoom* room = WallAt(*floor, ctx.clickPoint, wall);
    if (!room) {
        WalertBox("There is no wall here");
        return;
    }
    if (room->GetRoofLightCount() > 0) {
        WalertBox("This room has %d roof lights.\nWindows can only be added to rooms\nwith no roof lights",
                  room->GetRoofLightCount());
        return;
    }
    CLENIWindow window = Preferences().m_WindowTemplate;
    window.m_dFrontAngle = std::clamp(window.m_dFrontAngle, 0.0, kMaxObstructionAngle);
    window.m_dSideAngle = std::clamp(window.m_dSideAngle, 0.0, kMaxObstructionAngle);
    window.m_dOverhangAngle = std::clamp(window.m_dOverhangAngle, 0.0, kMaxObstructionAngle);
    window.m_iWallId = wall;
    window.m_dStart = room->GetXAlongWallSide(ctx.clickPoint, wall) - window.m_dWidth / 2.0;
    window.m_iWindowId = 0;
    if (room->GetWindowCount() > 0) {
        int highest = 0;
        for (const CLENIWindow& other : room->GetWindows())
            if (other.m_iWallId == wall) highest = std::max(highest, other.m_iWindowId);
        window.m_iWindowId = highest + 1;
    }
    window.m_LumList = CZoneObjList();
    // The last window may have faced an atrium of another floor.
    if (!window.m_csAtriumName.empty() && !floor->FindAtrium(window.m_csAtriumName))
        window.m_csAtriumName.clear();

    CLENIProject& project = *ProjectOf(ctx);
    CWindowDlg dialog(window, *room, *floor, project, ctx.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    const std::string roomName = room->GetName();
    ctx.BeginChange();
    CLENIRoom* target = project.FindRoom(floor->GetName(), roomName);
    if (!target || !target->AddWindow(dialog.GetWindow()))
        Log().Printf(LOG_ERROR, "CLENIProject::AWTFR %s %s failed.", floor->GetName().c_str(),
                     roomName.c_str());
    ctx.Changed();
}

void CmdWindowProperties(const FloorPageContext& ctx) {
    CLENIFloor* floor = PageFloor(ctx);
    if (!floor) return;
    CLENIRoom* room = RoomAt(*floor, ctx.clickPoint, false);
    const int index = room ? WindowOfDaylightAreaAt(*room, ctx.clickPoint) : -1;
    if (index < 0) {
        WalertBox("Please select a position in a Window's AD area");
        return;
    }
    CWindowDlg dialog(room->GetWindows()[index], *room, *floor, *ProjectOf(ctx), ctx.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    ctx.BeginChange();
    if (!room->ChangeWindow(dialog.GetWindow()))
        Log().Printf(LOG_ERROR, "CLENIProject::CWIFR %s %s failed.", floor->GetName().c_str(),
                     room->GetName().c_str());
    ctx.Changed();
}

void CmdEraseWindow(const FloorPageContext& ctx) {
    CLENIFloor* floor = PageFloor(ctx);
    if (!floor) return;
    int wall = -1;
    CLENIRoom* room = WallAt(*floor, ctx.clickPoint, wall);
    if (!room) {
        WalertBox("There is no wall here.\nPlease choose a point inside the room close to the window\n");
        return;
    }
    const CLENIWindow* nearest = nullptr;
    double nearestDistance = 0.0;
    for (const CLENIWindow& window : room->GetWindows()) {
        if (window.m_iWallId != wall) continue;
        Point start, end;
        if (!room->GetWallStartAndEnd2D(window, start, end)) continue;
        double distance = 0.0;
        const double t = SegmentFoot(start, end, ctx.clickPoint, distance);
        if (!(t > 0.0 && t < 1.0)) continue;
        if (!nearest || distance < nearestDistance) {
            nearest = &window;
            nearestDistance = distance;
        }
    }
    if (!nearest) {
        WalertBox("No window here to delete");
        return;
    }
    const int wallId = nearest->m_iWallId, windowId = nearest->m_iWindowId;
    ctx.BeginChange();
    ProjectOf(ctx)->RemoveWindow(wallId, windowId, floor->GetName(), room->GetName());
    ctx.Changed();
}

void CmdAddRoofLight(const FloorPageContext& ctx) {
    CLENIFloor* floor = PageFloor(ctx);
    if (!floor) return;
    CLENIProject& project = *ProjectOf(ctx);
    const Point& p = ctx.clickPoint;
    // Outside every room there is no roof light to find; the room check below says so.
    if (const CLENIRoom* strict = floor->GetRoomAtPoint(p, false); strict && strict->GetRoofLightAtPoint(p)) {
        WalertBox("There is already a roof light in this position");
        return;
    }
    const int floorIndex = project.GetFloorIndexByName(floor->GetName());
    if (floorIndex != project.GetFloorCount() - 1) {
        WalertBox(
            "This floor, %s, is not the top floor.\nRoof lights can only be added to the top floor\n\n\nYou "
            "can drag the tabs to change the order of the floors.",
            floor->GetName().c_str());
        return;
    }
    if (floor->GetInstanceCount() >= 2) {
        WalertBox("These floors, %s, have %d instances and so cannot have roof lights.",
                  floor->GetName().c_str(), floor->GetInstanceCount());
        return;
    }
    CLENIRoom* room = RoomAt(*floor, p, true);
    if (!room) {
        WalertBox("There is no room here (floor %s).", floor->GetName().c_str());
        return;
    }
    const int vertical =
        static_cast<int>(std::count_if(room->GetWindows().begin(), room->GetWindows().end(),
                                       [](const CLENIWindow& w) { return w.m_iVertWinType < 2; }));
    if (vertical > 0) {
        WalertBox(
            "This room has %d vertical windows.\nRoof lights can only be added to rooms\nwith 0 vertical "
            "windows.",
            vertical);
        return;
    }
    CLENIRoofLight roofLight = Preferences().m_RoofLightTemplate;
    roofLight.m_iId = std::as_const(*room).FindRoofLight(1) ? room->GetFreeRoofLightId(2) : 1;
    roofLight.m_LumList = CZoneObjList();
    Point origin = p;
    if (ctx.drawing) origin = Snap(ctx.drawing->GetSnapPoints(), p, ctx.viewWidth / 40.0);
    const Point reference = room->GetReferencePoint();
    roofLight.m_dXOrig = origin.x - reference.x;
    roofLight.m_dYOrig = origin.y - reference.y;
    double width = 0.0, depth = 0.0;
    RoomExtents(*room, width, depth);
    CRoofLightDlg dialog(roofLight, width, depth, ctx.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    ctx.BeginChange();
    if (!room->AddRoofLight(dialog.GetRoofLight()))
        Log().Printf(LOG_ERROR, "CLENIProject::ARL %s %s failed.", floor->GetName().c_str(),
                     room->GetName().c_str());
    ctx.Changed();
}

void CmdRoofLightProperties(const FloorPageContext& ctx) {
    CLENIFloor* floor = PageFloor(ctx);
    if (!floor) return;
    CLENIRoom* room = nullptr;
    CLENIRoofLight* roofLight = RoofLightAt(*floor, ctx.clickPoint, room);
    if (!roofLight) return;
    double width = 0.0, depth = 0.0;
    RoomExtents(*room, width, depth);
    CRoofLightDlg dialog(*roofLight, width, depth, ctx.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    const int oldId = roofLight->m_iId;
    ctx.BeginChange();
    if (!room->RemoveRoofLight(oldId))
        Log().Printf(LOG_ERROR, "CLENIFloor::RRLFR %s failed", room->GetName().c_str());
    if (!room->AddRoofLight(dialog.GetRoofLight()))
        Log().Printf(LOG_ERROR, "CLENIProject::ARL %s %s failed.", floor->GetName().c_str(),
                     room->GetName().c_str());
    ctx.Changed();
}

void CmdEraseRoofLight(const FloorPageContext& ctx) {
    CLENIFloor* floor = PageFloor(ctx);
    if (!floor) return;
    CLENIRoom* room = nullptr;
    CLENIRoofLight* roofLight = RoofLightAt(*floor, ctx.clickPoint, room);
    if (!roofLight) {
        if (room) WalertBox("There is no roof light here"); // without a room the lookup said so
        return;
    }
    if (WyesNoBox("Erase this roof light in room %s?", room->GetName().c_str()) != IDYES) return;
    const int id = roofLight->m_iId;
    ctx.BeginChange();
    ProjectOf(ctx)->RemoveRoofLight(floor->GetName(), room->GetName(), id);
    ctx.Changed();
}

namespace {
// The atrium at the click point and its floor; null after the command's message when there is none.
const CLENIAtrium* AtriumAtClick(const FloorPageContext& ctx, const char* missingFloor, CLENIFloor*& floor) {
    CLENIProject* project = ProjectOf(ctx);
    if (!project) return nullptr;
    if (!project->FloorExists(ctx.floorName)) {
        Log().Printf(LOG_ERROR, "%s", missingFloor);
        return nullptr;
    }
    floor = project->GetFloorByName(ctx.floorName);
    const CLENIAtrium* atrium = floor->GetAtriumAtPoint(ctx.clickPoint);
    if (!atrium) WalertBox("There is no atrium here.");
    return atrium;
}
} // namespace

void CmdAtriumProperties(const FloorPageContext& ctx) {
    CLENIFloor* floor = nullptr;
    const CLENIAtrium* atrium = AtriumAtClick(ctx, "CDxfTabDlg::OAPC could not find floor", floor);
    if (!atrium) return;
    CLENIProject* project = ProjectOf(ctx);
    CAtrioPropsDlg dialog(*atrium, project->GetHeightFromFloorToTop(floor->GetName()), ctx.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    const std::string name = atrium->m_csName;
    ctx.BeginChange();
    project->ReplaceAtrium(dialog.GetAtrium(), name, floor->GetName());
    ctx.Changed();
}

void CmdEraseAtrium(const FloorPageContext& ctx) {
    CLENIFloor* floor = nullptr;
    const CLENIAtrium* atrium = AtriumAtClick(ctx, "CDxfTabDlg::OEA could not find floor", floor);
    if (!atrium) return;
    if (WyesNoBox("Remove this atrio on floor %s?", floor->GetName().c_str()) != IDYES) return;
    const std::string name = atrium->m_csName;
    ctx.BeginChange();
    floor->RemoveAtrium(name);
    ctx.Changed();
}

bool EditNewAtrium(QWidget* parent, CLENIAtrium& atrium, double heightToTop) {
    CAtrioPropsDlg dialog(atrium, heightToTop, parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return false;
    atrium = dialog.GetAtrium();
    return true;
}
