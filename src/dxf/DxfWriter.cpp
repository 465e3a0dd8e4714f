// Writing a drawing as an ASCII DXF file: a minimal HEADER, the LAYER table, the blocks and the
// entities; no handles, CLASSES or OBJECTS.

#include "base/FileUtils.h"
#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "dxf/Dxf3DFace.h"
#include "dxf/DxfArc.h"
#include "dxf/DxfCircle.h"
#include "dxf/DxfFile.h"
#include "dxf/DxfInsert.h"
#include "dxf/DxfLine.h"
#include "dxf/DxfMesh.h"
#include "dxf/DxfPgonMesh.h"
#include "dxf/DxfPline.h"
#include "dxf/DxfPoint.h"
#include "dxf/DxfSolid.h"
#include "dxf/DxfText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <strings.h>

std::string FormatDxfNumber(double value) {
    if (!(value > -1e10 && value < 1e10)) return FormatDouble("%E", value);
    std::string text = FormatDouble("%.10f", value);
    const size_t dot = text.find('.');
    if (dot != std::string::npos) {
        size_t last = text.find_last_not_of('0');
        if (last == dot) --last; // nothing left after the point: drop it too
        text.erase(last + 1);
    }
    if (text.find('.') == std::string::npos) text += ".0";
    return text;
}

namespace {

constexpr size_t kMaxWrittenLayerName = 255;

// Collects the groups; every line ends with CR LF as the files have always had.
class DxfOut {
  public:
    std::string s;
    double scale = 1.0;
    Point offset;

    void Code(int code) {
        char buf[16];
        const int n = std::snprintf(buf, sizeof buf, " %d\r\n", code);
        s.append(buf, static_cast<size_t>(n));
    }
    void Text(int code, const std::string& utf8) {
        Code(code);
        s += AsciiFromWideChar(utf8);
        s += "\r\n";
    }
    void Int(int code, int value) {
        Code(code);
        char buf[16];
        const int n = std::snprintf(buf, sizeof buf, "%d\r\n", value);
        s.append(buf, static_cast<size_t>(n));
    }
    void HeaderDouble(int code, double value) {
        Code(code);
        s += FormatDouble("%.7f", value);
        s += "\r\n";
    }
    void Number(int code, double value) {
        Code(code);
        s += FormatDxfNumber(value);
        s += "\r\n";
    }
    // A point after the write offset and scale, as groups base, base + 10, base + 20.
    void Coords(int base, const Point& p) {
        Number(base, (p.x + offset.x) * scale);
        Number(base + 10, (p.y + offset.y) * scale);
        Number(base + 20, (p.z + offset.z) * scale);
    }
    void Size(int code, double value) { Number(code, value * scale); }
};

std::string LayerNameOf(const CDxfEntity& e) {
    const std::string& name = e.GetLayerName();
    return name.empty() ? std::string("0") : name;
}

void WriteCommon(DxfOut& out, const CDxfEntity& e) {
    const std::string layer = LayerNameOf(e);
    if (layer.size() > kMaxWrittenLayerName) {
        Log().Printf(LOG_ERROR, "Entity type <%s> has layer of <%s>", e.GetTypeName(), layer.c_str());
        return;
    }
    out.Text(8, layer);
    if (e.GetColour() != kColourByLayer) out.Int(62, e.GetColour());
}

// Entities read with an extrusion direction keep it, so that they come back where they were.
void WriteExtrusion(DxfOut& out, const CDxfEntity& e) {
    if (e.HasIdentityMatrix()) return;
    const Matrix4& m = e.GetMatrix();
    out.Number(210, m.m[0][2]);
    out.Number(220, m.m[1][2]);
    out.Number(230, m.m[2][2]);
}

void WriteEntity(DxfOut& out, const CDxfEntity& entity) {
    switch (entity.GetType()) {
    case DXF_LINE: {
        const auto& e = static_cast<const CDxfLine&>(entity);
        const std::string layer = LayerNameOf(e);
        if (layer.size() > kMaxWrittenLayerName) {
            Log().Printf(LOG_ERROR, "Error writing line layer has %d chars", static_cast<int>(layer.size()));
            return;
        }
        out.Text(0, "LINE");
        WriteCommon(out, e);
        out.Coords(10, e.m_Start);
        out.Coords(11, e.m_End);
        return;
    }
    case DXF_POINT: {
        const auto& e = static_cast<const CDxfPoint&>(entity);
        out.Text(0, "POINT");
        WriteCommon(out, e);
        out.Coords(10, e.m_Point);
        return;
    }
    case DXF_CIRCLE: {
        const auto& e = static_cast<const CDxfCircle&>(entity);
        out.Text(0, "CIRCLE");
        WriteCommon(out, e);
        out.Coords(10, e.m_Centre);
        out.Size(40, e.m_dRadius);
        WriteExtrusion(out, e);
        return;
    }
    case DXF_ARC: {
        const auto& e = static_cast<const CDxfArc&>(entity);
        out.Text(0, "ARC");
        WriteCommon(out, e);
        out.Number(10, (e.m_Centre.x + out.offset.x) * out.scale);
        out.Number(20, (e.m_Centre.y + out.offset.y) * out.scale);
        out.Number(30, 0.0);
        out.Size(40, e.m_dRadius);
        out.Number(50, e.m_dStartAngle);
        out.Number(51, e.m_dEndAngle);
        WriteExtrusion(out, e);
        return;
    }
    case DXF_TEXT: {
        const auto& e = static_cast<const CDxfText&>(entity);
        if (e.m_csText.empty()) return;
        out.Text(0, "TEXT");
        WriteCommon(out, e);
        out.Size(40, e.m_dHeight);
        out.Number(41, e.m_dWidthFactor);
        out.Text(1, e.m_csText);
        out.Int(72, e.m_iHorzJustify);
        out.Int(73, e.m_iVertJustify);
        out.Coords(10, e.m_Insert);
        out.Coords(11, e.m_Insert);
        out.Number(50, e.m_dRotation);
        if (e.HasIdentityMatrix()) {
            out.Number(210, 0.0);
            out.Number(220, 0.0);
            out.Number(230, 1.0);
        } else {
            WriteExtrusion(out, e);
        }
        return;
    }
    case DXF_SOLID: {
        const auto& e = static_cast<const CDxfSolid&>(entity);
        out.Text(0, "SOLID");
        WriteCommon(out, e);
        for (int i = 0; i < e.GetCornerCount(); ++i)
            out.Coords(10 + i, e.m_Corners[i]);
        return;
    }
    case DXF_3DFACE: {
        const auto& e = static_cast<const CDxf3DFace&>(entity);
        out.Text(0, "3DFACE");
        WriteCommon(out, e);
        const int n = e.GetCornerCount();
        for (int i = 0; i < 4; ++i)
            out.Coords(10 + i, e.m_Corners[i < n ? i : (n > 0 ? n - 1 : 0)]);
        return;
    }
    case DXF_PLINE: {
        const auto& e = static_cast<const CDxfPline&>(entity);
        if (e.m_Vertices.empty()) return;
        out.Text(0, "POLYLINE");
        WriteCommon(out, e);
        const int flags = (e.m_bClosed ? 1 : 0) | (e.m_b3D ? 8 : 0);
        if (flags) out.Int(70, flags);
        out.Int(66, 1);
        out.Number(10, 0.0);
        out.Number(20, 0.0);
        out.Number(30, (e.m_Vertices.front().point.z + out.offset.z) * out.scale);
        WriteExtrusion(out, e);
        const std::string layer = LayerNameOf(e);
        for (const DxfVertex& v : e.m_Vertices) {
            out.Text(0, "VERTEX");
            out.Text(8, layer);
            out.Coords(10, v.point);
            if (v.bulge != 0.0) out.Number(42, v.bulge);
            if (e.m_b3D) out.Int(70, 32);
            if (v.width > 0.0) {
                out.Number(40, v.width);
                out.Number(41, v.width);
            }
        }
        out.Text(0, "SEQEND");
        return;
    }
    case DXF_INSERT: {
        const auto& e = static_cast<const CDxfInsert&>(entity);
        if (!e.m_pBlock) return;
        if (e.m_pBlock->m_csName.empty()) {
            AlertBox("INSERT with no name");
            return;
        }
        out.Text(0, "INSERT");
        out.Text(2, e.m_pBlock->m_csName);
        WriteCommon(out, e);
        out.Coords(10, e.m_Insert);
        out.Size(41, e.m_dScaleX);
        out.Size(42, e.m_dScaleY);
        out.Number(50, e.m_dRotation);
        WriteExtrusion(out, e);
        return;
    }
    case DXF_PGONMESH: {
        const auto& e = static_cast<const CDxfPgonMesh&>(entity);
        if (e.GetPointCount() < e.GetRequiredPointCount()) {
            AlertBox(
                "Number of points specified in the mesh is %d\nBut a M=%d by N=%d mesh requires %lld points\n"
                "Cannot write this mesh to the DXF file",
                e.GetPointCount(), e.m_iM, e.m_iN, e.GetRequiredPointCount());
            return;
        }
        out.Text(0, "POLYLINE");
        WriteCommon(out, e);
        out.Int(66, 1);
        out.Int(70, (e.m_bClosedM ? 1 : 0) | (e.m_bClosedN ? 32 : 0) | 16);
        out.Int(71, e.m_iM);
        out.Int(72, e.m_iN);
        const std::string layer = LayerNameOf(e);
        for (const Point& p : e.m_Points) {
            out.Text(0, "VERTEX");
            out.Text(8, layer);
            out.Coords(10, p);
            out.Int(70, 64);
        }
        out.Text(0, "SEQEND");
        return;
    }
    case DXF_MESH: {
        const auto& e = static_cast<const CDxfMesh&>(entity);
        int faces = 0;
        for (const DxfMeshFace& f : e.m_Faces)
            if (f.count > 0) ++faces;
        if (e.m_Points.empty() || faces == 0) return;
        out.Text(0, "POLYLINE");
        WriteCommon(out, e);
        out.Int(66, 1);
        out.Int(70, 64);
        out.Int(71, e.GetPointCount());
        // Faces emptied by triangle merging are not written, nor counted.
        out.Int(72, faces);
        for (const Point& p : e.m_Points) {
            out.Text(0, "VERTEX");
            WriteCommon(out, e);
            out.Coords(10, p);
            out.Int(70, 192);
        }
        for (const DxfMeshFace& f : e.m_Faces) {
            if (f.count < 1) continue;
            out.Text(0, "VERTEX");
            WriteCommon(out, e);
            out.Int(70, 128);
            for (int k = 0; k < f.count && k < 4; ++k)
                out.Int(71 + k, f.index[k]);
        }
        out.Text(0, "SEQEND");
        return;
    }
    default: // ellipses are not written
        return;
    }
}

void WriteEntList(DxfOut& out, const CEntList& list) {
    for (const auto& e : list) {
        const std::string& layer = e->GetLayerName();
        if (layer.size() > kMaxWrittenLayerName) {
            Log().Printf(LOG_ERROR, "CEntList Error writing layer has %d chars of <%s>",
                         static_cast<int>(layer.size()), e->GetTypeName());
            e->Dump("Layer error");
            return;
        }
        WriteEntity(out, *e);
    }
}

} // namespace

std::string CDxfFile::WriteToString() const {
    DxfOut out;
    out.s.reserve(4096 + static_cast<size_t>(m_EntList.GetCount()) * 160);

    out.Text(0, "SECTION");
    out.Text(2, "HEADER");
    for (const char* name : {"PDMODE", "PDSIZE", "DIMTXT"}) {
        out.Code(9);
        out.s += StrPrintf("$%s\r\n", name);
        if (std::strcmp(name, "PDMODE") == 0)
            out.Int(70, 3);
        else
            out.HeaderDouble(40, std::strcmp(name, "PDSIZE") == 0 ? -0.25 : 10.0);
    }
    out.Text(0, "ENDSEC");

    out.Text(0, "SECTION");
    out.Text(2, "TABLES");
    out.Text(0, "TABLE");
    out.Text(2, "LAYER");
    out.Int(70, m_LayerTable.GetCount());
    for (int i = 0; i < m_LayerTable.GetCount(); ++i) {
        const CDxfLayer* layer = m_LayerTable.GetLayer(i);
        out.Text(0, "LAYER");
        out.Text(2, layer->m_csName);
        out.Int(70, layer->m_bVisible ? 64 : 65);
        out.Int(62, std::abs(layer->m_iColour));
        out.Text(6, "CONTINUOUS");
    }
    out.Text(0, "ENDTAB");
    out.Text(0, "ENDSEC");

    // Blocks are written where they are defined: no offset, no scale.
    out.Text(0, "SECTION");
    out.Text(2, "BLOCKS");
    for (const auto& block : m_Blocks) {
        if (block->m_csName.empty() || block->m_csLayer.empty() ||
            block->m_csLayer.size() >= kMaxWrittenLayerName) {
            AlertBox("CDxfBlock::WriteToDxf, bad layer or block name");
            continue;
        }
        out.Text(0, "BLOCK");
        out.Text(2, block->m_csName);
        out.Text(8, block->m_csLayer);
        out.Int(70, block->m_csName[0] == '*' ? 1 : 0);
        out.Coords(10, block->m_BasePoint);
        out.Text(3, block->m_csName);
        WriteEntList(out, block->m_EntList);
        out.Text(0, "ENDBLK");
    }
    out.Text(0, "ENDSEC");

    out.Text(0, "SECTION");
    out.Text(2, "ENTITIES");
    out.scale = m_dWriteScale;
    out.offset = m_WriteOffset;
    WriteEntList(out, m_EntList);
    out.scale = 1.0;
    out.offset = Point();
    out.Text(0, "ENDSEC");
    out.Text(0, "EOF");
    return std::move(out.s);
}

bool CDxfFile::SaveFile(const std::string& fileName) {
    Log().Printf(LOG_INFO, "SaveFile <%s>", fileName.c_str());
    std::string name = fileName;
    if (!(name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".DXF") == 0)) name += ".DXF";

    const std::string content = WriteToString();
    // Through a temporary file beside the target, so a failed save leaves the old file whole and
    // a link at the name is replaced, not followed.
    if (!WriteFileSafely(fs::u8path(name), content)) {
        Log().Printf(LOG_ERROR,
                     "Could not open:\n%s\nfor write, errno=%d.\n\nIs it open in another application?",
                     name.c_str(), errno);
        return false;
    }
    return true;
}
