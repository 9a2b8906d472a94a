#include "kit/VersionCheck.h"

#include "framework/FormatSettings.h"
#include "kit/InstallationRecord.h"
#include "kit/KitConstants.h"

namespace kit {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::string InstalledVersionText(const std::string& recordedVersion) {
    // "Meridal - 2013 v.2.35" keeps its last four characters, "2.35".
    std::string version = recordedVersion.empty() ? "0"
                          : recordedVersion.size() > 4 ? recordedVersion.substr(recordedVersion.size() - 4)
                                                       : recordedVersion;
    std::size_t firstDigit = 0;
    while (firstDigit < version.size() && !IsDigit(version[firstDigit])) ++firstDigit;
    version.erase(0, firstDigit);
    // No digit at all names no version, like an empty value.
    if (version.empty() || version == "0") return {};
    if (version.size() < 4) version += '0';  // "2.4" reads as "2.40"
    return version;
}

CheckResult RunVersionCheck(fw::RegistryStore& registry, KitWindow& window, std::string& installFolder) {
    installFolder = ReadRecordValue(registry, "CALE");
    const std::string version = InstalledVersionText(ReadRecordValue(registry, "VER"));

    // Without a folder the upgrade would write below the root of the current
    // drive, so a record without one counts as no installation.
    if (version.empty() || installFolder.empty()) {
        installFolder.clear();
        window.AppendLog(std::string("Programul ") + ProductName + " NU este instalat aici!");
        window.SetUpgradeEnabled(false);
        return CheckResult::NotInstalled;
    }

    window.AppendLog(std::string("Cale ") + ProductName + " : " + installFolder);
    window.AppendLog("Versiune instalata     : " + version);
    window.SetUpgradeCaption("Actualizare la versiunea " + KitVersionText());

    // Compare units and hundredths: "2.35" is units 2, hundredths 35.
    const int hundredths = fw::StrToInt(version.substr(2));
    const int units = version[0] - '0';
    const int kitUnits = static_cast<int>(KitVersion.count / 10000);
    const int kitHundredths = static_cast<int>(KitVersion.count / 100 % 100);
    const bool upToDate = units > kitUnits || (units == kitUnits && hundredths >= kitHundredths);
    if (upToDate) window.AppendLog("Aveti deja ultima versiune!");

    window.SetUpgradeEnabled(true);
    return upToDate ? CheckResult::UpToDate : CheckResult::Older;
}

}  // namespace kit
