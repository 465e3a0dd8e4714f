#include "tables/BuildingTypeData.h"

#include "base/Logger.h"
#include "base/TextUtils.h"

namespace {

struct BuildingTypeRow {
    const char* name;
    int td;
    int tn;
};

struct RoomTypeRow {
    const char* buildingType;
    const char* roomType;
    double fa;
};

// clang-format off
// Annual operating hours per building type (EN 15193), in table order.
const BuildingTypeRow kBuildingTypes[] = {
    // name                              td    tn
    {"Residential buildings",          1820, 1680},
    {"Offices",                        2250,  250},
    {"Educational buildings",          1800,  200},
    {"Hospitals",                      3000, 2000},
    {"Manufacturing factory",          2500, 1500},
    {"Hotels",                         3000, 2000},
    {"Restaurants",                    1250, 1250},
    {"Wholesale and retail service",   3000, 2000},
    {"Other",                          1000, 1000},
};

// Room types with their absence factor Fa, grouped by building type in table order. The names,
// trailing full stops and spacing included, are stored in rooms and project files: keep them exact.
const RoomTypeRow kRoomTypes[] = {
    // building type                    room type                                        Fa
    {"Residential buildings",          "Living room",                                  0.30},
    {"Residential buildings",          "Bedroom",                                      0.40},
    {"Residential buildings",          "Room for children or retired persons",         0.30},
    {"Residential buildings",          "Dining room",                                  0.70},
    {"Residential buildings",          "Kitchen",                                      0.60},
    {"Residential buildings",          "Bathroom",                                     0.80},
    {"Residential buildings",          "Toilet",                                       0.90},
    {"Residential buildings",          "Entrance hall",                                0.80},
    {"Residential buildings",          "Corridor, stairs",                             0.70},
    {"Residential buildings",          "Storeroom",                                    0.90},
    {"Residential buildings",          "Cellar",                                       0.95},
    {"Residential buildings",          "Laundry",                                      0.98},
    {"Residential buildings",          "Larder",                                       0.98},
    {"Residential buildings",          "Workroom",                                     0.60},
    {"Residential buildings",          "Home workshop",                                0.80},
    {"Residential buildings",          "Garage",                                       0.95},

    {"Offices",                        "Cellular office 1 person.",                    0.40},
    {"Offices",                        "Cellular office 2-6 persons.",                 0.30},
    {"Offices",                        "Open plan office > 6 persons sensing/30m2",    0.00},
    {"Offices",                        "Open plan office > 6 persons sensing/10m2",    0.20},
    {"Offices",                        "Corridor (dimmed)",                            0.40},
    {"Offices",                        "Entrance hall",                                0.00},
    {"Offices",                        "Showroom/Expo",                                0.60},
    {"Offices",                        "Bathroom",                                     0.90},
    {"Offices",                        "Rest room",                                    0.50},
    {"Offices",                        "Storage room/Cloakroom",                       0.90},
    {"Offices",                        "Technical plant room",                         0.98},
    {"Offices",                        "Copying/Server room",                          0.50},
    {"Offices",                        "Conference room",                              0.50},
    {"Offices",                        "Archives",                                     0.98},

    {"Educational buildings",          "Classroom",                                    0.25},
    {"Educational buildings",          "Room for group activities",                    0.30},
    {"Educational buildings",          "Corridor (dimmed)",                            0.60},
    {"Educational buildings",          "Junior common room",                           0.50},
    {"Educational buildings",          "Lecture hall",                                 0.40},
    {"Educational buildings",          "Staff room",                                   0.40},
    {"Educational buildings",          "Gymnasium/Sports hall",                        0.30},
    {"Educational buildings",          "Dining hall",                                  0.20},
    {"Educational buildings",          "Teachers' staff common room",                  0.40},
    {"Educational buildings",          "Copying/storage room",                         0.40},
    {"Educational buildings",          "Kitchen",                                      0.20},
    {"Educational buildings",          "Library",                                      0.40},

    {"Hospitals",                      "Wards/Bedroom",                                0.00},
    {"Hospitals",                      "Examination/Treatment",                        0.40},
    {"Hospitals",                      "Pre-Operation",                                0.40},
    {"Hospitals",                      "Recovery ward",                                0.00},
    {"Hospitals",                      "Operating theatre",                            0.00},
    {"Hospitals",                      "Corridors",                                    0.00},
    {"Hospitals",                      "Culvert/conduct/(dimmed)",                     0.70},
    {"Hospitals",                      "Waiting area",                                 0.00},
    {"Hospitals",                      "Entrance hall",                                0.00},
    {"Hospitals",                      "Day room",                                     0.20},
    {"Hospitals",                      "Laboratory",                                   0.20},

    {"Manufacturing factory",          "Assembly hall",                                0.00},
    {"Manufacturing factory",          "Smaller assembly room",                        0.20},
    {"Manufacturing factory",          "Storage rack area",                            0.40},
    {"Manufacturing factory",          "Open storage area",                            0.20},
    {"Manufacturing factory",          "Painting room",                                0.20},

    {"Hotels",                         "Entrance hall/Lobby",                          0.00},
    {"Hotels",                         "Corridor (dimmed)",                            0.40},
    {"Hotels",                         "Hotel room",                                   0.60},
    {"Hotels",                         "Dining hall/cafeteria",                        0.00},
    {"Hotels",                         "Kitchen",                                      0.00},
    {"Hotels",                         "Conference room",                              0.40},
    {"Hotels",                         "Kitchen/storage",                              0.50},

    {"Restaurants",                    "Entrance hall/Lobby",                          0.00},
    {"Restaurants",                    "Corridor (dimmed)",                            0.40},
    {"Restaurants",                    "Hotel room",                                   0.60},
    {"Restaurants",                    "Dining hall/cafeteria",                        0.00},
    {"Restaurants",                    "Kitchen",                                      0.00},
    {"Restaurants",                    "Conference room",                              0.40},
    {"Restaurants",                    "Kitchen/storage",                              0.50},

    {"Wholesale and retail service",   "Sales area",                                   0.00},
    {"Wholesale and retail service",   "Store room",                                   0.20},
    {"Wholesale and retail service",   "Store room, cold stores",                      0.60},

    {"Other",                          "Waiting areas",                                0.00},
    {"Other",                          "Stairs (dimmed)",                              0.00},
    {"Other",                          "Theatrical stage and auditorium",              0.00},
    {"Other",                          "Congress hall/Exhibition hall",                0.00},
    {"Other",                          "museum/ Exhibition hall",                      0.00},
    {"Other",                          "Library/Reading area",                         0.00},
    {"Other",                          "Library /Archive",                             0.00},
    {"Other",                          "Sports hall",                                  0.00},
    {"Other",                          "Car parks office - Private",                   0.00},
    {"Other",                          "Car parks - Public",                           0.00},
};
// clang-format on

} // namespace

CBuildingTypeData& BuildingTypeData() {
    static CBuildingTypeData data;
    return data;
}

void CBuildingTypeData::InitBuildingTypeTables() {
    std::vector<CBuildingType>& types = BuildingTypeData().m_BuildingTypes;
    if (!types.empty()) return;
    for (const BuildingTypeRow& row : kBuildingTypes) {
        CBuildingType type;
        type.m_csName = row.name;
        type.m_iTd = row.td;
        type.m_iTn = row.tn;
        types.push_back(type);
    }
    for (const RoomTypeRow& row : kRoomTypes) {
        for (CBuildingType& type : types) {
            if (type.m_csName == row.buildingType) {
                type.m_RoomTypes.push_back(CRoomType{row.roomType, row.fa});
                break;
            }
        }
    }
}

const std::vector<CBuildingTypeData::CBuildingType>& CBuildingTypeData::GetBuildingTypes() {
    InitBuildingTypeTables();
    return BuildingTypeData().m_BuildingTypes;
}

std::vector<std::string> CBuildingTypeData::GetBuildingTypeNames() {
    std::vector<std::string> names;
    for (const CBuildingType& type : GetBuildingTypes())
        names.push_back(type.m_csName);
    return names;
}

int CBuildingTypeData::FindBuildingType(const std::string& buildingType) {
    const auto& types = GetBuildingTypes();
    for (size_t i = 0; i < types.size(); ++i)
        if (EqualsNoCase(types[i].m_csName, buildingType)) return static_cast<int>(i);
    return -1;
}

bool CBuildingTypeData::IsBuildingType(const std::string& buildingType) {
    return FindBuildingType(buildingType) >= 0;
}

std::string CBuildingTypeData::MakeRoomTypeKey(const std::string& buildingType, const std::string& roomType,
                                               double fa) {
    return "[" + buildingType + "]" + roomType + "(Fa=" + FormatDouble("%.2f", fa) + ")";
}

std::string CBuildingTypeData::GetRoomTypeString(int buildingIndex, int roomIndex) {
    const auto& types = GetBuildingTypes();
    if (buildingIndex < 0 || buildingIndex >= static_cast<int>(types.size())) return std::string();
    const CBuildingType& type = types[buildingIndex];
    if (type.m_RoomTypes.empty()) return std::string();
    if (roomIndex < 0 || roomIndex >= static_cast<int>(type.m_RoomTypes.size())) {
        Log().Printf(LOG_ERROR, "CBuildingTypeData::GRA(%d) index error", roomIndex);
        roomIndex = 0;
    }
    const CRoomType& room = type.m_RoomTypes[roomIndex];
    return MakeRoomTypeKey(type.m_csName, room.m_csName, room.m_dFa);
}

void CBuildingTypeData::GetAllRoomTypeStrings(std::vector<std::string>& list) {
    list.clear();
    const auto& types = GetBuildingTypes();
    for (size_t b = 0; b < types.size(); ++b)
        for (size_t r = 0; r < types[b].m_RoomTypes.size(); ++r)
            list.push_back(GetRoomTypeString(static_cast<int>(b), static_cast<int>(r)));
}

std::string CBuildingTypeData::GetFirstRoomTypeOfBuildingType(const std::string& buildingType) {
    const auto& types = GetBuildingTypes();
    int index = FindBuildingType(buildingType);
    if (index >= 0 && !types[index].m_RoomTypes.empty()) return GetRoomTypeString(index, 0);
    Log().Printf(LOG_ERROR, "CBuildingTypeData::GFRTOBT could not find building type <%s>",
                 buildingType.c_str());
    if (!types.empty() && !types.front().m_RoomTypes.empty())
        return types.front().m_RoomTypes.front().m_csName;
    return "Living room";
}

bool CBuildingTypeData::GetTdTnByBuildingType(const std::string& buildingType, int& td, int& tn) {
    int index = FindBuildingType(buildingType);
    if (index < 0) {
        Log().Printf(LOG_ERROR, "CBuildingTypeData::GTTBBT Could not find building type <%s>",
                     buildingType.c_str());
        td = 1000;
        tn = 1000;
        return false;
    }
    td = GetBuildingTypes()[index].m_iTd;
    tn = GetBuildingTypes()[index].m_iTn;
    return true;
}

double CBuildingTypeData::GetFaFromRoomTypeString(const std::string& key) {
    size_t pos = key.find("Fa=");
    if (pos == std::string::npos) {
        Log().Printf(LOG_ERROR, "CLENIRoom::GFFRTS: Expected to find 'Fa=' in string:\n<%s>", key.c_str());
        return 0.0;
    }
    double fa = ParseDouble(key.substr(pos + 3));
    // A key edited by hand may hold "nan" or "inf": both are out of range, like 1.2.
    if (!(fa >= 0.0 && fa <= 1.0)) {
        Log().Printf(LOG_ERROR, "CLENIRoom::GFFRTS: 'Fa=' out of range, %.3f:\n%s", fa, key.c_str());
        return 0.5;
    }
    return fa;
}
