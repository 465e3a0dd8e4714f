// Inputs small in bytes but huge in count (generated here, never stored): each finishes within
// 2 s of processor time or is refused with a message naming the limit within 1 s.

#include "support/CountHeavyInputs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>

namespace {

// Sanitizers slow every run several times over: the limits hold for the plain build.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_UNDEFINED__)
constexpr double kSlowdown = 10.0;
#else
constexpr double kSlowdown = 1.0;
#endif

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// User and system time of every waited-for child process so far.
double ChildCpuSeconds() {
    struct rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

TEST(CountHeavyTest, EachInputFinishesInTimeOrIsRefusedWithItsLimit) {
    for (const CountHeavyInput& input : CountHeavyInputs()) {
        SCOPED_TRACE(input.name);
        TempDir dir("count heavy");
        WriteFileText(dir / input.fileName, input.text);
        const bool dxf =
            input.fileName.size() > 4 && input.fileName.substr(input.fileName.size() - 4) == ".dxf";
        const std::string args = dxf ? " dxftoxml " + Quote(input.fileName) + " floor.LENI1XML 3 log.txt"
                                     : " report " + Quote(input.fileName) + " R.XML log.txt";
        const std::string cmd = "cd " + Quote(dir.path().string()) + " && timeout 60 " + Quote(ORVANTIS_EXE) +
                                args + " >stdout.txt 2>&1 </dev/null";
        // The processor time the run takes: the machine may be shared with other work.
        const double before = ChildCpuSeconds();
        const int status = std::system(cmd.c_str());
        const double seconds = ChildCpuSeconds() - before;
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        const std::string log = ReadFileText(dir / "log.txt");
        EXPECT_LT(seconds, input.maxSeconds * kSlowdown);
        if (input.refused) {
            EXPECT_NE(code, 0);
            EXPECT_FALSE(fs::exists(dir / "R.XML"));
        } else {
            EXPECT_EQ(code, 0) << log;
        }
        if (!input.message.empty()) {
            EXPECT_NE(log.find(input.message), std::string::npos) << log.substr(0, 2000);
        }
    }
}
