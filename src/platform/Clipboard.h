#pragma once
// The system clipboard: Unicode text, and private formats that only programs knowing their name read.
#include <string>
#include <string_view>
#include "platform/Text.h"

/// The clipboard of the running program: the toolkit's, or an in-memory fake in tests.
class Clipboard {
public:
    virtual ~Clipboard();

    /// True when the clipboard holds text (of any encoding the toolkit can convert).
    virtual bool HasText() const = 0;
    /// The clipboard's text; empty when it holds none.
    virtual UnicodeString Text() const = 0;
    /// Empties the clipboard, then puts text on it.
    virtual void SetText(const UnicodeString& text) = 0;

    /// Private formats by name ("NibEdit Control Block Type"), carried as bytes.
    virtual bool HasFormat(const UnicodeString& name) const = 0;
    /// The bytes of a private format; empty when the clipboard does not hold it.
    virtual std::string FormatData(const UnicodeString& name) const = 0;
    /// Adds a private format to what the clipboard holds now; the text stays.
    virtual void AddFormat(const UnicodeString& name, std::string_view bytes) = 0;

    /// The clipboard service in use; throws std::logic_error when none is set.
    static Clipboard& Current();
    /// Installs the service (nullptr removes it); a service removes itself when destroyed.
    static void SetCurrent(Clipboard* clipboard);
};
