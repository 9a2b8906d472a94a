// The kit's built-in constants.
#pragma once

#include <string>

#include "framework/FormatSettings.h"

namespace kit {

constexpr fw::Currency KitVersion{23900};  // 2.39
constexpr unsigned char RegistryKeyNumber = 82;
constexpr const char* ProductName = "Meridal - 2013";
constexpr const char* ExeName = "Meridal_2013.exe";

// KitVersion as text with the process-wide decimal separator ("2.39").
std::string KitVersionText();

// The kit's own number and date formats, whatever the regional settings
// say: "." as decimal and date separator, dates as "dd.MM.yyyy".
void ForceKitFormats();

}  // namespace kit
