// Text routines shared by the standard and host objects: searches by byte position, and the
// character routines beneath every position-based String method.
//
// Texts are UTF-8 byte strings. A character is one UTF-8 sequence; a byte that starts no valid
// sequence is a character of its own. The character routines count characters from 1 (scripts
// count from 0 and add 1); a match found by a search always starts and ends on character
// boundaries, so a search never lands inside a character.
//
// An empty search text is never found (the position routines answer 0).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace stdlib {

// --- byte positions (1-based, 0 when absent) ---
// The first occurrence of `sub`; with `from` of 2 or more the search starts at byte `from`.
int32_t PosFrom(std::string_view sub, std::string_view text, int32_t from);
// The last occurrence of `sub` that starts at or before byte `from` (when `from` lies within the
// text), else the last one in the whole text.
int32_t LastPos(std::string_view sub, std::string_view text, int32_t from);

// --- character positions (1-based) ---
int32_t MBLength(std::string_view text);
// `count` characters from `start` (or up to the end); empty when count <= 0 or start lies beyond
// the text; a start <= 0 counts as 1.
std::string MBCopy(std::string_view text, int32_t start, int32_t count);
// The character at `index`; empty when it is <= 0 or beyond the text.
std::string MBCharAt(std::string_view text, int32_t index);
// Inserts `sub` before the character at `index` (<= 0 counts as 1; one past the last character
// appends); nothing when the index lies further beyond the text.
void MBInsert(std::string_view sub, std::string& text, int32_t index);
// Deletes `count` characters from `index` (fewer when the text ends first); nothing when count <= 0
// or the index lies outside the text.
void MBDelete(std::string& text, int32_t index, int32_t count);
// Replaces the character at `index` by `ch` (which may be any number of characters).
void MBSetCharAt(std::string_view ch, std::string& text, int32_t index);
// The characters from `start` up to before `end`; a start or end <= 0 counts from the end of the
// text (a start still <= 0 afterwards becomes 1).
std::string MBSlice(std::string_view text, int32_t start, int32_t end);
// Replaces the characters from `start` up to before `end` (adjusted as MBSlice does, then held to
// the text) by `sub`.
void MBReplaceSlice(std::string_view sub, std::string& text, int32_t start, int32_t end);
// The character index of the first occurrence of `sub` at or after character `from`; 0 when absent.
int32_t MBPos(std::string_view sub, std::string_view text, int32_t from);
// The character index of the last occurrence of `sub` that starts at or before character `from`
// (the whole text when `from` <= 0); 0 when absent.
int32_t MBLastPos(std::string_view sub, std::string_view text, int32_t from);
// The characters in reverse order (each character keeps its bytes in order).
std::string MBReverse(std::string_view text);

// --- Japanese width and kana ---
// Half-width to full-width: ASCII letters, digits and signs become their full-width forms, the
// space the ideographic space, half-width katakana full katakana (a following voiced or
// semi-voiced mark joins the letter where such a letter exists).
std::string MapToFullWidth(std::string_view text);
// Full-width to half-width: the reverse; a voiced katakana letter becomes the letter and its mark.
std::string MapToHalfWidth(std::string_view text);
// Katakana to hiragana and back (full-width letters only).
std::string MapToHiragana(std::string_view text);
std::string MapToKatakana(std::string_view text);

}  // namespace stdlib
