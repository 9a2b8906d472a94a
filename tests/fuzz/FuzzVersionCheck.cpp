// libFuzzer target: the installed-version check over a record whose "CALE"
// and "VER" values have any kind, any length and any bytes, embedded NULs
// included. Every input must end in one of the check's outcomes; anything
// else aborts, as do the sanitizers on a bad read.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "FakeWindow.h"
#include "MemoryRegistry.h"
#include "framework/Error.h"
#include "BuildVersion.h"
#include "kit/upgrade/InstallationRecord.h"
#include "kit/upgrade/VersionCheck.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

bool StartsWith(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }
bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A value of the kind the input picks, or none at all.
void AddValue(MemoryRegistry& registry, const char* name, std::uint8_t kind, const std::string& bytes) {
    static const std::uint32_t kinds[] = {fw::kRegString, fw::kRegExpandString, fw::kRegBinary,
                                          fw::kRegDword,  fw::kRegNone,         7 /* REG_MULTI_SZ */};
    if (kind % 8 >= 6) return;
    registry.SetRaw(kit::InstallationRecordPath(), name, kinds[kind % 8], bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::uint8_t kinds = input.ConsumeIntegral<std::uint8_t>();
    std::string cale = input.ConsumeRandomLengthString(400);
    MemoryRegistry registry;
    AddValue(registry, "CALE", kinds & 0x0F, cale);
    AddValue(registry, "VER", kinds >> 4, input.ConsumeRemainingBytesAsString());

    FakeWindow window;
    std::string folder = "stale";
    std::string error;
    try {
        kit::RunVersionCheck(registry, window, folder);
    } catch (const fw::Error& e) {
        error = e.what();
    }

    Require(window.errors.empty() && window.informations.empty());  // the check shows no dialog
    const std::string notInstalled = "Programul Meridal - 2013 NU este instalat aici!";
    const std::string armed = "Actualizare la versiunea " KIT_VERSION_SHOWN;
    if (error.empty() && window.log.size() == 1) {
        // Not installed.
        Require(window.log[0] == notInstalled && !window.enabled && window.caption == "Cautare..." && folder.empty());
    } else if (error.empty()) {
        // Installed: folder and version logged, perhaps the latest-version line, button armed.
        Require(window.log.size() == 2 || window.log.size() == 3);
        Require(window.log[0] == "Cale Meridal - 2013 : " + folder && kit::IsFullyQualifiedFolder(folder));
        // "2.35", or a shorter text with its one "0" appended ("2.4" gives "2.40", "35" "350").
        const std::string version = window.log[1].substr(std::min<std::size_t>(window.log[1].size(), 25));
        Require(StartsWith(window.log[1], "Versiune instalata     : ") && version.size() >= 3 && version.size() <= 4);
        Require(version[0] >= '0' && version[0] <= '9' && (version.size() == 4 || version.back() == '0'));
        Require(window.log.size() == 2 || window.log[2] == "Aveti deja ultima versiune!");
        Require(window.enabled && window.caption == armed);
    } else if (StartsWith(error, "Invalid data type for '")) {
        // A value that is no string, before anything is logged.
        Require(error == "Invalid data type for 'CALE'" || error == "Invalid data type for 'VER'");
        Require(window.log.empty() && !window.enabled && window.caption == "Cautare...");
    } else {
        // Hundredths that are no integer: folder and version logged, the button left disabled.
        Require(StartsWith(error, "'") && EndsWith(error, "' is not a valid integer value"));
        Require(window.log.size() == 2 && !window.enabled && window.caption == armed);
    }
    return 0;
}
