#include "Folders.h"

#include "Scratch.h"
#include "Unprivileged.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kwizmar;

namespace {

// TMPDIR and XDG_RUNTIME_DIR as they were, put back at the end.
class TTempVariables {
public:
    TTempVariables() {
        for (int i = 0; i < 2; ++i)
            if (const char* value = std::getenv(kNames[i]))
                saved_[i] = value, had_[i] = true;
    }
    ~TTempVariables() {
        for (int i = 0; i < 2; ++i)
            had_[i] ? SetEnv(kNames[i], saved_[i]) : UnsetEnv(kNames[i]);
    }

private:
    static constexpr const char* kNames[2] = {"TMPDIR", "XDG_RUNTIME_DIR"};
    std::string saved_[2];
    bool had_[2] = {};
};

} // namespace

// Another user gets in first: a runtime folder of theirs, or the name of our
// folder in the shared temporary folder taken by a folder of theirs, or by a
// link to one. The folder given is still this user's own, and none of theirs.
TEST(Folders, TheTemporaryFolderIsTheUsersOwnWhateverAnotherUserPlanted) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can act as another user";
    const std::string own = "kwizmar-" + std::to_string(geteuid());
    const struct {
        const char* name;
        const char* plant; // run as the other user in the shared folder ("$1")
        bool runtimeDir;   // XDG_RUNTIME_DIR names "$1/runtime"
        bool sameAsOwn;    // the folder given is "$1/kwizmar-<uid>"
    } cases[] = {
        {"nothing planted", "true", false, true},
        {"their runtime folder", "mkdir -m 700 \"$1/runtime\"", true, true},
        {"their folder by our name", "mkdir -m 777 \"$1/@OWN@\"", false, false},
        {"a link by our name", "mkdir -m 777 \"$1/theirs\" && ln -s theirs \"$1/@OWN@\"", false,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TScratch scratch;
        TTempVariables variables;
        const std::filesystem::path shared = scratch.Root() / "tmp";
        std::filesystem::create_directory(shared);
        chmod(scratch.Root().c_str(), 0711);
        chmod(shared.c_str(), 01777);
        std::string plant = c.plant;
        if (const std::size_t at = plant.find("@OWN@"); at != std::string::npos)
            plant.replace(at, 5, own);
        ASSERT_TRUE(RunAsAnotherUser(plant, shared.string()));
        SetEnv("TMPDIR", shared.string());
        c.runtimeDir ? SetEnv("XDG_RUNTIME_DIR", (shared / "runtime").string())
                     : UnsetEnv("XDG_RUNTIME_DIR");

        const std::string folder = RunUnprivileged([] { return TempFolder(); });
        struct stat st {};
        ASSERT_EQ(lstat(folder.c_str(), &st), 0) << folder;
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_uid, geteuid());
        EXPECT_EQ(st.st_mode & 077, 0u);
        EXPECT_EQ(folder == (shared / own).string(), c.sameAsOwn) << folder;
    }
}
