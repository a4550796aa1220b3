// "Analiza pytań ..." of the statistics window on a log with its answers'
// records (tests/data/answers-small, computed by hand in
// tests/results/QuestionAnalysisTest.cpp): the figures shown, the workbook
// LibreOffice reads, the printout on one page, the help and the keys.

#include "GuiHelpers.h"
#include "ProgramFixture.h"
#include "QuestionAnalysisWindow.h"
#include "Statystyka.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPrinter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <fstream>
#include <sstream>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

class QuestionAnalysisTest : public ProgramTest {
protected:
    std::filesystem::path Folder() const { return dir.path() / "data" / "Kwizmar"; }
    // The statistics window on the small log, line `row` selected, and the
    // analysis opened from it.
    TQuestionAnalysisWindow* OpenOn(int row) {
        std::filesystem::create_directories(Folder());
        const std::filesystem::path data = KWIZMAR_SOURCE_DIR "/tests/data/answers-small";
        for (const char* file : {"MSStr32.dll", "odpowiedzi-egzaminow.txt"})
            std::filesystem::copy_file(data / file, Folder() / file,
                                       std::filesystem::copy_options::overwrite_existing);
        Start();
        TStatystyka& statistics = program->Statistics();
        statistics.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&statistics));
        auto* list = statistics.findChild<QAbstractItemView*>("ListBox1");
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
        statistics.findChild<QToolButton*>("SpeedButton8")->click();
        auto* window = statistics.findChild<TQuestionAnalysisWindow*>("TQuestionAnalysisWindow");
        EXPECT_TRUE(window && QTest::qWaitForWindowExposed(window));
        return window;
    }
    static QString Cell(QTableWidget* table, int row, int column) {
        return table->item(row, column)->text();
    }
};

QString Separator() {
    const QLocale locale = QLocale::system();
    return locale.language() == QLocale::C ? QStringLiteral(",") : locale.decimalPoint();
}

} // namespace

TEST_F(QuestionAnalysisTest, ShowsExportsAndPrintsTheTestOfTheSelectedLine) {
    TQuestionAnalysisWindow* window = OpenOn(1);
    ASSERT_NE(window, nullptr);
    const QString s = Separator();
    EXPECT_EQ(window->findChild<QComboBox*>("TestBox")->currentText(), "Historia");
    EXPECT_EQ(window->findChild<QLabel*>("Figures")->text(),
              "Egzaminy z danymi o pytaniach: 6; średnio 2" + s +
                  "3 pkt (odchylenie standardowe 0" + s + "7), 38" + s + "9% (12" + s +
                  "4); KR-20: -0" + s + "31");
    EXPECT_EQ(window->findChild<QLabel*>("Note")->text(),
              "Brak danych o pytaniach dla 1 egzaminu.");
    auto* table = window->findChild<QTableWidget*>("Tabela");
    ASSERT_EQ(table->rowCount(), 5);
    const QStringList first = {
        "1", "Kiedy odbył się chrzest Polski?", "5", "A", "100" + s + "0", "0" + s + "50", "5 ✓",
        "0"};
    for (int c = 0; c < first.size(); ++c)
        EXPECT_EQ(Cell(table, 0, c), first[c]) << c;
    EXPECT_EQ(Cell(table, 4, 13), "za trudne; sprawdź klucz");
    EXPECT_EQ(Cell(table, 3, 11), "3");

    // The workbook, as LibreOffice Calc reads it.
    const std::filesystem::path xlsx = dir.path() / "analiza.xlsx";
    ASSERT_TRUE(WithModal([&] { window->findChild<QToolButton*>("ExportButton")->click(); },
                          [&](QWidget* modal) {
                              EXPECT_EQ(modal->windowTitle(), "Eksportuj analizę pytań");
                              auto* name = modal->findChild<QLineEdit*>("fileNameEdit");
                              ASSERT_NE(name, nullptr);
                              name->setText(QString::fromStdString(xlsx.string()));
                              QTest::keyClick(name, Qt::Key_Return);
                          }));
    QProcess soffice;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", QString::fromStdString((dir.path() / "home").string()));
    soffice.setProcessEnvironment(environment);
    soffice.start("soffice",
                  {"--headless", "--convert-to", "csv:Text - txt - csv (StarCalc):59,34,76,1",
                   "--outdir", QString::fromStdString((dir.path() / "calc").string()),
                   QString::fromStdString(xlsx.string())});
    if (!soffice.waitForStarted())
        GTEST_SKIP() << "no LibreOffice (soffice) to read the workbook";
    ASSERT_TRUE(soffice.waitForFinished(120000));
    std::ifstream read(dir.path() / "calc" / "analiza.csv", std::ios::binary);
    std::ostringstream csv;
    csv << read.rdbuf();
    EXPECT_NE(csv.str().find("\"Analiza pytań: Historia\""), std::string::npos) << csv.str();
    EXPECT_NE(csv.str().find("\"Historia\";1;\"Kiedy odbył się chrzest Polski?\";5;\"A\";100"),
              std::string::npos)
        << csv.str();

    // The printout: one page.
    const std::string pdf = (dir.path() / "analiza.pdf").string();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    window->Print(printer);
    QProcess pdftotext;
    pdftotext.start("pdftotext", {QString::fromStdString(pdf), "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString printed = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(printed.contains("Analiza pytań: Historia")) << printed.toStdString();
    EXPECT_TRUE(printed.contains("Kiedy odbył się chrzest Polski?"));
    EXPECT_EQ(printed.count('\f'), 1) << "one page";
}

// Every control explains itself on a right-button press; the buttons are
// reached by Tab and by their Alt keys.
TEST_F(QuestionAnalysisTest, ControlsExplainThemselvesAndAnswerTheKeyboard) {
    TQuestionAnalysisWindow* window = OpenOn(7);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->findChild<QComboBox*>("TestBox")->currentText(), "Biologia");
    for (const char* name : {"TestBox", "FromDate", "ToDate", "Tabela", "ExportButton",
                             "PrintButton", "CloseButton"}) {
        QWidget* control = window->findChild<QWidget*>(name);
        QTest::mousePress(control, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
        QTest::mouseRelease(control, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
        auto* panel = window->findChild<QWidget*>("HP");
        EXPECT_TRUE(panel && panel->isVisible()) << name;
    }
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    window->findChild<QWidget*>("TestBox")->setFocus();
    QStringList reached;
    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget()->objectName();
    }
    for (const char* name : {"Tabela", "ExportButton", "PrintButton", "CloseButton"})
        EXPECT_TRUE(reached.contains(name)) << name << " " << reached.join(' ').toStdString();
    // The accelerator's click comes a moment later.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 2000));
}
