#include "model/ProjectFileXml.h"

#include "base/Logger.h"
#include "base/TextUtils.h"

#include <tinyxml.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <locale.h>

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

// Deepest element nesting of an XML text, counted the way a parser would meet the tags.
int NestingDepth(const std::string& s) {
    int depth = 0, deepest = 0;
    size_t i = 0;
    const size_t n = s.size();
    auto skipTo = [&](const char* end, size_t from) {
        const size_t e = s.find(end, from);
        return e == std::string::npos ? n : e + std::char_traits<char>::length(end);
    };
    while (i < n) {
        if (s[i] != '<') {
            ++i;
        } else if (s.compare(i, 4, "<!--") == 0) {
            i = skipTo("-->", i + 4);
        } else if (s.compare(i, 9, "<![CDATA[") == 0) {
            i = skipTo("]]>", i + 9);
        } else if (i + 1 < n && (s[i + 1] == '?' || s[i + 1] == '!')) {
            i = skipTo(">", i + 1);
        } else if (i + 1 < n && s[i + 1] == '/') {
            depth = std::max(depth - 1, 0);
            i = skipTo(">", i + 1);
        } else {
            size_t j = i + 1;
            char quote = 0;
            for (; j < n; ++j) {
                if (quote) {
                    if (s[j] == quote) quote = 0;
                } else if (s[j] == '"' || s[j] == '\'') {
                    quote = s[j];
                } else if (s[j] == '>') {
                    break;
                }
            }
            if (j >= n || s[j - 1] != '/') deepest = std::max(deepest, ++depth);
            i = j + 1;
        }
    }
    return deepest;
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

double ParseFileDouble(const std::string& text) {
    const double value = ParseDouble(text);
    if (std::isfinite(value)) return value;
    Log().Printf(LOG_ERROR, "The number <%s> in the file is not finite; 0 is used.", text.c_str());
    return 0.0;
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

std::string DocumentToFileText(TiXmlDocument& doc) {
    ProtectNode(&doc);
    TiXmlPrinter printer;
    doc.Accept(&printer);
    // Bytes above 127 occur only inside values, never in markup.
    const char* const printed = printer.CStr();
    const size_t size = printer.Size();
    std::string text;
    text.reserve(size);
    static const char kHex[] = "0123456789ABCDEF";
    size_t run = 0; // start of the plain text not yet copied
    for (size_t i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(printed[i]);
        if (c < 0x80) continue;
        text.append(printed + run, i - run);
        const char escaped[] = {'&', '#', 'x', kHex[c >> 4], kHex[c & 15], ';'};
        text.append(escaped, sizeof escaped);
        run = i + 1;
    }
    text.append(printed + run, size - run);
    return text;
}

bool ParseFileText(const std::string& text, TiXmlDocument& doc) {
    if (NestingDepth(text) > kMaxNesting) return false;
    // Texts such as descriptions keep their blanks and line breaks; the switch is global to
    // TinyXML, so it is put back at once.
    const bool condense = TiXmlBase::IsWhiteSpaceCondensed();
    TiXmlBase::SetCondenseWhiteSpace(false);
    doc.Parse(text.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    TiXmlBase::SetCondenseWhiteSpace(condense);
    return !doc.Error();
}
