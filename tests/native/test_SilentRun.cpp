#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>

#include "FakePayload.h"
#include "FakeWindow.h"
#include "MemoryRegistry.h"
#include "FolderFileSystem.h"
#include "TempFolder.h"
#include "BuildVersion.h"
#include "framework/Error.h"
#include "kit/unattended/CommandLine.h"
#include "kit/upgrade/InstallationRecord.h"
#include "kit/unattended/RunLog.h"
#include "kit/unattended/RunOutcome.h"
#include "kit/KitTexts.h"
#include "kit/unattended/SilentRun.h"
#include "payload/Catalogue.h"

namespace fs = std::filesystem;

namespace {

TEST(CommandLine, SwitchesAndTheExitCodesTheyLeadTo) {
    struct Row {
        std::vector<std::string> arguments;
        bool silent, usage;
        std::string logPath;
        bool bad;
    };
    const Row rows[] = {
        {{}, false, false, "", false},
        {{"/S"}, true, false, "", false},
        {{"/s", "/log=C:\\Jurnal kit.txt"}, true, false, "C:\\Jurnal kit.txt", false},
        {{"/LOG=C:\\a.log", "/S"}, true, false, "C:\\a.log", false},
        {{"/?"}, false, true, "", false},
        {{"/LOG="}, false, false, "", true},
        {{"/S", "/LOG"}, true, false, "", true},
        {{"/quiet", "upgrade", "-S", "/Sx", "S"}, false, false, "", false},  // unknown: ignored
    };
    for (const Row& row : rows) {
        std::string line;
        for (const std::string& argument : row.arguments) line += argument + " ";
        SCOPED_TRACE(line);
        const kit::CommandLine command = kit::ParseCommandLine(row.arguments);
        EXPECT_EQ(command.silent, row.silent);
        EXPECT_EQ(command.usage, row.usage);
        EXPECT_EQ(command.logPath, row.logPath);
        EXPECT_EQ(!command.problem.empty(), row.bad);
    }
    EXPECT_TRUE(kit::ParseCommandLine({"/S", "/Undo"}).undo);

    using kit::RunOutcome;
    const std::pair<RunOutcome, int> codes[] = {
        {RunOutcome::Upgraded, 0},          {RunOutcome::UpToDate, 0},           {RunOutcome::NotInstalled, 1},
        {RunOutcome::VersionUnreadable, 1}, {RunOutcome::ApplicationRunning, 2}, {RunOutcome::Failed, 3},
        {RunOutcome::BadCommandLine, 4},    {RunOutcome::LogUnavailable, 5},     {RunOutcome::PayloadDamaged, 7},
        {RunOutcome::NothingToUndo, 8},
    };
    for (const auto& [outcome, code] : codes) {
        EXPECT_EQ(kit::ExitCodeOf(outcome), code);
        EXPECT_NE(kit::ResultLine(outcome).find("(cod " + std::to_string(code) + ")"), std::string::npos);
    }
}

// A log in memory whose medium fails, as a full disk does, from line
// failFrom on.
struct MemoryLog : kit::RunLog {
    std::vector<std::string> lines;
    std::size_t failFrom = SIZE_MAX;
    std::size_t attempts = 0;

    void Append(const std::string& text) override {
        if (attempts++ >= failFrom) throw fw::Error("Fisierul jurnal \"k.log\" nu poate fi scris. Disc plin", 112);
        lines.push_back(text);
    }
};

// The kit's record of its own version, as the build set it.
const char kKitRecord[] = "Meridal - 2013 v." KIT_VERSION_SHOWN;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// An installation of the old program and annex in a real folder, its record
// (VER recorded, none for null) and the payload.
struct Installation {
    TempFolder temp;
    fs::path install = temp.Path() / "Meridal";
    std::string cale;
    MemoryRegistry registry;
    FakePayload payload;

    explicit Installation(const char* recorded) {
        fs::create_directories(install / "Data");
        std::ofstream(install / "Meridal_2013.exe", std::ios::binary) << "old program";
        std::ofstream(install / "Data" / "Anx3.rtf", std::ios::binary) << "old annex";
        // A fully qualified folder, as the check wants: the UNC spelling
        // "\\tmp\..." of the temporary folder, which names the same folder here.
        cale = "\\\\" + install.string().substr(1);
        std::replace(cale.begin(), cale.end(), '/', '\\');
        if (recorded) {
            kit::WriteRecordValue(registry, "CALE", cale);
            kit::WriteRecordValue(registry, "VER", recorded);
        }
        for (std::size_t i = 0; i < payload::CatalogueSize(); ++i)
            payload.items[payload::Catalogue()[i].code] = "new item " + std::to_string(i);
    }
};

// The unattended run over a real folder: what it writes, records and logs.
TEST(SilentRun, EachWayOutWithItsLogAndItsFiles) {
    struct Case {
        const char* what;
        const char* recorded;  // VER; null for no record
        std::function<void(const fs::path& install, const std::string& cale, FolderFileSystem& files,
                           FakePayload& payload)>
            prepare;
        kit::RunOutcome outcome;
        std::vector<std::string> lastLines;  // the log's last lines
        bool written;                        // the executable replaced
        const char* version;                 // VER afterwards
    };
    auto nothing = [](const fs::path&, const std::string&, FolderFileSystem&, FakePayload&) {};
    const std::string exeRunning = "Error: Inchideti mai intai Meridal - 2013!";
    const Case cases[] = {
        {"older installation",
         "Meridal - 2013 v.2.35",
         nothing,
         kit::RunOutcome::Upgraded,
         {"Versiune actualizata.", "Fisierele inlocuite sunt pastrate in \"KITFOLDER\".",
          "Information: Meridal - 2013 a fost actualizata la versiunea " KIT_VERSION_SHOWN "."},
         true,
         kKitRecord},
        // A repeated deployment leaves an up-to-date PC's templates alone.
        {"up to date",
         kKitRecord,
         nothing,
         kit::RunOutcome::UpToDate,
         {"Aveti deja ultima versiune!"},
         false,
         kKitRecord},
        {"not installed",
         nullptr,
         nothing,
         kit::RunOutcome::NotInstalled,
         {"Programul Meridal - 2013 NU este instalat aici!"},
         false,
         ""},
        {"version no number",
         "Meridal - 2013 v.2.3x",
         nothing,
         kit::RunOutcome::VersionUnreadable,
         {"Meridalupgrade: '3x' is not a valid integer value."},
         false,
         "Meridal - 2013 v.2.3x"},
        {"application running",
         "Meridal - 2013 v.2.35",
         [](const fs::path&, const std::string& cale, FolderFileSystem& files, FakePayload&) {
             files.heldForever.insert(FolderFileSystem::Native(cale + "\\Meridal_2013.exe"));
         },
         kit::RunOutcome::ApplicationRunning,
         {exeRunning},
         false,
         "Meridal - 2013 v.2.35"},
        {"no Data folder",
         "Meridal - 2013 v.2.35",
         [](const fs::path& install, const std::string&, FolderFileSystem&, FakePayload&) {
             fs::remove_all(install / "Data");
         },
         kit::RunOutcome::Failed,
         {"Meridalupgrade: Cannot create file \"INSTALL\\Data\\raport.rtf\". The system cannot find the path "
          "specified."},
         false,
         "Meridal - 2013 v.2.35"},
        // The last item damaged: found before the first is written.
        {"damaged payload",
         "Meridal - 2013 v.2.35",
         [](const fs::path&, const std::string&, FolderFileSystem&, FakePayload& payload) { payload.Damage("MC"); },
         kit::RunOutcome::PayloadDamaged,
         {"Meridalupgrade: Pachetul de actualizare este deteriorat: ModelComunicare.rtf. Descarcati-l din nou."},
         false,
         "Meridal - 2013 v.2.35"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Installation installation(c.recorded);
        const fs::path& install = installation.install;
        const std::string& cale = installation.cale;
        MemoryRegistry& registry = installation.registry;
        FakePayload& payload = installation.payload;
        FolderFileSystem files;
        c.prepare(install, cale, files, payload);
        MemoryLog log;

        EXPECT_EQ(kit::RunSilently(payload, files, registry, log, "Meridalupgrade"), c.outcome);
        std::vector<std::string> expected = c.lastLines;
        for (std::string& line : expected) {
            std::size_t at = line.find("INSTALL");
            if (at != std::string::npos) line.replace(at, 7, cale);
            if ((at = line.find("KITFOLDER")) != std::string::npos) line.replace(at, 9, files.kitFolder);
        }
        ASSERT_GE(log.lines.size(), expected.size());
        EXPECT_EQ(std::vector<std::string>(log.lines.end() - static_cast<long>(expected.size()), log.lines.end()),
                  expected);
        EXPECT_EQ(Read(install / "Meridal_2013.exe"), c.written ? payload.items["MERIDAL"] : "old program");
        if (c.outcome != kit::RunOutcome::Upgraded && fs::exists(install / "Data")) {
            EXPECT_EQ(Read(install / "Data" / "Anx3.rtf"), "old annex");
        }
        EXPECT_EQ(kit::ReadRecordValue(registry, "VER"), c.version);
    }
}

// How each kind of failure on the program file is told: only a file held
// beyond the wait for a scanner is a running application (close-first, 2);
// every other is its own message (3), and a drive the kit can't see says so.
TEST(SilentRun, EachFailureOfTheProgramFileAsWhatItIs) {
    struct Case {
        const char* what;
        unsigned long code;
        const char* text;
        kit::RunOutcome outcome;
    };
    const Case cases[] = {
        {"sharing violation", fw::kSharingViolation,
         "The process cannot access the file because it is being used by another process",
         kit::RunOutcome::ApplicationRunning},
        {"access denied", fw::kAccessDenied, "Access is denied", kit::RunOutcome::Failed},
        {"path not found", fw::kPathNotFound, "The system cannot find the path specified", kit::RunOutcome::Failed},
        {"disk full", fw::kDiskFull, "There is not enough space on the disk", kit::RunOutcome::Failed},
        {"invalid name", fw::kInvalidName, "The filename, directory name, or volume label syntax is incorrect",
         kit::RunOutcome::Failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Installation installation("Meridal - 2013 v.2.35");
        FolderFileSystem files;
        const std::string exe = installation.cale + "\\Meridal_2013.exe";
        files.failWith[FolderFileSystem::Native(exe)] = fw::Result::Failure(c.code, c.text);
        MemoryLog log;
        EXPECT_EQ(kit::RunSilently(installation.payload, files, installation.registry, log, "Meridalupgrade"),
                  c.outcome);
        EXPECT_EQ(log.lines.back(), c.code == fw::kSharingViolation
                                        ? "Error: Inchideti mai intai Meridal - 2013!"
                                        : "Meridalupgrade: Cannot create file \"" + exe + "\". " + c.text + ".");
        EXPECT_EQ(Read(installation.install / "Meridal_2013.exe"), "old program");
        EXPECT_EQ(kit::ReadRecordValue(installation.registry, "VER"), "Meridal - 2013 v.2.35");
    }

    // A file that can't be examined is told as such, never taken for missing.
    {
        Installation installation("Meridal - 2013 v.2.35");
        FolderFileSystem files;
        const std::string path = installation.cale + "\\Meridal_2013.exe";
        files.unreadable[FolderFileSystem::Native(path)] = fw::Result::Failure(fw::kAccessDenied, "Access is denied");
        MemoryLog log;
        EXPECT_EQ(kit::RunSilently(installation.payload, files, installation.registry, log, "Meridalupgrade"),
                  kit::RunOutcome::Failed);
        EXPECT_EQ(log.lines.back(), "Meridalupgrade: Cannot create file \"" + path + "\". Access is denied.");
        EXPECT_EQ(Read(installation.install / "Meridal_2013.exe"), "old program");
    }

    SCOPED_TRACE("drive not found");
    Installation installation(nullptr);
    kit::WriteRecordValue(installation.registry, "CALE", "Q:\\Meridal");
    kit::WriteRecordValue(installation.registry, "VER", "Meridal - 2013 v.2.35");
    FolderFileSystem files;
    MemoryLog log;
    EXPECT_EQ(kit::RunSilently(installation.payload, files, installation.registry, log, "Meridalupgrade"),
              kit::RunOutcome::Failed);
    EXPECT_EQ(log.lines.back().rfind("Meridalupgrade: Dosarul \"Q:\\Meridal\" nu poate fi folosit. ", 0), 0u);
    EXPECT_NE(log.lines.back().find(
                  "Unitatea Q: nu exista pentru acest program: o unitate de retea mapata pentru utilizator nu se vede"),
              std::string::npos);
}

// The log's medium fails at one line of a run and takes no line after it.
// The run's exit code is then 5, unless the run had failed on its own
// before: an administrator can't take a run with a broken log for a whole
// one. A log that fails during the check lets nothing be written.
TEST(SilentRun, LogFailingInTheMiddleOfTheRun) {
    struct Case {
        const char* what;
        std::size_t failFrom;  // the first line that can't be written
        bool exeHeld;
        int exitCode;
        bool written;         // the executable replaced
        const char* version;  // VER afterwards
    };
    // Lines of an upgrade: 0 folder, 1 version, 2 "Versiune actualizata.",
    // 3 where the replaced files are kept, 4 the information, 5 the result.
    const Case cases[] = {
        {"at the check's first line", 0, false, 5, false, "Meridal - 2013 v.2.35"},
        {"at the check's last line", 1, false, 5, false, "Meridal - 2013 v.2.35"},
        {"after the files", 2, false, 5, true, "Meridal - 2013 v.2.39"},
        {"at the result line", 5, false, 5, true, "Meridal - 2013 v.2.39"},
        {"at the close-first report of a running application", 2, true, 2, false, "Meridal - 2013 v.2.35"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Installation installation("Meridal - 2013 v.2.35");
        FolderFileSystem files;
        if (c.exeHeld) files.heldForever.insert(FolderFileSystem::Native(installation.cale + "\\Meridal_2013.exe"));
        MemoryLog log;
        log.failFrom = c.failFrom;
        static int told;
        told = 0;
        log.OnFailure = [](const fw::Error& failure) {
            ++told;
            EXPECT_EQ(failure.code, fw::kDiskFull);
        };

        const kit::RunOutcome outcome =
            kit::RunSilently(installation.payload, files, installation.registry, log, "Meridalupgrade");
        EXPECT_EQ(kit::EndRun(log, outcome, "Meridalupgrade"), c.exitCode);
        EXPECT_EQ(log.lines.size(), c.failFrom);  // nothing after the failed line
        EXPECT_EQ(told, 1);
        ASSERT_NE(log.Failure(), nullptr);
        EXPECT_EQ(Read(installation.install / "Meridal_2013.exe"),
                  c.written ? installation.payload.items["MERIDAL"] : "old program");
        EXPECT_EQ(kit::ReadRecordValue(installation.registry, "VER"), c.version);
    }

    // /S /?: the usage, one log line each, then the result; 0, or 5 when the log fails.
    MemoryLog usage;
    EXPECT_EQ(kit::EndRun(usage, kit::WriteUsage(usage), "Meridalupgrade"), 0);
    ASSERT_GE(usage.lines.size(), 3u);
    EXPECT_EQ(usage.lines.front(), "MeridalUpgrade.exe [/UNDO] [/S] [/LOG=<fisier>]");
    EXPECT_EQ(usage.lines.back(), "Rezultat: utilizarea scrisa in jurnal, nimic scris (cod 0)");
    MemoryLog brokenUsage;
    brokenUsage.failFrom = 1;
    EXPECT_EQ(kit::EndRun(brokenUsage, kit::WriteUsage(brokenUsage), "Meridalupgrade"), 5);
}

// /UNDO after an unattended upgrade: the question goes to the window shown,
// No changes nothing, Yes puts the kept version back; a second undo finds
// nothing kept. Unattended, nobody is asked.
TEST(SilentRun, UndoAskedThenUnattended) {
    Installation installation("Meridal - 2013 v.2.35");
    FolderFileSystem files;
    MemoryLog log;
    EXPECT_EQ(kit::RunSilently(installation.payload, files, installation.registry, log, "Meridalupgrade"),
              kit::RunOutcome::Upgraded);
    FakeWindow shown;
    shown.answer = false;
    EXPECT_EQ(kit::RunUndoWithoutWindow(files, installation.registry, log, "Meridalupgrade", &shown),
              kit::RunOutcome::UndoDeclined);
    EXPECT_EQ(shown.questions, std::vector<std::string>{kit::text::UndoQuestion("2.35", KIT_VERSION_SHOWN)});
    EXPECT_EQ(Read(installation.install / "Meridal_2013.exe"), installation.payload.items["MERIDAL"]);

    EXPECT_EQ(kit::RunUndoWithoutWindow(files, installation.registry, log, "Meridalupgrade"), kit::RunOutcome::Undone);
    EXPECT_EQ(Read(installation.install / "Meridal_2013.exe"), "old program");
    EXPECT_EQ(Read(installation.install / "Data" / "Anx3.rtf"), "old annex");
    EXPECT_FALSE(fs::exists(installation.install / "1a.dbf"));
    EXPECT_EQ(kit::ReadRecordValue(installation.registry, "VER"), "Meridal - 2013 v.2.35");
    EXPECT_EQ(log.lines.back(), "Information: Meridal - 2013 a fost readusa la versiunea \"2.35\".");

    const kit::RunOutcome again = kit::RunUndoWithoutWindow(files, installation.registry, log, "Meridalupgrade");
    EXPECT_EQ(kit::EndRun(log, again, "Meridalupgrade"), 8);
    EXPECT_EQ(log.lines[log.lines.size() - 2], std::string("Error: ") + kit::text::kNothingKept);
}

TEST(RunLog, LinesLedByTheLocalDateAndTime) {
    EXPECT_EQ(kit::TimestampedLine({2026, 12, 8, 7, 5, 9}, "Versiune actualizata."),
              "08.12.2026 07:05:09  Versiune actualizata.");
    EXPECT_EQ(kit::DialogLine("Meridalupgrade", "line one\r\nline two"), "Meridalupgrade: line one  line two");
}

}  // namespace
