// A registry in memory, for the unit tests and the fuzzer: values by hive,
// key path and name; a key exists as an entry without a value name. Faults
// are switched on by the test.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "framework/RegistryStore.h"

class MemoryRegistry : public fw::RegistryStore {
public:
    fw::Result CreateKey(fw::RegistryHive hive, const std::string& keyPath,
                         std::unique_ptr<fw::RegistryKey>& key) override {
        if (denyAccess) return AccessDenied();
        const std::string hiveName = hive == fw::RegistryHive::LocalMachine ? kLocalMachine : "HKEY_CURRENT_USER";
        values_.emplace(Entry{hiveName, keyPath, ""}, Value{fw::kRegNone, ""});
        key = std::make_unique<Key>(*this, hiveName, keyPath);
        return fw::Result::Success();
    }

    // A value of any kind and bytes under HKEY_LOCAL_MACHINE.
    void SetRaw(const std::string& keyPath, const std::string& name, std::uint32_t kind, const std::string& bytes) {
        values_[{kLocalMachine, keyPath, ""}] = {fw::kRegNone, ""};
        values_[{kLocalMachine, keyPath, name}] = {kind, bytes};
    }
    bool KeyExists(const std::string& keyPath) const { return values_.count({kLocalMachine, keyPath, ""}) != 0; }

    bool denyAccess = false;    // every CreateKey fails with access denied (5), as without rights on HKLM
    bool failDataRead = false;  // the value's size is known, its bytes can't be read (5)
    bool failFlush = false;     // values are set, but never reach the disk

private:
    static constexpr const char* kLocalMachine = "HKEY_LOCAL_MACHINE";
    using Entry = std::tuple<std::string, std::string, std::string>;  // hive, key, name
    struct Value {
        std::uint32_t kind;
        std::string bytes;
    };

    static fw::Result AccessDenied() { return fw::Result::Failure(fw::kAccessDenied, "Access is denied"); }

    class Key : public fw::RegistryKey {
    public:
        Key(MemoryRegistry& owner, std::string hive, std::string path)
            : owner_(owner), hive_(std::move(hive)), path_(std::move(path)) {}

        fw::Result QueryInfo(const std::string& name, fw::RegistryValueInfo& info) override {
            const auto it = owner_.values_.find({hive_, path_, name});
            if (name.empty() || it == owner_.values_.end()) return NotFound();
            info.kind = it->second.kind;
            info.size = static_cast<std::uint32_t>(it->second.bytes.size());
            return fw::Result::Success();
        }
        fw::Result QueryData(const std::string& name, std::string& bytes) override {
            if (owner_.failDataRead) return AccessDenied();
            const auto it = owner_.values_.find({hive_, path_, name});
            if (it == owner_.values_.end()) return NotFound();
            bytes = it->second.bytes;
            return fw::Result::Success();
        }
        fw::Result SetString(const std::string& name, const std::string& text) override {
            owner_.values_[{hive_, path_, name}] = {fw::kRegString, text + '\0'};
            return fw::Result::Success();
        }
        fw::Result Flush() override {
            return owner_.failFlush
                       ? fw::Result::Failure(fw::kIoDevice,
                                             "The request could not be performed because of an I/O device error")
                       : fw::Result::Success();
        }

    private:
        static fw::Result NotFound() {
            return fw::Result::Failure(fw::kFileNotFound, "The system cannot find the file specified");
        }
        MemoryRegistry& owner_;
        std::string hive_, path_;
    };

    std::map<Entry, Value> values_;
};
