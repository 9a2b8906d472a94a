// Words of the top-level error report that shows failures no handler caught.
#pragma once

#include <string>

namespace fw {

// The application title: the executable's file name up to its first ".",
// every character after the first in lower case ("MeridalUpgrade.exe" gives
// "Meridalupgrade"). The path may include folders.
std::string ApplicationTitleFromPath(const std::string& exePath);

// The failure's message, with "." appended when its last character sorts
// above "." (so a message ending in a letter or digit gets a full stop).
std::string ErrorReportText(const std::string& message);

}  // namespace fw
