#pragma once

#include <QObject>

#include <functional>
#include <string_view>

class QWidget;

namespace kwizmar {

class THelpPanel;
struct THelpEntry;

// Right-button help in a window other than the main one: a press with the
// right button on one of the watched controls shows the pale-yellow panel
// with the control's lines beside the pointer, as in the main window; a
// mouse move over the panel hides it again. From the keyboard the menu key
// (or Shift + F10) shows the focused control's panel beneath it, and the next
// key or a move of the focus hides it.
class TRightButtonHelp final : public QObject {
public:
    using TLookup = std::function<const THelpEntry*(std::string_view)>;
    TRightButtonHelp(QWidget* window, TLookup lookup);

    // Watches `control` (and, for a composite field, its inner widgets).
    void Watch(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the panel of `watched`'s entry at `pointer` (screen coordinates);
    // false where the control has none.
    bool Show(QObject* watched, const QPoint& pointer);

    QWidget* window_;
    TLookup lookup_;
    THelpPanel* panel_;
};

// F1 in `window` opens the program's help page at `section` (a heading's id in
// help/trelvo2006.html) as the about window's "Pomoc" does; where the page is
// missing or nothing can show it, a message says so and names its file.
void HelpOnF1(QWidget* window, const char* section);

} // namespace kwizmar
