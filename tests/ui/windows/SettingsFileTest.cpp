// The whole program run by an ordinary user on a settings file that isn't
// theirs to read or to write.

#include "Cp1250.h"
#include "ExamWindowFixture.h"
#include "Odometer.h"
#include "Opcje.h"
#include "Unprivileged.h"

#include <QMessageBox>
#include <QTimer>

#include <fstream>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

constexpr uid_t kPupil = 1001;

struct TUnusableSettings {
    const char* what;
    bool linked;      // a link to an administrator's file, readable by all
    int counter;      // the run counter the pupil sees
    const char* name; // the name field as the program starts
    bool locked;      // the stored statistics lock
    const char* notice; // null for none
};

void PrintTo(const TUnusableSettings& c, std::ostream* out) {
    *out << c.what;
}

// The pupil's own folders, as a home folder is; the settings folder is made.
class PupilTest : public ExamWindowTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(nerbaly);
        for (const auto& folder :
             {dir.path(), dir.path() / "config", nerbaly, dir.path() / "data", dir.path() / "xdg"})
            ASSERT_EQ(chown(folder.c_str(), kPupil, kPupil), 0);
        watch.setInterval(20);
        QObject::connect(&watch, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && box->isVisible()) {
                boxes << box->text();
                box->accept();
            }
        });
        watch.start();
    }

    const std::filesystem::path nerbaly = dir.path() / "config" / "Nerbaly";
    // Every message box, noted and closed.
    QStringList boxes;
    QTimer watch;
};

class UnusableSettingsFileTest : public PupilTest,
                                 public ::testing::WithParamInterface<TUnusableSettings> {};

const std::string kStored = "Windows Registry Editor Version 5.00\n\n"
                            "[HKEY_CURRENT_USER\\Software\\Nerbaly\\Kwizmar]\n"
                            "\"Run\"=\"41\"\n\"UserName\"=\"Ala\"\n"
                            "\"Statystyki\"=dword:00000001\n";

} // namespace

TEST_P(UnusableSettingsFileTest, ThePupilIsToldOnceAndTheExamRunsToItsLine) {
    const TUnusableSettings& c = GetParam();
    // Root's file, as one "sudo kwizmar" leaves it, or an administrator's
    // that the pupil's settings file links to.
    const std::filesystem::path file =
        c.linked ? dir.path() / "admin" / "Kwizmar.reg" : nerbaly / "Kwizmar.reg";
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << kStored;
    std::filesystem::permissions(file, c.linked ? std::filesystem::perms(0644)
                                                : std::filesystem::perms(0600));
    if (c.linked)
        std::filesystem::create_symlink(file, nerbaly / "Kwizmar.reg");

    // Where the pupil can read it, whatever the build folder's place.
    const std::filesystem::path test = dir.path() / "geografia.ts2";
    std::filesystem::copy_file((TEgzamin::TestFolder() + "/geografia.ts2").toStdString(), test);
    {
        TActingAs pupil(kPupil);
        ASSERT_TRUE(pupil.Acting());
        Start({QString::fromStdString(test.string())});
        ASSERT_TRUE(QTest::qWaitFor([&] { return Button("SpeedButton3")->isVisible(); }));
        EXPECT_EQ(Find<TOdometer>("Odometer1")->Value(), c.counter);
        EXPECT_EQ(Find<QLineEdit>("NameEdit")->text(), c.name);
        EXPECT_EQ(program->Options().Get(TOption::Statystyki), c.locked);

        Find<QLineEdit>("NameEdit")->clear();
        TypeName("Jan");
        QTest::mouseClick(Button("SpeedButton3"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Shown("Panel3"); }));
        Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
        AnswerRightUpTo(kGeografiaQuestions, false);
        Key(Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Shown("Panel4"); }) && ResultSaved());
        watch.stop();
        EXPECT_EQ(Text("RxLabel8"), "Zdobyłeś 100% całości punktów.");
        // What the pupil couldn't store holds for this run.
        EXPECT_EQ(program->Settings().UserName, c.name);
        program->Settings().LoadUserSettings();
        EXPECT_EQ(program->Settings().UserName, "Jan");
    }
    EXPECT_TRUE(Cp1250ToUtf8(LogFile()).starts_with("1. Użytkownik Jan przystąpił do egzaminu"));
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), kStored);

    // An administrator's read-only file, linked on purpose, is nothing to tell.
    if (!c.notice) {
        EXPECT_TRUE(boxes.isEmpty()) << boxes.join("\n---\n").toStdString();
        return;
    }
    ASSERT_EQ(boxes.size(), 1) << boxes.join("\n---\n").toStdString();
    const std::string notice = boxes[0].toStdString();
    EXPECT_TRUE(
        notice.starts_with(std::string(c.notice) + (nerbaly / "Kwizmar.reg").string() + ": "))
        << notice;
    EXPECT_NE(notice.find("sudo chown " + LoginNameOf(kPupil) + ": " + file.string()),
              std::string::npos)
        << notice;
}

INSTANTIATE_TEST_SUITE_P(
    , UnusableSettingsFileTest,
    ::testing::Values(TUnusableSettings{"Unreadable", false, 1, "", false,
                                        "Nie można odczytać pliku ustawień "},
                      TUnusableSettings{"ReadOnlyLinked", true, 42, "Ala", true, nullptr}),
    [](const ::testing::TestParamInfo<TUnusableSettings>& info) { return info.param.what; });

TEST_F(PupilTest, ASettingsFileThatTurnsReadOnlyDuringTheRunIsToldOnceAndTheOptionsStillChange) {
    TActingAs pupil(kPupil);
    ASSERT_TRUE(pupil.Acting());
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Button("SpeedButton5")->isVisible(); }));
    ASSERT_TRUE(boxes.isEmpty()) << boxes.join("\n").toStdString();
    const std::string before = SettingsFile();
    std::filesystem::permissions(nerbaly, std::filesystem::perms(0500));

    auto* lock = program->Options().findChild<QAbstractButton*>("CheckBox1");
    lock->click();
    lock->click();
    lock->click();
    EXPECT_TRUE(lock->isChecked());
    EXPECT_TRUE(program->Options().Get(TOption::Statystyki));
    EXPECT_EQ(SettingsFile(), before);
    ASSERT_EQ(boxes.size(), 1) << boxes.join("\n---\n").toStdString();
    EXPECT_TRUE(boxes[0].startsWith("Nie można zapisać pliku ustawień " +
                                    QString::fromStdString((nerbaly / "Kwizmar.reg").string()) +
                                    ": brak uprawnień do zapisu folderu "))
        << boxes[0].toStdString();
    std::filesystem::permissions(nerbaly, std::filesystem::perms(0700));
}
