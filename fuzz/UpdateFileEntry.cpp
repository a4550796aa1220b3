// The update file the about window downloads.
#include "FuzzEntries.h"

#include "IniFile.h"
#include "Text.h"
#include "UpdateInfo.h"
#include "VersionTest.h"

#include <algorithm>
#include <vector>

namespace kwizmar::fuzz {

namespace {

// Whatever passes the web-address filter is an http or https address with a
// host, without a blank or a control character anywhere.
void CheckAddress(const std::string& address) {
    if (!IsWebAddress(address))
        return;
    const std::string lower = AsciiLowerCase(address);
    const std::size_t host = lower.starts_with("https://")  ? 8
                             : lower.starts_with("http://") ? 7
                                                            : 0;
    Require(host > 0 && host < address.size() && address[host] != '/',
            "only http and https addresses with a host pass the filter");
    Require(std::none_of(address.begin(), address.end(),
                         [](unsigned char c) { return c <= ' ' || c == 0x7F; }),
            "no address with a blank or a control character passes the filter");
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
    for (const std::string* address :
         {&info.homePageAddress, &info.downloadAddress, &info.noticeTarget}) {
        Require(address->empty() || IsWebAddress(*address), "the window opens web addresses only");
        CheckAddress(*address);
    }

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
