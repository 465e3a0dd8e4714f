#pragma once
// Small file-system helpers and the program's working folders.

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

bool DirectoryExists(const fs::path& path);
bool FileExists(const fs::path& path); // an existing regular file
bool CreateDirectoryPath(const fs::path& path);
// Copies the entries of source matching pattern ("*" or "*.ext") into destination.
bool CopyDirectory(const fs::path& destination, const fs::path& source, const std::string& pattern,
                   int recurse);
// The part of a path before its last separator.
std::string GetProjectsContainingDir(const std::string& path);

// Names that reach the file system. A character no file name may hold: a path separator,
// < > : " | ? *, or a control character.
bool IsForbiddenNameCharacter(unsigned char c);
// The name as a file or folder name: forbidden characters become "_", as do leading and trailing
// dots and blanks, and a name the platform reserves (CON, NUL, COM1, ...) gets a "_" after it.
// The model keeps the name; only the file name changes.
std::string MakeSafeFileName(const std::string& name);

// Writes a whole file through a temporary file in the same folder renamed over the target,
// so a failed write never destroys the previous file. On failure reason holds the system's text.
bool WriteFileSafely(const fs::path& path, const std::string& content, std::string* reason = nullptr);
// Tests only: called with the temporary file, whole and closed, just before it is renamed over
// the target, so a test can stop the program at the one moment both files exist. Returns the
// previous hook.
using SafeWriteHook = void (*)(const char* temporary, const fs::path& target);
SafeWriteHook SetSafeWriteHook(SafeWriteHook hook);

// Per-user application-data folder + "ORVANTIS NUVA".
fs::path GetAppDataFolder();
// The user's Documents folder.
fs::path MyGetFolderPath();

// Joins folder and name with the platform separator ("%s\%s" in the program's formats).
inline fs::path JoinPath(const fs::path& folder, const std::string& name) {
    return folder / name;
}
