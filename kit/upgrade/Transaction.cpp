#include "kit/upgrade/Transaction.h"

#include <utility>

#include "kit/upgrade/CheckedInstallation.h"
#include "kit/upgrade/InstallationRecord.h"
#include "kit/upgrade/KeptVersion.h"
#include "kit/KitTexts.h"
#include "kit/upgrade/PathFailures.h"
#include "kit/upgrade/RetryWhileHeld.h"
#include "payload/Crc32.h"

namespace kit {

namespace {
const char kJournal[] = "journal", kJournalDone[] = "journal.done";
const unsigned kMaxNames = 10;  // fresh names tried while the earlier ones exist
}  // namespace

Transaction::Transaction(fw::FileSystem& files, fw::RegistryStore& registry, const CheckedInstallation& installation,
                         const std::vector<std::string>& targets, const std::string& program)
    : files_(files),
      registry_(registry),
      installation_(installation),
      targets_(targets),
      program_(program),
      kit_(files) {
    Recover();
    fw::FileId folder;
    journalPath_ = kit_.Path(kJournal);
    fw::Result result;
    if ((result = installation_.Identity(folder)) && (result = kit_.Held().CreateNew(kJournal, journal_))) {
        const std::string header = JournalHeader(installation_.Folder(), folder);
        result = journal_->Write(header.data(), header.size());
    }
    if (!result) RaiseCannotCreate(journalPath_, result);
}

//--- Recovery

void Transaction::Recover() {
    RecoverFrom(kJournalDone, true);
    RecoverFrom(kJournal, false);
}

void Transaction::RecoverFrom(const std::string& name, bool done) {
    Journal journal;
    std::unique_ptr<fw::HeldFile> file;
    if (!kit_.Read(name, journal, file)) return;
    const std::string path = kit_.Path(name);
    fw::FileId folder;
    const fw::Result result = installation_.Identity(folder);
    if (!result) RaiseFolderUnusable(installation_.Folder(), result);
    if (!journal.folder.empty() && journal.folderId != folder)
        RaiseText(text::kJournalOtherFolder, {path, journal.folder});

    if (done) {
        // Committed: the new files are in place; the record and the end remain.
        WriteRecordValue(registry_, "VER", journal.after);
        FinishCommitted(files_, kit_, journal, *file);
        finished_ = std::move(journal);
        return;
    }
    for (auto item = journal.items.rbegin(); item != journal.items.rend(); ++item) RollBackItem(*item);
    for (const JournalFile& temporary : journal.temporaries) {
        const fw::Result removed = RemoveIfSame(files_, temporary.path, temporary.index);
        if (!removed) RaiseCannotCreate(temporary.path, removed);
    }
    const fw::Result removed = file->Remove();
    if (!removed) RaiseCannotCreate(path, removed);
}

void Transaction::RollBackItem(const JournalItem& item) {
    Found found = Found::Missing;
    std::unique_ptr<fw::HeldFile> file;
    fw::Result result;
    if (!item.fresh.path.empty()) {
        result = FindFile(files_, item.target, item.fresh.index, found, file);
        if (result && found == Found::Same) result = file->Remove();
        if (!result && result.Held() && item.target == program_) throw ProgramHeld(text::CloseFirstText(), result.code);
        if (!result) RaiseCannotCreate(item.target, result);
        if (!(result = RemoveIfSame(files_, item.fresh.path, item.fresh.index)))
            RaiseCannotCreate(item.fresh.path, result);
    }
    if (!item.replaces) return;

    // The old file is at its name still, or under a backup name of its own.
    if (!(result = FindFile(files_, item.target, item.old.index, found, file))) RaiseCannotCreate(item.target, result);
    if (found == Found::Same) return;
    const bool nameFree = found == Found::Missing;
    Found backed;
    std::unique_ptr<fw::HeldFile> old;
    if (!(result = FindFile(files_, item.old.path, item.old.index, backed, old)))
        RaiseCannotCreate(item.old.path, result);
    if (backed == Found::Same) {
        if (nameFree) {
            fw::HeldFolder* folder = installation_.FolderOf(item.target, result);
            if (!folder && result) RaiseText(text::kJournalOtherFolder, {kit_.Path(kJournal), item.target});
            if (folder && (result = old->MoveTo(*folder, FileName(item.target)))) return;
        }
        throw fw::Error(fw::FormatMessageText(text::kNotPutBack,
                                              {item.target, item.old.path, nameFree ? result.text : text::kNameTaken}),
                        result.code);
    }
    RaiseText(text::kBackupMissing, {item.target});
}

//--- Forward

void Transaction::HoldTarget(Item& item) {
    // Its open is also the check for a running program.
    fw::Result result = RetryWhileHeld(files_, [&] { return files_.OpenExisting(item.target, item.old); });
    if (result.code == fw::kFileNotFound) return;  // a target the run adds
    if (result) result = item.old->Index(item.oldIndex);
    if (result) return;
    if (item.file) item.file->Remove();
    if (item.target == program_ && result.code == fw::kSharingViolation)
        throw ProgramHeld(text::CloseFirstText(), result.code);
    RaiseCannotCreate(item.target, result);
}

void Transaction::Stage(std::size_t position, const void* data, std::size_t size, std::uint32_t crc) {
    Item item;
    item.position = position;
    item.target = targets_[position];
    item.size = size;
    item.crc = crc;
    // A fresh random tail while the name made of it exists: files planted in
    // advance can't stop the kit.
    fw::Result result;
    item.folder = installation_.FolderOf(item.target, result);
    for (unsigned attempt = 0; item.folder && attempt < kMaxNames; ++attempt) {
        if ((result = kit_.FreshName(item.target, ".tmp", item.fresh.path)))
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
    if (!result) {
        if (item.file) item.file->Remove();
        RaiseCannotCreate(failed, result);
    }
    HoldTarget(item);
    items_.push_back(std::move(item));
}

void Transaction::Remove(std::size_t position) {
    Item item;
    item.position = position;
    item.target = targets_[position];
    fw::Result result;
    item.folder = installation_.FolderOf(item.target, result);
    if (!item.folder) return;  // no Data folder: nothing of it to remove
    HoldTarget(item);
    if (item.old) items_.push_back(std::move(item));
}

bool Transaction::KeepIfChanged(std::size_t position, const JournalItem& upgraded) {
    for (Item& item : items_) {
        if (item.position != position || !item.old) continue;
        std::string bytes;
        const fw::Result read = item.old->ReadAll(bytes);
        if (!read) RaiseCannotCreate(item.target, read);
        item.keepOld = item.oldIndex != upgraded.fresh.index || bytes.size() != upgraded.size ||
                       payload::Crc32(bytes.data(), bytes.size()) != upgraded.crc;
        return item.keepOld;
    }
    return false;
}

fw::Result Transaction::Commit(const std::string& before, const std::string& after, bool undo) {
    // 3. The plan, on the disk before anything moves.
    Journal& plan = plan_;
    plan.folder = installation_.Folder();
    fw::Result result = installation_.Identity(plan.folderId);
    if (!result) RaiseFolderUnusable(plan.folder, result);
    plan.before = before;
    plan.after = after;
    plan.undo = undo;
    bool otherVolume = false;
    for (Item& item : items_) {
        // A replaced target is moved into the kit's folder where its folder
        // is on the same volume, else beside itself.
        fw::FileId folder;
        if (!(result = item.folder->Identity(folder))) RaiseFolderUnusable(item.folder->FinalPath(), result);
        const bool here = folder.volume == kit_.Id().volume;
        otherVolume = otherVolume || !here;
        JournalItem planned{item.target, item.fresh, item.old != nullptr, {}, item.size, item.crc, item.keepOld};
        if (item.old) {
            item.backupHere = here;
            const fw::Result named =
                kit_.FreshName(here ? kit_.Path(FileName(item.target)) : item.target, ".bak", item.backup);
            if (!named) RaiseCannotCreate(item.target, named);
            planned.old = {item.backup, item.oldIndex};
        }
        plan.items.push_back(std::move(planned));
    }
    const std::string records = PlacingRecords(plan);
    result = journal_->Write(records.data(), records.size());
    if (result) result = journal_->Flush();
    if (!result) RaiseCannotCreate(journalPath_, result);

    try {
        // 4. Place.
        for (Item& item : items_) {
            if (item.old) {
                fw::HeldFolder& aside = item.backupHere ? kit_.Held() : *item.folder;
                if (!(result = item.old->MoveTo(aside, FileName(item.backup)))) RaiseCannotCreate(item.target, result);
                item.movedAside = true;
            }
            if (item.file && !(result = item.file->MoveTo(*item.folder, FileName(item.target))))
                RaiseCannotCreate(item.target, result);
            item.placed = true;
        }
        // 5. Commit point.
        if (otherVolume) {
            for (auto item = items_.rbegin(); item != items_.rend(); ++item) {
                if (!item->file) continue;
                if (!(result = item->file->Flush())) RaiseCannotCreate(item->target, result);
                break;
            }
        }
        const std::string done = kit_.Path(kJournalDone);
        if (!(result = journal_->MoveTo(kit_.Held(), kJournalDone))) RaiseCannotCreate(done, result);
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

    // 6. Every file is in place and on the disk: the record may say so.
    WriteRecordValue(registry_, "VER", after);

    // 7. Every file let go (the application may open them now), then found
    // again by its identity. What fails here the next run finishes.
    items_.clear();
    try {
        FinishCommitted(files_, kit_, plan, *journal_);
    } catch (const fw::Error& failure) {
        return fw::Result::Failure(failure.code,
                                   fw::FormatMessageText(text::kCleanupLeft, {kit_.Path(""), failure.what()}));
    }
    return fw::Result::Success();
}

std::string Transaction::RollBack() {
    std::string lost;
    for (auto item = items_.rbegin(); item != items_.rend(); ++item) {
        if (item->placed && item->file) {
            const fw::Result removed = item->file->Remove();
            if (!removed) {
                lost += fw::FormatMessageText(text::kCannotCreateFile, {item->target, removed.text}) + "\n";
                continue;
            }
            item->file.reset();
        }
        item->placed = false;
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
