// The main window's frame: fixed in size, with a minimise box and no
// maximise box; on X11 the window manager is asked for no resize handles.

#include "ProgramFixture.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

class FixedFrameTest : public ProgramTest {};

// The Motif hints of an X11 window: flags, functions, decorations; empty when
// it has none.
std::vector<std::uint32_t> MotifHints(QWidget& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11->connection();
    static constexpr char kName[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, sizeof kName - 1, kName), nullptr);
    std::vector<std::uint32_t> hints;
    if (!atom)
        return hints;
    xcb_get_property_reply_t* property = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, static_cast<xcb_window_t>(window.winId()), atom->atom,
                         atom->atom, 0, 5),
        nullptr);
    if (property && property->format == 32) {
        const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(property));
        hints.assign(values, values + std::min(3, xcb_get_property_value_length(property) / 4));
    }
    std::free(property);
    std::free(atom);
    return hints;
}

} // namespace

TEST_F(FixedFrameTest, TheMainWindowAsksForAFixedFrameWithAMinimiseBox) {
    Start();
    const Qt::WindowFlags flags = Window().windowHandle()->flags();
    EXPECT_TRUE(flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(Window().minimumSize(), Window().size());
    EXPECT_EQ(Window().maximumSize(), Window().size());

    if (QGuiApplication::platformName() != "xcb")
        return; // only X11 has the window manager's hints to look at
    constexpr std::uint32_t kFunctionResize = 1u << 1, kFunctionMinimize = 1u << 3,
                            kFunctionMaximize = 1u << 4;
    constexpr std::uint32_t kDecorationResizeHandles = 1u << 2, kDecorationMinimize = 1u << 5,
                            kDecorationMaximize = 1u << 6;
    const std::vector<std::uint32_t> hints = MotifHints(Window());
    ASSERT_EQ(hints.size(), 3u);
    const std::uint32_t functions = hints[1], decorations = hints[2];
    EXPECT_EQ(functions & (kFunctionResize | kFunctionMinimize | kFunctionMaximize),
              kFunctionMinimize);
    EXPECT_EQ(decorations & (kDecorationResizeHandles | kDecorationMinimize | kDecorationMaximize),
              kDecorationMinimize);
}
