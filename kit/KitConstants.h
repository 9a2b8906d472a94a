// The kit's built-in constants.
#pragma once

#include <string>

#include "framework/FormatSettings.h"
#include "BuildVersion.h"

namespace kit {

// The build's KIT_VERSION (2.39 unless built for another release).
constexpr fw::Currency KitVersion{KIT_VERSION_COUNT};
constexpr unsigned char RegistryKeyNumber = 82;
constexpr const char* ProductName = "Meridal - 2013";
constexpr const char* ExeName = "Meridal_2013.exe";

// KitVersion as text with the process-wide decimal separator ("2.39").
std::string KitVersionText();

// The kit's own number and date formats, whatever the regional settings
// say: "." as decimal and date separator, dates as "dd.MM.yyyy".
void ForceKitFormats();

}  // namespace kit
