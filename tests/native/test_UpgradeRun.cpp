#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <tuple>

#include "FakePayload.h"
#include "FakeWindow.h"
#include "MemoryRegistry.h"
#include "FolderFileSystem.h"
#include "TempFolder.h"
#include "framework/Error.h"
#include "BuildVersion.h"
#include "kit/upgrade/InstallationRecord.h"
#include "kit/upgrade/CheckedInstallation.h"
#include "kit/KitTexts.h"
#include "kit/upgrade/Transaction.h"
#include "kit/upgrade/UndoRun.h"
#include "kit/upgrade/UpgradeRun.h"
#include "payload/Catalogue.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

struct UpgradeRunTest : ::testing::Test {
    TempFolder temp;
    fs::path install = temp.Path() / "Meridal";
    MemoryRegistry registry;
    FakePayload payload;
    FolderFileSystem files;
    FakeWindow window;
    kit::UpgradeServices services{payload, files, registry, window};

    UpgradeRunTest() {
        fs::create_directories(install / "Data");
        for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) {
            const std::string code = payload::Catalogue()[i].code;
            // Distinct sizes and bytes per item; the executable is the big one.
            payload.items[code] = std::string(i == 0 ? 300000 : 1000 + 37 * i, static_cast<char>('a' + i));
        }
        kit::WriteRecordValue(registry, "VER", "Meridal - 2013 v.2.35");
        window.enabled = true;
    }

    fs::path Target(std::size_t item) const {
        return FolderFileSystem::Native(install.string() + payload::Catalogue()[item].targetPath);
    }
    const std::string& Item(std::size_t item) { return payload.items[payload::Catalogue()[item].code]; }

    kit::RunOutcome Run() { return kit::RunUpgrade(services, install.string()); }
    kit::RunOutcome Undo() { return kit::RunUndo(files, registry, window, install.string()); }

    std::string RunExpectingFailure(bool undo = false) {
        try {
            undo ? Undo() : Run();
        } catch (const fw::Error& e) {
            return e.what();
        }
        ADD_FAILURE() << "the run succeeded";
        return {};
    }

    std::vector<std::string> LeftoverTemporaryFiles() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(install))
            if (entry.path().extension() == ".tmp") found.push_back(entry.path().string());
        return found;
    }
};

TEST_F(UpgradeRunTest, CompleteRunWritesEveryItemAndRecordsTheVersion) {
    Run();
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) EXPECT_EQ(Read(Target(i)), Item(i)) << Target(i);
    EXPECT_TRUE(fs::exists(install / "Meridal_2013.exe"));
    EXPECT_EQ(kit::ReadRecordValue(registry, "VER"), "Meridal - 2013 v." KIT_VERSION_SHOWN);
    EXPECT_EQ(window.log, (std::vector<std::string>{"Versiune actualizata.", "Fisierele inlocuite sunt pastrate in \"" +
                                                                                 files.kitFolder + "\"."}));
    EXPECT_EQ(window.informations,
              std::vector<std::string>{"Meridal - 2013 a fost actualizata la versiunea " KIT_VERSION_SHOWN "."});
    EXPECT_TRUE(window.errors.empty());
    EXPECT_FALSE(window.enabled);
    EXPECT_TRUE(LeftoverTemporaryFiles().empty());
    // Each item asked for once, in catalogue order.
    std::vector<std::string> order;
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) order.push_back(payload::Catalogue()[i].code);
    EXPECT_EQ(payload.asked, order);
}

TEST_F(UpgradeRunTest, ReportTemplatesAreWrittenOnlyWhereMissing) {
    Write(install / "Data" / "raport.rtf", "{\\rtf1 edited by the town hall}");
    Write(install / "Data" / "Adev1.rtf", "");
    Write(install / "Data" / "Anx3.rtf", "old annex");
    Write(install / "1a.dbf", std::string(5000, 'r'));  // a table holding records
    Run();
    EXPECT_EQ(Read(install / "Data" / "raport.rtf"), "{\\rtf1 edited by the town hall}");
    EXPECT_EQ(Read(install / "Data" / "Adev1.rtf"), "");
    EXPECT_EQ(Read(install / "Data" / "Anx3.rtf"), payload.items["A3"]);
    EXPECT_EQ(Read(install / "1a.dbf"), payload.items["A1"]);
    EXPECT_EQ(Read(install / "Data" / "ModelComunicare.rtf"), payload.items["MC"]);
    EXPECT_EQ(std::count(payload.asked.begin(), payload.asked.end(), "RP"), 0);
    EXPECT_EQ(std::count(payload.asked.begin(), payload.asked.end(), "AD"), 0);
}

TEST_F(UpgradeRunTest, RunningApplicationGetsTheCloseFirstDialogAndNothingIsWritten) {
    Write(install / "Meridal_2013.exe", "old program");
    files.heldForever.insert(FolderFileSystem::Native((install / "Meridal_2013.exe").string()));
    Run();
    EXPECT_EQ(window.errors, std::vector<std::string>{"Inchideti mai intai Meridal - 2013!"});
    EXPECT_EQ(Read(install / "Meridal_2013.exe"), "old program");
    EXPECT_TRUE(fs::is_empty(install / "Data"));
    EXPECT_EQ(std::distance(fs::directory_iterator(install), fs::directory_iterator()), 2);  // exe and Data
    EXPECT_EQ(kit::ReadRecordValue(registry, "VER"), "Meridal - 2013 v.2.35");
    EXPECT_TRUE(window.enabled);
    EXPECT_TRUE(window.log.empty());
    // Only after about two seconds: a scanner's hold would have passed by then.
    EXPECT_GE(files.clock, 2000u);
    EXPECT_LE(files.clock, 2500u);
}

TEST_F(UpgradeRunTest, TargetHeldForAMomentIsWaitedFor) {
    Write(install / "Meridal_2013.exe", "old program");
    files.heldPath = install.string() + "\\Meridal_2013.exe";
    files.heldUntil = 300;
    Run();
    EXPECT_TRUE(window.errors.empty());
    EXPECT_EQ(window.informations.size(), 1u);
    EXPECT_EQ(Read(install / "Meridal_2013.exe"), Item(0));
    EXPECT_GE(files.clock, 300u);
    EXPECT_LT(files.clock, 600u);
    EXPECT_TRUE(LeftoverTemporaryFiles().empty());
}

TEST_F(UpgradeRunTest, MissingDataFolderStopsAtTheFirstReportTemplateWithNothingWritten) {
    fs::remove(install / "Data");
    const std::string target = install.string() + "\\Data\\raport.rtf";
    EXPECT_EQ(RunExpectingFailure(),
              "Cannot create file \"" + target + "\". The system cannot find the path specified");
    EXPECT_TRUE(fs::is_empty(install));
    EXPECT_EQ(kit::ReadRecordValue(registry, "VER"), "Meridal - 2013 v.2.35");
    EXPECT_TRUE(window.enabled);
    EXPECT_TRUE(window.informations.empty());
    EXPECT_TRUE(LeftoverTemporaryFiles().empty());
}

TEST_F(UpgradeRunTest, ReadOnlyTargetKeepsItsBytesAndEndsTheRun) {
    Write(install / "Data" / "Anx3.rtf", "protected annex");
    files.readOnly.insert(FolderFileSystem::Native((install / "Data" / "Anx3.rtf").string()));
    EXPECT_EQ(RunExpectingFailure(),
              "Cannot create file \"" + install.string() + "\\Data\\Anx3.rtf\". The specified file is read only");
    EXPECT_EQ(Read(install / "Data" / "Anx3.rtf"), "protected annex");
    // Nothing else either: the items before it are not put in place.
    EXPECT_EQ(std::distance(fs::directory_iterator(install / "Data"), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(install), fs::directory_iterator()), 1);
}

TEST_F(UpgradeRunTest, ItemMissingFromTheKitEndsTheRunAtThatItem) {
    payload.items.erase("MF");
    EXPECT_EQ(RunExpectingFailure(), "Resource UpGrade not found");
    EXPECT_FALSE(fs::exists(install / "modeltrz.dbf"));
    EXPECT_EQ(kit::ReadRecordValue(registry, "VER"), "Meridal - 2013 v.2.35");

    // The executable's own absence is told as what it is, not as a running application.
    payload.items.erase("MERIDAL");
    EXPECT_EQ(RunExpectingFailure(), "Resource UpGrade not found");
    EXPECT_TRUE(window.errors.empty());
}

TEST_F(UpgradeRunTest, FullDiskLeavesEveryTargetWhollyOldOrWhollyNew) {
    // Old files everywhere, so only the always-written items need space; a disk that fills up at each interesting
    // point: inside every item and at every boundary between items.
    std::vector<long long> capacities;
    long long total = 0;
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) {
        const long long size = static_cast<long long>(Item(i).size());
        for (long long at : {total, total + 1, total + size / 2, total + size - 1}) capacities.push_back(at);
        total += size;
    }
    for (long long capacity : capacities) {
        SCOPED_TRACE("disk space " + std::to_string(capacity));
        for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) Write(Target(i), "old " + std::to_string(i));
        kit::WriteRecordValue(registry, "VER", "Meridal - 2013 v.2.35");
        fs::remove_all(files.kitFolder);
        window = FakeWindow{};
        files.bytesLeftOnDisk = capacity;

        std::string failure;
        try {
            Run();
        } catch (const fw::Error& e) {
            failure = e.what();
        }
        // A full disk ends the run with the disk's own message, on any item.
        const bool completed = !window.informations.empty();
        if (!completed) {
            EXPECT_NE(failure.find("There is not enough space on the disk"), std::string::npos) << failure;
            EXPECT_TRUE(window.errors.empty());
        }
        for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) {
            const bool replaced = completed && payload::Catalogue()[i].rule == payload::WriteRule::Always;
            EXPECT_EQ(Read(Target(i)), replaced ? Item(i) : "old " + std::to_string(i)) << Target(i);
        }
        EXPECT_TRUE(LeftoverTemporaryFiles().empty());
        EXPECT_EQ(kit::ReadRecordValue(registry, "VER"),
                  completed ? "Meridal - 2013 v." KIT_VERSION_SHOWN : "Meridal - 2013 v.2.35")
            << failure;
    }
}

// The next run records the version and ends the run without writing the
// files again, which would keep them in place of the previous version.
TEST_F(UpgradeRunTest, UnwritableRecordFailsAfterEveryFileIsInPlace) {
    registry.denyAccess = true;
    EXPECT_EQ(RunExpectingFailure(), "Failed to set data for 'VER'");
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) EXPECT_EQ(Read(Target(i)), Item(i)) << Target(i);
    EXPECT_TRUE(window.informations.empty());
    // Also when its box can't be shown: the run is done, and the log says why no box came.
    registry.denyAccess = false;
    payload.asked.clear();
    window.boxesFail = true;
    EXPECT_EQ(Run(), kit::RunOutcome::Upgraded);
    EXPECT_EQ(window.notes.back(), "Cannot show a message box");
    EXPECT_TRUE(payload.asked.empty());
    EXPECT_EQ(kit::ReadRecordValue(registry, "VER"), "Meridal - 2013 v." KIT_VERSION_SHOWN);
}

TEST_F(UpgradeRunTest, EmptyInstallFolderWritesNothing) {
    kit::RunUpgrade(services, "");
    EXPECT_TRUE(payload.asked.empty());
    EXPECT_TRUE(window.log.empty());
}

// A link where the kit would write, planted by a user of the writable
// installation folder: Data, or a target. The run is refused before anything
// is written, and what the link points to is untouched.
TEST_F(UpgradeRunTest, LinkInsideTheInstallationIsRefusedAndNothingIsWritten) {
    const fs::path outside = temp.Path() / "Outside";
    fs::create_directories(outside);
    Write(outside / "victim.dbf", "not the kit's");
    Write(install / "Meridal_2013.exe", "old program");
    const std::string oldVersion = "Meridal - 2013 v.2.35";
    const struct {
        fs::path link, to;
    } links[] = {{install / "Data", outside}, {install / "1a.dbf", outside / "victim.dbf"}};
    for (const auto& planted : links) {
        SCOPED_TRACE(planted.link.string());
        fs::remove_all(install / "Data");
        if (planted.link != install / "Data") fs::create_directories(install / "Data");
        fs::create_symlink(planted.to, planted.link);
        const std::string linkPath = install.string() + "\\" + planted.link.filename().string();
        EXPECT_EQ(
            RunExpectingFailure(),
            "Actualizarea a fost oprita si nu s-a scris nimic: \"" + linkPath +
                "\" este o legatura catre alt loc (link, jonctiune sau punct de montare) in dosarul programului.");
        EXPECT_TRUE(payload.asked.empty());
        EXPECT_EQ(Read(install / "Meridal_2013.exe"), "old program");
        EXPECT_EQ(Read(outside / "victim.dbf"), "not the kit's");
        EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 1);
        EXPECT_EQ(kit::ReadRecordValue(registry, "VER"), oldVersion);
        fs::remove(planted.link);
    }

    // A target that is a second name of a file elsewhere.
    fs::create_hard_link(outside / "victim.dbf", install / "modeltrz.dbf");
    EXPECT_EQ(RunExpectingFailure(), "Actualizarea a fost oprita si nu s-a scris nimic: \"" + install.string() +
                                         "\\modeltrz.dbf\" are mai multe nume (o legatura fixa, poate catre un "
                                         "fisier din alt loc) in dosarul programului.");
    EXPECT_EQ(Read(outside / "victim.dbf"), "not the kit's");
    fs::remove(install / "modeltrz.dbf");

    // The installation reached through a link: followed only when nobody
    // but administrators can change the link or the folder it is in; one an
    // administrator owns that users may modify is refused like a user's.
    const auto runAt = [&](const fs::path& folder) -> std::string {
        try {
            return kit::RunUpgrade(services, folder.string()) == kit::RunOutcome::Upgraded ? "" : "declined";
        } catch (const fw::Error& e) {
            return e.what();
        }
    };
    const fs::path linked = temp.Path() / "Linked";
    fs::create_symlink(install, linked);
    const std::string adminOnly = "O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
    const std::string untrusted = "Actualizarea a fost oprita si nu s-a scris nimic: \"" + linked.string() +
                                  "\" este o legatura catre \"" + fs::canonical(install).string() +
                                  "\", facuta de un utilizator care nu este administrator sau pe care un astfel de "
                                  "utilizator o poate schimba, pe calea dosarului programului.";
    EXPECT_EQ(runAt(linked), untrusted);
    files.linkSecurity[linked.string()] = {"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;BU)", adminOnly};
    EXPECT_EQ(runAt(linked), untrusted);
    files.linkSecurity[linked.string()] = {adminOnly, "O:BAD:P(A;;FA;;;BA)(A;;DT;;;BU)"};  // users delete children
    EXPECT_EQ(runAt(linked), untrusted);
    EXPECT_TRUE(payload.asked.empty());
    files.linkSecurity[linked.string()] = {adminOnly, adminOnly};
    EXPECT_EQ(runAt(linked), "");

    // A link held, then swapped for a plain folder before the way is
    // checked: the folder held is not the one the checked way names.
    payload.asked.clear();
    const fs::path swapped = temp.Path() / "Swapped";
    fs::create_symlink(outside, swapped);
    files.afterHold = [&] {
        fs::remove(swapped);
        fs::create_directories(swapped);
    };
    EXPECT_EQ(runAt(swapped), "Actualizarea a fost oprita si nu s-a scris nimic: \"" + swapped.string() +
                                  "\" este o legatura catre alt loc (link, jonctiune sau punct de montare) in dosarul "
                                  "programului.");
    EXPECT_TRUE(payload.asked.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 1);
}

// Names in the writable installation folder that look like the kit's carry
// no meaning: a planted run marker whose tail would name the report
// templates as added, and a planted backup of the program, are left alone,
// and the town hall's edited templates stay.
TEST_F(UpgradeRunTest, NamesPlantedInTheInstallationAreNeverObeyed) {
    Write(install / "Meridal_2013.exe", "old program");
    for (const char* edited : {"raport.rtf", "Adev1.rtf", "ModelComunicare.rtf"})
        Write(install / "Data" / edited, std::string("edited ") + edited);
    const std::vector<fs::path> planted = {install / "Meridal_2013.exe.~000000000000020A.run",
                                           install / "Meridal_2013.exe.~0000000000000001.run",
                                           install / "Meridal_2013.exe.~0000000000000001.bak"};
    for (const fs::path& name : planted) Write(name, "a user's " + name.extension().string());
    files.heldForever.insert(FolderFileSystem::Native((install / "1a.dbf").string()));
    Write(install / "1a.dbf", "records");
    EXPECT_NE(RunExpectingFailure().find("1a.dbf"), std::string::npos);  // the held table, told as what it is
    EXPECT_EQ(Read(install / "Meridal_2013.exe"), "old program");

    files.heldForever.clear();
    EXPECT_EQ(Run(), kit::RunOutcome::Upgraded);
    EXPECT_EQ(Read(install / "Meridal_2013.exe"), Item(0));
    for (const char* edited : {"raport.rtf", "Adev1.rtf", "ModelComunicare.rtf"})
        EXPECT_EQ(Read(install / "Data" / edited), std::string("edited ") + edited);
    for (const fs::path& name : planted) EXPECT_EQ(Read(name), "a user's " + name.extension().string());
}

// After the commit point nothing is rolled back: a failure there is told as
// what it is, with every file new and the record old; the next run finishes
// the job and records the version.
TEST_F(UpgradeRunTest, AFailureAfterTheCommitPointKeepsTheNewFiles) {
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) Write(Target(i), "old " + std::to_string(i));
    files.failFlushOf = "journal.done";
    EXPECT_EQ(RunExpectingFailure().rfind("Cannot create file \"" + files.kitFolder + "\\journal.done\". ", 0), 0u);
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) {
        const bool replaced = payload::Catalogue()[i].rule == payload::WriteRule::Always;
        EXPECT_EQ(Read(Target(i)), replaced ? Item(i) : "old " + std::to_string(i)) << Target(i);
    }
    EXPECT_EQ(kit::ReadRecordValue(registry, "VER"), "Meridal - 2013 v.2.35");
    EXPECT_TRUE(window.enabled);

    files.failFlushOf.clear();
    EXPECT_EQ(Run(), kit::RunOutcome::Upgraded);
    EXPECT_EQ(kit::ReadRecordValue(registry, "VER"), "Meridal - 2013 v." KIT_VERSION_SHOWN);
    // The undo puts back what the stopped run replaced, and nothing of it stays but the lock.
    EXPECT_EQ(Undo(), kit::RunOutcome::Undone);
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) EXPECT_EQ(Read(Target(i)), "old " + std::to_string(i));
    EXPECT_EQ(kit::ReadRecordValue(registry, "VER"), "Meridal - 2013 v.2.35");
    EXPECT_EQ(std::distance(fs::directory_iterator(files.kitFolder), fs::directory_iterator()), 1);
}

// An undo keeps what changed since the upgrade (records the application
// wrote into a table, a template a user edited) and names where; it refuses,
// changing nothing, a kept version of another version, one it can't trust
// and one missing a file. The same where the kit's folder is on another
// volume than the installation, and files are copied there.
TEST_F(UpgradeRunTest, AnUndoKeepsWhatChangedAndRefusesWhatItCantTrust) {
    auto keptFile = [&](const std::string& prefix) {
        for (const auto& entry : fs::directory_iterator(files.kitFolder))
            if (entry.path().filename().string().rfind(prefix, 0) == 0)
                return files.kitFolder + "\\" + entry.path().filename().string();
        return std::string();
    };
    for (const bool otherVolume : {false, true}) {
        SCOPED_TRACE(otherVolume ? "another volume" : "one volume");
        fs::remove_all(install);
        fs::remove_all(files.kitFolder);
        fs::create_directories(install / "Data");
        Write(install / "Meridal_2013.exe", "old program");
        Write(install / "1a.dbf", "old table");
        kit::WriteRecordValue(registry, "VER", "Meridal - 2013 v.2.35");
        files.kitOnOtherVolume = otherVolume;
        ASSERT_EQ(Run(), kit::RunOutcome::Upgraded);
        Write(install / "1a.dbf", Item(6) + "a record");
        Write(install / "Data" / "ModelComunicare.rtf", "edited");

        kit::WriteRecordValue(registry, "VER", "Meridal - 2013 v.2.40");
        window = FakeWindow{};
        EXPECT_EQ(Undo(), kit::RunOutcome::NothingToUndo);
        EXPECT_EQ(window.errors, std::vector<std::string>{fw::FormatMessageText(
                                     kit::text::kKeptForOtherVersion,
                                     {"Meridal - 2013 v.2.40", "Meridal - 2013 v." KIT_VERSION_SHOWN})});
        kit::WriteRecordValue(registry, "VER", "Meridal - 2013 v." KIT_VERSION_SHOWN);
        const std::string manifest = keptFile("kept-");
        files.fileSecurity[FolderFileSystem::Native(manifest)] = FolderFileSystem::kUsersOwn;
        EXPECT_EQ(RunExpectingFailure(true), fw::FormatMessageText(kit::text::kJournalUntrusted, {manifest}));
        files.fileSecurity.clear();
        EXPECT_EQ(Read(install / "Meridal_2013.exe"), Item(0));

        window = FakeWindow{};
        EXPECT_EQ(Undo(), kit::RunOutcome::Undone);
        EXPECT_EQ(Read(install / "Meridal_2013.exe"), "old program");
        EXPECT_EQ(Read(install / "1a.dbf"), "old table");
        EXPECT_FALSE(fs::exists(install / "1b.dbf"));
        EXPECT_FALSE(fs::exists(install / "Data" / "ModelComunicare.rtf"));
        EXPECT_EQ(std::distance(fs::recursive_directory_iterator(install), fs::recursive_directory_iterator()), 3);
        ASSERT_EQ(window.log.size(), 3u);
        for (const auto& [line, target, bytes] :
             {std::tuple{window.log[0], "\\1a.dbf", Item(6) + "a record"},
              std::tuple{window.log[1], "\\Data\\ModelComunicare.rtf", std::string("edited")}}) {
            const std::string start = "Fisierul \"" + install.string() + target + "\" a fost schimbat";
            EXPECT_EQ(line.rfind(start, 0), 0u) << line;
            const std::size_t at = line.rfind("in \"") + 4;
            EXPECT_EQ(Read(FolderFileSystem::Native(line.substr(at, line.size() - at - 2))), bytes) << line;
        }
        EXPECT_EQ(Undo(), kit::RunOutcome::NothingToUndo);

        ASSERT_EQ(Run(), kit::RunOutcome::Upgraded);
        const std::string kept = keptFile("Meridal_2013.exe.~");
        fs::remove(FolderFileSystem::Native(kept));
        EXPECT_EQ(RunExpectingFailure(true), fw::FormatMessageText(kit::text::kKeptFileMissing, {kept}));
    }
}

// A target's name taken by another program between the moment the old file
// is moved aside and the new one takes its place: nothing claims the
// installation is as it was; the message says where the old file is, and
// the next run puts it back once the name is free.
TEST_F(UpgradeRunTest, ANameTakenMeanwhileIsToldWithWhereTheOldFileIs) {
    Write(install / "1b.dbf", "old table");
    files.takenWhenMoved = install.string() + "\\1b.dbf";
    const std::string failure = RunExpectingFailure();
    EXPECT_NE(failure.find("Fisierul vechi \"" + install.string() +
                           "\\1b.dbf\" nu a putut fi pus la loc si se afla in \"" + files.kitFolder + "\\1b.dbf.~"),
              std::string::npos)
        << failure;
    EXPECT_EQ(Read(install / "1b.dbf"), "taken meanwhile");
    files.takenWhenMoved.clear();
    EXPECT_NE(RunExpectingFailure().find(kit::text::kNameTaken), std::string::npos);

    fs::remove(install / "1b.dbf");
    EXPECT_EQ(Run(), kit::RunOutcome::Upgraded);
    EXPECT_EQ(Read(install / "1b.dbf"), Item(7));
}

// A journal that anyone but Administrators and SYSTEM could have written is
// never obeyed: the run stops with nothing changed. A second transaction
// while one runs ends as another kit running.
TEST_F(UpgradeRunTest, AnUntrustedJournalOrAnotherTransactionChangesNothing) {
    Write(install / "Meridal_2013.exe", "old program");
    fs::create_directories(files.kitFolder);
    const fs::path journal = fs::path(files.kitFolder) / "journal";
    Write(journal, "MeridalUpgrade journal 1\n");
    files.fileSecurity[journal.string()] = "O:S-1-5-21-1-2-3-1001D:(A;;FA;;;BA)(A;;FA;;;S-1-5-21-1-2-3-1001)";
    EXPECT_EQ(RunExpectingFailure(),
              fw::FormatMessageText(kit::text::kJournalUntrusted, {files.kitFolder + "\\journal"}));
    EXPECT_TRUE(fs::exists(journal));
    EXPECT_EQ(Read(install / "Meridal_2013.exe"), "old program");
    fs::remove(journal);

    std::unique_ptr<fw::HeldFile> lock;
    ASSERT_TRUE(files.HoldLock(files.kitFolder + "\\lock", lock));
    EXPECT_EQ(Run(), kit::RunOutcome::AnotherKitRunning);
    EXPECT_EQ(window.informations, std::vector<std::string>{kit::text::kAnotherKitRunning});
    EXPECT_EQ(Read(install / "Meridal_2013.exe"), "old program");
    EXPECT_TRUE(payload.asked.empty());
}

// Each step of an upgrade, and of an undo after it, fails in turn: alone,
// together with every later step (putting back fails too), or as a power cut
// that stops everything. A single failure leaves the installation as it was
// at once; after the others, the next run's recovery leaves it wholly old or
// wholly new, its record saying which, and none of the kit's files beside
// them. Whatever is new then goes back to the old by an undo: the kept
// version survives every failure. The installation replaces some targets and
// adds others.
TEST_F(UpgradeRunTest, AFailureOrAPowerCutAtAnyStepLeavesOneWholeVersion) {
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i)  // small, for the hundreds of runs
        payload.items[payload::Catalogue()[i].code] = std::string(100 + i, static_cast<char>('a' + i));
    const std::vector<std::size_t> present = {0, 2, 3, 6};  // the program, Anx3.rtf, Adev1.rtf, 1a.dbf
    auto prepare = [&] {
        fs::remove_all(install);
        fs::remove_all(files.kitFolder);
        fs::create_directories(install / "Data");
        for (std::size_t i : present) Write(Target(i), "old " + std::to_string(i));
        kit::WriteRecordValue(registry, "VER", "Meridal - 2013 v.2.35");
    };
    auto state = [&](bool withRecord = true) {
        bool old = true, updated = true;
        for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) {
            const bool was = std::find(present.begin(), present.end(), i) != present.end();
            const std::string before = was ? "old " + std::to_string(i) : "<none>";
            const bool kept = was && payload::Catalogue()[i].rule == payload::WriteRule::OnlyIfMissing;
            const std::string now = fs::exists(Target(i)) ? Read(Target(i)) : "<none>";
            old = old && now == before;
            updated = updated && now == (kept ? before : Item(i));
        }
        // The record says which, but for a run told as failed after its
        // commit point: the next run's recovery records the version.
        const std::string version = kit::ReadRecordValue(registry, "VER");
        if (old && (version == "Meridal - 2013 v.2.35" || !withRecord)) return std::string("old");
        return std::string(updated && (version == "Meridal - 2013 v." KIT_VERSION_SHOWN || !withRecord) ? "new"
                                                                                                        : "mixed");
    };
    auto kitFiles = [&] {
        std::vector<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(install))
            if (entry.path().filename().string().find(".~") != std::string::npos) found.push_back(entry.path());
        return found;
    };
    std::vector<std::string> targets;
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i)
        targets.push_back(install.string() + payload::Catalogue()[i].targetPath);

    int closeFirst = 0;
    for (const bool undo : {false, true}) {
        for (const int mode : {0, 1, 2}) {
            for (int step = 1;; ++step) {
                SCOPED_TRACE(std::string(undo ? "undo" : "upgrade") + ", mode " + std::to_string(mode) + ", step " +
                             std::to_string(step));
                prepare();
                files.Restart();
                if (undo) {
                    ASSERT_EQ(Run(), kit::RunOutcome::Upgraded);
                }
                files.Restart();
                files.failStep = step;
                files.failFromThenOn = mode == 1;
                files.powerCut = mode == 2;
                bool failed = false;
                try {
                    undo ? Undo() : Run();
                } catch (const fw::Error&) {
                    failed = true;
                } catch (const FolderFileSystem::PowerCut&) {
                    failed = true;
                }
                const bool committed = fs::exists(fs::path(files.kitFolder) / "journal.done");
                if (!failed) {
                    EXPECT_EQ(state(), undo ? "old" : "new");
                } else if (mode == 0) {
                    // Told after the commit point, the files are the run's.
                    EXPECT_EQ(state(false), committed != undo ? "new" : "old");
                    EXPECT_EQ(kitFiles(), std::vector<std::string>{});
                }

                const int steps = files.steps;
                files.Restart();
                if (mode == 2) {
                    // The application started again after the power cut and
                    // holding its program: recovery asks to close it first.
                    files.heldForever.insert(FolderFileSystem::Native(targets[0]));
                    try {
                        kit::CheckedInstallation installation(files, install.string());
                        kit::Transaction next(files, registry, installation, targets, targets[0]);
                    } catch (const kit::ProgramHeld& held) {
                        EXPECT_STREQ(held.what(), "Inchideti mai intai Meridal - 2013!");
                        ++closeFirst;
                    }
                    files.heldForever.clear();
                }
                {
                    // The next run's recovery, then nothing more.
                    kit::CheckedInstallation installation(files, install.string());
                    kit::Transaction next(files, registry, installation, targets, targets[0]);
                }
                // A temporary file made but never written down in the journal
                // (the line failed, then everything did, or the power went) is
                // empty, and harmless.
                for (const std::string& left : kitFiles()) EXPECT_TRUE(mode != 0 && fs::is_empty(left)) << left;
                const std::string now = state();
                EXPECT_NE(now, "mixed");
                if (now == "new") {
                    EXPECT_EQ(Undo(), kit::RunOutcome::Undone);
                    EXPECT_EQ(state(), "old");
                }
                // Nothing kept once the old version is back, but the lock.
                EXPECT_EQ(std::distance(fs::directory_iterator(files.kitFolder), fs::directory_iterator()), 1);
                if (steps < step) break;  // no step left to fail
            }
        }
    }
    EXPECT_GT(closeFirst, 0);
}

}  // namespace
