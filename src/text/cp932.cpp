#include "text/cp932.h"

namespace zorvek::cp932 {

namespace {

// Double-byte letters that have a case, as [first upper, last upper] -> first lower. Cyrillic
// lower case skips 0x847F, which is not a valid trail byte.
unsigned fold_double(unsigned code) {
  if (code >= 0x8260 && code <= 0x8279) return code - 0x8260 + 0x8281;  // full-width Latin
  if (code >= 0x839F && code <= 0x83B6) return code - 0x839F + 0x83BF;  // Greek
  if (code >= 0x8440 && code <= 0x8460) {                               // Cyrillic
    unsigned lower = code - 0x8440 + 0x8470;
    return lower >= 0x847F ? lower + 1 : lower;
  }
  return code;
}

}  // namespace

std::size_t char_length(std::string_view s, std::size_t i) {
  return is_lead_byte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

bool is_boundary(std::string_view s, std::size_t i) {
  std::size_t pos = 0;
  while (pos < i) pos += char_length(s, pos);
  return pos == i;
}

std::size_t find(std::string_view haystack, std::string_view needle) {
  if (needle.empty()) return std::string_view::npos;
  for (std::size_t i = 0; i + needle.size() <= haystack.size(); i += char_length(haystack, i)) {
    if (haystack.compare(i, needle.size(), needle) == 0) return i;
  }
  return std::string_view::npos;
}

std::string_view cut(std::string_view s, std::size_t max_bytes) {
  if (s.size() <= max_bytes) return s;
  std::size_t end = 0;
  while (end < s.size()) {
    const std::size_t next = end + char_length(s, end);
    if (next > max_bytes) break;
    end = next;
  }
  return s.substr(0, end);
}

std::string fold_case(std::string_view s) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size(); i += char_length(out, i)) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (char_length(out, i) == 2) {
      const unsigned code = (c << 8) | static_cast<unsigned char>(out[i + 1]);
      const unsigned folded = fold_double(code);
      out[i] = static_cast<char>(folded >> 8);
      out[i + 1] = static_cast<char>(folded & 0xFF);
    } else if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return out;
}

bool equal_ignore_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() && fold_case(a) == fold_case(b);
}

std::string fold_ascii_case(std::string_view s) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size(); i += char_length(out, i)) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

int compare_ignore_case(std::string_view a, std::string_view b) {
  // char_traits<char> compares as unsigned char, so double-byte text sorts after ASCII.
  if (const int r = fold_case(a).compare(fold_case(b)); r != 0) return r;
  return a.compare(b);
}

}  // namespace zorvek::cp932
