// How a run of the kit ended, the exit code that tells a script, and the
// log's final line that tells the administrator.
#pragma once

#include <string>

namespace kit {

enum class RunOutcome {
    Upgraded,              // every item written, the new version recorded
    UpToDate,              // the installed version is already the kit's; nothing written
    NotUpgraded,           // the window was closed without an upgrade
    NotInstalled,          // no installation recorded; nothing written
    VersionUnreadable,     // the recorded version is no number; nothing written
    ApplicationRunning,    // the executable could not be replaced; nothing written
    FailedAfterFirstItem,  // a later item or the record failed; the record is unchanged
    BadCommandLine,        // a known switch is malformed
    LogUnavailable,        // the log file can't be opened; nothing written
    AnotherKitRunning,     // another upgrade kit runs on this machine; nothing written
    PayloadDamaged,        // an item of the kit doesn't match its checksum; nothing written
};

int ExitCodeOf(RunOutcome outcome);

// "Rezultat: ... (cod N)"
std::string ResultLine(RunOutcome outcome);

}  // namespace kit
