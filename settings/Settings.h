#pragma once

#include "OptionStates.h"
#include "Registry.h"

#include <string>
#include <vector>

// The program's settings under the per-user key Software\Nerbaly\Kwizmar, and
// the start-up steps that read them. Value names:
//   UserName  string   the last examinee's name (written at each exam start)
//   Run       string   the number of program starts, as a decimal text
//   Path      string   the full path of the program file
//   Version   string   a version record, never read back
//   Name      string   the program name record, never read back
//   Scroll, PZadan, Statystyki, Odp, DesktopEnabled, TaskBarEnabled
//             integer  the six options (OptionStates.h)
// Every access opens the key (creating it when missing), reads or writes, and
// closes it again; nothing is cached but the option states.

namespace kwizmar {

inline constexpr const char* kApplicationTitle = "Kwizmar 2002";
inline constexpr const char* kRegistrationVersion = "2.0";

// "Błąd! Wystąpił błąd wzwiązany z rejestrem!": any failure of the file-type
// registration.
class ERegistrationError : public EPlatformError {
public:
    ERegistrationError();
};

class TSettings {
public:
    // `programFile` is the full path of the running program (ProgramFilePath()).
    TSettings(IRegistry& registry, std::string programFile);

    // For the name field NameEdit: the stored UserName, or empty.
    std::string UserName;
    // For the odometer: this start's number, 1 on a first start.
    int Run = 1;
    // The live option states until the options window takes them over.
    TOptionStates Options;

    // At the creation of the main window: reads UserName; counts this start
    // (Run + 1, or 1 when missing) and writes Run back; when Path is missing
    // or names no existing file, writes Version (the program's file version),
    // Path and Name ("Kwizmar 2002").
    // A Run that isn't a whole number throws EConvertError ("'%s' is not a
    // valid integer value") with Run left at 1, nothing rewritten and
    // Version/Path/Name skipped. A failed write throws EFailedToSetData. A
    // damaged settings store is set aside by the registry and this start goes
    // on as the first; one that can't be read or written is kept in memory
    // for this run (TakeNotices).
    void LoadUserSettings();

    // At the first showing of the main window: puts the six stored options, in
    // order, into `controls` (missing values give their defaults), which runs
    // the actions of the controls whose state changes. A value stored as
    // anything but an integer throws EInvalidDataType with its name; the
    // options after it are not applied. The second form uses Options.
    void ApplyStoredOptions(IOptionControls& controls);
    void ApplyStoredOptions() { ApplyStoredOptions(Options); }
    // One option as the next ApplyStoredOptions would set it (the lab's value
    // first), without setting it: the results window alone reads its lock so.
    bool StoredOption(TOption option);

    // Right after ApplyStoredOptions: records the .ts2 test-file type so that
    // opening a test file starts this program with it (on Windows the classes
    // root keys and KwIc.dll in the Windows folder, unless the installer has
    // recorded the type for this program machine-wide; elsewhere the
    // freedesktop MIME type, desktop entry and icon under $XDG_DATA_HOME,
    // unless the system's package has), then writes
    // Version "2.0" and Path.
    // It acts on a start whose LoadUserSettings found Path missing or naming
    // no file (a first start, a moved program), or when Path still names no
    // file now; otherwise it does nothing. Any failure throws
    // ERegistrationError.
    void RegisterTestFileType();

    // At each exam start: stores the examinee's name. Throws EFailedToSetData.
    void WriteUserName(const std::string& name);

    // What the user is to be told about settings files found damaged,
    // unreadable or read-only since the last call (DamagedSettingsNotice),
    // one text for each: the window shows them once the start-up has read
    // the settings.
    std::vector<std::string> TakeNotices();

    const std::string& ProgramFile() const { return programFile_; }

private:
    bool PathNamesExistingFile(IRegistryKey& key) const;

    IRegistry& registry_;
    std::string programFile_;
    bool registrationDue_ = false;
};

// The notice of a settings file the program can't use as it should: a
// damaged one names its copy, where one was made; an unreadable or read-only
// one names who refuses the program (the file or folder and its owner) and
// the command that mends it.
std::string DamagedSettingsNotice(const TDamagedStore& store);

// The platform side of RegisterTestFileType: writes the file type for
// `programFile`, with the icon file in `windowsFolder` where the system wants
// one. Throws on any failure (any exception type).
void WriteTestFileType(IRegistry& registry, const std::string& windowsFolder,
                       const std::string& programFile);
// Whether what WriteTestFileType writes is all there: a start after an update
// that added to it writes it again. Never throws.
bool TestFileTypeComplete() noexcept;

} // namespace kwizmar
