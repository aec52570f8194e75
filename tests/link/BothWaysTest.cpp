// A large exchange in both directions at once must neither stall nor change a byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include "link/LinkFixture.h"
#include "support/FakeTarget.h"

namespace {

constexpr std::size_t kMiB = 1u << 20;

/// Every byte value equally often, in an order that a fixed seed makes random.
std::string ShuffledBytes(std::size_t count, unsigned seed)
{
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i) bytes[i] = char(i & 0xFF);
    std::mt19937 random(seed);
    std::shuffle(bytes.begin(), bytes.end(), random);
    return bytes;
}

template <typename Target>
class BothWays : public LinkFixture {
protected:
    void Open();
    Target target;
};

template <>
void BothWays<FakeTcpTarget>::Open()
{
    link->OpenTcpPort(u"127.0.0.1", FromUtf8(std::to_string(target.Port())));
}

template <>
void BothWays<FakePtyTarget>::Open()
{
    TComOptions options;
    options.SetBaudRate(Com_br115200);
    options.SetDataBits(Com_dbEight);
    link->OpenComPort(FromUtf8(target.SlavePath()), options);
}

using Targets = testing::Types<FakeTcpTarget, FakePtyTarget>;
TYPED_TEST_SUITE(BothWays, Targets);

TYPED_TEST(BothWays, OneMebibyteEachWayAtOnceArrivesExactly)
{
    this->Open();
    ASSERT_TRUE(this->loop.RunUntil([&] { return this->connected > 0; }));
    const std::string down = ShuffledBytes(kMiB, 1);
    const std::string up = ShuffledBytes(kMiB, 2);
    this->received.reserve(kMiB);

    // The target talks while the whole block is being sent, and nothing runs the loop meanwhile.
    this->target.Send(down);
    ASSERT_TRUE(this->link->TxBytes(reinterpret_cast<const std::uint8_t*>(up.data()), int(up.size()), 5));
    ASSERT_TRUE(this->ReceiveAtLeast(kMiB, 5000));
    ASSERT_TRUE(this->target.WaitForReceived(kMiB, 5000));
    EXPECT_TRUE(this->received == down);
    EXPECT_TRUE(this->target.Received() == up);
    EXPECT_EQ(this->closed, 0);
}

}  // namespace
