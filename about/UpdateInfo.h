#pragma once

#include <optional>
#include <string>
#include <string_view>

// What the about window knows about newer versions of the program, and the
// update file it learns it from: version.ini on the maker's update site,
//   [dane]         NBHomePage  the web-site address the about window links to
//                  CV_File     the address the blinking notice opens
//   [Kwizmar2002]  version     the published version, four numbers joined by "."
//                  url         where the new version can be downloaded
//                  new         a line about it (the update button's hint)

namespace kwizmar {

// The update site; "version.ini" is appended to it. KWIZMAR_UPDATE_URL in the
// environment replaces it (a test's own server).
inline constexpr const char* kUpdateBaseAddress = "https://aktualizacje.nerbaly.pl/kwizmar2002/";
inline constexpr const char* kDefaultHomePage = "http://www.nerbaly.pl";
inline constexpr const char* kDefaultNoticeTarget = "POMÓŻ MI - KLIKNIJ I PRZECZYTAJ";
inline constexpr const char* kUpdateFileName = "version.ini";
inline constexpr const char* kLocalUpdateFileName = "dane.ini";

// kUpdateBaseAddress, or KWIZMAR_UPDATE_URL when set and not empty.
std::string UpdateBaseAddress();

// Whether `text` is an http or https address and nothing else: the scheme
// (any case), "://", a host, and no blanks or control characters. Everything
// the update file names is opened by the system's "open" action, so a file
// path or a program name there must never get that far.
bool IsWebAddress(std::string_view text);

// One per process, kept between showings of the about window.
struct TUpdateInfo {
    std::string runningVersion;
    std::string publishedVersion = "1.0.0.0";
    std::string downloadAddress;
    std::string updateNote;
    std::string homePageAddress = kDefaultHomePage;
    std::string noticeTarget = kDefaultNoticeTarget;
    bool updateChecked = false;

    // Takes in the update file as it was downloaded; nothing (no file) is a
    // failed download: the default web-site address, and no notice, download
    // address or update note. An address in the file that isn't a web address
    // (IsWebAddress) counts as a missing key. Missing sections and keys:
    //   no [dane]: the default web-site address, no notice;
    //   no NBHomePage: the default web-site address; no CV_File: no notice;
    //   no [Kwizmar2002]: no download address or note, the version stays;
    //   no version, url or new: that field stays as it was.
    void ApplyUpdateFile(const std::optional<std::string>& bytes);

    // The update button shows: the published version is newer than the
    // running one and there is a download address.
    bool UpdateAvailable() const;
};

} // namespace kwizmar
