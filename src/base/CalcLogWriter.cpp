#include "base/CalcLogWriter.h"

#include "base/DeferredOutput.h"
#include "base/FileUtils.h"
#include "base/Platform.h"
#include "base/TextUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <thread>
#include <unordered_map>
#include <vector>

namespace {

// The open calculation log: written to a temporary beside its name and renamed over it when it
// stops, so a link planted at the name is never followed. pCalcLogFile is null when none is open.
CSafeOutput calcLogOutput;
FILE* pCalcLogFile = nullptr;
// The log was opened while its lines are discarded: nothing of it will be kept, so it is dropped
// when it stops instead of replacing the file of that name (which the pass that follows
// replaces anyway).
bool calcLogDiscarded = false;
// Nesting depth of CCalcLogKept.
int keptDepth = 0;
// The open log's text while it is kept: its own lines, and text it refers to in what owners hold.
struct KeptPiece {
    std::shared_ptr<const void> owner;
    const std::string* shared = nullptr;
    std::string own;
};
bool calcLogKept = false;
std::vector<KeptPiece> keptPieces;

bool WriteKeptPieces(FILE* file, const std::vector<KeptPiece>& pieces) {
    for (const KeptPiece& piece : pieces) {
        const std::string& text = piece.shared ? *piece.shared : piece.own;
        if (std::fwrite(text.data(), 1, text.size(), file) != text.size()) return false;
    }
    return true;
}

// The helper writing the last kept log; joined before the next log starts and at exit.
struct KeptWriter {
    std::thread thread;
    bool failed = false; // set by the helper, read after the join
    ~KeptWriter() {
        if (thread.joinable()) thread.join();
    }
};
KeptWriter keptWriter;

// Nesting depth of CCalcLogQuiet, per thread: work on a helper thread is quiet when the thread it
// works for is.
thread_local int quietDepth = 0;
// Nesting depth of CCalcLogDiscard, per thread.
thread_local int discardDepth = 0;
// "Line too long" errors reported on this thread.
thread_local unsigned tooLongCount = 0;

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

// What a format needs for a bound of its formatted length, worked out once per format: the
// characters it has, the bound of its text and numbers, and what each conversion takes.
struct FormatShape {
    struct Conversion {
        char kind;    // 'i' int, 'l' long, 'L' long long, 'c' char, 's' string, 'f' double
        size_t width; // the least a string takes
    };
    size_t characters = 0;
    bool bounded = true; // false: a conversion not bounded here
    size_t fixed = 0;
    std::vector<Conversion> conversions;

    // The format as the line writer below reads it: literal text and conversions in order.
    struct Piece {
        size_t literal; // bytes of literal text starting at offset; 0 for a conversion
        size_t offset;  // of the literal in the format
        char kind;      // as Conversion::kind
        bool left;      // '-' flag
        bool zeros;     // '0' flag
        int width;
        int precision; // of 'f'
    };
    bool direct = true; // false: a conversion the line writer leaves to the C library
    std::vector<Piece> pieces;
};

void AddLiteral(FormatShape& shape, const char* format, const char* at, size_t length) {
    if (!shape.pieces.empty() && shape.pieces.back().literal > 0 &&
        shape.pieces.back().offset + shape.pieces.back().literal == static_cast<size_t>(at - format))
        shape.pieces.back().literal += length;
    else
        shape.pieces.push_back({length, static_cast<size_t>(at - format), 0, false, false, 0, 0});
}

FormatShape ShapeOf(const char* format) {
    FormatShape shape;
    shape.characters = CountCharacters(format);
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            ++shape.fixed;
            AddLiteral(shape, format, p, 1);
            continue;
        }
        ++p;
        if (*p == '%') {
            ++shape.fixed;
            AddLiteral(shape, format, p, 1);
            continue;
        }
        FormatShape::Piece piece{0, 0, 0, false, false, 0, -1};
        while (*p == '-' || *p == '+' || *p == ' ' || *p == '#' || *p == '0') {
            if (*p == '-')
                piece.left = true;
            else if (*p == '0')
                piece.zeros = true;
            else
                shape.direct = false;
            ++p;
        }
        size_t width = 0;
        while (*p >= '0' && *p <= '9' && width <= 1000)
            width = 10 * width + static_cast<size_t>(*p++ - '0');
        size_t precision = 6;
        bool precisionGiven = false;
        if (*p == '.') {
            ++p;
            precision = 0;
            precisionGiven = true;
            while (*p >= '0' && *p <= '9' && precision <= 1000)
                precision = 10 * precision + static_cast<size_t>(*p++ - '0');
        }
        piece.width = static_cast<int>(std::min<size_t>(width, 1001));
        piece.precision = static_cast<int>(std::min<size_t>(precision, 1001));
        int longs = 0;
        while (*p == 'l') {
            ++longs;
            ++p;
        }
        if (width > 1000 || precision > 1000 || longs > 2) {
            shape.bounded = false;
            return shape;
        }
        switch (*p) {
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
            shape.conversions.push_back({longs == 0 ? 'i' : longs == 1 ? 'l' : 'L', 0});
            shape.fixed += std::max<size_t>(width, 22);
            // Only signed decimals are written here.
            if (*p == 'u' || *p == 'x' || *p == 'X' || precisionGiven) shape.direct = false;
            break;
        case 'c':
            shape.conversions.push_back({'c', 0});
            shape.fixed += std::max<size_t>(width, 1);
            break;
        case 's':
            shape.conversions.push_back({'s', width});
            if (precisionGiven) shape.direct = false;
            break;
        case 'f':
            // A number below 1e17 in size has at most 18 digits before the point, a sign and the
            // point.
            shape.conversions.push_back({'f', 0});
            shape.fixed += std::max<size_t>(width, 20 + precision);
            if (precision > 40) shape.direct = false;
            break;
        default:
            shape.bounded = false;
            shape.direct = false;
            return shape;
        }
        piece.kind = shape.conversions.back().kind;
        if (piece.zeros && (piece.kind == 's' || piece.kind == 'c')) shape.direct = false;
        shape.pieces.push_back(piece);
        if (!*p) break;
    }
    return shape;
}

const FormatShape& ShapeOfCached(const char* format) {
    // Formats are nearly always the program's own literals, a few hundred at most; the text is
    // compared too, for a format built at run time whose memory later holds another.
    struct Cached {
        std::string text;
        FormatShape shape;
    };
    thread_local std::unordered_map<const char*, Cached> shapes;
    if (shapes.size() > 4096) shapes.clear();
    Cached& cached = shapes[format];
    if (cached.text.empty() || std::strcmp(cached.text.c_str(), format) != 0) {
        cached.text = format;
        cached.shape = ShapeOf(format);
    }
    return cached.shape;
}

// An upper bound of the length vsnprintf gives for the format, or SIZE_MAX for a conversion not
// bounded here (then the line is formatted to learn its length). A string counts its bytes (its
// conversion never makes it longer).
size_t FormattedLengthBound(const FormatShape& shape, va_list args) {
    if (!shape.bounded) return SIZE_MAX;
    size_t bound = shape.fixed;
    for (const FormatShape::Conversion& c : shape.conversions) {
        switch (c.kind) {
        case 'i':
        case 'c':
            (void)va_arg(args, int);
            break;
        case 'l':
            (void)va_arg(args, long);
            break;
        case 'L':
            (void)va_arg(args, long long);
            break;
        case 's': {
            const char* text = va_arg(args, const char*);
            bound += std::max(c.width, text ? std::strlen(text) : size_t{6});
            break;
        }
        default: {
            const double value = va_arg(args, double);
            if (std::isfinite(value) && !(std::fabs(value) < 1e17)) return SIZE_MAX;
        }
        }
    }
    return bound;
}

// Puts text of length n into out at at, padded to the width as printf pads it (zeros go after a
// sign). False when out is too small.
bool PutPadded(char* out, size_t size, size_t& at, const char* text, size_t n,
               const FormatShape::Piece& piece, bool numeric) {
    const size_t width = static_cast<size_t>(piece.width);
    const size_t pad = width > n ? width - n : 0;
    if (at + n + pad >= size) return false;
    if (pad > 0 && piece.left) {
        std::memcpy(out + at, text, n);
        std::memset(out + at + n, ' ', pad);
    } else if (pad > 0 && piece.zeros && numeric) {
        const size_t sign = n > 0 && text[0] == '-' ? 1 : 0;
        std::memcpy(out + at, text, sign);
        std::memset(out + at + sign, '0', pad);
        std::memcpy(out + at + sign + pad, text + sign, n - sign);
    } else {
        std::memset(out + at, ' ', pad);
        std::memcpy(out + at + pad, text, n);
    }
    at += n + pad;
    return true;
}

// The line printf would make of the format, written here without the C library's formatter and
// without a locale (numbers always take a decimal point): the digits come from std::to_chars,
// which like printf gives the exactly rounded decimal of the binary number. Returns the length,
// or -1 when the line is left to the C library: a conversion not written here, a number that is
// not finite (printf spells those its own way), a null string, or a line longer than out.
int WriteLineDirectly(const FormatShape& shape, const char* format, va_list args, char* out, size_t size) {
    if (!shape.direct || !shape.bounded) return -1;
    size_t at = 0;
    char digits[400];
    for (const FormatShape::Piece& piece : shape.pieces) {
        if (piece.literal > 0) {
            if (at + piece.literal >= size) return -1;
            std::memcpy(out + at, format + piece.offset, piece.literal);
            at += piece.literal;
            continue;
        }
        std::to_chars_result r{digits, std::errc()};
        switch (piece.kind) {
        case 'i':
            r = std::to_chars(digits, digits + sizeof digits, va_arg(args, int));
            break;
        case 'l':
            r = std::to_chars(digits, digits + sizeof digits, va_arg(args, long));
            break;
        case 'L':
            r = std::to_chars(digits, digits + sizeof digits, va_arg(args, long long));
            break;
        case 'c':
            digits[0] = static_cast<char>(va_arg(args, int));
            r.ptr = digits + 1;
            break;
        case 's': {
            const char* text = va_arg(args, const char*);
            if (!text) return -1;
            if (!PutPadded(out, size, at, text, std::strlen(text), piece, false)) return -1;
            continue;
        }
        default: {
            const double value = va_arg(args, double);
            if (!std::isfinite(value) || !(std::fabs(value) < 1e17)) return -1;
            r = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed,
                              piece.precision);
        }
        }
        if (r.ec != std::errc()) return -1;
        if (!PutPadded(out, size, at, digits, static_cast<size_t>(r.ptr - digits), piece, piece.kind != 'c'))
            return -1;
    }
    if (at >= size) return -1;
    out[at] = '\0';
    return static_cast<int>(at);
}

} // namespace

bool StartCalcLogger(const std::string& path) {
    if (pCalcLogFile) {
        Log().Printf(LOG_ERROR, "StartCalcLogger but pCalcLogFile not null");
        return false;
    }
    WaitForCalcLogs(); // it may be writing the file of that name
    if (!calcLogOutput.Open(fs::u8path(path))) {
        Log().Printf(LOG_ERROR, "Could not open Calc Logger <%s>", path.c_str());
        return false;
    }
    FILE* file = calcLogOutput.File();
    std::setvbuf(file, nullptr, _IOFBF, kCalcLogBufferSize);
    pCalcLogFile = file;
    calcLogDiscarded = IsCalcLogDiscarding();
    calcLogKept = keptDepth > 0 && !calcLogDiscarded && !CSafeWriteBatch::Current();
    keptPieces.clear();
    return true;
}

void StopCalcLogger() {
    if (!pCalcLogFile) return;
    pCalcLogFile = nullptr;
    if (calcLogDiscarded) {
        calcLogOutput.Discard();
        return;
    }
    if (calcLogKept) {
        calcLogKept = false;
        keptWriter.failed = false;
        keptWriter.thread = std::thread(
            [output = std::move(calcLogOutput), pieces = std::move(keptPieces)]() mutable {
                const bool written = WriteKeptPieces(output.File(), pieces);
                const bool committed = output.Commit();
                keptWriter.failed = !written || !committed;
            });
        keptPieces = {};
        return;
    }
    if (CSafeWriteBatch* batch = CSafeWriteBatch::Current()) {
        // Put in place with the files it describes, and only if they are.
        if (calcLogOutput.Finish())
            batch->Add(std::move(calcLogOutput));
        else
            Log().Printf(LOG_ERROR, "StopCalcLogger could not write the calculation log");
        return;
    }
    if (!calcLogOutput.Commit())
        Log().Printf(LOG_ERROR, "StopCalcLogger could not write the calculation log");
}

bool IsCalcLoggerOpen() {
    return pCalcLogFile != nullptr;
}

namespace {

// The line goes to the open file, or to this thread's capture when it works for another thread.
void ReplayCalcLogText(const CDeferredOutput::Event& e) {
    WriteCalcLogText(e.text);
}

void KeepOwnText(const char* text, size_t length) {
    if (keptPieces.empty() || keptPieces.back().shared) keptPieces.emplace_back();
    keptPieces.back().own.append(text, length);
}

void WriteCalcLogLine(const char* text, size_t length) {
    if (CDeferredOutput* deferred = CDeferredOutput::Current())
        deferred->AddText(ReplayCalcLogText, text, length);
    else if (calcLogKept)
        KeepOwnText(text, length);
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
    const FormatShape& shape = ShapeOfCached(format);
    const size_t formatLength = shape.characters;
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
        const size_t bound = FormattedLengthBound(shape, copy);
        va_end(copy);
        if (bound <= kMaxLineLength) {
            va_end(args);
            return;
        }
    }

    // Logs run to millions of lines: the usual short plain-ASCII line is written into a local
    // buffer directly and needs no code-page conversion; anything else goes through the C
    // library in the C locale.
    char formatted[1024];
    va_list copy;
    va_copy(copy, args);
    int n = WriteLineDirectly(shape, format, copy, formatted, sizeof formatted);
    va_end(copy);
    std::string converted;
    const char* narrow = formatted;
    if (n < 0 || !IsPlainAscii(formatted, static_cast<size_t>(n))) {
        locale_t old = uselocale(CNumericLocale());
        va_copy(copy, args);
        n = std::vsnprintf(formatted, sizeof formatted, format, copy);
        va_end(copy);
        if (n < 0 || static_cast<size_t>(n) >= sizeof formatted ||
            !IsPlainAscii(formatted, static_cast<size_t>(n))) {
            converted = AsciiFromWideChar(StrVPrintf(format, args));
            narrow = converted.data();
            n = static_cast<int>(converted.size());
        }
        uselocale(old);
    }
    size_t length = n > 0 ? static_cast<size_t>(n) : 0;
    va_end(args);

    if (length > kMaxLineLength) {
        ++tooLongCount;
        Log().Printf(LOG_ERROR,
                     "CalcLogPrintf line of %d characters too long, an empty line written in its place",
                     static_cast<int>(length));
        length = 0;
    }
    if (discardDepth > 0) return;

    char line[kMaxLineLength + 2];
    size_t out = 0;
    // A line without a percent sign, nearly every one, is copied whole.
    const size_t plain = length > 0 && !std::memchr(narrow, '%', length) ? length : 0;
    std::memcpy(line, narrow, plain);
    out = plain;
    for (size_t i = plain; i < length; ++i) {
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
    if (!pCalcLogFile) return;
    if (calcLogKept)
        KeepOwnText(text.data(), text.size());
    else
        std::fwrite(text.data(), 1, text.size(), pCalcLogFile);
}

void WriteCalcLogShared(const std::shared_ptr<const void>& owner, const std::string& text) {
    if (!calcLogKept || text.empty()) {
        WriteCalcLogText(text);
        return;
    }
    KeptPiece piece;
    piece.owner = owner;
    piece.shared = &text;
    keptPieces.push_back(std::move(piece));
}

bool IsCalcLogKept() {
    return calcLogKept;
}

void WaitForCalcLogs() {
    if (!keptWriter.thread.joinable()) return;
    keptWriter.thread.join();
    if (keptWriter.failed) Log().Printf(LOG_ERROR, "StopCalcLogger could not write the calculation log");
    keptWriter.failed = false;
}

CCalcLogKept::CCalcLogKept() {
    ++keptDepth;
}

CCalcLogKept::~CCalcLogKept() {
    --keptDepth;
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

unsigned GetCalcLogTooLongCount() {
    return tooLongCount;
}

CDeferredOutput::Replayer GetCalcLogTextReplayer() {
    return ReplayCalcLogText;
}
