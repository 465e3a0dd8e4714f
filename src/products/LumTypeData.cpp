#include "products/LumTypeData.h"

#include "base/FileUtils.h"
#include "base/Logger.h"
#include "base/TextUtils.h"
#include "base/XmlUtils.h"

#include <tinyxml.h>

#include "base/Platform.h"
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

const LumTypeName kLumTypeNames[7] = {
    {"Luminaire", 1},
    {"Control", 2},
    {"Emergency", 4},
    {"Luminaire+Emergency", 5},
    {"Luminaire+Control", 3},
    {"Control+Emergency", 6},
    {"Luminaire+Control+Emergency", 7},
};

const char* const kProdConSysNames[3] = {"Daylight", "Occupancy", "Constant Illuminance Sensor"};

const char* GetLumTypeName(int typeFlags) {
    for (const LumTypeName& t : kLumTypeNames)
        if (t.typeFlags == typeFlags) return t.name;
    return "";
}

bool CLumTypeData::operator==(const CLumTypeData& o) const {
    return m_iTypeFlags == o.m_iTypeFlags && m_iProdConSys == o.m_iProdConSys && m_csRefId == o.m_csRefId &&
           m_csDesc == o.m_csDesc && m_dMaxPow == o.m_dMaxPow && m_dStandbyPow == o.m_dStandbyPow &&
           m_dChargePow == o.m_dChargePow;
}

namespace {

int ReadIntChild(const TiXmlElement* element, const char* name) {
    std::string text;
    if (!GetXmlChildText(element, name, text)) return 1;
    long long v = ParseXmlInteger(text);
    return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : static_cast<int>(v);
}

// A missing power reads as -1 so that it fails like a negative one.
double ReadPowerChild(const TiXmlElement* element, const char* name) {
    std::string text;
    if (!GetXmlChildText(element, name, text)) return -1.0;
    double v = ParseDouble(text);
    // "nan", "inf" or an absurd power would poison every total that uses the product.
    return std::isfinite(v) && v <= CLumTypeData::kMaxPower ? v : -1.0;
}

} // namespace

bool CLumTypeData::ReadFromXml(const TiXmlElement* element) {
    std::string refId;
    if (!GetXmlAttribute(element, "refid", refId) || refId.empty()) {
        Log().Printf(LOG_ERROR, "CLumTypeData::RFX no refid attribute");
        return false;
    }
    CLumTypeData read;
    read.m_csRefId = refId;
    GetXmlChildText(element, "Desc", read.m_csDesc);
    read.m_iProdConSys = ReadIntChild(element, "ProdConSys");
    read.m_iTypeFlags = ReadIntChild(element, "TypeFlags");
    read.m_dMaxPow = ReadPowerChild(element, "MaxPow");
    if (read.m_dMaxPow < 0) {
        Log().Printf(LOG_ERROR, "CLumTypeData::RFX no MaxPow");
        return false;
    }
    read.m_dStandbyPow = ReadPowerChild(element, "StandbyPow");
    if (read.m_dStandbyPow < 0) {
        Log().Printf(LOG_ERROR, "CLumTypeData::RFX no StandbyPow");
        return false;
    }
    read.m_dChargePow = ReadPowerChild(element, "ChargePow");
    if (read.m_dChargePow < 0) {
        Log().Printf(LOG_ERROR, "CLumTypeData::RFX no ChargePow");
        return false;
    }
    *this = read;
    return true;
}

void CLumTypeData::WriteToXml(TiXmlElement* parent) const {
    if (!parent) return;
    auto* element = new TiXmlElement("LumTypeData");
    SetXmlAttribute(element, "refid", m_csRefId);
    parent->LinkEndChild(element);
    AddXmlTextElement(element, "Desc", m_csDesc);
    AddXmlTextElement(element, "TypeFlags", m_iTypeFlags);
    AddXmlTextElement(element, "ProdConSys", m_iProdConSys);
    AddXmlTextElement(element, "MaxPow", m_dMaxPow);
    AddXmlTextElement(element, "StandbyPow", m_dStandbyPow);
    AddXmlTextElement(element, "ChargePow", m_dChargePow);
}

// ---------------------------------------------------------------------------------------------
// Photometric files

namespace {

// Photometric files are read as lines of at most this many bytes; a longer line comes in
// pieces, each counting as a line, as the files' own line limits assume.
constexpr size_t kMaxPiece = 258;
// More tilt pairs than any file could hold marks the tilt data as damaged.
constexpr long long kMaxTiltPairs = 1000000000;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reads CR LF, LF and CR terminated lines alike.
class PieceReader {
  public:
    explicit PieceReader(std::FILE* file) : m_file(file) {}

    // The next piece without its terminator; false at the end of the file. endsLine tells
    // whether the piece finished its line (a full piece followed by a terminator does).
    bool Next(std::string& piece, bool* endsLine = nullptr) {
        piece.clear();
        bool ends = true;
        bool sawNul = false;
        int c = std::getc(m_file);
        if (c == EOF) return false;
        for (;; c = std::getc(m_file)) {
            if (c == EOF || c == '\n') break;
            if (c == '\r') {
                int d = std::getc(m_file);
                if (d != '\n' && d != EOF) std::ungetc(d, m_file);
                break;
            }
            if (piece.size() == kMaxPiece) {
                std::ungetc(c, m_file);
                ends = false;
                break;
            }
            // A NUL ends the text of the piece, as it would end a C string.
            if (c == '\0') sawNul = true;
            if (!sawNul) piece += static_cast<char>(c);
        }
        if (endsLine) *endsLine = ends;
        return true;
    }

    // One whole line, joining its pieces (used only where a line holds a list of numbers).
    bool NextWholeLine(std::string& line) {
        std::string piece;
        bool ends = true;
        if (!Next(line, &ends)) return false;
        while (!ends && Next(piece, &ends))
            line += piece;
        return true;
    }

  private:
    std::FILE* m_file;
};

locale_t CNumericLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return loc;
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    size_t n = std::char_traits<char>::length(prefix);
    return text.size() >= n && EqualsNoCase(text.substr(0, n), prefix);
}

std::string TrimLeft(const std::string& text) {
    size_t b = 0;
    while (b < text.size() && std::isspace(static_cast<unsigned char>(text[b])))
        ++b;
    return text.substr(b);
}

// A wattage that is negative, no finite number or absurdly large is taken as unknown (0) rather
// than stored, since the database would refuse it on the next start.
double SanitisedWatts(double watts) {
    return std::isfinite(watts) && watts >= 0 && watts <= CLumTypeData::kMaxPower ? watts : 0.0;
}

// The third of three numbers read like "%f %f %f" (as doubles); 0 when there are fewer.
double ThirdNumber(const std::string& line) {
    const char* p = line.c_str();
    double value = 0.0;
    for (int i = 0; i < 3; ++i) {
        char* end = nullptr;
        value = strtod_l(p, &end, CNumericLocale());
        if (end == p) return 0.0;
        p = end;
    }
    return value;
}

// Skips the tilt data that follows "TILT=INCLUDE": the lamp-to-luminaire geometry, the number
// N of pairs, then N angles and N multiplying factors over as many lines as they take.
bool SkipTiltBlock(PieceReader& reader) {
    long long needed = 2; // geometry and N until N is known
    long long seen = 0;
    bool haveCount = false;
    std::string line;
    while (seen < needed) {
        if (!reader.NextWholeLine(line)) return false;
        size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && (std::isspace(static_cast<unsigned char>(line[i])) || line[i] == ','))
                ++i;
            if (i >= line.size()) break;
            size_t start = i;
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])) && line[i] != ',')
                ++i;
            ++seen;
            if (seen == 2 && !haveCount) {
                char* end = nullptr;
                std::string token = line.substr(start, i - start);
                long long n = std::strtoll(token.c_str(), &end, 10);
                if (end == token.c_str() || *end != '\0' || n < 0 || n > kMaxTiltPairs) return false;
                haveCount = true;
                needed = 2 + 2 * n;
            }
        }
    }
    return true;
}

// In files of the first generation, which have no keywords, the catalogue number and the
// luminaire name stand on free-text label lines.
const char* const kLabelRefId[] = {"CATALOG NUMBER:", "CATALOG NO.:", "CATALOG:"};
const char* const kLabelDesc = "LUMINAIRE:";

} // namespace

bool CLumTypeData::ImportFromPhotometricFile(const std::string& path) {
    if (!FileExists(path)) {
        Log().Printf(LOG_ERROR, "CLumTypeData::IFPF does not exist.\n<%s>", path.c_str());
        return false;
    }
    // The rule applies to the file name: a file called ".LDT" has no name before its extension.
    std::string name = fs::path(path).filename().string();
    if (name.size() > 4 && name[name.size() - 4] == '.') {
        std::string ext = name.substr(name.size() - 3);
        if (EqualsNoCase(ext, "LDT")) return ImportFromLdtFile(path);
        if (EqualsNoCase(ext, "IES")) return ImportFromIesFile(path);
    }
    Log().Printf(LOG_ERROR, "CLumTypeData::IFPF bad extension.\n<%s>", path.c_str());
    return false;
}

bool CLumTypeData::ImportFromLdtFile(const std::string& path) {
    CLumTypeData read;
    if (!read.ReadLdtLines(path)) {
        Log().Printf(LOG_ERROR, "CLumTypeData::IFLF(%s) does not exist.", path.c_str());
        return false;
    }
    if (read.m_csRefId.empty()) {
        Log().Printf(LOG_ERROR, "Line 10 (ref id) of the LDT is empty:\n%s", path.c_str());
        return false;
    }
    m_csDesc = read.m_csDesc;
    m_csRefId = read.m_csRefId;
    m_dMaxPow = read.m_dMaxPow;
    return true;
}

bool CLumTypeData::ReadLdtLines(const std::string& path) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    PieceReader reader(file.get());
    std::string line, desc, refId, watts;
    for (int lineNo = 1; lineNo <= 32 && reader.Next(line); ++lineNo) {
        if (lineNo == 9)
            desc = TrimWhiteSpace(line); // luminaire name
        else if (lineNo == 10)
            refId = TrimWhiteSpace(line); // luminaire number
        else if (lineNo == 32)
            watts = TrimWhiteSpace(line); // total wattage of the first set of lamps
    }
    m_csDesc = WideCharFromAscii(desc);
    m_csRefId = WideCharFromAscii(refId);
    m_dMaxPow = SanitisedWatts(ParseDouble(watts));
    return true;
}

bool CLumTypeData::ImportFromIesFile(const std::string& path) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        Log().Printf(LOG_ERROR, "CLumTypeData::IFIF(%s) does not exist.", path.c_str());
        return false;
    }
    PieceReader reader(file.get());
    std::string piece, refId, desc, maker, lamp;
    double watts = 0.0;
    bool firstLine = true;
    bool labelled = false;
    while (reader.Next(piece)) {
        std::string line = TrimWhiteSpace(piece);
        if (firstLine) {
            labelled = !StartsWithNoCase(line, "IESNA");
            firstLine = false;
        }
        if (StartsWithNoCase(line, "[LUMCAT]")) {
            refId = TrimLeft(line.substr(8));
        } else if (StartsWithNoCase(line, "[LUMINAIRE]")) {
            desc = TrimLeft(line.substr(11));
        } else if (StartsWithNoCase(line, "[MANUFAC]")) {
            maker = TrimLeft(line.substr(9));
        } else if (StartsWithNoCase(line, "[LAMP]")) {
            lamp = TrimLeft(line.substr(6));
        } else if (StartsWithNoCase(line, "TILT")) {
            std::string kind = TrimLeft(line.substr(4));
            if (!kind.empty() && kind[0] == '=') kind = TrimLeft(kind.substr(1));
            // TILT=NONE and TILT=<file name> have no tilt data in this file.
            bool ok = !EqualsNoCase(kind, "INCLUDE") || SkipTiltBlock(reader);
            std::string lampLine, ballastLine;
            if (ok && reader.Next(lampLine) && reader.Next(ballastLine))
                watts = SanitisedWatts(ThirdNumber(ballastLine)); // factor, BLPF, input watts
            break;
        } else if (labelled) {
            for (const char* label : kLabelRefId)
                if (StartsWithNoCase(line, label)) {
                    refId = TrimLeft(line.substr(std::char_traits<char>::length(label)));
                    break;
                }
            if (StartsWithNoCase(line, kLabelDesc))
                desc = TrimLeft(line.substr(std::char_traits<char>::length(kLabelDesc)));
        }
    }
    if (desc.empty()) {
        // No product is left without a description: what the file says of it, else its name.
        for (const std::string* part : {&refId, &maker, &lamp})
            if (!part->empty()) desc += (desc.empty() ? "" : ", ") + *part;
        if (desc.empty()) desc = fs::path(path).stem().string();
    }
    m_csRefId = WideCharFromAscii(refId);
    m_csDesc = WideCharFromAscii(desc);
    m_dMaxPow = watts;
    return true;
}
