// Drives the real kit the way a user does, inside a throwaway Wine prefix.
//   kitdriver.exe <scenario> <path of MeridalUpgrade.exe>
// Each scenario prepares the installation record and files, starts the kit,
// works its window with real input, checks what it shows and what it leaves
// behind through the Win32 API, and ends it. Exit code 0 means every check
// passed; each check prints one line, failures start with "FAIL".
// The scenarios are in the *Scenarios.cpp files, grouped by concern; the
// steps they share are in DriverSteps.h and KitHarness.h.
#include "e2e/DriverSteps.h"

namespace e2e {
// WindowScenarios.cpp
void ScenarioWindow(), ScenarioVersions(), ScenarioNotInstalled(), ScenarioRecord64BitView(), ScenarioBadVersion(),
    ScenarioDecimalComma(), ScenarioDpi144(), ScenarioDamagedPayload(), ScenarioNextRelease();
// UpgradeScenarios.cpp
void ScenarioUpgradeComplete(), ScenarioOnlyIfMissing(), ScenarioApplicationRunning(), ScenarioNoDataFolder(),
    ScenarioReadOnlyFile(), ScenarioFullDisk(), ScenarioProgramFileFailures();
// InstallationScenarios.cpp
void ScenarioHeldLong(), ScenarioHeldBriefly(), ScenarioLeftovers(), ScenarioLinks(), ScenarioUnicodeFolder(),
    ScenarioLongPath();
// UnattendedScenarios.cpp
void ScenarioUnattended(), ScenarioLoggedWindow(), ScenarioSecondKit(), ScenarioUndo(), ScenarioUndoAsked();
// AccessScenarios.cpp
void ScenarioButtonLook(), ScenarioKeyboard(), ScenarioScreenReader();
}  // namespace e2e

using namespace e2e;

namespace {

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
    {"dpi_144", ScenarioDpi144, "at 150 %: window and buttons scaled"},
    {"damaged_payload", ScenarioDamagedPayload, "one byte of the last item changed: exit 7, report, nothing written"},
    {"next_release", ScenarioNextRelease, "a kit built for a version after 2.39 upgrades 2.39"},
    {"upgrade_complete", ScenarioUpgradeComplete, "complete upgrade from v.2.35"},
    {"only_if_missing", ScenarioOnlyIfMissing, "existing report templates kept, the rest replaced or added"},
    {"application_running", ScenarioApplicationRunning, "the old program runs: close-first error"},
    {"no_data_folder", ScenarioNoDataFolder, "installation without Data"},
    {"read_only_file", ScenarioReadOnlyFile, "read-only Anx3.rtf"},
    {"full_disk", ScenarioFullDisk, "installation on a full drive M:"},
    {"program_file_failures", ScenarioProgramFileFailures, "a missing folder, a read-only program file"},
    {"held_long", ScenarioHeldLong,
     "executable held open for 20 s: close-first error after 2 s; folder listed: /S completes"},
    {"held_briefly", ScenarioHeldBriefly, "executable held open for a moment: the run completes"},
    {"leftovers", ScenarioLeftovers, "names like the kit's own left alone; a planted marker and backup steer nothing"},
    {"links", ScenarioLinks, "links planted as Data, a target and leftovers"},
    {"unicode_folder", ScenarioUnicodeFolder, "a folder named with \"t,\" and \"a(\": log, box, /LOG file, files"},
    {"long_path", ScenarioLongPath, "a target of 259 characters, its temporary and backup names beyond"},
    {"unattended", ScenarioUnattended, "/S with /LOG: every exit code, /S /?, no window"},
    {"logged_window", ScenarioLoggedWindow, "/LOG with the window, an unopenable log, /?"},
    {"second_kit", ScenarioSecondKit, "a second kit while one runs; two unattended runs at once"},
    {"undo", ScenarioUndo, "/UNDO /S after an upgrade: as before, byte for byte; refusals; files changed since"},
    {"undo_asked", ScenarioUndoAsked, "/UNDO without /S: the question; Return answers No, Yes puts back"},
    {"button_look", ScenarioButtonLook, "hot-tracking face of the buttons"},
    {"keyboard", ScenarioKeyboard, "Tab, Space and Enter: the upgrade and the end from the keyboard"},
    {"screen_reader", ScenarioScreenReader, "both buttons and the log as a screen reader reads them"},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kitdriver <scenario> <path of MeridalUpgrade.exe>\nscenarios:\n");
        for (const Scenario& s : kScenarios) std::fprintf(stderr, "  %-21s %s\n", s.name, s.summary);
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
