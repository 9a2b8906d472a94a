#include "kit/upgrade/CheckedInstallation.h"

#include "framework/Ascii.h"
#include "framework/Error.h"
#include "framework/SecurityRules.h"
#include "kit/upgrade/PathFailures.h"
#include "kit/KitTexts.h"
#include "payload/Catalogue.h"

namespace kit {

namespace {
const char kDataFolder[] = "\\Data";

// Whether path is folder's own Data folder, in whatever case its name is kept.
bool IsDataFolderOf(const std::string& path, const std::string& folder) {
    if (path.size() != folder.size() + 5 || path.compare(0, folder.size(), folder) != 0) return false;
    return fw::AsciiLower(path.substr(folder.size())) == "\\data";
}
// "S:" of a folder "S:\..." whose drive doesn't exist for the kit: a drive
// mapped in the user's session is not seen by a program run as administrator.
std::string MissingDrive(fw::FileSystem& files, const std::string& folder) {
    const bool lettered = folder.size() >= 3 && folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/');
    if (!lettered) return std::string();
    // A root that can't be examined is a drive the kit can't see either.
    bool present = false;
    return fw::IsPresent(files, folder.substr(0, 3), present) && present ? std::string() : folder.substr(0, 2);
}
}  // namespace

CheckedInstallation::CheckedInstallation(fw::FileSystem& files, const std::string& recordedFolder) : files_(files) {
    // Held first, every link on the way followed, so that nothing on the way
    // can change unseen between the check and the hold.
    fw::Result result = files.HoldFolder(recordedFolder, folder_);
    if (!result) {
        fw::Error failure = FolderUnusable(recordedFolder, result);
        const std::string drive = MissingDrive(files, recordedFolder);
        if (drive.empty()) throw failure;
        throw fw::Error(std::string(failure.what()) + ". " + fw::FormatMessageText(text::kDriveNotVisible, {drive}),
                        failure.code);
    }
    // A link on the way is followed only when no ordinary user can change
    // it: anybody may rename a folder made under "C:\" and put a junction
    // to an administrator's folder in its place, and a user who may write an
    // administrator's empty folder may make it a junction.
    std::vector<fw::PathLink> links;
    result = files.LinksOnPath(recordedFolder, links);
    for (const fw::PathLink& link : links)
        if (!fw::MayFollowLink(link.sddl, link.parentSddl)) RaiseText(text::kUntrustedLink, {link.path, link.leadsTo});
    if (!result) RaiseFolderUnusable(recordedFolder, result);
    // The way checked leads to the folder held only if no link was swapped
    // in or out between the hold and the check.
    bool same = false;
    result = folder_->SameAs(recordedFolder, same);
    if (!result) RaiseFolderUnusable(recordedFolder, result);
    if (!same) RaiseText(text::kRedirectedPath, {recordedFolder});
    HoldData();
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) {
        const std::string target = Folder() + payload::Catalogue()[i].targetPath;
        fw::PathKind kind = fw::PathKind::Missing;
        const fw::Result examined = files.Examine(target, kind);
        if (!examined) RaiseCannotCreate(target, examined);
        if (kind == fw::PathKind::Redirected) RaiseText(text::kRedirectedPath, {target});
        if (kind == fw::PathKind::SeveralNames) RaiseText(text::kSeveralNames, {target});
    }
}

void CheckedInstallation::HoldData() {
    if (data_) return;
    const std::string data = Folder() + kDataFolder;
    fw::PathKind kind = fw::PathKind::Missing;
    const fw::Result examined = files_.Examine(data, kind);
    if (!examined) RaiseFolderUnusable(data, examined);
    if (kind == fw::PathKind::Redirected) RaiseText(text::kRedirectedPath, {data});
    dataHeld_ = files_.HoldFolder(data, data_);
    if (!dataHeld_) {
        if (kind == fw::PathKind::Folder) RaiseFolderUnusable(data, dataHeld_);
        return;
    }
    // The folder held is the one the check saw only when it is where its
    // path says: a link swapped in since leads elsewhere.
    if (!IsDataFolderOf(data_->FinalPath(), Folder())) {
        data_.reset();
        RaiseText(text::kRedirectedPath, {data});
    }
}

fw::HeldFolder* CheckedInstallation::FolderOf(const std::string& path, fw::Result& failure) const {
    const std::string parent = path.substr(0, path.find_last_of('\\'));
    if (parent == Folder()) return folder_.get();
    if (parent != Folder() + kDataFolder) return nullptr;
    failure = dataHeld_;
    return data_.get();
}

}  // namespace kit
