#include "DirectStrip.h"

#include <QImage>

namespace kwizmar {

// On Windows a repaint of the strip is a cheap blit already: the toolkit
// draws it.
struct TDirectStrip::TState {};

TDirectStrip::TDirectStrip(QWidget& strip) : strip_(strip), state_(std::make_unique<TState>()) {}

TDirectStrip::~TDirectStrip() = default;

void TDirectStrip::SetPicture(int, const QImage&) {}

bool TDirectStrip::Draw(const QColor&, const int[2], int, const QRect[2], const QColor&) {
    return false;
}

} // namespace kwizmar
