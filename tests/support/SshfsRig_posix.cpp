#include "SshfsRig.h"

#include "RigProcesses.h"

#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace rig;

namespace {

constexpr const char* kSshd = "/usr/sbin/sshd";

bool Executable(const char* path) {
    return ::access(path, X_OK) == 0;
}

} // namespace

std::string TSshfsRig::Unavailable() {
    if (::access("/dev/fuse", R_OK | W_OK) != 0)
        return "/dev/fuse is missing here: FUSE file systems (the sshfs clients) can't be mounted";
    if (!Executable(kSshd) || !Executable("/usr/bin/sshfs") || !Executable("/usr/bin/ssh-keygen"))
        return "sshd, sshfs or ssh-keygen is missing (packages openssh-server, sshfs)";
    if (::geteuid() != 0)
        return "sshd of the rig runs only as root here";
    return "";
}

TSshfsRig::TSshfsRig(const std::filesystem::path& folder, int clients) : folder_(folder) {
    std::filesystem::permissions(root_.path(), std::filesystem::perms(0755));
    parts_.StartOrStop(
        [&] {
            StartServer();
            for (int c = 0; c < clients; ++c)
                Mount(c);
        },
        root_.path() / "rig.log");
}

TSshfsRig::~TSshfsRig() {
    parts_.Stop(root_.path() / "rig.log");
}

void TSshfsRig::StartServer() {
    const std::filesystem::path& root = root_.path();
    for (const char* key : {"serwer", "klient"})
        if (!Run({"ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", (root / key).string()},
                 root / "rig.log"))
            throw std::runtime_error("ssh-keygen could not make a key");
    std::filesystem::copy_file(root / "klient.pub", root / "authorized_keys");
    // sshd's separation of privileges needs its empty folder.
    std::filesystem::create_directories("/run/sshd");
    port_ = FreePort();
    WriteFile(root / "sshd_config",
              "Port " + std::to_string(port_) +
                  "\n"
                  "ListenAddress 127.0.0.1\n"
                  "HostKey " +
                  (root / "serwer").string() + "\nPidFile " + (root / "sshd.pid").string() +
                  "\nAuthorizedKeysFile " + (root / "authorized_keys").string() +
                  "\n"
                  "PermitRootLogin prohibit-password\n"
                  "PasswordAuthentication no\n"
                  "KbdInteractiveAuthentication no\n"
                  "UsePAM no\n"
                  "StrictModes no\n"
                  "MaxStartups 100\n"
                  "Subsystem sftp internal-sftp\n",
              0600);
    parts_.server =
        Start({kSshd, "-D", "-e", "-f", (root / "sshd_config").string()}, root / "sshd.log");
    AwaitListening(parts_.server, port_, "sshd");
}

void TSshfsRig::Mount(int client) {
    const std::filesystem::path mount = root_.path() / ("mnt" + std::to_string(client));
    std::filesystem::create_directories(mount);
    const std::string options = "port=" + std::to_string(port_) +
                                ",IdentityFile=" + (root_.path() / "klient").string() +
                                ",StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,"
                                "BatchMode=yes,dir_cache=no";
    if (!Run({"sshfs", "-o", options, "root@127.0.0.1:" + folder_.string(), mount.string()},
             root_.path() / "rig.log"))
        throw std::runtime_error("sshfs could not mount " + mount.string());
    parts_.mounts.push_back(mount);
}
