#include "model/ProjectFileTestModel.h"

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
    project.GetProducts().AddLumData(Product("LUM-36", "Plafoniera 36 W", 3, 36, 0.5, 0));
    project.GetProducts().AddLumData(Product("EM-2", "Emergenza \xC3\xA8", 4, 0, 0, 2)); // è

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
