#include "ui/print/ReportPrinter.h"

#include "app/LENIBDoc.h"
#include "app/PdfWork.h"
#include "base/FileUtils.h"
#include "base/Logger.h"
#include "base/TextUtils.h"
#include "model/LENIProject.h"
#include "model/ModelOverlay.h"
#include "report/ResultsCsv.h"
#include "report/ResultsExport.h"
#include "report/RoomSchedule.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/editor/DxfTabDlg.h"
#include "ui/platform/QtCanvas.h"
#include "ui/shell/LENIBView.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <clocale>
#include <memory>
#include <optional>

namespace {

// The PDF's bytes, handed to the program's writer as they come; a failed write fails the file.
class CSafeOutputDevice : public QIODevice {
  public:
    explicit CSafeOutputDevice(CSafeOutput& output) : m_Output(output) {}
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        return m_Output.Write(data, static_cast<size_t>(size)) ? size : -1;
    }

  private:
    CSafeOutput& m_Output;
};

std::optional<PrintPageRecord>& Pending() {
    static std::optional<PrintPageRecord> pending;
    return pending;
}

void PaintOne(QPainter& painter, const std::function<void(IDrawCanvas&)>& draw) {
    CQtCanvas canvas(painter);
    canvas.SetFontScale(1.0); // the page's font heights are device units already
    canvas.SetPensScaleWithPage(true); // a preview shrinks the page's lines with it
    draw(canvas);
    canvas.Flush();
}

} // namespace

QPrinter& GetReportPrinter() {
    static std::unique_ptr<QPrinter> printer;
    if (!printer) printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer;
}

void SetPendingPrintPage(const PrintPageRecord& page) {
    Pending() = page;
}

bool HasPendingPrintPage() {
    return Pending().has_value();
}

FloorDrawingLookup GetViewDrawings(const CLENIBView* view) {
    return [view](const std::string& floorName) -> const CDxfFile* {
        if (!view) return nullptr;
        for (int i = 0; i < view->GetTabCount(); ++i) {
            const CDxfTabDlg* page = view->GetPage(i);
            if (page && page->GetDxfFile() && EqualsNoCase(page->GetFloorName(), floorName))
                return page->GetDxfFile();
        }
        return nullptr;
    };
}

std::vector<PrintPageRecord> PreparePrint(const CLENIProject& project) {
    if (project.GetFloorCount() == 0) {
        Log().Printf(LOG_ERROR, "No project, or empty project.");
        Pending().reset();
        return {};
    }
    if (Pending()) return {*Pending()};
    std::vector<PrintPageRecord> pages = BuildPrintPageList(project);
    if (pages.empty()) {
        Log().Printf(LOG_ERROR, "You have not specified any pages to print\nFor example, use the File menu : "
                                "Define Print Pages");
        return {};
    }
    Log().Printf(LOG_INFO, "OPP num pages = %d", int(pages.size()));
    return pages;
}

bool PaintReport(QPagedPaintDevice& device, const CLENIProject& project,
                 const std::vector<PrintPageRecord>& pages, const FloorDrawingLookup& drawings,
                 bool withResults) {
    QPainter painter;
    if (!painter.begin(&device)) {
        Log().Printf(LOG_ERROR, "The printer or the file would not start a page");
        return false;
    }
    const int width = device.width(), height = device.height();
    const PrintDate date = TodayForPrint();
    CRoomExtentMemo extents; // the model does not change while its pages are painted
    LENIProjectResults results;
    std::vector<ReportTableRow> rows;
    std::vector<LuminaireScheduleRow> luminaires;
    std::vector<RoomScheduleRow> roomSchedule;
    int tablePages = 0, floorPages = 0, luminairePages = 0, roomPages = 0;
    // Floor pages colour their rooms by LENI, so they need the results too.
    bool floorPage = false;
    for (const PrintPageRecord& page : pages)
        floorPage = floorPage || page.kind == PAGE_FLOOR;
    if (withResults || floorPage) CalculateProjectResults(project, results);
    if (withResults) {
        rows = GetReportTableRows(project, results);
        tablePages = GetResultsTablePageCount(rows.size(), width, height);
        floorPages = GetFloorMonthsPageCount(results.floors.size(), width, height);
        luminaires = GetLuminaireSchedule(project);
        luminairePages = GetLuminairePageCount(luminaires.size(), width, height);
        roomSchedule = GetRoomSchedule(project, results);
        roomPages = GetRoomSchedulePageCount(roomSchedule, width, height);
    }
    const std::vector<ReportPart> parts =
        BuildReportParts(pages, tablePages, width, height, floorPages, luminairePages, roomPages);
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) device.newPage();
        const ReportPart& part = parts[i];
        PaintOne(painter, [&](IDrawCanvas& canvas) {
            switch (part.kind) {
            case PART_PAGE:
                PrintPage(canvas, width, height, &project, part.page, drawings, date,
                          results.floors.empty() ? nullptr : &results);
                break;
            case PART_CONTENTS:
                DrawContentsPage(canvas, width, height, project, parts, part.index);
                break;
            case PART_RESULTS_TABLE:
                DrawResultsTablePage(canvas, width, height, project, rows, part.index);
                break;
            case PART_RESULTS_CHART:
                DrawResultsChartPage(canvas, width, height, project, results.building);
                break;
            case PART_FLOOR_MONTHS:
                DrawFloorMonthsPage(canvas, width, height, project, results, part.index);
                break;
            case PART_ROOM_SCHEDULE:
                DrawRoomSchedulePage(canvas, width, height, project, roomSchedule, part.index);
                break;
            case PART_LUMINAIRES:
                DrawLuminairePage(canvas, width, height, project, luminaires, part.index);
                break;
            }
            DrawPageFooter(canvas, width, height, project, date, int(i) + 1, int(parts.size()));
        });
    }
    return painter.end();
}

void PrintReport(QWidget* parent, const CLENIProject& project, const FloorDrawingLookup& drawings,
                 bool preview) {
    const std::vector<PrintPageRecord> pages = PreparePrint(project);
    // The whole report carries the results section as the PDF does; a single page stands alone.
    const bool withResults = !Pending().has_value();
    Pending().reset(); // a single page is asked for anew each time
    if (pages.empty()) return;
    QPrinter& printer = GetReportPrinter();
    if (preview) {
        QPrintPreviewDialog dialog(&printer, parent);
        dialog.setWindowTitle("Print preview");
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                         [&](QPrinter* target) { PaintReport(*target, project, pages, drawings, withResults); });
        ExecDialog(dialog);
        return;
    }
    QPrintDialog dialog(&printer, parent);
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    PaintReport(printer, project, pages, drawings, withResults);
}

void RunPrinterSetup(QWidget* parent) {
    QPageSetupDialog dialog(&GetReportPrinter(), parent);
    ExecDialog(dialog);
}

bool WriteReportPdf(const CLENIProject& project, const FloorDrawingLookup& drawings,
                    const std::string& path) {
    // Through the program's one writer: a private temporary beside the name, renamed over it once
    // whole, so a failed export leaves an older file whole and a link at the name is not followed.
    CSafeOutput output;
    std::string reason;
    if (!output.Open(fs::u8path(path), &reason)) {
        Log().Printf(LOG_ERROR, "Could not write the PDF file:\n%s\n%s", path.c_str(), reason.c_str());
        return false;
    }
    bool painted = false;
    {
        CSafeOutputDevice device(output);
        device.open(QIODevice::WriteOnly);
        QPdfWriter writer(&device);
        writer.setResolution(300);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(QString::fromStdString(project.GetName() + " - LENI report"));
        writer.setCreator("ORVANTIS");
        painted = PaintReport(writer, project, BuildPrintPageList(project), drawings, true);
    }
    // The writer has finished the file (its last part is written when the writer goes).
    bool ok = painted && output.Finish(&reason);
    if (ok) {
        if (CSafeWriteBatch* batch = CSafeWriteBatch::Current())
            batch->Add(std::move(output));
        else
            ok = output.Commit(&reason);
    }
    if (!ok) {
        output.Discard();
        Log().Printf(LOG_ERROR, "Could not write the PDF file:\n%s\n%s", path.c_str(),
                     painted ? reason.c_str() : "the pages could not be painted");
        return false;
    }
    return true;
}

// The file an export goes to, proposed as "<project>_<suffix>" in the project's folder; empty when
// there is nothing to export or the user cancels.
static std::string AskExportFile(QWidget* parent, const CLENIProject& project, const char* title,
                                 const std::string& suffix, const char* filter, const char* extension) {
    if (project.GetFloorCount() == 0) {
        Log().Printf(LOG_ERROR, "No project, or empty project.");
        return std::string();
    }
    const std::string proposed =
        JoinPath(project.GetProjectFolder(), MakeSafeFileName(project.GetName()) + suffix).string();
    return AskSaveFileName(parent, title, QString::fromStdString(proposed), filter, extension).toStdString();
}

void ExportReportPdf(QWidget* parent, const CLENIBDoc& doc, const FloorDrawingLookup& drawings) {
    const CLENIProject& project = doc.GetProject();
    const std::string path =
        AskExportFile(parent, project, "Export Report as PDF...", "_REPORT.pdf", "PDF (*.pdf)", "pdf");
    if (!path.empty() && WriteReportPdf(project, drawings, path))
        Log().Printf(LOG_INFO, "Report written to %s", path.c_str());
}

void ExportResultsCsvAs(QWidget* parent, const CLENIBDoc& doc) {
    const CLENIProject& project = doc.GetProject();
    const std::string path =
        AskExportFile(parent, project, "Export Results as CSV...", "_RESULTS.csv", "CSV (*.csv)", "csv");
    if (!path.empty() && ExportResultsCsv(project, path))
        Log().Printf(LOG_INFO, "Results written to %s", path.c_str());
}

void InstallReportPdfWriter() {
    SetReportPdfWriter(
        [](const CLENIProject& project, const FloorDrawingLookup& drawings, const std::string& path) {
            if (QGuiApplication::instance()) return WriteReportPdf(project, drawings, path);
            // The batch run has no display: fonts and painting come from the offscreen platform,
            // and Qt's remarks about the environment go to the log, not to the user's console.
            qputenv("QT_QPA_PLATFORM", "offscreen");
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
                Log().Printf(LOG_INFO, "Qt: %s", text.toLocal8Bit().constData());
            });
            int argc = 1;
            char name[] = "orvantis";
            char* argv[] = {name, nullptr};
            QGuiApplication application(argc, argv);
            std::setlocale(LC_NUMERIC, "C"); // Qt took the locale from the environment
            return WriteReportPdf(project, drawings, path);
        });
}
