// Files written by name: a link planted at the name is never followed, a device or FIFO there is
// written into and never replaced, files written together are put in place together, and the
// temporaries of killed runs go at the next write in their folder.

#include "base/FileUtils.h"
#include "base/Logger.h"
#include "calc/CalcLog.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The writers the program has for a file named by the user or by the project: each writes text
// to path by its own route.
struct Writer {
    const char* name;
    std::function<bool(const fs::path&, const std::string&)> write;
};

const Writer kWriters[] = {
    {"WriteFileSafely", [](const fs::path& p, const std::string& text) { return WriteFileSafely(p, text); }},
    {"calculation log",
     [](const fs::path& p, const std::string& text) {
         if (!StartCalcLogger(p.string())) return false;
         CalcLogPrintf("%s", text.c_str());
         StopCalcLogger();
         return true;
     }},
    {"general log",
     [](const fs::path& p, const std::string& text) {
         Log().Reset();
         Log().SetToFile(p.string());
         Log().Printf(LOG_INFO, "%s", text.c_str());
         Log().Reset();
         return true;
     }},
};

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(SafeOutputTest, LinksPlantedAtTheNameAreReplacedNotFollowed) {
    for (const Writer& writer : kWriters) {
        SCOPED_TRACE(writer.name);
        TempDir dir("planted links");
        const fs::path victim = dir / "victim.txt";
        WriteFileText(victim, "precious");

        // A symbolic link: the link becomes a file of its own, its target stays as it was.
        fs::create_symlink(victim, dir / "sym.txt");
        ASSERT_TRUE(writer.write(dir / "sym.txt", "written"));
        EXPECT_EQ(ReadFileText(victim), "precious");
        EXPECT_FALSE(fs::is_symlink(dir / "sym.txt"));
        EXPECT_NE(ReadFileText(dir / "sym.txt").find("written"), std::string::npos);

        // A hard link: the name gets new content, the other name keeps the old.
        fs::create_hard_link(victim, dir / "hard.txt");
        ASSERT_TRUE(writer.write(dir / "hard.txt", "written"));
        EXPECT_EQ(ReadFileText(victim), "precious");
        EXPECT_NE(ReadFileText(dir / "hard.txt").find("written"), std::string::npos);

        // A dangling link creates nothing where it points.
        fs::create_symlink(dir / "nowhere.txt", dir / "dangling.txt");
        ASSERT_TRUE(writer.write(dir / "dangling.txt", "written"));
        EXPECT_FALSE(fs::exists(dir / "nowhere.txt"));

        // No temporary is left behind.
        EXPECT_EQ(Entries(dir.path()),
                  (std::vector<std::string>{"dangling.txt", "hard.txt", "sym.txt", "victim.txt"}));
    }
}

TEST(SafeOutputTest, AppendedLogThroughALinkPlantedLaterLeavesTheTargetAlone) {
    TempDir dir("log link");
    const fs::path victim = dir / "victim.txt";
    WriteFileText(victim, "precious");
    Log().Reset();
    Log().SetToFile((dir / "log.txt").string());
    // Someone swaps the log for a link between two messages.
    fs::remove(dir / "log.txt");
    fs::create_symlink(victim, dir / "log.txt");
    Log().Printf(LOG_INFO, "after the swap");
    Log().Reset();
    EXPECT_EQ(ReadFileText(victim), "precious");
    EXPECT_NE(ReadFileText(dir / "log.txt").find("after the swap"), std::string::npos);
}

TEST(SafeOutputTest, FifoAndDeviceAreWrittenIntoNeverReplaced) {
    for (const Writer& writer : kWriters) {
        SCOPED_TRACE(writer.name);
        TempDir dir("special files");
        // A FIFO: a reader at the other end gets the text, the FIFO stays a FIFO. The reader is
        // open before and during the whole write (a log opens its file more than once), and the
        // text fits the pipe's buffer.
        const fs::path fifo = dir / "fifo";
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        const int readEnd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        ASSERT_GE(readEnd, 0);
        EXPECT_TRUE(writer.write(fifo, "through the pipe"));
        std::string received;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(readEnd, buf, sizeof buf)) > 0)
            received.append(buf, static_cast<size_t>(n));
        ::close(readEnd);
        EXPECT_NE(received.find("through the pipe"), std::string::npos);
        struct stat st;
        ASSERT_EQ(lstat(fifo.c_str(), &st), 0);
        EXPECT_TRUE(S_ISFIFO(st.st_mode));

        // A character device like /dev/null, made where the test may replace it.
        const fs::path null = dir / "null";
        if (geteuid() != 0 || mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
            std::printf("[  SKIPPED ] the device node needs root\n");
            continue;
        }
        EXPECT_TRUE(writer.write(null, "discarded"));
        ASSERT_EQ(lstat(null.c_str(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode));
        EXPECT_EQ(st.st_rdev, makedev(1, 3));
        EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"fifo", "null"}));
    }
}

TEST(SafeOutputTest, FilesOfABatchAreReplacedTogetherOrNotAtAll) {
    TempDir dir("batch");
    WriteFileText(dir / "a.xml", "old a");
    WriteFileText(dir / "b.xml", "old b");
    {
        // Nothing moves before the commit.
        CSafeWriteBatch batch;
        ASSERT_TRUE(WriteFileSafely(dir / "a.xml", "new a"));
        ASSERT_TRUE(WriteFileSafely(dir / "b.xml", "new b"));
        EXPECT_EQ(ReadFileText(dir / "a.xml"), "old a");
        EXPECT_EQ(ReadFileText(dir / "b.xml"), "old b");
        // Never committed: the temporaries go with the batch.
    }
    EXPECT_EQ(ReadFileText(dir / "a.xml"), "old a");
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"a.xml", "b.xml"}));
    {
        // One of them fails: neither is replaced.
        CSafeWriteBatch batch;
        ASSERT_TRUE(WriteFileSafely(dir / "a.xml", "new a"));
        EXPECT_FALSE(WriteFileSafely(dir / "no folder" / "b.xml", "new b"));
        EXPECT_FALSE(batch.Commit());
    }
    EXPECT_EQ(ReadFileText(dir / "a.xml"), "old a");
    {
        CSafeWriteBatch batch;
        ASSERT_TRUE(WriteFileSafely(dir / "a.xml", "new a"));
        ASSERT_TRUE(WriteFileSafely(dir / "b.xml", "new b"));
        EXPECT_TRUE(batch.Commit());
    }
    EXPECT_EQ(ReadFileText(dir / "a.xml"), "new a");
    EXPECT_EQ(ReadFileText(dir / "b.xml"), "new b");
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"a.xml", "b.xml"}));
}

TEST(SafeOutputTest, AFifoWithoutAReaderIsRefusedAtOnce) {
    TempDir dir("fifo without reader");
    const fs::path fifo = dir / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(IsFifoWithoutReader(fifo));
    std::string reason;
    EXPECT_FALSE(WriteFileSafely(fifo, "nobody reads", &reason));
    EXPECT_EQ(reason, "it is a FIFO that no program reads from");
    {
        LogRecorder log;
        EXPECT_FALSE(StartCalcLogger(fifo.string()));
    }
    EXPECT_EQ(OpenForAppendNoFollow(fifo), nullptr);
    EXPECT_EQ(errno, ENXIO);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"fifo"});
}

TEST(SafeOutputTest, TheCalculationLogIsPutInPlaceWithItsBatchOrNotAtAll) {
    TempDir dir("calculation log batch");
    const fs::path log = dir / "LENI_CALC_LOG_X.TXT";
    auto writeLog = [&](const char* line) {
        ASSERT_TRUE(StartCalcLogger(log.string()));
        CalcLogPrintf("%s", line);
        StopCalcLogger();
    };
    WriteFileText(log, "old\n");
    {
        CSafeWriteBatch batch;
        ASSERT_TRUE(WriteFileSafely(dir / "r.xml", "results"));
        writeLog("new");
        EXPECT_EQ(ReadFileText(log), "old\n");
        // The run failed: never committed.
    }
    EXPECT_EQ(ReadFileText(log), "old\n");
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"LENI_CALC_LOG_X.TXT"});
    {
        CSafeWriteBatch batch;
        ASSERT_TRUE(WriteFileSafely(dir / "r.xml", "results"));
        writeLog("new");
        EXPECT_EQ(ReadFileText(log), "old\n");
        EXPECT_TRUE(batch.Commit());
    }
    EXPECT_EQ(ReadFileText(log), "new\n");
    EXPECT_EQ(ReadFileText(dir / "r.xml"), "results");
}

TEST(SafeOutputTest, TemporariesOfKilledRunsGoAtTheNextWriteInTheirFolder) {
    TempDir dir("killed temporaries");
    // A run killed while its temporary stands, whole, beside the target.
    const pid_t pid = fork();
    if (pid == 0) {
        SetSafeWriteHook([](const char*, const fs::path&) { std::raise(SIGKILL); });
        WriteFileSafely(dir / "results.xml", "never renamed");
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(Entries(dir.path()).size(), 1u);
    EXPECT_EQ(Entries(dir.path())[0].rfind(".results.xml.orvtmp-", 0), 0u);
    // A file of the user's that merely looks alike, and one of a process still running, stay.
    WriteFileText(dir / ".notes.orvtmp-12-abcdef.bak", "mine");
    const std::string running = ".x.orvtmp-" + std::to_string(getpid()) + "-abcdef";
    WriteFileText(dir / running, "in use");

    ASSERT_TRUE(WriteFileSafely(dir / "other.xml", "next run"));
    EXPECT_EQ(Entries(dir.path()),
              (std::vector<std::string>{".notes.orvtmp-12-abcdef.bak", running, "other.xml"}));
}
