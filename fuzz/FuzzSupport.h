#pragma once
// What every fuzz target shares: the input as a file, since the readers take file names.

#include <cstddef>
#include <cstdint>
#include <string>

// Writes the input to a file of that name in a folder of this process and returns its path.
// Every call replaces the previous file, so a run leaves one file per target behind.
std::string WriteFuzzInput(const uint8_t* data, size_t size, const std::string& fileName);
// The folder of this process's files.
std::string FuzzFolder();
// Stops the run as a crash, so that a broken promise of a reader is reported like a fault.
[[noreturn]] void FuzzFail(const char* what);
