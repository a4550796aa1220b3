#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <ostream>

namespace kwizmar::testing {

// Runs `action`, which is expected to open a modal window; `inspect` is called
// with that window once it is up and must close it. Returns false when no
// modal window appeared within the time-out.
bool WithModal(const std::function<void()>& action, const std::function<void(QWidget*)>& inspect,
               int timeoutMs = 5000);

} // namespace kwizmar::testing

// GoogleTest shows a QString as its text, not as its UTF-16 code units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
