#pragma once
// The drawing canvas on a QPainter (over a QImage, a widget or a printer). Thin solid lines and
// pixels are collected by pen and colour and drawn together, which keeps plans of many thousand
// entities quick to draw. Texts, wide or dashed lines and clipping draw what was collected first,
// so they keep their order. Filled polygons and ellipses are drawn at once: thin lines collected
// before them land on top of them, which keeps plan lines visible over fills.

#include "dxf/DrawCanvas.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QLine>
#include <QPoint>
#include <memory>
#include <vector>

class QImage;
class QPainter;

class CQtCanvas : public IDrawCanvas {
  public:
    // The painter stays the caller's; it must outlive the canvas.
    explicit CQtCanvas(QPainter& painter);
    ~CQtCanvas() override;
    CQtCanvas(const CQtCanvas&) = delete;
    CQtCanvas& operator=(const CQtCanvas&) = delete;

    // Draws everything collected so far.
    void Flush();
    // Font heights are multiplied by this; a printer sets its resolution over the screen's.
    void SetFontScale(double scale) { m_dFontScale = scale; }
    // Pens are one screen pixel wide per unit by default, whatever the painter's scale. A page
    // sets them to scale with the page instead, so a preview shows them as the paper has them.
    void SetPensScaleWithPage(bool scale) { m_bPensScale = scale; }

    void SetPen(const CanvasPen& pen) override;
    CanvasPen GetPen() const override { return m_Pen; }
    void DrawLine(int x0, int y0, int x1, int y1) override;
    void DrawPolyline(const std::vector<CanvasPoint>& points) override;
    void FillPolygon(const std::vector<CanvasPoint>& points, Rgb fill) override;
    void DrawEllipse(int left, int top, int right, int bottom) override;
    void DrawText(int x, int y, const std::string& text, const CanvasFont& font, Rgb colour) override;
    void DrawTextOpaque(int x, int y, const std::string& text, const CanvasFont& font, Rgb colour,
                        Rgb background) override;
    int GetTextWidth(const std::string& text, const CanvasFont& font) override;
    void SetPixel(int x, int y, Rgb colour) override;
    double GetFontScale() const override { return m_dFontScale; }
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override;
    void PushClipRect(int left, int top, int right, int bottom) override;
    void PopClipRect() override;

    static QColor ToQColor(Rgb colour) { return QColor(RgbRed(colour), RgbGreen(colour), RgbBlue(colour)); }

  private:
    struct FontEntry {
        CanvasFont font;
        QFont qfont;
        std::unique_ptr<QFontMetrics> metrics;
        int id = 0;
    };
    struct LineBatch {
        CanvasPen pen;
        std::vector<QLine> lines;
    };
    struct PixelBatch {
        Rgb colour;
        std::vector<QPoint> pixels;
    };
    QImage* GetDirectImage() const;
    bool FillRectangleDirectly(const std::vector<CanvasPoint>& points);
    void ApplyPen();
    void ApplyPen(const CanvasPen& pen);
    std::vector<QLine>& LinesOfPen();
    bool IsBatchable() const { return m_Pen.style == PEN_SOLID && m_Pen.width <= 1; }
    FontEntry& GetFont(const CanvasFont& font);
    const class QStaticText& StaticText(const FontEntry& entry, const QString& text);
    void Text(int x, int y, const std::string& text, const CanvasFont& font, Rgb colour,
              const Rgb* background);

    QPainter& m_Painter;
    CanvasPen m_Pen;
    bool m_bPenApplied = false;
    double m_dFontScale = 1.0;
    bool m_bPensScale = false;
    // The batches in the order their pens were first used; the storage comes from the canvases
    // before on this thread, so that a redraw does not grow its buffers again. Only the first
    // counts are in use.
    std::vector<LineBatch> m_LineBatches;
    size_t m_LineBatchCount = 0;
    int m_iCurrentBatch = -1; // the batch of m_Pen, -1 when not looked up yet
    std::vector<PixelBatch> m_PixelBatches;
    size_t m_PixelBatchCount = 0;
    bool m_bPending = false;
    std::vector<FontEntry> m_Fonts; // the few fonts of one drawing
    int m_iFontCount = 0;
    int m_iFontSet = -1; // the entry whose font the painter has, -1 when not known
    int m_iClipDepth = 0;
};
