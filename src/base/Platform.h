#pragma once
// The few operating-system calls of the core that differ between the platforms. Elsewhere the core
// is written against the POSIX subset below; on Windows this header supplies that subset from the
// C run-time, so the code that uses it reads the same on both.

#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <locale.h>
#include <stdlib.h>

typedef _locale_t locale_t;
#ifndef LC_ALL_MASK
#define LC_ALL_MASK LC_ALL
#endif
inline locale_t newlocale(int category, const char* name, locale_t) {
    return _create_locale(category, name);
}
// Note: on Windows only the batch program is built, and it never sets the process locale, so the
// C run-time stays in the "C" locale and numbers are already written with a point: there is
// nothing to switch.
inline locale_t uselocale(locale_t locale) {
    return locale;
}
// The C run-time's strtod reads neither "nan" nor "inf"; POSIX's does, and a damaged file that
// holds them must be refused the same way on both platforms.
double strtod_l(const char* text, char** end, locale_t locale);
inline std::tm* localtime_r(const std::time_t* when, std::tm* out) {
    return localtime_s(out, when) == 0 ? out : nullptr;
}
inline int fsync(int fd) {
    return _commit(fd);
}
// Windows files have no permission bits beyond read-only, which a new file does not get.
inline int fchmod(int, int) {
    return 0;
}
// Windows has no symbolic links an ordinary user makes, and no such open flags.
#include <sys/stat.h>
inline int lstat(const char* path, struct stat* st) {
    return stat(path, st);
}
#ifndef O_NOFOLLOW
#define O_NOFOLLOW 0
#endif
#ifndef O_NOCTTY
#define O_NOCTTY 0
#endif
#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif
#ifndef O_NONBLOCK
#define O_NONBLOCK 0
#endif
#ifndef S_ISBLK
#define S_ISBLK(mode) 0
#endif
#ifndef S_ISFIFO
#define S_ISFIFO(mode) (((mode)&_S_IFMT) == _S_IFIFO)
#endif
#ifndef S_ISCHR
#define S_ISCHR(mode) (((mode)&_S_IFMT) == _S_IFCHR)
#endif
// Signal 0 only: whether the process still runs (ESRCH when it does not).
int kill(int pid, int signal);
#else
#include <locale.h>
#endif

// Moves the file from over the file to, replacing it, in one step where the platform allows.
// False with errno set when it failed.
bool RenameOver(const std::string& from, const std::filesystem::path& to);

// Copies the file from over the file to (made when missing). False with the reason in error.
bool CopyFileOver(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& error);

// The console shows the program's UTF-8 messages as written ("kWh/(m² year)").
void PrepareConsoleOutput();

// A batch run allocates and frees buffers of megabytes many times over (file texts, logs, the
// trees of the floors): the memory a run has freed is kept for its next buffers instead of being
// given back and faulted in afresh. Nothing where the allocator has no such setting.
void KeepFreedMemoryForReuse();

enum KnownFolder { KNOWN_FOLDER_ROAMING_APP_DATA, KNOWN_FOLDER_DOCUMENTS };
// The Windows known folder; empty elsewhere and when Windows does not know it.
std::filesystem::path GetKnownFolder(KnownFolder folder);
