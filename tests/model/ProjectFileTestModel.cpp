#include "model/ProjectFileTestModel.h"

#include "app/TextUtils.h"

#include <cmath>

namespace {

Polygon Rect(double x0, double y0, double x1, double y1) {
    return {Point(x0, y0), Point(x1, y0), Point(x1, y1), Point(x0, y1)};
}

CLumTypeData Product(const std::string& refId, const std::string& desc, int flags, double maxPow,
                     double standby, double charge) {
    CLumTypeData p;
    p.SetRefId(refId);
    p.SetDesc(desc);
    p.SetTypeFlags(flags);
    p.SetProdConSys(2);
    p.SetMaxPow(maxPow);
    p.SetStandbyPow(standby);
    p.SetChargePow(charge);
    return p;
}

CLENIZone MakeZone(const std::string& name, const Polygon& polygon) {
    CLENIZone zone;
    zone.InitFromPolygon(name, polygon);
    return zone;
}

CLENIRoom ClassRoom() {
    CLENIRoom room;
    room.InitFromPolygon("Aula \xC3\xA8 1", Rect(0, 0, 8, 6), 3.2); // Aula è 1
    room.SetRoomType("[Educational buildings]Classroom(Fa=0.25)");
    room.SetMaintenanceFactor(0.8);
    room.SetWrkSrfHi(0.85);
    room.SetTd(1800);
    room.SetTn(200);
    room.SetDcajSource(DCAJ_USER);
    room.SetUserDcaj(2.5);
    room.SetShadingType(SHADING_GLARE_PROTECTION);
    room.SetPrintMe(true);

    CLENIZone z1 = MakeZone("Z1", Rect(0, 0, 4, 6));
    z1.SetControlTechnique("Automatic Daylight Responsive Off");
    z1.SetOccupancyControlSystem(
        "2.Manual On/Off switch + additional automatic sweeping extinction signal,  and  "
        "Auto on/Dimmed");
    z1.SetZoneIlluminance(300);
    z1.SetRealIlluminance(437.6); // written as 437
    z1.SetFa(0.25);
    z1.SetFoMode(FOMODE_FROM_FA);
    z1.SetConstantIlluminanceControl(true);
    z1.SetFcc(0.9);
    z1.SetConstantLumenOutput(true);
    z1.SetPrintMe(true);
    z1.GetLumList().AddLuminaire("LUM-36");
    z1.GetLumList().SetLuminaireCount("LUM-36", 4);
    z1.GetLumList().AddLuminaire("EM-2");
    room.AddZone(z1);
    room.AddZone(MakeZone("Z2", Rect(4, 0, 8, 6)));

    CLENIWindow w0; // vertical, facing the courtyard through a double facade
    w0.m_iWallId = 0;
    w0.m_iWindowId = 0;
    w0.m_dWidth = 1.2;
    w0.m_dHeight = 1.5;
    w0.m_dStart = 1.0;
    w0.m_dSillHeight = 0.9;
    w0.m_dTauD65 = 0.78;
    w0.m_dK1 = 0.9;
    w0.m_dK2 = 0.75;
    w0.m_dK3 = 0.8;
    w0.m_dFrontAngle = 15;
    w0.m_dSideAngle = 10.5;
    w0.m_dOverhangAngle = 30.25;
    w0.m_bHasGdf = true;
    w0.m_dGdfTau = 0.7;
    w0.m_dGdfK1 = 0.95;
    w0.m_dGdfK2 = 0.9;
    w0.m_dGdfK3 = 0.85;
    w0.m_csAtriumName = "Corte  interna";
    w0.m_LumList.AddLuminaire("LUM-36");
    room.AddWindow(w0);

    CLENIWindow w1; // vertical sloped
    w1.m_iWallId = 1;
    w1.m_iWindowId = 0;
    w1.m_dWidth = 2;
    w1.m_dHeight = 1;
    w1.m_dStart = 0.5;
    w1.m_dSillHeight = 1;
    w1.m_iVertWinType = VWT_VERTICAL_SLOPED;
    w1.m_dDistToWall = 0.4;
    w1.m_dGamma = 35;
    w1.m_dSlopeLength = 1.1;
    w1.m_dHeightToSlope = 2.2;
    w1.m_iSlopeType = 2;
    w1.m_dTD65SA = 0.45;
    room.AddWindow(w1);

    CLENIWindow w2 = w1; // horizontal sloped, second window of the same wall
    w2.m_iWindowId = 1;
    w2.m_dStart = 3;
    w2.m_iVertWinType = VWT_HORIZONTAL_SLOPED;
    w2.m_iSlopeType = 1;
    w2.m_csAtriumName = "Atrio 2";
    room.AddWindow(w2);

    CLENIRoofLight flat;
    flat.m_iId = 0;
    flat.m_dXOrig = 2;
    flat.m_dYOrig = 1.5;
    flat.m_LumList.AddLuminaire("LUM-36");
    room.AddRoofLight(flat);
    CLENIRoofLight shed;
    shed.m_iId = 1;
    shed.m_iType = RL_SHED;
    shed.SetOrientation(RLO_EAST_WEST);
    shed.m_dXLength = 3;
    shed.m_dYWidth = 0.8;
    shed.m_dTauD65Sna = 0.8;
    shed.m_dTauD65Sa = 0.4;
    shed.m_dKObl1 = 0.85;
    shed.m_dKObl2 = 0.8;
    shed.m_dKObl3 = 0.75;
    shed.m_dHw = 1.2;
    shed.m_dHg = 0.6;
    shed.m_dHs = 0.3;
    shed.m_dGammaF = 45;
    shed.m_dGammaW = 20;
    room.AddRoofLight(shed);
    return room;
}

} // namespace

CLENIProject BuildFullProject() {
    CLENIProject project;
    project.SetName("Scuola \xC3\xA8 bella"); // Scuola è bella
    project.SetDescription("\xC3\x9C"
                           "bung"); // Übung
    project.SetLocation("Citt\xC3\xA0");
    project.SetDominantBuildingType("Educational buildings");
    project.SetMaintenanceFactor(0.75);
    project.SetLatitude(41.9);
    project.SetLongitude(12.5);
    project.SetYearToBeBuilt(2030);
    project.SetYearBuilt(1990);
    project.SetHdirHglob(0.42);
    project.SetPrintMe(true);
    project.GetProductDataBase().AddLumData(Product("LUM-36", "Plafoniera 36 W", 3, 36, 0.5, 0));
    project.GetProductDataBase().AddLumData(Product("EM-2", "Emergenza \xC3\xA8", 4, 0, 0, 2)); // è

    CLENIFloor ground("Piano terra", 3.2);
    ground.SetInstanceCount(2);
    ground.SetPrintMe(true);
    CLENIRoom classRoom = ClassRoom();
    ground.AddRoom(classRoom);
    CLENIRoom corridor;
    corridor.InitFromPolygon("Corridoio", Rect(0, 6, 8, 8), 3.2);
    corridor.SetRoomType("[Educational buildings]Corridor(Fa=0.60)");
    corridor.AddZone(MakeZone("ZONE_01_(Corridoio)", Rect(0, 6, 8, 8)));
    ground.AddRoom(corridor);
    CLENIAtrium courtyard;
    courtyard.m_csName = "Corte  interna";
    courtyard.m_iKind = ATRIUM_COURTYARD;
    courtyard.m_dTrans = 0.5;
    courtyard.m_dK1 = 0.9;
    courtyard.m_dK2 = 0.8;
    courtyard.m_dK3 = 0.7;
    courtyard.SetPolygon(Rect(0, -6, 8, 0));
    ground.AddAtrium(courtyard);
    CLENIAtrium atrium;
    atrium.m_csName = "Atrio 2";
    atrium.SetPolygon(Rect(8, 0, 12, 6));
    ground.AddAtrium(atrium);
    project.AppendFloor(ground);

    CLENIFloor first("Primo piano", 3.0);
    CLENIRoom hall;
    hall.InitFromPolygon("Sala \xC3\x9C", {Point(0, 0), Point(10, 0), Point(10, 5), Point(5, 8), Point(0, 5)},
                         3.0);
    hall.SetRoomType("[Educational buildings]Hall(Fa=0.30)");
    hall.SetShadingType(SHADING_LIGHT_GUIDES);
    CLENIZone hallZone = MakeZone("Z1", Rect(0, 0, 10, 5));
    hallZone.SetOccupancyControlSystem("4.Manual on/Auto Off");
    hallZone.SetZoneIlluminance(750);
    hallZone.SetRealIlluminance(800);
    hall.AddZone(hallZone);
    CLENIRoofLight hallLight;
    hallLight.m_iId = 3;
    hall.AddRoofLight(hallLight);
    first.AddRoom(hall);
    project.AppendFloor(first);
    return project;
}

namespace {

class Differ {
  public:
    std::vector<std::string> diffs;
    std::string where;

    void Text(const char* field, const std::string& a, const std::string& b) {
        if (a != b) diffs.push_back(where + field + ": <" + a + "> vs <" + b + ">");
    }
    void Number(const char* field, double a, double b) {
        if (!(std::fabs(a - b) <= 1e-9))
            diffs.push_back(where + field + ": " + StrPrintf("%.9g vs %.9g", a, b));
    }
    void Polygons(const char* field, const Polygon& a, const Polygon& b) {
        if (a.size() != b.size()) {
            diffs.push_back(where + field + ": vertex count");
            return;
        }
        for (size_t i = 0; i < a.size(); ++i) {
            Number(field, a[i].x, b[i].x);
            Number(field, a[i].y, b[i].y);
            Number(field, a[i].z, b[i].z);
            Number(field, a[i].w, b[i].w);
        }
    }
    void Lists(const char* field, const CZoneObjList& a, const CZoneObjList& b) {
        if (!(a == b)) diffs.push_back(where + field);
    }
};

void DiffZone(Differ& d, const CLENIZone& a, const CLENIZone& b) {
    d.Text("zone name", a.GetName(), b.GetName());
    d.Text("control technique", a.GetControlTechnique(), b.GetControlTechnique());
    d.Text("ocs", a.GetOccupancyControlSystem(), b.GetOccupancyControlSystem());
    d.Polygons("zone polygon", a.GetPolygon(), b.GetPolygon());
    d.Lists("zone luminaires", a.GetLumList(), b.GetLumList());
    d.Number("zone lux", a.GetZoneIlluminance(), b.GetZoneIlluminance());
    d.Number("real lux", a.GetRealIlluminance(), b.GetRealIlluminance());
    d.Number("fa", a.GetFa(), b.GetFa());
    d.Number("fo mode", a.GetFoMode(), b.GetFoMode());
    d.Number("cic", a.GetConstantIlluminanceControl(), b.GetConstantIlluminanceControl());
    d.Number("fcc", a.GetFcc(), b.GetFcc());
    d.Number("clo", a.GetConstantLumenOutput(), b.GetConstantLumenOutput());
    d.Number("zone print", a.GetPrintMe(), b.GetPrintMe());
}

void DiffWindow(Differ& d, const CLENIWindow& a, const CLENIWindow& b) {
    d.Number("wide", a.m_dWidth, b.m_dWidth);
    d.Number("high", a.m_dHeight, b.m_dHeight);
    d.Number("y", a.m_dSillHeight, b.m_dSillHeight);
    d.Number("x", a.m_dStart, b.m_dStart);
    d.Number("wallid", a.m_iWallId, b.m_iWallId);
    d.Number("windowid", a.m_iWindowId, b.m_iWindowId);
    d.Number("td65", a.m_dTauD65, b.m_dTauD65);
    d.Number("k1", a.m_dK1, b.m_dK1);
    d.Number("k2", a.m_dK2, b.m_dK2);
    d.Number("k3", a.m_dK3, b.m_dK3);
    d.Number("frontangle", a.m_dFrontAngle, b.m_dFrontAngle);
    d.Number("sideangle", a.m_dSideAngle, b.m_dSideAngle);
    d.Number("overhangangle", a.m_dOverhangAngle, b.m_dOverhangAngle);
    d.Number("hasgdf", a.m_bHasGdf, b.m_bHasGdf);
    d.Number("gdftau", a.m_dGdfTau, b.m_dGdfTau);
    d.Number("gdfk1", a.m_dGdfK1, b.m_dGdfK1);
    d.Number("gdfk2", a.m_dGdfK2, b.m_dGdfK2);
    d.Number("gdfk3", a.m_dGdfK3, b.m_dGdfK3);
    d.Text("atrium name", a.m_csAtriumName, b.m_csAtriumName);
    d.Lists("window luminaires", a.m_LumList, b.m_LumList);
    d.Number("type", a.m_iVertWinType, b.m_iVertWinType);
    d.Number("slope length", a.m_dSlopeLength, b.m_dSlopeLength);
    d.Number("gamma", a.m_dGamma, b.m_dGamma);
    d.Number("dist to wall", a.m_dDistToWall, b.m_dDistToWall);
    d.Number("height to slope", a.m_dHeightToSlope, b.m_dHeightToSlope);
    d.Number("slope type", a.m_iSlopeType, b.m_iSlopeType);
    d.Number("td65sa", a.m_dTD65SA, b.m_dTD65SA);
}

void DiffRoofLight(Differ& d, const CLENIRoofLight& a, const CLENIRoofLight& b) {
    d.Number("ywidth", a.m_dYWidth, b.m_dYWidth);
    d.Number("xlength", a.m_dXLength, b.m_dXLength);
    d.Number("xorig", a.m_dXOrig, b.m_dXOrig);
    d.Number("yorig", a.m_dYOrig, b.m_dYOrig);
    d.Number("zorig", a.m_dZOrig, b.m_dZOrig);
    d.Number("id", a.m_iId, b.m_iId);
    d.Number("type", a.m_iType, b.m_iType);
    d.Number("orient", a.GetOrientation(), b.GetOrientation());
    d.Number("tausna", a.m_dTauD65Sna, b.m_dTauD65Sna);
    d.Number("tausa", a.m_dTauD65Sa, b.m_dTauD65Sa);
    d.Number("kobl1", a.m_dKObl1, b.m_dKObl1);
    d.Number("kobl2", a.m_dKObl2, b.m_dKObl2);
    d.Number("kobl3", a.m_dKObl3, b.m_dKObl3);
    d.Number("hw", a.m_dHw, b.m_dHw);
    d.Number("hg", a.m_dHg, b.m_dHg);
    d.Number("hs", a.m_dHs, b.m_dHs);
    d.Number("gammaf", a.m_dGammaF, b.m_dGammaF);
    d.Number("gammaw", a.m_dGammaW, b.m_dGammaW);
    d.Lists("roof light luminaires", a.m_LumList, b.m_LumList);
}

void DiffRoom(Differ& d, const CLENIRoom& a, const CLENIRoom& b) {
    d.Text("room name", a.GetName(), b.GetName());
    d.Text("room type", a.GetRoomType(), b.GetRoomType());
    d.Text("floor name", a.GetFloorName(), b.GetFloorName());
    d.Number("td", a.GetTd(), b.GetTd());
    d.Number("tn", a.GetTn(), b.GetTn());
    d.Number("hta", a.GetWrkSrfHi(), b.GetWrkSrfHi());
    d.Number("mf", a.GetMaintenanceFactor(), b.GetMaintenanceFactor());
    d.Number("height", a.GetHeight(), b.GetHeight());
    d.Polygons("room polygon", a.GetPolygon(), b.GetPolygon());
    d.Number("dcaj source", a.GetDcajSource(), b.GetDcajSource());
    d.Number("user dcaj", a.GetUserDcaj(), b.GetUserDcaj());
    d.Number("shading", a.GetShadingType(), b.GetShadingType());
    d.Number("room print", a.GetPrintMe(), b.GetPrintMe());
    const std::string where = d.where;
    if (a.GetZoneCount() != b.GetZoneCount()) d.diffs.push_back(where + "zone count");
    for (int i = 0; i < std::min(a.GetZoneCount(), b.GetZoneCount()); ++i) {
        d.where = where + "zone " + std::to_string(i) + ": ";
        DiffZone(d, a.GetZones()[i], b.GetZones()[i]);
    }
    if (a.GetWindowCount() != b.GetWindowCount()) d.diffs.push_back(where + "window count");
    for (int i = 0; i < std::min(a.GetWindowCount(), b.GetWindowCount()); ++i) {
        d.where = where + "window " + std::to_string(i) + ": ";
        DiffWindow(d, a.GetWindows()[i], b.GetWindows()[i]);
    }
    if (a.GetRoofLightCount() != b.GetRoofLightCount()) d.diffs.push_back(where + "roof light count");
    for (int i = 0; i < std::min(a.GetRoofLightCount(), b.GetRoofLightCount()); ++i) {
        d.where = where + "roof light " + std::to_string(i) + ": ";
        DiffRoofLight(d, a.GetRoofLights()[i], b.GetRoofLights()[i]);
    }
    d.where = where;
}

void DiffFloor(Differ& d, const CLENIFloor& a, const CLENIFloor& b) {
    d.Text("floor name", a.GetName(), b.GetName());
    d.Number("hi", a.GetHeight(), b.GetHeight());
    d.Number("count", a.GetInstanceCount(), b.GetInstanceCount());
    d.Number("floor print", a.GetPrintMe(), b.GetPrintMe());
    const std::string where = d.where;
    if (a.GetRoomCount() != b.GetRoomCount()) d.diffs.push_back(where + "room count");
    for (int i = 0; i < std::min(a.GetRoomCount(), b.GetRoomCount()); ++i) {
        d.where = where + "room " + std::to_string(i) + ": ";
        DiffRoom(d, a.GetRooms()[i], b.GetRooms()[i]);
    }
    if (a.GetAtriumCount() != b.GetAtriumCount()) d.diffs.push_back(where + "atrium count");
    for (int i = 0; i < std::min(a.GetAtriumCount(), b.GetAtriumCount()); ++i) {
        const CLENIAtrium& x = a.GetAtria()[i];
        const CLENIAtrium& y = b.GetAtria()[i];
        d.where = where + "atrium " + std::to_string(i) + ": ";
        d.Text("name", x.m_csName, y.m_csName);
        d.Polygons("polygon", x.m_Polygon, y.m_Polygon);
        d.Number("kind", x.m_iKind, y.m_iKind);
        d.Number("trans", x.m_dTrans, y.m_dTrans);
        d.Number("k1", x.m_dK1, y.m_dK1);
        d.Number("k2", x.m_dK2, y.m_dK2);
        d.Number("k3", x.m_dK3, y.m_dK3);
    }
    d.where = where;
}

} // namespace

std::vector<std::string> DiffProjects(const CLENIProject& a, const CLENIProject& b) {
    Differ d;
    d.Text("name", a.GetName(), b.GetName());
    d.Text("description", a.GetDescription(), b.GetDescription());
    d.Text("location", a.GetLocation(), b.GetLocation());
    d.Text("building type", a.GetDominantBuildingType(), b.GetDominantBuildingType());
    d.Number("mf", a.GetMaintenanceFactor(), b.GetMaintenanceFactor());
    d.Number("latitude", a.GetLatitude(), b.GetLatitude());
    d.Number("longitude", a.GetLongitude(), b.GetLongitude());
    d.Number("hdirhglob", a.GetHdirHglob(), b.GetHdirHglob());
    d.Number("year to be built", a.GetYearToBeBuilt(), b.GetYearToBeBuilt());
    d.Number("year built", a.GetYearBuilt(), b.GetYearBuilt());
    d.Number("print", a.GetPrintMe(), b.GetPrintMe());
    if (!(a.GetProductDataBase().GetProducts() == b.GetProductDataBase().GetProducts()))
        d.diffs.push_back("products");
    if (a.GetFloorCount() != b.GetFloorCount()) d.diffs.push_back("floor count");
    for (int i = 0; i < std::min(a.GetFloorCount(), b.GetFloorCount()); ++i) {
        d.where = "floor " + std::to_string(i) + ": ";
        DiffFloor(d, a.GetFloors()[i], b.GetFloors()[i]);
    }
    return d.diffs;
}
