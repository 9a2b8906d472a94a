// The application's installation record: HKLM\Software\Varnoti\82, string
// values "CALE" (installation folder) and "VER" (product name and version).
#pragma once

#include <string>

#include "framework/RegistryStore.h"

namespace kit {

std::string InstallationRecordPath();  // "Software\Varnoti\82"

// The string stored under name, or empty text when there is none or the
// record can't be opened. Opening the record creates its key when missing.
// Fails on a value that is no string, and with the system's code on a value
// whose bytes can't be read.
std::string ReadRecordValue(fw::RegistryStore& registry, const std::string& name);

// Stores text under name as a string value, replacing any earlier one;
// fails with the system's code of the open or the write.
void WriteRecordValue(fw::RegistryStore& registry, const std::string& name, const std::string& text);

}  // namespace kit
