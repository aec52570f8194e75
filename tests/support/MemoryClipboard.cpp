#include "support/MemoryClipboard.h"

MemoryClipboard::MemoryClipboard()
{
    SetCurrent(this);
}

bool MemoryClipboard::HasText() const
{
    return fText.has_value();
}

UnicodeString MemoryClipboard::Text() const
{
    return fText.value_or(UnicodeString());
}

void MemoryClipboard::SetText(const UnicodeString& text)
{
    Clear();
    fText = text;
}

bool MemoryClipboard::HasFormat(const UnicodeString& name) const
{
    return fFormats.count(name) != 0;
}

std::string MemoryClipboard::FormatData(const UnicodeString& name) const
{
    auto it = fFormats.find(name);
    return it == fFormats.end() ? std::string() : it->second;
}

void MemoryClipboard::AddFormat(const UnicodeString& name, std::string_view bytes)
{
    fFormats[name] = std::string(bytes);
}

void MemoryClipboard::Clear()
{
    fText.reset();
    fFormats.clear();
}
