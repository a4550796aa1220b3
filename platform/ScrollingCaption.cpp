#include "ScrollingCaption.h"

#include "Cp1250.h"

#include <utility>
#include <vector>

namespace kwizmar {

namespace {

// Splits UTF-8 text into its characters, so that a rotation never cuts a
// Polish letter in half. A malformed byte counts as one character.
std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> chars;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        char32_t cp;
        if (!NextCodePoint(text, pos, cp))
            pos = start + 1;
        chars.push_back(text.substr(start, pos - start));
    }
    return chars;
}

} // namespace

TScrollingCaption::TScrollingCaption(std::string text, std::string applicationTitle)
    : text_(std::move(text)), applicationTitle_(std::move(applicationTitle)) {}

void TScrollingCaption::SetText(std::string text) {
    text_ = std::move(text);
    position_ = 1;
}

void TScrollingCaption::SetEnabled(bool enabled) {
    enabled_ = enabled;
    position_ = 1;
    SetTitles(text_);
    if (OnEnabled)
        OnEnabled(enabled);
}

void TScrollingCaption::Step() {
    if (!enabled_)
        return;
    const std::vector<std::string> chars = Characters(text_ + Space);
    if (chars.empty())
        return;
    const std::size_t length = chars.size();
    if (std::size_t(position_) > length)
        position_ = 1;
    std::string rotated;
    for (std::size_t i = 0; i < length; ++i)
        rotated += chars[(std::size_t(position_) - 1 + i) % length];
    SetTitles(rotated);
    position_ = std::size_t(position_) == length ? 1 : position_ + 1;
}

void TScrollingCaption::SetTitles(const std::string& title) {
    windowTitle_ = title;
    if (OnWindowTitle)
        OnWindowTitle(windowTitle_);
    if (IsMainWindow) {
        applicationTitle_ = title;
        if (OnApplicationTitle)
            OnApplicationTitle(applicationTitle_);
    }
}

} // namespace kwizmar
