#pragma once
// Captures the calculation-log lines that a piece of the daylight calculation writes, and reads the
// sectioned data files of tests/data/calc/daylight ("[name]" lines start a section).

#include "base/CalcLogWriter.h"
#include "base/TextUtils.h"
#include "support/TestSupport.h"

#include <map>
#include <string>
#include <vector>

class CalcLogCapture {
  public:
    CalcLogCapture() : m_dir("daylightlog") { StartCalcLogger((m_dir / "calc.txt").string()); }
    ~CalcLogCapture() { StopCalcLogger(); }
    // Closes the log and returns its lines.
    std::vector<std::string> Lines() {
        StopCalcLogger();
        return ReadLines(m_dir / "calc.txt");
    }

  private:
    TempDir m_dir;
};

inline std::map<std::string, std::vector<std::string>> ReadSections(const fs::path& path) {
    std::map<std::string, std::vector<std::string>> sections;
    std::string current;
    for (const std::string& line : ReadLines(path)) {
        if (line.size() > 2 && line.front() == '[' && line.back() == ']')
            current = line.substr(1, line.size() - 2);
        else
            sections[current].push_back(line);
    }
    return sections;
}

// The "name = value" lines of a section.
inline std::map<std::string, std::string> ReadKeyValues(const std::vector<std::string>& lines) {
    std::map<std::string, std::string> values;
    for (const std::string& line : lines) {
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        values[TrimWhiteSpace(line.substr(0, eq))] = TrimWhiteSpace(line.substr(eq + 1));
    }
    return values;
}
