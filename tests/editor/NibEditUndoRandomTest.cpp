#include <gtest/gtest.h>

#include "support/RandomEditSession.h"

// A fixed set of seeds; the long run of tens of thousands is the program editor_undo_longrun.
TEST(RandomEditUndo, EverySequenceUndoesToItsFirstTextAndRedoesToItsLast)
{
    for (unsigned seed = 1; seed <= 2000; ++seed) {
        const std::string problem = RunRandomEditSeed(seed, 50);
        ASSERT_TRUE(problem.empty()) << problem;
    }
}
