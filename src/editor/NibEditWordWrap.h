#pragma once
// Word wrap: each buffer line shown as rows no wider than the window, and the positions between the
// two.
#include <cstdint>
#include <vector>
#include "editor/NibEditBufferPlugin.h"
#include "platform/Text.h"

/// What the word wrap reads of its editor.
class INibWrapLineProvider {
public:
    virtual ~INibWrapLineProvider() = default;
    /// Columns that fit in the window; 0 turns wrapping off.
    virtual int CharsInWindow() const = 0;
    virtual int LineCount() const = 0;
    /// A line (0-based) as displayed: tabs expanded, fillers before each wide glyph.
    virtual UnicodeString ExpandedLine(int Index) const = 0;
    /// The editor's break test, as its highlighter has it.
    virtual bool IsWordBreakChar(char16_t C) const = 0;
};

class TNibWordWrapPlugin : public INibEditBufferPlugin {
public:
    /// Throws ENibError when there is no editor.
    explicit TNibWordWrapPlugin(INibWrapLineProvider* AOwner);

    TDisplayCoord BufferToDisplayPos(const TBufferCoord& aPos) override;
    TBufferCoord DisplayToBufferPos(const TDisplayCoord& aPos) override;
    int RowCount() const override { return fLineOffsets.empty() ? 0 : fLineOffsets.back(); }
    /// A row outside 1..RowCount throws std::out_of_range.
    int GetRowLength(int aRow) const override;
    int LinesInserted(int aIndex, int aCount) override;
    int LinesDeleted(int aIndex, int aCount) override;
    int LinesPutted(int aIndex, int aCount) override;
    void DisplayChanged() override;
    void Reset() override;

    int LineCount() const { return int(fLineOffsets.size()); }
    int MaxRowLength() const { return fMaxRowLength; }
    int MinRowLength() const { return fMinRowLength; }

private:
    /// First row (0-based) of a line (0-based).
    int FirstRow(int aLine) const { return aLine == 0 ? 0 : fLineOffsets[std::size_t(aLine - 1)]; }
    /// The row lengths of one line.
    void WrapLine(int aIndex, std::vector<std::uint16_t>& rows) const;
    /// Wraps a line again in place; returns the change of its row count.
    int ReWrapLine(int aIndex);
    void WrapLines();

    /// Rows of lines 0..i together, per line i.
    std::vector<int> fLineOffsets;
    std::vector<std::uint16_t> fRowLengths;
    INibWrapLineProvider* fEditor;
    int fMinRowLength = 0;
    int fMaxRowLength = 0;
};
