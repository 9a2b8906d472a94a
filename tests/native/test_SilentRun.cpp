#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "FakePayload.h"
#include "FileRegistry.h"
#include "FolderFileSystem.h"
#include "TempFolder.h"
#include "kit/BuildVersion.h"
#include "kit/CommandLine.h"
#include "kit/InstallationRecord.h"
#include "kit/RunLog.h"
#include "kit/RunOutcome.h"
#include "kit/SilentRun.h"
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

    using kit::RunOutcome;
    const std::pair<RunOutcome, int> codes[] = {
        {RunOutcome::Upgraded, 0},          {RunOutcome::UpToDate, 0},           {RunOutcome::NotInstalled, 1},
        {RunOutcome::VersionUnreadable, 1}, {RunOutcome::ApplicationRunning, 2}, {RunOutcome::FailedAfterFirstItem, 3},
        {RunOutcome::BadCommandLine, 4},    {RunOutcome::LogUnavailable, 5},     {RunOutcome::PayloadDamaged, 7},
    };
    for (const auto& [outcome, code] : codes) {
        EXPECT_EQ(kit::ExitCodeOf(outcome), code);
        EXPECT_NE(kit::ResultLine(outcome).find("(cod " + std::to_string(code) + ")"), std::string::npos);
    }
}

struct MemoryLog : kit::RunLog {
    std::vector<std::string> lines;
    void Write(const std::string& text) override { lines.push_back(text); }
};

// The kit's record of its own version, as the build set it.
const char kKitRecord[] = "Meridal - 2013 v." KIT_VERSION_SHOWN;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

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
         {"Versiune actualizata.",
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
             files.replaceFails.insert(FolderFileSystem::Native(cale + "\\Meridal_2013.exe"));
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
         kit::RunOutcome::FailedAfterFirstItem,
         {"Meridalupgrade: Cannot create file \"INSTALL\\Data\\raport.rtf\". The system cannot find the path "
          "specified."},
         true,
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
        TempFolder temp;
        const fs::path install = temp.Path() / "Meridal";
        fs::create_directories(install / "Data");
        std::ofstream(install / "Meridal_2013.exe", std::ios::binary) << "old program";
        std::ofstream(install / "Data" / "Anx3.rtf", std::ios::binary) << "old annex";
        // A fully qualified folder, as the check wants: the UNC spelling
        // "\\tmp\..." of the temporary folder, which names the same folder here.
        std::string cale = "\\\\" + install.string().substr(1);
        std::replace(cale.begin(), cale.end(), '/', '\\');
        FileRegistry registry{temp.File("registry.txt")};
        if (c.recorded) {
            kit::WriteRecordValue(registry, "CALE", cale);
            kit::WriteRecordValue(registry, "VER", c.recorded);
        }
        FakePayload payload;
        for (std::size_t i = 0; i < payload::CatalogueSize(); ++i)
            payload.items[payload::Catalogue()[i].code] = "new item " + std::to_string(i);
        FolderFileSystem files;
        c.prepare(install, cale, files, payload);
        MemoryLog log;

        EXPECT_EQ(kit::RunSilently(payload, files, registry, log, "Meridalupgrade"), c.outcome);
        std::vector<std::string> expected = c.lastLines;
        for (std::string& line : expected) {
            const std::size_t at = line.find("INSTALL");
            if (at != std::string::npos) line.replace(at, 7, cale);
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

TEST(RunLog, LinesLedByTheLocalDateAndTime) {
    EXPECT_EQ(kit::TimestampedLine({2026, 12, 8, 7, 5, 9}, "Versiune actualizata."),
              "08.12.2026 07:05:09  Versiune actualizata.");
    EXPECT_EQ(kit::DialogLine("Meridalupgrade", "line one\r\nline two"), "Meridalupgrade: line one  line two");
}

}  // namespace
