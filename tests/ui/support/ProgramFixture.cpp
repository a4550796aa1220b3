#include "ProgramFixture.h"

#include "LockdownRecorder.h"

#include <QApplication>
#include <QTest>

#include <cstdlib>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kwizmar::testing {

ProgramTest::ProgramTest() {
    for (const char* sub : {"config", "data", "xdg"})
        std::filesystem::create_directories(dir.path() / sub);
#ifdef _WIN32
    // The settings start empty in the system's registry, and the lab's key
    // sends the results log to the test's own folder, where the XDG folders
    // would have it elsewhere.
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Nerbaly\\Kwizmar");
    if (const char* appData = std::getenv("APPDATA"))
        savedAppData_ = appData;
    _putenv_s("APPDATA", (dir.path() / "appdata").string().c_str());
    HKEY lab = nullptr;
    const std::wstring log = (dir.path() / "data" / "Kwizmar").wstring();
    std::filesystem::create_directories(log);
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Nerbaly\\Kwizmar", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &lab, nullptr) == ERROR_SUCCESS) {
        RegSetValueExW(lab, L"SysDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(log.c_str()),
                       static_cast<DWORD>((log.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(lab);
    }
#else
    setenv("XDG_CONFIG_HOME", (dir.path() / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (dir.path() / "data").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", (dir.path() / "xdg").c_str(), 1);
#endif
    ProcessLockdownRecorder().Clear();
}

ProgramTest::~ProgramTest() {
    if (program && !program->ResultsAlone())
        program->MainWindow().close();
    program.reset();
    QApplication::processEvents();
#ifdef _WIN32
    // The test's folder goes with it, and the lab's values it wrote.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Nerbaly\\Kwizmar");
    _putenv_s("APPDATA", savedAppData_ ? savedAppData_->c_str() : "");
#endif
}

void ProgramTest::WriteLabSetup(const std::string& values) const {
#ifdef _WIN32
    // The values of the .reg lines, "Name"=dword:0000000N or "Name"="text",
    // into the lab's key of the system's registry.
    HKEY lab = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Nerbaly\\Kwizmar", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &lab, nullptr) != ERROR_SUCCESS)
        return;
    std::istringstream lines(values);
    for (std::string line; std::getline(lines, line);) {
        const auto equals = line.find("\"=");
        if (line.empty() || line[0] != '"' || equals == std::string::npos)
            continue;
        const std::wstring name = std::filesystem::path(line.substr(1, equals - 1)).wstring();
        const std::string value = line.substr(equals + 2);
        if (value.starts_with("dword:")) {
            const DWORD number = DWORD(std::stoul(value.substr(6), nullptr, 16));
            RegSetValueExW(lab, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                           sizeof number);
        } else if (value.size() >= 2 && value.front() == '"') {
            const std::wstring text =
                std::filesystem::path(value.substr(1, value.find_last_of('"') - 1)).wstring();
            RegSetValueExW(lab, name.c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(text.c_str()),
                           DWORD((text.size() + 1) * sizeof(wchar_t)));
        }
    }
    RegCloseKey(lab);
#endif
    std::filesystem::create_directories(dir.path() / "xdg" / "Nerbaly");
    std::ofstream(dir.path() / "xdg" / "Nerbaly" / "Setup.reg")
        << "Windows Registry Editor Version 5.00\n\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Nerbaly\\Kwizmar]\n"
        << values;
}

bool ProgramTest::ResultSaved() {
    return QTest::qWaitFor([this] { return !Window().Logic().SavingResult(); }, 30000);
}

void ProgramTest::Start(const QStringList& arguments) {
    program = std::make_unique<TKwizmar>(QStringList{QStringLiteral("kwizmar")} + arguments);
    program->Show();
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    // The first-show steps run from the event loop right after the showing.
    QTest::qWait(20);
}

QString ProgramTest::Text(const char* name) {
    auto* label = Find<QLabel>(name);
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
}

QToolButton* ProgramTest::Button(const char* name) {
    return Find<QToolButton>(name);
}

std::filesystem::path ProgramTest::UserDataFolder() const {
#ifdef _WIN32
    return dir.path() / "appdata" / "Nerbaly" / "Kwizmar";
#else
    return dir.path() / "data" / "Kwizmar";
#endif
}

std::string ProgramTest::SettingsFile() const {
    std::ifstream in(dir.path() / "config" / "Nerbaly" / "Kwizmar.reg", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void ProgramTest::WriteSettingsFile(const std::string& text) const {
    std::filesystem::create_directories(dir.path() / "config" / "Nerbaly");
    std::ofstream out(dir.path() / "config" / "Nerbaly" / "Kwizmar.reg", std::ios::binary);
    out << text;
}

void ProgramTest::StoreStringSetting(const std::string& name, const std::string& text) const {
#ifdef _WIN32
    const QString value = QString::fromStdString(text);
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Nerbaly\\Kwizmar",
                    QString::fromStdString(name).toStdWString().c_str(), REG_SZ, value.utf16(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
#else
    WriteSettingsFile("Windows Registry Editor Version 5.00\n\n"
                      "[HKEY_CURRENT_USER\\Software\\Nerbaly\\Kwizmar]\n\"" +
                      name + "\"=\"" + text + "\"\n");
#endif
}

} // namespace kwizmar::testing
