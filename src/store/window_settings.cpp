#include "store/window_settings.h"

#include <string>

#include "store/environment_store.h"

namespace zorvek {

namespace {

struct Setting {
  WindowProperty property;
  const char* key;
  bool is_flag;
};

// In the order they are read and written.
constexpr Setting kSettings[] = {
    {WindowProperty::log_checked, "make_log_flg", true},
    {WindowProperty::form_width, "form_width", false},
    {WindowProperty::form_height, "form_height", false},
    {WindowProperty::active_height, "active_height", false},
    {WindowProperty::kill_height, "kill_height", false},
    {WindowProperty::split_top, "split_top", false},
};

}  // namespace

void read_settei(const IniFile& ini, WindowProperties& window) {
  for (const Setting& s : kSettings) {
    if (s.is_flag) {
      window.set_property(s.property, ini.read_bool(kSystemSection, s.key, false) ? 1 : 0);
    } else {
      window.set_property(s.property,
                          ini.read_integer(kSystemSection, s.key, window.property(s.property)));
    }
  }
}

void write_settei(IniFile& ini, const WindowProperties& window) {
  ini.update([&](IniDocument& doc) {
    for (const Setting& s : kSettings) {
      const int value = window.property(s.property);
      doc.set_value(kSystemSection, s.key,
                    s.is_flag ? (value != 0 ? "1" : "0") : std::to_string(value));
    }
  });
}

}  // namespace zorvek
