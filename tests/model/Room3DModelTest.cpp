// The room's 3D model: what lands on which layer, at which height, for rooms with and without
// openings, and the saved model as other CAD programs read it.

#include "model/Room3DModel.h"
#include "dxf/DxfFile.h"
#include "dxf/DxfLine.h"
#include "dxf/DxfPline.h"
#include "dxf/DxfText.h"
#include "model/ModelTestSupport.h"
#include "support/DxfTestSupport.h"

#include <cstdlib>
#include <map>

namespace {

constexpr double kTol = 1e-9;

// The entities of the model sorted by layer, in drawing order.
struct ModelByLayer {
    std::map<std::string, std::vector<const CDxfPline*>> plines;
    std::map<std::string, std::vector<const CDxfLine*>> lines;
    std::map<std::string, std::vector<const CDxfText*>> texts;
    explicit ModelByLayer(const CDxfFile& dxf) {
        for (const auto& e : dxf.GetEntList()) {
            const std::string layer = e->GetLayerName();
            if (e->GetType() == DXF_PLINE) plines[layer].push_back(static_cast<const CDxfPline*>(e.get()));
            if (e->GetType() == DXF_LINE) lines[layer].push_back(static_cast<const CDxfLine*>(e.get()));
            if (e->GetType() == DXF_TEXT) texts[layer].push_back(static_cast<const CDxfText*>(e.get()));
        }
    }
    size_t Count(const std::string& layer) const {
        size_t n = 0;
        if (plines.count(layer)) n += plines.at(layer).size();
        if (lines.count(layer)) n += lines.at(layer).size();
        if (texts.count(layer)) n += texts.at(layer).size();
        return n;
    }
};

void ExpectPoint(const Point& got, const Point& want, const std::string& what, double tol = kTol) {
    EXPECT_NEAR(got.x, want.x, tol) << what;
    EXPECT_NEAR(got.y, want.y, tol) << what;
    EXPECT_NEAR(got.z, want.z, tol) << what;
}

// A closed 3D polyline through exactly these corners.
void ExpectClosed3D(const CDxfPline* pline, const Polygon& corners, const std::string& what,
                    double tol = kTol) {
    ASSERT_NE(pline, nullptr) << what;
    EXPECT_TRUE(pline->m_bClosed) << what;
    EXPECT_TRUE(pline->m_b3D) << what;
    ASSERT_EQ(pline->GetVertexCount(), static_cast<int>(corners.size())) << what;
    for (size_t i = 0; i < corners.size(); ++i)
        ExpectPoint(pline->m_Vertices[i].point, corners[i], what + " corner " + std::to_string(i), tol);
}

Polygon AtZ(const Polygon& outline, double z) {
    Polygon out;
    for (const Point& p : outline)
        out.push_back(Point(p.x, p.y, z));
    return out;
}

CLENIWindow MakeWindow(int wall, double start, double width, double sill, double height,
                       int type = VWT_VERTICAL) {
    CLENIWindow w;
    w.m_iWallId = wall;
    w.m_iWindowId = 0;
    w.m_dStart = start;
    w.m_dWidth = width;
    w.m_dSillHeight = sill;
    w.m_dHeight = height;
    w.m_iVertWinType = type;
    return w;
}

// gamma 60, slope length 1.2, 0.3 from the wall, slope starting 2.0 above the floor.
CLENIWindow MakeSlopedWindow(int type) {
    CLENIWindow w = MakeWindow(0, 1.0, 1.2, 0.0, 0.0, type);
    w.m_dGamma = 60.0;
    w.m_dSlopeLength = 1.2;
    w.m_dDistToWall = 0.3;
    w.m_dHeightToSlope = 2.0;
    return w;
}

TEST(Room3DModel, RoomWithoutOpeningsHasItsOutlinesEdgesAndAllLayers) {
    // An L-shaped room: six walls, six vertical edges.
    const Polygon outline = {Point(0, 0), Point(6, 0), Point(6, 3), Point(3, 3), Point(3, 5), Point(0, 5)};
    const CLENIRoom room = MakeRoom("L", outline, 2.7);
    const auto dxf = BuildRoom3DModel(room, 2.7);
    ASSERT_NE(dxf, nullptr);

    const CLayerTable& layers = dxf->GetLayerTable();
    const std::vector<std::pair<std::string, int>> wantLayers = {
        {"0", 7},      {"FLOOR", 1},     {"WRKSURF", 3},  {"CEILING", 8},
        {"WINDOW", 4}, {"ROOFLIGHT", 4}, {"DAYLIGHT", 11}};
    ASSERT_EQ(layers.GetCount(), static_cast<int>(wantLayers.size()));
    for (size_t i = 0; i < wantLayers.size(); ++i) {
        EXPECT_EQ(layers.GetLayer(static_cast<int>(i))->m_csName, wantLayers[i].first);
        EXPECT_EQ(layers.GetLayer(static_cast<int>(i))->m_iColour, wantLayers[i].second)
            << wantLayers[i].first;
        EXPECT_TRUE(layers.GetLayer(static_cast<int>(i))->m_bVisible) << wantLayers[i].first;
    }

    EXPECT_EQ(dxf->GetEntityCount(), 6 + 3);
    ModelByLayer model(*dxf);
    ASSERT_EQ(model.lines.at("FLOOR").size(), 6u);
    for (size_t i = 0; i < outline.size(); ++i) {
        ExpectPoint(model.lines.at("FLOOR")[i]->m_Start, outline[i], "edge bottom");
        ExpectPoint(model.lines.at("FLOOR")[i]->m_End, Point(outline[i].x, outline[i].y, 2.7), "edge top");
    }
    ExpectClosed3D(model.plines.at("FLOOR").at(0), AtZ(outline, 0.0), "floor");
    ExpectClosed3D(model.plines.at("WRKSURF").at(0), AtZ(outline, 0.8), "work plane");
    ExpectClosed3D(model.plines.at("CEILING").at(0), AtZ(outline, 2.7), "ceiling");
    for (const char* empty : {"WINDOW", "ROOFLIGHT", "DAYLIGHT", "0"})
        EXPECT_EQ(model.Count(empty), 0u) << empty;
}

TEST(Room3DModel, VerticalWindowWithCornerLettersAndDaylightAreaOnTheWorkPlane) {
    // 5 x 4 m room; a 1.2 m window from 1 m along the south wall, sill 0.9, 1.5 high:
    // aD = min(2.5 x (2.4 - 0.8), depth 4) = 4, the area is 1.2 + 2 = 3.2 m wide, centred on it.
    CLENIRoom room = MakeRoom("R1", Rect(0, 0, 5, 4), 3.0);
    ASSERT_TRUE(room.AddWindow(MakeWindow(0, 1.0, 1.2, 0.9, 1.5)));
    const auto dxf = BuildRoom3DModel(room, 3.0);
    ModelByLayer model(*dxf);

    const Polygon glazing = {Point(1, 0, 0.9), Point(2.2, 0, 0.9), Point(2.2, 0, 2.4), Point(1, 0, 2.4)};
    ASSERT_EQ(model.plines["WINDOW"].size(), 1u);
    ExpectClosed3D(model.plines["WINDOW"][0], glazing, "window");
    ASSERT_EQ(model.texts["0"].size(), 4u);
    const char* letters[] = {"R", "S", "T", "U"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(model.texts["0"][i]->m_csText, letters[i]);
        EXPECT_EQ(model.texts["0"][i]->m_dHeight, 0.25);
        ExpectPoint(model.texts["0"][i]->m_Insert, glazing[i], letters[i]);
    }
    ASSERT_EQ(model.plines["DAYLIGHT"].size(), 1u);
    ExpectClosed3D(model.plines["DAYLIGHT"][0],
                   {Point(0, 0, 0.8), Point(3.2, 0, 0.8), Point(3.2, 4, 0.8), Point(0, 4, 0.8)},
                   "window daylight area");
    EXPECT_EQ(model.Count("DAYLIGHT"), 1u);
    EXPECT_EQ(model.Count("ROOFLIGHT"), 0u);
    EXPECT_EQ(dxf->GetEntityCount(), 4 + 3 + 4 + 1 + 1);
}

TEST(Room3DModel, RoofLightInTheCeilingJoinedToItsDaylightAreaAtTheGivenHeight) {
    // The room was made 2.5 m high but is shown at its floor's 3 m: the ceiling, the roof light and
    // its daylight area (enlarged by 3 - 0.8 = 2.2 m on every side: 8.4 x 5.4 m) follow the 3 m.
    CLENIRoom room = MakeRoom("R2", Rect(2, 3, 12, 13), 2.5);
    CLENIRoofLight rl;
    rl.m_iId = 0;
    rl.m_dXOrig = 1.0;
    rl.m_dYOrig = 1.0;
    rl.m_dXLength = 4.0;
    rl.m_dYWidth = 1.0;
    ASSERT_TRUE(room.AddRoofLight(rl));
    const auto dxf = BuildRoom3DModel(room, 3.0);
    ModelByLayer model(*dxf);

    const Polygon glazing = {Point(3, 4, 3), Point(7, 4, 3), Point(7, 5, 3), Point(3, 5, 3)};
    const Polygon area = {Point(0.8, 1.8, 0.8), Point(9.2, 1.8, 0.8), Point(9.2, 7.2, 0.8),
                          Point(0.8, 7.2, 0.8)};
    ASSERT_EQ(model.plines["ROOFLIGHT"].size(), 1u);
    ExpectClosed3D(model.plines["ROOFLIGHT"][0], glazing, "roof light");
    ASSERT_EQ(model.plines["DAYLIGHT"].size(), 1u);
    ExpectClosed3D(model.plines["DAYLIGHT"][0], area, "roof light daylight area");
    ASSERT_EQ(model.lines["DAYLIGHT"].size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        ExpectPoint(model.lines["DAYLIGHT"][i]->m_Start, glazing[i], "join start");
        ExpectPoint(model.lines["DAYLIGHT"][i]->m_End, area[i], "join end");
    }
    ExpectClosed3D(model.plines["CEILING"].at(0), AtZ(Rect(2, 3, 12, 13), 3.0), "ceiling");
    EXPECT_EQ(model.Count("WINDOW"), 0u);
    EXPECT_EQ(model.Count("0"), 0u);
}

TEST(Room3DModel, SlopedWindowsTheirGlazingAndTheirDaylightAreas) {
    // The same sloped glazing on the south wall of a 5 x 4 x 3 m room, as both sloped kinds.
    const double c30 = std::cos(30.0 * kDegToRad), s30 = std::sin(30.0 * kDegToRad);
    struct Case {
        int type;
        Polygon glazing;   // on WINDOW, lettered R to U
        size_t roofLights; // equivalent roof lights on ROOFLIGHT
        Polygon daylight;  // the one closed polyline on DAYLIGHT
    };
    // Vertical sloped: the vertical rectangle from 2.3 to 3.5 m as drawn (not lowered); its
    // daylight area comes from the vertical equivalent lowered to 1.8-3.0 m: aD = min(5.5, 4) = 4.
    // Horizontal sloped: the glazing turned 30 degrees over the room about the line 2 m up the
    // wall; its equivalent roof light is the plan box of that glazing, 1.2 x 0.6 m at the mean
    // height of its top and bottom edges, lit down to the work plane 2.2 m wider on each side.
    const double zLow = 2.0 + 0.3 * c30, zHigh = 2.0 + 1.5 * c30;
    const std::vector<Case> cases = {
        {VWT_VERTICAL_SLOPED,
         {Point(1, 0, 2.3), Point(2.2, 0, 2.3), Point(2.2, 0, 3.5), Point(1, 0, 3.5)},
         0,
         {Point(0, 0, 0.8), Point(3.2, 0, 0.8), Point(3.2, 4, 0.8), Point(0, 4, 0.8)}},
        {VWT_HORIZONTAL_SLOPED,
         {Point(1, 0.3 * s30, zLow), Point(2.2, 0.3 * s30, zLow), Point(2.2, 1.5 * s30, zHigh),
          Point(1, 1.5 * s30, zHigh)},
         1,
         {Point(1 - 2.2, 0.15 - 2.2, 0.8), Point(2.2 + 2.2, 0.15 - 2.2, 0.8),
          Point(2.2 + 2.2, 0.75 + 2.2, 0.8), Point(1 - 2.2, 0.75 + 2.2, 0.8)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CLENIWindow::GetVertWinTypeName(c.type));
        CLENIRoom room = MakeRoom("S", Rect(0, 0, 5, 4), 3.0);
        ASSERT_TRUE(room.AddWindow(MakeSlopedWindow(c.type)));
        const auto dxf = BuildRoom3DModel(room, 3.0);
        ModelByLayer model(*dxf);
        ASSERT_EQ(model.plines["WINDOW"].size(), 1u);
        ExpectClosed3D(model.plines["WINDOW"][0], c.glazing, "glazing", 1e-9);
        ASSERT_EQ(model.texts["0"].size(), 4u);
        ExpectPoint(model.texts["0"][2]->m_Insert, c.glazing[2], "letter T");
        ASSERT_EQ(model.plines["DAYLIGHT"].size(), 1u);
        ExpectClosed3D(model.plines["DAYLIGHT"][0], c.daylight, "daylight area", 1e-9);
        ASSERT_EQ(model.plines["ROOFLIGHT"].size(), c.roofLights);
        EXPECT_EQ(model.lines["DAYLIGHT"].size(), 4 * c.roofLights);
        if (c.roofLights == 1) {
            const double zEq = (zLow + zHigh) / 2.0;
            ExpectClosed3D(
                model.plines["ROOFLIGHT"][0],
                {Point(1, 0.15, zEq), Point(2.2, 0.15, zEq), Point(2.2, 0.75, zEq), Point(1, 0.75, zEq)},
                "equivalent roof light", 1e-9);
            ExpectPoint(model.lines["DAYLIGHT"][3]->m_Start, Point(1, 0.75, zEq), "join start", 1e-9);
            ExpectPoint(model.lines["DAYLIGHT"][3]->m_End, c.daylight[3], "join end", 1e-9);
        }
    }
}

TEST(Room3DModel, WindowOnAWallTheRoomNoLongerHasIsLeftOut) {
    CLENIRoom room = MakeRoom("R", Rect(0, 0, 5, 4), 3.0);
    ASSERT_TRUE(room.AddWindow(MakeWindow(1, 0.5, 1.0, 1.0, 1.0)));
    ASSERT_TRUE(room.AddWindow(MakeWindow(7, 0.5, 1.0, 1.0, 1.0)));
    LogRecorder log;
    const auto dxf = BuildRoom3DModel(room, 3.0);
    ModelByLayer model(*dxf);
    EXPECT_EQ(model.Count("WINDOW"), 1u);
    EXPECT_EQ(model.Count("0"), 4u);
    EXPECT_EQ(model.Count("DAYLIGHT"), 1u);
    EXPECT_NE(log.All().find("GetWallStartAndEnd2D(7) out of range"), std::string::npos) << log.All();
}

// A room with windows of every kind and a roof light, saved as its user would.
std::unique_ptr<CDxfFile> FullModel() {
    CLENIRoom room = MakeRoom("OFFICE 1", Rect(0, 0, 8, 6), 3.0);
    room.AddWindow(MakeWindow(1, 1.0, 2.0, 0.9, 1.5));
    CLENIWindow sloped = MakeSlopedWindow(VWT_HORIZONTAL_SLOPED);
    room.AddWindow(sloped);
    sloped.m_iVertWinType = VWT_VERTICAL_SLOPED;
    sloped.m_iWallId = 2;
    room.AddWindow(sloped);
    CLENIRoofLight rl;
    rl.m_iId = 0;
    room.AddRoofLight(rl);
    return BuildRoom3DModel(room, 3.0);
}

TEST(Room3DModel, SavedModelReadsBackAndInOtherCadPrograms) {
    const auto dxf = FullModel();
    const int entities = dxf->GetEntityCount();
    ASSERT_EQ(entities, 4 + 3 + 3 * (4 + 1) + 2 * 1 + 2 * (1 + 1 + 4));
    TempDir dir("room3d");
    // The name as the viewer proposes it: the room's name and "_3D"; the writer adds ".DXF".
    ASSERT_TRUE(dxf->SaveFile((dir / "OFFICE 1_3D").string()));
    const fs::path file = dir / "OFFICE 1_3D.DXF";
    ASSERT_TRUE(fs::exists(file));

    CDxfFile back;
    ASSERT_TRUE(back.ReadFile(file.string()));
    EXPECT_EQ(back.GetEntityCount(), entities);
    EXPECT_EQ(back.GetLayerTable().GetCount(), 7);
    EXPECT_TRUE(back.GetLayerTable().LayerExists("DAYLIGHT"));
    int closed3D = 0;
    for (const auto& e : back.GetEntList())
        if (e->GetType() == DXF_PLINE)
            closed3D +=
                static_cast<const CDxfPline&>(*e).m_bClosed && static_cast<const CDxfPline&>(*e).m_b3D;
    EXPECT_EQ(closed3D, 3 + 3 + 2 + 2 * 2);

    if (!PythonHasEzdxf()) {
        GTEST_SKIP() << "python3 ezdxf is not installed";
    } else {
        std::string out;
        const int rc = RunPython("import sys, ezdxf\n"
                                 "doc = ezdxf.readfile(sys.argv[1])\n"
                                 "auditor = doc.audit()\n"
                                 "print('ERRORS', len(auditor.errors))\n"
                                 "for e in auditor.errors: print(e.message)\n"
                                 "msp = doc.modelspace()\n"
                                 "print('ENTITIES', len(msp))\n"
                                 "print('POLYLINES3D', sum(1 for p in msp.query('POLYLINE') if "
                                 "p.is_3d_polyline and p.is_closed))\n"
                                 "print('LAYERS', ' '.join(sorted(l.dxf.name for l in doc.layers if "
                                 "l.dxf.name != 'Defpoints')))\n",
                                 file, out);
        EXPECT_EQ(rc, 0) << out;
        EXPECT_NE(out.find("ERRORS 0\n"), std::string::npos) << out;
        EXPECT_NE(out.find("ENTITIES " + std::to_string(entities) + "\n"), std::string::npos) << out;
        EXPECT_NE(out.find("POLYLINES3D 12\n"), std::string::npos) << out;
        EXPECT_NE(out.find("LAYERS 0 CEILING DAYLIGHT FLOOR ROOFLIGHT WINDOW WRKSURF\n"), std::string::npos)
            << out;
    }
    if (std::system("command -v librecad >/dev/null 2>&1") != 0) return;
    const std::string command =
        "cd '" + dir.path().string() +
        "' && QT_QPA_PLATFORM=offscreen timeout 60 librecad dxf2pdf 'OFFICE 1_3D.DXF' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(fs::exists(dir / "OFFICE 1_3D.pdf"));
}

} // namespace
