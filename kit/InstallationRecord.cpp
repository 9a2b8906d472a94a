#include "kit/InstallationRecord.h"

#include "framework/Error.h"
#include "kit/KitConstants.h"

namespace kit {

std::string InstallationRecordPath() {
    return "Software\\Varnoti\\" + std::to_string(static_cast<unsigned>(RegistryKeyNumber));
}

std::string ReadRecordValue(fw::RegistryStore& registry, const std::string& name) {
    std::unique_ptr<fw::RegistryKey> key;
    if (!registry.CreateKey(fw::RegistryHive::LocalMachine, InstallationRecordPath(), key)) return {};
    fw::RegistryValueInfo info;
    if (!key->QueryInfo(name, info) || info.size == 0) return {};
    if (info.kind != fw::kRegString && info.kind != fw::kRegExpandString)
        throw fw::Error(fw::FormatMessageText("Invalid data type for '%s'", {name}));
    std::string bytes;
    const fw::Result read = key->QueryData(name, bytes);
    if (!read) throw fw::Error(fw::FormatMessageText("Failed to get data for '%s'", {name}), read.code);
    return bytes.substr(0, bytes.find('\0'));
}

void WriteRecordValue(fw::RegistryStore& registry, const std::string& name, const std::string& text) {
    std::unique_ptr<fw::RegistryKey> key;
    fw::Result written = registry.CreateKey(fw::RegistryHive::LocalMachine, InstallationRecordPath(), key);
    if (written) written = key->SetString(name, text);
    if (!written) throw fw::Error(fw::FormatMessageText("Failed to set data for '%s'", {name}), written.code);
}

}  // namespace kit
