#include "ui/print/ReportPrinter.h"

#include "app/LENIBDoc.h"
#include "app/PdfWork.h"
#include "base/FileUtils.h"
#include "base/Logger.h"
#include "base/TextUtils.h"
#include "model/LENIProject.h"
#include "report/ResultsExport.h"
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

std::optional<PrintPageRecord>& Pending() {
    static std::optional<PrintPageRecord> pending;
    return pending;
}

void PaintOne(QPainter& painter, const std::function<void(IDrawCanvas&)>& draw) {
    CQtCanvas canvas(painter);
    canvas.SetFontScale(1.0); // the page's font heights are device units already
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

void PaintReport(QPagedPaintDevice& device, const CLENIProject& project,
                 const std::vector<PrintPageRecord>& pages, const FloorDrawingLookup& drawings,
                 bool withResults) {
    QPainter painter;
    if (!painter.begin(&device)) {
        Log().Printf(LOG_ERROR, "The printer or the file would not start a page");
        return;
    }
    const int width = device.width(), height = device.height();
    const PrintDate date = TodayForPrint();
    bool first = true;
    auto nextPage = [&]() {
        if (!first) device.newPage();
        first = false;
    };
    for (const PrintPageRecord& page : pages) {
        nextPage();
        PaintOne(painter, [&](IDrawCanvas& canvas) {
            PrintPage(canvas, width, height, &project, page, drawings, date);
        });
    }
    if (withResults) {
        LENIProjectResults results;
        CalculateProjectResults(project, results);
        const std::vector<ReportTableRow> rows = GetReportTableRows(project, results);
        const int tablePages = GetResultsTablePageCount(rows.size(), width, height);
        for (int i = 0; i < tablePages; ++i) {
            nextPage();
            PaintOne(painter, [&](IDrawCanvas& canvas) {
                DrawResultsTablePage(canvas, width, height, project, rows, i);
            });
        }
        nextPage();
        PaintOne(painter, [&](IDrawCanvas& canvas) {
            DrawResultsChartPage(canvas, width, height, project, results.building);
        });
    }
    painter.end();
}

void PrintReport(QWidget* parent, const CLENIProject& project, const FloorDrawingLookup& drawings,
                 bool preview) {
    const std::vector<PrintPageRecord> pages = PreparePrint(project);
    Pending().reset(); // a single page is asked for anew each time
    if (pages.empty()) return;
    QPrinter& printer = GetReportPrinter();
    if (preview) {
        QPrintPreviewDialog dialog(&printer, parent);
        dialog.setWindowTitle("Print preview");
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                         [&](QPrinter* target) { PaintReport(*target, project, pages, drawings, false); });
        ExecDialog(dialog);
        return;
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, int(pages.size()));
    if (ExecDialog(dialog) != QDialog::Accepted) return;
    PaintReport(printer, project, pages, drawings, false);
}

void RunPrinterSetup(QWidget* parent) {
    QPageSetupDialog dialog(&GetReportPrinter(), parent);
    ExecDialog(dialog);
}

bool WriteReportPdf(const CLENIProject& project, const FloorDrawingLookup& drawings,
                    const std::string& path) {
    // Written beside the target and renamed over it, so a failed export leaves an older file whole.
    const std::string temporary = path + ".part";
    {
        QPdfWriter writer(QString::fromStdString(temporary));
        writer.setResolution(300);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(QString::fromStdString(project.GetName() + " - LENI report"));
        writer.setCreator("ORVANTIS");
        PaintReport(writer, project, BuildPrintPageList(project), drawings, true);
    }
    std::error_code error;
    if (!FileExists(temporary) || fs::file_size(fs::u8path(temporary), error) == 0) {
        fs::remove(fs::u8path(temporary), error);
        Log().Printf(LOG_ERROR, "Could not write the PDF file:\n%s", path.c_str());
        return false;
    }
    fs::rename(fs::u8path(temporary), fs::u8path(path), error);
    if (error) {
        Log().Printf(LOG_ERROR, "Could not write the PDF file:\n%s\n%s", path.c_str(),
                     error.message().c_str());
        fs::remove(fs::u8path(temporary), error);
        return false;
    }
    return true;
}

void ExportReportPdf(QWidget* parent, const CLENIBDoc& doc, const FloorDrawingLookup& drawings) {
    const CLENIProject& project = doc.GetProject();
    if (project.GetFloorCount() == 0) {
        Log().Printf(LOG_ERROR, "No project, or empty project.");
        return;
    }
    const std::string proposed =
        JoinPath(project.GetProjectFolder(), MakeSafeFileName(project.GetName()) + "_REPORT.pdf").string();
    const QString path = AskSaveFileName(parent, "Export Report as PDF...", QString::fromStdString(proposed),
                                         "PDF (*.pdf)", "pdf");
    if (path.isEmpty()) return;
    if (WriteReportPdf(project, drawings, path.toStdString()))
        Log().Printf(LOG_INFO, "Report written to %s", path.toStdString().c_str());
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
