#include "kit/InstallationRecord.h"

#include "framework/Error.h"
#include "kit/KitConstants.h"

namespace kit {

std::string InstallationRecordPath() {
    return "Software\\Varnoti\\" + std::to_string(static_cast<unsigned>(RegistryKeyNumber));
}

std::string ReadRecordValue(fw::RegistryStore& registry, const std::string& name) {
    auto key = registry.CreateKey(fw::RegistryHive::LocalMachine, InstallationRecordPath());
    if (!key) return {};
    fw::RegistryValueInfo info;
    if (!key->QueryInfo(name, info) || info.size == 0) return {};
    if (info.kind != fw::kRegString && info.kind != fw::kRegExpandString)
        throw fw::Error(fw::FormatMessageText("Invalid data type for '%s'", {name}));
    std::string bytes;
    if (!key->QueryData(name, bytes)) throw fw::Error(fw::FormatMessageText("Failed to get data for '%s'", {name}));
    return bytes.substr(0, bytes.find('\0'));
}

void WriteRecordValue(fw::RegistryStore& registry, const std::string& name, const std::string& text) {
    auto key = registry.CreateKey(fw::RegistryHive::LocalMachine, InstallationRecordPath());
    if (!key || !key->SetString(name, text))
        throw fw::Error(fw::FormatMessageText("Failed to set data for '%s'", {name}));
}

}  // namespace kit
