#include <random>

#include "editor/EditorFixture.h"

namespace {

/// Random edits of every kind the control offers: typing, line breaks, replacing a selection,
/// cutting, and pasting in each of the three modes, in insert and overwrite mode.
class RandomEdits {
public:
    RandomEdits(TNibEdit& edit, MemoryClipboard& clipboard, unsigned seed) : fEdit(edit), fClipboard(clipboard), fRng(seed)
    {
        // No tabs: a column block whose edge falls inside a tab takes the whole tab, which a column
        // insertion at one display column cannot put back on every row.
        fAlphabet = seed % 2 ? u"ab  " : u"xyz ";
    }

    /// Makes one random edit and describes it.
    std::string Step()
    {
        const int count = std::max(fEdit.Lines().Count(), 1);
        const TBufferCoord a{Pick(1, 12), Pick(1, count)};
        const TBufferCoord b{Pick(1, 12), Pick(1, count)};
        fEdit.SetInsertMode(Pick(0, 4) > 0);
        fEdit.SetSelectionMode(TNibSelectionMode(Pick(0, 2)));
        switch (Pick(0, 5)) {
        case 0: {
            const UnicodeString typed = Text(0);
            fEdit.SetCaretXY(a);
            for (char16_t c : typed) fEdit.CommandProcessor(ecChar, c, nullptr);
            return "type";
        }
        case 1:
            fEdit.SetCaretXY(a);
            fEdit.CommandProcessor(ecLineBreak, u'\r', nullptr);
            return "line break";
        case 2:
            fEdit.SetCaretAndSelection(b, a, b);
            fEdit.SetSelText(Text(2));
            return "replace selection";
        case 3:
            fEdit.SetCaretAndSelection(b, a, b);
            fEdit.CutToClipboard();
            return "cut";
        default: {
            const UnicodeString t = Text(2);
            const int mode = Pick(0, 2);
            fClipboard.SetText(t);
            fClipboard.AddFormat(NibEditClipboardFormat, std::string(1, char(mode)) + ToAnsi(t) + '\0');
            if (Pick(0, 1)) fEdit.SetCaretAndSelection(b, a, b);
            else fEdit.SetCaretXY(a);
            fEdit.PasteFromClipboard();
            return "paste in mode " + std::to_string(mode);
        }
        }
    }

private:
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(fRng); }
    UnicodeString Text(int maxBreaks)
    {
        UnicodeString t;
        const int lines = Pick(0, maxBreaks);
        for (int l = 0; l <= lines; ++l) {
            if (l > 0) t += u"\r\n";
            for (int n = Pick(0, 4); n > 0; --n) t += fAlphabet[std::size_t(Pick(0, 3))];
        }
        return t;
    }

    TNibEdit& fEdit;
    MemoryClipboard& fClipboard;
    std::mt19937 fRng;
    UnicodeString fAlphabet;
};

const std::vector<UnicodeString> StartLines{u"abc def", u"  ghi", u"", u"jklmno pq"};

} // namespace

TEST_F(EditorTest, RandomEditsUndoAndRedoToTheirEnds)
{
    for (unsigned seed = 1; seed <= 100; ++seed) {
        SetLines(StartLines);
        edit.ClearUndo();
        edit.SetModified(false);
        const UnicodeString start = edit.Text();
        RandomEdits edits(edit, clipboard, seed);
        for (int step = 0; step < 60; ++step) edits.Step();
        const UnicodeString end = edit.Text();
        while (edit.CanUndo()) edit.Undo();
        ASSERT_EQ(ToUtf8(edit.Text()), ToUtf8(start)) << "seed " << seed;
        EXPECT_FALSE(edit.Modified()) << "seed " << seed;
        while (edit.CanRedo()) edit.Redo();
        ASSERT_EQ(ToUtf8(edit.Text()), ToUtf8(end)) << "seed " << seed;
        EXPECT_EQ(edit.Modified(), end != start) << "seed " << seed;
    }
}

TEST_F(EditorTest, EachRandomEditUndoesAndRedoesExactly)
{
    edit.SetOptions(TNibEditorOptions(edit.Options()).Exclude(eoGroupUndo));
    for (unsigned seed = 1; seed <= 100; ++seed) {
        SetLines(StartLines);
        edit.ClearUndo();
        RandomEdits edits(edit, clipboard, seed);
        for (int step = 0; step < 60; ++step) {
            const UnicodeString before = edit.Text();
            const std::string what = edits.Step();
            const UnicodeString after = edit.Text();
            int undone = 0;
            while (edit.Text() != before && edit.CanUndo() && undone < 100) {
                edit.Undo();
                ++undone;
            }
            ASSERT_EQ(ToUtf8(edit.Text()), ToUtf8(before)) << "seed " << seed << " step " << step << ": " << what;
            for (int i = 0; i < undone; ++i) edit.Redo();
            ASSERT_EQ(ToUtf8(edit.Text()), ToUtf8(after)) << "seed " << seed << " step " << step << ": " << what;
        }
    }
}
