// The environment shown in the main window. Its two lists are the window's list boxes themselves;
// this ties them to a section of joutai.INI and remembers whether they hold unsaved changes.
#pragma once

#include <functional>
#include <string>

#include "platform/list_box.h"
#include "platform/prompts.h"
#include "platform/selector.h"
#include "store/ini_file.h"

namespace zorvek {

class EditedEnvironment {
 public:
  EditedEnvironment(IniFile& ini, Selector& kankyou_cmb, ListBox& kill_lst, ListBox& active_lst,
                    Prompts& prompts);

  const std::string& kankyou_name() const { return kankyou_name_; }
  bool changed_flg() const { return changed_flg_; }
  bool stored_flg() const { return stored_flg_; }

  void set_changed() { changed_flg_ = true; }
  void clear_changed() { changed_flg_ = false; }

  // Binds the editor to a name: saves now go to that section.
  void bind(const std::string& name) {
    kankyou_name_ = name;
    stored_flg_ = true;
  }
  // The edited lists belong to no section yet (a new environment called name).
  void unbind(const std::string& name) {
    kankyou_name_ = name;
    stored_flg_ = false;
  }

  // Asks whether to save unsaved changes; false only when the user cancels. Yes saves.
  bool ask_save();
  // Loads the selector's current entry into the lists, after ask_save.
  void load_kankyou();
  // Writes both lists under kankyou_name, or saves under a new name when never stored.
  void save_kankyou();
  // Makes the selector's entry index (-1: none) the edited environment: the save question comes
  // first, asked with the selector still showing the environment being edited, so that saving a
  // never-stored one under a new name offers its own name. Returns false when the user cancels;
  // the selector then shows the chosen entry while the lists stay as they were.
  bool choose_kankyou(int index);
  // The selector's change handler for a choice from its list.
  void kankyou_cmbChange() { choose_kankyou(kankyou_cmb_.current_index()); }
  // The selector's entry for the edited environment, or -1 when it has none.
  int edited_index() const;

  // Saving under a new name, supplied by the environment commands; returns whether it saved.
  void set_save_as(std::function<bool()> save_as) { save_as_ = std::move(save_as); }

 private:
  IniFile& ini_;
  Selector& kankyou_cmb_;
  ListBox& kill_lst_;
  ListBox& active_lst_;
  Prompts& prompts_;
  std::function<bool()> save_as_;
  std::string kankyou_name_;
  bool changed_flg_ = false;
  bool stored_flg_ = false;
};

}  // namespace zorvek
