#include "kit/Transaction.h"

#include <utility>

#include "framework/HexDigits.h"
#include "framework/SecurityRules.h"
#include "kit/CheckedInstallation.h"
#include "kit/KitTexts.h"
#include "kit/PathFailures.h"
#include "kit/RetryWhileHeld.h"

namespace kit {

namespace {

const char kJournal[] = "journal", kJournalDone[] = "journal.done", kLock[] = "lock";
const unsigned kMaxNames = 10;  // fresh names tried while the earlier ones exist

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

bool Missing(const fw::Result& result) { return result.code == fw::kFileNotFound || result.code == fw::kPathNotFound; }

enum class Found { Same, Missing, Other };

// What path holds: the file of identity id (then held in file), nothing, or
// anything else: another file, a link, a second name. A file held by another
// program is waited for; still held, it is a failure.
fw::Result Find(fw::FileSystem& files, const std::string& path, std::uint64_t index, Found& found,
                std::unique_ptr<fw::HeldFile>& file) {
    fw::Result result = RetryWhileHeld(files, [&] { return files.OpenExisting(path, file); });
    found = Found::Other;
    if (Missing(result)) found = Found::Missing;
    if (!result) return Missing(result) || result.code == fw::kCantAccessFile ? fw::Result::Success() : result;
    std::uint64_t actual = 0;
    if (!(result = file->Index(actual))) return result;
    if (actual == index) found = Found::Same;
    else file.reset();
    return result;
}

// Removes the file at path when it is the one of identity id.
fw::Result RemoveIfSame(fw::FileSystem& files, const std::string& path, std::uint64_t index) {
    Found found;
    std::unique_ptr<fw::HeldFile> file;
    const fw::Result result = Find(files, path, index, found, file);
    return result && found == Found::Same ? file->Remove() : result;
}

}  // namespace

AnotherKitRunning::AnotherKitRunning() : fw::Error(text::kAnotherKitRunning, fw::kSharingViolation) {}

Transaction::Transaction(fw::FileSystem& files, const CheckedInstallation& installation,
                         const std::vector<std::string>& targets, const std::string& program)
    : files_(files), installation_(installation), targets_(targets), program_(program) {
    fw::Result result = files_.HoldKitFolder(kitFolder_);
    if (result) result = kitFolder_->Identity(kitFolderId_);
    if (!result) throw fw::Error(fw::FormatMessageText(text::kKitFolderUnusable, {result.text}), result.code);
    // Another kit's transaction holds its lock for as long as it runs; one
    // that ended, even killed, let it go.
    result = files_.HoldLock(KitPath(kLock), lock_);
    if (result.code == fw::kSharingViolation) throw AnotherKitRunning();
    if (!result) RaiseCannotCreate(KitPath(kLock), result);
    Recover();

    fw::FileId folder;
    journalPath_ = KitPath(kJournal);
    if ((result = installation_.Identity(folder)) && (result = kitFolder_->CreateNew(kJournal, journal_))) {
        const std::string header = JournalHeader(installation_.Folder(), folder);
        result = journal_->Write(header.data(), header.size());
    }
    if (!result) RaiseCannotCreate(journalPath_, result);
}

std::string Transaction::KitPath(const std::string& name) const { return kitFolder_->FinalPath() + "\\" + name; }

//--- Recovery

void Transaction::Recover() {
    RecoverFrom(KitPath(kJournalDone), true);
    RecoverFrom(KitPath(kJournal), false);
}

void Transaction::RecoverFrom(const std::string& path, bool done) {
    std::unique_ptr<fw::HeldFile> file;
    fw::Result result = files_.OpenExisting(path, file);
    if (Missing(result)) return;
    if (!result) RaiseCannotCreate(path, result);
    // Only a journal nobody but Administrators and SYSTEM can have written
    // is obeyed.
    std::string sddl, text;
    if (files_.KeepsFileSecurity()) {
        if (!(result = file->Security(sddl))) RaiseCannotCreate(path, result);
        if (!fw::OnlyAdministratorsCanChange(sddl)) RaiseText(text::kJournalUntrusted, {path});
    }
    Journal journal;
    if (!(result = file->ReadAll(text))) RaiseCannotCreate(path, result);
    if (!ParseJournal(text, journal)) RaiseText(text::kJournalUnreadable, {path});
    fw::FileId folder;
    if (!(result = installation_.Identity(folder))) RaiseFolderUnusable(installation_.Folder(), result);
    if (!journal.folder.empty() && journal.folderId != folder)
        RaiseText(text::kJournalOtherFolder, {path, journal.folder});

    if (done) {
        // Committed: the new files are in place; only the backups remain.
        for (const JournalItem& item : journal.items)
            if (item.replaces && !(result = RemoveIfSame(files_, item.old.path, item.old.index)))
                RaiseCannotCreate(item.old.path, result);
    } else {
        for (auto item = journal.items.rbegin(); item != journal.items.rend(); ++item) RollBackItem(*item);
        for (const JournalFile& temporary : journal.temporaries)
            if (!(result = RemoveIfSame(files_, temporary.path, temporary.index)))
                RaiseCannotCreate(temporary.path, result);
    }
    if (!(result = file->Remove())) RaiseCannotCreate(path, result);
}

void Transaction::RollBackItem(const JournalItem& item) {
    Found found;
    std::unique_ptr<fw::HeldFile> file;
    fw::Result result = Find(files_, item.target, item.fresh.index, found, file);
    if (result && found == Found::Same) result = file->Remove();
    if (!result && result.Held() && item.target == program_) throw ProgramHeld(text::CloseFirstText(), result.code);
    if (!result) RaiseCannotCreate(item.target, result);
    if (!(result = RemoveIfSame(files_, item.fresh.path, item.fresh.index))) RaiseCannotCreate(item.fresh.path, result);
    if (!item.replaces) return;

    // The old file is at its name still, or under a backup name of its own.
    if (!(result = Find(files_, item.target, item.old.index, found, file))) RaiseCannotCreate(item.target, result);
    if (found == Found::Same) return;
    const bool nameFree = found == Found::Missing;
    Found backed;
    std::unique_ptr<fw::HeldFile> old;
    if (!(result = Find(files_, item.old.path, item.old.index, backed, old))) RaiseCannotCreate(item.old.path, result);
    if (backed == Found::Same) {
        if (nameFree) {
            fw::HeldFolder* folder = installation_.FolderOf(item.target, result);
            if (!folder && result) RaiseText(text::kJournalOtherFolder, {KitPath(kJournal), item.target});
            if (folder && (result = old->MoveTo(*folder, FileName(item.target)))) return;
        }
        throw fw::Error(fw::FormatMessageText(text::kNotPutBack,
                                              {item.target, item.old.path, nameFree ? result.text : text::kNameTaken}),
                        result.code);
    }
    RaiseText(text::kBackupMissing, {item.target});
}

//--- Forward

fw::Result Transaction::FreshName(const std::string& base, const char* extension, std::string& path) {
    std::uint64_t tail = 0;
    const fw::Result result = files_.Random(tail);
    path = base + ".~" + fw::HexDigits(tail) + extension;
    return result;
}

void Transaction::Stage(std::size_t position, const void* data, std::size_t size) {
    Item item;
    item.position = position;
    item.target = targets_[position];
    // A fresh random tail while the name made of it exists: files planted in
    // advance can't stop the kit.
    fw::Result result;
    item.folder = installation_.FolderOf(item.target, result);
    for (unsigned attempt = 0; item.folder && attempt < kMaxNames; ++attempt) {
        if ((result = FreshName(item.target, ".tmp", item.fresh.path)))
            result = item.folder->CreateNew(FileName(item.fresh.path), item.file);
        if (result || (result.code != fw::kFileExists && result.code != fw::kAlreadyExists)) break;
    }
    if (!item.folder && result) result = fw::Result::Failure(fw::kPathNotFound, std::string());
    if (result) result = item.file->Index(item.fresh.index);
    std::string failed = item.target;
    if (result) {
        const std::string record = TemporaryRecord(item.fresh);
        if (!(result = journal_->Write(record.data(), record.size()))) failed = journalPath_;
    }
    if (result) result = item.file->Write(data, size);
    if (result) result = item.file->Flush();
    if (result) {
        // Its open is also the check for a running program.
        result = RetryWhileHeld(files_, [&] { return files_.OpenExisting(item.target, item.old); });
        if (result.code == fw::kFileNotFound) result = fw::Result::Success();  // a target the run adds
        else if (result) result = item.old->Index(item.oldIndex);
    }
    if (!result) {
        if (item.file) item.file->Remove();
        if (item.target == program_ && result.code == fw::kSharingViolation)
            throw ProgramHeld(text::CloseFirstText(), result.code);
        RaiseCannotCreate(failed, result);
    }
    items_.push_back(std::move(item));
}

fw::Result Transaction::Commit() {
    // 3. The plan, on the disk before anything moves.
    std::vector<JournalItem> plan;
    bool otherVolume = false;
    for (Item& item : items_) {
        // A replaced target is moved into the kit's folder where its folder
        // is on the same volume, else beside itself.
        fw::FileId folder;
        const fw::Result known = item.folder->Identity(folder);
        if (!known) RaiseFolderUnusable(item.folder->FinalPath(), known);
        const bool here = folder.volume == kitFolderId_.volume;
        otherVolume = otherVolume || !here;
        JournalItem planned{item.target, item.fresh, item.old != nullptr, {}};
        if (item.old) {
            item.backupHere = here;
            const fw::Result named = here ? FreshName(KitPath(FileName(item.target)), ".bak", item.backup)
                                          : FreshName(item.target, ".bak", item.backup);
            if (!named) RaiseCannotCreate(item.target, named);
            planned.old = {item.backup, item.oldIndex};
        }
        plan.push_back(std::move(planned));
    }
    const std::string records = PlacingRecords(plan);
    fw::Result result = journal_->Write(records.data(), records.size());
    if (result) result = journal_->Flush();
    if (!result) RaiseCannotCreate(journalPath_, result);

    try {
        // 4. Place.
        for (Item& item : items_) {
            if (item.old) {
                fw::HeldFolder& aside = item.backupHere ? *kitFolder_ : *item.folder;
                if (!(result = item.old->MoveTo(aside, FileName(item.backup)))) RaiseCannotCreate(item.target, result);
                item.movedAside = true;
            }
            if (!(result = item.file->MoveTo(*item.folder, FileName(item.target))))
                RaiseCannotCreate(item.target, result);
            item.placed = true;
        }
        // 5. Commit point.
        if (otherVolume && !items_.empty() && !(result = items_.back().file->Flush()))
            RaiseCannotCreate(items_.back().target, result);
        const std::string done = KitPath(kJournalDone);
        if (!(result = journal_->MoveTo(*kitFolder_, kJournalDone))) RaiseCannotCreate(done, result);
        journalPath_ = done;
        committed_ = true;
    } catch (const fw::Error& failure) {
        const std::string lost = RollBack();
        rolledBack_ = true;
        keepJournal_ = !lost.empty();
        if (lost.empty()) throw;
        throw fw::Error(std::string(failure.what()) + "\n" + lost, failure.code);
    }
    // Told as what it is: the files are new, but not yet surely on the disk.
    if (!(result = journal_->Flush())) RaiseCannotCreate(journalPath_, result);

    // 6. Finish. What can't be removed now the next run removes.
    for (Item& item : items_)
        if (item.old && !(result = item.old->Remove())) break;
    if (result) result = journal_->Remove();
    items_.clear();  // lets every file go: the application may open them now
    if (result) return result;
    return fw::Result::Failure(result.code,
                               fw::FormatMessageText(text::kCleanupLeft, {kitFolder_->FinalPath(), result.text}));
}

std::string Transaction::RollBack() {
    std::string lost;
    for (auto item = items_.rbegin(); item != items_.rend(); ++item) {
        if (item->placed) {
            const fw::Result removed = item->file->Remove();
            if (!removed) {
                lost += fw::FormatMessageText(text::kCannotCreateFile, {item->target, removed.text}) + "\n";
                continue;
            }
            item->file.reset();
            item->placed = false;
        }
        if (item->movedAside) {
            const fw::Result back = item->old->MoveTo(*item->folder, FileName(item->target));
            if (!back) {
                lost += fw::FormatMessageText(text::kNotPutBack, {item->target, item->backup, back.text}) + "\n";
                continue;
            }
            item->movedAside = false;
        }
    }
    if (!lost.empty()) lost.pop_back();
    return lost;
}

Transaction::~Transaction() {
    if (committed_) return;
    // Through their own handles. Whatever can't be put back keeps the
    // journal, and the next run finishes the job.
    if (!rolledBack_) keepJournal_ = !RollBack().empty();
    for (Item& item : items_)
        if (!item.placed && item.file) item.file->Remove();
    if (!keepJournal_ && journal_) journal_->Remove();
}

}  // namespace kit
