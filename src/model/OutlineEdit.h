#pragma once
// Changing the outline of a room, zone or atrium already on a floor: a corner dragged, inserted
// or deleted, or the whole outline moved. Each edit is checked as drawing is before the floor is
// touched: at least 3 corners, no self-crossing, a room clear of the other rooms and still holding
// its zones, windows and roof lights, a zone inside its room and clear of the other zones.

#include "dxf/Point.h"

#include <string>
#include <vector>

class CLENIFloor;

enum OutlineKind { OUTLINE_NONE = 0, OUTLINE_ROOM = 1, OUTLINE_ZONE = 2, OUTLINE_ATRIUM = 3 };

struct OutlineEdit {
    int kind = OUTLINE_NONE;
    std::string room; // the room, or the zone's room
    std::string name; // the zone or atrium (empty for a room)
    Polygon outline;  // the new outline
    // Old wall i becomes wall wallMap[i], -1 where the wall is gone (a deleted corner's two walls);
    // empty: the walls keep their numbers (a dragged corner, a moved outline).
    std::vector<int> wallMap;
    // A moved room takes its zones along by this much.
    Point shift;
    bool moveContents = false;
};

// The outline an edit starts from; empty when the target is not on the floor.
Polygon GetEditedOutline(const CLENIFloor& floor, int kind, const std::string& room, const std::string& name);

// The wall numbering after a corner is inserted after corner `after`, or corner `corner` deleted,
// of an outline of n corners.
std::vector<int> WallMapAfterInsert(int n, int after);
std::vector<int> WallMapAfterDelete(int n, int corner);

// Checks the edit and, when it passes, makes it on the floor; otherwise the floor is untouched
// and message says why, for the user.
bool ApplyOutlineEdit(CLENIFloor& floor, const OutlineEdit& edit, std::string& message);

// A copy of the room `room` of `from`, moved by `by`, added to `to` (the same floor or another)
// with its zones, windows, roof lights and luminaire lists. The copy takes the first free name
// "<room> 2", "<room> 3", ... of `to`, and the height of `to`; zones named after the room are
// named after the copy. Refused, `to` untouched and message saying why, when the copy would
// overlap a room of `to`. newName: the copy's name.
bool CopyRoom(const CLENIFloor& from, const std::string& room, const Point& by, CLENIFloor& to,
              std::string& newName, std::string& message);
