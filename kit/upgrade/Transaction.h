// The transaction of an upgrade or of an undo in one place: its steps, its
// commit point, and what the next run does with a run stopped short (killed,
// a power cut).
//
// The installation folder is writable by ordinary users, so nothing found
// there steers the kit: names that look like the kit's carry no meaning.
// The transaction keeps its state in the kit's own folder
// (FileSystem::HoldKitFolder), which only Administrators and SYSTEM can
// change:
//   lock                 held, shared with nobody, while a transaction or a
//                        recovery runs: one at a time on the machine
//   journal              what the run does, by name and identity (Journal.h)
//   journal.done         the same, once the run is committed
//   <name>.~<tail>.bak   each replaced target, moved there by its handle
//   kept-<folder id>     an installation's kept version (KeptVersion.h)
// Where the installation is on another volume than the kit's folder (another
// drive, a network share), a file can't be moved there: its backup then
// stays beside the target, held unshared by the kit until the run ends, so
// nobody can rename, replace or remove it meanwhile. After a power cut a user
// could remove or rename it; recovery then finds no file of the recorded
// identity and says so, but it never takes another file for it.
//
// Steps:
//  1. Begin: the lock held; a journal left by a stopped run played back; a
//     new journal naming the installation folder.
//  2. Stage: each item written to "<target>.~<tail>.tmp" beside its target,
//     flushed and held; the target it replaces held. Each temporary file is
//     appended to the journal. An undo also removes targets: only held.
//  3. Plan: the recorded version before and after, every item, its new file
//     and where the file it replaces goes, appended to the journal and
//     flushed. From here a stopped run is rolled
//     back.
//  4. Place: each replaced target moved to its backup name, then its new file
//     renamed to the target's name. Between the two the name is free: a
//     rename that replaces at once (FileRenameInfoEx with POSIX semantics)
//     exists only from Windows 10 1809 on and Wine 8 doesn't implement it, so
//     a name another program takes in that moment is noticed instead, and
//     the failure says where the old file is kept.
//  5. Commit point: the journal renamed "journal.done" and flushed. The
//     renames of step 4 come first in the volume's metadata log, which NTFS
//     (and ext4 under Wine) writes in order, so this one flush makes them all
//     durable; where the installation is on another volume, a placed file
//     there is flushed first. No folder is flushed, so no write access to a
//     folder is needed and a program listing it stops nothing. After this
//     point nothing is rolled back: a failure is told with the files new.
//  6. The record: "VER" set to the version after the run.
//  7. Finish (FinishCommitted): an upgrade's replaced files kept, an undo's
//     kept version consumed; then the journal removed.
//
// Recovery, by what the kit's folder holds:
//   no journal                  nothing to do
//   a journal it can't trust    refused, nothing changes
//   journal without its plan    staging stopped: its temporary files removed
//   journal with its plan       rolled back: a target holding its new file is
//                               emptied, each backup goes back to the name it
//                               came from, temporary files removed
//   journal.done                the record set, then finished (step 7)
// Every file is acted on only when its identity is the one recorded. What
// can't be brought back stops the run with the journal kept, and says what is
// where; the application holding its program is told as running.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Error.h"
#include "framework/FileSystem.h"
#include "framework/RegistryStore.h"
#include "kit/upgrade/Journal.h"
#include "kit/upgrade/KitFolder.h"

namespace kit {

class CheckedInstallation;

// The application holds its program beyond the wait for a scanner.
class ProgramHeld : public fw::Error {
public:
    using fw::Error::Error;
};

class Transaction {
public:
    // Step 1 and the recovery. targets: every target in catalogue order;
    // program: the application's, among them.
    Transaction(fw::FileSystem& files, fw::RegistryStore& registry, const CheckedInstallation& installation,
                const std::vector<std::string>& targets, const std::string& program);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    // Not committed: every target is put back as it was and the new files
    // removed; what can't be is left to the next run's recovery.
    ~Transaction();

    // Step 2 for the target at position; crc: of the data. Fails with
    // "Cannot create file "<target>". <system text>"; ProgramHeld for a
    // running application.
    void Stage(std::size_t position, const void* data, std::size_t size, std::uint32_t crc);
    // Step 2 of an undo for a target it removes: held, where there is one.
    void Remove(std::size_t position);
    // An undo: whether the target at position, staged or removed, is still
    // the file the upgrade wrote (upgraded: its item in the kept version). A
    // changed one stays in the kit's folder when the run ends.
    bool KeepIfChanged(std::size_t position, const JournalItem& upgraded);

    KitFolder& Kit() { return kit_; }
    // The stopped run of this installation that recovery found committed and
    // finished: an upgrade or an undo that is complete now; null when none.
    const Journal* Finished() const { return finished_.folder.empty() ? nullptr : &finished_; }

    // Steps 3 to 7, recording after in place of before. A failure before the
    // commit point rolls every target back and is thrown again, told with
    // what couldn't be put back; the record's failure after it is thrown
    // too. Gives the failure of step 7, which the next run finishes.
    fw::Result Commit(const std::string& before, const std::string& after, bool undo);
    // What Commit planned and did: each replaced target's item names where it is now.
    const Journal& Plan() const { return plan_; }

private:
    struct Item {
        std::size_t position = 0;
        std::string target;
        JournalFile fresh;
        std::unique_ptr<fw::HeldFile> file;  // the new bytes; none when the target goes
        std::unique_ptr<fw::HeldFile> old;   // the target it replaces; none when it adds one
        std::uint64_t oldIndex = 0, size = 0;
        std::uint32_t crc = 0;
        bool keepOld = false;
        fw::HeldFolder* folder = nullptr;  // the target's, held
        std::string backup;
        bool backupHere = false;  // the backup goes to the kit's folder, on the same volume
        bool movedAside = false;  // the old target is under its backup name
        bool placed = false;      // the new file is the target
    };

    void Recover();
    void RecoverFrom(const std::string& name, bool done);
    void RollBackItem(const JournalItem& item);
    // The text of what couldn't be put back; empty when all was.
    std::string RollBack();
    // The target at position held in item.old, where there is one.
    void HoldTarget(Item& item);

    fw::FileSystem& files_;
    fw::RegistryStore& registry_;
    const CheckedInstallation& installation_;
    const std::vector<std::string>& targets_;
    std::string program_;
    KitFolder kit_;
    std::unique_ptr<fw::HeldFile> journal_;
    std::string journalPath_;
    std::vector<Item> items_;
    Journal plan_;
    Journal finished_;
    bool committed_ = false;
    bool rolledBack_ = false;   // Commit rolled back already
    bool keepJournal_ = false;  // something couldn't be put back: the next run tries again
};

}  // namespace kit
