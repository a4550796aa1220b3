#pragma once

#include <QString>

#include <functional>
#include <initializer_list>

class QAbstractButton;
class QWidget;

namespace kwizmar {

// What a screen reader learns of the program's windows, through the
// accessible interfaces installed here once the application exists:
// - a window of the program's own (a plain widget) is a frame, named by its
//   accessible name where it has one, never by a scrolling title;
// - a plain frame inside a window is a panel, never a frame of its own;
// - a radio button is a radio button, whether or not the toolkit keeps it
//   exclusive (the exam decides which answer is checked);
// - a widget marked by ReadAsOneText is one piece of text.
void InstallAccessibility();

// `widget` reads as one text (a label), its children unseen: named by `text`
// asked at each reading, or by its accessible name where `text` is empty.
// No event tells of a change: it is read when the reader asks (the clock).
void ReadAsOneText(QWidget* widget, std::function<QString()> text = {});

// Radio buttons whose group is told once, as the context the focus enters
// (a panel named by the question), not again before each of them: a reader
// takes a radio button's group from its label where it has one, and each of
// these gets an empty one.
void TellGroupOnce(std::initializer_list<QAbstractButton*> buttons);

// A button's caption as read: the accelerator's "&" dropped, "&&" kept as "&".
QString WithoutAccelerator(const QString& caption);

} // namespace kwizmar
