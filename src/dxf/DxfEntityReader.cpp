#include "dxf/DxfFile.h"

#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"
#include "dxf/Dxf3DFace.h"
#include "dxf/DxfArc.h"
#include "dxf/DxfCircle.h"
#include "dxf/DxfEllipse.h"
#include "dxf/DxfInsert.h"
#include "dxf/DxfLine.h"
#include "dxf/DxfLineReader.h"
#include "dxf/DxfMesh.h"
#include "dxf/DxfPgonMesh.h"
#include "dxf/DxfPline.h"
#include "dxf/DxfPoint.h"
#include "dxf/DxfSolid.h"
#include "dxf/DxfText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <strings.h>
#include <unordered_set>

namespace {

constexpr double kFullEllipseParam = 6.28318530718;

bool IsValidUtf8(const std::string& s) {
    const size_t n = s.size();
    for (size_t i = 0; i < n;) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int extra;
        if (c < 0x80)
            extra = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            extra = 1;
        else if ((c & 0xF0) == 0xE0)
            extra = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            extra = 3;
        else
            return false;
        for (int k = 1; k <= extra; ++k)
            if (i + k >= n || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

// Text values of newer files are UTF-8, of older ones Windows-1252.
std::string TextFromFile(const char* raw) {
    std::string text(raw);
    return IsValidUtf8(text) ? text : WideCharFromAscii(text);
}

// The object-to-world matrix of the DXF arbitrary axis algorithm for an extrusion direction.
Matrix4 ExtrusionMatrix(double x, double y, double z) {
    double len = std::sqrt(x * x + y * y + z * z);
    Point n(1.0, 0.0, 0.0);
    if (len >= 2.2250738585072014e-305) n = Point(x / len, y / len, z / len);
    Point ref =
        (std::fabs(n.x) < 1.0 / 64.0 && std::fabs(n.y) < 1.0 / 64.0) ? Point(0, 1, 0) : Point(0, 0, 1);
    auto cross = [](const Point& a, const Point& b) {
        return Point(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
    };
    auto unit = [](Point p) {
        const double l = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
        return l > 0.0 ? Point(p.x / l, p.y / l, p.z / l) : p;
    };
    const Point ax = unit(cross(ref, n));
    const Point ay = unit(cross(n, ax));
    Matrix4 m;
    m.m[0][0] = ax.x, m.m[1][0] = ax.y, m.m[2][0] = ax.z;
    m.m[0][1] = ay.x, m.m[1][1] = ay.y, m.m[2][1] = ay.z;
    m.m[0][2] = n.x, m.m[1][2] = n.y, m.m[2][2] = n.z;
    return m;
}

// Groups every entity may carry: visibility, colour, space and extrusion.
struct EntityCommon {
    bool invisible = false; // group 60
    bool paper = false;     // group 67
    int colour = kColourByLayer;
    double ex = 0.0, ey = 0.0, ez = 1.0; // groups 210/220/230
    bool hasExtrusion = false;

    bool Skipped() const { return invisible || paper; }
    void ApplyTo(CDxfEntity& e, bool useExtrusion) const {
        e.SetColour(colour);
        if (useExtrusion && hasExtrusion) e.SetMatrix(ExtrusionMatrix(ex, ey, ez));
    }
};

bool IsBlankText(const std::string& text) {
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c))) return false;
    return true;
}

// MTEXT carries format codes: a closing brace at the end, leading groups up to the last ";" and
// paragraph breaks "\P".
std::string CleanMText(std::string text) {
    if (!text.empty() && text.back() == '}') text.pop_back();
    const size_t semi = text.rfind(';');
    if (semi != std::string::npos) text = text.substr(semi + 1);
    for (size_t at; (at = text.find("\\P")) != std::string::npos;)
        text.erase(at, 2);
    return text;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Entities

bool CDxfFile::ReadEntity(CEntList& list, Context context) {
    const bool inEntities = context == Context::Entities;
    EntityCommon common;
    // Reads the groups of one entity up to the next group 0, handing each to fn; the common
    // groups are taken first.
    auto readGroups = [&](auto&& fn) -> bool {
        for (;;) {
            if (!ReadGroup(-1)) return false;
            if (m_Group.code == 0) return true;
            switch (m_Group.code) {
            case 8:
                SetCurrentLayer(m_Group.text);
                continue;
            case 60:
                common.invisible = m_Group.i != 0;
                continue;
            case 62:
                common.colour = m_Group.i;
                continue;
            case 67:
                common.paper = m_Group.i > 0;
                continue;
            case 210:
                common.ex = m_Group.d, common.hasExtrusion = true;
                continue;
            case 220:
                common.ey = m_Group.d, common.hasExtrusion = true;
                continue;
            case 230:
                common.ez = m_Group.d, common.hasExtrusion = true;
                continue;
            default:
                break;
            }
            if (!fn()) return false;
        }
    };
    auto add = [&](std::unique_ptr<CDxfEntity> e, bool useExtrusion) {
        if (common.Skipped()) return;
        common.ApplyTo(*e, useExtrusion);
        e->SetLayer(m_pCurrentLayer);
        list.AdoptEntity(std::move(e));
    };
    const DxfGroup& g = m_Group;
    // Reads the groups of an entity whose every group of its own is a number: each code sets the
    // number it is paired with, other codes are passed over.
    auto readNumbers = [&](std::initializer_list<std::pair<int, double*>> numbers) {
        return readGroups([&] {
            for (const auto& [code, number] : numbers)
                if (g.code == code) {
                    *number = g.d;
                    break;
                }
            return true;
        });
    };

    if (g.Is("LINE")) {
        auto e = std::make_unique<CDxfLine>();
        if (!readNumbers({{10, &e->m_Start.x},
                          {20, &e->m_Start.y},
                          {30, &e->m_Start.z},
                          {11, &e->m_End.x},
                          {21, &e->m_End.y},
                          {31, &e->m_End.z}}))
            return false;
        add(std::move(e), false); // world coordinates
        return true;
    }
    if (g.Is("POINT")) {
        auto e = std::make_unique<CDxfPoint>();
        if (!readNumbers({{10, &e->m_Point.x}, {20, &e->m_Point.y}, {30, &e->m_Point.z}})) return false;
        add(std::move(e), false);
        return true;
    }
    if (g.Is("CIRCLE")) {
        auto e = std::make_unique<CDxfCircle>();
        if (!readNumbers(
                {{10, &e->m_Centre.x}, {20, &e->m_Centre.y}, {30, &e->m_Centre.z}, {40, &e->m_dRadius}}))
            return false;
        add(std::move(e), true);
        return true;
    }
    if (g.Is("ARC")) {
        auto e = std::make_unique<CDxfArc>();
        if (!readNumbers({{10, &e->m_Centre.x},
                          {20, &e->m_Centre.y},
                          {30, &e->m_Centre.z},
                          {40, &e->m_dRadius},
                          {50, &e->m_dStartAngle},
                          {51, &e->m_dEndAngle}}))
            return false;
        add(std::move(e), true);
        return true;
    }
    if (g.Is("ELLIPSE") && inEntities) {
        Point centre, major;
        double ratio = 1.0, start = 0.0, end = kFullEllipseParam;
        if (!readNumbers({{10, &centre.x},
                          {20, &centre.y},
                          {30, &centre.z},
                          {11, &major.x},
                          {21, &major.y},
                          {40, &ratio},
                          {41, &start},
                          {42, &end}}))
            return false;
        // Only a full ellipse in the drawing plane is kept, axis-aligned by its dominant axis.
        const bool inPlane = common.ex == 0.0 && common.ey == 0.0 && common.ez != 0.0;
        if (!inPlane || start != 0.0 || std::fabs(end - kFullEllipseParam) > 1e-5) return true;
        auto e = std::make_unique<CDxfEllipse>();
        e->m_Centre = centre;
        if (std::fabs(major.x) >= std::fabs(major.y)) {
            e->m_dXSemiAxis = std::fabs(major.x);
            e->m_dYSemiAxis = ratio * std::fabs(major.x);
        } else {
            e->m_dYSemiAxis = std::fabs(major.y);
            e->m_dXSemiAxis = ratio * std::fabs(major.y);
        }
        add(std::move(e), false); // the centre of an ellipse is in world coordinates
        return true;
    }
    if (g.Is("TEXT") || g.Is("MTEXT")) {
        const bool isMText = g.Is("MTEXT");
        auto e = std::make_unique<CDxfText>();
        std::string text;
        double refWidth = 10.0;
        int attachment = 0;
        if (!readGroups([&] {
                switch (g.code) {
                case 1:
                    text = g.text;
                    break;
                case 10:
                    e->m_Insert.x = g.d;
                    break;
                case 20:
                    e->m_Insert.y = g.d;
                    break;
                case 30:
                    e->m_Insert.z = g.d;
                    break;
                case 11:
                    e->m_Align.x = g.d;
                    break;
                case 21:
                    e->m_Align.y = g.d;
                    break;
                case 40:
                    e->m_dHeight = g.d;
                    break;
                case 41:
                    if (isMText)
                        refWidth = g.d;
                    else
                        e->m_dWidthFactor = g.d;
                    break;
                case 50:
                    e->m_dRotation = g.d;
                    break;
                case 71:
                    if (isMText) attachment = g.i;
                    break;
                case 72:
                    e->m_iHorzJustify = g.i;
                    break;
                case 73:
                    e->m_iVertJustify = g.i;
                    break;
                }
                return true;
            }))
            return false;
        if (isMText) {
            text = CleanMText(text);
            // The insertion point becomes the bottom-left corner.
            const double w = refWidth, h = e->m_dHeight;
            Point& p = e->m_Insert;
            switch (attachment) {
            case 1:
                p.y -= h;
                break;
            case 2:
                p.x -= w / 2, p.y -= h;
                break;
            case 3:
                p.x -= w, p.y -= h;
                break;
            case 4:
                p.y -= h / 2;
                break;
            case 5:
                p.x -= w / 2, p.y -= h / 2;
                break;
            case 6:
                p.x -= w, p.y -= h / 2;
                break;
            case 8:
                p.x -= w / 2;
                break;
            case 9:
                p.x -= w;
                break;
            default:
                break;
            }
            if (attachment != 0) e->m_iHorzJustify = 0;
        }
        if (IsBlankText(text)) return true;
        e->SetText(TextFromFile(text.c_str()));
        // The insertion point of an MTEXT is in world coordinates.
        add(std::move(e), !isMText);
        return true;
    }
    if (g.Is("LWPOLYLINE")) {
        auto e = std::make_unique<CDxfPline>();
        double elevation = 0.0, x = 0.0;
        bool tooLong = false;
        if (!readGroups([&] {
                switch (g.code) {
                case 38:
                    elevation = g.d;
                    break;
                case 90:
                    // The vertex count, given before the vertices: room for them at once, so
                    // that a long polyline is not copied as it grows nor left with spare room.
                    if (g.i > 0 && e->m_Vertices.empty())
                        e->m_Vertices.reserve(std::min(static_cast<size_t>(g.i), kMaxPlineVertices));
                    break;
                case 10:
                    x = g.d;
                    break;
                case 20:
                    if (e->m_Vertices.size() < kMaxPlineVertices)
                        e->AddVertex(Point(x, g.d, elevation));
                    else
                        tooLong = true;
                    break;
                case 42:
                    if (!e->m_Vertices.empty()) e->m_Vertices.back().bulge = g.d;
                    break;
                case 70:
                    e->m_bClosed = (g.i & 1) != 0;
                    break;
                }
                return true;
            }))
            return false;
        if (tooLong) return RefuseLongPolyline();
        // A count that promised more vertices than came gives its spare room back.
        if (e->m_Vertices.capacity() > e->m_Vertices.size()) e->m_Vertices.shrink_to_fit();
        add(std::move(e), true);
        return true;
    }
    if (g.Is("POLYLINE")) {
        int flags = 0, m = 0, n = 0;
        double startWidth = 0.0, endWidth = 0.0;
        if (!readGroups([&] {
                switch (g.code) {
                case 40:
                    startWidth = g.d;
                    break;
                case 41:
                    endWidth = g.d;
                    break;
                case 70:
                    flags = g.i;
                    break;
                case 71:
                    m = g.i;
                    break;
                case 72:
                    n = g.i;
                    break;
                }
                return true;
            }))
            return false;
        auto pline = std::make_unique<CDxfPline>();
        auto mesh = std::make_unique<CDxfMesh>();
        auto pgon = std::make_unique<CDxfPgonMesh>();
        pgon->Init(m, n, (flags & 1) != 0, (flags & 32) != 0);
        bool tooLong = false;
        while (g.Is("VERTEX")) {
            // A vertex without a width of its own has the polyline's default width.
            Point p;
            double bulge = 0.0, width = startWidth;
            int vflags = 0, indices[4] = {0, 0, 0, 0}, numIndices = 0;
            for (;;) {
                if (!ReadGroup(-1)) return false;
                if (g.code == 0) break;
                switch (g.code) {
                case 10:
                    p.x = g.d;
                    break;
                case 20:
                    p.y = g.d;
                    break;
                case 30:
                    p.z = g.d;
                    break;
                case 40:
                    width = g.d;
                    break;
                case 42:
                    bulge = g.d;
                    break;
                case 70:
                    vflags = g.i;
                    break;
                case 71:
                case 72:
                case 73:
                case 74:
                    if (numIndices >= 4) {
                        AlertBox("Error reading polyface mesh vertex\niIndex=%d , iNumIndices=%d",
                                 g.code - 71, numIndices + 1);
                        break;
                    }
                    indices[numIndices++] = std::abs(g.i);
                    break;
                default:
                    break;
                }
            }
            if ((vflags & 128) && (vflags & 64)) {
                mesh->AddPoint(p);
            } else if (vflags & 128) {
                int packed[4], count = 0;
                for (int k = 0; k < numIndices; ++k)
                    if (indices[k] != 0) packed[count++] = indices[k];
                mesh->AddFace(packed, count);
            } else if (vflags & 64) {
                pgon->AddPoint(p);
            } else if (pline->m_Vertices.size() < kMaxPlineVertices) {
                pline->AddVertex(p, bulge, width);
            } else {
                tooLong = true;
            }
        }
        if (g.Is("SEQEND")) {
            for (;;) {
                if (!ReadGroup(-1)) return false;
                if (g.code == 0) break;
                if (g.code == 8) SetCurrentLayer(g.text);
            }
        }
        if (common.Skipped()) return true;
        if (tooLong && !(flags & (64 | 16))) return RefuseLongPolyline();
        if (flags & 64) {
            mesh->MergeTrianglePairs();
            add(std::move(mesh), true);
        } else if (flags & 16) {
            common.ApplyTo(*pgon, true);
            list.AddEntity(*pgon, m_pCurrentLayer); // refused with a message while points are missing
        } else {
            pline->m_bClosed = (flags & 1) != 0;
            pline->m_b3D = (flags & 8) != 0;
            pline->SetDefaultStartWidth(startWidth);
            pline->m_dDefaultEndWidth = endWidth;
            // Without a count in the file the vertices grew by doubling: the spare room goes back.
            pline->m_Vertices.shrink_to_fit();
            add(std::move(pline), true);
        }
        return true;
    }
    if (g.Is("3DFACE") || (g.Is("SOLID") && inEntities)) {
        const bool isFace = g.Is("3DFACE");
        Point corners[4];
        int highest = -1, coords = 0;
        if (!readGroups([&] {
                if (g.code < 10 || g.code > 33) return true;
                const int corner = g.code % 10;
                if (corner > 3) {
                    Log().Printf(LOG_ERROR,
                                 isFace ? "Read3DFaceEntity, bad ikIndex=%d"
                                        : "ReadSolidEntity, bad ikIndex=%d",
                                 corner);
                    return false;
                }
                const int axis = g.code / 10 - 1;
                (axis == 0 ? corners[corner].x : axis == 1 ? corners[corner].y : corners[corner].z) = g.d;
                highest = std::max(highest, corner);
                ++coords;
                return true;
            }))
            return false;
        if (isFace) {
            if (highest + 1 < 3) {
                Log().Printf(LOG_ERROR, "Read3DFaceEntity, too few vertices:%d", highest + 1);
                return false;
            }
            auto e = std::make_unique<CDxf3DFace>();
            e->m_iNumCorners = highest + 1;
            std::copy(corners, corners + 4, e->m_Corners);
            add(std::move(e), false);
        } else {
            if (coords < 9 || coords > 12) {
                Log().Printf(LOG_ERROR, "ReadSolidEntity, iNumCoords coordinates must be between 9 and 16:%d",
                             coords);
                return false;
            }
            auto e = std::make_unique<CDxfSolid>();
            e->m_iNumCorners = coords / 3;
            std::copy(corners, corners + 4, e->m_Corners);
            add(std::move(e), false);
        }
        return true;
    }
    if (g.Is("INSERT")) {
        auto e = std::make_unique<CDxfInsert>();
        if (!readGroups([&] {
                switch (g.code) {
                case 2:
                    e->SetBlockName(g.text);
                    e->m_pBlock = FindBlock(e->m_csBlockName);
                    break;
                case 10:
                    e->m_Insert.x = g.d;
                    break;
                case 20:
                    e->m_Insert.y = g.d;
                    break;
                case 30:
                    e->m_Insert.z = g.d;
                    break;
                case 41:
                    e->m_dScaleX = g.d;
                    break;
                case 42:
                    e->m_dScaleY = g.d;
                    break;
                case 50:
                    e->m_dRotation = g.d;
                    break;
                }
                return true;
            }))
            return false;
        CDxfLayer* insertLayer = m_pCurrentLayer;
        if (g.Is("ATTRIB") && !ReadAttributes(*e, context)) return false;
        if (common.Skipped()) return true;
        common.ApplyTo(*e, true);
        e->SetLayer(insertLayer);
        list.AdoptEntity(std::move(e));
        return true;
    }
    // Every other entity, and SOLID and ELLIPSE inside blocks, is passed over.
    return SkipToGroup0();
}

bool CDxfFile::ReadAttributes(CDxfInsert& insert, Context context) {
    const DxfGroup& g = m_Group;
    while (g.Is("ATTRIB")) {
        std::string value, tag, layer = "0";
        Point p;
        double height = 1.0, rotation = 0.0;
        int flags = 0;
        for (;;) {
            if (!ReadGroup(-1)) {
                Log().Printf(LOG_ERROR, "ATTRIB SEQEND not found in file %s at line %d.\n",
                             m_csFileName.c_str(), m_iLineCount);
                return false;
            }
            if (g.code == 0) break;
            switch (g.code) {
            case 1:
                value = g.text;
                break;
            case 2:
                tag = g.text;
                break;
            case 8:
                layer = g.text;
                break;
            case 10:
            case 11:
                p.x = g.d;
                break;
            case 20:
            case 21:
                p.y = g.d;
                break;
            case 40:
                height = g.d;
                break;
            case 50:
                rotation = g.d;
                break;
            case 70:
                flags = g.i;
                break;
            default:
                break;
            }
        }
        if (context == Context::Entities && !(flags & 1) && !tag.empty() && !value.empty()) {
            const std::string text = TextFromFile(value.c_str());
            CDxfText t(text, p, height);
            t.m_dRotation = rotation;
            m_EntList.AddEntity(t, m_LayerTable.GetLayerPtrFromName(layer.c_str()));
            insert.AddAttribute(TextFromFile(tag.c_str()), text);
        }
    }
    if (g.Is("SEQEND")) {
        for (;;) {
            if (!ReadGroup(-1)) {
                Log().Printf(LOG_ERROR, "ATTRIB SEQEND not found in file %s at line %d.\n",
                             m_csFileName.c_str(), m_iLineCount);
                return false;
            }
            if (g.code == 0) break;
        }
    }
    return true;
}

bool CDxfFile::RefuseLongPolyline() {
    Log().Printf(LOG_ERROR,
                 "DXF: a polyline of more than %d vertices ends at line %d of <%s>; it was not read.",
                 static_cast<int>(kMaxPlineVertices), m_iLineCount, m_csFileName.c_str());
    return true;
}
