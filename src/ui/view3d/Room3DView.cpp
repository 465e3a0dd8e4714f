// "Show Room 3D view...": the room's model, at its floor's height, in the 3D viewer.

#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "dxf/DxfFile.h"
#include "model/LENIProject.h"
#include "model/Room3DModel.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/editor/ContextHooks.h"
#include "ui/view3d/OglViewer.h"

void ShowRoom3DView(QWidget* parent, const CLENIProject& project, const std::string& floor,
                    const std::string& room) {
    const CLENIFloor* pFloor = project.GetFloorByName(floor);
    if (!pFloor) {
        Log().Printf(LOG_ERROR, "There is no FLOOR here! Odd.");
        return;
    }
    const CLENIRoom* pRoom = pFloor->FindRoom(room);
    if (!pRoom) {
        AlertBox("There is no room here");
        return;
    }
    COglViewer viewer(BuildRoom3DModel(*pRoom, pFloor->GetHeight()), pRoom->GetName(),
                      project.GetProjectFolder(), parent);
    viewer.setGeometry(100, 100, 800, 800);
    ExecDialog(viewer);
}
