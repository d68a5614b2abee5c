// The part of a switch that acts on the edited environment once it is loaded: close the windows
// of the kill list, then open the entries of the launch list, logging each when logging is on.
#pragma once

#include <filesystem>

#include "platform/check_item.h"
#include "platform/clock.h"
#include "platform/list_box.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/window_system.h"
#include "switch/activity_log.h"
#include "switch/close_by_title.h"

namespace zorvek {

// What the steps of a switch work with.
struct SwitchParts {
  const ListBox& kill_lst;
  const ListBox& active_lst;
  CheckItem& flg_log_mnu;  // "ログを保存する"
  WindowSystem& windows;
  Shell& shell;
  Prompts& prompts;
  Clock& clock;
};

// For each non-empty kill-list entry in order: asks the first matching window not asked yet to
// close, then writes a close line to log when the log switch was on as the step began (log may be
// null: nothing is written).
void kill_all(const SwitchParts& parts, CloseRound& round, ActivityLog* log);

// For each non-empty launch-list entry in order: opens it (any file-not-found message is
// dismissed before the call goes on), then writes a launch line as kill_all does.
void launch_all(const SwitchParts& parts, ActivityLog* log);

// Opens the day's log in log_folder (empty: the current directory) when the log switch is on,
// runs kill_all and launch_all, and closes the log. A log that cannot be opened switches logging
// off, and the rest goes on without it.
void close_and_launch(const SwitchParts& parts, const std::filesystem::path& log_folder = {});

}  // namespace zorvek
