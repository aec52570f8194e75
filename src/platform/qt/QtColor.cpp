#include "platform/qt/QtColor.h"
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPalette>

namespace {

// The system colour indexes that the forms use, and where the palette keeps them.
QPalette::ColorRole SystemColorRole(int index)
{
    switch (index) {
    case 5: return QPalette::Base;             // window background
    case 8: return QPalette::Text;             // window text
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;          // button face
    case 18: return QPalette::ButtonText;
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    default: return QPalette::Window;
    }
}

}  // namespace

QColor ToQColor(TColor color)
{
    if (color == clNone) return QColor(Qt::transparent);
    if (color < 0) {
        int index = color & 0xFF;
        if (index == 17) return QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text);  // grey text
        return QGuiApplication::palette().color(QPalette::Active, SystemColorRole(index));
    }
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

TColor FromQColor(const QColor& color)
{
    QColor rgb = color.toRgb();
    return RGB(std::uint8_t(rgb.red()), std::uint8_t(rgb.green()), std::uint8_t(rgb.blue()));
}

namespace {

/// The face that stands in for a missing one: the system's fixed-pitch font as the font matcher
/// resolves it for a fixed-pitch hint, or, where that is not fixed-pitch after all, the first
/// scalable fixed-pitch face installed. Never a proportional face drawn into fixed cells.
QString FixedPitchFamily()
{
    QFont probe(QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    probe.setStyleHint(QFont::TypeWriter, QFont::PreferMatch);
    const QFontInfo resolved(probe);
    if (resolved.fixedPitch()) return resolved.family();
    for (const QString& family : QFontDatabase::families())
        if (QFontDatabase::isFixedPitch(family) && QFontDatabase::isSmoothlyScalable(family)) return family;
    return resolved.family();
}

/// A face this system does not have (settings made elsewhere) gives way to a fixed-pitch face.
/// The answer is kept: asking the font database is slow, and self-drawn controls change fonts
/// many times in every paint.
QString InstalledFamily(const QString& family)
{
    static QHash<QString, QString> installed;
    auto it = installed.constFind(family);
    if (it == installed.constEnd())
        it = installed.insert(family, QFontDatabase::hasFamily(family) ? family : FixedPitchFamily());
    return *it;
}

} // namespace

QFont ToQFont(const TFont& font)
{
    QString family = QString::fromStdU16String(font.Name);
    // The stored name stays as it was. The font database needs the application.
    if (qGuiApp) family = InstalledFamily(family);
    QFont q(family);
    q.setStyleHint(QFont::TypeWriter, QFont::PreferMatch);
    int height = font.Height < 0 ? -font.Height : font.Height;
    q.setPixelSize(height > 0 ? height : 13);
    if (font.Height > 0) {
        // A cell height: shrink the character height by the font's own leading.
        int cell = QFontMetrics(q).height();
        if (cell > height) q.setPixelSize(std::max(1, height * height / cell));
    }
    q.setBold(HasStyle(font.Style, TFontStyle::fsBold));
    q.setItalic(HasStyle(font.Style, TFontStyle::fsItalic));
    q.setUnderline(HasStyle(font.Style, TFontStyle::fsUnderline));
    q.setStrikeOut(HasStyle(font.Style, TFontStyle::fsStrikeOut));
    switch (font.Quality) {
    case TFontQuality::fqNonAntialiased: q.setStyleStrategy(QFont::NoAntialias); break;
    case TFontQuality::fqAntialiased:
    case TFontQuality::fqClearType: q.setStyleStrategy(QFont::PreferAntialias); break;
    case TFontQuality::fqDefault: break;
    }
    return q;
}

TFont FromQFont(const QFont& font, TColor color)
{
    TFont f;
    f.Name = font.family().toStdU16String();
    int pixels = font.pixelSize();
    if (pixels <= 0) pixels = (font.pointSize() * 96 + 36) / 72;
    f.Height = -pixels;
    f.Style = TFontStyles((font.bold() ? std::uint8_t(TFontStyle::fsBold) : 0) |
                          (font.italic() ? std::uint8_t(TFontStyle::fsItalic) : 0) |
                          (font.underline() ? std::uint8_t(TFontStyle::fsUnderline) : 0) |
                          (font.strikeOut() ? std::uint8_t(TFontStyle::fsStrikeOut) : 0));
    f.Color = color;
    return f;
}
