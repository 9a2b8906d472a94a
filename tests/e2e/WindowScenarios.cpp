// Scenarios of the window and the version check: the window as it shows,
// recorded versions against the kit's, records that name no installation,
// versions that are no numbers, regional settings, display scaling, a
// damaged kit and the next release.
#include "e2e/DriverSteps.h"

namespace e2e {

void CheckNotArmed(const Kit& kit) {
    Check(!IsWindowEnabled(kit.upgrade), "upgrade button disabled");
    CheckText("upgrade button caption", TextOf(kit.upgrade), kSearching);
}

// The window as it first shows, the check of an older installation, and Esc.
void ScenarioWindow() {
    PrepareOldInstallation();
    Kit kit;
    if (!kit.Start(g_kitPath)) return;

    // Before the check, which runs a second after the window shows.
    CheckText("window caption on first sight", TextOf(kit.form), kCaption);
    CheckNotArmed(kit);
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

    if (!WaitArmed(kit)) return;
    CheckLines("log after the check", kit.LogLines(), CheckedLog());

    Check(kit.Focus() == kit.log, "the log has the keyboard focus");
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
        case CloseBy::CloseButton: CloseWithButton(kit); break;
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
        if (!StartNotInstalled(kit)) continue;
        CheckLines("log after the check", kit.LogLines(), {kNotInstalled});
        CheckNotArmed(kit);
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
    if (!StartNotInstalled(kit)) return;
    CheckLines("log after the check", kit.LogLines(), {kNotInstalled});
    Check(!IsWindowEnabled(kit.upgrade), "upgrade button disabled");
    CheckFolderContents(kFolder, {"Data", "Meridal_2013.exe"});
    CheckFileBytes(std::string(kFolder) + "\\Meridal_2013.exe", OldExe(), "left alone");
    std::string version;
    Check(ReadRecordText("VER", version, KEY_WOW64_64KEY) && version == kOldVersion,
          "the 64-bit view's VER is left alone", "got " + Quoted(version));
    CloseWithButton(kit);
}

// The kit's error report over its window; OK leaves the window running with
// the upgrade button disabled.
bool ReportThenRunning(Kit& kit, const std::string& text) {
    Dialog box;
    if (!kit.Start(g_kitPath) || !CheckErrorReport(kit, box)) return false;
    CheckText("box text", box.text, text);
    const std::vector<std::string> log = kit.LogLines();
    Check(!IsWindowEnabled(kit.upgrade), "upgrade button disabled under the report");
    kit.PressOk(box);
    Check(WaitUntil([&] { return IsWindowEnabled(kit.form) != FALSE; }) && kit.Running(),
          "window goes on running after OK");
    Check(!IsWindowEnabled(kit.upgrade), "upgrade button still disabled");
    CheckLines("log unchanged by OK", kit.LogLines(), log);
    return true;
}

// Versions that are no numbers reach the error report; the window goes on.
void ScenarioBadVersion() {
    PrepareFolder(kFolder, true);
    {
        Note("VER \"Meridal - 2013 v.2.3x\"");
        SetRecord(kFolder, "Meridal - 2013 v.2.3x");
        Kit kit;
        if (!ReportThenRunning(kit, "'3x' is not a valid integer value.")) return;
        CheckLines("log under the report", kit.LogLines(), {LocationLine(kFolder), VersionLine("2.3x")});
        CheckText("upgrade button caption", TextOf(kit.upgrade), kUpgradeCaption);
        PostMessageA(kit.form, WM_CLOSE, 0, 0);
        kit.CheckEndsWithZero("WM_CLOSE after the report");
    }
    {
        Note("VER stored as a number");
        DeleteRecord();
        SetRecordText("CALE", kFolder);
        Check(SetRecordNumber("VER", 239), "VER stored as REG_DWORD");
        Kit kit;
        // The report adds a full stop only after a character that sorts above ".";
        // a closing quote doesn't.
        if (ReportThenRunning(kit, "Invalid data type for 'VER'"))
            CheckText("upgrade button caption", TextOf(kit.upgrade), kSearching);
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
    PrepareOldInstallation();
    Kit kit;
    if (!StartArmed(kit)) return;
    CheckText("window caption", TextOf(kit.form), kCaption);
    CheckLines("log after the check", kit.LogLines(), CheckedLog());

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
    PrepareOldInstallation();
    Kit kit;
    if (!StartArmed(kit)) return;
    CheckClientSize(kit.form, "client area", 662, 269);
    CheckClientSize(kit.upgrade, "upgrade button", 302, 47);
    CheckClientSize(kit.close, "close button", 162, 47);
    CloseWithButton(kit);
}

// A copy of the kit with one byte of its last item changed, as a download
// cut short or a bad disk leaves it; gives the copy's path, or empty text.
std::string MakeDamagedKit(const std::string& folder) {
    FreshFolder(folder);
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
    CheckFolderAsItWas(kFolder, {"Data", "Meridal_2013.exe"}, {"Anx3.rtf"});
    CheckFileBytes(std::string(kFolder) + "\\Data\\Anx3.rtf", kOldAnnex, "left as it was");
}

// A kit whose last item lost a bit: under /S it ends with 7 and writes
// nothing; its window shows the error report and never arms the button.
void ScenarioDamagedPayload() {
    const std::string damaged = MakeDamagedKit("C:\\Damaged");
    if (damaged.empty()) return;
    const std::string report = "Pachetul de actualizare este deteriorat: ModelComunicare.rtf. Descarcati-l din nou.";
    const std::string logFolder = "C:\\Jurnale", logPath = logFolder + "\\kit.log";
    PrepareOldInstallation();
    PutFile(std::string(kFolder) + "\\Data\\Anx3.rtf", kOldAnnex);
    FreshFolder(logFolder);

    Note("/S");
    CheckUnattended("/S /LOG=" + logPath, 7, damaged);
    CheckLines("log file", LogFileLines(logPath),
               {std::string(kErrorTitle) + ": " + report, "Rezultat: pachet deteriorat, nimic scris (cod 7)"});
    CheckInstallationUntouched();

    Note("the window");
    Kit kit;
    Dialog box;
    if (!kit.Start(damaged) || !CheckErrorReport(kit, box)) return;
    CheckText("box text", box.text, report);
    // The version check's one-second timer, started before the window showed,
    // is due by then; a due timer is handled before the kit catches up.
    WaitUntil([&] { return GetTickCount() - kit.ShownAt() > 1000; });
    Check(kit.CaughtUp() && !IsWindowEnabled(kit.upgrade), "upgrade button disabled under the report");
    kit.PressOk(box);
    Check(kit.CaughtUp() && !IsWindowEnabled(kit.upgrade), "upgrade button still disabled after OK");
    CheckText("upgrade button caption", TextOf(kit.upgrade), kSearching);
    CheckLines("log stays empty", kit.LogLines(), {});
    Check(kit.NoDialog() && kit.Running(), "no further box, the window goes on running");
    CheckInstallationUntouched();
    CloseWithButton(kit);
}

// The kit built for the next release (KIT_VERSION above 2.39) over an
// installation of 2.39: caption, check, upgrade and record say its version.
void ScenarioNextRelease() {
    if (!Check(!AtLeastKit("2.39"), "the kit is built for a version after 2.39", "KIT_VERSION " KIT_VERSION_STRING))
        return;
    PrepareOldInstallation();
    SetRecord(kFolder, "Meridal - 2013 v.2.39");
    Kit kit;
    if (!kit.Start(g_kitPath)) return;
    CheckText("window caption", TextOf(kit.form), kCaption);
    if (!WaitArmed(kit)) return;
    CheckLines("log after the check: 2.39, not the latest", kit.LogLines(),
               {LocationLine(kFolder), VersionLine("2.39")});
    Dialog box;
    if (!ClickUpgradeForDialog(kit, box)) return;
    CheckDialog(box, "Information", kUpgraded);
    CheckAllItemsWritten(kFolder);
    kit.PressOk(box);
    CloseWithButton(kit);
}

}  // namespace e2e
