#include <gtest/gtest.h>

#include <vector>
#include "support/ScriptedDialogs.h"

namespace {

/// One file chooser of a run: what the caller asks, what the user picks (empty: cancel), and the
/// folder the chooser must start in.
struct Choice {
    bool Save;
    UnicodeString InitialDir;
    UnicodeString FileName;
    UnicodeString Answer;
    UnicodeString StartsIn;
};

}  // namespace

TEST(FileChoosers, StartWhereTheLastChoiceOfTheRunWasMadeUnlessTheCallerNamesAFolder)
{
    const std::vector<Choice> run = {
        // Nothing chosen yet: the working folder.
        {false, u"", u"", u"", u""},
        // A save in one chooser, then an open in another starts where the save went.
        {true, u"", u"", u"/home/u/forth/app.forth", u""},
        {false, u"", u"", u"/home/u/forth/blocks/lib.blk", u"/home/u/forth/"},
        {true, u"", u"", u"", u"/home/u/forth/blocks/"},
        // A cancelled chooser moves nothing.
        {false, u"", u"", u"", u"/home/u/forth/blocks/"},
        // A folder the caller gives holds, and a choice made there is remembered.
        {false, u"/etc/keys/", u"", u"/etc/keys/f1.kmap", u"/etc/keys/"},
        {true, u"", u"", u"", u"/etc/keys/"},
        // A name with a folder holds as well; a bare name starts in the remembered folder.
        {true, u"", u"/srv/out/screen.txt", u"", u""},
        {true, u"", u"screen.txt", u"/tmp/screen.txt", u"/etc/keys/"},
        {false, u"", u"", u"", u"/tmp/"},
    };
    ScriptedDialogs dialogs;
    for (std::size_t i = 0; i < run.size(); ++i) {
        const Choice& c = run[i];
        dialogs.FileAnswers = {c.Answer};
        TFileDialogRequest request{u"Title", u"Any File|*.*", u"", c.InitialDir, c.FileName};
        const UnicodeString chosen = c.Save ? dialogs.SaveFile(request) : dialogs.OpenFile(request);
        EXPECT_EQ(chosen, c.Answer) << "choice " << i;
        const TFileDialogRequest& shown = c.Save ? dialogs.SaveRequests.back() : dialogs.OpenRequests.back();
        EXPECT_EQ(ToUtf8(shown.InitialDir), ToUtf8(c.StartsIn)) << "choice " << i;
        EXPECT_EQ(ToUtf8(shown.FileName), ToUtf8(c.FileName)) << "choice " << i;
    }
}
