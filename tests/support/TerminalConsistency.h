#pragma once
// What must hold for the terminal's screen model after any operation or any received byte.
#include "terminal/SimpleTerminal.h"

/// Fails the test (fatally) when the cursor, the size or the scroll region lies outside the
/// screen, or a read beyond the screen gives more than a blank; with `checkCells`, also when a
/// cell holds a character that is never shown or the never-written mark.
void ExpectConsistentTerminal(const TSimpleTerminal& term, bool checkCells);
