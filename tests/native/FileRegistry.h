// A registry kept in a text file, for tests: one line per value with hive,
// key path, value name, kind and data in hex. Keys exist as lines without a
// value name. Every call reads and writes the file, as separate registry
// accessors see one registry.
#pragma once

#include <string>

#include "framework/RegistryStore.h"

class FileRegistry : public fw::RegistryStore {
public:
    explicit FileRegistry(std::string path) : path_(std::move(path)) {}

    fw::Result CreateKey(fw::RegistryHive hive, const std::string& keyPath,
                         std::unique_ptr<fw::RegistryKey>& key) override;

    // Test helpers.
    void SetRaw(const std::string& keyPath, const std::string& name, std::uint32_t kind, const std::string& bytes);
    bool KeyExists(const std::string& keyPath) const;
    bool denyAccess = false;    // every CreateKey fails with access denied (5), as without rights on HKLM
    bool failDataRead = false;  // the value's size is known, its bytes can't be read (5)

private:
    std::string path_;
};
