#pragma once

// Runs the desktop program until the user quits; returns the exit code.
int RunDesktopProgram(int argc, char** argv);

// Puts the numeric locale back to "C" (Qt takes the user's): files are read and written with a
// point as decimal separator.
void UseFileNumberLocale();
