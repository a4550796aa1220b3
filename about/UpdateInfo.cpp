#include "UpdateInfo.h"

#include "IniFile.h"
#include "Text.h"
#include "VersionTest.h"

#include <cstdlib>

namespace kwizmar {

std::string UpdateBaseAddress() {
    const char* env = std::getenv("KWIZMAR_UPDATE_URL");
    return env && *env ? std::string(env) : std::string(kUpdateBaseAddress);
}

bool IsWebAddress(std::string_view text) {
    const std::size_t colon = text.find("://");
    if (colon == std::string_view::npos)
        return false;
    const std::string_view scheme = text.substr(0, colon);
    if (!SameTextIgnoringCase(scheme, "http") && !SameTextIgnoringCase(scheme, "https"))
        return false;
    const std::string_view rest = text.substr(colon + 3);
    if (rest.empty() || rest.front() == '/')
        return false;
    for (unsigned char c : rest)
        if (c <= ' ' || c == 0x7F)
            return false;
    return true;
}

void TUpdateInfo::ApplyUpdateFile(const std::optional<std::string>& bytes) {
    if (!bytes) {
        homePageAddress = kDefaultHomePage;
        noticeTarget.clear();
        downloadAddress.clear();
        updateNote.clear();
        return;
    }
    const TIniFile ini = TIniFile::Parse(*bytes);
    auto address = [&](const char* section, const char* key) -> std::optional<std::string> {
        auto value = ini.Read(section, key);
        if (value && !IsWebAddress(*value))
            return std::nullopt;
        return value;
    };

    homePageAddress = address("dane", "NBHomePage").value_or(kDefaultHomePage);
    noticeTarget = address("dane", "CV_File").value_or("");

    if (!ini.SectionExists("Kwizmar2002")) {
        downloadAddress.clear();
        updateNote.clear();
        return;
    }
    if (auto version = ini.Read("Kwizmar2002", "version"))
        publishedVersion = *version;
    if (auto url = address("Kwizmar2002", "url"))
        downloadAddress = *url;
    if (auto note = ini.Read("Kwizmar2002", "new"))
        updateNote = *note;
}

bool TUpdateInfo::UpdateAvailable() const {
    return IsNewerVersion(publishedVersion, runningVersion) && !downloadAddress.empty();
}

} // namespace kwizmar
