#include <gtest/gtest.h>

#include <stdexcept>
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

TEST(Stream, FileCreateEmptiesAndWritesThrough)
{
    TempFolder folder;
    folder.Write("out.bin", "old contents");
    {
        TFileStream stream(folder.Name("out.bin"), TFileStream::fmCreate);
        EXPECT_EQ(stream.Size(), 0);
        EXPECT_EQ(stream.Write("frame", 5), 5);
        // Nothing is held back: the bytes are in the file while the stream is still open.
        EXPECT_EQ(folder.Read("out.bin"), "frame");
    }
    TFileStream reader(folder.Name("out.bin"), TFileStream::fmOpenRead);
    char buffer[8] = {};
    EXPECT_EQ(reader.Read(buffer, 8), 5);
    EXPECT_THROW(TFileStream(folder.Name("missing/x.bin"), TFileStream::fmCreate), std::runtime_error);
}
