// Another program on the test display, on a connection of its own:
//   lockdown_other_client dock     a panel along the top edge, 30 pixels high,
//                                  that keeps its strip free of other windows
//   lockdown_other_client window   an ordinary window at 100,100, 300 x 200
// It prints "ready <window id>" once mapped, and "press <x> <y>" for each
// mouse button pressed on it, and runs until it is killed.

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

void SetAtoms(xcb_connection_t* c, xcb_window_t w, const char* property, const char* value) {
    const xcb_atom_t atom = Atom(c, value);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, Atom(c, property), XCB_ATOM_ATOM, 32, 1,
                        &atom);
}

} // namespace

int main(int argc, char** argv) {
    const bool dock = argc > 1 && std::string(argv[1]) == "dock";
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t w = xcb_generate_id(c);
    const std::int16_t x = dock ? 0 : 100, y = dock ? 0 : 100;
    const std::uint16_t width = dock ? screen->width_in_pixels : 300, height = dock ? 30 : 200;
    const std::uint32_t values[] = {dock ? 0x404040u : 0xe0c000u,
                                    XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_EXPOSURE};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, x, y, width, height, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    const char* title = dock ? "panel" : "other program";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<std::uint32_t>(std::strlen(title)), title);
    // Placed where it asks to be.
    const std::uint32_t sizeHints[18] = {1u | 4u, 0, 0, 0, 0, 0, 0, 0, 0,
                                         0,       0, 0, 0, 0, 0, 0, 0, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NORMAL_HINTS,
                        XCB_ATOM_WM_SIZE_HINTS, 32, 18, sizeHints);
    if (dock) {
        SetAtoms(c, w, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DOCK");
        const std::uint32_t strut[4] = {0, 0, height, 0};
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, Atom(c, "_NET_WM_STRUT"),
                            XCB_ATOM_CARDINAL, 32, 4, strut);
        const std::uint32_t partial[12] = {
            0, 0, height, 0, 0, 0, 0, 0, 0, screen->width_in_pixels - 1u, 0, 0};
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, Atom(c, "_NET_WM_STRUT_PARTIAL"),
                            XCB_ATOM_CARDINAL, 32, 12, partial);
    }
    xcb_map_window(c, w);
    xcb_flush(c);
    std::printf("ready %u\n", w);
    std::fflush(stdout);
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        if ((event->response_type & 0x7f) == XCB_BUTTON_PRESS) {
            const auto* press = reinterpret_cast<xcb_button_press_event_t*>(event);
            std::printf("press %d %d\n", press->root_x, press->root_y);
            std::fflush(stdout);
        }
        std::free(event);
    }
    return 0;
}
