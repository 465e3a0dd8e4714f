// Runs the built program as a user would and checks what it leaves: exit code, files, messages.

#include "support/TestSupport.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

struct Process {
    pid_t pid = -1;
};

// Starts the program with the arguments and extra environment; output goes to files in dir.
Process Start(const std::vector<std::string>& args, const TempDir& dir,
              const std::vector<std::string>& env = {}) {
    std::vector<std::string> all{ORVANTIS_EXE};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<std::string> envStrings(env);
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        bool overridden = false;
        for (const std::string& o : env)
            if (entry.compare(0, o.find('=') + 1, o, 0, o.find('=') + 1) == 0) overridden = true;
        if (!overridden) envStrings.push_back(entry);
    }
    std::vector<char*> envp;
    for (std::string& e : envStrings)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Relative names the program writes land in dir.
    posix_spawn_file_actions_addchdir_np(&actions, dir.path().c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, (dir / "stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, (dir / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    Process run;
    if (posix_spawn(&run.pid, ORVANTIS_EXE, &actions, nullptr, argv.data(), envp.data()) != 0) run.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// Exit code of a finished run, or -1 when it did not exit normally.
int Wait(const Process& run) {
    int status = 0;
    if (run.pid < 0 || waitpid(run.pid, &status, 0) != run.pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

int RunBatch(const std::vector<std::string>& args, const TempDir& dir) {
    return Wait(Start(args, dir));
}

TEST(BatchExitCodeTest, RefusedCommandLines) {
    TempDir dir{"cli"};
    struct Case {
        std::vector<std::string> args;
        int code;
    } cases[] = {
        {{"report", "a", "b"}, 2},
        {{"report", "a", "b", "c", "d"}, 2},
        {{"frobnicate"}, 7},
        {{"report", "missing.x", "r.xml", "l.txt"}, 8},
        {{"dxftoxml", "x.dxf", "p.xml", "0", "l.txt"}, 10},
        {{"dxftoxml", "x.dxf", "p.xml", "3", "l.txt"}, 8},
        {{"DxfToXml", "x.dxf", "p.xml", "200.5", "l.txt"}, 10},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.args)
            shown += a + " ";
        EXPECT_EQ(RunBatch(c.args, dir), c.code) << shown;
        // Refused before any log file was chosen, and never a window or box.
        EXPECT_FALSE(fs::exists(dir / "l.txt")) << shown;
    }
}

TEST(BatchExitCodeTest, UnknownCommandPrintsOneUsageLine) {
    TempDir dir{"cli"};
    ASSERT_EQ(RunBatch({"frobnicate", "x"}, dir), 7);
    auto lines = ReadLines(dir / "stderr.txt");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("usage: orvantis report ", 0), 0u);
    EXPECT_NE(lines[0].find("dxftoxml"), std::string::npos);
    EXPECT_EQ(ReadFileText(dir / "stdout.txt"), "");
}

TEST(BatchExitCodeTest, HelpAndVersionAnswerOnTheStandardOutput) {
    TempDir dir{"cli"};
    const std::string version = std::string("orvantis ") + ORVANTIS_VERSION + "\n";
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string out;     // the whole standard output, or its start when ending in "..."
        bool errorsWritten;  // something on the error stream
    } cases[] = {
        {{"--version"}, 0, version, false},
        {{"--help"}, 0, "Usage:\n  orvantis                      start the desktop program\n...", false},
        {{"-h"}, 0, "Usage:\n...", false},
        // Options are written as typed, alone.
        {{"--HELP"}, 7, "", true},
        {{"help"}, 7, "", true},
        {{"--version", "x"}, 2, "", true},
        {{"-h", "report"}, 2, "", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunBatch(c.args, dir), c.code) << c.args[0];
        const std::string out = ReadFileText(dir / "stdout.txt");
        const bool prefix = c.out.size() > 3 && c.out.compare(c.out.size() - 3, 3, "...") == 0;
        if (prefix)
            EXPECT_EQ(out.rfind(c.out.substr(0, c.out.size() - 3), 0), 0u) << c.args[0] << ": " << out;
        else
            EXPECT_EQ(out, c.out) << c.args[0];
        EXPECT_EQ(ReadFileText(dir / "stderr.txt").empty(), !c.errorsWritten) << c.args[0];
    }
    // The help names every command and every exit code.
    ASSERT_EQ(RunBatch({"--help"}, dir), 0);
    const std::string help = ReadFileText(dir / "stdout.txt");
    for (const char* word : {"orvantis open [<project file>]", "orvantis report <project file> <results file> <log file>",
                             "orvantis dxftoxml <DXF file> <project file> <floor height> <log file>",
                             "orvantis pdf <project file> <pdf file> <log file>", "--version", "\n  0 ", "\n  1 ",
                             "\n  2 ", "\n  3 ", "\n  4 ", "\n  7 ", "\n  8 ", "\n  10 "})
        EXPECT_NE(help.find(word), std::string::npos) << word;
}

TEST(BatchExitCodeTest, OpenChecksItsProjectFileBeforeAnyWindow) {
    TempDir dir{"cli"};
    struct Case {
        std::vector<std::string> args;
        int code;
    } cases[] = {
        {{"open", "missing.LENI1XML"}, 8},
        {{"OPEN", "a.LENI1XML", "b.LENI1XML"}, 2},
#ifndef ORVANTIS_EXE_HAS_GUI
        // The build without the desktop program answers as it answers "pdf".
        {{"open"}, 4},
#endif
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunBatch(c.args, dir), c.code) << c.args.size();
        EXPECT_FALSE(ReadFileText(dir / "stderr.txt").empty());
        EXPECT_EQ(ReadFileText(dir / "stdout.txt"), "");
    }
}

TEST(BatchExitCodeTest, AcceptedCommandsStartTheirLogFile) {
    TempDir dir{"cli folder with blanks"};
    // A project that reads and calculates without a single error.
    fs::copy_file(TestDataDir() / "energy" / "hand" / "HAND.LENI1XML", dir / "b 1.LENI1XML");
    // A drawing with one entity: it imports nothing and so logs nothing.
    WriteFileText(dir / "PLAN~1.dxf", "0\nSECTION\n2\nENTITIES\n0\nPOINT\n0\nENDSEC\n0\nEOF\n");
    struct Case {
        std::vector<std::string> args;
        std::string log;
    } cases[] = {
        {{"Report", (dir / "b 1.LENI1XML").string(), (dir / "r.xml").string(), (dir / "r log.txt").string()},
         "r log.txt"},
        {{"dxftoxml", (dir / "PLAN~1.dxf").string(), (dir / "p.xml").string(), "3,2",
          (dir / "d~log.txt").string()},
         "d~log.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunBatch(c.args, dir), 0) << c.args[0];
        auto lines = ReadLines(dir / c.log);
        ASSERT_EQ(lines.size(), 1u) << c.log;
        EXPECT_EQ(lines[0].rfind("CLogger::SetToFile (" + (dir / c.log).string() + ") on Date: ", 0), 0u)
            << lines[0];
    }
}

#ifdef ORVANTIS_EXE_HAS_GUI
TEST(DesktopStartTest, EmptyCommandLineOpensTheDesktopProgram) {
    TempDir dir{"desktop"};
    fs::path appData = dir / "data" / "ORVANTIS NUVA";
    fs::create_directories(appData);
    WriteFileText(appData / "LENI_NUVA_HELP.chm", "help");
    Process run = Start({}, dir, {"QT_QPA_PLATFORM=offscreen", "XDG_DATA_HOME=" + (dir / "data").string()});
    ASSERT_GT(run.pid, 0);

    // The desktop program writes its general log and then keeps running until the user quits.
    fs::path logPath = appData / "LENI_V1_LOG.TXT";
    bool logged = false;
    for (int i = 0; i < 300 && !logged; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        logged = ReadFileText(logPath).find("Logging to ") != std::string::npos;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    int status = 0;
    pid_t done = waitpid(run.pid, &status, WNOHANG);
    if (done == 0) {
        kill(run.pid, SIGTERM);
        waitpid(run.pid, &status, 0);
    }
    EXPECT_TRUE(logged) << ReadFileText(dir / "stderr.txt");
    EXPECT_EQ(done, 0) << "the desktop program ended by itself: " << ReadFileText(dir / "stderr.txt");
    EXPECT_NE(ReadFileText(logPath).find("Version = ORVANTIS NUVA V3.3.8 "), std::string::npos);
}
#else
TEST(DesktopStartTest, BuildWithoutDesktopSaysSoAndFails) {
    TempDir dir{"desktop"};
    EXPECT_NE(RunBatch({}, dir), 0);
    EXPECT_NE(ReadFileText(dir / "stderr.txt").find("no desktop program"), std::string::npos);
}
#endif

} // namespace
