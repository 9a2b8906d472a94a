// The installed-version check run once after the window is shown: finds the
// installation through its record, logs folder and version and arms the
// upgrade button, or logs that the application isn't installed.
#pragma once

#include <string>

#include "framework/RegistryStore.h"
#include "kit/window/KitWindow.h"

namespace kit {

enum class CheckResult {
    NotInstalled,  // button left disabled
    Older,         // button armed
    UpToDate,      // button armed all the same, to install the same version again
};

// Sets installFolder from the record before anything can fail; leaves it
// empty when the application counts as not installed: no version, or no
// fully qualified folder. A recorded version whose hundredths are no integer
// fails after the folder and version lines are logged, with the button
// still disabled.
// The check's first half: the installation's folder and version lines, or
// the line that it isn't installed, with the button left disabled. Gives the
// version text ("d.dd"); empty, with installFolder, when not installed.
std::string FindInstallation(fw::RegistryStore& registry, KitWindow& window, std::string& installFolder);

CheckResult RunVersionCheck(fw::RegistryStore& registry, KitWindow& window, std::string& installFolder);

// Whether a recorded folder names a folder below a root: a drive letter, a
// colon and a backslash, or a UNC path "\\server\share", with something
// after it ("/" serves as "\\" too). "C:", "C:\", "\", "Meridal" and blanks
// name none, or one that depends on the current drive and folder.
bool IsFullyQualifiedFolder(const std::string& folder);

// The version text ("d.dd") kept from a recorded "VER" value, or empty text
// when the value names no installed version.
std::string InstalledVersionText(const std::string& recordedVersion);

}  // namespace kit
