// The long run of the random undo test: editor_undo_longrun [first seed] [sequences] [steps] runs
// that many seeded sequences of each kind (default 1 .. 20000, 40 steps each), every state checked,
// and prints each failure shrunk to its smallest steps; the exit status is the number of failures,
// at most 100. editor_undo_longrun trace SEED [steps] [limit|trimmed] prints what one sequence
// does, step by step (under a small undo limit, or one of trimmed indents).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/RandomEditSession.h"

int main(int argc, char** argv)
{
    if (argc > 2 && std::string(argv[1]) == "trace") {
        const std::string name = argc > 4 ? argv[4] : "";
        const RandomEditClass kind = name == "trimmed" ? RandomEditClass::TrimmedIndents
                                     : name == "limit" ? RandomEditClass::SmallUndoLimit
                                                       : RandomEditClass::Everything;
        std::printf("%s", TraceRandomEditSeed(unsigned(std::strtoul(argv[2], nullptr, 10)),
                                              argc > 3 ? std::atoi(argv[3]) : 40, kind).c_str());
        return 0;
    }
    const unsigned first = argc > 1 ? unsigned(std::strtoul(argv[1], nullptr, 10)) : 1;
    const unsigned count = argc > 2 ? unsigned(std::strtoul(argv[2], nullptr, 10)) : 20000;
    const int steps = argc > 3 ? std::atoi(argv[3]) : 40;
    unsigned failures = 0;
    int changed = 0;
    for (RandomEditClass kind :
         {RandomEditClass::Everything, RandomEditClass::SmallUndoLimit, RandomEditClass::TrimmedIndents}) {
        for (unsigned seed = first; seed < first + count; ++seed) {
            const std::string problem = RunRandomEditSeed(seed, steps, &changed, kind);
            if (problem.empty()) continue;
            ++failures;
            std::printf("%s%s\n\n",
                        kind == RandomEditClass::TrimmedIndents   ? "trimmed indents, "
                        : kind == RandomEditClass::SmallUndoLimit ? "small undo limit, "
                                                                  : "",
                        problem.c_str());
            std::fflush(stdout);
        }
    }
    std::printf("%u sequences of each kind, %d steps, from seed %u (%d edits recorded a change): %u failed\n", count,
                steps, first, changed, failures);
    return int(std::min(failures, 100u));
}
