// The fake target as a program of its own, for driving the real program by hand: a loopback TCP
// server that speaks the target's side (each line answered with "  OK", the block transfer
// words and frames). Prints the port it listens on, then serves until the time given in seconds
// (default 1800) has passed.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include "support/FakeForthBlocks.h"
#include "support/FakeTarget.h"

int main(int argc, char** argv)
{
    const long seconds = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1800;
    FakeTcpTarget target;
    FakeForthBlocks blocks(target, 8);
    blocks.SetBlock(0, "( fake target block 0 ) : hello .\" hello\" ;");
    std::printf("%d\n", target.Port());
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    return 0;
}
