#include "DirectStrip.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace kwizmar {

namespace {

template <typename T> using TReply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> TReply<T> Reply(T* reply) {
    return TReply<T>(reply, &std::free);
}

xcb_connection_t* Connection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The pixels are sent as the toolkit keeps them (32 bits, 0x00RRGGBB in the
// machine's order), so the window must take exactly that: 24 bits of colour
// in 32-bit pixels, red, green and blue in their usual places, in this
// machine's byte order.
bool TakesOurPixels(xcb_connection_t* c, xcb_window_t window, std::uint8_t depth) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const std::uint8_t ours = QSysInfo::ByteOrder == QSysInfo::LittleEndian
                                  ? XCB_IMAGE_ORDER_LSB_FIRST
                                  : XCB_IMAGE_ORDER_MSB_FIRST;
    if (depth != 24 || setup->image_byte_order != ours)
        return false;
    bool wholeWords = false;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
        if (f.data->depth == depth)
            wholeWords = f.data->bits_per_pixel == 32;
    const auto attributes =
        Reply(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
    if (!wholeWords || !attributes)
        return false;
    for (auto s = xcb_setup_roots_iterator(setup); s.rem; xcb_screen_next(&s))
        for (auto d = xcb_screen_allowed_depths_iterator(s.data); d.rem; xcb_depth_next(&d))
            for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v))
                if (v.data->visual_id == attributes->visual)
                    return d.data->depth == depth && v.data->red_mask == 0xFF0000u &&
                           v.data->green_mask == 0x00FF00u && v.data->blue_mask == 0x0000FFu;
    return false;
}

// True when no other widget of the window lies over any part of `w` and no
// ancestor cuts it off: later children are stacked over earlier ones. (Cheaper
// than the toolkit's visible region, which is built 14 times a second here.)
bool NothingOver(const QWidget& w) {
    QRect area = w.geometry(); // in the parent's coordinates
    for (const QWidget* c = &w; !c->isWindow(); c = c->parentWidget()) {
        const QWidget* parent = c->parentWidget();
        if (!parent || !parent->rect().contains(area))
            return false;
        bool above = false;
        for (const QObject* o : parent->children()) {
            if (o == c) {
                above = true;
            } else if (above && o->isWidgetType()) {
                const auto* sibling = static_cast<const QWidget*>(o);
                if (!sibling->isWindow() && sibling->isVisible() &&
                    sibling->geometry().intersects(area))
                    return false;
            }
        }
        area.translate(parent->pos());
    }
    return true;
}

std::uint32_t Pixel(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.rgb()) & 0xFFFFFFu;
}

} // namespace

struct TDirectStrip::TState {
    xcb_connection_t* c = nullptr;
    xcb_window_t window = 0; // the top-level window the strip is part of
    xcb_window_t root = 0;
    bool usable = false;
    xcb_gcontext_t gc = 0;
    xcb_pixmap_t back = 0; // the strip put together before it is shown
    QSize backSize;
    QImage images[2];                  // the pictures as given
    xcb_pixmap_t pictures[2] = {0, 0}; // and as the window system keeps them
    bool sent[2] = {false, false};

    void Release() {
        if (c) {
            for (xcb_pixmap_t& p : pictures)
                if (p)
                    xcb_free_pixmap(c, p);
            if (back)
                xcb_free_pixmap(c, back);
            if (gc)
                xcb_free_gc(c, gc);
        }
        pictures[0] = pictures[1] = back = gc = 0;
        sent[0] = sent[1] = false;
        backSize = QSize();
        usable = false;
    }

    // Learns the window once; false when it can't be drawn on directly.
    bool Attach(xcb_window_t top) {
        if (top == window && c)
            return usable;
        Release();
        c = Connection();
        window = top;
        if (!c || !top)
            return false;
        const auto geometry = Reply(xcb_get_geometry_reply(c, xcb_get_geometry(c, top), nullptr));
        if (!geometry || !TakesOurPixels(c, top, geometry->depth))
            return false;
        root = geometry->root;
        gc = xcb_generate_id(c);
        const std::uint32_t noExposures[] = {0};
        xcb_create_gc(c, gc, top, XCB_GC_GRAPHICS_EXPOSURES, noExposures);
        usable = true;
        return usable;
    }

    xcb_pixmap_t MakePixmap(QSize size) {
        const xcb_pixmap_t pixmap = xcb_generate_id(c);
        const auto error = Reply(xcb_request_check(
            c,
            xcb_create_pixmap_checked(c, 24, pixmap, root, static_cast<std::uint16_t>(size.width()),
                                      static_cast<std::uint16_t>(size.height()))));
        return error ? 0 : pixmap;
    }

    // Sends picture `i`, in bands that each fit one request.
    bool Send(int i) {
        const QImage image = images[i].convertToFormat(QImage::Format_RGB32);
        if (pictures[i])
            xcb_free_pixmap(c, pictures[i]);
        pictures[i] = 0;
        sent[i] = true;
        if (image.isNull())
            return true; // nothing to show
        const auto line = static_cast<std::size_t>(image.bytesPerLine());
        const std::size_t room = xcb_get_maximum_request_length(c) * 4u - 64u;
        if (image.width() > 0x7FFF || image.height() > 0x7FFF || line > room)
            return false;
        pictures[i] = MakePixmap(image.size());
        if (!pictures[i])
            return false;
        const int band = static_cast<int>(room / line);
        for (int top = 0; top < image.height(); top += band) {
            const int rows = std::min(band, image.height() - top);
            xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pictures[i], gc,
                          static_cast<std::uint16_t>(image.width()),
                          static_cast<std::uint16_t>(rows), 0, static_cast<std::int16_t>(top), 0,
                          24, static_cast<std::uint32_t>(line * static_cast<std::size_t>(rows)),
                          image.constScanLine(top));
        }
        return true;
    }

    void Fill(xcb_drawable_t target, const QColor& colour, const QRect& r) {
        const std::uint32_t pixel[] = {Pixel(colour)};
        xcb_change_gc(c, gc, XCB_GC_FOREGROUND, pixel);
        const xcb_rectangle_t rect{
            static_cast<std::int16_t>(r.x()), static_cast<std::int16_t>(r.y()),
            static_cast<std::uint16_t>(r.width()), static_cast<std::uint16_t>(r.height())};
        xcb_poly_fill_rectangle(c, target, gc, 1, &rect);
    }
};

TDirectStrip::TDirectStrip(QWidget& strip) : strip_(strip), state_(std::make_unique<TState>()) {}

TDirectStrip::~TDirectStrip() {
    // The connection outlives the windows; after it, there is nothing to free.
    if (state_->c && Connection() == state_->c)
        state_->Release();
}

void TDirectStrip::SetPicture(int index, const QImage& picture) {
    state_->images[index] = picture;
    state_->sent[index] = false;
}

bool TDirectStrip::Draw(const QColor& background, const int xs[2], int top, const QRect ends[2],
                        const QColor& endsColour) {
    // Only a strip wholly in view is drawn here: whatever lies over a part of
    // it (a panel of the same window) is left to the toolkit's clipping.
    if (!strip_.isVisible() || strip_.devicePixelRatio() != 1.0 || !NothingOver(strip_))
        return false;
    TState& s = *state_;
    if (!s.Attach(static_cast<xcb_window_t>(strip_.window()->internalWinId())))
        return false;
    for (int i = 0; i < 2; ++i)
        if (!s.sent[i] && !s.Send(i)) {
            s.usable = false;
            return false;
        }
    const QSize size = strip_.size();
    if (size != s.backSize) {
        if (s.back)
            xcb_free_pixmap(s.c, s.back);
        s.back = s.MakePixmap(size);
        s.backSize = s.back ? size : QSize();
        if (!s.back) {
            s.usable = false;
            return false;
        }
    }
    const QRect whole(QPoint(), size);
    s.Fill(s.back, background, whole);
    for (int i = 0; i < 2; ++i) {
        const QRect at(QPoint(xs[i], top), s.images[i].size());
        if (s.pictures[i] && at.intersects(whole))
            xcb_copy_area(s.c, s.pictures[i], s.back, s.gc, 0, 0, static_cast<std::int16_t>(at.x()),
                          static_cast<std::int16_t>(at.y()), static_cast<std::uint16_t>(at.width()),
                          static_cast<std::uint16_t>(at.height()));
    }
    for (int i = 0; i < 2; ++i)
        s.Fill(s.back, endsColour, ends[i]);
    const QPoint at = strip_.mapTo(strip_.window(), QPoint());
    xcb_copy_area(s.c, s.back, s.window, s.gc, 0, 0, static_cast<std::int16_t>(at.x()),
                  static_cast<std::int16_t>(at.y()), static_cast<std::uint16_t>(size.width()),
                  static_cast<std::uint16_t>(size.height()));
    xcb_flush(s.c);
    return true;
}

} // namespace kwizmar
