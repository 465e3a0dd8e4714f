#pragma once
// A room's lighting energy, and every trace its calculation leaves, are a pure function of what
// the calculation reads. These are those inputs as bytes, so that results can be kept across
// edits and found again by what they were worked out from: two rooms with equal bytes give equal
// results. A field left out here would hand back stale results, so every field of the room and of
// what it refers to goes in, whether or not today's calculation reads it.

#include <string>

class CLENIProject;
class CLENIRoom;

// What the room's calculation reads beyond the room: the index of the floor its floor name finds
// (-1 for none), that floor's own fields and atria, the height from it to the top of the building,
// and the project's site and daylight values. The same for every room of the floor.
std::string GetRoomCalcContext(const CLENIProject& project, int floorIndex);

// The room's own fields (zones, windows, roof lights and their luminaire lists included), then each
// listed product as the calculation finds it (the project's copy, else the global database's, else
// none).
std::string GetRoomContent(const CLENIRoom& room, const CLENIProject& project);

// The whole key: the room's content followed by its context.
std::string GetRoomContentKey(const CLENIRoom& room, const CLENIProject& project);
