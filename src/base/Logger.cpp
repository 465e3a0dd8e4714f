#include "base/Logger.h"

#include "base/Platform.h"

#include "base/DeferredOutput.h"
#include "base/FileUtils.h"
#include "base/TextUtils.h"

#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <thread>

namespace {
ILogBoxDisplay* g_pBoxDisplay = nullptr;

void ShowBox(const std::string& text) {
    if (g_pBoxDisplay) g_pBoxDisplay->Show(text);
}
} // namespace

void SetLogBoxDisplay(ILogBoxDisplay* display) {
    g_pBoxDisplay = display;
}

CLogger& Log() {
    static CLogger logger;
    return logger;
}

void CLogger::Reset() {
    *this = CLogger();
}

static std::string LocalTime(const char* format) {
    std::time_t now = std::time(nullptr);
    std::tm tmNow{};
    localtime_r(&now, &tmNow);
    char buf[64];
    std::strftime(buf, sizeof buf, format, &tmNow);
    return buf;
}

void CLogger::SetToFile(const std::string& path) {
    if (!m_csPath.empty() && m_iMode == LOGMODE_INTERACTIVE) {
        ShowBox(StrPrintf("CLogger::SetToFile, but <%s> is being used", m_csPath.c_str()));
        return;
    }
    if (path.empty()) {
        if (m_iMode == LOGMODE_INTERACTIVE) ShowBox("CLogger::SetToFile, no file specified");
        return;
    }
    m_pFile.reset();
    m_csPath = path;
    m_bOpenFailed = false;
    std::string line = StrPrintf("CLogger::SetToFile (%s) on %s.\n", path.c_str(),
                                 LocalTime("Date: %d-%m-%Y %H:%M").c_str());
    // A new log replaces the name (a link there is not followed); a device takes the line.
    if (!WriteFileSafely(fs::u8path(path), AsciiFromWideChar(line))) ShowBox("Cannot open the log file");
}

// The first max characters of a UTF-8 text (the file receives one byte per character).
static std::string FirstCharacters(const std::string& text, size_t max) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (count == max) return text.substr(0, i);
        ++count;
    }
    return text;
}

void CLogger::Printf(int level, const char* format, ...) {
    if (m_iMode == LOGMODE_BATCH && level != LOG_ERROR && !m_observer) return;
    size_t formatLength = std::strlen(format);
    if (formatLength >= kMaxMessage) {
        Write(LOG_ERROR,
              StrPrintf("CLogger::Printf string too long: %d chars", static_cast<int>(formatLength)));
        return;
    }
    va_list args;
    va_start(args, format);
    std::string text = StrVPrintf(format, args);
    va_end(args);
    Write(level, text);
}

void CLogger::Write(int level, const std::string& message) {
    // Work done on a helper thread: written later, in order, by the thread it was done for.
    if (CDeferredOutput* deferred = CDeferredOutput::Current()) {
        deferred->Add([](const CDeferredOutput::Event& e) { Log().Write(e.first, e.text); }, level, 0,
                      message);
        return;
    }
    if (m_observer) m_observer(level, message);
    if (m_iMode == LOGMODE_BATCH && level != LOG_ERROR) return;

    FILE* file = m_pFile.get();
    if (!file && !m_csPath.empty() && !m_bOpenFailed) {
        file = OpenForAppendNoFollow(fs::u8path(m_csPath));
        if (!file && (errno == EACCES || errno == EPERM)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1000));
            file = OpenForAppendNoFollow(fs::u8path(m_csPath));
        }
        if (file) m_pFile.reset(file, [](FILE* f) { std::fclose(f); });
        if (!file) {
            int err = errno;
            m_bOpenFailed = true;
            if (m_iMode == LOGMODE_INTERACTIVE) {
                std::string box =
                    (err == EACCES || err == EPERM)
                        ? StrPrintf("Could not open log file:%s\nFile error : Permission Denied\nFormat <%s>",
                                    m_csPath.c_str(), message.c_str())
                        : StrPrintf("Could not open log file:%s\nFile error : %d\nFormat <%s>",
                                    m_csPath.c_str(), err, message.c_str());
                ShowBox(box);
            }
        }
    }

    // A longer message is cut at the limit.
    std::string text = FirstCharacters(message, kMaxMessage);

    if (level == LOG_ERROR) {
        // Without a host the box would only come back to this log a second time.
        if (m_iMode == LOGMODE_INTERACTIVE && g_pBoxDisplay && g_pBoxDisplay->HasHost()) ShowBox(text);
        if (file && m_iMode != LOGMODE_BATCH) std::fputs("\nERROR:\n", file);
    } else if (level == LOG_DEFERRED) {
        m_csLastDeferredError = FirstCharacters(text, kMaxMessage - 1);
        m_bDeferredPending = true;
        if (file) std::fputs("\nERROR:\n", file);
    }

    // A single percent sign becomes a blank, a doubled one a single one.
    std::string out;
    out.reserve(text.size() + 1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            if (i + 1 < text.size() && text[i + 1] == '%') {
                out += '%';
                ++i;
            } else {
                out += ' ';
            }
        } else if (m_iMode == LOGMODE_BATCH && text[i] == '\n') {
            out += ' ';
        } else {
            out += text[i];
        }
    }
    if (out.empty() || out.back() != '\n') out += '\n';

    if (!file) return;
    std::string prefix = "[" + LocalTime("%d/%m/%y") + " " + LocalTime("%H:%M:%S") + "]:";
    std::string line = AsciiFromWideChar(prefix + out);
    std::fwrite(line.data(), 1, line.size(), file);
    std::fflush(file);
}
