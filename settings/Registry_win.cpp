#include "Registry.h"

#include <windows.h>

namespace kwizmar {

namespace {

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
    return out;
}

std::string Narrow(const std::wstring& wide) {
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

HKEY RootHandle(TRegistryRoot root) {
    switch (root) {
    case TRegistryRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    case TRegistryRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    default:
        return HKEY_CLASSES_ROOT;
    }
}

class TWinKey final : public IRegistryKey {
public:
    explicit TWinKey(HKEY key) : key_(key) {}
    ~TWinKey() override { RegCloseKey(key_); }
    TWinKey(const TWinKey&) = delete;
    TWinKey& operator=(const TWinKey&) = delete;

    bool ValueExists(const std::string& name) override {
        return RegQueryValueExW(key_, Wide(name).c_str(), nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
    }

    TRegDataType GetDataType(const std::string& name) override {
        DWORD type = 0;
        if (RegQueryValueExW(key_, Wide(name).c_str(), nullptr, &type, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return TRegDataType::Unknown;
        if (type == REG_SZ || type == REG_EXPAND_SZ)
            return TRegDataType::String;
        if (type == REG_DWORD)
            return TRegDataType::Integer;
        return TRegDataType::Other;
    }

    std::string ReadString(const std::string& name) override {
        const std::wstring wname = Wide(name);
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(key_, wname.c_str(), nullptr, &type, nullptr, &size) !=
                ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            throw EInvalidDataType(name);
        std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = DWORD(buffer.size() * sizeof(wchar_t));
        if (RegQueryValueExW(key_, wname.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(buffer.data()), &bytes) != ERROR_SUCCESS)
            throw EInvalidDataType(name);
        buffer.resize(bytes / sizeof(wchar_t));
        while (!buffer.empty() && buffer.back() == L'\0')
            buffer.pop_back();
        return Narrow(buffer);
    }

    std::int32_t ReadInteger(const std::string& name) override {
        DWORD type = 0, value = 0, size = sizeof(value);
        if (RegQueryValueExW(key_, Wide(name).c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
            type != REG_DWORD)
            throw EInvalidDataType(name);
        return static_cast<std::int32_t>(value);
    }

    void WriteString(const std::string& name, const std::string& value) override {
        const std::wstring wide = Wide(value);
        if (RegSetValueExW(key_, Wide(name).c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(wide.c_str()),
                           DWORD((wide.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
            throw EFailedToSetData(name);
    }

    void WriteInteger(const std::string& name, std::int32_t value) override {
        const DWORD data = static_cast<DWORD>(value);
        if (RegSetValueExW(key_, Wide(name).c_str(), 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&data), sizeof(data)) != ERROR_SUCCESS)
            throw EFailedToSetData(name);
    }

private:
    HKEY key_;
};

class TWinRegistry final : public IRegistry {
public:
    std::unique_ptr<IRegistryKey> OpenKey(TRegistryRoot root, const std::string& path,
                                          bool canCreate) override {
        const std::wstring wpath = Wide(path);
        HKEY key = nullptr;
        if (canCreate) {
            if (RegCreateKeyExW(RootHandle(root), wpath.c_str(), 0, nullptr,
                                REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key,
                                nullptr) == ERROR_SUCCESS)
                return std::make_unique<TWinKey>(key);
            return nullptr;
        }
        // A key the program doesn't create is one it only reads (the
        // machine-wide Setup key, which a pupil may not write): reading is
        // all it asks for, so an administrator's run can't change it either.
        if (RegOpenKeyExW(RootHandle(root), wpath.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS)
            return std::make_unique<TWinKey>(key);
        return nullptr;
    }
};

} // namespace

IRegistry& PlatformRegistry() {
    static TWinRegistry registry;
    return registry;
}

} // namespace kwizmar
