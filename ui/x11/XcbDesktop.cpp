#include "XcbDesktop.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kwizmar {

namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

bool Contains(const std::vector<std::uint32_t>& values, std::uint32_t value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

// The first of a property's values, kNoWindow for none.
TWindowId First(const std::vector<std::uint32_t>& values) {
    return values.empty() ? kNoWindow : values[0];
}

// The source of a request: 2, a pager.
constexpr std::uint32_t kPager = 2;

} // namespace

TXcbDesktop::TAtoms::TAtoms(xcb_connection_t* c)
    : supported(Atom(c, "_NET_SUPPORTED")), check(Atom(c, "_NET_SUPPORTING_WM_CHECK")),
      stacking(Atom(c, "_NET_CLIENT_LIST_STACKING")), state(Atom(c, "_NET_WM_STATE")),
      above(Atom(c, "_NET_WM_STATE_ABOVE")), skipTaskbar(Atom(c, "_NET_WM_STATE_SKIP_TASKBAR")),
      skipPager(Atom(c, "_NET_WM_STATE_SKIP_PAGER")), restack(Atom(c, "_NET_RESTACK_WINDOW")),
      moveResize(Atom(c, "_NET_MOVERESIZE_WINDOW")), active(Atom(c, "_NET_ACTIVE_WINDOW")),
      protocols(Atom(c, "WM_PROTOCOLS")), deleteWindow(Atom(c, "WM_DELETE_WINDOW")),
      name(Atom(c, "_NET_WM_NAME")), winLayer(Atom(c, "_WIN_LAYER")) {}

std::unique_ptr<TXcbDesktop> TXcbDesktop::OfApplication() {
    // The off-screen platform may offer an X11 interface too, without a
    // connection.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return nullptr;
    return std::make_unique<TXcbDesktop>(x11->connection());
}

TXcbDesktop::TXcbDesktop(xcb_connection_t* connection)
    : c_(connection), root_(xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root),
      atoms_(connection) {
    // The window manager's stacking order and the work area are properties of
    // the root window.
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, root_), nullptr);
    // Its children's changes too: the real stacking order, which a window
    // manager's list may not follow.
    const std::uint32_t mask = (attributes ? attributes->your_event_mask : 0) |
                               XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    std::free(attributes);
    xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c_);
}

bool TXcbDesktop::IsFollowedChange(const xcb_generic_event_t* event) const {
    switch (event->response_type & 0x7f) {
    case XCB_CONFIGURE_NOTIFY:
        return reinterpret_cast<const xcb_configure_notify_event_t*>(event)->event == root_;
    case XCB_MAP_NOTIFY:
        return reinterpret_cast<const xcb_map_notify_event_t*>(event)->event == root_;
    case XCB_UNMAP_NOTIFY:
        return reinterpret_cast<const xcb_unmap_notify_event_t*>(event)->event == root_;
    case XCB_PROPERTY_NOTIFY:
        break;
    default:
        return false;
    }
    const auto* property = reinterpret_cast<const xcb_property_notify_event_t*>(event);
    return property->window == root_ &&
           (property->atom == atoms_.stacking || property->atom == atoms_.active ||
            property->atom == atoms_.check || property->atom == atoms_.supported);
}

// A property holding 32-bit values (windows, atoms, cardinals).
std::vector<std::uint32_t> TXcbDesktop::Values(xcb_window_t window, xcb_atom_t property,
                                               xcb_atom_t type) const {
    std::vector<std::uint32_t> values;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c_, xcb_get_property(c_, 0, window, property, type, 0, 4096), nullptr);
    if (reply && reply->format == 32) {
        const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
        values.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
}

TWindowId TXcbDesktop::WindowManager() const {
    // The check window names itself too, or it is one left by a window
    // manager gone.
    const auto checkWindow = Values(root_, atoms_.check, XCB_ATOM_WINDOW);
    if (checkWindow.empty() || Values(checkWindow[0], atoms_.check, XCB_ATOM_WINDOW) != checkWindow)
        return kNoWindow;
    return checkWindow[0];
}

bool TXcbDesktop::SupportsStacking() const {
    const auto supported = Values(root_, atoms_.supported, XCB_ATOM_ATOM);
    return Contains(supported, atoms_.stacking) && Contains(supported, atoms_.above) &&
           Contains(supported, atoms_.restack);
}

std::string TXcbDesktop::WindowManagerName() const {
    const TWindowId manager = WindowManager();
    if (manager == kNoWindow)
        return {};
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c_, xcb_get_property(c_, 0, manager, atoms_.name, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
        nullptr);
    std::string text;
    if (reply && reply->format == 8)
        text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                    std::size_t(xcb_get_property_value_length(reply)));
    std::free(reply);
    return text;
}

std::vector<TWindowId> TXcbDesktop::RealStackingOrder() const {
    std::vector<TWindowId> order;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c_, xcb_query_tree(c_, root_), nullptr);
    if (!tree)
        return order;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    const int count = xcb_query_tree_children_length(tree);
    // One round trip for all of them.
    std::vector<xcb_get_window_attributes_cookie_t> cookies;
    std::vector<xcb_get_geometry_cookie_t> places;
    for (int i = 0; i < count; ++i) {
        cookies.push_back(xcb_get_window_attributes(c_, children[i]));
        places.push_back(xcb_get_geometry(c_, children[i]));
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    const QRect whole(0, 0, screen->width_in_pixels, screen->height_in_pixels);
    for (int i = 0; i < count; ++i) {
        xcb_get_window_attributes_reply_t* a =
            xcb_get_window_attributes_reply(c_, cookies[std::size_t(i)], nullptr);
        xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c_, places[std::size_t(i)], nullptr);
        // What can be seen: a window manager's helpers (off the screen, or a
        // pixel wide along its edges) are no windows of another program.
        if (a && g && a->map_state == XCB_MAP_STATE_VIEWABLE &&
            a->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT && g->width > 1 && g->height > 1 &&
            whole.intersects(QRect(g->x, g->y, g->width, g->height)))
            order.push_back(children[i]);
        std::free(a);
        std::free(g);
    }
    std::free(tree);
    return order;
}

TWindowId TXcbDesktop::TopLevelOf(TWindowId window) const {
    for (int depth = 0; depth < 16 && window != kNoWindow; ++depth) {
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(c_, xcb_query_tree(c_, window), nullptr);
        const xcb_window_t parent = tree ? tree->parent : xcb_window_t(XCB_NONE);
        std::free(tree);
        if (parent == XCB_NONE)
            return kNoWindow;
        if (parent == root_)
            return window;
        window = parent;
    }
    return kNoWindow;
}

void TXcbDesktop::RaiseOwn(TWindowId window) {
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(c_, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
}

void TXcbDesktop::PutBelow(TWindowId window, TWindowId sibling) {
    const std::uint32_t values[] = {sibling, XCB_STACK_MODE_BELOW};
    xcb_configure_window(c_, window, XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE,
                         values);
}

std::vector<TWindowId> TXcbDesktop::StackingOrder() const {
    return Values(root_, atoms_.stacking, XCB_ATOM_WINDOW);
}

TWindowId TXcbDesktop::ActiveWindow() const {
    return First(Values(root_, atoms_.active, XCB_ATOM_WINDOW));
}

bool TXcbDesktop::InUpperLayer(TWindowId window) const {
    return Contains(Values(window, atoms_.state, XCB_ATOM_ATOM), atoms_.above);
}

void TXcbDesktop::MarkAsCurtain(TWindowId window) {
    const xcb_atom_t states[] = {atoms_.skipTaskbar, atoms_.skipPager};
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window, atoms_.state, XCB_ATOM_ATOM, 32, 2,
                        states);
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window, atoms_.protocols, XCB_ATOM_ATOM, 32, 1,
                        &atoms_.deleteWindow);
}

void TXcbDesktop::Send(xcb_window_t window, xcb_atom_t type, std::uint32_t d0, std::uint32_t d1,
                       std::uint32_t d2, std::uint32_t d3, std::uint32_t d4) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    message.data.data32[0] = d0;
    message.data.data32[1] = d1;
    message.data.data32[2] = d2;
    message.data.data32[3] = d3;
    message.data.data32[4] = d4;
    xcb_send_event(c_, 0, root_,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
}

void TXcbDesktop::MoveResize(TWindowId window, const QRect& area) {
    constexpr std::uint32_t kNorthWest = 1, kXYWH = 0xf00;
    Send(window, atoms_.moveResize, kNorthWest | kXYWH | (kPager << 12), std::uint32_t(area.x()),
         std::uint32_t(area.y()), std::uint32_t(area.width()), std::uint32_t(area.height()));
}

void TXcbDesktop::SetUpperLayer(TWindowId window, bool on) {
    // add or remove, the state, no second state, the source
    Send(window, atoms_.state, on ? 1 : 0, atoms_.above, 0, kPager);
}

void TXcbDesktop::SetAboveDocks(TWindowId window, bool on) {
    constexpr std::uint32_t kNormal = 4, kAboveDock = 10;
    // To the window manager alone: the program itself follows the root
    // window's children and would get it back.
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atoms_.winLayer;
    message.data.data32[0] = on ? kAboveDock : kNormal;
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c_, 0, root_, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
}

void TXcbDesktop::Raise(TWindowId window) {
    // the source, no sibling, Above
    Send(window, atoms_.restack, kPager, XCB_NONE, XCB_STACK_MODE_ABOVE);
}

void TXcbDesktop::Activate(TWindowId window) {
    // the source, no time, nothing of ours active
    Send(window, atoms_.active, kPager, XCB_CURRENT_TIME, XCB_NONE);
}

void TXcbDesktop::Flush() {
    xcb_flush(c_);
}

TXcbDesktop::TGrab TXcbDesktop::GrabKeyboard(TWindowId window) {
    xcb_grab_keyboard_reply_t* reply =
        xcb_grab_keyboard_reply(c_,
                                xcb_grab_keyboard(c_, 1, window, XCB_CURRENT_TIME,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                nullptr);
    const std::uint8_t status = reply ? reply->status : std::uint8_t(XCB_GRAB_STATUS_NOT_VIEWABLE);
    std::free(reply);
    if (status == XCB_GRAB_STATUS_NOT_VIEWABLE)
        return TGrab::NotViewable;
    if (status == XCB_GRAB_STATUS_ALREADY_GRABBED || status == XCB_GRAB_STATUS_FROZEN)
        return TGrab::Refused;
    return TGrab::Taken;
}

bool TXcbDesktop::GrabPointer(TWindowId window) {
    // The program's own windows get their events as ever; a press anywhere
    // else comes to `window` and goes no further.
    xcb_grab_pointer_reply_t* reply = xcb_grab_pointer_reply(
        c_,
        xcb_grab_pointer(c_, 1, window,
                         XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                             XCB_EVENT_MASK_POINTER_MOTION,
                         XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE,
                         XCB_CURRENT_TIME),
        nullptr);
    const bool taken = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(reply);
    return taken;
}

void TXcbDesktop::UngrabPointer() {
    xcb_ungrab_pointer(c_, XCB_CURRENT_TIME);
    xcb_flush(c_);
}

void TXcbDesktop::UngrabKeyboard() {
    xcb_ungrab_keyboard(c_, XCB_CURRENT_TIME);
    xcb_flush(c_);
}

} // namespace kwizmar
