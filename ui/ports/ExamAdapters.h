#pragma once

#include "ExamPorts.h"

namespace kwizmar {

// The exam's ports on Qt: its message boxes and the system clock.

// A message box titled with the application title, one OK button.
class TQtMessageBox final : public IMessageBox {
public:
    void ShowMessage(const std::string& text) override;
};

class TSystemClock final : public ILocalClock {
public:
    TLocalDateTime Now() const override;
};

} // namespace kwizmar
