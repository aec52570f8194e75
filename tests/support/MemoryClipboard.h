#pragma once
// A Clipboard fake held in memory.
#include <map>
#include <optional>
#include "platform/Clipboard.h"

class MemoryClipboard : public Clipboard {
public:
    /// Installs itself as the current clipboard.
    MemoryClipboard();

    bool HasText() const override;
    UnicodeString Text() const override;
    void SetText(const UnicodeString& text) override;
    bool HasFormat(const UnicodeString& name) const override;
    std::string FormatData(const UnicodeString& name) const override;
    void AddFormat(const UnicodeString& name, std::string_view bytes) override;

    /// Empties the clipboard, as another program taking it would.
    void Clear();

private:
    std::optional<UnicodeString> fText;
    std::map<UnicodeString, std::string> fFormats;
};
