#pragma once
// File names between the system's text and the bytes that name a file on disk.
#include <string>
#include <string_view>
#include "platform/Text.h"

/// The text of a name as the disk has it: UTF-8 where the bytes are UTF-8, and each other byte as
/// the lone code unit U+DC00 + byte (U+DC80..U+DCFF), which no UTF-8 text gives, so that a name from
/// an older system (a Latin-1 "caf\xE9.fs") still names its own file.
UnicodeString FileNameFromBytes(std::string_view bytes);
/// The bytes that FileNameFromBytes made the name of; any other name as UTF-8.
std::string FileNameBytes(std::u16string_view name);
