// Questions of other quiz programs imported into the editor through its
// menu, and the test exported as GIFT.

#include "Edytor.h"
#include "GiftExport.h"
#include "Registry.h"
#include "TempDir.h"
#include "WholeFile.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

const std::filesystem::path kData = std::filesystem::path(KWIZMAR_SOURCE_DIR) / "tests/data/import";

class EdytorImportTest : public ::testing::Test {
protected:
    EdytorImportTest() {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.path().string()));
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    ~EdytorImportTest() override { qunsetenv("XDG_CONFIG_HOME"); }

    // Runs a menu entry that asks for a file: the file dialog is given
    // `path`; the report that may follow is kept and closed.
    void RunWithFile(const char* actionName, const std::filesystem::path& path) {
        QAction* action = window.findChild<QAction*>(actionName);
        ASSERT_NE(action, nullptr) << actionName;
        Run([action] { action->trigger(); }, path);
    }
    // The same for any action; a question box is kept in `asked` and
    // answered with its first button.
    void Run(const std::function<void()>& act, const std::filesystem::path& path) {
        summary.clear();
        refused.clear();
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            if (auto* name = modal->findChild<QLineEdit*>("fileNameEdit")) {
                // A whole path with its drive, as a person would type it on Windows.
                name->setText(QString::fromStdString(
                    std::filesystem::absolute(path).make_preferred().string()));
                QTest::keyClick(name, Qt::Key_Return);
            } else if (modal->objectName() == "Import") {
                summary = modal->findChild<QLabel*>("ImportPodsumowanie")->text().toStdString();
                if (auto* list = modal->findChild<QListWidget*>("ImportPominiete"))
                    for (int i = 0; i < list->count(); ++i)
                        refused.push_back(list->item(i)->text().toStdString());
                static_cast<QDialog*>(modal)->accept();
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                asked = box->text().toStdString();
                box->buttons().front()->click();
            }
        });
        poll.start();
        act();
    }
    int ListCount() const { return window.findChild<QListWidget*>("ListaPytan")->count(); }

    TTempDir dir;
    TEdytor window{PlatformRegistry()};
    std::string summary;
    std::vector<std::string> refused;
    std::string asked;
};

} // namespace

TEST_F(EdytorImportTest, AQuestionFileOpenedAsATestIsOfferedForImport) {
    Run(
        [&] {
            EXPECT_FALSE(
                window.OpenFile(QString::fromStdString((kData / "mieszane.gift").string())));
        },
        {});
    EXPECT_NE(asked.find("nie jest testem, tylko plikiem pytań"), std::string::npos) << asked;
    EXPECT_NE(summary.find("dopisano do testu 12 pytań."), std::string::npos) << summary;
    EXPECT_EQ(ListCount(), 12);
}

TEST_F(EdytorImportTest, MixedFilesImportWithEachRefusalListed) {
    RunWithFile("ImportujPytania", kData / "mieszane.gift");
    EXPECT_NE(summary.find("dopisano do testu 12 pytań."), std::string::npos) << summary;
    EXPECT_EQ(refused, (std::vector<std::string>{
                           "wiersz 24: odpowiedź krótka do wpisania ({=…}) nie ma odpowiedzi do "
                           "wyboru, a w teście wpisana odpowiedź jest tylko dodatkiem do "
                           "odpowiedzi A–E.",
                           "wiersz 26: pytanie na dopasowanie (->) nie ma odpowiedzi do wyboru.",
                           "wiersz 32: odpowiedź liczbowa ({#…}) nie ma odpowiedzi do wyboru.",
                           "wiersz 34: wypracowanie ({}) nie ma odpowiedzi do wyboru.",
                           "wiersz 36: ma 2 poprawne odpowiedzi („=”), a w teście poprawna jest "
                           "jedna.",
                           "wiersz 38: odpowiedzi mają wagi procentowe (%…%), a w teście jedna "
                           "jest poprawna, reszta błędna.",
                           "wiersz 40: ma 6 odpowiedzi, a pytanie testu może mieć najwyżej 5.",
                           "wiersz 42: odpowiedź ma komentarz (#), którego test nie pokaże.",
                       }));
    // The new test's empty question gave way; the imported ones are whole.
    const auto& questions = window.Logic().Document().questions;
    ASSERT_EQ(ListCount(), 12);
    EXPECT_EQ(questions[3].text, "Zadanie 2: co oznacza zapis {1; 2}?");
    EXPECT_EQ(questions[5].answers[1], "Fałsz");
    EXPECT_EQ(questions[6].points, "2");
    EXPECT_EQ(questions[6].selfAnswerLine, "TAK - 3");
    for (int k = 0; k < 12; ++k)
        EXPECT_FALSE(window.Logic().QuestionHasError(k)) << k;

    RunWithFile("ImportujPytania", kData / "mieszane-aiken.txt");
    EXPECT_NE(summary.find("dopisano do testu 17 pytań."), std::string::npos) << summary;
    EXPECT_EQ(refused, (std::vector<std::string>{
                           "wiersz 48: ma 6 odpowiedzi, a pytanie testu może mieć najwyżej 5.",
                           "wiersz 73: po odpowiedziach brak wiersza „ANSWER: litera”.",
                           "wiersz 120: „ANSWER: F” wskazuje odpowiedź, której nie ma.",
                       }));
    EXPECT_EQ(ListCount(), 29);
    EXPECT_EQ(window.Logic().Selected(), 12);

    // Each import is one step back.
    for (QAction* action : window.findChildren<QAction*>())
        if (action->text().startsWith("&Cofnij")) {
            EXPECT_EQ(action->text().toStdString(), "&Cofnij: import pytań");
            action->trigger();
        }
    EXPECT_EQ(ListCount(), 12);
}

TEST_F(EdytorImportTest, TheTestExportedAsGiftImportsAsItIs) {
    RunWithFile("ImportujPytania", kData / "mieszane.gift");
    const std::filesystem::path gift = dir.path() / "geografia.gift";
    RunWithFile("EksportujGift", gift);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(gift, bytes));
    EXPECT_EQ(bytes, GiftText(window.Logic().Document()));
}

TEST_F(EdytorImportTest, TheReportListsTheQuestionsTurnedIntoPlainText) {
    RunWithFile("ImportujPytania", kData / "platforma.gift");
    EXPECT_NE(summary.find("dopisano do testu 9 pytań.\n\nPytania zapisane w HTML lub Markdown "
                           "zamieniono na zwykły tekst (wiersze pliku: 6, 14, 22, 42, 49, 56, "
                           "59, 79).\n\nPytania pominięte"),
              std::string::npos)
        << summary;
    EXPECT_EQ(refused.size(), 4u);
    EXPECT_EQ(window.Logic().Document().questions[0].text, "Jaka jest stolica Polski?");
}

TEST_F(EdytorImportTest, AnotherTestMergesWithItsPointsAndTypedAnswers) {
    RunWithFile("ImportujPytania",
                std::filesystem::path(KWIZMAR_SOURCE_DIR) / "Testy/geografia.ts2");
    EXPECT_NE(summary.find("dopisano do testu 5 pytań."), std::string::npos) << summary;
    EXPECT_TRUE(refused.empty());
    const auto& questions = window.Logic().Document().questions;
    ASSERT_EQ(ListCount(), 5);
    EXPECT_EQ(questions[0].points, "2");
    EXPECT_EQ(questions[0].selfAnswerLine, "TAK - 2");
}
