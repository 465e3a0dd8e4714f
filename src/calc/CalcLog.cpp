#include "calc/CalcLog.h"

#include "base/DeferredOutput.h"
#include "base/FileUtils.h"
#include "base/TextUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <locale.h>

namespace {

// The one handle of the open calculation log, null when none is open.
FILE* pCalcLogFile = nullptr;
// Nesting depth of CCalcLogQuiet, per thread: work on a helper thread is quiet when the thread it
// works for is.
thread_local int quietDepth = 0;
// Nesting depth of CCalcLogDiscard, per thread.
thread_local int discardDepth = 0;

// The longest format accepted and the longest line written, in characters.
constexpr size_t kMaxFormatLength = 779;
constexpr size_t kMaxLineLength = 779;
// Logs run to tens of thousands of lines; a large buffer keeps the writes few.
constexpr size_t kCalcLogBufferSize = 1 << 16;

size_t CountCharacters(const char* utf8) {
    size_t n = 0;
    for (const char* p = utf8; *p; ++p)
        if ((static_cast<unsigned char>(*p) & 0xC0) != 0x80) ++n;
    return n;
}

// Numbers in the log use a decimal point whatever the user's locale.
locale_t CNumericLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return loc;
}

// An upper bound of the length vsnprintf gives for the format, or SIZE_MAX for a conversion not
// bounded here (then the line is formatted to learn its length). Numbers of ordinary size have a
// short bound; a string counts its bytes (its conversion never makes it longer).
size_t FormattedLengthBound(const char* format, va_list args) {
    size_t bound = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            ++bound;
            continue;
        }
        ++p;
        if (*p == '%') {
            ++bound;
            continue;
        }
        while (*p == '-' || *p == '+' || *p == ' ' || *p == '#' || *p == '0')
            ++p;
        size_t width = 0;
        while (*p >= '0' && *p <= '9')
            width = 10 * width + static_cast<size_t>(*p++ - '0');
        size_t precision = 6;
        if (*p == '.') {
            ++p;
            precision = 0;
            while (*p >= '0' && *p <= '9')
                precision = 10 * precision + static_cast<size_t>(*p++ - '0');
        }
        if (width > 1000 || precision > 1000) return SIZE_MAX;
        size_t longs = 0;
        while (*p == 'l') {
            ++longs;
            ++p;
        }
        size_t item;
        switch (*p) {
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
            if (longs == 0)
                (void)va_arg(args, int);
            else if (longs == 1)
                (void)va_arg(args, long);
            else
                (void)va_arg(args, long long);
            item = 22;
            break;
        case 'c':
            (void)va_arg(args, int);
            item = 1;
            break;
        case 's': {
            const char* text = va_arg(args, const char*);
            item = text ? std::strlen(text) : 6;
            break;
        }
        case 'f': {
            const double value = va_arg(args, double);
            if (std::isfinite(value) && !(std::fabs(value) < 1e17)) return SIZE_MAX;
            item = 20 + precision;
            break;
        }
        default:
            return SIZE_MAX;
        }
        bound += std::max(width, item);
    }
    return bound;
}

} // namespace

bool StartCalcLogger(const std::string& path) {
    if (pCalcLogFile) {
        Log().Printf(LOG_ERROR, "StartCalcLogger but pCalcLogFile not null");
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file) {
        Log().Printf(LOG_ERROR, "Could not open Calc Logger <%s>", path.c_str());
        return false;
    }
    std::setvbuf(file, nullptr, _IOFBF, kCalcLogBufferSize);
    pCalcLogFile = file;
    return true;
}

void StopCalcLogger() {
    if (!pCalcLogFile) return;
    FILE* file = pCalcLogFile;
    pCalcLogFile = nullptr;
    if (std::fclose(file) != 0) Log().Printf(LOG_ERROR, "StopCalcLogger could not write the calculation log");
}

bool IsCalcLoggerOpen() {
    return pCalcLogFile != nullptr;
}

namespace {

// The line goes to the open file, or to this thread's capture when it works for another thread.
void WriteCalcLogLine(const char* text, size_t length) {
    if (CDeferredOutput* deferred = CDeferredOutput::Current())
        deferred->AddText([](const CDeferredOutput::Event& e) { WriteCalcLogText(e.text); }, text, length);
    else
        std::fwrite(text, 1, length, pCalcLogFile);
}

bool IsPlainAscii(const char* text, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
    return true;
}

} // namespace

void CalcLogPrintf(const char* format, ...) {
    if (!pCalcLogFile || !format || quietDepth > 0) return;
    size_t formatLength = CountCharacters(format);
    if (formatLength > kMaxFormatLength) {
        Log().Printf(LOG_ERROR, "CalcLogPrintf but unicode string too long:%d wchars.",
                     static_cast<int>(formatLength));
        return;
    }

    va_list args;
    va_start(args, format);
    if (discardDepth > 0) {
        // Nothing is kept; only a line that may be too long is formatted, for its error message.
        va_list copy;
        va_copy(copy, args);
        const size_t bound = FormattedLengthBound(format, copy);
        va_end(copy);
        if (bound <= kMaxLineLength) {
            va_end(args);
            return;
        }
    }

    // Logs run to millions of lines: the usual short plain-ASCII line is formatted into a local
    // buffer and needs no code-page conversion.
    char formatted[1024];
    locale_t old = uselocale(CNumericLocale());
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(formatted, sizeof formatted, format, copy);
    va_end(copy);
    std::string converted;
    const char* narrow = formatted;
    size_t length = n > 0 ? static_cast<size_t>(n) : 0;
    if (n < 0 || length >= sizeof formatted || !IsPlainAscii(formatted, length)) {
        converted = AsciiFromWideChar(StrVPrintf(format, args));
        narrow = converted.data();
        length = converted.size();
    }
    uselocale(old);
    va_end(args);

    if (length > kMaxLineLength) {
        Log().Printf(LOG_ERROR,
                     "CalcLogPrintf line of %d characters too long, an empty line written in its place",
                     static_cast<int>(length));
        length = 0;
    }
    if (discardDepth > 0) return;

    char line[kMaxLineLength + 2];
    size_t out = 0;
    for (size_t i = 0; i < length; ++i) {
        if (narrow[i] == '%') {
            if (i + 1 < length && narrow[i + 1] == '%') ++i;
            line[out++] = ' ';
        } else {
            line[out++] = narrow[i];
        }
    }
    if (out == 0 || line[out - 1] != '\n') line[out++] = '\n';
    WriteCalcLogLine(line, out);
}

void WriteCalcLogText(const std::string& text) {
    if (pCalcLogFile) std::fwrite(text.data(), 1, text.size(), pCalcLogFile);
}

bool IsCalcLogQuiet() {
    return quietDepth > 0;
}

CCalcLogQuiet::CCalcLogQuiet() {
    ++quietDepth;
}

CCalcLogQuiet::~CCalcLogQuiet() {
    --quietDepth;
}

CCalcLogDiscard::CCalcLogDiscard() {
    ++discardDepth;
}

CCalcLogDiscard::~CCalcLogDiscard() {
    --discardDepth;
}

bool IsCalcLogDiscarding() {
    return discardDepth > 0;
}

std::string GetTimeStepName(unsigned timeStep) {
    static const char* const kNames[] = {"Annual",  "January",  "February", "March",  "April",
                                         "May",     "June",     "July",     "August", "September",
                                         "October", "November", "December"};
    if (timeStep < sizeof kNames / sizeof kNames[0]) return kNames[timeStep];
    return "ERROR IN TIMESTEP";
}

// Names come from files and from the user: a separator or ".." in them must not lead the log out
// of the project folder, so the name parts go through MakeSafeFileName (empty stays empty).
static std::string SafePart(const std::string& name) {
    return name.empty() ? name : MakeSafeFileName(name);
}

std::string GetBuildingCalcLogFileName(const std::string& projectName) {
    return "LENI_CALC_LOG_" + SafePart(projectName) + ".TXT";
}

std::string GetFloorCalcLogFileName(const std::string& floorName) {
    return "LENI_CALC_LOG_FLOOR_" + SafePart(floorName) + ".TXT";
}

std::string GetSubLeniCalcLogFileName(const std::string& floorName, const std::string& roomName,
                                      unsigned timeStep) {
    return "SUB_LENI_CALC_LOG_" + SafePart(floorName) + "_" + SafePart(roomName) + "_" +
           GetTimeStepName(timeStep) + "_" + ".TXT";
}

std::string GetCalcLogPath(const std::string& folder, const std::string& fileName) {
    return (fs::u8path(folder) / fs::u8path(fileName)).u8string();
}
