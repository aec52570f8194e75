#include "app/DisplayLines.h"

void GetDisplayLines(const TSimpleTerminal& terminal, TStringList& Lines)
{
    Lines.Clear();
    UnicodeString line;
    for (int row = 0; row < terminal.Rows(); ++row) {
        line.clear();
        for (int column = 0; column < terminal.Columns(); ++column)
            line.push_back(terminal.GetCharAtXY(column, row).Character);
        Lines.Add(TrimRight(line));
    }
    while (Lines.Count() > 0 && Lines[Lines.Count() - 1].empty()) Lines.Delete(Lines.Count() - 1);
}

UnicodeString SaveDisplayText(const TSimpleTerminal& terminal, const UnicodeString& fileName)
{
    TStringList lines;
    GetDisplayLines(terminal, lines);
    UnicodeString error;
    lines.SaveToFile(fileName, &error);
    return error;
}
