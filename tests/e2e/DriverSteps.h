// The steps the end-to-end scenarios share: the kit's texts as the driver
// expects them, installations prepared, the kit started and answered, the
// unattended run and its log file, links and files held by another program.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "driver/KitHarness.h"
#include "BuildVersion.h"

namespace e2e {

inline std::string g_kitPath;       // Windows path of MeridalUpgrade.exe
inline std::string g_driverFolder;  // where holdfile.exe lives too
inline Payload g_payload;

//=== The kit's texts =========================================================

const char kFolder[] = "C:\\Apps\\Meridal";
const char kOldVersion[] = "Meridal - 2013 v.2.35";
// The kit's version is the build's KIT_VERSION: shown and recorded in the
// shortest form, KIT_VERSION_SHOWN, and read back by the check as written,
// KIT_VERSION_STRING (see the generated BuildVersion.h).
const char kNewVersion[] = "Meridal - 2013 v." KIT_VERSION_SHOWN;
const char kCaption[] = "Meridal - 2013 - UpGrade v." KIT_VERSION_SHOWN;
const char kUpgradeCaption[] = "Actualizare la versiunea " KIT_VERSION_SHOWN;
const char kSearching[] = "Cautare...";  // the upgrade button's caption before the check arms it
const char kNotInstalled[] = "Programul Meridal - 2013 NU este instalat aici!";
const char kLatest[] = "Aveti deja ultima versiune!";
const char kErrorTitle[] = "Meridalupgrade";  // the kit's file name, as the error report's title
const char kCloseFirst[] = "Inchideti mai intai Meridal - 2013!";
const char kUpgraded[] = "Meridal - 2013 a fost actualizata la versiunea " KIT_VERSION_SHOWN ".";
const char kUpgradedResult[] = "Rezultat: actualizat la versiunea " KIT_VERSION_SHOWN " (cod 0)";
const char kFailedResult[] = "Rezultat: eroare (mesajul de mai sus), versiunea nu a fost inregistrata (cod 3)";
const char kOldAnnex[] = "{\\rtf1 old annex}";
// What the log file alone notes before files are written: the folder's final
// path, and the hardening (Wine 8 accepts the redirection guard and doesn't
// apply it).
inline std::string FinalFolderLine(const std::string& folder) { return "Dosarul programului, cale finala: " + folder; }
const char kProtections[] = "Protectii: cautarea DLL doar in System32 activa; Redirection Guard inactiv";

// Whether an installed "d.dd" counts as the kit's version or newer: units,
// then hundredths.
inline bool AtLeastKit(const std::string& version) {
    return (version[0] - '0') * 100 + std::atoi(version.c_str() + 2) >= KIT_VERSION_MAJOR * 100 + KIT_VERSION_MINOR;
}

inline std::string LocationLine(const std::string& folder) { return "Cale Meridal - 2013 : " + folder; }
inline std::string VersionLine(const std::string& version) { return "Versiune instalata     : " + version; }
// The window's log after the check of v.2.35 in folder.
inline std::vector<std::string> CheckedLog(const std::string& folder = kFolder) {
    return {LocationLine(folder), VersionLine("2.35")};
}
// Where an upgrade keeps the files it replaced: the kit's folder in the
// prefix's common application data, where nobody planted its name.
const char kKeptLine[] = "Fisierele inlocuite sunt pastrate in \"C:\\ProgramData\\MeridalUpgrade\".";
// The log file of a complete upgrade of v.2.35 in folder.
inline std::vector<std::string> UpgradedLog(const std::string& folder) {
    return {LocationLine(folder),
            VersionLine("2.35"),
            FinalFolderLine(folder),
            kProtections,
            "Versiune actualizata.",
            kKeptLine,
            std::string("Information: ") + kUpgraded,
            kUpgradedResult};
}

inline bool CheckStartsWith(const std::string& what, const std::string& text, const std::string& start) {
    return Check(text.compare(0, start.size(), start) == 0, what + " starts " + Quoted(start), "got " + Quoted(text));
}

//=== Installations ===========================================================

// An empty folder, made afresh.
inline void FreshFolder(const std::string& folder) {
    RemoveTree(folder);
    MakeFolders(folder);
}

// An empty installation folder, with its Data subfolder when asked for.
inline void PrepareFolder(const std::string& folder, bool withData) {
    FreshFolder(folder);
    if (withData) MakeFolders(folder + "\\Data");
    Check(IsFolder(folder) && IsFolder(folder + "\\Data") == withData,
          "installation folder " + folder + (withData ? " with" : " without") + " Data prepared");
}

inline std::string OldExe() { return std::string("MZ old Meridal build\r\n") + std::string(3000, 'x'); }

inline void PutFile(const std::string& path, const std::string& bytes) {
    Check(WriteBytes(path, bytes), "prepared " + path + " (" + std::to_string(bytes.size()) + " bytes)");
}

// An installation of v.2.35 in folder with the old program, and its Data
// folder when asked for; gives the program's path.
inline std::string PrepareOldInstallation(const std::string& folder = kFolder, bool withData = true) {
    SetRecord(folder, kOldVersion);
    PrepareFolder(folder, withData);
    const std::string exe = folder + "\\Meridal_2013.exe";
    PutFile(exe, OldExe());
    return exe;
}

inline const CatalogueEntry& Entry(const char* code) {
    for (const CatalogueEntry& entry : kCatalogue)
        if (std::strcmp(entry.code, code) == 0) return entry;
    return kCatalogue[0];
}

inline void CheckWrittenAsItem(const std::string& folder, const CatalogueEntry& entry) {
    CheckFileBytes(folder + entry.path, g_payload.Item(entry.code),
                   "is byte-identical to item " + std::string(entry.code));
}

inline void CheckAllItemsWritten(const std::string& folder) {
    for (const CatalogueEntry& entry : kCatalogue) CheckWrittenAsItem(folder, entry);
    CheckNoTempFiles(folder);
    CheckRecordedVersion(kNewVersion);
}

// Nothing written: the folder holds what it held (its Data folder too
// where one is listed), the old program and record, no temporary file.
inline void CheckFolderAsItWas(const std::string& folder, const std::vector<std::string>& files,
                               const std::vector<std::string>& dataFiles = {}) {
    CheckFolderContents(folder, files);
    if (std::find(files.begin(), files.end(), "Data") != files.end()) CheckFolderContents(folder + "\\Data", dataFiles);
    CheckFileBytes(folder + "\\Meridal_2013.exe", OldExe(), "left as it was");
    CheckNoTempFiles(folder);
    CheckRecordedVersion(kOldVersion);
}

// The run stopped and wrote nothing in the kit's window: the folder as it
// was, no temporary file, the old record, the log and the armed button.
inline void CheckNothingWritten(const Kit& kit) {
    CheckFolderContents(kFolder, {"Data", "Meridal_2013.exe"});
    CheckFolderContents(std::string(kFolder) + "\\Data", {});
    CheckNoTempFiles(kFolder);
    CheckRecordedVersion(kOldVersion);
    Check(IsWindowEnabled(kit.upgrade) != FALSE, "upgrade button still enabled");
    CheckLines("log unchanged", kit.LogLines(), CheckedLog());
}

//=== The kit's window ========================================================

inline bool WaitArmed(Kit& kit) {
    return Check(WaitUntil([&] { return IsWindowEnabled(kit.upgrade) != FALSE; }),
                 "upgrade button enabled by the check") &&
           CheckText("upgrade button caption", TextOf(kit.upgrade), kUpgradeCaption);
}

// Starts the kit on a found installation and waits until the upgrade button
// is armed.
inline bool StartArmed(Kit& kit, const std::string& arguments = std::string()) {
    return kit.Start(g_kitPath, arguments) && WaitArmed(kit);
}

// Starts the kit and waits for the check that finds no installation.
inline bool StartNotInstalled(Kit& kit) { return kit.Start(g_kitPath) && kit.WaitForCheck(); }

inline bool ClickUpgradeForDialog(Kit& kit, Dialog& dialog) {
    ClickOn(kit.upgrade);
    return Check(kit.WaitForDialog(dialog), "a message box of the kit appears after the click");
}

// Starts the kit armed, clicks the upgrade and gets the kit's box.
inline bool UpgradeForDialog(Kit& kit, Dialog& dialog) { return StartArmed(kit) && ClickUpgradeForDialog(kit, dialog); }

inline void CheckDialog(const Dialog& dialog, const std::string& caption, const std::string& text) {
    CheckText("box caption", dialog.caption, caption);
    CheckText("box text", dialog.text, text);
}

inline bool CheckErrorReport(Kit& kit, Dialog& box) {
    return Check(kit.WaitForDialog(box), "error report appears") && CheckText("box caption", box.caption, kErrorTitle);
}

// A click made while the focus was on focusBefore shows nothing: once the
// kit has handled it, no box is open and the window takes input.
inline void CheckClickShowsNothing(const Kit& kit, HWND focusBefore, const std::string& what) {
    Check(kit.InputHandled(focusBefore) && kit.NoDialog() && IsWindowEnabled(kit.form), what + " shows nothing");
}

inline void CloseWithButton(Kit& kit) {
    ClickOn(kit.close);
    kit.CheckEndsWithZero("a click on \"Inchide\"");
}

// The report "Cannot create file "<...\name>". <the system's text for code>."
inline void CheckReportOf(const std::string& text, const std::string& name, DWORD code) {
    char* reason = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<char*>(&reason), 0, nullptr);
    std::string systemText = reason ? reason : "";
    LocalFree(reason);
    while (!systemText.empty() && (static_cast<unsigned char>(systemText.back()) <= ' ' || systemText.back() == '.'))
        systemText.pop_back();
    const std::string tail = "\\" + name + "\". " + systemText;
    Check(text.compare(0, 20, "Cannot create file \"") == 0 && text.find(tail) != std::string::npos,
          "report names " + name + " and gives the system's text for error " + std::to_string(code),
          "got " + Quoted(text));
}

//=== The unattended run ======================================================

// Runs the kit (or the copy at kitPath) with the arguments until it ends and
// checks its exit code and that it showed no window all the while.
inline void CheckUnattended(const std::wstring& arguments, DWORD expectedCode, const std::string& kitPath = g_kitPath) {
    Child kit;
    if (!kit.Start("kit with " + Utf8(arguments), kitPath, arguments, "C:\\")) return;
    std::string windows;
    const DWORD start = GetTickCount();
    bool ended = false;
    while (!(ended = kit.WaitForExit(5)) && GetTickCount() - start < 30000) {
        WindowSearch search = {kit.Pid(), nullptr, {}};
        EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
        for (HWND window : search.found) windows += " " + ClassOf(window) + " " + Quoted(TextOf(window));
    }
    if (!Check(ended, "kit ended by itself within 30 s")) return;
    DWORD code = 99;
    GetExitCodeProcess(kit.Handle(), &code);
    Check(code == expectedCode, "exit code " + std::to_string(expectedCode), "got " + std::to_string(code));
    Check(windows.empty(), "no window appeared", "seen:" + windows);
}
inline void CheckUnattended(const std::string& arguments, DWORD expectedCode, const std::string& kitPath = g_kitPath) {
    CheckUnattended(Wide(arguments), expectedCode, kitPath);
}

// The log's lines without their leading date and time, each checked to have
// one ("dd.MM.yyyy hh:mm:ss  "). The kit made the file: it starts with the
// UTF-8 byte-order mark, and only there.
inline std::vector<std::string> LogFileLines(const std::string& path) {
    std::string text;
    std::vector<std::string> lines;
    if (!ReadBytes(path, text)) return lines;
    const bool marked = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    Check(marked, "the log starts with the UTF-8 byte-order mark");
    bool stamped = true;
    std::size_t start = marked ? 3 : 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = text.substr(start, end - start);
        stamped = stamped && line.size() >= 21 && line[2] == '.' && line[5] == '.' && line[10] == ' ' &&
                  line[13] == ':' && line[16] == ':' && line.compare(19, 2, "  ") == 0;
        lines.push_back(line.size() >= 21 ? line.substr(21) : line);
    }
    Check(stamped && start == text.size(), "every log line starts with date and time and ends with CR LF");
    return lines;
}

// Runs the kit with the switches ("/S", "/UNDO /S") and the log at logPath
// (checked as CheckUnattended does); gives the log's lines.
inline std::vector<std::string> RunLoggedUnattended(const std::string& logPath, DWORD expectedCode,
                                                    const std::wstring& switches) {
    CheckUnattended(switches + Wide(" \"/LOG=" + logPath + "\""), expectedCode);
    return LogFileLines(logPath);
}
inline std::vector<std::string> RunLoggedUnattended(const std::string& logPath, DWORD expectedCode,
                                                    const std::string& switches = "/S") {
    return RunLoggedUnattended(logPath, expectedCode, Wide(switches));
}

inline bool HasLineStartingWith(const std::vector<std::string>& lines, const std::string& start) {
    for (const std::string& line : lines)
        if (line.compare(0, start.size(), start) == 0) return true;
    return false;
}

// A symbolic link object named name (an NT object name) that leads nowhere:
// a named object made at its name fails, as a path not found.
inline fw::unique_handle LinkObjectToNowhere(const wchar_t* name) {
    struct CountedText {
        USHORT length, capacity;
        const wchar_t* text;
    };
    struct ObjectAttributes {
        ULONG size;
        HANDLE root;
        CountedText* name;
        ULONG attributes;
        void *security, *quality;
    };
    using Create = LONG(WINAPI*)(HANDLE*, ACCESS_MASK, ObjectAttributes*, CountedText*);
    const auto create = reinterpret_cast<Create>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtCreateSymbolicLinkObject")));
    const wchar_t* target = L"\\BaseNamedObjects\\Nowhere\\Nothing";
    CountedText linkName = {static_cast<USHORT>(wcslen(name) * 2), static_cast<USHORT>(wcslen(name) * 2), name};
    CountedText targetName = {static_cast<USHORT>(wcslen(target) * 2), static_cast<USHORT>(wcslen(target) * 2), target};
    ObjectAttributes attributes = {sizeof(ObjectAttributes),    nullptr, &linkName,
                                   0x40 /* case-insensitive */, nullptr, nullptr};
    HANDLE link = nullptr;
    if (!create || create(&link, 0xF0001 /* SYMBOLIC_LINK_ALL_ACCESS */, &attributes, &targetName) < 0)
        return fw::unique_handle();
    return fw::unique_handle(link);
}

//=== The kept version and the undo ==========================================

const char kUndoneLine[] = "Versiunea anterioara a fost pusa la loc.";
const char kUndoneResult[] = "Rezultat: versiunea anterioara pusa la loc (cod 0)";
const char kNothingToUndoResult[] = "Rezultat: nicio versiune anterioara de pus la loc, nimic schimbat (cod 8)";
const char kUndoDeclinedResult[] = "Rezultat: renuntat, nimic schimbat (cod 0)";
// "Fisierul "<target>" a fost schimbat dupa actualizare; nu a fost sters si se afla in "<path>"."
inline std::string ChangedKeptStart(const std::string& target) {
    return "Fisierul \"" + target + "\" a fost schimbat dupa actualizare; nu a fost sters si se afla in \"";
}

// What follows start on the log line that begins with it, up to the closing
// quote and full stop; empty when no line does.
inline std::string QuotedAfter(const std::vector<std::string>& lines, const std::string& start) {
    for (const std::string& line : lines)
        if (line.compare(0, start.size(), start) == 0 && line.size() > start.size() + 2 &&
            line.compare(line.size() - 2, 2, "\".") == 0)
            return line.substr(start.size(), line.size() - start.size() - 2);
    return std::string();
}

// Every file and folder below folder ("\\Data\\", "\\Data\\Anx3.rtf"), a
// file with its bytes, sorted by path.
using Snapshot = std::vector<std::pair<std::string, std::string>>;

inline void AddBelow(const std::string& folder, const std::string& below, Snapshot& snapshot) {
    for (const std::string& name : ListFolder(folder + below)) {
        const std::string path = below + "\\" + name;
        std::string bytes;
        if (IsFolder(folder + path)) {
            snapshot.emplace_back(path + "\\", bytes);
            AddBelow(folder, path, snapshot);
        } else {
            if (!ReadBytes(folder + path, bytes)) bytes = "<unreadable>";
            snapshot.emplace_back(path, bytes);
        }
    }
}

inline Snapshot TakeSnapshot(const std::string& folder) {
    Snapshot snapshot;
    AddBelow(folder, "", snapshot);
    std::sort(snapshot.begin(), snapshot.end());
    return snapshot;
}

// The folder holds what the snapshot held, byte for byte, and nothing else.
inline void CheckSnapshot(const std::string& folder, const Snapshot& expected, const std::string& what) {
    const Snapshot actual = TakeSnapshot(folder);
    std::string differences;
    std::size_t a = 0, e = 0;
    while (a < actual.size() || e < expected.size()) {
        if (e == expected.size() || (a < actual.size() && actual[a].first < expected[e].first)) {
            differences += " new " + actual[a++].first + ";";
        } else if (a == actual.size() || expected[e].first < actual[a].first) {
            differences += " gone " + expected[e++].first + ";";
        } else {
            if (actual[a].second != expected[e].second) differences += " other bytes in " + actual[a].first + ";";
            ++a, ++e;
        }
    }
    Check(differences.empty(), folder + " " + what, differences);
}

// The files of the kit's folder but its lock, which is no part of a kept version.
inline std::vector<std::string> KitFolderFiles(const std::string& kitFolder) {
    std::vector<std::string> names = ListFolder(kitFolder);
    names.erase(std::remove(names.begin(), names.end(), "lock"), names.end());
    return names;
}

// Whether name is start, 16 hexadecimal digits and end.
inline bool NamedWithTail(const std::string& name, const std::string& start, const std::string& end) {
    if (name.size() != start.size() + 16 + end.size() || name.compare(0, start.size(), start) != 0 ||
        name.compare(name.size() - end.size(), end.size(), end) != 0)
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(start.size()),
                       name.end() - static_cast<std::ptrdiff_t>(end.size()),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

//=== Other programs' doings ==================================================

// holdfile.exe holding a file open without sharing, as a virus scanner or a
// running program would; ending it lets go of the file.
inline bool StartHolder(Child& holder, const std::string& path, int seconds) {
    if (!holder.Start("holdfile", g_driverFolder + "\\holdfile.exe", "\"" + path + "\" " + std::to_string(seconds)))
        return false;
    return Check(WaitUntil([&] {
                     HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
                     if (probe != INVALID_HANDLE_VALUE) CloseHandle(probe);
                     return probe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
                 }),
                 path + " is held open without sharing");
}

// holdfile.exe listing a folder, shared for reading only, as a program that
// browses it may: meanwhile nobody can open the folder for writing, whatever
// sharing they offer.
inline bool StartLister(Child& lister, const std::string& folder, int seconds) {
    if (!lister.Start("holdfile /list", g_driverFolder + "\\holdfile.exe",
                      "/list \"" + folder + "\" " + std::to_string(seconds)))
        return false;
    return Check(WaitUntil([&] {
                     const fw::unique_hfile probe(CreateFileW(
                         Wide(folder).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
                     return !probe && GetLastError() == ERROR_SHARING_VIOLATION;
                 }),
                 folder + " is held open for listing, shared for reading only");
}

// A Unix symbolic link at link to target (both Windows paths): what a
// junction or a symbolic link is on Windows. Wine shows a link to a folder
// as a reparse point, a link to a file as a plain file.
inline bool MakeLink(const std::string& target, const std::string& link) {
    using UnixFileName = char*(CDECL*)(const WCHAR*);
    auto unixFileName = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    auto unixPath = [&](const std::string& path) {
        WCHAR wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        char* name = unixFileName ? unixFileName(wide) : nullptr;
        std::string text = name ? name : "";
        HeapFree(GetProcessHeap(), 0, name);
        return text;
    };
    Child ln;
    if (!ln.Start("ln", "Z:\\bin\\ln", "-s \"" + unixPath(target) + "\" \"" + unixPath(link) + "\"")) return false;
    // A Unix program started from Wine gives no handle to wait on.
    return Check(WaitUntil([&] { return Exists(link); }), link + " is a link to " + target);
}

}  // namespace e2e
