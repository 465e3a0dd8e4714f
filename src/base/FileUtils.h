#pragma once
// Small file-system helpers and the program's working folders.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

// The longest path the platform opens, in bytes (a terminating NUL aside).
#ifdef _WIN32
constexpr size_t kMaxPathBytes = 259;
#else
constexpr size_t kMaxPathBytes = 4095;
#endif

bool DirectoryExists(const fs::path& path);
bool FileExists(const fs::path& path); // an existing regular file
// Makes the folder and those above it; a path longer than kMaxPathBytes is refused with a message.
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

// Writing a file by name. A link standing at the name is never followed: the new content goes to
// a temporary file beside it (".<name>.orvtmp-<pid>-XXXXXX"), renamed over the name once whole, so
// the link itself is replaced and whatever it pointed at stays untouched; a hard link keeps its
// old content under its other names. A device or FIFO at the name is written into as a shell
// redirection would (/dev/null discards), never replaced; so is a name of the process's own
// streams (/dev/stdout, /dev/stderr, /dev/fd/N), whatever the stream is. Temporaries that killed runs left in
// the folder are removed when the next write there begins.
class CSafeOutput {
  public:
    CSafeOutput() = default;
    ~CSafeOutput(); // discards what was not committed
    CSafeOutput(const CSafeOutput&) = delete;
    CSafeOutput& operator=(const CSafeOutput&) = delete;
    CSafeOutput(CSafeOutput&& other) noexcept;
    CSafeOutput& operator=(CSafeOutput&& other) noexcept;

    bool Open(const fs::path& target, std::string* reason = nullptr);
    FILE* File() const { return m_pFile; }
    bool Write(const char* data, size_t size);
    // Flushes and closes; the content then waits in the temporary for Commit.
    bool Finish(std::string* reason = nullptr);
    // Renames the finished temporary over the name (nothing to do for a device or FIFO).
    bool Commit(std::string* reason = nullptr);
    void Discard();
    // True when the name is a device or FIFO, written directly.
    bool IsDirect() const { return m_bDirect; }
    const fs::path& Target() const { return m_Target; }
    const std::string& Temporary() const { return m_csTemporary; }

  private:
    void CloseFolder();
    fs::path m_Target;
    std::string m_csTemporary; // empty when direct or done
    int m_iFolder = -1;        // the folder's descriptor, when the temporary is named through it
    FILE* m_pFile = nullptr;
    bool m_bDirect = false;
    bool m_bFailed = false;
    int m_iError = 0;
};

// Writes a whole file through CSafeOutput, so a failed write never destroys the previous file.
// On failure reason holds the system's text and errno its number. While a CSafeWriteBatch is open on this
// thread the file waits in its temporary until the batch commits.
bool WriteFileSafely(const fs::path& path, const std::string& content, std::string* reason = nullptr);
// The same with the content given in pieces, written one after the other.
bool WriteFileSafely(const fs::path& path, const std::vector<std::string_view>& pieces,
                     std::string* reason = nullptr);

// Files that belong together (a results file and the project copy that holds the same results):
// every WriteFileSafely on this thread while the batch is open only prepares its temporary;
// Commit renames them all after all are whole, holding a lock on their folders so that runs
// committing to the same names at once put one run's set in place after the other's, so a run killed before Commit leaves every old
// file, one killed during it at worst leaves the renames done so far. Not committed: discarded.
class CSafeWriteBatch {
  public:
    CSafeWriteBatch();
    ~CSafeWriteBatch();
    CSafeWriteBatch(const CSafeWriteBatch&) = delete;
    CSafeWriteBatch& operator=(const CSafeWriteBatch&) = delete;
    // False (nothing renamed) when any prepared write failed; reason names the file.
    bool Commit(std::string* reason = nullptr);
    void Add(CSafeOutput&& output) { m_Outputs.push_back(std::move(output)); }
    void Fail() { m_bFailed = true; }
    static CSafeWriteBatch* Current();

  private:
    std::vector<CSafeOutput> m_Outputs;
    CSafeWriteBatch* m_pOuter = nullptr;
    bool m_bFailed = false;
};

// True when the name (links followed) is a device or FIFO, or names one of the process's own
// streams (/dev/stdout, /dev/fd/N): writers write into it.
bool IsWrittenInto(const fs::path& path);
// True when the name (links followed) is a FIFO that no program has open for reading: writing to it
// would wait for ever. A FIFO that has a reader is kept open by the process until it ends, so the
// reader sees the end of the data only then.
bool IsFifoWithoutReader(const fs::path& path);
// True when both names are one name once the folders are resolved (a link at the last part is not
// followed: writers replace it).
bool IsSameName(const fs::path& a, const fs::path& b);
// True when both names are one file (links followed): the same device and inode when both exist,
// else the same resolved path.
bool IsSameFile(const fs::path& a, const fs::path& b);

// Opens a log by name for appending without following a link at the name: a symbolic link or a
// hard-linked file there is replaced by a new empty file (the other names keep their content); a
// device or FIFO is written into. Null with errno set on failure.
FILE* OpenForAppendNoFollow(const fs::path& path);

// Removes the temporaries of CSafeOutput in folder whose process is gone. Returns the count.
int RemoveStaleTemporaries(const fs::path& folder);

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
