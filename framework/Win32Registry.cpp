#include "framework/Win32Registry.h"

#include <windows.h>

#include "framework/Handles.h"

namespace fw {

namespace {

class Win32RegistryKey : public RegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}

    bool QueryInfo(const std::string& name, RegistryValueInfo& info) override {
        DWORD kind = 0, size = 0;
        if (RegQueryValueExA(key_.get(), name.c_str(), nullptr, &kind, nullptr, &size) != ERROR_SUCCESS) return false;
        info.kind = kind;
        info.size = size;
        return true;
    }

    bool QueryData(const std::string& name, std::string& bytes) override {
        DWORD size = 0;
        if (RegQueryValueExA(key_.get(), name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return false;
        bytes.assign(size, '\0');
        if (RegQueryValueExA(key_.get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&bytes[0]), &size) !=
            ERROR_SUCCESS)
            return false;
        bytes.resize(size);
        return true;
    }

    // Flushed at once: the value is only stored once it is on disk.
    bool SetString(const std::string& name, const std::string& text) override {
        return RegSetValueExA(key_.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS &&
               RegFlushKey(key_.get()) == ERROR_SUCCESS;
    }

private:
    unique_hkey key_;
};

HKEY RootOf(RegistryHive hive) { return hive == RegistryHive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

}  // namespace

// Always the 32-bit view: the 32-bit application's installer writes its
// record there (WOW6432Node on 64-bit Windows), and a 64-bit build of the kit
// must find the same record. 32-bit Windows ignores the flag.
std::unique_ptr<RegistryKey> Win32Registry::CreateKey(RegistryHive hive, const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(RootOf(hive), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<Win32RegistryKey>(key);
}

}  // namespace fw
