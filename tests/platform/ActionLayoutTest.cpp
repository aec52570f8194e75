#include "platform/ActionLayout.h"

#include <gtest/gtest.h>
#include "support/TempFolder.h"

namespace {

bool KnownAction(std::u16string_view name)
{
    return name != u"RemovedAct";
}

TActionLayout Sample()
{
    using K = TLayoutItemKind;
    TActionLayout layout;
    layout.Bars.push_back({u"Main Menu",
                           {{K::liSubMenu, u"&File", {{K::liAction, u"OpenAct", {}},
                                                      {K::liSeparator, u"", {}},
                                                      {K::liSubMenu, u"Recent \u00e9", {{K::liAction, u"ReopenAct", {}}}},
                                                      {K::liAction, u"ExitAct", {}}}},
                            {K::liSubMenu, u"&Help", {}}}});
    layout.Bars.push_back({u"Terminal Tools",
                           {{K::liAction, u"ConnectAct", {}}, {K::liSeparator, u"", {}},
                            {K::liAction, u"DisconnectAct", {}}}});
    layout.Bars.push_back({u"Empty Bar", {}});
    return layout;
}

} // namespace

TEST(ActionLayout, TextRoundTripsAndReadsAsWritten)
{
    std::string text = LayoutToText(Sample());
    EXPECT_EQ(text, "Tavlo layout 1\r\n"
                    "bar Main Menu\r\nmenu &File\r\naction OpenAct\r\n-\r\nmenu Recent \xc3\xa9\r\naction ReopenAct\r\n"
                    "end\r\naction ExitAct\r\nend\r\nmenu &Help\r\nend\r\n"
                    "bar Terminal Tools\r\naction ConnectAct\r\n-\r\naction DisconnectAct\r\n"
                    "bar Empty Bar\r\n");
    EXPECT_EQ(LayoutFromText(text, KnownAction), Sample());
}

TEST(ActionLayout, UnknownActionsAreSkipped)
{
    auto layout = LayoutFromText("Tavlo layout 1\nbar Tools\naction RemovedAct\n\naction ConnectAct\n", KnownAction);
    ASSERT_TRUE(layout);
    ASSERT_EQ(layout->Bars.size(), 1u);
    EXPECT_EQ(layout->Bars[0].Items, (std::vector<TLayoutItem>{{TLayoutItemKind::liAction, u"ConnectAct", {}}}));
}

TEST(ActionLayout, MalformedTextIsRefused)
{
    for (std::string_view text : {
             "",
             "bar Tools\n",
             "Tavlo layout 2\nbar Tools\n",
             "Tavlo layout 1\naction ConnectAct\n",
             "Tavlo layout 1\nbar Tools\nbutton ConnectAct\n",
             "Tavlo layout 1\nbar Tools\nend\n",
             "Tavlo layout 1\nbar Menu\nmenu File\n",
             "Tavlo layout 1\nbar Menu\nmenu File\nbar Tools\n",
             "Tavlo layout 1\nbar Tools\naction\n",
         })
        EXPECT_FALSE(LayoutFromText(text, KnownAction)) << text;
}

TEST(ActionLayout, FileSaveAndLoad)
{
    TempFolder tmp;
    ASSERT_EQ(SaveLayoutFile(Sample(), tmp.Name("Brennix.layout")), u"");
    EXPECT_EQ(LoadLayoutFile(tmp.Name("Brennix.layout"), KnownAction), Sample());
    EXPECT_FALSE(LoadLayoutFile(tmp.Name("missing.layout"), KnownAction));
    tmp.Write("broken.layout", "garbage\n");
    EXPECT_FALSE(LoadLayoutFile(tmp.Name("broken.layout"), KnownAction));

    tmp.Write("plain", "a file, not a folder");
    EXPECT_NE(SaveLayoutFile(Sample(), tmp.Name("plain/Brennix.layout")), u"");
}

TEST(ActionLayout, UserLayoutOnlyWhenNewerThanTheProgram)
{
    TempFolder tmp;
    tmp.Write("program", "binary");
    tmp.Write("Brennix.layout", "Tavlo layout 1\n");
    auto now = std::filesystem::file_time_type::clock::now();
    std::filesystem::last_write_time(tmp.Path("program"), now - std::chrono::hours(1));
    std::filesystem::last_write_time(tmp.Path("Brennix.layout"), now);
    EXPECT_TRUE(UserLayoutIsCurrent(tmp.Name("Brennix.layout"), tmp.Name("program")));

    std::filesystem::last_write_time(tmp.Path("program"), now + std::chrono::hours(1));
    EXPECT_FALSE(UserLayoutIsCurrent(tmp.Name("Brennix.layout"), tmp.Name("program")));
    std::filesystem::last_write_time(tmp.Path("program"), now);
    EXPECT_FALSE(UserLayoutIsCurrent(tmp.Name("Brennix.layout"), tmp.Name("program")));

    EXPECT_FALSE(UserLayoutIsCurrent(tmp.Name("missing.layout"), tmp.Name("program")));
    EXPECT_TRUE(UserLayoutIsCurrent(tmp.Name("Brennix.layout"), tmp.Name("missing program")));
}
