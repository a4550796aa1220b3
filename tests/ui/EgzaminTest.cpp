#include "Egzamin.h"

#include "GuiHelpers.h"
#include "ProgramFixture.h"
#include "Statystyka.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include <filesystem>
#include <fstream>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

class TestBoxTest : public ProgramTest {
protected:
    std::vector<std::string> lines = ValidTestLines(3);
};

} // namespace

TEST_F(TestBoxTest, CommandLineTestFillsTheTestBoxWhenShown) {
    lines[0] =
        "Sprawdzian wiadomości o rzekach, górach i miastach Polski — część pierwsza, "
        "z pytaniami o Wisłę, Odrę, Tatry, Sudety, Kraków, Gdańsk i Łódź oraz o wiele innych "
        "miejsc, które warto znać";
    const std::string path = dir.Write("rzeki.ts2", MakeTs2(lines));
    Start({QString::fromStdString(path)});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Text("TSName").isEmpty(); }));

    EXPECT_EQ(Text("Directory"), QString::fromStdString(path));
    EXPECT_EQ(Text("TSName"), "\"Geografia\"");
    EXPECT_EQ(Text("TSAutor"), "Jan Kowalski");
    EXPECT_EQ(Text("TSData"), "06.05.2002");
    EXPECT_EQ(Text("TSPyt"), "3");
    EXPECT_EQ(Text("TSPkt"), "6");
    EXPECT_EQ(Text("TSSam"), "0");
    // The description wraps onto the two lines, each within its label.
    const QString linia1 = Text("Linia1");
    const QString linia2 = Text("Linia2");
    EXPECT_TRUE(linia1.startsWith("Sprawdzian wiadomości")) << linia1.toStdString();
    EXPECT_FALSE(linia2.isEmpty());
    EXPECT_TRUE(QString::fromStdString(lines[0]).startsWith(linia1 + " " + linia2));
    for (const char* name : {"Linia1", "Linia2"}) {
        auto* label = Find<QLabel>(name);
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << name;
    }
    QToolButton* start = Button("SpeedButton3");
    EXPECT_TRUE(start->isVisible());
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(start->text(), "&Start");
}

TEST_F(TestBoxTest, RejectedFileShowsTheTextInlineWithoutABox) {
    const std::string good = dir.Write("dobry.ts2", MakeTs2(lines));
    const std::string bad = dir.Write("dobry.Ts2", MakeTs2(lines));
    Start({QString::fromStdString(bad)});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(Text("Linia1"), "Wskazany plik nie jest poprawnym plikiem testowym !!!");
    EXPECT_FALSE(Button("SpeedButton3")->isVisible());
    Window().LoadTest(QString::fromStdString(good));
    ASSERT_TRUE(Button("SpeedButton3")->isVisible());
    Window().LoadTest(QString::fromStdString(bad));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(Text("Linia1"), "Wskazany plik nie jest poprawnym plikiem testowym !!!");
    EXPECT_EQ(Text("Directory"), QString::fromStdString(bad));
    EXPECT_EQ(Text("TSName"), "");
    EXPECT_FALSE(Button("SpeedButton3")->isVisible());
    EXPECT_FALSE(Window().Logic().loadedTest().test);
}

TEST_F(TestBoxTest, UnreadableFileShowsTheErrorBoxAndKeepsTheTest) {
    const std::string good = dir.Write("dobry.ts2", MakeTs2(lines));
    const std::string missing = (dir.path() / "nie ma.ts2").string();
    Start({QString::fromStdString(good)});
    QString boxText, boxTitle;
    const bool shown = WithModal([&] { Window().LoadTest(QString::fromStdString(missing)); },
                                 [&](QWidget* modal) {
                                     auto* box = qobject_cast<QMessageBox*>(modal);
                                     ASSERT_NE(box, nullptr);
                                     boxText = box->text();
                                     boxTitle = box->windowTitle();
                                     box->accept();
                                 });
    ASSERT_TRUE(shown);
    EXPECT_EQ(boxText, QString::fromStdString("Cannot open file " + missing));
    EXPECT_EQ(boxTitle, "Kwizmar 2002");
    EXPECT_EQ(Text("Directory"), QString::fromStdString(good));
    EXPECT_EQ(Text("TSPyt"), "3");
    EXPECT_TRUE(Window().Logic().loadedTest().test);
}

TEST_F(TestBoxTest, ChoosingATestInTheOpenDialog) {
    const std::string path = dir.Write("wybrany.ts2", MakeTs2(lines));
    Start();
    QString title, folder;
    QStringList filters, shipped;
    const bool shown = WithModal([&] { Button("SpeedButton2")->click(); },
                                 [&](QWidget* modal) {
                                     auto* dialog = qobject_cast<QFileDialog*>(modal);
                                     ASSERT_NE(dialog, nullptr);
                                     title = dialog->windowTitle();
                                     folder = dialog->directory().absolutePath();
                                     filters = dialog->nameFilters();
                                     shipped = dialog->directory().entryList(QStringList{"*.ts2"});
                                     auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                                     ASSERT_NE(name, nullptr);
                                     name->setText(QString::fromStdString(path));
                                     QTest::keyClick(name, Qt::Key_Return);
                                 });
    ASSERT_TRUE(shown);
    EXPECT_EQ(title, "Wybierz test");
    EXPECT_EQ(folder, QDir(TEgzamin::TestFolder()).absolutePath());
    EXPECT_EQ(filters, QStringList{"Testy (*.ts2)"});
    EXPECT_TRUE(shipped.contains("geografia.ts2")) << shipped.join(",").toStdString();
    EXPECT_TRUE(shipped.contains("wiedza.ts2"));
    EXPECT_EQ(Text("Directory"), QString::fromStdString(path));
    EXPECT_TRUE(Window().Logic().loadedTest().test);

    // Cancelling leaves the test loaded.
    ASSERT_TRUE(WithModal([&] { Button("SpeedButton2")->click(); },
                          [](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); }));
    EXPECT_TRUE(Window().Logic().loadedTest().test);
    EXPECT_EQ(Text("TSPyt"), "3");
}

#ifndef _WIN32 // the lab's Setup file is the registry files' own
// "kwizmar --wyniki": the statistics window alone on the program's log, under
// the lab's statistics lock, and no start of the program counted.
TEST_F(ProgramTest, TheResultsOpenAloneOnTheProgramsLogUnderTheLabsLock) {
    WriteLabSetup("\"Statystyki\"=dword:00000001\n");
    std::filesystem::create_directories(UserDataFolder());
    std::ofstream(UserDataFolder() / "MSStr32.dll", std::ios::binary) << "1. Ala\r\n";
    program = std::make_unique<TKwizmar>(QStringList{"kwizmar", "--wyniki"});
    program->Show();
    TStatystyka& results = program->Statistics();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&results));
    EXPECT_TRUE(results.windowTitle().endsWith(
        QString::fromStdString((UserDataFolder() / "MSStr32.dll").string())))
        << results.windowTitle().toStdString();
    EXPECT_EQ(*results.Logic().lines().begin(), "1. Ala");
    EXPECT_FALSE(results.Logic().view().SpeedButton4) << "Wyczyść under the lab's lock";
    EXPECT_EQ(SettingsFile().find("\"Run\""), std::string::npos);
}
#endif
