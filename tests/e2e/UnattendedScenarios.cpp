// Scenarios of the unattended run and the log file: /S with /LOG and every
// way it ends, /LOG with the window, and one kit at a time.
#include "e2e/DriverSteps.h"

namespace e2e {

// /S with /LOG: each way a deployment can end, with its exit code, files,
// record and log, and never a window.
void ScenarioUnattended() {
    const std::string f = kFolder;
    const std::string logFolder = "C:\\Jurnale";
    const std::string logPath = logFolder + "\\kit upgrade.log";
    const std::string logSwitch = "/S \"/LOG=" + logPath + "\"";
    // The linked logs have a folder of their own, which no case removes:
    // Wine's DeleteFile removes what a symbolic link to a file leads to.
    const std::string linkedLog = "C:\\Legaturi\\kit.log", linkedSwitch = "/S \"/LOG=" + linkedLog + "\"";
    // A log whose folder is a link to a folder outside (a junction to Wine).
    const std::string linkedFolder = "C:\\Legaturi\\Dosar", outside = "C:\\Exterior";
    const std::string folderSwitch = "/S \"/LOG=" + linkedFolder + "\\kit.log\"";
    const std::string otherFile = "C:\\Windows\\kit-other.txt", otherText = "an administrator's file\r\n";
    // The log of a run that checked v.2.35 and got as far as the files.
    auto checkedThen = [&](const std::string& told, const std::string& result) {
        return std::vector<std::string>{LocationLine(f), VersionLine("2.35"), FinalFolderLine(f), kProtections, told,
                                        result};
    };
    const std::string cannotCreate = std::string(kErrorTitle) + ": Cannot create file \"" + f;
    struct Case {
        const char* what;
        const char* recorded;  // VER; null for no record
        bool withData;
        const char* held;  // a file held beyond the wait, below the folder; null for none
        std::string arguments;
        DWORD exitCode;
        std::vector<std::string> log;  // lines; a line ending in "*" is a prefix
        bool exeWritten;
        const char* versionAfter;
        // The log path made first a second name of another file (a hard
        // link), or a link to it; or the log's folder a link.
        enum LogKind { Plain, HardLinked, Linked, FolderLinked };
        LogKind logKind = Plain;
    };
    const Case cases[] = {
        {"complete", kOldVersion, true, nullptr, logSwitch, 0, UpgradedLog(f), true, kNewVersion},
        {"not installed",
         nullptr,
         true,
         nullptr,
         logSwitch,
         1,
         {kNotInstalled, "Rezultat: programul nu este instalat, nimic scris (cod 1)"},
         false,
         nullptr},
        {"already up to date",
         kNewVersion,
         true,
         nullptr,
         logSwitch,
         0,
         {LocationLine(f), VersionLine(KIT_VERSION_STRING), kLatest,
          "Rezultat: deja la ultima versiune, nimic scris (cod 0)"},
         false,
         kNewVersion},
        {"application running", kOldVersion, true, "\\Meridal_2013.exe", logSwitch, 2,
         checkedThen(std::string("Error: ") + kCloseFirst, "Rezultat: programul ruleaza, nimic scris (cod 2)"), false,
         kOldVersion},
        {"no Data folder", kOldVersion, false, nullptr, logSwitch, 3,
         checkedThen(cannotCreate + "\\Data\\raport.rtf\". *", kFailedResult), false, kOldVersion},
        // Another program holds a table (not the program) beyond the wait:
        // nothing changes, the program included.
        {"1b.dbf held", kOldVersion, true, "\\1b.dbf", logSwitch, 3,
         checkedThen(cannotCreate + "\\1b.dbf\". *", kFailedResult), false, kOldVersion},
        {"unwritable log", kOldVersion, true, nullptr, "/S /LOG=C:\\NoSuchFolder\\kit.log", 5, {}, false, kOldVersion},
        {"bad switch", kOldVersion, true, nullptr, "/S /LOG=", 4, {}, false, kOldVersion},
        {"hard-linked log", kOldVersion, true, nullptr, linkedSwitch, 5, {}, false, kOldVersion, Case::HardLinked},
        {"linked log", kOldVersion, true, nullptr, linkedSwitch, 5, {}, false, kOldVersion, Case::Linked},
        {"linked folder", kOldVersion, true, nullptr, folderSwitch, 5, {}, false, kOldVersion, Case::FolderLinked},
    };
    for (const Case& c : cases) {
        Note(c.what);
        PrepareOldInstallation(f, c.withData);
        if (!c.recorded) DeleteRecord();
        else SetRecord(f, c.recorded);
        if (c.withData) PutFile(f + "\\Data\\Anx3.rtf", kOldAnnex);
        FreshFolder(logFolder);
        if (c.logKind != Case::Plain) {
            MakeFolders("C:\\Legaturi");
            // The hard link of the case before is a name of its own; the
            // link removes the file it leads to, made again next.
            DeleteFileW(Wide(linkedLog).c_str());
            PutFile(otherFile, otherText);
        }
        if (c.logKind == Case::HardLinked)
            Check(CreateHardLinkW(Wide(linkedLog).c_str(), Wide(otherFile).c_str(), nullptr) != FALSE,
                  "the log path made a hard link to " + otherFile);
        if (c.logKind == Case::Linked && !MakeLink(otherFile, linkedLog)) continue;
        if (c.logKind == Case::FolderLinked) {
            FreshFolder(outside);
            if (!MakeLink(outside, linkedFolder)) continue;
        }

        const std::string oldTable = "old table";
        if (c.held && std::string(c.held) != "\\Meridal_2013.exe") PutFile(f + c.held, oldTable);
        Child holder;
        if (c.held && !StartHolder(holder, f + c.held, 60)) continue;
        CheckUnattended(c.arguments, c.exitCode);
        holder.End();

        if (c.exeWritten) CheckWrittenAsItem(f, Entry("MERIDAL"));
        else CheckFileBytes(f + "\\Meridal_2013.exe", OldExe(), "left as it was");
        if (c.withData) {
            if (c.exitCode == 0 && c.exeWritten) CheckWrittenAsItem(f, Entry("A3"));
            else CheckFileBytes(f + "\\Data\\Anx3.rtf", kOldAnnex, "left as it was");
        }
        if (c.held && std::string(c.held) == "\\1b.dbf") {
            CheckFileBytes(f + c.held, oldTable, "left as it was");
            CheckFolderContents(f, {"Data", "Meridal_2013.exe", "1b.dbf"});
            CheckFolderContents(f + "\\Data", {"Anx3.rtf"});
        }
        if (c.versionAfter) CheckRecordedVersion(c.versionAfter);
        CheckNoTempFiles(f);
        if (c.logKind != Case::Plain) {
            CheckFileBytes(otherFile, otherText, "the other file unchanged");
            // Refused before anything was made where the link leads.
            if (c.logKind == Case::FolderLinked) CheckFolderContents(outside, {});
            continue;
        }

        const std::vector<std::string> lines = LogFileLines(logPath);
        bool same = lines.size() == c.log.size();
        for (std::size_t i = 0; same && i < lines.size(); ++i) {
            const std::string& want = c.log[i];
            same = want.back() == '*' ? lines[i].compare(0, want.size() - 1, want, 0, want.size() - 1) == 0
                                      : lines[i] == want;
        }
        std::string got;
        for (const std::string& line : lines) got += "\n        " + Quoted(line);
        Check(same, "log holds the expected " + std::to_string(c.log.size()) + " lines", "got:" + got);
    }

    // /S /? waits for no one: no usage box; the usage goes to the log.
    for (const bool logged : {true, false}) {
        Note(logged ? "/S /? with a log" : "/S /? without a log");
        PrepareOldInstallation();
        FreshFolder(logFolder);
        CheckUnattended(logged ? "/S /? \"/LOG=" + logPath + "\"" : "/S /?", 0);
        CheckFileBytes(f + "\\Meridal_2013.exe", OldExe(), "left as it was");
        CheckRecordedVersion(kOldVersion);
        if (!logged) {
            Check(!Exists(logPath), "no log written");
            continue;
        }
        const std::vector<std::string> lines = LogFileLines(logPath);
        Check(lines.size() > 2 && lines.front() == "MeridalUpgrade.exe [/S] [/LOG=<fisier>]" &&
                  lines.back() == "Rezultat: utilizarea scrisa in jurnal, nimic scris (cod 0)",
              "log holds the usage, then the result",
              lines.empty() ? "got nothing" : "got " + Quoted(lines.front()) + " ... " + Quoted(lines.back()));
    }
}

// One kit at a time: while one shows its window, a second unattended run
// ends with 6 and writes nothing, and a second with a window brings the open
// one forward and ends; two unattended runs at once, with one log, leave only
// the kit's files. The lock's name taken first by a program that is no kit
// (a mutex or an event of default security, which Wine gives no owner) stops
// no run.
void ScenarioSecondKit() {
    const std::string f = kFolder, log = "C:\\Jurnale\\kit.log";
    MakeFolders("C:\\Jurnale");
    {
        PrepareOldInstallation();
        Kit first;
        if (StartArmed(first)) {
            Note("a second unattended run");
            const std::vector<std::string> lines = RunLoggedUnattended(log, 6);
            Check(!lines.empty() && lines.back() == "Rezultat: alt kit de actualizare ruleaza, nimic scris (cod 6)",
                  "log's last line says another kit runs");
            CheckFolderContents(f, {"Data", "Meridal_2013.exe"});
            CheckRecordedVersion(kOldVersion);

            Note("a second kit with its window");
            Child second;
            if (second.Start("second kit", g_kitPath, "", "C:\\")) {
                Check(second.WaitForExit(10000), "ends by itself");
                DWORD code = 0;
                GetExitCodeProcess(second.Handle(), &code);
                Check(code == 6, "exit code 6", "got " + std::to_string(code));
            }
            Check(first.Running() && IsWindowVisible(first.form), "the first kit's window is still open");
            first.End();
        }
    }

    for (const bool event : {false, true}) {
        Note(event ? "the lock's name taken by an event" : "the lock's name taken by a plain mutex");
        PrepareOldInstallation();
        const wchar_t* name = L"Global\\MeridalUpgradeKit";
        const fw::unique_handle taken(event ? CreateEventW(nullptr, TRUE, FALSE, name)
                                            : CreateMutexW(nullptr, FALSE, name));
        if (!Check(static_cast<bool>(taken), "the name taken")) continue;
        Check(HasLineStartingWith(RunLoggedUnattended(log, 0),
                                  "Numele de blocare \"Global\\MeridalUpgradeKit\" a fost luat de alt program"),
              "log says the name was taken");
        CheckAllItemsWritten(f);
    }

    // A log held open by the kit that runs is no failure of the other's log:
    // that one ends as another kit running.
    Note("two unattended runs at once, with one log");
    PrepareOldInstallation();
    const std::string logged = "/S \"/LOG=" + log + "\"";
    Child a, b;
    if (a.Start("kit A", g_kitPath, logged, "C:\\") && b.Start("kit B", g_kitPath, logged, "C:\\")) {
        DWORD codeA = 99, codeB = 99;
        Check(a.WaitForExit(30000) && b.WaitForExit(30000), "both end");
        GetExitCodeProcess(a.Handle(), &codeA);
        GetExitCodeProcess(b.Handle(), &codeB);
        Check((codeA == 0 || codeA == 6) && (codeB == 0 || codeB == 6) && (codeA == 0 || codeB == 0),
              "each ends with 0 or 6, one with 0", "got " + std::to_string(codeA) + " and " + std::to_string(codeB));
        CheckAllItemsWritten(f);
        CheckFolderContents(f,
                            {"Data", "Meridal_2013.exe", "1a.dbf", "1b.dbf", "1c.dbf", "ModelFin.dbf", "modeltrz.dbf"});
    }
}

// The window with /LOG: its log lines, dialog texts and the result go to the
// file too; a log that can't be opened is reported once; /? shows the usage.
void ScenarioLoggedWindow() {
    const std::string logFolder = "C:\\Jurnale", logPath = logFolder + "\\kit.log";
    PrepareOldInstallation();
    FreshFolder(logFolder);
    {
        Kit kit;
        Dialog box;
        if (StartArmed(kit, "/LOG=" + logPath) && ClickUpgradeForDialog(kit, box)) {
            CheckDialog(box, "Information", kUpgraded);
            kit.PressOk(box);
            CloseWithButton(kit);
        }
    }
    CheckLines("log file after the upgrade", LogFileLines(logPath), UpgradedLog(kFolder));

    // A log that can't be opened, told with the system's reason or the
    // kit's: a folder, a folder that is a link elsewhere.
    const std::string linkedFolder = "C:\\Legaturi\\Dosar", outside = "C:\\Exterior";
    MakeFolders("C:\\Legaturi");
    FreshFolder(outside);
    const bool linked = MakeLink(outside, linkedFolder);
    const struct {
        const char* what;
        std::string path, reason;
    } unopenable[] = {
        {"a log in a folder that doesn't exist", "C:\\NoSuchFolder\\kit.log", ""},
        {"a folder as the log", logFolder, "Este un dosar, nu un fisier"},
        {"a log in a folder that is a link", linkedFolder + "\\kit.log",
         "Se afla in alt loc decat spune calea: \"" + outside + "\""},
    };
    SetRecord(kFolder, kOldVersion);
    for (const auto& log : unopenable) {
        Note(log.what);
        if (log.path.rfind(linkedFolder, 0) == 0 && !linked) continue;
        Kit kit;
        Dialog box;
        if (kit.Start(g_kitPath, "\"/LOG=" + log.path + "\"") && CheckErrorReport(kit, box)) {
            CheckStartsWith("box naming the log file", box.text,
                            "Fisierul jurnal \"" + log.path + "\" nu poate fi deschis. " + log.reason);
            kit.PressOk(box);
            Check(WaitUntil([&] { return IsWindowEnabled(kit.upgrade) != FALSE; }), "the check runs all the same");
            Check(kit.CaughtUp() && kit.NoDialog(), "reported once");
            CheckLines("log after the check", kit.LogLines(), CheckedLog());
        }
    }
    CheckFolderContents(outside, {});

    Note("/?");
    {
        Kit kit;
        Dialog box;
        if (kit.Launch(g_kitPath, "/?") && CheckErrorReport(kit, box)) {
            CheckStartsWith("box showing the usage", box.text, "MeridalUpgrade.exe [/S] [/LOG=<fisier>]");
            kit.PressOk(box);
            kit.CheckEndsWithZero("OK");
        }
    }
}

}  // namespace e2e
