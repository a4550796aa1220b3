#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>

namespace kwizmar::testing {

// Runs `action`, which is expected to open a modal window; `inspect` is called
// with that window once it is up and must close it. Returns false when no
// modal window appeared within the time-out.
bool WithModal(const std::function<void()>& action, const std::function<void(QWidget*)>& inspect,
               int timeoutMs = 5000);

} // namespace kwizmar::testing
