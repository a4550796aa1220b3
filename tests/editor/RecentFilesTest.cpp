#include "RecentFiles.h"

#include "MemoryRegistry.h"

#include <gtest/gtest.h>

using namespace kwizmar;
using namespace kwizmar::testing;

TEST(RecentFiles, NewestFirstEachOnceAtMostSix) {
    TMemoryRegistry registry;
    TRecentFiles recent(registry);
    EXPECT_TRUE(recent.List().empty());
    for (const char* path : {"/a.ts2", "/b.ts2", "/c.ts2", "/d.ts2", "/e.ts2", "/f.ts2", "/g.ts2"})
        recent.Add(path);
    recent.Add("/c.ts2");
    const std::vector<std::string> expected = {"/c.ts2", "/g.ts2", "/f.ts2",
                                               "/e.ts2", "/d.ts2", "/b.ts2"};
    EXPECT_EQ(TRecentFiles(registry).List(), expected);
    recent.Remove("/g.ts2");
    EXPECT_EQ(recent.List().size(), 5u);
    EXPECT_EQ(recent.List()[1], "/f.ts2");
}
