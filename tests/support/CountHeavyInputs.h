#pragma once
// Inputs small in bytes but huge in count, written at run time (never stored): each one names what
// the program must do with it, finish within a time or refuse it with a message.

#include <string>
#include <vector>

struct CountHeavyInput {
    std::string name;     // what it holds, for messages and the benchmark's table
    std::string fileName; // .LENI1XML for "report", .dxf for "dxftoxml"
    std::string text;
    bool refused = false;    // true: the program refuses it (exit code not 0) with message
    std::string message;     // a part of the log the run must give (empty: none asked)
    double maxSeconds = 2.0; // refusals: 1 s
};

// Every count-heavy input.
std::vector<CountHeavyInput> CountHeavyInputs();
// A project of one room, one zone and one product: what the program needs for itself.
std::string SmallProject();
