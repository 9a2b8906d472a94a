// A kit window that also writes what the version check and the upgrade run
// show into the run's log: each log line as it is, each dialog as its title
// and text. With no window behind it (the unattended run) it is the log alone.
#pragma once

#include "kit/window/KitWindow.h"
#include "kit/unattended/RunLog.h"

namespace kit {

class LoggedWindow : public KitWindow {
public:
    explicit LoggedWindow(RunLog& log, KitWindow* shown = nullptr) : log_(log), shown_(shown) {}

    void AppendLog(const std::string& line) override;
    void SetUpgradeCaption(const std::string& caption) override;
    void SetUpgradeEnabled(bool enabled) override;
    void ShowErrorDialog(const std::string& text) override;
    void ShowInformationDialog(const std::string& text) override;
    void Note(const std::string& line) override { log_.Write(line); }
    bool Ask(const std::string& question) override { return !shown_ || shown_->Ask(question); }

private:
    RunLog& log_;
    KitWindow* shown_;
};

}  // namespace kit
