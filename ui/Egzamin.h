#pragma once

#include "QtRegionalSettings.h"
#include "QtTextMeasure.h"
#include "TestLoader.h"

#include <QWidget>

class QFileDialog;

namespace kwizmar {

class TSpeedButton;
class TStartPage;

// The main window. It shows the state of the loaded test and forwards the
// user's actions to the program's rules; it keeps no rules of its own.
class TEgzamin final : public QWidget {
public:
    explicit TEgzamin(QWidget* parent = nullptr);

    // The test to load once the window is first shown (the command line's
    // first argument); empty for none.
    void SetCommandLineTest(const QString& path);

    // The folder the test chooser opens in: "Testy" beside the program.
    static QString TestFolder();

    // ChooseTest: runs the open dialog and loads the chosen file, if any.
    void ChooseTest();
    void LoadTest(const QString& path);

    const TLoadedTest& LoadedTest() const { return loaded_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildLeftColumn();
    void Render();

    TQtRegionalSettings regional_;
    TQtTextMeasure measure_;
    TLoadedTest loaded_;
    TTestBoxView box_;

    QString commandLineTest_;
    bool shownOnce_ = false;

    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    TStartPage* Panel6 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr; // "&Zamknij"
    TSpeedButton* SpeedButton3 = nullptr; // "&Start"
    TSpeedButton* SpeedButton4 = nullptr; // "Abo&ut"
    TSpeedButton* SpeedButton5 = nullptr; // "&Opcje"
};

} // namespace kwizmar
