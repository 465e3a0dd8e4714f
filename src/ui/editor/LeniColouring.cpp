#include "ui/editor/LeniColouring.h"

#include "base/TextUtils.h"
#include "model/LENIProject.h"
#include "report/ReportPages.h"
#include "report/ResultsExport.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace {

struct Kept {
    std::map<std::pair<std::string, std::string>, double> leni; // by floor and room name
    double scaleTop = 1.0;
};

std::optional<Kept>& State() {
    static std::optional<Kept> state;
    return state;
}

} // namespace

void SetLeniColouring(const CLENIProject* project) {
    State().reset();
    if (!project) return;
    LENIProjectResults results;
    if (!CalculateProjectResults(*project, results)) return;
    Kept kept;
    kept.scaleTop = GetLeniScaleTop(results);
    const std::vector<CLENIFloor>& floors = project->GetFloors();
    for (size_t f = 0; f < floors.size() && f < results.rooms.size(); ++f)
        for (size_t r = 0; r < floors[f].GetRooms().size() && r < results.rooms[f].size(); ++r)
            kept.leni[{ToUpper(floors[f].GetName()), ToUpper(floors[f].GetRooms()[r].GetName())}] =
                results.rooms[f][r].steps[0].GetLENI();
    State() = std::move(kept);
}

bool IsLeniColouringOn() {
    return State().has_value();
}

void FillRoomsByLeni(IDrawCanvas& canvas, const CLENIFloor& floor, const Matrix4& worldToPixel) {
    if (!State()) return;
    const std::string floorKey = ToUpper(floor.GetName());
    for (const CLENIRoom& room : floor.GetRooms()) {
        const auto found = State()->leni.find({floorKey, ToUpper(room.GetName())});
        if (found == State()->leni.end()) continue;
        std::vector<CanvasPoint> points;
        for (const Point& p : room.GetPolygon()) {
            const Point q = TransformPoint(worldToPixel, p);
            points.push_back({int(std::lround(q.x)), int(std::lround(q.y))});
        }
        if (points.size() >= 3) canvas.FillPolygon(points, GetLeniColour(found->second, State()->scaleTop));
    }
}

void DrawLeniColouringLegend(IDrawCanvas& canvas, int width, int height) {
    if (!State()) return;
    constexpr int font = 12, margin = 8;
    const int top = height - margin - font * 3;
    canvas.FillRect(0, top - margin / 2, width, height, MakeRgb(255, 255, 255));
    DrawLeniLegend(canvas, margin, top, std::min(width - margin, 700), font, State()->scaleTop);
}
