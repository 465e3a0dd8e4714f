#pragma once

#include <memory>
#include <string>

class CMainFrame;

// Runs the desktop program until the user quits; returns the exit code. With a project file, the
// program opens it; when another desktop program of the user runs, that one opens it instead and
// this one ends at once with 0.
int RunDesktopProgram(int argc, char** argv, const std::string& projectFile = std::string());

// The interactive start once the QApplication and the message-box host exist: the numeric
// locale, the application's start steps, then the main window, shown. The program's folder (where
// its manual is looked for) is the running executable's unless given.
std::unique_ptr<CMainFrame> StartDesktop(const std::string& programDir = std::string());

// Puts the numeric locale back to "C" (Qt takes the user's): files are read and written with a
// point as decimal separator.
void UseFileNumberLocale();
