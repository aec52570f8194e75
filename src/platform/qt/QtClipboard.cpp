#include "platform/qt/QtClipboard.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

QString PrivateFormatMimeType(const UnicodeString& name)
{
    return QStringLiteral("application/x-tavlo-format;name=\"%1\"").arg(QString::fromStdU16String(name));
}

bool QtClipboard::HasText() const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

UnicodeString QtClipboard::Text() const { return QGuiApplication::clipboard()->text().toStdU16String(); }

void QtClipboard::SetText(const UnicodeString& text)
{
    QGuiApplication::clipboard()->setText(QString::fromStdU16String(text));
}

bool QtClipboard::HasFormat(const UnicodeString& name) const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(PrivateFormatMimeType(name));
}

std::string QtClipboard::FormatData(const UnicodeString& name) const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data) return {};
    QByteArray bytes = data->data(PrivateFormatMimeType(name));
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

void QtClipboard::AddFormat(const UnicodeString& name, std::string_view bytes)
{
    // The clipboard takes a whole new set of formats: copy what it holds and add the new one.
    auto* data = new QMimeData;
    if (const QMimeData* old = QGuiApplication::clipboard()->mimeData()) {
        for (const QString& format : old->formats()) data->setData(format, old->data(format));
        if (old->hasText()) data->setText(old->text());
    }
    data->setData(PrivateFormatMimeType(name), QByteArray(bytes.data(), qsizetype(bytes.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}
