// The about window against a real HTTP server on 127.0.0.1: the update check
// as the window shows it, and what its links hand to the system.

#include "About.h"
#include "Folders.h"
#include "GuiHelpers.h"
#include "LocalHttpServer.h"
#include "ProgramFixture.h"
#include "Scratch.h"
#include "Unprivileged.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QToolButton>

#include <cstdlib>
#include <memory>

#include <sys/stat.h>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

class TRecordingShell final : public IShellOpen {
public:
    std::vector<std::pair<std::string, TShowMode>> opened;
    void Open(const std::string& target, TShowMode mode,
              const std::function<void()>& /*failed*/) override {
        opened.emplace_back(target, mode);
    }
};

class AboutTest : public ::testing::Test {
protected:
    AboutTest() {
        std::filesystem::create_directories(temp.path() / "tmp");
        savedTmp_ = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
        savedUrl_ = std::getenv("KWIZMAR_UPDATE_URL");
        if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"))
            savedRuntime_ = runtime;
        setenv("TMPDIR", (temp.path() / "tmp").c_str(), 1);
        unsetenv("XDG_RUNTIME_DIR");
    }
    ~AboutTest() override {
        about.reset();
        if (savedTmp_.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", savedTmp_.c_str(), 1);
        setenv("KWIZMAR_UPDATE_URL", savedUrl_.c_str(), 1);
        if (!savedRuntime_.empty())
            setenv("XDG_RUNTIME_DIR", savedRuntime_.c_str(), 1);
    }
    // A window whose update site is `base`, shown once.
    void ShowAbout(const std::string& base) {
        setenv("KWIZMAR_UPDATE_URL", base.c_str(), 1);
        about = std::make_unique<TF_About>(&shell);
        about->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(about.get()));
    }
    void ServeVersion(const std::string& body) { server.Serve("/version.ini", body); }
    template <typename T = QWidget> T* Control(const char* name) {
        return about->findChild<T*>(QString::fromLatin1(name));
    }
    bool UpdateButtonShown() { return Control("sb_DownUpdate")->isVisible(); }
    void ClickLabel(const char* name) {
        QTest::mouseClick(Control(name), Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    }
    bool UpdateFileLeft() const { return std::filesystem::exists(TempFolder() + "/dane.ini"); }

    TTempDir temp;
    TLocalHttpServer server;
    TRecordingShell shell;
    std::unique_ptr<TF_About> about;

private:
    std::string savedTmp_, savedUrl_, savedRuntime_;
};

} // namespace

TEST_F(AboutTest, ANewerVersionShowsTheUpdateButtonAndTheCheckRunsOnce) {
    ServeVersion("[dane]\r\nNBHomePage=https://strona.nerbaly.pl/\r\n"
                 "CV_File=https://www.nerbaly.pl/praca.html\r\n"
                 "[Kwizmar2002]\r\nversion=1.5.0.125\r\nurl=https://www.nerbaly.pl/kwizmar.zip\r\n"
                 "new=Nowe testy i poprawki\r\n");
    ShowAbout(server.BaseAddress());
    EXPECT_EQ(server.Requests(), 1);
    EXPECT_FALSE(UpdateFileLeft());
    auto* update = Control<QToolButton>("sb_DownUpdate");
    EXPECT_TRUE(update->isVisible());
    EXPECT_EQ(update->text(), "Dostępna jest nowa wersja programu");
    EXPECT_EQ(update->toolTip(), "Nowe testy i poprawki");
    EXPECT_EQ(Control<QAbstractButton>("a_l_9")->text(), "https://strona.nerbaly.pl/");
    EXPECT_TRUE(Control("l_SzukamPracy2")->isVisible());
    EXPECT_EQ(Control("l_SzukamPracy")->toolTip(), "https://www.nerbaly.pl/praca.html");

    QTest::mouseClick(update, Qt::LeftButton);
    ClickLabel("a_l_9");
    ASSERT_EQ(shell.opened.size(), 2u);
    EXPECT_EQ(shell.opened[0],
              std::pair(std::string("https://www.nerbaly.pl/kwizmar.zip"), TShowMode::Normal));
    EXPECT_EQ(shell.opened[1],
              std::pair(std::string("https://strona.nerbaly.pl/"), TShowMode::Maximised));

    // The notice blinks; its twin stays and opens the notice's address even
    // while the notice is hidden.
    auto* timer = about->findChild<QTimer*>("Timer_SzukamPracy");
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 500);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Control("l_SzukamPracy")->isVisible(); }, 3000));
    EXPECT_TRUE(Control("l_SzukamPracy2")->isVisible());
    ClickLabel("l_SzukamPracy2");
    EXPECT_EQ(shell.opened.back(),
              std::pair(std::string("https://www.nerbaly.pl/praca.html"), TShowMode::Maximised));

    // Shown again: no second download, the button stays.
    QTest::keyClick(about.get(), Qt::Key_Escape);
    EXPECT_FALSE(about->isVisible());
    EXPECT_FALSE(timer->isActive());
    ServeVersion("[Kwizmar2002]\r\nversion=1.0.0.0\r\n");
    about->show();
    EXPECT_EQ(server.Requests(), 1);
    EXPECT_TRUE(UpdateButtonShown());
}

TEST_F(AboutTest, AnOlderEqualOrShortVersionShowsNoUpdateButton) {
    for (const char* version : {"1.4.9.0", "1.5.0.124", "2.0"}) {
        SCOPED_TRACE(version);
        ServeVersion(std::string("[dane]\n[Kwizmar2002]\nversion=") + version +
                     "\nurl=https://www.nerbaly.pl/kwizmar.zip\n");
        ShowAbout(server.BaseAddress());
        EXPECT_FALSE(UpdateButtonShown());
        EXPECT_FALSE(Control("l_SzukamPracy")->isVisible()); // [dane] without CV_File
    }
    // Newer, but nowhere to download it from.
    ServeVersion("[Kwizmar2002]\nversion=1.5.0.125\n");
    ShowAbout(server.BaseAddress());
    EXPECT_FALSE(UpdateButtonShown());
    EXPECT_EQ(server.Requests(), 4);
}

TEST_F(AboutTest, AMissingFileOrADeadServerLeavesTheDefaults) {
    for (const bool dead : {false, true}) {
        SCOPED_TRACE(dead ? "dead server" : "no version.ini");
        const int before = server.Requests();
        ShowAbout(dead ? TLocalHttpServer::DeadAddress() : server.BaseAddress());
        EXPECT_EQ(server.Requests(), before + (dead ? 0 : 1));
        EXPECT_FALSE(UpdateButtonShown());
        EXPECT_EQ(Control<QAbstractButton>("a_l_9")->text(), QString::fromUtf8(kDefaultHomePage));
        EXPECT_FALSE(Control("l_SzukamPracy")->isVisible());
        EXPECT_FALSE(Control("l_SzukamPracy2")->isVisible());
        EXPECT_FALSE(UpdateFileLeft());
        // The failed check counts: the next showing asks nothing.
        about->close();
        ServeVersion("[Kwizmar2002]\nversion=9.0.0.0\nurl=https://www.nerbaly.pl/k.zip\n");
        about->show();
        EXPECT_FALSE(UpdateButtonShown());
        EXPECT_EQ(server.Requests(), before + (dead ? 0 : 1));
        server.Serve("/version.ini", "");
        server.Serve("/version.ini.missing", "");
        ServeVersion("");
    }
}

TEST_F(AboutTest, FilesAndProgramsNamedByATamperedUpdateFileAreNeverOpened) {
    ServeVersion("[dane]\nNBHomePage=file:///etc/passwd\nCV_File=/usr/bin/xterm\n"
                 "[Kwizmar2002]\nversion=9.9.9.9\nurl=xterm -e sh\nnew=Kliknij\n");
    ShowAbout(server.BaseAddress());
    EXPECT_FALSE(UpdateButtonShown());
    EXPECT_FALSE(Control("l_SzukamPracy")->isVisible());
    EXPECT_EQ(Control<QAbstractButton>("a_l_9")->text(), QString::fromUtf8(kDefaultHomePage));
    ClickLabel("a_l_9");
    ClickLabel("l_SzukamPracy2");
    for (const auto& [target, mode] : shell.opened)
        EXPECT_EQ(target, kDefaultHomePage);
    EXPECT_EQ(shell.opened.size(), 1u);
}

TEST_F(AboutTest, TextsLinksAndLayout) {
    ShowAbout(TLocalHttpServer::DeadAddress());
    EXPECT_EQ(about->windowTitle(), "O programie ...");
    EXPECT_EQ(about->width(), 438);
    EXPECT_EQ(about->height(), about->Logic().view().clientHeight);
    EXPECT_EQ(Control<QLabel>("l_Version")->text(), "v 1.5.0.124");
    EXPECT_EQ(Control<QLabel>("a_l_2")->text(), "E-mail:");
    EXPECT_EQ(Control<QAbstractButton>("a_l_3")->toolTip(),
              "Jeżeli masz jakieś uwagi/propozycje daj mi znać");
    EXPECT_EQ(Control<QAbstractButton>("a_l_9")->toolTip(), "Odwiedź moją stronę internetową");
    EXPECT_EQ(Control("img_Money")->toolTip(), "Wesprzyj mnie finansowo");
    EXPECT_TRUE(
        Control<QLabel>("a_l_1")->text().endsWith(QString::number(QDate::currentDate().year())));
    // Every text fits in its label or link, and every control inside the window.
    for (QWidget* label : about->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!label->isVisible() || qobject_cast<QToolButton*>(label))
            continue;
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_GE(label->width(), label->sizeHint().width());
        EXPECT_LE(label->geometry().right(), about->width());
    }
    for (QToolButton* button : about->findChildren<QToolButton*>()) {
        if (button->isVisible()) {
            EXPECT_GE(button->width(), button->sizeHint().width())
                << button->objectName().toStdString();
            EXPECT_LE(button->geometry().bottom(), about->height());
        }
    }
    // The help page is installed beside the program.
    const std::string help =
        QCoreApplication::applicationDirPath().toStdString() + "/help/trelvo2006.html";
    ASSERT_TRUE(std::filesystem::exists(help));
    ASSERT_TRUE(Control("sb_Pomoc")->isVisible());
    QTest::mouseClick(Control("sb_Pomoc"), Qt::LeftButton);
    ClickLabel("a_l_3");
    ClickLabel("a_l_7");
    ASSERT_EQ(shell.opened.size(), 3u);
    EXPECT_EQ(shell.opened[0], std::pair(help, TShowMode::Maximised));
    EXPECT_EQ(shell.opened[1].first,
              "mailto:kwizmar@nerbaly.pl?Subject=Cześć&Body=Gratuluję zrobienia bardzo dobrego "
              "programu Kwizmar 2002.");
    EXPECT_EQ(shell.opened[2], std::pair(std::string("gg:4817263"), TShowMode::Normal));
    about->grab().save(QString::fromStdString((temp.path() / "about.png").string()));

    QTest::mouseClick(Control("sb_OK"), Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
}

TEST_F(AboutTest, HelpThatNothingCanShowIsNamedInAMessage) {
    // The system's own open action: on a system without xdg-open or a browser
    // (nothing in PATH; Qt's offscreen platform of the tests has no opener of
    // its own either); and with the real xdg-open, on xdg-utils' generic
    // desktop, whose program for web pages fails, or works.
    const auto home = temp.path() / "home";
    for (const std::string program : {"zepsuta", "dobra"}) {
        WriteBytes(home / "data/applications" / (program + ".desktop"),
                   "[Desktop Entry]\nType=Application\nName=P\nExec=" +
                       std::string(program == "dobra" ? "true" : "false") + " %f\n");
        WriteBytes(home / program / "mimeapps.list",
                   "[Default Applications]\ntext/html=" + program + ".desktop\n");
    }
    std::filesystem::create_directories(temp.path() / "pusty");
    const struct {
        std::vector<std::pair<const char*, std::string>> system;
        bool message;
    } cases[] = {
        {{{"PATH", (temp.path() / "pusty").string()}}, true},
        {{{"XDG_CONFIG_HOME", (home / "zepsuta").string()}}, true},
        {{{"XDG_CONFIG_HOME", (home / "dobra").string()}}, false},
    };
    const QString help = QCoreApplication::applicationDirPath() + "/help/trelvo2006.html";
    setenv("KWIZMAR_UPDATE_URL", server.BaseAddress().c_str(), 1);
    for (const auto& c : cases) {
        std::vector<std::pair<const char*, std::string>> system = {
            {"XDG_DATA_HOME", (home / "data").string()},
            {"XDG_CURRENT_DESKTOP", "X-Generic"},
            {"DISPLAY", ":0"}};
        system.insert(system.end(), c.system.begin(), c.system.end());
        std::vector<std::pair<const char*, std::string>> saved;
        for (const auto& [name, value] : system) {
            saved.emplace_back(name, std::getenv(name) ? std::getenv(name) : "");
            setenv(name, value.c_str(), 1);
        }
        about = std::make_unique<TF_About>();
        about->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(about.get()));
        QString text;
        // xdg-open answers after the click, and the message comes then.
        WithModal(
            [&] {
                QTest::mouseClick(Control("sb_Pomoc"), Qt::LeftButton);
                EXPECT_EQ(QTest::qWaitFor([&] { return !text.isEmpty(); }, 3000), c.message);
            },
            [&](QWidget* box) {
                text = static_cast<QMessageBox*>(box)->text();
                static_cast<QMessageBox*>(box)->accept();
            });
        about.reset();
        for (const auto& [name, value] : saved)
            value.empty() ? unsetenv(name) : setenv(name, value.c_str(), 1);
        if (c.message) {
            EXPECT_TRUE(text.endsWith("Strona pomocy jest w pliku:\n" + help))
                << c.system[0].second << ": " << text.toStdString();
        } else {
            EXPECT_EQ(text.toStdString(), "") << c.system[0].second;
        }
    }
}

TEST_F(AboutTest, ADownloadThatHangsOrIsTooLargeFailsWithoutAFile) {
    const std::string local = (temp.path() / "tmp" / "dane.ini").string();
    TQtDownloader downloader(300);
    server.Serve("/version.ini", "[Kwizmar2002]\nversion=1.5.0.125\n");
    EXPECT_TRUE(downloader.Download(server.BaseAddress() + "version.ini", local));
    ASSERT_TRUE(std::filesystem::exists(local));

    server.SetSilent(true);
    EXPECT_FALSE(downloader.Download(server.BaseAddress() + "version.ini", local));
    EXPECT_FALSE(std::filesystem::exists(local)); // the time-out, and the old file is gone

    server.SetSilent(false);
    server.Serve("/version.ini", std::string(200 * 1024, 'x'));
    EXPECT_FALSE(downloader.Download(server.BaseAddress() + "version.ini", local));
    EXPECT_FALSE(std::filesystem::exists(local));
}

// Another user of the computer gets in first: an update file announcing
// 9.9.9.9 with an address of theirs in the shared temporary folder, and a
// folder of theirs, holding the same file, by the name of the teacher's own
// folder there. The shared folder is the system's, not the teacher's, and the
// teacher's program runs without capabilities, as any user's does; only what
// the update site sent reaches the window.
TEST_F(AboutTest, AnUpdateFilePlantedByAnotherUserNeverReachesTheWindow) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can act as another user";
    const std::filesystem::path shared = temp.path() / "tmp";
    chmod(temp.path().c_str(), 0711);
    ASSERT_EQ(chown(shared.c_str(), 65534, 65534), 0);
    chmod(shared.c_str(), 01777);
    const std::string own = "\"$1/kwizmar-" + std::to_string(geteuid()) + "\"";
    ASSERT_TRUE(RunAsAnotherUser(
        "printf '[dane]\\nNBHomePage=https://obcy.example/\\n[Kwizmar2002]\\n"
        "version=9.9.9.9\\nurl=https://obcy.example/k.zip\\n' > \"$1/dane.ini\" && mkdir -m 777 " +
            own + " && cp \"$1/dane.ini\" " + own + "/dane.ini",
        shared.string()));
    ServeVersion("[dane]\nNBHomePage=https://strona.nerbaly.pl/\n");
    {
        TWithoutCapabilities unprivileged;
        ASSERT_TRUE(unprivileged.Dropped());
        ShowAbout(server.BaseAddress());
    }
    EXPECT_EQ(server.Requests(), 1);
    EXPECT_FALSE(UpdateButtonShown());
    EXPECT_EQ(Control<QAbstractButton>("a_l_9")->text(), "https://strona.nerbaly.pl/");
    EXPECT_EQ(about->Logic().updateInfo().publishedVersion, "1.0.0.0");
}

TEST_F(ProgramTest, AboutOpensFromTheMainWindowAndGivesItBack) {
    Start();
    QTest::mouseClick(Button("SpeedButton4"), Qt::LeftButton);
    ASSERT_TRUE(program->About().isVisible());
    EXPECT_FALSE(Window().isEnabled());
    QTest::keyClick(&program->About(), Qt::Key_Escape);
    EXPECT_FALSE(program->About().isVisible());
    EXPECT_TRUE(Window().isEnabled());
}
