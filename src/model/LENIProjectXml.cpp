// The project file: writing the whole building model, with or without results, and reading it
// back with the defaults and messages that old and damaged files need.

#include "base/DeferredOutput.h"
#include "base/FileUtils.h"
#include "base/Logger.h"
#include "base/OrderedParallel.h"
#include "base/ProjectFileXml.h"
#include "base/TextUtils.h"
#include "base/XmlUtils.h"
#include "dxf/DrawnArea.h"
#include "dxf/Geometry.h"
#include "model/FieldRanges.h"
#include "model/LENIProject.h"
#include "model/ModelChecks.h"
#include "model/ModelGeometry.h"
#include "model/ProjectFileResults.h"
#include "tables/LENITables.h"

#include <tinyxml.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

// The hours of a year, the most td and tn may give together.
constexpr int kHoursPerYear = 8760;

// ---- Writing ----

TiXmlElement* AddElement(TiXmlNode* parent, const char* name) {
    auto* element = new TiXmlElement(name);
    parent->LinkEndChild(element);
    return element;
}

void AddPrintMe(TiXmlNode* parent, bool print) {
    AddXmlTextElement(parent, "PrintMe", print ? "true" : "false");
}

void AddResults(TiXmlNode* parent, const LENIObjectResults& results) {
    Log().Printf(LOG_INFO, "AddYearAndMonthResultsToXml Area = %6.3f", results.area);
    TiXmlElement* element = AddElement(parent, "Results");
    AddXmlTextElement(element, "Area", results.area);
    AddXmlTextElement(element, "InstalledPower", results.installedPower);
    for (int step = 0; step < kLeniTimeSteps; ++step) {
        const std::string name = step == 0 ? std::string("Annual") : StrPrintf("M%d", step);
        TiXmlElement* stepElement = AddElement(element, name.c_str());
        LeniTimeStepResult r = results.steps[step];
        r.area = results.area; // every step is divided by the element's own area
        AddXmlTextElement(stepElement, "Wl", r.Wl);
        AddXmlTextElement(stepElement, "Wp", r.Wp);
        AddXmlTextElement(stepElement, "LENIResult", r.GetLENI());
    }
}

void AddPolygon(TiXmlNode* parent, const Polygon& polygon) {
    TiXmlElement* element = AddElement(parent, "Polygon");
    for (const Point& p : polygon)
        AddXmlTextElement(element, "xy", FormatDouble("%.7f", p.x) + ";" + FormatDouble("%.7f", p.y));
}

void AddLumList(TiXmlNode* parent, const CZoneObjList& list) {
    list.WriteToXml(AddElement(parent, "LumList"));
}

void AddZone(TiXmlNode* parent, const CLENIZone& zone) {
    TiXmlElement* e = AddElement(parent, "Zone");
    SetXmlAttribute(e, "zonename", zone.GetName());
    SetXmlAttribute(e, "controltechnique", zone.GetControlTechnique());
    // The system's name begins with its number, which is all the file keeps.
    SetXmlAttribute(e, "ocs", zone.GetOccupancyControlSystem().substr(0, 1));
    e->SetAttribute("zonelux", TruncateToInt(zone.GetZoneIlluminance()));
    e->SetAttribute("zoneluxreal", TruncateToInt(zone.GetRealIlluminance()));
    SetDoubleAttribute(e, "fa", "%0.3f", zone.GetFa());
    e->SetAttribute("fo", zone.GetFoMode() == FOMODE_ONE ? "1" : "ffa");

    TiXmlElement* cic = AddElement(e, "ConstantIllum");
    SetBoolAttribute(cic, "active", zone.GetConstantIlluminanceControl());
    SetDoubleAttribute(cic, "fcc", "%.3f", zone.GetFcc());
    SetBoolAttribute(AddElement(e, "ConstLumenOuput"), "active", zone.GetConstantLumenOutput());
    AddPrintMe(e, zone.GetPrintMe());
    AddPolygon(e, zone.GetPolygon());
    AddLumList(e, zone.GetLumList());
}

void AddWindow(TiXmlNode* parent, const CLENIWindow& w) {
    TiXmlElement* e = AddElement(parent, "Window");
    e->SetAttribute("wallid", w.m_iWallId);
    e->SetAttribute("windowid", w.m_iWindowId);
    SetDoubleAttribute(e, "wide", "%.4f", w.m_dWidth);
    SetDoubleAttribute(e, "high", "%.4f", w.m_dHeight);
    SetDoubleAttribute(e, "x", "%.4f", w.m_dStart);
    SetDoubleAttribute(e, "y", "%.4f", w.m_dSillHeight);
    SetDoubleAttribute(e, "td65", "%.4f", w.m_dTauD65);
    SetDoubleAttribute(e, "k1", "%.4f", w.m_dK1);
    SetDoubleAttribute(e, "k2", "%.4f", w.m_dK2);
    SetDoubleAttribute(e, "k3", "%.4f", w.m_dK3);
    SetBoolAttribute(e, "hasgdf", w.m_bHasGdf);
    SetDoubleAttribute(e, "gdftau", "%.4f", w.m_dGdfTau);
    SetDoubleAttribute(e, "gdfk1", "%.4f", w.m_dGdfK1);
    SetDoubleAttribute(e, "gdfk2", "%.4f", w.m_dGdfK2);
    SetDoubleAttribute(e, "gdfk3", "%.4f", w.m_dGdfK3);

    TiXmlElement* shading = AddElement(e, "ShadingIndex");
    SetDoubleAttribute(shading, "frontangle", "%.4f", w.m_dFrontAngle);
    SetDoubleAttribute(shading, "sideangle", "%.4f", w.m_dSideAngle);
    SetDoubleAttribute(shading, "overhangangle", "%.4f", w.m_dOverhangAngle);
    AddXmlTextElement(e, "AtriumName", w.m_csAtriumName);
    AddLumList(e, w.m_LumList);
    AddXmlTextElement(e, "VertWinType", w.m_iVertWinType);
    if (w.m_iVertWinType == VWT_VERTICAL_SLOPED || w.m_iVertWinType == VWT_HORIZONTAL_SLOPED) {
        TiXmlElement* slope = AddElement(e, "SlopeParamsV");
        AddXmlTextElement(slope, "DistToWall", w.m_dDistToWall);
        AddXmlTextElement(slope, "Gamma", w.m_dGamma);
        AddXmlTextElement(slope, "SlopeLength", w.m_dSlopeLength);
        AddXmlTextElement(slope, "HeightToSlope", w.m_dHeightToSlope);
        AddXmlTextElement(slope, "SlopeType", w.m_iSlopeType);
        AddXmlTextElement(slope, "TD65SA", w.m_dTD65SA);
    }
}

void AddRoofLight(TiXmlNode* parent, const CLENIRoofLight& r) {
    TiXmlElement* e = AddElement(parent, "RoofLight");
    e->SetAttribute("id", r.m_iId);
    e->SetAttribute("type", r.GetTypeName().c_str());
    e->SetAttribute("orient", r.GetOrientation());
    AddXmlTextElement(e, "XOrig", r.m_dXOrig);
    AddXmlTextElement(e, "YOrig", r.m_dYOrig);
    AddXmlTextElement(e, "XLength", r.m_dXLength);
    AddXmlTextElement(e, "YWidth", r.m_dYWidth);
    AddXmlTextElement(e, "TauD65Sna", r.m_dTauD65Sna);
    AddXmlTextElement(e, "TauD65Sa", r.m_dTauD65Sa);
    AddXmlTextElement(e, "kObl1", r.m_dKObl1);
    AddXmlTextElement(e, "kObl2", r.m_dKObl2);
    AddXmlTextElement(e, "kObl3", r.m_dKObl3);
    AddXmlTextElement(e, "hw", r.m_dHw);
    AddXmlTextElement(e, "hg", r.m_dHg);
    AddXmlTextElement(e, "GammaF", r.m_dGammaF);
    AddXmlTextElement(e, "GammaW", r.m_dGammaW);
    AddXmlTextElement(e, "hs", r.m_dHs);
    AddLumList(e, r.m_LumList);
}

void AddRoom(TiXmlNode* parent, const CLENIRoom& room, const LENIObjectResults* results) {
    if (room.GetName().empty() || room.GetRoomType().empty()) {
        Log().Printf(LOG_ERROR, "CLENIRoom::WTX called with empty name <%s> or type <%s>",
                     room.GetName().c_str(), room.GetRoomType().c_str());
        return;
    }
    if (results) Log().Printf(LOG_INFO, "XML of room %s", room.GetName().c_str());
    TiXmlElement* e = AddElement(parent, "Room");
    SetXmlAttribute(e, "roomname", room.GetName());
    SetXmlAttribute(e, "type", room.GetRoomType());
    SetDoubleAttribute(e, "mf", "%0.3f", room.GetMaintenanceFactor());
    SetDoubleAttribute(e, "hta", "%0.3f", room.GetWrkSrfHi());
    e->SetAttribute("td", room.GetTd());
    e->SetAttribute("tn", room.GetTn());

    TiXmlElement* dcaj = AddElement(e, "DcajSettings");
    AddXmlTextElement(dcaj, "Type", room.GetDcajSource() == DCAJ_USER ? "User" : "Calculated");
    AddXmlTextElement(dcaj, "UserVal", room.GetUserDcaj());
    SetXmlAttribute(AddElement(e, "Shading"), "type", CLENIRoom::GetShadingName(room.GetShadingType()));
    AddPrintMe(e, room.GetPrintMe());
    if (results) AddResults(e, *results);
    AddPolygon(e, room.GetPolygon());

    TiXmlElement* zones = AddElement(e, "ZoneList");
    for (const CLENIZone& zone : room.GetZones())
        AddZone(zones, zone);
    TiXmlElement* windows = AddElement(e, "WindowList");
    for (const CLENIWindow& window : room.GetWindows())
        AddWindow(windows, window);
    TiXmlElement* roofLights = AddElement(e, "RoofLightList");
    for (const CLENIRoofLight& roofLight : room.GetRoofLights())
        AddRoofLight(roofLights, roofLight);
}

void AddAtrium(TiXmlNode* parent, const CLENIAtrium& atrium) {
    if (atrium.m_csName.empty()) {
        Log().Printf(LOG_ERROR, "CLENIRoom::WATX called with empty atrio name <%s>", atrium.m_csName.c_str());
        return;
    }
    TiXmlElement* e = AddElement(parent, "Atrium");
    SetXmlAttribute(e, "atriumname", atrium.m_csName);
    SetDoubleAttribute(e, "trans", "%.3f", atrium.m_dTrans);
    e->SetAttribute("type", atrium.GetKindName().c_str());
    SetDoubleAttribute(e, "k1", "%.3f", atrium.m_dK1);
    SetDoubleAttribute(e, "k2", "%.3f", atrium.m_dK2);
    SetDoubleAttribute(e, "k3", "%.3f", atrium.m_dK3);
    AddPolygon(e, atrium.m_Polygon);
}

// Results of the i-th floor, or of its j-th room; none when the provider gave fewer.
const LENIObjectResults* FloorResults(const LENIProjectResults* results, size_t i) {
    static const LENIObjectResults kNone;
    if (!results) return nullptr;
    return i < results->floors.size() ? &results->floors[i] : &kNone;
}

const LENIObjectResults* RoomResults(const LENIProjectResults* results, size_t i, size_t j) {
    static const LENIObjectResults kNone;
    if (!results) return nullptr;
    return i < results->rooms.size() && j < results->rooms[i].size() ? &results->rooms[i][j] : &kNone;
}

void WriteFloor(TiXmlNode* parent, const CLENIFloor& floor, const LENIProjectResults* results, size_t index) {
    TiXmlElement* e = AddElement(parent, "Floor");
    SetXmlAttribute(e, "floorname", floor.GetName());
    SetDoubleAttribute(e, "hi", "%.2f", floor.GetHeight());
    e->SetAttribute("count", floor.GetInstanceCount());
    AddPrintMe(e, floor.GetPrintMe());
    if (results) AddResults(e, *FloorResults(results, index));
    TiXmlElement* rooms = AddElement(e, "RoomList");
    for (size_t j = 0; j < floor.GetRooms().size(); ++j)
        AddRoom(rooms, floor.GetRooms()[j], RoomResults(results, index, j));
    TiXmlElement* atria = AddElement(e, "AtriumList");
    for (const CLENIAtrium& atrium : floor.GetAtria())
        AddAtrium(atria, atrium);
}

// ---- Reading ----

// An attribute that holds a value: present and not empty.
bool GetValue(const TiXmlElement* e, const char* name, std::string& value) {
    return GetXmlAttribute(e, name, value) && !value.empty();
}

double GetDoubleValue(const TiXmlElement* e, const char* name, double fallback) {
    std::string value;
    return GetValue(e, name, value) ? ParseFileDouble(value, std::string(e->Value()) + " " + name) : fallback;
}

// A text element that holds a value: present and not empty.
bool GetChildValue(const TiXmlElement* parent, const char* name, std::string& value) {
    return GetXmlChildText(parent, name, value) && !value.empty();
}

double GetChildDouble(const TiXmlElement* parent, const char* name, double fallback) {
    std::string value;
    return GetChildValue(parent, name, value)
               ? ParseFileDouble(value, std::string(parent->Value()) + " " + name)
               : fallback;
}

// A value the user may leave unset: absent or empty is unset; a negative one is no price, factor
// or target, so it is reported and left unset.
std::optional<double> ReadOptionalValue(const TiXmlElement* parent, const char* name) {
    std::string text;
    if (!GetChildValue(parent, name, text)) return std::nullopt;
    const double value = ParseFileDouble(text, std::string(parent->Value()) + " " + name);
    if (value < 0.0) {
        Log().Printf(LOG_ERROR, "%s %s is negative in the project file, left unset", name, text.c_str());
        return std::nullopt;
    }
    return value;
}

int GetChildInt(const TiXmlElement* parent, const char* name, int fallback) {
    std::string value;
    return GetChildValue(parent, name, value) ? ParseFileInt(value) : fallback;
}

bool ReadPrintMe(const TiXmlElement* parent) {
    std::string value;
    return GetXmlChildText(parent, "PrintMe", value) && EqualsNoCase(TrimWhiteSpace(value), "true");
}

// "1"/"0" booleans: on when the value is an integer above 0.
bool GetFlagValue(const TiXmlElement* e, const char* name) {
    std::string value;
    return GetValue(e, name, value) && ParseFileInt(value) > 0;
}

bool ReadPolygon(const TiXmlElement* parent, const std::string& owner, Polygon& polygon) {
    polygon.clear();
    const TiXmlElement* element = parent->FirstChildElement("Polygon");
    if (!element) {
        Log().Printf(LOG_ERROR, "Missing Polygon element in object <%s>.", owner.c_str());
        return false;
    }
    int index = 0;
    for (const TiXmlElement* xy = element->FirstChildElement("xy"); xy;
         xy = xy->NextSiblingElement("xy"), ++index) {
        if (!xy->GetText()) {
            Log().Printf(LOG_ERROR, "Missing Polygon coords in object <%s>", owner.c_str());
            return false;
        }
        if (index >= kMaxPolygonVertices) {
            Log().Printf(LOG_ERROR, "Polygon of <%s> has more than %d vertices.", owner.c_str(),
                         kMaxPolygonVertices);
            return false;
        }
        Point p;
        if (!ParseXyText(GetXmlText(xy), p.x, p.y) || std::fabs(p.x) > kMaxCoordinate ||
            std::fabs(p.y) > kMaxCoordinate) {
            Log().Printf(LOG_ERROR, "Coordinate %d in polygon of <%s> has an error.", index, owner.c_str());
            return false;
        }
        polygon.push_back(p);
    }
    if (polygon.size() < 3) {
        Log().Printf(LOG_ERROR, "Read polygon of only %d vertices for <%s>", static_cast<int>(polygon.size()),
                     owner.c_str());
        return false;
    }
    return true;
}

// Reads a "LumList" child when there is one.
bool ReadLumList(const TiXmlElement* parent, CZoneObjList& list) {
    list.Clear();
    const TiXmlElement* element = parent->FirstChildElement("LumList");
    return !element || list.ReadFromXml(element);
}

bool ReadZone(const TiXmlElement* e, CLENIZone& zone) {
    std::string name;
    if (!GetXmlAttribute(e, "zonename", name)) {
        Log().Printf(LOG_ERROR, "Zone in XML file does not have a zonename attribute");
        return false;
    }
    zone.SetName(name);
    zone.SetPrintMe(ReadPrintMe(e));

    std::string value;
    if (GetValue(e, "controltechnique", value)) {
        zone.SetControlTechnique(value);
    } else {
        Log().Printf(LOG_ERROR, "Control Technique of Zone <%s> not specifed, default manual used",
                     name.c_str());
        zone.SetControlTechnique(CLENITables::kDefaultControlTechnique);
    }

    const std::vector<std::string> systems = CLENITables::GetOccupancySystemNames();
    if (GetValue(e, "ocs", value)) {
        const int n = ParseFileInt(value);
        if (n >= 1 && n <= static_cast<int>(systems.size())) {
            zone.SetOccupancyControlSystem(systems[n - 1]);
        } else {
            Log().Printf(LOG_ERROR, "OCS Occupancy Control System of Zone <%s> out of range:%s", name.c_str(),
                         value.c_str());
            zone.SetOccupancyControlSystem(systems.front());
        }
    } else {
        Log().Printf(LOG_ERROR, "OCS Occupancy Control System of Zone <%s> not specifed, default manual used",
                     name.c_str());
        zone.SetOccupancyControlSystem(systems.front());
    }

    if (GetValue(e, "fa", value)) {
        zone.SetFa(ParseFileDouble(value));
    } else {
        Log().Printf(LOG_ERROR, "Zone <%s> in XML file does not have an 'fa' attribute\nDefault used.",
                     name.c_str());
        zone.SetFa(0.5);
    }

    if (GetValue(e, "zonelux", value)) {
        zone.SetZoneIlluminance(ParseFileDouble(value));
    } else {
        Log().Printf(
            LOG_ERROR,
            "Zone <%s> in XML file does not have a zonelux attribute\nThe default of %.1f lx will be used.",
            name.c_str(), CLENITables::kDefaultZoneLux);
    }
    zone.SetRealIlluminance(GetValue(e, "zoneluxreal", value) ? ParseFileDouble(value)
                                                              : zone.GetZoneIlluminance());

    if (!GetValue(e, "fo", value)) {
        Log().Printf(LOG_ERROR, "Zone %s in XML file does not have an 'fo' attribute\nUsing default of 1",
                     name.c_str());
        zone.SetFoMode(FOMODE_ONE);
    } else if (TrimWhiteSpace(value) == "1") {
        zone.SetFoMode(FOMODE_ONE);
    } else if (EqualsNoCase(TrimWhiteSpace(value), "ffa")) {
        zone.SetFoMode(FOMODE_FROM_FA);
    } else {
        // As the message says: Fo from Fa.
        Log().Printf(LOG_ERROR, "Zone %s in XML file has a strange 'fo' attribute\nUsing default of 0",
                     name.c_str());
        zone.SetFoMode(FOMODE_FROM_FA);
    }

    Polygon polygon;
    if (!ReadPolygon(e, name, polygon)) {
        Log().Printf(LOG_ERROR, "Error reading polygon of zone");
        return false;
    }
    zone.SetPolygon(polygon);

    const TiXmlElement* cic = e->FirstChildElement("ConstantIllum");
    zone.SetConstantIlluminanceControl(cic && GetFlagValue(cic, "active"));
    zone.SetFcc(cic ? GetDoubleValue(cic, "fcc", 1.0) : 1.0);
    const TiXmlElement* clo = e->FirstChildElement("ConstLumenOuput");
    zone.SetConstantLumenOutput(clo && GetFlagValue(clo, "active"));

    if (!ReadLumList(e, zone.GetLumList())) {
        Log().Printf(LOG_ERROR, "Error in luminaire list of zone.");
        return false;
    }
    return true;
}

bool ReadZones(const TiXmlElement* roomElement, CLENIRoom& room) {
    const TiXmlElement* list = roomElement->FirstChildElement("ZoneList");
    if (!list) {
        Log().Printf(LOG_ERROR, "Missing ZoneList element in the xml file, room <%s>.",
                     room.GetName().c_str());
        return false;
    }
    for (const TiXmlElement* e = list->FirstChildElement("Zone"); e; e = e->NextSiblingElement("Zone")) {
        CLENIZone zone;
        if (!ReadZone(e, zone)) return false;
        if (room.ZoneExists(zone.GetName())) {
            Log().Printf(LOG_ERROR, "Room <%s> has a doubly defined Zone <%s> in project file",
                         room.GetName().c_str(), zone.GetName().c_str());
            return false;
        }
        room.AddZone(zone);
    }
    return true;
}

bool ReadWindow(const TiXmlElement* e, CLENIWindow& w) {
    std::string value;
    if (GetValue(e, "wallid", value)) w.m_iWallId = ParseFileInt(value);
    if (GetValue(e, "windowid", value)) w.m_iWindowId = ParseFileInt(value);
    w.m_dWidth = GetDoubleValue(e, "wide", w.m_dWidth);
    w.m_dHeight = GetDoubleValue(e, "high", w.m_dHeight);
    w.m_dStart = GetDoubleValue(e, "x", w.m_dStart);
    w.m_dSillHeight = GetDoubleValue(e, "y", w.m_dSillHeight);
    w.m_dTauD65 = GetDoubleValue(e, "td65", w.m_dTauD65);
    w.m_dK1 = GetDoubleValue(e, "k1", w.m_dK1);
    w.m_dK2 = GetDoubleValue(e, "k2", w.m_dK2);
    w.m_dK3 = GetDoubleValue(e, "k3", w.m_dK3);
    w.m_bHasGdf = GetFlagValue(e, "hasgdf");
    w.m_dGdfTau = GetDoubleValue(e, "gdftau", w.m_dGdfTau);
    w.m_dGdfK1 = GetDoubleValue(e, "gdfk1", w.m_dGdfK1);
    w.m_dGdfK2 = GetDoubleValue(e, "gdfk2", w.m_dGdfK2);
    w.m_dGdfK3 = GetDoubleValue(e, "gdfk3", w.m_dGdfK3);
    if (const TiXmlElement* shading = e->FirstChildElement("ShadingIndex")) {
        w.m_dFrontAngle = GetDoubleValue(shading, "frontangle", w.m_dFrontAngle);
        w.m_dSideAngle = GetDoubleValue(shading, "sideangle", w.m_dSideAngle);
        w.m_dOverhangAngle = GetDoubleValue(shading, "overhangangle", w.m_dOverhangAngle);
    }
    GetXmlChildText(e, "AtriumName", w.m_csAtriumName);
    w.m_iVertWinType = GetChildInt(e, "VertWinType", w.m_iVertWinType);
    if (const TiXmlElement* slope = e->FirstChildElement("SlopeParamsV")) {
        w.m_dDistToWall = GetChildDouble(slope, "DistToWall", w.m_dDistToWall);
        w.m_dGamma = GetChildDouble(slope, "Gamma", w.m_dGamma);
        w.m_dSlopeLength = GetChildDouble(slope, "SlopeLength", w.m_dSlopeLength);
        w.m_dHeightToSlope = GetChildDouble(slope, "HeightToSlope", w.m_dHeightToSlope);
        w.m_iSlopeType = GetChildInt(slope, "SlopeType", 0);
        w.m_dTD65SA = GetChildDouble(slope, "TD65SA", w.m_dTD65SA);
    }
    if (!ReadLumList(e, w.m_LumList)) {
        Log().Printf(LOG_ERROR, "Error in luminaire list of window %s.", w.GetLabel().c_str());
        return false;
    }
    return true;
}

bool ReadRoofLight(const TiXmlElement* e, CLENIRoofLight& r) {
    std::string value;
    if (GetValue(e, "id", value)) r.m_iId = ParseFileInt(value);
    if (GetValue(e, "type", value)) r.m_iType = CLENIRoofLight::GetTypeFromName(value);
    if (GetValue(e, "orient", value)) r.SetOrientation(ParseFileInt(value));
    r.m_dXOrig = GetChildDouble(e, "XOrig", 0.5);
    r.m_dYOrig = GetChildDouble(e, "YOrig", 0.5);
    r.m_dXLength = GetChildDouble(e, "XLength", r.m_dXLength);
    r.m_dYWidth = GetChildDouble(e, "YWidth", r.m_dYWidth);
    r.m_dTauD65Sna = GetChildDouble(e, "TauD65Sna", r.m_dTauD65Sna);
    r.m_dTauD65Sa = GetChildDouble(e, "TauD65Sa", r.m_dTauD65Sa);
    r.m_dKObl1 = GetChildDouble(e, "kObl1", r.m_dKObl1);
    r.m_dKObl2 = GetChildDouble(e, "kObl2", r.m_dKObl2);
    r.m_dKObl3 = GetChildDouble(e, "kObl3", r.m_dKObl3);
    r.m_dHw = GetChildDouble(e, "hw", r.m_dHw);
    r.m_dHg = GetChildDouble(e, "hg", r.m_dHg);
    r.m_dGammaF = GetChildDouble(e, "GammaF", 0.0);
    r.m_dGammaW = GetChildDouble(e, "GammaW", r.m_dGammaW);
    r.m_dHs = GetChildDouble(e, "hs", r.m_dHs);
    if (!ReadLumList(e, r.m_LumList)) {
        Log().Printf(LOG_ERROR, "Error in luminaire list of roof light %s.", r.GetLabel().c_str());
        return false;
    }
    return true;
}

// The hours a file gives pass the checks the Room Properties dialog makes; hours out of range
// (negative, or more in sum than the year has) would give negative or overflowing energies, so
// the room takes its building type's hours instead.
void CheckOperatingHours(CLENIRoom& room) {
    const long long td = room.GetTd();
    const long long tn = room.GetTn();
    if (td >= 0 && tn >= 0 && td + tn <= kHoursPerYear) return;
    const std::string buildingType = room.GetBuildingTypeFromRoomTypeString();
    room.GetTdTnByBuildingType(buildingType);
    Log().Printf(LOG_ERROR,
                 "Room %s in XML file: the operating hours td = %lld and tn = %lld are out of range (each 0 "
                 "or more, together at most %d hours a year).\nThe hours of the building type %s are used "
                 "(td = %d, tn = %d).",
                 room.GetName().c_str(), td, tn, kHoursPerYear, buildingType.c_str(), room.GetTd(),
                 room.GetTn());
}

bool ReadRoom(const TiXmlElement* e, CLENIRoom& room) {
    std::string name;
    if (!GetXmlAttribute(e, "roomname", name)) {
        Log().Printf(LOG_ERROR, "Room in XML file does not have a roomname attribute");
        return false;
    }
    room.SetName(name);
    std::string value;
    if (!GetValue(e, "type", value) || TrimWhiteSpace(value).empty()) {
        Log().Printf(LOG_ERROR, "Room %s in XML file does not have a roomtype attribute", name.c_str());
        return false;
    }
    room.SetRoomType(value);
    room.SetMaintenanceFactor(GetDoubleValue(e, "mf", 0.7));

    room.SetDcajSource(DCAJ_CALCULATED);
    room.SetUserDcaj(0.0);
    const TiXmlElement* dcaj = e->FirstChildElement("DcajSettings");
    if (dcaj && GetXmlChildText(dcaj, "Type", value) && EqualsNoCase(TrimWhiteSpace(value), "User")) {
        const double user = GetChildDouble(dcaj, "UserVal", -1.0);
        if (user >= 0.0) {
            room.SetDcajSource(DCAJ_USER);
            room.SetUserDcaj(user);
        } else {
            Log().Printf(LOG_ERROR, "Missing UserVal in room DcajSettings");
        }
    }

    if (GetValue(e, "td", value)) {
        room.SetTd(ParseFileInt(value));
    } else {
        Log().Printf(LOG_ERROR, "Room %s in XML file 'td' not specified\nDefault used.", name.c_str());
        room.SetTd(1000);
    }
    if (GetValue(e, "tn", value)) {
        room.SetTn(ParseFileInt(value));
    } else {
        Log().Printf(LOG_ERROR, "Room %s in XML file 'tn' not specified\nDefault used.", name.c_str());
        room.SetTn(1000);
    }

    CheckOperatingHours(room);

    room.SetWrkSrfHi(0.8);
    if (GetValue(e, "hta", value))
        room.SetWrkSrfHi(ParseFileDouble(value));
    else
        Log().Printf(LOG_ERROR, "Room %s in XML file hta works surface height not specified\nDefault used.",
                     name.c_str());

    room.SetShadingType(SHADING_NONE);
    if (const TiXmlElement* shading = e->FirstChildElement("Shading")) {
        GetXmlAttribute(shading, "type", value);
        int found = -1;
        for (int type = SHADING_NONE; type <= SHADING_LIGHT_GUIDES && found < 0; ++type)
            if (EqualsNoCase(value, CLENIRoom::GetShadingName(type))) found = type;
        if (found < 0) Log().Printf(LOG_ERROR, "GSFS unrecognised string: <%s>", value.c_str());
        room.SetShadingType(std::max(found, static_cast<int>(SHADING_NONE)));
    }
    room.SetPrintMe(ReadPrintMe(e));

    Polygon polygon;
    if (!ReadPolygon(e, name, polygon)) return false;
    // The DXF import refuses an outline that crosses itself; one written into the file by hand
    // counts with the area drawn and is reported below.
    room.SetPolygon(polygon);
    if (!ReadZones(e, room)) return false;

    if (const TiXmlElement* list = e->FirstChildElement("WindowList")) {
        for (const TiXmlElement* w = list->FirstChildElement("Window"); w;
             w = w->NextSiblingElement("Window")) {
            CLENIWindow window;
            if (!ReadWindow(w, window)) continue;
            KeepInRange(window, name);
            // A negative wall id is no wall of the room either.
            if (window.m_iWallId < 0 || window.m_iWallId >= room.GetWallCount()) {
                Log().Printf(LOG_ERROR, "Window(%d) has wall id out of range (0 ... %d), room <%s>",
                             window.m_iWallId, room.GetWallCount() - 1, name.c_str());
                return false;
            }
            room.AddWindow(window);
        }
    } else {
        Log().Printf(LOG_INFO, "No WindowList for room %s", name.c_str());
    }

    if (const TiXmlElement* list = e->FirstChildElement("RoofLightList")) {
        for (const TiXmlElement* r = list->FirstChildElement("RoofLight"); r;
             r = r->NextSiblingElement("RoofLight")) {
            CLENIRoofLight roofLight;
            if (!ReadRoofLight(r, roofLight)) continue;
            KeepInRange(roofLight, name);
            room.AddRoofLight(roofLight);
        }
    } else {
        Log().Printf(LOG_INFO, "No RoofLightList for room %s", name.c_str());
    }
    for (const std::string& finding : CheckRoomShape(room))
        Log().Printf(LOG_ERROR, "%s", finding.c_str());
    return true;
}

// A room of the floor before its element is read.
CLENIRoom NewRoomOf(const CLENIFloor& floor) {
    CLENIRoom room;
    room.SetHeight(std::clamp(floor.GetHeight(), 1.0, 200.0));
    room.SetFloorName(floor.GetName());
    return room;
}

// False, with the reason logged, when the floor has a room of that name: the floor's rooms end.
bool AddReadRoom(CLENIFloor& floor, CLENIRoom room) {
    if (floor.RoomExists(room.GetName())) {
        Log().Printf(LOG_ERROR, "Floor <%s> has a doubly defined Room <%s> in project file",
                     floor.GetName().c_str(), room.GetName().c_str());
        return false;
    }
    floor.AddRoom(room);
    return true;
}

void ReadRooms(const TiXmlElement* floorElement, CLENIFloor& floor) {
    const TiXmlElement* list = floorElement->FirstChildElement("RoomList");
    if (!list) {
        Log().Printf(LOG_ERROR, "Missing RoomList element in the xml file, Floor <%s>.",
                     floor.GetName().c_str());
        return;
    }
    for (const TiXmlElement* e = list->FirstChildElement("Room"); e; e = e->NextSiblingElement("Room")) {
        CLENIRoom room = NewRoomOf(floor);
        if (!ReadRoom(e, room) || !AddReadRoom(floor, std::move(room))) return;
    }
}

bool ReadAtrium(const TiXmlElement* e, CLENIAtrium& atrium) {
    if (!GetXmlAttribute(e, "atriumname", atrium.m_csName)) {
        Log().Printf(LOG_ERROR, "Atrium in XML file does not have a name attribute");
        return false;
    }
    atrium.m_dTrans = GetDoubleValue(e, "trans", 0.666);
    std::string value;
    if (GetValue(e, "type", value)) {
        atrium.m_iKind = EqualsNoCase(value, "courtyard") ? ATRIUM_COURTYARD : ATRIUM_ATRIUM;
    } else {
        Log().Printf(LOG_INFO, "Atrium in XML file does not have an atrium type attribute");
        atrium.m_iKind = ATRIUM_ATRIUM;
    }
    const std::pair<const char*, double*> factors[] = {
        {"k1", &atrium.m_dK1}, {"k2", &atrium.m_dK2}, {"k3", &atrium.m_dK3}};
    for (const auto& [name, factor] : factors) {
        if (GetValue(e, name, value)) {
            *factor = ParseFileDouble(value);
        } else {
            Log().Printf(LOG_INFO, "Atrium in XML file does not have a %s attribute", name);
            *factor = 1.0;
        }
    }
    Polygon polygon;
    if (!ReadPolygon(e, atrium.m_csName, polygon)) return false;
    atrium.SetPolygon(polygon);
    KeepInRange(atrium);
    return true;
}

void ReadAtria(const TiXmlElement* floorElement, CLENIFloor& floor) {
    const TiXmlElement* list = floorElement->FirstChildElement("AtriumList");
    if (!list) {
        Log().Printf(LOG_INFO, "Old project? Missing AtriumList element in the xml file, Floor <%s>.",
                     floor.GetName().c_str());
        return;
    }
    for (const TiXmlElement* e = list->FirstChildElement("Atrium"); e; e = e->NextSiblingElement("Atrium")) {
        CLENIAtrium atrium;
        if (!ReadAtrium(e, atrium)) return;
        if (floor.FindAtrium(atrium.m_csName)) {
            Log().Printf(LOG_ERROR, "Floor <%s> has a doubly defined atrium <%s> in project file",
                         floor.GetName().c_str(), atrium.m_csName.c_str());
            return;
        }
        floor.AddAtrium(atrium);
    }
}

// What a floor's element says of the floor itself, before its rooms.
bool ReadFloorHead(const TiXmlElement* e, CLENIFloor& floor) {
    std::string value;
    if (!GetXmlAttribute(e, "floorname", value)) {
        Log().Printf(LOG_ERROR, "Floor in XML file does not have a floorname attribute");
        return false;
    }
    floor.SetName(value);
    if (GetValue(e, "hi", value)) floor.SetHeight(ParseFileDouble(value));
    floor.SetInstanceCount(GetValue(e, "count", value) ? ParseFileInt(value) : 1);
    floor.SetPrintMe(ReadPrintMe(e));
    return true;
}

// What a floor's element says after its rooms.
void ReadFloorTail(const TiXmlElement* e, CLENIFloor& floor) {
    ReadAtria(e, floor);
    Log().Printf(LOG_INFO, "There are %d rooms on floor <%s>\n", floor.GetRoomCount(),
                 floor.GetName().c_str());
}

bool ReadFloor(const TiXmlElement* e, CLENIFloor& floor) {
    if (!ReadFloorHead(e, floor)) return false;
    ReadRooms(e, floor);
    ReadFloorTail(e, floor);
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    // Read in one piece when the size is known (a regular file); a pipe or device is streamed.
    std::error_code error;
    const auto size = fs::is_regular_file(fs::u8path(path), error) ? fs::file_size(fs::u8path(path), error)
                                                                   : static_cast<std::uintmax_t>(-1);
    if (!error && size != static_cast<std::uintmax_t>(-1) && size < (std::uintmax_t{1} << 40)) {
        text.resize(static_cast<size_t>(size));
        in.read(&text[0], static_cast<std::streamsize>(size));
        text.resize(static_cast<size_t>(in.gcount()));
        if (in.bad()) return false;
        if (in.eof()) return true;
        in.clear();
    } else {
        text.clear();
    }
    std::ostringstream content;
    content << in.rdbuf();
    text += content.str();
    return !in.bad();
}

} // namespace

// ---- CLENIProject ----

bool CLENIProject::Save(const std::string& path, bool withResults) const {
    Log().Printf(LOG_INFO, "Saving %d floors of the project %s\n", GetFloorCount(), m_csName.c_str());

    LENIProjectResults results;
    const LENIProjectResults* pResults = nullptr;
    if (withResults) {
        const ProjectResultsProvider& provider = GetProjectResultsProvider();
        if (provider && provider(*this, results))
            pResults = &results;
        else
            Log().Printf(LOG_INFO, "No calculation results available, the project %s is saved without them",
                         m_csName.c_str());
    }

    TiXmlDocument doc;
    doc.LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
    auto* root = new TiXmlElement(kProjectFileRoot);
    doc.LinkEndChild(root);
    AddXmlTextElement(root, "Name", ReduceToPrintableAscii(m_csName));
    AddXmlTextElement(root, "Descr", ReduceToPrintableAscii(m_csDescription));
    AddXmlTextElement(root, "Location", ReduceToPrintableAscii(m_csLocation));
    AddXmlTextElement(root, "DominantBuildingType", m_csDominantBuildingType);
    AddXmlTextElement(root, "MF", m_dMF);
    AddXmlTextElement(root, "Latitude", m_dLatitude);
    AddXmlTextElement(root, "Longitude", m_dLongitude);
    AddXmlTextElement(root, "YearToBeBuilt", m_iYearToBeBuilt);
    AddXmlTextElement(root, "YearBuilt", m_iYearBuilt);
    AddXmlTextElement(root, "HdirHglob", m_dHdirHglob);
    AddPrintMe(root, m_bPrintMe);
    // Written only when set, so a project without them keeps the bytes it always had; a reader
    // of the file that does not know these elements passes over them.
    for (const auto& [name, value] : {std::make_pair("EnergyPrice", &m_EnergyPrice),
                                      std::make_pair("CO2Factor", &m_CO2Factor),
                                      std::make_pair("LENITarget", &m_LeniTarget)})
        if (*value) AddXmlTextElement(root, name, **value);
    if (pResults) AddResults(root, pResults->building);
    m_Products.WriteToXml(AddElement(root, "Products"));
    AddElement(root, "FloorList");

    // The floors, the bulk of the file, are put in as text one at a time, each from its own small
    // tree: the whole building never stands in memory as a tree. The floor list is the root's
    // last element, printed empty above; a floor's lines take the indent of its depth (a text
    // never holds a raw line break: the printer writes it as a character reference).
    const std::string head = DocumentToFileText(doc);
    const std::string emptyList = "    <FloorList />\n";
    const size_t at = head.rfind(emptyList);
    std::vector<std::string> floorTexts;
    std::vector<std::string_view> pieces;
    if (m_Floors.empty() || at == std::string::npos) {
        pieces.push_back(head);
    } else {
        // Floors are independent: their texts are made side by side, then written in order.
        floorTexts.resize(m_Floors.size());
        RunInOrder(m_Floors.size(), [&](size_t i) {
            TiXmlDocument floorDoc;
            WriteFloor(&floorDoc, m_Floors[i], pResults, i);
            floorTexts[i] = DocumentToFileText(floorDoc, "        ");
        });
        const std::string_view all(head);
        pieces.push_back(all.substr(0, at));
        pieces.push_back("    <FloorList>\n");
        for (const std::string& floorText : floorTexts)
            pieces.push_back(floorText);
        pieces.push_back("    </FloorList>\n");
        pieces.push_back(all.substr(at + emptyList.size()));
    }

    std::string reason;
    if (!WriteFileSafely(path, pieces, &reason)) {
        Log().Printf(LOG_ERROR, "Could not save the project file:\n%s\n%s", path.c_str(), reason.c_str());
        return false;
    }
    return true;
}

bool CLENIProject::SaveProject(bool withResults) const {
    Log().Printf(LOG_INFO, "CLENIProject::Save, <%s>", m_csName.c_str());
    if (!DirectoryExists(m_csProjectFolder)) {
        Log().Printf(LOG_ERROR, "Project directory does not exist:\n%s", m_csProjectFolder.c_str());
        return false;
    }
    if (m_csName.empty()) {
        Log().Printf(LOG_ERROR, "Project has no name\n");
        return false;
    }
    if (m_csDominantBuildingType.empty()) {
        Log().Printf(LOG_ERROR, "Project has no dominant building type\n");
        return false;
    }
    // The name may come from a file: it must not lead the file out of the project folder.
    const fs::path path =
        JoinPath(m_csProjectFolder, MakeSafeFileName(m_csName) + "." + kProjectFileExtension);
    return Save(path.string(), withResults);
}

bool CLENIProject::ReadProject(const std::string& path) {
    Log().Printf(LOG_INFO, "CLENIProject::RIP %s starting", path.c_str());
    if (!FileExists(path)) {
        Log().Printf(LOG_ERROR, "CLENIProject::RIP\n%s\nbut file does not exist", path.c_str());
        return false;
    }
    Clear();

    // The rooms, the bulk of the file, are parsed apart from the rest and from one another, side
    // by side, each tree read into its room and freed at once: neither the building nor a floor
    // ever stands in memory as one tree. The rest, with the floors' own settings, is one small
    // tree. The rooms' messages come out in file order, where the rooms are taken.
    std::vector<std::vector<TextSpan>> floorRooms;
    TiXmlDocument doc;
    struct SplitRoom {
        size_t floor;
        TextSpan span;
        CLENIRoom room;
        CDeferredOutput trace;
        bool parsed = false, read = false;
    };
    std::vector<SplitRoom> rooms;
    std::vector<const TiXmlElement*> floorElements;
    std::vector<CLENIFloor> floors;
    std::vector<CDeferredOutput> headTraces;
    std::vector<char> headRead;
    bool parsed = false;
    {
        std::string text;
        {
            std::string raw;
            parsed = ReadWholeFile(path, raw) && PrepareFileText(std::move(raw), text, &floorRooms);
        }
        CPreservedWhiteSpace keep;
        if (parsed) {
            std::string rest;
            size_t copied = 0;
            for (const std::vector<TextSpan>& spans : floorRooms)
                for (const TextSpan& span : spans) {
                    rest.append(text, copied, span.begin - copied);
                    copied = span.end;
                }
            rest.append(text, copied, std::string::npos);
            parsed = ParsePreparedText(rest.c_str(), doc);
        }
        // The floors whose rooms were cut out, in the order of the file, read up to their rooms:
        // a room starts from its floor's height and name.
        const TiXmlElement* list = nullptr;
        if (parsed)
            if (const TiXmlElement* root = doc.FirstChildElement(kProjectFileRoot))
                list = root->FirstChildElement("FloorList");
        for (const TiXmlElement* e = list ? list->FirstChildElement("Floor") : nullptr;
             e && floorElements.size() < floorRooms.size(); e = e->NextSiblingElement("Floor"))
            floorElements.push_back(e);
        floors.resize(floorElements.size());
        headTraces.resize(floorElements.size());
        headRead.assign(floorElements.size(), 0);
        for (size_t f = 0; f < floorElements.size(); ++f) {
            CDeferredOutput::Scope capture(headTraces[f]);
            headRead[f] = ReadFloorHead(floorElements[f], floors[f]);
            for (const TextSpan& span : floorRooms[f])
                rooms.push_back({f, span, NewRoomOf(floors[f]), {}});
        }
        RunInOrder(rooms.size(), [&](size_t i) {
            SplitRoom& r = rooms[i];
            CDeferredOutput::Scope capture(r.trace);
            const std::string part = text.substr(r.span.begin, r.span.end - r.span.begin);
            TiXmlDocument roomDoc;
            if (!ParsePreparedText(part.c_str(), roomDoc)) return;
            r.parsed = true;
            if (headRead[r.floor]) r.read = ReadRoom(roomDoc.FirstChildElement("Room"), r.room);
        });
        // The tree holds every floor the rooms were cut from, or the cut lost rooms.
        parsed = parsed && floorElements.size() == floorRooms.size() &&
                 std::all_of(rooms.begin(), rooms.end(), [](const SplitRoom& r) { return r.parsed; });
    }
    if (!parsed) {
        Log().Printf(
            LOG_ERROR,
            "Could not load project XML file:\n%s\n\nIs it open in another application?\nIs there an error "
            "in the XML syntax?",
            path.c_str());
        return false;
    }
    const fs::path filePath(path);
    SetProjectFolder(filePath.parent_path().string());
    m_csName = filePath.stem().string();

    const TiXmlElement* root = doc.FirstChildElement(kProjectFileRoot);
    if (!root) {
        Log().Printf(LOG_ERROR, "Top level element missing in file:\n%s\nShould be <%s>", path.c_str(),
                     kProjectFileRoot);
        return false;
    }

    std::string value;
    if (GetXmlChildText(root, "Name", value)) m_csName = value;
    if (GetXmlChildText(root, "Descr", value)) m_csDescription = value;
    if (GetXmlChildText(root, "Location", value)) m_csLocation = value;
    if (!GetXmlChildText(root, "DominantBuildingType", value)) {
        Log().Printf(LOG_ERROR, "Could not read DominantBuildingType from project file");
        m_csDominantBuildingType.clear();
        return false;
    }
    if (value.empty()) {
        Log().Printf(LOG_ERROR, "Empty DominantBuildingType in project file");
        return false;
    }
    // Kept as written, so that a type this version does not know is not lost on the next save.
    m_csDominantBuildingType = value;
    m_dMF = GetChildDouble(root, "MF", 0.7);
    m_dLatitude = GetChildDouble(root, "Latitude", 45.47);
    m_dLongitude = GetChildDouble(root, "Longitude", 9.19);
    m_iYearToBeBuilt = GetChildInt(root, "YearToBeBuilt", 2050);
    m_iYearBuilt = GetChildInt(root, "YearBuilt", 0);
    m_dHdirHglob = GetChildDouble(root, "HdirHglob", GetDefaultHdirHglob(m_dLatitude));
    KeepProjectNumbersInRange(m_dLatitude, m_dLongitude, m_dMF, m_dHdirHglob);
    m_bPrintMe = ReadPrintMe(root);
    m_EnergyPrice = ReadOptionalValue(root, "EnergyPrice");
    m_CO2Factor = ReadOptionalValue(root, "CO2Factor");
    m_LeniTarget = ReadOptionalValue(root, "LENITarget");

    m_Products.Clear();
    m_Products.SetChanged(true);
    m_ProductIdsReadTwice.clear();
    if (const TiXmlElement* products = root->FirstChildElement("Products"))
        m_ProductIdsReadTwice = m_Products.ReadFromXml(products);

    const TiXmlElement* floorList = root->FirstChildElement("FloorList");
    if (!floorList) {
        Log().Printf(LOG_ERROR, "Missing FloorList element in the xml file.");
        return false;
    }
    // The floors whose rooms were parsed apart come first; those of a file of another shape are
    // whole in the tree.
    size_t f = 0, nextRoom = 0;
    for (const TiXmlElement* e = floorList->FirstChildElement("Floor"); e;
         e = e->NextSiblingElement("Floor"), ++f) {
        CLENIFloor floor;
        if (f < floorElements.size() && !floorRooms[f].empty()) {
            headTraces[f].Replay();
            if (!headRead[f]) return false;
            floor = std::move(floors[f]);
            bool taking = true;
            for (; nextRoom < rooms.size() && rooms[nextRoom].floor == f; ++nextRoom) {
                SplitRoom& r = rooms[nextRoom];
                if (!taking) continue;
                r.trace.Replay();
                taking = r.read && AddReadRoom(floor, std::move(r.room));
            }
            ReadFloorTail(e, floor);
        } else if (!ReadFloor(e, floor)) {
            return false;
        }
        if (FloorExists(floor.GetName())) {
            Log().Printf(LOG_ERROR, "Floor <%s> doubly defined in project file", floor.GetName().c_str());
            return false;
        }
        m_Floors.push_back(std::move(floor));
    }
    Log().Printf(LOG_INFO, "CLENIProject::RIP read %d floors", GetFloorCount());
    if (m_Floors.empty()) {
        Log().Printf(
            LOG_ERROR,
            "No floors defined in the project.\n<%s>\nUse the  DXF+  icon to add them, or\ndrag a DXF into "
            "the program.",
            path.c_str());
        return false;
    }
    return true;
}
