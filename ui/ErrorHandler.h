#pragma once

#include <QString>

#include <exception>
#include <functional>

class QWidget;

namespace kwizmar {

// The title the application shows for itself (error boxes, the taskbar);
// "Kwizmar 2002" once the program has started.
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);

// The program's one error handler: an error box with the exception's text,
// titled with the application title, never under the splash.
void ShowException(const std::exception& error);

// Runs one user action; an exception stops the action where it arose (what it
// did before stays done) and is shown by ShowException. Then, whether it
// failed or not, runs what SetAfterGuardedActions gave, if anything.
void RunGuarded(const std::function<void()>& action);

// What follows every guarded action from now on: the program tells there
// what an action found out of the way (a settings file it can't write).
void SetAfterGuardedActions(std::function<void()> after);

} // namespace kwizmar
