#include "framework/Win32Registry.h"

#include <windows.h>

#include <vector>

#include "framework/Handles.h"
#include "framework/Utf16.h"
#include "framework/Win32Error.h"

namespace fw {

namespace {

// Registry calls return their error code instead of setting the last error.
Result Checked(LONG result) { return result == ERROR_SUCCESS ? Result::Success() : FailureOf(result); }

class Win32RegistryKey : public RegistryKey {
public:
    explicit Win32RegistryKey(unique_hkey key) : key_(std::move(key)) {}

    Result QueryInfo(const std::string& name, RegistryValueInfo& info) override {
        DWORD kind = 0, size = 0;
        const Result status =
            Checked(RegQueryValueExW(key_.get(), WideText(name).c_str(), nullptr, &kind, nullptr, &size));
        if (status) {
            info.kind = kind;
            info.size = size;
        }
        return status;
    }

    // The system stores strings as UTF-16; the kit reads them as UTF-8.
    Result QueryData(const std::string& name, std::string& text) override {
        const WideText wideName(name);
        DWORD size = 0;
        Result status = Checked(RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, nullptr, nullptr, &size));
        if (!status) return status;
        std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
        status = Checked(RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, nullptr,
                                          reinterpret_cast<BYTE*>(data.data()), &size));
        if (!status) return status;
        try {
            text = Utf8(data.data(), size / sizeof(wchar_t));
        } catch (const Error& invalid) {  // a value that is no valid Unicode names no folder
            return FailureOf(invalid.code);
        }
        return status;
    }

    Result SetString(const std::string& name, const std::string& text) override {
        const WideText wide(text);
        return Checked(RegSetValueExW(key_.get(), WideText(name).c_str(), 0, REG_SZ,
                                      reinterpret_cast<const BYTE*>(wide.c_str()),
                                      static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))));
    }

    Result Flush() override { return Checked(RegFlushKey(key_.get())); }

private:
    unique_hkey key_;
};

HKEY RootOf(RegistryHive hive) { return hive == RegistryHive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

}  // namespace

// Always the 32-bit view: the 32-bit application's installer writes its
// record there (WOW6432Node on 64-bit Windows), and a 64-bit build of the kit
// must find the same record. 32-bit Windows ignores the flag.
Result Win32Registry::CreateKey(RegistryHive hive, const std::string& path, std::unique_ptr<RegistryKey>& key) {
    HKEY opened = nullptr;
    const Result status =
        Checked(RegCreateKeyExW(RootOf(hive), WideText(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &opened, nullptr));
    if (!status) return status;
    unique_hkey owned(opened);  // owned before anything else can fail
    key = std::make_unique<Win32RegistryKey>(std::move(owned));
    return status;
}

}  // namespace fw
