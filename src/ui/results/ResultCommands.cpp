// The context menu's calculation and single-page print commands.
#include "app/LENIBDoc.h"
#include "base/Logger.h"
#include "model/LENIProject.h"
#include "ui/editor/ContextHooks.h"
#include "ui/print/ReportPrinter.h"
#include "ui/results/LeniResultDlg.h"
#include "ui/results/SubLeniResultDlg.h"
#include "ui/shell/MainFrame.h"

#include <QWidget>

namespace {

// The drawings of every tab when the page sits in the main window, else the page's own.
FloorDrawingLookup ContextDrawings(const FloorPageContext& ctx) {
    auto* frame = ctx.parent ? qobject_cast<CMainFrame*>(ctx.parent->window()) : nullptr;
    if (frame) return GetViewDrawings(frame->GetView());
    const CDxfFile* drawing = ctx.drawing;
    const std::string floor = ctx.floorName;
    return [drawing, floor](const std::string& name) -> const CDxfFile* {
        return name == floor ? drawing : nullptr;
    };
}

void PrintSingle(const FloorPageContext& ctx, const PrintPageRecord& page, bool preview) {
    if (!ctx.doc) return;
    SetPendingPrintPage(page);
    PrintReport(ctx.parent, ctx.doc->GetProject(), ContextDrawings(ctx), preview);
}

} // namespace

void ShowFloorCalculation(QWidget* parent, CLENIBDoc& doc, const std::string& floor) {
    const CLENIProject& project = doc.GetProject();
    if (!doc.IsProjectOpen() || project.GetFloorCount() == 0) {
        Log().Printf(LOG_ERROR, "CLENIBView::OC, no project");
        return;
    }
    if (!project.FloorExists(floor)) {
        Log().Printf(LOG_ERROR, "There is no FLOOR here! Odd. Strange.");
        return;
    }
    ShowLENIDialog(parent, project, floor, 0);
}

void ShowRoomCalculation(QWidget* parent, CLENIBDoc& doc, const std::string& floor, const std::string& room) {
    ShowRoomDialog(parent, doc.GetProject(), floor, room, 0);
}

void PrintFloorPage(const FloorPageContext& ctx, bool preview) {
    if (!ctx.doc) return;
    const CLENIProject& project = ctx.doc->GetProject();
    if (project.GetName().empty() || project.GetProjectFolder().empty()) {
        Log().Printf(LOG_ERROR, "Empty project");
        return;
    }
    Log().Printf(LOG_INFO, "Setting to single floor <%s>", ctx.floorName.c_str());
    PrintSingle(ctx, {PAGE_FLOOR, ctx.floorName, "", ""}, preview);
}

void PrintRoomPage(const FloorPageContext& ctx, const std::string& room, bool preview) {
    PrintSingle(ctx, {PAGE_ROOM, ctx.floorName, room, ""}, preview);
}

void PrintZonePage(const FloorPageContext& ctx, const std::string& room, const std::string& zone,
                   bool preview) {
    PrintSingle(ctx, {PAGE_ZONE, ctx.floorName, room, zone}, preview);
}
