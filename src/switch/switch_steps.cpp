#include "switch/switch_steps.h"

#include <optional>
#include <string>

#include "switch/launch_entry.h"

namespace zorvek {

namespace {

// Calls act(entry) for each non-empty line of list, in order. The number of lines is taken once;
// a list that shrinks meanwhile (while a message box is up) ends the walk early.
template <typename Act>
void for_each_entry(const ListBox& list, Act act) {
  const int count = list.count();
  for (int i = 0; i < count && i < list.count(); ++i) {
    const std::string entry = list.line(i);
    if (!entry.empty()) act(entry);
  }
}

}  // namespace

void kill_all(const SwitchParts& parts, CloseRound& round, ActivityLog* log) {
  ActivityLog* const to = parts.flg_log_mnu.checked() ? log : nullptr;
  for_each_entry(parts.kill_lst, [&](const std::string& entry) {
    close_by_title(parts.windows, entry, round);
    if (to != nullptr) to->write_close(entry, parts.clock.local_now());
  });
}

void launch_all(const SwitchParts& parts, ActivityLog* log) {
  ActivityLog* const to = parts.flg_log_mnu.checked() ? log : nullptr;
  for_each_entry(parts.active_lst, [&](const std::string& entry) {
    launch_entry(parts.shell, parts.prompts, entry);
    if (to != nullptr) to->write_launch(entry, parts.clock.local_now());
  });
}

void close_and_launch(const SwitchParts& parts, const std::filesystem::path& log_folder) {
  std::optional<ActivityLog> log;
  if (parts.flg_log_mnu.checked()) {
    log = ActivityLog::open(parts.clock.local_now(), log_folder);
    if (!log) parts.flg_log_mnu.set_checked(false);
  }
  ActivityLog* const open_log = log ? &*log : nullptr;
  CloseRound round;
  kill_all(parts, round, open_log);
  launch_all(parts, open_log);
}

}  // namespace zorvek
