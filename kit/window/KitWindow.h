// What the version check and the upgrade run do to the kit's window.
#pragma once

#include <string>

namespace kit {

class KitWindow {
public:
    virtual ~KitWindow() = default;
    virtual void AppendLog(const std::string& line) = 0;
    virtual void SetUpgradeCaption(const std::string& caption) = 0;
    virtual void SetUpgradeEnabled(bool enabled) = 0;
    virtual void ShowErrorDialog(const std::string& text) = 0;        // titled "Error"
    virtual void ShowInformationDialog(const std::string& text) = 0;  // titled "Information"
    // A line for the administrator's log file alone; the window doesn't show it.
    virtual void Note(const std::string&) {}
    // A Yes/No question; true for Yes. Unattended, nobody is asked: Yes.
    virtual bool Ask(const std::string&) { return true; }
};

}  // namespace kit
