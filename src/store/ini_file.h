// joutai.INI, read and written by the rules of the Windows private-profile functions: section and
// key names match without regard to Latin letter case, a new section goes to the end of the file,
// a new key to the end of its section, an existing key is replaced where it stands, and a missing
// file reads as empty. Unlike those functions, every write replaces the file atomically and holds
// an advisory lock for its read-modify-write, so a crash or a second running copy loses nothing.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvek {

// The content of an INI file, kept line by line: serialize() gives back every line that no
// change touched byte for byte. All texts are CP932 bytes.
class IniDocument {
 public:
  IniDocument();
  ~IniDocument();
  IniDocument(IniDocument&&) noexcept;
  IniDocument& operator=(IniDocument&&) noexcept;

  // Never fails: whatever does not make sense as a section or key line is kept as it is.
  static IniDocument parse(std::string_view bytes);
  std::string serialize() const;

  // Every section name in file order, duplicates included.
  std::vector<std::string> section_names() const;
  // The value of key in the first section named section, as the private-profile functions give
  // it (white space around it dropped, one pair of enclosing quotes removed); nothing when the
  // section or the key is missing.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  // Replaces the key's value where it stands, else appends the key to the end of the section,
  // creating the section at the end of the document when it is missing.
  void set_value(std::string_view section, std::string_view key, std::string_view value);
  // Removes the key; false when it was not there.
  bool delete_key(std::string_view section, std::string_view key);
  // Removes the first section of that name with all its lines; false when it was not there.
  bool erase_section(std::string_view section);

 private:
  friend class IniFile;  // reads the file straight into a document, without a copy
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

class IniFile {
 public:
  // path: the file in the system's encoding. The text of a write error names the path.
  explicit IniFile(std::filesystem::path path);

  const std::filesystem::path& path() const { return path_; }

  // The file's content at this moment; empty when the file is missing or unreadable.
  IniDocument read() const;

  std::vector<std::string> read_sections() const;
  std::string read_string(std::string_view section, std::string_view key,
                          std::string_view default_value) const;
  // Decimal, or hexadecimal after "0x"/"0X"; the default when missing or not a number.
  int read_integer(std::string_view section, std::string_view key, int default_value) const;
  bool read_bool(std::string_view section, std::string_view key, bool default_value) const;

  // Each write is one atomic replacement of the file. They throw StoreError with
  // "<path> に書き込めません" when the file cannot be written.
  void write_string(std::string_view section, std::string_view key, std::string_view value);
  void write_integer(std::string_view section, std::string_view key, int value);
  void write_bool(std::string_view section, std::string_view key, bool value);
  void erase_section(std::string_view section);
  // A failure is ignored: the key simply stays.
  void delete_key(std::string_view section, std::string_view key) noexcept;

  // Several changes as one: under the lock the file is read, change edits the document, and the
  // result replaces the file. When change throws, the file is left as it was and the exception
  // goes on. Nothing is written when change leaves the document as it was.
  void update(const std::function<void(IniDocument&)>& change);

 private:
  std::filesystem::path path_;
};

}  // namespace zorvek
