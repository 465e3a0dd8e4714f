// What every batch command promises about the files it writes, run as a user runs it: links and
// FIFOs at the PDF's names, a full device and a full disk, outputs that name inputs or each other,
// FIFOs nobody reads, the system's device folder, and runs on the same outputs at once.

#include "support/FifoReader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

struct ProgramRun {
    int code = -1;
    std::string out; // standard output and error
    double seconds = 0;
};

// The program with these arguments in dir, without a display, stopped after 30 s.
ProgramRun Orvantis(const fs::path& dir, const std::string& args, const std::string& outFile = "stdout.txt") {
    const fs::path out = fs::path("/tmp") / ("orvantis-out-" + std::to_string(getpid()) + "-" + outFile);
    const std::string cmd = "cd " + Quote(dir.string()) + " && env -u DISPLAY -u WAYLAND_DISPLAY " +
                            "QT_QPA_PLATFORM= timeout 30 " + Quote(ORVANTIS_EXE) + " " + args + " >" +
                            Quote(out.string()) + " 2>&1 </dev/null";
    ProgramRun run;
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(cmd.c_str());
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFileText(out);
    fs::remove(out);
    return run;
}

std::string HandProject() {
    return ReadFileText(TestDataDir() / "energy" / "hand" / "HAND.LENI1XML");
}

fs::path SampleDxf() {
    return fs::path(ORVANTIS_SOURCE_DIR) / "examples" / "sample" / "Ground.DXF";
}

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool HasTemporaries(const fs::path& folder) {
    for (const std::string& name : Entries(folder))
        if (name.find(".orvtmp-") != std::string::npos) return true;
    return false;
}

// A small file system of its own, filled up by the test; unmounted when done.
class FullDisk {
  public:
    explicit FullDisk(const fs::path& at) : m_At(at) {
        fs::create_directories(at);
        m_bMounted = geteuid() == 0 && mount("tmpfs", at.c_str(), "tmpfs", 0, "size=512k") == 0;
    }
    ~FullDisk() {
        if (m_bMounted) umount2(m_At.c_str(), MNT_DETACH);
    }
    bool Mounted() const { return m_bMounted; }
    // Takes what space is left.
    void Fill() const {
        const int fd = ::open((m_At / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        static const char block[4096] = {};
        while (fd >= 0 && ::write(fd, block, sizeof block) > 0) {
        }
        while (fd >= 0 && ::write(fd, block, 1) > 0) {
        }
        if (fd >= 0) ::close(fd);
    }

  private:
    fs::path m_At;
    bool m_bMounted = false;
};

} // namespace

// ---- The PDF goes through the program's one writer ----

TEST(OutputSafetyTest, PdfLinksAndFoldersAtItsNamesAreNeverWrittenThrough) {
    struct Plant {
        const char* what;
        std::function<void(const fs::path& dir, const fs::path& victim)> plant;
    };
    const Plant plants[] = {
        {"symbolic link at the PDF's name", [](const fs::path& d, const fs::path& v) { fs::create_symlink(v, d / "out.pdf"); }},
        {"hard link at the PDF's name", [](const fs::path& d, const fs::path& v) { fs::create_hard_link(v, d / "out.pdf"); }},
        {"symbolic link at <pdf>.part", [](const fs::path& d, const fs::path& v) { fs::create_symlink(v, d / "out.pdf.part"); }},
        {"folder at <pdf>.part", [](const fs::path& d, const fs::path&) { fs::create_directory(d / "out.pdf.part"); }},
        {"symbolic link at the calculation log", [](const fs::path& d, const fs::path& v) { fs::create_symlink(v, d / "LENI_CALC_LOG_HAND.TXT"); }},
    };
    for (const Plant& p : plants) {
        SCOPED_TRACE(p.what);
        TempDir dir("pdf links");
        WriteFileText(dir / "HAND.LENI1XML", HandProject());
        const fs::path victim = dir / "victim.txt";
        WriteFileText(victim, "precious");
        p.plant(dir.path(), victim);
        const ProgramRun run = Orvantis(dir.path(), "pdf HAND.LENI1XML out.pdf log.txt");
        EXPECT_EQ(run.code, 0) << run.out;
        EXPECT_EQ(ReadFileText(victim), "precious");
        EXPECT_FALSE(fs::is_symlink(dir / "out.pdf"));
        EXPECT_EQ(fs::hard_link_count(dir / "out.pdf"), 1u);
        EXPECT_EQ(ReadFileText(dir / "out.pdf").substr(0, 5), "%PDF-");
        EXPECT_FALSE(HasTemporaries(dir.path()));
    }
}

TEST(OutputSafetyTest, PdfToAFifoWithAReaderIsWrittenIntoIt) {
    TempDir dir("pdf fifo");
    WriteFileText(dir / "HAND.LENI1XML", HandProject());
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    FifoReader reader(dir / "pipe");
    const ProgramRun run = Orvantis(dir.path(), "pdf HAND.LENI1XML pipe log.txt");
    const std::string received = reader.Received();
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_EQ(received.substr(0, 5), "%PDF-");
    EXPECT_NE(received.find("%%EOF"), std::string::npos);
    struct stat st;
    ASSERT_EQ(lstat((dir / "pipe").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// ---- A write that fails: exit 4 (dxftoxml: not 0), the old file whole ----

TEST(OutputSafetyTest, WriteFailuresAreReportedAndLeaveTheOldFile) {
    struct Case {
        const char* command;
        std::string args; // {out} stands for the output's path
    };
    const Case cases[] = {
        {"pdf", "pdf HAND.LENI1XML {out} log.txt"},
        {"csv", "csv HAND.LENI1XML {out} log.txt"},
        {"report", "report HAND.LENI1XML {out} log.txt"},
        {"dxftoxml", "dxftoxml Ground.DXF {out} 3 log.txt"},
    };
    auto argsFor = [](const Case& c, const std::string& out) {
        std::string args = c.args;
        args.replace(args.find("{out}"), 5, Quote(out));
        return args;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        TempDir dir("write failures");
        WriteFileText(dir / "HAND.LENI1XML", HandProject());
        fs::copy_file(SampleDxf(), dir / "Ground.DXF");

        // A device that is always full.
        ProgramRun run = Orvantis(dir.path(), argsFor(c, "/dev/full"));
        EXPECT_EQ(run.code, 4) << run.out;

        // A disk that fills up: the good file made before stays as it was, byte for byte.
        FullDisk disk(dir / "disk");
        if (!disk.Mounted()) {
            std::printf("[  SKIPPED ] disk full: mounting a small tmpfs needs root and a machine that allows it\n");
            continue;
        }
        const fs::path out = dir / "disk" / "out.file";
        run = Orvantis(dir.path(), argsFor(c, out.string()));
        ASSERT_EQ(run.code, 0) << run.out;
        const std::string good = ReadFileText(out);
        ASSERT_FALSE(good.empty());
        disk.Fill();
        run = Orvantis(dir.path(), argsFor(c, out.string()));
        EXPECT_EQ(run.code, 4) << run.out;
        EXPECT_EQ(ReadFileText(out), good);
        EXPECT_FALSE(HasTemporaries(dir / "disk"));
    }
}

// ---- An output that names an input or another output ----

TEST(OutputSafetyTest, AnOutputThatIsAnInputOrAnotherOutputIsRefusedBeforeAnythingIsWritten) {
    struct Case {
        const char* args;
        const char* first; // the two arguments the message names
        const char* second;
        bool logOpened = false; // found once the project is read: the log has begun
    };
    const Case cases[] = {
        {"report P.LENI1XML P.LENI1XML log.txt", "results file <P.LENI1XML>", "project file <P.LENI1XML>"},
        {"report P.LENI1XML r.xml P.LENI1XML", "log file <P.LENI1XML>", "project file <P.LENI1XML>"},
        {"report P.LENI1XML link.xml log.txt", "results file <link.xml>", "project file <P.LENI1XML>"},
        {"report P.LENI1XML hard.xml log.txt", "results file <hard.xml>", "project file <P.LENI1XML>"},
        {"report P.LENI1XML ./sub/../P.LENI1XML log.txt", "results file", "project file"},
        {"report 'C_(CON_RISULTATI).xml' C.xml log.txt", "project copy <C_(CON_RISULTATI).xml>",
         "project file <C_(CON_RISULTATI).xml>"},
        {"report P.LENI1XML r.xml r.xml", "log file <r.xml>", "results file <r.xml>"},
        {"report P.LENI1XML r.xml 'r_(CON_RISULTATI).xml'", "log file", "project copy"},
        {"report LENI_CALC_LOG_HAND.TXT r.xml log.txt", "calculation log", "project file <LENI_CALC_LOG_HAND.TXT>", true},
        {"pdf P.LENI1XML P.LENI1XML log.txt", "PDF file <P.LENI1XML>", "project file <P.LENI1XML>"},
        {"pdf P.LENI1XML out.pdf link.xml", "log file <link.xml>", "project file <P.LENI1XML>"},
        {"pdf P.LENI1XML out.pdf out.pdf", "log file <out.pdf>", "PDF file <out.pdf>"},
        {"csv P.LENI1XML hard.xml log.txt", "CSV file <hard.xml>", "project file <P.LENI1XML>"},
        {"csv P.LENI1XML out.csv out.csv", "log file <out.csv>", "CSV file <out.csv>"},
        {"dxftoxml Ground.DXF Ground.DXF 3 log.txt", "project file <Ground.DXF>", "DXF file <Ground.DXF>"},
        {"dxftoxml Ground.DXF p.xml 3 Ground.DXF", "log file <Ground.DXF>", "DXF file <Ground.DXF>"},
        {"dxftoxml Ground.DXF p.xml 3 p.xml", "log file <p.xml>", "project file <p.xml>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        TempDir dir("same file");
        WriteFileText(dir / "P.LENI1XML", HandProject());
        WriteFileText(dir / "C_(CON_RISULTATI).xml", HandProject());
        WriteFileText(dir / "LENI_CALC_LOG_HAND.TXT", HandProject());
        fs::copy_file(SampleDxf(), dir / "Ground.DXF");
        fs::create_symlink("P.LENI1XML", dir / "link.xml");
        fs::create_hard_link(dir / "P.LENI1XML", dir / "hard.xml");
        fs::create_directory(dir / "sub");
        const std::vector<std::string> before = Entries(dir.path());

        const ProgramRun run = Orvantis(dir.path(), c.args, "same.txt");
        EXPECT_EQ(run.code, 2) << run.out;
        EXPECT_NE(run.out.find(c.first), std::string::npos) << run.out;
        EXPECT_NE(run.out.find(c.second), std::string::npos) << run.out;
        std::vector<std::string> after = Entries(dir.path());
        if (c.logOpened) after.erase(std::remove(after.begin(), after.end(), "log.txt"), after.end());
        EXPECT_EQ(after, before);
        for (const char* input : {"P.LENI1XML", "C_(CON_RISULTATI).xml", "LENI_CALC_LOG_HAND.TXT"})
            EXPECT_EQ(ReadFileText(dir / input), HandProject()) << input;
        EXPECT_EQ(ReadFileText(dir / "Ground.DXF"), ReadFileText(SampleDxf()));
    }
}

// ---- FIFOs nobody reads, and the system's devices ----

TEST(OutputSafetyTest, AFifoWithoutAReaderIsRefusedAtOnce) {
    const char* const cases[] = {
        "report HAND.LENI1XML pipe log.txt",  "report HAND.LENI1XML r.xml pipe",
        "pdf HAND.LENI1XML pipe log.txt",     "pdf HAND.LENI1XML out.pdf pipe",
        "dxftoxml Ground.DXF pipe 3 log.txt", "dxftoxml Ground.DXF p.xml 3 pipe",
    };
    for (const char* args : cases) {
        SCOPED_TRACE(args);
        TempDir dir("fifo without reader");
        WriteFileText(dir / "HAND.LENI1XML", HandProject());
        fs::copy_file(SampleDxf(), dir / "Ground.DXF");
        ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
        const ProgramRun run = Orvantis(dir.path(), args);
        EXPECT_EQ(run.code, 4) << run.out;
        EXPECT_LT(run.seconds, 10.0);
        EXPECT_NE(run.out.find("<pipe> is a FIFO that no program reads from"), std::string::npos) << run.out;
    }
}

TEST(OutputSafetyTest, SystemDevicesAreWrittenIntoWithNothingMadeBesideThem) {
    TempDir dir("system devices");
    WriteFileText(dir / "HAND.LENI1XML", HandProject());
    const fs::path companion = "/dev/null_(CON_RISULTATI)";
    if (fs::is_regular_file(companion)) fs::remove(companion); // left by an older build

    ProgramRun run = Orvantis(dir.path(), "report HAND.LENI1XML /dev/null /dev/null");
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_FALSE(fs::exists(fs::symlink_status(companion)));

    if (!fs::is_symlink("/dev/stdout")) GTEST_SKIP() << "/dev/stdout is no link here";
    const fs::path stdoutTarget = fs::read_symlink("/dev/stdout");
    run = Orvantis(dir.path(), "report HAND.LENI1XML /dev/stdout log.txt");
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("<AnnualLENI>"), std::string::npos) << run.out;
    EXPECT_TRUE(fs::is_symlink("/dev/stdout"));
    EXPECT_EQ(fs::read_symlink("/dev/stdout"), stdoutTarget);
    EXPECT_FALSE(fs::exists(fs::symlink_status("/dev/stdout_(CON_RISULTATI)")));
    EXPECT_NE(ReadFileText(dir / "log.txt").find("no project copy written"), std::string::npos);
}

// ---- Runs on the same outputs at once ----

TEST(OutputSafetyTest, ConcurrentRunsOnTheSameOutputsNeverTearThePair) {
    // Two projects of one name (so one calculation log name) that differ in latitude: each file
    // of a run names its latitude, so a results file, copy and log from different runs show.
    TempDir dir("concurrent");
    const std::string hand = HandProject();
    const std::string north = "<Latitude>45.4700000</Latitude>";
    ASSERT_NE(hand.find(north), std::string::npos);
    std::string south = hand;
    south.replace(south.find(north), north.size(), "<Latitude>41.4700000</Latitude>");
    WriteFileText(dir / "A.LENI1XML", hand);
    WriteFileText(dir / "B.LENI1XML", south);

    auto latitudeOf = [](const std::string& text, const char* tag) {
        const size_t at = text.find(tag);
        return at == std::string::npos ? std::string("none") : text.substr(at + std::strlen(tag), 2);
    };
    const std::string exe = Quote(ORVANTIS_EXE);
    const std::string script = "cd " + Quote(dir.path().string()) + " && " + exe +
                               " report A.LENI1XML r.xml logA.txt >/dev/null 2>&1 & " + exe +
                               " report B.LENI1XML r.xml logB.txt >/dev/null 2>&1 & wait";
    int torn = 0;
    for (int pair = 0; pair < 200; ++pair) {
        ASSERT_EQ(std::system(script.c_str()), 0);
        const std::string results = latitudeOf(ReadFileText(dir / "r.xml"), "<Latitude>");
        const std::string copy = latitudeOf(ReadFileText(dir / "r_(CON_RISULTATI).xml"), "<Latitude>");
        const std::string log = latitudeOf(ReadFileText(dir / "LENI_CALC_LOG_HAND.TXT"), "Latitude=");
        if (results != copy || results != log) {
            ++torn;
            ADD_FAILURE() << "pair " << pair << ": results " << results << ", copy " << copy << ", log " << log;
        }
    }
    EXPECT_EQ(torn, 0);
    EXPECT_FALSE(HasTemporaries(dir.path()));
}
