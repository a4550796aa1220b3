#include "DesktopExec.h"

#include <gtest/gtest.h>

using namespace kwizmar;

TEST(DesktopExec, PathIsQuotedForTheCommandLineThenEscapedForTheValue) {
    const struct {
        std::string path, exec;
    } cases[] = {
        {"/usr/bin/kwizmar", "/usr/bin/kwizmar"},
        {"/home/zażółć/kwizmar", "/home/zażółć/kwizmar"},
        {"/opt/100%/kwizmar", "/opt/100%%/kwizmar"},
        {"/opt/Program Files/kwizmar", R"("/opt/Program Files/kwizmar")"},
        {"/opt/50% off/kwizmar", R"("/opt/50%% off/kwizmar")"},
        {"/opt/it's/kwizmar", R"("/opt/it's/kwizmar")"},
        {"/opt/a \"b\"/kwizmar", R"("/opt/a \\"b\\"/kwizmar")"},
        {"/opt/a\\b/kwizmar", R"("/opt/a\\\\b/kwizmar")"},
        {"/opt/$x`y`/kwizmar", R"("/opt/\\$x\\`y\\`/kwizmar")"},
        {"/opt/a\tb/kwizmar", R"("/opt/a\tb/kwizmar")"},
        {"/opt/(a);b&c|d<e>f~g*h?i#j/kwizmar", R"("/opt/(a);b&c|d<e>f~g*h?i#j/kwizmar")"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopExecProgram(c.path), c.exec) << c.path;
}

TEST(DesktopExec, PathNoExecLineCanHoldIsRefused) {
    for (const std::string path :
         {"", "/opt/a\nb/kwizmar", "/opt/a\rb/kwizmar", "/opt/a\x01z/kwizmar",
          "/opt/a\x7fz/kwizmar", "/opt/\xff/kwizmar"})
        EXPECT_THROW(DesktopExecProgram(path), std::invalid_argument) << path;
}
