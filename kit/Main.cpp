// Entry point of the upgrade kit.
#include <windows.h>

#include <shellapi.h>  // after windows.h, whose types it uses

#include <cstdlib>
#include <cwchar>
#include <vector>

#include "framework/Application.h"
#include "framework/DialogTitles.h"
#include "framework/Dpi.h"
#include "framework/Error.h"
#include "framework/ErrorReport.h"
#include "framework/ModuleResources.h"
#include "framework/SingleInstance.h"
#include "framework/Utf16.h"
#include "framework/Win32Error.h"
#include "framework/Win32FileSystem.h"
#include "framework/Win32Registry.h"
#include "kit/unattended/CommandLine.h"
#include "kit/KitConstants.h"
#include "kit/KitTexts.h"
#include "kit/unattended/LogFile.h"
#include "kit/guards/ProcessGuards.h"
#include "kit/unattended/SilentRun.h"
#include "kit/window/Unit1.h"

namespace {
// The machine-wide lock that keeps two kits from working in one installation
// at once: one's clean-up would remove the other's temporary files.
const char kInstanceName[] = "MeridalUpgradeKit";

// The command line: its arguments after the program's name read as UTF-16,
// so a /LOG path may name any folder, and split as the C runtime splits
// them. An argument that is no valid Unicode is a bad command line, told as
// /S tells one.
kit::CommandLine ReadCommandLine() {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words) throw fw::Win32Error("Cannot read the command line", GetLastError());
    const fw::unique_local<wchar_t**> owned(words);
    std::vector<std::string> arguments;
    std::string problem;
    for (int i = 1; i < count; ++i) {
        try {
            arguments.push_back(fw::Utf8(words[i]));
        } catch (const fw::Error& failure) {
            if (problem.empty())
                problem = fw::FormatMessageText(kit::text::kArgumentNotUnicode,
                                                {fw::ShownUtf8(words[i], std::wcslen(words[i])), failure.what()});
        }
    }
    kit::CommandLine command = kit::ParseCommandLine(arguments);
    if (command.problem.empty()) command.problem = problem;
    return command;
}

// A box that can't be shown (no desktop to show it on) still leaves what it
// says in the log and the exit code.
int ShowBox(const std::string& text, const std::string& title, UINT type) {
    return MessageBoxW(nullptr, fw::WideText(text).c_str(), fw::WideText(title).c_str(), type);
}

void ShowUsage(const std::string& problem) {
    const std::string text = problem.empty() ? kit::text::UsageText() : problem + "\n\n" + kit::text::UsageText();
    ShowBox(text, fw::Application::Get().Title(), MB_OK | (problem.empty() ? MB_ICONINFORMATION : MB_ICONERROR));
}

// The run's log; of static duration, so a failure that ends the process,
// whenever it comes, still finds it (see GuardRun).
kit::LogFile g_log;
bool g_silent = false;

void ReportUnexpectedEnd(const std::string& text) {
    const std::string title = fw::Application::Get().Title(), report = fw::ErrorReportText(text);
    kit::EndRun(g_log, kit::RunOutcome::UnexpectedFailure, title, report);
    if (!g_silent) ShowBox(report, title, MB_OK | MB_ICONERROR);
}

// A run under /S waits for no one: the system's critical-error ("no disk"),
// open-file and fault boxes stay away, also for the log's own drive. A
// failure that ends the process is written to the log and ends it with 3,
// under /S without any box.
void GuardRun(bool silent) {
    g_silent = silent;
    kit::EndUnexpectedFailures(&ReportUnexpectedEnd,
                               static_cast<unsigned>(kit::ExitCodeOf(kit::RunOutcome::UnexpectedFailure)));
    if (!silent) return;
    const UINT quiet = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX;
    SetErrorMode(SetErrorMode(quiet) | quiet);
}

// The system the kit works on, made once for whichever run the command line asks for.
struct System {
    fw::ModuleResources payload;
    fw::Win32FileSystem files;
    fw::Win32Registry registry;
};

// /S: no window, no dialog; what happens goes to the log and the exit code.
int RunUnattended(kit::LogFile& log, System& system) {
    kit::ForceKitFormats();
    const std::string title = fw::Application::Get().Title();
    return kit::EndRun(
        log, kit::RunSilently(system.payload, system.files, system.registry, log, title, kit::HardeningLine()), title);
}

// /UNDO with a person at the screen: no window, only the question and the
// result in message boxes; the log file, when asked for, gets every line.
class UndoBoxes : public kit::KitWindow {
public:
    void AppendLog(const std::string&) override {}
    void SetUpgradeCaption(const std::string&) override {}
    void SetUpgradeEnabled(bool) override {}
    void ShowErrorDialog(const std::string& text) override { ShowBox(text, fw::kErrorTitle, MB_OK | MB_ICONERROR); }
    void ShowInformationDialog(const std::string& text) override {
        ShowBox(text, fw::kInformationTitle, MB_OK | MB_ICONINFORMATION);
    }
    // No is the default: the undo replaces the program the user works with.
    bool Ask(const std::string& question) override {
        return ShowBox(question, fw::Application::Get().Title(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    }
};

int RunUndo(kit::LogFile& log, bool silent, System& system) {
    if (silent) kit::ForceKitFormats();
    UndoBoxes boxes;
    const std::string title = fw::Application::Get().Title();
    return kit::EndRun(
        log, kit::RunUndoWithoutWindow(system.files, system.registry, log, title, silent ? nullptr : &boxes), title);
}

// A second kit with a window brings the open one to the front (waiting a
// moment for one that is just starting), or says that another runs unattended.
void ShowTheOtherKit() {
    const fw::WideText caption(kit::text::WindowCaption());
    for (int tries = 0; tries < 50; ++tries) {
        if (HWND other = FindWindowW(L"TForm1", caption.c_str())) {
            if (IsIconic(other)) ShowWindow(other, SW_RESTORE);
            SetForegroundWindow(other);
            return;
        }
        Sleep(20);
    }
    ShowBox(kit::text::kAnotherKitRunning, fw::Application::Get().Title(), MB_OK | MB_ICONINFORMATION);
}

int RunWindow(kit::LogFile& log, const std::string& logError, System& system) {
    fw::Application& application = fw::Application::Get();
    application.OnErrorReport = [&log](const std::string& title, const std::string& text) {
        log.Write(kit::DialogLine(title, text));
    };
    // A log that fails is reported once; the window works on.
    log.OnFailure = [](const fw::Error& failure) { fw::Application::Get().PostReport(failure); };
    TForm1 form1(log, system.payload, system.files, system.registry, kit::HardeningLine());
    form1.Show();
    if (!logError.empty()) application.ShowException(fw::Error(logError));
    const int exitCode = application.Run();
    log.Write(kit::ResultLine(form1.Outcome()));
    return exitCode;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    fw::BecomeDpiAware();  // before any window: the manifest asks the same where it is honoured
    fw::Application& application = fw::Application::Get();
    application.Initialize();
    kit::LogFile& log = g_log;
    bool silent = false;
    try {
        const kit::CommandLine command = ReadCommandLine();
        silent = command.silent;
        GuardRun(silent);
        if (command.usage && !silent) {
            ShowUsage(std::string());
            return 0;
        }
        // The lock before the log: a log held open by another kit's run is
        // that kit's, and this run ends as another kit running, not as a
        // log of its own failing.
        const fw::SingleInstance instance(kInstanceName);
        System system;
        const bool anotherKit = instance.holder() == fw::SingleInstance::Holder::AnotherInstance;
        const fw::Result opened =
            command.logPath.empty() ? fw::Result::Success() : log.Open(system.files, command.logPath);
        if (!opened && silent)
            return kit::ExitCodeOf(anotherKit ? kit::RunOutcome::AnotherKitRunning : kit::RunOutcome::LogUnavailable);
        if (!command.problem.empty()) {
            const int exitCode =
                kit::EndRun(log, kit::RunOutcome::BadCommandLine, application.Title(), command.problem);
            if (!silent) ShowUsage(command.problem);
            return exitCode;
        }
        if (command.usage) return kit::EndRun(log, kit::WriteUsage(log), application.Title());  // /S /?
        if (const fw::Error* failure = instance.failure()) throw *failure;
        if (anotherKit) {
            const int exitCode = kit::EndRun(log, kit::RunOutcome::AnotherKitRunning, application.Title());
            if (!silent) ShowTheOtherKit();
            return exitCode;
        }
        if (instance.holder() == fw::SingleInstance::Holder::SomeoneElse)
            log.Write(fw::FormatMessageText(kit::text::kLockNameTaken, {instance.fullName()}));
        if (command.undo) {
            // As the window does: a log that can't be opened is told, and the undo goes on.
            if (!opened)
                ShowBox(kit::LogUnavailableText(command.logPath, opened.text), application.Title(),
                        MB_OK | MB_ICONERROR);
            return RunUndo(log, silent, system);
        }
        return silent ? RunUnattended(log, system)
                      : RunWindow(log, opened ? std::string() : kit::LogUnavailableText(command.logPath, opened.text),
                                  system);
    } catch (const std::exception& failure) {
        // The runs catch their own failures; this is what is left, such as
        // the lock that can't be taken or memory running out: in the log,
        // and with the window, shown too.
        const int exitCode = kit::EndRun(log, kit::RunOutcome::UnexpectedFailure, application.Title(),
                                         fw::ErrorReportText(failure.what()));
        if (!silent) application.ShowException(failure);
        return exitCode;
    }
}
