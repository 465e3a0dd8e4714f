#include "support/TestSupport.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <unistd.h>

RecordingMessageBoxes::RecordingMessageBoxes() {
    m_pPrevious = SetMessageBoxHost(this);
}
RecordingMessageBoxes::~RecordingMessageBoxes() {
    SetMessageBoxHost(m_pPrevious);
}

int RecordingMessageBoxes::Show(const std::string& text, const std::string& caption, MbButtons buttons,
                                MbIcon icon) {
    boxes.push_back({text, caption, buttons, icon});
    if (buttons == MB_BUTTONS_OK) return IDOK;
    if (!answers.empty()) {
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    return defaultAnswer;
}

bool RecordingMessageBoxes::Contains(const std::string& part) const {
    for (const Box& b : boxes)
        if (b.text.find(part) != std::string::npos) return true;
    return false;
}

LogRecorder::LogRecorder() {
    Log().Reset();
    Log().SetObserver([this](int level, const std::string& text) { messages.emplace_back(level, text); });
}

LogRecorder::~LogRecorder() {
    Log().Reset();
}

bool LogRecorder::Contains(const std::string& part) const {
    return Count(part) > 0;
}

int LogRecorder::Count(const std::string& part, int level) const {
    int n = 0;
    for (const auto& m : messages)
        if ((level < 0 || m.first == level) && m.second.find(part) != std::string::npos) ++n;
    return n;
}

std::string LogRecorder::All() const {
    std::string all;
    for (const auto& m : messages)
        all += std::to_string(m.first) + ": " + m.second + "\n";
    return all;
}

TempDir::TempDir(const std::string& hint) {
    static std::atomic<int> counter{0};
    m_path =
        fs::temp_directory_path() / (hint + "_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    std::error_code ec;
    fs::remove_all(m_path, ec);
    fs::create_directories(m_path);
}

TempDir::~TempDir() {
    std::error_code ec;
    // A test may have made files read-only; give them back before removing.
    for (auto it = fs::recursive_directory_iterator(m_path, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_path, ec);
}

std::string ReadFileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
#ifdef _WIN32
    // Text files (the logs) end their lines the Windows way there; the content is what counts.
    std::string text = ss.str(), out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
#else
    return ss.str();
#endif
}

void WriteFileText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::vector<std::string> ReadLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

fs::path SharedDataDir() {
    fs::path p = ORVANTIS_SHARED_DATA;
    std::error_code ec;
    return fs::is_directory(p, ec) ? p : fs::path();
}

fs::path TestDataDir() {
    return ORVANTIS_TEST_DATA;
}
