#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "FakeWindow.h"
#include "MemoryRegistry.h"
#include "framework/Error.h"
#include "framework/FormatSettings.h"
#include "BuildVersion.h"
#include "kit/upgrade/VersionCheck.h"

namespace {

const char* const kNotInstalled = "Programul Meridal - 2013 NU este instalat aici!";
const char* const kLatest = "Aveti deja ultima versiune!";
const char* const kFolder = "C:\\Apps\\Meridal";
const char* const kOlder = "Meridal - 2013 v.2.35";

struct Case {
    const char* name;
    std::optional<std::string> cale, ver;
    std::vector<std::string> log;
    bool enabled;
    const char* error;  // message of the failure, or null
};

// The kit's version as the build set it: its record, as the kit writes it.
const std::string kKitRecord = "Meridal - 2013 v." KIT_VERSION_SHOWN;
const std::string kArmed = "Actualizare la versiunea " KIT_VERSION_SHOWN;

// Whether an installed "d.dd" is the kit's version or newer, by units and hundredths.
bool AtLeastKit(const std::string& version) {
    return (version[0] - '0') * 100 + std::stoi(version.substr(2)) >= KIT_VERSION_MAJOR * 100 + KIT_VERSION_MINOR;
}

std::vector<std::string> Found(const std::string& version, bool latest, const std::string& folder = kFolder) {
    std::vector<std::string> lines = {"Cale Meridal - 2013 : " + folder, "Versiune instalata     : " + version};
    if (latest) lines.push_back(kLatest);
    return lines;
}
std::vector<std::string> Found(const std::string& version) { return Found(version, AtLeastKit(version)); }

const Case kCases[] = {
    {"older", kFolder, "Meridal - 2013 v.2.35", Found("2.35"), true, nullptr},
    // The kit's own record reads back as its version (KIT_VERSION as written), the latest.
    {"same", kFolder, kKitRecord, Found(KIT_VERSION_STRING, true), true, nullptr},
    {"one decimal reads as hundredths", kFolder, "Meridal - 2013 v.2.4", Found("2.40"), true, nullptr},
    {"leading zero hundredths", kFolder, "Meridal - 2013 v.2.05", Found("2.05"), true, nullptr},
    {"newer", kFolder, "Meridal - 2013 v.3.01", Found("3.01"), true, nullptr},
    {"lower units with higher hundredths", kFolder, "Meridal - 2013 v.1.50", Found("1.50"), true, nullptr},
    {"short value stays whole", kFolder, "2.4", Found("2.40"), true, nullptr},
    {"no record", std::nullopt, std::nullopt, {kNotInstalled}, false, nullptr},
    {"empty version", kFolder, "", {kNotInstalled}, false, nullptr},
    {"version zero", kFolder, "Meridal - 2013 v.0", {kNotInstalled}, false, nullptr},
    {"no digit at all", kFolder, "Meridal - abcd", {kNotInstalled}, false, nullptr},
    {"no folder", std::nullopt, "Meridal - 2013 v.2.35", {kNotInstalled}, false, nullptr},
    {"hundredths no integer", kFolder, "Meridal - 2013 v.2.3x", Found("2.3x", false), false,
     "'3x' is not a valid integer value"},
    {"too short for hundredths", kFolder, "v.5", Found("50", false), false, "'' is not a valid integer value"},
    // Folders that name no folder below a root, or one that depends on the
    // current drive and folder, count as no installation.
    {"folder a drive", "C:", kOlder, {kNotInstalled}, false, nullptr},
    {"folder a drive root", "C:\\", kOlder, {kNotInstalled}, false, nullptr},
    {"folder the root", "\\", kOlder, {kNotInstalled}, false, nullptr},
    {"folder blanks", "  ", kOlder, {kNotInstalled}, false, nullptr},
    {"folder relative", "Meridal", kOlder, {kNotInstalled}, false, nullptr},
    {"folder relative to a drive", "C:Meridal", kOlder, {kNotInstalled}, false, nullptr},
    {"folder below the current drive", "\\Apps\\Meridal", kOlder, {kNotInstalled}, false, nullptr},
    {"folder resolving to the root", "C:\\Apps\\..\\.\\ ", kOlder, {kNotInstalled}, false, nullptr},
    {"folder a server alone", "\\\\server\\", kOlder, {kNotInstalled}, false, nullptr},
    {"folder a device path", "\\\\?\\C:\\Apps", kOlder, {kNotInstalled}, false, nullptr},
    // Fully qualified folders, also missing ones, keep the check as it is.
    {"folder on a share", "\\\\server\\share", kOlder, Found("2.35", false, "\\\\server\\share"), true, nullptr},
    {"folder missing, with slashes", "d:/Nowhere/Meridal", kOlder, Found("2.35", false, "d:/Nowhere/Meridal"), true,
     nullptr},
};

class VersionCheckTest : public ::testing::TestWithParam<Case> {};

TEST_P(VersionCheckTest, LogsAndArmsTheButton) {
    const Case& c = GetParam();
    MemoryRegistry registry;
    const std::string key = "Software\\Varnoti\\82";
    if (c.cale) registry.SetRaw(key, "CALE", fw::kRegString, *c.cale + '\0');
    if (c.ver) registry.SetRaw(key, "VER", fw::kRegString, *c.ver + '\0');

    FakeWindow window;
    std::string installFolder = "stale";
    std::string error;
    try {
        kit::RunVersionCheck(registry, window, installFolder);
    } catch (const fw::Error& e) {
        error = e.what();
    }

    EXPECT_EQ(window.log, c.log);
    EXPECT_EQ(window.enabled, c.enabled);
    EXPECT_EQ(error, c.error ? c.error : "");
    const bool installed = c.log.size() > 1;
    EXPECT_EQ(window.caption, installed ? kArmed : "Cautare...");
    EXPECT_EQ(installFolder, installed ? *c.cale : "");
}

INSTANTIATE_TEST_SUITE_P(RecordedValues, VersionCheckTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             std::string name;
                             for (const char* p = param.param.name; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST(VersionCheck, KitVersionTextIgnoresTheRegionalDecimalSeparator) {
    // The window forces "." at creation; a regional "," must not leak into
    // the caption once forced.
    fw::Formats().DecimalSeparator = ',';
    MemoryRegistry registry;
    registry.SetRaw("Software\\Varnoti\\82", "CALE", fw::kRegString, std::string(kFolder) + '\0');
    registry.SetRaw("Software\\Varnoti\\82", "VER", fw::kRegString, std::string("Meridal - 2013 v.2.35") + '\0');
    FakeWindow window;
    std::string installFolder;
    kit::RunVersionCheck(registry, window, installFolder);
    std::string regional = kArmed;
    std::replace(regional.begin(), regional.end(), '.', ',');
    EXPECT_EQ(window.caption, regional);  // unforced, the regional form shows
    fw::Formats().DecimalSeparator = '.';
    kit::RunVersionCheck(registry, window, installFolder);
    EXPECT_EQ(window.caption, kArmed);
}

}  // namespace
