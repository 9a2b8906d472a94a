#include "FileRegistry.h"

#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

namespace {

using Entry = std::tuple<std::string, std::string, std::string>;  // hive, key, name
struct Value {
    std::uint32_t kind;
    std::string bytes;
};
using Table = std::map<Entry, Value>;

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) out += {digits[c >> 4], digits[c & 15]};
    return out;
}

std::string Unhex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

Table Load(const std::string& path) {
    Table table;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string hive, key, name, kind, data;
        std::getline(fields, hive, '\t');
        std::getline(fields, key, '\t');
        std::getline(fields, name, '\t');
        std::getline(fields, kind, '\t');
        std::getline(fields, data, '\t');
        table[{hive, key, Unhex(name)}] = {static_cast<std::uint32_t>(std::stoul(kind)), Unhex(data)};
    }
    return table;
}

void Save(const std::string& path, const Table& table) {
    std::ofstream out(path, std::ios::trunc);
    for (const auto& [entry, value] : table)
        out << std::get<0>(entry) << '\t' << std::get<1>(entry) << '\t' << Hex(std::get<2>(entry)) << '\t' << value.kind
            << '\t' << Hex(value.bytes) << '\n';
}

const char* HiveName(fw::RegistryHive hive) {
    return hive == fw::RegistryHive::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

fw::Result NotFound() {
    return fw::Result::Failure(fw::kFileNotFound, "The system cannot find the file specified");
}
fw::Result AccessDenied() { return fw::Result::Failure(5, "Access is denied"); }

// The key itself is stored as an entry with an empty name and kind none;
// the default value of a key isn't used by the kit.
class FileKey : public fw::RegistryKey {
public:
    FileKey(const FileRegistry& owner, std::string path, std::string hive, std::string key)
        : owner_(owner), path_(std::move(path)), hive_(std::move(hive)), key_(std::move(key)) {}

    fw::Result QueryInfo(const std::string& name, fw::RegistryValueInfo& info) override {
        Table table = Load(path_);
        auto it = table.find({hive_, key_, name});
        if (name.empty() || it == table.end()) return NotFound();
        info.kind = it->second.kind;
        info.size = static_cast<std::uint32_t>(it->second.bytes.size());
        return fw::Result::Success();
    }
    fw::Result QueryData(const std::string& name, std::string& bytes) override {
        Table table = Load(path_);
        auto it = table.find({hive_, key_, name});
        if (owner_.failDataRead) return AccessDenied();
        if (it == table.end()) return NotFound();
        bytes = it->second.bytes;
        return fw::Result::Success();
    }
    fw::Result SetString(const std::string& name, const std::string& text) override {
        Table table = Load(path_);
        table[{hive_, key_, name}] = {fw::kRegString, text + '\0'};
        Save(path_, table);
        return fw::Result::Success();
    }

private:
    const FileRegistry& owner_;
    std::string path_, hive_, key_;
};

}  // namespace

fw::Result FileRegistry::CreateKey(fw::RegistryHive hive, const std::string& keyPath,
                                   std::unique_ptr<fw::RegistryKey>& key) {
    if (denyAccess) return AccessDenied();
    Table table = Load(path_);
    table.emplace(Entry{HiveName(hive), keyPath, ""}, Value{fw::kRegNone, ""});
    Save(path_, table);
    key = std::make_unique<FileKey>(*this, path_, HiveName(hive), keyPath);
    return fw::Result::Success();
}

void FileRegistry::SetRaw(const std::string& keyPath, const std::string& name, std::uint32_t kind,
                          const std::string& bytes) {
    Table table = Load(path_);
    table[{"HKEY_LOCAL_MACHINE", keyPath, ""}] = {fw::kRegNone, ""};
    table[{"HKEY_LOCAL_MACHINE", keyPath, name}] = {kind, bytes};
    Save(path_, table);
}

bool FileRegistry::KeyExists(const std::string& keyPath) const {
    return Load(path_).count({"HKEY_LOCAL_MACHINE", keyPath, ""}) != 0;
}
