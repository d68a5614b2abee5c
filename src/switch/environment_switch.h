// The one-stroke switch from the tray menu, and the menu's environment items.
#pragma once

#include "platform/selector.h"
#include "platform/tray_menu.h"
#include "store/edited_environment.h"
#include "switch/switch_steps.h"

namespace zorvek {

// Items before the environment items of the tray menu.
inline constexpr int kFixedTrayItems = 5;

// Removes every environment item.
void remove_kankyou_items(TrayMenu& tray_pop);
// Rebuilds the environment items from the selector's list, in its order, tagged by index.
void make_kankyou_items(const Selector& kankyou_cmb, TrayMenu& tray_pop);

// Switches to the selector's entry tag: loads it into the editor (after the save question), then
// asks the windows of its kill list to close and opens its launch list, logging each action when
// logging is on. Cancel at the save question ends the switch there: nothing is closed or
// launched, and the selector shows the environment being edited again.
void switch_kankyou(int tag, Selector& kankyou_cmb, EditedEnvironment& edited,
                    const SwitchParts& parts);

}  // namespace zorvek
