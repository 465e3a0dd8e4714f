#pragma once
// Shared helpers of the test suites: a recording message-box host, a log recorder,
// temporary folders and file reading.

#include "base/FileUtils.h"
#include "base/Logger.h"
#include "base/MessageBoxes.h"

#include <deque>
#include <string>
#include <vector>

// Records every box; questions take the scripted answers in order, then the default.
class RecordingMessageBoxes : public IMessageBoxHost {
public:
    struct Box {
        std::string text;
        std::string caption;
        MbButtons buttons;
        MbIcon icon;
    };
    RecordingMessageBoxes();
    ~RecordingMessageBoxes() override;
    int Show(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon) override;

    std::vector<Box> boxes;
    std::deque<int> answers;
    int defaultAnswer = IDNO;
    bool Contains(const std::string& part) const;

private:
    IMessageBoxHost* m_pPrevious;
};

// Records every general-log message while alive; resets the log before and after.
class LogRecorder {
public:
    LogRecorder();
    ~LogRecorder();
    std::vector<std::pair<int, std::string>> messages;
    bool Contains(const std::string& part) const;
    // Messages at the given level holding part.
    int Count(const std::string& part, int level = -1) const;
    std::string All() const;
    void Clear() { messages.clear(); }
};

// The time bounds of tests that guard against runaway work are set for the optimised build; code
// built with the address sanitizer runs ten to twenty times slower, so there the bounds are wider.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kTimeBoundScale = 4.0;
#else
constexpr double kTimeBoundScale = 1.0;
#endif

// A fresh empty folder under the system's temporary folder, removed by the destructor.
class TempDir {
public:
    explicit TempDir(const std::string& hint = "orvantis");
    ~TempDir();
    const fs::path& path() const { return m_path; }
    fs::path operator/(const std::string& name) const { return m_path / name; }

private:
    fs::path m_path;
};

std::string ReadFileText(const fs::path& path);
void WriteFileText(const fs::path& path, const std::string& text);
std::vector<std::string> ReadLines(const fs::path& path);
// The real-world sample files beside the repository, or empty when absent.
fs::path SharedDataDir();
fs::path TestDataDir();
