#pragma once
// A building with every kind of object and field the project file carries, and a field-by-field
// comparison of two projects, shared by the project file tests.

#include "model/LENIProject.h"
#include "support/TestSupport.h"

#include <string>
#include <vector>

// Two floors; rooms with zones, windows of the three types facing atria and with double facades,
// flat and shed roof lights, atria and courtyards, luminaire lists, print flags, non-ASCII names.
CLENIProject BuildFullProject();

// Records the log as a batch run writes it: every message once, no message boxes.
struct QuietLog : LogRecorder {
    QuietLog() { Log().SetMode(LOGMODE_BATCH); }
};
