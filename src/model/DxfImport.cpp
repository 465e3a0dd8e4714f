#include "model/DxfImport.h"

#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "dxf/DxfFile.h"
#include "dxf/DxfPline.h"
#include "dxf/Geometry.h"
#include "dxf/ImportLayers.h"
#include "model/LENIWindow.h"
#include "model/ModelGeometry.h"
#include "model/UniqueNames.h"
#include "tables/BuildingTypeData.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace {

// What the floor's GetUnique...Name functions give once every generated name is taken.
const char* const kFallbackRoomName = "NEW_ROOM";
const char* const kFallbackZoneName = "NEW_ZONE";
const char* const kFallbackAtriumName = "NEW_ATRIO";

// The polylines of a layer, in file order, with the drawing's own transform applied so that they
// lie where the drawing shows them.
// A polyline longer than any model outline or lying beyond any floor plan is left out with its
// message: cleaning and checking an outline take time that grows with the square of its length.
std::vector<std::unique_ptr<CDxfPline>> PolylinesOnLayer(const CDxfFile& dxf, const char* layer,
                                                         bool& error) {
    std::vector<std::unique_ptr<CDxfPline>> plines;
    const Matrix4 identity;
    for (const auto& e : dxf.GetEntList()) {
        if (e->GetType() != DXF_PLINE || !CLayerTable::LayerNamesEqual(e->GetLayerName(), layer)) continue;
        auto copy = e->HasIdentityMatrix() ? e->Clone() : e->GetTransformedCopy(identity);
        auto* pline = static_cast<CDxfPline*>(copy.release());
        plines.emplace_back(pline);
        const bool tooLong = pline->GetVertexCount() > kMaxPolygonVertices;
        const bool tooFar =
            std::any_of(pline->m_Vertices.begin(), pline->m_Vertices.end(), [](const DxfVertex& v) {
                return !(std::fabs(v.point.x) <= kMaxCoordinate && std::fabs(v.point.y) <= kMaxCoordinate);
            });
        if (tooLong || tooFar) {
            Log().Printf(LOG_ERROR, "IMPORT ERROR: A polyline on %s with %d points %s.\nIt was not imported.",
                         layer, pline->GetVertexCount(),
                         tooLong ? "has more points than a model outline may have"
                                 : "lies too far from the origin");
            error = true;
            plines.pop_back();
        }
    }
    return plines;
}

// A copy without near-duplicate vertices.
CDxfPline Cleaned(const CDxfPline& pline) {
    CDxfPline clean = pline;
    clean.RemoveDuplicateVertices(kDuplicateVertexTolerance);
    return clean;
}

const Point& Vertex(const CDxfPline& pline, int i) {
    static const Point kNone;
    return i < pline.GetVertexCount() ? pline.m_Vertices[i].point : kNone;
}

// Inside the room, or within 0.05 m of its outline.
bool RoomHolds(const CLENIRoom& room, const Point& p) {
    const Polygon& polygon = room.GetPolygon();
    if (polygon.size() < 3) return false;
    return IsPointInPolygon(polygon, p) ||
           GetNearestPointOnPolygon(polygon, p).distance <= kContainmentTolerance;
}

bool RoomHoldsAll(const CLENIRoom& room, const CDxfPline& pline) {
    for (const DxfVertex& v : pline.m_Vertices)
        if (!RoomHolds(room, v.point)) return false;
    return true;
}

// The wall nearest to the point (the first of equally near ones) and its distance.
int NearestWall(const Polygon& polygon, const Point& p, double& distance) {
    const int n = static_cast<int>(polygon.size());
    int best = -1;
    distance = 1e100;
    for (int i = 0; i < n; ++i) {
        const double d = DistanceToSegment(polygon[i], polygon[(i + 1) % n], p);
        if (d < distance) {
            distance = d;
            best = i;
        }
    }
    return best;
}

// The wall a window from a to b lies along, or -1 when it is not along this room's outline.
int WindowWall(const CLENIRoom& room, const Point& a, const Point& b) {
    const Polygon& polygon = room.GetPolygon();
    if (polygon.size() < 3) return -1;
    double da, db;
    const int wa = NearestWall(polygon, a, da);
    const int wb = NearestWall(polygon, b, db);
    if (da > kWindowWallTolerance || db > kWindowWallTolerance) return -1;
    if (wa == wb) return wa;
    // The ends are nearest to different walls (a window reaching a corner): the middle decides.
    double dm;
    const Point mid((a.x + b.x) / 2, (a.y + b.y) / 2);
    const int wm = NearestWall(polygon, mid, dm);
    return dm <= kWindowWallTolerance ? wm : -1;
}

int NextWindowId(const CLENIRoom& room, int wall) {
    if (room.GetWindowCount() == 0) return 0;
    int highest = -1;
    for (const CLENIWindow& w : room.GetWindows())
        if (w.m_iWallId == wall) highest = std::max(highest, w.m_iWindowId);
    return highest >= 0 ? highest + 1 : 1;
}

} // namespace

int ImportRoomsFromDxf(CLENIFloor& floor, const CDxfFile& dxf, const CLENIProject& project, bool& error) {
    if (dxf.GetEntityCount() == 0) {
        Log().Printf(LOG_INFO, "ImportRoomsFromDxf but empty DXF");
        return 0;
    }
    const std::string& buildingType = project.GetDominantBuildingType();
    int added = 0, leftOut = 0;
    bool limitReached = false;
    for (const auto& pline : PolylinesOnLayer(dxf, kLayerRoom, error)) {
        const int n = pline->GetVertexCount();
        if (n <= 2) {
            error = true;
            if (n == 0)
                Log().Printf(LOG_ERROR, "IMPORT ERROR: A room polyline with only %d points found", n);
            else
                Log().Printf(LOG_ERROR,
                             "IMPORT ERROR: A room polyline with only %d points found,\nstarts at %.2f %.2f",
                             n, Vertex(*pline, 0).x, Vertex(*pline, 0).y);
            continue;
        }
        const CDxfPline clean = Cleaned(*pline);
        if (clean.IsSelfIntersecting()) {
            Log().Printf(
                LOG_ERROR,
                "IMPORT ERROR: The room polyline is self intersecting or has\nduplicate points.Start = %.3f "
                "%.3f\nPlease change the DXF file if you want all rooms\nto be imported automatically.",
                Vertex(*pline, 0).x, Vertex(*pline, 0).y);
            error = true;
            continue;
        }
        // Once the generated names and the fallback name are all taken, the rest of the outlines
        // are left out, counted for one message.
        std::string name = limitReached ? std::string() : FindFreeRoomName(floor);
        if (name.empty()) {
            limitReached = true;
            if (floor.RoomExists(kFallbackRoomName)) {
                ++leftOut;
                continue;
            }
            name = kFallbackRoomName;
        }
        CLENIRoom room;
        if (!room.InitFromDxfPline(name, &clean, floor.GetHeight())) {
            // Fewer than three vertices were left after cleaning: not a room outline.
            Log().Printf(LOG_ERROR,
                         "IMPORT ERROR: A room polyline with only %d points found,\nstarts at %.2f %.2f",
                         clean.GetVertexCount(), Vertex(*pline, 0).x, Vertex(*pline, 0).y);
            error = true;
            continue;
        }
        bool overlaps = false;
        for (const CLENIRoom& other : floor.GetRooms())
            if (PolygonsOverlap(room.GetPolygon(), other.GetPolygon(), kContainmentTolerance))
                overlaps = true;
        if (overlaps) {
            Log().Printf(
                LOG_ERROR,
                "IMPORT ERROR: The room polyline with points at %.2f %.2f and\nand %.2f %.2f intersects an "
                "existing room",
                Vertex(*pline, 0).x, Vertex(*pline, 0).y, Vertex(*pline, 1).x, Vertex(*pline, 1).y);
            error = true;
            continue;
        }
        if (floor.GetName().empty())
            Log().Printf(LOG_ERROR, "CLENIRoom::SetParentFloor with null floor name");
        room.SetFloorName(floor.GetName());
        room.SetMaintenanceFactor(std::clamp(project.GetMaintenanceFactor(), 0.0, 1.0));
        room.SetRoomType(CBuildingTypeData::GetFirstRoomTypeOfBuildingType(buildingType));
        room.GetTdTnByBuildingType(buildingType);
        if (floor.AddRoom(room)) ++added;
    }
    if (limitReached) {
        Log().Printf(LOG_ERROR, "CLENIFloor::GURN limit reached: %d room outlines left out", leftOut);
        error = true;
    }
    return added;
}

int ImportZonesFromDxf(CLENIFloor& floor, const CDxfFile& dxf, bool& error) {
    int added = 0, leftOut = 0;
    bool limitReached = false;
    for (const auto& pline : PolylinesOnLayer(dxf, kLayerZone, error)) {
        if (pline->GetVertexCount() <= 2) {
            // Logged, but not counted as a refused element.
            Log().Printf(LOG_ERROR, "IMPORT ERROR: The zone polyline less than 3 points.");
            continue;
        }
        const Point& start = Vertex(*pline, 0);
        const CDxfPline clean = Cleaned(*pline);
        if (clean.IsSelfIntersecting()) {
            Log().Printf(
                LOG_ERROR,
                "IMPORT ERROR: The zone polyline is self intersecting or has duplicate points.\nStart = %.3f "
                "%.3f\nPlease correct the DXF file if you want to import\nall zones automatically.",
                start.x, start.y);
            error = true;
            continue;
        }
        CLENIRoom* room = nullptr;
        for (int i = 0; i < floor.GetRoomCount() && !room; ++i)
            if (RoomHoldsAll(floor.GetRooms()[i], clean)) room = floor.GetRoomByIndex(i);
        if (!room) {
            Log().Printf(
                LOG_ERROR,
                "IMPORT ERROR: Found a zone polyline not inside any room polylines.\nStarts at %.2f %.2f",
                start.x, start.y);
            error = true;
            continue;
        }
        std::string name = FindFreeZoneName(floor, room->GetName());
        if (name.empty()) {
            limitReached = true;
            if (room->ZoneExists(kFallbackZoneName)) {
                ++leftOut;
                continue;
            }
            name = kFallbackZoneName;
        }
        CLENIZone zone;
        if (!zone.InitFromDxfPline(name, &clean)) {
            error = true;
            continue;
        }
        bool overlaps = false;
        for (const CLENIZone& other : room->GetZones())
            if (PolygonsOverlap(zone.GetPolygon(), other.GetPolygon(), kContainmentTolerance))
                overlaps = true;
        if (overlaps) {
            Log().Printf(
                LOG_ERROR,
                "IMPORT ERROR: The zone polyline with points at %.2f %.2f and\nand %.2f %.2f intersects an "
                "existing zone",
                start.x, start.y, Vertex(*pline, 1).x, Vertex(*pline, 1).y);
            error = true;
            continue;
        }
        zone.SetFa(CBuildingTypeData::GetFaFromRoomTypeString(room->GetRoomType()));
        if (room->AddZone(zone)) ++added;
    }
    if (limitReached) {
        Log().Printf(LOG_ERROR, "CLENIFloor::GUZN limit reached: %d zone outlines left out", leftOut);
        error = true;
    }
    return added;
}

int ImportWindowsFromDxf(CLENIFloor& floor, const CDxfFile& dxf, bool& error,
                         const CLENIWindow& windowTemplate) {
    int added = 0;
    for (const auto& pline : PolylinesOnLayer(dxf, kLayerVertWindow, error)) {
        const int n = pline->GetVertexCount();
        if (n < 2) continue;
        const Point& a = Vertex(*pline, 0);
        const std::string& layer = pline->GetLayerName();
        if (n > 2) {
            Log().Printf(
                LOG_ERROR,
                "IMPORT ERROR: Polylines on %s which represent windows must\nhave only 2 vertices. This one "
                "has %d.\nThis erroneous polyline starts at %.1f %.1f",
                layer.c_str(), n, a.x, a.y);
            error = true;
            break; // later window polylines are not looked at
        }
        const Point& b = Vertex(*pline, 1);
        bool placed = false;
        for (int r = 0; r < floor.GetRoomCount(); ++r) {
            CLENIRoom& room = *floor.GetRoomByIndex(r);
            const int wall = WindowWall(room, a, b);
            if (wall < 0) continue;
            CLENIWindow window;
            window.m_dSillHeight = windowTemplate.m_dSillHeight;
            window.m_dTauD65 = windowTemplate.m_dTauD65;
            window.m_dK1 = windowTemplate.m_dK1;
            window.m_dK2 = windowTemplate.m_dK2;
            window.m_dK3 = windowTemplate.m_dK3;
            window.m_bHasGdf = windowTemplate.m_bHasGdf;
            window.m_dGdfTau = windowTemplate.m_dGdfTau;
            window.m_dGdfK1 = windowTemplate.m_dGdfK1;
            window.m_dGdfK2 = windowTemplate.m_dGdfK2;
            window.m_dGdfK3 = windowTemplate.m_dGdfK3;
            window.m_iWallId = wall;
            window.m_iWindowId = NextWindowId(room, wall);
            window.m_dWidth = Distance2D(a, b);
            window.m_dHeight = std::min(floor.GetHeight(), windowTemplate.m_dHeight);
            const Point& wallStart = room.GetPolygon()[wall];
            window.m_dStart = std::min(Distance2D(wallStart, a), Distance2D(wallStart, b));
            if (room.AddWindow(window)) {
                ++added;
                placed = true;
            }
        }
        if (!placed) {
            Log().Printf(
                LOG_ERROR,
                "IMPORT ERROR: Found a 2 vertex polyline on %s which represents a window.\nBut it must be "
                "close to a room wall, within %.2f m.\nThis erroneous polyline starts at %.2f %.2f in your "
                "DXF.",
                layer.c_str(), kWindowWallTolerance, a.x, a.y);
            error = true;
        }
    }
    return added;
}

int ImportRoofLightsFromDxf(CLENIFloor& floor, const CDxfFile& dxf, bool& error) {
    int added = 0;
    for (const auto& pline : PolylinesOnLayer(dxf, kLayerRoofLight, error)) {
        if (pline->GetVertexCount() < 1) continue;
        const Point& start = Vertex(*pline, 0);
        const CDxfPline clean = Cleaned(*pline);
        if (clean.GetVertexCount() != 4) {
            Log().Printf(
                LOG_ERROR,
                "IMPORT ERROR: The roof light polyline must have 4 points.\nFound one with %d points. Starts "
                "at:%.1f %.1f",
                clean.GetVertexCount(), start.x, start.y);
            error = true;
            continue;
        }
        if (clean.IsSelfIntersecting()) {
            Log().Printf(
                LOG_ERROR,
                "IMPORT ERROR: The roof light polyline is self intersecting or has duplicate points.\nStart "
                "= %.3f %.3f\nPlease correct the DXF file if you want to import\nall roof lights "
                "automatically.",
                start.x, start.y);
            error = true;
            continue;
        }
        CLENIRoom* room = nullptr;
        for (int i = 0; i < floor.GetRoomCount() && !room; ++i)
            if (RoomHoldsAll(floor.GetRooms()[i], clean)) room = floor.GetRoomByIndex(i);
        if (!room) {
            Log().Printf(
                LOG_ERROR,
                "IMPORT ERROR: Found a roof light polyline not inside any single room.\nStarts at %.2f %.2f",
                start.x, start.y);
            error = true;
            continue;
        }
        Point lo = clean.m_Vertices[0].point, hi = lo;
        for (const DxfVertex& v : clean.m_Vertices) {
            lo.x = std::min(lo.x, v.point.x), lo.y = std::min(lo.y, v.point.y);
            hi.x = std::max(hi.x, v.point.x), hi.y = std::max(hi.y, v.point.y);
        }
        CLENIRoofLight roofLight;
        roofLight.m_iId = std::as_const(*room).FindRoofLight(1) ? room->GetFreeRoofLightId(2) : 1;
        roofLight.m_dYWidth = hi.y - lo.y;
        roofLight.m_dXLength = hi.x - lo.x;
        const Point ref = room->GetReferencePoint();
        roofLight.m_dXOrig = lo.x - ref.x;
        roofLight.m_dYOrig = lo.y - ref.y;
        if (room->AddRoofLight(roofLight)) ++added;
    }
    return added;
}

int ImportAtriaFromDxf(CLENIFloor& floor, const CDxfFile& dxf, bool& error) {
    int added = 0, leftOut = 0;
    bool limitReached = false;
    for (const auto& pline : PolylinesOnLayer(dxf, kLayerAtrium, error)) {
        if (pline->GetVertexCount() <= 2) continue;
        const CDxfPline clean = Cleaned(*pline);
        if (clean.GetVertexCount() <= 2) continue;
        if (clean.IsSelfIntersecting()) {
            Log().Printf(
                LOG_ERROR,
                "IMPORT ERROR: The atrium polyline is self intersecting or has duplicate points.\nStart = "
                "%.3f %.3f\nPlease correct the DXF file if you want to import\nall roof lights "
                "automatically.",
                Vertex(*pline, 0).x, Vertex(*pline, 0).y);
            error = true;
            continue;
        }
        std::string name = limitReached ? std::string() : FindFreeAtriumName(floor);
        if (name.empty()) {
            limitReached = true;
            if (floor.FindAtrium(kFallbackAtriumName)) {
                ++leftOut;
                continue;
            }
            name = kFallbackAtriumName;
        }
        CLENIAtrium atrium;
        atrium.m_csName = name;
        Polygon polygon;
        InitPolygonFromDxfPline(polygon, &clean);
        atrium.SetPolygon(polygon);
        if (floor.AddAtrium(atrium)) ++added;
    }
    if (limitReached) {
        Log().Printf(LOG_ERROR, "CLENIFloor::GUAZN limit reached: %d atrium outlines left out", leftOut);
        error = true;
    }
    return added;
}

LENIImportCounts ImportSpecialLayers(CLENIFloor& floor, const CDxfFile& dxf, const CLENIProject& project,
                                     const CLENIWindow& windowTemplate) {
    LENIImportCounts counts;
    counts.rooms = ImportRoomsFromDxf(floor, dxf, project, counts.error);
    if (counts.rooms > 0) {
        counts.zones = ImportZonesFromDxf(floor, dxf, counts.error);
        counts.windows = ImportWindowsFromDxf(floor, dxf, counts.error, windowTemplate);
        counts.roofLights = ImportRoofLightsFromDxf(floor, dxf, counts.error);
    }
    counts.atria = ImportAtriaFromDxf(floor, dxf, counts.error);
    return counts;
}

void InstallDxfFloorImporter(std::function<CLENIWindow()> windowTemplate) {
    CLENIProject::SetDxfFloorImporterForProject([windowTemplate](const CLENIProject& project,
                                                                 CLENIFloor& floor, const std::string& path,
                                                                 LENIImportCounts& counts) {
        auto dxf = std::make_unique<CDxfFile>(path);
        // A drawing that could not be read at all holds no entities; a partly read one is used.
        if (dxf->GetEntityCount() == 0) return false;
        counts = ImportSpecialLayers(floor, *dxf, project, windowTemplate ? windowTemplate() : CLENIWindow());
        return true;
    });
}

void ReportFloorImport(const std::string& floor, const std::string& project, const LENIImportCounts& counts) {
    const int sum = counts.rooms + counts.zones + counts.windows + counts.roofLights + counts.atria;
    if (sum != 0)
        Log().Printf(
            LOG_INFO,
            "Added a new floor <%s> to project <%s>.\nIt had %d entities on special layers.\nThere were %d "
            "rooms and %d zones.\nThere were %d windows and %d rooflights.\nThere were %d atriums.\n",
            floor.c_str(), project.c_str(), sum, counts.rooms, counts.zones, counts.windows,
            counts.roofLights, counts.atria);
    else
        Log().Printf(LOG_INFO, "Added a new floor <%s> to project <%s>.\n", floor.c_str(), project.c_str());
    if (counts.error)
        ShowMessageText("There were errors on the special LENI layers\nPlease check the general log file for "
                        "details.\nSee the Folders menu to find the general log file",
                        MB_BUTTONS_OK, MB_ICON_EXCLAMATION);
}
