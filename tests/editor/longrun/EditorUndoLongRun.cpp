// The long run of the random undo test: editor_undo_longrun [first seed] [sequences] [steps] runs
// that many seeded sequences (default 1 .. 20000, 40 steps each), every state checked, and prints
// each failure shrunk to its smallest steps; the exit status is the number of failures, at most 100.
// editor_undo_longrun trace SEED [steps] prints what one sequence does, step by step.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/RandomEditSession.h"

int main(int argc, char** argv)
{
    if (argc > 2 && std::string(argv[1]) == "trace") {
        std::printf("%s", TraceRandomEditSeed(unsigned(std::strtoul(argv[2], nullptr, 10)),
                                              argc > 3 ? std::atoi(argv[3]) : 40).c_str());
        return 0;
    }
    const unsigned first = argc > 1 ? unsigned(std::strtoul(argv[1], nullptr, 10)) : 1;
    const unsigned count = argc > 2 ? unsigned(std::strtoul(argv[2], nullptr, 10)) : 20000;
    const int steps = argc > 3 ? std::atoi(argv[3]) : 40;
    unsigned failures = 0;
    int changed = 0;
    for (unsigned seed = first; seed < first + count; ++seed) {
        const std::string problem = RunRandomEditSeed(seed, steps, &changed);
        if (problem.empty()) continue;
        ++failures;
        std::printf("%s\n\n", problem.c_str());
        std::fflush(stdout);
    }
    std::printf("%u sequences of %d steps from seed %u (%d edits recorded a change): %u failed\n", count, steps,
                first, changed, failures);
    return int(std::min(failures, 100u));
}
