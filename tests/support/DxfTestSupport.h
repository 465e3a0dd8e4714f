#pragma once
// Helpers of the DXF tests: drawings written inline, and the independent reader (python3 ezdxf),
// which tests use when it is installed and skip without.

#include "support/TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#ifndef _WIN32
#include <sys/wait.h>
#endif

// Joins groups given as alternating code and value lines into a DXF text with the given line end.
inline std::string DxfText(const std::initializer_list<const char*>& lines, const char* lineEnd = "\r\n") {
    std::string text;
    for (const char* line : lines) {
        text += line;
        text += lineEnd;
    }
    return text;
}

namespace dxftest {

inline const char* Python() {
    static const char* python = fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    return python;
}

inline int Run(const std::string& command, std::string& out) {
    out.clear();
#ifdef _WIN32
    // The Windows build runs under Wine, without the Linux peers: their checks skip.
    (void)command;
    return -1;
#else
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
        out.append(buf, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

inline std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

} // namespace dxftest

inline bool PythonHasEzdxf() {
    static const int have = [] {
        std::string out;
        return dxftest::Run(std::string(dxftest::Python()) + " -c 'import ezdxf' 2>/dev/null", out) == 0 ? 1
                                                                                                         : 0;
    }();
    return have == 1;
}

inline int RunPython(const std::string& script, const fs::path& file, std::string& out) {
    return dxftest::Run(std::string(dxftest::Python()) + " -c " + dxftest::Quote(script) + " " +
                            dxftest::Quote(file.string()) + " 2>&1",
                        out);
}

inline int RunEzdxfSummary(const fs::path& file, std::string& out) {
    const fs::path script = TestDataDir() / "dxf" / "ezdxf_summary.py";
    return dxftest::Run(std::string(dxftest::Python()) + " " + dxftest::Quote(script.string()) + " " +
                            dxftest::Quote(file.string()) + " 2>&1",
                        out);
}
