// The highlighter's attributes kept in an ini file, a section per attribute.
#include "editor/NibEditHighlighter.h"
#include "platform/Folders.h"
#include "platform/IniFile.h"

bool TNibCustomHighlighter::LoadFromFile(const UnicodeString& FileName)
{
    if (!FileExists(FileName)) return false;
    const TIniFile ini(FileName);
    bool all = true;
    // One notification when anything changed, none otherwise; a caller's own loading phase stays
    // open until its Loaded.
    BeginUpdate();
    for (int i = 0; i < AttributeCount(); ++i) {
        TNibHighlighterAttributes& a = *AttributeAt(i);
        if (!ini.SectionExists(a.Name())) {
            all = false;
            continue;
        }
        a.SetBackground(ini.ReadInteger(a.Name(), u"Background", a.Background()));
        a.SetForeground(ini.ReadInteger(a.Name(), u"Foreground", a.Foreground()));
        a.SetStyle(TFontStyles(ini.ReadInteger(a.Name(), u"Style", a.Style())));
    }
    EndUpdate();
    return all;
}

bool TNibCustomHighlighter::SaveToFile(const UnicodeString& FileName) const
{
    TIniFile ini(FileName);
    for (int i = 0; i < AttributeCount(); ++i) {
        const TNibHighlighterAttributes& a = *AttributeAt(i);
        ini.WriteInteger(a.Name(), u"Background", a.Background());
        ini.WriteInteger(a.Name(), u"Foreground", a.Foreground());
        ini.WriteInteger(a.Name(), u"Style", a.Style());
    }
    return ini.UpdateFile();
}
