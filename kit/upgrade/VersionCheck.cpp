#include "kit/upgrade/VersionCheck.h"

#include "framework/Ascii.h"
#include "framework/FormatSettings.h"
#include "kit/upgrade/InstallationRecord.h"
#include "kit/KitConstants.h"
#include "kit/KitTexts.h"

namespace kit {

namespace {
bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::size_t NextSeparator(const std::string& path, std::size_t from) {
    while (from < path.size() && !IsSeparator(path[from])) ++from;
    return from;
}

// A name that is only dots and blanks names no folder of its own.
bool NamesAFolder(const std::string& name) { return name.find_last_not_of(". ") != std::string::npos; }

// How many folders below the root the path after index from reaches, with
// "." and ".." resolved and trailing dots and blanks of a name dropped, as
// Windows does: "Apps\..\." reaches none.
std::size_t DepthBelowRoot(const std::string& path, std::size_t from) {
    std::size_t depth = 0;
    for (std::size_t start = from; start < path.size();) {
        const std::size_t end = NextSeparator(path, start);
        const std::string name = path.substr(start, end - start);
        if (name == "..") {
            if (depth > 0) --depth;
        } else if (NamesAFolder(name)) {
            ++depth;
        }
        start = end + 1;
    }
    return depth;
}
}  // namespace

bool IsFullyQualifiedFolder(const std::string& folder) {
    const char drive = folder.empty() ? '\0' : folder[0];
    if (folder.size() >= 3 && fw::IsAsciiLetter(drive) && folder[1] == ':' && IsSeparator(folder[2]))
        return DepthBelowRoot(folder, 3) > 0;

    // "\\server\share"; "\\?\" and "\\.\" start device paths, not shares.
    if (folder.size() < 2 || !IsSeparator(folder[0]) || !IsSeparator(folder[1])) return false;
    const std::size_t serverEnd = NextSeparator(folder, 2);
    if (serverEnd == folder.size()) return false;
    const std::size_t shareEnd = NextSeparator(folder, serverEnd + 1);
    const std::string server = folder.substr(2, serverEnd - 2);
    const std::string share = folder.substr(serverEnd + 1, shareEnd - serverEnd - 1);
    return NamesAFolder(server) && server != "?" && NamesAFolder(share);
}

std::string InstalledVersionText(const std::string& recordedVersion) {
    // "Meridal - 2013 v.2.35" keeps its last four characters, "2.35".
    std::string version = recordedVersion.empty()      ? "0"
                          : recordedVersion.size() > 4 ? recordedVersion.substr(recordedVersion.size() - 4)
                                                       : recordedVersion;
    std::size_t firstDigit = 0;
    while (firstDigit < version.size() && !fw::IsAsciiDigit(version[firstDigit])) ++firstDigit;
    version.erase(0, firstDigit);
    // No digit at all names no version, like an empty value.
    if (version.empty() || version == "0") return {};
    if (version.size() < 4) version += '0';  // "2.4" reads as "2.40"
    return version;
}

std::string FindInstallation(fw::RegistryStore& registry, KitWindow& window, std::string& installFolder) {
    installFolder = ReadRecordValue(registry, "CALE");
    const std::string version = InstalledVersionText(ReadRecordValue(registry, "VER"));

    // Without a fully qualified folder the upgrade would write at a drive's
    // root or below the current folder, so such a record counts as no
    // installation.
    if (version.empty() || !IsFullyQualifiedFolder(installFolder)) {
        installFolder.clear();
        window.AppendLog(text::NotInstalledLine());
        window.SetUpgradeEnabled(false);
        return {};
    }
    window.AppendLog(text::FolderLine(installFolder));
    window.AppendLog(text::VersionLine(version));
    return version;
}

CheckResult RunVersionCheck(fw::RegistryStore& registry, KitWindow& window, std::string& installFolder) {
    const std::string version = FindInstallation(registry, window, installFolder);
    if (version.empty()) return CheckResult::NotInstalled;
    window.SetUpgradeCaption(text::UpgradeCaption());

    // Compare units and hundredths: "2.35" is units 2, hundredths 35.
    const int hundredths = fw::StrToInt(version.substr(2));
    const int units = version[0] - '0';
    const int kitUnits = static_cast<int>(KitVersion.count / 10000);
    const int kitHundredths = static_cast<int>(KitVersion.count / 100 % 100);
    const bool upToDate = units > kitUnits || (units == kitUnits && hundredths >= kitHundredths);
    if (upToDate) window.AppendLog(text::kLatestLine);

    window.SetUpgradeEnabled(true);
    return upToDate ? CheckResult::UpToDate : CheckResult::Older;
}

}  // namespace kit
