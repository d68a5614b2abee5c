#include "switch/environment_switch.h"

namespace zorvek {

void remove_kankyou_items(TrayMenu& tray_pop) {
  for (int n = tray_pop.count() - kFixedTrayItems; n > 0; --n) tray_pop.remove(kFixedTrayItems);
}

void make_kankyou_items(const Selector& kankyou_cmb, TrayMenu& tray_pop) {
  remove_kankyou_items(tray_pop);
  for (int i = 0; i < kankyou_cmb.count(); ++i) tray_pop.append_environment(kankyou_cmb.line(i), i);
}

void switch_kankyou(int tag, Selector& kankyou_cmb, EditedEnvironment& edited,
                    const SwitchParts& parts) {
  if (!edited.choose_kankyou(tag)) {
    // Cancelled: nothing is closed or launched for lists the user did not ask for.
    kankyou_cmb.set_current_index(edited.edited_index());
    return;
  }
  close_and_launch(parts);
}

}  // namespace zorvek
