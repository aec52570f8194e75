#include <gtest/gtest.h>

#include <random>
#include "app/ReceiveProcedure.h"
#include "support/TerminalConsistency.h"

namespace {

void ExpectConsistent(const TSimpleTerminal& term, const TRxState& state)
{
    ExpectConsistentTerminal(term, false);
    if (::testing::Test::HasFatalFailure()) return;
    ASSERT_TRUE(state.ParamsRequired >= 0 && state.ParamsRequired <= 2);
    ASSERT_LE(state.Params.size(), 1u);
    ASSERT_EQ(state.ParamsRequired == 0, state.RxCmdNeedsParam == cmd_NONE);
}

/// Every byte value in any order, sizes changed in between (bad sizes included): the screen stays
/// consistent and every reply is three bytes.
TEST(ReceiveRandom, RandomStreamsKeepScreenConsistent)
{
    for (unsigned seed : {11u, 12u, 13u}) {
        std::mt19937 rng(seed);
        TSimpleTerminal term;
        TComOkBuffer okBuffer;
        TConfigTermOptions options;
        bool inPaste = false;
        bool abortPaste = false;
        std::size_t sent = 0;
        TRxState state;
        TRxContext context{term,       okBuffer,
                           options,    inPaste,
                           abortPaste, [&](std::uint8_t) { ++sent; },
                           [] {}};
        for (int step = 0; step < 100000; ++step) {
            if (step % 2000 == 0) {
                term.SetRows(int(rng() % 270));
                term.SetColumns(int(rng() % 270));
                options.AllowedCtrlCodes = {std::uint32_t(rng())};
                options.BackspaceErases = rng() % 2;
                options.CrIsNewLine = rng() % 2;
                term.SetLineWrap(rng() % 4 != 0);
                term.SetScrollLock(rng() % 4 == 0);
                inPaste = rng() % 2;
                term.SetScrollRegion(int(rng() % 300) - 20, int(rng() % 300) - 20);
            }
            RxChar(state, context, std::uint8_t(rng()));
            ExpectConsistent(term, state);
            if (HasFatalFailure()) FAIL() << "seed " << seed << " step " << step;
        }
        EXPECT_EQ(sent % 3, 0u);
    }
}

}  // namespace
