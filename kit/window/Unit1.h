// The kit's one window: the log, the upgrade button and the close button on
// a coloured panel, and the one-shot timer that starts the version check.
#pragma once

#include <string>

#include "controls/LbSpeedButton.h"
#include "framework/Controls.h"
#include "framework/FileSystem.h"
#include "framework/PayloadStore.h"
#include "framework/RegistryStore.h"
#include "framework/Window.h"
#include "kit/window/KitWindow.h"
#include "kit/unattended/LoggedWindow.h"
#include "kit/unattended/RunLog.h"
#include "kit/unattended/RunOutcome.h"

class TForm1 : public fw::Window, private kit::KitWindow {
    // Declared first so they outlive the controls that use them.
    fw::unique_hfont font_;
    fw::unique_hbrush background_;

public:
    // Creates the window, hidden, and fires FormCreate. The check and the
    // run work with the system's payload, files and registry given, which
    // outlive the window. What they show also goes to log (a closed log file
    // writes nothing). protections: the hardening in force, noted in the log
    // when files are written.
    TForm1(kit::RunLog& log, fw::PayloadStore& payload, fw::FileSystem& files, fw::RegistryStore& registry,
           std::string protections = {});
    // Destroys the window, and with it the controls' windows, while the
    // controls, the font and the brush they use are still there.
    ~TForm1() override;
    // Fires FormShow, shows the window, then checks the kit's payload.
    void Show();

    fw::Panel Panel1;
    fw::Memo Memo1;
    lb::TLbSpeedButton Button2;         // the upgrade button
    lb::TLbSpeedButton LbSpeedButton1;  // the close button "Inchide"
    fw::Timer Timer1;

    // The installation folder read by the version check, without trailing
    // backslash; empty until the check has found an installation.
    std::string InstallFolder;

    // What the window's last operation came to, for the run log's last line.
    kit::RunOutcome Outcome() const { return outcome_; }

    void FormCreate();
    void FormShow();
    bool FormKeyDown(WPARAM key);
    void Button1Click();
    void Timer1Timer();
    void Button2Click();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Sizes fonts, controls and window for dpi, from the 96-dpi layout.
    void Rescale(int dpi);
    void CheckPayload();
    void RememberFocus();  // the focused control, given back on activation
    void AppendLog(const std::string& line) override;
    void SetUpgradeCaption(const std::string& caption) override;
    void SetUpgradeEnabled(bool enabled) override;
    void ShowErrorDialog(const std::string& text) override;
    void ShowInformationDialog(const std::string& text) override;

    fw::PayloadStore& payload_;
    fw::FileSystem& files_;
    fw::RegistryStore& registry_;
    kit::LoggedWindow window_;  // this window, and the run's log
    std::string protections_;
    kit::RunOutcome outcome_ = kit::RunOutcome::NotUpgraded;
    int dpi_ = 96;            // the DPI the window is laid out for
    HWND focused_ = nullptr;  // the focused control while the window is inactive
};
