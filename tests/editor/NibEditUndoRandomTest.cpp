#include <gtest/gtest.h>

#include "support/RandomEditSession.h"

// A fixed set of seeds, every state checked; the long run of hundreds of thousands is the program
// editor_undo_longrun. Seeds from past long runs stand beside the first ones.
TEST(RandomEditUndo, EveryUndoAndRedoGivesTheTextAndModifiedMarkOfThePointItLandsOn)
{
    std::vector<unsigned> seeds = {4617, 13059, 13610, 14338};
    for (unsigned seed = 1; seed <= 3000; ++seed) seeds.push_back(seed);
    for (unsigned seed : seeds) {
        const std::string problem = RunRandomEditSeed(seed, 60);
        ASSERT_TRUE(problem.empty()) << problem;
    }
}

TEST(RandomEditUndo, TrimmedIndentsUndoAndRedoToThePointTheyLandOn)
{
    std::vector<unsigned> seeds = {4617, 13059, 13610, 14338};
    for (unsigned seed = 1; seed <= 3000; ++seed) seeds.push_back(seed);
    for (unsigned seed : seeds) {
        const std::string problem = RunRandomEditSeed(seed, 30, nullptr, RandomEditClass::TrimmedIndents);
        ASSERT_TRUE(problem.empty()) << problem;
    }
}

TEST(RandomEditUndo, UnderASmallLimitUndoAndRedoGiveOnlyTextsTheSequenceHad)
{
    for (unsigned seed = 1; seed <= 1000; ++seed) {
        const std::string problem = RunRandomEditSeed(seed, 40, nullptr, RandomEditClass::SmallUndoLimit);
        ASSERT_TRUE(problem.empty()) << problem;
    }
}
