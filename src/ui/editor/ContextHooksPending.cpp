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

// The 3D view.
void ShowRoom3DView(QWidget*, const CLENIProject&, const std::string&, const std::string&) {
    Pending("Room 3D view");
}

// The product database.
bool ChooseProduct(QWidget*, CLENIBDoc&, std::string&) {
    Pending("The product database dialog");
    return false;
}
