#include "dxf/Dxf3DFace.h"
#include "dxf/DxfArc.h"
#include "dxf/DxfCircle.h"
#include "dxf/DxfEllipse.h"
#include "dxf/DxfFile.h"
#include "dxf/DxfInsert.h"
#include "dxf/DxfLine.h"
#include "dxf/DxfMesh.h"
#include "dxf/DxfPgonMesh.h"
#include "dxf/DxfPline.h"
#include "dxf/DxfPoint.h"
#include "dxf/DxfSolid.h"
#include "dxf/DxfText.h"
#include "support/DxfTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// A drawing with one entity of every kind the writer knows, on coloured and hidden layers.
void BuildEveryKind(CDxfFile& dxf) {
    CLayerTable& layers = dxf.GetLayerTable();
    CDxfLayer* walls = layers.AddLayer("WALLS", 3, true);
    CDxfLayer* hidden = layers.AddLayer("HIDDEN", 200, false);
    CEntList& list = dxf.GetEntList();

    CDxfBlock block;
    block.SetName("DOOR");
    block.SetLayer("WALLS");
    block.m_BasePoint = Point(1, 1, 0);
    block.m_EntList.AddEntity(CDxfLine(Point(1, 1), Point(2, 1)), walls);
    CDxfBlock* door = dxf.AddBlock(block);
    ASSERT_NE(door, nullptr);

    CDxfLine line(Point(0, 0, 1), Point(10, 5, 1));
    line.SetColour(1);
    list.AddEntity(line, walls);
    list.AddEntity(CDxfPoint(Point(3, 4, 5)), hidden);
    CDxfPline closed;
    closed.m_bClosed = true;
    closed.AddVertex(Point(0, 0), 0.5, 0.2);
    closed.AddVertex(Point(4, 0));
    closed.AddVertex(Point(4, 3), 0.0, 0.1);
    list.AddEntity(closed, walls);
    CDxfPline spatial;
    spatial.m_b3D = true;
    spatial.AddVertex(Point(0, 0, 1));
    spatial.AddVertex(Point(1, 2, 3));
    list.AddEntity(spatial, walls);
    CDxfCircle circle(Point(7, 7), 2.5);
    circle.SetColour(5);
    list.AddEntity(circle, walls);
    list.AddEntity(CDxfArc(Point(1, 2), 3, 350, 10), hidden);
    CDxfText text("Room 1", Point(2, 3), 0.5);
    text.m_dRotation = 30;
    text.m_iHorzJustify = 1;
    list.AddEntity(text, walls);
    CDxfSolid solid;
    solid.m_iNumCorners = 4;
    solid.m_Corners[1] = Point(1, 0);
    solid.m_Corners[2] = Point(0, 1);
    solid.m_Corners[3] = Point(1, 1);
    solid.SetColour(2);
    list.AddEntity(solid, walls);
    CDxf3DFace face;
    face.m_Corners[1] = Point(1, 0, 1);
    face.m_Corners[2] = Point(1, 1, 1);
    face.m_Corners[3] = Point(0, 1, 0);
    list.AddEntity(face, walls);
    CDxfMesh mesh; // one face, facing up (outward as the reader sees it)
    for (const Point& p : {Point(0, 0, 0), Point(1, 0, 0), Point(1, 1, 0), Point(0, 1, 0)})
        mesh.AddPoint(p);
    const int quad[4] = {1, 2, 3, 4};
    mesh.AddFace(quad, 4);
    list.AddEntity(mesh, walls);
    CDxfPgonMesh grid;
    grid.Init(2, 2, false, true);
    for (const Point& p : {Point(0, 0), Point(1, 0), Point(0, 1), Point(1, 1)})
        grid.AddPoint(p);
    list.AddEntity(grid, walls);
    CDxfInsert insert;
    insert.m_pBlock = door;
    insert.SetBlockName("DOOR");
    insert.m_Insert = Point(20, 20);
    insert.m_dScaleX = 2;
    insert.m_dRotation = 90;
    list.AddEntity(insert, walls);
    list.AddEntity(CDxfEllipse(Point(0, 0), 2, 1), walls); // not written
}

class DxfFileWrite : public ::testing::Test {
  protected:
    TempDir dir{"dxfwrite"};
    RecordingMessageBoxes boxes;
    LogRecorder log;
};

} // namespace

TEST(DxfNumberFormat, ShortestDecimalsOrExponent) {
    const std::pair<double, const char*> cases[] = {
        {1.5, "1.5"},
        {2.0, "2.0"},
        {0.0, "0.0"},
        {-0.25, "-0.25"},
        {3.0, "3.0"},
        {1e12, "1.000000E+12"},
        {-2e10, "-2.000000E+10"},
        {1e-11, "0.0"},
        {0.1 + 0.2, "0.3"},
        {0.1234567890123, "0.123456789"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatDxfNumber(value), text) << value;
}

TEST_F(DxfFileWrite, NameGetsTheExtensionWhenItLacksIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"plan", "plan.DXF"}, {"plan.dxf", "plan.dxf"},     {"a.DxF", "a.DxF"},
        {".dxf", ".dxf.DXF"}, {"plan.dwg", "plan.dwg.DXF"},
    };
    // The rule looks at the name as given, so a bare name in the current folder.
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    for (const auto& [given, written] : cases) {
        CDxfFile dxf;
        EXPECT_TRUE(dxf.SaveFile(given));
        EXPECT_TRUE(FileExists(dir / written)) << given;
    }
    fs::current_path(previous);
    EXPECT_TRUE(log.Contains("SaveFile <"));
}

TEST_F(DxfFileWrite, OpenFailureIsReportedAndLeavesNothing) {
    CDxfFile dxf;
    const fs::path target = dir / "missing folder" / "x.dxf";
    EXPECT_FALSE(dxf.SaveFile(target.string()));
    EXPECT_EQ(log.Count("Could not open:\n" + target.string() + "\nfor write, errno=", LOG_ERROR), 1);
}

TEST_F(DxfFileWrite, LayerTableAndPolylineFlags) {
    CDxfFile dxf;
    EXPECT_NE(dxf.WriteToString().find(
                  " 0\r\nTABLE\r\n 2\r\nLAYER\r\n 70\r\n1\r\n 0\r\nLAYER\r\n 2\r\n0\r\n 70\r\n64\r\n"
                  " 62\r\n7\r\n 6\r\nCONTINUOUS\r\n 0\r\nENDTAB\r\n"),
              std::string::npos);
    dxf.GetLayerTable().AddLayer("OFF", 4, false);
    CDxfPline open;
    open.AddVertex(Point(0, 0, 2));
    open.AddVertex(Point(3, 0, 2));
    CDxfPline closed = open;
    closed.m_bClosed = true;
    dxf.GetEntList().AddEntity(open, dxf.GetLayerTable().GetLayer(1));
    dxf.GetEntList().AddEntity(closed, nullptr);
    const std::string text = dxf.WriteToString();
    EXPECT_NE(text.find(" 2\r\nOFF\r\n 70\r\n65\r\n 62\r\n4\r\n"), std::string::npos);
    EXPECT_NE(
        text.find(" 0\r\nPOLYLINE\r\n 8\r\nOFF\r\n 66\r\n1\r\n 10\r\n0.0\r\n 20\r\n0.0\r\n 30\r\n2.0\r\n"
                  " 0\r\nVERTEX\r\n 8\r\nOFF\r\n 10\r\n0.0\r\n 20\r\n0.0\r\n 30\r\n2.0\r\n"),
        std::string::npos);
    EXPECT_NE(text.find(" 0\r\nPOLYLINE\r\n 8\r\n0\r\n 70\r\n1\r\n 66\r\n1\r\n"), std::string::npos);
    EXPECT_EQ(text.rfind(" 0\r\nEOF\r\n"), text.size() - 9);
}

TEST_F(DxfFileWrite, OffsetAndScaleApplyToEntitiesButNotToBlocks) {
    CDxfFile dxf;
    CDxfBlock block;
    block.SetName("B");
    block.m_EntList.AddEntity(CDxfCircle(Point(1, 1), 1), dxf.GetLayerTable().GetLayer(0));
    dxf.AddBlock(block);
    dxf.GetEntList().AddEntity(CDxfCircle(Point(1, 2), 1.5), dxf.GetLayerTable().GetLayer(0));
    dxf.m_WriteOffset = Point(10, 0, 0);
    dxf.m_dWriteScale = 2;
    const std::string text = dxf.WriteToString();
    EXPECT_NE(text.find(" 10\r\n1.0\r\n 20\r\n1.0\r\n 30\r\n0.0\r\n 40\r\n1.0\r\n"), std::string::npos);
    EXPECT_NE(text.find(" 10\r\n22.0\r\n 20\r\n4.0\r\n 30\r\n0.0\r\n 40\r\n3.0\r\n"), std::string::npos);
}

TEST_F(DxfFileWrite, ThreeCornerFacesRepeatTheThirdCorner) {
    CDxfFile dxf;
    CDxf3DFace face;
    face.m_iNumCorners = 3;
    face.m_Corners[2] = Point(5, 6, 7);
    dxf.GetEntList().AddEntity(face, dxf.GetLayerTable().GetLayer(0));
    EXPECT_NE(dxf.WriteToString().find(
                  " 12\r\n5.0\r\n 22\r\n6.0\r\n 32\r\n7.0\r\n 13\r\n5.0\r\n 23\r\n6.0\r\n 33\r\n7.0\r\n"),
              std::string::npos);
}

TEST_F(DxfFileWrite, RoundTripKeepsEntitiesLayersColoursAndVisibility) {
    CDxfFile written;
    BuildEveryKind(written);
    ASSERT_TRUE(written.SaveFile((dir / "every.dxf").string()));
    CDxfFile read;
    ASSERT_TRUE(read.ReadFile((dir / "every.dxf").string()));
    EXPECT_TRUE(boxes.boxes.empty());

    const CLayerTable& a = written.GetLayerTable();
    const CLayerTable& b = read.GetLayerTable();
    ASSERT_EQ(b.GetCount(), a.GetCount());
    for (int i = 0; i < a.GetCount(); ++i) {
        EXPECT_EQ(b.GetLayer(i)->m_csName, a.GetLayer(i)->m_csName);
        EXPECT_EQ(b.GetLayer(i)->m_iColour, a.GetLayer(i)->m_iColour);
        EXPECT_EQ(b.GetLayer(i)->m_bVisible, a.GetLayer(i)->m_bVisible);
    }
    ASSERT_EQ(read.GetEntityCount(), written.GetEntityCount() - 1); // the ellipse is not written
    for (int i = 0; i < read.GetEntityCount(); ++i) {
        const CDxfEntity& x = *written.GetEntList().GetEntityPtr(i);
        const CDxfEntity& y = *read.GetEntList().GetEntityPtr(i);
        SCOPED_TRACE(x.GetTypeName());
        ASSERT_EQ(y.GetType(), x.GetType());
        EXPECT_EQ(y.GetLayerName(), x.GetLayerName());
        EXPECT_EQ(y.GetColour(), x.GetColour());
        if (x.GetType() == DXF_INSERT) {
            const auto& xi = static_cast<const CDxfInsert&>(x);
            const auto& yi = static_cast<const CDxfInsert&>(y);
            ASSERT_NE(yi.m_pBlock, nullptr);
            EXPECT_EQ(yi.m_pBlock->m_csName, "DOOR");
            EXPECT_EQ(yi.m_pBlock->m_BasePoint, xi.m_pBlock->m_BasePoint);
            EXPECT_EQ(yi.m_Insert, xi.m_Insert);
            EXPECT_EQ(yi.m_dRotation, xi.m_dRotation);
            EXPECT_EQ(yi.m_dScaleX, xi.m_dScaleX);
        } else {
            EXPECT_TRUE(y.IsSame(x, 1e-9));
        }
    }
    // What the reader does not compare by IsSame.
    const auto& text = static_cast<const CDxfText&>(*read.GetEntList().GetEntityPtr(6));
    EXPECT_EQ(text.m_dRotation, 30.0);
    EXPECT_EQ(text.m_dHeight, 0.5);
    EXPECT_EQ(text.m_iHorzJustify, 1);
    const auto& mesh = static_cast<const CDxfMesh&>(*read.GetEntList().GetEntityPtr(9));
    EXPECT_EQ(mesh.GetFaceCount(), 1);
    EXPECT_TRUE(static_cast<const CDxfPline&>(*read.GetEntList().GetEntityPtr(3)).m_b3D);
}

TEST_F(DxfFileWrite, ExtrusionIsWrittenSoMirroredEntitiesComeBackInPlace) {
    WriteFileText(dir / "in.dxf",
                  DxfText({"0", "SECTION", "2", "ENTITIES", "0",  "ARC", "10", "5", "20",     "1", "40",
                           "1", "50",      "0", "51",       "90", "230", "-1", "0", "ENDSEC", "0", "EOF"}));
    CDxfFile first;
    ASSERT_TRUE(first.ReadFile((dir / "in.dxf").string()));
    ASSERT_TRUE(first.SaveFile((dir / "out.dxf").string()));
    CDxfFile second;
    ASSERT_TRUE(second.ReadFile((dir / "out.dxf").string()));
    Point a0, a1, b0, b1;
    first.GetExtents(a0, a1);
    second.GetExtents(b0, b1);
    EXPECT_NEAR(b0.x, a0.x, 1e-9);
    EXPECT_NEAR(b1.x, a1.x, 1e-9);
    EXPECT_LT(b1.x, 0.0);
}

TEST_F(DxfFileWrite, OtherCadProgramsReadWhatIsWritten) {
    CDxfFile dxf;
    BuildEveryKind(dxf);
    const fs::path file = dir / "every.dxf";
    ASSERT_TRUE(dxf.SaveFile(file.string()));

    if (!PythonHasEzdxf()) {
        GTEST_SKIP() << "python3 ezdxf is not installed";
    } else {
        std::string out;
        const int rc = RunPython("import sys, ezdxf\n"
                                 "doc = ezdxf.readfile(sys.argv[1])\n"
                                 "auditor = doc.audit()\n"
                                 "print('ERRORS', len(auditor.errors))\n"
                                 "for e in auditor.errors: print(e.message)\n"
                                 "print('ENTITIES', len(doc.modelspace()))\n",
                                 file, out);
        EXPECT_EQ(rc, 0) << out;
        EXPECT_NE(out.find("ERRORS 0\n"), std::string::npos) << out;
        EXPECT_NE(out.find("ENTITIES 12\n"), std::string::npos) << out;
    }
    if (std::system("command -v librecad >/dev/null 2>&1") != 0) return;
    const std::string command =
        "cd '" + dir.path().string() +
        "' && QT_QPA_PLATFORM=offscreen timeout 60 librecad dxf2pdf every.dxf >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(fs::exists(dir / "every.pdf"));
}
