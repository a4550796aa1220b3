#include "CommandLineInfo.h"

#include <gtest/gtest.h>

namespace kwizmar {
namespace {

TEST(ExamArgumentsTest, ReadsTheTestAndTheTrial) {
    const std::pair<std::vector<std::string>, TExamArguments> cases[] = {
        {{}, {"", false}},
        {{"Testy/a.ts2"}, {"Testy/a.ts2", false}},
        {{"--proba", "a.ts2"}, {"a.ts2", true}},
        {{"--", "-a.ts2"}, {"-a.ts2", false}},
        {{"-"}, {"-", false}},
        {{"--wyniki"}, {"", false, true}},
    };
    for (const auto& [args, read] : cases)
        EXPECT_EQ(std::get<TExamArguments>(ReadExamArguments(args)), read) << args.size();
}

TEST(ExamArgumentsTest, NamesWhatIsWrong) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--bogus"}, "nieznana opcja --bogus"},
        {{"a.ts2", "-x"}, "nieznana opcja -x"},
        {{"--proba"}, "po opcji --proba brakuje nazwy pliku testu"},
        {{"a.ts2", "--proba"}, "po opcji --proba brakuje nazwy pliku testu"},
        {{"a.ts2", "b.ts2"}, "zbędny argument b.ts2 (program otwiera jeden test)"},
        {{"--wyniki", "a.ts2"}, "opcja --wyniki otwiera same wyniki egzaminów, bez pliku testu"},
    };
    for (const auto& [args, wrong] : cases)
        EXPECT_EQ(std::get<std::string>(ReadExamArguments(args)), wrong);
}

} // namespace
} // namespace kwizmar
