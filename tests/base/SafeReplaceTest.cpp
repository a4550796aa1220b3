#include "SafeReplace.h"

#include "Processes.h"

#include <gtest/gtest.h>

#include <string>

using namespace kwizmar;

// What no writer's test can bring about: a file system that refuses the new
// file its permissions, a rename refused, a folder without room for the new
// file.
TEST(SafeReplace, AFileIsReplacedBesideOnlyWhereNothingOfItIsLost) {
    struct TCase {
        const char* what;
        TReplaceFacts facts;
        TReplaceWay way;
    };
    TReplaceFacts modeLost;
    modeLost.exists = true;
    modeLost.modeKept = false;
    TReplaceFacts refused;
    refused.exists = true;
    refused.renameRefused = true;
    TReplaceFacts newRefused;
    newRefused.renameRefused = true;
    TReplaceFacts noRoom;
    noRoom.madeBeside = false;
    TReplaceFacts unlinked; // removed by another program while it was open
    unlinked.exists = true;
    unlinked.links = 0;
    const TCase cases[] = {
        {"permissions not kept", modeLost, TReplaceWay::InPlace},
        {"rename refused", refused, TReplaceWay::InPlace},
        {"rename refused, no file yet", newRefused, TReplaceWay::Fail},
        {"no new file, no file yet", noRoom, TReplaceWay::Fail},
        {"no name left", unlinked, TReplaceWay::InPlace},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(WayToReplace(c.facts), c.way) << c.what;
}

TEST(SafeReplace, TellsItsOwnNamesAndOnlyThose) {
    const std::filesystem::path file = "wyniki.dll";
    const unsigned long self = std::stoul(ThisProcess());
    EXPECT_EQ(TemporaryMadeBy(TemporaryName("/x" / file).filename(), file), self);
    EXPECT_EQ(BackupMadeBy(BackupName("/y", file).filename(), file), self);
    EXPECT_FALSE(BackupMadeBy(TemporaryName(file), file));
    EXPECT_FALSE(TemporaryMadeBy(BackupName("/y", file).filename(), file));
    // The log's tests try the names of other files and other endings.
    const char* others[] = {"wyniki.dll.tmp4294967296-1", "wyniki.dll.tmp12-"};
    for (const char* name : others)
        EXPECT_FALSE(TemporaryMadeBy(name, file)) << name;
}
