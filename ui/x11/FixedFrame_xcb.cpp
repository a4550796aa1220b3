#include "FixedFrame.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>

namespace kwizmar {

namespace {

// X11 window managers learn which frame a window wants from its Motif hints.
// Qt always asks there for resize handles and for resizing, even when the
// smallest and the largest size of the window are the same, so the hints
// are written again here without them.
constexpr std::uint32_t kHintFunctions = 1u << 0;
constexpr std::uint32_t kHintDecorations = 1u << 1;
constexpr std::uint32_t kFunctionMove = 1u << 2;
constexpr std::uint32_t kFunctionMinimize = 1u << 3;
constexpr std::uint32_t kFunctionClose = 1u << 5;
constexpr std::uint32_t kDecorationBorder = 1u << 1;
constexpr std::uint32_t kDecorationTitle = 1u << 3;
constexpr std::uint32_t kDecorationMenu = 1u << 4;
constexpr std::uint32_t kDecorationMinimize = 1u << 5;

void WriteFixedFrameHints(WId window) {
    // Off screen or on Wayland the fixed size says it all. (The off-screen
    // platform may offer an X11 interface too, without an xcb connection.)
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    static constexpr char kName[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr);
    if (!atom)
        return;
    // flags, functions, decorations, input mode, status
    const std::uint32_t hints[5] = {
        kHintFunctions | kHintDecorations, kFunctionMove | kFunctionMinimize | kFunctionClose,
        kDecorationBorder | kDecorationTitle | kDecorationMenu | kDecorationMinimize, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window),
                        atom->atom, atom->atom, 32, 5, hints);
    xcb_flush(connection);
    std::free(atom);
}

// Qt writes its hints when it makes the native window, just before the first
// showing; these go over them at each showing, before the window is mapped.
class TFixedFrameHints final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            WriteFixedFrameHints(static_cast<QWidget*>(watched)->winId());
        return false;
    }
};

} // namespace

void AskWindowSystemForFixedFrame(QWidget& window) {
    window.installEventFilter(new TFixedFrameHints(&window));
}

} // namespace kwizmar
