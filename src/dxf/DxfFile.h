#pragma once
// One DXF drawing in memory: the model-space entities, the layer table, the block table and the
// snap points, read from an ASCII DXF file and written back to one.
// Note: the reader covers the subset floor plans use: HEADER extents, the LAYER table, blocks
// with inserts and attributes, LINE, POINT, CIRCLE, ARC, ELLIPSE (full, in the plane), TEXT,
// MTEXT, LWPOLYLINE, POLYLINE (with polyface and polygon meshes), 3DFACE, SOLID and INSERT.
// Every other entity is skipped; binary DXF is refused.

#include "base/FileUtils.h"
#include "dxf/DrawCanvas.h"
#include "dxf/DxfBlock.h"
#include "dxf/EntList.h"
#include "dxf/Geometry.h"
#include "dxf/LayerTable.h"

#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CDxfLineReader;
class CDxfInsert;
class CDxfMesh;

// The group last read: its code and its value line. The text is always kept; groups whose code
// holds a number are also converted once, when read.
struct DxfGroup {
    enum ValueType { TEXT = 0, DOUBLE = 1, INTEGER = 2 };
    static constexpr size_t kMaxValue = 1024;

    int code = -1;
    ValueType type = TEXT;
    char text[kMaxValue + 1] = ""; // the value line without its line end
    double d = 0.0;                // codes 10-59, 110-112, 120-122, 130-132, 140-147, 210-239, 1010-1059
    int i = 0;                     // codes 60-79, 90-93, 95, 97, 98, 105, 170-179, 270-275, 279-380, ...

    static ValueType TypeOfCode(int code);
    bool Is(const char* value) const;
};

// A coordinate or size as the writer puts it in the file: "%.10f" without trailing zeros but
// with at least one decimal ("2.0", "-0.25"), or "%E" outside (-1e10, 1e10).
std::string FormatDxfNumber(double value);

// Metres per drawing unit for a header's units code: 1 inch, 2 foot, 4 mm, 5 cm, 6 m; 0 for a code
// that names no length these plans are drawn in (unitless, miles, microns and the rest).
double MetresPerHeaderUnit(int units);

class CDxfFile {
  public:
    static constexpr int kMaxBlocks = 3000;
    static constexpr size_t kMaxFileName = kMaxPathBytes; // the platform's longest path
    // Bounds that keep a damaged or hostile file from exhausting the machine: the entities one
    // insert may draw through its nested blocks, those all the inserts of the drawing may draw
    // (each entity counting one, and one more per vertex or mesh point), and the vertices of one
    // polyline (a longer one is not read).
    static constexpr size_t kMaxInsertExpansion = 1000000;
    static constexpr size_t kMaxDrawingExpansion = 10000000;
    static constexpr size_t kMaxPlineVertices = 1000000;
    // Snap points kept at least, whatever the size of the file.
    static constexpr size_t kMinSnapPoints = 10000;

    CDxfFile();
    // Reads the file; the result is not kept (callers look at the entity count).
    explicit CDxfFile(const std::string& fileName);
    ~CDxfFile();
    CDxfFile(const CDxfFile&) = delete;
    CDxfFile& operator=(const CDxfFile&) = delete;

    // True when the file was read up to its EOF group; false on the first error, keeping what was
    // read before it.
    bool ReadFile(const std::string& fileName);
    // Reads the next group into m_Group; false at the end of the file or when the code differs
    // from the expected one (-1 accepts any). Comments are skipped wherever they stand.
    bool ReadGroup(int expectedCode);
    const DxfGroup& GetGroup() const { return m_Group; }

    // Writes the drawing as an ASCII DXF file (".DXF" is appended to a name without it).
    bool SaveFile(const std::string& fileName);
    // The file's text as SaveFile writes it.
    std::string WriteToString() const;

    // The smallest box over the entities on visible layers, each axis grown on both sides by
    // (max - min) x margin; (0, 0, 0) twice for a drawing with nothing visible.
    void GetExtents(Point& min, Point& max, const Point& margin = Point()) const;
    // max - min of the box without margin.
    Point GetSize() const;
    // Hides the named layer.
    void SetLayerVisibility(const char* layerName) { m_LayerTable.SetLayerVisibility(layerName); }

    // Back to the empty drawing: no entities or blocks, only layer "0" (colour 7, visible).
    void Reset();

    CEntList& GetEntList() { return m_EntList; }
    const CEntList& GetEntList() const { return m_EntList; }
    CLayerTable& GetLayerTable() { return m_LayerTable; }
    const CLayerTable& GetLayerTable() const { return m_LayerTable; }
    int GetEntityCount() const { return m_EntList.GetCount(); }
    int GetBlockCount() const { return static_cast<int>(m_Blocks.size()); }
    CDxfBlock* GetBlock(int i) const { return m_Blocks[i].get(); }
    // Case-insensitive; null when there is no block of that name.
    CDxfBlock* FindBlock(const std::string& name) const;
    // Adds a copy of the block; false (logged) when the table is full or the name is taken.
    CDxfBlock* AddBlock(const CDxfBlock& block);
    // The points of the drawing made at the first call after reading: a batch run that only
    // imports the drawing never needs them, and for long polylines they took as much memory again
    // as the polylines' vertices.
    const CSnapPointList& GetSnapPoints() const;
    CSnapPointList& GetSnapPoints();
    const std::string& GetFileName() const { return m_csFileName; }
    const Point& GetHeaderExtMin() const { return m_ExtMin; }
    const Point& GetHeaderExtMax() const { return m_ExtMax; }
    // The drawing's units as its header names them ($INSUNITS), -1 when it names none.
    int GetHeaderUnits() const { return m_iHeaderUnits; }
    int GetLineCount() const { return m_iLineCount; }

    Rgb m_BackgroundColour = 0xFFFFFF;
    double m_dWriteScale = 1.0; // applied by SaveFile: (coordinate + offset) x scale
    Point m_WriteOffset;

  private:
    enum class Context { Entities, Block };

    void ResetForRead();
    bool ReadLine(bool& atEof);
    bool ReadSection();
    bool ReadHeader();
    bool ReadTables();
    bool ReadTable();
    bool ReadLayerTable();
    bool ReadBlocks();
    bool ReadBlock();
    bool ReadEntities();
    bool SkipObjectsSection(const char* name);
    bool SkipSection();
    bool SkipToGroup0();
    // Reads the entity named by the current group 0 into the list; on return the group 0 that
    // follows the entity is current. False on a read error.
    bool ReadEntity(CEntList& list, Context context);
    bool ReadAttributes(CDxfInsert& insert, Context context);
    // Reports a polyline left out for its length; reading goes on.
    bool RefuseLongPolyline();
    void SetCurrentLayer(const char* name);
    void ResolveInserts();
    void ResolveList(CEntList& list, std::unordered_set<const CDxfBlock*>& resolved);
    // Cuts the inserts that would draw more than the bounds allow; returns the entities a walk
    // over the list meets.
    struct ExpansionWalk {
        std::unordered_map<const CDxfBlock*, size_t> sizes; // entities met through each block
        bool reported = false;                              // an insert was cut and reported
    };
    size_t LimitExpansion(const CEntList& list, size_t limit, ExpansionWalk& walk);
    void CutInsert(CDxfInsert& insert, ExpansionWalk& walk, const char* why, size_t limit);
    void CheckMeshOrientation();
    void RebuildSnapPoints() const;

    CEntList m_EntList;
    CLayerTable m_LayerTable;
    std::vector<std::unique_ptr<CDxfBlock>> m_Blocks;
    std::unordered_map<std::string, CDxfBlock*> m_BlockIndex; // upper-case name -> block
    mutable CSnapPointList m_SnapPoints;
    mutable bool m_bSnapPointsDue = false;
    CDxfLayer* m_pCurrentLayer = nullptr;
    int m_iLineCount = 0;
    std::string m_csFileName;
    Point m_ExtMin, m_ExtMax;
    int m_iHeaderUnits = -1;
    DxfGroup m_Group;
    std::unique_ptr<CDxfLineReader> m_pReader;
    char m_Line[DxfGroup::kMaxValue + 1] = ""; // the line last read
    size_t m_LineLength = 0;
    std::string m_csLastLayerRaw; // the group 8 text that chose the current layer
    bool m_bEntitiesEntered = false;
    bool m_bNumberRefused = false;         // a number of the file was refused and reported
    bool m_bBlockOverflowReported = false; // the block table overflowed and it was reported
};
