// The test editor driven from the keyboard: a test written in an empty
// window, saved, and examined.

#include "Edytor.h"
#include "EgzaminHarness.h"
#include "Folders.h"
#include "GuiHelpers.h"
#include "Paths.h"
#include "Registry.h"
#include "TempDir.h"
#include "TestFixtures.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

class EdytorTest : public ::testing::Test {
protected:
    EdytorTest() {
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    ~EdytorTest() override {
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "APPDATA"})
            qunsetenv(name);
    }
    // The recent files and the copies kept for the next editor go to folders
    // of the test's own, before the window is made.
    static int OwnFolders(const TTempDir& dir) {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.path().string()));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString((dir.path() / "dane").string()));
        qputenv("APPDATA", QByteArray::fromStdString((dir.path() / "dane").string()));
        return 0;
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
        QTest::keyClick(target, key, modifiers);
        QTest::qWait(5);
    }
    void Alt(Qt::Key key) {
        Key(key, Qt::AltModifier);
        QTest::qWait(150); // the accelerator acts a moment later
    }
    // Types into the focused field, Polish letters included.
    void Type(const QString& text) {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                                QString(c), Qt::NoModifier);
    }
    std::string Focus() const {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                           : std::string();
    }
    // One question: its text, Enter, five answers, Enter, the points; then
    // the correct answer by its keys.
    void WriteQuestion(const QString& text, const QStringList& answers, int correct,
                       const QString& points) {
        EXPECT_EQ(Focus(), "Tresc");
        Type(text);
        for (const QString& answer : answers) {
            Key(Qt::Key_Return);
            Type(answer);
        }
        Key(Qt::Key_Return);
        EXPECT_EQ(Focus(), "Punkty");
        Type(points); // the field's text is selected and replaced
        Key(static_cast<Qt::Key>(Qt::Key_1 + correct), Qt::ControlModifier);
    }

    TTempDir dir;
    int ownFolders_ = OwnFolders(dir);
    TEdytor window{PlatformRegistry()};
};

} // namespace

TEST_F(EdytorTest, ATestWrittenWithTheKeyboardIsSavedAndExamined) {
    Alt(Qt::Key_N);
    EXPECT_EQ(Focus(), "Nazwa");
    Type("Próba");
    Alt(Qt::Key_T);
    WriteQuestion("Stolica Polski?", {"Kraków", "Warszawa", "Gdańsk", "Łódź", "Poznań"}, 1, "2");

    Key(Qt::Key_Return, Qt::ControlModifier);
    WriteQuestion("Największa rzeka?", {"Odra", "Warta", "Wisła", "Bug", "Narew"}, 2, "3");
    Key(Qt::Key_Tab);
    EXPECT_EQ(Focus(), "Samodzielna");
    Key(Qt::Key_Space);
    Key(Qt::Key_Tab);
    Type("4");
    EXPECT_TRUE(window.findChild<QLabel*>("SamodzielnaOpis")->text().contains("<b>Wisła</b>"));

    Key(Qt::Key_Return, Qt::ControlModifier);
    WriteQuestion("Ile to 2 + 2?", {"3", "4", "5", "6", "7"}, 1, "1");
    // An answer left empty before a filled one stops the save and says why
    // beside the field.
    window.findChild<QLineEdit*>("OdpE")->setFocus();
    Key(Qt::Key_Backspace);
    EXPECT_TRUE(window.findChild<QLabel*>("OdpowiedziOpis")->text().startsWith("Pytanie ma 4"));
    window.findChild<QLineEdit*>("OdpD")->setFocus();
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Return);
    Type("8");
    EXPECT_TRUE(window.findChild<QLabel*>("OdpDUwagi")->text().contains("Wpisz odpowiedź D"));
    QString refusal;
    ASSERT_TRUE(WithModal([&] { Key(Qt::Key_S, Qt::ControlModifier); },
                          [&](QWidget* modal) {
                              refusal = static_cast<QMessageBox*>(modal)->text();
                              static_cast<QDialog*>(modal)->accept();
                          }));
    EXPECT_TRUE(refusal.startsWith("Test nie został zapisany: w teście są błędy (1)"))
        << refusal.toStdString();
    window.activateWindow(); // as the window manager does once the message is gone
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(Focus(), "OdpD");
    Type("6");

    const std::string path = (dir.path() / "proba.ts2").string();
    ASSERT_TRUE(WithModal([&] { Key(Qt::Key_S, Qt::ControlModifier); },
                          [&](QWidget* modal) {
                              auto* name = modal->findChild<QLineEdit*>("fileNameEdit");
                              ASSERT_NE(name, nullptr);
                              name->setText(QString::fromStdString(path));
                              QTest::keyClick(name, Qt::Key_Return);
                          }));
    EXPECT_EQ(window.Logic().Path(), path);
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_EQ(window.findChild<QListWidget*>("ListaPytan")->count(), 3);

    // The exam program takes the file and examines it to the summary.
    TEgzaminHarness exam;
    exam.logic.LoadTestFile(path);
    EXPECT_EQ(exam.view().TSName.text, "\"Próba\"");
    EXPECT_EQ(exam.view().TSPkt.text, "6");
    EXPECT_EQ(exam.view().TSSam.text, "1");
    exam.logic.SetUserName("Ala");
    exam.logic.ClampExamMinutes("10");
    exam.logic.StartExam();
    exam.AnswerInTestForm("b");
    exam.ChooseForm(TAnswerMode::SelfTyped);
    exam.Type("wisła ");
    exam.logic.CheckTypedAnswer();
    exam.logic.GoToNextQuestion();
    exam.AnswerInTestForm("a");
    ASSERT_TRUE(exam.view().Panel4.visible);
    EXPECT_EQ(exam.view().RxLabel7.text, "Do zdobycia było 6, z czego zdobyto 9 a stracono 1");
    EXPECT_EQ(exam.view().RxLabel10.text, "celujący");
}

namespace {

// Presses the button of a message box whose caption starts with `caption`.
void Press(QWidget* modal, const QString& caption) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    for (QAbstractButton* button : box->buttons())
        if (button->text().remove(QLatin1Char('&')).startsWith(caption)) {
            button->click();
            return;
        }
    ADD_FAILURE() << "no button " << caption.toStdString() << " in " << box->text().toStdString();
    box->reject();
}

} // namespace

TEST_F(EdytorTest, TwoWindowsOnOneFileNeverLoseASavedChange) {
    const std::string path = dir.Write("dwa.ts2", MakeTs2(ValidTestLines(2)));
    ASSERT_TRUE(window.OpenFile(QString::fromStdString(path)));
    TEdytor other{PlatformRegistry()};
    ASSERT_TRUE(other.OpenFile(QString::fromStdString(path)));
    other.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    // A changes the author and saves.
    window.findChild<QLineEdit*>("Autor")->setFocus();
    Key(Qt::Key_End);
    Type("x");
    Key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_FALSE(window.isWindowModified());

    // B, back in front, is told and keeps its own test for now.
    ASSERT_TRUE(WithModal(
        [&] {
            other.activateWindow();
            // The question comes once the window is in front.
            EXPECT_TRUE(QTest::qWaitFor([&] { return other.isWindowModified(); }, 3000));
        },
        [&](QWidget* modal) { Press(modal, "Zostaw ten test"); }));
    EXPECT_TRUE(other.isWindowModified());
    other.activateWindow(); // as the window manager does once the message is gone
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    other.findChild<QLineEdit*>("Opis")->setFocus();
    Key(Qt::Key_End);
    Type("y");
    // Its save asks, and Anuluj replaces nothing.
    QString asked;
    ASSERT_TRUE(WithModal([&] { Key(Qt::Key_S, Qt::ControlModifier); },
                          [&](QWidget* modal) {
                              asked = static_cast<QMessageBox*>(modal)->text();
                              Press(modal, "Anuluj");
                          }));
    EXPECT_TRUE(asked.contains("został zmieniony na dysku")) << asked.toStdString();
    EXPECT_TRUE(TTestFile::ReadFile(path).Line(2).ends_with("x"));
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));

    // Read again, B has A's change and saves both.
    ASSERT_TRUE(other.OpenFile(QString::fromStdString(path)));
    other.findChild<QLineEdit*>("Opis")->setFocus();
    Key(Qt::Key_End);
    Type("y");
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(other.isWindowModified());
    const TTestFile saved = TTestFile::ReadFile(path);
    EXPECT_TRUE(saved.Line(2).ends_with("x"));
    EXPECT_TRUE(saved.Line(0).ends_with("y"));
}

TEST_F(EdytorTest, AChangeIsKeptWithinSecondsForAnEditorThatCrashesAndASaveEndsTheCopy) {
    const std::string path = dir.Write("kopia.ts2", MakeTs2(ValidTestLines(2)));
    ASSERT_TRUE(window.OpenFile(QString::fromStdString(path)));
    window.findChild<QLineEdit*>("Autor")->setFocus();
    Key(Qt::Key_End);
    Type("ż");
    const std::filesystem::path folder = UserDataFolder();
    const auto copy = [&](qint64 pid, const char* end) {
        return folder / ("edytor-odzysk-" + std::to_string(pid) + end);
    };
    const qint64 own = QCoreApplication::applicationPid();
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(copy(own, ".txt")); }, 10000));

    // What a crash leaves behind is the copy of an editor that no longer runs.
    const qint64 gone = 0x7FFFFFF0;
    for (const char* end : {".txt", ".plik"})
        std::filesystem::copy_file(copy(own, end), copy(gone, end));
    {
        TEdytor next{PlatformRegistry()};
        ASSERT_TRUE(WithModal([&] { EXPECT_TRUE(next.OfferRecovery()); },
                              [&](QWidget* modal) { Press(modal, "Przywróć"); }));
        // The same file, in the system's own spelling (back slashes on Windows).
        EXPECT_EQ(PathFromUtf8(next.Logic().Path()).lexically_normal(),
                  PathFromUtf8(path).lexically_normal());
        EXPECT_TRUE(next.Logic().Text({TField::Author}).ends_with("ż"));
    }

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    Key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_FALSE(window.isWindowModified());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !std::filesystem::exists(copy(own, ".txt")); }));
}

TEST_F(EdytorTest, HelpThatNothingCanShowNamesItsFile) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows opens a web page through its file types, not PATH";
#endif
    const TNoPageOpener nothing(dir.path());
    QString text;
    ASSERT_TRUE(WithModal([&] { Key(Qt::Key_F1); },
                          [&](QWidget* modal) {
                              text = static_cast<QMessageBox*>(modal)->text();
                              static_cast<QMessageBox*>(modal)->accept();
                          }));
    EXPECT_TRUE(text.endsWith(
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/help/trelvo2006.html")))
        << text.toStdString();
}

TEST_F(EdytorTest, TabGoesThroughEveryFieldInReadingOrderAndRoundAgain) {
    // The middle one of three questions, with a typed answer: every control on.
    window.findChild<QListWidget*>("ListaPytan")->setFocus();
    Key(Qt::Key_Return, Qt::ControlModifier);
    Key(Qt::Key_Return, Qt::ControlModifier);
    window.findChild<QListWidget*>("ListaPytan")->setCurrentRow(1);
    window.findChild<QCheckBox*>("Samodzielna")->click();
    window.findChild<QLineEdit*>("Opis")->setFocus();
    const std::vector<std::string> expected = {
        "Opis",        "Nazwa",       "Autor",     "Data",   "Dzis",      "MaksPunkty",
        "MaksRecznie", "ListaPytan",  "Dodaj",     "Powiel", "Usun",      "WGore",
        "WDol",        "Tresc",       "PoprawnaA", "OdpA",   "PoprawnaB", "OdpB",
        "PoprawnaC",   "OdpC",        "PoprawnaD", "OdpD",   "PoprawnaE", "OdpE",
        "Punkty",      "Samodzielna", "Dodatkowe", "Opis"};
    std::vector<std::string> forward = {Focus()};
    for (std::size_t i = 1; i < expected.size(); ++i) {
        Key(Qt::Key_Tab);
        forward.push_back(Focus());
    }
    EXPECT_EQ(forward, expected);
    std::vector<std::string> backward = {Focus()};
    for (std::size_t i = 1; i < expected.size(); ++i) {
        Key(Qt::Key_Backtab, Qt::ShiftModifier);
        backward.push_back(Focus());
    }
    EXPECT_EQ(backward, std::vector<std::string>(expected.rbegin(), expected.rend()));
}

TEST_F(EdytorTest, ANewQuestionsErrorsComeAsItsFieldsAreLeftOnTheirReservedLines) {
    auto checksOf = [&](const char* name) {
        return window.findChild<QLabel*>(QString::fromLatin1(name) + "Uwagi")->text();
    };
    window.findChild<QLineEdit*>("Nazwa")->setFocus();
    Key(Qt::Key_Return, Qt::ControlModifier);
    ASSERT_EQ(Focus(), "Tresc");
    QWidget* answerB = window.findChild<QWidget*>("OdpB");
    const int rowB = answerB->mapTo(&window, QPoint()).y();
    EXPECT_GT(window.Logic().ErrorCount(), 0);
    for (const char* name : {"Tresc", "OdpA", "OdpB"})
        EXPECT_TRUE(checksOf(name).isEmpty()) << name;

    Key(Qt::Key_Return); // left empty
    ASSERT_TRUE(QTest::qWaitFor([&] { return !checksOf("Tresc").isEmpty(); }));
    EXPECT_TRUE(checksOf("Tresc").contains("Wpisz treść pytania."));
    EXPECT_TRUE(checksOf("OdpA").isEmpty());
    EXPECT_EQ(answerB->mapTo(&window, QPoint()).y(), rowB);
}

TEST_F(EdytorTest, TheListOfFindingsGoesToEachField) {
    Key(Qt::Key_L, Qt::ControlModifier);
    auto* list = window.findChild<QListWidget*>("Uwagi");
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->isVisible(); }));
    ASSERT_EQ(list->count(), static_cast<int>(window.Logic().Checks().size()));
    const auto& checks = window.Logic().Checks();
    const auto answerB = std::find_if(checks.begin(), checks.end(), [](const TCheck& c) {
        return c.where == TFieldRef{TField::Answer, 0, 1};
    });
    ASSERT_NE(answerB, checks.end());
    emit list->itemActivated(list->item(static_cast<int>(answerB - checks.begin())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Focus() == "OdpB"; }));
}

TEST_F(EdytorTest, AnUnfinishedTestIsKeptAsADraftAndFinishedLater) {
    window.findChild<QWidget*>("Tresc")->setFocus();
    Type("Ile to ½ z 4?");
    const std::string draft = (dir.path() / "szkic").string();
    // Ctrl + O asks about the changes; their save is refused for the errors,
    // with the draft offered, whose dialog takes a name; then the Open dialog
    // comes, as asked.
    QString openTitle;
    ASSERT_TRUE(WithModal([&] { Key(Qt::Key_O, Qt::ControlModifier); },
                          [&](QWidget* asked) {
                              QTimer::singleShot(300, [&] {
                                  auto* refusal =
                                      qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                                  ASSERT_NE(refusal, nullptr);
                                  EXPECT_TRUE(refusal->text().contains("jako szkic"));
                                  QTimer::singleShot(300, [&] {
                                      QWidget* dialog = QApplication::activeModalWidget();
                                      auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                                      ASSERT_NE(name, nullptr);
                                      name->setText(QString::fromStdString(draft));
                                      QTimer::singleShot(300, [&] {
                                          QWidget* open = QApplication::activeModalWidget();
                                          openTitle = open ? open->windowTitle() : QString();
                                          if (open)
                                              open->close();
                                      });
                                      QTest::keyClick(name, Qt::Key_Return);
                                  });
                                  Press(refusal, "Zapisz szkic");
                              });
                              Press(asked, "Zapisz");
                          }));
    EXPECT_TRUE(openTitle.startsWith("Otwórz")) << openTitle.toStdString();
    EXPECT_FALSE(window.isWindowModified());
    ASSERT_TRUE(std::filesystem::exists(draft + ".txt"));

    TEdytor later{PlatformRegistry()};
    ASSERT_TRUE(later.OpenFile(QString::fromStdString(draft + ".txt")));
    EXPECT_EQ(later.Logic().Text({TField::Text, 0}), "Ile to ½ z 4?");
    EXPECT_TRUE(later.findChild<QLabel*>("TrescUwagi")->text().contains("Znaku „½”"));
}

TEST_F(EdytorTest, AReadOnlyTestIsRefusedWithAPolishWordAndAnotherName) {
    const std::string path = dir.Write("chroniony.ts2", MakeTs2(ValidTestLines(2)));
    ASSERT_TRUE(window.OpenFile(QString::fromStdString(path)));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    window.findChild<QLineEdit*>("Autor")->setFocus();
    Key(Qt::Key_End);
    Type("x");
    QString told;
    ASSERT_TRUE(WithModal([&] { Key(Qt::Key_S, Qt::ControlModifier); },
                          [&](QWidget* modal) {
                              told = static_cast<QMessageBox*>(modal)->text();
                              Press(modal, "Anuluj");
                          }));
    EXPECT_TRUE(told.contains("jest tylko do odczytu, więc edytor go nie zastąpi"))
        << told.toStdString();
    EXPECT_TRUE(told.contains("Zapisz jako")) << told.toStdString();
    EXPECT_EQ(TTestFile::ReadFile(path).Line(2), "Jan Kowalski");
    EXPECT_TRUE(window.isWindowModified());
}
