#pragma once
// The editor's user-visible texts in one place, so that they can be replaced together.

inline constexpr char16_t SNibAttrComment[] = u"Comment";
inline constexpr char16_t SNibAttrIdentifier[] = u"Identifier";
inline constexpr char16_t SNibAttrMacro[] = u"Macro";
inline constexpr char16_t SNibAttrNumber[] = u"Number";
inline constexpr char16_t SNibAttrReservedWord[] = u"Reserved Word";
inline constexpr char16_t SNibAttrSpace[] = u"Space";
inline constexpr char16_t SNibAttrString[] = u"String";
inline constexpr char16_t SNibAttrSymbol[] = u"Symbol";
/// Vertical scroll hint over a range of lines: first, last.
inline constexpr char16_t SNibScrollInfoFmt[] = u"%d - %d";
inline constexpr char16_t SNibScrollInfoFmtTop[] = u"Top Line: %d";
inline constexpr char SNibDuplicateShortcut[] = "Shortcut already exists";
inline constexpr char16_t SNibLangUnknown[] = u"<Unknown>";
