#include "dxf/DxfArc.h"
#include "dxf/DxfCircle.h"
#include "dxf/DxfEllipse.h"
#include "dxf/DxfFile.h"
#include "dxf/DxfInsert.h"
#include "dxf/DxfLine.h"
#include "dxf/DxfMesh.h"
#include "dxf/DxfPgonMesh.h"
#include "dxf/DxfPline.h"
#include "dxf/DxfSolid.h"
#include "dxf/DxfText.h"
#include "support/DxfTestSupport.h"

#include <gtest/gtest.h>

namespace {

class DxfFileRead : public ::testing::Test {
  protected:
    // Reads the text as a file; the result of ReadFile is kept in ok.
    CDxfFile& Read(const std::string& text, const char* name = "drawing.dxf") {
        WriteFileText(dir / name, text);
        ok = dxf.ReadFile((dir / name).string());
        return dxf;
    }
    template <class T> const T& Entity(int i) {
        EXPECT_LT(i, dxf.GetEntityCount());
        return static_cast<const T&>(*dxf.GetEntList().GetEntityPtr(i));
    }

    TempDir dir{"dxfread"};
    RecordingMessageBoxes boxes;
    LogRecorder log;
    CDxfFile dxf;
    bool ok = false;
};

// A drawing with a layer table and a few entities, written with the given line end.
std::string SmallDrawing(const char* lineEnd) {
    return DxfText(
        {"0",  "SECTION", "2",  "HEADER",  "9",  "$EXTMIN",  "10", "1.5",    "20", "-2",      "30", "7",
         "9",  "$EXTMAX", "10", "30",      "20", "40",       "0",  "ENDSEC", "0",  "SECTION", "2",  "TABLES",
         "0",  "TABLE",   "2",  "LAYER",   "70", "2",        "0",  "LAYER",  "2",  "WALLS",   "70", "0",
         "62", "3",       "0",  "LAYER",   "2",  "HIDDEN",   "70", "0",      "62", "-5",      "0",  "ENDTAB",
         "0",  "ENDSEC",  "0",  "SECTION", "2",  "ENTITIES", "0",  "LINE",   "8",  "WALLS",   "10", "0",
         "20", "0",       "30", "0",       "11", "10",       "21", "5",      "31", "0",       "0",  "CIRCLE",
         "8",  "HIDDEN",  "10", "100",     "20", "100",      "40", "2",      "0",  "ENDSEC",  "0",  "EOF"},
        lineEnd);
}

} // namespace

TEST_F(DxfFileRead, BareCarriageReturnsReadLikeCrLf) {
    for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(lineEnd)));
        Read(SmallDrawing(lineEnd));
        ASSERT_TRUE(ok);
        ASSERT_EQ(dxf.GetEntityCount(), 2);
        EXPECT_EQ(Entity<CDxfLine>(0).m_End.x, 10.0);
        EXPECT_EQ(Entity<CDxfLine>(0).GetLayerName(), "WALLS");
        EXPECT_EQ(dxf.GetHeaderExtMin().x, 1.5);
        EXPECT_EQ(dxf.GetHeaderExtMin().y, -2.0);
        EXPECT_EQ(dxf.GetHeaderExtMin().z, 0.0); // the header extents are plane points
        EXPECT_EQ(dxf.GetHeaderExtMax().y, 40.0);
        EXPECT_EQ(dxf.GetLayerTable().GetCount(), 3);
    }
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(DxfFileRead, ExtentsLeaveOutHiddenLayersAndGrowByTheMargin) {
    Read(SmallDrawing("\n"));
    ASSERT_TRUE(ok);
    EXPECT_FALSE(dxf.GetLayerTable().GetLayerPtrFromName("HIDDEN")->m_bVisible);
    EXPECT_EQ(dxf.GetLayerTable().GetLayerPtrFromName("HIDDEN")->m_iColour, 5);
    Point lo, hi;
    dxf.GetExtents(lo, hi);
    EXPECT_EQ(lo.x, 0.0);
    EXPECT_EQ(hi.x, 10.0);
    EXPECT_EQ(hi.y, 5.0);
    dxf.GetExtents(lo, hi, Point(0.1, 0.2, 0.0));
    EXPECT_DOUBLE_EQ(lo.x, -1.0);
    EXPECT_DOUBLE_EQ(hi.x, 11.0);
    EXPECT_DOUBLE_EQ(lo.y, -1.0);
    EXPECT_DOUBLE_EQ(hi.y, 6.0);
    EXPECT_DOUBLE_EQ(dxf.GetSize().x, 10.0);

    dxf.SetLayerVisibility("WALLS");
    dxf.GetExtents(lo, hi, Point(0.1, 0.1, 0.1));
    EXPECT_EQ(lo, Point());
    EXPECT_EQ(hi, Point());
}

TEST_F(DxfFileRead, CommentsAreSkippedWhereverTheyStand) {
    Read(DxfText({"999", "written by hand", "0",   "SECTION", "2",   "HEADER",   "9",  "$EXTMIN",
                  "999", "before x",        "10",  "4",       "999", "before y", "20", "6",
                  "0",   "ENDSEC",          "0",   "SECTION", "999", "x",        "2",  "ENTITIES",
                  "0",   "POINT",           "999", "mid",     "10",  "1",        "20", "2",
                  "0",   "ENDSEC",          "999", "end",     "0",   "EOF"}));
    EXPECT_TRUE(ok);
    EXPECT_EQ(dxf.GetHeaderExtMin(), Point(4, 6, 0));
    ASSERT_EQ(dxf.GetEntityCount(), 1);
    EXPECT_EQ(dxf.GetLineCount(), 38); // every line, comments included
}

TEST_F(DxfFileRead, LayerRecordsKeepThePreviousColourAndUnknownLayersFallBackToZero) {
    Read(DxfText({"0", "SECTION",  "2",  "TABLES",     "0",  "TABLE", "2", "LAYER",   "0",  "LAYER",
                  "2", "A",        "62", "4",          "0",  "LAYER", "2", "B",       "70", "1",
                  "0", "LAYER",    "2",  "Wand (neu)", "62", "6",     "0", "ENDTAB",  "0",  "ENDSEC",
                  "0", "SECTION",  "2",  "ENTITIES",   "0",  "LINE",  "8", "NOWHERE", "0",  "LINE",
                  "8", "wand neu", "0",  "ENDSEC",     "0",  "EOF"}));
    ASSERT_TRUE(ok);
    const CLayerTable& layers = dxf.GetLayerTable();
    EXPECT_EQ(layers.GetLayerPtrFromName("B")->m_iColour, 4);  // no group 62: the colour before
    EXPECT_FALSE(layers.GetLayerPtrFromName("B")->m_bVisible); // frozen
    EXPECT_TRUE(layers.GetLayerPtrFromName("A")->m_bVisible);
    EXPECT_TRUE(layers.LayerExists("Wandneu")); // names keep letters, digits, "_" and "-"
    ASSERT_EQ(dxf.GetEntityCount(), 2);
    EXPECT_EQ(Entity<CDxfLine>(0).GetLayerName(), "0");
    EXPECT_EQ(Entity<CDxfLine>(1).GetLayerName(), "Wandneu");
}

TEST_F(DxfFileRead, InsertsResolveForwardReferencesAndSurviveBlocksThatInsertThemselves) {
    Read(DxfText({"0",  "SECTION", "2",  "BLOCKS",  "0",  "BLOCK",   "8",  "0",        "2",  "OUTER",
                  "70", "0",       "10", "0",       "20", "0",       "0",  "INSERT",   "2",  "INNER",
                  "10", "5",       "20", "0",       "0",  "ENDBLK",  "0",  "BLOCK",    "2",  "INNER",
                  "10", "0",       "20", "0",       "0",  "LINE",    "10", "0",        "20", "0",
                  "11", "1",       "21", "1",       "0",  "INSERT",  "2",  "LOOP",     "0",  "ENDBLK",
                  "0",  "BLOCK",   "2",  "LOOP",    "0",  "INSERT",  "2",  "LOOP",     "0",  "INSERT",
                  "2",  "INNER",   "0",  "ENDBLK",  "0",  "BLOCK",   "2",  "*U1",      "70", "1",
                  "0",  "ENDBLK",  "0",  "ENDSEC",  "0",  "SECTION", "2",  "ENTITIES", "0",  "INSERT",
                  "2",  "outer",   "10", "100",     "20", "0",       "41", "2",        "42", "2",
                  "0",  "INSERT",  "2",  "MISSING", "0",  "ENDSEC",  "0",  "EOF"}));
    ASSERT_TRUE(ok);
    EXPECT_EQ(dxf.GetBlockCount(), 3); // the anonymous block is dropped
    ASSERT_EQ(dxf.GetEntityCount(), 2);
    const auto& outer = Entity<CDxfInsert>(0);
    ASSERT_NE(outer.m_pBlock, nullptr);
    const auto& nested = static_cast<const CDxfInsert&>(*outer.m_pBlock->m_EntList.GetEntityPtr(0));
    ASSERT_NE(nested.m_pBlock, nullptr);
    EXPECT_EQ(nested.m_pBlock->m_csName, "INNER");
    EXPECT_EQ(Entity<CDxfInsert>(1).m_pBlock, nullptr);
    EXPECT_TRUE(log.Contains("****Could not resolve an insert of MISSING"));
    // The loop contributes nothing; the line of INNER lands at 100 + 2 * 5 ... + 2 * 1.
    Point lo, hi;
    dxf.GetExtents(lo, hi);
    EXPECT_DOUBLE_EQ(lo.x, 110.0);
    EXPECT_DOUBLE_EQ(hi.x, 112.0);
    EXPECT_DOUBLE_EQ(hi.y, 2.0);
}

TEST_F(DxfFileRead, SolidsNeedNineToTwelveCoordinates) {
    Read(DxfText({"0",  "SECTION", "2",  "ENTITIES", "0",  "SOLID", "10", "0",      "20", "0",     "30",
                  "0",  "11",      "1",  "21",       "0",  "31",    "0",  "12",     "0",  "22",    "1",
                  "32", "0",       "13", "1",        "23", "1",     "33", "0",      "0",  "SOLID", "10",
                  "0",  "20",      "0",  "11",       "1",  "21",    "0",  "12",     "0",  "22",    "1",
                  "13", "1",       "23", "1",        "0",  "LINE",  "0",  "ENDSEC", "0",  "EOF"}));
    EXPECT_FALSE(ok);
    ASSERT_EQ(dxf.GetEntityCount(), 1); // what came before the bad solid stays
    EXPECT_EQ(Entity<CDxfSolid>(0).GetCornerCount(), 4);
    EXPECT_EQ(log.Count("ReadSolidEntity, iNumCoords coordinates must be between 9 and 16:8", LOG_ERROR), 1);
}

TEST_F(DxfFileRead, EllipsesAreKeptWholeAndAxisAlignedArcsOfThemDropped) {
    Read(DxfText({"0",  "SECTION", "2",   "ENTITIES", "0",  "ELLIPSE", "10", "5",       "20", "5",
                  "11", "3",       "21",  "-4",       "40", "0.5",     "0",  "ELLIPSE", "10", "0",
                  "20", "0",       "11",  "1",        "21", "2",       "40", "0.5",     "41", "0",
                  "42", "3.14159", "0",   "ELLIPSE",  "10", "0",       "20", "0",       "11", "1",
                  "21", "0",       "230", "-1",       "0",  "ENDSEC",  "0",  "EOF"}));
    ASSERT_TRUE(ok);
    ASSERT_EQ(dxf.GetEntityCount(), 2);
    const auto& rotated = Entity<CDxfEllipse>(0);
    EXPECT_DOUBLE_EQ(rotated.m_dYSemiAxis, 4.0); // the dominant component of the major axis
    EXPECT_DOUBLE_EQ(rotated.m_dXSemiAxis, 2.0);
    // Flipped the other way round: the centre is a world point and stays where it is.
    EXPECT_EQ(Entity<CDxfEllipse>(1).m_Centre, Point());
}

TEST_F(DxfFileRead, TextsBlankOrFormattedAndInvisibleOrPaperSpaceEntities) {
    Read(DxfText({"0",  "SECTION", "2",  "ENTITIES", "0",  "TEXT",
                  "1",  "   ",     "0",  "MTEXT",    "1",  "{\\fArial|b0|i0;Room 1\\Pnorth}",
                  "10", "10",      "20", "20",       "40", "2",
                  "41", "8",       "71", "5",        "72", "1",
                  "0",  "LINE",    "60", "1",        "0",  "CIRCLE",
                  "67", "1",       "0",  "TEXT",     "1",  "caf\xe9",
                  "0",  "ENDSEC",  "0",  "EOF"}));
    ASSERT_TRUE(ok);
    ASSERT_EQ(dxf.GetEntityCount(), 2);
    const auto& mtext = Entity<CDxfText>(0);
    EXPECT_EQ(mtext.m_csText, "Room 1north");
    // Middle centre: moved by half the reference width and half the height to the bottom left.
    EXPECT_DOUBLE_EQ(mtext.m_Insert.x, 6.0);
    EXPECT_DOUBLE_EQ(mtext.m_Insert.y, 19.0);
    EXPECT_EQ(mtext.m_iHorzJustify, 0);
    EXPECT_EQ(Entity<CDxfText>(1).m_csText, "caf\xc3\xa9"); // Windows-1252 in the file
}

TEST_F(DxfFileRead, MissingEofReportsTheEndAndKeepsTheEntities) {
    Read(DxfText({"0", "SECTION", "2", "ENTITIES", "0", "POINT", "10", "1", "0", "POINT", "10", "2"}));
    EXPECT_FALSE(ok);
    EXPECT_EQ(dxf.GetEntityCount(), 1);
    EXPECT_TRUE(boxes.Contains("DXF_Error, end of file at line 12 of <"));
}

TEST_F(DxfFileRead, LastLineWithoutLineEndIsReadWhole) {
    std::string text =
        DxfText({"0", "SECTION", "2", "ENTITIES", "0", "POINT", "0", "ENDSEC", "0"}, "\n") + "EOF";
    Read(text);
    EXPECT_TRUE(ok);
    EXPECT_EQ(dxf.GetEntityCount(), 1);
}

TEST_F(DxfFileRead, PolylinesMeshesAndLightweightPolylines) {
    Read(DxfText({"0", "SECTION", "2", "ENTITIES",
                  // A closed polyline with a bulge and a width.
                  "0", "POLYLINE", "8", "P", "66", "1", "70", "1", "40", "0.5", "0", "VERTEX", "8", "P", "10",
                  "0", "20", "0", "42", "1", "0", "VERTEX", "10", "4", "20", "0", "40", "0.25", "0", "VERTEX",
                  "10", "4", "20", "3", "0", "SEQEND", "8", "P",
                  // A polyface mesh: a square of two coplanar triangles.
                  "0", "POLYLINE", "70", "64", "71", "4", "72", "2", "0", "VERTEX", "10", "0", "20", "0",
                  "70", "192", "0", "VERTEX", "10", "1", "20", "0", "70", "192", "0", "VERTEX", "10", "1",
                  "20", "1", "70", "192", "0", "VERTEX", "10", "0", "20", "1", "70", "192", "0", "VERTEX",
                  "70", "128", "71", "1", "72", "2", "73", "3", "0", "VERTEX", "70", "128", "71", "1", "72",
                  "3", "73", "-4", "0", "SEQEND",
                  // A 2 x 2 polygon mesh.
                  "0", "POLYLINE", "70", "16", "71", "2", "72", "2", "0", "VERTEX", "70", "64", "10", "0",
                  "0", "VERTEX", "70", "64", "10", "1", "0", "VERTEX", "70", "64", "20", "1", "0", "VERTEX",
                  "70", "64", "10", "1", "20", "1", "0", "SEQEND",
                  // A lightweight polyline: elevation, bulge of the last vertex, closed.
                  "0", "LWPOLYLINE", "38", "2.5", "70", "1", "10", "0", "20", "0", "10", "3", "20", "0", "42",
                  "-0.5", "10", "3", "20", "3", "0", "ENDSEC", "0", "EOF"}));
    ASSERT_TRUE(ok);
    ASSERT_EQ(dxf.GetEntityCount(), 4);
    const auto& pline = Entity<CDxfPline>(0);
    EXPECT_TRUE(pline.m_bClosed);
    ASSERT_EQ(pline.GetVertexCount(), 3);
    EXPECT_EQ(pline.GetBulgeAt(0), 1.0);
    EXPECT_EQ(pline.GetWidthAt(0), 0.5); // the header's width until a vertex gives its own
    EXPECT_EQ(pline.GetWidthAt(1), 0.25);
    EXPECT_EQ(pline.GetWidthAt(2), 0.5); // a vertex without width has the default, not the one before

    const auto& mesh = Entity<CDxfMesh>(1);
    ASSERT_EQ(mesh.GetFaceCount(), 2);
    EXPECT_EQ(mesh.m_Faces[0].count, 4); // the two triangles merged
    EXPECT_EQ(mesh.m_Faces[1].count, 0);

    EXPECT_EQ(Entity<CDxfPgonMesh>(2).GetPointCount(), 4);

    const auto& lw = Entity<CDxfPline>(3);
    EXPECT_TRUE(lw.m_bClosed);
    ASSERT_EQ(lw.GetVertexCount(), 3);
    EXPECT_EQ(lw.GetBulgeAt(1), -0.5);
    EXPECT_EQ(lw.GetVertexAt(2).z, 2.5);
}

TEST_F(DxfFileRead, AttributesOfAnInsertBecomeTexts) {
    Read(DxfText({"0",      "SECTION", "2",      "BLOCKS", "0",       "BLOCK", "2",        "TAG",    "0",
                  "ENDBLK", "0",       "ENDSEC", "0",      "SECTION", "2",     "ENTITIES", "0",      "INSERT",
                  "8",      "0",       "2",      "TAG",    "66",      "1",     "0",        "ATTRIB", "8",
                  "NOTES",  "1",       "R12",    "2",      "ROOM",    "11",    "3",        "21",     "4",
                  "40",     "0.5",     "0",      "ATTRIB", "1",       "x",     "2",        "HIDDEN", "70",
                  "1",      "0",       "SEQEND", "8",      "0",       "0",     "ENDSEC",   "0",      "EOF"}));
    ASSERT_TRUE(ok);
    ASSERT_EQ(dxf.GetEntityCount(), 2);
    const auto& text = Entity<CDxfText>(0);
    EXPECT_EQ(text.m_csText, "R12");
    EXPECT_EQ(text.m_Insert, Point(3, 4, 0));
    EXPECT_EQ(text.m_dHeight, 0.5);
    EXPECT_EQ(text.GetLayerName(), "0"); // NOTES is not in the layer table
    const auto& insert = Entity<CDxfInsert>(1);
    ASSERT_EQ(insert.m_Attributes.size(), 1u);
    EXPECT_EQ(insert.m_Attributes[0].tag, "ROOM");
}

TEST_F(DxfFileRead, ExtrusionMirrorsObjectCoordinates) {
    Read(DxfText({"0", "SECTION", "2", "ENTITIES", "0", "CIRCLE", "10", "5", "20",     "1", "40",
                  "1", "210",     "0", "220",      "0", "230",    "-1", "0", "ENDSEC", "0", "EOF"}));
    ASSERT_TRUE(ok);
    Point lo, hi;
    dxf.GetExtents(lo, hi);
    EXPECT_DOUBLE_EQ(lo.x, -6.0);
    EXPECT_DOUBLE_EQ(hi.x, -4.0);
    EXPECT_DOUBLE_EQ(lo.y, 0.0);
}

TEST_F(DxfFileRead, DamagedFilesFailCleanly) {
    struct Case {
        const char* name;
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {"binary", std::string("AutoCAD Binary DXF\r\n\x1a\0\0\x02", 25) + "SECTION",
         "Missing top level separator"},
        {"empty", "", "Expected to read group 0 (line 0)"},
        {"no separator", DxfText({"0", "LINE"}), "Missing top level separator in DXF file\nat line 2"},
        {"eof where a code stands", DxfText({"0", "SECTION", "2", "ENTITIES", "EOF"}), "EOF found"},
        {"bad 3dface corner", DxfText({"0", "SECTION", "2", "ENTITIES", "0", "3DFACE", "14", "1"}),
         "Read3DFaceEntity, bad ikIndex=4"},
        {"3dface of two corners",
         DxfText({"0", "SECTION", "2", "ENTITIES", "0", "3DFACE", "11", "1", "0", "EOF"}),
         "Read3DFaceEntity, too few vertices:2"},
        {"section without name", DxfText({"0", "SECTION", "5", "ENTITIES"}), "Expected a group 2"},
        {"unterminated attribute",
         DxfText({"0", "SECTION", "2", "ENTITIES", "0", "INSERT", "0", "ATTRIB", "1", "x"}),
         "ATTRIB SEQEND not found"},
        {"unterminated objects", DxfText({"0", "SECTION", "2", "OBJECTS", "0", "DICTIONARY"}),
         "SkipSection Error, while skipping a section OBJECTS"},
        {"huge numbers",
         DxfText({"0", "SECTION", "2", "ENTITIES", "0", "LINE", "10", "1e999", "20", "nan", "62",
                  "99999999999", "0", "ENDSEC"}),
         "DXF_Error, end of file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.boxes.clear();
        log.Clear();
        Read(c.text);
        EXPECT_FALSE(ok);
        EXPECT_TRUE(boxes.Contains(c.message) || log.Contains(c.message)) << log.All();
    }
    // The numbers that are no finite numbers read as 0.
    ASSERT_EQ(dxf.GetEntityCount(), 1);
    EXPECT_EQ(Entity<CDxfLine>(0).m_Start, Point());

    boxes.boxes.clear();
    EXPECT_FALSE(dxf.ReadFile((dir / "absent.dxf").string()));
    EXPECT_TRUE(boxes.Contains("ERROR: cannot open DXF file\n"));
    EXPECT_EQ(dxf.GetFileName(), "");
    EXPECT_FALSE(dxf.ReadFile(""));
    EXPECT_TRUE(boxes.Contains("CDxfFile::ReadFile, no filename specified"));
}
