#pragma once
// The building: project data and its floors, bottom floor first. Objects hold no pointers to their
// parents; everything is found again by name, without regard to letter case.

#include "dxf/Point.h"
#include "model/LENIFloor.h"
#include "products/LumSysDataBase.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// What the import of a floor's special layers brought in.
struct LENIImportCounts {
    int rooms = 0;
    int windows = 0;
    int zones = 0;
    int atria = 0;
    int roofLights = 0;
    bool error = false; // an element of the special layers was refused (see the general log)
};

class CLENIProject {
  public:
    // Reads the DXF file and imports the objects of its special layers into the floor; false when
    // the file could not be read or holds no entities.
    using DxfFloorImporter =
        std::function<bool(CLENIFloor& floor, const std::string& dxfPath, LENIImportCounts& counts)>;
    static void SetDxfFloorImporter(DxfFloorImporter importer);
    // The same for an import that also reads the project (maintenance factor, building type);
    // used instead of the one above when set.
    using DxfFloorImporterForProject =
        std::function<bool(const CLENIProject& project, CLENIFloor& floor, const std::string& dxfPath,
                           LENIImportCounts& counts)>;
    static void SetDxfFloorImporterForProject(DxfFloorImporterForProject importer);

    CLENIProject();

    // Back to an empty project; description, location, years and products stay.
    void Clear();

    // Hdir/Hglob that goes with a latitude.
    static double GetDefaultHdirHglob(double latitude);

    const std::string& GetProjectFolder() const { return m_csProjectFolder; }
    void SetProjectFolder(const std::string& path);
    const std::string& GetName() const { return m_csName; }
    void SetName(const std::string& name) { m_csName = name; }
    const std::string& GetDescription() const { return m_csDescription; }
    void SetDescription(const std::string& text) { m_csDescription = text; }
    const std::string& GetDominantBuildingType() const { return m_csDominantBuildingType; }
    // Only a building type of the reference table is taken.
    bool SetDominantBuildingType(const std::string& name);
    const std::string& GetLocation() const { return m_csLocation; }
    void SetLocation(const std::string& text) { m_csLocation = text; }
    double GetMaintenanceFactor() const { return m_dMF; }
    void SetMaintenanceFactor(double mf) { m_dMF = mf; }
    double GetLatitude() const { return m_dLatitude; }
    void SetLatitude(double latitude) { m_dLatitude = latitude; }
    double GetLongitude() const { return m_dLongitude; }
    void SetLongitude(double longitude) { m_dLongitude = longitude; }
    double GetHdirHglob() const { return m_dHdirHglob; }
    void SetHdirHglob(double ratio) { m_dHdirHglob = ratio; }
    int GetYearToBeBuilt() const { return m_iYearToBeBuilt; }
    void SetYearToBeBuilt(int year) { m_iYearToBeBuilt = year; }
    int GetYearBuilt() const { return m_iYearBuilt; }
    void SetYearBuilt(int year) { m_iYearBuilt = year; }
    bool GetPrintMe() const { return m_bPrintMe; }
    void SetPrintMe(bool print) { m_bPrintMe = print; }
    // What results are weighed against: the price of energy (currency per kWh), the emission
    // factor (kg CO2 per kWh) and a LENI target (kWh/(m2 year)). Empty: not set, nothing shown.
    const std::optional<double>& GetEnergyPrice() const { return m_EnergyPrice; }
    void SetEnergyPrice(std::optional<double> price) { m_EnergyPrice = price; }
    const std::optional<double>& GetCO2Factor() const { return m_CO2Factor; }
    void SetCO2Factor(std::optional<double> factor) { m_CO2Factor = factor; }
    const std::optional<double>& GetLeniTarget() const { return m_LeniTarget; }
    void SetLeniTarget(std::optional<double> target) { m_LeniTarget = target; }

    // Floors.
    const std::vector<CLENIFloor>& GetFloors() const { return m_Floors; }
    int GetFloorCount() const { return static_cast<int>(m_Floors.size()); }
    int GetFloorIndexByName(const std::string& name) const;
    bool FloorExists(const std::string& name) const { return GetFloorIndexByName(name) >= 0; }
    // Unknown names are reported.
    CLENIFloor* GetFloorByName(const std::string& name);
    const CLENIFloor* GetFloorByName(const std::string& name) const;
    CLENIFloor* GetFloorByIndex(int index);
    const CLENIFloor* GetFloorByIndex(int index) const;
    // Appends a floor (the new top floor); with import set, also the objects of the DXF file's
    // special layers. False when the name is taken.
    bool AddFloor(const std::string& name, double height, int import, const std::string& dxfPath,
                  LENIImportCounts* counts = nullptr);
    // Appends a copy of a floor made elsewhere; false when the name is taken.
    bool AppendFloor(const CLENIFloor& floor);
    // Replaces the floor of the same name; false when there is none.
    bool ReplaceFloor(const CLENIFloor& floor);
    bool DeleteFloor(const std::string& name);
    // Floors in the order of the names; refused, keeping the order, unless every floor is named.
    bool ReorderFloors(const std::vector<std::string>& names);
    // Height from the floor's base to the top of the building, 0.3 m of slab per storey.
    double GetHeightFromFloorToTop(const std::string& floor) const;
    // The same for a floor of this project, found by its place rather than its name.
    double GetHeightFromFloorToTop(const CLENIFloor& floor) const;

    // Rooms, zones and openings, by name.
    bool AddRoomToFloor(const CLENIRoom& room);
    bool RemoveRoomByName(const std::string& room, const std::string& floor);
    bool RemoveZoneByName(const std::string& zone, const std::string& floor, const std::string& room);
    bool RemoveWindow(int wallId, int windowId, const std::string& floor, const std::string& room);
    bool RemoveRoofLight(const std::string& floor, const std::string& room, int id);
    bool ReplaceAtrium(const CLENIAtrium& atrium, const std::string& atriumName, const std::string& floor);
    CLENIRoom* FindRoom(const std::string& floor, const std::string& room);
    const CLENIRoom* FindRoom(const std::string& floor, const std::string& room) const;
    const CLENIZone* GetZoneAtPoint(const Point& p, const std::string& floor, const std::string& room) const;
    const CLENIRoofLight* GetRoofLightAtPoint(const Point& p, const std::string& floor,
                                              const std::string& room) const;

    // The project's own copy of every product its luminaire lists use.
    const CLumSysDataBase& GetProducts() const { return m_Products; }
    CLumSysDataBase& GetProducts() { return m_Products; }
    // The product ids the project file last read held twice (the second of each was ignored).
    const std::vector<std::string>& GetProductIdsReadTwice() const { return m_ProductIdsReadTwice; }
    // Whether a zone of the building lists the product.
    bool IsProductUsed(const std::string& refId) const;
    // Copies every product of the list that the project lacks from the global database.
    void AddProductsToProject(const CZoneObjList& list);

    // Project file (LENIProjectXml.cpp). Save writes the whole file through a temporary file and
    // reports a failure; with results, the numbers come from the provider of ProjectFileResults.h.
    bool Save(const std::string& path, bool withResults) const;
    // Checks folder, name and dominant building type, then saves as <folder>/<name>.LENI1XML.
    bool SaveProject(bool withResults) const;
    // Whatever was read before a failure stays in the project.
    bool ReadProject(const std::string& path);

  private:
    double HeightFromFloorToTop(int first) const;
    std::string m_csProjectFolder;
    std::string m_csName;                 // "Name"
    std::string m_csDescription;          // "Descr"
    std::string m_csDominantBuildingType; // "DominantBuildingType"
    std::string m_csLocation;             // "Location"
    double m_dMF;                         // "MF"
    double m_dLatitude;                   // "Latitude"
    double m_dLongitude;                  // "Longitude"
    double m_dHdirHglob;                  // "HdirHglob"
    int m_iYearToBeBuilt;                 // "YearToBeBuilt"
    int m_iYearBuilt;                     // "YearBuilt"
    std::vector<CLENIFloor> m_Floors;     // "FloorList", bottom floor first
    CLumSysDataBase m_Products;           // "Products"
    std::vector<std::string> m_ProductIdsReadTwice;
    bool m_bPrintMe;                      // "PrintMe"
    std::optional<double> m_EnergyPrice;  // "EnergyPrice", written only when set
    std::optional<double> m_CO2Factor;    // "CO2Factor", written only when set
    std::optional<double> m_LeniTarget;   // "LENITarget", written only when set
};
