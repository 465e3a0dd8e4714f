#pragma once
// Runs a program as a child process and measures it: wall time, CPU time of the child and its
// threads, and peak resident memory.

#include <string>
#include <vector>

struct ChildRun {
    int exitCode = -1;
    double wallSeconds = 0.0;
    double cpuSeconds = 0.0; // user + system
    long peakKb = 0;         // maximum resident set size
};

// argv[0] is the program's path. env holds extra "NAME=value" entries; folder is the working
// directory (empty: this one); output goes to outputFile (empty: /dev/null).
ChildRun RunChild(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
                  const std::string& folder = "", const std::string& outputFile = "");

double Median(std::vector<double> values);
