#include "kit/upgrade/InstallationRecord.h"

#include "framework/Error.h"
#include "kit/KitConstants.h"

namespace kit {

std::string InstallationRecordPath() {
    return "Software\\Varnoti\\" + std::to_string(static_cast<unsigned>(RegistryKeyNumber));
}

namespace {
// The record's failure: the pattern with the value's name, then the
// system's reason where the pattern alone would not tell it.
[[noreturn]] void Fail(const char* pattern, const std::string& name, const fw::Result& result, bool withReason) {
    std::string text = fw::FormatMessageText(pattern, {name});
    if (withReason) text += ". " + result.text;
    throw fw::Error(text, result.code);
}
}  // namespace

std::string ReadRecordValue(fw::RegistryStore& registry, const std::string& name) {
    std::unique_ptr<fw::RegistryKey> key;
    if (!registry.CreateKey(fw::RegistryHive::LocalMachine, InstallationRecordPath(), key)) return {};
    fw::RegistryValueInfo info;
    if (!key->QueryInfo(name, info) || info.size == 0) return {};
    if (info.kind != fw::kRegString && info.kind != fw::kRegExpandString)
        Fail("Invalid data type for '%s'", name, fw::Result::Failure(0, {}), false);
    std::string bytes;
    const fw::Result read = key->QueryData(name, bytes);
    // A value whose bytes are no valid Unicode says so: it names no folder.
    if (!read) Fail("Failed to get data for '%s'", name, read, read.code == fw::kNoUnicodeTranslation);
    return bytes.substr(0, bytes.find('\0'));
}

void WriteRecordValue(fw::RegistryStore& registry, const std::string& name, const std::string& text) {
    std::unique_ptr<fw::RegistryKey> key;
    fw::Result written = registry.CreateKey(fw::RegistryHive::LocalMachine, InstallationRecordPath(), key);
    if (written) written = key->SetString(name, text);
    if (!written) Fail("Failed to set data for '%s'", name, written, false);
    // The value is set, but stored only once it is on the disk.
    const fw::Result flushed = key->Flush();
    if (!flushed) Fail("Data for '%s' is set but could not be saved to the disk", name, flushed, true);
}

}  // namespace kit
