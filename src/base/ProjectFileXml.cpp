#include "base/ProjectFileXml.h"

#include "base/Logger.h"
#include "base/Platform.h"
#include "base/TextUtils.h"

#include <tinyxml.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

const char* const kProjectFileRoot = "NUVA_LENI_V3";
const char* const kProjectFileExtension = "LENI1XML";

namespace {
// Project files nest about ten levels; anything much deeper is not one.
constexpr int kMaxNesting = 256;

// Decodes one UTF-8 character at s[i]; false (one byte consumed) for a malformed sequence.
bool DecodeUtf8(const std::string& s, size_t& i, unsigned& cp) {
    const auto c = static_cast<unsigned char>(s[i]);
    int len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
        ++i;
        return false;
    }
    cp = len == 1 ? c : c & (0x7F >> len);
    for (int k = 1; k < len; ++k) {
        const auto cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80) {
            ++i;
            return false;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    i += len;
    return true;
}

// XML cannot carry control characters other than tab and line breaks, not even as references;
// they become '?', as characters outside the code page do.
std::string ProtectValue(const std::string& value) {
    std::string out = value;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 32 && c != '\t' && c != '\n' && c != '\r') c = '?';
    return out;
}

void ProtectNode(TiXmlNode* node) {
    if (TiXmlText* text = node->ToText()) text->SetValue(ProtectValue(text->ValueStr()));
    if (TiXmlElement* element = node->ToElement())
        for (TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next())
            a->SetValue(ProtectValue(a->ValueStr()));
    for (TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling())
        ProtectNode(child);
}

// What a file may hold of one kind inside one parent element, far above any real building.
struct ChildLimit {
    const char* parent;
    const char* child; // null: every child element counts
    int limit;
    const char* what;
};
constexpr ChildLimit kChildLimits[] = {
    {"FloorList", "Floor", kMaxFloors, "floors in a project"},
    {"RoomList", "Room", kMaxRoomsPerFloor, "rooms on one floor"},
    {"ZoneList", "Zone", kMaxZonesPerRoom, "zones in one room"},
    {"LumList", nullptr, kMaxLuminaireEntries, "luminaire entries in one list"},
};

// Walks the tags as a parser would meet them, before the parser builds anything: the nesting
// depth, the attributes of every element (TinyXML checks each new attribute against all the
// element already has, so many of them take quadratic time) and the counts of kChildLimits.
// False with the reason in message when the text goes beyond one of them.
// When floorRooms is given, it receives one entry for each "Floor" element of the first
// "FloorList" of the first top-level element, when that element is the project file's root: the
// spans of the "Room" elements of the floor's first "RoomList".
bool CheckXmlShape(const std::string& s, std::string& message,
                   std::vector<std::vector<TextSpan>>* floorRooms = nullptr) {
    struct Open {
        std::string name;
        int children = 0;
        const ChildLimit* limit = nullptr;
        bool holdsFloors = false; // the root, or its first floor list
        bool isFloor = false;     // a floor of that list
        int roomLists = 0;
        bool holdsRooms = false; // the first room list of such a floor
        size_t roomStart = std::string::npos;
    };
    std::vector<Open> stack;
    int topLevelElements = 0, rootFloorLists = 0;
    size_t i = 0;
    int line = 1;
    const size_t n = s.size();
    auto skipTo = [&](const char* end, size_t from) {
        const size_t e = s.find(end, from);
        const size_t stop = e == std::string::npos ? n : e + std::char_traits<char>::length(end);
        line += static_cast<int>(std::count(s.begin() + static_cast<std::ptrdiff_t>(i),
                                            s.begin() + static_cast<std::ptrdiff_t>(stop), '\n'));
        return stop;
    };
    auto isNameChar = [](char c) {
        return !(c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '>' || c == '/' || c == '=');
    };
    while (i < n) {
        if (s[i] != '<') {
            // The text up to the next tag, at once: most of a project file is indentation.
            const void* next = std::memchr(s.data() + i, '<', n - i);
            const size_t stop = next ? static_cast<size_t>(static_cast<const char*>(next) - s.data()) : n;
            line += static_cast<int>(std::count(s.data() + i, s.data() + stop, '\n'));
            i = stop;
        } else if (s.compare(i, 4, "<!--") == 0) {
            i = skipTo("-->", i + 4);
        } else if (s.compare(i, 9, "<![CDATA[") == 0) {
            i = skipTo("]]>", i + 9);
        } else if (i + 1 < n && (s[i + 1] == '?' || s[i + 1] == '!')) {
            i = skipTo(">", i + 1);
        } else if (i + 1 < n && s[i + 1] == '/') {
            const size_t roomStart = stack.empty() ? std::string::npos : stack.back().roomStart;
            if (!stack.empty()) stack.pop_back();
            i = skipTo(">", i + 1);
            if (roomStart != std::string::npos && i <= n && s[i - 1] == '>')
                floorRooms->back().push_back({roomStart, i});
        } else {
            const int tagLine = line;
            size_t j = i + 1;
            while (j < n && isNameChar(s[j]))
                ++j;
            Open element;
            element.name = s.substr(i + 1, j - i - 1);
            int attributes = 0;
            char quote = 0;
            for (; j < n; ++j) {
                if (s[j] == '\n') ++line;
                if (quote) {
                    if (s[j] == quote) quote = 0;
                } else if (s[j] == '"' || s[j] == '\'') {
                    quote = s[j];
                } else if (s[j] == '=') {
                    ++attributes;
                } else if (s[j] == '>') {
                    break;
                }
            }
            if (attributes > kMaxXmlAttributes) {
                message = StrPrintf("The element <%s> at line %d has more than %d attributes (the limit of "
                                    "attributes on one element); the file is not read.",
                                    element.name.c_str(), tagLine, kMaxXmlAttributes);
                return false;
            }
            if (!stack.empty()) {
                Open& parent = stack.back();
                if (parent.limit && (!parent.limit->child || element.name == parent.limit->child) &&
                    ++parent.children > parent.limit->limit) {
                    message = StrPrintf("More than %d %s at line %d (the limit of %s); the file is not read.",
                                        parent.limit->limit, parent.limit->what, tagLine, parent.limit->what);
                    return false;
                }
            }
            const size_t depth = stack.size();
            if (depth == 0) {
                element.holdsFloors = ++topLevelElements == 1 && element.name == kProjectFileRoot;
            } else if (depth == 1 && stack[0].holdsFloors && element.name == "FloorList") {
                element.holdsFloors = ++rootFloorLists == 1;
            } else if (floorRooms && depth == 2 && stack[1].holdsFloors && element.name == "Floor") {
                element.isFloor = true;
                floorRooms->emplace_back();
            } else if (depth == 3 && stack[2].isFloor && element.name == "RoomList") {
                element.holdsRooms = ++stack[2].roomLists == 1;
            } else if (depth == 4 && stack[3].holdsRooms && element.name == "Room") {
                if (j < n && s[j - 1] == '/') floorRooms->back().push_back({i, j + 1});
                element.roomStart = i;
            }
            if (j >= n || s[j - 1] != '/') {
                if (static_cast<int>(stack.size()) >= kMaxNesting) {
                    message =
                        StrPrintf("Elements nested more than %d deep at line %d (the limit of nesting); "
                                  "the file is not read.",
                                  kMaxNesting, tagLine);
                    return false;
                }
                for (const ChildLimit& limit : kChildLimits)
                    if (element.name == limit.parent) element.limit = &limit;
                stack.push_back(std::move(element));
            }
            i = j + 1;
        }
    }
    return true;
}

bool IsXyDelimiter(char c) {
    return c == ' ' || c == ';' || c == ',' || c == ':' || c == '\t';
}

// A whole text that is one finite number.
bool ParseNumberToken(const std::string& token, double& value) {
    const std::string t = TrimWhiteSpace(token);
    if (t.empty()) return false;
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    char* end = nullptr;
    value = strtod_l(t.c_str(), &end, cLocale);
    return end && *end == '\0' && std::isfinite(value);
}
} // namespace

std::string ReduceToPrintableAscii(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        unsigned cp = 0;
        if (!DecodeUtf8(utf8, i, cp)) {
            out += '_';
            continue;
        }
        if (cp >= 32 && cp <= 126)
            out += static_cast<char>(cp);
        else if (cp == 0xE0) // à
            out += 'a';
        else if (cp == 0xE8 || cp == 0xE9) // è é
            out += 'e';
        else if (cp == 0xF2) // ò
            out += 'o';
        else
            out += '_';
    }
    return out;
}

void SetDoubleAttribute(TiXmlElement* element, const char* name, const char* format, double value) {
    if (!element || !name || !format) {
        Log().Printf(LOG_ERROR, "SetDoubleAttribute %.4f with null pointer(s).", value);
        return;
    }
    element->SetAttribute(name, FormatDouble(format, value).c_str());
}

void SetBoolAttribute(TiXmlElement* element, const char* name, bool value) {
    if (!element || !name) {
        Log().Printf(LOG_ERROR, "SetBoolAttribute with null input.");
        return;
    }
    element->SetAttribute(name, value ? "1" : "0");
}

double ParseFileDouble(const std::string& text, const std::string& where) {
    const double value = ParseDouble(text);
    const std::string of = where.empty() ? std::string() : " of " + where;
    if (!std::isfinite(value)) {
        Log().Printf(LOG_ERROR, "The number <%s>%s in the file is not finite; 0 is used.", text.c_str(), of.c_str());
        return 0.0;
    }
    // No size, angle, power or factor of a building comes near; beyond it, products of such
    // numbers would overflow to infinity in the results.
    if (std::fabs(value) > kLargestFileNumber) {
        const double clamped = std::copysign(kLargestFileNumber, value);
        Log().Printf(LOG_ERROR, "The number <%s>%s in the file is beyond any building's; %.0f is used.", text.c_str(),
                     of.c_str(), clamped);
        return clamped;
    }
    return value;
}

int ParseFileInt(const std::string& text) {
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int TruncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

bool ParseXyText(const std::string& text, double& x, double& y) {
    double numbers[2];
    int found = 0;
    size_t i = 0;
    while (found < 2 && i < text.size()) {
        while (i < text.size() && IsXyDelimiter(text[i]))
            ++i;
        if (i >= text.size()) break;
        size_t end = i;
        while (end < text.size() && !IsXyDelimiter(text[end]))
            ++end;
        if (!ParseNumberToken(text.substr(i, end - i), numbers[found])) return false;
        ++found;
        i = end;
    }
    if (found != 2) return false;
    x = numbers[0];
    y = numbers[1];
    return true;
}

std::string DocumentToFileText(TiXmlDocument& doc, const char* indent) {
    ProtectNode(&doc);
    TiXmlPrinter printer;
    doc.Accept(&printer);
    // Bytes above 127 occur only inside values, never in markup. Each becomes the reference to its
    // character, as every XML reader understands it (the euro sign is &#x20AC;, not byte 0x80).
    const char* const printed = printer.CStr();
    const size_t size = printer.Size();
    const size_t indentLength = std::strlen(indent);
    std::string text;
    text.reserve(indentLength > 0 ? size + size / 4 : size);
    for (size_t line = 0; line < size;) {
        const void* newline = std::memchr(printed + line, '\n', size - line);
        const size_t end =
            newline ? static_cast<size_t>(static_cast<const char*>(newline) - printed) + 1 : size;
        text.append(indent, indentLength);
        size_t run = line; // start of the plain text not yet copied
        for (size_t i = line; i < end; ++i) {
            const auto c = static_cast<unsigned char>(printed[i]);
            if (c < 0x80) continue;
            text.append(printed + run, i - run);
            text += StrPrintf("&#x%02X;", CodePointFromCp1252(c));
            run = i + 1;
        }
        text.append(printed + run, end - run);
        line = end;
    }
    return text;
}

namespace {
// True when the text holds bytes beyond ASCII and all of them form well-made UTF-8 characters: no
// text in Windows-1252 with a letter such as "à" between plain letters does.
bool IsUtf8BeyondAscii(const std::string& text) {
    bool beyond = false;
    for (size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const size_t start = i;
        unsigned cp = 0;
        if (!DecodeUtf8(text, i, cp)) return false;
        const size_t length = i - start;
        const unsigned least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        beyond = true;
    }
    return beyond;
}

// TinyXML reads the file as 8-bit text and keeps only the low byte of a character reference, so a
// euro sign written as &#8364; by another program would come in as byte 0xAC. References beyond
// 0xFF are turned into the Windows-1252 byte of their character first ("?" where the code page
// has none); smaller ones are that byte already, as this program has always written them.
std::string Cp1252References(std::string text) {
    std::string out;
    size_t copied = 0;
    for (size_t at = text.find("&#"); at != std::string::npos; at = text.find("&#", at + 2)) {
        size_t i = at + 2;
        const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
        if (hex) ++i;
        const size_t digits = i;
        unsigned long codePoint = 0;
        while (i < text.size() && i - digits < 8 && std::isxdigit(static_cast<unsigned char>(text[i]))) {
            const char d = text[i];
            if (!hex && !std::isdigit(static_cast<unsigned char>(d))) break;
            const int value =
                std::isdigit(static_cast<unsigned char>(d)) ? d - '0' : (std::tolower(d) - 'a' + 10);
            codePoint = codePoint * (hex ? 16 : 10) + static_cast<unsigned long>(value);
            ++i;
        }
        if (i == digits || i >= text.size() || text[i] != ';' || codePoint <= 0xFF) continue;
        const int byte =
            codePoint <= 0x10FFFF ? Cp1252ByteFromCodePoint(static_cast<unsigned>(codePoint)) : -1;
        out.append(text, copied, at - copied);
        out += byte < 0 ? std::string("?") : StrPrintf("&#x%02X;", byte);
        copied = i + 1;
    }
    if (copied == 0) return text;
    out.append(text, copied, std::string::npos);
    return out;
}
} // namespace

CPreservedWhiteSpace::CPreservedWhiteSpace() : m_bCondensed(TiXmlBase::IsWhiteSpaceCondensed()) {
    TiXmlBase::SetCondenseWhiteSpace(false);
}

CPreservedWhiteSpace::~CPreservedWhiteSpace() {
    TiXmlBase::SetCondenseWhiteSpace(m_bCondensed);
}

bool PrepareFileText(std::string text, std::string& prepared,
                     std::vector<std::vector<TextSpan>>* floorRooms) {
    std::string message;
    if (!CheckXmlShape(text, message, floorRooms)) {
        Log().Printf(LOG_ERROR, "%s", message.c_str());
        return false;
    }
    // A byte-order mark, as many editors write one, says the text is UTF-8: read without the mark
    // and in the code page the rest of the program reads. So is a text whose bytes beyond ASCII
    // are all well-made UTF-8, declared so or not; any other text is the code page's own, as this
    // program and its predecessors wrote it (a declaration of UTF-8 over such bytes is wrong).
    const size_t size = text.size();
    const bool marked = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    const bool utf8 = marked || IsUtf8BeyondAscii(text);
    if (utf8)
        prepared = Cp1252References(AsciiFromWideChar(marked ? text.substr(3) : text));
    else
        prepared = Cp1252References(std::move(text));
    // Neither change touches the markup: the shape is the same. A reference is never made longer
    // (the shortest one changed, "&#256;", is as long as any written in its place), so a text of
    // the same size has everything in the same place; otherwise the rooms are found again.
    if (floorRooms && (utf8 || prepared.size() != size)) {
        floorRooms->clear();
        // Should the prepared text walk otherwise, nothing is parsed apart rather than a part.
        if (!CheckXmlShape(prepared, message, floorRooms)) floorRooms->clear();
    }
    return true;
}

bool ParsePreparedText(const char* text, TiXmlDocument& doc) {
    // No element's line and column is ever asked for: without a tab size the parser does not count
    // them, which on a large project is a good part of its time.
    doc.SetTabSize(0);
    doc.Parse(text, nullptr, TIXML_ENCODING_LEGACY);
    return !doc.Error();
}

bool ParseFileText(const std::string& text, TiXmlDocument& doc) {
    std::string prepared;
    if (!PrepareFileText(text, prepared, nullptr)) return false;
    // Texts such as descriptions keep their blanks and line breaks.
    CPreservedWhiteSpace keep;
    return ParsePreparedText(prepared.c_str(), doc);
}
