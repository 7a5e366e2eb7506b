// Operations on texts: code page 936 byte strings in which a byte of 0x80 or
// more starts a two-byte character whose second byte may be anything,
// including "\" and the ASCII letters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace text {

enum class Case { Exact, Fold };  // Fold: A-Z compare equal to a-z

constexpr bool IsLeadByte(unsigned char byte) { return byte >= 0x80; }

// Byte length of the character starting at `pos` (1 or 2; 1 for a lead
// byte with nothing after it).
std::size_t CharLength(std::string_view text, std::size_t pos);

// Length of the longest start of `text` made of whole characters and at most
// `maxBytes` long: where a text may be cut without splitting a character.
std::size_t WholeCharactersWithin(std::string_view text, std::size_t maxBytes);

// The text up to its first NUL byte: what a NUL-terminated text holds.
std::string_view UpToNul(std::string_view bytes);

// First match of `needle` starting at a character boundary at or after
// `from` (which must itself be a boundary); nothing when there is none.
// An empty needle matches at `from`.
std::optional<std::size_t> Find(std::string_view text, std::string_view needle, std::size_t from = 0,
                                Case mode = Case::Exact);
// Last match starting at a character boundary.
std::optional<std::size_t> FindLast(std::string_view text, std::string_view needle, Case mode = Case::Exact);
bool Contains(std::string_view text, std::string_view needle, Case mode = Case::Exact);
bool StartsWith(std::string_view text, std::string_view prefix, Case mode = Case::Exact);
bool EndsWith(std::string_view text, std::string_view suffix, Case mode = Case::Exact);
bool Equal(std::string_view a, std::string_view b, Case mode = Case::Exact);

// A-Z become a-z; the two bytes of a two-byte character are kept as they are.
std::string Lower(std::string_view text);

// Pieces between separators: an empty piece before a leading separator and
// between adjacent ones, none after a final one, none for an empty text.
std::vector<std::string> Split(std::string_view text, std::string_view separator);
std::string Join(const std::vector<std::string>& items, std::string_view separator);

// Removes ASCII spaces and full-width spaces (A1 A1) at both ends.
std::string Trim(std::string_view text);

// Every occurrence of `from` replaced by `to`, scanning left to right.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// "%d" of a signed 32-bit number.
std::string Number(std::int32_t value);
// "真" or "假".
std::string Boolean(bool value);

}  // namespace text
