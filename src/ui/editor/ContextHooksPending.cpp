// The context-menu functions whose dialogs are still to come: each says so plainly.
#include "base/MessageBoxes.h"
#include "ui/editor/ContextHooks.h"

namespace {
void Pending(const char* what) {
    AlertBox("%s\n\nThis part of the program is not ready yet.", what);
}
} // namespace

// Windows, roof lights and atria.
void CmdAddWindow(const FloorPageContext&) {
    Pending("Add Window");
}
void CmdWindowProperties(const FloorPageContext&) {
    Pending("Window Properties");
}
void CmdEraseWindow(const FloorPageContext&) {
    Pending("Erase Window");
}
void CmdAddRoofLight(const FloorPageContext&) {
    Pending("Add Roof Light");
}
void CmdRoofLightProperties(const FloorPageContext&) {
    Pending("Roof Light Properties");
}
void CmdEraseRoofLight(const FloorPageContext&) {
    Pending("Erase Roof Light");
}
void CmdAtriumProperties(const FloorPageContext&) {
    Pending("Atrium Properties");
}
void CmdEraseAtrium(const FloorPageContext&) {
    Pending("Erase Atrium");
}

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

// The product database.
bool ChooseProduct(QWidget*, CLENIBDoc&, std::string&) {
    Pending("The product database dialog");
    return false;
}
