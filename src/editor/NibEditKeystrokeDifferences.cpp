// The editor control: its key bindings kept as differences from the default bindings, in a stream
// of named keystroke tables.
#include <istream>
#include <ostream>
#include <string>
#include "editor/NibEdit.h"

namespace {

constexpr char kRemoved[] = "RemovedKeystrokes";
constexpr char kAdded[] = "AddedKeystrokes";

bool SameBindings(const TNibEditKeyStrokes& a, const TNibEditKeyStrokes& b)
{
    if (a.Count() != b.Count()) return false;
    for (int i = 0; i < a.Count(); ++i) {
        const TNibEditKeyStroke& x = a.Items(i);
        const TNibEditKeyStroke& y = b.Items(i);
        if (x.Command() != y.Command() || x.GetShortCut() != y.GetShortCut() || x.GetShortCut2() != y.GetShortCut2())
            return false;
    }
    return true;
}

/// The binding of Keys with the same chords and command as Stroke, or -1.
int SameBinding(const TNibEditKeyStrokes& Keys, const TNibEditKeyStroke& Stroke)
{
    const int found = Keys.FindShortcut2(Stroke.GetShortCut(), Stroke.GetShortCut2());
    return found >= 0 && Keys.Items(found).Command() == Stroke.Command() ? found : -1;
}

void WriteTable(std::ostream& Stream, const char* Name, const TNibEditKeyStrokes& Keys)
{
    const std::string name = Name;
    Stream.put(char(name.size()));
    Stream.write(name.data(), std::streamsize(name.size()));
    Keys.SaveToStream(Stream);
}

} // namespace

void TCustomNibEdit::WriteKeystrokeDifferences(std::ostream& Stream) const
{
    TNibEditKeyStrokes defaults(nullptr);
    defaults.ResetDefaults();
    if (SameBindings(*fKeyStrokes, defaults)) return;
    TNibEditKeyStrokes removed(nullptr);
    for (int i = 0; i < defaults.Count(); ++i)
        if (SameBinding(*fKeyStrokes, defaults.Items(i)) < 0) removed.Add().Assign(defaults.Items(i));
    TNibEditKeyStrokes added(nullptr);
    for (int i = 0; i < fKeyStrokes->Count(); ++i)
        if (SameBinding(defaults, fKeyStrokes->Items(i)) < 0) added.Add().Assign(fKeyStrokes->Items(i));
    WriteTable(Stream, kRemoved, removed);
    WriteTable(Stream, kAdded, added);
}

void TCustomNibEdit::ReadKeystrokeDifferences(std::istream& Stream)
{
    // Everything is read before anything changes, so a damaged stream leaves the bindings alone.
    TNibEditKeyStrokes removed(nullptr);
    TNibEditKeyStrokes added(nullptr);
    for (int length; (length = Stream.get()) != std::char_traits<char>::eof();) {
        std::string name(std::size_t(length), '\0');
        if (!Stream.read(name.data(), length)) throw ENibError("Keystroke stream ends early");
        if (name == kRemoved) removed.LoadFromStream(Stream);
        else if (name == kAdded) added.LoadFromStream(Stream);
        else throw ENibError("Unknown keystroke table \"" + name + "\"");
    }
    for (int i = 0; i < removed.Count(); ++i) {
        const int found = SameBinding(*fKeyStrokes, removed.Items(i));
        if (found >= 0) fKeyStrokes->Delete(found);
    }
    for (int i = 0; i < added.Count(); ++i) fKeyStrokes->Add().Assign(added.Items(i));
}
