// libFuzzer target for the settings-file document. The input is the file: reading and writing
// it back must give the same bytes. The same bytes then choose edits (names taken from the
// file or made up, keys from a list of tricky ones), and after each edit the document must
// agree with a fresh reading of its own output.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "store/ini_file.h"

namespace {

using zorvek::IniDocument;

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

bool plain_name(std::string_view s) {
  if (s.empty()) return false;
  for (const char c : s) {
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) {
      return false;
    }
  }
  return true;
}

// What reading gives back for a written value: line breaks become blanks, blanks around it
// go, then one pair of enclosing quotes.
std::string read_back(std::string v) {
  for (char& c : v) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  const auto first = v.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  v = v.substr(first, v.find_last_not_of(" \t") - first + 1);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  return v;
}

void check_consistent(const IniDocument& doc, const std::string& section, const std::string& key) {
  const IniDocument again = IniDocument::parse(doc.serialize());
  check(again.section_names() == doc.section_names(), "section names after a re-read");
  check(again.value(section, key) == doc.value(section, key), "value after a re-read");
  check(again.serialize() == doc.serialize(), "bytes after a re-read");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  IniDocument doc = IniDocument::parse(text);
  check(doc.serialize() == text, "serialize(parse(x)) == x");

  const auto sections = doc.section_names();
  static const char* const kKeys[] = {"kill0",    "KILL0", "exe1", "k",   " k ", "\x83\x41",
                                      "\x83\x61", "a=b",   ";c",   "[x]", "",    "k\r\nj"};
  FuzzedDataProvider in(data, size);
  for (int step = 0; step < 12 && in.remaining_bytes() > 0; ++step) {
    std::string section;
    if (!sections.empty() && in.ConsumeBool()) {
      section = sections[in.ConsumeIntegralInRange<std::size_t>(0, sections.size() - 1)];
      if (in.ConsumeBool()) {
        for (char& c : section) {
          if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
      }
    } else {
      section = in.ConsumeRandomLengthString(8);
    }
    const std::string key =
        in.ConsumeBool()
            ? std::string(kKeys[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kKeys) - 1)])
            : in.ConsumeRandomLengthString(8);
    switch (in.ConsumeIntegralInRange(0, 3)) {
      case 0: {
        const std::string value = in.ConsumeRandomLengthString(16);
        doc.set_value(section, key, value);
        if (plain_name(section) && plain_name(key)) {
          check(doc.value(section, key) == read_back(value), "value as written");
        }
        break;
      }
      case 1:
        doc.delete_key(section, key);
        break;
      case 2:
        doc.erase_section(section);
        break;
      default:
        (void)doc.value(section, key);
        break;
    }
    check_consistent(doc, section, key);
  }
  return 0;
}
