#include "ui/editor/FloorCommands.h"

#include "app/LENIBDoc.h"
#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "dxf/DxfFile.h"
#include "dxf/Geometry.h"
#include "model/LENIProject.h"
#include "model/OutlineEdit.h"
#include "tables/BuildingTypeData.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/dialogs/FloorDlg.h"
#include "ui/dialogs/MultiFloorDlg.h"
#include "ui/dialogs/RoomPropsDlg.h"
#include "ui/dialogs/ZoneObjectsDlg.h"
#include "ui/dialogs/ZonePropsDlg.h"
#include "ui/editor/FloorView.h"

#include <QInputDialog>
#include <algorithm>
#include <cmath>

namespace {

// New outlines may touch existing ones within this distance without counting as overlapping.
constexpr double kOverlapTolerance = 0.05;

CLENIProject& Project(const FloorPageContext& ctx) {
    return ctx.doc->GetProject();
}

// The page's floor; a floor that cannot be found by the page's name is only logged.
CLENIFloor* Floor(const FloorPageContext& ctx) {
    CLENIProject& project = Project(ctx);
    const int index = project.GetFloorIndexByName(ctx.floorName);
    if (index < 0) {
        Log().Printf(LOG_INFO, "The floor <%s> is not in the project", ctx.floorName.c_str());
        return nullptr;
    }
    return project.GetFloorByIndex(index);
}

const CLENIRoom* RoomAt(const FloorPageContext& ctx, bool near) {
    const CLENIFloor* floor = Floor(ctx);
    return floor ? floor->GetRoomAtPoint(ctx.clickPoint, near) : nullptr;
}

// The room and zone of the zone commands; false when either is missing, with its message.
bool ZoneAt(const FloorPageContext& ctx, const CLENIRoom*& room, const CLENIZone*& zone) {
    room = RoomAt(ctx, false);
    if (!room) {
        WalertBox("No room found here, so no zones here");
        return false;
    }
    zone = room->GetZoneAtPoint(ctx.clickPoint);
    if (!zone) {
        WalertBox("There is no zone here.\nYou can use 'Zone->Add Matching Zone...' in the context menu");
        return false;
    }
    return true;
}

void FloorProperties(const FloorPageContext& ctx) {
    CLENIFloor* floor = Floor(ctx);
    if (!floor) return;
    CFloorDlg dialog(floor->GetHeight(), ctx.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    ctx.BeginChange();
    floor->SetHeight(dialog.GetHeight());
    ctx.Changed();
}

void ModifyFloorCount(const FloorPageContext& ctx) {
    CLENIFloor* floor = Floor(ctx);
    if (!floor) return;
    if (floor->GetRoofLightCount() > 0) {
        WalertBox("This floor has roof lights and so can only have a single instance");
        if (floor->GetInstanceCount() > 1) {
            ctx.BeginChange();
            floor->SetInstanceCount(1);
            ctx.Changed();
        }
        return;
    }
    CMultiFloorDlg dialog(floor->GetInstanceCount(), ctx.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    ctx.BeginChange();
    floor->SetInstanceCount(std::clamp(dialog.GetInstances(), 1, 1000));
    ctx.Changed();
}

void RoomProperties(const FloorPageContext& ctx) {
    const CLENIRoom* room = RoomAt(ctx, false);
    if (!room) {
        WalertBox("There is no room here");
        return;
    }
    const CLENIFloor* floor = Floor(ctx);
    CRoomPropsDlg dialog(*room, floor, true, Project(ctx).GetDominantBuildingType(), ctx.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    const std::string oldName = room->GetName();
    ctx.BeginChange();
    Project(ctx).RemoveRoomByName(oldName, ctx.floorName);
    CLENIRoom edited = dialog.GetRoom();
    edited.SetFloorName(floor->GetName());
    Project(ctx).AddRoomToFloor(edited);
    ctx.Changed();
}

void EraseRoom(const FloorPageContext& ctx) {
    const CLENIRoom* room = RoomAt(ctx, false);
    if (!room) {
        WalertBox("There is no room here");
        return;
    }
    const std::string name = room->GetName();
    if (WyesNoBox("Remove room <%s>\nfrom floor <%s>?", name.c_str(), ctx.floorName.c_str()) != IDYES) return;
    ctx.BeginChange();
    Project(ctx).RemoveRoomByName(name, ctx.floorName);
    ctx.Changed();
}

void ShowRoom3D(const FloorPageContext& ctx) {
    if (!Floor(ctx)) {
        Log().Printf(LOG_ERROR, "There is no FLOOR here! Odd.");
        return;
    }
    const CLENIRoom* room = RoomAt(ctx, false);
    if (!room) {
        WalertBox("There is no room here");
        return;
    }
    ShowRoom3DView(ctx.parent, Project(ctx), ctx.floorName, room->GetName());
}

void RoomCalculation(const FloorPageContext& ctx) {
    if (ctx.floorName.empty() || !Floor(ctx)) {
        WalertBox("There is no floor at this point in the project");
        return;
    }
    const CLENIRoom* room = RoomAt(ctx, false);
    if (!room) {
        WalertBox("There is no room at this mouse position");
        return;
    }
    if (room->GetZoneCount() < 1) {
        WalertBox("A room needs at least 1 zone for LENI to be calculated");
        return;
    }
    ShowRoomCalculation(ctx.parent, *ctx.doc, ctx.floorName, room->GetName());
}

void PrintFloor(const FloorPageContext& ctx, bool preview) {
    const CLENIProject& project = Project(ctx);
    if (project.GetName().empty() || project.GetProjectFolder().empty()) {
        Log().Printf(LOG_ERROR, "Empty project");
        return;
    }
    PrintFloorPage(ctx, preview);
}

void PrintRoom(const FloorPageContext& ctx, bool preview) {
    const CLENIRoom* room = RoomAt(ctx, false);
    if (!room) {
        WalertBox("There is no room here");
        return;
    }
    PrintRoomPage(ctx, room->GetName(), preview);
}

void PrintZone(const FloorPageContext& ctx, bool preview) {
    const CLENIRoom* room = nullptr;
    const CLENIZone* zone = nullptr;
    if (!ZoneAt(ctx, room, zone)) return;
    PrintZonePage(ctx, room->GetName(), zone->GetName(), preview);
}

void ZoneProperties(const FloorPageContext& ctx) {
    const CLENIRoom* room = nullptr;
    const CLENIZone* zone = nullptr;
    if (!ZoneAt(ctx, room, zone)) return;
    CZonePropsDlg dialog(*zone, room, true, ctx.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    const std::string roomName = room->GetName(), oldName = zone->GetName();
    ctx.BeginChange();
    if (CLENIRoom* target = Project(ctx).FindRoom(ctx.floorName, roomName)) {
        target->RemoveZoneByName(oldName);
        target->AddZone(dialog.GetZone());
    }
    ctx.Changed();
}

void AddMatchingZone(const FloorPageContext& ctx) {
    const CLENIRoom* room = RoomAt(ctx, false);
    if (!room) {
        WalertBox("There is no room here.");
        return;
    }
    if (room->GetZoneCount() > 0 &&
        WyesNoBox(
            "This room already has some zones.\n\nTo add a SINGLE MATCHING zone the existing\nzones will be "
            "deleted.\n\nContinue?") != IDYES)
        return;
    CLENIZone zone;
    zone.InitFromPolygon(Floor(ctx)->GetUniqueZoneName(room->GetName()), room->GetPolygon());
    CZonePropsDlg dialog(zone, room, false, ctx.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    const std::string roomName = room->GetName();
    ctx.BeginChange();
    if (CLENIRoom* target = Project(ctx).FindRoom(ctx.floorName, roomName)) {
        while (target->GetZoneCount() > 0)
            target->RemoveZoneByName(target->GetZones().front().GetName());
        target->AddZone(dialog.GetZone());
    }
    ctx.Changed();
}

void EraseZone(const FloorPageContext& ctx) {
    const CLENIRoom* room = RoomAt(ctx, false);
    if (!room) {
        WalertBox("There is no room  here");
        return;
    }
    const CLENIZone* zone = room->GetZoneAtPoint(ctx.clickPoint);
    if (!zone) {
        WalertBox("There is no zone here");
        return;
    }
    const std::string roomName = room->GetName(), zoneName = zone->GetName();
    if (WyesNoBox("Remove zone <%s>\nfrom room <%s> on floor <%s>?", zoneName.c_str(), roomName.c_str(),
                  ctx.floorName.c_str()) != IDYES)
        return;
    ctx.BeginChange();
    Project(ctx).RemoveZoneByName(zoneName, ctx.floorName, roomName);
    ctx.Changed();
}

// The roof lights of the room whose daylight area holds the point: how many, and the last one.
int RoofLightDaylightAreasAt(const CLENIRoom& room, const Point& p, int& lastId) {
    int count = 0;
    for (const CLENIRoofLight& roofLight : room.GetRoofLights())
        if (IsPointInPolygon(room.GetRoofLightDaylightArea(roofLight), p)) {
            ++count;
            lastId = roofLight.m_iId;
        }
    return count;
}

void EditProducts(const FloorPageContext& ctx, bool daylightAware) {
    if (CLumSysDataBase::Global().GetCount() == 0 && Project(ctx).GetProducts().GetCount() == 0) {
        WalertBox(
            "You need to add luminaires into the database first.\n\nUse:\n     File menu\n         Edit "
            "Luminaire Database... item");
        return;
    }
    const CLENIRoom* room = RoomAt(ctx, false);
    if (!room) {
        WalertBox("Please click inside a zone");
        return;
    }
    const CLENIZone* zone = room->GetZoneAtPoint(ctx.clickPoint);
    if (!zone) {
        WalertBox("There is no zone here.\nYou can use 'Zone->Add Matching Zone...' in the context menu");
        return;
    }
    enum { LIST_ZONE, LIST_WINDOW, LIST_ROOF_LIGHT } target = LIST_ZONE;
    int window = -1, roofLightId = -1;
    const CZoneObjList* list = &zone->GetLumList();
    if (daylightAware) {
        window = FindWindowOfDaylightArea(*room, ctx.clickPoint);
        if (window >= 0) {
            target = LIST_WINDOW;
            list = &room->GetWindows()[static_cast<size_t>(window)].m_LumList;
        } else {
            const int areas = RoofLightDaylightAreasAt(*room, ctx.clickPoint, roofLightId);
            if (areas >= 2) {
                WalertBox(
                    "There are %d roof light daylight areas here.\nPlease select a position in only one "
                    "daylight area,or\noutside of any daylight area",
                    areas);
                return;
            }
            if (areas == 1) {
                target = LIST_ROOF_LIGHT;
                list = &room->FindRoofLight(roofLightId)->m_LumList;
            }
        }
    }
    CZoneObjectsDlg dialog(*list, ctx.doc, target != LIST_ZONE, ctx.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    const std::string roomName = room->GetName(), zoneName = zone->GetName();
    ctx.BeginChange();
    CLENIRoom* edited = Project(ctx).FindRoom(ctx.floorName, roomName);
    if (edited) {
        if (target == LIST_WINDOW) {
            CLENIWindow changed = edited->GetWindows()[static_cast<size_t>(window)];
            changed.m_LumList = dialog.GetList();
            edited->ChangeWindow(changed);
        } else if (target == LIST_ROOF_LIGHT) {
            if (CLENIRoofLight* roofLight = edited->FindRoofLight(roofLightId))
                roofLight->m_LumList = dialog.GetList();
            else
                Log().Printf(LOG_ERROR, "CLENIRoom::CRL RoofLight id %d not found.", roofLightId);
        } else if (CLENIZone* z = edited->FindZone(zoneName)) {
            z->GetLumList() = dialog.GetList();
        }
    }
    Project(ctx).AddProductsToProject(dialog.GetList());
    ctx.Changed();
}

// The room at the click point copied to another floor at the same place.
void CopyRoomToFloor(const FloorPageContext& ctx) {
    const CLENIRoom* room = RoomAt(ctx, false);
    if (!room) {
        WalertBox("There is no room here");
        return;
    }
    QStringList floors;
    for (int i = 0; i < Project(ctx).GetFloorCount(); ++i) {
        const CLENIFloor* floor = Project(ctx).GetFloorByIndex(i);
        if (floor && !EqualsNoCase(floor->GetName(), ctx.floorName)) floors << QString::fromStdString(floor->GetName());
    }
    if (floors.isEmpty()) {
        WalertBox("The project has no other floor to copy the room to");
        return;
    }
    QInputDialog dialog(ctx.parent);
    dialog.setWindowTitle("Copy Room to Floor");
    dialog.setLabelText(QString::fromStdString("Copy room <" + room->GetName() + "> to the floor:"));
    dialog.setComboBoxItems(floors);
    dialog.setComboBoxEditable(false);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    CopyFloorRoom(ctx, room->GetName(), Point(), dialog.textValue().toStdString());
}

} // namespace

std::string CopyFloorRoom(const FloorPageContext& ctx, const std::string& room, const Point& by,
                          const std::string& targetFloor) {
    if (!ctx.doc) return std::string();
    const CLENIFloor* from = Floor(ctx);
    const int index = Project(ctx).GetFloorIndexByName(targetFloor.empty() ? ctx.floorName : targetFloor);
    const CLENIFloor* to = index >= 0 ? Project(ctx).GetFloorByIndex(index) : nullptr;
    if (!from || !to) return std::string();
    CLENIFloor edited = *to;
    std::string name, message;
    if (!CopyRoom(*from, room, by, edited, name, message)) {
        WalertBox("%s", message.c_str());
        return std::string();
    }
    ctx.BeginChange();
    if (CLENIFloor* target = Project(ctx).GetFloorByIndex(index)) *target = edited;
    ctx.Changed();
    return name;
}

const std::vector<ContextMenuItem>& GetContextMenuItems() {
    static const std::vector<ContextMenuItem> items = {
        {IDC_FLOOR_PROPERTIES, "Floor Properties...", "Floor"},
        {IDC_MODIFY_FLOOR_COUNT, "Modify Floor Count...", "Floor"},
        {IDC_REMOVE_DXF_FLOOR, "Remove DXF floor from project...", "Floor"},
        {IDC_FLOOR_CALCULATION, "Floor Calculation...", "Floor"},
        {IDC_PRINT_PREVIEW_FLOOR, "Print Preview Floor...", "Floor"},
        {IDC_PRINT_FLOOR, "Print Floor...", "Floor"},
        {IDC_ROOM_PROPERTIES, "Room Properties...", "Room"},
        {IDC_ERASE_ROOM, "Erase Room", "Room"},
        {IDC_COPY_ROOM_TO_FLOOR, "Copy Room to Floor...", "Room"},
        {IDC_ROOM_3D_VIEW, "Show Room 3D view...", "Room"},
        {IDC_ROOM_CALCULATION, "Room Energy Calculation...", "Room"},
        {IDC_PRINT_PREVIEW_ROOM, "Print Preview Room...", "Room"},
        {IDC_PRINT_ROOM, "Print Room...", "Room"},
        {IDC_ZONE_PROPERTIES, "Zone Properties...", "Zone"},
        {IDC_ADD_MATCHING_ZONE, "Add Matching Zone...", "Zone"},
        {IDC_ERASE_ZONE, "Erase Zone", "Zone"},
        {IDC_PRINT_PREVIEW_ZONE, "Print Preview  Zone...", "Zone"},
        {IDC_PRINT_ZONE, "Print Zone...", "Zone"},
        {IDC_ADD_WINDOW, "Add Window...", "Window"},
        {IDC_WINDOW_PROPERTIES, "Window Properties...", "Window"},
        {IDC_ERASE_WINDOW, "Erase Window", "Window"},
        {IDC_ATRIUM_PROPERTIES, "Atrium Properties", "Atrium"},
        {IDC_ERASE_ATRIUM, "Erase Atrium", "Atrium"},
        {IDC_ADD_ROOF_LIGHT, "Add Roof Light...", "Roof Light"},
        {IDC_ROOF_LIGHT_PROPERTIES, "Roof Light Properties...", "Roof Light"},
        {IDC_ERASE_ROOF_LIGHT, "Erase Roof Light", "Roof Light"},
        {IDC_PRODUCTS_AD_AND, "Edit Zone AD/AND Products...", "Products"},
        {IDC_PRODUCTS_AND, "Edit Zone AND Products...", "Products"},
    };
    return items;
}

bool RunFloorPageCommand(int id, const FloorPageContext& ctx) {
    if (!ctx.doc) return false;
    switch (id) {
    case IDC_FLOOR_PROPERTIES:
        FloorProperties(ctx);
        break;
    case IDC_MODIFY_FLOOR_COUNT:
        ModifyFloorCount(ctx);
        break;
    case IDC_PRINT_PREVIEW_FLOOR:
        PrintFloor(ctx, true);
        break;
    case IDC_PRINT_FLOOR:
        PrintFloor(ctx, false);
        break;
    case IDC_ROOM_PROPERTIES:
        RoomProperties(ctx);
        break;
    case IDC_ERASE_ROOM:
        EraseRoom(ctx);
        break;
    case IDC_COPY_ROOM_TO_FLOOR:
        CopyRoomToFloor(ctx);
        break;
    case IDC_ROOM_3D_VIEW:
        ShowRoom3D(ctx);
        break;
    case IDC_ROOM_CALCULATION:
        RoomCalculation(ctx);
        break;
    case IDC_PRINT_PREVIEW_ROOM:
        PrintRoom(ctx, true);
        break;
    case IDC_PRINT_ROOM:
        PrintRoom(ctx, false);
        break;
    case IDC_ZONE_PROPERTIES:
        ZoneProperties(ctx);
        break;
    case IDC_ADD_MATCHING_ZONE:
        AddMatchingZone(ctx);
        break;
    case IDC_ERASE_ZONE:
        EraseZone(ctx);
        break;
    case IDC_PRINT_PREVIEW_ZONE:
        PrintZone(ctx, true);
        break;
    case IDC_PRINT_ZONE:
        PrintZone(ctx, false);
        break;
    case IDC_ADD_WINDOW:
        CmdAddWindow(ctx);
        break;
    case IDC_WINDOW_PROPERTIES:
        CmdWindowProperties(ctx);
        break;
    case IDC_ERASE_WINDOW:
        CmdEraseWindow(ctx);
        break;
    case IDC_ATRIUM_PROPERTIES:
        CmdAtriumProperties(ctx);
        break;
    case IDC_ERASE_ATRIUM:
        CmdEraseAtrium(ctx);
        break;
    case IDC_ADD_ROOF_LIGHT:
        CmdAddRoofLight(ctx);
        break;
    case IDC_ROOF_LIGHT_PROPERTIES:
        CmdRoofLightProperties(ctx);
        break;
    case IDC_ERASE_ROOF_LIGHT:
        CmdEraseRoofLight(ctx);
        break;
    case IDC_PRODUCTS_AD_AND:
        EditProducts(ctx, true);
        break;
    case IDC_PRODUCTS_AND:
        EditProducts(ctx, false);
        break;
    default:
        return false;
    }
    return true;
}

int FindWindowOfDaylightArea(const CLENIRoom& room, const Point& p) {
    int found = -1, candidates = 0;
    double nearest = 1e100;
    const auto& windows = room.GetWindows();
    for (size_t i = 0; i < windows.size(); ++i) {
        if (!IsPointInPolygon(room.GetWindowDaylightArea(windows[i]), p)) continue;
        ++candidates;
        if (candidates == 1) found = static_cast<int>(i);
        // Of several, the window on the nearest wall, among those whose wall the point faces.
        Point a, b;
        if (!room.GetWallStartAndEnd2D(windows[i], a, b)) continue;
        const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
        double distance;
        if (length2 <= 0.0) {
            distance = Distance2D(a, p);
        } else {
            const double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2;
            if (t < 0.0 || t > 1.0) continue;
            distance = std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / std::sqrt(length2);
        }
        if (distance < nearest) {
            nearest = distance;
            found = static_cast<int>(i);
        }
    }
    return found;
}

int FinishRoomOutline(const FloorPageContext& ctx, const Polygon& outline) {
    if (!ctx.doc || outline.size() < 3) return FINISH_FAILED;
    CLENIProject& project = Project(ctx);
    CLENIFloor* floor = Floor(ctx);
    if (!floor) {
        Log().Printf(LOG_ERROR, "Could not get floor <%s> in this project", ctx.floorName.c_str());
        return FINISH_FAILED;
    }
    CLENIRoom room;
    room.InitFromPolygon(floor->GetUniqueRoomName(), outline, std::clamp(floor->GetHeight(), 1.0, 200.0));
    room.SetFloorName(floor->GetName());
    room.SetMaintenanceFactor(std::clamp(project.GetMaintenanceFactor(), 0.0, 1.0));
    room.GetTdTnByBuildingType(project.GetDominantBuildingType());
    for (const CLENIRoom& other : floor->GetRooms())
        if (PolygonsOverlap(room.GetPolygon(), other.GetPolygon(), kOverlapTolerance) ||
            OutlinesOverlap(room.GetPolygon(), other.GetPolygon(), kOverlapTolerance)) {
            WalertBox("This new room would contain (or be contained by)\nan existing room.");
            return FINISH_FAILED;
        }
    CRoomPropsDlg roomDlg(room, floor, false, project.GetDominantBuildingType(), ctx.parent);
    if (ExecDialog(roomDlg) != QDialog::Accepted) return FINISH_FAILED;
    room = roomDlg.GetRoom();
    if (WyesNoBox("Do you want a single (same shape) zone in this room?") == IDYES) {
        CLENIZone zone;
        zone.InitFromPolygon("ZONE_01_(" + room.GetName() + ")", room.GetPolygon());
        CZonePropsDlg zoneDlg(zone, &room, false, ctx.parent);
        if (ExecDialog(zoneDlg) == QDialog::Accepted) room.AddZone(zoneDlg.GetZone());
    }
    ctx.BeginChange();
    project.AddRoomToFloor(room);
    ctx.Changed();
    return FINISH_DONE;
}

int FinishZoneOutline(const FloorPageContext& ctx, const Polygon& outline, const std::string& zoneRoom) {
    if (!ctx.doc || outline.size() < 3) return FINISH_FAILED;
    CLENIFloor* floor = Floor(ctx);
    if (!floor) {
        Log().Printf(LOG_ERROR, "Could not get floor <%s> in this project", ctx.floorName.c_str());
        return FINISH_FAILED;
    }
    // The room the zone was started in; where the pointer happens to be when Enter is pressed
    // says nothing about the outline.
    const CLENIRoom* room = zoneRoom.empty() ? floor->GetRoomAtPoint(outline.front(), true)
                                             : floor->FindRoom(zoneRoom);
    if (!room) {
        WalertBox("There is no room here");
        return FINISH_FAILED;
    }
    if (!IsPolygonInsidePolygon(outline, room->GetPolygon(), kContainmentTolerance)) {
        WalertBox("Zones have to stay inside their room\nA side of this zone crosses the walls of room <%s>.",
                  room->GetName().c_str());
        return FINISH_FAILED;
    }
    CLENIZone zone;
    zone.InitFromPolygon(floor->GetUniqueZoneName(room->GetName()), outline);
    const double fa = CBuildingTypeData::GetFaFromRoomTypeString(room->GetRoomType());
    if (fa < 0.0 || fa > 1.0)
        Log().Printf(LOG_ERROR, "CLENIZone::SFAF(%.3f) out of range.", fa);
    else
        zone.SetFa(fa);
    for (const CLENIZone& other : room->GetZones())
        if (PolygonsOverlap(zone.GetPolygon(), other.GetPolygon(), kOverlapTolerance) ||
            OutlinesOverlap(zone.GetPolygon(), other.GetPolygon(), kOverlapTolerance)) {
            WalertBox("This new zone would contain (or be contained by)\nan existing zone");
            return FINISH_FAILED;
        }
    CZonePropsDlg dialog(zone, room, false, ctx.parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return FINISH_CANCELLED;
    CLENIRoom* target = floor->FindRoom(room->GetName());
    if (!target) {
        Log().Printf(LOG_ERROR, "CLENIProject::INZ (%s) no room by that name", room->GetName().c_str());
        return FINISH_FAILED;
    }
    ctx.BeginChange();
    target->AddZone(dialog.GetZone());
    ctx.Changed();
    return FINISH_DONE;
}

int FinishAtriumOutline(const FloorPageContext& ctx, const Polygon& outline) {
    if (!ctx.doc || outline.size() < 3) return FINISH_FAILED;
    CLENIFloor* floor = Floor(ctx);
    if (!floor) {
        Log().Printf(LOG_INFO, "CLENIProject::FABCIFBN could not find floor %s", ctx.floorName.c_str());
        return FINISH_FAILED;
    }
    CLENIAtrium atrium;
    atrium.m_csName = floor->GetUniqueAtriumName();
    atrium.m_iKind = ATRIUM_ATRIUM;
    atrium.m_dK1 = atrium.m_dK2 = atrium.m_dK3 = atrium.m_dTrans = 1.0;
    atrium.SetPolygon(outline);
    if (!EditNewAtrium(ctx.parent, atrium, Project(ctx).GetHeightFromFloorToTop(floor->GetName())))
        return FINISH_FAILED;
    ctx.BeginChange();
    floor->AddAtrium(atrium);
    ctx.Changed();
    return FINISH_DONE;
}

bool ApplyFloorOutlineEdit(const FloorPageContext& ctx, const OutlineEdit& edit) {
    if (!ctx.doc) return false;
    const CLENIFloor* floor = Floor(ctx);
    if (!floor) return false;
    CLENIFloor edited = *floor;
    std::string message;
    if (!ApplyOutlineEdit(edited, edit, message)) {
        WalertBox("%s", message.c_str());
        return false;
    }
    ctx.BeginChange();
    if (CLENIFloor* target = Floor(ctx)) *target = edited;
    ctx.Changed();
    return true;
}
