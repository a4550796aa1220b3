#include "Settings.h"

#include "AtomicFile.h"
#include "Paths.h"
#include "TestFileIcon.h"
#include "XdgFolders.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

// The freedesktop form of the file type: a shared-mime-info type for *.ts2, a
// desktop entry that opens it with this program, and the icon, all under
// $XDG_DATA_HOME (the user's own share, as the classes root is the user's view
// of the Windows registry).

namespace kwizmar {

namespace {

constexpr const char* kMimeType = "application/x-kwizmar-test";
constexpr const char* kIconName = "application-x-kwizmar-test";
constexpr const char* kTypeComment = "Plik testowy programu Nerbaly KWIZMAR 2002";

std::filesystem::path DataHome() {
    const std::string data = XdgDataHome();
    if (data.empty())
        throw std::runtime_error("no home folder");
    return PathFromUtf8(data);
}

// The program path as one argument of an Exec line: quoted when it holds a
// character the desktop-entry rules reserve, and escaped for the file's
// string syntax.
std::string ExecProgram(const std::string& path) {
    std::string arg;
    bool quote = false;
    for (char c : path) {
        if (std::string_view(" \t\n\"'\\><~|&;$*?#()`").find(c) != std::string_view::npos)
            quote = true;
        if (c == '%')
            arg += '%';
        arg += c;
    }
    if (quote) {
        std::string quoted = "\"";
        for (char c : arg) {
            if (c == '"' || c == '`' || c == '$' || c == '\\')
                quoted += '\\';
            quoted += c;
        }
        arg = quoted + "\"";
    }
    std::string escaped;
    for (char c : arg) {
        if (c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string MimeXml() {
    return std::string(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <mime-type type=\"") +
           kMimeType + "\">\n    <comment>" + kTypeComment + "</comment>\n    <icon name=\"" +
           kIconName + "\"/>\n    <glob pattern=\"*.ts2\"/>\n  </mime-type>\n</mime-info>\n";
}

std::string DesktopEntry(const std::string& programFile) {
    const std::string exec = "Exec=" + ExecProgram(programFile) + " %f\n";
    return std::string("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=") +
           kApplicationTitle + "\n" + exec + "Icon=" + kIconName + "\nMimeType=" + kMimeType +
           ";\nTerminal=false\nActions=Egzaminuj;\n\n[Desktop Action Egzaminuj]\nName=Egzaminuj\n" +
           exec;
}

void WriteFile(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::create_directories(file.parent_path());
    WriteFileAtomically(file, bytes);
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
    WriteFile(data / "mime/packages/kwizmar.xml", MimeXml());
    WriteFile(data / "applications/kwizmar.desktop", DesktopEntry(programFile));
    WriteFile(data / "icons/hicolor/scalable/mimetypes" / (std::string(kIconName) + ".svg"),
              TestFileIconSvg());
    UpdateMimeDatabase(data / "mime");
}

} // namespace kwizmar
