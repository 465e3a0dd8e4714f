#pragma once
// A room of a floor: its outline, type, operating hours and the zones, windows and roof lights
// inside it. Wall i is the outline edge from vertex i to vertex (i + 1) mod n.
// Note: outlines are kept counter-clockwise, so the room lies to the left of every wall.

#include "base/Revision.h"
#include "dxf/Point.h"
#include "model/LENIRoofLight.h"
#include "model/LENIWindow.h"
#include "model/LENIZone.h"
#include "tables/OpeningCodes.h" // the shading codes SHADING_*

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDxfPline;
class CLumSysDataBase;

enum { DCAJ_CALCULATED = 0, DCAJ_USER = 1 };

class CLENIRoom {
  public:
    CLENIRoom();

    // Name, height (clamped to [1, 200]) and outline from a drawn polyline; an empty name or a
    // polyline of fewer than 3 usable vertices is refused and leaves the room unchanged.
    bool InitFromDxfPline(const std::string& name, const CDxfPline* pline, double height);
    // The same from an outline already made.
    bool InitFromPolygon(const std::string& name, const Polygon& polygon, double height);

    const std::string& GetName() const { return m_csName; }
    void SetName(const std::string& name) {
        Touch();
        m_csName = name;
    }
    const std::string& GetFloorName() const { return m_csFloorName; }
    void SetFloorName(const std::string& name) {
        Touch();
        m_csFloorName = name;
    }

    // Room type key "[building type]room type(Fa=0.00)".
    const std::string& GetRoomType() const { return m_csRoomType; }
    bool SetRoomType(const std::string& text);
    std::string GetBuildingTypeFromRoomTypeString() const;
    // tD and tN from the building type's row of the reference table.
    void GetTdTnByBuildingType(const std::string& buildingType);

    int GetTd() const { return m_iTd; }
    void SetTd(int td) {
        Touch();
        m_iTd = td;
    }
    int GetTn() const { return m_iTn; }
    void SetTn(int tn) {
        Touch();
        m_iTn = tn;
    }
    // The hours of a time step: the annual value for 0, a twelfth of it (rounded, halves up) for a month.
    int GetTdForTimeStep(int timeStep) const;
    int GetTnForTimeStep(int timeStep) const;

    double GetWrkSrfHi() const { return m_dWrkSrfHi; }
    // Taken within [0, 2] m.
    bool SetWrkSrfHi(double height);
    double GetMaintenanceFactor() const { return m_dMF; }
    // Clamped to [0, 1].
    void SetMaintenanceFactor(double mf);
    double GetHeight() const { return m_dHeight; }
    // Clamped to [1, 200].
    void SetHeight(double height);

    const Polygon& GetPolygon() const { return m_Polygon; }
    // Stored counter-clockwise. Windows keep their wall ids.
    void SetPolygon(const Polygon& polygon);
    // The floor area; for an outline that crosses itself (only a hand-written file holds one),
    // the area drawn, each point counted once.
    double GetArea() const;
    bool OutlineCrossesItself() const { return m_dDrawnArea >= 0.0; }

    int GetDcajSource() const { return m_iDcajSource; }
    void SetDcajSource(int source) {
        Touch();
        m_iDcajSource = source;
    }
    double GetUserDcaj() const { return m_dUserDcaj; }
    // A negative value is refused.
    bool SetUserDcaj(double dcaj);
    int GetShadingType() const { return m_iShadingType; }
    void SetShadingType(int type) {
        Touch();
        m_iShadingType = type;
    }
    // "No Shading", "Glare Protection", "Auto Glare Protection", "Light Guides"; empty for another value.
    static std::string GetShadingName(int type);
    bool GetPrintMe() const { return m_bPrintMe; }
    void SetPrintMe(bool print) {
        Touch();
        m_bPrintMe = print;
    }

    // Zones.
    const std::vector<CLENIZone>& GetZones() const { return m_Zones; }
    int GetZoneCount() const { return static_cast<int>(m_Zones.size()); }
    bool AddZone(const CLENIZone& zone);
    bool ZoneExists(const std::string& name) const { return GetZoneIndexByName(name) >= 0; }
    int GetZoneIndexByName(const std::string& name) const;
    CLENIZone* FindZone(const std::string& name);
    const CLENIZone* FindZone(const std::string& name) const;
    // Replaces the zone of the same name; false when there is none.
    bool ReplaceZone(const CLENIZone& zone);
    // An unknown name does nothing.
    bool RemoveZoneByName(const std::string& name);
    // The first zone whose outline holds the point, or none.
    const CLENIZone* GetZoneAtPoint(const Point& p) const;
    // Zone illuminances weighted by zone area; 0 without zones.
    double GetAverageZoneIlluminance() const;

    // Windows.
    const std::vector<CLENIWindow>& GetWindows() const { return m_Windows; }
    int GetWindowCount() const { return static_cast<int>(m_Windows.size()); }
    // Refused when the room already has a window with the same wall id and window id.
    bool AddWindow(const CLENIWindow& window);
    int GetWindowIndex(int wallId, int windowId) const;
    CLENIWindow* FindWindow(int wallId, int windowId);
    const CLENIWindow* FindWindow(int wallId, int windowId) const;
    // The smallest window id not used on the wall.
    int GetFreeWindowId(int wallId) const;
    bool ChangeWindow(const CLENIWindow& window);
    bool RemoveWindow(int wallId, int windowId);

    // Roof lights.
    const std::vector<CLENIRoofLight>& GetRoofLights() const { return m_RoofLights; }
    int GetRoofLightCount() const { return static_cast<int>(m_RoofLights.size()); }
    bool AddRoofLight(const CLENIRoofLight& roofLight);
    int GetRoofLightIndexById(int id) const;
    CLENIRoofLight* FindRoofLight(int id);
    const CLENIRoofLight* FindRoofLight(int id) const;
    // Replaces the roof light of the same id; false when there is none.
    bool ChangeRoofLight(const CLENIRoofLight& roofLight);
    bool RemoveRoofLight(int id);
    int GetFreeRoofLightId(int start) const;
    // The first roof light whose outline holds the point, or none.
    const CLENIRoofLight* GetRoofLightAtPoint(const Point& p) const;

    // Geometry.
    // Smallest x and smallest y of the outline (z = 0).
    Point GetReferencePoint() const;
    // Bounding-box size: x extent in x, y extent in y.
    Point GetRoomExtents() const;
    int GetWallCount() const { return static_cast<int>(m_Polygon.size()); }
    double GetWallLength(int wall) const;
    Point GetWallDirectionVector(int wall) const;
    bool GetWallStartAndEnd2D(const CLENIWindow& window, Point& start, Point& end) const;
    double GetXAlongWallSide(const Point& p, int wall) const;
    // Index in the window list of the window on that wall nearest to the point (below 1 m), or -1.
    int FindWindowNearPoint(const Point& p, int wall) const;
    bool CheckWindowPlacement(const CLENIWindow& window, std::string& message) const;
    double GetRoomDepthAtWindow(const CLENIWindow& window) const;
    Polygon GetWindowDaylightArea(const CLENIWindow& window) const;
    Polygon GetRoofLightOutline(const CLENIRoofLight& roofLight) const;
    Polygon GetRoofLightDaylightArea(const CLENIRoofLight& roofLight) const;
    CLENIRoofLight GetRoofLightEquivalent(const CLENIWindow& window) const;

    // Changes with every change of the room's content (see base/Revision.h). A room that has
    // handed out one of its zones, windows or roof lights for changing (and its copies) may be
    // changed through it at any later time: it has a new revision each time it is asked.
    std::uint64_t GetRevision() const { return m_bHandedOut ? NewRevision() : m_uRevision; }

    // The power (CZoneObjList::GetTotalPower) of each of the room's luminaire lists for an energy
    // use, zones first, then windows, then roof lights; kept with the revisions it is of, as a
    // calculation asks for it in every time step. Null when a list names a product neither db
    // nor the global database has (the caller works it out, and reports it, itself).
    std::shared_ptr<const std::vector<double>> GetListPowers(int energyUse, const CLumSysDataBase& db) const;

  private:
    void Touch();
    bool IsWallInRange(int wall) const { return wall >= 0 && wall < GetWallCount(); }

    std::string m_csName;     // "roomname"
    std::string m_csRoomType; // "type"
    std::string m_csFloorName;
    int m_iTd;          // "td"
    int m_iTn;          // "tn"
    double m_dWrkSrfHi; // "hta"
    double m_dMF;       // "mf"
    double m_dHeight;
    Polygon m_Polygon;
    double m_dDrawnArea = -1.0; // the outline's drawn area when it crosses itself, else -1
    // The outline's triangulated area for the revision it is of: a recalculation asks for every
    // room's area several times, from several threads.
    CKeptNumber m_KnownArea;
    // GetListPowers by energy use, read and replaced atomically like the area.
    struct KnownPowers {
        std::uint64_t revision, products, globalProducts;
        std::vector<double> powers;
    };
    static constexpr int kEnergyUses = 5;
    mutable std::shared_ptr<const KnownPowers> m_pKnownPowers[kEnergyUses];
    std::vector<CLENIZone> m_Zones;
    std::vector<CLENIWindow> m_Windows;
    std::vector<CLENIRoofLight> m_RoofLights;
    int m_iDcajSource;  // "DcajSettings" "Type"
    double m_dUserDcaj; // "DcajSettings" "UserVal"
    int m_iShadingType; // "Shading" type
    bool m_bPrintMe;    // "PrintMe"
    std::uint64_t m_uRevision;
    bool m_bHandedOut = false;
};

// The four corners of a sloped window's glazing in floor-plan coordinates, z the height above the
// floor: bottom at the wall start side, bottom at the end side, top at the end side, top at the start.
Polygon GetSlopedWindowOutline(const CLENIWindow& window, const CLENIRoom& room);
