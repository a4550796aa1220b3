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
#include <pwd.h>
#include <stdexcept>
#include <sys/stat.h>
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
// then starts the file again with what could be read of it, `salvaged`.
// Returns the new name; empty when the copy couldn't be made or the file not
// started again, which leaves it as it was.
std::string SetAside(const std::string& fileName, const std::string& bytes,
                     const TRegFile& salvaged) {
    const std::string stem = fileName + ".uszkodzony-" + Timestamp();
    for (int n = 1; n <= 100; ++n) {
        const std::string copy = n == 1 ? stem : stem + "-" + std::to_string(n);
        const int made = CreateCopy(copy, bytes);
        if (made < 0)
            continue;
        if (made == 0)
            return {};
        try {
            WriteFileAtomically(PathFromUtf8(fileName), salvaged.ToText());
        } catch (const EFCreateError&) {
            ::unlink(PathFromUtf8(copy).c_str());
            return {};
        }
        return copy;
    }
    return {};
}

// The login name of `uid`, or its number where the system knows no name.
std::string LoginName(uid_t uid) {
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_name)
        return found->pw_name;
    return std::to_string(uid);
}

// What keeps this user from `mode` (R_OK, W_OK ...) on `path`: 0 for nothing,
// else the system's error number.
int Refusal(const std::filesystem::path& path, int mode) {
    return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0 ? 0 : errno;
}

bool WantOfPermission(int error) {
    return error == EACCES || error == EPERM;
}

// Names in `store` the file or folder whose permissions refuse this user, and
// its owner.
void Blame(TDamagedStore& store, const std::filesystem::path& path, bool folder) {
    struct stat info {};
    store.blocker = Utf8FromPath(path);
    store.blockerIsFolder = folder;
    store.owner = ::stat(path.c_str(), &info) == 0 ? LoginName(info.st_uid) : std::string();
}

// Why the file `file` can't be read: fills `store` where the file's own
// permissions are the cause.
void ExplainUnreadable(const std::string& file, TDamagedStore& store) {
    store.user = LoginName(::geteuid());
    const std::filesystem::path path = PathFromUtf8(file);
    if (WantOfPermission(Refusal(path, R_OK))) {
        try {
            Blame(store, LinkTarget(path), false);
        } catch (const EPlatformError&) {
            Blame(store, path, false);
        }
    }
}

// Why a write of `file` failed, when it is for want of a permission (of the
// file at the end of its link, or of the folder that would hold it) or
// because the disk is read-only: fills `store`. Any other cause (a full disk,
// a file in a folder's place ...) leaves it without one.
void ExplainUnwritable(const std::string& file, TDamagedStore& store) {
    store.user = LoginName(::geteuid());
    std::filesystem::path target;
    try {
        target = LinkTarget(PathFromUtf8(file));
    } catch (const EPlatformError&) {
        return;
    }
    std::error_code ec;
    if (std::filesystem::exists(target, ec)) {
        const int error = Refusal(target, R_OK | W_OK);
        if (error == EROFS) {
            store.readOnlyDisk = true;
            return;
        }
        if (WantOfPermission(error)) {
            Blame(store, target, false);
            return;
        }
    }
    // The folder that holds it, or the nearest one above that exists; a file
    // where a folder belongs is no matter of permissions.
    std::filesystem::path folder = target.parent_path();
    while (!folder.empty() && !std::filesystem::exists(folder, ec) &&
           folder != folder.parent_path())
        folder = folder.parent_path();
    if (!std::filesystem::is_directory(folder, ec))
        return;
    const int error = Refusal(folder, W_OK | X_OK);
    if (error == EROFS) {
        store.readOnlyDisk = true;
        return;
    }
    if (WantOfPermission(error))
        Blame(store, folder, true);
}

// The values of the file that can be read and understood.
TRegFile LoadIfReadable(const std::string& fileName) {
    std::string bytes;
    if (TryReadWholeFile(PathFromUtf8(fileName), bytes) != TWholeFileRead::Read)
        return TRegFile();
    std::vector<TBadLine> badLines;
    return TRegFile::Salvage(bytes, badLines);
}

} // namespace

// A key of a registry file. `registry` keeps the settings file in memory
// where it must; the keys without one (the Setup key, the settings key without
// a home folder) are read only.
class TFileKey final : public IRegistryKey {
public:
    TFileKey(TFileRegistry* registry, std::string fileName, std::string section, TRegFile contents)
        : registry_(registry), fileName_(std::move(fileName)), section_(std::move(section)),
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
        if (!registry_)
            throw EFailedToSetData(name);
        TRegFile updated = contents_;
        try {
            updated.Set(section_, name, value);
        } catch (const std::invalid_argument&) {
            throw EFailedToSetData(name);
        }
        if (!registry_->KeepIfInMemory(fileName_, name, value)) {
            try {
                WriteToDisk(name, value);
                return;
            } catch (const EFailedToSetData&) {
                registry_->KeepAfterFailure(fileName_, name, value);
            }
        }
        contents_ = std::move(updated);
    }

    void WriteToDisk(const std::string& name, const TRegValue& value) {
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

    TFileRegistry* registry_;
    std::string fileName_;
    std::string section_;
    TRegFile contents_;
    TRegFile fallbacks_;
};

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
            return std::make_unique<TFileKey>(nullptr, file, kSettingsSection, TRegFile());
        return OpenSettings(file);
    }
    if (root == TRegistryRoot::LocalMachine && SameTextIgnoringCase(path, kSetupKey)) {
        const std::string file = SetupFile();
        auto key = std::make_unique<TFileKey>(nullptr, file, kSetupSection, LoadSetup(file));
        key->SetFallback("SysDir", DefaultDataFolder());
        key->SetFallback("WinDir", DefaultDataFolder());
        return key;
    }
    // A lab's settings sit in the same Setup file, in a section of their own.
    if (root == TRegistryRoot::LocalMachine && SameTextIgnoringCase(path, kLabKey)) {
        const std::string file = SetupFile();
        return std::make_unique<TFileKey>(nullptr, file, kLabSection, LoadSetup(file));
    }
    return nullptr;
}

// The administrator's file is read as a user's settings file is, but never
// changed: a bad line costs that line alone, and a file that can't be read
// costs its values, each told once a run.
TRegFile TFileRegistry::LoadSetup(const std::string& file) {
    std::string bytes;
    TDamagedStore found;
    found.file = file;
    found.machineWide = true;
    TRegFile contents;
    switch (TryReadWholeFile(PathFromUtf8(file), bytes)) {
    case TWholeFileRead::Missing:
        return contents;
    case TWholeFileRead::Read:
        try {
            return TRegFile::Parse(bytes, file);
        } catch (const ERegistryFileError&) {
            contents = TRegFile::Salvage(bytes, found.badLines);
            found.valuesKept = contents.HasValues();
            found.resultsFolderKept = contents.Find(kLabSection, "SysDir") ||
                                      contents.Find(kSetupSection, "SysDir");
        }
        break;
    default:
        found.kind = TDamagedStore::TKind::Unreadable;
        ExplainUnreadable(file, found);
        break;
    }
    const std::lock_guard<std::mutex> guard(mutex_);
    if (toldSetup_.insert(file).second)
        damaged_.push_back(std::move(found));
    return contents;
}

std::unique_ptr<IRegistryKey> TFileRegistry::OpenSettings(const std::string& file) {
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        if (const auto kept = inMemory_.find(file); kept != inMemory_.end())
            return OpenInMemory(file, kept->second);
    }
    std::string bytes;
    switch (TryReadWholeFile(PathFromUtf8(file), bytes)) {
    case TWholeFileRead::Missing:
        return std::make_unique<TFileKey>(this, file, kSettingsSection, TRegFile());
    case TWholeFileRead::Read:
        try {
            return std::make_unique<TFileKey>(this, file, kSettingsSection,
                                              TRegFile::Parse(bytes, file));
        } catch (const ERegistryFileError&) {
            return OpenDamagedSettings(file);
        }
    default:
        break;
    }
    // It is there but can't be read: this run goes on without its values and
    // never writes over what it couldn't read.
    const std::lock_guard<std::mutex> guard(mutex_);
    if (const auto kept = inMemory_.find(file); kept != inMemory_.end())
        return OpenInMemory(file, kept->second);
    TDamagedStore found;
    found.kind = TDamagedStore::TKind::Unreadable;
    found.file = file;
    ExplainUnreadable(file, found);
    damaged_.push_back(std::move(found));
    return OpenInMemory(file, inMemory_[file]);
}

std::unique_ptr<IRegistryKey> TFileRegistry::OpenInMemory(const std::string& file,
                                                          const TRunValues& values) {
    TRegFile contents = values.fileCounts ? LoadIfReadable(file) : TRegFile();
    for (const auto& [name, value] : values.written)
        contents.Set(kSettingsSection, name, value);
    return std::make_unique<TFileKey>(this, file, kSettingsSection, std::move(contents));
}

std::unique_ptr<IRegistryKey> TFileRegistry::OpenDamagedSettings(const std::string& file) {
    const std::lock_guard<std::mutex> guard(mutex_);
    if (const auto kept = inMemory_.find(file); kept != inMemory_.end())
        return OpenInMemory(file, kept->second);

    TDamagedStore found;
    found.file = file;
    TRegFile salvaged;
    {
        TFileLock lock(LockFile(file));
        // Another copy of the program may have set it aside meanwhile.
        std::string bytes;
        if (!ReadWholeFile(PathFromUtf8(file), bytes))
            return std::make_unique<TFileKey>(this, file, kSettingsSection, TRegFile());
        try {
            return std::make_unique<TFileKey>(this, file, kSettingsSection,
                                              TRegFile::Parse(bytes, file));
        } catch (const ERegistryFileError&) {
            // One bad line costs that line, not the run counter, the name and
            // the statistics lock beside it.
            salvaged = TRegFile::Salvage(bytes, found.badLines);
            found.valuesKept = salvaged.HasValues();
            found.keptAs = SetAside(file, bytes, salvaged);
        }
    }
    const bool repaired = !found.keptAs.empty();
    damaged_.push_back(std::move(found));
    if (repaired)
        return std::make_unique<TFileKey>(this, file, kSettingsSection, std::move(salvaged));
    return OpenInMemory(file, inMemory_.emplace(file, TRunValues{true, {}}).first->second);
}

bool TFileRegistry::KeepIfInMemory(const std::string& file, const std::string& name,
                                   const TRegValue& value) {
    const std::lock_guard<std::mutex> guard(mutex_);
    const auto kept = inMemory_.find(file);
    if (kept == inMemory_.end())
        return false;
    kept->second.written.emplace_back(name, value);
    return true;
}

void TFileRegistry::KeepAfterFailure(const std::string& file, const std::string& name,
                                     const TRegValue& value) {
    const std::lock_guard<std::mutex> guard(mutex_);
    auto kept = inMemory_.find(file);
    if (kept == inMemory_.end()) {
        TDamagedStore found;
        found.file = file;
        // A full disk or a quota tells no cause the program could name; the
        // run goes on all the same.
        ExplainUnwritable(file, found);
        // It may have become unreadable since the key was opened.
        const bool readable = !WantOfPermission(Refusal(PathFromUtf8(file), R_OK));
        found.kind = readable ? TDamagedStore::TKind::ReadOnly : TDamagedStore::TKind::Unreadable;
        // A link to a file the user may read but not write is an
        // administrator's way of fixing the options: nothing to tell.
        std::error_code ec;
        const bool onPurpose = readable && std::filesystem::is_symlink(PathFromUtf8(file), ec);
        if (!onPurpose)
            damaged_.push_back(std::move(found));
        kept = inMemory_.emplace(file, TRunValues{readable, {}}).first;
    }
    kept->second.written.emplace_back(name, value);
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
