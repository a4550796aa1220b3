#pragma once

#include "QtTextMeasure.h"
#include "StatystykaLogic.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPrinter;
class QScrollArea;

namespace kwizmar {

class TClassSummaryWindow;
class TQuestionAnalysisWindow;
class TListBox;
class TLogListModel;
class TSpeedButton;

// The statistics window: the results log's one list, with delete, clear, save
// and print. It is created once and hidden, not destroyed, when closed.
class TStatystyka final : public QWidget {
public:
    // `locked` tells whether "Zablokuj edytowanie statystyk" is checked now.
    TStatystyka(TResultsLog& log, std::function<bool()> locked, QWidget* parent = nullptr);
    ~TStatystyka() override;

    // "&Drukuj": the print dialog, then the list on the chosen printer.
    void SpeedButton5Click();
    // The list on `printer` in the list's font, wrapped at the page width and
    // broken into pages. A progress window counts the pages and can cancel
    // the printout; the windows are repainted between pages, and the pointer
    // shows the program busy meanwhile. False when the printout was cancelled
    // (the printing system takes back what it can of the job; a file being
    // printed to is removed) or could not begin.
    bool Print(QPrinter& printer);

    const TStatystykaLogic& Logic() const { return logic_; }

    // The results waiting on this computer changed: the note under the list
    // counts them again.
    void ShowWaiting();

    // The window on its own ("kwizmar --wyniki"): its title names the program
    // and the log's file, `path`.
    void ShowAlone(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // What an action did to the lines: nothing, an edit (the list keeps its
    // place), or a fresh load (the list starts at the top).
    enum class TListChange { None, Edited, Loaded };
    void Act(const std::function<void()>& action, TListChange change);
    void Render(TListChange change);
    void ArrangeButtons();
    void LayOut();

    TResultsLog& log_;
    TQtTextMeasure measure_;
    TStatystykaLogic logic_;
    TLogListModel* model_ = nullptr;
    bool rendering_ = false;
    bool printing_ = false;

    TListBox* ListBox1 = nullptr;
    QLabel* Oczekujace = nullptr;       // the results waiting on this computer
    QScrollArea* PanelScroll = nullptr; // Panel1 in it
    QWidget* Panel1 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr; // "&Zamknij"
    TSpeedButton* SpeedButton2 = nullptr; // "&Usuń ..."
    TSpeedButton* SpeedButton3 = nullptr; // "Z&apisz ..."
    TSpeedButton* SpeedButton4 = nullptr; // "&Wyczyść"
    TSpeedButton* SpeedButton5 = nullptr; // "&Drukuj"
    TSpeedButton* SpeedButton6 = nullptr; // "&Eksportuj ..."
    TSpeedButton* SpeedButton7 = nullptr; // "&Klasa ..."
    TSpeedButton* SpeedButton8 = nullptr; // "Analiza &pytań ..."
    TClassSummaryWindow* summary_ = nullptr;
    TQuestionAnalysisWindow* analysis_ = nullptr;
};

} // namespace kwizmar
