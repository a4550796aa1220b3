#pragma once

#include <functional>
#include <string>

namespace kwizmar {

// Title scrolling: the main window's title runs from right to left, and, when
// IsMainWindow is true, the application's title (its taskbar entry) too.
//
// The component holds no timer of its own: while Enabled() is true the window
// runs a timer of Interval() milliseconds and calls Step() on every tick.
// Each change of a title is reported through OnWindowTitle/OnApplicationTitle
// and kept for WindowTitle()/ApplicationTitle().
//
// The scrolled text is Text() followed by Space; L is its length in
// characters. Step() shows it rotated to begin at character Position() (p,
// 1..L), then advances p, wrapping after L, so the titles repeat every L
// steps and the first step after switching on shows the text unrotated.
class TScrollingCaption {
public:
    static constexpr int kDefaultInterval = 200;

    // `applicationTitle` is the application's title until scrolling changes it.
    explicit TScrollingCaption(std::string text = "Nerbaly Kwizmar 2002",
                               std::string applicationTitle = "Kwizmar 2002");

    const std::string& Text() const { return text_; }
    // Sets the text and puts p back to 1; the titles change at the next step.
    void SetText(std::string text);

    // The gap between the end of the text and its next beginning: five blanks.
    std::string Space = "     ";

    // When true, each step also sets the application's title. Changing it
    // redraws nothing by itself: switched off while scrolling, the
    // application's title stays at the last rotated text.
    bool IsMainWindow = false;

    bool Enabled() const { return enabled_; }
    // Switching on or off sets the window's title to the plain text (and the
    // application's title too while IsMainWindow is true) and puts p back to 1.
    // The caller starts or stops its timer to match Enabled(); OnEnabled tells
    // it of every switch.
    void SetEnabled(bool enabled);
    std::function<void(bool enabled)> OnEnabled;

    int Interval() const { return interval_; }
    void SetInterval(int milliseconds) { interval_ = milliseconds; }

    int Position() const { return position_; }

    // One timer tick; does nothing while not enabled.
    void Step();

    // The titles the component last set. The window title is empty until the
    // component first sets it.
    const std::string& WindowTitle() const { return windowTitle_; }
    const std::string& ApplicationTitle() const { return applicationTitle_; }

    std::function<void(const std::string&)> OnWindowTitle;
    std::function<void(const std::string&)> OnApplicationTitle;

private:
    void SetTitles(const std::string& title);

    std::string text_;
    std::string windowTitle_;
    std::string applicationTitle_;
    bool enabled_ = false;
    int interval_ = kDefaultInterval;
    int position_ = 1;
};

} // namespace kwizmar
