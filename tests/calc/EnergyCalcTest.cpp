// Zone, room, floor and building energies and LENI, with their calculation logs.

#include "calc/EnergyCalc.h"
#include "calc/CalcLog.h"
#include "calc/RoomPassMemo.h"
#include "dxf/Geometry.h"
#include "model/LENIProject.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

Polygon Rect(double x0, double y0, double x1, double y1) {
    return {Point(x0, y0), Point(x1, y0), Point(x1, y1), Point(x0, y1)};
}

CLumTypeData Product(const std::string& refId, double watts, double standby, double charging = 0.0) {
    CLumTypeData p;
    p.SetRefId(refId);
    p.SetMaxPow(watts);
    p.SetStandbyPow(standby);
    p.SetChargePow(charging);
    return p;
}

CLENIZone Zone(const std::string& name, const Polygon& outline, const std::string& refId = "",
               int count = 0) {
    CLENIZone zone;
    zone.InitFromPolygon(name, outline);
    zone.SetFoMode(FOMODE_ONE);
    if (count > 0) {
        zone.GetLumList().AddLuminaire(refId);
        zone.GetLumList().SetLuminaireCount(refId, count);
    }
    return zone;
}

CLENIRoom Room(const std::string& name, const Polygon& outline, int td = 2250, int tn = 250) {
    CLENIRoom room;
    room.InitFromPolygon(name, outline, 3.0);
    room.SetTd(td);
    room.SetTn(tn);
    return room;
}

void AddLuminaires(CZoneObjList& list, const std::string& refId, int count) {
    list.AddLuminaire(refId);
    list.SetLuminaireCount(refId, count);
}

// The worked example: a 10 x 5 m office (50 m2), td 2250, tn 250, one zone with ten 36 W
// luminaires of 0.5 W standby each, Fo 1, no constant-illuminance options, no openings.
struct ExampleBuilding {
    TempDir dir{"energy"};
    CLENIProject project;

    explicit ExampleBuilding(int instances = 1) {
        project.SetProjectFolder(dir.path().string());
        project.SetName("Villa");
        project.GetProducts().AddLumData(Product("T36", 36.0, 0.5));
        CLENIFloor floor("Ground", 3.0);
        floor.SetInstanceCount(instances);
        CLENIRoom room = Room("Kitchen", Rect(0, 0, 10, 5));
        room.AddZone(Zone("Z1", Rect(0, 0, 10, 5), "T36", 10));
        floor.AddRoom(room);
        project.AppendFloor(floor);
    }
    const CLENIRoom& room() const { return project.GetFloors()[0].GetRooms()[0]; }
    const CLENIFloor& floor() const { return project.GetFloors()[0]; }
    CLENIRoom& editRoom() { return *project.FindRoom("Ground", "Kitchen"); }
};

int CountLines(const std::vector<std::string>& lines, const std::string& part) {
    return static_cast<int>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; }));
}

} // namespace

TEST(EnergyCalcTest, WorkedExampleOfOneZoneWithoutWindows) {
    ExampleBuilding b;
    const CLumSysDataBase& db = b.project.GetProducts();
    EXPECT_NEAR(GetZoneEnergyAND(b.room().GetZones()[0], b.room(), 0, db), 900.0, 1e-9);
    // January: 188 + 21 hours.
    EXPECT_NEAR(GetZoneEnergyAND(b.room().GetZones()[0], b.room(), 1, db), 75.24, 1e-9);
    EXPECT_NEAR(GetParasiticEnergy(b.room(), 0, db), 43.8, 1e-9);
    EXPECT_NEAR(GetParasiticEnergy(b.room(), 7, db), 3.65, 1e-9);

    LeniTimeStepResult sub = CalculateSubLeni(b.room(), b.project, 0);
    EXPECT_NEAR(sub.area, 50.0, 1e-9);
    EXPECT_NEAR(sub.GetLENI(), 18.876, 1e-9);
    LeniTimeStepResult building = CalculateAnnualLENI(b.project, 0);
    EXPECT_NEAR(building.Wl, 900.0, 1e-9);
    EXPECT_NEAR(building.Wp, 43.8, 1e-9);
    EXPECT_NEAR(building.GetLENI(), 18.876, 1e-9);
    LeniTimeStepResult january = CalculateAnnualLENI(b.project, 1);
    EXPECT_NEAR(january.Wl + january.Wp, 75.24 + 3.65, 1e-9);
    EXPECT_EQ(january.timeStep, 1);
}

TEST(EnergyCalcTest, MonthlyHoursAreATwelfthRoundedHalfUp) {
    struct Case {
        int td, tn, monthlyHours;
    } cases[] = {{1820, 1680, 152 + 140}, {2250, 250, 188 + 21}, {0, 0, 0}, {6, 0, 1}, {5, 0, 0}};
    for (const Case& c : cases) {
        CLENIProject project;
        project.GetProducts().AddLumData(Product("K", 1000.0, 0.0));
        CLENIRoom room = Room("R", Rect(0, 0, 2, 2), c.td, c.tn);
        room.AddZone(Zone("Z", Rect(0, 0, 2, 2), "K", 1));
        // 1 kW for an hour is 1 kWh, so the energy is the hours.
        EXPECT_NEAR(GetZoneEnergyAND(room.GetZones()[0], room, 5, project.GetProducts()), c.monthlyHours,
                    1e-9)
            << c.td << " " << c.tn;
    }
}

TEST(EnergyCalcTest, FloorInstancesCountInTheBuildingOnly) {
    ExampleBuilding b(3);
    LeniTimeStepResult building = CalculateAnnualLENI(b.project, 0);
    EXPECT_NEAR(building.area, 150.0, 1e-9);
    EXPECT_NEAR(building.Wl, 2700.0, 1e-9);
    EXPECT_NEAR(building.Wp, 131.4, 1e-9);
    LeniTimeStepResult floor = CalculateLENIofFloor(b.project, "ground", 0);
    EXPECT_NEAR(floor.area, 50.0, 1e-9);
    EXPECT_NEAR(floor.Wl, 900.0, 1e-9);
    EXPECT_NEAR(floor.GetLENI(), 18.876, 1e-9);
    EXPECT_NEAR(GetInstalledPower(b.project, Lighting), 1080.0, 1e-9);

    auto lines = ReadLines(b.dir / "LENI_CALC_LOG_Villa.TXT");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "CalculateAnnualLENI starting for project <Villa>");
    EXPECT_EQ(lines[1], "  Floor Ground Area= 150.00sqmt (3 instances of this floor)");
    EXPECT_EQ(lines[lines.size() - 2], "Building Energy=2831.40kWh, Building Area= 150.00sqmt");
    EXPECT_EQ(lines.back(), "Building Annual LENI   18.88kWh");
    // The room section is written once for the energies and once more for the energy line.
    EXPECT_EQ(CountLines(lines, "    Room Energy = 900.00"), 2);

    auto floorLines = ReadLines(b.dir / "LENI_CALC_LOG_FLOOR_ground.TXT");
    ASSERT_FALSE(floorLines.empty());
    EXPECT_EQ(floorLines[0],
              "CalculateLENIofFloor starting for project <Villa> floor <ground> time=<Annual>");
    EXPECT_EQ(CountLines(floorLines, "Floor Energy= 943.80kWh, Floor Area=  50.00sqmt"), 1);
    EXPECT_EQ(CountLines(floorLines, "    Room Energy = 900.00"), 2);
    EXPECT_EQ(floorLines.back(), "Floor Annual LENI   18.88kWh");
    EXPECT_FALSE(IsCalcLoggerOpen());
}

TEST(EnergyCalcTest, UnknownFloorGivesTheEmptyResultAndClosesItsLog) {
    ExampleBuilding b;
    LogRecorder log;
    LeniTimeStepResult r = CalculateLENIofFloor(b.project, "Attic", 3);
    EXPECT_DOUBLE_EQ(r.area, 0.0001);
    EXPECT_EQ(r.Wl + r.Wp, 0.0);
    EXPECT_EQ(r.GetLENI(), 0.0);
    EXPECT_FALSE(IsCalcLoggerOpen());
    EXPECT_EQ(log.Count("CLENIProject::GFBN unrecognised floor: <Attic>", LOG_INFO), 1);
    EXPECT_EQ(log.Count("CENIProject::CLENIOF floor not found: <Attic>", LOG_ERROR), 1);
    auto lines = ReadLines(b.dir / "LENI_CALC_LOG_FLOOR_Attic.TXT");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "CalculateLENIofFloor starting for project <Villa> floor <Attic> time=<March>");
}

TEST(EnergyCalcTest, SubLeniOpensTheRoomLogOnlyWhenNoneIsOpen) {
    ExampleBuilding b;
    CalculateSubLeni(b.room(), b.project, 3);
    auto lines = ReadLines(b.dir / "SUB_LENI_CALC_LOG_Ground_Kitchen_March_.TXT");
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], "  SubLeni of room <Kitchen>, (project <Villa>) TimeStep <March> starting...");
    EXPECT_EQ(lines[1], "  Room Kitchen MF = 0.70...");
    EXPECT_EQ(lines[2], "  EnergyWp=3.650kWh (Standby,Emergency,Charging...)");
    EXPECT_EQ(lines[lines.size() - 3],
              "  kSubLeni = (EnergyWl[75.240] + EnergyWp[3.650]) / kRoomArea[50.000]");
    EXPECT_EQ(lines[lines.size() - 2], "  kSubLeni = TotalEnergy[78.890] / kRoomArea[50.000]");
    EXPECT_EQ(lines.back(), "  kSubLeni = 1.578");
    EXPECT_FALSE(IsCalcLoggerOpen());

    // Inside another calculation's log it writes there and leaves the log open.
    ASSERT_TRUE(StartCalcLogger((b.dir / "outer.txt").string()));
    CalculateSubLeni(b.room(), b.project, 4);
    EXPECT_TRUE(IsCalcLoggerOpen());
    StopCalcLogger();
    EXPECT_FALSE(fs::exists(b.dir / "SUB_LENI_CALC_LOG_Ground_Kitchen_April_.TXT"));
    EXPECT_EQ(CountLines(ReadLines(b.dir / "outer.txt"), "TimeStep <April> starting"), 1);
}

TEST(EnergyCalcTest, RoomsThatCannotBeCalculated) {
    ExampleBuilding b;
    CLENIWindow window;
    window.m_iWallId = 0;
    window.m_iWindowId = 0;
    window.m_dStart = 1;
    window.m_dWidth = 1;
    window.m_dHeight = 1.5;
    window.m_dSillHeight = 1;
    AddLuminaires(window.m_LumList, "T36", 4); // 2 W standby
    CLENIRoom bare = Room("Store", Rect(10, 0, 14, 5));
    bare.AddWindow(window);
    b.project.GetFloorByIndex(0)->AddRoom(bare);
    const CLENIRoom& store = b.project.GetFloors()[0].GetRooms()[1];

    LogRecorder log;
    // Without zones the sub-LENI is empty, yet the windows' standby still counts in the floor.
    LeniTimeStepResult r = CalculateSubLeni(store, b.project, 0);
    EXPECT_EQ(r.Wl + r.Wp, 0.0);
    EXPECT_DOUBLE_EQ(r.area, 0.0001);
    EXPECT_NEAR(GetParasiticEnergy(b.floor(), 0, b.project.GetProducts()), 43.8 + 2 * 8.76, 1e-9);
    EXPECT_TRUE(log.messages.empty());

    CLENIRoom orphan = b.room();
    orphan.SetFloorName("");
    r = CalculateSubLeni(orphan, b.project, 0);
    EXPECT_DOUBLE_EQ(r.area, 0.0001);
    EXPECT_EQ(log.Count("CLENIRoom::CSL null parent floor", LOG_ERROR), 1);

    // A room naming a floor the project lacks: every zone's energy is 0, its AND part too.
    orphan.SetFloorName("Basement");
    EXPECT_EQ(GetLightingEnergy(orphan, b.project, 0), 0.0);
    EXPECT_EQ(log.Count("Could not find floor Basement in project", LOG_ERROR), 1);
}

TEST(EnergyCalcTest, AWindowOfUnknownTypeStopsTheZonesDaylitEnergy) {
    ExampleBuilding b;
    CLENIWindow window;
    window.m_iWallId = 0;
    window.m_iWindowId = 1;
    window.m_dWidth = 1;
    window.m_dHeight = 1;
    window.m_iVertWinType = 3;
    AddLuminaires(window.m_LumList, "T36", 2);
    b.editRoom().AddWindow(window);
    CLENIRoofLight roofLight;
    roofLight.m_iId = 0;
    AddLuminaires(roofLight.m_LumList, "T36", 2);
    b.editRoom().AddRoofLight(roofLight);

    LogRecorder log;
    EXPECT_EQ(GetZoneEnergyAD(b.room().GetZones()[0], b.project, b.room(), b.floor(), 0), 0.0);
    EXPECT_EQ(log.Count("Unhandled LeniWinType: 3", LOG_ERROR), 1);
}

TEST(EnergyCalcTest, SamplingGridMeasuresTheAreaInsideTheZone) {
    const Polygon zone = Rect(0, 0, 6, 6);
    const ZoneSamplingGrid grid = GetZoneSamplingGrid(zone);
    EXPECT_DOUBLE_EQ(grid.f, 0.02);
    EXPECT_GE(grid.nx, 300);
    struct Case {
        Polygon polygon;
        double area;
    } cases[] = {
        {Rect(-1, -1, 3, 7), 18.0},          // the left half
        {Rect(1.02, 1.02, 2.02, 2.02), 1.0}, // a square inside, edges between cell centres
        {Rect(10, 10, 12, 12), 0.0},         // outside
        {Rect(-5, -5, 20, 20), 36.0},        // all of it
    };
    for (const Case& c : cases)
        EXPECT_NEAR(GetAreaInZone(zone, c.polygon, grid), c.area, 1e-9) << c.area;

    // A zone without extent measures nothing.
    const Polygon point = {Point(1, 1), Point(1, 1), Point(1, 1)};
    EXPECT_EQ(GetAreaInZone(point, Rect(0, 0, 2, 2), GetZoneSamplingGrid(point)), 0.0);
}

TEST(EnergyCalcTest, AverageFoIsWeightedByZoneAreaAndInstances) {
    CLENIProject project;
    CLENIFloor one("One", 3.0), two("Two", 3.0);
    two.SetInstanceCount(2);
    CLENIRoom a = Room("A", Rect(0, 0, 5, 2));
    a.AddZone(Zone("Fo1", Rect(0, 0, 5, 2))); // 10 m2, Fo 1
    one.AddRoom(a);
    CLENIRoom c = Room("C", Rect(0, 0, 5, 4));
    CLENIZone fromFa = Zone("Fa05", Rect(0, 0, 5, 4)); // 20 m2 x 2, Fo 0.7
    fromFa.SetFoMode(FOMODE_FROM_FA);
    fromFa.SetFa(0.5);
    c.AddZone(fromFa);
    two.AddRoom(c);
    project.AppendFloor(one);
    project.AppendFloor(two);
    EXPECT_NEAR(GetAverageFo(project), (10 * 1.0 + 40 * 0.7) / 50, 1e-12);
    EXPECT_EQ(GetAverageFo(CLENIProject()), 0.0);
}

// Each window and roof light is billed by one zone of its room: the zone holding the largest part
// of its daylight area, the first on ties and so the first when the area lies in none.
class OpeningAttributionTest : public ::testing::Test {
  protected:
    TempDir dir{"attribution"};
    CLENIProject project;

    void SetUp() override {
        project.SetProjectFolder(dir.path().string());
        project.SetName("Split");
        project.GetProducts().AddLumData(Product("W100", 100.0, 0.0));
    }

    // A 10 x 6 m room split into a west and an east zone (or a single zone), one south window of
    // 100 W starting at windowStart.
    void Build(bool twoZones, double windowStart, const Polygon& west = Rect(0, 0, 5, 6),
               const Polygon& east = Rect(5, 0, 10, 6)) {
        CLENIFloor floor("F", 3.0);
        CLENIRoom room = Room("R", Rect(0, 0, 10, 6));
        if (twoZones) {
            room.AddZone(Zone("West", west));
            room.AddZone(Zone("East", east));
        } else {
            room.AddZone(Zone("All", Rect(0, 0, 10, 6)));
        }
        CLENIWindow window;
        window.m_iWallId = 0;
        window.m_iWindowId = 0;
        window.m_dStart = windowStart;
        window.m_dWidth = 1.0;
        window.m_dHeight = 1.2;
        window.m_dSillHeight = 1.0;
        AddLuminaires(window.m_LumList, "W100", 1);
        room.AddWindow(window);
        floor.AddRoom(room);
        project.AppendFloor(floor);
    }
    const CLENIRoom& room() const { return project.GetFloors()[0].GetRooms()[0]; }
    double AD(int zone) const {
        return GetZoneEnergyAD(room().GetZones()[zone], project, room(), project.GetFloors()[0], 0);
    }
};

TEST_F(OpeningAttributionTest, TheZoneHoldingMostOfTheDaylightAreaBillsTheWindow) {
    struct Case {
        double start;
        int billing;
    } cases[] = {{1.0, 0}, {7.0, 1}, {4.2, 0}, {4.9, 1}};
    for (const Case& c : cases) {
        project = CLENIProject();
        SetUp();
        Build(true, c.start);
        EXPECT_EQ(GetBillingZoneIndex(room(), room().GetWindowDaylightArea(room().GetWindows()[0])),
                  c.billing);
        const double billed = AD(c.billing), other = AD(1 - c.billing);
        EXPECT_GT(billed, 0.0) << c.start;
        EXPECT_EQ(other, 0.0) << c.start;
    }
}

TEST_F(OpeningAttributionTest, AnAreaInNoZoneGoesToTheFirstZone) {
    // Both zones lie at the back of the room, beyond the window's daylight area (4.5 m deep at most).
    Build(true, 4.5, Rect(0, 5, 5, 6), Rect(5, 5, 10, 6));
    EXPECT_GT(AD(0), 0.0);
    EXPECT_EQ(AD(1), 0.0);
}

TEST_F(OpeningAttributionTest, TheBuildingCountsTheWindowOnce) {
    Build(true, 7.0);
    CalculateAnnualLENI(project, 0);
    auto lines = ReadLines(dir / "LENI_CALC_LOG_Split.TXT");
    // Two passes over the room, one window line pair per pass, all in the east zone's block.
    EXPECT_EQ(CountLines(lines, "AD (Window 0 0) energy = kPn[100.00]"), 2);
    EXPECT_EQ(CountLines(lines, "Zone East AD (Window 0 0)"), 4);
    EXPECT_EQ(CountLines(lines, "Zone West AD (Window"), 0);
    EXPECT_EQ(CountLines(lines, "  Calculated AD normal energy in zone West = 0.00"), 2);
    // Nothing about the window is written for the zone that does not bill it.
    EXPECT_EQ(CountLines(lines, "GetDcajOfWindow, clipped"), 2);
}

TEST_F(OpeningAttributionTest, SlopedWindowsAreBilledOnceInTheirEquivalentForm) {
    Build(true, 7.0);
    CLENIRoom& room = *project.FindRoom("F", "R");
    CLENIWindow sloped = room.GetWindows()[0];
    room.RemoveWindow(0, 0);
    sloped.m_iVertWinType = VWT_VERTICAL_SLOPED; // east zone: turned upright
    sloped.m_dGamma = 60;
    sloped.m_dSlopeLength = 1.2;
    sloped.m_dDistToWall = 0.3;
    sloped.m_dHeightToSlope = 1.0;
    room.AddWindow(sloped);
    CLENIWindow horizontal = sloped; // west zone: counted as a roof light
    horizontal.m_iWindowId = 1;
    horizontal.m_dStart = 1.0;
    horizontal.m_iVertWinType = VWT_HORIZONTAL_SLOPED;
    room.AddWindow(horizontal);

    ASSERT_TRUE(StartCalcLogger((dir / "sloped.txt").string()));
    const double west = AD(0), east = AD(1);
    StopCalcLogger();
    EXPECT_GT(west, 0.0);
    EXPECT_GT(east, 0.0);
    auto lines = ReadLines(dir / "sloped.txt");
    EXPECT_EQ(
        CountLines(lines, "        Get vertical equivalent of sloped window, slope=  60.0, lunghezza=   1.2"),
        1);
    EXPECT_EQ(CountLines(lines, "        vertical height of rotated window =  1.200"), 1);
    EXPECT_EQ(CountLines(lines, "    Zone East AD (Window 0 0) energy = "), 2);
    EXPECT_EQ(CountLines(lines, "    Zone West AD (Roof Light -1) energy = "), 2);
    EXPECT_EQ(CountLines(lines, "AD (Window 0 1)"), 0);
    EXPECT_EQ(CountLines(lines, "Zone East AD (Roof Light"), 0);
}

// The lists' powers are kept per room with the revisions of the room and of both databases: a
// product changed in either is seen at once, and a product neither has is reported every time.
TEST(EnergyCalcTest, KeptPowersFollowTheProductsAndAMissingProductIsReportedEachTime) {
    ExampleBuilding b;
    const CLumSysDataBase& db = b.project.GetProducts();
    EXPECT_NEAR(GetInstalledPower(b.room(), Lighting, db), 360.0, 1e-9);
    EXPECT_NEAR(GetParasiticEnergy(b.room(), 0, db), 43.8, 1e-9);

    b.project.GetProducts().ReplaceLumData(Product("T36", 40.0, 1.0));
    EXPECT_NEAR(GetInstalledPower(b.room(), Lighting, db), 400.0, 1e-9);
    EXPECT_NEAR(GetParasiticEnergy(b.room(), 0, db), 87.6, 1e-9);

    // A product only the global database has: changed there, seen here.
    CLumSysDataBase::ResetGlobal();
    CLumSysDataBase::Global().AddLumData(Product("G18", 18.0, 0.0, 1.0));
    b.editRoom().FindZone("Z1")->GetLumList().AddLuminaire("G18");
    EXPECT_NEAR(GetInstalledPower(b.room(), Lighting, db), 418.0, 1e-9);
    CLumSysDataBase::Global().ReplaceLumData(Product("G18", 20.0, 0.0, 1.0));
    EXPECT_NEAR(GetInstalledPower(b.room(), Lighting, db), 420.0, 1e-9);

    CLumSysDataBase::Global().DeleteObject("G18");
    LogRecorder log;
    EXPECT_NEAR(GetInstalledPower(b.room(), Lighting, db), 400.0, 1e-9);
    EXPECT_NEAR(GetParasiticEnergy(b.room(), 0, db), 87.6, 1e-9);
    EXPECT_EQ(log.Count("CLumSysDataBase::GLDFRI could not find luminaire <G18>", LOG_ERROR), 2);
    {
        // Within one calculation every month has the floor's figure of the first month, yet each
        // month still reports the missing product.
        CRoomPassMemo pass;
        for (unsigned month = 1; month <= 3; ++month)
            EXPECT_NEAR(GetParasiticEnergy(b.floor(), month, db), 7.3, 1e-9);
    }
    EXPECT_EQ(log.Count("CLumSysDataBase::GLDFRI could not find luminaire <G18>", LOG_ERROR), 5);
    CLumSysDataBase::ResetGlobal();
}
