#pragma once
// What a project file written by hand or by another program may hold that drawing never makes: an
// outline that crosses itself, a window longer than its wall, a zone beyond its room, a product
// id given twice. Each finding is one sentence: the reader logs it, the results dialog lists it.

#include <string>
#include <vector>

class CLENIProject;
class CLENIRoom;

std::vector<std::string> CheckRoomShape(const CLENIRoom& room);
// Every room's findings, floor by floor, then each product id the file held twice.
std::vector<std::string> CheckProjectShape(const CLENIProject& project);
