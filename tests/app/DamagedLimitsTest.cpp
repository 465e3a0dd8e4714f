// Files built to exhaust the machine: each gives its message and a bounded run.

#include "base/TextUtils.h"
#include "calc/EnergyCalc.h"
#include "dxf/DxfFile.h"
#include "dxf/DxfPline.h"
#include "model/DxfImport.h"
#include "model/LENIProject.h"
#include "model/LENIWindow.h"
#include "model/ModelGeometry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A layer table with layer, and an ENTITIES section with one LWPOLYLINE of count vertices on a circle of
// radius 10 on layer.
void WriteLongPolyline(const fs::path& path, size_t count, const char* layer) {
    FILE* f = std::fopen(path.string().c_str(), "w");
    ASSERT_TRUE(f);
    std::fprintf(f,
                 "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\n%s\n62\n1\n0\nENDTAB\n0\nENDSEC\n",
                 layer);
    std::fprintf(f, "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\n%s\n70\n1\n", layer);
    for (size_t i = 0; i < count; ++i) {
        const double a = 6.283185307179586 * static_cast<double>(i) / static_cast<double>(count);
        std::fprintf(f, "10\n%s\n20\n%s\n", FormatDouble("%.6f", 10 * std::cos(a)).c_str(),
                     FormatDouble("%.6f", 10 * std::sin(a)).c_str());
    }
    std::fprintf(f, "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDSEC\n0\nEOF\n");
    std::fclose(f);
}

} // namespace

TEST(DamagedLimitsTest, PolylineLongerThanTheLimitIsLeftOut) {
    TempDir dir("long polyline");
    const fs::path path = dir / "long.dxf";
    WriteLongPolyline(path, CDxfFile::kMaxPlineVertices + 1, "0");
    LogRecorder log;
    const auto start = std::chrono::steady_clock::now();
    CDxfFile drawing;
    EXPECT_TRUE(drawing.ReadFile(path.string()));
    EXPECT_LT(SecondsSince(start), 30.0);
    // The line after it is read; the polyline is not.
    EXPECT_EQ(drawing.GetEntityCount(), 1);
    EXPECT_TRUE(log.Contains("DXF: a polyline of more than 1000000 vertices ends at line")) << log.All();
}

TEST(DamagedLimitsTest, RoomPolylineOfManyVerticesIsNotImported) {
    TempDir dir("long room");
    const fs::path path = dir / "room.dxf";
    WriteLongPolyline(path, 100000, "LENI_ROOM");
    CDxfFile drawing;
    ASSERT_TRUE(drawing.ReadFile(path.string()));
    LogRecorder log;
    const auto start = std::chrono::steady_clock::now();
    CLENIProject project;
    project.SetDominantBuildingType("Offices");
    CLENIFloor floor("Ground", 3.0);
    const LENIImportCounts counts = ImportSpecialLayers(floor, drawing, project, CLENIWindow());
    EXPECT_LT(SecondsSince(start), 5.0);
    EXPECT_EQ(counts.rooms, 0);
    EXPECT_TRUE(
        log.Contains("IMPORT ERROR: A polyline on LENI_ROOM with 100000 points has more points than a "
                     "model outline may have.\nIt was not imported."))
        << log.All();
}

TEST(DamagedLimitsTest, ProjectPolygonOfManyVerticesFailsTheRoom) {
    std::string xml = ReadFileText(TestDataDir() / "damaged" / "names" / "unsafe_names.LENI1XML");
    std::string vertices;
    for (int i = 0; i < 100000; ++i)
        vertices += "<xy>" + std::to_string(i % 8) + ";" + std::to_string(i % 3) + "</xy>";
    const size_t at = xml.find("<xy>");
    ASSERT_NE(at, std::string::npos);
    xml.insert(at, vertices);
    TempDir dir("long polygon");
    WriteFileText(dir / "p.LENI1XML", xml);

    LogRecorder log;
    const auto start = std::chrono::steady_clock::now();
    CLENIProject project;
    EXPECT_TRUE(project.ReadProject((dir / "p.LENI1XML").string()));
    CalculateAnnualLENI(project, 0);
    EXPECT_LT(SecondsSince(start), 10.0);
    EXPECT_TRUE(log.Contains("Polygon of <../../x> has more than 1000 vertices.")) << log.All();
    EXPECT_TRUE(project.GetFloors()[0].GetRooms().empty());
}

TEST(DamagedLimitsTest, DeepBlockNestingIsBoundedByTheBlockTable) {
    // Each block inserts the one before it; the drawing inserts the last. Blocks past the table's
    // 3000 are dropped, so their inserts stay unresolved.
    const int levels = 10000;
    std::string dxf =
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB0\n70\n0\n10\n0\n20\n0\n0\nLINE\n8\n0\n10\n0\n20\n0\n"
        "11\n1\n21\n0\n0\nENDBLK\n";
    for (int i = 1; i < levels; ++i)
        dxf += "0\nBLOCK\n2\nB" + std::to_string(i) + "\n70\n0\n10\n0\n20\n0\n0\nINSERT\n8\n0\n2\nB" +
               std::to_string(i - 1) + "\n10\n1\n20\n0\n0\nENDBLK\n";
    dxf += "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    for (int i : {levels - 1, CDxfFile::kMaxBlocks - 1})
        dxf += "0\nINSERT\n8\n0\n2\nB" + std::to_string(i) + "\n10\n0\n20\n0\n";
    dxf += "0\nENDSEC\n0\nEOF\n";
    TempDir dir("deep blocks");
    WriteFileText(dir / "deep.dxf", dxf);

    LogRecorder log;
    const auto start = std::chrono::steady_clock::now();
    CDxfFile drawing;
    EXPECT_TRUE(drawing.ReadFile((dir / "deep.dxf").string()));
    Point min, max;
    drawing.GetExtents(min, max);
    EXPECT_LT(SecondsSince(start), 10.0 * kTimeBoundScale);
    EXPECT_EQ(drawing.GetBlockCount(), CDxfFile::kMaxBlocks);
    EXPECT_EQ(log.Count("Block buffer overflow"), 1);
    EXPECT_TRUE(log.Contains("****Could not resolve an insert of B9999"));
    // The insert of the deepest block kept reaches the line 2999 units to the right.
    EXPECT_EQ(min.x, 2999);
    EXPECT_EQ(max.x, 3000);
}

TEST(DamagedLimitsTest, InsertsOfALongPolylineCountItsVertices) {
    // A block of one polyline of 100000 vertices, inserted 200 times: 2 x 10^7 vertices for every
    // walk over the drawing if all were drawn.
    std::string dxf = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nP\n70\n0\n10\n0\n20\n0\n0\nLWPOLYLINE\n8\n0\n";
    for (int i = 0; i < 100000; ++i)
        dxf += "10\n" + std::to_string(i % 100) + "\n20\n" + std::to_string(i / 100) + "\n";
    dxf += "0\nENDBLK\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < 200; ++i)
        dxf += "0\nINSERT\n8\n0\n2\nP\n10\n" + std::to_string(1000 * i) + "\n20\n0\n";
    dxf += "0\nENDSEC\n0\nEOF\n";
    TempDir dir("long block");
    WriteFileText(dir / "inserts.dxf", dxf);

    LogRecorder log;
    const auto start = std::chrono::steady_clock::now();
    CDxfFile drawing;
    EXPECT_TRUE(drawing.ReadFile((dir / "inserts.dxf").string()));
    Point min, max;
    drawing.GetExtents(min, max);
    EXPECT_LT(SecondsSince(start), 20.0);
    EXPECT_EQ(log.Count("DXF: an insert of the block <P> would draw more than 10000000 entities"), 1)
        << log.All();
    // The first 99 inserts (each 100001 vertices and entities with its insert) are drawn.
    EXPECT_EQ(min.x, 0);
    EXPECT_EQ(max.x, 98 * 1000 + 99);
}
