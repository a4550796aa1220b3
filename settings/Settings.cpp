#include "Settings.h"

#include "Cp1250.h"
#include "FileVersion.h"
#include "Paths.h"
#include "StrToInt.h"
#include "Text.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <system_error>

namespace kwizmar {

namespace {

constexpr const char* kDefaultWindowsFolder = "C:\\Windows";

std::unique_ptr<IRegistryKey> OpenSettings(IRegistry& registry, const char* firstValue) {
    auto key = registry.OpenKey(TRegistryRoot::CurrentUser, kSettingsKey, true);
    if (!key)
        throw EFailedToSetData(firstValue);
    return key;
}

std::string WindowsFolder(IRegistry& registry) {
    try {
        auto setup = registry.OpenKey(TRegistryRoot::LocalMachine, kSetupKey, false);
        if (setup && setup->GetDataType("WinDir") == TRegDataType::String)
            return setup->ReadString("WinDir");
    } catch (const std::exception&) {
        // an unreadable Setup key means the default folder
    }
    return kDefaultWindowsFolder;
}

} // namespace

ERegistrationError::ERegistrationError()
    : EPlatformError("Błąd! Wystąpił błąd wzwiązany z rejestrem!") {}

TSettings::TSettings(IRegistry& registry, std::string programFile)
    : Options(registry), registry_(registry), programFile_(std::move(programFile)) {}

// A Path of the wrong type names no file: it is written again, rather than
// failing every start.
bool TSettings::PathNamesExistingFile(IRegistryKey& key) const {
    if (key.GetDataType("Path") != TRegDataType::String)
        return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(PathFromUtf8(key.ReadString("Path")), ec);
}

void TSettings::LoadUserSettings() {
    UserName.clear();
    Run = 1;
    auto key = OpenSettings(registry_, "Run");

    // Whether this start must register the file type is decided before Path is
    // written below, so that a first start on a new account registers it.
    const bool pathValid = PathNamesExistingFile(*key);
    registrationDue_ = !pathValid;

    if (key->ValueExists("UserName"))
        UserName = key->ReadString("UserName");

    if (key->ValueExists("Run")) {
        const int stored = StrToInt(key->ReadString("Run"));
        Run = stored == INT_MAX ? INT_MAX : stored + 1;
    }
    key->WriteString("Run", std::to_string(Run));

    if (!pathValid) {
        key->WriteString("Version", ProgramFileVersion());
        key->WriteString("Path", programFile_);
        key->WriteString("Name", kApplicationTitle);
    }
}

void TSettings::ApplyStoredOptions(IOptionControls& controls) {
    for (const TOptionSpec& spec : kOptions)
        controls.SetOption(spec.option, StoredOption(spec.option));
}

bool TSettings::StoredOption(TOption option) {
    // The lab's values before the user's own: a pupil's file never overrides them.
    const TOptionSpec& spec = SpecOf(option);
    if (const auto fixed = Options.Fixed(option))
        return *fixed;
    auto key = registry_.OpenKey(TRegistryRoot::CurrentUser, kSettingsKey, true);
    return key && key->ValueExists(spec.valueName) ? key->ReadInteger(spec.valueName) != 0
                                                   : spec.byDefault;
}

void TSettings::RegisterTestFileType() {
    const std::string windowsFolder = WindowsFolder(registry_);
    if (!registrationDue_) {
        auto key = OpenSettings(registry_, "Path");
        if (PathNamesExistingFile(*key) && TestFileTypeComplete())
            return;
    }
    try {
        WriteTestFileType(registry_, windowsFolder, programFile_);
        auto key = OpenSettings(registry_, "Version");
        key->WriteString("Version", kRegistrationVersion);
        key->WriteString("Path", programFile_);
    } catch (const std::exception&) {
        throw ERegistrationError();
    }
    registrationDue_ = false;
}

void TSettings::WriteUserName(const std::string& name) {
    OpenSettings(registry_, "UserName")->WriteString("UserName", name);
}

std::vector<std::string> TSettings::TakeNotices() {
    std::vector<std::string> notices;
    for (const TDamagedStore& store : registry_.TakeDamagedStores())
        notices.push_back(DamagedSettingsNotice(store));
    return notices;
}

namespace {

// A path as it is typed in a terminal.
std::string ShellWord(const std::string& path) {
    const bool plain =
        !path.empty() && path.find_first_not_of("abcdefghijklmnopqrstuvwxyz"
                                                "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                "0123456789/._-+:@,") == std::string::npos;
    if (plain)
        return path;
    std::string quoted = "'";
    for (char c : path)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Who refuses the program what.
std::string Reason(const TDamagedStore& store, bool reading) {
    if (store.readOnlyDisk)
        return ": plik leży na dysku dostępnym tylko do odczytu.";
    if (store.blocker.empty())
        return reading ? "." : ": zapis się nie powiódł (na przykład z braku miejsca na dysku).";
    std::string text = reading ? ": brak uprawnień do odczytu " : ": brak uprawnień do zapisu ";
    if (store.blocker == store.file)
        text += "tego pliku";
    else
        text += (store.blockerIsFolder ? "folderu " : "pliku ") + store.blocker;
    if (!store.owner.empty())
        text += " (jego właścicielem jest " + store.owner + ")";
    return text + ".";
}

// The command that mends it, where a permission is the cause.
std::string Mending(const TDamagedStore& store, bool reading) {
    if (store.blocker.empty() || store.owner.empty())
        return {};
    if (store.owner == store.user)
        return "\n\nMożna to naprawić poleceniem:\n\nchmod u+" +
               std::string(store.blockerIsFolder ? "rwx " : "rw ") + ShellWord(store.blocker);
    const std::string command = "sudo chown " + store.user + ": " + ShellWord(store.blocker);
    if (reading)
        return "\n\nAby program mógł czytać i zapisywać ustawienia użytkownika " + store.user +
               ", administrator komputera może wydać polecenie:\n\n" + command;
    return "\n\nJeśli plik przygotował administrator komputera, aby ustawień nie można było "
           "zmieniać, tak ma być. W przeciwnym razie administrator może wydać polecenie:\n\n" +
           command;
}

// The lines of a damaged file that couldn't be read: the first with its text,
// where it can be shown, then the numbers of a few more.
std::string BadLines(const std::vector<TBadLine>& lines) {
    if (lines.empty())
        return " i nie dał się odczytać";
    const TBadLine& first = lines.front();
    const bool showable = first.text.size() <= 80 && IsValidUtf8(first.text) &&
                          std::none_of(first.text.begin(), first.text.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    std::string text = lines.size() == 1 ? ": błędny jest wiersz " : ": błędne są wiersze ";
    text += std::to_string(first.number);
    if (showable && !Trim(first.text).empty())
        text += " („" + first.text + "”)";
    constexpr std::size_t kNamed = 5;
    for (std::size_t i = 1; i < lines.size() && i < kNamed; ++i)
        text += ", " + std::to_string(lines[i].number);
    if (lines.size() > kNamed)
        text += " i dalsze (razem " + std::to_string(lines.size()) + ")";
    return text;
}

// What a lab's machine-wide file that couldn't be read whole means for the
// exams on this computer: what its lines would have set and now doesn't hold.
std::string LabConsequences(const TDamagedStore& store) {
    const struct {
        const char* value;
        const char* lost;
    } known[] = {
        {"SysDir", "wyniki egzaminów trafiają do pliku wyników na tym komputerze, a nie do "
                   "wspólnego folderu pracowni"},
        {"ExamMinutes", "czas egzaminu nie jest ustalony przez pracownię"},
        {"StrictExam", "podgląd prawidłowej odpowiedzi (Ctrl + mysz) nie jest wyłączony"},
        {"ShuffleQuestions", "pytania nie są podawane w losowej kolejności"},
        {"ShuffleAnswers", "odpowiedzi nie są podawane w losowej kolejności"},
    };
    std::vector<std::string> lost;
    for (const auto& k : known) {
        if (k.value == std::string_view("SysDir") && store.resultsFolderKept)
            continue;
        const bool hit =
            store.kind == TDamagedStore::TKind::Unreadable ||
            std::any_of(store.badLines.begin(), store.badLines.end(), [&](const TBadLine& line) {
                return line.text.find(k.value) != std::string::npos;
            });
        if (hit)
            lost.emplace_back(k.lost);
    }
    std::string text;
    for (std::size_t i = 0; i < lost.size(); ++i)
        text += (i == 0 ? ": " : "; ") + lost[i];
    return text + ".";
}

// The administrator's file with the lab's values, which the program never changes.
std::string MachineWideNotice(const TDamagedStore& store) {
    std::string text;
    if (store.kind == TDamagedStore::TKind::Unreadable) {
        text = "Nie można odczytać pliku ustawień pracowni " + store.file + Reason(store, true) +
               "\n\nProgram działa bez ustawień pracowni" + LabConsequences(store);
        if (!store.blocker.empty())
            text += "\n\nAdministrator komputera może to naprawić poleceniem:\n\nsudo chmod " +
                    std::string(store.blockerIsFolder ? "a+rx " : "a+r ") +
                    ShellWord(store.blocker);
    } else {
        text = "Plik ustawień pracowni " + store.file + " zawiera błędy" +
               BadLines(store.badLines) + ".\n\nProgram pominął " +
               (store.badLines.size() == 1 ? "ten wiersz" : "te wiersze") +
               " i stosuje pozostałe ustawienia pracowni" + LabConsequences(store);
    }
    return text + "\n\nPokaż ten komunikat nauczycielowi albo administratorowi pracowni.";
}

} // namespace

std::string DamagedSettingsNotice(const TDamagedStore& store) {
    if (store.machineWide)
        return MachineWideNotice(store);
    switch (store.kind) {
    case TDamagedStore::TKind::Unreadable:
        return "Nie można odczytać pliku ustawień " + store.file + Reason(store, true) +
               "\n\nProgram działa z ustawieniami domyślnymi. Plik pozostawiono bez zmian, a "
               "zmiany ustawień (także imię i licznik uruchomień) obowiązują tylko do końca tej "
               "pracy programu." +
               Mending(store, true);
    case TDamagedStore::TKind::ReadOnly:
        return "Nie można zapisać pliku ustawień " + store.file + Reason(store, false) +
               "\n\nProgram stosuje ustawienia zapisane w tym pliku, a ich zmiany (także imię "
               "i licznik uruchomień) obowiązują tylko do końca tej pracy programu." +
               Mending(store, false);
    case TDamagedStore::TKind::Damaged:
        break;
    }
    if (store.keptAs.empty())
        return "Plik ustawień " + store.file + " jest uszkodzony" + BadLines(store.badLines) +
               ".\n\nNie udało się go naprawić, bo nie można było zachować jego kopii, więc "
               "pozostawiono go bez zmian. Program " +
               (store.valuesKept ? "stosuje ustawienia, które dało się z niego odczytać,"
                                 : "uruchomił się z ustawieniami domyślnymi") +
               " i do końca pracy nie zapisze żadnych zmian ustawień.";
    return "Plik ustawień " + store.file + " był uszkodzony" + BadLines(store.badLines) +
           ".\n\nZachowano go jako " + store.keptAs + ". " +
           (store.valuesKept ? "Pozostałe ustawienia zapisane w pliku obowiązują nadal, a w "
                               "miejsce błędnych program przyjął wartości domyślne."
                             : "Program uruchomił się z ustawieniami domyślnymi.");
}

} // namespace kwizmar
