#include "platform/x11/taskbar.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace zorvek {

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
      xcb_intern_atom_reply(
          c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
      &std::free);
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

}  // namespace

void keep_off_taskbar(std::uint64_t window) {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c) == 0) {
    const auto id = static_cast<xcb_window_t>(window);
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t skip[] = {atom(c, "_NET_WM_STATE_SKIP_TASKBAR"),
                               atom(c, "_NET_WM_STATE_SKIP_PAGER")};
    const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, id), nullptr), &std::free);
    if (attributes && attributes->map_state == XCB_MAP_STATE_UNMAPPED) {
      // Read by the window manager when the window is mapped (the toolkit keeps what it finds).
      xcb_change_property(c, XCB_PROP_MODE_APPEND, id, state, XCB_ATOM_ATOM, 32, 2, skip);
    } else if (attributes) {
      // A managed window's state belongs to the window manager: ask it.
      xcb_client_message_event_t event{};
      event.response_type = XCB_CLIENT_MESSAGE;
      event.format = 32;
      event.window = id;
      event.type = state;
      event.data.data32[0] = 1;  // add
      event.data.data32[1] = skip[0];
      event.data.data32[2] = skip[1];
      event.data.data32[3] = 1;  // from an ordinary application
      xcb_send_event(c, 0, xcb_setup_roots_iterator(xcb_get_setup(c)).data->root,
                     XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                     reinterpret_cast<const char*>(&event));
    }
    // A round trip: the server has the mark before the toolkit maps the window on its own
    // connection.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
  }
  xcb_disconnect(c);
}

}  // namespace zorvek
