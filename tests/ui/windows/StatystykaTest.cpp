// The statistics window in the running program: the log on screen, the
// buttons by the lock of the options window, editing, saving and printing.

#include "Statystyka.h"
#include "ClassSummaryWindow.h"
#include "Cp1250.h"
#include "GuiHelpers.h"
#include "LogListModel.h"
#include "Opcje.h"
#include "ProgramFixture.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <fstream>
#include <sstream>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

using TStates = std::array<bool, 3>;

class StatystykaTest : public ProgramTest {
protected:
    std::filesystem::path LogPath() const {
        return dir.path() / "data" / "Kwizmar" / "MSStr32.dll";
    }
    void WriteLog(const std::vector<std::string>& lines) const {
        std::filesystem::create_directories(LogPath().parent_path());
        std::ofstream out(LogPath(), std::ios::binary);
        for (const std::string& line : lines)
            out << Utf8ToCp1250(line) << "\r\n";
    }
    std::string ReadLog() const {
        std::ifstream in(LogPath(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return Cp1250ToUtf8(bytes.str());
    }
    TStatystyka& Statistics() { return program->Statistics(); }
    QAbstractItemView* List() { return Statistics().findChild<QAbstractItemView*>("ListBox1"); }
    QToolButton* StatButton(const char* name) {
        return Statistics().findChild<QToolButton*>(QString::fromLatin1(name));
    }
    void Open() {
        Statistics().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Statistics()));
    }
    void Select(int row) {
        const QRect rect = List()->visualRect(List()->model()->index(row, 0));
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    }
    // "&Usuń ...", "&Wyczyść", "Z&apisz ..." enabled.
    std::array<bool, 3> States() {
        return {StatButton("SpeedButton2")->isEnabled(), StatButton("SpeedButton4")->isEnabled(),
                StatButton("SpeedButton3")->isEnabled()};
    }
    QStringList Rows() {
        QStringList rows;
        for (int i = 0; i < List()->model()->rowCount(); ++i)
            rows << List()->model()->index(i, 0).data().toString();
        return rows;
    }
    // "Z&apisz ..." where it asks first: the question, answered with `answer`.
    QString SaveAnswering(QMessageBox::StandardButton answer) {
        QString asked;
        EXPECT_TRUE(
            WithModal([&] { QTest::mouseClick(StatButton("SpeedButton3"), Qt::LeftButton); },
                      [&](QWidget* modal) {
                          auto* box = qobject_cast<QMessageBox*>(modal);
                          asked = box->text();
                          box->button(answer)->click();
                      }));
        return asked;
    }
    void Lock(bool locked) {
        auto* box = program->Options().findChild<QAbstractButton*>("CheckBox1");
        if (box->isChecked() != locked)
            QTest::mouseClick(box, Qt::LeftButton);
    }
};

} // namespace

TEST_F(StatystykaTest, TheButtonsFollowTheListAndTheLock) {
    WriteLog({"1. Użytkownik Ala", "2. Użytkownik Olek", "3. Użytkownik Żaneta"});
    Start();
    Open();
    EXPECT_EQ(Statistics().windowTitle(), "Statystyka");
    EXPECT_EQ(Statistics().size(), QSize(720, 375));
    const std::pair<const char*, QString> captions[] = {{"SpeedButton3", "Z&apisz ..."},
                                                        {"SpeedButton2", "&Usuń ..."},
                                                        {"SpeedButton4", "&Wyczyść"},
                                                        {"SpeedButton5", "&Drukuj"},
                                                        {"SpeedButton1", "&Zamknij"}};
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(StatButton(name)->text(), caption) << name;
    EXPECT_EQ(StatButton("SpeedButton2")->toolTip(), "Usuń wybraną linię");
    EXPECT_EQ(StatButton("SpeedButton1")->x(), 616);
    EXPECT_EQ(Rows(),
              (QStringList{"1. Użytkownik Ala", "2. Użytkownik Olek", "3. Użytkownik Żaneta"}));
    EXPECT_EQ(States(), (TStates{false, true, false}));
    Select(1);
    EXPECT_EQ(States(), (TStates{true, true, false}));
    QTest::mouseClick(StatButton("SpeedButton2"), Qt::LeftButton);
    EXPECT_EQ(States(), (TStates{false, true, true}));
    EXPECT_EQ(SaveAnswering(QMessageBox::Yes),
              QString::fromUtf8("Zapisać? Z dziennika zniknie 1 wynik."));
    EXPECT_EQ(States(), (TStates{false, true, false}));
    QTest::mouseClick(StatButton("SpeedButton4"), Qt::LeftButton);
    EXPECT_EQ(States(), (TStates{false, false, true}));
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_TRUE(StatButton("SpeedButton5")->isEnabled());
    EXPECT_TRUE(StatButton("SpeedButton1")->isEnabled());

    // Shown again: the unsaved clearing is gone; now locked by the options.
    Statistics().close();
    Lock(true);
    Open();
    EXPECT_EQ(Rows().size(), 2);
    EXPECT_EQ(States(), (TStates{false, false, false}));
    Select(0);
    EXPECT_EQ(List()->currentIndex().row(), 0);
    EXPECT_EQ(States(), (TStates{false, false, false}));
    QTest::mouseClick(StatButton("SpeedButton2"), Qt::LeftButton);
    EXPECT_EQ(Rows().size(), 2);
    // Unlocked while the window is open: the next selection sees it.
    Lock(false);
    Select(1);
    EXPECT_EQ(States(), (TStates{true, true, false}));
}

TEST_F(StatystykaTest, TheFirstMovingKeySelectsALineAsAClickWould) {
    const std::vector<std::string> three = {"1. Ala", "2. Olek", "3. Żaneta"};
    const struct {
        std::vector<std::string> log;
        Qt::Key key;
        int row;
    } cases[] = {
        {{"1. Ala"}, Qt::Key_Down, 0},     {{"1. Ala"}, Qt::Key_Up, 0},
        {{"1. Ala"}, Qt::Key_Home, 0},     {{"1. Ala"}, Qt::Key_End, 0},
        {{"1. Ala"}, Qt::Key_PageDown, 0}, {three, Qt::Key_Up, 0},
        {three, Qt::Key_Home, 0},          {three, Qt::Key_Down, 1},
        {three, Qt::Key_End, 2},
    };
    Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.log.size() << " lines, key "
                                          << QKeySequence(c.key).toString().toStdString());
        WriteLog(c.log);
        Open();
        Statistics().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Statistics()));
        ASSERT_TRUE(List()->hasFocus());
        // Taking the focus alone selects nothing.
        EXPECT_EQ(Statistics().Logic().view().selected, -1);
        EXPECT_FALSE(StatButton("SpeedButton2")->isEnabled());
        QTest::keyClick(List(), c.key);
        EXPECT_EQ(Statistics().Logic().view().selected, c.row);
        EXPECT_EQ(List()->selectionModel()->selectedRows().value(0).row(), c.row);
        EXPECT_TRUE(StatButton("SpeedButton2")->isEnabled());
        Statistics().close();
    }
}

TEST_F(StatystykaTest, AfterADeleteTheArrowsGoOnFromTheDeletedLinesPlace) {
    std::vector<std::string> lines;
    for (int i = 1; i <= 200; ++i)
        lines.push_back(std::to_string(i) + ". Użytkownik Jan");
    const struct {
        int deleted;
        Qt::Key key;
        const char* selected;
    } cases[] = {
        {100, Qt::Key_Down, "102. Użytkownik Jan"},
        {100, Qt::Key_Up, "100. Użytkownik Jan"},
        {199, Qt::Key_Down, "199. Użytkownik Jan"},
        {199, Qt::Key_Up, "199. Użytkownik Jan"},
    };
    Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "line " << c.deleted + 1 << " deleted, key "
                                          << QKeySequence(c.key).toString().toStdString());
        WriteLog(lines);
        Open();
        List()->scrollTo(List()->model()->index(c.deleted, 0));
        Select(c.deleted);
        QTest::mouseClick(StatButton("SpeedButton2"), Qt::LeftButton);
        ASSERT_EQ(List()->model()->rowCount(), 199);
        ASSERT_EQ(Statistics().Logic().view().selected, -1);
        QTest::keyClick(List(), c.key);
        const int row = Statistics().Logic().view().selected;
        ASSERT_GE(row, 0);
        EXPECT_EQ(List()->model()->index(row, 0).data().toString().toStdString(), c.selected);
        EXPECT_EQ(List()->selectionModel()->selectedRows().value(0).row(), row);
        EXPECT_TRUE(List()->viewport()->rect().intersects(
            List()->visualRect(List()->model()->index(row, 0))));
        EXPECT_TRUE(StatButton("SpeedButton2")->isEnabled());
        Statistics().close();
    }
}

// The list taking the focus, or a delete, leaves no line selected: none is
// drawn as if it were, the line the keyboard stands on included.
TEST_F(StatystykaTest, NoLineLooksSelectedUntilOneIs) {
    WriteLog({"1. Ala", "2. Olek", "3. Żaneta"});
    Start();
    Open();
    Statistics().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Statistics()));
    ASSERT_TRUE(List()->hasFocus());
    auto looksAsWithoutCurrentLine = [&] {
        const QImage shown = List()->viewport()->grab().toImage();
        const QModelIndex current = List()->currentIndex();
        List()->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        const QImage plain = List()->viewport()->grab().toImage();
        List()->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
        return shown == plain;
    };
    ASSERT_TRUE(List()->currentIndex().isValid());
    EXPECT_TRUE(looksAsWithoutCurrentLine());
    Select(1);
    EXPECT_FALSE(looksAsWithoutCurrentLine());
    QTest::mouseClick(StatButton("SpeedButton2"), Qt::LeftButton);
    ASSERT_TRUE(List()->currentIndex().isValid());
    EXPECT_TRUE(looksAsWithoutCurrentLine());
}

TEST_F(StatystykaTest, AMissingLogShowsAnEmptyListAndEscCloses) {
    Start();
    QTest::mouseClick(Button("SpeedButton10"), Qt::LeftButton); // hidden before an exam
    Open();
    EXPECT_EQ(List()->model()->rowCount(), 0);
    EXPECT_EQ(States(), (TStates{false, false, false}));
    EXPECT_FALSE(std::filesystem::exists(LogPath()));
    List()->setFocus();
    QTest::keyClick(List(), Qt::Key_Escape);
    EXPECT_FALSE(Statistics().isVisible());
}

TEST_F(StatystykaTest, DeleteThenSaveKeepsTheLineNumbers) {
    WriteLog({"1. pierwszy", "2. drugi", "3. trzeci", "4. czwarty"});
    Start();
    Open();
    Select(0);
    QTest::mouseClick(StatButton("SpeedButton2"), Qt::LeftButton);
    EXPECT_EQ(ReadLog(), "1. pierwszy\r\n2. drugi\r\n3. trzeci\r\n4. czwarty\r\n");
    Select(1);
    QTest::mouseClick(StatButton("SpeedButton2"), Qt::LeftButton);
    // A slip is asked about, and "Nie" saves nothing.
    const QString asked = QString::fromUtf8("Zapisać? Z dziennika znikną 2 wyniki.");
    EXPECT_EQ(SaveAnswering(QMessageBox::No), asked);
    EXPECT_EQ(ReadLog(), "1. pierwszy\r\n2. drugi\r\n3. trzeci\r\n4. czwarty\r\n");
    EXPECT_EQ(SaveAnswering(QMessageBox::Yes), asked);
    EXPECT_EQ(ReadLog(), "2. drugi\r\n4. czwarty\r\n");
    EXPECT_EQ(Rows(), (QStringList{"2. drugi", "4. czwarty"}));
    // The log as it was stays beside it.
    std::ifstream previous(LogPath().string() + ".poprzedni", std::ios::binary);
    std::ostringstream kept;
    kept << previous.rdbuf();
    EXPECT_EQ(kept.str(), "1. pierwszy\r\n2. drugi\r\n3. trzeci\r\n4. czwarty\r\n");
}

// A line longer than the list gets a horizontal scroll bar as soon as the
// window shows, so that its points and grade can be reached without a click.
TEST_F(StatystykaTest, ALongLineGetsAHorizontalScrollBarFromTheStart) {
    const std::string longLine =
        "1. Użytkownik Zbigniew Brzęczyszczykiewicz przystąpił do egzaminu \"Geografia Polski\" "
        "o godzinie 10:15:00 dnia 06.05.2002. Przewidywany czas egzaminu 17min. Liczba pytań 5. "
        "Maksymalna liczba punktów 9. Egzamin trwał 3 minut i 12 sekund. Zdobyto 9pkt. (100%) a "
        "stracono 0pkt. Otrzymana ocena to: bardzo dobry.";
    WriteLog({"2. krótki", longLine});
    Start();
    Open();
    QScrollBar* bar = List()->horizontalScrollBar();
    const int width = List()->fontMetrics().horizontalAdvance(QString::fromStdString(longLine));
    EXPECT_TRUE(bar->isVisible());
    EXPECT_GE(bar->maximum() + List()->viewport()->width(), width);
    // Scrolled to the end, the grade is in view; a click on the short line
    // keeps the bar.
    bar->setValue(bar->maximum());
    const QRect end = List()->visualRect(List()->model()->index(1, 0));
    EXPECT_GE(end.right(), width - bar->maximum() - 20);
    Select(0);
    EXPECT_TRUE(bar->isVisible());
    Statistics().grab().save(QString::fromStdString((dir.path() / "statystyka.png").string()));
    Statistics().close();
    WriteLog({"1. krótki", "2. też krótki"});
    Open();
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(StatystykaTest, ALargeLogOpensWholeInTheList) {
    std::vector<std::string> lines;
    for (int i = 1; i <= 100000; ++i)
        lines.push_back(std::to_string(i) + ". Użytkownik Jan zdał egzamin na ocenę dobry.");
    WriteLog(lines);
    Start();
    Open();
    ASSERT_EQ(List()->model()->rowCount(), 100000);
    List()->scrollToBottom();
    Select(99999);
    EXPECT_EQ(List()->currentIndex().data().toString(),
              "100000. Użytkownik Jan zdał egzamin na ocenę dobry.");
    EXPECT_TRUE(StatButton("SpeedButton2")->isEnabled());
    // Deleting near the end keeps the list where it was.
    const int bottom = List()->verticalScrollBar()->value();
    ASSERT_GT(bottom, 0);
    QTest::mouseClick(StatButton("SpeedButton2"), Qt::LeftButton);
    EXPECT_EQ(List()->model()->rowCount(), 99999);
    EXPECT_EQ(List()->verticalScrollBar()->value(), List()->verticalScrollBar()->maximum());
    EXPECT_GE(List()->verticalScrollBar()->value(), bottom - 1);
}

TEST_F(StatystykaTest, PrintoutToPdfHoldsTheListLineByLineWithLongLinesWrapped) {
    std::string longLine = "3. Początek długiej linii";
    for (int i = 0; i < 40; ++i)
        longLine += " słowo" + std::to_string(i);
    longLine += " koniec.";
    WriteLog({"1. Użytkownik Łucja zdała na ocenę celujący.", "2. Użytkownik Óskar", longLine});
    Start();
    Open();
    const std::string pdf = (dir.path() / "wydruk.pdf").string();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    Statistics().Print(printer);

    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", QString::fromStdString(pdf), "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QStringList printed =
        QString::fromUtf8(pdftotext.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(printed.size(), 4) << printed.join('\n').toStdString();
    EXPECT_EQ(printed[0].trimmed(), "1. Użytkownik Łucja zdała na ocenę celujący.");
    EXPECT_EQ(printed[1].trimmed(), "2. Użytkownik Óskar");
    // The long line goes on over the following printed lines, nothing lost.
    QString rest;
    for (int i = 2; i < printed.size(); ++i) {
        if (printed[i].trimmed() == QStringLiteral("\f"))
            continue;
        rest += printed[i].trimmed();
    }
    EXPECT_GT(printed.size(), 3);
    auto squeeze = [](QString s) { return s.remove(' ').remove('\f'); };
    EXPECT_EQ(squeeze(rest), squeeze(QString::fromStdString(longLine)));
    EXPECT_TRUE(printed[2].trimmed().startsWith("3. Początek długiej linii"));
}

// A printout counts its pages in a progress window with "Anuluj", the pointer
// showing the program busy meanwhile. Cancelled after its first page, a
// printout to a file leaves no file behind.
TEST_F(StatystykaTest, APrintoutShowsItsProgressAndCanBeCancelled) {
    std::vector<std::string> lines;
    for (int i = 1; i <= 2000; ++i)
        lines.push_back(std::to_string(i) + ". Użytkownik Jan zdał egzamin na ocenę dobry.");
    WriteLog(lines);
    Start();
    Open();
    for (const bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancelled" : "to the end");
        const std::string pdf = (dir.path() / "wydruk.pdf").string();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        bool seen = false, busy = false;
        QString button;
        QTimer watch;
        watch.setInterval(0);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
            if (seen || !progress || !progress->isVisible() ||
                !progress->labelText().startsWith("Drukowanie strony 2 "))
                return;
            seen = true;
            busy = QGuiApplication::overrideCursor() &&
                   QGuiApplication::overrideCursor()->shape() == Qt::BusyCursor;
            auto* anuluj = progress->findChild<QPushButton*>();
            ASSERT_NE(anuluj, nullptr);
            button = anuluj->text();
            if (cancel)
                QTest::mouseClick(anuluj, Qt::LeftButton);
        });
        watch.start();
        const bool printed = Statistics().Print(printer);
        watch.stop();
        EXPECT_TRUE(seen);
        EXPECT_TRUE(busy);
        EXPECT_EQ(button, "Anuluj");
        EXPECT_EQ(printed, !cancel);
        EXPECT_EQ(std::filesystem::exists(pdf), !cancel);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        std::filesystem::remove(pdf);
    }
}

TEST_F(StatystykaTest, PrintingAsksForThePrinterFirstAndCancellingPrintsNothing) {
    WriteLog({"1. jedyny"});
    Start();
    Open();
    QString dialogName;
    const bool asked =
        WithModal([&] { QTest::mouseClick(StatButton("SpeedButton5"), Qt::LeftButton); },
                  [&](QWidget* modal) {
                      dialogName = modal->objectName();
                      static_cast<QDialog*>(modal)->reject();
                  });
    EXPECT_TRUE(asked);
    EXPECT_EQ(dialogName, "PrintDialog1");
    EXPECT_EQ(Rows(), QStringList{"1. jedyny"});
    EXPECT_TRUE(Statistics().isVisible());
}

// "&Eksportuj ..." writes the list as shown, unsaved deletions included, to
// the file named in its dialog; the type follows the name's ending.
TEST_F(StatystykaTest, ExportsTheListAsShown) {
    const std::string kept = "1. Użytkownik Ala przystąpił do egzaminu \"Geografia Polski\" o "
                             "godzinie 10:15:00 dnia 06.05.2002. Przewidywany czas egzaminu "
                             "10min. Liczba pytań 5. Maksymalna liczba punktów 9. Egzamin trwał "
                             "3 minut i 12 sekund. Zdobyto 9pkt. (100%) a stracono 0pkt. "
                             "Otrzymana ocena to: bardzo dobry.";
    WriteLog({kept, "2. Użytkownik Olek"});
    Start();
    Open();
    Select(1);
    QTest::mouseClick(StatButton("SpeedButton2"), Qt::LeftButton);
    for (const char* file : {"wyniki.csv", "wyniki.xlsx"}) {
        const std::filesystem::path target = dir.path() / file;
        ASSERT_TRUE(WithModal([&] { StatButton("SpeedButton6")->click(); },
                              [&](QWidget* modal) {
                                  auto* name = modal->findChild<QLineEdit*>("fileNameEdit");
                                  ASSERT_NE(name, nullptr);
                                  name->setText(QString::fromStdString(target.string()));
                                  QTest::keyClick(name, Qt::Key_Return);
                              }));
        std::ifstream in(target, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        if (target.extension() == ".csv") {
            EXPECT_TRUE(bytes.str().starts_with("\xEF\xBB\xBF\"Nr\";")) << bytes.str();
            EXPECT_NE(bytes.str().find("\r\n1;\"Ala\";\"Geografia Polski\";06.05.2002;"),
                      std::string::npos);
            EXPECT_EQ(bytes.str().find("Olek"), std::string::npos);
        } else {
            EXPECT_TRUE(bytes.str().starts_with("PK")) << "a zip container";
        }
    }
}

// "&Klasa ...": the figures and the chart of the test chosen, over the days
// chosen, and the whole class printed on one page.
TEST_F(StatystykaTest, ClassSummaryOfTheChosenTestAndDaysPrintsOnOnePage) {
    auto line = [](int k, const char* name, const char* test, const char* day, int gained,
                   const char* grade) {
        return std::to_string(k) + ". Użytkownik " + name + " przystąpił do egzaminu \"" + test +
               "\" o godzinie 10:00:00 dnia " + day +
               ".05.2026. Przewidywany czas egzaminu 10min. Liczba pytań 5. Maksymalna liczba "
               "punktów 20. Egzamin trwał 3 minut i 5 sekund. Zdobyto " +
               std::to_string(gained) + "pkt. (" + std::to_string(gained * 5) + "%) a stracono " +
               std::to_string(20 - gained) + "pkt. Otrzymana ocena to: " + grade + ".";
    };
    std::vector<std::string> log = {
        line(1, "Łucja", "Historia", "04", 9, "mierny"),
        line(2, "Żaneta", "Historia", "05", 19, "bardzo dobry"),
        line(3, "Olek", "Biologia", "05", 20, "bardzo dobry"),
        line(4, "Ścibor", "Historia", "06", 14, "dostatecznie dobry"),
    };
    // A class of sixty still prints on the one page.
    for (int k = 5; k < 65; ++k)
        log.push_back(line(k, "Uczeń", "Biologia", "07", 12, "dostateczny"));
    WriteLog(log);
    Start();
    Open();
    StatButton("SpeedButton7")->click();
    auto* summary = Statistics().findChild<TClassSummaryWindow*>("TClassSummaryWindow");
    ASSERT_NE(summary, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(summary));
    auto* figures = summary->findChild<QLabel*>("Figures");
    EXPECT_EQ(figures->text(), "Egzaminów: 3, średnio 70%, mediana 70%, najniżej 45%, "
                               "najwyżej 95%");
    EXPECT_EQ(summary->Summary().grades, (std::array<std::size_t, 7>{0, 1, 0, 1, 0, 1, 0}));
    summary->findChild<QDateEdit*>("FromDate")->setDate(QDate(2026, 5, 5));
    EXPECT_EQ(figures->text(), "Egzaminów: 2, średnio 82,5%, mediana 82,5%, najniżej 70%, "
                               "najwyżej 95%");
    summary->findChild<QComboBox*>("TestBox")->setCurrentText("Biologia");
    EXPECT_EQ(summary->Summary().exams.size(), 61u);

    // Its own "&Eksportuj ..." writes that test's exams of those days alone.
    const std::filesystem::path csv = dir.path() / "biologia.csv";
    ASSERT_TRUE(WithModal([&] { summary->findChild<QToolButton*>("ExportButton")->click(); },
                          [&](QWidget* modal) {
                              auto* name = modal->findChild<QLineEdit*>("fileNameEdit");
                              ASSERT_NE(name, nullptr);
                              name->setText(QString::fromStdString(csv.string()));
                              QTest::keyClick(name, Qt::Key_Return);
                          }));
    std::ifstream exported(csv, std::ios::binary);
    std::string row;
    int rows = 0;
    while (std::getline(exported, row))
        rows += row.find("\"Biologia\"") != std::string::npos;
    EXPECT_EQ(rows, 61);

    const std::string pdf = (dir.path() / "klasa.pdf").string();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    summary->Print(printer);
    QProcess pdftotext;
    pdftotext.start("pdftotext", {QString::fromStdString(pdf), "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString printed = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(printed.contains("Podsumowanie klasy: Biologia")) << printed.toStdString();
    EXPECT_TRUE(printed.contains("Olek — 20/20 pkt, 100% — bardzo dobry"));
    EXPECT_EQ(printed.count("Uczeń — 12/20 pkt, 60% — dostateczny"), 60);
    EXPECT_EQ(printed.count('\f'), 1) << "one page";
}

// The new controls explain themselves on a right-button press.
TEST_F(StatystykaTest, ExportAndClassSummaryExplainThemselves) {
    WriteLog({"1. Użytkownik Ala"});
    Start();
    Open();
    auto helpShown = [](QWidget* window, QWidget* control) {
        QTest::mousePress(control, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
        QTest::mouseRelease(control, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
        auto* panel = window->findChild<QWidget*>("HP");
        return panel && panel->isVisible() ? panel->findChild<QLabel*>("H1")->text() : QString();
    };
    EXPECT_TRUE(helpShown(&Statistics(), StatButton("SpeedButton6")).startsWith("Klikając"));
    EXPECT_TRUE(helpShown(&Statistics(), StatButton("SpeedButton7")).startsWith("Kliknięcie"));
    StatButton("SpeedButton7")->click();
    auto* summary = Statistics().findChild<TClassSummaryWindow*>("TClassSummaryWindow");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(summary));
    EXPECT_TRUE(helpShown(summary, summary->findChild<QWidget*>("TestBox")).startsWith("Tu"));
}
