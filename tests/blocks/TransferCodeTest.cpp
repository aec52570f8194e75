#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "blocks/TransferCode.h"
#include "support/ForthSource.h"

namespace {

std::vector<std::string> Prepared(const std::vector<std::string>& lines)
{
    TStringList list;
    for (const std::string& line : lines) list.Add(FromAnsi(line));
    PrepareSoftwareLines(list);
    std::vector<std::string> result;
    for (int i = 0; i < list.Count(); ++i) result.push_back(ToAnsi(list[i]));
    return result;
}

}  // namespace

TEST(TransferCode, LongLinesSplitAfterTheLastBlankWithin128)
{
    const std::string line = Words(60);  // 299 characters, blanks every fifth
    ASSERT_EQ(line.size(), 299u);
    const std::vector<std::string> pieces = Prepared({line});
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].size(), 125u);
    EXPECT_EQ(pieces[1].size(), 125u);
    EXPECT_EQ(pieces[2].size(), 49u);
    EXPECT_EQ(pieces[0] + pieces[1] + pieces[2], line);
}

TEST(TransferCode, TrimsDropsBlankLinesAndKeepsOrder)
{
    const std::string exact128 = std::string(127, 'x') + "y";
    const std::string blankAt128 = std::string(127, 'x') + " " + std::string(10, 'z');
    const std::string noBlank = std::string(200, 'q');
    EXPECT_EQ(Prepared({"", ": a 1 ;   ", "   ", "\t", exact128, blankAt128, noBlank, "b"}),
              (std::vector<std::string>{": a 1 ;", exact128, std::string(127, 'x') + " ", std::string(10, 'z'),
                                        noBlank, "b"}));
}
