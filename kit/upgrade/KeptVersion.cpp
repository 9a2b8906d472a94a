#include "kit/upgrade/KeptVersion.h"

#include <memory>

#include "framework/HexDigits.h"
#include "kit/KitTexts.h"
#include "kit/upgrade/PathFailures.h"

namespace kit {

namespace {

void Check(const fw::Result& result, const std::string& path) {
    if (!result) RaiseCannotCreate(path, result);
}

// A replaced file left beside its target, on another volume than the kit's
// folder, copied into the kit's folder and then removed. The copy is named
// after it, and made under a temporary name first, so a run stopped on the
// way finds a whole copy or none.
void BringIntoKitFolder(fw::FileSystem& files, KitFolder& kit, JournalFile& old) {
    if (kit.Holds(old.path)) return;
    const std::string name = FileName(old.path), copyPath = kit.Path(name);
    std::unique_ptr<fw::HeldFile> copy, beside;
    if (!files.OpenExisting(copyPath, copy)) {
        Found found;
        Check(FindFile(files, old.path, old.index, found, beside), old.path);
        if (found != Found::Same) RaiseText(text::kBackupMissing, {old.path});
        const std::string partial = name + ".tmp";
        std::unique_ptr<fw::HeldFile> left;
        if (files.OpenExisting(kit.Path(partial), left)) Check(left->Remove(), kit.Path(partial));
        std::string bytes;
        fw::Result result = beside->ReadAll(bytes);
        if (result) result = kit.Held().CreateNew(partial, copy);
        if (result) result = copy->Write(bytes.data(), bytes.size());
        if (result) result = copy->Flush();
        if (result) result = copy->MoveTo(kit.Held(), name);
        Check(result, copyPath);
        Check(beside->Remove(), old.path);
    } else {
        Check(RemoveIfSame(files, old.path, old.index), old.path);
    }
    old.path = copyPath;
    Check(copy->Index(old.index), copyPath);
}

bool Names(const Journal& journal, const JournalFile& file) {
    for (const JournalItem& item : journal.items)
        if (item.replaces && item.old.path == file.path && item.old.index == file.index) return true;
    return false;
}

// The kept version of that name and its files, where there is one, but for
// the files the run keeps: a run stopped here may have kept them there already.
void RemoveKept(fw::FileSystem& files, KitFolder& kit, const std::string& name, const Journal& run) {
    Journal kept;
    std::unique_ptr<fw::HeldFile> file;
    if (!kit.Read(name, kept, file)) return;
    for (const JournalItem& item : kept.items)
        if (item.replaces && (run.undo || !Names(run, item.old)))
            Check(RemoveIfSame(files, item.old.path, item.old.index), item.old.path);
    Check(file->Remove(), kit.Path(name));
}

}  // namespace

std::string KeptName(const fw::FileId& folder) {
    return "kept-" + fw::HexDigits(folder.volume) + "-" + fw::HexDigits(folder.index);
}

bool ReadKept(KitFolder& kit, const fw::FileId& folder, Journal& kept) {
    std::unique_ptr<fw::HeldFile> file;
    const std::string name = KeptName(folder);
    if (!kit.Read(name, kept, file)) return false;
    if (kept.undo || !kept.placing || kept.folderId != folder) RaiseText(text::kJournalUnreadable, {kit.Path(name)});
    return true;
}

void FinishCommitted(fw::FileSystem& files, KitFolder& kit, Journal& journal, fw::HeldFile& journalFile) {
    for (JournalItem& item : journal.items) {
        if (!item.replaces) continue;
        if (journal.undo && !item.keepOld) Check(RemoveIfSame(files, item.old.path, item.old.index), item.old.path);
        else BringIntoKitFolder(files, kit, item.old);
    }
    const std::string keptName = KeptName(journal.folderId);
    std::unique_ptr<fw::HeldFile> kept;
    if (!journal.undo) {
        // Written whole under a name of its own before it takes the place
        // of the version kept so far; one a stopped run left goes first.
        const std::string name = keptName + ".new", path = kit.Path(name);
        journal.temporaries.clear();
        const std::string text = JournalText(journal);
        if (files.OpenExisting(path, kept)) Check(kept->Remove(), path);
        fw::Result result = kit.Held().CreateNew(name, kept);
        if (result) result = kept->Write(text.data(), text.size());
        if (result) result = kept->Flush();
        Check(result, path);
    }
    RemoveKept(files, kit, keptName, journal);
    if (kept) Check(kept->MoveTo(kit.Held(), keptName), kit.Path(keptName));
    Check(journalFile.Remove(), kit.Path("journal.done"));
}

}  // namespace kit
