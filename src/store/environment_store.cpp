#include "store/environment_store.h"

#include <charconv>

#include "platform/codec.h"
#include "store/store_error.h"

namespace zorvek {

namespace {

// prefix followed by n, in key; the buffer is reused, as lists are read key after key.
std::string_view numbered(std::string& key, std::string_view prefix, std::size_t n) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
  if (key.compare(0, prefix.size(), prefix) != 0) key.assign(prefix);
  key.resize(prefix.size());
  key.append(digits, end);
  return key;
}

}  // namespace

std::filesystem::path settings_path(const std::filesystem::path& executable) {
  return executable.parent_path() / kSettingsFileName;
}

std::string escape_newline(std::string_view entry) {
  if (entry.size() > kMaxEntryBytes) throw StoreError("AnsiString too large to save in INI file");
  std::string out;
  out.reserve(entry.size());
  for (std::size_t i = 0; i < entry.size(); ++i) {
    const char c = entry[i];
    if (c != '\r' && c != '\n') {
      out += c;
      continue;
    }
    out += "\\n";
    // CR LF and LF CR are one line break each.
    const char pair = c == '\r' ? '\n' : '\r';
    if (i + 1 < entry.size() && entry[i + 1] == pair) ++i;
  }
  return out;
}

std::vector<std::string> read_list(const IniDocument& doc, std::string_view section,
                                   std::string_view prefix) {
  std::vector<std::string> entries;
  std::string key;
  for (std::size_t n = 0;; ++n) {
    std::optional<std::string> value = doc.value(section, numbered(key, prefix, n));
    if (!value || value->empty()) break;
    entries.push_back(std::move(*value));
  }
  return entries;
}

void write_list(IniDocument& doc, std::string_view section, std::string_view prefix,
                const std::vector<std::string>& entries) {
  // Every entry is checked before the first is written, so a refused entry changes nothing.
  std::vector<std::string> encoded;
  encoded.reserve(entries.size());
  for (const auto& entry : entries) encoded.push_back(escape_newline(entry));

  std::string key;
  for (std::size_t n = 0; n < encoded.size(); ++n) {
    doc.set_value(section, numbered(key, prefix, n), encoded[n]);
  }
  // Surplus keys of a longer list stored before, up to the first gap: a key after a gap was
  // never part of the list and stays.
  for (std::size_t n = encoded.size();; ++n) {
    numbered(key, prefix, n);
    const std::optional<std::string> value = doc.value(section, key);
    if (!value || value->empty()) break;
    doc.delete_key(section, key);
  }
}

EnvironmentLists load_environment(const IniFile& ini, std::string_view name) {
  const IniDocument doc = ini.read();
  return EnvironmentLists{read_list(doc, name, kKillPrefix), read_list(doc, name, kExePrefix)};
}

void save_environment(IniFile& ini, std::string_view name, const EnvironmentLists& lists) {
  ini.update([&](IniDocument& doc) {
    write_list(doc, name, kKillPrefix, lists.kill);
    write_list(doc, name, kExePrefix, lists.exe);
  });
}

std::vector<std::string> environment_names(const IniFile& ini) {
  std::vector<std::string> names = ini.read_sections();
  // Only the first exact match is the system section; "zorveksystem" or a second copy is listed.
  for (auto it = names.begin(); it != names.end(); ++it) {
    if (*it == kSystemSection) {
      names.erase(it);
      break;
    }
  }
  return names;
}

std::string write_sample_environment(IniFile& ini) {
  std::string name = jp("例");
  ini.write_string(name, "exe0", "./Readme.txt");
  return name;
}

}  // namespace zorvek
