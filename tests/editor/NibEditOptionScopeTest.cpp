// Commands that switch an option for their own duration (plain tabs for a retyped indentation,
// scrolling past the line end for a caret placed there) leave the options as they found them,
// whether the option was on or off before.
#include <functional>

#include "editor/EditorFixture.h"

namespace {

void Command(TNibEdit& e, TNibEditorCommand c) { e.CommandProcessor(c, u'\0', nullptr); }

TEST_F(EditorTest, ACommandGivesBackTheOptionItSwitchedForItsOwnDuration)
{
    struct Case {
        const char* Name;
        std::vector<UnicodeString> Text;
        TBufferCoord Caret;
        /// The option the command switches for itself, tried on and off.
        TNibEditorOption Option;
        std::function<void(TNibEdit&)> Edit;
    };
    const Case cases[] = {
        {"a break that retypes its indentation", {u"  abc"}, {6, 1}, eoSmartTabs,
         [](TNibEdit& e) { Command(e, ecLineBreak); }},
        {"a typed character", {u"ab"}, {2, 1}, eoScrollPastEol,
         [](TNibEdit& e) { e.CommandProcessor(ecChar, u'x', nullptr); }},
        {"input-method text", {u"ab"}, {2, 1}, eoScrollPastEol, [](TNibEdit& e) { e.InputMethodText(u"xy"); }},
        {"a tab", {u"ab"}, {2, 1}, eoScrollPastEol, [](TNibEdit& e) { Command(e, ecTab); }},
        {"a shift tab", {u"    ab"}, {5, 1}, eoScrollPastEol, [](TNibEdit& e) { Command(e, ecShiftTab); }},
        {"undo and redo", {u"ab"}, {2, 1}, eoScrollPastEol,
         [](TNibEdit& e) {
             e.CommandProcessor(ecChar, u'x', nullptr);
             Command(e, ecUndo);
             Command(e, ecRedo);
         }},
        {"a dropped block", {u"abc def"}, {4, 1}, eoScrollPastEol,
         [](TNibEdit& e) {
             e.SetCaretAndSelection({4, 1}, {1, 1}, {4, 1});
             const TPoint p = e.RowColumnToPixels({8, 1});
             e.DragDrop(&e, p.X, p.Y, 0);
         }},
    };
    for (const Case& c : cases) {
        for (bool on : {true, false}) {
            SCOPED_TRACE(std::string(c.Name) + (on ? ", option on" : ", option off"));
            TNibEditorOptions options = NibDefaultOptions;
            options.Include(eoAutoIndent).Include(eoSmartTabs);
            if (on) options.Include(c.Option);
            else options.Exclude(c.Option);
            edit.SetOptions(options);
            SetLines(c.Text);
            edit.SetCaretXY(c.Caret);
            c.Edit(edit);
            EXPECT_EQ(edit.Options().ToBits(), options.ToBits());
        }
    }
}

}  // namespace
