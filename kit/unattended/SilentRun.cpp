#include "kit/unattended/SilentRun.h"

#include <exception>

#include "framework/ErrorReport.h"
#include "kit/KitTexts.h"
#include "kit/unattended/LoggedWindow.h"
#include "kit/upgrade/PayloadCheck.h"
#include "kit/upgrade/UndoRun.h"
#include "kit/upgrade/UpgradeRun.h"
#include "kit/upgrade/VersionCheck.h"

namespace kit {

RunOutcome RunSilently(fw::PayloadStore& payload, fw::FileSystem& files, fw::RegistryStore& registry, RunLog& log,
                       const std::string& errorReportTitle, const std::string& protections) {
    LoggedWindow window(log);
    // A failure of the run is the run's own unless the log had failed before
    // it; its report then can't be written either.
    auto failed = [&](const std::exception& failure, RunOutcome outcome) {
        if (log.Failure()) return RunOutcome::LogWriteFailed;
        log.Write(DialogLine(errorReportTitle, fw::ErrorReportText(failure.what())));
        return outcome;
    };

    // A damaged kit writes nothing, whatever the installation.
    if (const char* damaged = FindDamagedItem(payload)) {
        log.Write(DialogLine(errorReportTitle, text::PayloadDamagedText(damaged)));
        return RunOutcome::PayloadDamaged;
    }

    std::string installFolder;
    CheckResult check;
    try {
        check = RunVersionCheck(registry, window, installFolder);
    } catch (const std::exception& failure) {
        return failed(failure, RunOutcome::VersionUnreadable);
    }
    // An administrator who asked for a log gets the whole of it, or no upgrade.
    if (log.Failure()) return RunOutcome::LogWriteFailed;
    if (check == CheckResult::NotInstalled) return RunOutcome::NotInstalled;
    if (check == CheckResult::UpToDate) return RunOutcome::UpToDate;

    UpgradeServices services{payload, files, registry, window, protections};
    try {
        // A run that doesn't upgrade has written only its own report to the log.
        const RunOutcome outcome = RunUpgrade(services, installFolder);
        if (outcome != RunOutcome::Upgraded) return outcome;
    } catch (const std::exception& failure) {
        return failed(failure, RunOutcome::Failed);
    }
    return log.Failure() ? RunOutcome::LogWriteFailed : RunOutcome::Upgraded;
}

RunOutcome RunUndoWithoutWindow(fw::FileSystem& files, fw::RegistryStore& registry, RunLog& log,
                                const std::string& errorReportTitle, KitWindow* shown) {
    LoggedWindow window(log, shown);
    std::string installFolder;
    RunOutcome outcome = RunOutcome::VersionUnreadable;
    try {
        // The folder and version lines, as the upgrade logs them; any
        // installed version may go back to the one kept.
        if (FindInstallation(registry, window, installFolder).empty()) return RunOutcome::NotInstalled;
        if (log.Failure()) return RunOutcome::LogWriteFailed;
        outcome = RunOutcome::Failed;
        outcome = RunUndo(files, registry, window, installFolder);
    } catch (const std::exception& failure) {
        if (log.Failure()) return RunOutcome::LogWriteFailed;
        log.Write(DialogLine(errorReportTitle, fw::ErrorReportText(failure.what())));
        if (shown) shown->ShowErrorDialog(failure.what());
        return outcome;
    }
    return log.Failure() && ExitCodeOf(outcome) == 0 ? RunOutcome::LogWriteFailed : outcome;
}

RunOutcome WriteUsage(RunLog& log) {
    const std::string usage = text::UsageText();
    for (std::size_t start = 0, end = 0; start < usage.size(); start = end + 1) {
        end = usage.find('\n', start);
        if (end == std::string::npos) end = usage.size();
        log.Write(usage.substr(start, end - start));
    }
    return RunOutcome::UsageWritten;
}

int EndRun(RunLog& log, RunOutcome outcome, const std::string& reportTitle, const std::string& report) {
    if (!report.empty()) log.Write(DialogLine(reportTitle, report));
    log.Write(ResultLine(outcome));
    return ExitCodeOf(log.Failure() ? AfterLogFailure(outcome) : outcome);
}

}  // namespace kit
