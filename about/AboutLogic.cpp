#include "AboutLogic.h"

#include "Paths.h"
#include "WholeFile.h"

#include <filesystem>
#include <optional>

namespace kwizmar {

namespace {

constexpr const char* kContactHint = "Jeżeli masz jakieś uwagi/propozycje daj mi znać";
constexpr const char* kMakerName = "Nerbaly Software";
constexpr const char* kProgramTitle = "Kwizmar 2002";
constexpr int kFirstYear = 2001;
// Update files are a few lines; anything much larger is not one.
constexpr std::uintmax_t kMaxUpdateFile = 64 * 1024;

// Only a file the download left counts; one much too large counts as an
// empty one.
std::optional<std::string> ReadLocalFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return std::nullopt;
    std::string bytes;
    switch (TryReadWholeFile(file, bytes, kMaxUpdateFile)) {
    case TWholeFileRead::Read:
        return bytes;
    case TWholeFileRead::TooLarge:
        return std::string();
    default:
        return std::nullopt;
    }
}

} // namespace

TF_AboutLogic::TF_AboutLogic(TAboutServices services) : services_(std::move(services)) {
    view_.l_SzukamPracy.text = "(SZUKAM PRACY)";
    view_.a_l_2.text = "E-mail:";
    view_.a_l_3.text = kMakerMail;
    view_.a_l_4.text = "Skype:";
    view_.a_l_5.text = kMakerSkype;
    view_.a_l_6.text = "GG:";
    view_.a_l_7.text = kMakerGG;
    view_.a_l_8.text = "WWW:";
    view_.a_l_10.text = "Autor programu: zespół programistów Nerbaly";
    for (TAboutControl* c :
         {&view_.a_l_2, &view_.a_l_3, &view_.a_l_4, &view_.a_l_5, &view_.a_l_6, &view_.a_l_7})
        c->hint = kContactHint;
    view_.a_l_8.hint = view_.a_l_9.hint = "Odwiedź moją stronę internetową";
    view_.imgGL.hint = "Zobacz mój profil zawodowy";
    view_.img_Money.hint = "Wesprzyj mnie finansowo";
    view_.sb_DownUpdate.text = "Dostępna jest nowa wersja programu";
    view_.sb_DownUpdate.visible = false;
    view_.sb_Pomoc.text = "Pomoc";
    view_.sb_OK.text = "OK";
    view_.img_About.width = 400;
    view_.img_About.height = 160;
    view_.imgGL.width = view_.imgGL.height = 16;
    view_.img_Money.width = view_.img_Money.height = 16;
    view_.sb_OK.width = view_.sb_Pomoc.width = 75;
    view_.sb_OK.height = view_.sb_Pomoc.height = view_.sb_DownUpdate.height = 25;
    view_.clientWidth = kClientWidth;
}

void TF_AboutLogic::FormShow() {
    info_.runningVersion = services_.runningVersion();
    if (!info_.updateChecked && services_.onLine()) {
        CheckForUpdate();
        view_.sb_DownUpdate.visible = info_.UpdateAvailable();
        info_.updateChecked = true;
    }

    const bool notice = !info_.noticeTarget.empty();
    view_.l_SzukamPracy.visible = view_.l_SzukamPracy2.visible = notice;
    view_.l_SzukamPracy.hint = info_.noticeTarget;
    view_.Timer_SzukamPracy = notice;

    view_.l_Version.text = "v " + info_.runningVersion;
    view_.a_l_1.text = std::string(kMakerName) + " © " + std::to_string(kFirstYear) + " - " +
                       std::to_string(services_.currentYear());
    view_.a_l_9.text = info_.homePageAddress;

    Layout();
    view_.sb_DownUpdate.hint = info_.updateNote;
    view_.sb_Pomoc.visible = services_.fileExists(services_.helpPage);
}

void TF_AboutLogic::FormClose() {
    view_.Timer_SzukamPracy = false;
}

void TF_AboutLogic::Timer_SzukamPracyTimer() {
    if (view_.Timer_SzukamPracy)
        view_.l_SzukamPracy.visible = !view_.l_SzukamPracy.visible;
}

void TF_AboutLogic::a_l_3Click() {
    services_.shell.Open("mailto:" + view_.a_l_3.text +
                             "?Subject=Cześć&Body=Gratuluję zrobienia bardzo dobrego programu " +
                             kProgramTitle + ".",
                         TShowMode::Shown, {});
}

void TF_AboutLogic::a_l_5Click() {
    services_.shell.Open("callto:" + view_.a_l_5.text, TShowMode::Normal, {});
}

void TF_AboutLogic::a_l_7Click() {
    services_.shell.Open("gg:" + view_.a_l_7.text, TShowMode::Normal, {});
}

void TF_AboutLogic::a_l_9Click() {
    services_.shell.Open(view_.a_l_9.text, TShowMode::Maximised, {});
}

void TF_AboutLogic::imgGLClick() {
    services_.shell.Open(kProfileAddress, TShowMode::Maximised, {});
}

void TF_AboutLogic::img_MoneyClick() {
    services_.shell.Open(kDonationAddress, TShowMode::Maximised, {});
}

void TF_AboutLogic::l_SzukamPracy2Click() {
    if (IsWebAddress(info_.noticeTarget))
        services_.shell.Open(info_.noticeTarget, TShowMode::Maximised, {});
}

void TF_AboutLogic::sb_DownUpdateClick() {
    if (IsWebAddress(info_.downloadAddress))
        services_.shell.Open(info_.downloadAddress, TShowMode::Normal, {});
}

void TF_AboutLogic::sb_PomocClick() {
    // The window destroys the system's opener with this object, and a
    // destroyed opener calls nothing back.
    services_.shell.Open(services_.helpPage, TShowMode::Maximised,
                         [this] { services_.showMessage(HelpPageNotOpened(services_.helpPage)); });
}

std::string HelpPageNotOpened(const std::string& page) {
    return "Nie udało się otworzyć strony pomocy: w systemie nie ma przeglądarki internetowej "
           "ani innego programu, który by ją pokazał, albo ten program zawiódł.\n\nStrona "
           "pomocy jest w pliku:\n" +
           page;
}

void TF_AboutLogic::CheckForUpdate() {
    // Without a folder of the user's own there is nowhere safe to put the
    // file: the check then counts as a failed download. So does a download
    // that could not write its file, or a file left over from an earlier run
    // that could not be removed: whatever the file holds then, this download
    // did not write it.
    std::optional<std::string> bytes;
    const std::string folder = services_.tempFolder();
    std::error_code ec;
    if (!folder.empty() && std::filesystem::is_directory(PathFromUtf8(folder), ec)) {
        std::string local = folder;
        if (local.back() != kPathSeparator && local.back() != '/')
            local += kPathSeparator;
        local += kLocalUpdateFileName;
        const std::filesystem::path file = PathFromUtf8(local);
        std::filesystem::remove(file, ec);
        if (!ec &&
            services_.downloader.Download(services_.updateBaseAddress + kUpdateFileName, local))
            bytes = ReadLocalFile(file);
        std::filesystem::remove(file, ec);
    }
    info_.ApplyUpdateFile(bytes);
}

void TF_AboutLogic::Size(TAboutControl& control, const TFontSpec& font) {
    control.width = services_.measure.TextWidth(control.text, font);
    control.height = kLabelHeight;
}

void TF_AboutLogic::Layout() {
    TF_AboutView& v = view_;
    for (TAboutControl* c : {&v.a_l_1, &v.a_l_2, &v.a_l_3, &v.a_l_4, &v.a_l_5, &v.a_l_6, &v.a_l_7,
                             &v.a_l_8, &v.a_l_9, &v.a_l_10})
        Size(*c, LabelFont());
    Size(v.l_Version, BoldFont());
    Size(v.l_SzukamPracy, BoldFont());

    v.img_About.x = 16;
    v.img_About.y = 16;
    const int left = v.img_About.x;
    v.a_l_1.x = left;
    v.a_l_1.y = v.img_About.Bottom();
    const TAboutControl* above = &v.a_l_1;
    for (TAboutControl* c : {&v.a_l_2, &v.a_l_4, &v.a_l_6, &v.a_l_8, &v.a_l_10}) {
        c->x = left;
        c->y = above->Bottom() + 4;
        above = c;
    }
    const std::pair<const TAboutControl*, TAboutControl*> links[] = {
        {&v.a_l_2, &v.a_l_3}, {&v.a_l_4, &v.a_l_5}, {&v.a_l_6, &v.a_l_7}, {&v.a_l_8, &v.a_l_9}};
    for (const auto& [caption, link] : links) {
        link->x = left + caption->width + 10;
        link->y = caption->y;
    }
    v.imgGL.x = v.a_l_10.Right() + 5;
    v.imgGL.y = v.a_l_10.y - 2;
    v.img_Money.x = v.imgGL.Right() + 4;
    v.img_Money.y = v.imgGL.y;
    v.l_Version.x = v.img_About.Right() - v.l_Version.width;
    v.l_Version.y = v.img_About.Bottom();
    v.l_SzukamPracy.x = v.img_About.Right() - v.l_SzukamPracy.width;
    v.l_SzukamPracy.y = v.a_l_10.y;
    const bool twinVisible = v.l_SzukamPracy2.visible;
    v.l_SzukamPracy2 = v.l_SzukamPracy;
    v.l_SzukamPracy2.text.clear();
    v.l_SzukamPracy2.hint.clear();
    v.l_SzukamPracy2.visible = twinVisible;

    const int outerWidth = kClientWidth + 2 * kFrame;
    v.sb_OK.x = outerWidth - v.sb_OK.width - 16;
    v.sb_OK.y = v.a_l_10.Bottom() + 16;
    v.sb_Pomoc.x = v.sb_OK.x - v.sb_Pomoc.width - 16;
    v.sb_Pomoc.y = v.sb_OK.y;
    v.sb_DownUpdate.x = 8;
    v.sb_DownUpdate.width = v.sb_Pomoc.x - 16;
    v.sb_DownUpdate.y = v.sb_OK.y;

    const int outerHeight = v.sb_OK.Bottom() + 32;
    v.clientHeight = outerHeight - 2 * kFrame - kCaptionBar;
}

} // namespace kwizmar
