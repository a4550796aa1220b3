#include "Registry.h"

#include "LabSettings.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <windows.h>

// The settings over the system's own registry, as the program uses it: each
// test has a key of its own in the user's hive (the process id keeps test
// programs running side by side apart), removed at the end.

using namespace kwizmar;

namespace {

class TWindowsRegistry : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, WidePath().c_str()); }

    static std::string Path() {
        return "Software\\Nerbaly\\KwizmarTest" + std::to_string(GetCurrentProcessId());
    }
    static std::wstring WidePath() {
        return L"Software\\Nerbaly\\KwizmarTest" + std::to_wstring(GetCurrentProcessId());
    }
    static std::unique_ptr<IRegistryKey> Open(bool canCreate = true) {
        return PlatformRegistry().OpenKey(TRegistryRoot::CurrentUser, Path(), canCreate);
    }

    // The value as the system holds it, read past the program's own code.
    static std::wstring RawString(const wchar_t* name) {
        wchar_t buffer[256] = {};
        DWORD size = sizeof buffer;
        DWORD type = 0;
        EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, WidePath().c_str(), name, RRF_RT_ANY, &type,
                               buffer, &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, DWORD(REG_SZ));
        return buffer;
    }
};

template <typename T> std::string ErrorOf(T&& action) {
    try {
        action();
    } catch (const EPlatformError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST_F(TWindowsRegistry, StringsKeepPolishLetters) {
    struct Row {
        const char* name;
        const char* value;
        const wchar_t* wideName;
        const wchar_t* wideValue;
    };
    const Row rows[] = {
        {"UserName", "Zażółć gęślą jaźń", L"UserName",
         L"Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 ja\u017A\u0144"},
        {"Path", "C:\\Program Files\\Kwizmar\\kwizmar.exe", L"Path",
         L"C:\\Program Files\\Kwizmar\\kwizmar.exe"},
        {"Imię", "ŹRÓDŁO", L"Imi\u0119", L"\u0179R\u00D3D\u0141O"},
        {"Run", "", L"Run", L""},
    };
    for (const Row& row : rows)
        Open()->WriteString(row.name, row.value);
    const auto key = Open();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(key->GetDataType(row.name), TRegDataType::String);
        EXPECT_EQ(key->ReadString(row.name), row.value);
        EXPECT_EQ(RawString(row.wideName), row.wideValue);
    }
}

TEST_F(TWindowsRegistry, IntegersAreThirtyTwoBitsWithTheirSign) {
    const std::int32_t values[] = {0, 1, -1, INT_MIN, INT_MAX};
    for (const std::int32_t value : values) {
        SCOPED_TRACE(value);
        Open()->WriteInteger("Scroll", value);
        const auto key = Open();
        EXPECT_EQ(key->GetDataType("Scroll"), TRegDataType::Integer);
        EXPECT_EQ(key->ReadInteger("Scroll"), value);
    }
}

TEST_F(TWindowsRegistry, AValueOfAnotherTypeIsAnInvalidDataType) {
    {
        const auto key = Open();
        key->WriteString("Scroll", "1");
        key->WriteInteger("UserName", 7);
        const BYTE bytes[] = {1, 0, 0, 0};
        HKEY raw = nullptr;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, WidePath().c_str(), 0, KEY_WRITE, &raw),
                  ERROR_SUCCESS);
        RegSetValueExW(raw, L"Odp", 0, REG_BINARY, bytes, sizeof bytes);
        RegCloseKey(raw);
    }
    const auto key = Open();
    EXPECT_EQ(key->GetDataType("Odp"), TRegDataType::Other);
    EXPECT_EQ(key->GetDataType("Statystyki"), TRegDataType::Unknown);
    EXPECT_FALSE(key->ValueExists("Statystyki"));
    EXPECT_EQ(ErrorOf([&] { key->ReadInteger("Scroll"); }), "Invalid data type for 'Scroll'");
    EXPECT_EQ(ErrorOf([&] { key->ReadString("UserName"); }), "Invalid data type for 'UserName'");
    EXPECT_EQ(ErrorOf([&] { key->ReadInteger("Odp"); }), "Invalid data type for 'Odp'");
    EXPECT_EQ(ErrorOf([&] { key->ReadString("Odp"); }), "Invalid data type for 'Odp'");
    EXPECT_EQ(ErrorOf([&] { key->ReadInteger("Statystyki"); }),
              "Invalid data type for 'Statystyki'");
}

TEST_F(TWindowsRegistry, AKeyOpenedWithoutCreatingItIsOnlyRead) {
    EXPECT_FALSE(Open(false));
    HKEY raw = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, WidePath().c_str(), 0, KEY_READ, &raw),
              ERROR_SUCCESS); // looking for it didn't make it

    Open()->WriteString("Run", "3");
    const auto key = Open(false);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ReadString("Run"), "3");
    EXPECT_EQ(ErrorOf([&] { key->WriteString("Run", "4"); }), "Failed to set data for 'Run'");
    EXPECT_EQ(ErrorOf([&] { key->WriteInteger("Scroll", 1); }), "Failed to set data for 'Scroll'");
    EXPECT_EQ(Open()->ReadString("Run"), "3");
}

// The machine-wide Setup key is read, never written, even where the user
// could (Wine runs everything as an administrator).
TEST(WindowsSetupKey, IsOpenedForReading) {
    const auto setup = PlatformRegistry().OpenKey(TRegistryRoot::LocalMachine, kSetupKey, false);
    ASSERT_TRUE(setup);
    EXPECT_EQ(ErrorOf([&] { setup->WriteString("KwizmarTest", "C:\\Kwizmar"); }),
              "Failed to set data for 'KwizmarTest'");
    EXPECT_FALSE(setup->ValueExists("KwizmarTest"));
}

// Group Policy's key in the system's registry wins over the lab key, value by
// value, as a domain's policy sets it.
TEST(WindowsGroupPolicy, ThePolicyKeyWinsOverTheLabKey) {
    auto set = [](const wchar_t* key, const wchar_t* name, DWORD value) {
        HKEY opened = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &opened, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(opened, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
        RegCloseKey(opened);
    };
    set(L"SOFTWARE\\Nerbaly\\Kwizmar", L"ExamMinutes", 30);
    set(L"SOFTWARE\\Nerbaly\\Kwizmar", L"StrictExam", 0);
    set(L"SOFTWARE\\Policies\\Nerbaly\\Kwizmar", L"StrictExam", 1);
    const TLabRules rules = ReadLabRules(PlatformRegistry());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Nerbaly");
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Nerbaly\\Kwizmar", L"ExamMinutes");
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Nerbaly\\Kwizmar", L"StrictExam");
    EXPECT_TRUE(rules.strictExam);
    EXPECT_EQ(rules.examMinutes, 30);
}
