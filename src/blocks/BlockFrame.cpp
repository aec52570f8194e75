#include "blocks/BlockFrame.h"

#include <algorithm>
#include "platform/Stream.h"

std::uint16_t FrameChecksum(const std::uint8_t* data)
{
    std::uint32_t sum = 0;
    for (int i = 0; i < FrameDataSize; ++i) sum += data[i];
    const std::uint16_t checksum = std::uint16_t(65535u - (sum & 0xFFFFu));
    return checksum == 0 ? 65535 : checksum;
}

void StoreFrameChecksum(TTransferFrame& frame)
{
    const std::uint16_t checksum = FrameChecksum(frame.data());
    frame[FrameDataSize] = std::uint8_t(checksum & 0xFF);
    frame[FrameDataSize + 1] = std::uint8_t(checksum >> 8);
}

bool FrameChecksumValid(const TTransferFrame& frame)
{
    const unsigned stored = frame[FrameDataSize] | unsigned(frame[FrameDataSize + 1]) << 8;
    return stored == FrameChecksum(frame.data());
}

int BuildFrame(TStream& stream, std::uint8_t pad, TTransferFrame& frame)
{
    int taken = 0;
    while (taken < FrameDataSize) {
        const int n = stream.Read(frame.data() + taken, FrameDataSize - taken);
        if (n <= 0) break;
        taken += n;
    }
    std::fill(frame.begin() + taken, frame.begin() + FrameDataSize, pad);
    StoreFrameChecksum(frame);
    return taken;
}
