#pragma once

#include "TextMeasure.h"
#include "UpdateInfo.h"

#include <functional>
#include <string>

namespace kwizmar {

// How the system's "open" action shows what it opens.
enum class TShowMode { Normal, Shown, Maximised };

// The system's "open" action: a web or mail address, a messenger link or a
// file. `failed`, unless empty, is called when the system has nothing that
// could open the target (no handler of the address, no browser for the file)
// or the program it chose fails: during the call or later, from the event
// loop of the calling thread, and never once the opener is destroyed.
class IShellOpen {
public:
    virtual ~IShellOpen() = default;
    virtual void Open(const std::string& target, TShowMode mode,
                      const std::function<void()>& failed) = 0;
};

// What the user is told when nothing opens the help page at `page`.
std::string HelpPageNotOpened(const std::string& page);

// Fetches an address into a local file, blocking until it is done or has
// failed (a time-out of a few seconds counts as failed). True only when this
// call wrote the file whole with what was downloaded; false for any failure,
// a local file that could not be written included, and what the file holds
// then is no answer from the address.
class IDownloader {
public:
    virtual ~IDownloader() = default;
    virtual bool Download(const std::string& address, const std::string& localFile) = 0;
};

// The maker's contacts and pages, as the about window shows and opens them.
inline constexpr const char* kMakerMail = "kwizmar@nerbaly.pl";
inline constexpr const char* kMakerSkype = "nerbaly.kwizmar";
inline constexpr const char* kMakerGG = "4817263";
inline constexpr const char* kProfileAddress = "https://www.nerbaly.pl/o-autorze/";
inline constexpr const char* kDonationAddress = "https://www.nerbaly.pl/wesprzyj/";

// One control of the about window: what it shows and where.
struct TAboutControl {
    bool visible = true;
    int x = 0, y = 0, width = 0, height = 0;
    std::string text;
    std::string hint;
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
};

// The controls of the about window, by their names.
struct TF_AboutView {
    TAboutControl img_About, l_Version, a_l_1, a_l_2, a_l_3, a_l_4, a_l_5, a_l_6, a_l_7, a_l_8,
        a_l_9, a_l_10, imgGL, img_Money, l_SzukamPracy, l_SzukamPracy2, sb_DownUpdate, sb_Pomoc,
        sb_OK;
    bool Timer_SzukamPracy = false; // the notice's 500 ms blink
    int clientWidth = 0;
    int clientHeight = 0;
};

// What the about window needs from the system.
struct TAboutServices {
    IDownloader& downloader;
    IShellOpen& shell;
    const ITextMeasure& measure;
    std::function<bool()> onLine;
    std::function<std::string()> tempFolder;
    std::function<std::string()> runningVersion;
    std::function<int()> currentYear;
    // The help page beside the program (help/trelvo2006.html); "Pomoc" shows
    // only while it exists.
    std::string helpPage;
    std::function<bool(const std::string&)> fileExists;
    std::string updateBaseAddress;
    // A message box over the window.
    std::function<void(const std::string&)> showMessage;
};

// The about window's rules: its texts, the update check and the layout.
class TF_AboutLogic {
public:
    static constexpr int kClientWidth = 438;
    // The frame of a tool window around the client area, on each side, and its
    // caption bar: the layout is reckoned in outer sizes.
    static constexpr int kFrame = 3;
    static constexpr int kCaptionBar = 18;
    static constexpr int kLabelHeight = 13;
    static constexpr TFontSpec LabelFont() { return {"MS Sans Serif", 11, false}; }
    static constexpr TFontSpec BoldFont() { return {"MS Sans Serif", 11, true}; }

    explicit TF_AboutLogic(TAboutServices services);

    // Every showing: the running version; the update check at the first
    // showing on line (once per process: a download, failed or not, counts;
    // the update file is fetched into the user's own temporary folder, and
    // only a file the download reports as written by it is read);
    // the notice and its blink; the texts; the layout; "Pomoc".
    void FormShow();
    // The window closes: the notice stops blinking.
    void FormClose();
    // A tick of the blink timer: the notice shows or hides; its transparent
    // twin stays, so the notice can be clicked while hidden.
    void Timer_SzukamPracyTimer();

    void a_l_3Click(); // a new mail to the maker
    void a_l_5Click(); // "callto:" the Skype account
    void a_l_7Click(); // "gg:" the messenger number
    void a_l_9Click(); // the web-site link's text, maximised
    void imgGLClick(); // the author's profile, maximised
    void img_MoneyClick();
    // The notice and its twin: opens the notice's target when it is a web
    // address; the built-in "POMÓŻ MI ..." names nothing to open.
    void l_SzukamPracy2Click();
    void sb_DownUpdateClick();
    // The help page, maximised; where nothing can show it, a message names
    // the page's file, so that the user can open it some other way.
    void sb_PomocClick();

    const TF_AboutView& view() const { return view_; }
    const TUpdateInfo& updateInfo() const { return info_; }

private:
    void CheckForUpdate();
    void Layout();
    void Size(TAboutControl& control, const TFontSpec& font);

    TAboutServices services_;
    TUpdateInfo info_;
    TF_AboutView view_;
};

} // namespace kwizmar
