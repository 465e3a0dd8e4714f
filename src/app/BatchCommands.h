#pragma once
// The batch mode: one command from the command line, its result becomes the exit code.

#include <string>
#include <vector>

// Joins argv[1..] into the command line a Windows user would type, quoting arguments with blanks.
std::string JoinCommandLine(int argc, const char* const* argv);
// True when the command line holds nothing but blanks.
bool IsEmptyCommandLine(const std::string& commandLine);
// Runs one batch command and returns its result code.
int RunBatchCommandLine(const std::string& commandLine);
