// The update file the about window downloads.
#include "FuzzEntries.h"

#include "IniFile.h"
#include "Text.h"
#include "UpdateInfo.h"
#include "VersionTest.h"

#include <vector>

namespace kwizmar::fuzz {

namespace {

// What IsWebAddress promises, said another way: a scheme of http or https in
// any case, "://", a host, and no blank or control character anywhere.
bool LooksLikeWebAddress(std::string_view text) {
    const std::string lower = AsciiLowerCase(text);
    std::string_view rest = lower;
    if (rest.starts_with("http://"))
        rest.remove_prefix(7);
    else if (rest.starts_with("https://"))
        rest.remove_prefix(8);
    else
        return false;
    if (rest.empty() || rest.front() == '/')
        return false;
    for (unsigned char c : text)
        if (c <= ' ' || c == 0x7F)
            return false;
    return true;
}

void CheckAddress(const std::string& address) {
    Require(IsWebAddress(address) == LooksLikeWebAddress(address),
            "only http and https addresses pass the filter");
}

void CheckVersions(const std::string& a, const std::string& b) {
    Require(!(IsNewerVersion(a, b) && IsNewerVersion(b, a)), "no version is newer both ways");
    Require(!IsNewerVersion(a, a), "no version is newer than itself");
}

} // namespace

void UpdateFileEntry(std::string_view bytes) {
    const std::string text(bytes);
    TUpdateInfo info;
    info.runningVersion = "1.5.0.124";
    info.ApplyUpdateFile(text);

    // Whatever the file says, what the about window opens is a web address.
    for (const std::string* address : {&info.homePageAddress, &info.downloadAddress})
        Require(address->empty() || IsWebAddress(*address), "the window opens web addresses only");
    Require(info.noticeTarget.empty() || IsWebAddress(info.noticeTarget),
            "the notice opens a web address only");

    const TIniFile ini = TIniFile::Parse(bytes);
    Require(ini.SectionExists("Kwizmar2002") || info.downloadAddress.empty(),
            "no download address without its section");
    if (const auto version = ini.Read("Kwizmar2002", "version"))
        Require(info.publishedVersion == *version, "the published version is the file's");
    Require(!info.UpdateAvailable() || IsNewerVersion(info.publishedVersion, info.runningVersion),
            "an update is offered only for a newer version");

    // Every line of the file as an address and as a version.
    std::vector<std::string> lines;
    std::string_view rest = bytes;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        lines.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    for (const std::string& line : lines)
        CheckAddress(line);
    CheckVersions(info.publishedVersion, info.runningVersion);
    for (std::size_t i = 0; i + 1 < lines.size() && i < 64; ++i)
        CheckVersions(lines[i], lines[i + 1]);
}

} // namespace kwizmar::fuzz
