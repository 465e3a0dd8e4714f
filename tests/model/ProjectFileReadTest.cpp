// Reading the project file: defaults, required elements and their messages, damaged files.

#include "base/ProjectFileXml.h"
#include "model/LENIProject.h"
#include "model/ProjectFileTestModel.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <functional>

namespace {

// One floor, one room with a zone, a window, a roof light and an atrium; every value the
// reader needs present, so that each case below changes one thing.
const char* const kBase = R"XML(<?xml version="1.0" ?>
<NUVA_LENI_V3>
    <Name>Base</Name>
    <DominantBuildingType>Offices</DominantBuildingType>
    <Products>
        <LumTypeData refid="L1"><MaxPow>36</MaxPow><StandbyPow>0</StandbyPow><ChargePow>0</ChargePow></LumTypeData>
    </Products>
    <FloorList>
        <Floor floorname="F1" hi="3.20" count="2">
            <RoomList>
                <Room roomname="R1" type="[Offices]Open plan office(Fa=0.00)" mf="0.800" hta="0.850" td="2250" tn="250">
                    <DcajSettings><Type>User</Type><UserVal>2.5</UserVal></DcajSettings>
                    <Shading type="Glare Protection" />
                    <Polygon><xy>0;0</xy><xy>4;0</xy><xy>4;3</xy><xy>0;3</xy></Polygon>
                    <ZoneList>
                        <Zone zonename="Z1" controltechnique="Manual" ocs="3" zonelux="300" zoneluxreal="320" fa="0.400" fo="ffa">
                            <ConstantIllum active="1" fcc="0.900" />
                            <Polygon><xy>0;0</xy><xy>4;0</xy><xy>4;3</xy><xy>0;3</xy></Polygon>
                            <LumList><Luminaire refid="L1" count="2" /></LumList>
                        </Zone>
                    </ZoneList>
                    <WindowList>
                        <Window wallid="0" windowid="0" wide="1.2" high="1.5" x="1" y="0.9"><AtriumName>A1</AtriumName></Window>
                    </WindowList>
                    <RoofLightList>
                        <RoofLight id="0" type="FlatRoofLight" orient="0"><XLength>2</XLength></RoofLight>
                    </RoofLightList>
                </Room>
            </RoomList>
            <AtriumList>
                <Atrium atriumname="A1" trans="0.800" type="atrium" k1="0.9" k2="0.8" k3="0.7">
                    <Polygon><xy>0;-4</xy><xy>4;-4</xy><xy>4;0</xy></Polygon>
                </Atrium>
            </AtriumList>
        </Floor>
    </FloorList>
</NUVA_LENI_V3>
)XML";

// Every start and end tag of an element renamed.
std::string Rename(std::string text, const std::string& from, const std::string& to) {
    for (const std::string prefix : {"<", "</"})
        for (size_t at = text.find(prefix + from); at != std::string::npos;
             at = text.find(prefix + from, at + 1)) {
            const char next = text[at + prefix.size() + from.size()];
            if (next == '>' || next == ' ') text.replace(at + prefix.size(), from.size(), to);
        }
    return text;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    if (!from.empty() && from[0] == '@') return Rename(text, from.substr(1), to);
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

struct ReadResult {
    bool ok = false;
    CLENIProject project;
    std::vector<std::pair<int, std::string>> messages;
    std::string log;
    int Count(const std::string& part, int level) const {
        int n = 0;
        for (const auto& m : messages)
            n += m.first == level && m.second.find(part) != std::string::npos ? 1 : 0;
        return n;
    }
};

ReadResult ReadText(const std::string& text, const std::string& fileName = "p.LENI1XML") {
    TempDir dir;
    const fs::path path = dir / fileName;
    WriteFileText(path, text);
    QuietLog log;
    ReadResult r;
    r.ok = r.project.ReadProject(path.string());
    r.messages = log.messages;
    r.log = log.All();
    return r;
}

const CLENIRoom* Room(const CLENIProject& p) {
    return p.GetFloorCount() > 0 && p.GetFloors()[0].GetRoomCount() > 0 ? &p.GetFloors()[0].GetRooms()[0]
                                                                        : nullptr;
}

const CLENIZone* Zone(const CLENIProject& p) {
    const CLENIRoom* room = Room(p);
    return room && room->GetZoneCount() > 0 ? &room->GetZones()[0] : nullptr;
}

// Whether a number of the file is NaN or infinite, as printf writes them ("-nan", "inf").
bool HoldsNonFiniteNumber(const std::string& text) {
    TiXmlDocument doc;
    if (!ParseFileText(text, doc)) return true;
    const std::string textFields = " Name Descr Location DominantBuildingType AtriumName Desc Type ";
    auto bad = [](const std::string& v) {
        return v.find("nan") != std::string::npos || v.find("inf") != std::string::npos;
    };
    std::function<bool(const TiXmlElement*)> walk = [&](const TiXmlElement* e) {
        for (const TiXmlAttribute* a = e->FirstAttribute(); a; a = a->Next())
            if (std::string(a->Name()).find("name") == std::string::npos &&
                std::string(a->Name()) != "type" && std::string(a->Name()) != "controltechnique" &&
                std::string(a->Name()) != "refid" && bad(a->ValueStr()))
                return true;
        if (e->GetText() && textFields.find(" " + e->ValueStr() + " ") == std::string::npos &&
            bad(e->GetText()))
            return true;
        for (const TiXmlElement* c = e->FirstChildElement(); c; c = c->NextSiblingElement())
            if (walk(c)) return true;
        return false;
    };
    return walk(doc.RootElement());
}

} // namespace

// Values read from a file written by hand (the round trip cannot see a mistake that reading and
// writing make alike), and the defaults of the values it leaves out.
TEST(ProjectFileRead, BaseFileReadsValuesAndDefaults) {
    const ReadResult r = ReadText(kBase);
    ASSERT_TRUE(r.ok) << r.log;
    EXPECT_EQ(r.Count("", LOG_ERROR), 0) << r.log;
    EXPECT_EQ(r.Count("CLENIProject::RIP read 1 floors", LOG_INFO), 1);
    EXPECT_EQ(r.Count("There are 1 rooms on floor <F1>\n", LOG_INFO), 1);
    const CLENIProject& p = r.project;
    EXPECT_DOUBLE_EQ(p.GetMaintenanceFactor(), 0.7);
    EXPECT_DOUBLE_EQ(p.GetLatitude(), 45.47);
    EXPECT_DOUBLE_EQ(p.GetLongitude(), 9.19);
    EXPECT_EQ(p.GetYearToBeBuilt(), 2050);
    EXPECT_EQ(p.GetYearBuilt(), 0);
    EXPECT_DOUBLE_EQ(p.GetHdirHglob(), 0.39);

    const CLENIRoom& room = *Room(p);
    EXPECT_DOUBLE_EQ(room.GetHeight(), 3.2);
    EXPECT_DOUBLE_EQ(room.GetWrkSrfHi(), 0.85);
    EXPECT_EQ(room.GetTn(), 250);
    EXPECT_DOUBLE_EQ(room.GetUserDcaj(), 2.5);
    const CLENIZone& zone = *Zone(p);
    EXPECT_EQ(zone.GetOccupancyControlSystem(), "3.Auto on/Auto off    and    Manual on/ Dimmed");
    EXPECT_DOUBLE_EQ(zone.GetRealIlluminance(), 320);
    EXPECT_DOUBLE_EQ(zone.GetFcc(), 0.9);

    const CLENIWindow& w = room.GetWindows()[0];
    EXPECT_DOUBLE_EQ(w.m_dStart, 1);
    EXPECT_DOUBLE_EQ(w.m_dSillHeight, 0.9);
    EXPECT_DOUBLE_EQ(w.m_dK2, 0.8);
    EXPECT_EQ(w.m_iSlopeType, 1);
    const CLENIRoofLight& rl = room.GetRoofLights()[0];
    EXPECT_DOUBLE_EQ(rl.m_dXOrig, 0.5);
    EXPECT_DOUBLE_EQ(rl.m_dYOrig, 0.5);
    EXPECT_DOUBLE_EQ(rl.m_dGammaF, 0);
    EXPECT_DOUBLE_EQ(rl.m_dGammaW, 30);
    EXPECT_DOUBLE_EQ(p.GetFloors()[0].GetAtria()[0].m_dK3, 0.7);
}

// Each case changes the base file in one place: whether the read succeeds, the message it logs
// (with its level), and what the model then holds.
TEST(ProjectFileRead, MissingAndWrongValuesGiveTheirMessagesAndDefaults) {
    using Check = std::function<void(const CLENIProject&)>;
    const struct Case {
        const char* from;
        const char* to;
        bool ok;
        const char* message;
        int level;
        Check check;
    } cases[] = {
        // Project.
        {"<DominantBuildingType>Offices</DominantBuildingType>", "", false,
         "Could not read DominantBuildingType from project file", LOG_ERROR, nullptr},
        {"<DominantBuildingType>Offices</DominantBuildingType>",
         "<DominantBuildingType></DominantBuildingType>", false, "Empty DominantBuildingType in project file",
         LOG_ERROR, nullptr},
        {"@FloorList", "FloorLis", false, "Missing FloorList element in the xml file.", LOG_ERROR, nullptr},
        {"@NUVA_LENI_V3", "NUVA_LENI_V2", false, "Top level element missing in file:\n", LOG_ERROR, nullptr},
        {"</NUVA_LENI_V3>", "</NUVA_LENI_V3", false, "Could not load project XML file:\n", LOG_ERROR,
         nullptr},
        {"@Floor", "Flor", false, "No floors defined in the project.\n<", LOG_ERROR, nullptr},
        {"<Name>Base</Name>", "<Latitude>62</Latitude><HdirHglob>junk</HdirHglob>", true,
         "CLENIProject::RIP read 1", LOG_INFO,
         [](const CLENIProject& p) {
             EXPECT_EQ(p.GetName(), "p"); // from the file name when "Name" is absent
             EXPECT_DOUBLE_EQ(p.GetHdirHglob(), 0.0);
         }},
        {"<Name>Base</Name>", "<Latitude>62</Latitude><PrintMe>TRUE</PrintMe>", true,
         "CLENIProject::RIP read 1", LOG_INFO,
         [](const CLENIProject& p) {
             EXPECT_DOUBLE_EQ(p.GetHdirHglob(), 0.40); // from the latitude just read
             EXPECT_TRUE(p.GetPrintMe());
         }},
        // Floor.
        {"floorname=\"F1\"", "", false, "Floor in XML file does not have a floorname attribute", LOG_ERROR,
         nullptr},
        {"hi=\"3.20\" count=\"2\"", "hi=\"250\" count=\"-4\"", true, "There are 1 rooms", LOG_INFO,
         [](const CLENIProject& p) {
             EXPECT_DOUBLE_EQ(p.GetFloors()[0].GetHeight(), 3);
             EXPECT_EQ(p.GetFloors()[0].GetInstanceCount(), 1);
             EXPECT_DOUBLE_EQ(Room(p)->GetHeight(), 3);
         }},
        {"@RoomList", "RoomLis", true, "Missing RoomList element in the xml file, Floor <F1>.", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_EQ(p.GetFloors()[0].GetRoomCount(), 0); }},
        {"@AtriumList", "AtriumLis", true,
         "Old project? Missing AtriumList element in the xml file, Floor <F1>.", LOG_INFO,
         [](const CLENIProject& p) { EXPECT_EQ(p.GetFloors()[0].GetAtriumCount(), 0); }},
        // Room: a room that fails leaves the floor without it, the floor is still read.
        {"roomname=\"R1\"", "", true, "Room in XML file does not have a roomname attribute", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_EQ(p.GetFloors()[0].GetRoomCount(), 0); }},
        {"type=\"[Offices]Open plan office(Fa=0.00)\"", "type=\"  \"", true,
         "Room R1 in XML file does not have a roomtype attribute", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_EQ(p.GetFloors()[0].GetRoomCount(), 0); }},
        {"mf=\"0.800\"", "mf=\"1.7\"", true, "There are 1 rooms", LOG_INFO,
         [](const CLENIProject& p) { EXPECT_DOUBLE_EQ(Room(p)->GetMaintenanceFactor(), 1.0); }},
        {"mf=\"0.800\"", "mf=\"\"", true, "There are 1 rooms", LOG_INFO,
         [](const CLENIProject& p) { EXPECT_DOUBLE_EQ(Room(p)->GetMaintenanceFactor(), 0.7); }},
        {"td=\"2250\"", "", true, "Room R1 in XML file 'td' not specified\nDefault used.", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_EQ(Room(p)->GetTd(), 1000); }},
        {"tn=\"250\"", "tn=\"\"", true, "Room R1 in XML file 'tn' not specified\nDefault used.", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_EQ(Room(p)->GetTn(), 1000); }},
        {"hta=\"0.850\"", "", true,
         "Room R1 in XML file hta works surface height not specified\nDefault used.", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_DOUBLE_EQ(Room(p)->GetWrkSrfHi(), 0.8); }},
        {"hta=\"0.850\"", "hta=\"2.5\"", true, "SetWrkSrfHi 2.500 out of range (room <R1>", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_DOUBLE_EQ(Room(p)->GetWrkSrfHi(), 0.8); }},
        {"<UserVal>2.5</UserVal>", "", true, "Missing UserVal in room DcajSettings", LOG_ERROR,
         [](const CLENIProject& p) {
             EXPECT_EQ(Room(p)->GetDcajSource(), DCAJ_CALCULATED);
             EXPECT_DOUBLE_EQ(Room(p)->GetUserDcaj(), 0);
         }},
        {"<Type>User</Type>", "<Type>Calculated</Type>", true, "There are 1 rooms", LOG_INFO,
         [](const CLENIProject& p) {
             EXPECT_EQ(Room(p)->GetDcajSource(), DCAJ_CALCULATED);
             EXPECT_DOUBLE_EQ(Room(p)->GetUserDcaj(), 0);
         }},
        {"type=\"Glare Protection\"", "type=\"auto glare PROTECTION\"", true, "There are 1 rooms", LOG_INFO,
         [](const CLENIProject& p) { EXPECT_EQ(Room(p)->GetShadingType(), SHADING_AUTO_GLARE_PROTECTION); }},
        {"type=\"Glare Protection\"", "type=\"Blinds\"", true, "GSFS unrecognised string: <Blinds>",
         LOG_ERROR, [](const CLENIProject& p) { EXPECT_EQ(Room(p)->GetShadingType(), SHADING_NONE); }},
        {"<Polygon><xy>0;0</xy><xy>4;0</xy><xy>4;3</xy><xy>0;3</xy></Polygon>\n                    "
         "<ZoneList>",
         "<ZoneList>", true, "Missing Polygon element in object <R1>.", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_EQ(p.GetFloors()[0].GetRoomCount(), 0); }},
        {"<xy>0;0</xy><xy>4;0</xy><xy>4;3</xy><xy>0;3</xy></Polygon>\n                    <ZoneList>",
         "<xy>0;0</xy><xy></xy><xy>4;3</xy></Polygon><ZoneList>", true,
         "Missing Polygon coords in object <R1>", LOG_ERROR, nullptr},
        {"<xy>0;0</xy><xy>4;0</xy><xy>4;3</xy><xy>0;3</xy></Polygon>\n                    <ZoneList>",
         "<xy>0;0</xy><xy>4;0</xy></Polygon><ZoneList>", true, "Read polygon of only 2 vertices for <R1>",
         LOG_ERROR, nullptr},
        {"<xy>0;0</xy><xy>4;0</xy><xy>4;3</xy><xy>0;3</xy></Polygon>\n                    <ZoneList>",
         "<xy>0;0</xy><xy>4</xy><xy>4;3</xy></Polygon><ZoneList>", true,
         "Coordinate 1 in polygon of <R1> has an error.", LOG_ERROR, nullptr},
        {"@ZoneList", "ZoneLis", true, "Missing ZoneList element in the xml file, room <R1>.", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_EQ(p.GetFloors()[0].GetRoomCount(), 0); }},
        {"@WindowList", "WindowLis", true, "No WindowList for room R1", LOG_INFO,
         [](const CLENIProject& p) { EXPECT_EQ(Room(p)->GetWindowCount(), 0); }},
        {"@RoofLightList", "RoofLightLis", true, "No RoofLightList for room R1", LOG_INFO,
         [](const CLENIProject& p) { EXPECT_EQ(Room(p)->GetRoofLightCount(), 0); }},
        {"wallid=\"0\"", "wallid=\"-1\"", true, "Window(-1) has wall id out of range (0 ... 3), room <R1>",
         LOG_ERROR, [](const CLENIProject& p) { EXPECT_EQ(p.GetFloors()[0].GetRoomCount(), 0); }},
        {"<AtriumName>A1</AtriumName>", "<LumList><Luminaire count=\"1\" /></LumList>", true,
         "Missing 'refid' attribute in LumList XML element", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_EQ(Room(p)->GetWindowCount(), 0); }}, // the window is skipped
        {"<XLength>2</XLength>", "<LumList><Luminaire refid=\"L1\" count=\"0\" /></LumList>", true,
         "'count' attribute = 0 in LumList XML element, refid=<L1>", LOG_ERROR,
         [](const CLENIProject& p) {
             EXPECT_EQ(Room(p)->GetRoofLightCount(), 0);
         }}, // the roof light is skipped
        {"type=\"FlatRoofLight\" orient=\"0\"", "type=\"ShedRoofLight\" orient=\"9\"", true,
         "There are 1 rooms", LOG_INFO,
         [](const CLENIProject& p) {
             EXPECT_EQ(Room(p)->GetRoofLights()[0].m_iType, RL_SHED);
             EXPECT_EQ(Room(p)->GetRoofLights()[0].GetOrientation(), RLO_NORTH);
         }},
        // Zone: a zone that fails makes its room fail.
        {"zonename=\"Z1\"", "", true, "Zone in XML file does not have a zonename attribute", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_EQ(p.GetFloors()[0].GetRoomCount(), 0); }},
        {"controltechnique=\"Manual\"", "", true,
         "Control Technique of Zone <Z1> not specifed, default manual used", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_EQ(Zone(p)->GetControlTechnique(), "Manual"); }},
        {"controltechnique=\"Manual\"", "controltechnique=\"Candles\"", true,
         "CLENIZone::SCT Candles is not a valid control technique", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_EQ(Zone(p)->GetControlTechnique(), "Manual"); }},
        {"ocs=\"3\"", "ocs=\"\"", true,
         "OCS Occupancy Control System of Zone <Z1> not specifed, default manual used", LOG_ERROR,
         [](const CLENIProject& p) {
             EXPECT_EQ(Zone(p)->GetOccupancyControlSystem(), "1.Manual On/Off Switch");
         }},
        {"ocs=\"3\"", "ocs=\"5\"", true, "OCS Occupancy Control System of Zone <Z1> out of range:5",
         LOG_ERROR,
         [](const CLENIProject& p) {
             EXPECT_EQ(Zone(p)->GetOccupancyControlSystem(), "1.Manual On/Off Switch");
         }},
        {"ocs=\"3\"", "ocs=\"4.Manual on/Auto Off\"", true, "There are 1 rooms", LOG_INFO,
         [](const CLENIProject& p) {
             EXPECT_EQ(Zone(p)->GetOccupancyControlSystem(), "4.Manual on/Auto Off");
         }},
        {"fa=\"0.400\"", "", true, "Zone <Z1> in XML file does not have an 'fa' attribute\nDefault used.",
         LOG_ERROR, [](const CLENIProject& p) { EXPECT_DOUBLE_EQ(Zone(p)->GetFa(), 0.5); }},
        {"zonelux=\"300\"", "", true,
         "Zone <Z1> in XML file does not have a zonelux attribute\nThe default of 500.0 lx will be used.",
         LOG_ERROR, [](const CLENIProject& p) { EXPECT_DOUBLE_EQ(Zone(p)->GetZoneIlluminance(), 500); }},
        {"zonelux=\"300\"", "zonelux=\"450\"", true, "CLENIZone::SZLE 450.000 is not a valid zone lux",
         LOG_ERROR, [](const CLENIProject& p) { EXPECT_DOUBLE_EQ(Zone(p)->GetZoneIlluminance(), 500); }},
        {"zonelux=\"300\" zoneluxreal=\"320\"", "zonelux=\"750\"", true, "There are 1 rooms", LOG_INFO,
         [](const CLENIProject& p) { EXPECT_DOUBLE_EQ(Zone(p)->GetRealIlluminance(), 750); }},
        {"zoneluxreal=\"320\"", "zoneluxreal=\"10001\"", true, "CLENIZone::SERJ 10001.000 is not a valid lux",
         LOG_ERROR, [](const CLENIProject& p) { EXPECT_DOUBLE_EQ(Zone(p)->GetRealIlluminance(), 500); }},
        {"fo=\"ffa\"", "", true, "Zone Z1 in XML file does not have an 'fo' attribute\nUsing default of 1",
         LOG_ERROR, [](const CLENIProject& p) { EXPECT_EQ(Zone(p)->GetFoMode(), FOMODE_ONE); }},
        {"fo=\"ffa\"", "fo=\"FFA\"", true, "There are 1 rooms", LOG_INFO,
         [](const CLENIProject& p) { EXPECT_EQ(Zone(p)->GetFoMode(), FOMODE_FROM_FA); }},
        {"fo=\"ffa\"", "fo=\"1\"", true, "There are 1 rooms", LOG_INFO,
         [](const CLENIProject& p) { EXPECT_EQ(Zone(p)->GetFoMode(), FOMODE_ONE); }},
        {"fo=\"ffa\"", "fo=\"0.5\"", true,
         "Zone Z1 in XML file has a strange 'fo' attribute\nUsing default of 0", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_EQ(Zone(p)->GetFoMode(), FOMODE_FROM_FA); }},
        {"<ConstantIllum active=\"1\" fcc=\"0.900\" />",
         "<ConstantIllum active=\"yes\" /><ConstLumenOuput active=\"2\"/>", true, "There are 1 rooms",
         LOG_INFO,
         [](const CLENIProject& p) {
             EXPECT_FALSE(Zone(p)->GetConstantIlluminanceControl());
             EXPECT_DOUBLE_EQ(Zone(p)->GetFcc(), 1.0);
             EXPECT_TRUE(Zone(p)->GetConstantLumenOutput());
         }},
        {"<Polygon><xy>0;0</xy><xy>4;0</xy><xy>4;3</xy><xy>0;3</xy></Polygon>\n                            "
         "<LumList>",
         "<LumList>", true, "Missing Polygon element in object <Z1>.", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_EQ(p.GetFloors()[0].GetRoomCount(), 0); }},
        {"<Luminaire refid=\"L1\" count=\"2\" />", "<Luminaire refid=\"L1\" />", true,
         "Missing 'count' attribute in LumList XML element", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_EQ(p.GetFloors()[0].GetRoomCount(), 0); }},
        // Atrium: one that fails ends the atrium list, the floor is still read.
        {"atriumname=\"A1\"", "", true, "Atrium in XML file does not have a name attribute", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_EQ(p.GetFloors()[0].GetAtriumCount(), 0); }},
        {"trans=\"0.800\" type=\"atrium\"", "", true,
         "Atrium in XML file does not have an atrium type attribute", LOG_INFO,
         [](const CLENIProject& p) {
             EXPECT_EQ(p.GetFloors()[0].GetAtria()[0].m_iKind, ATRIUM_ATRIUM);
             EXPECT_DOUBLE_EQ(p.GetFloors()[0].GetAtria()[0].m_dTrans, 0.666);
         }},
        {"type=\"atrium\"", "type=\"CourtYard\"", true, "There are 1 rooms", LOG_INFO,
         [](const CLENIProject& p) { EXPECT_EQ(p.GetFloors()[0].GetAtria()[0].m_iKind, ATRIUM_COURTYARD); }},
        {"k2=\"0.8\"", "", true, "Atrium in XML file does not have a k2 attribute", LOG_INFO,
         [](const CLENIProject& p) { EXPECT_DOUBLE_EQ(p.GetFloors()[0].GetAtria()[0].m_dK2, 1.0); }},
        {"<xy>0;-4</xy><xy>4;-4</xy><xy>4;0</xy>", "<xy>0;-4</xy><xy>4;-4</xy>", true,
         "Read polygon of only 2 vertices for <A1>", LOG_ERROR,
         [](const CLENIProject& p) { EXPECT_EQ(p.GetFloors()[0].GetAtriumCount(), 0); }},
    };
    for (const Case& c : cases) {
        const ReadResult r = ReadText(Replace(kBase, c.from, c.to));
        const std::string what = std::string(c.from) + " -> " + c.to;
        EXPECT_EQ(r.ok, c.ok) << what << "\n" << r.log;
        EXPECT_EQ(r.Count(c.message, c.level), 1) << what << "\n" << r.log;
        if (c.check && r.project.GetFloorCount() > 0) c.check(r.project);
    }
}

TEST(ProjectFileRead, DoublyDefinedObjects) {
    const std::string floor = kBase;
    const size_t start = floor.find("        <Floor ");
    const size_t end = floor.find("</Floor>") + 9;
    const std::string floorText = floor.substr(start, end - start);

    // A second floor of the same name (other case) fails the whole read after the first floor.
    {
        std::string twice = floorText;
        twice = Replace(twice, "floorname=\"F1\"", "floorname=\"f1\"");
        const ReadResult r = ReadText(Replace(kBase, "    </FloorList>", twice + "    </FloorList>"));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.Count("Floor <f1> doubly defined in project file", LOG_ERROR), 1) << r.log;
        EXPECT_EQ(r.project.GetFloorCount(), 1);
    }
    // A second room of the same name ends the rooms; a third one is not read.
    {
        const size_t rs = floorText.find("                <Room ");
        const size_t re = floorText.find("</Room>") + 8;
        std::string room = floorText.substr(rs, re - rs);
        std::string other = Replace(room, "roomname=\"R1\"", "roomname=\"R3\"");
        room = Replace(room, "roomname=\"R1\"", "roomname=\"r1\"");
        const ReadResult r =
            ReadText(Replace(kBase, "            </RoomList>", room + other + "            </RoomList>"));
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.Count("Floor <F1> has a doubly defined Room <r1> in project file", LOG_ERROR), 1)
            << r.log;
        EXPECT_EQ(r.project.GetFloors()[0].GetRoomCount(), 1);
    }
    // A second zone of the same name fails its room.
    {
        const ReadResult r = ReadText(Replace(
            kBase, "                    </ZoneList>",
            "<Zone "
            "zonename=\"z1\"><Polygon><xy>0;0</xy><xy>1;0</xy><xy>1;1</xy></Polygon></Zone></ZoneList>"));
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.Count("Room <R1> has a doubly defined Zone <z1> in project file", LOG_ERROR), 1) << r.log;
        EXPECT_EQ(r.project.GetFloors()[0].GetRoomCount(), 0);
    }
    // A second atrium of the same name ends the atria; the floor keeps the first.
    {
        const ReadResult r = ReadText(Replace(
            kBase, "            </AtriumList>",
            "<Atrium atriumname=\"a1\"><Polygon><xy>0;0</xy><xy>1;0</xy><xy>1;1</xy></Polygon></Atrium>"
            "<Atrium atriumname=\"A3\"><Polygon><xy>0;0</xy><xy>1;0</xy><xy>1;1</xy></Polygon></Atrium>"
            "</AtriumList>"));
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.Count("Floor <F1> has a doubly defined atrium <a1> in project file", LOG_ERROR), 1)
            << r.log;
        EXPECT_EQ(r.project.GetFloors()[0].GetAtriumCount(), 1);
    }
}

TEST(ProjectFileRead, WallIdBeyondTheRoomFailsTheRoomAndEndsTheFloorsRooms) {
    const size_t rs = std::string(kBase).find("                <Room ");
    const size_t re = std::string(kBase).find("</Room>") + 8;
    const std::string room = std::string(kBase).substr(rs, re - rs);
    const std::string bad =
        Replace(Replace(room, "roomname=\"R1\"", "roomname=\"R2\""), "wallid=\"0\"", "wallid=\"4\"");
    const std::string after = Replace(room, "roomname=\"R1\"", "roomname=\"R3\"");
    const ReadResult r =
        ReadText(Replace(kBase, "            </RoomList>", bad + after + "            </RoomList>"));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.Count("Window(4) has wall id out of range (0 ... 3), room <R2>", LOG_ERROR), 1) << r.log;
    ASSERT_EQ(r.project.GetFloors()[0].GetRoomCount(), 1);
    EXPECT_EQ(r.project.GetFloors()[0].GetRooms()[0].GetName(), "R1");
}

TEST(ProjectFileRead, FileWithoutProductsKeepsTheReferences) {
    const size_t ps = std::string(kBase).find("    <Products>");
    const size_t pe = std::string(kBase).find("</Products>") + 12;
    std::string text = kBase;
    text.erase(ps, pe - ps);
    const ReadResult r = ReadText(text);
    ASSERT_TRUE(r.ok) << r.log;
    EXPECT_EQ(r.project.GetProducts().GetCount(), 0);
    EXPECT_TRUE(r.project.GetProducts().IsChanged());
    EXPECT_TRUE(Zone(r.project)->GetLumList().HasLuminaire("L1"));
}

TEST(ProjectFileRead, FloorWithoutRoomListIsAnEmptyFloorWithOneError) {
    const size_t rs = std::string(kBase).find("            <RoomList>");
    const size_t re = std::string(kBase).find("</RoomList>") + 12;
    std::string text = kBase;
    text.erase(rs, re - rs);
    const ReadResult r = ReadText(text);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.project.GetFloorCount(), 1);
    EXPECT_EQ(r.project.GetFloors()[0].GetRoomCount(), 0);
    EXPECT_EQ(r.Count("", LOG_ERROR), 1) << r.log;
    EXPECT_EQ(r.Count("Missing RoomList element in the xml file, Floor <F1>.", LOG_ERROR), 1);
}

TEST(ProjectFileRead, ZoneLuxBetweenLevelsIsTakenAndTruncatedOnWriting) {
    TempDir dir;
    const ReadResult r =
        ReadText(Replace(kBase, "zonelux=\"300\" zoneluxreal=\"320\"", "zonelux=\"499.95\""));
    ASSERT_TRUE(r.ok);
    EXPECT_DOUBLE_EQ(Zone(r.project)->GetZoneIlluminance(), 499.95);
    EXPECT_DOUBLE_EQ(Zone(r.project)->GetRealIlluminance(), 499.95);
    ASSERT_TRUE(r.project.Save((dir / "w.LENI1XML").string(), false));
    EXPECT_NE(ReadFileText(dir / "w.LENI1XML").find("zonelux=\"499\" zoneluxreal=\"499\""),
              std::string::npos);
}

TEST(ProjectFileRead, PolygonVertexTexts) {
    const struct {
        const char* text;
        bool ok;
        double x, y;
    } cases[] = {
        {"1,5;2", true, 1, 5},  {"1.5;2.25", true, 1.5, 2.25}, {" -3 : 4\t", true, -3, 4},
        {"1 ,, 2", true, 1, 2}, {"1e2;-0.5", true, 100, -0.5}, {"1", false, 0, 0},
        {"1;", false, 0, 0},    {";;", false, 0, 0},           {"1;abc", false, 0, 0},
        {"nan;1", false, 0, 0}, {"1;1e999", false, 0, 0},      {"1.5m;2", false, 0, 0},
    };
    for (const auto& c : cases) {
        double x = -99, y = -99;
        EXPECT_EQ(ParseXyText(c.text, x, y), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(x, c.x) << c.text;
            EXPECT_DOUBLE_EQ(y, c.y) << c.text;
        }
    }
    // In a file: a single number fails the owner with the vertex index.
    const ReadResult r = ReadText(Replace(kBase, "<xy>4;-4</xy>", "<xy>4</xy>"));
    EXPECT_EQ(r.Count("Coordinate 1 in polygon of <A1> has an error.", LOG_ERROR), 1) << r.log;
}

TEST(ProjectFileRead, MissingOrUnreadableFile) {
    TempDir dir;
    QuietLog log;
    CLENIProject project;
    const std::string missing = (dir / "none.LENI1XML").string();
    EXPECT_FALSE(project.ReadProject(missing));
    EXPECT_EQ(log.Count("CLENIProject::RIP " + missing + " starting", LOG_INFO), 1);
    EXPECT_EQ(log.Count("CLENIProject::RIP\n" + missing + "\nbut file does not exist", LOG_ERROR), 1);
    EXPECT_FALSE(project.ReadProject(dir.path().string())); // a folder is no file
    EXPECT_EQ(log.Count("but file does not exist", LOG_ERROR), 2);

    const ReadResult empty = ReadText("");
    EXPECT_FALSE(empty.ok);
    EXPECT_EQ(empty.Count("Could not load project XML file:\n", LOG_ERROR), 1);
    EXPECT_EQ(empty.Count("\n\nIs it open in another application?\nIs there an error in the XML syntax?",
                          LOG_ERROR),
              1);
}

TEST(ProjectFileRead, FolderAndNameComeFromThePathUnlessTheFileNamesIt) {
    std::string text = Replace(kBase, "<Name>Base</Name>", "");
    TempDir dir;
    const fs::path path = dir / "Mio progetto.LENI1XML";
    WriteFileText(path, text);
    QuietLog log;
    CLENIProject project;
    project.SetDescription("kept");
    ASSERT_TRUE(project.ReadProject(path.string()));
    EXPECT_EQ(project.GetName(), "Mio progetto");
    EXPECT_EQ(project.GetProjectFolder(), dir.path().string());
    EXPECT_EQ(project.GetDescription(), "kept"); // absent "Descr" leaves the value
}

TEST(ProjectFileRead, EightBitTextOfOlderFilesIsWindows1252) {
    // Raw bytes as older files hold them: è (E8), € (80), and a text with blanks kept as written.
    const ReadResult r = ReadText(Replace(Replace(kBase, "roomname=\"R1\"", "roomname=\"Sala \xE8 \x80\""),
                                          "<AtriumName>A1</AtriumName>", "<AtriumName> A1  x </AtriumName>"));
    ASSERT_TRUE(r.ok) << r.log;
    EXPECT_EQ(Room(r.project)->GetName(), "Sala \xC3\xA8 \xE2\x82\xAC");
    EXPECT_EQ(Room(r.project)->GetWindows()[0].m_csAtriumName, " A1  x ");
}

TEST(ProjectFileRead, Utf8TextIsReadAsUtf8MarkedDeclaredOrNot) {
    struct Case {
        const char* what;
        std::string declaration; // in place of the base file's
        std::string name;        // the room name's bytes in the file
    };
    const std::string plain = "<?xml version=\"1.0\" ?>";
    const std::string declared = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>";
    const Case cases[] = {
        {"UTF-8 without a declaration", plain, "Citt\xC3\xA0 \xE2\x82\xAC"},
        {"UTF-8 declared", declared, "Citt\xC3\xA0 \xE2\x82\xAC"},
        {"UTF-8 declared in single quotes", "<?xml version='1.0' encoding='utf-8' ?>", "Citt\xC3\xA0 \xE2\x82\xAC"},
        {"Windows-1252 wrongly declared UTF-8", declared, "Citt\xE0 \x80"},
        {"Windows-1252 undeclared", plain, "Citt\xE0 \x80"},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + plain, "Citt\xC3\xA0 \xE2\x82\xAC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadResult r =
            ReadText(Replace(Replace(kBase, plain, c.declaration), "roomname=\"R1\"", "roomname=\"" + c.name + "\""));
        ASSERT_TRUE(r.ok) << r.log;
        EXPECT_EQ(Room(r.project)->GetName(), "Citt\xC3\xA0 \xE2\x82\xAC");
    }
}

TEST(ProjectFileRead, NumbersBeyondAnyBuildingAreClampedAndReported) {
    struct Case {
        const char* from;
        const char* to;
        const char* where; // named in the log line
        std::function<double(const CLENIProject&)> value;
        double expected;
    };
    const Case cases[] = {
        {"high=\"1.5\"", "high=\"1e308\"", "Window high", [](const CLENIProject& p) { return Room(p)->GetWindows()[0].m_dHeight; }, 1e9},
        // Clamped to -1e9, then to the smallest width a window can have.
        {"wide=\"1.2\"", "wide=\"-1e300\"", "Window wide", [](const CLENIProject& p) { return Room(p)->GetWindows()[0].m_dWidth; }, 0.0},
        {"<XLength>2</XLength>", "<XLength>1e308</XLength>", "RoofLight XLength",
         [](const CLENIProject& p) { return Room(p)->GetRoofLights()[0].m_dXLength; }, 1e9},
        {"high=\"1.5\"", "high=\"999999999\"", nullptr, [](const CLENIProject& p) { return Room(p)->GetWindows()[0].m_dHeight; }, 999999999.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        const ReadResult r = ReadText(Replace(kBase, c.from, c.to));
        ASSERT_TRUE(r.ok) << r.log;
        EXPECT_EQ(c.value(r.project), c.expected);
        if (c.where) {
            EXPECT_NE(r.log.find(c.where), std::string::npos) << r.log;
            EXPECT_NE(r.log.find("is beyond any building's"), std::string::npos) << r.log;
        } else {
            EXPECT_EQ(r.log.find("is beyond any building's"), std::string::npos) << r.log;
        }
    }
}

// Each number taken into its physical range, the log naming element, field and value; a number
// on the range's edge passes without a word.
TEST(ProjectFileRead, NumbersOutsideTheirPhysicalRangeAreClampedAndReported) {
    using Value = std::function<double(const CLENIProject&)>;
    auto windowField = [](double CLENIWindow::*m) -> Value {
        return [m](const CLENIProject& p) { return Room(p)->GetWindows()[0].*m; };
    };
    auto roofLightField = [](double CLENIRoofLight::*m) -> Value {
        return [m](const CLENIProject& p) { return Room(p)->GetRoofLights()[0].*m; };
    };
    const Value trans = [](const CLENIProject& p) { return p.GetFloors()[0].GetAtria()[0].m_dTrans; };
    const Value latitude = [](const CLENIProject& p) { return p.GetLatitude(); };
    const Value longitude = [](const CLENIProject& p) { return p.GetLongitude(); };
    const std::string windowEnd = "y=\"0.9\"", shading = "<AtriumName>A1</AtriumName>";
    const std::string roofLight = "<XLength>2</XLength>", project = "<DominantBuildingType>Offices</DominantBuildingType>";
    const struct {
        std::string from, to;
        Value value;
        double expected;
        const char* said; // null: nothing said
    } cases[] = {
        {"x=\"1\"", "x=\"-2\"", windowField(&CLENIWindow::m_dStart), 0.0,
         "Window W_0_0 of room <R1>: x = -2 is below 0, which it cannot be; 0 is used."},
        {windowEnd, windowEnd + " td65=\"1.5\"", windowField(&CLENIWindow::m_dTauD65), 1.0,
         "<R1>: td65 = 1.5 is above 1, which it cannot be; 1 is used."},
        {windowEnd, windowEnd + " td65=\"1\"", windowField(&CLENIWindow::m_dTauD65), 1.0, nullptr},
        {shading, shading + "<ShadingIndex frontangle=\"120\" />", windowField(&CLENIWindow::m_dFrontAngle), 90.0,
         "<R1>: frontangle = 120 is above 90"},
        {roofLight, roofLight + "<GammaF>400</GammaF>", roofLightField(&CLENIRoofLight::m_dGammaF), 90.0,
         "of room <R1>: GammaF = 400 is above 90"},
        {roofLight, roofLight + "<hs>-0.5</hs>", roofLightField(&CLENIRoofLight::m_dHs), 0.0,
         "of room <R1>: hs = -0.5 is below 0"},
        {"trans=\"0.800\"", "trans=\"1.2\"", trans, 1.0, "Atrium <A1>: trans = 1.2 is above 1"},
        {project, project + "<Latitude>95</Latitude>", latitude, 90.0, "Project: Latitude = 95 is above 90"},
        {project, project + "<Latitude>-33.9</Latitude>", latitude, -33.9, nullptr},
        {project, project + "<Longitude>-200</Longitude>", longitude, -180.0, "Project: Longitude = -200 is below -180"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to);
        const ReadResult r = ReadText(Replace(kBase, c.from, c.to));
        ASSERT_TRUE(r.ok) << r.log;
        EXPECT_EQ(c.value(r.project), c.expected);
        EXPECT_EQ(r.Count("which it cannot be", LOG_ERROR), c.said ? 1 : 0) << r.log;
        if (c.said) {
            EXPECT_EQ(r.Count(c.said, LOG_ERROR), 1) << r.log;
        }
    }
}

// A hand-written outline that crosses itself is reported and counts with the area drawn (each
// point once), never with the sum or the difference of its loops.
TEST(ProjectFileRead, ARoomWhoseOutlineCrossesItselfIsReportedAndHasTheAreaDrawn) {
    const std::string square = "<xy>0;0</xy><xy>4;0</xy><xy>4;3</xy><xy>0;3</xy>";
    const struct {
        const char* what;
        std::string outline;
        bool reported;
        double area; // worked out by hand
    } cases[] = {
        {"rectangle", square, false, 12.0},
        // Two triangles of base 4 and height 1.5 meeting at (2, 1.5): 3 + 3.
        {"bow tie", "<xy>0;0</xy><xy>4;0</xy><xy>0;3</xy><xy>4;3</xy>", true, 6.0},
        // Triangles (0,0) (4,3) (0,6) and (8,6) (8,0) (4,3), 6 x 4 / 2 each.
        {"wide bow tie", "<xy>0;0</xy><xy>8;6</xy><xy>8;0</xy><xy>0;6</xy>", true, 24.0},
        {"L shape", "<xy>0;0</xy><xy>4;0</xy><xy>4;1</xy><xy>1;1</xy><xy>1;3</xy><xy>0;3</xy>", false, 6.0},
        // Loops meeting at (1, 0): 1 x 3 + 2 x 1 above, the triangle (1,0) (1,-1) (0,0) of 0.5 below.
        {"figure of eight of six corners", "<xy>0;0</xy><xy>2;0</xy><xy>2;2</xy><xy>4;2</xy><xy>4;3</xy><xy>1;3</xy>"
                                           "<xy>1;-1</xy>", true, 5.5},
        // The 4 x 3 rectangle less its corner x 3..4, y 2..3, left outside; the strip x 1..3,
        // y 1..2, gone round twice, counts once: 12 - 1 (the signed sum would be 13).
        {"lap over itself", "<xy>0;0</xy><xy>4;0</xy><xy>4;2</xy><xy>1;2</xy><xy>1;1</xy><xy>3;1</xy><xy>3;3</xy>"
                            "<xy>0;3</xy>", true, 11.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadResult r = ReadText(Replace(kBase, square, c.outline));
        ASSERT_TRUE(r.ok) << r.log;
        EXPECT_EQ(r.Count("The outline of room <R1> crosses itself", LOG_ERROR), c.reported ? 1 : 0) << r.log;
        EXPECT_NEAR(Room(r.project)->GetArea(), c.area, 1e-9);
        if (c.reported) {
            char said[64];
            std::snprintf(said, sizeof said, "the area drawn, %.2f m\xC2\xB2", c.area);
            EXPECT_EQ(r.Count(said, LOG_ERROR), 1) << r.log;
        }
    }
}

TEST(ProjectFileRead, OpeningsLongerThanTheirWallAndZonesOutsideTheirRoomAreReportedOnceEach) {
    const std::string square = "<xy>0;0</xy><xy>4;0</xy><xy>4;3</xy><xy>0;3</xy>";
    // The zone's outline is the second square of the file, the room's the first.
    auto zoneOutline = [&](const std::string& outline) {
        std::string text = kBase;
        const size_t at = text.find(square, text.find(square) + 1);
        EXPECT_NE(at, std::string::npos);
        return text.replace(at, square.size(), outline);
    };
    const struct {
        const char* what;
        std::string text;
        const char* message; // null: none of the three
    } cases[] = {
        {"as drawn", kBase, nullptr},
        {"window to the wall's end", Replace(kBase, "wide=\"1.2\"", "wide=\"3\""), nullptr},
        {"window of 1000 m on a 4 m wall", Replace(kBase, "wide=\"1.2\"", "wide=\"1000\""),
         "Window(0) of room <R1> reaches 1001.000 m along its wall, which is 4.000 m long"},
        {"zone larger than its room", zoneOutline("<xy>0;0</xy><xy>8;0</xy><xy>8;3</xy><xy>0;3</xy>"),
         "Zone <Z1> of room <R1> has an area of 24.00 m\xC2\xB2, more than its room's 12.00"},
        {"zone beside its room", zoneOutline("<xy>10;0</xy><xy>14;0</xy><xy>14;3</xy><xy>10;3</xy>"),
         "Zone <Z1> of room <R1> reaches beyond its room."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadResult r = ReadText(c.text);
        ASSERT_TRUE(r.ok) << r.log;
        int reports = 0;
        for (const char* any : {"longer than its wall", "more than its room", "reaches beyond its room"})
            reports += r.Count(any, LOG_ERROR);
        EXPECT_EQ(reports, c.message ? 1 : 0) << r.log;
        if (c.message) {
            EXPECT_EQ(r.Count(c.message, LOG_ERROR), 1) << r.log;
        }
    }
}

TEST(ProjectFileRead, CharacterReferencesReadAsTheirCharacters) {
    // As other programs write them (the euro sign as its Unicode number), as this program's older
    // files hold them (the Windows-1252 byte), and one the code page lacks.
    struct Case {
        const char* written;
        const char* name;
    } cases[] = {
        {"&#8364; &#x20AC; &#x80;", "\xE2\x82\xAC \xE2\x82\xAC \xE2\x82\xAC"},
        {"&#xE8;&#232; &#x2122;&#8220;", "\xC3\xA8\xC3\xA8 \xE2\x84\xA2\xE2\x80\x9C"},
        {"&#x3B1; &#12354;x &#x110000;", "? ?x ?"},
    };
    for (const Case& c : cases) {
        std::string room = std::string("roomname=\"") + c.written + "\"";
        const ReadResult r = ReadText(Replace(kBase, "roomname=\"R1\"", room));
        ASSERT_TRUE(r.ok) << c.written << r.log;
        EXPECT_EQ(Room(r.project)->GetName(), c.name) << c.written;
    }
}

TEST(ProjectFileRead, DeeplyNestedDocumentIsRefused) {
    std::string text = "<NUVA_LENI_V3>";
    for (int i = 0; i < 200000; ++i)
        text += "<a>";
    const ReadResult r = ReadText(text);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.Count("Could not load project XML file:\n", LOG_ERROR), 1);
}

// Every attribute and every text of a complete file damaged in every way, and every element
// removed: the reader never crashes, a failed read always says why, no NaN or infinity reaches
// the model, and what was read saves again as a file that reads back.
TEST(ProjectFileRead, DamagedFilesNeverCrashAndFailuresAreReported) {
    TempDir dir;
    const fs::path full = dir / "full.LENI1XML";
    ASSERT_TRUE(BuildFullProject().Save(full.string(), false));
    const std::string original = ReadFileText(full);
    TiXmlDocument base;
    ASSERT_TRUE(ParseFileText(original, base));

    const char* const damages[] = {"", "abc", "nan", "inf", "1e308", "-1", "-2147483649", "99999999999"};
    std::vector<std::function<void(TiXmlDocument&)>> mutations;
    // Addresses nodes by their position in a walk of the tree, so each mutation works on its copy.
    std::vector<TiXmlNode*> nodes;
    std::function<void(TiXmlNode*)> walk = [&](TiXmlNode* n) {
        nodes.push_back(n);
        for (TiXmlNode* c = n->FirstChild(); c; c = c->NextSibling())
            walk(c);
    };
    walk(&base);
    auto nodeAt = [](TiXmlDocument& doc, size_t index) {
        std::vector<TiXmlNode*> all;
        std::function<void(TiXmlNode*)> w = [&](TiXmlNode* n) {
            all.push_back(n);
            for (TiXmlNode* c = n->FirstChild(); c; c = c->NextSibling())
                w(c);
        };
        w(&doc);
        return all[index];
    };
    for (size_t i = 1; i < nodes.size(); ++i) {
        if (TiXmlElement* e = nodes[i]->ToElement()) {
            mutations.push_back([=](TiXmlDocument& d) {
                TiXmlNode* n = nodeAt(d, i);
                n->Parent()->RemoveChild(n);
            });
            for (const TiXmlAttribute* a = e->FirstAttribute(); a; a = a->Next()) {
                const std::string name = a->Name();
                mutations.push_back(
                    [=](TiXmlDocument& d) { nodeAt(d, i)->ToElement()->RemoveAttribute(name); });
                for (const char* value : damages)
                    mutations.push_back(
                        [=](TiXmlDocument& d) { nodeAt(d, i)->ToElement()->SetAttribute(name, value); });
            }
        } else if (nodes[i]->ToText()) {
            for (const char* value : damages)
                mutations.push_back([=](TiXmlDocument& d) { nodeAt(d, i)->SetValue(value); });
        }
    }
    ASSERT_GT(mutations.size(), 1000u) << mutations.size();

    const fs::path damaged = dir / "damaged.LENI1XML";
    const fs::path again = dir / "again.LENI1XML";
    int failures = 0;
    for (size_t m = 0; m < mutations.size(); ++m) {
        TiXmlDocument doc(base);
        mutations[m](doc);
        WriteFileText(damaged, DocumentToFileText(doc));
        QuietLog log;
        CLENIProject project;
        if (!project.ReadProject(damaged.string())) {
            ++failures;
            EXPECT_GT(log.Count("", LOG_ERROR), 0) << "mutation " << m;
            continue;
        }
        // Saving syncs the disk; a stride through the mutations keeps the test short.
        if (m % 7 != 0) continue;
        ASSERT_TRUE(project.Save(again.string(), false)) << "mutation " << m;
        EXPECT_FALSE(HoldsNonFiniteNumber(ReadFileText(again))) << "mutation " << m;
        CLENIProject reread;
        EXPECT_TRUE(reread.ReadProject(again.string())) << "mutation " << m << "\n" << log.All();
    }
    EXPECT_GT(failures, 0);
}

// The floors are parsed apart from the rest of the file and side by side: the floors, their
// order and the messages must be those of a file read as one tree, whatever stands between and
// around them, and a floor that does not parse fails the whole file before any floor is taken.
TEST(ProjectFileRead, FloorsParsedApartReadAsOneTree) {
    const std::string base = kBase;
    const size_t begin = base.find("        <Floor "), end = base.find("</Floor>") + 8;
    const std::string floor = base.substr(begin, end - begin);
    auto named = [&](const std::string& name) {
        return Replace(floor, "floorname=\"F1\"", "floorname=\"" + name + "\"");
    };
    auto withFloors = [&](const std::string& floors) {
        return base.substr(0, begin) + floors + base.substr(end);
    };
    struct Case {
        const char* what;
        std::string text;
        bool ok;
        std::vector<std::string> floors;
    };
    const Case cases[] = {
        {"three floors", withFloors(named("A") + "\n" + named("B") + named("C")), true, {"A", "B", "C"}},
        {"comments and other elements between",
         withFloors(named("A") + "<!-- <Floor floorname=\"X\"> -->\n<Note>x</Note>" + named("B")),
         true,
         {"A", "B"}},
        {"a byte-order mark and wide references move the floors",
         "\xEF\xBB\xBF" + withFloors(Replace(named("A"), "<RoomList>", "<RoomList><!-- &#8364;&#x20AC; -->") +
                                     named("B\xE2\x82\xAC")),
         true,
         {"A", "B\xE2\x82\xAC"}},
        {"an empty floor element",
         withFloors(named("A") + "<Floor floorname=\"E\"/>" + named("B")),
         true,
         {"A", "E", "B"}},
        {"a floor that does not parse",
         withFloors(named("A") + Replace(named("B"), "</RoomList>", "</RoomLis>") + named("C")),
         false,
         {}},
        {"a floor list in a second root",
         withFloors(named("A")) + "<NUVA_LENI_V3><FloorList>" + named("B") + "</FloorList></NUVA_LENI_V3>",
         true,
         {"A"}},
        {"a doubly defined floor ends the list",
         withFloors(named("A") + named("B") + named("a") + named("C")),
         false,
         {"A", "B"}},
    };
    for (const Case& c : cases) {
        const ReadResult r = ReadText(c.text);
        EXPECT_EQ(r.ok, c.ok) << c.what << "\n" << r.log;
        std::vector<std::string> floors;
        for (const CLENIFloor& f : r.project.GetFloors())
            floors.push_back(f.GetName());
        EXPECT_EQ(floors, c.floors) << c.what;
        // One "There are N rooms" message per floor taken, in file order, and none when the file
        // did not parse.
        int roomMessages = 0;
        for (const auto& m : r.messages)
            if (m.second.find("There are ") == 0) ++roomMessages;
        const int taken = c.ok ? static_cast<int>(c.floors.size())
                               : (c.floors.empty() ? 0 : static_cast<int>(c.floors.size()) + 1);
        EXPECT_EQ(roomMessages, taken) << c.what << "\n" << r.log;
        EXPECT_EQ(r.Count("Could not load project XML file", LOG_ERROR), c.floors.empty() && !c.ok ? 1 : 0)
            << c.what;
    }
}

// The rooms are parsed apart from their floor and side by side: the rooms taken, their order and
// their messages must be those of a floor read as one tree, and a room that does not parse fails
// the whole file.
TEST(ProjectFileRead, RoomsParsedApartReadAsOneTree) {
    const std::string base = kBase;
    const size_t begin = base.find("                <Room "), end = base.find("</Room>") + 8;
    const std::string room = base.substr(begin, end - begin);
    auto named = [&](const std::string& name) {
        return Replace(room, "roomname=\"R1\"", "roomname=\"" + name + "\"");
    };
    // A room whose window stands on a wall it does not have: its room is not taken, and the
    // floor's rooms end there.
    auto badWall = [&](const std::string& name) { return Replace(named(name), "wallid=\"0\"", "wallid=\"4\""); };
    auto withRooms = [&](const std::string& rooms, const std::string& text = kBase) {
        return text.substr(0, begin) + rooms + text.substr(end);
    };
    const size_t floorBegin = base.find("        <Floor "), floorEnd = base.find("</Floor>") + 9;
    const std::string secondFloor =
        Replace(base.substr(floorBegin, floorEnd - floorBegin), "floorname=\"F1\"", "floorname=\"F2\"");
    const std::string twoFloors =
        Replace(withRooms(named("R1") + named("R2")), "    </FloorList>", secondFloor + "    </FloorList>");
    struct Case {
        const char* what;
        std::string text;
        bool ok;
        std::vector<std::vector<std::string>> rooms; // per floor
        int wallMessages;                            // of the rooms with a window on a missing wall
    };
    const Case cases[] = {
        {"comments and other elements between rooms",
         withRooms(named("A") + "<!-- <Room roomname=\"X\"> -->\n<Note>x</Note>" + named("B") + "text"),
         true,
         {{"A", "B"}},
         0},
        {"only the first room list",
         withRooms(named("A") + "</RoomList><RoomList>" + named("B")),
         true,
         {{"A"}},
         0},
        {"two floors of rooms", twoFloors, true, {{"R1", "R2"}, {"R1"}}, 0},
        {"a room that is not read ends the rooms, the later ones leave no message",
         withRooms(named("A") + badWall("B") + badWall("C") + named("D")),
         true,
         {{"A"}},
         1},
        {"a floor without a name fails before its rooms",
         Replace(withRooms(badWall("A")), "floorname=\"F1\"", ""),
         false,
         {},
         0},
        {"a room that does not parse fails the file",
         withRooms(named("A") + Replace(named("B"), "</ZoneList>", "</ZoneLis>")),
         false,
         {},
         0},
    };
    for (const Case& c : cases) {
        const ReadResult r = ReadText(c.text);
        EXPECT_EQ(r.ok, c.ok) << c.what << "\n" << r.log;
        std::vector<std::vector<std::string>> rooms;
        for (const CLENIFloor& f : r.project.GetFloors()) {
            rooms.emplace_back();
            for (const CLENIRoom& room : f.GetRooms())
                rooms.back().push_back(room.GetName());
        }
        EXPECT_EQ(rooms, c.rooms) << c.what << "\n" << r.log;
        EXPECT_EQ(r.Count("has wall id out of range", LOG_ERROR), c.wallMessages) << c.what;
    }
}
