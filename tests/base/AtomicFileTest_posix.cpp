#include "AtomicFile.h"

#include "Errors.h"
#include "FileSizeLimit.h"
#include "Scratch.h"
#include "Unprivileged.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kwizmar;

namespace {

int Entries(const std::filesystem::path& folder) {
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(folder))
        ++entries;
    return entries;
}

} // namespace

TEST(AtomicFile, ReplacesTheFileKeepingItsPermissions) {
    TScratch scratch;
    const auto file = scratch.Root() / "data.txt";
    WriteBytes(file, "old");
    chmod(file.c_str(), 0640);
    WriteFileAtomically(file, "new contents");
    EXPECT_EQ(ReadBytes(file), "new contents");
    struct stat st {};
    stat(file.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Entries(scratch.Root()), 1); // no temporary file left behind
}

TEST(AtomicFile, WritesThroughSymbolicLinksAndLeavesThemAsLinks) {
    TScratch scratch;
    const auto root = scratch.Root();
    struct TCase {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links; // link, target as written
        std::string end;                                        // the file at the end
        bool exists;
    };
    const TCase cases[] = {
        {"absolute",
         {{"a/data.txt", (root / "a/real/file.txt").string()}},
         "a/real/file.txt",
         true},
        {"relative", {{"b/data.txt", "real/file.txt"}}, "b/real/file.txt", true},
        {"chain",
         {{"c/data.txt", (root / "c/sub/next").string()}, {"c/sub/next", "../real/file.txt"}},
         "c/real/file.txt",
         true},
        {"to nothing yet", {{"d/data.txt", "real/file.txt"}}, "d/real/file.txt", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto end = root / c.end;
        std::filesystem::create_directories(end.parent_path());
        if (c.exists) {
            WriteBytes(end, "old");
            chmod(end.c_str(), 0640);
        }
        for (const auto& [link, target] : c.links) {
            std::filesystem::create_directories((root / link).parent_path());
            std::filesystem::create_symlink(target, root / link);
        }
        WriteFileAtomically(root / c.links.front().first, "new contents");

        for (const auto& [link, target] : c.links)
            EXPECT_EQ(std::filesystem::read_symlink(root / link).string(), target) << link;
        EXPECT_EQ(ReadBytes(end), "new contents");
        struct stat st {};
        stat(end.c_str(), &st);
        if (c.exists) {
            EXPECT_EQ(st.st_mode & 0777, 0640u);
        }
        EXPECT_EQ(Entries(end.parent_path()), 1);
    }
}

TEST(AtomicFile, KeepsTheOwnerAndGroupOrWritesInPlace) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can make a file that another user owns";
    const uid_t owner = 4321;
    struct TCase {
        const char* what;
        bool privileged;
        gid_t group;
        mode_t mode;
        bool written;
    };
    const TCase cases[] = {
        {"root hands the new file to its owner", true, 4321, 0640, true},
        {"a member of the file's group writes it in place", false, getegid(), 0660, true},
        {"a user who may not write it at all", false, 4321, 0644, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TScratch scratch;
        const auto file = scratch.Root() / "shared.log";
        WriteBytes(file, "old");
        ASSERT_EQ(chown(file.c_str(), owner, c.group), 0);
        ASSERT_EQ(chmod(file.c_str(), c.mode), 0);
        const auto write = [&] {
            try {
                WriteFileAtomically(file, "new contents");
                return std::string("written");
            } catch (const EFCreateError& e) {
                return std::string(e.what());
            }
        };
        EXPECT_EQ(c.privileged ? write() : RunUnprivileged(write),
                  c.written ? "written" : "Cannot create file " + file.string());
        EXPECT_EQ(ReadBytes(file), c.written ? "new contents" : "old");
        struct stat st {};
        stat(file.c_str(), &st);
        EXPECT_EQ(st.st_uid, owner);
        EXPECT_EQ(st.st_gid, c.group);
        EXPECT_EQ(st.st_mode & 07777, c.mode);
        EXPECT_EQ(Entries(scratch.Root()), 1);
    }
}

TEST(AtomicFile, AHardLinkedFileStaysOneFile) {
    TScratch scratch;
    const auto file = scratch.Root() / "data.txt";
    const auto other = scratch.Root() / "other.txt";
    WriteBytes(file, "old");
    std::filesystem::create_hard_link(file, other);
    WriteFileAtomically(file, "new contents");
    EXPECT_EQ(ReadBytes(other), "new contents");
    EXPECT_EQ(Entries(scratch.Root()), 2);
}

TEST(AtomicFile, AFailedWriteLeavesTheOldFileWhole) {
    TScratch scratch;
    const auto file = scratch.Root() / "data.txt";
    WriteBytes(file, "old contents");
    const std::string big(64 * 1024, 'x');
    WithFileSizeLimit(1024, [&] {
        try {
            WriteFileAtomically(file, big);
            ADD_FAILURE() << "no exception";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file " + file.string());
        }
    });
    EXPECT_EQ(ReadBytes(file), "old contents");
    EXPECT_THROW(WriteFileAtomically(scratch.Root() / "missing/data.txt", "x"), EFCreateError);
    std::filesystem::create_symlink("circle", scratch.Root() / "circle");
    EXPECT_THROW(WriteFileAtomically(scratch.Root() / "circle", "x"), EFCreateError);
}

TEST(AtomicFile, AProcessThatEndedIsGoneBeforeItsParentCollectsIt) {
    EXPECT_FALSE(ProcessIsGone(static_cast<unsigned long>(::getpid())));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(0);
    // Not yet collected: a zombie, which still answers signal 0.
    for (int i = 0; i < 500 && !ProcessIsGone(static_cast<unsigned long>(child)); ++i)
        ::usleep(10000);
    EXPECT_TRUE(ProcessIsGone(static_cast<unsigned long>(child)));
    ::waitpid(child, nullptr, 0);
}
