#pragma once

// Runs the desktop program until the user quits; returns the exit code.
int RunDesktopProgram(int argc, char** argv);
