#include "platform/qt/QtCanvas.h"
#include <cstring>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include "platform/qt/QtColor.h"

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

QtCanvas::QtCanvas(QImage& image) : fImage(image), fQFont(ToQFont(fFont)) {}

// One painter serves a run of drawing calls; beginning one for every call would cost more than the
// drawing of a cell.
QPainter* QtCanvas::Painter()
{
    if (fImage.isNull()) return nullptr;
    if (!fPainter.isActive()) {
        fPainter.begin(&fImage);
        if (fClip) fPainter.setClipRect(*fClip);
    }
    return &fPainter;
}

void QtCanvas::Flush()
{
    if (fPainter.isActive()) fPainter.end();
}

void QtCanvas::SetFont(const TFont& font)
{
    fFont = font;
    fQFont = ToQFont(font);
    fRawFont.reset();
    fTextColor = font.Color;
}

void QtCanvas::FillRect(const TRect& r)
{
    if (fBrushStyle == TBrushStyle::bsClear || r.IsEmpty()) return;
    if (QPainter* p = Painter()) p->fillRect(ToQRect(r), ToQColor(fBrushColor));
}

void QtCanvas::FrameRect(const TRect& r)
{
    QPainter* p = Painter();
    if (r.IsEmpty() || !p) return;
    // A one-pixel frame inside the rectangle, in the brush colour.
    QColor c = ToQColor(fBrushColor);
    p->fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
    p->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
    p->fillRect(QRect(r.Left, r.Top, 1, r.Height()), c);
    p->fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), c);
}

void QtCanvas::MoveTo(int x, int y) { fPenPos = QPoint(x, y); }

void QtCanvas::LineTo(int x, int y)
{
    QPoint from = fPenPos;
    QPoint to(x, y);
    fPenPos = to;
    // The end point is not drawn, so lines that meet do not overlap.
    QPoint last = to;
    if (from.y() == to.y() && from.x() != to.x()) last.rx() += from.x() < to.x() ? -1 : 1;
    else if (from.x() == to.x() && from.y() != to.y()) last.ry() += from.y() < to.y() ? -1 : 1;
    else if (from == to) return;
    QPainter* p = Painter();
    if (!p) return;
    QPen pen(ToQColor(fPenColor));
    pen.setWidth(fPenWidth <= 1 ? 0 : fPenWidth);
    p->setPen(pen);
    p->drawLine(from, last);
}

void QtCanvas::ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::u16string_view text,
                          const int* dx)
{
    QFontMetrics fm(fQFont);
    int width = 0;
    if (dx) {
        for (std::size_t i = 0; i < text.size(); ++i) width += dx[i];
    } else {
        width = fm.horizontalAdvance(QString::fromRawData(reinterpret_cast<const QChar*>(text.data()),
                                                          qsizetype(text.size())));
    }
    QPainter* p = Painter();
    if (!p) return;
    bool clipped = rect && (options & ETO_CLIPPED);
    if (clipped) {
        p->save();
        p->setClipRect(ToQRect(*rect), fClip ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    if (rect && (options & ETO_OPAQUE)) p->fillRect(ToQRect(*rect), ToQColor(fBrushColor));
    else if (fBrushStyle == TBrushStyle::bsSolid) p->fillRect(QRect(x, y, width, fm.height()), ToQColor(fBrushColor));
    if (!text.empty()) {
        p->setFont(fQFont);
        p->setPen(ToQColor(fTextColor));
        int baseline = y + fm.ascent();
        if (!dx) {
            p->drawText(QPoint(x, baseline),
                        QString::fromRawData(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size())));
        } else if (!DrawGlyphRun(*p, x, baseline, text, dx)) {
            // One advance per code unit: each character goes to its own place; a surrogate pair is
            // drawn at its first unit's place.
            int pos = x;
            for (std::size_t i = 0; i < text.size(); ++i) {
                std::size_t n = QChar::isHighSurrogate(text[i]) && i + 1 < text.size() ? 2 : 1;
                p->drawText(QPoint(pos, baseline), QString(reinterpret_cast<const QChar*>(&text[i]), qsizetype(n)));
                pos += dx[i];
                if (n == 2) pos += dx[++i];
            }
        }
    }
    if (clipped) p->restore();
}

// Characters at given advances in one call: the font's own glyphs placed one by one, without
// shaping. Text with surrogates or with characters the font lacks (which need a fallback font)
// is left to the caller.
bool QtCanvas::DrawGlyphRun(QPainter& painter, int x, int baseline, std::u16string_view text, const int* dx)
{
    if (!fRawFont) fRawFont = QRawFont::fromFont(fQFont);
    if (!fRawFont->isValid()) return false;
    const QString s = QString::fromRawData(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
    QList<quint32> glyphs = fRawFont->glyphIndexesForString(s);
    if (glyphs.size() != s.size()) return false;
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    int pos = x;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        if (glyphs[i] == 0 && !s[i].isSpace()) return false;
        positions.append(QPointF(pos, baseline));
        pos += dx[i];
    }
    QGlyphRun run;
    run.setRawFont(*fRawFont);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.drawGlyphRun(QPointF(0, 0), run);
    // The lines under and through the text span the advances given, not the glyphs' own.
    if (fQFont.underline() || fQFont.strikeOut()) {
        const QFontMetrics fm(fQFont);
        const int thickness = std::max(1, fm.lineWidth());
        const QColor color = painter.pen().color();
        if (fQFont.underline()) painter.fillRect(QRect(x, baseline + fm.underlinePos(), pos - x, thickness), color);
        if (fQFont.strikeOut()) painter.fillRect(QRect(x, baseline - fm.strikeOutPos(), pos - x, thickness), color);
    }
    return true;
}

TSize QtCanvas::TextExtent(std::u16string_view text)
{
    QFontMetrics fm(fQFont);
    QString s = QString::fromRawData(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
    return {fm.horizontalAdvance(s), fm.height()};
}

TABC QtCanvas::CharABCWidths(char16_t c)
{
    QFontMetrics fm(fQFont);
    QChar ch(c);
    TABC abc;
    abc.A = fm.leftBearing(ch);
    abc.C = fm.rightBearing(ch);
    abc.B = fm.horizontalAdvance(ch) - abc.A - abc.C;
    return abc;
}

TTextMetric QtCanvas::TextMetrics()
{
    QFontMetrics fm(fQFont);
    TTextMetric tm;
    tm.Height = fm.height();
    tm.Ascent = fm.ascent();
    tm.Descent = fm.descent();
    tm.InternalLeading = std::max(0, fm.height() - fQFont.pixelSize());
    tm.ExternalLeading = fm.leading();
    tm.AveCharWidth = fm.averageCharWidth();
    tm.MaxCharWidth = fm.maxWidth();
    return tm;
}

void QtCanvas::SetClipRect(const TRect& r)
{
    fClip = ToQRect(r);
    if (fPainter.isActive()) fPainter.setClipRect(*fClip);
}

void QtCanvas::ClearClip()
{
    fClip.reset();
    if (fPainter.isActive()) fPainter.setClipping(false);
}

TRect QtCanvas::ClipBox() const
{
    const QRect r = fClip ? *fClip : fImage.rect();
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

void QtCanvas::CopyRect(const TRect& dest, const Bitmap& src, const TRect& srcRect)
{
    auto* bitmap = dynamic_cast<const QtBitmap*>(&src);
    if (!bitmap || bitmap->Image().isNull()) return;
    if (QPainter* p = Painter()) p->drawImage(ToQRect(dest), bitmap->Image(), ToQRect(srcRect));
}

void QtCanvas::CopyRectTransparent(const TRect& dest, const Bitmap& src, const TRect& srcRect, TColor transparent)
{
    auto* bitmap = dynamic_cast<const QtBitmap*>(&src);
    if (!bitmap || bitmap->Image().isNull()) return;
    QImage part = bitmap->Image().copy(ToQRect(srcRect)).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(transparent).rgb();
    for (int y = 0; y < part.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF)) line[x] = 0;
        }
    }
    if (QPainter* p = Painter()) p->drawImage(ToQRect(dest), part);
}

void QtCanvas::ScrollBand(const TRect& r, int dx, int dy)
{
    if (r.IsEmpty() || fImage.isNull()) return;
    Flush();
    if (dx == 0 && fImage.depth() % 8 == 0) {
        // Rows move within the image's own memory: no copy of the band, no painter.
        const QRect band = ToQRect(r).intersected(fImage.rect());
        const int rows = band.height() - std::abs(dy);
        if (band.isEmpty() || rows <= 0 || dy == 0) return;
        const qsizetype stride = fImage.bytesPerLine();
        const qsizetype pixel = fImage.depth() / 8;
        uchar* bits = fImage.bits();
        const int from = dy < 0 ? band.top() - dy : band.top();
        auto line = [&](int y) { return bits + y * stride + band.left() * pixel; };
        if (band.width() == fImage.width()) {
            std::memmove(line(from + dy), line(from), std::size_t(rows * stride));
        } else if (dy < 0) {
            for (int i = 0; i < rows; ++i) std::memmove(line(from + dy + i), line(from + i), std::size_t(band.width() * pixel));
        } else {
            for (int i = rows - 1; i >= 0; --i) std::memmove(line(from + dy + i), line(from + i), std::size_t(band.width() * pixel));
        }
        return;
    }
    QImage band = fImage.copy(ToQRect(r));
    QPainter* p = Painter();
    p->save();
    p->setClipRect(ToQRect(r));
    p->drawImage(QPoint(r.Left + dx, r.Top + dy), band);
    p->restore();
}

void QtCanvas::InvertRect(const TRect& r)
{
    QPainter* p = Painter();
    if (r.IsEmpty() || !p) return;
    p->save();
    p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p->fillRect(ToQRect(r), Qt::white);
    p->restore();
}

QtBitmap::QtBitmap(int width, int height) { SetSize(width, height); }

const QImage& QtBitmap::Image() const
{
    fCanvas.Flush();
    return fImage;
}

void QtBitmap::SetSize(int width, int height)
{
    if (width == fImage.width() && height == fImage.height()) return;
    fCanvas.Flush();
    fImage = width > 0 && height > 0 ? QImage(width, height, QImage::Format_RGB32) : QImage();
    if (!fImage.isNull()) fImage.fill(Qt::white);
}

std::unique_ptr<Bitmap> QtGraphicsFactory::CreateBitmap(int width, int height)
{
    return std::make_unique<QtBitmap>(width, height);
}

TColor QtGraphicsFactory::SystemColor(int index) const
{
    return FromQColor(ToQColor(TColor(0xFF000000u | std::uint32_t(index & 0xFF))));
}
