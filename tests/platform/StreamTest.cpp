#include <gtest/gtest.h>

#include <filesystem>
#include "platform/Stream.h"
#include "support/TempFolder.h"

TEST(Stream, MemoryReadsToTheEndAndGrowsOnWrite)
{
    TMemoryStream stream("abcde");
    char buffer[8] = {};
    stream.SetPosition(3);
    EXPECT_EQ(stream.Read(buffer, 8), 2);
    EXPECT_EQ(std::string(buffer, 2), "de");
    EXPECT_EQ(stream.Read(buffer, 8), 0);
    EXPECT_EQ(stream.Write("XYZ", 3), 3);
    EXPECT_EQ(stream.Bytes(), "abcdeXYZ");
    stream.SetPosition(100);
    EXPECT_EQ(stream.Position(), 8);
}

TEST(Stream, AFileReplacementChangesTheFileOnlyWhenCommitted)
{
    TempFolder folder;
    folder.Write("f.bin", "old");
    {
        TFileReplacementStream stream(folder.Name("f.bin"));
        EXPECT_EQ(stream.Write("new bytes", 9), 9);
        EXPECT_EQ(stream.Size(), 9);
        EXPECT_EQ(folder.Read("f.bin"), "old");
    }
    EXPECT_EQ(folder.Read("f.bin"), "old");
    {
        TFileReplacementStream stream(folder.Name("none.bin"));
        EXPECT_EQ(stream.Write("x", 1), 1);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path("none.bin")));
    {
        TFileReplacementStream stream(folder.Name("f.bin"));
        EXPECT_EQ(stream.Write("frame", 5), 5);
        stream.SetPosition(0);
        EXPECT_EQ(stream.Write("F", 1), 1);
        EXPECT_EQ(stream.Commit(), u"");
    }
    EXPECT_EQ(folder.Read("f.bin"), "Frame");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);

    TFileReplacementStream nowhere(folder.Name("no/such/folder/f.bin"));
    EXPECT_NE(nowhere.Error(), u"");
    EXPECT_EQ(nowhere.Write("x", 1), 0);
    EXPECT_EQ(nowhere.Commit(), nowhere.Error());
}
