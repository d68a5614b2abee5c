// The commands on whole environments: new, save, save under a new name, rename and delete.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/list_box.h"
#include "platform/name_dialog.h"
#include "platform/prompts.h"
#include "platform/selector.h"
#include "platform/tray_menu.h"
#include "store/edited_environment.h"
#include "store/ini_file.h"

namespace zorvek {

// What the environment commands work with.
struct EnvironmentParts {
  IniFile& joutai_ini;
  EditedEnvironment& edited;
  Selector& kankyou_cmb;
  ListBox& kill_lst;
  ListBox& active_lst;
  TrayMenu& tray_pop;
  NameDialog& get_name_dlg;
  Prompts& prompts;
};

// The name of a new environment: "環境" and the number of environments listed.
std::string default_kankyou_name(const Selector& kankyou_cmb);

// Why name cannot be an environment's name, as told to the user; nothing when it can. Refused are
// the names joutai.INI cannot hold as a section of their own: empty, with "]" or a line break,
// with blanks at either end (the file drops them), or the system section's name.
std::optional<std::string> kankyou_name_problem(std::string_view name);

// "環境作成": empties the lists without asking and starts an environment that exists only in the
// editor until it is first saved under a name. The changed mark stays as it was.
void make_kankyouClick(const EnvironmentParts& parts);

// Asks for a name (again after a refused one) and saves the lists under it, lists it in the
// selector and the tray menu, and makes it the edited environment. False when cancelled; a store
// error leaves the editor bound as it was.
bool save_as_kankyou(const EnvironmentParts& parts);

// "環境に名前を付けて保存".
void saveas_kankyou_actExecute(const EnvironmentParts& parts);

// "環境の保存": under the edited name, or under a new name when the environment was never stored.
void save_kankyou_actExecute(const EnvironmentParts& parts);

// "環境名の変更": saves the lists, unsaved changes included, under a new name, then removes the old
// environment from the store and the selector. A name equal to the old one (letter case ignored)
// is a plain save, and an environment never stored has no old section to remove.
void change_kankyouname_actExecute(const EnvironmentParts& parts);

// "環境削除": after Yes, erases the edited environment's section and selector entry at once and
// loads the first remaining environment. An environment never stored erases nothing. When none
// remains, the editor holds a new, empty environment.
void delete_kankyouClick(const EnvironmentParts& parts);

}  // namespace zorvek
