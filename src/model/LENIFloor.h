#pragma once
// A floor of the building: one DXF floor plan with its rooms and atria, standing for one or more
// identical storeys.

#include "dxf/Point.h"
#include "model/LENIAtrium.h"
#include "model/LENIRoom.h"

#include <string>
#include <vector>

class CLENIFloor {
  public:
    // A floor as the project reader starts it: no name, height 3, one instance.
    CLENIFloor();
    // A new floor takes the height as given; an empty name is reported and kept.
    explicit CLENIFloor(const std::string& name, double height = 3.0);

    const std::string& GetName() const { return m_csName; }
    void SetName(const std::string& name) { m_csName = name; }
    double GetHeight() const { return m_dHeight; }
    // A height outside [1, 200] becomes 3; every room of the floor takes the new height.
    void SetHeight(double height);
    int GetInstanceCount() const { return m_iInstanceCount; }
    // At least 1.
    void SetInstanceCount(int count);
    bool GetPrintMe() const { return m_bPrintMe; }
    void SetPrintMe(bool print) { m_bPrintMe = print; }

    // Rooms.
    const std::vector<CLENIRoom>& GetRooms() const { return m_Rooms; }
    int GetRoomCount() const { return static_cast<int>(m_Rooms.size()); }
    // Appends a copy recording this floor's name; refused when the name is taken.
    bool AddRoom(const CLENIRoom& room);
    int GetRoomIndexByName(const std::string& name) const;
    bool RoomExists(const std::string& name) const { return GetRoomIndexByName(name) >= 0; }
    CLENIRoom* FindRoom(const std::string& name);
    const CLENIRoom* FindRoom(const std::string& name) const;
    // Out of range: reported, and the first room (none when the floor has no rooms).
    CLENIRoom* GetRoomByIndex(int index);
    const CLENIRoom* GetRoomByIndex(int index) const;
    // Replaces the room of the same name; false when there is none.
    bool ReplaceRoom(const CLENIRoom& room);
    bool RemoveRoomByName(const std::string& name);
    bool RemoveZoneByName(const std::string& zone, const std::string& room);
    bool RemoveWindow(int wallId, int windowId, const std::string& room);
    bool RemoveRoofLight(const std::string& room, int id);
    // The first room holding the point; with near also one passing within 0.05 m of it.
    const CLENIRoom* GetRoomAtPoint(const Point& p, bool near) const;
    // Smallest and largest x and y over all room vertices; both 0 without rooms.
    void GetBoundingBox(Point& min, Point& max) const;
    int GetRoofLightCount() const;
    double GetArea() const;

    // Generated names.
    std::string GetUniqueRoomName() const;
    std::string GetUniqueZoneName(const std::string& room) const;
    std::string GetUniqueAtriumName() const;

    // Atria.
    const std::vector<CLENIAtrium>& GetAtria() const { return m_Atria; }
    int GetAtriumCount() const { return static_cast<int>(m_Atria.size()); }
    // Refused when the name is taken.
    bool AddAtrium(const CLENIAtrium& atrium);
    CLENIAtrium* FindAtrium(const std::string& name);
    const CLENIAtrium* FindAtrium(const std::string& name) const;
    // Replaces the atrium called name by the given one; an unknown name does nothing.
    bool ReplaceAtrium(const CLENIAtrium& atrium, const std::string& name);
    bool RemoveAtrium(const std::string& name);
    const CLENIAtrium* GetAtriumAtPoint(const Point& p) const;

  private:
    double m_dHeight; // "hi"
    std::vector<CLENIRoom> m_Rooms;
    std::vector<CLENIAtrium> m_Atria;
    std::string m_csName; // "floorname"
    int m_iInstanceCount; // "count"
    bool m_bPrintMe;      // "PrintMe"
};
