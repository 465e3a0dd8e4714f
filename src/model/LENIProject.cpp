#include "model/LENIProject.h"

#include "base/Logger.h"
#include "base/TextUtils.h"
#include "tables/BuildingTypeData.h"

namespace {
CLENIProject::DxfFloorImporter& Importer() {
    static CLENIProject::DxfFloorImporter importer;
    return importer;
}

CLENIProject::DxfFloorImporterForProject& ProjectImporter() {
    static CLENIProject::DxfFloorImporterForProject importer;
    return importer;
}

// Default ratio of direct to global irradiation: the first row whose bound is not below the latitude.
struct HdirHglobRow {
    double latitudeBound;
    double hdirHglob;
};
const HdirHglobRow kHdirHglobTable[] = {
    {15.0, 0.34}, {30.0, 0.36}, {45.0, 0.45}, {60.0, 0.39}, {75.0, 0.40},
};
constexpr double kHdirHglobBeyondTable = 0.4;

constexpr double kDefaultMF = 0.7;
constexpr double kDefaultLatitude = 45.47;
constexpr double kDefaultLongitude = 9.19;
// Slab thickness added to every storey on the way to the roof.
constexpr double kSlabThickness = 0.3;
} // namespace

void CLENIProject::SetDxfFloorImporter(DxfFloorImporter importer) {
    Importer() = std::move(importer);
}

void CLENIProject::SetDxfFloorImporterForProject(DxfFloorImporterForProject importer) {
    ProjectImporter() = std::move(importer);
}

CLENIProject::CLENIProject()
    : m_dMF(kDefaultMF), m_dLatitude(kDefaultLatitude), m_dLongitude(kDefaultLongitude),
      m_dHdirHglob(GetDefaultHdirHglob(kDefaultLatitude)), m_iYearToBeBuilt(0), m_iYearBuilt(0),
      m_bPrintMe(false) {
    Clear();
}

void CLENIProject::Clear() {
    m_csProjectFolder.clear();
    m_csName.clear();
    m_csDominantBuildingType.clear();
    m_dMF = kDefaultMF;
    m_dLatitude = kDefaultLatitude;
    m_dLongitude = kDefaultLongitude;
    m_dHdirHglob = GetDefaultHdirHglob(m_dLatitude);
    m_bPrintMe = false;
    m_EnergyPrice.reset();
    m_CO2Factor.reset();
    m_LeniTarget.reset();
    m_Floors.clear();
    m_ProductIdsReadTwice.clear();
}

double CLENIProject::GetDefaultHdirHglob(double latitude) {
    for (const HdirHglobRow& row : kHdirHglobTable)
        if (row.latitudeBound >= latitude) return row.hdirHglob;
    return kHdirHglobBeyondTable;
}

void CLENIProject::SetProjectFolder(const std::string& path) {
    m_csProjectFolder = path;
    // Either separator; a lone root separator stays.
    if (m_csProjectFolder.size() > 1 && (m_csProjectFolder.back() == '\\' || m_csProjectFolder.back() == '/'))
        m_csProjectFolder.pop_back();
}

bool CLENIProject::SetDominantBuildingType(const std::string& name) {
    if (!CBuildingTypeData::IsBuildingType(name)) {
        Log().Printf(LOG_ERROR, "CLENIProject::SDBT Cannot find building type <%s> in the tables",
                     name.c_str());
        return false;
    }
    m_csDominantBuildingType = name;
    return true;
}

// ---- Floors ----

int CLENIProject::GetFloorIndexByName(const std::string& name) const {
    for (size_t i = 0; i < m_Floors.size(); ++i)
        if (EqualsNoCase(m_Floors[i].GetName(), name)) return static_cast<int>(i);
    return -1;
}

CLENIFloor* CLENIProject::GetFloorByName(const std::string& name) {
    return const_cast<CLENIFloor*>(static_cast<const CLENIProject*>(this)->GetFloorByName(name));
}

const CLENIFloor* CLENIProject::GetFloorByName(const std::string& name) const {
    const int i = GetFloorIndexByName(name);
    if (i < 0) {
        Log().Printf(LOG_ERROR, "CLENIProject::GFBN unrecognised floor: <%s>", name.c_str());
        return nullptr;
    }
    return &m_Floors[i];
}

CLENIFloor* CLENIProject::GetFloorByIndex(int index) {
    return index >= 0 && index < GetFloorCount() ? &m_Floors[index] : nullptr;
}

const CLENIFloor* CLENIProject::GetFloorByIndex(int index) const {
    return index >= 0 && index < GetFloorCount() ? &m_Floors[index] : nullptr;
}

bool CLENIProject::AddFloor(const std::string& name, double height, int import, const std::string& dxfPath,
                            LENIImportCounts* counts) {
    if (counts) *counts = LENIImportCounts();
    if (FloorExists(name)) {
        Log().Printf(LOG_ERROR, "Adding an existing floor: %s", name.c_str());
        return false;
    }
    m_Floors.emplace_back(name, height);
    if (import == 1) {
        LENIImportCounts imported;
        CLENIFloor& floor = m_Floors.back();
        const bool read = ProjectImporter() ? ProjectImporter()(*this, floor, dxfPath, imported)
                                            : Importer() && Importer()(floor, dxfPath, imported);
        if (!read) {
            // Whatever a failed import left behind is dropped: the floor stays empty.
            floor = CLENIFloor(name, height);
            imported = LENIImportCounts();
            Log().Printf(LOG_ERROR,
                         "The DXF file has no entities or some errors\nDid not add in rooms, zones, etc. "
                         "automatically.");
        }
        if (counts) *counts = imported;
    }
    // A floor the user adds prints its page until it is unticked in the print pages.
    m_Floors.back().SetPrintMe(true);
    return true;
}

bool CLENIProject::AppendFloor(const CLENIFloor& floor) {
    if (FloorExists(floor.GetName())) {
        Log().Printf(LOG_ERROR, "Adding an existing floor: %s", floor.GetName().c_str());
        return false;
    }
    m_Floors.push_back(floor);
    return true;
}

bool CLENIProject::ReplaceFloor(const CLENIFloor& floor) {
    const int i = GetFloorIndexByName(floor.GetName());
    if (i < 0) return false;
    m_Floors[i] = floor;
    return true;
}

bool CLENIProject::DeleteFloor(const std::string& name) {
    const int i = GetFloorIndexByName(name);
    if (i < 0) {
        Log().Printf(LOG_ERROR, "DeleteFloor <%s>, floor not found", name.c_str());
        return false;
    }
    m_Floors.erase(m_Floors.begin() + i);
    return true;
}

bool CLENIProject::ReorderFloors(const std::vector<std::string>& names) {
    const int oldCount = GetFloorCount();
    if (static_cast<int>(names.size()) != oldCount) {
        Log().Printf(LOG_ERROR, "CLENIProject::Rf1 size mismatch, %d %d", static_cast<int>(names.size()),
                     oldCount);
        return false;
    }
    std::string text = "CLENIProject::Rf";
    text += "\n\nList before reorder...\n";
    for (int i = 0; i < oldCount; ++i)
        text += StrPrintf("   %d %s\n", i, m_Floors[i].GetName().c_str());
    text += "New  order...\n";
    for (const std::string& name : names)
        text += StrPrintf("   %s\n", name.c_str());
    Log().Write(LOG_INFO, text);

    std::vector<CLENIFloor> reordered;
    std::vector<bool> taken(m_Floors.size(), false);
    for (const std::string& name : names) {
        const int i = GetFloorIndexByName(name);
        // A floor named twice would be duplicated and another one lost.
        if (i < 0 || taken[i]) continue;
        taken[i] = true;
        reordered.push_back(m_Floors[i]);
    }
    if (static_cast<int>(reordered.size()) != oldCount) {
        Log().Printf(LOG_ERROR, "CLENIProject::Rf2 size mismatch, %d %d", static_cast<int>(reordered.size()),
                     oldCount);
        return false;
    }
    m_Floors.swap(reordered);
    text = "List after reorder...\n";
    for (int i = 0; i < oldCount; ++i)
        text += StrPrintf("   %d %s\n", i, m_Floors[i].GetName().c_str());
    Log().Write(LOG_INFO, text);
    return true;
}

double CLENIProject::GetHeightFromFloorToTop(const CLENIFloor& floor) const {
    if (m_Floors.empty() || &floor < m_Floors.data() || &floor >= m_Floors.data() + m_Floors.size())
        return GetHeightFromFloorToTop(floor.GetName());
    return HeightFromFloorToTop(static_cast<int>(&floor - m_Floors.data()));
}

double CLENIProject::GetHeightFromFloorToTop(const std::string& floor) const {
    const int first = GetFloorIndexByName(floor);
    if (first < 0) {
        Log().Printf(LOG_ERROR, "CLENIProject::GFBN unrecognised floor: <%s>", floor.c_str());
        return 0.0;
    }
    return HeightFromFloorToTop(first);
}

double CLENIProject::HeightFromFloorToTop(int first) const {
    double height = 0.0;
    for (int i = first; i < GetFloorCount(); ++i)
        height += (m_Floors[i].GetHeight() + kSlabThickness) * m_Floors[i].GetInstanceCount();
    return height;
}

// ---- Rooms, zones and openings ----

bool CLENIProject::AddRoomToFloor(const CLENIRoom& room) {
    const int i = GetFloorIndexByName(room.GetFloorName());
    if (i < 0) {
        Log().Printf(LOG_ERROR, "CLENIProject::ARTF unrecognised floor: <%s>", room.GetFloorName().c_str());
        return false;
    }
    return m_Floors[i].AddRoom(room);
}

bool CLENIProject::RemoveRoomByName(const std::string& room, const std::string& floor) {
    const int i = GetFloorIndexByName(floor);
    if (i < 0) {
        Log().Printf(LOG_ERROR, "CLENIProject::RRBN (%s) no floor by that name", floor.c_str());
        return false;
    }
    return m_Floors[i].RemoveRoomByName(room);
}

bool CLENIProject::RemoveZoneByName(const std::string& zone, const std::string& floor,
                                    const std::string& room) {
    const int i = GetFloorIndexByName(floor);
    if (i < 0) {
        Log().Printf(LOG_ERROR, "CLENIProject::RZBN (%s) no floor by that name", floor.c_str());
        return false;
    }
    return m_Floors[i].RemoveZoneByName(zone, room);
}

bool CLENIProject::RemoveWindow(int wallId, int windowId, const std::string& floor, const std::string& room) {
    const int i = GetFloorIndexByName(floor);
    if (i < 0) {
        Log().Printf(LOG_ERROR, "CLENIProject::RWFFR %s %s failed.", floor.c_str(), room.c_str());
        return false;
    }
    return m_Floors[i].RemoveWindow(wallId, windowId, room);
}

bool CLENIProject::RemoveRoofLight(const std::string& floor, const std::string& room, int id) {
    const int i = GetFloorIndexByName(floor);
    if (i < 0) {
        Log().Printf(LOG_ERROR, "CLENIProject::RRL %s %s failed.", floor.c_str(), room.c_str());
        return false;
    }
    return m_Floors[i].RemoveRoofLight(room, id);
}

bool CLENIProject::ReplaceAtrium(const CLENIAtrium& atrium, const std::string& atriumName,
                                 const std::string& floor) {
    const int i = GetFloorIndexByName(floor);
    if (i < 0) {
        Log().Printf(LOG_ERROR, "CLENIProject::CAIF could not find floor called <%s>.", floor.c_str());
        return false;
    }
    return m_Floors[i].ReplaceAtrium(atrium, atriumName);
}

CLENIRoom* CLENIProject::FindRoom(const std::string& floor, const std::string& room) {
    const int i = GetFloorIndexByName(floor);
    return i < 0 ? nullptr : m_Floors[i].FindRoom(room);
}

const CLENIRoom* CLENIProject::FindRoom(const std::string& floor, const std::string& room) const {
    const int i = GetFloorIndexByName(floor);
    return i < 0 ? nullptr : m_Floors[i].FindRoom(room);
}

const CLENIZone* CLENIProject::GetZoneAtPoint(const Point& p, const std::string& floor,
                                              const std::string& room) const {
    if (room.empty()) {
        Log().Printf(LOG_ERROR, "CLENIProject::GZBC called with empty room name");
        return nullptr;
    }
    const CLENIRoom* r = FindRoom(floor, room);
    return r ? r->GetZoneAtPoint(p) : nullptr;
}

const CLENIRoofLight* CLENIProject::GetRoofLightAtPoint(const Point& p, const std::string& floor,
                                                        const std::string& room) const {
    const CLENIRoom* r = FindRoom(floor, room);
    return r ? r->GetRoofLightAtPoint(p) : nullptr;
}

bool CLENIProject::IsProductUsed(const std::string& refId) const {
    for (const CLENIFloor& floor : m_Floors)
        for (const CLENIRoom& room : floor.GetRooms())
            for (const CLENIZone& zone : room.GetZones())
                if (zone.GetLumList().HasLuminaire(refId)) return true;
    return false;
}

void CLENIProject::AddProductsToProject(const CZoneObjList& list) {
    for (const CZoneObjList::Entry& entry : list.GetEntries())
        if (!m_Products.HasRefId(entry.refId))
            m_Products.AddLumData(CLumSysDataBase::Global().GetLumDataFromRefId(entry.refId));
}
