#include "calc/CalcLog.h"

#include "base/DeferredOutput.h"
#include "base/FileUtils.h"
#include "base/TextUtils.h"

#include <cstdarg>
#include <cstdio>
#include "base/Platform.h"

namespace {

// The open calculation log: written to a temporary beside its name and renamed over it when it
// stops, so a link planted at the name is never followed. pCalcLogFile is null when none is open.
CSafeOutput calcLogOutput;
FILE* pCalcLogFile = nullptr;
// Nesting depth of CCalcLogQuiet, per thread: work on a helper thread is quiet when the thread it
// works for is.
thread_local int quietDepth = 0;

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

} // namespace

bool StartCalcLogger(const std::string& path) {
    if (pCalcLogFile) {
        Log().Printf(LOG_ERROR, "StartCalcLogger but pCalcLogFile not null");
        return false;
    }
    if (!calcLogOutput.Open(fs::u8path(path))) {
        Log().Printf(LOG_ERROR, "Could not open Calc Logger <%s>", path.c_str());
        return false;
    }
    FILE* file = calcLogOutput.File();
    std::setvbuf(file, nullptr, _IOFBF, kCalcLogBufferSize);
    pCalcLogFile = file;
    return true;
}

void StopCalcLogger() {
    if (!pCalcLogFile) return;
    pCalcLogFile = nullptr;
    if (!calcLogOutput.Commit())
        Log().Printf(LOG_ERROR, "StopCalcLogger could not write the calculation log");
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

    // Logs run to millions of lines: the usual short plain-ASCII line is formatted into a local
    // buffer and needs no code-page conversion.
    char formatted[1024];
    va_list args;
    va_start(args, format);
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
