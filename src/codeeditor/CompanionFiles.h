#pragma once
// The files that go with a Forth source file: its blocks and its paired words, named by appending
// to the source file's full name (extension included).
#include "platform/Text.h"

/// The source converted into blocks, rewritten by every save.
inline UnicodeString BlockFileNameOf(const UnicodeString& SourceFileName) { return SourceFileName + u".blk"; }
/// The document's paired words, one per line; there is none while the list is empty.
inline UnicodeString PairsFileNameOf(const UnicodeString& SourceFileName) { return SourceFileName + u".pairs"; }
