#include "blocks/BlockStatus.h"
#include "blocks/BlockLines.h"

TBlockPosition GetBlockPosition(int row, int lineCount)
{
    // No lines: no current line either, so every number shows as dashes.
    if (lineCount < 1) return {};
    return {row + 1, row / BlockLinesPerBlock + 1, (lineCount + BlockLinesPerBlock - 1) / BlockLinesPerBlock, lineCount,
            row % BlockLinesPerBlock + 1};
}

UnicodeString NumberOrDashes(int N) { return N < 1 ? UnicodeString(u"--") : IntToStr(N); }

UnicodeString BlockFileNameText(const UnicodeString& fileName) { return fileName.empty() ? UnicodeString(u"(none)") : fileName; }
