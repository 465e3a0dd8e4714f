#include "dxf/DxfFile.h"

#include "app/Logger.h"
#include "app/MessageBoxes.h"
#include "app/TextUtils.h"
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

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <strings.h>
#include <unordered_set>

namespace {

constexpr double kFullEllipseParam = 6.28318530718;

// Like atoi: leading blanks, a sign, digits up to the first other character; 0 without digits.
int ParseInt(const char* s) {
    while (*s == ' ' || *s == '\t')
        ++s;
    bool negative = false;
    if (*s == '-' || *s == '+') negative = *s++ == '-';
    long long v = 0;
    while (*s >= '0' && *s <= '9') {
        v = v * 10 + (*s++ - '0');
        if (v > INT_MAX) {
            v = INT_MAX; // out-of-range numbers stop at the limit (and never reach INT_MIN)
            break;
        }
    }
    return static_cast<int>(negative ? -v : v);
}

// Beyond this no drawing unit means anything, and squares and sums of such numbers stay finite.
constexpr double kMaxDxfNumber = 1e20;

// Like atof in the C locale, whatever the process locale. A number that is not finite or beyond
// kMaxDxfNumber is refused: it reads as 0 and refused is set.
double ParseNumber(const char* s, bool& refused) {
    while (*s == ' ' || *s == '\t')
        ++s;
    if (*s == '+') ++s;
    const char* end = s + std::strlen(s);
    double v = 0.0;
    const auto result = std::from_chars(s, end, v);
    if (result.ec == std::errc::result_out_of_range ||
        (result.ec == std::errc() && !(std::fabs(v) <= kMaxDxfNumber))) {
        // from_chars reports underflow the same way as overflow: a tiny number is simply 0.
        refused = result.ec == std::errc() || std::fabs(std::strtod(s, nullptr)) >= 1.0;
        return 0.0;
    }
    if (result.ec != std::errc()) return 0.0;
    return v;
}

bool StartsWithNoCase(const char* text, const char* prefix) {
    return strncasecmp(text, prefix, std::strlen(prefix)) == 0;
}

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

DxfGroup::ValueType DxfGroup::TypeOfCode(int c) {
    if ((c >= 10 && c <= 59) || (c >= 110 && c <= 112) || (c >= 120 && c <= 122) || (c >= 130 && c <= 132) ||
        (c >= 140 && c <= 147) || (c >= 210 && c <= 239) || (c >= 1010 && c <= 1059))
        return DOUBLE;
    if ((c >= 60 && c <= 79) || (c >= 90 && c <= 93) || c == 95 || c == 97 || c == 98 || c == 105 ||
        (c >= 170 && c <= 179) || (c >= 270 && c <= 275) || (c >= 279 && c <= 380) ||
        (c >= 390 && c <= 399) || (c >= 1060 && c <= 1079))
        return INTEGER;
    return TEXT;
}

bool DxfGroup::Is(const char* value) const {
    return std::strcmp(text, value) == 0;
}

CDxfFile::CDxfFile() {
    m_LayerTable.SetCleanNames(true);
    Reset();
}

CDxfFile::CDxfFile(const std::string& fileName) : CDxfFile() {
    ReadFile(fileName);
}

CDxfFile::~CDxfFile() = default;

void CDxfFile::Reset() {
    // Entities point to layers and blocks: they go first.
    m_EntList.Clear();
    m_Blocks.clear();
    m_BlockIndex.clear();
    m_SnapPoints.Clear();
    m_iLineCount = 0;
    m_dWriteScale = 1.0;
    m_WriteOffset = Point();
    m_BackgroundColour = 0xFFFFFF;
    m_LayerTable.Clear();
    m_pCurrentLayer = m_LayerTable.AddLayer("0", 7, true);
    m_csLastLayerRaw = "0";
    m_Group = DxfGroup();
    m_csFileName.clear();
    m_ExtMin = m_ExtMax = Point();
    m_pReader.reset();
    m_bEntitiesEntered = false;
    m_bNumberRefused = false;
    m_bBlockOverflowReported = false;
}

void CDxfFile::ResetForRead() {
    Reset();
}

CDxfBlock* CDxfFile::FindBlock(const std::string& name) const {
    auto it = m_BlockIndex.find(ToUpper(name));
    return it == m_BlockIndex.end() ? nullptr : it->second;
}

CDxfBlock* CDxfFile::AddBlock(const CDxfBlock& block) {
    if (GetBlockCount() >= kMaxBlocks) {
        Log().Printf(LOG_ERROR, "Block buffer overflow\n");
        return nullptr;
    }
    if (FindBlock(block.m_csName)) {
        Log().Printf(LOG_ERROR, "Block called %s already exists", block.m_csName.c_str());
        return nullptr;
    }
    m_Blocks.push_back(std::make_unique<CDxfBlock>(block));
    CDxfBlock* added = m_Blocks.back().get();
    m_BlockIndex[ToUpper(added->m_csName)] = added;
    return added;
}

// ---------------------------------------------------------------------------------------------
// Groups

bool CDxfFile::ReadLine(bool& atEof) {
    atEof = false;
    if (!m_pReader) return false;
    if (m_pReader->ReadLine(m_Line, sizeof m_Line, m_LineLength)) return true;
    atEof = !m_pReader->HadError();
    return false;
}

bool CDxfFile::ReadGroup(int expectedCode) {
    const char* file = m_csFileName.c_str();
    for (;;) {
        bool atEof = false;
        if (!ReadLine(atEof)) {
            if (atEof)
                AlertBox("DXF_Error, end of file at line %d of <%s>", m_iLineCount, file);
            else
                AlertBox("DXF_Error,could not read group code at\nline %d of <%s>", m_iLineCount, file);
            return false;
        }
        ++m_iLineCount;
        if (StartsWithNoCase(m_Line, "EOF")) {
            AlertBox("EOF found");
            return false;
        }
        const int code = ParseInt(m_Line);
        if (code == 999) {
            // A comment may stand anywhere, also where a particular code is expected.
            if (!ReadLine(atEof)) {
                Log().Printf(LOG_ERROR,
                             "DXF_Error, comment group but \nbut could not get comment string\nline %d of %s",
                             m_iLineCount, file);
                return false;
            }
            ++m_iLineCount;
            continue;
        }
        char codeLine[64];
        std::memcpy(codeLine, m_Line, std::min(sizeof codeLine - 1, m_LineLength + 1));
        codeLine[sizeof codeLine - 1] = '\0';
        const bool mismatch = expectedCode != -1 && code != expectedCode;
        if (mismatch)
            Log().Printf(LOG_ERROR, "DXF_Error, match_code=%d\nbut code read = %d\nline %d of %s",
                         expectedCode, code, m_iLineCount, file);
        if (!ReadLine(atEof)) {
            if (atEof)
                AlertBox("DXF_Error, end of file at line %d of <%s>", m_iLineCount, file);
            else
                AlertBox("m_FgetsFunc in ReadGroup could not read group value\nat line %d of <%s>\npstr=<%s>",
                         m_iLineCount, file, codeLine);
            return false;
        }
        ++m_iLineCount;
        // The value line is taken even after a wrong code, so that the caller stays in step.
        m_Group.code = code;
        m_Group.type = DxfGroup::TypeOfCode(code);
        std::memcpy(m_Group.text, m_Line, m_LineLength + 1);
        m_Group.d = 0.0;
        m_Group.i = 0;
        if (m_Group.type == DxfGroup::DOUBLE) {
            bool refused = false;
            m_Group.d = ParseNumber(m_Line, refused);
            if (refused && !m_bNumberRefused) {
                // Once per file: a damaged file may hold millions of them.
                m_bNumberRefused = true;
                Log().Printf(LOG_ERROR,
                             "DXF: the number <%s> at line %d of <%s> is not finite or too large; 0 is used.",
                             m_Line, m_iLineCount, file);
            }
        } else if (m_Group.type == DxfGroup::INTEGER)
            m_Group.i = ParseInt(m_Line);
        return !mismatch;
    }
}

// ---------------------------------------------------------------------------------------------
// File and sections

bool CDxfFile::ReadFile(const std::string& fileName) {
    if (fileName.empty()) {
        AlertBox("CDxfFile::ReadFile, no filename specified");
        return false;
    }
    if (fileName.size() > kMaxFileName) {
        AlertBox("CDxfFile::ReadFile, filename too long");
        return false;
    }
    ResetForRead();
    m_pReader = std::make_unique<CDxfLineReader>();
    if (!m_pReader->Open(fileName)) {
        AlertBox("ERROR: cannot open DXF file\n%s\n\nIs the file open in another application?",
                 fileName.c_str());
        m_pReader.reset();
        return false;
    }
    m_csFileName = fileName;
    m_EntList.Reserve(15000);

    bool ok = false;
    for (;;) {
        if (!ReadGroup(0)) {
            AlertBox("Expected to read group 0 (line %d)", m_iLineCount);
            break;
        }
        if (m_Group.Is("SECTION")) {
            if (!ReadSection()) break;
        } else if (m_Group.Is("EOF")) {
            ok = true;
            break;
        } else if (m_Group.Is("TABLE")) {
            if (!ReadTable()) break;
        } else {
            Log().Printf(LOG_ERROR,
                         "Missing top level separator in DXF file\nat line %d of %s\nm_Group.code=%d\n<%s>",
                         m_iLineCount, m_csFileName.c_str(), m_Group.code, m_Group.text);
            break;
        }
    }
    m_pReader.reset();
    if (m_bEntitiesEntered) ResolveInserts();
    CheckMeshOrientation();
    RebuildSnapPoints();
    return ok;
}

bool CDxfFile::ReadSection() {
    if (!ReadGroup(2)) {
        Log().Printf(LOG_ERROR, "DXF read error: Expected a group 2\nbut not found, line %d of <%s>",
                     m_iLineCount, m_csFileName.c_str());
        return false;
    }
    if (m_Group.Is("HEADER")) return ReadHeader();
    if (m_Group.Is("TABLES")) return ReadTables();
    if (m_Group.Is("BLOCKS")) return ReadBlocks();
    if (m_Group.Is("ENTITIES")) return ReadEntities();
    if (m_Group.Is("OBJECTS")) return SkipObjectsSection("OBJECTS");
    return SkipSection();
}

bool CDxfFile::ReadHeader() {
    for (;;) {
        if (!ReadGroup(-1)) {
            AlertBox("DXF Error, while reading Header section\nline %d of file <%s>", m_iLineCount,
                     m_csFileName.c_str());
            return false;
        }
        if (m_Group.code == 0 && m_Group.Is("ENDSEC")) return true;
        if (m_Group.code != 9) continue;
        const bool isMin = strcasecmp(m_Group.text, "$EXTMIN") == 0;
        const bool isMax = strcasecmp(m_Group.text, "$EXTMAX") == 0;
        if (!isMin && !isMax) continue;
        Point p;
        if (!ReadGroup(10)) {
            Log().Printf(LOG_ERROR, "Could not read X val of variable");
        } else {
            const double x = m_Group.d;
            if (!ReadGroup(20))
                Log().Printf(LOG_ERROR, "Could not read Y val of variable");
            else
                p = Point(x, m_Group.d, 0.0);
        }
        (isMin ? m_ExtMin : m_ExtMax) = p;
        // A damaged variable may have swallowed the end of the section.
        if (m_Group.code == 0 && m_Group.Is("ENDSEC")) return true;
    }
}

bool CDxfFile::SkipToGroup0() {
    do {
        if (!ReadGroup(-1)) return false;
    } while (m_Group.code != 0);
    return true;
}

bool CDxfFile::ReadTables() {
    if (!ReadGroup(0)) return false;
    for (;;) {
        if (m_Group.Is("TABLE")) {
            if (!ReadTable()) {
                Log().Printf(LOG_INFO, " ReadTable failed at line %d.\n", m_iLineCount);
                return false;
            }
            if (!SkipToGroup0()) return false;
        } else if (m_Group.Is("ENDSEC")) {
            return true;
        } else {
            AlertBox("DXF: Missing table in <%s>", m_csFileName.c_str());
            if (!SkipToGroup0()) return false;
        }
    }
}

bool CDxfFile::ReadTable() {
    if (!ReadGroup(2)) {
        AlertBox("DXF Error: reading tables section");
        return false;
    }
    if (m_Group.Is("LAYER")) return ReadLayerTable();
    const bool isVport = m_Group.Is("VPORT");
    const std::string name(m_Group.text, std::min<size_t>(std::strlen(m_Group.text), 63));
    for (;;) {
        if (!ReadGroup(-1)) {
            if (isVport)
                AlertBox("DXF Error getting layer entity group");
            else
                AlertBox("ReadOtherTable(%s),\nReadGroup failed with code %d at line %d.", name.c_str(),
                         m_Group.code, m_iLineCount);
            return false;
        }
        if (m_Group.Is("ENDTAB")) return true;
    }
}

bool CDxfFile::ReadLayerTable() {
    // Names seen before may now name a layer of their own.
    m_csLastLayerRaw.clear();
    // The table's own groups, up to the first record.
    do {
        if (!ReadGroup(-1)) {
            AlertBox("DXF Error getting layer entity group");
            return false;
        }
    } while (m_Group.code != 0);
    // A record without a name or colour keeps the one of the record before it.
    std::string name = "0";
    int colour = 7;
    while (!m_Group.Is("ENDTAB")) {
        bool visible = true;
        for (;;) {
            if (!ReadGroup(-1)) {
                AlertBox("DXF Error getting layer entity group");
                return false;
            }
            if (m_Group.code == 0) break;
            if (m_Group.code == 2) {
                name.assign(m_Group.text, std::min<size_t>(std::strlen(m_Group.text), 256));
            } else if (m_Group.code == 62) {
                colour = std::abs(m_Group.i);
                if (m_Group.i < 0) visible = false;
            } else if (m_Group.code == 70) {
                if (m_Group.i & 1) visible = false; // frozen
            }
        }
        m_LayerTable.AddLayer(name.c_str(), colour, visible);
    }
    return true;
}

bool CDxfFile::ReadBlocks() {
    if (!ReadGroup(0)) return false;
    for (;;) {
        if (m_Group.Is("BLOCK")) {
            if (!ReadBlock()) return false;
            if (m_Group.Is("ENDBLK")) {
                // The groups of ENDBLK itself.
                do {
                    if (!ReadGroup(-1)) {
                        Log().Printf(LOG_ERROR, "***ERROR***No ENDSEC found in BLOCKS section\n");
                        return false;
                    }
                } while (m_Group.code != 0);
            }
        } else if (m_Group.Is("ENDSEC")) {
            return true;
        } else {
            AlertBox("DXF error: MissingBlock at %d of %s", m_iLineCount, m_csFileName.c_str());
            return false;
        }
    }
}

bool CDxfFile::ReadBlock() {
    auto block = std::make_unique<CDxfBlock>();
    int flags = 0;
    if (!ReadGroup(-1)) return false;
    while (m_Group.code != 0) {
        switch (m_Group.code) {
        case 2:
            block->SetName(m_Group.text);
            break;
        case 8:
            SetCurrentLayer(m_Group.text);
            block->SetLayer(m_Group.text);
            break;
        case 10:
            block->m_BasePoint.x = m_Group.d;
            break;
        case 20:
            block->m_BasePoint.y = m_Group.d;
            break;
        case 30:
            block->m_BasePoint.z = m_Group.d;
            break;
        case 70:
            flags = m_Group.i;
            break;
        default:
            break;
        }
        if (!ReadGroup(-1)) return false;
    }
    // A block that misses its ENDBLK ends with the section.
    while (!m_Group.Is("ENDBLK") && !m_Group.Is("ENDSEC") && !m_Group.Is("EOF")) {
        if (!ReadEntity(block->m_EntList, Context::Block)) return false;
    }
    if (block->m_csName.empty() || (flags & 1)) return true; // anonymous blocks are not kept
    const std::string& layer = m_pCurrentLayer ? m_pCurrentLayer->m_csName : std::string();
    block->m_csLayer = layer.empty() ? "0" : layer;
    if (GetBlockCount() >= kMaxBlocks) {
        // Once per file: the error is also a message box, and a file may hold millions of blocks.
        if (!m_bBlockOverflowReported) Log().Printf(LOG_ERROR, "Block buffer overflow\n");
        m_bBlockOverflowReported = true;
        return true;
    }
    if (FindBlock(block->m_csName)) {
        Log().Printf(LOG_ERROR, "Block called %s already exists", block->m_csName.c_str());
        return true;
    }
    CDxfBlock* added = block.get();
    m_Blocks.push_back(std::move(block));
    m_BlockIndex[ToUpper(added->m_csName)] = added;
    return true;
}

bool CDxfFile::ReadEntities() {
    m_bEntitiesEntered = true;
    if (!ReadGroup(0)) {
        Log().Printf(LOG_ERROR, "DXF error: reading entities section, expected group 0,\nline %d of %s",
                     m_iLineCount, m_csFileName.c_str());
        return false;
    }
    while (!m_Group.Is("ENDSEC")) {
        if (!ReadEntity(m_EntList, Context::Entities)) return false;
    }
    return true;
}

bool CDxfFile::SkipObjectsSection(const char* name) {
    for (;;) {
        bool atEof = false;
        if (!ReadLine(atEof)) {
            AlertBox("SkipSection Error, while skipping a section %s,\nline %d of file <%s>. Line=<%s>", name,
                     m_iLineCount, m_csFileName.c_str(), m_Line);
            return false;
        }
        ++m_iLineCount;
        if (StartsWithNoCase(m_Line, "ENDSEC")) return true;
    }
}

bool CDxfFile::SkipSection() {
    for (;;) {
        if (!ReadGroup(-1)) {
            AlertBox("DXF Error, while skipping a section\nline %d of file <%s>", m_iLineCount,
                     m_csFileName.c_str());
            return false;
        }
        if (m_Group.code == 0 && m_Group.Is("ENDSEC")) return true;
    }
}

void CDxfFile::SetCurrentLayer(const char* name) {
    // Consecutive entities mostly share a layer: skip the cleaning and the search then.
    if (m_pCurrentLayer && !m_csLastLayerRaw.empty() && m_csLastLayerRaw == name) return;
    CDxfLayer* layer = m_LayerTable.GetLayerPtrFromName(name);
    if (!layer) return;
    m_pCurrentLayer = layer;
    m_csLastLayerRaw = name;
}

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

    if (g.Is("LINE")) {
        auto e = std::make_unique<CDxfLine>();
        if (!readGroups([&] {
                switch (g.code) {
                case 10:
                    e->m_Start.x = g.d;
                    break;
                case 20:
                    e->m_Start.y = g.d;
                    break;
                case 30:
                    e->m_Start.z = g.d;
                    break;
                case 11:
                    e->m_End.x = g.d;
                    break;
                case 21:
                    e->m_End.y = g.d;
                    break;
                case 31:
                    e->m_End.z = g.d;
                    break;
                }
                return true;
            }))
            return false;
        add(std::move(e), false); // world coordinates
        return true;
    }
    if (g.Is("POINT")) {
        auto e = std::make_unique<CDxfPoint>();
        if (!readGroups([&] {
                switch (g.code) {
                case 10:
                    e->m_Point.x = g.d;
                    break;
                case 20:
                    e->m_Point.y = g.d;
                    break;
                case 30:
                    e->m_Point.z = g.d;
                    break;
                }
                return true;
            }))
            return false;
        add(std::move(e), false);
        return true;
    }
    if (g.Is("CIRCLE")) {
        auto e = std::make_unique<CDxfCircle>();
        if (!readGroups([&] {
                switch (g.code) {
                case 10:
                    e->m_Centre.x = g.d;
                    break;
                case 20:
                    e->m_Centre.y = g.d;
                    break;
                case 30:
                    e->m_Centre.z = g.d;
                    break;
                case 40:
                    e->m_dRadius = g.d;
                    break;
                }
                return true;
            }))
            return false;
        add(std::move(e), true);
        return true;
    }
    if (g.Is("ARC")) {
        auto e = std::make_unique<CDxfArc>();
        if (!readGroups([&] {
                switch (g.code) {
                case 10:
                    e->m_Centre.x = g.d;
                    break;
                case 20:
                    e->m_Centre.y = g.d;
                    break;
                case 30:
                    e->m_Centre.z = g.d;
                    break;
                case 40:
                    e->m_dRadius = g.d;
                    break;
                case 50:
                    e->m_dStartAngle = g.d;
                    break;
                case 51:
                    e->m_dEndAngle = g.d;
                    break;
                }
                return true;
            }))
            return false;
        add(std::move(e), true);
        return true;
    }
    if (g.Is("ELLIPSE") && inEntities) {
        Point centre, major;
        double ratio = 1.0, start = 0.0, end = kFullEllipseParam;
        if (!readGroups([&] {
                switch (g.code) {
                case 10:
                    centre.x = g.d;
                    break;
                case 20:
                    centre.y = g.d;
                    break;
                case 30:
                    centre.z = g.d;
                    break;
                case 11:
                    major.x = g.d;
                    break;
                case 21:
                    major.y = g.d;
                    break;
                case 40:
                    ratio = g.d;
                    break;
                case 41:
                    start = g.d;
                    break;
                case 42:
                    end = g.d;
                    break;
                }
                return true;
            }))
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

// ---------------------------------------------------------------------------------------------
// After reading

void CDxfFile::ResolveList(CEntList& list, std::unordered_set<const CDxfBlock*>& resolved) {
    for (const auto& entity : list) {
        if (entity->GetType() != DXF_INSERT) continue;
        auto* insert = static_cast<CDxfInsert*>(entity.get());
        if (!insert->m_pBlock) insert->m_pBlock = FindBlock(insert->m_csBlockName);
        if (!insert->m_pBlock) {
            Log().Printf(LOG_INFO, "****Could not resolve an insert of %s\n", insert->m_csBlockName.c_str());
            Log().Printf(LOG_INFO, "A still unresolved insert exists, %s:", insert->m_csBlockName.c_str());
            continue;
        }
        // Each block's list once: blocks that insert one another several times over would make
        // a walk through every insert take time exponential in the nesting depth. This also
        // keeps a block that inserts itself from being entered again.
        if (resolved.insert(insert->m_pBlock).second) ResolveList(insert->m_pBlock->m_EntList, resolved);
    }
}

void CDxfFile::CutInsert(CDxfInsert& insert, ExpansionWalk& walk, const char* why, size_t limit) {
    // The first one only: the error is also a message box, and a file may hold millions of them.
    if (!walk.reported) {
        walk.reported = true;
        if (limit > 0)
            Log().Printf(LOG_ERROR,
                         "DXF: an insert of the block <%s> %s %d entities through its nested "
                         "blocks\nin <%s>; it is not drawn, nor are others like it.",
                         insert.m_pBlock->m_csName.c_str(), why, static_cast<int>(limit),
                         m_csFileName.c_str());
        else
            Log().Printf(LOG_ERROR, "DXF: the block <%s> %s in <%s>; that insert is not drawn.",
                         insert.m_pBlock->m_csName.c_str(), why, m_csFileName.c_str());
    }
    insert.m_pBlock = nullptr;
}

// What a walk over the entity costs: one, and one more for each of its points.
static size_t WalkWeight(const CDxfEntity& entity) {
    switch (entity.GetType()) {
    case DXF_PLINE:
        return 1 + static_cast<const CDxfPline&>(entity).m_Vertices.size();
    case DXF_MESH:
        return 1 + static_cast<const CDxfMesh&>(entity).GetPointCount() +
               static_cast<const CDxfMesh&>(entity).GetFaceCount();
    case DXF_PGONMESH:
        return 1 + static_cast<const CDxfPgonMesh&>(entity).GetPointCount();
    default:
        return 1;
    }
}

size_t CDxfFile::LimitExpansion(const CEntList& list, size_t limit, ExpansionWalk& walk) {
    constexpr size_t kInProgress = SIZE_MAX;
    size_t total = 0;
    for (const auto& entity : list) {
        total += WalkWeight(*entity);
        if (entity->GetType() != DXF_INSERT) continue;
        auto* insert = static_cast<CDxfInsert*>(entity.get());
        CDxfBlock* block = insert->m_pBlock;
        if (!block) continue;
        size_t inner;
        if (auto it = walk.sizes.find(block); it == walk.sizes.end()) {
            walk.sizes[block] = kInProgress;
            inner = LimitExpansion(block->m_EntList, kMaxInsertExpansion, walk);
            walk.sizes[block] = inner;
        } else if (it->second == kInProgress) {
            // A block that inserts itself, directly or through others: what that insert draws
            // would depend on where the walk began, so it draws nothing.
            CutInsert(*insert, walk, "inserts itself", 0);
            continue;
        } else {
            inner = it->second;
        }
        // Every walk over the drawing (extents, drawing, snapping, picking) goes through all of
        // them; the insert stays in the drawing but shows nothing.
        if (inner > kMaxInsertExpansion) {
            CutInsert(*insert, walk, "would draw more than", kMaxInsertExpansion);
            continue;
        }
        if (total + inner > limit) {
            CutInsert(*insert, walk, "would draw more than", limit);
            continue;
        }
        total += inner;
    }
    return total;
}

void CDxfFile::ResolveInserts() {
    std::unordered_set<const CDxfBlock*> resolved;
    ResolveList(m_EntList, resolved);
    ExpansionWalk walk;
    LimitExpansion(m_EntList, kMaxDrawingExpansion, walk);
}

void CDxfFile::CheckMeshOrientation() {
    std::vector<CDxfMesh*> meshes;
    for (const auto& e : m_EntList)
        if (e->GetType() == DXF_MESH) meshes.push_back(static_cast<CDxfMesh*>(e.get()));
    if (meshes.empty()) return;
    Point lo, hi;
    GetExtents(lo, hi);
    const Point far(hi.x * 1000.0, hi.y * 1000.0, hi.z * 1000.0);
    int passed = 0, failed = 0;
    for (int axis = 0; axis < 3; ++axis) {
        auto coord = [axis](const Point& p) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; };
        const CDxfMesh* best = nullptr;
        int bestIndex = 0;
        for (const CDxfMesh* mesh : meshes)
            for (int i = 0; i < mesh->GetPointCount(); ++i)
                if (!best || coord(mesh->m_Points[i]) > coord(best->m_Points[bestIndex])) {
                    best = mesh;
                    bestIndex = i;
                }
        if (!best) continue;
        // The face holding that vertex (point numbers are 1-based).
        const DxfMeshFace* face = nullptr;
        for (const DxfMeshFace& f : best->m_Faces) {
            for (int k = 0; k < f.count && !face; ++k)
                if (f.index[k] == bestIndex + 1) face = &f;
            if (face) break;
        }
        Point normal;
        if (!face || !best->GetFaceNormal(*face, normal)) continue;
        const Point& v = best->m_Points[bestIndex];
        const double dx = far.x - v.x, dy = far.y - v.y, dz = far.z - v.z;
        const double len = std::sqrt(dx * dx + dy * dy + dz * dz);
        bool outward = true;
        if (len > 0.0) {
            const double c = std::clamp((normal.x * dx + normal.y * dy + normal.z * dz) / len, -1.0, 1.0);
            outward = std::acos(c) <= 1.570796326795;
        }
        (outward ? passed : failed)++;
    }
    if (passed == 0 && failed > 0) {
        for (CDxfMesh* mesh : meshes)
            mesh->ReverseFaces();
    } else if (passed > 0 && failed > 0) {
        AlertBox("The mesh normals are not consistent:<%s>\n", m_csFileName.c_str());
    }
}

void CDxfFile::RebuildSnapPoints() {
    m_SnapPoints.Clear();
    const Matrix4 identity;
    for (const auto& e : m_EntList)
        AddSnapPoints(m_SnapPoints, e.get(), identity);
}

void CDxfFile::GetExtents(Point& min, Point& max, const Point& margin) const {
    ExtentsBox box;
    const Matrix4 identity;
    for (const auto& e : m_EntList) {
        const CDxfLayer* layer = e->GetLayer();
        if (layer && !layer->m_bVisible) continue;
        Point a, b;
        if (e->GetExtents(a, b, identity)) {
            box.Add(a);
            box.Add(b);
        }
    }
    if (!box.valid) {
        min = max = Point();
        return;
    }
    min = box.min;
    max = box.max;
    const double gx = (max.x - min.x) * margin.x, gy = (max.y - min.y) * margin.y,
                 gz = (max.z - min.z) * margin.z;
    min.x -= gx, max.x += gx;
    min.y -= gy, max.y += gy;
    min.z -= gz, max.z += gz;
}

Point CDxfFile::GetSize() const {
    Point lo, hi;
    GetExtents(lo, hi);
    return Point(hi.x - lo.x, hi.y - lo.y, hi.z - lo.z);
}
