#include "kit/CheckedInstallation.h"

#include "framework/Error.h"
#include "kit/AtomicFileWriter.h"
#include "kit/KitConstants.h"
#include "kit/KitTexts.h"
#include "payload/Catalogue.h"

namespace kit {

namespace {
const char kDataFolder[] = "\\Data";

fw::Error Refused(const std::string& path) { return fw::Error(fw::FormatMessageText(text::kRedirectedPath, {path})); }
// "S:" of a folder "S:\..." whose drive doesn't exist for the kit: a drive
// mapped in the user's session is not seen by a program run as administrator.
std::string MissingDrive(fw::FileSystem& files, const std::string& folder) {
    const bool lettered = folder.size() >= 3 && folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/');
    return lettered && !files.Exists(folder.substr(0, 3)) ? folder.substr(0, 2) : std::string();
}
}  // namespace

CheckedInstallation::CheckedInstallation(fw::FileSystem& files, const std::string& recordedFolder) {
    const fw::FileResult held = files.HoldFolder(recordedFolder, folder_);
    if (!held) {
        fw::Error failure = CannotCreate(recordedFolder + "\\" + ExeName, held);
        const std::string drive = MissingDrive(files, recordedFolder);
        if (drive.empty()) throw failure;
        throw fw::Error(std::string(failure.what()) + ". " + fw::FormatMessageText(text::kDriveNotVisible, {drive}),
                        failure.code);
    }
    const std::string& folder = folder_->FinalPath();

    // A missing Data folder is no redirection: the templates then fail as
    // files that can't be created. Examined again once held, so a swap
    // between the first look and the hold is seen.
    const std::string data = folder + kDataFolder;
    if (files.Examine(data) == fw::PathKind::Folder) {
        const fw::FileResult dataHeld = files.HoldFolder(data, data_);
        if (!dataHeld) throw CannotCreate(data, dataHeld);
    }
    if (files.Examine(data) == fw::PathKind::Redirected) throw Refused(data);
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) {
        const std::string target = folder + payload::Catalogue()[i].targetPath;
        if (files.Examine(target) == fw::PathKind::Redirected) throw Refused(target);
    }
}

void CheckedInstallation::Flush() const {
    for (fw::HeldFolder* held : {folder_.get(), data_.get()}) {
        if (!held) continue;
        const fw::FileResult flushed = held->Flush();
        if (!flushed) throw CannotCreate(held->FinalPath(), flushed);
    }
}

}  // namespace kit
