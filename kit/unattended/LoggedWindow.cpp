#include "kit/unattended/LoggedWindow.h"

#include "framework/DialogTitles.h"
#include "kit/KitTexts.h"

namespace kit {

void LoggedWindow::AppendLog(const std::string& line) {
    log_.Write(line);
    if (shown_) shown_->AppendLog(line);
}

void LoggedWindow::SetUpgradeCaption(const std::string& caption) {
    if (shown_) shown_->SetUpgradeCaption(caption);
}

void LoggedWindow::SetUpgradeEnabled(bool enabled) {
    if (shown_) shown_->SetUpgradeEnabled(enabled);
}

void LoggedWindow::ShowErrorDialog(const std::string& text) {
    log_.Write(DialogLine(fw::kErrorTitle, text));
    if (shown_) shown_->ShowErrorDialog(text);
}

void LoggedWindow::ShowInformationDialog(const std::string& text) {
    log_.Write(DialogLine(fw::kInformationTitle, text));
    if (shown_) shown_->ShowInformationDialog(text);
}

}  // namespace kit
