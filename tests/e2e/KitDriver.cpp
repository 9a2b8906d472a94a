// Drives the real kit the way a user does, inside a throwaway Wine prefix.
//   kitdriver.exe <scenario> <path of MeridalUpgrade.exe>
// Each scenario prepares the installation record and files, starts the kit,
// works its window with real input, checks what it shows and what it leaves
// behind through the Win32 API, and ends it. Exit code 0 means every check
// passed; each check prints one line, failures start with "FAIL".
#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "e2e/KitHarness.h"
#include "kit/BuildVersion.h"

using namespace e2e;

namespace {

//=== Pixels ==================================================================

// One row of a window's pixels as the screen shows them. (The window's own
// DC, read from another process, gives black for a child of the kit's
// layered form under Wine.)
std::vector<COLORREF> PixelRow(HWND window, int y) {
    const Image image = CaptureFromScreen(window);
    if (y < 0 || y >= image.height) return {};
    return std::vector<COLORREF>(image.pixels.begin() + y * image.width, image.pixels.begin() + (y + 1) * image.width);
}

// 0x00BBGGRR as 0x00RRGGBB, the way colours are written in the messages.
DWORD AsPixel(COLORREF color) {
    return (static_cast<DWORD>(GetRValue(color)) << 16) | (static_cast<DWORD>(GetGValue(color)) << 8) |
           GetBValue(color);
}

// The colours across the middle of a row, left quarter, centre, right quarter.
std::vector<COLORREF> FaceSamples(HWND button, int y) {
    const std::vector<COLORREF> row = PixelRow(button, y);
    if (row.empty()) return row;
    const std::size_t w = row.size();
    return {row[w / 4], row[w / 2], row[3 * w / 4]};
}

bool FaceIs(HWND button, COLORREF color) {
    const std::vector<COLORREF> samples = FaceSamples(button, 7);
    return !samples.empty() && std::all_of(samples.begin(), samples.end(), [&](COLORREF p) { return p == color; });
}

std::string FaceText(HWND button) {
    std::string text;
    for (COLORREF p : FaceSamples(button, 7)) text += " " + Hex(AsPixel(p), 6);
    return "row 7 reads (RRGGBB)" + text;
}

//=== Common steps ============================================================

std::string g_kitPath;       // Windows path of MeridalUpgrade.exe
std::string g_driverFolder;  // where holdfile.exe lives too
Payload g_payload;

const char kFolder[] = "C:\\Apps\\Meridal";
const char kOldVersion[] = "Meridal - 2013 v.2.35";
// The kit's version is the build's KIT_VERSION: shown and recorded in the
// shortest form, KIT_VERSION_SHOWN, and read back by the check as written,
// KIT_VERSION_STRING (see kit/BuildVersion.h).
const char kNewVersion[] = "Meridal - 2013 v." KIT_VERSION_SHOWN;
const char kCaption[] = "Meridal - 2013 - UpGrade v." KIT_VERSION_SHOWN;
const char kUpgradeCaption[] = "Actualizare la versiunea " KIT_VERSION_SHOWN;
const char kNotInstalled[] = "Programul Meridal - 2013 NU este instalat aici!";
const char kLatest[] = "Aveti deja ultima versiune!";
const char kErrorTitle[] = "Meridalupgrade";  // the kit's file name, as the error report's title
const char kCloseFirst[] = "Inchideti mai intai Meridal - 2013!";
const char kUpgraded[] = "Meridal - 2013 a fost actualizata la versiunea " KIT_VERSION_SHOWN ".";
const char kUpgradedResult[] = "Rezultat: actualizat la versiunea " KIT_VERSION_SHOWN " (cod 0)";
// What the log file alone notes before files are written: the folder's final
// path, and the hardening (Wine 8 accepts the redirection guard and doesn't
// apply it).
std::string FinalFolderLine(const std::string& folder) { return "Dosarul programului, cale finala: " + folder; }
const char kProtections[] = "Protectii: cautarea DLL doar in System32 activa; Redirection Guard inactiv";

// Whether an installed "d.dd" counts as the kit's version or newer: units,
// then hundredths.
bool AtLeastKit(const std::string& version) {
    return (version[0] - '0') * 100 + std::atoi(version.c_str() + 2) >= KIT_VERSION_MAJOR * 100 + KIT_VERSION_MINOR;
}

std::string LocationLine(const std::string& folder) { return "Cale Meridal - 2013 : " + folder; }
std::string VersionLine(const std::string& version) { return "Versiune instalata     : " + version; }
// The log file of a complete upgrade of v.2.35 in folder.
std::vector<std::string> UpgradedLog(const std::string& folder) {
    return {LocationLine(folder), VersionLine("2.35"),     FinalFolderLine(folder),
            kProtections,         "Versiune actualizata.", std::string("Information: ") + kUpgraded,
            kUpgradedResult};
}

// An empty installation folder, with its Data subfolder when asked for.
void PrepareFolder(const std::string& folder, bool withData) {
    RemoveTree(folder);
    MakeFolders(folder);
    if (withData) MakeFolders(folder + "\\Data");
    Check(IsFolder(folder) && IsFolder(folder + "\\Data") == withData,
          "installation folder " + folder + (withData ? " with" : " without") + " Data prepared");
}

std::string OldExe() { return std::string("MZ old Meridal build\r\n") + std::string(3000, 'x'); }

void PutFile(const std::string& path, const std::string& bytes) {
    Check(WriteBytes(path, bytes), "prepared " + path + " (" + std::to_string(bytes.size()) + " bytes)");
}

// An installation of v.2.35 with its Data folder and the old program; gives
// the program's path.
std::string PrepareOldInstallation() {
    SetRecord(kFolder, kOldVersion);
    PrepareFolder(kFolder, true);
    const std::string exe = std::string(kFolder) + "\\Meridal_2013.exe";
    PutFile(exe, OldExe());
    return exe;
}

// Starts the kit on a found installation and waits until the upgrade button is armed.
bool StartArmed(Kit& kit) {
    if (!kit.Start(g_kitPath)) return false;
    return Check(WaitUntil([&] { return IsWindowEnabled(kit.upgrade) != FALSE; }),
                 "upgrade button enabled by the check") &&
           CheckText("upgrade button caption", TextOf(kit.upgrade), kUpgradeCaption);
}

bool ClickUpgradeForDialog(Kit& kit, Dialog& dialog) {
    ClickOn(kit.upgrade);
    return Check(kit.WaitForDialog(dialog), "a message box of the kit appears after the click");
}

void CheckDialog(const Dialog& dialog, const std::string& caption, const std::string& text) {
    CheckText("box caption", dialog.caption, caption);
    CheckText("box text", dialog.text, text);
}

void CheckWrittenAsItem(const std::string& folder, const CatalogueEntry& entry) {
    CheckFileBytes(folder + entry.path, g_payload.Item(entry.code),
                   "is byte-identical to item " + std::string(entry.code));
}

const CatalogueEntry& Entry(const char* code) {
    for (const CatalogueEntry& entry : kCatalogue)
        if (std::strcmp(entry.code, code) == 0) return entry;
    return kCatalogue[0];
}

//=== Scenarios: the window and the version check =============================

// The window as it first shows, the check of an older installation, and Esc.
void ScenarioWindow() {
    SetRecord(kFolder, kOldVersion);
    PrepareFolder(kFolder, true);
    Kit kit;
    if (!kit.Start(g_kitPath)) return;

    // Before the check, which runs a second after the window shows.
    CheckText("window caption on first sight", TextOf(kit.form), kCaption);
    Check(!IsWindowEnabled(kit.upgrade), "upgrade button disabled before the check");
    CheckText("upgrade button caption before the check", TextOf(kit.upgrade), "Cautare...");
    CheckText("close button caption", TextOf(kit.close), "Inchide");
    Check(IsWindowEnabled(kit.close) != FALSE, "close button enabled");
    RECT client;
    GetClientRect(kit.form, &client);
    Check(client.right == 441 && client.bottom == 179, "client area 441 x 179",
          std::to_string(client.right) + " x " + std::to_string(client.bottom));
    const LONG style = GetWindowLongA(kit.form, GWL_STYLE), exStyle = GetWindowLongA(kit.form, GWL_EXSTYLE);
    Check((exStyle & WS_EX_TOPMOST) != 0, "window stays on top (WS_EX_TOPMOST)");
    Check((style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0, "no minimise or maximise box");
    Check((style & WS_SYSMENU) != 0 && (style & WS_THICKFRAME) == 0, "close box, fixed border");

    if (!Check(WaitUntil([&] { return IsWindowEnabled(kit.upgrade) != FALSE; }), "upgrade button enabled by the check"))
        return;
    CheckLines("log after the check", kit.LogLines(), {LocationLine(kFolder), VersionLine("2.35")});
    CheckText("upgrade button caption", TextOf(kit.upgrade), kUpgradeCaption);

    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    Check(GetGUIThreadInfo(kit.GuiThread(), &gui) && gui.hwndFocus == kit.log, "the log has the keyboard focus");
    if (GetForegroundWindow() == kit.form) {
        Note("kit window is in the foreground: Esc by SendInput");
        PressKey(VK_ESCAPE);
    } else {
        Note("kit window is not in the foreground: Esc posted to the log");
        PostMessageA(kit.log, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageA(kit.log, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    }
    kit.CheckEndsWithZero("Esc in the log");
}

enum class CloseBy { CloseBox, CloseMessage, CloseButton };

// Recorded versions against the kit's, each closed another way.
void ScenarioVersions() {
    struct Case {
        const char* recorded;
        const char* shown;
        bool latest;
        CloseBy closeBy;
    };
    const Case cases[] = {
        {kNewVersion, KIT_VERSION_STRING, true, CloseBy::CloseBox},
        {"Meridal - 2013 v.2.4", "2.40", AtLeastKit("2.40"), CloseBy::CloseButton},
        {"Meridal - 2013 v.2.05", "2.05", AtLeastKit("2.05"), CloseBy::CloseMessage},
        {"Meridal - 2013 v.1.50", "1.50", AtLeastKit("1.50"), CloseBy::CloseButton},
    };
    PrepareFolder(kFolder, true);
    for (const Case& c : cases) {
        Note(std::string("recorded ") + Quoted(c.recorded));
        SetRecord(kFolder, c.recorded);
        Kit kit;
        if (!StartArmed(kit)) continue;
        std::vector<std::string> expected = {LocationLine(kFolder), VersionLine(c.shown)};
        if (c.latest) expected.push_back(kLatest);
        CheckLines("log after the check", kit.LogLines(), expected);
        switch (c.closeBy) {
        case CloseBy::CloseBox:
            PostMessageA(kit.form, WM_SYSCOMMAND, SC_CLOSE, 0);
            kit.CheckEndsWithZero("the close box (SC_CLOSE)");
            break;
        case CloseBy::CloseMessage:
            PostMessageA(kit.form, WM_CLOSE, 0, 0);
            kit.CheckEndsWithZero("WM_CLOSE");
            break;
        case CloseBy::CloseButton:
            ClickOn(kit.close);
            kit.CheckEndsWithZero("a click on \"Inchide\"");
            break;
        }
    }
}

// Records that name no installation.
void ScenarioNotInstalled() {
    struct Case {
        const char* what;
        const char* folder;    // empty: no CALE
        const char* recorded;  // empty: no VER; null: no key at all
    };
    const Case cases[] = {
        {"no record at all", "", nullptr},
        {"no CALE", "", kOldVersion},
        {"VER without digits", kFolder, "Meridal - abcd"},
        {"VER v.x.yz", kFolder, "v.x.yz"},
    };
    PrepareFolder(kFolder, true);
    for (const Case& c : cases) {
        Note(c.what);
        if (c.recorded) SetRecord(c.folder, c.recorded);
        else DeleteRecord();
        Kit kit;
        if (!kit.Start(g_kitPath) || !kit.WaitForCheck()) continue;
        CheckLines("log after the check", kit.LogLines(), {kNotInstalled});
        Check(!IsWindowEnabled(kit.upgrade), "upgrade button disabled");
        CheckText("upgrade button caption", TextOf(kit.upgrade), "Cautare...");
        if (!c.recorded) {
            HKEY key = nullptr;
            DWORD subkeys = 1, values = 1;
            const bool opened =
                RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRecordKey, 0, KEY_READ | kRecordView, &key) == ERROR_SUCCESS;
            if (opened) {
                RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                                 nullptr, nullptr);
                RegCloseKey(key);
            }
            Check(opened, "key Software\\Varnoti\\82 exists afterwards");
            Check(opened && subkeys == 0 && values == 0, "and is empty",
                  std::to_string(values) + " values, " + std::to_string(subkeys) + " subkeys");
        }
    }
}

// A record in the 64-bit registry view alone is not the 32-bit application's:
// the kit reports it as not installed, writes nothing and leaves it alone.
void ScenarioRecord64BitView() {
    DeleteRecord();
    DeleteRecord(KEY_WOW64_64KEY);
    const bool ok =
        SetRecordText("CALE", kFolder, KEY_WOW64_64KEY) && SetRecordText("VER", kOldVersion, KEY_WOW64_64KEY);
    if (!Check(ok, "record prepared in the 64-bit view only")) return;
    PrepareFolder(kFolder, true);
    PutFile(std::string(kFolder) + "\\Meridal_2013.exe", OldExe());
    Kit kit;
    if (!kit.Start(g_kitPath) || !kit.WaitForCheck()) return;
    CheckLines("log after the check", kit.LogLines(), {kNotInstalled});
    Check(!IsWindowEnabled(kit.upgrade), "upgrade button disabled");
    CheckFolderContents(kFolder, {"Data", "Meridal_2013.exe"});
    CheckFileBytes(std::string(kFolder) + "\\Meridal_2013.exe", OldExe(), "left alone");
    std::string version;
    Check(ReadRecordText("VER", version, KEY_WOW64_64KEY) && version == kOldVersion,
          "the 64-bit view's VER is left alone", "got " + Quoted(version));
    ClickOn(kit.close);
    kit.CheckEndsWithZero("a click on \"Inchide\"");
}

// Versions that are no numbers reach the error report; the window goes on.
void ScenarioBadVersion() {
    PrepareFolder(kFolder, true);
    {
        Note("VER \"Meridal - 2013 v.2.3x\"");
        SetRecord(kFolder, "Meridal - 2013 v.2.3x");
        Kit kit;
        Dialog box;
        if (!kit.Start(g_kitPath)) return;
        if (Check(kit.WaitForDialog(box), "error report appears")) {
            CheckDialog(box, kErrorTitle, "'3x' is not a valid integer value.");
            CheckLines("log under the report", kit.LogLines(), {LocationLine(kFolder), VersionLine("2.3x")});
            CheckText("upgrade button caption", TextOf(kit.upgrade), kUpgradeCaption);
            Check(!IsWindowEnabled(kit.upgrade), "upgrade button disabled");
            kit.PressOk(box);
            Check(WaitUntil([&] { return IsWindowEnabled(kit.form) != FALSE; }) && kit.Running(),
                  "window goes on running after OK");
            Check(!IsWindowEnabled(kit.upgrade), "upgrade button still disabled");
            CheckLines("log unchanged", kit.LogLines(), {LocationLine(kFolder), VersionLine("2.3x")});
            PostMessageA(kit.form, WM_CLOSE, 0, 0);
            kit.CheckEndsWithZero("WM_CLOSE after the report");
        }
    }
    {
        Note("VER stored as a number");
        DeleteRecord();
        SetRecordText("CALE", kFolder);
        Check(SetRecordNumber("VER", 239), "VER stored as REG_DWORD");
        Kit kit;
        Dialog box;
        if (!kit.Start(g_kitPath)) return;
        if (Check(kit.WaitForDialog(box), "error report appears")) {
            // The report adds a full stop only after a character that sorts above ".";
            // a closing quote doesn't.
            CheckDialog(box, kErrorTitle, "Invalid data type for 'VER'");
            kit.PressOk(box);
            Check(WaitUntil([&] { return IsWindowEnabled(kit.form) != FALSE; }) && kit.Running(),
                  "window goes on running after OK");
            Check(!IsWindowEnabled(kit.upgrade), "upgrade button disabled");
            CheckText("upgrade button caption", TextOf(kit.upgrade), "Cautare...");
        }
    }
}

// Under a regional setting with "," as decimal separator every version text
// keeps its ".", also after the settings change while the kit runs.
void ScenarioDecimalComma() {
    char separator[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator);
    if (!Check(std::string(separator) == ",", "regional decimal separator is \",\" (LC_ALL=ro_RO.UTF-8)",
               std::string("it is ") + Quoted(separator) + "; is the ro_RO.UTF-8 locale generated?"))
        return;
    SetRecord(kFolder, kOldVersion);
    PrepareFolder(kFolder, true);
    Kit kit;
    if (!StartArmed(kit)) return;
    CheckText("window caption", TextOf(kit.form), kCaption);
    CheckLines("log after the check", kit.LogLines(), {LocationLine(kFolder), VersionLine("2.35")});

    DWORD_PTR result = 0;
    SendMessageTimeoutA(kit.form, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("intl"), SMTO_ABORTIFHUNG, 5000,
                        &result);
    Dialog box;
    if (ClickUpgradeForDialog(kit, box)) {
        CheckDialog(box, "Information", kUpgraded);
        CheckRecordedVersion(kNewVersion);
        kit.PressOk(box);
    }
}

//=== Scenarios: the upgrade run ==============================================

// A complete run over an older installation with an empty Data folder.
void ScenarioUpgradeComplete() {
    for (const CatalogueEntry& entry : kCatalogue) {
        std::string item;
        if (Check(g_payload.Item(entry.code, item), std::string("the kit carries item ") + entry.code) && entry.size)
            Check(item.size() == entry.size,
                  std::string("item ") + entry.code + " has " + std::to_string(entry.size) + " bytes",
                  "it has " + std::to_string(item.size()));
    }
    PrepareOldInstallation();
    Kit kit;
    Dialog box;
    if (!StartArmed(kit) || !ClickUpgradeForDialog(kit, box)) return;
    CheckDialog(box, "Information", kUpgraded);
    CheckLines("log after the run", kit.LogLines(),
               {LocationLine(kFolder), VersionLine("2.35"), "Versiune actualizata."});
    CheckRecordedVersion(kNewVersion);
    for (const CatalogueEntry& entry : kCatalogue) CheckWrittenAsItem(kFolder, entry);
    CheckNoTempFiles(kFolder);
    kit.PressOk(box);
    Check(!IsWindowEnabled(kit.upgrade), "upgrade button disabled after the run");

    // A disabled button takes no click: no second run, no dialog.
    ClickOn(kit.upgrade);
    Sleep(700);
    Check(kit.NoDialog(), "a click on the disabled button shows nothing");
    CheckLines("log unchanged by that click", kit.LogLines(),
               {LocationLine(kFolder), VersionLine("2.35"), "Versiune actualizata."});
    ClickOn(kit.close);
    kit.CheckEndsWithZero("a click on \"Inchide\"");
}

// Report templates the user has are kept; the rest is replaced or added.
void ScenarioOnlyIfMissing() {
    SetRecord(kFolder, kOldVersion);
    PrepareFolder(kFolder, true);
    const std::string f = kFolder;
    const std::string edited = "{\\rtf1\\ansi edited by the town hall [PRIMARIA] 2013}\r\n";
    const std::string filled = std::string("\x03\x71\x05\x0C", 4) + std::string(2000, 'R');
    PutFile(f + "\\Meridal_2013.exe", OldExe());
    PutFile(f + "\\Data\\raport.rtf", edited);
    PutFile(f + "\\Data\\Adev1.rtf", "");
    PutFile(f + "\\Data\\Anx3.rtf", "{\\rtf1 old annex}");
    PutFile(f + "\\1a.dbf", filled);
    Kit kit;
    Dialog box;
    if (!StartArmed(kit) || !ClickUpgradeForDialog(kit, box)) return;
    CheckDialog(box, "Information", kUpgraded);
    CheckFileBytes(f + "\\Data\\raport.rtf", edited, "kept byte for byte");
    CheckFileBytes(f + "\\Data\\Adev1.rtf", "", "kept empty");
    CheckWrittenAsItem(f, Entry("A3"));
    CheckWrittenAsItem(f, Entry("A1"));
    CheckWrittenAsItem(f, Entry("MC"));
    CheckWrittenAsItem(f, Entry("MERIDAL"));
    CheckRecordedVersion(kNewVersion);
    CheckNoTempFiles(f);
    kit.PressOk(box);
}

// holdfile.exe holding a file open without sharing, as a virus scanner or a
// running program would; ending it lets go of the file.
bool StartHolder(Child& holder, const std::string& path, int seconds) {
    if (!holder.Start("holdfile", g_driverFolder + "\\holdfile.exe", "\"" + path + "\" " + std::to_string(seconds)))
        return false;
    return Check(WaitUntil([&] {
                     HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
                     if (probe != INVALID_HANDLE_VALUE) CloseHandle(probe);
                     return probe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
                 }),
                 path + " is held open without sharing");
}

// A process id as earlier kits wrote it into the names of their temporary files.
std::string HexId(DWORD pid) {
    char id[16];
    std::snprintf(id, sizeof id, "%lX", static_cast<unsigned long>(pid));
    return id;
}

// The close-first box was closed and the run wrote nothing.
void CheckNothingWritten(const Kit& kit) {
    CheckFolderContents(kFolder, {"Data", "Meridal_2013.exe"});
    CheckFolderContents(std::string(kFolder) + "\\Data", {});
    CheckRecordedVersion(kOldVersion);
    Check(IsWindowEnabled(kit.upgrade) != FALSE, "upgrade button still enabled");
    CheckLines("log unchanged", kit.LogLines(), {LocationLine(kFolder), VersionLine("2.35")});
}

// The application runs, started from its installation folder: Windows lets
// its image be renamed, the kit's write probe must stop it.
void ScenarioApplicationRunning() {
    SetRecord(kFolder, kOldVersion);
    PrepareFolder(kFolder, true);
    const std::string exe = std::string(kFolder) + "\\Meridal_2013.exe";
    std::string program;
    if (!Check(ReadBytes(g_driverFolder + "\\meridal_standin.exe", program),
               "the stand-in program is beside the driver: " + g_driverFolder + "\\meridal_standin.exe"))
        return;
    PutFile(exe, program);

    Child app;
    if (!app.Start("the old program, from " + exe + ",", exe, "", kFolder)) return;
    HWND appWindow = nullptr;
    if (Check(WaitUntil([&] { return (appWindow = FindTopLevel(app.Pid(), "MeridalStandinWindow")) != nullptr; }),
              "its window is shown")) {
        Kit kit;
        Dialog box;
        if (StartArmed(kit) && ClickUpgradeForDialog(kit, box)) {
            CheckDialog(box, "Error", kCloseFirst);
            kit.PressOk(box);
            CheckNothingWritten(kit);
            Check(app.Running(), "the old program still runs");
        }
    }
    app.End(appWindow);
    CheckFileBytes(exe, program, "is the old program still");
}

// The error report "Cannot create file "<...\name>". <the system's text for code>."
void CheckReportOf(const std::string& text, const std::string& name, DWORD code) {
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

// Something holds the executable for 20 s: the kit waits about two seconds,
// then asks to close the application and writes nothing.
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
    Sleep(300);
    Check(Exists(temp) && kit.NoDialog(), "300 ms later the kit still waits for the held executable");
    // Another program can't touch the file the kit holds open meanwhile.
    const BOOL deleted = DeleteFileA(temp.c_str());
    Check(!deleted && GetLastError() == ERROR_SHARING_VIOLATION,
          "deleting it meanwhile fails with a sharing violation");
    holder.End();
    Dialog box;
    if (!Check(kit.WaitForDialog(box), "a message box of the kit appears once the holder lets go")) return;
    CheckDialog(box, "Information", kUpgraded);
    for (const CatalogueEntry& entry : kCatalogue) CheckWrittenAsItem(kFolder, entry);
    CheckNoTempFiles(kFolder);
    CheckRecordedVersion(kNewVersion);
    kit.PressOk(box);
}

// Files of killed runs beside two targets are removed, whichever process
// left them; files that only look alike are kept byte for byte.
void ScenarioLeftovers() {
    PrepareOldInstallation();
    const std::string f = kFolder;
    PutFile(f + "\\Data\\Anx3.rtf", "{\\rtf1 old annex}");

    // A process that has ended: holdfile without arguments exits at once.
    Child ended;
    if (!ended.Start("a short-lived process", g_driverFolder + "\\holdfile.exe")) return;
    Check(ended.WaitForExit(), "and ended");
    const std::string dead = HexId(ended.Pid());

    const std::vector<std::string> leftovers = {
        "\\Meridal_2013.exe.~284.0.tmp",  // as earlier kits named them
        "\\Meridal_2013.exe.~" + dead + ".tmp",
        "\\Data\\Anx3.rtf.~" + dead + ".tmp",
        "\\Data\\ANX3.RTF.~" + dead + ".1.bak",
    };
    const std::vector<std::string> lookalikes = {
        "\\Meridal_2013.exe.tmp",    "\\Meridal_2013.exe.~zz.tmp",      "\\Meridal_2013.exe.~284.0.tmp.txt",
        "\\Data\\Anx3.rtf.~284",     "\\Data\\Anx3.rtf.~123456789.tmp", "\\Data\\Notes.rtf.~284.0.tmp",
        "\\Meridal_2013.~284.0.tmp",
    };
    for (const std::string& name : leftovers) PutFile(f + name, "leftover");
    for (const std::string& name : lookalikes) PutFile(f + name, "kept " + name);

    Kit kit;
    Dialog box;
    if (!StartArmed(kit) || !ClickUpgradeForDialog(kit, box)) return;
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
}

// No Data folder: the first report template fails, and nothing is written.
void ScenarioNoDataFolder() {
    SetRecord(kFolder, kOldVersion);
    PrepareFolder(kFolder, false);
    PutFile(std::string(kFolder) + "\\Meridal_2013.exe", OldExe());
    Kit kit;
    Dialog box;
    if (!StartArmed(kit) || !ClickUpgradeForDialog(kit, box)) return;
    CheckText("box caption", box.caption, kErrorTitle);
    const std::string prefix = "Cannot create file \"C:\\Apps\\Meridal\\Data\\raport.rtf\". ";
    Check(box.text.compare(0, prefix.size(), prefix) == 0 && box.text.size() > prefix.size() + 1 &&
              box.text.back() == '.',
          "box text is " + Quoted(prefix + "<system text>."), "got " + Quoted(box.text));
    kit.PressOk(box);
    CheckFileBytes(std::string(kFolder) + "\\Meridal_2013.exe", OldExe(), "left as it was");
    CheckFolderContents(kFolder, {"Meridal_2013.exe"});
    CheckNoTempFiles(kFolder);
    CheckRecordedVersion(kOldVersion);
    Check(IsWindowEnabled(kit.upgrade) != FALSE, "upgrade button still enabled");
    Check(kit.Running(), "window goes on running");
}

// A read-only Anx3.rtf stops the run, and every file stays as it was.
void ScenarioReadOnlyFile() {
    SetRecord(kFolder, kOldVersion);
    PrepareFolder(kFolder, true);
    const std::string f = kFolder;
    const std::string oldAnnex = "{\\rtf1 old annex, protected}";
    PutFile(f + "\\Meridal_2013.exe", OldExe());
    PutFile(f + "\\Data\\Anx3.rtf", oldAnnex);
    Check(SetFileAttributesA((f + "\\Data\\Anx3.rtf").c_str(), FILE_ATTRIBUTE_READONLY) != FALSE,
          "Anx3.rtf made read-only");
    Kit kit;
    Dialog box;
    if (!StartArmed(kit) || !ClickUpgradeForDialog(kit, box)) return;
    CheckText("box caption", box.caption, kErrorTitle);
    const std::string prefix = "Cannot create file \"C:\\Apps\\Meridal\\Data\\Anx3.rtf\". ";
    Check(box.text.compare(0, prefix.size(), prefix) == 0, "box text starts " + Quoted(prefix),
          "got " + Quoted(box.text));
    kit.PressOk(box);
    CheckFileBytes(f + "\\Meridal_2013.exe", OldExe(), "left as it was");
    CheckFileBytes(f + "\\Data\\Anx3.rtf", oldAnnex, "unchanged");
    Check((GetFileAttributesA((f + "\\Data\\Anx3.rtf").c_str()) & FILE_ATTRIBUTE_READONLY) != 0, "and still read-only");
    CheckFolderContents(f, {"Data", "Meridal_2013.exe"});
    CheckFolderContents(f + "\\Data", {"Anx3.rtf"});
    CheckNoTempFiles(f);
    CheckRecordedVersion(kOldVersion);
    Check(IsWindowEnabled(kit.upgrade) != FALSE, "upgrade button still enabled");
}

// A drive too small for the new executable (M:, set up by full_disk.sh).
void ScenarioFullDisk() {
    const std::string folder = "M:\\Meridal";
    ULARGE_INTEGER available = {}, total = {};
    if (!Check(GetDiskFreeSpaceExA("M:\\", &available, &total, nullptr) != FALSE, "drive M: exists")) return;
    if (!Check(available.QuadPart < 7256064, "drive M: has less room than the new executable",
               std::to_string(available.QuadPart) + " bytes free"))
        return;
    SetRecord(folder, kOldVersion);
    PrepareFolder(folder, true);
    PutFile(folder + "\\Meridal_2013.exe", OldExe());
    Kit kit;
    Dialog box;
    if (!StartArmed(kit) || !ClickUpgradeForDialog(kit, box)) return;
    // The disk's own message, not the close-first text.
    CheckText("box caption", box.caption, kErrorTitle);
    CheckReportOf(box.text, "Meridal_2013.exe", ERROR_DISK_FULL);
    kit.PressOk(box);
    CheckFileBytes(folder + "\\Meridal_2013.exe", OldExe(), "intact");
    CheckFolderContents(folder, {"Data", "Meridal_2013.exe"});
    CheckFolderContents(folder + "\\Data", {});
    CheckNoTempFiles(folder);
    CheckRecordedVersion(kOldVersion);
    Check(IsWindowEnabled(kit.upgrade) != FALSE, "upgrade button still enabled");
}

//=== Scenario: the buttons' look =============================================

// Row 7 of a 31-pixel button starts the lower gradient, from the face colour
// towards the light colour 0x0000FFFF over 23 rows in 32 one-row bands; the
// first two bands fall on row 7 and the second wins, one 31st of the way to
// the light: face 0x0000C0C0 shows as 0x0000C2C2, hot 0x0000DFDF as 0x0000E0E0.
const COLORREF kFaceColor = 0x0000C2C2, kHotColor = 0x0000E0E0;

// The pointer over an enabled button lights its face; over a disabled one nothing changes.
void ScenarioButtonLook() {
    PrepareFolder(kFolder, true);
    {
        Note("enabled upgrade button");
        SetRecord(kFolder, kOldVersion);
        Kit kit;
        if (!StartArmed(kit)) return;
        MovePointerAway();
        Check(WaitUntil([&] { return FaceIs(kit.upgrade, kFaceColor); }, 5000),
              "face C0C0 00 with the pointer away (row 7: C2C2 00)", FaceText(kit.upgrade));
        MovePointer(CentreOf(kit.upgrade));
        Check(WaitUntil([&] { return FaceIs(kit.upgrade, kHotColor); }, 5000),
              "face DFDF 00 with the pointer on it (row 7: E0E0 00)", FaceText(kit.upgrade));
        MovePointerAway();
        Check(WaitUntil([&] { return FaceIs(kit.upgrade, kFaceColor); }, 5000),
              "face C0C0 00 again after leaving (row 7: C2C2 00)", FaceText(kit.upgrade));
    }
    {
        Note("disabled upgrade button (no installation)");
        DeleteRecord();
        Kit kit;
        if (!kit.Start(g_kitPath) || !kit.WaitForCheck()) return;
        MovePointer(CentreOf(kit.upgrade));
        Sleep(600);  // time for a hover to show, were there one
        Check(FaceIs(kit.upgrade, kFaceColor), "face stays C0C0 00 with the pointer on it (row 7: C2C2 00)",
              FaceText(kit.upgrade));
        ClickOn(kit.upgrade);
        Sleep(600);
        Check(kit.NoDialog(), "a click shows nothing");
        CheckLines("log unchanged", kit.LogLines(), {kNotInstalled});
        Check(!IsWindowEnabled(kit.upgrade), "button still disabled");
        CheckText("caption unchanged", TextOf(kit.upgrade), "Cautare...");
        MovePointerAway();
    }
}

//=== Scenario: display scaling ==============================================

std::string SizeText(int width, int height) { return std::to_string(width) + " x " + std::to_string(height); }

void CheckClientSize(HWND window, const std::string& what, int width, int height) {
    RECT r = {};
    GetClientRect(window, &r);
    Check(r.right == width && r.bottom == height, what + " " + SizeText(width, height), SizeText(r.right, r.bottom));
}

// At 150 % (LogPixels 144, see KIT_LOGPIXELS in wine_run.sh) the window and
// its buttons are the 96-dpi layout scaled, rounded as MulDiv rounds.
void ScenarioDpi144() {
    SetProcessDPIAware();  // the sizes the kit's windows have, not scaled back to 96 dpi for the driver
    {
        const HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        if (!Check(dpi == 144, "the display is at 144 dpi", "LOGPIXELSY " + std::to_string(dpi))) return;
    }
    SetRecord(kFolder, kOldVersion);
    PrepareFolder(kFolder, true);
    Kit kit;
    if (!StartArmed(kit)) return;
    CheckClientSize(kit.form, "client area", 662, 269);
    CheckClientSize(kit.upgrade, "upgrade button", 302, 47);
    CheckClientSize(kit.close, "close button", 162, 47);
    ClickOn(kit.close);
    kit.CheckEndsWithZero("a click on \"Inchide\"");
}

//=== Scenarios: the unattended upgrade ========================================

// A Unix symbolic link at link to target (both Windows paths): what a
// junction or a symbolic link is on Windows. Wine shows a link to a folder
// as a reparse point, a link to a file as a plain file.
bool MakeLink(const std::string& target, const std::string& link) {
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

BOOL CALLBACK CollectVisibleTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window)) search->found.push_back(window);
    return TRUE;
}

// Runs the kit (or the copy kitPath) with the arguments until it ends,
// watching that it shows no window all the while; false when it didn't end
// in time.
bool RunKitUnattended(const std::string& arguments, DWORD& exitCode, std::string& windowsSeen,
                      const std::string& kitPath = g_kitPath) {
    Child kit;
    if (!kit.Start("kit with " + arguments, kitPath, arguments, "C:\\")) return false;
    windowsSeen.clear();
    const DWORD start = GetTickCount();
    bool ended = false;
    while (!(ended = kit.WaitForExit(5)) && GetTickCount() - start < 30000) {
        WindowSearch search = {kit.Pid(), nullptr, {}};
        EnumWindows(&CollectVisibleTopLevel, reinterpret_cast<LPARAM>(&search));
        for (HWND window : search.found) windowsSeen += " " + ClassOf(window) + " " + Quoted(TextOf(window));
    }
    if (ended) GetExitCodeProcess(kit.Handle(), &exitCode);
    return Check(ended, "kit ended by itself within 30 s");
}

// The log's lines without their leading date and time, each checked to have
// one ("dd.MM.yyyy hh:mm:ss  "). The kit made the file: it starts with the
// UTF-8 byte-order mark, and only there.
std::vector<std::string> LogFileLines(const std::string& path) {
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
    const std::string otherFile = "C:\\Windows\\kit-other.txt", otherText = "an administrator's file\r\n";
    const std::string cale = LocationLine(kFolder), version = VersionLine("2.35");
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
        // link), or a link to it.
        enum LogKind { Plain, HardLinked, Linked };
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
         {cale, VersionLine(KIT_VERSION_STRING), kLatest, "Rezultat: deja la ultima versiune, nimic scris (cod 0)"},
         false,
         kNewVersion},
        {"application running",
         kOldVersion,
         true,
         "\\Meridal_2013.exe",
         logSwitch,
         2,
         {cale, version, FinalFolderLine(f), kProtections, std::string("Error: ") + kCloseFirst,
          "Rezultat: programul ruleaza, nimic scris (cod 2)"},
         false,
         kOldVersion},
        {"no Data folder",
         kOldVersion,
         false,
         nullptr,
         logSwitch,
         3,
         {cale, version, FinalFolderLine(f), kProtections,
          std::string(kErrorTitle) + ": Cannot create file \"" + f + "\\Data\\raport.rtf\". *",
          "Rezultat: eroare (mesajul de mai sus), versiunea nu a fost inregistrata (cod 3)"},
         false,
         kOldVersion},
        // Another program holds a table (not the program) beyond the wait:
        // nothing changes, the program included.
        {"1b.dbf held",
         kOldVersion,
         true,
         "\\1b.dbf",
         logSwitch,
         3,
         {cale, version, FinalFolderLine(f), kProtections,
          std::string(kErrorTitle) + ": Cannot create file \"" + f + "\\1b.dbf\". *",
          "Rezultat: eroare (mesajul de mai sus), versiunea nu a fost inregistrata (cod 3)"},
         false,
         kOldVersion},
        {"unwritable log", kOldVersion, true, nullptr, "/S /LOG=C:\\NoSuchFolder\\kit.log", 5, {}, false, kOldVersion},
        {"bad switch", kOldVersion, true, nullptr, "/S /LOG=", 4, {}, false, kOldVersion},
        {"hard-linked log", kOldVersion, true, nullptr, linkedSwitch, 5, {}, false, kOldVersion, Case::HardLinked},
        {"linked log", kOldVersion, true, nullptr, linkedSwitch, 5, {}, false, kOldVersion, Case::Linked},
    };
    for (const Case& c : cases) {
        Note(c.what);
        if (c.recorded) SetRecord(kFolder, c.recorded);
        else DeleteRecord();
        PrepareFolder(kFolder, c.withData);
        PutFile(f + "\\Meridal_2013.exe", OldExe());
        if (c.withData) PutFile(f + "\\Data\\Anx3.rtf", "{\\rtf1 old annex}");
        RemoveTree(logFolder);
        MakeFolders(logFolder);
        if (c.logKind != Case::Plain) {
            PutFile(otherFile, otherText);
            MakeFolders("C:\\Legaturi");
            DeleteFileW(Wide(linkedLog).c_str());  // the hard link of the case before: a name of its own
        }
        if (c.logKind == Case::HardLinked)
            Check(CreateHardLinkW(Wide(linkedLog).c_str(), Wide(otherFile).c_str(), nullptr) != FALSE,
                  "the log path made a hard link to " + otherFile);
        if (c.logKind == Case::Linked && !MakeLink(otherFile, linkedLog)) continue;

        const std::string oldTable = "old table";
        if (c.held && std::string(c.held) != "\\Meridal_2013.exe") PutFile(f + c.held, oldTable);
        Child holder;
        if (c.held && !StartHolder(holder, f + c.held, 60)) continue;

        DWORD exitCode = 0;
        std::string windows;
        if (RunKitUnattended(c.arguments, exitCode, windows)) {
            Check(exitCode == c.exitCode, "exit code " + std::to_string(c.exitCode), "got " + std::to_string(exitCode));
            Check(windows.empty(), "no window appeared", "seen:" + windows);
        }
        holder.End();

        if (c.exeWritten) CheckWrittenAsItem(kFolder, Entry("MERIDAL"));
        else CheckFileBytes(f + "\\Meridal_2013.exe", OldExe(), "left as it was");
        if (c.withData) {
            if (c.exitCode == 0 && c.exeWritten) CheckWrittenAsItem(kFolder, Entry("A3"));
            else CheckFileBytes(f + "\\Data\\Anx3.rtf", "{\\rtf1 old annex}", "left as it was");
        }
        if (c.held && std::string(c.held) == "\\1b.dbf") {
            CheckFileBytes(f + c.held, oldTable, "left as it was");
            CheckFolderContents(f, {"Data", "Meridal_2013.exe", "1b.dbf"});
            CheckFolderContents(f + "\\Data", {"Anx3.rtf"});
        }
        if (c.versionAfter) CheckRecordedVersion(c.versionAfter);
        CheckNoTempFiles(kFolder);
        if (c.logKind != Case::Plain) {
            CheckFileBytes(otherFile, otherText, "the other file unchanged");
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
        SetRecord(kFolder, kOldVersion);
        PrepareFolder(kFolder, true);
        PutFile(f + "\\Meridal_2013.exe", OldExe());
        RemoveTree(logFolder);
        MakeFolders(logFolder);
        DWORD exitCode = 1;
        std::string windows;
        if (RunKitUnattended(logged ? "/S /? \"/LOG=" + logPath + "\"" : "/S /?", exitCode, windows)) {
            Check(exitCode == 0, "exit code 0", "got " + std::to_string(exitCode));
            Check(windows.empty(), "no window appeared", "seen:" + windows);
        }
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

//=== Scenarios: an installation folder that ordinary users can write ==========

// Runs the kit with /S and a log; gives its exit code and the log's lines.
DWORD RunLoggedUnattended(const std::string& logPath, std::vector<std::string>& lines) {
    DWORD exitCode = 99;
    std::string windows;
    if (RunKitUnattended("/S \"/LOG=" + logPath + "\"", exitCode, windows))
        Check(windows.empty(), "no window appeared", "seen:" + windows);
    lines = LogFileLines(logPath);
    return exitCode;
}

bool HasLineStartingWith(const std::vector<std::string>& lines, const std::string& start) {
    for (const std::string& line : lines)
        if (line.compare(0, start.size(), start) == 0) return true;
    return false;
}

// What the program file's failures are told as, other than a running
// application: a recorded folder that doesn't exist, in the window and
// unattended, and a read-only program file.
void ScenarioProgramFileFailures() {
    const std::string missing = "C:\\Nowhere\\Meridal";
    SetRecord(missing, kOldVersion);
    {
        Note("a recorded folder that doesn't exist, in the window");
        Kit kit;
        Dialog box;
        if (StartArmed(kit) && ClickUpgradeForDialog(kit, box)) {
            CheckText("box caption", box.caption, kErrorTitle);
            Check(box.text.find(missing) != std::string::npos, "report names the folder", "got " + Quoted(box.text));
            Check(box.text.find("Inchideti") == std::string::npos, "not the close-first text");
            kit.PressOk(box);
            Check(IsWindowEnabled(kit.upgrade) != FALSE, "upgrade button still enabled");
        }
    }
    Note("a recorded folder that doesn't exist, unattended");
    MakeFolders("C:\\Jurnale");
    std::vector<std::string> lines;
    Check(RunLoggedUnattended("C:\\Jurnale\\kit.log", lines) == 3, "exit code 3");
    Check(HasLineStartingWith(lines, std::string(kErrorTitle) + ": Dosarul \"" + missing + "\" nu poate fi folosit. "),
          "log names the folder");
    Check(!IsFolder(missing), "nothing made");
    CheckRecordedVersion(kOldVersion);

    Note("a read-only program file");
    const std::string exe = PrepareOldInstallation();
    Check(SetFileAttributesA(exe.c_str(), FILE_ATTRIBUTE_READONLY) != FALSE, "Meridal_2013.exe made read-only");
    Kit kit;
    Dialog box;
    if (!StartArmed(kit) || !ClickUpgradeForDialog(kit, box)) return;
    CheckText("box caption", box.caption, kErrorTitle);
    CheckReportOf(box.text, "Meridal_2013.exe", ERROR_FILE_READ_ONLY);
    kit.PressOk(box);
    CheckFileBytes(exe, OldExe(), "left as it was");
    CheckNothingWritten(kit);
}

// Links planted where the kit writes: Data or a target linked to a folder or
// file outside refuse the run with nothing written anywhere; links under the
// kit's own leftover names are left alone, and what they point to untouched.
void ScenarioLinks() {
    const char kRefused[] = "Meridalupgrade: Actualizarea a fost oprita si nu s-a scris nimic: \"";
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
    // Each case in an installation of its own: a linked folder is never removed.
    auto prepare = [&](const std::string& folder, bool withData) {
        SetRecord(folder, kOldVersion);
        MakeFolders(withData ? folder + "\\Data" : folder);
        PutFile(folder + "\\Meridal_2013.exe", OldExe());
    };
    std::vector<std::string> lines;

    Note("Data linked to a folder outside");
    prepare("C:\\Apps\\M1", false);
    if (MakeLink(outside, "C:\\Apps\\M1\\Data")) {
        Check(RunLoggedUnattended(log, lines) == 3, "exit code 3");
        Check(HasLineStartingWith(lines, kRefused + std::string("C:\\Apps\\M1\\Data\"")), "log names the link");
        CheckFileBytes("C:\\Apps\\M1\\Meridal_2013.exe", OldExe(), "left as it was");
        CheckFolderContents("C:\\Apps\\M1", {"Data", "Meridal_2013.exe"});
        CheckRecordedVersion(kOldVersion);
        checkOutsideUntouched();
    }

    Note("a target linked to a file outside");
    prepare("C:\\Apps\\M2", true);
    if (MakeLink(outside + "\\c.dbf", "C:\\Apps\\M2\\modeltrz.dbf")) {
        Check(RunLoggedUnattended(log, lines) == 3, "exit code 3");
        Check(HasLineStartingWith(lines, kRefused + std::string("C:\\Apps\\M2\\modeltrz.dbf\"")), "log names the link");
        CheckFileBytes("C:\\Apps\\M2\\Meridal_2013.exe", OldExe(), "left as it was");
        CheckFolderContents("C:\\Apps\\M2\\Data", {});
        CheckRecordedVersion(kOldVersion);
        checkOutsideUntouched();
    }

    Note("links under the kit's leftover names");
    prepare("C:\\Apps\\M3", true);
    const std::string f = "C:\\Apps\\M3";
    if (MakeLink(outside + "\\a.rtf", f + "\\Data\\Anx3.rtf.~1F4.tmp") &&
        MakeLink(outside + "\\b.exe", f + "\\Meridal_2013.exe.~2A.bak") &&
        MakeLink(outside + "\\raport.rtf", f + "\\Data\\raport.rtf.~2A.bak")) {
        Check(RunLoggedUnattended(log, lines) == 0, "exit code 0");
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
        Check(RunLoggedUnattended(log, lines) == 3, "exit code 3");
        Check(HasLineStartingWith(lines, kRefused + std::string("C:\\Apps\\M4\" este o legatura catre \"") + outside +
                                             "\", facuta de un utilizator"),
              "log names the link and where it leads");
        CheckRecordedVersion(kOldVersion);
        CheckFolderContents(outside + "\\Data", {});
        RemoveTree(outside + "\\Data");
        checkOutsideUntouched();
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
    std::vector<std::string> lines;
    {
        PrepareOldInstallation();
        Kit first;
        if (StartArmed(first)) {
            Note("a second unattended run");
            Check(RunLoggedUnattended(log, lines) == 6, "exit code 6");
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
        Check(RunLoggedUnattended(log, lines) == 0, "exit code 0");
        Check(HasLineStartingWith(lines, "Numele de blocare \"Global\\MeridalUpgradeKit\" a fost luat de alt program"),
              "log says the name was taken");
        for (const CatalogueEntry& entry : kCatalogue) CheckWrittenAsItem(f, entry);
        CheckRecordedVersion(kNewVersion);
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
        for (const CatalogueEntry& entry : kCatalogue) CheckWrittenAsItem(f, entry);
        CheckNoTempFiles(f);
        CheckFolderContents(f,
                            {"Data", "Meridal_2013.exe", "1a.dbf", "1b.dbf", "1c.dbf", "ModelFin.dbf", "modeltrz.dbf"});
        CheckRecordedVersion(kNewVersion);
    }
}

// The window with /LOG: its log lines, dialog texts and the result go to the
// file too; a log that can't be opened is reported once; /? shows the usage.
void ScenarioLoggedWindow() {
    const std::string logFolder = "C:\\Jurnale", logPath = logFolder + "\\kit.log";
    SetRecord(kFolder, kOldVersion);
    PrepareFolder(kFolder, true);
    RemoveTree(logFolder);
    MakeFolders(logFolder);
    {
        Kit kit;
        Dialog box;
        if (kit.Start(g_kitPath, "/LOG=" + logPath) &&
            WaitUntil([&] { return IsWindowEnabled(kit.upgrade) != FALSE; }) && ClickUpgradeForDialog(kit, box)) {
            CheckDialog(box, "Information", kUpgraded);
            kit.PressOk(box);
            ClickOn(kit.close);
            kit.CheckEndsWithZero("a click on \"Inchide\"");
        }
    }
    CheckLines("log file after the upgrade", LogFileLines(logPath), UpgradedLog(kFolder));

    Note("a log in a folder that doesn't exist");
    SetRecord(kFolder, kOldVersion);
    {
        Kit kit;
        Dialog box;
        if (kit.Start(g_kitPath, "/LOG=C:\\NoSuchFolder\\kit.log") &&
            Check(kit.WaitForDialog(box), "error report appears")) {
            CheckText("box caption", box.caption, kErrorTitle);
            Check(box.text.rfind("Fisierul jurnal \"C:\\NoSuchFolder\\kit.log\" nu poate fi deschis. ", 0) == 0,
                  "box names the log file", "got " + Quoted(box.text));
            kit.PressOk(box);
            Check(WaitUntil([&] { return IsWindowEnabled(kit.upgrade) != FALSE; }), "the check runs all the same");
            Check(kit.NoDialog(), "reported once");
            CheckLines("log after the check", kit.LogLines(), {LocationLine(kFolder), VersionLine("2.35")});
        }
    }

    Note("/?");
    {
        Kit kit;
        Dialog box;
        if (kit.Launch(g_kitPath, "/?") && Check(kit.WaitForDialog(box), "usage box appears")) {
            CheckText("box caption", box.caption, kErrorTitle);
            Check(box.text.rfind("MeridalUpgrade.exe [/S] [/LOG=<fisier>]", 0) == 0, "box shows the usage",
                  "got " + Quoted(box.text));
            kit.PressOk(box);
            kit.CheckEndsWithZero("OK");
        }
    }
}

//=== Scenarios: any folder name, long paths ==================================

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
    RemoveTree(logFolder);
    MakeFolders(logFolder);
    const std::string failure = "Cannot create file \"" + f + "\\Data\\raport.rtf\". ";
    const std::string reported = std::string(kErrorTitle) + ": " + failure;
    {
        Note("with the window, no Data folder yet");
        Kit kit;
        Dialog box;
        if (kit.Start(g_kitPath, logSwitch) &&
            Check(WaitUntil([&] { return IsWindowEnabled(kit.upgrade) != FALSE; }), "upgrade button armed") &&
            ClickUpgradeForDialog(kit, box)) {
            CheckLines("log after the check", kit.LogLines(), {LocationLine(f), VersionLine("2.35")});
            CheckText("box caption", box.caption, kErrorTitle);
            Check(box.text.compare(0, failure.size(), failure) == 0, "box names the file in the folder",
                  "got " + Quoted(box.text));
            kit.PressOk(box);
            ClickOn(kit.close);
            kit.CheckEndsWithZero("a click on \"Inchide\"");
        }
    }
    Note("unattended, with the Data folder, the same log");
    MakeFolders(f + "\\Data");
    DWORD exitCode = 99;
    std::string windows;
    if (RunKitUnattended("/S " + logSwitch, exitCode, windows))
        Check(exitCode == 0, "exit code 0", "got " + std::to_string(exitCode));
    for (const CatalogueEntry& entry : kCatalogue) CheckWrittenAsItem(f, entry);
    CheckNoTempFiles(f);
    CheckRecordedVersion(kNewVersion);
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
}

// A target at the classic limit of 259 characters: every item is written,
// through temporary names beyond that limit, a leftover beyond it is
// removed, and the log shows the plain path. Wine gives no final path over
// about 263 characters, which the kit must do without.
void ScenarioLongPath() {
    const std::size_t kLongest = 259;  // the longest path of the classic limit (260 with the closing null)
    const std::string longest = "\\Data\\ModelComunicare.rtf";
    std::string f = "C:\\Apps";
    while (f.size() + 51 + longest.size() < kLongest) f += "\\" + std::string(50, 'd');
    f += "\\" + std::string(kLongest - longest.size() - f.size() - 1, 'm');
    Note("the longest target has " + std::to_string((f + longest).size()) + " characters");
    SetRecord(f, kOldVersion);
    PrepareFolder(f, true);
    PutFile(f + "\\Meridal_2013.exe", OldExe());
    PutFile(f + "\\Data\\Anx3.rtf", "{\\rtf1 old annex}");
    // A leftover of a run stopped short, its name beyond the limit.
    PutFile("\\\\?\\" + f + longest + ".~0123456789ABCDEF.tmp", "leftover");
    const std::string logPath = "C:\\Jurnale\\kit.log";
    RemoveTree("C:\\Jurnale");
    MakeFolders("C:\\Jurnale");
    DWORD exitCode = 99;
    std::string windows;
    if (RunKitUnattended("/S /LOG=" + logPath, exitCode, windows))
        Check(exitCode == 0, "exit code 0", "got " + std::to_string(exitCode));
    for (const CatalogueEntry& entry : kCatalogue) CheckWrittenAsItem(f, entry);
    CheckNoTempFiles(f);
    CheckRecordedVersion(kNewVersion);
    CheckLines("log file", LogFileLines(logPath), UpgradedLog(f));
}

//=== Scenarios: a damaged kit and the next release ==========================

// A copy of the kit with one byte of its last item changed, as a download
// cut short or a bad disk leaves it; gives the copy's path, or empty text.
std::string MakeDamagedKit(const std::string& folder) {
    RemoveTree(folder);
    MakeFolders(folder);
    std::string kit;
    const std::string item = g_payload.Item("MC");
    if (!Check(ReadBytes(g_kitPath, kit) && !item.empty(), "the kit and its item MC read")) return {};
    const std::size_t at = kit.find(item);
    if (!Check(at != std::string::npos && kit.find(item, at + 1) == std::string::npos,
               "item MC found once in the kit's file"))
        return {};
    kit[at + item.size() / 2] ^= 0x01;
    const std::string copy = folder + "\\MeridalUpgrade.exe";  // the name gives the error report's title
    return Check(WriteBytes(copy, kit), "damaged copy written: " + copy) ? copy : std::string();
}

// The installation the damaged kit must leave as it is.
void CheckInstallationUntouched() {
    const std::string f = kFolder;
    CheckFolderContents(f, {"Data", "Meridal_2013.exe"});
    CheckFolderContents(f + "\\Data", {"Anx3.rtf"});
    CheckFileBytes(f + "\\Meridal_2013.exe", OldExe(), "left as it was");
    CheckFileBytes(f + "\\Data\\Anx3.rtf", "{\\rtf1 old annex}", "left as it was");
    CheckRecordedVersion(kOldVersion);
}

// A kit whose last item lost a bit: under /S it ends with 7 and writes
// nothing; its window shows the error report and never arms the button.
void ScenarioDamagedPayload() {
    const std::string damaged = MakeDamagedKit("C:\\Damaged");
    if (damaged.empty()) return;
    const std::string report = "Pachetul de actualizare este deteriorat: ModelComunicare.rtf. Descarcati-l din nou.";
    const std::string logFolder = "C:\\Jurnale", logPath = logFolder + "\\kit.log";
    PrepareOldInstallation();
    PutFile(std::string(kFolder) + "\\Data\\Anx3.rtf", "{\\rtf1 old annex}");
    RemoveTree(logFolder);
    MakeFolders(logFolder);

    Note("/S");
    DWORD exitCode = 0;
    std::string windows;
    if (RunKitUnattended("/S /LOG=" + logPath, exitCode, windows, damaged)) {
        Check(exitCode == 7, "exit code 7", "got " + std::to_string(exitCode));
        Check(windows.empty(), "no window appeared", "seen:" + windows);
    }
    CheckLines("log file", LogFileLines(logPath),
               {std::string(kErrorTitle) + ": " + report, "Rezultat: pachet deteriorat, nimic scris (cod 7)"});
    CheckInstallationUntouched();

    Note("the window");
    Kit kit;
    Dialog box;
    if (!kit.Start(damaged) || !Check(kit.WaitForDialog(box), "error report appears")) return;
    CheckDialog(box, kErrorTitle, report);
    Sleep(1500);  // the version check would have run under the box by now
    Check(!IsWindowEnabled(kit.upgrade), "upgrade button disabled under the report");
    kit.PressOk(box);
    Sleep(1500);
    Check(!IsWindowEnabled(kit.upgrade), "upgrade button still disabled after OK");
    CheckText("upgrade button caption", TextOf(kit.upgrade), "Cautare...");
    CheckLines("log stays empty", kit.LogLines(), {});
    Check(kit.NoDialog() && kit.Running(), "no further box, the window goes on running");
    CheckInstallationUntouched();
    ClickOn(kit.close);
    kit.CheckEndsWithZero("a click on \"Inchide\"");
}

// The kit built for the next release (KIT_VERSION above 2.39) over an
// installation of 2.39: caption, check, upgrade and record say its version.
void ScenarioNextRelease() {
    if (!Check(!AtLeastKit("2.39"), "the kit is built for a version after 2.39", "KIT_VERSION " KIT_VERSION_STRING))
        return;
    SetRecord(kFolder, "Meridal - 2013 v.2.39");
    PrepareFolder(kFolder, true);
    PutFile(std::string(kFolder) + "\\Meridal_2013.exe", OldExe());
    Kit kit;
    if (!kit.Start(g_kitPath)) return;
    CheckText("window caption", TextOf(kit.form), kCaption);
    if (!Check(WaitUntil([&] { return IsWindowEnabled(kit.upgrade) != FALSE; }), "upgrade button enabled by the check"))
        return;
    CheckLines("log after the check: 2.39, not the latest", kit.LogLines(),
               {LocationLine(kFolder), VersionLine("2.39")});
    CheckText("upgrade button caption", TextOf(kit.upgrade), kUpgradeCaption);
    Dialog box;
    if (!ClickUpgradeForDialog(kit, box)) return;
    CheckDialog(box, "Information", kUpgraded);
    CheckRecordedVersion(kNewVersion);
    for (const CatalogueEntry& entry : kCatalogue) CheckWrittenAsItem(kFolder, entry);
    kit.PressOk(box);
    ClickOn(kit.close);
    kit.CheckEndsWithZero("a click on \"Inchide\"");
}

//=== Scenarios: keyboard and screen readers ==================================

HWND FocusOf(const Kit& kit) {
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(kit.GuiThread(), &gui) ? gui.hwndFocus : nullptr;
}

// Tab to the upgrade button, Space for the upgrade, Tab on and Enter to end:
// the whole kit from the keyboard. The focus cue shows once the keyboard is
// in use, not after the mouse gave a button the focus.
void ScenarioKeyboard() {
    PrepareOldInstallation();
    Kit kit;
    if (!StartArmed(kit)) return;
    if (!Check(GetForegroundWindow() == kit.form, "kit window in the foreground, where keys go")) return;
    Check(FocusOf(kit) == kit.log, "the log has the focus", "focus on " + ClassOf(FocusOf(kit)));
    MovePointerAway();
    const std::vector<COLORREF> upgradeRow = PixelRow(kit.upgrade, 4), closeRow = PixelRow(kit.close, 4);

    // Pressed and let go away from it: the focus, no click.
    const POINT close = CentreOf(kit.close);
    MovePointer(close);
    INPUT press = PointerAt(close.x, close.y, MOUSEEVENTF_LEFTDOWN);
    SendInput(1, &press, sizeof press);
    Check(WaitUntil([&] { return FocusOf(kit) == kit.close; }, 5000), "a press on the close button gives it the focus");
    MovePointerAway();
    INPUT release = PointerAt(3, 3, MOUSEEVENTF_LEFTUP);
    SendInput(1, &release, sizeof release);
    Check(WaitUntil([&] { return FaceIs(kit.close, kFaceColor) && PixelRow(kit.close, 4) == closeRow; }, 5000),
          "no focus cue after the mouse", FaceText(kit.close));

    PressKey(VK_TAB);
    Check(WaitUntil([&] { return FocusOf(kit) == kit.log; }, 5000), "Tab from the last button wraps to the log");
    PressKey(VK_TAB);
    if (!Check(WaitUntil([&] { return FocusOf(kit) == kit.upgrade; }, 5000),
               "Tab takes the focus to the upgrade button"))
        return;
    Check(WaitUntil([&] { return PixelRow(kit.upgrade, 4) != upgradeRow; }, 5000), "the focus cue shows on it");

    PressKey(VK_SPACE);
    Dialog box;
    if (!Check(kit.WaitForDialog(box), "Space on the upgrade button: a message box of the kit")) return;
    CheckDialog(box, "Information", kUpgraded);
    CheckRecordedVersion(kNewVersion);
    kit.PressOk(box);
    // The upgrade button, disabled after the upgrade, handed the focus on.
    Check(WaitUntil([&] { return FocusOf(kit) == kit.close; }, 5000), "the focus is on the close button",
          "focus on " + ClassOf(FocusOf(kit)));
    PressKey(VK_RETURN);
    kit.CheckEndsWithZero("Enter on \"Inchide\"");
}

// What a screen reader reads of a control through its accessible object.
struct ReaderView {
    bool found = false;
    LONG role = 0, state = 0;
    std::string name, action;
    HRESULT pressed = E_FAIL;  // of the default action, when asked to do it
};

std::string Narrow(BSTR text) {
    std::string narrow;
    for (const wchar_t* c = text; c && *c; ++c) narrow += *c < 128 ? static_cast<char>(*c) : '?';
    SysFreeString(text);
    return narrow;
}

ReaderView ReadAsReader(HWND window, bool press = false) {
    ReaderView view;
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        !object)
        return view;
    view.found = true;
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT value = {};
    if (SUCCEEDED(object->get_accRole(self, &value)) && value.vt == VT_I4) view.role = value.lVal;
    value.vt = VT_EMPTY;
    if (SUCCEEDED(object->get_accState(self, &value)) && value.vt == VT_I4) view.state = value.lVal;
    BSTR text = nullptr;
    if (SUCCEEDED(object->get_accName(self, &text))) view.name = Narrow(text);
    text = nullptr;
    if (SUCCEEDED(object->get_accDefaultAction(self, &text))) view.action = Narrow(text);
    if (press) view.pressed = object->accDoDefaultAction(self);
    object->Release();
    return view;
}

void CheckReaderButton(const std::string& what, const ReaderView& view, const std::string& name, bool enabled) {
    if (!Check(view.found, what + ": an accessible object")) return;
    Check(view.role == ROLE_SYSTEM_PUSHBUTTON, what + ": role push button", "role " + std::to_string(view.role));
    CheckText(what + ": name", view.name, name);
    const LONG expected = enabled ? STATE_SYSTEM_FOCUSABLE : STATE_SYSTEM_UNAVAILABLE;
    Check((view.state & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE)) == expected,
          what + (enabled ? ": focusable, available" : ": unavailable, not focusable"), "state " + Hex(view.state));
    CheckText(what + ": default action", view.action, "Press");
}

// Both buttons as a screen reader finds them, disabled and enabled; the
// default action presses them; the log is read-only text.
void ScenarioScreenReader() {
    CoInitialize(nullptr);
    PrepareFolder(kFolder, true);
    {
        Note("no installation: the upgrade button stays as before the check");
        DeleteRecord();
        Kit kit;
        if (!kit.Start(g_kitPath) || !kit.WaitForCheck()) return;
        const ReaderView upgrade = ReadAsReader(kit.upgrade, true);
        CheckReaderButton("upgrade button", upgrade, "Cautare...", false);
        Check(upgrade.pressed == E_FAIL, "its default action fails while disabled", Hex(upgrade.pressed));
        Sleep(300);
        Check(kit.NoDialog(), "and shows nothing");
        CheckReaderButton("close button", ReadAsReader(kit.close), "Inchide", true);
        const ReaderView log = ReadAsReader(kit.log);
        Check(log.found && log.role == ROLE_SYSTEM_TEXT && (log.state & STATE_SYSTEM_READONLY),
              "the log: read-only text", "role " + std::to_string(log.role) + ", state " + Hex(log.state));
    }
    {
        Note("an older installation: the armed button");
        PrepareOldInstallation();
        Kit kit;
        if (!StartArmed(kit)) return;
        const ReaderView upgrade = ReadAsReader(kit.upgrade, true);
        CheckReaderButton("upgrade button", upgrade, kUpgradeCaption, true);
        Dialog box;
        if (!Check(upgrade.pressed == S_OK && kit.WaitForDialog(box), "its default action runs the upgrade")) return;
        CheckDialog(box, "Information", kUpgraded);
        kit.PressOk(box);
        Check(ReadAsReader(kit.close, true).pressed == S_OK, "the close button's default action");
        kit.CheckEndsWithZero("\"Inchide\" pressed by a reader");
    }
    CoUninitialize();
}

//=== Table of scenarios ======================================================

struct Scenario {
    const char* name;
    void (*run)();
    const char* summary;
};

const Scenario kScenarios[] = {
    {"window", ScenarioWindow, "window before and after the check of v.2.35, Esc in the log"},
    {"versions", ScenarioVersions, "the kit's own version, v.2.4, v.2.05, v.1.50; close box, WM_CLOSE, Inchide"},
    {"not_installed", ScenarioNotInstalled, "no record, no CALE, VER without digits"},
    {"record_64bit_view", ScenarioRecord64BitView, "a record in the 64-bit registry view only"},
    {"bad_version", ScenarioBadVersion, "VER v.2.3x and VER as a number reach the error report"},
    {"decimal_comma", ScenarioDecimalComma, "\",\" as regional decimal separator"},
    {"upgrade_complete", ScenarioUpgradeComplete, "complete upgrade from v.2.35"},
    {"only_if_missing", ScenarioOnlyIfMissing, "existing report templates kept, the rest replaced or added"},
    {"application_running", ScenarioApplicationRunning, "the old program runs: close-first error"},
    {"held_long", ScenarioHeldLong, "executable held open for 20 s: close-first error after 2 s"},
    {"held_briefly", ScenarioHeldBriefly, "executable held open for a moment: the run completes"},
    {"leftovers", ScenarioLeftovers, "files of killed runs removed, nothing else"},
    {"no_data_folder", ScenarioNoDataFolder, "installation without Data"},
    {"read_only_file", ScenarioReadOnlyFile, "read-only Anx3.rtf"},
    {"full_disk", ScenarioFullDisk, "installation on a full drive M:"},
    {"button_look", ScenarioButtonLook, "hot-tracking face of the buttons"},
    {"dpi_144", ScenarioDpi144, "at 150 %: window and buttons scaled"},
    {"unattended", ScenarioUnattended, "/S with /LOG: every exit code, /S /?, no window"},
    {"logged_window", ScenarioLoggedWindow, "/LOG with the window, an unopenable log, /?"},
    {"program_file_failures", ScenarioProgramFileFailures, "a missing folder, a read-only program file"},
    {"links", ScenarioLinks, "links planted as Data, a target and leftovers"},
    {"unicode_folder", ScenarioUnicodeFolder, "a folder named with \"t,\" and \"a(\": log, box, /LOG file, files"},
    {"long_path", ScenarioLongPath, "a target of 259 characters, its temporary and backup names beyond"},
    {"second_kit", ScenarioSecondKit, "a second kit while one runs; two unattended runs at once"},
    {"damaged_payload", ScenarioDamagedPayload, "one byte of the last item changed: exit 7, report, nothing written"},
    {"keyboard", ScenarioKeyboard, "Tab, Space and Enter: the upgrade and the end from the keyboard"},
    {"screen_reader", ScenarioScreenReader, "both buttons and the log as a screen reader reads them"},
    {"next_release", ScenarioNextRelease, "a kit built for a version after 2.39 upgrades 2.39"},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kitdriver <scenario> <path of MeridalUpgrade.exe>\nscenarios:\n");
        for (const Scenario& s : kScenarios) std::fprintf(stderr, "  %-20s %s\n", s.name, s.summary);
        return 2;
    }
    const Scenario* scenario = nullptr;
    for (const Scenario& s : kScenarios)
        if (std::strcmp(s.name, argv[1]) == 0) scenario = &s;
    if (!scenario) {
        std::fprintf(stderr, "kitdriver: no scenario %s\n", argv[1]);
        return 2;
    }
    g_kitPath = ToWindowsPath(argv[2]);
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    g_driverFolder = FolderOf(self);

    std::printf("scenario %s: %s\n", scenario->name, scenario->summary);
    if (Check(g_payload.Open(g_kitPath), "kit executable loaded as data: " + g_kitPath)) scenario->run();
    std::printf("scenario %s: %s (%d failed)\n", scenario->name, Failures() ? "FAILED" : "passed", Failures());
    return Failures() ? 1 : 0;
}
