#include "TestFixtures.h"

#include "AnswerLetters.h"

namespace kwizmar::testing {

std::vector<std::string> ValidTestLines(int n) {
    std::vector<std::string> lines = {"Test próbny z geografii Polski",
                                      "\"Geografia\"",
                                      "Jan Kowalski",
                                      "06.05.2002",
                                      std::to_string(n),
                                      std::to_string(2 * n),
                                      "0"};
    for (int k = 1; k <= n; ++k) {
        const std::string s = std::to_string(k);
        lines.push_back("Pytanie " + s);
        for (const char* letter : kAnswerCapitals)
            lines.push_back(std::string("Odp ") + letter + " " + s);
        lines.push_back("b");
        lines.push_back("2");
        lines.push_back(k % 2 == 0 ? "TAK - 3" : "NIE");
    }
    return lines;
}

std::string MakeTs2(const std::vector<std::string>& lines, bool finalBreak) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += Utf8ToCp1250(lines[i]);
        if (i + 1 < lines.size() || finalBreak)
            text += "\r\n";
    }
    return ScrambleTest(text);
}

} // namespace kwizmar::testing
