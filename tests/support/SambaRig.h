#pragma once

#include "RigProcesses.h"
#include "TempDir.h"

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

// A school's file server in miniature: a Samba server of its own (Debian's
// smbd, on 127.0.0.1 only, at a free port, its configuration and state in a
// scratch folder) sharing one folder as "lab", and SMB clients mounted as FUSE
// file systems (Debian's smbnetfs), each with its own HOME and so its own
// connection to the server, as two computers of a lab have. smbnetfs keeps
// file locks on its own computer, as some SMB clients do, so only what the
// server itself decides reaches from one client to another.
//
// Everything is stopped and removed at the end.
class TSambaRig {
public:
    // Why a rig can't be set up on this system at all (no /dev/fuse), or
    // empty. Anything else that fails throws std::runtime_error.
    static std::string Unavailable();

    explicit TSambaRig(int clients = 2);
    ~TSambaRig();
    TSambaRig(const TSambaRig&) = delete;
    TSambaRig& operator=(const TSambaRig&) = delete;

    // The shared folder as client `client` (0 …) sees it.
    std::filesystem::path Share(int client) const;
    // The shared folder on the server's own disk.
    std::filesystem::path ServerFolder() const { return folder_.path() / "udzial"; }
    const std::filesystem::path& Root() const { return folder_.path(); }

    // The server stops where it stands (SIGSTOP to all its processes), as a
    // file server that freezes, and goes on again.
    void Freeze();
    void Thaw();
    // Ends the clients outright: what waits on them gets an error (a FUSE
    // client that stopped answering keeps its callers waiting for good).
    void KillClients();

private:
    void StartServer();
    void Mount(int client);

    kwizmar::testing::TTempDir folder_;
    int port_ = 0;
    rig::TParts parts_;
};
