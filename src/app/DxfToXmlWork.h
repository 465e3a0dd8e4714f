#pragma once
// The work of the batch command "dxftoxml": a one-floor project from a DXF floor plan.

#include "app/BatchCommands.h"

// A new project of dominant building type "Residential buildings" and an empty name, with one
// floor from the DXF file (the job's name and height, one instance, the special layers imported
// with a default window as template), saved without results to the job's project file.
// Failures go to the general log; a project file that could not be written returns
// BATCH_WRITE_FAILED (the old file left whole), else BATCH_DONE.
int RunDxfToXml(const DxfToXmlJob& job);
