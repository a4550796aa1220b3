#include "RegFile.h"

#include <gtest/gtest.h>

using namespace kwizmar;

namespace {
const std::string kSection = "HKEY_CURRENT_USER\\Software\\Nerbaly\\Kwizmar";

std::string ErrorOf(const std::string& text) {
    try {
        TRegFile::Parse(text, "/cfg/Kwizmar.reg");
    } catch (const ERegistryFileError& e) {
        return e.what();
    }
    return "no error";
}
} // namespace

TEST(RegFile, ReadsAHandWrittenFile) {
    const std::string text = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
                             "; written by the installer\r\n"
                             "\r\n"
                             "[hkey_current_user\\software\\nerbaly\\kwizmar]\r\n"
                             "\"UserName\"=\"Jan \\\"Kowal\\\" C:\\\\x ż\"\r\n"
                             "\"Scroll\" = dword:0000000A\r\n"
                             "\"Odp\"=hex:01,00,00,00\r\r\n"
                             "\"scroll\"=dword:ffffffff\n";
    const TRegFile file = TRegFile::Parse(text, "f");
    const TRegValue* name = file.Find(kSection, "username");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->type, TRegDataType::String);
    EXPECT_EQ(name->text, "Jan \"Kowal\" C:\\x ż");
    const TRegValue* scroll = file.Find(kSection, "Scroll"); // the last one counts
    ASSERT_TRUE(scroll);
    EXPECT_EQ(scroll->type, TRegDataType::Integer);
    EXPECT_EQ(scroll->integer, -1);
    EXPECT_EQ(file.Find(kSection, "Odp")->type, TRegDataType::Other);
    EXPECT_EQ(file.Find(kSection, "Odp")->data, "hex:01,00,00,00"); // no CR of a line end
    EXPECT_FALSE(file.Find(kSection, "Run"));
    EXPECT_FALSE(file.Find("HKEY_CURRENT_USER\\Other", "Scroll"));
}

TEST(RegFile, NamesTheFileAndLineOfWhatItCannotRead) {
    const std::string header = "Windows Registry Editor Version 5.00\n";
    EXPECT_EQ(ErrorOf("garbage\n"), "Invalid registry file /cfg/Kwizmar.reg, line 1: the first "
                                    "line must be \"Windows Registry Editor Version 5.00\"");
    EXPECT_EQ(ErrorOf("; only a comment\n"), ErrorOf("garbage\n"));
    EXPECT_EQ(ErrorOf(header + "\"Run\"=\"1\"\n"),
              "Invalid registry file /cfg/Kwizmar.reg, line 2: a value comes before any [key] "
              "line");
    const std::string section = header + "[" + kSection + "]\n";
    EXPECT_NE(ErrorOf(section + "\"Run\"=dword:xyz\n").find("line 3: \"dword:\""),
              std::string::npos);
    EXPECT_NE(ErrorOf(section + "\"Run\"=\"1\n").find("line 3: a text value"), std::string::npos);
    EXPECT_NE(ErrorOf(section + "\n\"Run\"=1\n").find("line 4: unknown kind"), std::string::npos);
    EXPECT_NE(ErrorOf(section + "Run=\"1\"\n").find("line 3: neither"), std::string::npos);
    EXPECT_NE(ErrorOf(section + "\"Run\"=\"\xC5\"\n").find("line 3: the text is not UTF-8"),
              std::string::npos);
    EXPECT_NE(ErrorOf(header + "[" + kSection + "\n").find("line 2"), std::string::npos);
}

TEST(RegFile, ABlankFileIsAnEmptyKeyWrittenInTheUsualLayout) {
    for (const std::string blank : {"", "\xEF\xBB\xBF", "\xEF\xBB\xBF\r\n \t\n\n"}) {
        SCOPED_TRACE(::testing::PrintToString(blank));
        TRegFile file = TRegFile::Parse(blank, "f");
        EXPECT_FALSE(file.Find(kSection, "Run"));
        file.Set(kSection, "Run", TRegValue{TRegDataType::String, "1", 0, {}});
        EXPECT_EQ(file.ToText(),
                  "Windows Registry Editor Version 5.00\n\n[" + kSection + "]\n\"Run\"=\"1\"\n");
    }
}

TEST(RegFile, ChangesOneValueAndKeepsTheRest) {
    const std::string text = "Windows Registry Editor Version 5.00\n"
                             "\n"
                             "; keep me\n"
                             "[" +
                             kSection +
                             "]\n"
                             "\"Run\"=\"1\"\n"
                             "\"Name\" = \"x\"\n"
                             "\n"
                             "[HKEY_CURRENT_USER\\Other]\n"
                             "\"A\"=\"b\"\n";
    TRegFile file = TRegFile::Parse(text, "f");
    TRegValue run{TRegDataType::String, "2", 0, {}};
    file.Set(kSection, "run", run);
    TRegValue scroll{TRegDataType::Integer, {}, 1, {}};
    file.Set(kSection, "Scroll", scroll);
    EXPECT_EQ(file.ToText(), "Windows Registry Editor Version 5.00\n"
                             "\n"
                             "; keep me\n"
                             "[" +
                                 kSection +
                                 "]\n"
                                 "\"Run\"=\"2\"\n"
                                 "\"Name\" = \"x\"\n"
                                 "\"Scroll\"=dword:00000001\n"
                                 "\n"
                                 "[HKEY_CURRENT_USER\\Other]\n"
                                 "\"A\"=\"b\"\n");
    TRegValue broken{TRegDataType::String, "a\nb", 0, {}};
    EXPECT_THROW(file.Set(kSection, "UserName", broken), std::invalid_argument);
}

TEST(RegFile, WritesWhatItReadsBack) {
    TRegFile file;
    TRegValue text{TRegDataType::String, "C:\\Program \"Files\"", 0, {}};
    TRegValue number{TRegDataType::Integer, {}, -2, {}};
    file.Set(kSection, "Path", text);
    file.Set(kSection, "Scroll", number);
    EXPECT_EQ(file.ToText(), "Windows Registry Editor Version 5.00\n"
                             "\n"
                             "[" +
                                 kSection +
                                 "]\n"
                                 "\"Path\"=\"C:\\\\Program \\\"Files\\\"\"\n"
                                 "\"Scroll\"=dword:fffffffe\n");
    const TRegFile again = TRegFile::Parse(file.ToText(), "f");
    EXPECT_EQ(again.Find(kSection, "Path")->text, text.text);
    EXPECT_EQ(again.Find(kSection, "Scroll")->integer, -2);
}
