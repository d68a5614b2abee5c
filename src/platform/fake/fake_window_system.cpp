#include "platform/fake/fake_window_system.h"

#include <algorithm>

namespace zorvek {

void FakeWindowSystem::add(WindowId id, std::string title, bool closes) {
  windows_.push_back({{id, std::move(title)}, closes});
}

std::vector<TopLevelWindow> FakeWindowSystem::top_level_windows() {
  ++enumerations_;
  std::vector<TopLevelWindow> out;
  for (const Window& w : windows_) out.push_back(w.window);
  return out;
}

void FakeWindowSystem::request_close(WindowId id) {
  close_requests_.push_back(id);
  std::erase_if(windows_, [id](const Window& w) { return w.window.id == id && w.closes; });
}

bool FakeWindowSystem::open(WindowId id) const {
  return std::any_of(windows_.begin(), windows_.end(),
                     [id](const Window& w) { return w.window.id == id; });
}

}  // namespace zorvek
