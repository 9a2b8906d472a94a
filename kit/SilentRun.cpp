#include "kit/SilentRun.h"

#include <exception>

#include "framework/ErrorReport.h"
#include "kit/KitTexts.h"
#include "kit/LoggedWindow.h"
#include "kit/PayloadCheck.h"
#include "kit/UpgradeRun.h"
#include "kit/VersionCheck.h"

namespace kit {

RunOutcome RunSilently(fw::PayloadStore& payload, fw::FileSystem& files, fw::RegistryStore& registry, RunLog& log,
                       const std::string& errorReportTitle) {
    LoggedWindow window(log);
    auto report = [&](const std::exception& failure) {
        log.Write(DialogLine(errorReportTitle, fw::ErrorReportText(failure.what())));
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
        report(failure);
        return RunOutcome::VersionUnreadable;
    }
    if (check == CheckResult::NotInstalled) return RunOutcome::NotInstalled;
    if (check == CheckResult::UpToDate) return RunOutcome::UpToDate;

    UpgradeServices services{payload, files, registry, window};
    try {
        return RunUpgrade(services, installFolder) ? RunOutcome::Upgraded : RunOutcome::ApplicationRunning;
    } catch (const std::exception& failure) {
        report(failure);
        return RunOutcome::FailedAfterFirstItem;
    }
}

}  // namespace kit
