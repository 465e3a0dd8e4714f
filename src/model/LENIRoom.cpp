#include "model/LENIRoom.h"

#include "base/Logger.h"
#include "base/Revision.h"
#include "base/TextUtils.h"
#include "dxf/DrawnArea.h"
#include "dxf/Geometry.h"
#include "model/ModelGeometry.h"
#include "products/LumSysDataBase.h"
#include "tables/BuildingTypeData.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

namespace {
const char* const kFallbackBuildingType = "Residential buildings";

double Clamp(double v, double lo, double hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

// Two windows' outlines count as overlapping only when they share more than rounding noise.
constexpr double kWindowOverlapTolerance = 1e-6;

// Depth reported when no wall lies in front of a window.
constexpr double kNoDepth = 1e23;

Polygon WallPlaneRectangle(const CLENIWindow& w) {
    const double x0 = w.m_dStart, x1 = w.m_dStart + w.m_dWidth;
    const double y0 = w.m_dSillHeight, y1 = w.m_dSillHeight + w.m_dHeight;
    return {Point(x0, y0), Point(x1, y0), Point(x1, y1), Point(x0, y1)};
}
} // namespace

CLENIRoom::CLENIRoom()
    : m_iTd(1000), m_iTn(1000), m_dWrkSrfHi(0.8), m_dMF(0.7), m_dHeight(2.5), m_iDcajSource(DCAJ_CALCULATED),
      m_dUserDcaj(0.0), m_iShadingType(SHADING_NONE), m_bPrintMe(false), m_uRevision(NewRevision()) {}

void CLENIRoom::Touch() {
    m_uRevision = NewRevision();
}

bool CLENIRoom::InitFromDxfPline(const std::string& name, const CDxfPline* pline, double height) {
    Touch();
    if (name.empty()) {
        Log().Printf(LOG_INFO, "CLENIRoom::IFDP with empty name.");
        return false;
    }
    Polygon polygon;
    if (pline) InitPolygonFromDxfPline(polygon, pline);
    if (polygon.size() < 3) {
        Log().Printf(LOG_INFO, "CLENIRoom::IFDP bad pPline parameter.");
        return false;
    }
    m_csName = name;
    SetHeight(height);
    SetPolygon(polygon);
    return true;
}

bool CLENIRoom::InitFromPolygon(const std::string& name, const Polygon& polygon, double height) {
    Touch();
    if (name.empty()) {
        Log().Printf(LOG_INFO, "CLENIRoom::IFDP with empty name.");
        return false;
    }
    if (polygon.size() < 3) {
        Log().Printf(LOG_INFO, "CLENIRoom::IFDP bad pPline parameter.");
        return false;
    }
    m_csName = name;
    SetHeight(height);
    SetPolygon(polygon);
    return true;
}

// ---- Room type and hours ----

bool CLENIRoom::SetRoomType(const std::string& text) {
    Touch();
    Log().Printf(LOG_INFO, "SetRoomType <%s>", text.c_str());
    const std::string type = TrimWhiteSpace(text);
    if (type.empty()) {
        Log().Printf(LOG_ERROR, "SetRoomType, empty string");
        return false;
    }
    m_csRoomType = type;
    if (type.find("Fa=") == std::string::npos)
        Log().Printf(LOG_ERROR, "CLENIRoom::SRT but no fa in the string: <%s>", type.c_str());
    return true;
}

std::string CLENIRoom::GetBuildingTypeFromRoomTypeString() const {
    if (m_csRoomType.empty() || m_csRoomType[0] != '[') {
        Log().Printf(LOG_ERROR,
                     "CLENIRoom::GDBTFRTS: Could not find correct start square bracket in room string");
        return kFallbackBuildingType;
    }
    const size_t close = m_csRoomType.find(']');
    if (close == std::string::npos) {
        Log().Printf(LOG_ERROR,
                     "CLENIRoom::GDBTFRTS: Could not find correct end square bracket in room string");
        return kFallbackBuildingType;
    }
    return m_csRoomType.substr(1, close - 1);
}

void CLENIRoom::GetTdTnByBuildingType(const std::string& buildingType) {
    Touch();
    CBuildingTypeData::GetTdTnByBuildingType(buildingType, m_iTd, m_iTn);
}

namespace {
int MonthlyShare(int annual, int timeStep) {
    if (timeStep == 0) return annual;
    return static_cast<int>(std::floor(annual / 12.0 + 0.5));
}
} // namespace

int CLENIRoom::GetTdForTimeStep(int timeStep) const {
    return MonthlyShare(m_iTd, timeStep);
}
int CLENIRoom::GetTnForTimeStep(int timeStep) const {
    return MonthlyShare(m_iTn, timeStep);
}

// ---- Plain fields ----

bool CLENIRoom::SetWrkSrfHi(double height) {
    Touch();
    if (!(height >= 0.0 && height <= 2.0)) {
        Log().Printf(LOG_ERROR, "SetWrkSrfHi %.3f out of range (room <%s>", height, m_csName.c_str());
        return false;
    }
    m_dWrkSrfHi = height;
    return true;
}

void CLENIRoom::SetMaintenanceFactor(double mf) {
    Touch();
    m_dMF = std::isnan(mf) ? 0.7 : Clamp(mf, 0.0, 1.0);
}

void CLENIRoom::SetHeight(double height) {
    Touch();
    m_dHeight = std::isnan(height) ? 2.5 : Clamp(height, 1.0, 200.0);
}

void CLENIRoom::SetPolygon(const Polygon& polygon) {
    Touch();
    m_Polygon = polygon;
    NormalisePolygon(m_Polygon);
    m_dDrawnArea = ::OutlineCrossesItself(m_Polygon) ? CalcDrawnArea(m_Polygon) : -1.0;
}

double CLENIRoom::GetArea() const {
    if (m_dDrawnArea >= 0.0) return m_dDrawnArea;
    if (m_Polygon.size() < 3) return 0.0;
    double area = 0.0;
    // Only the room's own setters change its outline, so the revision the room keeps suffices
    // even when it has handed out parts of it.
    if (m_KnownArea.Get(m_uRevision, area)) return area;
    // An outline the triangulation gives up on is reported each time it is measured.
    if (!CalcTriangulatedArea(m_Polygon, area)) return CalcPolygonArea(m_Polygon);
    m_KnownArea.Put(m_uRevision, area);
    return area;
}

std::shared_ptr<const std::vector<double>> CLENIRoom::GetListPowers(int energyUse,
                                                                    const CLumSysDataBase& db) const {
    if (energyUse < 0 || energyUse >= kEnergyUses) return nullptr;
    const CLumSysDataBase& global = CLumSysDataBase::Global();
    const std::uint64_t revision = GetRevision(), products = db.GetRevision(),
                        globalProducts = global.GetRevision();
    std::shared_ptr<const KnownPowers>& slot = m_pKnownPowers[energyUse];
    const std::shared_ptr<const KnownPowers> known = std::atomic_load(&slot);
    if (known && known->revision == revision && known->products == products &&
        known->globalProducts == globalProducts)
        return std::shared_ptr<const std::vector<double>>(known, &known->powers);
    auto made = std::make_shared<KnownPowers>(KnownPowers{revision, products, globalProducts, {}});
    auto add = [&](const CZoneObjList& list) {
        for (const CZoneObjList::Entry& entry : list.GetEntries())
            if (!db.HasRefId(entry.refId) && (db.IsGlobal() || !global.HasRefId(entry.refId))) return false;
        made->powers.push_back(list.GetTotalPower(energyUse, db));
        return true;
    };
    for (const CLENIZone& zone : m_Zones)
        if (!add(zone.GetLumList())) return nullptr;
    for (const CLENIWindow& window : m_Windows)
        if (!add(window.m_LumList)) return nullptr;
    for (const CLENIRoofLight& roofLight : m_RoofLights)
        if (!add(roofLight.m_LumList)) return nullptr;
    std::atomic_store(&slot, std::shared_ptr<const KnownPowers>(made));
    return std::shared_ptr<const std::vector<double>>(made, &made->powers);
}

bool CLENIRoom::SetUserDcaj(double dcaj) {
    Touch();
    if (!(dcaj >= 0.0)) return false;
    m_dUserDcaj = dcaj;
    return true;
}

std::string CLENIRoom::GetShadingName(int type) {
    switch (type) {
    case SHADING_NONE:
        return "No Shading";
    case SHADING_GLARE_PROTECTION:
        return "Glare Protection";
    case SHADING_AUTO_GLARE_PROTECTION:
        return "Auto Glare Protection";
    case SHADING_LIGHT_GUIDES:
        return "Light Guides";
    default:
        return std::string();
    }
}

// ---- Zones ----

bool CLENIRoom::AddZone(const CLENIZone& zone) {
    Touch();
    if (ZoneExists(zone.GetName())) {
        Log().Printf(LOG_ERROR, "CLENIRoom::AZ trying to add zone with same name: %s",
                     zone.GetName().c_str());
        return false;
    }
    m_Zones.push_back(zone);
    return true;
}

int CLENIRoom::GetZoneIndexByName(const std::string& name) const {
    for (size_t i = 0; i < m_Zones.size(); ++i)
        if (EqualsNoCase(m_Zones[i].GetName(), name)) return static_cast<int>(i);
    return -1;
}

CLENIZone* CLENIRoom::FindZone(const std::string& name) {
    Touch();
    m_bHandedOut = true;
    const int i = GetZoneIndexByName(name);
    return i < 0 ? nullptr : &m_Zones[i];
}

const CLENIZone* CLENIRoom::FindZone(const std::string& name) const {
    const int i = GetZoneIndexByName(name);
    return i < 0 ? nullptr : &m_Zones[i];
}

bool CLENIRoom::ReplaceZone(const CLENIZone& zone) {
    Touch();
    // Found without handing it out: the room changes here and now.
    const int index = GetZoneIndexByName(zone.GetName());
    if (index < 0) return false;
    m_Zones[static_cast<size_t>(index)] = zone;
    return true;
}

bool CLENIRoom::RemoveZoneByName(const std::string& name) {
    Touch();
    const int i = GetZoneIndexByName(name);
    if (i < 0) return false;
    m_Zones.erase(m_Zones.begin() + i);
    return true;
}

const CLENIZone* CLENIRoom::GetZoneAtPoint(const Point& p) const {
    for (const CLENIZone& zone : m_Zones)
        if (zone.GetPolygon().size() >= 3 && IsPointInPolygon(zone.GetPolygon(), p)) return &zone;
    return nullptr;
}

double CLENIRoom::GetAverageZoneIlluminance() const {
    double sum = 0.0, area = 0.0;
    for (const CLENIZone& zone : m_Zones) {
        const double a = zone.GetArea();
        sum += a * zone.GetZoneIlluminance();
        area += a;
    }
    return area > 0.0 ? sum / area : 0.0;
}

// ---- Windows ----

bool CLENIRoom::AddWindow(const CLENIWindow& window) {
    Touch();
    if (GetWindowIndex(window.m_iWallId, window.m_iWindowId) >= 0) {
        Log().Printf(LOG_ERROR, "CLENIRoom::AW(%d,%d) window already exists in room %s", window.m_iWallId,
                     window.m_iWindowId, m_csName.c_str());
        return false;
    }
    m_Windows.push_back(window);
    return true;
}

int CLENIRoom::GetWindowIndex(int wallId, int windowId) const {
    for (size_t i = 0; i < m_Windows.size(); ++i)
        if (m_Windows[i].m_iWallId == wallId && m_Windows[i].m_iWindowId == windowId)
            return static_cast<int>(i);
    return -1;
}

CLENIWindow* CLENIRoom::FindWindow(int wallId, int windowId) {
    Touch();
    m_bHandedOut = true;
    const int i = GetWindowIndex(wallId, windowId);
    return i < 0 ? nullptr : &m_Windows[i];
}

const CLENIWindow* CLENIRoom::FindWindow(int wallId, int windowId) const {
    const int i = GetWindowIndex(wallId, windowId);
    return i < 0 ? nullptr : &m_Windows[i];
}

int CLENIRoom::GetFreeWindowId(int wallId) const {
    int id = 0;
    while (GetWindowIndex(wallId, id) >= 0)
        ++id;
    return id;
}

bool CLENIRoom::ChangeWindow(const CLENIWindow& window) {
    Touch();
    const int index = GetWindowIndex(window.m_iWallId, window.m_iWindowId);
    if (index < 0) {
        Log().Printf(LOG_ERROR, "CLENIRoom::CW(WallId %d, WindowId %d) failed.", window.m_iWallId,
                     window.m_iWindowId);
        return false;
    }
    m_Windows[static_cast<size_t>(index)] = window;
    return true;
}

bool CLENIRoom::RemoveWindow(int wallId, int windowId) {
    Touch();
    const int i = GetWindowIndex(wallId, windowId);
    if (i < 0) {
        Log().Printf(LOG_ERROR, "CLENIRoom::RW(%d,%d) failed.", wallId, windowId);
        return false;
    }
    m_Windows.erase(m_Windows.begin() + i);
    return true;
}

// ---- Roof lights ----

bool CLENIRoom::AddRoofLight(const CLENIRoofLight& roofLight) {
    Touch();
    if (GetRoofLightIndexById(roofLight.m_iId) >= 0) {
        Log().Printf(LOG_ERROR, "CLENIRoom::ARL room %s rooflight id already exists:%d", m_csName.c_str(),
                     roofLight.m_iId);
        return false;
    }
    m_RoofLights.push_back(roofLight);
    return true;
}

int CLENIRoom::GetRoofLightIndexById(int id) const {
    for (size_t i = 0; i < m_RoofLights.size(); ++i)
        if (m_RoofLights[i].m_iId == id) return static_cast<int>(i);
    return -1;
}

CLENIRoofLight* CLENIRoom::FindRoofLight(int id) {
    Touch();
    m_bHandedOut = true;
    const int i = GetRoofLightIndexById(id);
    return i < 0 ? nullptr : &m_RoofLights[i];
}

const CLENIRoofLight* CLENIRoom::FindRoofLight(int id) const {
    const int i = GetRoofLightIndexById(id);
    return i < 0 ? nullptr : &m_RoofLights[i];
}

bool CLENIRoom::ChangeRoofLight(const CLENIRoofLight& roofLight) {
    Touch();
    const int index = GetRoofLightIndexById(roofLight.m_iId);
    if (index < 0) return false;
    m_RoofLights[static_cast<size_t>(index)] = roofLight;
    return true;
}

bool CLENIRoom::RemoveRoofLight(int id) {
    Touch();
    const int i = GetRoofLightIndexById(id);
    if (i < 0) {
        Log().Printf(LOG_ERROR, "CLENIRoom::RRLBI %s %d failed.", m_csName.c_str(), id);
        return false;
    }
    m_RoofLights.erase(m_RoofLights.begin() + i);
    return true;
}

int CLENIRoom::GetFreeRoofLightId(int start) const {
    int id = start;
    while (GetRoofLightIndexById(id) >= 0)
        ++id;
    return id;
}

const CLENIRoofLight* CLENIRoom::GetRoofLightAtPoint(const Point& p) const {
    for (const CLENIRoofLight& roofLight : m_RoofLights)
        if (IsPointInPolygon(GetRoofLightOutline(roofLight), p)) return &roofLight;
    return nullptr;
}

// ---- Geometry ----

Point CLENIRoom::GetReferencePoint() const {
    if (m_Polygon.empty()) return Point();
    Point ref(m_Polygon[0].x, m_Polygon[0].y);
    for (const Point& p : m_Polygon) {
        ref.x = std::min(ref.x, p.x);
        ref.y = std::min(ref.y, p.y);
    }
    return ref;
}

Point CLENIRoom::GetRoomExtents() const {
    if (m_Polygon.empty()) return Point(1.0, 1.0);
    Point min, max;
    GetPolygonBoundingBox(m_Polygon, min, max);
    return Point(max.x - min.x, max.y - min.y);
}

double CLENIRoom::GetWallLength(int wall) const {
    if (!IsWallInRange(wall)) {
        Log().Printf(LOG_ERROR, "GetWallLength(%d) wall id out of range", wall);
        return 1.0;
    }
    return Distance2D(m_Polygon[wall], m_Polygon[(wall + 1) % m_Polygon.size()]);
}

Point CLENIRoom::GetWallDirectionVector(int wall) const {
    if (!IsWallInRange(wall)) {
        Log().Printf(LOG_ERROR, "GetWallDirectionVector(%d) wall id out of range", wall);
        return Point(1.0, 0.0);
    }
    const Point& a = m_Polygon[wall];
    const Point& b = m_Polygon[(wall + 1) % m_Polygon.size()];
    const double length = Distance2D(a, b);
    // A wall of no length has no direction; the caller sees a zero vector.
    if (length <= 0.0) return Point(0.0, 0.0);
    return Point((b.x - a.x) / length, (b.y - a.y) / length);
}

bool CLENIRoom::GetWallStartAndEnd2D(const CLENIWindow& window, Point& start, Point& end) const {
    if (!IsWallInRange(window.m_iWallId)) {
        Log().Printf(LOG_ERROR, "GetWallStartAndEnd2D(%d) out of range", window.m_iWallId);
        start = end = Point();
        return false;
    }
    const Point& a = m_Polygon[window.m_iWallId];
    const Point u = GetWallDirectionVector(window.m_iWallId);
    start = Point(a.x + u.x * window.m_dStart, a.y + u.y * window.m_dStart);
    const double along = window.m_dStart + window.m_dWidth;
    end = Point(a.x + u.x * along, a.y + u.y * along);
    return true;
}

double CLENIRoom::GetXAlongWallSide(const Point& p, int wall) const {
    if (!IsWallInRange(wall)) {
        Log().Printf(LOG_ERROR, "GetXAlongWallSide(%d) out of range in room %s", wall, m_csName.c_str());
        return 0.5;
    }
    const Point& a = m_Polygon[wall];
    const Point& b = m_Polygon[(wall + 1) % m_Polygon.size()];
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    if (length2 <= 0.0) return 0.0;
    const double t = Clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0);
    return t * std::sqrt(length2);
}

int CLENIRoom::FindWindowNearPoint(const Point& p, int wall) const {
    int best = -1;
    double bestDistance = 1.0;
    for (size_t i = 0; i < m_Windows.size(); ++i) {
        const CLENIWindow& w = m_Windows[i];
        if (w.m_iWallId != wall) continue;
        Point s, e;
        if (!GetWallStartAndEnd2D(w, s, e)) continue;
        const double dx = e.x - s.x, dy = e.y - s.y;
        const double length2 = dx * dx + dy * dy;
        if (length2 <= 0.0) continue;
        const double t = ((p.x - s.x) * dx + (p.y - s.y) * dy) / length2;
        if (t <= 0.0 || t >= 1.0) continue;
        const double distance = std::fabs((p.x - s.x) * dy - (p.y - s.y) * dx) / std::sqrt(length2);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

bool CLENIRoom::CheckWindowPlacement(const CLENIWindow& window, std::string& message) const {
    message.clear();
    if (window.m_dStart < 0.0) {
        message = "The start of the window is outside of the room";
        return false;
    }
    if (window.m_dStart + window.m_dWidth > GetWallLength(window.m_iWallId)) {
        message = "The end of the window is outside of the room";
        return false;
    }
    const Polygon outline = WallPlaneRectangle(window);
    for (const CLENIWindow& other : m_Windows) {
        if (other.m_iWallId != window.m_iWallId || other.m_iWindowId == window.m_iWindowId) continue;
        if (PolygonsOverlap(outline, WallPlaneRectangle(other), kWindowOverlapTolerance)) {
            message = "The window overlaps an existing window in the room";
            return false;
        }
    }
    return true;
}

double CLENIRoom::GetRoomDepthAtWindow(const CLENIWindow& window) const {
    Point s, e;
    if (!GetWallStartAndEnd2D(window, s, e)) return kNoDepth;
    const Point m((s.x + e.x) / 2.0, (s.y + e.y) / 2.0);
    const Point u = GetWallDirectionVector(window.m_iWallId);
    const Point n(-u.y, u.x); // into the room
    const double toStart = Distance2D(m, m_Polygon[window.m_iWallId]);
    const double reach = 1e10 * (toStart > 0.0 ? toStart : 1.0);
    const Point p(m.x + n.x * reach, m.y + n.y * reach);
    const Point q(m.x - n.x * reach, m.y - n.y * reach);

    double depth = kNoDepth;
    const int count = GetWallCount();
    for (int wall = 0; wall < count; ++wall) {
        if (wall == window.m_iWallId) continue;
        Point crossing;
        if (!GetSegmentIntersection(p, q, m_Polygon[wall], m_Polygon[(wall + 1) % count], crossing)) continue;
        // Walls behind the window (a room wrapping round outside space) do not bound its depth.
        if ((crossing.x - m.x) * n.x + (crossing.y - m.y) * n.y <= 0.0) continue;
        depth = std::min(depth, Distance2D(m, crossing));
    }
    return depth;
}

Polygon CLENIRoom::GetWindowDaylightArea(const CLENIWindow& window) const {
    CLENIWindow w;
    switch (window.m_iVertWinType) {
    case VWT_VERTICAL:
        w = window;
        break;
    case VWT_VERTICAL_SLOPED:
        w = GetVerticalEquivalent(window, m_dHeight);
        break;
    case VWT_HORIZONTAL_SLOPED:
        return GetRoofLightDaylightArea(GetRoofLightEquivalent(window));
    default:
        Log().Printf(LOG_ERROR, "CLENIRoom::GWDR bad window type:%d", window.m_iVertWinType);
        return Polygon();
    }

    Point s, e;
    if (!GetWallStartAndEnd2D(w, s, e)) return Polygon();
    double aD = std::min(2.5 * (w.GetLintelHeight() - m_dWrkSrfHi), GetRoomDepthAtWindow(w));
    // A window wholly below the work plane lights no area; a negative depth would turn the area outwards.
    if (aD < 0.0) aD = 0.0;
    const Point u = GetWallDirectionVector(w.m_iWallId);
    const Point n(-u.y, u.x);
    const Point m((s.x + e.x) / 2.0, (s.y + e.y) / 2.0);
    const double half = (w.m_dWidth + aD / 2.0) / 2.0;
    const Point h(u.x * half, u.y * half);
    const Point d(n.x * aD, n.y * aD);
    return {Point(m.x - h.x, m.y - h.y), Point(m.x + h.x, m.y + h.y), Point(m.x + h.x + d.x, m.y + h.y + d.y),
            Point(m.x - h.x + d.x, m.y - h.y + d.y)};
}

Polygon CLENIRoom::GetRoofLightOutline(const CLENIRoofLight& roofLight) const {
    const Point ref = GetReferencePoint();
    const double x0 = ref.x + roofLight.m_dXOrig, y0 = ref.y + roofLight.m_dYOrig;
    const double x1 = x0 + roofLight.m_dXLength, y1 = y0 + roofLight.m_dYWidth;
    return {Point(x0, y0), Point(x1, y0), Point(x1, y1), Point(x0, y1)};
}

Polygon CLENIRoom::GetRoofLightDaylightArea(const CLENIRoofLight& roofLight) const {
    const double d = m_dHeight - m_dWrkSrfHi;
    const Point ref = GetReferencePoint();
    const double x0 = ref.x + roofLight.m_dXOrig - d, y0 = ref.y + roofLight.m_dYOrig - d;
    const double x1 = x0 + roofLight.m_dXLength + 2.0 * d, y1 = y0 + roofLight.m_dYWidth + 2.0 * d;
    return {Point(x0, y0), Point(x1, y0), Point(x1, y1), Point(x0, y1)};
}

CLENIRoofLight CLENIRoom::GetRoofLightEquivalent(const CLENIWindow& window) const {
    if (window.m_iVertWinType != VWT_HORIZONTAL_SLOPED)
        Log().Printf(LOG_ERROR, "GetRoofLightEquivalent called on non horizontally sloped window");

    CLENIRoofLight roofLight;
    roofLight.m_iType = RL_FLAT;
    roofLight.m_dHs = 0.0;
    roofLight.m_dGammaW = 0.0;
    roofLight.m_dKObl1 = Clamp(window.m_dK1, 0.0, 1.0);
    roofLight.m_dKObl2 = Clamp(window.m_dK2, 0.0, 1.0);
    roofLight.m_dKObl3 = Clamp(window.m_dK3, 0.0, 1.0);
    roofLight.m_dTauD65Sna = window.m_dTauD65;
    roofLight.m_dTauD65Sa = window.m_dTD65SA;
    roofLight.m_LumList = window.m_LumList;

    const Polygon outline = GetSlopedWindowOutline(window, *this);
    Point min, max;
    GetPolygonBoundingBox(outline, min, max);
    roofLight.m_dYWidth = Clamp(max.y - min.y, 0.01, 500.0);
    roofLight.m_dXLength = Clamp(max.x - min.x, 0.01, 500.0);
    const Point ref = GetReferencePoint();
    roofLight.m_dXOrig = min.x - ref.x;
    roofLight.m_dYOrig = min.y - ref.y;
    roofLight.m_dZOrig = (outline[1].z + outline[2].z) / 2.0 - ref.z;
    return roofLight;
}

Polygon GetSlopedWindowOutline(const CLENIWindow& window, const CLENIRoom& room) {
    const double pi = 3.14159265359;
    Point s, e;
    room.GetWallStartAndEnd2D(window, s, e);
    const double hs = window.m_dHeightToSlope;
    const double z0 = window.m_dDistToWall + hs;
    const double z1 = z0 + window.m_dSlopeLength;
    Polygon outline = {Point(s.x, s.y, z0), Point(e.x, e.y, z0), Point(e.x, e.y, z1), Point(s.x, s.y, z1)};
    if (window.m_iVertWinType != VWT_HORIZONTAL_SLOPED) return outline;

    // Right-handed turn about the horizontal axis along the wall through (S, hs) (Rodrigues' formula);
    // a negative angle leans the glazing over the room, which lies to the left of the axis.
    const Point k = room.GetWallDirectionVector(window.m_iWallId);
    const double theta = -(90.0 - window.m_dGamma) * pi / 180.0;
    const double c = std::cos(theta), sn = std::sin(theta);
    for (Point& p : outline) {
        const double vx = p.x - s.x, vy = p.y - s.y, vz = p.z - hs;
        const double dot = k.x * vx + k.y * vy; // k.z is 0
        const double cx = k.y * vz, cy = -k.x * vz, cz = k.x * vy - k.y * vx;
        p.x = s.x + vx * c + cx * sn + k.x * dot * (1.0 - c);
        p.y = s.y + vy * c + cy * sn + k.y * dot * (1.0 - c);
        p.z = hs + vz * c + cz * sn;
    }
    return outline;
}
