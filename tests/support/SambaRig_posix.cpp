#include "SambaRig.h"

#include "RigProcesses.h"

#include <chrono>
#include <csignal>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace rig;

std::string TSambaRig::Unavailable() {
    if (::access("/dev/fuse", R_OK | W_OK) != 0)
        return "/dev/fuse is missing here: FUSE file systems (the SMB clients) can't be mounted";
    return "";
}

TSambaRig::TSambaRig(int clients) {
    // Other users' SMB clients see the share only through the mount's owner.
    std::filesystem::permissions(Root(), std::filesystem::perms(0755));
    parts_.StartOrStop(
        [&] {
            StartServer();
            for (int c = 0; c < clients; ++c)
                Mount(c);
        },
        Root() / "rig.log");
}

TSambaRig::~TSambaRig() {
    parts_.Stop(Root() / "rig.log");
}

void TSambaRig::StartServer() {
    port_ = FreePort();
    const std::filesystem::path state = Root() / "samba";
    for (const char* sub : {"private", "lock", "state", "pid", "cache", "ncalrpc"})
        std::filesystem::create_directories(state / sub);
    std::filesystem::create_directories(ServerFolder());
    std::filesystem::permissions(ServerFolder(), std::filesystem::perms(0777));
    const std::string s = state.string();
    WriteFile(state / "smb.conf",
              "[global]\n"
              "  server role = standalone server\n"
              "  bind interfaces only = yes\n"
              "  interfaces = lo\n"
              "  smb ports = " +
                  std::to_string(port_) +
                  "\n"
                  "  private dir = " +
                  s + "/private\n  lock directory = " + s + "/lock\n  state directory = " + s +
                  "/state\n  pid directory = " + s + "/pid\n  cache directory = " + s +
                  "/cache\n  ncalrpc dir = " + s +
                  "/ncalrpc\n"
                  "  map to guest = Bad User\n"
                  "  load printers = no\n  printing = bsd\n  printcap name = /dev/null\n"
                  "  disable spoolss = yes\n"
                  "[lab]\n"
                  "  path = " +
                  ServerFolder().string() +
                  "\n"
                  "  read only = no\n  guest ok = yes\n  force user = root\n",
              0644);
    parts_.server = Start({"smbd", "-F", "--no-process-group", "--debug-stdout", "-d", "1", "-s",
                           (state / "smb.conf").string()},
                          Root() / "smbd.log");
    AwaitListening(parts_.server, port_, "smbd");
}

void TSambaRig::Mount(int client) {
    const std::filesystem::path home = Root() / ("klient" + std::to_string(client));
    const std::filesystem::path mount = Root() / ("mnt" + std::to_string(client));
    std::filesystem::create_directories(home / ".smb");
    std::filesystem::create_directories(mount);
    // smbnetfs reads the credentials only from a file no one else may read.
    WriteFile(home / ".smb/smbnetfs.conf",
              "smb_query_browsers \"false\"\n"
              "auth \"gosc\" \"gosc\"\n",
              0600);
    parts_.clients.push_back(Start({"smbnetfs", "-f", mount.string()}, Root() / "rig.log", home));
    parts_.mounts.push_back(mount);
    if (!WaitFor([&] {
            struct stat st {};
            return ::stat(Share(client).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }))
        throw std::runtime_error("the share did not appear in " + mount.string());
}

void TSambaRig::Freeze() {
    ::kill(-parts_.server, SIGSTOP);
}

void TSambaRig::Thaw() {
    ::kill(-parts_.server, SIGCONT);
}

void TSambaRig::KillClients() {
    for (pid_t client : parts_.clients)
        ::kill(-client, SIGKILL);
}

std::filesystem::path TSambaRig::Share(int client) const {
    return parts_.mounts.at(std::size_t(client)) / ("127.0.0.1:" + std::to_string(port_)) / "lab";
}
