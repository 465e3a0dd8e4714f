#pragma once
// The fixed reference table of building types (with their annual operating hours td and tn)
// and the room types of each (with their absence factor Fa). Built once at program start,
// read-only afterwards. There is one table for the program; the operations are static and read it,
// building it on first use.

#include <string>
#include <vector>

class CBuildingTypeData {
  public:
    struct CRoomType {
        std::string m_csName;
        double m_dFa = 0.0;
    };
    struct CBuildingType {
        std::string m_csName;
        int m_iTd = 0; // hours per year in daylight time
        int m_iTn = 0; // hours per year in non-daylight time
        std::vector<CRoomType> m_RoomTypes;
    };

    // Builds the table if it is empty; later calls do nothing.
    static void InitBuildingTypeTables();

    // Building type names in table order.
    static std::vector<std::string> GetBuildingTypeNames();
    // Empties the list, then appends the room type key of every room type of every building type.
    static void GetAllRoomTypeStrings(std::vector<std::string>& list);
    // Key of the first room type of the building type (case-insensitive name); an unknown
    // building type is reported and gives the bare name "Living room".
    static std::string GetFirstRoomTypeOfBuildingType(const std::string& buildingType);
    // Sets td and tn of the building type; an unknown one is reported and gives 1000 and 1000.
    // Returns whether the building type was found.
    static bool GetTdTnByBuildingType(const std::string& buildingType, int& td, int& tn);
    // Case-insensitive match of a building type name (validation of the dominant building type).
    static bool IsBuildingType(const std::string& buildingType);
    // Index of the building type in table order, or -1.
    static int FindBuildingType(const std::string& buildingType);
    // The room type key of room type roomIndex of building type buildingIndex; an index outside the
    // building type's room types is reported and the first room type is used.
    static std::string GetRoomTypeString(int buildingIndex, int roomIndex);

    static const std::vector<CBuildingType>& GetBuildingTypes();

    // "[" + building type + "]" + room type + "(Fa=" + Fa with two decimals + ")".
    static std::string MakeRoomTypeKey(const std::string& buildingType, const std::string& roomType,
                                       double fa);
    // Fa read back from a room type key: 0.0 without "Fa=", 0.5 when out of [0, 1]; both reported.
    static double GetFaFromRoomTypeString(const std::string& key);

  private:
    friend CBuildingTypeData& BuildingTypeData();
    CBuildingTypeData() = default;
    std::vector<CBuildingType> m_BuildingTypes;
};

// The program's one table (built by InitBuildingTypeTables or on first use).
CBuildingTypeData& BuildingTypeData();
