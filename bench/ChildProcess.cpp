#include "ChildProcess.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

ChildRun RunChild(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                  const std::string& folder, const std::string& outputFile) {
    ChildRun run;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) return run;
    if (pid == 0) {
        if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(127);
        for (const std::string& e : env)
            putenv(const_cast<char*>(e.c_str()));
        const int out =
            open(outputFile.empty() ? "/dev/null" : outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
            close(out);
        }
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec +
                     usage.ru_stime.tv_usec * 1e-6;
    run.peakKb = usage.ru_maxrss;
    return run;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}
