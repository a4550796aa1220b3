#include "TestFile.h"

#include "TestFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

const TFakeRegional kPolish;

std::vector<std::string> Load(const std::string& stored) {
    return TTestFile::FromStoredBytes(stored).Lines();
}

} // namespace

TEST(TestFile, ScramblingByteComesFromTheKey) {
    EXPECT_EQ(ScrambleByte(), 0x15);
    EXPECT_EQ(DescrambleTest("T"), "A");
}

TEST(TestFile, PolishLettersSurviveTheRoundTrip) {
    auto lines = ValidTestLines(1);
    lines[0] = "Zażółć gęślą jaźń – „cytat” €";
    lines[2] = "Łucja Żółtowska";
    EXPECT_EQ(Load(MakeTs2(lines)), lines);
}

TEST(TestFile, FinalLineBreakIsOptional) {
    const auto lines = ValidTestLines(2);
    EXPECT_EQ(Load(MakeTs2(lines, true)), lines);
    EXPECT_EQ(Load(MakeTs2(lines, false)), lines);
    auto withEmptyLast = lines;
    withEmptyLast.push_back("");
    EXPECT_EQ(Load(MakeTs2(withEmptyLast, true)), withEmptyLast);
}

TEST(TestFile, StoredLineBreaksAreNormalisedBeforeDescrambling) {
    // Stored CR and LF bytes are not line breaks of the decoded text: they turn
    // into CR LF pairs, which decode to two other characters inside the line.
    const std::string cr = "\x18\x1f"; // CR LF after descrambling: 0x0D 0x0A
    const std::string stored = ScrambleTest("ab") + "\r" + ScrambleTest("cd") + "\n" +
                               ScrambleTest("ef") + "\r\n" + ScrambleTest("gh");
    const std::string expected = "ab" + cr + "cd" + cr + "ef" + cr + "gh";
    EXPECT_EQ(NormaliseStoredText(stored), ScrambleTest("ab") + "\r\n" + ScrambleTest("cd") +
                                               "\r\n" + ScrambleTest("ef") + "\r\n" +
                                               ScrambleTest("gh"));
    EXPECT_EQ(DescrambleTest(NormaliseStoredText(stored)), expected);
    // ... and the scrambled pair of CR LF is what splits lines.
    EXPECT_EQ(Load(ScrambleTest("ab\r\ncd")), (std::vector<std::string>{"ab", "cd"}));
    // A lone decoded CR or LF stays inside its line.
    EXPECT_EQ(Load(ScrambleTest("ab\ncd\re")), (std::vector<std::string>{"ab\ncd\re"}));
}

TEST(TestFile, ZeroBytesEndTheText) {
    const std::string text = ScrambleTest("ab\r\ncd\r\nef");
    std::string storedZero = text;
    storedZero[5] = '\0';
    EXPECT_EQ(Load(storedZero), (std::vector<std::string>{"ab", "c"}));
    std::string decodedZero = text;
    decodedZero[1] = static_cast<char>(ScrambleByte()); // decodes to 0
    EXPECT_EQ(Load(decodedZero), (std::vector<std::string>{"a"}));
    EXPECT_TRUE(Load("").empty());
}

TEST(TestFile, LinesAreCutAt4096Bytes) {
    auto lines = ValidTestLines(1);
    lines[0] = std::string(4095, 'a') + "ąb" + "cdef"; // ą is one byte on disk
    const auto loaded = Load(MakeTs2(lines));
    EXPECT_EQ(loaded[0], std::string(4095, 'a') + "ą");
    EXPECT_EQ(loaded[1], lines[1]);
}

TEST(TestFile, LinesAreFoundWhereverTheBreaksFall) {
    // The lines of a decoded text as a plain search finds them, one CR LF at a time.
    auto plainSplit = [](std::string_view text) {
        std::vector<std::string> lines;
        for (std::size_t pos = 0; pos < text.size();) {
            const std::size_t end = std::min(text.find("\r\n", pos), text.size());
            lines.push_back(Cp1250ToUtf8(text.substr(pos, std::min(end - pos, kMaxLineBytes))));
            pos = end + 2;
        }
        return lines;
    };
    // Every arrangement of six bytes out of CR, LF, "a" and "ł", slid across
    // the steps in which the line breaks are searched.
    const char pieces[] = {'\r', '\n', 'a', '\xB3'};
    for (int pattern = 0; pattern < 4096; ++pattern) {
        std::string middle;
        for (int i = 0, p = pattern; i < 6; ++i, p /= 4)
            middle += pieces[p % 4];
        for (std::size_t before : {0, 1, 10, 14, 15, 16, 17, 31})
            for (std::size_t after : {0, 1, 16}) {
                const std::string text =
                    std::string(before, 'x') + middle + std::string(after, 'y');
                if (TTestFile::FromDecodedText(text).Lines() != plainSplit(text)) {
                    ADD_FAILURE() << "pattern " << pattern << ", " << before << " bytes before, "
                                  << after << " after";
                    return;
                }
            }
    }
}

TEST(TestFile, HeaderAndQuestionsReadByLineNumber) {
    const TTestFile file(ValidTestLines(2));
    EXPECT_EQ(file.Header().name, "\"Geografia\"");
    EXPECT_EQ(file.Header().questionCount, "2");
    EXPECT_EQ(QuestionLine(2, 0), 16);
    EXPECT_EQ(QuestionLine(1, 8), 15);
    const TQuestion q2 = file.Question(2);
    EXPECT_EQ(q2.text, "Pytanie 2");
    EXPECT_EQ(q2.answers[4], "Odp E 2");
    EXPECT_EQ(q2.selfAnswerLine, "TAK - 3");
    EXPECT_EQ(file.Question(3).text, ""); // past the end reads as empty
}

TEST(TestFile, SelfAnswerLine) {
    auto parse = [](const char* line) {
        const TSelfAnswer s = ParseSelfAnswerLine(line);
        return std::make_pair(s.hasSelfAnswer, s.selfAnswerExtra);
    };
    EXPECT_EQ(parse("TAK - 5"), std::make_pair(true, std::string("5")));
    EXPECT_EQ(parse("TAK"), std::make_pair(true, std::string()));
    EXPECT_EQ(parse("TAK - "), std::make_pair(true, std::string()));
    EXPECT_EQ(parse("TAK – 12"), std::make_pair(true, std::string("12"))); // en dash counts once
    EXPECT_EQ(parse("TAKżż 7"), std::make_pair(true, std::string("7")));
    EXPECT_EQ(parse("tak - 5"), std::make_pair(false, std::string()));
    EXPECT_EQ(parse("NIEBAWEM"), std::make_pair(false, std::string()));
    EXPECT_EQ(parse("NIE - 5"), std::make_pair(false, std::string()));
    EXPECT_EQ(parse(""), std::make_pair(false, std::string()));
    EXPECT_EQ(parse(" TAK - 5"), std::make_pair(false, std::string()));
}

TEST(ValidateTest, LineCountMustCoverEveryQuestion) {
    auto lines = ValidTestLines(3); // 9·3 + 7 = 34 lines
    ASSERT_EQ(lines.size(), 34u);
    EXPECT_TRUE(ValidateTest(lines, kPolish));
    lines.pop_back();
    const TValidation v = ValidateTestDetailed(lines, kPolish);
    EXPECT_EQ(v.failed, TTestCheck::LineCount);
    // N = 0 with exactly the seven header lines is a test.
    EXPECT_TRUE(ValidateTest(ValidTestLines(0), kPolish));
    // A huge N must not overflow into a pass.
    auto huge = ValidTestLines(0);
    huge[4] = "2147483647";
    EXPECT_FALSE(ValidateTest(huge, kPolish));
}

TEST(ValidateTest, NameMustBeQuoted) {
    auto lines = ValidTestLines(1);
    for (const char* bad : {"", "Geografia", "\"Geografia", "Geografia\"", " \"Geografia\""}) {
        lines[1] = bad;
        const TValidation v = ValidateTestDetailed(lines, kPolish);
        EXPECT_EQ(v.failed, TTestCheck::NameQuoted) << bad;
        EXPECT_EQ(v.line, 1);
    }
    for (const char* good : {"\"", "\"\"", "\"Zażółć\""}) {
        lines[1] = good;
        EXPECT_TRUE(ValidateTest(lines, kPolish)) << good;
    }
}

TEST(ValidateTest, DateReadsInTheSystemFormatOrElseInThePolishOne) {
    // Each system format with 8 December 2026 written in it, and a text in its
    // layout that is no date.
    struct {
        const char* systemFormat;
        const char* inSystemFormat;
        const char* notADate;
    } cases[] = {
        {"M/d/yy", "12/8/26", "13/8/26"},
        {"dd/MM/yyyy", "08/12/2026", "12/31/2026"},
        {"yyyy-MM-dd", "2026-12-08", "2026-02-29"},
        {"dd.MM.yyyy", "08.12.2026", "31.04.2026"},
    };
    auto lines = ValidTestLines(1);
    for (const auto& c : cases) {
        const TFakeRegional regional(c.systemFormat);
        const bool systemIsPolish = std::string_view(c.systemFormat) == kPolishShortDateFormat;
        const struct {
            const char* date;
            std::optional<TDateFormatUsed> readIn; // nothing: the file is rejected
        } dates[] = {
            {c.inSystemFormat, TDateFormatUsed::SystemShort},
            {"08.12.2026", systemIsPolish ? TDateFormatUsed::SystemShort : TDateFormatUsed::Polish},
            {c.notADate, std::nullopt},
            {"31.04.2026", std::nullopt},
        };
        for (const auto& d : dates) {
            SCOPED_TRACE(std::string(c.systemFormat) + " / " + d.date);
            lines[3] = d.date;
            const TValidation v = ValidateTestDetailed(lines, regional);
            const auto created = ParseCreationDate(d.date, regional);
            if (!d.readIn) {
                EXPECT_EQ(v.failed, TTestCheck::DateConverts);
                EXPECT_EQ(v.line, 3);
                EXPECT_FALSE(created);
                continue;
            }
            EXPECT_TRUE(v.ok());
            ASSERT_TRUE(created);
            EXPECT_EQ(created->formatUsed, *d.readIn);
            EXPECT_EQ(created->format, *d.readIn == TDateFormatUsed::Polish ? kPolishShortDateFormat
                                                                            : c.systemFormat);
            EXPECT_EQ(created->date, (TDate{2026, 12, 8}));
        }
    }
}

TEST(ValidateTest, HeaderNumbersMustBeIntegersCheckedInOrder) {
    auto lines = ValidTestLines(1);
    lines[5] = "dużo";
    lines[6] = "x";
    EXPECT_EQ(ValidateTestDetailed(lines, kPolish).failed, TTestCheck::MaxPointsInteger);
    lines[5] = "10";
    EXPECT_EQ(ValidateTestDetailed(lines, kPolish).failed, TTestCheck::SelfAnswerCountInteger);
    lines[6] = "7"; // not compared with the number of TAK lines
    lines[4] = "1 ";
    EXPECT_EQ(ValidateTestDetailed(lines, kPolish).failed, TTestCheck::QuestionCountInteger);
    // The first failing check is the one reported.
    lines[1] = "bez cudzysłowu";
    EXPECT_EQ(ValidateTestDetailed(lines, kPolish).failed, TTestCheck::NameQuoted);
}

TEST(ValidateTest, GarbageIsRejectedNotCrashedOn) {
    std::string garbage;
    unsigned state = 12345;
    for (int i = 0; i < 20000; ++i) {
        state = state * 1103515245 + 12345;
        garbage += static_cast<char>(state >> 16);
    }
    const TTestFile file = TTestFile::FromStoredBytes(garbage);
    EXPECT_FALSE(ValidateTest(file.Lines(), kPolish));
    // A truncated test: the header of a valid file and half a question.
    auto lines = ValidTestLines(2);
    lines.resize(12);
    EXPECT_FALSE(ValidateTest(TTestFile::FromStoredBytes(MakeTs2(lines)).Lines(), kPolish));
}
