#include "ui/platform/QtCanvas.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QStaticText>
#include <QString>
#include <algorithm>
#include <cmath>

namespace {

bool SameFont(const CanvasFont& a, const CanvasFont& b) {
    return a.height == b.height && a.bold == b.bold && a.italic == b.italic && a.faceName == b.faceName;
}

// Texts below this size, on one line, are laid out once and kept (labels repeat from redraw to
// redraw); they
// come from the same cache of glyph pictures as texts drawn directly. Larger ones are drawn
// directly, which draws them as outlines.
constexpr int kMaxStaticTextPixels = 48;

// Batch storage left by the canvases of this thread, for the next ones.
template <class Batch> std::vector<std::vector<Batch>>& Pool() {
    static thread_local std::vector<std::vector<Batch>> pool;
    return pool;
}

template <class Batch> void TakeFromPool(std::vector<Batch>& batches) {
    auto& pool = Pool<Batch>();
    if (pool.empty()) return;
    batches.swap(pool.back());
    pool.pop_back();
}

template <class Batch> void GiveToPool(std::vector<Batch>& batches) {
    auto& pool = Pool<Batch>();
    if (pool.size() < 4) pool.push_back(std::move(batches));
}

} // namespace

CQtCanvas::CQtCanvas(QPainter& painter) : m_Painter(painter) {
    // Plans are drawn pixel-exact, as line drawings; only text is smoothed.
    m_Painter.setRenderHint(QPainter::Antialiasing, false);
    m_Painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_Painter.setBrush(Qt::NoBrush);
    TakeFromPool(m_LineBatches);
    TakeFromPool(m_PixelBatches);
}

CQtCanvas::~CQtCanvas() {
    Flush();
    while (m_iClipDepth > 0)
        PopClipRect();
    GiveToPool(m_LineBatches);
    GiveToPool(m_PixelBatches);
}

QImage* CQtCanvas::GetDirectImage() const {
    // Thin lines and pixels go straight into the picture's memory when nothing the painter would
    // do to them (a transform, clipping, a scaled device) is in effect.
    if (m_Painter.device()->devType() != QInternal::Image) return nullptr;
    QImage* image = static_cast<QImage*>(m_Painter.device());
    const QImage::Format format = image->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return nullptr;
    if (m_Painter.hasClipping() || !m_Painter.transform().isIdentity() || image->devicePixelRatio() != 1.0)
        return nullptr;
    return image;
}

void CQtCanvas::Flush() {
    if (!m_bPending) return;
    m_bPending = false;
    QImage* image = GetDirectImage();
    uchar* bits = image ? image->bits() : nullptr;
    const qsizetype stride = image ? image->bytesPerLine() : 0;
    const int w = image ? image->width() : 0, h = image ? image->height() : 0;
    auto inside = [w, h](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h; };
    std::vector<QLine> others;
    for (size_t b = 0; b < m_LineBatchCount; ++b) {
        LineBatch& batch = m_LineBatches[b];
        if (batch.lines.empty()) continue;
        std::vector<QLine>* toPaint = &batch.lines;
        if (bits) {
            const QRgb colour =
                qRgb(RgbRed(batch.pen.colour), RgbGreen(batch.pen.colour), RgbBlue(batch.pen.colour));
            others.clear();
            for (const QLine& line : batch.lines) {
                if (!inside(line.x1(), line.y1()) || !inside(line.x2(), line.y2())) {
                    others.push_back(line);
                    continue;
                }
                // Bresenham, both end pixels set.
                int x = line.x1(), y = line.y1();
                const int dx = std::abs(line.x2() - x), dy = -std::abs(line.y2() - y);
                const int sx = x < line.x2() ? 1 : -1, sy = y < line.y2() ? 1 : -1;
                int err = dx + dy;
                for (;;) {
                    reinterpret_cast<QRgb*>(bits + y * stride)[x] = colour;
                    if (x == line.x2() && y == line.y2()) break;
                    const int e2 = 2 * err;
                    if (e2 >= dy) {
                        err += dy;
                        x += sx;
                    }
                    if (e2 <= dx) {
                        err += dx;
                        y += sy;
                    }
                }
            }
            toPaint = &others;
        }
        if (!toPaint->empty()) {
            ApplyPen(batch.pen);
            m_Painter.drawLines(toPaint->data(), static_cast<int>(toPaint->size()));
        }
        batch.lines.clear();
    }
    for (size_t b = 0; b < m_PixelBatchCount; ++b) {
        PixelBatch& batch = m_PixelBatches[b];
        if (batch.pixels.empty()) continue;
        if (bits) {
            const QRgb colour = qRgb(RgbRed(batch.colour), RgbGreen(batch.colour), RgbBlue(batch.colour));
            for (const QPoint& p : batch.pixels)
                if (inside(p.x(), p.y())) reinterpret_cast<QRgb*>(bits + p.y() * stride)[p.x()] = colour;
        } else {
            m_Painter.setPen(QPen(ToQColor(batch.colour), 0));
            m_bPenApplied = false;
            m_Painter.drawPoints(batch.pixels.data(), static_cast<int>(batch.pixels.size()));
        }
        batch.pixels.clear();
    }
}

void CQtCanvas::SetPen(const CanvasPen& given) {
    CanvasPen pen = given;
    if (pen.width < 1) pen.width = 1; // the same one pixel, and the same batch
    if (pen == m_Pen) return;
    m_Pen = pen;
    m_bPenApplied = false;
    m_iCurrentBatch = -1;
}

void CQtCanvas::ApplyPen() {
    if (m_bPenApplied) return;
    ApplyPen(m_Pen);
}

void CQtCanvas::ApplyPen(const CanvasPen& canvasPen) {
    QPen pen(ToQColor(canvasPen.colour));
    pen.setWidth(canvasPen.width);
    pen.setCosmetic(!m_bPensScale);
    switch (canvasPen.style) {
    case PEN_DASH:
        pen.setStyle(Qt::DashLine);
        break;
    case PEN_DASHDOTDOT:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        pen.setStyle(Qt::SolidLine);
        break;
    }
    // Thick outlines meet at their corners without notches, as wide pens always did.
    pen.setCapStyle(canvasPen.width > 1 ? Qt::RoundCap : Qt::SquareCap);
    pen.setJoinStyle(Qt::RoundJoin);
    m_Painter.setPen(pen);
    m_bPenApplied = canvasPen == m_Pen;
}

std::vector<QLine>& CQtCanvas::LinesOfPen() {
    if (m_iCurrentBatch < 0) {
        for (size_t i = 0; i < m_LineBatchCount; ++i)
            if (m_LineBatches[i].pen == m_Pen) m_iCurrentBatch = static_cast<int>(i);
        if (m_iCurrentBatch < 0) {
            if (m_LineBatchCount == m_LineBatches.size()) m_LineBatches.emplace_back();
            LineBatch& batch = m_LineBatches[m_LineBatchCount];
            batch.pen = m_Pen;
            batch.lines.clear();
            m_iCurrentBatch = static_cast<int>(m_LineBatchCount++);
        }
    }
    m_bPending = true;
    return m_LineBatches[m_iCurrentBatch].lines;
}

void CQtCanvas::DrawLine(int x0, int y0, int x1, int y1) {
    if (!IsBatchable()) {
        Flush();
        ApplyPen();
        m_Painter.drawLine(x0, y0, x1, y1);
        return;
    }
    LinesOfPen().emplace_back(x0, y0, x1, y1);
}

void CQtCanvas::DrawPolyline(const std::vector<CanvasPoint>& points) {
    if (points.size() < 2) return;
    if (IsBatchable()) {
        std::vector<QLine>& lines = LinesOfPen();
        for (size_t i = 0; i + 1 < points.size(); ++i)
            lines.emplace_back(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
        return;
    }
    Flush();
    ApplyPen();
    QPolygon polygon(static_cast<int>(points.size()));
    for (size_t i = 0; i < points.size(); ++i)
        polygon.setPoint(static_cast<int>(i), points[i].x, points[i].y);
    m_Painter.drawPolyline(polygon);
}

bool CQtCanvas::FillRectangleDirectly(const std::vector<CanvasPoint>& points) {
    // An axis-parallel rectangle (or a level or upright segment) wholly inside the picture, filled
    // and outlined in one colour: the painter's fill and its one-pixel outline together cover
    // exactly the pixels from the least to the greatest corner, both included. A plan's columns
    // and filled marks are thousands of these; anything else goes to the painter.
    const size_t n = points.size();
    if (n != 2 && n != 4) return false;
    QImage* image = GetDirectImage();
    if (!image) return false;
    int x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
    for (const CanvasPoint& p : points) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    for (size_t i = 0; i < n; ++i) {
        const CanvasPoint& a = points[i];
        const CanvasPoint& b = points[(i + 1) % n];
        const bool sameX = a.x == b.x, sameY = a.y == b.y;
        if (sameX == sameY) return false; // a repeated point or a slanting edge
        if ((a.x != x0 && a.x != x1) || (a.y != y0 && a.y != y1)) return false;
    }
    if (n == 4 && (x0 == x1 || y0 == y1)) return false;
    if (x0 < 0 || y0 < 0 || x1 >= image->width() || y1 >= image->height()) return false;
    // Drawn at once like the painter's polygons: thin lines collected before land on top.
    const QRgb colour = qRgb(RgbRed(m_Pen.colour), RgbGreen(m_Pen.colour), RgbBlue(m_Pen.colour));
    uchar* bits = image->bits();
    const qsizetype stride = image->bytesPerLine();
    for (int y = y0; y <= y1; ++y)
        std::fill(reinterpret_cast<QRgb*>(bits + y * stride) + x0,
                  reinterpret_cast<QRgb*>(bits + y * stride) + x1 + 1, colour);
    return true;
}

void CQtCanvas::FillPolygon(const std::vector<CanvasPoint>& points, Rgb fill) {
    if (points.empty()) return;
    if (fill == m_Pen.colour && IsBatchable() && FillRectangleDirectly(points)) return;
    ApplyPen();
    QPolygon polygon(static_cast<int>(points.size()));
    for (size_t i = 0; i < points.size(); ++i)
        polygon.setPoint(static_cast<int>(i), points[i].x, points[i].y);
    m_Painter.setBrush(ToQColor(fill));
    m_Painter.drawPolygon(polygon);
    m_Painter.setBrush(Qt::NoBrush);
}

void CQtCanvas::DrawEllipse(int left, int top, int right, int bottom) {
    ApplyPen();
    m_Painter.drawEllipse(QRect(QPoint(left, top), QPoint(right, bottom)));
}

const QStaticText& CQtCanvas::StaticText(const FontEntry& entry, const QString& text) {
    static thread_local QHash<QString, QStaticText> cache;
    const QString key = QString::number(entry.qfont.pixelSize()) + (entry.font.bold ? "b" : "-") +
                        (entry.font.italic ? "i" : "-") + QString::fromStdString(entry.font.faceName) + "|" +
                        text;
    auto it = cache.find(key);
    if (it == cache.end()) {
        if (cache.size() > 4096) cache.clear();
        QStaticText st(text);
        st.setTextFormat(Qt::PlainText);
        st.prepare(QTransform(), entry.qfont);
        it = cache.insert(key, st);
    }
    return *it;
}

CQtCanvas::FontEntry& CQtCanvas::GetFont(const CanvasFont& font) {
    for (FontEntry& entry : m_Fonts)
        if (SameFont(entry.font, font)) return entry;
    if (m_Fonts.size() >= 32) m_Fonts.erase(m_Fonts.begin());
    FontEntry entry;
    entry.font = font;
    entry.qfont = QFont(QString::fromStdString(font.faceName));
    // Font heights are cell heights (ascent + descent); the em is about nine tenths of that.
    entry.qfont.setPixelSize(std::max(1, static_cast<int>(std::lround(font.height * 0.9))));
    entry.qfont.setBold(font.bold);
    entry.qfont.setItalic(font.italic);
    // No ligatures: "fl" stays two letters, so the text of a printed page or PDF reads back and
    // is found by a search as it was written, whatever the font offers.
    entry.qfont.setStyleStrategy(QFont::PreferNoShaping);
    entry.metrics = std::make_unique<QFontMetrics>(entry.qfont);
    entry.id = ++m_iFontCount;
    m_Fonts.push_back(std::move(entry));
    return m_Fonts.back();
}

void CQtCanvas::Text(int x, int y, const std::string& text, const CanvasFont& font, Rgb colour,
                     const Rgb* background) {
    if (text.empty() || font.height < 1) return;
    Flush();
    FontEntry& entry = GetFont(font);
    const QString qtext = QString::fromUtf8(text.data(), static_cast<int>(text.size()));
    if (font.escapement == 0 && m_Painter.transform().type() <= QTransform::TxTranslate) {
        // Level text needs no turned painter: the same pixels, placed by the offset, without
        // saving and restoring the painter's whole state for each of a plan's thousand labels.
        if (background)
            m_Painter.fillRect(QRect(x, y, entry.metrics->horizontalAdvance(qtext), entry.metrics->height()),
                               ToQColor(*background));
        if (m_iFontSet != entry.id) {
            m_Painter.setFont(entry.qfont);
            m_iFontSet = entry.id;
        }
        m_Painter.setPen(ToQColor(colour));
        const bool plain =
            std::none_of(qtext.begin(), qtext.end(), [](QChar c) { return c.unicode() < 0x20; });
        if (plain && entry.qfont.pixelSize() < kMaxStaticTextPixels)
            m_Painter.drawStaticText(QPoint(x, y), StaticText(entry, qtext));
        else
            m_Painter.drawText(QPoint(x, y + entry.metrics->ascent()), qtext);
        m_bPenApplied = false;
        return;
    }
    m_Painter.save();
    m_Painter.translate(x, y);
    if (font.escapement != 0) m_Painter.rotate(-font.escapement / 10.0);
    if (background)
        m_Painter.fillRect(QRect(0, 0, entry.metrics->horizontalAdvance(qtext), entry.metrics->height()),
                           ToQColor(*background));
    m_Painter.setFont(entry.qfont);
    m_Painter.setPen(ToQColor(colour));
    m_Painter.drawText(QPoint(0, entry.metrics->ascent()), qtext);
    m_Painter.restore();
    m_bPenApplied = false;
}

void CQtCanvas::DrawText(int x, int y, const std::string& text, const CanvasFont& font, Rgb colour) {
    Text(x, y, text, font, colour, nullptr);
}

void CQtCanvas::DrawTextOpaque(int x, int y, const std::string& text, const CanvasFont& font, Rgb colour,
                               Rgb background) {
    Text(x, y, text, font, colour, &background);
}

int CQtCanvas::GetTextWidth(const std::string& text, const CanvasFont& font) {
    if (font.height < 1) return 0;
    return GetFont(font).metrics->horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

void CQtCanvas::SetPixel(int x, int y, Rgb colour) {
    PixelBatch* batch = nullptr;
    for (size_t i = 0; i < m_PixelBatchCount; ++i)
        if (m_PixelBatches[i].colour == colour) batch = &m_PixelBatches[i];
    if (!batch) {
        if (m_PixelBatchCount == m_PixelBatches.size()) m_PixelBatches.emplace_back();
        batch = &m_PixelBatches[m_PixelBatchCount++];
        batch->colour = colour;
        batch->pixels.clear();
    }
    batch->pixels.emplace_back(x, y);
    m_bPending = true;
}

void CQtCanvas::FillRect(int left, int top, int right, int bottom, Rgb colour) {
    Flush();
    m_Painter.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(colour));
}

void CQtCanvas::PushClipRect(int left, int top, int right, int bottom) {
    Flush();
    m_Painter.save();
    m_Painter.setClipRect(QRect(left, top, right - left, bottom - top), Qt::IntersectClip);
    ++m_iClipDepth;
}

void CQtCanvas::PopClipRect() {
    if (m_iClipDepth == 0) return;
    Flush();
    m_Painter.restore();
    --m_iClipDepth;
    m_bPenApplied = false;
    m_iFontSet = -1; // the font set inside the clip is undone too
}
