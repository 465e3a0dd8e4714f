#pragma once
// The work of the batch command "pdf": the project's report pages and results as one PDF file.
// Painting a PDF needs the desktop part of the program; it hands its writer down at start-up, and a
// build without it answers the command with a clear message.

#include "app/BatchCommands.h"
#include "report/ReportPages.h"

#include <functional>
#include <string>

class CLENIProject;

struct PdfJob {
    std::string projectFile;
    std::string pdfFile;
};

// Writes the report of the project to the PDF file; false (with the reason logged) when it could not.
using ReportPdfWriter = std::function<bool(const CLENIProject& project, const FloorDrawingLookup& drawings,
                                           const std::string& path)>;
// Returns the previous writer; an empty one leaves the command without a means to paint.
ReportPdfWriter SetReportPdfWriter(ReportPdfWriter writer);
bool HasReportPdfWriter();

// The floor's DXF file in the project folder: the floor name, made safe, with ".DXF".
std::string GetFloorDxfPath(const CLENIProject& project, const std::string& floorName);

// Reads the project, its floor drawings from the project folder, and writes the PDF. Returns
// BATCH_DONE, BATCH_READ_FAILED or BATCH_WRITE_FAILED (also when this build cannot paint).
int RunPdf(const PdfJob& job);
