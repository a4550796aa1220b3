#include "UpdateInfo.h"
#include "AboutLogic.h"
#include "IniFile.h"
#include "VersionTest.h"

#include "Scratch.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace kwizmar;

TEST(VersionTest, OnlyAGreaterPublishedVersionOfFourWholeNumbersIsNewer) {
    const std::string running = "1.5.0.124";
    EXPECT_TRUE(IsNewerVersion("1.5.0.125", running));
    EXPECT_TRUE(IsNewerVersion("1.6.0.0", running));
    EXPECT_TRUE(IsNewerVersion("2.0.0.0", running));
    EXPECT_TRUE(IsNewerVersion("1.5.1.3", running));
    EXPECT_FALSE(IsNewerVersion("1.5.0.124", running));
    EXPECT_FALSE(IsNewerVersion("1.4.9.0", running));
    EXPECT_FALSE(IsNewerVersion("1.5.0.99", running));
    // Not four whole numbers: never newer.
    EXPECT_FALSE(IsNewerVersion("2.0", running));
    EXPECT_FALSE(IsNewerVersion("2", running));
    EXPECT_FALSE(IsNewerVersion("", running));
    EXPECT_FALSE(IsNewerVersion("1.6.0.0.1", running));
    EXPECT_FALSE(IsNewerVersion("1.x.0.0", running));
    EXPECT_FALSE(IsNewerVersion("1.6..0", running));
    EXPECT_FALSE(IsNewerVersion("9.9.9.9", "1.5"));
    // The numbers compare as numbers, not as texts.
    EXPECT_TRUE(IsNewerVersion("1.10.0.0", "1.9.0.0"));
}

TEST(IniFile, SectionsAndKeysMatchWithoutCaseAndValuesAreTrimmed) {
    const TIniFile ini = TIniFile::Parse("; komentarz\r\n[Dane]\r\n NBHomePage = http://a.pl \r\n"
                                         "bez znaku\r\n[kwizmar2002]\r\nnew=\"Nowość\"\r\n"
                                         "new=druga\r\n");
    EXPECT_TRUE(ini.SectionExists("dane"));
    EXPECT_TRUE(ini.SectionExists("Kwizmar2002"));
    EXPECT_FALSE(ini.SectionExists("inna"));
    EXPECT_EQ(ini.Read("dane", "nbhomepage"), "http://a.pl");
    EXPECT_EQ(ini.Read("Kwizmar2002", "new"), "Nowość");
    EXPECT_EQ(ini.Read("dane", "CV_File"), std::nullopt);
    // Windows-1250 text is read as such.
    EXPECT_EQ(TIniFile::Parse("[a]\nb=Zaj\xB9\x63 si\xEA\n").Read("a", "b"), "Zając się");
}

TEST(UpdateInfo, OnlyWebAddressesFromTheFileAreKept) {
    EXPECT_TRUE(IsWebAddress("http://www.nerbaly.pl"));
    EXPECT_TRUE(IsWebAddress("HTTPS://nerbaly.pl/kwizmar/pobierz.zip?v=2"));
    EXPECT_FALSE(IsWebAddress("file:///etc/passwd"));
    EXPECT_FALSE(IsWebAddress("/usr/bin/xterm"));
    EXPECT_FALSE(IsWebAddress("xterm"));
    EXPECT_FALSE(IsWebAddress("C:\\Windows\\system32\\cmd.exe"));
    EXPECT_FALSE(IsWebAddress("javascript:alert(1)"));
    EXPECT_FALSE(IsWebAddress("http://"));
    EXPECT_FALSE(IsWebAddress("http:///etc/passwd"));
    EXPECT_FALSE(IsWebAddress("http://a.pl /x"));
    EXPECT_FALSE(IsWebAddress("smb://serwer/udzial"));

    TUpdateInfo info;
    info.ApplyUpdateFile("[dane]\nNBHomePage=file:///home\nCV_File=/bin/sh\n"
                         "[Kwizmar2002]\nversion=9.0.0.0\nurl=xterm\nnew=Nowa\n");
    EXPECT_EQ(info.homePageAddress, kDefaultHomePage);
    EXPECT_EQ(info.noticeTarget, "");
    EXPECT_EQ(info.downloadAddress, "");
    EXPECT_EQ(info.publishedVersion, "9.0.0.0");
    info.runningVersion = "1.5.0.124";
    EXPECT_FALSE(info.UpdateAvailable());
}

TEST(UpdateInfo, MissingSectionsAndKeysGiveTheirDefaults) {
    TUpdateInfo info;
    info.ApplyUpdateFile(std::nullopt); // failed download
    EXPECT_EQ(info.homePageAddress, kDefaultHomePage);
    EXPECT_EQ(info.noticeTarget, "");
    EXPECT_EQ(info.publishedVersion, "1.0.0.0");

    TUpdateInfo full;
    full.ApplyUpdateFile("[dane]\nNBHomePage=https://strona.nerbaly.pl\nCV_File=https://cv.pl/\n"
                         "[Kwizmar2002]\nversion=1.5.0.125\nurl=https://nerbaly.pl/k.zip\n"
                         "new=Poprawki\n");
    EXPECT_EQ(full.homePageAddress, "https://strona.nerbaly.pl");
    EXPECT_EQ(full.noticeTarget, "https://cv.pl/");
    EXPECT_EQ(full.downloadAddress, "https://nerbaly.pl/k.zip");
    EXPECT_EQ(full.updateNote, "Poprawki");
    full.runningVersion = "1.5.0.124";
    EXPECT_TRUE(full.UpdateAvailable());

    // A newer version without an address shows no button; absent keys keep
    // what was there.
    TUpdateInfo noUrl;
    noUrl.runningVersion = "1.5.0.124";
    noUrl.ApplyUpdateFile("[Kwizmar2002]\nversion=1.5.0.125\n");
    EXPECT_EQ(noUrl.noticeTarget, ""); // no [dane]
    EXPECT_EQ(noUrl.publishedVersion, "1.5.0.125");
    EXPECT_FALSE(noUrl.UpdateAvailable());

    TUpdateInfo noSection = full;
    noSection.ApplyUpdateFile("[dane]\n");
    EXPECT_EQ(noSection.homePageAddress, kDefaultHomePage);
    EXPECT_EQ(noSection.downloadAddress, "");
    EXPECT_EQ(noSection.updateNote, "");
    EXPECT_EQ(noSection.publishedVersion, "1.5.0.125");
}

namespace {

// Serves a fixed update file (or nothing) by writing it to the local file;
// `fails` reports a failure however the file came out.
class TFakeDownloader final : public IDownloader {
public:
    std::optional<std::string> file;
    bool fails = false;
    std::vector<std::string> addresses;
    bool Download(const std::string& address, const std::string& localFile) override {
        addresses.push_back(address);
        lastLocal = localFile;
        if (file)
            WriteBytes(localFile, *file);
        return file && !fails;
    }
    std::string lastLocal;
};

class TFakeShell final : public IShellOpen {
public:
    std::vector<std::pair<std::string, TShowMode>> opened;
    bool handled = true; // false: nothing on the system can open it
    void Open(const std::string& target, TShowMode mode,
              const std::function<void()>& failed) override {
        opened.emplace_back(target, mode);
        if (!handled && failed)
            failed();
    }
};

// Every character is 6 pixels wide, bold ones 7.
class TFixedMeasure final : public ITextMeasure {
public:
    int TextWidth(std::string_view utf8, const TFontSpec& font) const override {
        int n = 0;
        for (unsigned char c : utf8)
            n += (c & 0xC0) != 0x80;
        return n * (font.bold ? 7 : 6);
    }
};

struct TAbout {
    TScratch scratch;
    TFakeDownloader downloader;
    TFakeShell shell;
    TFixedMeasure measure;
    bool onLine = true;
    bool help = true;
    TF_AboutLogic logic{TAboutServices{
        downloader, shell, measure, [this] { return onLine; },
        [this] { return (scratch.Root() / "tmp").string(); }, [] { return "1.5.0.124"; },
        [] { return 2026; }, "/opt/kwizmar/help/trelvo2006.html",
        [this](const std::string&) { return help; }, "http://127.0.0.1:1/aktualizacje/",
        [this](const std::string& text) { messages.push_back(text); }}};
    std::vector<std::string> messages;
    TAbout() { std::filesystem::create_directories(scratch.Root() / "tmp"); }
};

} // namespace

TEST(About, TheUpdateCheckRunsOnceAtTheFirstShowingOnLine) {
    TAbout a;
    a.onLine = false;
    a.logic.FormShow();
    EXPECT_TRUE(a.downloader.addresses.empty());
    EXPECT_FALSE(a.logic.updateInfo().updateChecked);
    // Off line the notice blinks with its built-in text, which opens nothing.
    EXPECT_TRUE(a.logic.view().l_SzukamPracy.visible);
    EXPECT_TRUE(a.logic.view().Timer_SzukamPracy);
    EXPECT_EQ(a.logic.view().l_SzukamPracy.hint, "POMÓŻ MI - KLIKNIJ I PRZECZYTAJ");
    a.logic.l_SzukamPracy2Click();
    EXPECT_TRUE(a.shell.opened.empty());

    a.onLine = true;
    a.downloader.file = "[dane]\nCV_File=https://www.nerbaly.pl/cv.html\n"
                        "[Kwizmar2002]\nversion=1.5.0.125\nurl=https://www.nerbaly.pl/k.zip\n"
                        "new=Nowe testy\n";
    a.logic.FormShow();
    ASSERT_EQ(a.downloader.addresses,
              std::vector<std::string>{"http://127.0.0.1:1/aktualizacje/version.ini"});
    EXPECT_EQ(a.downloader.lastLocal, (a.scratch.Root() / "tmp" / "dane.ini").string());
    EXPECT_FALSE(std::filesystem::exists(a.downloader.lastLocal)); // read and deleted
    EXPECT_TRUE(a.logic.view().sb_DownUpdate.visible);
    EXPECT_EQ(a.logic.view().sb_DownUpdate.hint, "Nowe testy");
    EXPECT_EQ(a.logic.view().a_l_9.text, kDefaultHomePage);

    a.downloader.file = "[Kwizmar2002]\nversion=1.0.0.0\n";
    a.logic.FormShow();
    EXPECT_EQ(a.downloader.addresses.size(), 1u);
    EXPECT_TRUE(a.logic.view().sb_DownUpdate.visible);

    a.logic.sb_DownUpdateClick();
    a.logic.l_SzukamPracy2Click();
    a.logic.a_l_9Click();
    const std::vector<std::pair<std::string, TShowMode>> expected = {
        {"https://www.nerbaly.pl/k.zip", TShowMode::Normal},
        {"https://www.nerbaly.pl/cv.html", TShowMode::Maximised},
        {kDefaultHomePage, TShowMode::Maximised}};
    EXPECT_EQ(a.shell.opened, expected);
}

TEST(About, AFailedDownloadCountsAsDoneAndHidesTheNotice) {
    TAbout a;
    a.logic.FormShow();
    EXPECT_EQ(a.downloader.addresses.size(), 1u);
    EXPECT_TRUE(a.logic.updateInfo().updateChecked);
    EXPECT_FALSE(a.logic.view().sb_DownUpdate.visible);
    EXPECT_FALSE(a.logic.view().l_SzukamPracy.visible);
    EXPECT_FALSE(a.logic.view().l_SzukamPracy2.visible);
    EXPECT_FALSE(a.logic.view().Timer_SzukamPracy);
    a.logic.FormShow();
    EXPECT_EQ(a.downloader.addresses.size(), 1u);
}

TEST(About, AFileTheDownloadDidNotReportWrittenIsNeverRead) {
    TAbout a;
    a.downloader.file = "[Kwizmar2002]\nversion=9.9.9.9\nurl=https://obcy.example/x.zip\n";
    a.downloader.fails = true;
    a.logic.FormShow();
    EXPECT_TRUE(a.logic.updateInfo().updateChecked);
    EXPECT_EQ(a.logic.updateInfo().publishedVersion, "1.0.0.0");
    EXPECT_FALSE(a.logic.view().sb_DownUpdate.visible);
    EXPECT_FALSE(std::filesystem::exists(a.downloader.lastLocal));
}

TEST(About, TheNoticeBlinksWhileItsTwinStaysClickable) {
    TAbout a;
    a.downloader.file = "[dane]\nCV_File=http://www.nerbaly.pl/cv\n";
    a.logic.FormShow();
    a.logic.Timer_SzukamPracyTimer();
    EXPECT_FALSE(a.logic.view().l_SzukamPracy.visible);
    EXPECT_TRUE(a.logic.view().l_SzukamPracy2.visible);
    a.logic.l_SzukamPracy2Click();
    EXPECT_EQ(a.shell.opened.size(), 1u);
    a.logic.Timer_SzukamPracyTimer();
    EXPECT_TRUE(a.logic.view().l_SzukamPracy.visible);
    a.logic.FormClose();
    EXPECT_FALSE(a.logic.view().Timer_SzukamPracy);
}

TEST(About, HelpThatNothingCanShowIsNamedInAMessage) {
    for (const bool handled : {true, false}) {
        TAbout a;
        a.shell.handled = handled;
        a.logic.FormShow();
        a.logic.sb_PomocClick();
        const std::vector<std::string> none;
        if (handled) {
            EXPECT_EQ(a.messages, none);
        } else {
            ASSERT_EQ(a.messages.size(), 1u);
            EXPECT_TRUE(a.messages[0].ends_with(
                "Strona pomocy jest w pliku:\n/opt/kwizmar/help/trelvo2006.html"))
                << a.messages[0];
        }
    }
}

TEST(About, LinksOpenTheirAddressesWithTheirShowModes) {
    TAbout a;
    a.logic.FormShow();
    a.logic.a_l_3Click();
    a.logic.a_l_5Click();
    a.logic.a_l_7Click();
    a.logic.imgGLClick();
    a.logic.img_MoneyClick();
    a.logic.sb_PomocClick();
    const std::vector<std::pair<std::string, TShowMode>> expected = {
        {"mailto:kwizmar@nerbaly.pl?Subject=Cześć&Body=Gratuluję zrobienia bardzo dobrego "
         "programu Kwizmar 2002.",
         TShowMode::Shown},
        {"callto:nerbaly.kwizmar", TShowMode::Normal},
        {"gg:4817263", TShowMode::Normal},
        {kProfileAddress, TShowMode::Maximised},
        {kDonationAddress, TShowMode::Maximised},
        {"/opt/kwizmar/help/trelvo2006.html", TShowMode::Maximised}};
    EXPECT_EQ(a.shell.opened, expected);
}

TEST(About, LayoutFollowsThePictureAndTheLabels) {
    TAbout a;
    a.help = false;
    a.logic.FormShow();
    const TF_AboutView& v = a.logic.view();
    EXPECT_EQ(v.l_Version.text, "v 1.5.0.124");
    EXPECT_EQ(v.a_l_1.text, "Nerbaly Software © 2001 - 2026");
    EXPECT_FALSE(v.sb_Pomoc.visible);
    EXPECT_EQ(v.img_About.x, 16);
    EXPECT_EQ(v.a_l_1.y, 176);
    EXPECT_EQ(v.a_l_2.y, 193);
    EXPECT_EQ(v.a_l_4.y, 210);
    EXPECT_EQ(v.a_l_6.y, 227);
    EXPECT_EQ(v.a_l_8.y, 244);
    EXPECT_EQ(v.a_l_10.y, 261);
    EXPECT_EQ(v.a_l_3.x, 16 + 7 * 6 + 10); // "E-mail:"
    EXPECT_EQ(v.a_l_3.y, v.a_l_2.y);
    EXPECT_EQ(v.a_l_9.x, 16 + 4 * 6 + 10); // "WWW:"
    EXPECT_EQ(v.imgGL.x, v.a_l_10.Right() + 5);
    EXPECT_EQ(v.imgGL.y, 259);
    EXPECT_EQ(v.img_Money.x, v.imgGL.Right() + 4);
    EXPECT_EQ(v.l_Version.Right(), 416);
    EXPECT_EQ(v.l_Version.y, 176);
    EXPECT_EQ(v.l_SzukamPracy.Right(), 416);
    EXPECT_EQ(v.l_SzukamPracy.y, 261);
    EXPECT_EQ(v.l_SzukamPracy2.x, v.l_SzukamPracy.x);
    EXPECT_EQ(v.l_SzukamPracy2.width, v.l_SzukamPracy.width);
    EXPECT_EQ(v.l_SzukamPracy2.height, v.l_SzukamPracy.height);
    // The outer width is the client width and a frame on each side.
    EXPECT_EQ(v.sb_OK.x, 444 - 75 - 16);
    EXPECT_EQ(v.sb_OK.y, 274 + 16);
    EXPECT_EQ(v.sb_Pomoc.x, v.sb_OK.x - 75 - 16);
    EXPECT_EQ(v.sb_DownUpdate.x, 8);
    EXPECT_EQ(v.sb_DownUpdate.width, v.sb_Pomoc.x - 16);
    EXPECT_EQ(v.clientHeight, v.sb_OK.Bottom() + 32 - 6 - 18);
}
