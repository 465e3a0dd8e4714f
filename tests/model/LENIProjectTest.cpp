#include "ModelTestSupport.h"

namespace {

CLENIProject ThreeFloors() {
    CLENIProject project;
    project.AddFloor("Ground", 3.0, 0, "");
    project.AddFloor("First", 3.2, 0, "");
    project.AddFloor("Roof", 2.8, 0, "");
    return project;
}

std::vector<std::string> FloorNames(const CLENIProject& project) {
    std::vector<std::string> names;
    for (const CLENIFloor& floor : project.GetFloors())
        names.push_back(floor.GetName());
    return names;
}

} // namespace

TEST(LENIProjectTest, NewAndClearedProjectHoldTheDefaults) {
    CLENIProject project;
    EXPECT_DOUBLE_EQ(project.GetMaintenanceFactor(), 0.7);
    EXPECT_DOUBLE_EQ(project.GetLatitude(), 45.47);
    EXPECT_DOUBLE_EQ(project.GetLongitude(), 9.19);
    EXPECT_DOUBLE_EQ(project.GetHdirHglob(), 0.39);
    EXPECT_EQ(project.GetYearToBeBuilt(), 0);

    project.SetName("Villa");
    project.SetDescription("two storeys");
    project.SetLocation("Milano");
    project.SetYearBuilt(1990);
    project.SetLatitude(30.0);
    project.SetPrintMe(true);
    project.SetProjectFolder("C:\\work\\Villa\\");
    project.AddFloor("Ground", 3.0, 0, "");
    project.Clear();
    EXPECT_EQ(project.GetName(), "");
    EXPECT_EQ(project.GetProjectFolder(), "");
    EXPECT_DOUBLE_EQ(project.GetLatitude(), 45.47);
    EXPECT_DOUBLE_EQ(project.GetHdirHglob(), 0.39);
    EXPECT_FALSE(project.GetPrintMe());
    EXPECT_EQ(project.GetFloorCount(), 0);
    // Left alone by Clear.
    EXPECT_EQ(project.GetDescription(), "two storeys");
    EXPECT_EQ(project.GetLocation(), "Milano");
    EXPECT_EQ(project.GetYearBuilt(), 1990);
}

TEST(LENIProjectTest, HdirHglobFollowsTheLatitudeTable) {
    const struct {
        double latitude, expected;
    } cases[] = {{-10, 0.34},   {15, 0.34}, {15.01, 0.36}, {30, 0.36}, {45, 0.45},
                 {45.47, 0.39}, {60, 0.39}, {75, 0.40},    {80, 0.4}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(CLENIProject::GetDefaultHdirHglob(c.latitude), c.expected) << c.latitude;
}

TEST(LENIProjectTest, ProjectFolderLosesItsTrailingSeparator) {
    CLENIProject project;
    project.SetProjectFolder("C:\\Projects\\Villa\\");
    EXPECT_EQ(project.GetProjectFolder(), "C:\\Projects\\Villa");
    project.SetProjectFolder("/home/me/Villa/");
    EXPECT_EQ(project.GetProjectFolder(), "/home/me/Villa");
}

TEST(LENIProjectTest, DominantBuildingTypeMustBeInTheTable) {
    CLENIProject project;
    EXPECT_TRUE(project.SetDominantBuildingType("Offices"));
    EXPECT_FALSE(project.SetDominantBuildingType("Castle"));
    EXPECT_EQ(project.GetDominantBuildingType(), "Offices");
}

TEST(LENIProjectTest, FloorsAreFoundWithoutRegardToCaseAndAddedOnTop) {
    CLENIProject project = ThreeFloors();
    EXPECT_EQ(project.GetFloorIndexByName("FIRST"), 1);
    EXPECT_TRUE(project.FloorExists("roof"));
    EXPECT_FALSE(project.AddFloor("GROUND", 4.0, 0, ""));
    EXPECT_EQ(project.GetFloorCount(), 3);
    EXPECT_EQ(project.GetFloors().back().GetName(), "Roof");
    // A new floor keeps the height it is created with, even one its setter would refuse.
    EXPECT_TRUE(project.AddFloor("Attic", 0.5, 0, ""));
    EXPECT_DOUBLE_EQ(project.GetFloors().back().GetHeight(), 0.5);
    EXPECT_EQ(project.GetFloors().back().GetInstanceCount(), 1);

    EXPECT_TRUE(project.DeleteFloor("first"));
    EXPECT_EQ(FloorNames(project), (std::vector<std::string>{"Ground", "Roof", "Attic"}));
}

TEST(LENIProjectTest, FloorImportRunsTheImporterOrLeavesTheFloorEmpty) {
    CLENIProject project;
    LENIImportCounts counts;
    project.AddFloor("Ground", 3.0, 1, "missing.dxf", &counts);
    EXPECT_EQ(project.GetFloors()[0].GetRoomCount(), 0);
    EXPECT_EQ(counts.rooms, 0);

    CLENIProject::SetDxfFloorImporter([](CLENIFloor& floor, const std::string& path, LENIImportCounts& c) {
        EXPECT_EQ(path, "plan.dxf");
        floor.AddRoom(MakeRoom("Hall", Rect(0, 0, 5, 4)));
        c.rooms = 1;
        return true;
    });
    project.AddFloor("First", 3.0, 1, "plan.dxf", &counts);
    CLENIProject::SetDxfFloorImporter(nullptr);
    EXPECT_EQ(counts.rooms, 1);
    ASSERT_NE(project.FindRoom("first", "HALL"), nullptr);
    EXPECT_EQ(project.FindRoom("first", "HALL")->GetFloorName(), "First");
}

TEST(LENIProjectTest, ReorderTakesEveryFloorOnceOrKeepsTheOrder) {
    const struct {
        std::vector<std::string> names;
        bool accepted;
        std::vector<std::string> order;
    } cases[] = {
        {{"roof", "GROUND", "First"}, true, {"Roof", "Ground", "First"}},
        {{"Roof", "Ground"}, false, {"Ground", "First", "Roof"}},
        {{"Roof", "Ground", "Cellar"}, false, {"Ground", "First", "Roof"}},
        // Naming one floor twice would duplicate it and lose another.
        {{"Roof", "Roof", "Ground"}, false, {"Ground", "First", "Roof"}},
    };
    for (const auto& c : cases) {
        CLENIProject project = ThreeFloors();
        EXPECT_EQ(project.ReorderFloors(c.names), c.accepted);
        EXPECT_EQ(FloorNames(project), c.order);
    }
}

TEST(LENIProjectTest, HeightToTopAddsSlabsAndInstances) {
    CLENIProject project = ThreeFloors();
    project.GetFloorByName("First")->SetInstanceCount(2);
    // (3.2 + 0.3) x 2 + (2.8 + 0.3) x 1
    EXPECT_NEAR(project.GetHeightFromFloorToTop("first"), 10.1, 1e-12);
    EXPECT_NEAR(project.GetHeightFromFloorToTop("Ground"), 13.4, 1e-12);
}

TEST(LENIProjectTest, RoomsZonesAndRoofLightsAreFoundAtPoints) {
    CLENIProject project = ThreeFloors();
    CLENIRoom room = MakeRoom("R1", Rect(0, 0, 10, 8));
    room.SetFloorName("ground");
    room.AddZone(MakeZone("Z1", Rect(0, 0, 5, 8)));
    room.AddZone(MakeZone("Z2", Rect(5, 0, 10, 8)));
    CLENIRoofLight roofLight;
    roofLight.m_iId = 1;
    room.AddRoofLight(roofLight);
    ASSERT_TRUE(project.AddRoomToFloor(room));

    ASSERT_NE(project.GetZoneAtPoint(Point(7, 2), "Ground", "r1"), nullptr);
    EXPECT_EQ(project.GetZoneAtPoint(Point(7, 2), "Ground", "r1")->GetName(), "Z2");
    EXPECT_EQ(project.GetZoneAtPoint(Point(12, 2), "Ground", "R1"), nullptr);
    // Roof light from (1, 1) to (5, 2).
    EXPECT_NE(project.GetRoofLightAtPoint(Point(3, 1.5), "Ground", "R1"), nullptr);
    EXPECT_EQ(project.GetRoofLightAtPoint(Point(3, 2.5), "Ground", "R1"), nullptr);

    EXPECT_TRUE(project.RemoveZoneByName("z1", "ground", "r1"));
    EXPECT_FALSE(project.RemoveZoneByName("Z9", "Ground", "R1"));
    EXPECT_EQ(project.FindRoom("Ground", "R1")->GetZoneCount(), 1);
}

TEST(LENIProjectTest, CopiesAreIndependent) {
    CLENIProject project = ThreeFloors();
    CLENIRoom room = MakeRoom("R1", Rect(0, 0, 4, 4));
    room.SetFloorName("Ground");
    project.AddRoomToFloor(room);
    CLENIProject copy = project;
    copy.FindRoom("Ground", "R1")->SetTd(42);
    copy.GetFloorByName("Ground")->SetHeight(4.0);
    EXPECT_EQ(project.FindRoom("Ground", "R1")->GetTd(), 1000);
    EXPECT_DOUBLE_EQ(project.GetFloorByName("Ground")->GetHeight(), 3.0);
}

TEST(LENIProjectTest, RefusalsWriteTheirMessages) {
    CLENIProject p = ThreeFloors();
    CLENIRoom room = MakeRoom("R1", Rect(0, 0, 4, 4));
    room.SetFloorName("Ground");
    p.AddRoomToFloor(room);
    CLENIRoom stray = MakeRoom("R2", Rect(0, 0, 4, 4));
    stray.SetFloorName("Cellar");
    const CLENIAtrium atrium;
    ExpectMessages({
        {"add existing floor", [&] { p.AddFloor("ground", 3, 0, ""); }, "Adding an existing floor: ground",
         LOG_ERROR},
        {"import fails", [&] { p.AddFloor("Attic", 3, 1, "none.dxf"); },
         "The DXF file has no entities or some errors\nDid not add in rooms, zones, etc. automatically.",
         LOG_ERROR},
        {"delete floor", [&] { p.DeleteFloor("Cellar"); }, "DeleteFloor <Cellar>, floor not found",
         LOG_ERROR},
        {"floor by name", [&] { p.GetFloorByName("Cellar"); },
         "CLENIProject::GFBN unrecognised floor: <Cellar>", LOG_ERROR},
        {"dominant type", [&] { p.SetDominantBuildingType("Castle"); },
         "CLENIProject::SDBT Cannot find building type <Castle> in the tables", LOG_ERROR},
        {"reorder short", [&] { p.ReorderFloors({"Ground"}); }, "CLENIProject::Rf1 size mismatch, 1 4",
         LOG_ERROR},
        {"reorder unknown",
         [&] {
             p.ReorderFloors({"Ground", "First", "Roof", "Cellar"});
         },
         "CLENIProject::Rf2 size mismatch, 3 4", LOG_ERROR},
        {"room to floor", [&] { p.AddRoomToFloor(stray); }, "CLENIProject::ARTF unrecognised floor: <Cellar>",
         LOG_ERROR},
        {"remove room, floor", [&] { p.RemoveRoomByName("R1", "Cellar"); },
         "CLENIProject::RRBN (Cellar) no floor by that name", LOG_ERROR},
        {"remove room, room", [&] { p.RemoveRoomByName("R9", "Ground"); },
         "CLENIFloor::::RRBN (R9) no room by that name", LOG_ERROR},
        {"remove zone, floor", [&] { p.RemoveZoneByName("Z1", "Cellar", "R1"); },
         "CLENIProject::RZBN (Cellar) no floor by that name", LOG_ERROR},
        {"remove zone, room", [&] { p.RemoveZoneByName("Z1", "Ground", "R9"); },
         "CLENIFloor::RZBN Z1 R9 failed", LOG_ERROR},
        {"remove window, floor", [&] { p.RemoveWindow(0, 1, "Cellar", "R1"); },
         "CLENIProject::RWFFR Cellar R1 failed.", LOG_ERROR},
        {"remove window, room", [&] { p.RemoveWindow(0, 1, "Ground", "R9"); },
         "CLENIFloor::RWIR (R9) no room by that name", LOG_ERROR},
        {"remove window, ids", [&] { p.RemoveWindow(0, 1, "Ground", "R1"); }, "CLENIRoom::RW(0,1) failed.",
         LOG_ERROR},
        {"remove roof light, floor", [&] { p.RemoveRoofLight("Cellar", "R1", 3); },
         "CLENIProject::RRL Cellar R1 failed.", LOG_ERROR},
        {"remove roof light, room", [&] { p.RemoveRoofLight("Ground", "R9", 3); },
         "CLENIFloor::RRLFR R9 failed", LOG_ERROR},
        {"remove roof light, id", [&] { p.RemoveRoofLight("Ground", "R1", 3); },
         "CLENIRoom::RRLBI R1 3 failed.", LOG_ERROR},
        {"replace atrium", [&] { p.ReplaceAtrium(atrium, "A1", "Cellar"); },
         "CLENIProject::CAIF could not find floor called <Cellar>.", LOG_ERROR},
        {"zone at point", [&] { p.GetZoneAtPoint(Point(1, 1), "Ground", ""); },
         "CLENIProject::GZBC called with empty room name", LOG_ERROR},
    });
    EXPECT_EQ(FloorNames(p), (std::vector<std::string>{"Ground", "First", "Roof", "Attic"}));
    EXPECT_EQ(p.GetFloorByName("Ground")->GetRoomCount(), 1);
}

TEST(LENIProjectTest, ReorderLogsTheListsItWorksOn) {
    CLENIProject project = ThreeFloors();
    LogRecorder log;
    project.ReorderFloors({"Roof", "First", "Ground"});
    EXPECT_EQ(log.Count("CLENIProject::Rf\n\nList before reorder...\n   0 Ground\n   1 First\n   2 Roof\n"
                        "New  order...\n   Roof\n   First\n   Ground\n",
                        LOG_INFO),
              1)
        << log.All();
    EXPECT_EQ(log.Count("List after reorder...\n   0 Roof\n   1 First\n   2 Ground\n", LOG_INFO), 1);
}

TEST(LENIProjectTest, ProductsAreCopiedFromTheGlobalDatabaseOnce) {
    CLumSysDataBase::ResetGlobal();
    CLumTypeData lamp;
    lamp.SetRefId("LUM-36");
    lamp.SetMaxPow(36.0);
    CLumSysDataBase::Global().AddLumData(lamp);

    CLENIProject project;
    project.AddFloor("Ground", 3.0, 0, "");
    CLENIRoom room = MakeRoom("R1", Rect(0, 0, 4, 4));
    room.SetFloorName("Ground");
    CLENIZone zone = MakeZone("Z1", Rect(0, 0, 4, 4));
    zone.GetLumList().AddLuminaire("lum-36");
    CLENIWindow window;
    window.m_LumList.AddLuminaire("GHOST");
    room.AddZone(zone);
    room.AddWindow(window);
    project.AddRoomToFloor(room);

    EXPECT_TRUE(project.IsProductUsed("LUM-36"));
    EXPECT_FALSE(project.IsProductUsed("GHOST"));

    CZoneObjList list = zone.GetLumList();
    list.AddLuminaire("GHOST");
    ExpectMessages({{"unknown product", [&] { project.AddProductsToProject(list); },
                     "CLumSysDataBase::ALD, no reference id", LOG_ERROR}});
    ASSERT_EQ(project.GetProducts().GetCount(), 1);
    EXPECT_DOUBLE_EQ(project.GetProducts().GetLumDataAtIndex(0).GetMaxPow(), 36.0);
    EXPECT_TRUE(project.GetProducts().IsChanged());
    project.AddProductsToProject(list);
    EXPECT_EQ(project.GetProducts().GetCount(), 1);
    CLumSysDataBase::ResetGlobal();
}
