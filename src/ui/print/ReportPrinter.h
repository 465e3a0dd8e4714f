#pragma once
// Printing, print preview and the PDF report: the pages of the print flags (or one pending single
// page from the floor-plan editor) painted through the core's page drawing on a QPrinter or a
// QPdfWriter.

#include "report/ReportPages.h"

#include <string>
#include <vector>

class CLENIBDoc;
class CLENIBView;
class CLENIProject;
class QPagedPaintDevice;
class QPrinter;
class QWidget;

// The printer that Printer Setup, Print and Print Preview share for the run of the program.
QPrinter& GetReportPrinter();

// The next print or preview shows this one page only.
void SetPendingPrintPage(const PrintPageRecord& page);
bool HasPendingPrintPage();

// The drawings of the view's floor tabs, by floor name.
FloorDrawingLookup GetViewDrawings(const CLENIBView* view);

// The pages a print would show now: the pending single page, or the list from the flags. Empty
// (with the reason reported) when there is nothing to print.
std::vector<PrintPageRecord> PreparePrint(const CLENIProject& project);

// Paints the report, one device page each with its footer: the pages, a contents list after the
// project page, and with results the results table and monthly chart.
// False when the device would not start or finish the pages.
bool PaintReport(QPagedPaintDevice& device, const CLENIProject& project,
                 const std::vector<PrintPageRecord>& pages, const FloorDrawingLookup& drawings,
                 bool withResults);

// File > Print... and Print preview...: the platform's dialogs, then the page loop. The pending
// single page is used up by the print or preview.
void PrintReport(QWidget* parent, const CLENIProject& project, const FloorDrawingLookup& drawings,
                 bool preview);
// File > Printer Setup...
void RunPrinterSetup(QWidget* parent);

// The flagged pages followed by the results section, as one PDF; false (reported) when the file
// could not be written.
bool WriteReportPdf(const CLENIProject& project, const FloorDrawingLookup& drawings, const std::string& path);
// File > Export Report as PDF...: asks for the file, then writes it.
void ExportReportPdf(QWidget* parent, const CLENIBDoc& doc, const FloorDrawingLookup& drawings);
// File > Export Results as CSV...: asks for the file, then writes the results table.
void ExportResultsCsvAs(QWidget* parent, const CLENIBDoc& doc);
// Hands the PDF writer to the batch command "pdf"; without a running application it paints on
// the offscreen platform, so no display is needed.
void InstallReportPdfWriter();
