#include "base/TextUtils.h"

#include "base/Platform.h"
#include <cctype>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Windows-1252 bytes 0x80..0x9F and their Unicode code points; 0 marks the five unused bytes.
const unsigned short kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,      // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178, // 98-9F
};

void AppendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char Cp1252FromCodePoint(unsigned cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    // The five bytes the code page leaves unused travel as the control characters of the same
    // number, so they survive a round trip.
    if (cp >= 0x80 && cp < 0xA0 && kCp1252High[cp - 0x80] == 0) return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] != 0 && kCp1252High[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

locale_t CLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return loc;
}

} // namespace

std::string AsciiFromWideChar(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    size_t n = utf8.size();
    for (size_t i = 0; i < n;) {
        unsigned char c = s[i];
        unsigned cp;
        int len;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            len = 4;
        } else {
            out += '?';
            ++i;
            continue;
        }
        if (i + len > n) {
            out += '?';
            break;
        }
        bool ok = true;
        for (int k = 1; k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (!ok) {
            out += '?';
            ++i;
            continue;
        }
        out += Cp1252FromCodePoint(cp);
        i += len;
    }
    return out;
}

unsigned CodePointFromCp1252(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0 && kCp1252High[byte - 0x80] != 0) return kCp1252High[byte - 0x80];
    return byte;
}

int Cp1252ByteFromCodePoint(unsigned codePoint) {
    const char c = Cp1252FromCodePoint(codePoint);
    if (c == '?' && codePoint != '?') return -1;
    return static_cast<unsigned char>(c);
}

std::string WideCharFromAscii(const std::string& cp1252) {
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 8);
    for (unsigned char c : cp1252) {
        if (c >= 0x80 && c < 0xA0) {
            unsigned cp = kCp1252High[c - 0x80];
            AppendUtf8(out, cp ? cp : c);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::string TrimWhiteSpace(const std::string& text) {
    size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1])))
        --e;
    return text.substr(b, e - b);
}

std::string StrVPrintf(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    char buf[1024];
    int n = std::vsnprintf(buf, sizeof buf, format, copy);
    va_end(copy);
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < sizeof buf) return std::string(buf, static_cast<size_t>(n));
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(&out[0], out.size(), format, args);
    out.resize(static_cast<size_t>(n));
    return out;
}

std::string StrPrintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = StrVPrintf(format, args);
    va_end(args);
    return out;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    // Equal bytes need no case folding; names are looked up many times in every calculation.
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] &&
            std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string ToUpper(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string ToLower(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

double ParseDouble(const std::string& text) {
    return strtod_l(text.c_str(), nullptr, CLocale());
}

std::string FormatDouble(const char* format, double value) {
    // The usual "%.Nf" of a number of everyday size is written straight from its digits: the same
    // exactly rounded text printf gives, without a locale switch (files hold many thousands).
    const char* p = format;
    if (*p == '%') {
        ++p;
        if (*p == '0') ++p; // a zero flag without a width changes nothing
        if (p[0] == '.' && p[1] >= '0' && p[1] <= '9') {
            int precision = p[1] - '0';
            p += 2;
            if (*p >= '0' && *p <= '9') precision = 10 * precision + (*p++ - '0');
            if (p[0] == 'f' && p[1] == '\0' && std::isfinite(value) && std::fabs(value) < 1e17) {
                char buf[128];
                const std::to_chars_result r =
                    std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision);
                if (r.ec == std::errc()) return std::string(buf, r.ptr);
            }
        }
    }
    locale_t old = uselocale(CLocale());
    char buf[512];
    std::snprintf(buf, sizeof buf, format, value);
    uselocale(old);
    return buf;
}
