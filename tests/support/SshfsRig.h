#pragma once

#include "RigProcesses.h"
#include "TempDir.h"

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

// Computers of a lab that reach the file server over SSH: an OpenSSH server of
// its own (Debian's sshd, on 127.0.0.1 only, at a free port, with host and
// client keys made for the run) serving a folder, and clients mounting it with
// sshfs, each as a FUSE file system of its own, with the options the README
// names for a lab (`dir_cache=no`: no client keeps names or attributes of its
// own that the others' changes don't reach).
//
// Everything is stopped and removed at the end.
class TSshfsRig {
public:
    // Why the rig can't be set up here (no /dev/fuse, no sshd or sshfs, not
    // root, as sshd needs), or empty. Anything else that fails throws
    // std::runtime_error.
    static std::string Unavailable();

    // `folder` is served; `clients` mounts of it are made.
    TSshfsRig(const std::filesystem::path& folder, int clients);
    ~TSshfsRig();
    TSshfsRig(const TSshfsRig&) = delete;
    TSshfsRig& operator=(const TSshfsRig&) = delete;

    // The served folder as client `client` (0 …) sees it.
    std::filesystem::path Share(int client) const { return parts_.mounts.at(std::size_t(client)); }

private:
    void StartServer();
    void Mount(int client);

    kwizmar::testing::TTempDir root_;
    std::filesystem::path folder_;
    int port_ = 0;
    rig::TParts parts_;
};
