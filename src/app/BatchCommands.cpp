#include "app/BatchCommands.h"

#include <cctype>

std::string JoinCommandLine(int argc, const char* const* argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (i > 1)
            line += ' ';
        if (arg.find(' ') != std::string::npos)
            line += '"' + arg + '"';
        else
            line += arg;
    }
    return line;
}

bool IsEmptyCommandLine(const std::string& commandLine) {
    for (char c : commandLine)
        if (!std::isspace(static_cast<unsigned char>(c)))
            return false;
    return true;
}

int RunBatchCommandLine(const std::string& commandLine) { return IsEmptyCommandLine(commandLine) ? 1 : 7; }
