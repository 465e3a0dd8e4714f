#pragma once
// A room's lighting energy, and every trace its calculation leaves, are a pure function of what
// the calculation reads. These are those inputs as bytes, so that results can be kept across
// edits and found again by what they were worked out from: two rooms with equal bytes give equal
// results. A field left out here would hand back stale results, so every field of the room and of
// what it refers to goes in, whether or not today's calculation reads it.

#include <cstddef>
#include <string>

class CLENIProject;
class CLENIRoom;

// What the room's calculation reads beyond the room: the floor it takes for the room's (the one
// its floor name finds, -1 for none, and the one holding the room, which are the same but in a
// damaged project), each with its own fields, atria and the floors above it (the height to the top
// of the building), and the project's site and daylight values. The same for every room of a floor.
std::string GetRoomCalcContext(const CLENIProject& project, int floorByName, int floorHoldingRoom);
// The index of the floor whose room list holds the room, -1 when none does.
int GetFloorIndexHoldingRoom(const CLENIProject& project, const CLENIRoom& room);

// The room's own fields (zones, windows, roof lights and their luminaire lists included), then each
// listed product as the calculation finds it (the project's copy, else the global database's, else
// none).
std::string GetRoomContent(const CLENIRoom& room, const CLENIProject& project);

// Whether GetRoomContent(room, project) gives exactly these bytes, found by comparing as it goes
// rather than building them: for a room whose content was built before.
bool IsRoomContent(const char* content, size_t size, const CLENIRoom& room, const CLENIProject& project);

// The whole key: the room's content followed by its context.
std::string GetRoomContentKey(const CLENIRoom& room, const CLENIProject& project);
