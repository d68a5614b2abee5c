#include "editor/environment_commands.h"

#include "platform/codec.h"
#include "store/environment_store.h"
#include "switch/environment_switch.h"
#include "text/cp932.h"

namespace zorvek {

namespace {

// The name typed into the save dialog, pre-filled with the selector's text; a refused name is
// explained and asked for again, with what was typed still in the field. Nothing on Cancel.
std::optional<std::string> ask_kankyou_name(const EnvironmentParts& parts) {
  NameDialog& dlg = parts.get_name_dlg;
  dlg.set_text(parts.kankyou_cmb.text());
  dlg.set_caption(jp("名前を付けて保存"));
  dlg.set_prompt(jp("保存名"));
  while (dlg.show_modal()) {
    std::string name = dlg.text();
    const auto problem = kankyou_name_problem(name);
    if (!problem) return name;
    parts.prompts.show_message(*problem);
  }
  return std::nullopt;
}

void select_kankyou(Selector& kankyou_cmb, const std::string& name) {
  kankyou_cmb.set_current_index(find_exact(kankyou_cmb, name));
}

// Saves the lists under name and makes it the edited, listed and current environment.
void save_under(const EnvironmentParts& parts, const std::string& name) {
  EditedEnvironment& edited = parts.edited;
  const std::string old_name = edited.kankyou_name();
  const bool was_stored = edited.stored_flg();
  edited.bind(name);
  try {
    edited.save_kankyou();
  } catch (...) {
    // Not stored, so not listed: stay bound to what was edited before.
    if (was_stored) {
      edited.bind(old_name);
    } else {
      edited.unbind(old_name);
    }
    throw;
  }
  if (find_exact(parts.kankyou_cmb, name) < 0) parts.kankyou_cmb.append(name);
  select_kankyou(parts.kankyou_cmb, name);
  make_kankyou_items(parts.kankyou_cmb, parts.tray_pop);
}

}  // namespace

std::string default_kankyou_name(const Selector& kankyou_cmb) {
  return jp("環境") + std::to_string(kankyou_cmb.count());
}

std::optional<std::string> kankyou_name_problem(std::string_view name) {
  if (name.empty()) return jp("環境名を入力して下さい。");
  if (cp932::find(name, "\r") != std::string_view::npos ||
      cp932::find(name, "\n") != std::string_view::npos) {
    return jp("環境名に改行は使えません。");
  }
  if (cp932::find(name, "]") != std::string_view::npos) {
    return jp("環境名に「]」は使えません。");
  }
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (blank(name.front()) || blank(name.back())) {
    return jp("環境名の先頭と末尾に空白は使えません。");
  }
  if (cp932::equal_ignore_case(name, kSystemSection)) {
    return jp("「") + std::string(kSystemSection) +
           jp("」は設定の保存に使う名前なので、環境名には使えません。");
  }
  return std::nullopt;
}

void make_kankyouClick(const EnvironmentParts& parts) {
  parts.kill_lst.clear();
  parts.active_lst.clear();
  parts.edited.unbind(default_kankyou_name(parts.kankyou_cmb));
  parts.kankyou_cmb.set_current_index(-1);
}

bool save_as_kankyou(const EnvironmentParts& parts) {
  const auto name = ask_kankyou_name(parts);
  if (!name) return false;
  save_under(parts, *name);
  return true;
}

void saveas_kankyou_actExecute(const EnvironmentParts& parts) {
  save_as_kankyou(parts);
}

void save_kankyou_actExecute(const EnvironmentParts& parts) {
  parts.edited.save_kankyou();
}

void change_kankyouname_actExecute(const EnvironmentParts& parts) {
  EditedEnvironment& edited = parts.edited;
  const std::string old_name = edited.kankyou_name();
  const bool was_stored = edited.stored_flg();
  const auto name = ask_kankyou_name(parts);
  if (!name) return;
  if (was_stored && cp932::equal_ignore_case(*name, old_name)) {
    // The same section: erasing the old one would erase what was just saved.
    edited.save_kankyou();
    return;
  }
  save_under(parts, *name);
  // A never-stored environment's name is only a default that may belong to another environment.
  if (was_stored) {
    parts.joutai_ini.erase_section(old_name);
    if (const int old_entry = find_exact(parts.kankyou_cmb, old_name); old_entry >= 0) {
      parts.kankyou_cmb.remove(old_entry);
    }
  }
  make_kankyou_items(parts.kankyou_cmb, parts.tray_pop);
  edited.clear_changed();
  select_kankyou(parts.kankyou_cmb, *name);
  edited.load_kankyou();
}

void delete_kankyouClick(const EnvironmentParts& parts) {
  EditedEnvironment& edited = parts.edited;
  static const std::string question = jp(" を削除します。\n本当に削除してよろしいですか？");
  // Closing the box any other way counts as No.
  if (parts.prompts.ask_yes_no(edited.kankyou_name() + question) != Answer::yes) return;
  if (edited.stored_flg()) {
    // The edited environment's own entry: after a cancelled choice the selector shows another.
    const int entry = edited.edited_index();
    // Erased before the lists are emptied, so that a failure leaves the editor as it was.
    parts.joutai_ini.erase_section(edited.kankyou_name());
    if (entry >= 0) parts.kankyou_cmb.remove(entry);
    make_kankyou_items(parts.kankyou_cmb, parts.tray_pop);
  }
  parts.kill_lst.clear();
  parts.active_lst.clear();
  parts.kankyou_cmb.set_current_index(parts.kankyou_cmb.count() > 0 ? 0 : -1);
  edited.clear_changed();
  edited.load_kankyou();
  // Nothing left to edit: bound to the deleted name, a later save would bring it back unlisted.
  if (parts.kankyou_cmb.current_index() < 0) {
    edited.unbind(default_kankyou_name(parts.kankyou_cmb));
  }
}

}  // namespace zorvek
