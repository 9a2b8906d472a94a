// Scenarios of what else the installation folder holds: files held by
// another program, files of killed runs, links planted where the kit
// writes, a folder of any name and paths beyond the classic limit.
#include <utility>

#include "e2e/DriverSteps.h"

namespace e2e {

// Something holds the executable for 20 s: the kit waits about two seconds,
// then asks to close the application and writes nothing. A program that
// lists the folder for 20 s, letting nobody open it for writing, holds up
// nothing: the unattended run completes.
void ScenarioHeldLong() {
    const std::string exe = PrepareOldInstallation();
    Child holder;
    if (!StartHolder(holder, exe, 20)) return;
    {
        Kit kit;
        Dialog box;
        if (StartArmed(kit)) {
            const DWORD clicked = GetTickCount();
            if (ClickUpgradeForDialog(kit, box)) {
                const DWORD waited = GetTickCount() - clicked;
                Note("the box came " + std::to_string(waited) + " ms after the click");
                Check(waited >= 1900 && waited < 10000, "the box comes after the kit waited about two seconds",
                      std::to_string(waited) + " ms");
                CheckDialog(box, "Error", kCloseFirst);
                kit.PressOk(box);
                CheckNothingWritten(kit);
            }
        }
    }
    holder.End();
    // Readable only once the holder has let go.
    CheckFileBytes(exe, OldExe(), "intact");

    Note("the folder listed by another program for 20 s, an unattended run");
    PrepareOldInstallation();
    Child lister;
    if (!StartLister(lister, kFolder, 20)) return;
    const std::string log = "C:\\Jurnale\\kit.log";
    FreshFolder("C:\\Jurnale");
    const DWORD started = GetTickCount();
    CheckLines("log file", RunLoggedUnattended(log, 0), UpgradedLog(kFolder));
    Note("the run took " + std::to_string(GetTickCount() - started) + " ms");
    Check(lister.Running(), "the folder was held all the while");
    lister.End();
    CheckAllItemsWritten(kFolder);
}

// Something holds the executable for a moment, as a virus scanner does:
// the kit waits and completes the run.
void ScenarioHeldBriefly() {
    const std::string exe = PrepareOldInstallation();
    Child holder;
    if (!StartHolder(holder, exe, 20)) return;
    Kit kit;
    if (!StartArmed(kit)) return;
    ClickOn(kit.upgrade);
    std::vector<std::string> temps;
    if (!Check(WaitUntil([&] {
                   temps.clear();
                   FindTempFiles(kFolder, temps);
                   return temps.size() == 1;
               }),
               "the kit writes the new executable to a temporary file"))
        return;
    const std::string& temp = temps.front();
    Check(temp.rfind(exe + ".~", 0) == 0 && temp.size() == exe.size() + 2 + 16 + 4,
          "named after its target with 16 random digits", temp);
    // Written whole, the kit goes on to open its held target and waits.
    const std::size_t size = g_payload.Item("MERIDAL").size();
    Check(WaitUntil([&] {
              WIN32_FILE_ATTRIBUTE_DATA data;
              return GetFileAttributesExW(Wide(temp).c_str(), GetFileExInfoStandard, &data) &&
                     data.nFileSizeLow == size;
          }),
          "the temporary file is written whole");
    // The scanner's moment goes on past the kit's first attempt at the
    // target, which follows the flush of the file now whole; the kit's
    // patience is two seconds.
    Sleep(500);
    Check(kit.NoDialog(), "the kit waits for the held executable");
    // Another program can't touch the file the kit holds open meanwhile.
    const BOOL deleted = DeleteFileA(temp.c_str());
    Check(!deleted && GetLastError() == ERROR_SHARING_VIOLATION,
          "deleting it meanwhile fails with a sharing violation");
    holder.End();
    Dialog box;
    if (!Check(kit.WaitForDialog(box), "a message box of the kit appears once the holder lets go")) return;
    CheckDialog(box, "Information", kUpgraded);
    CheckAllItemsWritten(kFolder);
    kit.PressOk(box);
}

// Files named as the kit names its own, or as earlier kits named theirs
// ("Anx3.rtf.~1F4.tmp", "Anx3.rtf.~1F4.1.bak"), mean nothing to it: the kit
// keeps its state in a folder of its own, so whatever the installation
// folder holds is left byte for byte. A run marker and a backup a user
// planted under the kit's names steer no unattended run either: edited
// report templates stay as they are, the planted program is never put in
// place, and the planted files are left where they are.
void ScenarioLeftovers() {
    PrepareOldInstallation();
    const std::string f = kFolder;
    PutFile(f + "\\Data\\Anx3.rtf", kOldAnnex);

    const std::vector<std::string> lookalikes = {
        "\\Meridal_2013.exe.~284.0.tmp", "\\Meridal_2013.exe.~1F4.tmp",     "\\Data\\Anx3.rtf.~1F4.tmp",
        "\\Data\\ANX3.RTF.~1F4.1.bak",   "\\Meridal_2013.exe.tmp",          "\\Meridal_2013.exe.~zz.tmp",
        "\\Data\\Anx3.rtf.~284",         "\\Data\\Anx3.rtf.~123456789.tmp", "\\Meridal_2013.~284.0.tmp",
    };
    for (const std::string& name : lookalikes) PutFile(f + name, "kept " + name);

    Kit kit;
    Dialog box;
    if (!UpgradeForDialog(kit, box)) return;
    CheckDialog(box, "Information", kUpgraded);
    kit.PressOk(box);
    std::vector<std::string> top = {"Data",   "Meridal_2013.exe", "modeltrz.dbf", "ModelFin.dbf",
                                    "1a.dbf", "1b.dbf",           "1c.dbf"};
    std::vector<std::string> data = {"raport.rtf", "Anx3.rtf", "Adev1.rtf", "ModelComunicare.rtf"};
    for (const std::string& name : lookalikes)
        (name.rfind("\\Data\\", 0) == 0 ? data : top).push_back(name.substr(name.find_last_of('\\') + 1));
    CheckFolderContents(f, top);
    CheckFolderContents(f + "\\Data", data);
    for (const std::string& name : lookalikes) CheckFileBytes(f + name, "kept " + name, "untouched");
    for (const CatalogueEntry& entry : kCatalogue) CheckWrittenAsItem(f, entry);
    kit.End();

    const std::string log = "C:\\Jurnale\\kit.log";
    FreshFolder("C:\\Jurnale");
    const std::vector<std::string> upgraded = {"Data",   "Meridal_2013.exe", "modeltrz.dbf", "ModelFin.dbf",
                                               "1a.dbf", "1b.dbf",           "1c.dbf"};

    // The low bits of a marker's tail read as targets a run added: here the
    // three report templates (catalogue positions 1, 3 and 9).
    Note("a read-only run marker planted by a user, its tail naming the edited report templates");
    PrepareOldInstallation();
    const std::string marker = f + "\\Meridal_2013.exe.~000000000000020A.run";
    const std::vector<std::pair<std::string, std::string>> edited = {
        {"\\Data\\raport.rtf", "{\\rtf1 the town hall's own report}"},
        {"\\Data\\Adev1.rtf", "{\\rtf1 the town hall's own certificate}"},
        {"\\Data\\ModelComunicare.rtf", "{\\rtf1 the town hall's own notice}"},
    };
    for (const auto& file : edited) PutFile(f + file.first, file.second);
    PutFile(marker, "");
    Check(SetFileAttributesW(Wide(marker).c_str(), FILE_ATTRIBUTE_READONLY) != FALSE, "the marker made read-only");
    CheckUnattended("/S", 0);
    for (const auto& file : edited) CheckFileBytes(f + file.first, file.second, "kept as edited");
    for (const CatalogueEntry& entry : kCatalogue)
        if (!entry.onlyIfMissing) CheckWrittenAsItem(f, entry);
    CheckRecordedVersion(kNewVersion);
    CheckFileBytes(marker, "", "left where it was");
    std::vector<std::string> expected = upgraded;
    expected.push_back("Meridal_2013.exe.~000000000000020A.run");
    CheckFolderContents(f, expected);
    CheckNoTempFiles(f);

    // Bit 0 names the program: a run that obeyed would put the planted
    // "backup" in its place.
    Note("a run marker and a backup holding a user's own program planted, 1a.dbf held");
    PrepareOldInstallation();
    const std::string planted = std::string("MZ a user's own program\r\n") + std::string(2000, 'u');
    const std::vector<std::string> plantedNames = {"Meridal_2013.exe.~0000000000000001.run",
                                                   "Meridal_2013.exe.~0000000000000001.bak"};
    PutFile(f + "\\" + plantedNames[0], "");
    PutFile(f + "\\" + plantedNames[1], planted);
    PutFile(f + "\\1a.dbf", "old table");
    Child holder;
    if (!StartHolder(holder, f + "\\1a.dbf", 60)) return;
    Check(HasLineStartingWith(RunLoggedUnattended(log, 3),
                              std::string(kErrorTitle) + ": Cannot create file \"" + f + "\\1a.dbf\". "),
          "the log tells the held table");
    holder.End();
    CheckFileBytes(f + "\\Meridal_2013.exe", OldExe(), "the old program, not the planted one");
    CheckFileBytes(f + "\\1a.dbf", "old table", "left as it was");
    CheckRecordedVersion(kOldVersion);
    CheckFolderContents(f, {"Data", "Meridal_2013.exe", "1a.dbf", plantedNames[0], plantedNames[1]});
    CheckFolderContents(f + "\\Data", {});

    Note("again, the table let go");
    CheckUnattended("/S", 0);
    CheckAllItemsWritten(f);
    CheckFileBytes(f + "\\" + plantedNames[0], "", "left where it was");
    CheckFileBytes(f + "\\" + plantedNames[1], planted, "left where it was");
    expected = upgraded;
    expected.insert(expected.end(), plantedNames.begin(), plantedNames.end());
    CheckFolderContents(f, expected);
}

// Links planted where the kit writes: Data or a target linked to a folder or
// file outside refuse the run with nothing written anywhere; links under the
// kit's own leftover names are left alone, and what they point to untouched.
void ScenarioLinks() {
    const std::string refused = "Meridalupgrade: Actualizarea a fost oprita si nu s-a scris nimic: \"";
    const std::string outside = "C:\\Outside", log = "C:\\Jurnale\\kit.log";
    MakeFolders("C:\\Jurnale");
    MakeFolders(outside);
    const std::vector<std::string> outsideFiles = {"a.rtf", "b.exe", "c.dbf", "raport.rtf"};
    for (const std::string& name : outsideFiles) PutFile(outside + "\\" + name, "outside " + name);
    auto checkOutsideUntouched = [&] {
        CheckFolderContents(outside, outsideFiles);
        for (const std::string& name : outsideFiles)
            CheckFileBytes(outside + "\\" + name, "outside " + name, "untouched");
    };
    // A refused run: exit 3, the log names the link, nothing written here or outside.
    auto checkRefused = [&](const std::string& folder, const std::string& named,
                            const std::vector<std::string>& files) {
        const std::vector<std::string> lines = RunLoggedUnattended(log, 3);
        Check(HasLineStartingWith(lines, refused + named), "log names the link");
        CheckFolderContents(folder, files);
        CheckFileBytes(folder + "\\Meridal_2013.exe", OldExe(), "left as it was");
        CheckRecordedVersion(kOldVersion);
        checkOutsideUntouched();
    };
    // Each case in an installation of its own: a linked folder is never removed.
    Note("Data linked to a folder outside");
    PrepareOldInstallation("C:\\Apps\\M1", false);
    if (MakeLink(outside, "C:\\Apps\\M1\\Data"))
        checkRefused("C:\\Apps\\M1", "C:\\Apps\\M1\\Data\"", {"Data", "Meridal_2013.exe"});

    Note("a target linked to a file outside");
    PrepareOldInstallation("C:\\Apps\\M2");
    if (MakeLink(outside + "\\c.dbf", "C:\\Apps\\M2\\modeltrz.dbf")) {
        checkRefused("C:\\Apps\\M2", "C:\\Apps\\M2\\modeltrz.dbf\"", {"Data", "Meridal_2013.exe", "modeltrz.dbf"});
        CheckFolderContents("C:\\Apps\\M2\\Data", {});
    }

    Note("links under the kit's leftover names");
    const std::string f = "C:\\Apps\\M3";
    PrepareOldInstallation(f);
    if (MakeLink(outside + "\\a.rtf", f + "\\Data\\Anx3.rtf.~1F4.tmp") &&
        MakeLink(outside + "\\b.exe", f + "\\Meridal_2013.exe.~2A.bak") &&
        MakeLink(outside + "\\raport.rtf", f + "\\Data\\raport.rtf.~2A.bak")) {
        RunLoggedUnattended(log, 0);
        CheckWrittenAsItem(f, Entry("MERIDAL"));
        CheckWrittenAsItem(f, Entry("RP"));  // the linked backup was not put back
        CheckRecordedVersion(kNewVersion);
        for (const char* link :
             {"\\Data\\Anx3.rtf.~1F4.tmp", "\\Meridal_2013.exe.~2A.bak", "\\Data\\raport.rtf.~2A.bak"})
            Check(Exists(f + link), std::string(link) + " left alone");
        checkOutsideUntouched();
    }

    // Where a user renamed the recorded folder and put a link to an
    // administrator's folder in its place (under Wine every link is a user's).
    Note("the recorded folder a link to another folder");
    SetRecord("C:\\Apps\\M4", kOldVersion);
    MakeFolders(outside + "\\Data");
    if (MakeLink(outside, "C:\\Apps\\M4")) {
        const std::vector<std::string> lines = RunLoggedUnattended(log, 3);
        Check(HasLineStartingWith(
                  lines, refused + "C:\\Apps\\M4\" este o legatura catre \"" + outside + "\", facuta de un utilizator"),
              "log names the link and where it leads");
        CheckRecordedVersion(kOldVersion);
        CheckFolderContents(outside + "\\Data", {});
        RemoveTree(outside + "\\Data");
        checkOutsideUntouched();
    }
}

// Writes the record the way an installer with a Unicode .reg file does: the
// file in UTF-16LE with a byte-order mark, imported by regedit. The 64-bit
// regedit of a 64-bit prefix reaches the 32-bit view by its key's name.
bool ImportRecord(const std::string& folder, const std::string& version) {
#ifdef _WIN64
    const std::string key = "HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Varnoti\\82";
#else
    const std::string key = "HKEY_LOCAL_MACHINE\\Software\\Varnoti\\82";
#endif
    std::string escaped;
    for (char c : folder) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    const std::wstring text = L"\xFEFF" + Wide("Windows Registry Editor Version 5.00\r\n\r\n[" + key +
                                               "]\r\n\"CALE\"=\"" + escaped + "\"\r\n\"VER\"=\"" + version + "\"\r\n");
    const std::string file = "C:\\record.reg";
    DeleteRecord();
    if (!Check(WriteBytes(file, std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2)),
               "wrote " + file + " in UTF-16LE"))
        return false;
    Child regedit;
    if (!regedit.Start("regedit", "C:\\windows\\regedit.exe", "/S " + file) ||
        !Check(regedit.WaitForExit(30000), "regedit /S ended"))
        return false;
    std::string cale;
    return Check(ReadRecordText("CALE", cale) && cale == folder, "CALE imported as " + Quoted(folder),
                 "reads " + Quoted(cale));
}

// A folder named with "ț" and "ă", which no ANSI code page of the region
// holds both of: its name shows right in the log, the error box and the
// /LOG file (made in a folder of such a name, then appended to), and the
// upgrade writes there.
void ScenarioUnicodeFolder() {
    const std::string f = "C:\\Prim\xC4\x83ria B\xC3\xA2rlad\\Asisten\xC8\x9B\xC4\x83 social\xC4\x83\\Meridal";
    const std::string logFolder =
                          "C:\\Jurnale \xC8\x9B"
                          "ar\xC4\x83",
                      logPath = logFolder + "\\kit.log";
    const std::string logSwitch = "\"/LOG=" + logPath + "\"";
    if (!ImportRecord(f, kOldVersion)) return;
    PrepareFolder(f, false);
    PutFile(f + "\\Meridal_2013.exe", OldExe());
    FreshFolder(logFolder);
    const std::string failure = "Cannot create file \"" + f + "\\Data\\raport.rtf\". ";
    const std::string reported = std::string(kErrorTitle) + ": " + failure;
    {
        Note("with the window, no Data folder yet");
        Kit kit;
        Dialog box;
        if (StartArmed(kit, logSwitch) && ClickUpgradeForDialog(kit, box)) {
            CheckLines("log after the check", kit.LogLines(), CheckedLog(f));
            CheckText("box caption", box.caption, kErrorTitle);
            CheckStartsWith("box text naming the file in the folder", box.text, failure);
            kit.PressOk(box);
            CloseWithButton(kit);
        }
    }
    Note("unattended, with the Data folder, the same log");
    MakeFolders(f + "\\Data");
    CheckUnattended("/S " + logSwitch, 0);
    CheckAllItemsWritten(f);
    std::string cale;
    Check(ReadRecordText("CALE", cale) && cale == f, "CALE left as it was", "reads " + Quoted(cale));

    const std::vector<std::string> lines = LogFileLines(logPath);
    const std::vector<std::string> second = UpgradedLog(f);
    std::string got;
    for (const std::string& line : lines) got += "\n        " + Quoted(line);
    Check(lines.size() == 6 + second.size() && lines[0] == LocationLine(f) && lines[1] == VersionLine("2.35") &&
              lines[2] == FinalFolderLine(f) && lines[3] == kProtections &&
              lines[4].compare(0, reported.size(), reported) == 0 &&
              std::equal(second.begin(), second.end(), lines.end() - second.size()),
          "log holds both runs, the folder named right", "got:" + got);

    Note("a folder name with an unpaired surrogate is refused, never read as another folder");
    const wchar_t broken[] = L"C:\\Meridal\xD800x";
    HKEY key = nullptr;
    Check(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRecordKey, 0, KEY_SET_VALUE | kRecordView, &key) == ERROR_SUCCESS &&
              RegSetValueExW(key, L"CALE", 0, REG_SZ, reinterpret_cast<const BYTE*>(broken), sizeof broken) ==
                  ERROR_SUCCESS,
          "CALE set to a name that is no valid Unicode");
    if (key) RegCloseKey(key);
    CheckUnattended("/S " + logSwitch, 1);
    const std::vector<std::string> refused = LogFileLines(logPath);
    Check(
        refused.size() >= 2 && refused[refused.size() - 2].find("Failed to get data for 'CALE'. ") != std::string::npos,
        "the log says the folder can't be read", refused.size() >= 2 ? refused[refused.size() - 2] : "no lines");
}

// A target at the classic limit of 259 characters: every item is written,
// through temporary names beyond that limit, and the log shows the plain
// path; the log itself lies beyond the limit. Wine gives no final path over
// about 263 characters, which the kit must do without.
void ScenarioLongPath() {
    const std::size_t kLongest = 259;  // the longest path of the classic limit (260 with the closing null)
    const std::string longest = "\\Data\\ModelComunicare.rtf";
    std::string f = "C:\\Apps";
    while (f.size() + 51 + longest.size() < kLongest) f += "\\" + std::string(50, 'd');
    f += "\\" + std::string(kLongest - longest.size() - f.size() - 1, 'm');
    Note("the longest target has " + std::to_string((f + longest).size()) + " characters");
    PrepareOldInstallation(f);
    PutFile(f + "\\Data\\Anx3.rtf", kOldAnnex);
    // The log in a folder beyond the limit too: created there, and checked
    // where Wine gives no final path.
    const std::string logFolder = "C:\\Jurnale\\" + std::string(120, 'j') + "\\" + std::string(140, 'k');
    const std::string logPath = logFolder + "\\kit.log";
    FreshFolder("\\\\?\\" + logFolder);
    CheckUnattended("/S /LOG=" + logPath, 0);
    CheckAllItemsWritten(f);
    CheckLines("log file", LogFileLines("\\\\?\\" + logPath), UpgradedLog(f));
}

}  // namespace e2e
