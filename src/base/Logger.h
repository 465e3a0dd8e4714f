#pragma once
// The general log: one process-wide object that appends time-stamped lines to a text file
// and, in the interactive program, also shows errors in message boxes.

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#if defined(__GNUC__)
#define ORV_PRINTF(fmtIndex, firstArg) __attribute__((format(printf, fmtIndex, firstArg)))
#else
#define ORV_PRINTF(fmtIndex, firstArg)
#endif

enum { LOG_ERROR = 0, LOG_DEFERRED = 1, LOG_INFO = 2 };
enum { LOGMODE_BATCH = 1, LOGMODE_INTERACTIVE = 2 };

class CLogger {
  public:
    static constexpr size_t kMaxMessage = 780;

    void SetToFile(const std::string& path);
    // level: LOG_ERROR, LOG_DEFERRED or LOG_INFO. Text is UTF-8; the file receives Windows-1252.
    void Printf(int level, const char* format, ...) ORV_PRINTF(3, 4);
    // The same for a text that is already formatted (never used as a format).
    void Write(int level, const std::string& text);

    void SetMode(int mode) { m_iMode = mode; }
    int GetMode() const { return m_iMode; }
    bool IsBatch() const { return m_iMode == LOGMODE_BATCH; }

    const std::string& GetPath() const { return m_csPath; }
    const std::string& GetLastDeferredError() const { return m_csLastDeferredError; }
    bool IsDeferredErrorPending() const { return m_bDeferredPending; }
    void ClearDeferredError() { m_bDeferredPending = false; }

    // Back to the state at process start (tests).
    void Reset();

    // Sees every message with its level before the mode filters it (tests record through it).
    using Observer = std::function<void(int level, const std::string& text)>;
    void SetObserver(Observer observer) { m_observer = std::move(observer); }

  private:
    std::string m_csPath;
    std::string m_csLastDeferredError;
    bool m_bDeferredPending = false;
    bool m_bOpenFailed = false;
    // The log file, opened on the first message and kept open; every message is flushed at once,
    // so the log still tells what happened before a crash.
    std::shared_ptr<FILE> m_pFile;
    int m_iMode = LOGMODE_INTERACTIVE;
    Observer m_observer;
};

// The one general log of the process.
CLogger& Log();

// How the log shows a text in a message box. The message boxes, which write to this log when no
// one can see a box, install themselves here when the program starts, so neither file calls the
// other's functions directly.
class ILogBoxDisplay {
  public:
    virtual ~ILogBoxDisplay() = default;
    virtual void Show(const std::string& text) = 0;
    // A box would be seen (a host is installed).
    virtual bool HasHost() const = 0;
};
void SetLogBoxDisplay(ILogBoxDisplay* display);
