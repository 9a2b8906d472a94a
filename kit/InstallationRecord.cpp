#include "kit/InstallationRecord.h"

#include "framework/Error.h"
#include "kit/KitConstants.h"

namespace kit {

std::string InstallationRecordPath() {
    return "Software\\Varnoti\\" + std::to_string(static_cast<unsigned>(RegistryKeyNumber));
}

namespace {
// A value whose bytes are no valid Unicode says so: it names no folder.
std::string FailedToGet(const std::string& name, const fw::Result& read) {
    const std::string failed = fw::FormatMessageText("Failed to get data for '%s'", {name});
    return read.code == fw::kNoUnicodeTranslation ? failed + ". " + read.text : failed;
}
}  // namespace

std::string ReadRecordValue(fw::RegistryStore& registry, const std::string& name) {
    std::unique_ptr<fw::RegistryKey> key;
    if (!registry.CreateKey(fw::RegistryHive::LocalMachine, InstallationRecordPath(), key)) return {};
    fw::RegistryValueInfo info;
    if (!key->QueryInfo(name, info) || info.size == 0) return {};
    if (info.kind != fw::kRegString && info.kind != fw::kRegExpandString)
        throw fw::Error(fw::FormatMessageText("Invalid data type for '%s'", {name}));
    std::string bytes;
    const fw::Result read = key->QueryData(name, bytes);
    if (!read) throw fw::Error(FailedToGet(name, read), read.code);
    return bytes.substr(0, bytes.find('\0'));
}

void WriteRecordValue(fw::RegistryStore& registry, const std::string& name, const std::string& text) {
    std::unique_ptr<fw::RegistryKey> key;
    fw::Result written = registry.CreateKey(fw::RegistryHive::LocalMachine, InstallationRecordPath(), key);
    if (written) written = key->SetString(name, text);
    if (!written) throw fw::Error(fw::FormatMessageText("Failed to set data for '%s'", {name}), written.code);
    // The value is set, but stored only once it is on the disk.
    const fw::Result flushed = key->Flush();
    if (!flushed)
        throw fw::Error(
            fw::FormatMessageText("Data for '%s' is set but could not be saved to the disk. %s", {name, flushed.text}),
            flushed.code);
}

}  // namespace kit
