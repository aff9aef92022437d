// Presses a key the way the keyboard does (XTest) and measures how long it takes
// until the window manager takes on a new window with the given title: the time a
// player waits for a dialog, without the start-up of a helper program in it.
//
//   renkomi_dialog_timer KEYSYM TITLE [TIMEOUT_MS]
//
// Prints the milliseconds and exits 0, or exits 1 when no such window came in time.
#include <poll.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  Reply<xcb_intern_atom_reply_t> reply(
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name),
                            nullptr),
      &std::free);
  return reply ? reply->atom : 0;
}

std::vector<xcb_window_t> Clients(xcb_connection_t* c, xcb_window_t root, xcb_atom_t list) {
  Reply<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(c, xcb_get_property(c, 0, root, list, XCB_ATOM_WINDOW, 0, 4096), nullptr),
      &std::free);
  if (!reply || reply->format != 32) return {};
  const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
  return std::vector<xcb_window_t>(ids, ids + xcb_get_property_value_length(reply.get()) / 4);
}

std::string Title(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name, xcb_atom_t utf8) {
  Reply<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, utf8, 0, 1024), nullptr),
      &std::free);
  if (!reply || reply->format != 8) return {};
  return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                     static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

xcb_keycode_t KeycodeOf(xcb_connection_t* c, xcb_keysym_t keysym) {
  const xcb_setup_t* setup = xcb_get_setup(c);
  const int count = setup->max_keycode - setup->min_keycode + 1;
  Reply<xcb_get_keyboard_mapping_reply_t> reply(
      xcb_get_keyboard_mapping_reply(
          c, xcb_get_keyboard_mapping(c, setup->min_keycode, static_cast<uint8_t>(count)), nullptr),
      &std::free);
  if (!reply) return 0;
  const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply.get());
  for (int key = 0; key < count; ++key) {
    for (int i = 0; i < reply->keysyms_per_keycode; ++i) {
      if (syms[key * reply->keysyms_per_keycode + i] == keysym) {
        return static_cast<xcb_keycode_t>(setup->min_keycode + key);
      }
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s KEYSYM TITLE [TIMEOUT_MS]\n", argv[0]);
    return 2;
  }
  const auto keysym = static_cast<xcb_keysym_t>(std::strtoul(argv[1], nullptr, 0));
  const std::string title = argv[2];
  const int timeoutMs = argc > 3 ? std::atoi(argv[3]) : 10000;

  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) return 2;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const xcb_atom_t list = Atom(c, "_NET_CLIENT_LIST");
  const xcb_atom_t name = Atom(c, "_NET_WM_NAME");
  const xcb_atom_t utf8 = Atom(c, "UTF8_STRING");
  const xcb_keycode_t key = KeycodeOf(c, keysym);
  if (key == 0) return 2;
  const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
  const std::vector<xcb_window_t> before = Clients(c, root, list);
  const std::set<xcb_window_t> known(before.begin(), before.end());

  using Clock = std::chrono::steady_clock;
  const Clock::time_point pressed = Clock::now();
  xcb_test_fake_input(c, XCB_KEY_PRESS, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  xcb_test_fake_input(c, XCB_KEY_RELEASE, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  xcb_flush(c);

  const Clock::time_point deadline = pressed + std::chrono::milliseconds(timeoutMs);
  pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
  while (Clock::now() < deadline) {
    xcb_generic_event_t* event = xcb_poll_for_event(c);
    if (event == nullptr) {
      if (xcb_connection_has_error(c)) return 2;
      poll(&fd, 1, 10);
      continue;
    }
    const bool changed = (event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY &&
                         reinterpret_cast<xcb_property_notify_event_t*>(event)->atom == list;
    std::free(event);
    if (!changed) continue;
    const Clock::time_point seen = Clock::now();
    for (const xcb_window_t window : Clients(c, root, list)) {
      if (known.count(window) == 0 && Title(c, window, name, utf8) == title) {
        std::printf("%lld\n", static_cast<long long>(
                                  std::chrono::duration_cast<std::chrono::milliseconds>(seen - pressed)
                                      .count()));
        xcb_disconnect(c);
        return 0;
      }
    }
  }
  xcb_disconnect(c);
  return 1;
}
