#pragma once
// The transfer frame: 1024 data bytes, then their 16-bit checksum, low byte first.
#include <array>
#include <cstdint>

class TStream;

constexpr int FrameDataSize = 1024;
constexpr int FrameSize = FrameDataSize + 2;
using TTransferFrame = std::array<std::uint8_t, FrameSize>;

/// 65535 minus the sum of the data bytes modulo 65536; 65535 in place of 0, so it is never 0.
std::uint16_t FrameChecksum(const std::uint8_t* data);
/// Writes the checksum of the frame's data into its last two bytes.
void StoreFrameChecksum(TTransferFrame& frame);
/// The stored checksum matches the data.
bool FrameChecksumValid(const TTransferFrame& frame);
/// Fills the frame from the stream's position (at most 1024 bytes), pads the rest with `pad` and
/// stores the checksum; returns the number of data bytes taken from the stream.
int BuildFrame(TStream& stream, std::uint8_t pad, TTransferFrame& frame);
