#include "model/DxfImport.h"

#include "dxf/DxfFile.h"
#include "dxf/DxfPline.h"
#include "dxf/ImportLayers.h"
#include "model/LENIWindow.h"
#include "support/DxfTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

namespace {

// Builds drawings of polylines on named layers.
class DxfImport : public ::testing::Test {
  protected:
    DxfImport() : floor("Level 1", 3.0) { project.SetDominantBuildingType("Residential buildings"); }
    ~DxfImport() override { CLENIProject::SetDxfFloorImporterForProject(nullptr); }

    void Pline(const char* layer, std::initializer_list<Point> points, bool closed = true) {
        CDxfPline pline;
        pline.m_bClosed = closed;
        for (const Point& p : points)
            pline.AddVertex(p, 0.0, 0.0);
        CDxfLayer* l = dxf.GetLayerTable().AddLayer(layer, 3, true);
        dxf.GetEntList().AddEntity(pline, l);
    }
    LENIImportCounts Import(const CLENIWindow& windowTemplate = CLENIWindow()) {
        return ImportSpecialLayers(floor, dxf, project, windowTemplate);
    }
    const CLENIRoom& Room(int i) { return floor.GetRooms().at(i); }

    RecordingMessageBoxes boxes;
    LogRecorder log;
    CDxfFile dxf;
    CLENIProject project;
    CLENIFloor floor;
};

} // namespace

TEST_F(DxfImport, RoomsTakeTheProjectsTypeHoursAndMaintenanceFactor) {
    project.SetMaintenanceFactor(1.4);
    // Closed by repeating its first vertex (within 0.01): four walls, not five.
    Pline(kLayerRoom, {Point(0, 0), Point(10, 0), Point(10, 8), Point(0, 8), Point(0.005, 0)});
    Pline("leni_room", {Point(10, 0), Point(16, 0), Point(16, 8), Point(10, 8)});
    Pline("WALLS", {Point(20, 0), Point(26, 0), Point(26, 8)});
    const LENIImportCounts counts = Import();
    EXPECT_FALSE(counts.error);
    ASSERT_EQ(counts.rooms, 2);
    EXPECT_EQ(Room(0).GetName(), "ROOM_000");
    EXPECT_EQ(Room(1).GetName(), "ROOM_001");
    EXPECT_EQ(Room(0).GetWallCount(), 4);
    EXPECT_EQ(Room(0).GetFloorName(), "Level 1");
    EXPECT_EQ(Room(0).GetMaintenanceFactor(), 1.0);
    EXPECT_EQ(Room(0).GetRoomType(), "[Residential buildings]Living room(Fa=0.30)");
    EXPECT_EQ(Room(0).GetTd(), 1820);
    EXPECT_EQ(Room(0).GetTn(), 1680);
    EXPECT_EQ(Room(0).GetHeight(), 3.0);
}

TEST_F(DxfImport, RefusedRoomsAreReportedAndDropped) {
    Pline(kLayerRoom, {Point(0, 0), Point(10, 0), Point(10, 8), Point(0, 8)});
    Pline(kLayerRoom, {Point(0, 0), Point(10, 0), Point(10, 8), Point(0, 8)});   // the same again
    Pline(kLayerRoom, {Point(30, 0), Point(34, 4), Point(34, 0), Point(30, 4)}); // a bow tie
    Pline(kLayerRoom, {Point(40, 1), Point(45, 1)});
    Pline(kLayerRoom, {});
    const LENIImportCounts counts = Import();
    EXPECT_TRUE(counts.error);
    EXPECT_EQ(counts.rooms, 1);
    EXPECT_EQ(
        log.Count("IMPORT ERROR: The room polyline with points at 0.00 0.00 and\nand 10.00 0.00 intersects "
                  "an existing room",
                  LOG_ERROR),
        1);
    EXPECT_EQ(
        log.Count("IMPORT ERROR: The room polyline is self intersecting or has\nduplicate points.Start = "
                  "30.000 0.000\n",
                  LOG_ERROR),
        1);
    EXPECT_EQ(
        log.Count("IMPORT ERROR: A room polyline with only 2 points found,\nstarts at 40.00 1.00", LOG_ERROR),
        1);
    EXPECT_EQ(log.Count("IMPORT ERROR: A room polyline with only 0 points found", LOG_ERROR), 1);
}

TEST_F(DxfImport, WithoutRoomsOnlyAtriaComeIn) {
    Pline(kLayerRoom, {Point(0, 0), Point(1, 0)});
    Pline(kLayerZone, {Point(1, 1), Point(5, 1), Point(5, 5)});
    Pline(kLayerVertWindow, {Point(2, 0), Point(5, 0)}, false);
    Pline(kLayerRoofLight, {Point(2, 6), Point(4, 6), Point(4, 7), Point(2, 7)});
    Pline(kLayerAtrium, {Point(20, 0), Point(25, 0), Point(25, 5), Point(20, 5)});
    Pline(kLayerAtrium, {Point(30, 0), Point(30.001, 0), Point(35, 0)}); // two vertices once cleaned
    const LENIImportCounts counts = Import();
    EXPECT_EQ(counts.rooms, 0);
    EXPECT_EQ(counts.zones + counts.windows + counts.roofLights, 0);
    ASSERT_EQ(counts.atria, 1);
    EXPECT_EQ(floor.GetAtria()[0].m_csName, "ATRIO_01_Level 1");
    EXPECT_EQ(floor.GetAtria()[0].m_Polygon.size(), 4u);
}

TEST_F(DxfImport, ZonesGoIntoTheRoomThatHoldsThem) {
    Pline(kLayerRoom, {Point(0, 0), Point(10, 0), Point(10, 8), Point(0, 8)});
    Pline(kLayerRoom, {Point(10, 0), Point(16, 0), Point(16, 8), Point(10, 8)});
    Pline(kLayerZone,
          {Point(10.03, 1), Point(15, 1), Point(15, 7), Point(10.03, 7)}); // on the wall: in room 1
    Pline(kLayerZone, {Point(11, 2), Point(12, 2), Point(12, 3)});         // overlaps the first
    Pline(kLayerZone, {Point(8, 1), Point(12, 1), Point(12, 2)});          // in no single room
    Pline(kLayerZone, {Point(1, 1), Point(2, 1)});                         // logged only
    bool error = false;
    ImportRoomsFromDxf(floor, dxf, project, error);
    EXPECT_EQ(ImportZonesFromDxf(floor, dxf, error), 1);
    ASSERT_EQ(Room(1).GetZoneCount(), 1);
    EXPECT_EQ(Room(1).GetZones()[0].GetName(), "ZONE_01_(ROOM_001)");
    EXPECT_DOUBLE_EQ(Room(1).GetZones()[0].GetFa(), 0.3);
    EXPECT_EQ(log.Count("intersects an existing zone", LOG_ERROR), 1);
    EXPECT_EQ(
        log.Count("IMPORT ERROR: Found a zone polyline not inside any room polylines.\nStarts at 8.00 1.00",
                  LOG_ERROR),
        1);
    EXPECT_EQ(log.Count("IMPORT ERROR: The zone polyline less than 3 points.", LOG_ERROR), 1);

    // The short zone alone does not set the error flag.
    bool shortOnly = false;
    CDxfFile other;
    CDxfPline two;
    two.AddVertex(Point(1, 1));
    two.AddVertex(Point(2, 1));
    other.GetEntList().AddEntity(two, other.GetLayerTable().AddLayer(kLayerZone, 1, true));
    ImportZonesFromDxf(floor, other, shortOnly);
    EXPECT_FALSE(shortOnly);
}

TEST_F(DxfImport, WindowsLieOnTheNearestWallOfEveryRoomTheyTouch) {
    Pline(kLayerRoom, {Point(0, 0), Point(10, 0), Point(10, 8), Point(0, 8)});
    Pline(kLayerRoom, {Point(10, 0), Point(16, 0), Point(16, 8), Point(10, 8)});
    Pline(kLayerVertWindow, {Point(5, 0.1), Point(2, 0.1)}, false);
    Pline(kLayerVertWindow, {Point(6, -0.1), Point(7, -0.1)}, false);
    Pline(kLayerVertWindow, {Point(10.1, 2), Point(10.1, 5)}, false); // on the shared wall: twice
    Pline(kLayerVertWindow, {Point(0, 5)}, false);                    // ignored
    Pline(kLayerVertWindow, {Point(3, 4), Point(4, 4)}, false);       // in the middle of a room
    CLENIWindow windowTemplate;
    windowTemplate.m_dHeight = 5.0;
    windowTemplate.m_dSillHeight = 0.9;
    windowTemplate.m_dTauD65 = 0.7;
    windowTemplate.m_dFrontAngle = 20.0; // obstruction angles are not taken
    bool error = false;
    ImportRoomsFromDxf(floor, dxf, project, error);
    EXPECT_EQ(ImportWindowsFromDxf(floor, dxf, error, windowTemplate), 4);
    EXPECT_TRUE(error);
    EXPECT_EQ(
        log.Count("IMPORT ERROR: Found a 2 vertex polyline on LENI_VERT_WINDOW which represents a "
                  "window.\nBut it must be close to a room wall, within 0.20 m.\nThis erroneous polyline "
                  "starts at 3.00 4.00 in your DXF.",
                  LOG_ERROR),
        1);

    ASSERT_EQ(Room(0).GetWindowCount(), 3);
    const CLENIWindow& first = Room(0).GetWindows()[0];
    EXPECT_EQ(first.m_iWallId, 0);
    EXPECT_EQ(first.m_iWindowId, 0); // the room's first window
    EXPECT_DOUBLE_EQ(first.m_dWidth, 3.0);
    EXPECT_DOUBLE_EQ(first.m_dStart, std::hypot(2.0, 0.1)); // from the wall's start to the nearer end
    EXPECT_DOUBLE_EQ(first.m_dHeight, 3.0);                 // no higher than the floor
    EXPECT_DOUBLE_EQ(first.m_dSillHeight, 0.9);
    EXPECT_DOUBLE_EQ(first.m_dTauD65, 0.7);
    EXPECT_EQ(first.m_dFrontAngle, 0.0);
    EXPECT_EQ(Room(0).GetWindows()[1].m_iWindowId, 1); // the next on the same wall
    const CLENIWindow& shared0 = Room(0).GetWindows()[2];
    EXPECT_EQ(shared0.m_iWallId, 1);
    EXPECT_EQ(shared0.m_iWindowId, 1); // the wall's first, but not the room's
    ASSERT_EQ(Room(1).GetWindowCount(), 1);
    EXPECT_EQ(Room(1).GetWindows()[0].m_iWallId, 3);
    EXPECT_EQ(Room(1).GetWindows()[0].m_iWindowId, 0);
}

TEST_F(DxfImport, AWindowOfThreeVerticesEndsTheWindows) {
    Pline(kLayerRoom, {Point(0, 0), Point(10, 0), Point(10, 8), Point(0, 8)});
    Pline(kLayerVertWindow, {Point(2, 0), Point(3, 0)}, false);
    Pline(kLayerVertWindow, {Point(4, 0), Point(5, 0), Point(6, 0)}, false);
    Pline(kLayerVertWindow, {Point(7, 0), Point(8, 0)}, false);
    const LENIImportCounts counts = Import();
    EXPECT_TRUE(counts.error);
    EXPECT_EQ(counts.windows, 1);
    EXPECT_EQ(
        log.Count("IMPORT ERROR: Polylines on LENI_VERT_WINDOW which represent windows must\nhave only 2 "
                  "vertices. This one has 3.\nThis erroneous polyline starts at 4.0 0.0",
                  LOG_ERROR),
        1);
}

TEST_F(DxfImport, RoofLightsAreTheBoundingRectanglesOfFourVertices) {
    Pline(kLayerRoom, {Point(2, 1), Point(10, 1), Point(10, 8), Point(2, 8)});
    // The fifth vertex repeats the first: four after cleaning.
    Pline(kLayerRoofLight, {Point(3, 6), Point(5, 6), Point(5, 7), Point(3, 7), Point(3, 6)});
    Pline(kLayerRoofLight, {Point(6, 2), Point(8, 3), Point(7, 5), Point(5, 4)}); // turned: its box
    Pline(kLayerRoofLight, {Point(3, 2), Point(4, 2), Point(4, 3)});
    Pline(kLayerRoofLight, {Point(3, 2), Point(4, 3), Point(4, 2), Point(3, 3)});
    Pline(kLayerRoofLight, {Point(20, 2), Point(21, 2), Point(21, 3), Point(20, 3)});
    const LENIImportCounts counts = Import();
    EXPECT_TRUE(counts.error);
    ASSERT_EQ(counts.roofLights, 2);
    const CLENIRoofLight& a = Room(0).GetRoofLights()[0];
    EXPECT_EQ(a.m_iId, 1);
    EXPECT_DOUBLE_EQ(a.m_dXLength, 2.0);
    EXPECT_DOUBLE_EQ(a.m_dYWidth, 1.0);
    EXPECT_DOUBLE_EQ(a.m_dXOrig, 1.0); // from the room's reference point (2, 1)
    EXPECT_DOUBLE_EQ(a.m_dYOrig, 5.0);
    const CLENIRoofLight& b = Room(0).GetRoofLights()[1];
    EXPECT_EQ(b.m_iId, 2);
    EXPECT_DOUBLE_EQ(b.m_dXLength, 3.0);
    EXPECT_DOUBLE_EQ(b.m_dYWidth, 3.0);
    EXPECT_EQ(
        log.Count(
            "IMPORT ERROR: The roof light polyline must have 4 points.\nFound one with 3 points. Starts "
            "at:3.0 2.0",
            LOG_ERROR),
        1);
    EXPECT_EQ(log.Count("IMPORT ERROR: The roof light polyline is self intersecting", LOG_ERROR), 1);
    EXPECT_EQ(
        log.Count(
            "IMPORT ERROR: Found a roof light polyline not inside any single room.\nStarts at 20.00 2.00",
            LOG_ERROR),
        1);
}

TEST_F(DxfImport, AddFloorReadsTheDrawingAndImportsItsLayers) {
    InstallDxfFloorImporter();
    LENIImportCounts counts;
    ASSERT_TRUE(project.AddFloor("Ground", 3.0, 1, (TestDataDir() / "dxf" / "reserved_layers.dxf").string(),
                                 &counts));
    EXPECT_EQ(counts.rooms, 2);
    EXPECT_EQ(counts.zones, 2);
    EXPECT_EQ(counts.windows, 3);
    EXPECT_EQ(counts.roofLights, 1);
    EXPECT_EQ(counts.atria, 1);
    EXPECT_TRUE(counts.error); // the room drawn twice
    EXPECT_EQ(project.GetFloorByName("Ground")->GetRoomCount(), 2);

    TempDir dir("dxfimport");
    WriteFileText(dir / "empty.dxf", DxfText({"0", "SECTION", "2", "ENTITIES", "0", "ENDSEC", "0", "EOF"}));
    ASSERT_TRUE(project.AddFloor("Empty", 3.0, 1, (dir / "empty.dxf").string(), &counts));
    EXPECT_EQ(project.GetFloorByName("Empty")->GetRoomCount(), 0);
    EXPECT_TRUE(log.Contains("The DXF file has no entities or some errors\nDid not add in rooms"));

    log.Clear();
    ReportFloorImport("Ground", "P", LENIImportCounts{2, 3, 2, 1, 1, true});
    EXPECT_TRUE(
        log.Contains("Added a new floor <Ground> to project <P>.\nIt had 9 entities on special "
                     "layers.\nThere were 2 rooms and 2 zones.\nThere were 3 windows and 1 rooflights.\n"
                     "There were 1 atriums.\n"));
    EXPECT_TRUE(boxes.Contains("There were errors on the special LENI layers\n"));
}

TEST_F(DxfImport, SpecialLayersCanBeHidden) {
    Pline(kLayerRoom, {Point(0, 0), Point(10, 0), Point(10, 8)});
    HideSpecialLayers(dxf);
    EXPECT_FALSE(dxf.GetLayerTable().GetLayerPtrFromName(kLayerRoom)->m_bVisible);
    EXPECT_TRUE(dxf.GetLayerTable().GetLayerPtrFromName("0")->m_bVisible);
    EXPECT_TRUE(boxes.boxes.empty()); // the layers the drawing lacks are passed over
}

TEST_F(DxfImport, OutlinesBeyondTheGeneratedNamesAreLeftOutWithOneMessagePerKind) {
    // 500 generated room names and the fallback name take 501 outlines; the other four are left
    // out. One room takes 500 generated zone names and the fallback; two zones are left out.
    for (int i = 0; i < 505; ++i)
        Pline(kLayerRoom,
              {Point(10.0 * i, 0), Point(10.0 * i + 9, 0), Point(10.0 * i + 9, 8), Point(10.0 * i, 8)});
    for (int i = 0; i < 503; ++i) {
        const double x = 0.1 + 0.35 * (i % 25), y = 0.1 + 0.35 * (i / 25);
        Pline(kLayerZone, {Point(x, y), Point(x + 0.25, y), Point(x + 0.25, y + 0.25), Point(x, y + 0.25)});
    }
    for (int i = 0; i < 503; ++i)
        Pline(kLayerAtrium,
              {Point(10.0 * i, 20), Point(10.0 * i + 5, 20), Point(10.0 * i + 5, 25), Point(10.0 * i, 25)});
    const LENIImportCounts counts = Import();
    EXPECT_TRUE(counts.error);
    EXPECT_EQ(counts.rooms, 501);
    EXPECT_EQ(Room(499).GetName(), "ROOM_499");
    EXPECT_EQ(Room(500).GetName(), "NEW_ROOM");
    EXPECT_EQ(counts.zones, 501);
    EXPECT_EQ(Room(0).GetZones().at(499).GetName(), "ZONE_500_(ROOM_000)");
    EXPECT_EQ(Room(0).GetZones().at(500).GetName(), "NEW_ZONE");
    EXPECT_EQ(counts.atria, 501);
    EXPECT_EQ(floor.GetAtria().at(500).m_csName, "NEW_ATRIO");
    EXPECT_EQ(log.Count("CLENIFloor::GURN limit reached: 4 room outlines left out", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("CLENIFloor::GUZN limit reached: 2 zone outlines left out", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("CLENIFloor::GUAZN limit reached: 2 atrium outlines left out", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("CLENIFloor::AR trying to add room with same name: NEW_ROOM", LOG_ERROR), 0);
}
