#include "GuiHelpers.h"

#include <QElapsedTimer>

namespace kwizmar::testing {

bool WithModal(const std::function<void()>& action, const std::function<void(QWidget*)>& inspect,
               int timeoutMs) {
    bool seen = false;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            poll.stop();
            seen = true;
            inspect(modal);
        } else if (clock.elapsed() > timeoutMs) {
            poll.stop();
        }
    });
    poll.start();
    action();
    poll.stop();
    return seen;
}

TNoPageOpener::TNoPageOpener(const std::filesystem::path& scratch) : path_(qgetenv("PATH")) {
    std::filesystem::create_directories(scratch / "pusty");
    qputenv("PATH", QByteArray::fromStdString((scratch / "pusty").string()));
}

TNoPageOpener::~TNoPageOpener() {
    qputenv("PATH", path_);
}

} // namespace kwizmar::testing
