#pragma once
// The system clipboard through Qt.
#include <QString>
#include "platform/Clipboard.h"

class QtClipboard : public Clipboard {
public:
    bool HasText() const override;
    UnicodeString Text() const override;
    void SetText(const UnicodeString& text) override;
    bool HasFormat(const UnicodeString& name) const override;
    std::string FormatData(const UnicodeString& name) const override;
    void AddFormat(const UnicodeString& name, std::string_view bytes) override;
};

/// The MIME type that carries a private format of the given name.
QString PrivateFormatMimeType(const UnicodeString& name);
