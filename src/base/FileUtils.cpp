#include "base/FileUtils.h"

#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/Platform.h"
#include "base/TextUtils.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#ifndef _WIN32
#include <sys/file.h>
#endif

bool DirectoryExists(const fs::path& path) {
    std::string s = path.string();
    if (s.empty() || s.size() > kMaxPathBytes) return false;
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool FileExists(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool CreateDirectoryPath(const fs::path& path) {
    std::string s = path.string();
    if (s.size() < 3) return false;
    if (s.size() > kMaxPathBytes) {
        Log().Printf(LOG_ERROR,
                     "The folder name is %u characters long, more than the %u this system allows:\n%s",
                     static_cast<unsigned>(s.size()), static_cast<unsigned>(kMaxPathBytes), s.c_str());
        return false;
    }
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
        // Copied through a temporary: a link planted at the target is replaced, not written through.
        std::string reason;
        std::ifstream in(it->path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        if (!in || !WriteFileSafely(target, text.str(), &reason)) {
            Log().Printf(LOG_ERROR, "CopyDirectory: Could not copy <%s> to <%s>\n%s",
                         it->path().string().c_str(), target.string().c_str(), reason.c_str());
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

namespace {

constexpr const char* kTemporaryMarker = ".orvtmp-";
constexpr const char* kNoReader = "it is a FIFO that no program reads from";

thread_local CSafeWriteBatch* t_pBatch = nullptr;

bool IsDirectTarget(mode_t mode) {
    return S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode);
}

// The temporary's name beside the target: "." and the target's name, then the marker, the pid and
// mkstemp's six letters; the target's name is cut so that the temporary's keeps within the 255
// bytes a name may have.
std::string TemporaryName(const fs::path& target) {
    constexpr size_t kMaxNameBytes = 255;
    const std::string tail = kTemporaryMarker + std::to_string(static_cast<long>(getpid())) + "-XXXXXX";
    const std::string name = target.filename().string();
    const size_t keep = std::min(name.size(), kMaxNameBytes - 1 - tail.size());
    // At least one byte of the name, so the name is never the bare marker.
    return "." + name.substr(0, std::max<size_t>(keep, 1)) + tail;
}

// The pid a temporary's name carries, or 0 when the name is none of ours.
pid_t TemporaryOwner(const std::string& name) {
    if (name.size() < 2 || name[0] != '.') return 0;
    const size_t marker = name.rfind(kTemporaryMarker);
    if (marker == std::string::npos || marker == 0) return 0;
    size_t pos = marker + std::strlen(kTemporaryMarker);
    const size_t dash = name.find('-', pos);
    if (dash == std::string::npos || dash == pos || dash > pos + 9 || name.size() - dash - 1 != 6) return 0;
    long pid = 0;
    for (; pos < dash; ++pos) {
        if (name[pos] < '0' || name[pos] > '9') return 0;
        pid = pid * 10 + (name[pos] - '0');
    }
    return static_cast<pid_t>(pid);
}

// The descriptor a name stands for when it is one of the process's own streams (/dev/stdout,
// /dev/fd/N, /proc/self/fd/N, or a link whose text is one of them); -1 for any other name. Such a
// name is written into as the stream it names, never replaced.
int StreamOfName(const fs::path& path) {
#ifndef _WIN32
    auto parse = [](const std::string& name) -> int {
        if (name == "/dev/stdout") return 1;
        if (name == "/dev/stderr") return 2;
        for (const char* prefix : {"/dev/fd/", "/proc/self/fd/"}) {
            const size_t length = std::strlen(prefix);
            if (name.compare(0, length, prefix) != 0 || name.size() == length || name.size() > length + 6)
                continue;
            int fd = 0;
            for (size_t i = length; i < name.size(); ++i) {
                if (name[i] < '0' || name[i] > '9') return -1;
                fd = fd * 10 + (name[i] - '0');
            }
            return fd;
        }
        return -1;
    };
    const std::string name = path.string();
    int fd = parse(name);
    if (fd < 0) {
        char link[64];
        const ssize_t n = readlink(name.c_str(), link, sizeof link - 1);
        if (n > 0) fd = parse(std::string(link, static_cast<size_t>(n)));
    }
    return fd >= 0 && fcntl(fd, F_GETFD) != -1 ? fd : -1;
#else
    (void)path;
    return -1;
#endif
}

// A private copy of the stream's descriptor, or -1 with errno set.
int DuplicateStream(int stream) {
#ifndef _WIN32
    return fcntl(stream, F_DUPFD_CLOEXEC, 0);
#else
    (void)stream;
    errno = EBADF;
    return -1;
#endif
}

} // namespace

int RemoveStaleTemporaries(const fs::path& folder) {
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
    int removed = 0;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const pid_t owner = TemporaryOwner(name);
        if (owner <= 0 || owner == getpid()) continue;
        // A process that still runs may be about to rename its temporary.
        if (kill(owner, 0) == 0 || errno != ESRCH) continue;
        struct stat st;
        if (lstat(it->path().string().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (::unlink(it->path().string().c_str()) == 0) ++removed;
    }
    return removed;
}

CSafeOutput::~CSafeOutput() {
    Discard();
}

CSafeOutput::CSafeOutput(CSafeOutput&& other) noexcept {
    *this = std::move(other);
}

CSafeOutput& CSafeOutput::operator=(CSafeOutput&& other) noexcept {
    if (this != &other) {
        Discard();
        m_Target = std::move(other.m_Target);
        m_csTemporary = std::move(other.m_csTemporary);
        m_iFolder = other.m_iFolder;
        other.m_iFolder = -1;
        m_pFile = other.m_pFile;
        m_bDirect = other.m_bDirect;
        m_bFailed = other.m_bFailed;
        m_iError = other.m_iError;
        other.m_csTemporary.clear();
        other.m_pFile = nullptr;
    }
    return *this;
}

bool CSafeOutput::Open(const fs::path& target, std::string* reason) {
    Discard();
    m_Target = target;
    m_bDirect = false;
    m_bFailed = false;
    m_iError = 0;
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";

    if (const int stream = StreamOfName(target); stream >= 0) {
        const int fd = DuplicateStream(stream);
        m_pFile = fd >= 0 ? fdopen(fd, "w") : nullptr;
        if (!m_pFile) {
            const int err = errno;
            if (fd >= 0) ::close(fd);
            if (reason) *reason = std::strerror(err);
            return false;
        }
        m_bDirect = true;
        return true;
    }
    struct stat st;
    if (lstat(target.string().c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            if (reason) *reason = std::strerror(EISDIR);
            return false;
        }
        bool direct = IsDirectTarget(st.st_mode);
        bool throughLink = false;
#ifdef S_ISLNK
        // A link to a device or FIFO (/dev/stdout) is written into like the device itself; a
        // link to anything else is replaced.
        struct stat followed;
        if (S_ISLNK(st.st_mode) && stat(target.string().c_str(), &followed) == 0 &&
            IsDirectTarget(followed.st_mode))
            direct = throughLink = true;
#endif
        if (direct) {
            // No-follow: a link swapped in since the look is refused, not followed. Not blocking:
            // a FIFO nobody reads is refused at once instead of waited on.
            const int fd = ::open(target.string().c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK |
                                                               (throughLink ? 0 : O_NOFOLLOW));
            if (fd < 0) {
                if (reason) *reason = errno == ENXIO ? kNoReader : std::strerror(errno);
                return false;
            }
            struct stat opened;
            if (fstat(fd, &opened) == 0 && IsDirectTarget(opened.st_mode)) {
#ifndef _WIN32
                // Once open, the writes wait for a slow reader as a shell redirection's do.
                const int flags = fcntl(fd, F_GETFL);
                if (flags != -1) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
#endif
                m_pFile = fdopen(fd, "w");
                if (!m_pFile) {
                    const int err = errno;
                    ::close(fd);
                    if (reason) *reason = std::strerror(err);
                    return false;
                }
                m_bDirect = true;
                return true;
            }
            // A regular file took its place: written beside it like any other.
            ::close(fd);
        }
    }

    RemoveStaleTemporaries(folder);
    std::string tmpl = (folder / TemporaryName(target)).string();
#ifndef _WIN32
    // A target near the longest path the system allows has no room for a longer temporary's
    // name beside it: the folder is then reached through a descriptor of it, whose path is short.
    if (tmpl.size() > kMaxPathBytes) {
        m_iFolder = ::open(folder.string().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_iFolder < 0) {
            if (reason) *reason = std::strerror(errno);
            return false;
        }
        tmpl = "/proc/self/fd/" + std::to_string(m_iFolder) + "/" + TemporaryName(target);
    }
#endif
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        if (reason) *reason = std::strerror(errno);
        return false;
    }
    m_csTemporary = name.data();
    // Keep the permissions an ordinary new file would have (mkstemp makes it 0600).
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    m_pFile = fdopen(fd, "w");
    if (!m_pFile) {
        const int err = errno;
        ::close(fd);
        ::unlink(m_csTemporary.c_str());
        m_csTemporary.clear();
        if (reason) *reason = std::strerror(err);
        return false;
    }
    return true;
}

bool CSafeOutput::Write(const char* data, size_t size) {
    if (!m_pFile || m_bFailed) return false;
    // Whole blocks go straight to the descriptor, so the error is the system's own.
    if (std::fflush(m_pFile) != 0) {
        m_bFailed = true;
        m_iError = errno;
        return false;
    }
    const int fd = fileno(m_pFile);
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            m_bFailed = true;
            m_iError = errno;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool CSafeOutput::Finish(std::string* reason) {
    if (!m_pFile) {
        if (reason) *reason = std::strerror(m_iError ? m_iError : EBADF);
        return false;
    }
    FILE* file = m_pFile;
    m_pFile = nullptr;
    bool ok = !m_bFailed && !std::ferror(file);
    if (ok && std::fflush(file) != 0) {
        ok = false;
        m_iError = errno;
    }
    if (ok && !m_bDirect && ::fsync(fileno(file)) != 0) {
        ok = false;
        m_iError = errno;
    }
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        m_iError = errno;
    }
    if (!ok) {
        m_bFailed = true;
        if (!m_iError) m_iError = EIO;
        if (reason) *reason = std::strerror(m_iError);
        if (!m_csTemporary.empty()) ::unlink(m_csTemporary.c_str());
        m_csTemporary.clear();
        errno = m_iError;
    }
    return ok;
}

bool CSafeOutput::Commit(std::string* reason) {
    if (m_pFile && !Finish(reason)) return false;
    if (m_bFailed) {
        if (reason) *reason = std::strerror(m_iError ? m_iError : EIO);
        return false;
    }
    if (m_bDirect || m_csTemporary.empty()) return m_bDirect;
    if (g_SafeWriteHook) g_SafeWriteHook(m_csTemporary.c_str(), m_Target);
    if (!RenameOver(m_csTemporary, m_Target)) {
        const int err = errno;
        ::unlink(m_csTemporary.c_str());
        m_csTemporary.clear();
        m_bFailed = true;
        m_iError = err;
        if (reason) *reason = std::strerror(err);
        errno = err;
        return false;
    }
    m_csTemporary.clear();
    CloseFolder();
    return true;
}

void CSafeOutput::Discard() {
    if (m_pFile) {
        std::fclose(m_pFile);
        m_pFile = nullptr;
    }
    if (!m_csTemporary.empty()) {
        ::unlink(m_csTemporary.c_str());
        m_csTemporary.clear();
    }
    CloseFolder();
}

void CSafeOutput::CloseFolder() {
#ifndef _WIN32
    if (m_iFolder >= 0) ::close(m_iFolder);
#endif
    m_iFolder = -1;
}

bool WriteFileSafely(const fs::path& path, const std::string& content, std::string* reason) {
    return WriteFileSafely(path, std::vector<std::string_view>{content}, reason);
}

bool WriteFileSafely(const fs::path& path, const std::vector<std::string_view>& pieces, std::string* reason) {
    CSafeOutput output;
    std::string why;
    bool ok = output.Open(path, &why);
    int err = errno;
    if (ok) {
        for (std::string_view piece : pieces)
            output.Write(piece.data(), piece.size());
        // Finish reports a failed write with the system's reason.
        ok = output.Finish(&why);
        err = errno;
    }
    if (ok && !CSafeWriteBatch::Current()) {
        ok = output.Commit(&why);
        err = errno;
    } else if (ok) {
        CSafeWriteBatch::Current()->Add(std::move(output));
    }
    if (!ok) {
        if (CSafeWriteBatch::Current()) CSafeWriteBatch::Current()->Fail();
        if (why.empty()) why = std::strerror(err ? err : EIO);
        if (reason) *reason = why;
        errno = err;
    }
    return ok;
}

namespace {

// Exclusive locks on folders, taken in one order (device, inode) so two runs never wait on each
// other; released when destroyed. The folder itself is locked: no lock file is left behind.
class CFolderLocks {
  public:
    CFolderLocks() = default;
    CFolderLocks(const CFolderLocks&) = delete;
    CFolderLocks& operator=(const CFolderLocks&) = delete;
    ~CFolderLocks() {
        for (const Held& held : m_Held)
            ::close(held.fd); // closing releases the lock
    }
    void Add(const fs::path& folder) {
#ifndef _WIN32
        const std::string name = folder.empty() ? std::string(".") : folder.string();
        const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return; // the rename that follows reports the folder's fault
        struct stat st;
        if (fstat(fd, &st) != 0) {
            ::close(fd);
            return;
        }
        for (const Held& held : m_Held)
            if (held.dev == st.st_dev && held.ino == st.st_ino) {
                ::close(fd);
                return;
            }
        m_Held.push_back({fd, st.st_dev, st.st_ino});
#else
        (void)folder;
#endif
    }
    void LockAll() {
#ifndef _WIN32
        std::sort(m_Held.begin(), m_Held.end(), [](const Held& a, const Held& b) {
            return a.dev != b.dev ? a.dev < b.dev : a.ino < b.ino;
        });
        for (const Held& held : m_Held)
            while (flock(held.fd, LOCK_EX) != 0 && errno == EINTR) {
            }
#endif
    }

  private:
    struct Held {
        int fd;
        dev_t dev;
        ino_t ino;
    };
    std::vector<Held> m_Held;
};

} // namespace

bool IsWrittenInto(const fs::path& path) {
    if (StreamOfName(path) >= 0) return true;
    struct stat st;
    return stat(path.string().c_str(), &st) == 0 && IsDirectTarget(st.st_mode);
}

bool IsFifoWithoutReader(const fs::path& path) {
#ifndef _WIN32
    struct stat st;
    if (stat(path.string().c_str(), &st) != 0 || !S_ISFIFO(st.st_mode)) return false;
    const int fd = ::open(path.string().c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        // Held open until the process ends: closing it would tell the reader the data has ended
        // before the first byte was written.
        static std::vector<int> held;
        held.push_back(fd);
        return false;
    }
    return errno == ENXIO;
#else
    (void)path;
    return false;
#endif
}

bool IsSameName(const fs::path& a, const fs::path& b) {
    auto resolved = [](const fs::path& path, std::error_code& error) {
        const fs::path whole = fs::absolute(path, error).lexically_normal();
        return fs::weakly_canonical(whole.parent_path(), error) / whole.filename();
    };
    std::error_code ea, eb;
    const fs::path ra = resolved(a, ea), rb = resolved(b, eb);
    if (ea || eb) return a.lexically_normal() == b.lexically_normal();
#ifdef _WIN32
    return EqualsNoCase(ra.string(), rb.string());
#else
    return ra == rb;
#endif
}

bool IsSameFile(const fs::path& a, const fs::path& b) {
    struct stat sa, sb;
    const bool hasA = stat(a.string().c_str(), &sa) == 0;
    const bool hasB = stat(b.string().c_str(), &sb) == 0;
#ifdef _WIN32
    // The C library there gives no file numbers (every st_ino is 0): ask the file system.
    if (hasA && hasB) {
        std::error_code error;
        return fs::equivalent(a, b, error) && !error;
    }
#else
    if (hasA && hasB) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
#endif
    // A name not there yet: the same file only when both names lead to one place.
    std::error_code ea, eb;
    const fs::path ra = fs::weakly_canonical(fs::absolute(a, ea), ea);
    const fs::path rb = fs::weakly_canonical(fs::absolute(b, eb), eb);
    if (ea || eb) return a.lexically_normal() == b.lexically_normal();
#ifdef _WIN32
    return EqualsNoCase(ra.string(), rb.string());
#else
    return ra == rb;
#endif
}

CSafeWriteBatch::CSafeWriteBatch() : m_pOuter(t_pBatch) {
    t_pBatch = this;
}

CSafeWriteBatch::~CSafeWriteBatch() {
    t_pBatch = m_pOuter;
}

CSafeWriteBatch* CSafeWriteBatch::Current() {
    return t_pBatch;
}

bool CSafeWriteBatch::Commit(std::string* reason) {
    if (t_pBatch == this) t_pBatch = m_pOuter;
    if (m_bFailed) {
        m_Outputs.clear();
        if (reason) *reason = "a file of the set could not be written";
        return false;
    }
    // Another run putting files of the same names in place waits, so the set that stays is one
    // run's whole set, never a mix of two.
    CFolderLocks locks;
    for (const CSafeOutput& output : m_Outputs)
        if (!output.IsDirect()) locks.Add(output.Target().parent_path());
    locks.LockAll();
    bool ok = true;
    for (CSafeOutput& output : m_Outputs) {
        std::string why;
        if (!output.Commit(&why)) {
            ok = false;
            if (reason) *reason = output.Target().string() + ": " + why;
        }
    }
    m_Outputs.clear();
    return ok;
}

FILE* OpenForAppendNoFollow(const fs::path& path) {
    if (const int stream = StreamOfName(path); stream >= 0) {
        const int fd = DuplicateStream(stream);
        FILE* file = fd >= 0 ? fdopen(fd, "a") : nullptr;
        if (!file && fd >= 0) {
            const int err = errno;
            ::close(fd);
            errno = err;
        }
        return file;
    }
    const int flags = O_WRONLY | O_APPEND | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC | O_NONBLOCK;
    for (int attempt = 0; attempt < 2; ++attempt) {
        int fd = ::open(path.string().c_str(), flags | O_CREAT, 0666);
        if (fd < 0 && errno == ELOOP) {
            // A symbolic link at the name: the link goes, its target stays as it was.
            if (::unlink(path.string().c_str()) != 0) return nullptr;
            continue;
        }
        if (fd < 0) return nullptr;
        struct stat st;
        if (fstat(fd, &st) != 0) {
            const int err = errno;
            ::close(fd);
            errno = err;
            return nullptr;
        }
        if (S_ISREG(st.st_mode) && st.st_nlink > 1) {
            // Another name shares this file: this name gets a file of its own.
            ::close(fd);
            if (::unlink(path.string().c_str()) != 0) return nullptr;
            continue;
        }
        if (!S_ISREG(st.st_mode) && !IsDirectTarget(st.st_mode)) {
            ::close(fd);
            errno = EINVAL;
            return nullptr;
        }
#ifndef _WIN32
        // Opened without waiting for a FIFO's reader (ENXIO when there is none); writes wait.
        const int status = fcntl(fd, F_GETFL);
        if (status != -1) fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
#endif
        FILE* file = fdopen(fd, "a");
        if (!file) {
            const int err = errno;
            ::close(fd);
            errno = err;
        }
        return file;
    }
    errno = ELOOP;
    return nullptr;
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
