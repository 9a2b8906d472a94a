// The small registry interface the kit's installation record is written
// against: the Win32 registry in the kit, a file-backed store in tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

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

// An open key. Closed when destroyed.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // Kind and size of a value; false when it doesn't exist or can't be queried.
    virtual bool QueryInfo(const std::string& name, RegistryValueInfo& info) = 0;
    // The value's raw bytes; false when they can't be read.
    virtual bool QueryData(const std::string& name, std::string& bytes) = 0;
    // Stores text as a string value, terminating NUL included, and forces it
    // to the disk; false on failure.
    virtual bool SetString(const std::string& name, const std::string& text) = 0;
};

// Opens a key with all access, creating it when missing; null when that fails.
class RegistryStore {
public:
    virtual ~RegistryStore() = default;
    virtual std::unique_ptr<RegistryKey> CreateKey(RegistryHive hive, const std::string& path) = 0;
};

}  // namespace fw
