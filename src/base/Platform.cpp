#include "base/Platform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#ifdef _WIN32
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

namespace fs = std::filesystem;

double strtod_l(const char* text, char** end, locale_t locale) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    auto startsWith = [](const char* s, const char* word) { return _strnicmp(s, word, strlen(word)) == 0; };
    if (startsWith(p, "nan") || startsWith(p, "inf")) {
        const bool nan = startsWith(p, "nan");
        p += startsWith(p, "infinity") ? 8 : 3;
        if (nan && *p == '(') {
            const char* q = p + 1;
            while ((*q >= '0' && *q <= '9') || (*q >= 'a' && *q <= 'z') || (*q >= 'A' && *q <= 'Z') ||
                   *q == '_')
                ++q;
            if (*q == ')') p = q + 1;
        }
        if (end) *end = const_cast<char*>(p);
        const double value =
            nan ? std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::infinity();
        return negative ? -value : value;
    }
    return _strtod_l(text, end, locale);
}

bool RenameOver(const std::string& from, const fs::path& to) {
    // rename() of the C run-time refuses an existing target.
    if (MoveFileExW(fs::path(from).c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
    return false;
}

void PrepareConsoleOutput() {
    SetConsoleOutputCP(CP_UTF8);
}

void KeepFreedMemoryForReuse() {}

int kill(int pid, int) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!process) {
        errno = ESRCH;
        return -1;
    }
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    if (running) return 0;
    errno = ESRCH;
    return -1;
}

bool CopyFileOver(const fs::path& from, const fs::path& to, std::error_code& error) {
    // The standard library's copy refuses to overwrite there.
    if (CopyFileW(from.c_str(), to.c_str(), FALSE)) {
        error.clear();
        return true;
    }
    error = std::error_code(static_cast<int>(GetLastError()), std::system_category());
    return false;
}

fs::path GetKnownFolder(KnownFolder folder) {
    PWSTR path = nullptr;
    const KNOWNFOLDERID& id = folder == KNOWN_FOLDER_DOCUMENTS ? FOLDERID_Documents : FOLDERID_RoamingAppData;
    fs::path result;
    if (SHGetKnownFolderPath(id, 0, nullptr, &path) == S_OK) result = fs::path(path);
    CoTaskMemFree(path);
    return result;
}

#else

bool RenameOver(const std::string& from, const std::filesystem::path& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void PrepareConsoleOutput() {}

void KeepFreedMemoryForReuse() {
#ifdef __GLIBC__
    // Blocks of up to 64 MB come from the heap, and the heap is trimmed only past 256 MB free.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
}

bool CopyFileOver(const std::filesystem::path& from, const std::filesystem::path& to,
                  std::error_code& error) {
    return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
}

std::filesystem::path GetKnownFolder(KnownFolder) {
    return std::filesystem::path();
}

#endif
