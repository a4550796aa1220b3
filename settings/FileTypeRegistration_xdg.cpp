#include "Settings.h"

#include "AtomicFile.h"
#include "DesktopExec.h"
#include "MimeInfoCache.h"
#include "PackagedFiles.h"
#include "Paths.h"
#include "WholeFile.h"
#include "XdgFolders.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

// The freedesktop form of the file type: a shared-mime-info type for *.ts2, a
// desktop entry that opens it with this program, and the icons, all under
// $XDG_DATA_HOME (the user's own share, as the classes root is the user's view
// of the Windows registry). They are the files a package installs (packaging/),
// with the program's own path in the desktop entry, and the entry's line in the
// user's menu MIME cache, which a package gets from update-desktop-database:
// without it GLib (gio open, the file managers built on it) finds no program
// for a test at all. A default the user chose in a mimeapps.list is read
// before the cache and so stays theirs. Where the system's data
// folders already hold the package's desktop entry and type, the program
// writes nothing and takes back what an earlier start of its own wrote, so
// that the two never compete.

namespace kwizmar {

namespace {

constexpr const char* kMimeFile = "mime/packages/kwizmar.xml";
constexpr const char* kDesktopFile = "applications/kwizmar.desktop";
constexpr const char* kDesktopId = "kwizmar.desktop";
constexpr const char* kResultsFile = "applications/kwizmar-wyniki-egzaminow.desktop";
constexpr const char* kMimeCacheFile = "applications/mimeinfo.cache";
constexpr const char* kMimeType = "application/x-kwizmar-test";
constexpr const char* kTestIconFile =
    "icons/hicolor/scalable/mimetypes/application-x-kwizmar-test.svg";
constexpr const char* kProgramIconFile = "icons/hicolor/scalable/apps/kwizmar.svg";
constexpr const char* kProgramLink = "Kwizmar/bin/kwizmar";

std::filesystem::path DataHome() {
    const std::string data = XdgDataHome();
    if (data.empty())
        throw std::runtime_error("no home folder");
    return PathFromUtf8(data);
}

bool InstalledBySystem() {
    for (const std::string& dir : XdgDataDirs()) {
        const std::filesystem::path share = PathFromUtf8(dir);
        std::error_code ec;
        if (std::filesystem::is_regular_file(share / kDesktopFile, ec) &&
            std::filesystem::is_regular_file(share / kMimeFile, ec))
            return true;
    }
    return false;
}

// `link` made a symbolic link to `target`, replacing what was there.
void MakeLink(const std::filesystem::path& link, const std::filesystem::path& target) {
    std::filesystem::create_directories(link.parent_path());
    std::filesystem::path temp = link;
    temp += ".tmp" + std::to_string(::getpid());
    std::filesystem::remove(temp);
    std::filesystem::create_symlink(target, temp);
    std::filesystem::rename(temp, link);
}

// How the desktop entry names the program. A path that the Exec line must
// quote or whose % it must double is read by GLib and xdg-utils otherwise
// than the desktop-entry rules say: GLib looks for the program under the
// doubled %% before it undoes it and so finds none, and xdg-utils' own opener
// splits the line at every blank, quotes or not. Such a program is named by a
// link of a plain path in the user's data folder instead.
std::string ExecProgram(const std::filesystem::path& data, const std::string& programFile) {
    const std::string exec = DesktopExecProgram(programFile);
    if (exec == programFile) {
        std::error_code ec;
        std::filesystem::remove(data / kProgramLink, ec); // of a start from another folder
        return exec;
    }
    MakeLink(data / kProgramLink, PathFromUtf8(programFile));
    return DesktopExecProgram(Utf8FromPath(data / kProgramLink));
}

// An installed entry with each "Exec=kwizmar " naming this program instead.
std::string DesktopEntry(std::string_view installed, const std::string& execProgram) {
    const std::string_view from = "\nExec=kwizmar ";
    const std::string to = "\nExec=" + execProgram + " ";
    std::string entry(installed);
    for (std::size_t at = entry.find(from); at != std::string::npos;
         at = entry.find(from, at + to.size()))
        entry.replace(at, from.size(), to);
    return entry;
}

void WriteFile(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::create_directories(file.parent_path());
    WriteFileAtomically(file, bytes);
}

// Puts the program first on the test type's line of the user's MIME cache, or
// takes it off, leaving the lines of the user's other programs as they were.
void UpdateMimeCache(const std::filesystem::path& file, bool withProgram) {
    std::string cache;
    if (!ReadWholeFile(file, cache) && !withProgram)
        return;
    const std::string updated = withProgram ? MimeCacheWithHandler(cache, kMimeType, kDesktopId)
                                            : MimeCacheWithoutHandler(cache, kMimeType, kDesktopId);
    if (updated != cache)
        WriteFile(file, updated);
}

// The MIME database is rebuilt where the tool is installed; without it the
// type takes effect at the desktop's next rebuild, which is no failure of ours.
void UpdateMimeDatabase(const std::filesystem::path& mimeFolder) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string tool = "update-mime-database";
    std::string folder = mimeFolder.string();
    char* argv[] = {tool.data(), folder.data(), nullptr};
    pid_t pid;
    if (posix_spawnp(&pid, tool.c_str(), &actions, nullptr, argv, environ) == 0) {
        int status;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

} // namespace

void WriteTestFileType(IRegistry& /*registry*/, const std::string& /*windowsFolder*/,
                       const std::string& programFile) {
    const std::filesystem::path data = DataHome();
    if (InstalledBySystem()) {
        UpdateMimeCache(data / kMimeCacheFile, false);
        for (const char* file :
             {kDesktopFile, kResultsFile, kTestIconFile, kProgramIconFile, kProgramLink})
            std::filesystem::remove(data / file);
        if (std::filesystem::remove(data / kMimeFile))
            UpdateMimeDatabase(data / "mime");
        return;
    }
    const std::string exec = ExecProgram(data, programFile);
    WriteFile(data / kMimeFile, MimeTypeXml());
    WriteFile(data / kDesktopFile, DesktopEntry(DesktopEntryTemplate(), exec));
    WriteFile(data / kResultsFile, DesktopEntry(ResultsEntryTemplate(), exec));
    UpdateMimeCache(data / kMimeCacheFile, true);
    WriteFile(data / kTestIconFile, TestFileIconSvg());
    WriteFile(data / kProgramIconFile, ProgramIconSvg());
    UpdateMimeDatabase(data / "mime");
}

bool TestFileTypeComplete() noexcept {
    // The menu entry of the results came after the file type's first files.
    try {
        std::error_code ec;
        return InstalledBySystem() || std::filesystem::is_regular_file(DataHome() / kResultsFile, ec);
    } catch (const std::exception&) {
        return true; // nowhere to write it either
    }
}

} // namespace kwizmar
