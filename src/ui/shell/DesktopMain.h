#pragma once

#include <memory>
#include <string>

class CMainFrame;

// Runs the desktop program until the user quits; returns the exit code.
int RunDesktopProgram(int argc, char** argv);

// The interactive start once the QApplication and the message-box host exist: the numeric
// locale, the application's start steps, then the main window, shown. The program's folder (where
// its manual is looked for) is the running executable's unless given.
std::unique_ptr<CMainFrame> StartDesktop(const std::string& programDir = std::string());

// Puts the numeric locale back to "C" (Qt takes the user's): files are read and written with a
// point as decimal separator.
void UseFileNumberLocale();
