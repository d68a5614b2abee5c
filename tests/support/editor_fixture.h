// An edited environment over a fresh joutai.INI and in-memory widgets: what the editing tests
// start from.
#pragma once

#include <gtest/gtest.h>

#include "platform/fake/fake_list_box.h"
#include "platform/fake/fake_prompts.h"
#include "platform/fake/fake_selector.h"
#include "store/edited_environment.h"
#include "store/ini_file.h"
#include "support/temp_dir.h"

namespace zorvek::testing {

class EditorTest : public ::testing::Test {
 protected:
  TempDir dir;
  IniFile ini{dir / "joutai.INI"};
  FakeSelector selector;
  FakeListBox kill_lst;
  FakeListBox active_lst;
  FakePrompts prompts;
  EditedEnvironment edited{ini, selector, kill_lst, active_lst, prompts};
};

}  // namespace zorvek::testing
