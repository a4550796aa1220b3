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
// mouse move over the panel hides it again.
class TRightButtonHelp final : public QObject {
public:
    using TLookup = std::function<const THelpEntry*(std::string_view)>;
    TRightButtonHelp(QWidget* window, TLookup lookup);

    // Watches `control` (and, for a composite field, its inner widgets).
    void Watch(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    TLookup lookup_;
    THelpPanel* panel_;
};

} // namespace kwizmar
