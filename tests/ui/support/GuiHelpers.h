#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <ostream>

namespace kwizmar::testing {

// Runs `action`, which is expected to open a modal window; `inspect` is called
// with that window once it is up and must close it. Returns false when no
// modal window appeared within the time-out.
bool WithModal(const std::function<void()>& action, const std::function<void(QWidget*)>& inspect,
               int timeoutMs = 5000);

// While it lives, nothing can show a web page: no xdg-open and no browser, as
// PATH names only an empty folder made in `scratch` (Qt's offscreen platform
// has no opener of its own). On Windows a page opens through the file types,
// so there this takes nothing away.
class TNoPageOpener {
public:
    explicit TNoPageOpener(const std::filesystem::path& scratch);
    ~TNoPageOpener();
    TNoPageOpener(const TNoPageOpener&) = delete;
    TNoPageOpener& operator=(const TNoPageOpener&) = delete;

private:
    QByteArray path_;
};

} // namespace kwizmar::testing

// GoogleTest shows a QString as its text, not as its UTF-16 code units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
