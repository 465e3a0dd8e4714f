// The context-menu functions whose dialogs are still to come: each says so plainly.
#include "base/MessageBoxes.h"
#include "ui/editor/ContextHooks.h"

namespace {
void Pending(const char* what) {
    AlertBox("%s\n\nThis part of the program is not ready yet.", what);
}
} // namespace

// Results and printing.
void ShowFloorCalculation(QWidget*, CLENIBDoc&, const std::string&) {
    Pending("Floor Calculation");
}
void ShowRoomCalculation(QWidget*, CLENIBDoc&, const std::string&, const std::string&) {
    Pending("Room Energy Calculation");
}
void PrintFloorPage(const FloorPageContext&, bool) {
    Pending("Printing of the floor page");
}
void PrintRoomPage(const FloorPageContext&, const std::string&, bool) {
    Pending("Printing of the room page");
}
void PrintZonePage(const FloorPageContext&, const std::string&, const std::string&, bool) {
    Pending("Printing of the zone page");
}

