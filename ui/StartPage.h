#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QSpinBox;
class QGroupBox;

namespace kwizmar {

class TOdometer;
class TSpeedButton;
struct TTestBoxView;

// The start page (Panel6): welcome text, the user's name and the exam time,
// and the box that shows the chosen test.
class TStartPage final : public QFrame {
public:
    explicit TStartPage(QWidget* parent);

    QLineEdit* NameEdit = nullptr;
    QSpinBox* SETime = nullptr;
    TSpeedButton* SpeedButton2 = nullptr; // "&Wybierz test ..."
    TOdometer* Odometer1 = nullptr;       // how many times the program was started

    QLabel* Directory = nullptr;
    QLabel* Linia1 = nullptr;
    QLabel* Linia2 = nullptr;
    QLabel* TSName = nullptr;
    QLabel* TSAutor = nullptr;
    QLabel* TSData = nullptr;
    QLabel* TSPyt = nullptr;
    QLabel* TSPkt = nullptr;
    QLabel* TSSam = nullptr;
    // What the lockdown the options ask for can't do on this desktop, over
    // the welcome text, before an exam starts.
    QLabel* LockdownNote = nullptr;

private:
    QLabel* AddValue(QGroupBox* box, const char* name, const char* caption, const QString& hint,
                     int y, int captionWidth);
};

} // namespace kwizmar
