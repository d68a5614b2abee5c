// Byte-level helpers for code page 932 (Shift-JIS) text. Every text inside Zorvek is CP932 bytes,
// and every length is a count of those bytes; these helpers are the only place that knows how
// the bytes form characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zorvek::cp932 {

// Lead byte of a double-byte character: 0x81-0x9F or 0xE0-0xFC.
constexpr bool is_lead_byte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Length in bytes of the character that starts at s[i]: 2 for a lead byte followed by another
// byte, else 1 (a lead byte at the very end stands alone).
std::size_t char_length(std::string_view s, std::size_t i);

// True when position i of s is the start of a character (not the second byte of a pair).
bool is_boundary(std::string_view s, std::size_t i);

// The first occurrence of needle in haystack that starts on a character boundary; npos when
// there is none or needle is empty.
std::size_t find(std::string_view haystack, std::string_view needle);

// The longest prefix of s that has at most max_bytes bytes and does not split a character.
std::string_view cut(std::string_view s, std::size_t max_bytes);

// s with every letter that has a case folded to lower case: ASCII, full-width Latin, Greek and
// Cyrillic. Widths and the two kana sets stay distinct.
std::string fold_case(std::string_view s);

// Equality with letter case ignored (see fold_case).
bool equal_ignore_case(std::string_view a, std::string_view b);

// s with only the single-byte letters A-Z folded to lower case: the rule by which the settings
// file matches section and key names. Bytes of double-byte characters are left alone, even when
// a second byte happens to be an ASCII letter.
std::string fold_ascii_case(std::string_view s);

// Ascending order with letter case ignored; texts equal that way are ordered by their bytes, so
// the order is total and a sort is deterministic. Negative, zero or positive.
int compare_ignore_case(std::string_view a, std::string_view b);

inline bool less_ignore_case(std::string_view a, std::string_view b) {
  return compare_ignore_case(a, b) < 0;
}

}  // namespace zorvek::cp932
