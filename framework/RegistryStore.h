// The small registry interface the kit's installation record is written
// against: the Win32 registry in the kit, a file-backed store in tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Result.h"

namespace fw {

enum class RegistryHive { LocalMachine, CurrentUser };

// Registry value kinds, numbered as Windows numbers them.
enum RegistryValueKind : std::uint32_t {
    kRegNone = 0,
    kRegString = 1,        // REG_SZ
    kRegExpandString = 2,  // REG_EXPAND_SZ
    kRegBinary = 3,
    kRegDword = 4,
};

struct RegistryValueInfo {
    std::uint32_t kind = kRegNone;
    std::uint32_t size = 0;  // bytes, including any terminating NUL
};

// An open key. Closed when destroyed. Each call gives its failure with the
// system's error code and text.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // Kind and size of a value; fails with kFileNotFound when it doesn't exist.
    virtual Result QueryInfo(const std::string& name, RegistryValueInfo& info) = 0;
    // A string value's text (UTF-8), as stored, terminating NUL included.
    virtual Result QueryData(const std::string& name, std::string& text) = 0;
    // Stores text as a string value, terminating NUL included.
    virtual Result SetString(const std::string& name, const std::string& text) = 0;
    // Forces the key's values to the disk.
    virtual Result Flush() = 0;
};

class RegistryStore {
public:
    virtual ~RegistryStore() = default;
    // Opens a key with all access into key, creating it when missing.
    virtual Result CreateKey(RegistryHive hive, const std::string& path, std::unique_ptr<RegistryKey>& key) = 0;
};

}  // namespace fw
