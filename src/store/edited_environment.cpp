#include "store/edited_environment.h"

#include "platform/codec.h"
#include "store/environment_store.h"

namespace zorvek {

namespace {

std::vector<std::string> lines_of(const ListBox& list) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(list.count()));
  for (int i = 0; i < list.count(); ++i) lines.push_back(list.line(i));
  return lines;
}

void fill(ListBox& list, const std::vector<std::string>& lines) {
  for (const auto& line : lines) list.insert(list.count(), line);
}

}  // namespace

EditedEnvironment::EditedEnvironment(IniFile& ini, Selector& kankyou_cmb, ListBox& kill_lst,
                                     ListBox& active_lst, Prompts& prompts)
    : ini_(ini),
      kankyou_cmb_(kankyou_cmb),
      kill_lst_(kill_lst),
      active_lst_(active_lst),
      prompts_(prompts),
      save_as_([] { return false; }) {}

bool EditedEnvironment::ask_save() {
  if (!changed_flg_) return true;
  static const std::string question = jp(" は、変更されています。保存しますか？");
  switch (prompts_.ask_yes_no_cancel(kankyou_name_ + question)) {
    case Answer::yes:
      save_kankyou();
      return true;
    case Answer::cancel:
      return false;
    case Answer::no:
      break;
  }
  return true;
}

void EditedEnvironment::load_kankyou() {
  if (!ask_save()) return;
  kill_lst_.clear();
  active_lst_.clear();
  const int current = kankyou_cmb_.current_index();
  if (current < 0) return;
  kankyou_name_ = kankyou_cmb_.line(current);
  const EnvironmentLists lists = load_environment(ini_, kankyou_name_);
  fill(kill_lst_, lists.kill);
  fill(active_lst_, lists.exe);
  clear_changed();
  stored_flg_ = true;
}

bool EditedEnvironment::choose_kankyou(int index) {
  kankyou_cmb_.set_current_index(edited_index());
  const bool go_on = ask_save();
  kankyou_cmb_.set_current_index(index);
  if (!go_on) return false;
  // Answered: Yes has saved the changes (or the user gave up naming them), No drops them.
  clear_changed();
  load_kankyou();
  return true;
}

int EditedEnvironment::edited_index() const {
  return stored_flg_ ? find_exact(kankyou_cmb_, kankyou_name_) : -1;
}

void EditedEnvironment::save_kankyou() {
  if (!stored_flg_) {
    save_as_();
    return;
  }
  save_environment(ini_, kankyou_name_,
                   EnvironmentLists{lines_of(kill_lst_), lines_of(active_lst_)});
  clear_changed();
}

}  // namespace zorvek
