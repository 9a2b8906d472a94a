// Scenarios of the runs without the kit's window and the log file: /S with
// /LOG and every way it ends, /LOG with the window, one kit at a time, and
// /UNDO, unattended and asked.
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
        Check(lines.size() > 2 && lines.front() == "MeridalUpgrade.exe [/UNDO] [/S] [/LOG=<fisier>]" &&
                  lines.back() == "Rezultat: utilizarea scrisa in jurnal, nimic scris (cod 0)",
              "log holds the usage, then the result",
              lines.empty() ? "got nothing" : "got " + Quoted(lines.front()) + " ... " + Quoted(lines.back()));
    }

    // An argument that is no valid Unicode (an unpaired surrogate) is a bad
    // command line: under /S told in the log, with no box.
    Note("/S with an argument holding an unpaired surrogate");
    PrepareOldInstallation();
    FreshFolder(logFolder);
    const std::vector<std::string> bad = RunLoggedUnattended(logPath, 4, std::wstring(L"/S x\xD800y"));
    Check(HasLineStartingWith(bad, std::string(kErrorTitle) + ": Argumentul \"x") && !bad.empty() &&
              bad.back() == "Rezultat: linie de comanda gresita, nimic scris (cod 4)",
          "the log tells the argument, then the result");
    CheckFileBytes(f + "\\Meridal_2013.exe", OldExe(), "left as it was");
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

    // A lock that can't be made at all (its name a link to nowhere) ends the
    // kit with 3, the failure in the log, also with the window.
    Note("the lock's name a link to nowhere, with the window");
    {
        PrepareOldInstallation();
        DeleteFileA(log.c_str());
        const fw::unique_handle link = LinkObjectToNowhere(L"\\BaseNamedObjects\\MeridalUpgradeKit");
        Kit kit;
        Dialog box;
        if (Check(static_cast<bool>(link), "the name made a link") && kit.Launch(g_kitPath, "\"/LOG=" + log + "\"") &&
            Check(kit.WaitForDialog(box), "a box tells the failure")) {
            Check(box.text.find("Cannot create the lock") != std::string::npos, "it names the lock", box.text);
            kit.PressOk(box);
            DWORD code = 99;
            if (Check(kit.WaitForExit(code), "the kit ends")) Check(code == 3, "exit code 3", std::to_string(code));
            const std::vector<std::string> lines = LogFileLines(log);
            Check(!lines.empty() && lines.back() == "Rezultat: eroare neasteptata (cod 3)", "the log's result line",
                  lines.empty() ? "" : lines.back());
        }
        CheckFolderContents(f, {"Data", "Meridal_2013.exe"});
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
            CheckStartsWith("box showing the usage", box.text, "MeridalUpgrade.exe [/UNDO] [/S] [/LOG=<fisier>]");
            kit.PressOk(box);
            kit.CheckEndsWithZero("OK");
        }
    }
}

// An installation of v.2.35 in folder with a file of its own for every
// target the upgrade replaces, the user's raport.rtf (which the upgrade
// keeps, so the undo must too) and a file no upgrade knows; gives it as it
// is.
Snapshot PrepareKeptInstallation(const std::string& folder) {
    PrepareOldInstallation(folder);
    for (const CatalogueEntry& entry : kCatalogue)
        if (!entry.onlyIfMissing && std::strcmp(entry.code, "MERIDAL") != 0)
            PutFile(folder + entry.path, std::string("old ") + entry.code + std::string(300, entry.code[0]));
    PutFile(folder + "\\Data\\raport.rtf", "{\\rtf1 the town hall's own report}");
    PutFile(folder + "\\Meridal.ini", "[Meridal]\r\nAn=2013\r\n");
    return TakeSnapshot(folder);
}

// /S over the installation as before was: the new version recorded, and in
// the kit's folder, which the log names, its manifest and every replaced file
// with its old bytes. Gives the kit's folder.
std::string UpgradeKeeping(const std::string& folder, const Snapshot& before, const std::string& logPath) {
    const std::string kitFolder =
        QuotedAfter(RunLoggedUnattended(logPath, 0), "Fisierele inlocuite sunt pastrate in \"");
    CheckRecordedVersion(kNewVersion);
    if (!Check(IsFolder(kitFolder), "the log names the kit's folder, which exists", Quoted(kitFolder)))
        return kitFolder;
    std::vector<std::string> files = KitFolderFiles(kitFolder);
    const auto manifest = std::find_if(files.begin(), files.end(), [](const std::string& name) {
        return name.size() == 38 && NamedWithTail(name.substr(0, 21), "kept-", "") &&
               NamedWithTail(name.substr(21), "-", "");
    });
    if (Check(manifest != files.end(), "the kit's folder holds a manifest kept-<volume>-<index>"))
        files.erase(manifest);
    for (const CatalogueEntry& entry : kCatalogue) {
        if (entry.onlyIfMissing) continue;
        const std::string name = FileNameOf(entry.path);
        const auto kept = std::find_if(files.begin(), files.end(), [&](const std::string& file) {
            return NamedWithTail(file, name + ".~", ".bak");
        });
        if (!Check(kept != files.end(), "the kit's folder keeps " + name + " as " + name + ".~<tail>.bak")) continue;
        const auto old = std::find_if(before.begin(), before.end(),
                                      [&](const Snapshot::value_type& file) { return file.first == entry.path; });
        CheckFileBytes(kitFolder + "\\" + *kept, old == before.end() ? "" : old->second, "holds the old " + name);
        files.erase(kept);
    }
    std::string others;
    for (const std::string& name : files) others += " " + name;
    Check(files.empty(), "and nothing else but its lock", "also:" + others);
    CheckNoTempFiles(folder);
    return kitFolder;
}

// /UNDO /S after an upgrade: refused (8) while the record names another
// version than the one upgraded to; then the installation byte for byte as
// before the upgrade, the added templates gone, the user's kept, nothing new,
// the old version recorded and the kit's folder emptied; a second undo finds
// nothing kept (8). Files changed after the upgrade aren't lost: the changed
// copies stay in the kit's folder, each named in the log.
void ScenarioUndo() {
    const std::string f = kFolder, logs = "C:\\Jurnale";
    FreshFolder(logs);
    Snapshot before = PrepareKeptInstallation(f);
    std::string kitFolder = UpgradeKeeping(f, before, logs + "\\upgrade.log");
    const Snapshot upgraded = TakeSnapshot(f);

    Note("the record names another version than the one upgraded to");
    SetRecord(f, "Meridal - 2013 v.2.40");
    std::vector<std::string> lines = RunLoggedUnattended(logs + "\\other.log", 8, "/UNDO /S");
    Check(!lines.empty() && lines.back() == kNothingToUndoResult, "log ends with the result of code 8");
    CheckSnapshot(f, upgraded, "unchanged by the refused undo");
    CheckRecordedVersion("Meridal - 2013 v.2.40");

    Note("the undo");
    SetRecord(f, kNewVersion);
    lines = RunLoggedUnattended(logs + "\\undo.log", 0, "/UNDO /S");
    // The check's lines come first, as in every run; the undo's own follow.
    const auto undoLines = std::find(lines.begin(), lines.end(), FinalFolderLine(f));
    CheckLines("undo log from the final folder on", std::vector<std::string>(undoLines, lines.end()),
               {FinalFolderLine(f), kUndoneLine,
                std::string("Information: Meridal - 2013 a fost readusa la versiunea \"2.35\"."), kUndoneResult});
    CheckSnapshot(f, before, "byte for byte as before the upgrade");
    CheckRecordedVersion(kOldVersion);
    CheckFolderContents(kitFolder, {"lock"});

    Note("a second undo");
    lines = RunLoggedUnattended(logs + "\\again.log", 8, "/UNDO /S");
    Check(HasLineStartingWith(lines, "Error: Nu exista o versiune anterioara pastrata pentru aceasta instalare."),
          "log says nothing is kept");
    Check(!lines.empty() && lines.back() == kNothingToUndoResult, "log ends with the result of code 8");
    CheckSnapshot(f, before, "unchanged by the second undo");
    CheckRecordedVersion(kOldVersion);

    Note("a table and an added template changed after the upgrade");
    before = PrepareKeptInstallation(f);
    kitFolder = UpgradeKeeping(f, before, logs + "\\upgrade2.log");
    const std::string table = f + "\\1a.dbf", letter = f + "\\Data\\ModelComunicare.rtf";
    const std::string changedTable = g_payload.Item("A1") + "a row added after the upgrade";
    const std::string changedLetter = "{\\rtf1 the letter as the town hall wrote it}";
    PutFile(table, changedTable);
    PutFile(letter, changedLetter);
    lines = RunLoggedUnattended(logs + "\\undo2.log", 0, "/UNDO /S");
    Check(!lines.empty() && lines.back() == kUndoneResult, "log ends with the result of the undo");
    std::vector<std::string> keptNames;
    for (const auto& changed : {std::make_pair(table, changedTable), std::make_pair(letter, changedLetter)}) {
        const std::string kept = QuotedAfter(lines, ChangedKeptStart(changed.first));
        if (!Check(!kept.empty() && FolderOf(kept) == kitFolder,
                   "log says " + changed.first + " was changed and is kept in the kit's folder", Quoted(kept)))
            continue;
        CheckFileBytes(kept, changed.second, "is the changed copy");
        keptNames.push_back(FileNameOf(kept));
    }
    CheckSnapshot(f, before, "otherwise as before the upgrade");
    CheckRecordedVersion(kOldVersion);
    keptNames.push_back("lock");
    CheckFolderContents(kitFolder, keptNames);
}

// /UNDO without /S: no window, only the question, in a box of the kit's
// title with No as its default. Return answers No: nothing changes, exit 0.
// Yes puts the kept version back and says so in a second box.
void ScenarioUndoAsked() {
    const std::string f = kFolder, logs = "C:\\Jurnale";
    FreshFolder(logs);
    const Snapshot before = PrepareKeptInstallation(f);
    UpgradeKeeping(f, before, logs + "\\upgrade.log");
    const Snapshot upgraded = TakeSnapshot(f);
    for (const bool yes : {false, true}) {
        Note(yes ? "Yes" : "Return on the question");
        const std::string log = logs + (yes ? "\\yes.log" : "\\no.log");
        Kit kit;
        Dialog question;
        if (!kit.Launch(g_kitPath, "/UNDO \"/LOG=" + log + "\"") ||
            !Check(kit.WaitForDialog(question), "the question appears"))
            continue;
        CheckText("question's caption", question.caption, kErrorTitle);
        CheckStartsWith("question", question.text,
                        "Puneti la loc versiunea anterioara \"2.35\" in locul versiunii \"" KIT_VERSION_SHOWN "\"?\n");
        Check(FindTopLevel(kit.Pid(), "TForm1") == nullptr, "no kit window besides");
        if (yes) {
            DWORD_PTR result = 0;
            SendMessageTimeoutA(GetDlgItem(question.box, IDYES), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
        } else {
            SetForegroundWindow(question.box);
            PressKey(VK_RETURN);
        }
        Check(WaitUntil([&] { return !IsWindow(question.box) || !IsWindowVisible(question.box); }),
              "the answer closes the question");
        if (yes) {
            Dialog done;
            if (Check(kit.WaitForDialog(done), "a box tells the end")) {
                CheckDialog(done, "Information", "Meridal - 2013 a fost readusa la versiunea \"2.35\".");
                kit.PressOk(done);
            }
        }
        kit.CheckEndsWithZero(yes ? "Yes" : "No");
        const std::vector<std::string> lines = LogFileLines(log);
        CheckText("log's last line", lines.empty() ? "" : lines.back(), yes ? kUndoneResult : kUndoDeclinedResult);
        CheckSnapshot(f, yes ? before : upgraded, yes ? "as before the upgrade" : "unchanged");
        CheckRecordedVersion(yes ? kOldVersion : kNewVersion);
    }
}

}  // namespace e2e
