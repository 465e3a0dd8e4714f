#include "base/FileUtils.h"

#include "base/Platform.h"

#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

bool DirectoryExists(const fs::path& path) {
    std::string s = path.string();
    if (s.empty() || s.size() > 256) return false;
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool FileExists(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool CreateDirectoryPath(const fs::path& path) {
    std::string s = path.string();
    if (s.size() < 3 || s.size() >= 255) return false;
    std::error_code ec;
    if (fs::is_directory(path, ec)) return true;
    fs::create_directories(path, ec);
    return !ec && fs::is_directory(path, ec);
}

static int g_iCopyDepth = 0;

static bool MatchesPattern(const std::string& name, const std::string& pattern) {
    if (pattern.empty() || pattern == "*" || pattern == "*.*") return true;
    if (pattern.size() > 1 && pattern[0] == '*') {
        std::string tail = pattern.substr(1);
        return name.size() >= tail.size() && EqualsNoCase(name.substr(name.size() - tail.size()), tail);
    }
    return EqualsNoCase(name, pattern);
}

bool CopyDirectory(const fs::path& destination, const fs::path& source, const std::string& pattern,
                   int recurse) {
    if (!DirectoryExists(source)) {
        Log().Printf(LOG_ERROR, "CopyDirectory: Source <%s>\ndoes not exist", source.string().c_str());
        return false;
    }
    if (g_iCopyDepth >= 6) {
        Log().Printf(LOG_ERROR, "CopyDirectory:\nRecursion level limit\nSource =<%s>",
                     source.string().c_str());
        return false;
    }
    if (!DirectoryExists(destination) && !CreateDirectoryPath(destination)) {
        ReportLastError("CopyDirectory", "Could not create new directory:<%s>", destination.string().c_str());
        return false;
    }
    std::error_code ec;
    fs::directory_iterator it(source, ec), end;
    if (ec) return false;
    for (; it != end; it.increment(ec)) {
        if (ec) break;
        std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.' || !MatchesPattern(name, pattern)) continue;
        std::error_code e2;
        if (it->is_directory(e2)) {
            if (recurse == 1) {
                ++g_iCopyDepth;
                if (!CopyDirectory(destination / name, it->path(), pattern, recurse))
                    Log().Printf(LOG_ERROR, "Recursive\nCopyDirectory (%s, %s, %s)\nfailed",
                                 (destination / name).string().c_str(), it->path().string().c_str(),
                                 pattern.c_str());
                --g_iCopyDepth;
            }
            continue;
        }
        fs::path target = destination / name;
        if (!CopyFileOver(it->path(), target, e2)) {
            errno = e2.value();
            ReportLastError("CopyDirectory", "Could not copy <%s> to <%s>", it->path().string().c_str(),
                            target.string().c_str());
            return false;
        }
        if (!FileExists(target)) {
            Log().Printf(LOG_ERROR, "Could not find %s", target.string().c_str());
            return false;
        }
        if (access(target.string().c_str(), R_OK | W_OK) != 0) {
            mode_t mode = S_IRUSR | S_IWUSR;
            struct stat st;
            if (stat(target.string().c_str(), &st) == 0) mode |= st.st_mode & 07777;
            if (chmod(target.string().c_str(), mode) != 0) {
                Log().Printf(LOG_ERROR, "Could not change permission _wchmod(%d)\non <%s>",
                             static_cast<int>(mode), target.string().c_str());
                return false;
            }
        }
    }
    return true;
}

bool IsForbiddenNameCharacter(unsigned char c) {
    return c < 0x20 || c == 0x7f || std::strchr("<>:\"/\\|?*", c) != nullptr;
}

namespace {
bool IsReservedDeviceName(const std::string& name) {
    // The part before the first dot counts: "nul.txt" is the device too.
    std::string base = ToUpper(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    static const char* const kReserved[] = {"CON", "PRN", "AUX", "NUL"};
    for (const char* reserved : kReserved)
        if (base == reserved) return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

} // namespace

std::string MakeSafeFileName(const std::string& name) {
    std::string safe = name;
    for (char& c : safe)
        if (IsForbiddenNameCharacter(static_cast<unsigned char>(c))) c = '_';
    // Leading dots make "." and ".." or hidden files; trailing dots and blanks the platform drops.
    for (size_t i = 0; i < safe.size() && (safe[i] == '.' || safe[i] == ' '); ++i)
        safe[i] = '_';
    for (size_t i = safe.size(); i > 0 && (safe[i - 1] == '.' || safe[i - 1] == ' '); --i)
        safe[i - 1] = '_';
    if (safe.empty()) return "_";
    if (IsReservedDeviceName(safe)) safe += '_';
    return safe;
}

std::string GetProjectsContainingDir(const std::string& path) {
    if (path.size() <= 2) {
        Log().Printf(LOG_ERROR, "GetProjectsContainingDir called with empty m_csProjectsDir");
        return std::string(1, fs::path::preferred_separator);
    }
    size_t pos = path.find_last_of("/\\");
    if (pos == std::string::npos) {
        Log().Printf(LOG_ERROR, "GetProjectsContainingDir() failed, <%s>", path.c_str());
        return std::string();
    }
    return path.substr(0, pos);
}

static SafeWriteHook g_SafeWriteHook = nullptr;

SafeWriteHook SetSafeWriteHook(SafeWriteHook hook) {
    SafeWriteHook previous = g_SafeWriteHook;
    g_SafeWriteHook = hook;
    return previous;
}

bool WriteFileSafely(const fs::path& path, const std::string& content, std::string* reason) {
    fs::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    std::string tmpl = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) {
        if (reason) *reason = std::strerror(errno);
        return false;
    }
    const char* p = content.data();
    size_t left = content.size();
    bool ok = true;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    int err = errno;
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        err = errno;
    }
    // Keep the permissions an ordinary new file would have (mkstemp makes it 0600).
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && g_SafeWriteHook) g_SafeWriteHook(name.data(), path);
    if (ok && !RenameOver(name.data(), path)) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(name.data());
        if (reason) *reason = std::strerror(err);
    }
    return ok;
}

fs::path GetAppDataFolder() {
#ifdef _WIN32
    fs::path roaming = GetKnownFolder(KNOWN_FOLDER_ROAMING_APP_DATA);
    return roaming.empty() ? fs::path() : roaming / "ORVANTIS NUVA";
#else
    fs::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = fs::path(home) / ".local" / "share";
    else
        return fs::path();
    return base / "ORVANTIS NUVA";
#endif
}

fs::path MyGetFolderPath() {
#ifdef _WIN32
    return GetKnownFolder(KNOWN_FOLDER_DOCUMENTS);
#else
    if (const char* docs = std::getenv("XDG_DOCUMENTS_DIR"); docs && *docs) return docs;
    const char* home = std::getenv("HOME");
    if (!home || !*home) return fs::path();
    fs::path documents = fs::path(home) / "Documents";
    if (DirectoryExists(documents)) return documents;
    return home;
#endif
}
