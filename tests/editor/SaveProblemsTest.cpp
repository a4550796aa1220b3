#include "SaveProblems.h"

#include "AtomicFile.h"
#include "Errors.h"
#include "FileSizeLimit.h"
#include "TempDir.h"
#include "Unprivileged.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

// The teacher's message for a real failed write into `dir`.
std::string MessageOfFailedWrite(const std::filesystem::path& file) {
    try {
        WriteFileAtomically(file, std::string(4096, 'x'));
    } catch (const EFCreateError& e) {
        return SaveFailureText(file.string(), e.Cause());
    }
    return "<written>";
}

} // namespace

TEST(SaveProblems, AFailedSaveSaysWhyAndWhatToDoInPolish) {
    TTempDir dir;
    namespace fs = std::filesystem;
    struct TCase {
        const char* name;
        std::function<std::string()> fail;
        const char* why;
        const char* what;
    };
    const TCase cases[] = {
        {"no permission",
         [&] {
             fs::create_directory(dir.path() / "cudzy");
             fs::permissions(dir.path() / "cudzy", fs::perms::owner_read | fs::perms::owner_exec);
             return RunUnprivileged(
                 [&] { return MessageOfFailedWrite(dir.path() / "cudzy" / "t.ts2"); });
         },
         "Brak uprawnień: nie wolno Ci zapisywać w folderze", "Zapisz jako ..."},
        {"full disk",
         [&] {
             std::string message;
             WithFileSizeLimit(1024, [&] { message = MessageOfFailedWrite(dir.path() / "t.ts2"); });
             return message;
         },
         "Na dysku zabrakło miejsca.", "Zwolnij miejsce na dysku"},
        {"folder gone", [&] { return MessageOfFailedWrite(dir.path() / "usuniety" / "t.ts2"); },
         "już nie istnieje", "Zapisz jako ..."},
    };
    for (const TCase& c : cases) {
        const std::string message = c.fail();
        EXPECT_NE(message.find(c.why), std::string::npos) << c.name << ": " << message;
        EXPECT_NE(message.find(c.what), std::string::npos) << c.name << ": " << message;
        EXPECT_NE(message.find("Test w edytorze jest nienaruszony"), std::string::npos) << c.name;
    }
}
