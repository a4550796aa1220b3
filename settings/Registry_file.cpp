#include "FileRegistry.h"

#include "AtomicFile.h"
#include "FileLock.h"
#include "Folders.h"
#include "Paths.h"
#include "PosixIo.h"
#include "RegFile.h"
#include "Text.h"
#include "WholeFile.h"
#include "XdgFolders.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <stdexcept>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace kwizmar {

namespace {

constexpr const char* kSettingsSection = "HKEY_CURRENT_USER\\Software\\Nerbaly\\Kwizmar";
constexpr const char* kSetupSection =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup";
constexpr const char* kLabSection = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Nerbaly\\Kwizmar";

TRegFile LoadFile(const std::string& fileName) {
    std::string bytes;
    if (!ReadWholeFile(PathFromUtf8(fileName), bytes))
        return TRegFile();
    return TRegFile::Parse(bytes, fileName);
}

std::filesystem::path LockFile(const std::string& fileName) {
    std::filesystem::path lock = PathFromUtf8(fileName);
    lock += ".lock";
    return lock;
}

// The moment in the name of a damaged file's copy, as the user's clock shows it.
std::string Timestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[32] = "";
    if (localtime_r(&now, &local))
        std::strftime(text, sizeof text, "%Y-%m-%d-%H%M%S", &local);
    return text;
}

// Writes `bytes` to a new file, never over an existing one, and to the disk.
// -1 when the name is taken, 0 on any other failure, 1 when written.
int CreateCopy(const std::string& fileName, const std::string& bytes) {
    const std::filesystem::path path = PathFromUtf8(fileName);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST ? -1 : 0;
    const bool written = posix::WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written) {
        ::unlink(path.c_str());
        return 0;
    }
    return 1;
}

// Keeps the bytes of the damaged file `fileName` under a new name beside it,
// then starts the file again empty. Returns the new name; empty when the copy
// couldn't be made or the file not started again, which leaves it as it was.
std::string SetAside(const std::string& fileName, const std::string& bytes) {
    const std::string stem = fileName + ".uszkodzony-" + Timestamp();
    for (int n = 1; n <= 100; ++n) {
        const std::string copy = n == 1 ? stem : stem + "-" + std::to_string(n);
        const int made = CreateCopy(copy, bytes);
        if (made < 0)
            continue;
        if (made == 0)
            return {};
        try {
            WriteFileAtomically(PathFromUtf8(fileName), TRegFile().ToText());
        } catch (const EFCreateError&) {
            ::unlink(PathFromUtf8(copy).c_str());
            return {};
        }
        return copy;
    }
    return {};
}

class TFileKey final : public IRegistryKey {
public:
    TFileKey(std::string fileName, std::string section, bool writable, TRegFile contents)
        : fileName_(std::move(fileName)), section_(std::move(section)), writable_(writable),
          contents_(std::move(contents)) {}

    bool ValueExists(const std::string& name) override { return Find(name) != nullptr; }

    TRegDataType GetDataType(const std::string& name) override {
        const TRegValue* v = Find(name);
        return v ? v->type : TRegDataType::Unknown;
    }

    std::string ReadString(const std::string& name) override {
        const TRegValue* v = Find(name);
        if (!v || v->type != TRegDataType::String)
            throw EInvalidDataType(name);
        return v->text;
    }

    std::int32_t ReadInteger(const std::string& name) override {
        const TRegValue* v = Find(name);
        if (!v || v->type != TRegDataType::Integer)
            throw EInvalidDataType(name);
        return v->integer;
    }

    void WriteString(const std::string& name, const std::string& value) override {
        TRegValue v;
        v.type = TRegDataType::String;
        v.text = value;
        Write(name, v);
    }

    void WriteInteger(const std::string& name, std::int32_t value) override {
        TRegValue v;
        v.type = TRegDataType::Integer;
        v.integer = value;
        Write(name, v);
    }

    // Defaults for values the file doesn't give (the Setup key's folders).
    void SetFallback(const std::string& name, const std::string& text) {
        if (Find(name))
            return;
        TRegValue v;
        v.type = TRegDataType::String;
        v.text = text;
        fallbacks_.Set(section_, name, v);
    }

private:
    const TRegValue* Find(const std::string& name) const {
        const TRegValue* v = contents_.Find(section_, name);
        return v ? v : fallbacks_.Find(section_, name);
    }

    void Write(const std::string& name, const TRegValue& value) {
        if (!writable_)
            throw EFailedToSetData(name);
        const std::filesystem::path file = PathFromUtf8(fileName_);
        std::error_code ec;
        std::filesystem::create_directories(file.parent_path(), ec);
        if (ec)
            throw EFailedToSetData(name);

        TFileLock lock(LockFile(fileName_));
        // Another copy of the program may have written since this key was
        // opened: change only this value in what is on disk now. A file that
        // has become unreadable or can't be understood any more is left as it
        // is.
        TRegFile current;
        try {
            current = LoadFile(fileName_);
            current.Set(section_, name, value);
            WriteFileAtomically(file, current.ToText());
        } catch (const EPlatformError&) {
            throw EFailedToSetData(name);
        } catch (const std::invalid_argument&) {
            throw EFailedToSetData(name);
        }
        contents_ = std::move(current);
    }

    std::string fileName_;
    std::string section_;
    bool writable_;
    TRegFile contents_;
    TRegFile fallbacks_;
};

} // namespace

std::string TFileRegistry::SettingsFile() {
    const std::string config = XdgConfigHome();
    return config.empty() ? std::string() : config + "/Nerbaly/Kwizmar.reg";
}

std::string TFileRegistry::SetupFile() {
    return XdgFirstConfigDir() + "/Nerbaly/Setup.reg";
}

std::unique_ptr<IRegistryKey> TFileRegistry::OpenKey(TRegistryRoot root, const std::string& path,
                                                     bool /*canCreate*/) {
    if (root == TRegistryRoot::CurrentUser && SameTextIgnoringCase(path, kSettingsKey)) {
        const std::string file = SettingsFile();
        if (file.empty())
            return std::make_unique<TFileKey>(file, kSettingsSection, false, TRegFile());
        try {
            return std::make_unique<TFileKey>(file, kSettingsSection, true, LoadFile(file));
        } catch (const ERegistryFileError&) {
            return OpenDamagedSettings(file);
        }
    }
    if (root == TRegistryRoot::LocalMachine && SameTextIgnoringCase(path, kSetupKey)) {
        const std::string file = SetupFile();
        auto key = std::make_unique<TFileKey>(file, kSetupSection, false, LoadFile(file));
        key->SetFallback("SysDir", DefaultDataFolder());
        key->SetFallback("WinDir", DefaultDataFolder());
        return key;
    }
    // A lab's settings sit in the same Setup file, in a section of their own.
    if (root == TRegistryRoot::LocalMachine && SameTextIgnoringCase(path, kLabKey)) {
        const std::string file = SetupFile();
        return std::make_unique<TFileKey>(file, kLabSection, false, LoadFile(file));
    }
    return nullptr;
}

std::unique_ptr<IRegistryKey> TFileRegistry::OpenDamagedSettings(const std::string& file) {
    const std::lock_guard<std::mutex> guard(mutex_);
    if (leftDamaged_.count(file))
        return std::make_unique<TFileKey>(file, kSettingsSection, false, TRegFile());

    TDamagedStore found{file, {}};
    {
        TFileLock lock(LockFile(file));
        // Another copy of the program may have set it aside meanwhile.
        std::string bytes;
        if (!ReadWholeFile(PathFromUtf8(file), bytes))
            return std::make_unique<TFileKey>(file, kSettingsSection, true, TRegFile());
        try {
            return std::make_unique<TFileKey>(file, kSettingsSection, true,
                                              TRegFile::Parse(bytes, file));
        } catch (const ERegistryFileError&) {
            found.keptAs = SetAside(file, bytes);
        }
    }
    const bool repaired = !found.keptAs.empty();
    if (!repaired)
        leftDamaged_.insert(file);
    damaged_.push_back(std::move(found));
    return std::make_unique<TFileKey>(file, kSettingsSection, repaired, TRegFile());
}

std::vector<TDamagedStore> TFileRegistry::TakeDamagedStores() {
    const std::lock_guard<std::mutex> guard(mutex_);
    return std::exchange(damaged_, {});
}

IRegistry& PlatformRegistry() {
    static TFileRegistry registry;
    return registry;
}

} // namespace kwizmar
