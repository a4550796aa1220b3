// Group Policy's side of the lab's values: the policy key wins over the lab
// key, and the administrative template a domain administrator imports names
// exactly the values the program reads, in the key it reads them from.
#include "LabSettings.h"

#include "MemoryRegistry.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>

using namespace kwizmar;

TEST(GroupPolicy, APolicyWinsOverTheLabKeyValueByValue) {
    kwizmar::testing::TMemoryRegistry registry;
    {
        auto lab = registry.OpenKey(TRegistryRoot::LocalMachine, kLabKey, true);
        lab->WriteInteger("StrictExam", 0);
        lab->WriteInteger("ExamMinutes", 30);
        lab->WriteInteger("Statystyki", 0);
        lab->WriteString("SysDir", "/srv/pracownia");
    }
    {
        auto policy = registry.OpenKey(TRegistryRoot::LocalMachine, kPolicyKey, true);
        policy->WriteInteger("StrictExam", 1);
        policy->WriteInteger("Statystyki", 1);
    }
    const TLabRules rules = ReadLabRules(registry);
    EXPECT_TRUE(rules.strictExam);
    EXPECT_EQ(rules.examMinutes, 30);
    EXPECT_EQ(ReadLabOptions(registry)[std::size_t(TOption::Statystyki)], true);
    EXPECT_EQ(LabResultsFolder(registry), "/srv/pracownia");
}

TEST(GroupPolicy, TheTemplateNamesEveryValueTheProgramReadsInItsKey) {
    std::ifstream file(std::string(KWIZMAR_SOURCE_DIR) + "/packaging/windows/policy/kwizmar.admx");
    ASSERT_TRUE(file.good());
    const std::string admx{std::istreambuf_iterator<char>(file), {}};
    std::set<std::string> named, keys;
    const std::regex value(R"(valueName="([^"]+)\")"), key(R"(key="([^"]+)\")");
    for (auto it = std::sregex_iterator(admx.begin(), admx.end(), value);
         it != std::sregex_iterator(); ++it)
        named.insert((*it)[1]);
    for (auto it = std::sregex_iterator(admx.begin(), admx.end(), key);
         it != std::sregex_iterator(); ++it)
        keys.insert((*it)[1]);
    std::set<std::string> read = {"StrictExam", "ExamMinutes", "SysDir"};
    for (const TOptionSpec& spec : kOptions)
        read.insert(spec.valueName);
    EXPECT_EQ(named, read);
    ASSERT_EQ(keys.size(), 1u);
    std::string inTemplate = *keys.begin(), inProgram = kPolicyKey;
    for (std::string* text : {&inTemplate, &inProgram})
        for (char& c : *text)
            c = char(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(inTemplate, inProgram);
}
