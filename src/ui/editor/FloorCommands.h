#pragma once
// The floor page's own context commands (floor, room, zone and luminaire-list items) and the
// finishing of a drawn room, zone or atrium outline. Each finds its target at the click point,
// checks it with the program's messages, opens its dialog on a copy and writes the accepted copy
// back, calling BeginChange and Changed of the context around the write.

#include "dxf/Point.h"
#include "ui/editor/ContextHooks.h"

#include <string>
#include <vector>

// Context-menu command ids.
enum ContextCommandId {
    IDC_FLOOR_PROPERTIES = 32813,
    IDC_MODIFY_FLOOR_COUNT = 32838,
    IDC_REMOVE_DXF_FLOOR = 32780,
    IDC_FLOOR_CALCULATION = 32835,
    IDC_PRINT_PREVIEW_FLOOR = 32896,
    IDC_PRINT_FLOOR = 32856,
    IDC_ROOM_PROPERTIES = 32794,
    IDC_ERASE_ROOM = 32796,
    IDC_ROOM_3D_VIEW = 32812,
    IDC_ROOM_CALCULATION = 32808,
    IDC_PRINT_PREVIEW_ROOM = 32894,
    IDC_PRINT_ROOM = 32841,
    IDC_ZONE_PROPERTIES = 32792,
    IDC_ADD_MATCHING_ZONE = 32829,
    IDC_ERASE_ZONE = 32789,
    IDC_PRINT_PREVIEW_ZONE = 32892,
    IDC_PRINT_ZONE = 32858,
    IDC_ADD_WINDOW = 32804,
    IDC_WINDOW_PROPERTIES = 32805,
    IDC_ERASE_WINDOW = 32806,
    IDC_ATRIUM_PROPERTIES = 32904,
    IDC_ERASE_ATRIUM = 32905,
    IDC_ADD_ROOF_LIGHT = 32837,
    IDC_ROOF_LIGHT_PROPERTIES = 32831,
    IDC_ERASE_ROOF_LIGHT = 32833,
    IDC_PRODUCTS_AD_AND = 32800,
    IDC_PRODUCTS_AND = 32908,
    IDC_COPY_ROOM_TO_FLOOR = 32912,
};

// One item of the context menu, in menu order.
struct ContextMenuItem {
    int id;
    const char* text;
    const char* submenu; // "Floor", "Room", "Zone", "Window", "Atrium", "Roof Light" or "Products"
};
const std::vector<ContextMenuItem>& GetContextMenuItems();

// Runs a context command other than Remove DXF floor and Floor Calculation (the main window's own).
// False for an id it does not know.
bool RunFloorPageCommand(int id, const FloorPageContext& ctx);

// Finishing a drawn outline; FinishResult of FloorView.h. zoneRoom: the room in which the zone
// outline was started (empty: the room holding its first corner); the whole outline must lie in it.
int FinishRoomOutline(const FloorPageContext& ctx, const Polygon& outline);
int FinishZoneOutline(const FloorPageContext& ctx, const Polygon& outline, const std::string& zoneRoom);
int FinishAtriumOutline(const FloorPageContext& ctx, const Polygon& outline);

// An edited outline of the page's floor: checked (the refusal shown), then written as one undo step.
struct OutlineEdit;
bool ApplyFloorOutlineEdit(const FloorPageContext& ctx, const OutlineEdit& edit);

// A copy of the page floor's room, moved by `by`, put on the floor targetFloor (the page's own when
// empty) as one undo step; the refusal shown. The copy's name, empty when there is none.
std::string CopyFloorRoom(const FloorPageContext& ctx, const std::string& room, const Point& by,
                          const std::string& targetFloor = std::string());

// The window whose daylight area holds the point (the one on the nearest wall when several do), as
// an index into the room's windows, or -1.
class CLENIRoom;
int FindWindowOfDaylightArea(const CLENIRoom& room, const Point& p);
