#pragma once
// The block file ".blk": one 64-byte record per line, space padded, no line ends, no header; and
// its alternative, a plain text file. The terminal's file paste, the code editor's conversion and
// the block transfer read and write blocks through these too.
#include <string>
#include <string_view>
#include "platform/StringList.h"
#include "platform/Text.h"

/// True when the name's extension is ".blk" in any case: such files hold blocks, others text.
bool IsBlockFileName(const UnicodeString& FileName);

/// The lines as block records: each line in 8-bit text, cut to 64 bytes or padded with spaces to 64.
std::string WriteBlockStream(const TStringList& Lines);
/// Replaces Lines by one 64-character line per record, trailing spaces kept; a short last record
/// is padded with spaces.
void ReadBlockStream(std::string_view Bytes, TStringList& Lines);

/// Reads a block file into Lines, records as they are (not yet wrapped). False, with Lines
/// untouched and the reason in *Error when given, when the file cannot be read.
bool LoadBlockFileLines(const UnicodeString& FileName, TStringList& Lines, UnicodeString* Error = nullptr);
/// Reads a text file (byte-order marks honoured, and kept for the save) into Lines. False, with
/// Lines untouched and the reason in *Error when given, when the file cannot be read.
bool LoadBlockTextFile(const UnicodeString& FileName, TStringList& Lines, UnicodeString* Error = nullptr);

/// Writes the lines as a block file through a temporary file. Empty on success, else the reason.
UnicodeString SaveBlockFile(const UnicodeString& FileName, const TStringList& Lines);
/// Writes the lines with CR LF, in the encoding of the file they were read from (8-bit text for
/// lines read from none), through a temporary file. Empty on success, else the reason.
UnicodeString SaveBlockTextFile(const UnicodeString& FileName, const TStringList& Lines);
