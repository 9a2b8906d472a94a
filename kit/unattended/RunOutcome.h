// How a run of the kit ended, the exit code that tells a script, and the
// log's final line that tells the administrator.
#pragma once

#include <string>

namespace kit {

enum class RunOutcome {
    Upgraded,            // every item written, the new version recorded
    UpToDate,            // the installed version is already the kit's; nothing written
    NotUpgraded,         // the window was closed without an upgrade
    NotInstalled,        // no installation recorded; nothing written
    VersionUnreadable,   // the recorded version is no number; nothing written
    ApplicationRunning,  // the executable is held by a running program; nothing written
    Failed,              // an item, the folder or the record failed, told by its message; the record is unchanged
    UnexpectedFailure,   // a failure no part of the run expected (memory, a crash); its report is logged
    BadCommandLine,      // a known switch is malformed
    LogUnavailable,      // the log file can't be opened; nothing written
    AnotherKitRunning,   // another upgrade kit runs on this machine; nothing written
    PayloadDamaged,      // an item of the kit doesn't match its checksum; nothing written
    LogWriteFailed,      // the log failed in the middle of the run, before any other failure
    UsageWritten,        // /S /?: the usage went to the log; nothing written
    Undone,              // /UNDO: the kept version put back, its version recorded
    NothingToUndo,       // /UNDO: no kept version for the recorded one; nothing changed
    UndoDeclined,        // /UNDO: the user answered No; nothing changed
};

int ExitCodeOf(RunOutcome outcome);

// The outcome of a run whose log failed: LogWriteFailed, unless the run had
// already failed in a way of its own, which stays what the run tells.
RunOutcome AfterLogFailure(RunOutcome outcome);

// "Rezultat: ... (cod N)"
std::string ResultLine(RunOutcome outcome);

}  // namespace kit
