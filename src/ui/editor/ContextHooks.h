#pragma once
// The commands of a floor page's context menu and the dialogs they open, each reached through one
// function here, so the editor, the opening dialogs, the result and print dialogs, the 3D view and
// the product database can each grow on their own. A function whose dialog is not there yet shows
// a plain message saying so.

#include "dxf/Point.h"

#include <functional>
#include <string>

class CDxfFile;
class CLENIAtrium;
class CLENIBDoc;
class CLENIProject;
class QWidget;

// What a context command acts on: the floor page's floor at the click point.
struct FloorPageContext {
    QWidget* parent = nullptr;         // the floor page, owner of the dialogs
    CLENIBDoc* doc = nullptr;          // the open project
    std::string floorName;             // the page's floor
    Point clickPoint;                  // world position of the pointer when the menu opened
    const CDxfFile* drawing = nullptr; // the page's drawing (snapping)
    double viewWidth = 0.0;            // width of the view window in drawing units

    // A command calls BeginChange just before it writes an accepted change into the model (an undo
    // step is kept) and Changed just after (the document is marked modified and the page redrawn).
    std::function<void()> beginChange;
    std::function<void()> changed;
    void BeginChange() const {
        if (beginChange) beginChange();
    }
    void Changed() const {
        if (changed) changed();
    }
};

// Windows, roof lights and atria: the whole context command, checks, dialog and model change.
void CmdAddWindow(const FloorPageContext& ctx);
void CmdWindowProperties(const FloorPageContext& ctx);
void CmdEraseWindow(const FloorPageContext& ctx);
void CmdAddRoofLight(const FloorPageContext& ctx);
void CmdRoofLightProperties(const FloorPageContext& ctx);
void CmdEraseRoofLight(const FloorPageContext& ctx);
void CmdAtriumProperties(const FloorPageContext& ctx);
void CmdEraseAtrium(const FloorPageContext& ctx);
// The Atrium Properties dialog on a newly drawn atrium (heightToTop: from this floor to the top of
// the building); true on OK with the atrium edited. The context commands above cannot serve here:
// a drawn atrium is not in the model yet.
bool EditNewAtrium(QWidget* parent, CLENIAtrium& atrium, double heightToTop);

// Results: the floor and room calculation dialogs (the command's own checks come first).
void ShowFloorCalculation(QWidget* parent, CLENIBDoc& doc, const std::string& floor);
void ShowRoomCalculation(QWidget* parent, CLENIBDoc& doc, const std::string& floor, const std::string& room);

// Printing of one page, or its preview; the command has found the room and zone.
void PrintFloorPage(const FloorPageContext& ctx, bool preview);
void PrintRoomPage(const FloorPageContext& ctx, const std::string& room, bool preview);
void PrintZonePage(const FloorPageContext& ctx, const std::string& room, const std::string& zone,
                   bool preview);

// The room's 3D model in the viewer.
void ShowRoom3DView(QWidget* parent, const CLENIProject& project, const std::string& floor,
                    const std::string& room);

// The product database dialog in choosing mode: true and the chosen product's reference id when the
// user picked one.
bool ChooseProduct(QWidget* parent, CLENIBDoc& doc, std::string& refId);
