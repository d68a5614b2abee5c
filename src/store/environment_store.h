// How environments lie in joutai.INI: one section per environment, its kill list under the keys
// kill0, kill1, ... and its launch list under exe0, exe1, ..., and the system section with the
// window settings.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "store/ini_file.h"

namespace zorvek {

inline constexpr std::string_view kSettingsFileName = "joutai.INI";
inline constexpr std::string_view kSystemSection = "Zorveksystem";
inline constexpr std::string_view kKillPrefix = "kill";
inline constexpr std::string_view kExePrefix = "exe";
// Longest entry that can be stored, in bytes.
inline constexpr std::size_t kMaxEntryBytes = 4096;

// joutai.INI in the folder of the executable.
std::filesystem::path settings_path(const std::filesystem::path& executable);

// The text stored for one list entry: each line break (CR LF, LF CR, CR or LF) becomes the two
// characters "\n". Throws StoreError "AnsiString too large to save in INI file" for an entry
// longer than kMaxEntryBytes. Reading does not undo it.
std::string escape_newline(std::string_view entry);

// The list under prefix: prefix0, prefix1, ... up to the first missing or empty value.
std::vector<std::string> read_list(const IniDocument& doc, std::string_view section,
                                   std::string_view prefix);
// Writes entries as prefix0 ... prefixN-1 (each through escape_newline), then deletes the
// surplus keys prefixN, prefixN+1, ... up to the first missing or empty one.
void write_list(IniDocument& doc, std::string_view section, std::string_view prefix,
                const std::vector<std::string>& entries);

struct EnvironmentLists {
  std::vector<std::string> kill;
  std::vector<std::string> exe;
};

// Both lists of one environment, from one reading of the file; empty when it is missing.
EnvironmentLists load_environment(const IniFile& ini, std::string_view name);
// Both lists with their surplus keys in one change of the file: all of it is stored or, when an
// error is raised, nothing.
void save_environment(IniFile& ini, std::string_view name, const EnvironmentLists& lists);

// The environment names in file order: every section name, less the first one that is exactly
// kSystemSection.
std::vector<std::string> environment_names(const IniFile& ini);

// The first-run sample: the environment "例" whose launch list holds ./Readme.txt. Returns its
// name.
std::string write_sample_environment(IniFile& ini);

}  // namespace zorvek
