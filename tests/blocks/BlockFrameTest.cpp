#include <gtest/gtest.h>

#include <string>
#include "blocks/BlockFrame.h"
#include "platform/Stream.h"

namespace {

TTransferFrame FrameOf(std::uint8_t fill)
{
    TTransferFrame frame{};
    std::fill(frame.begin(), frame.begin() + FrameDataSize, fill);
    StoreFrameChecksum(frame);
    return frame;
}

}  // namespace

TEST(BlockFrame, ChecksumBytesLowFirst)
{
    struct Case {
        const char* name;
        TTransferFrame frame;
        std::uint8_t low, high;
    };
    // 1023 bytes of 64 and one of 63 sum to exactly 65535: C is 0, so 65535 goes out instead.
    TTransferFrame sum65535 = FrameOf(64);
    sum65535[0] = 63;
    StoreFrameChecksum(sum65535);
    const Case cases[] = {
        {"zeros", FrameOf(0), 0xFF, 0xFF},
        {"sum 65535", sum65535, 0xFF, 0xFF},
        {"spaces", FrameOf(' '), 0xFF, 0x7F},
        {"all 0xFF", FrameOf(0xFF), 0xFF, 0x03},
        {"ones", FrameOf(1), 0xFF, 0xFB},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.frame[1024], c.low);
        EXPECT_EQ(c.frame[1025], c.high);
        EXPECT_TRUE(FrameChecksumValid(c.frame));
    }
}

TEST(BlockFrame, InvalidWhenAByteChanges)
{
    TTransferFrame frame = FrameOf('A');
    frame[500] ^= 1;
    EXPECT_FALSE(FrameChecksumValid(frame));
    // A stored 0 never matches: the checksum is never 0.
    TTransferFrame zero = FrameOf(0);
    zero[1024] = zero[1025] = 0;
    EXPECT_FALSE(FrameChecksumValid(zero));
}

TEST(BlockFrame, LastFramePaddedWithThePadByte)
{
    std::string image(2500, '\0');
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = char('a' + i % 26);
    TMemoryStream stream(image);
    TTransferFrame frame{};
    EXPECT_EQ(BuildFrame(stream, ' ', frame), 1024);
    EXPECT_EQ(std::string(frame.begin(), frame.begin() + 1024), image.substr(0, 1024));
    EXPECT_EQ(BuildFrame(stream, ' ', frame), 1024);
    EXPECT_EQ(BuildFrame(stream, 0, frame), 452);
    EXPECT_EQ(std::string(frame.begin(), frame.begin() + 452), image.substr(2048));
    EXPECT_EQ(std::string(frame.begin() + 452, frame.begin() + 1024), std::string(572, '\0'));
    EXPECT_TRUE(FrameChecksumValid(frame));
}
