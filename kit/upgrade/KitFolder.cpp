#include "kit/upgrade/KitFolder.h"

#include "framework/HexDigits.h"
#include "framework/SecurityRules.h"
#include "kit/KitTexts.h"
#include "kit/upgrade/PathFailures.h"
#include "kit/upgrade/RetryWhileHeld.h"

namespace kit {

namespace {
bool Missing(const fw::Result& result) { return result.code == fw::kFileNotFound || result.code == fw::kPathNotFound; }
}  // namespace

AnotherKitRunning::AnotherKitRunning() : fw::Error(text::kAnotherKitRunning, fw::kSharingViolation) {}

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

fw::Result FindFile(fw::FileSystem& files, const std::string& path, std::uint64_t index, Found& found,
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

fw::Result RemoveIfSame(fw::FileSystem& files, const std::string& path, std::uint64_t index) {
    Found found;
    std::unique_ptr<fw::HeldFile> file;
    const fw::Result result = FindFile(files, path, index, found, file);
    return result && found == Found::Same ? file->Remove() : result;
}

KitFolder::KitFolder(fw::FileSystem& files) : files_(files) {
    fw::Result result = files_.HoldKitFolder(folder_);
    if (result) result = folder_->Identity(id_);
    if (!result) throw fw::Error(fw::FormatMessageText(text::kKitFolderUnusable, {result.text}), result.code);
    // Another kit's transaction holds its lock for as long as it runs; one
    // that ended, even killed, let it go.
    const std::string lock = Path("lock");
    result = files_.HoldLock(lock, lock_);
    if (result.code == fw::kSharingViolation) throw AnotherKitRunning();
    if (!result) RaiseCannotCreate(lock, result);
}

bool KitFolder::Read(const std::string& name, Journal& journal, std::unique_ptr<fw::HeldFile>& file) {
    const std::string path = Path(name);
    fw::Result result = files_.OpenExisting(path, file);
    if (Missing(result)) return false;
    if (!result) RaiseCannotCreate(path, result);
    // Only a journal nobody but Administrators and SYSTEM can have written
    // is obeyed.
    std::string sddl, text;
    if (files_.KeepsFileSecurity()) {
        if (!(result = file->Security(sddl))) RaiseCannotCreate(path, result);
        if (!fw::OnlyAdministratorsCanChange(sddl)) RaiseText(text::kJournalUntrusted, {path});
    }
    if (!(result = file->ReadAll(text))) RaiseCannotCreate(path, result);
    if (!ParseJournal(text, journal)) RaiseText(text::kJournalUnreadable, {path});
    return true;
}

fw::Result KitFolder::FreshName(const std::string& base, const char* extension, std::string& path) {
    std::uint64_t tail = 0;
    const fw::Result result = files_.Random(tail);
    path = base + ".~" + fw::HexDigits(tail) + extension;
    return result;
}

}  // namespace kit
