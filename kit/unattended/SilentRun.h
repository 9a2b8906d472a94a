// The unattended upgrade (/S): the version check and, where the check would
// arm the upgrade button for an older installation, the upgrade run, with the
// same rules and safety as a click, but no window and no dialog. Every log
// line, dialog text and error report goes to the run's log instead.
#pragma once

#include <string>

#include "framework/FileSystem.h"
#include "framework/PayloadStore.h"
#include "framework/RegistryStore.h"
#include "kit/window/KitWindow.h"
#include "kit/unattended/RunLog.h"
#include "kit/unattended/RunOutcome.h"

namespace kit {

// A kit whose payload is damaged stops before it reads or writes anything.
// An installation that already has the kit's version is left as it is, so a
// repeated deployment does not replace its templates again. A log that fails
// ends the run with LogWriteFailed unless a failure of the run came first;
// one that fails during the check lets nothing be written.
// protections: the hardening in force, noted in the log when files are written.
RunOutcome RunSilently(fw::PayloadStore& payload, fw::FileSystem& files, fw::RegistryStore& registry, RunLog& log,
                       const std::string& errorReportTitle, const std::string& protections = {});

// /UNDO: the version check's lines, then the undo (see UndoRun.h). With
// shown, its question, result and failure are shown there too; without, the
// run is unattended. A log that fails ends it as the upgrade's does.
RunOutcome RunUndoWithoutWindow(fw::FileSystem& files, fw::RegistryStore& registry, RunLog& log,
                                const std::string& errorReportTitle, KitWindow* shown = nullptr);

// /S /?: the usage text into the log, one line each of its lines.
RunOutcome WriteUsage(RunLog& log);

// Writes the failure's report, when there is one, under reportTitle and the
// result line to the log; gives the exit code: the outcome's, or the log's
// failure when the log failed and the outcome is no failure of its own.
int EndRun(RunLog& log, RunOutcome outcome, const std::string& reportTitle, const std::string& report = {});

}  // namespace kit
