#pragma once
// The transfer code: Forth source that defines the transfer words, sent to the target line by line.
#include "platform/StringList.h"

/// The longest line the target takes in one piece.
constexpr int TransferCodeLineMax = 128;

/// Makes the lines ready to send: each is right-trimmed; a line of 129 characters or more is split
/// after its last blank within the first 128 (a piece keeps that blank; a line without one stays
/// whole); lines that are blank are dropped.
void PrepareSoftwareLines(TStringList& List);
