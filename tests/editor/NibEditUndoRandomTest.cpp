#include <gtest/gtest.h>

#include "support/RandomEditSession.h"

// A fixed set of seeds, every state checked; the long run of hundreds of thousands is the program
// editor_undo_longrun.
TEST(RandomEditUndo, EveryUndoAndRedoGivesTheTextAndModifiedMarkOfThePointItLandsOn)
{
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        const std::string problem = RunRandomEditSeed(seed, 60);
        ASSERT_TRUE(problem.empty()) << problem;
    }
}
