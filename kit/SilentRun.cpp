#include "kit/SilentRun.h"

#include <exception>

#include "framework/ErrorReport.h"
#include "kit/KitTexts.h"
#include "kit/KitWindow.h"
#include "kit/UpgradeRun.h"
#include "kit/VersionCheck.h"

namespace kit {

namespace {
// The window the check and the run talk to, turned into log lines.
class LoggedWindow : public KitWindow {
public:
    explicit LoggedWindow(RunLog& log) : log_(log) {}
    void AppendLog(const std::string& line) override { log_.Write(line); }
    void SetUpgradeCaption(const std::string&) override {}
    void SetUpgradeEnabled(bool) override {}
    void ShowErrorDialog(const std::string& text) override { log_.Write(DialogLine(text::kErrorTitle, text)); }
    void ShowInformationDialog(const std::string& text) override {
        log_.Write(DialogLine(text::kInformationTitle, text));
    }

private:
    RunLog& log_;
};
}  // namespace

RunOutcome RunSilently(fw::PayloadStore& payload, fw::FileSystem& files, fw::RegistryStore& registry, RunLog& log,
                       const std::string& errorReportTitle) {
    LoggedWindow window(log);
    auto report = [&](const std::exception& failure) {
        log.Write(DialogLine(errorReportTitle, fw::ErrorReportText(failure.what())));
    };

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
