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

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <strings.h>
#include <unordered_set>

namespace {

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
        AlertBox("CDxfFile::ReadFile, filename too long: %u bytes, more than the %u this system allows:\n%s",
                 static_cast<unsigned>(fileName.size()), static_cast<unsigned>(kMaxFileName), fileName.c_str());
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
    // Entities were filled in after they went into their lists, and inserts found their blocks.
    CEntList::NoteGeometryChanged();
    CheckMeshOrientation();
    m_bSnapPointsDue = true;
    // Measured now and kept, for opening the drawing and culling its inserts.
    ExtentsBox kept;
    m_EntList.GetKeptExtents(kept, true);
    for (const auto& block : m_Blocks)
        block->GetExtents(kept.min, kept.max, Matrix4());
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
        if (strcasecmp(m_Group.text, "$INSUNITS") == 0) {
            if (ReadGroup(70))
                m_iHeaderUnits = m_Group.i;
            else
                Log().Printf(LOG_ERROR, "Could not read the value of $INSUNITS");
            if (m_Group.code == 0 && m_Group.Is("ENDSEC")) return true;
            continue;
        }
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
