// Print preview against the PDF: one floor page of the sample building painted by the preview and
// by the PDF writer, both made pixels of the same size, differ only as two text renderers do.

#include "dxf/DxfFile.h"
#include "model/LENIProject.h"
#include "report/ReportPages.h"
#include "support/TestSupport.h"
#include "ui/print/ReportPrinter.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kW = 2480, kH = 3508; // A4 at 300 dpi

// The box of the dark pixels of the page inside the paper's edge, where the preview draws the
// paper's outline.
QRect Ink(const QImage& page) {
    constexpr int edge = 32;
    int left = kW, top = kH, right = -1, bottom = -1;
    for (int y = edge; y < kH - edge; ++y) {
        const uchar* line = page.constScanLine(y);
        for (int x = edge; x < kW - edge; ++x)
            if (line[x] < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// Mean grey of each 16 x 16 block of the page, read from the page moved by (dx, dy).
std::vector<double> BlockGreys(const QImage& page, int dx, int dy) {
    std::vector<double> blocks;
    for (int by = 32; by + 48 <= kH; by += 16)
        for (int bx = 32; bx + 48 <= kW; bx += 16) {
            double sum = 0;
            for (int y = by; y < by + 16; ++y) {
                const uchar* line = page.constScanLine(y + dy);
                for (int x = bx; x < bx + 16; ++x)
                    sum += line[x + dx];
            }
            blocks.push_back(sum / 256.0);
        }
    return blocks;
}

} // namespace

TEST(PrintPreviewTest, APreviewedFloorPageIsThePdfPage) {
    TempDir dir{"preview"};
    const fs::path sample = fs::path(ORVANTIS_SOURCE_DIR) / "examples" / "sample";
    CLENIProject project;
    ASSERT_TRUE(project.ReadProject((sample / "SAMPLE.LENI1XML").string()));
    CDxfFile drawing;
    ASSERT_TRUE(drawing.ReadFile((sample / "Ground.DXF").string()));
    const FloorDrawingLookup lookup = [&drawing](const std::string&) { return &drawing; };
    const std::vector<PrintPageRecord> pages = {{PAGE_FLOOR, "Ground", "", ""}};

    // The PDF page, rendered at 300 dpi.
    const fs::path pdf = dir / "page.pdf";
    {
        QPdfWriter writer(QString::fromStdString(pdf.string()));
        writer.setResolution(300);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        ASSERT_TRUE(PaintReport(writer, project, pages, lookup, false));
    }
    const std::string render = "pdftoppm -scale-to-x 2480 -scale-to-y 3508 -png -singlefile '" +
                               pdf.string() + "' '" + (dir / "pdf").string() + "'";
    ASSERT_EQ(std::system(render.c_str()), 0) << "pdftoppm (poppler-utils) is needed: make deps";
    QImage printed(QString::fromStdString((dir / "pdf.png").string()));
    ASSERT_EQ(printed.size(), QSize(kW, kH));

    // The preview of the same page on the printer that Print uses, as its scene draws the paper,
    // drawn at the PDF's size.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPrintPreviewWidget preview(&printer);
    QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                     [&](QPrinter* target) { PaintReport(*target, project, pages, lookup, false); });
    preview.resize(600, 800);
    preview.updatePreview();
    auto* view = preview.findChild<QGraphicsView*>();
    ASSERT_TRUE(view && view->scene());
    ASSERT_EQ(preview.pageCount(), 1);
    const QGraphicsItem* paper = nullptr;
    for (const QGraphicsItem* item : view->scene()->items())
        if (!paper || item->boundingRect().height() > paper->boundingRect().height()) paper = item;
    ASSERT_TRUE(paper);
    // The paper item draws the paper from its origin, a shadow beside it.
    const QSizeF paperSize = printer.pageLayout().fullRectPixels(printer.resolution()).size();
    const QRectF sheet = paper->mapRectToScene(QRectF(QPointF(0, 0), paperSize));
    QImage previewed(kW, kH, QImage::Format_RGB32);
    previewed.fill(Qt::white);
    {
        QPainter painter(&previewed);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        view->scene()->render(&painter, QRectF(0, 0, kW, kH), sheet);
    }
    previewed.save(QString::fromStdString((dir / "preview.png").string()));
    if (const char* keep = std::getenv("ORVANTIS_KEEP_PREVIEW")) {
        previewed.save(QString(keep) + "/preview.png");
        printed.save(QString(keep) + "/pdf.png");
    }

    // The preview's paper may sit a few pixels off the scene's page box: the two are compared
    // with their ink aligned, which must be of one size.
    const QImage pdfGrey = printed.convertToFormat(QImage::Format_Grayscale8);
    const QImage previewGrey = previewed.convertToFormat(QImage::Format_Grayscale8);
    const QRect pdfInk = Ink(pdfGrey), previewInk = Ink(previewGrey);
    EXPECT_NEAR(previewInk.width(), pdfInk.width(), kW / 200) << "the preview is drawn at another scale";
    EXPECT_NEAR(previewInk.height(), pdfInk.height(), kH / 200) << "the preview is drawn at another scale";
    const int dx = std::clamp(previewInk.left() - pdfInk.left(), -15, 15);
    const int dy = std::clamp(previewInk.top() - pdfInk.top(), -15, 15);
    const std::vector<double> a = BlockGreys(pdfGrey, 0, 0), b = BlockGreys(previewGrey, dx, dy);
    ASSERT_EQ(a.size(), b.size());
    double total = 0, worst = 0;
    size_t differing = 0, inked = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double d = std::fabs(a[i] - b[i]);
        total += d;
        worst = std::max(worst, d);
        if (d > 48) ++differing;
        if (a[i] < 250) ++inked;
    }
    std::printf(
        "preview against PDF: moved %d, %d; mean block difference %.2f, worst %.1f, %zu blocks apart\n", dx,
        dy, total / double(a.size()), worst, differing);
    ASSERT_GT(inked, a.size() / 50) << "the PDF page is blank";
    // Drawn with pens of screen pixels (the fault this guards against) the mean was above 5 and
    // a thousand blocks apart; two text renderers leave under 2 and a few dozen.
    EXPECT_LT(total / double(a.size()), 2.5)
        << "worst block " << worst << ", " << differing << " blocks apart";
    EXPECT_LT(differing, a.size() / 500) << "worst block " << worst;
}
