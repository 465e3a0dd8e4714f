#pragma once
// Generated names of rooms, zones and atria: the first free counter of the pattern, found in one
// pass over the names in use (a floor being imported asks for thousands of names). Nothing is
// logged here: an empty string means every counter is taken; the floor's GetUnique...Name
// functions report that and give their fallback name.

#include <string>

class CLENIFloor;

// Counters tried, from the first: ROOM_000 ... ROOM_499, ZONE_01_(room) ... ZONE_500_(room),
// ATRIO_01_floor ... ATRIO_500_floor.
constexpr int kMaxGeneratedNameTries = 500;

std::string FindFreeRoomName(const CLENIFloor& floor);
// A room the floor does not have takes the first candidate.
std::string FindFreeZoneName(const CLENIFloor& floor, const std::string& room);
std::string FindFreeAtriumName(const CLENIFloor& floor);
