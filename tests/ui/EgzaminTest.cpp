#include "Egzamin.h"

#include "Cp1250.h"
#include "GuiHelpers.h"
#include "TestFixtures.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

QString LabelText(QWidget& window, const char* name) {
    auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
}

QToolButton* Button(QWidget& window, const char* name) {
    return window.findChild<QToolButton*>(QString::fromLatin1(name));
}

class EgzaminTest : public ::testing::Test {
protected:
    std::vector<std::string> lines = ValidTestLines(3);
    TTempDir dir;
};

} // namespace

TEST_F(EgzaminTest, CommandLineTestFillsTheTestBoxWhenShown) {
    lines[0] =
        "Sprawdzian wiadomości o rzekach, górach i miastach Polski — część pierwsza, "
        "z pytaniami o Wisłę, Odrę, Tatry, Sudety, Kraków, Gdańsk i Łódź oraz o wiele innych "
        "miejsc, które warto znać";
    const std::string path = dir.Write("rzeki.ts2", MakeTs2(lines));
    TEgzamin window;
    window.SetCommandLineTest(QString::fromStdString(path));
    EXPECT_FALSE(Button(window, "SpeedButton3")->isVisibleTo(&window));
    EXPECT_EQ(LabelText(window, "Directory"), "");
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !LabelText(window, "TSName").isEmpty(); }));

    EXPECT_EQ(LabelText(window, "Directory"), QString::fromStdString(path));
    EXPECT_EQ(LabelText(window, "TSName"), "\"Geografia\"");
    EXPECT_EQ(LabelText(window, "TSAutor"), "Jan Kowalski");
    EXPECT_EQ(LabelText(window, "TSData"), "06.05.2002");
    EXPECT_EQ(LabelText(window, "TSPyt"), "3");
    EXPECT_EQ(LabelText(window, "TSPkt"), "6");
    EXPECT_EQ(LabelText(window, "TSSam"), "0");
    // The description wraps onto the two lines, each within its label.
    const QString linia1 = LabelText(window, "Linia1");
    const QString linia2 = LabelText(window, "Linia2");
    EXPECT_TRUE(linia1.startsWith("Sprawdzian wiadomości")) << linia1.toStdString();
    EXPECT_FALSE(linia2.isEmpty());
    EXPECT_TRUE(QString::fromStdString(lines[0]).startsWith(linia1 + " " + linia2));
    for (const char* name : {"Linia1", "Linia2"}) {
        auto* label = window.findChild<QLabel*>(name);
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << name;
    }
    QToolButton* start = Button(window, "SpeedButton3");
    EXPECT_TRUE(start->isVisible());
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(start->text(), "&Start");
}

TEST_F(EgzaminTest, RejectedFileShowsTheTextInlineWithoutABox) {
    const std::string good = dir.Write("dobry.ts2", MakeTs2(lines));
    const std::string bad = dir.Write("dobry.Ts2", MakeTs2(lines));
    TEgzamin window;
    window.show();
    window.LoadTest(QString::fromStdString(good));
    ASSERT_TRUE(Button(window, "SpeedButton3")->isVisible());
    window.LoadTest(QString::fromStdString(bad));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(LabelText(window, "Linia1"), "Wskazany plik nie jest poprawnym plikiem testowym !!!");
    EXPECT_EQ(LabelText(window, "Directory"), QString::fromStdString(bad));
    EXPECT_EQ(LabelText(window, "TSName"), "");
    EXPECT_FALSE(Button(window, "SpeedButton3")->isVisible());
    EXPECT_FALSE(window.LoadedTest().test);
}

TEST_F(EgzaminTest, UnreadableFileShowsTheErrorBoxAndKeepsTheTest) {
    const std::string good = dir.Write("dobry.ts2", MakeTs2(lines));
    const std::string missing = (dir.path() / "nie ma.ts2").string();
    TEgzamin window;
    window.show();
    window.LoadTest(QString::fromStdString(good));
    QString boxText, boxTitle;
    const bool shown = WithModal([&] { window.LoadTest(QString::fromStdString(missing)); },
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
    EXPECT_EQ(LabelText(window, "Directory"), QString::fromStdString(good));
    EXPECT_EQ(LabelText(window, "TSPyt"), "3");
    EXPECT_TRUE(window.LoadedTest().test);
}

TEST_F(EgzaminTest, ChoosingATestInTheOpenDialog) {
    const std::string path = dir.Write("wybrany.ts2", MakeTs2(lines));
    TEgzamin window;
    window.show();
    QString title, folder;
    QStringList filters;
    const bool shown = WithModal([&] { Button(window, "SpeedButton2")->click(); },
                                 [&](QWidget* modal) {
                                     auto* dialog = qobject_cast<QFileDialog*>(modal);
                                     ASSERT_NE(dialog, nullptr);
                                     title = dialog->windowTitle();
                                     folder = dialog->directory().absolutePath();
                                     filters = dialog->nameFilters();
                                     auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                                     ASSERT_NE(name, nullptr);
                                     name->setText(QString::fromStdString(path));
                                     QTest::keyClick(name, Qt::Key_Return);
                                 });
    ASSERT_TRUE(shown);
    EXPECT_EQ(title, "Wybierz test");
    EXPECT_EQ(folder, QDir(TEgzamin::TestFolder()).absolutePath());
    EXPECT_EQ(filters, QStringList{"Testy (*.ts2)"});
    EXPECT_EQ(LabelText(window, "Directory"), QString::fromStdString(path));
    EXPECT_TRUE(window.LoadedTest().test);

    // Cancelling leaves the test loaded.
    ASSERT_TRUE(WithModal([&] { Button(window, "SpeedButton2")->click(); },
                          [](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); }));
    EXPECT_TRUE(window.LoadedTest().test);
    EXPECT_EQ(LabelText(window, "TSPyt"), "3");
}

TEST_F(EgzaminTest, DialogOpensOnTheShippedSamples) {
    TEgzamin window;
    window.show();
    QStringList visible;
    ASSERT_TRUE(WithModal([&] { Button(window, "SpeedButton2")->click(); },
                          [&](QWidget* modal) {
                              auto* dialog = static_cast<QFileDialog*>(modal);
                              visible = dialog->directory().entryList(QStringList{"*.ts2"});
                              dialog->reject();
                          }));
    EXPECT_TRUE(visible.contains("geografia.ts2")) << visible.join(",").toStdString();
    EXPECT_TRUE(visible.contains("wiedza.ts2"));
}
