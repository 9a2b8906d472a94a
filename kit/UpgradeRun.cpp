#include "kit/UpgradeRun.h"

#include <vector>

#include "framework/Error.h"
#include "kit/AtomicFileWriter.h"
#include "kit/CheckedInstallation.h"
#include "kit/InstallationRecord.h"
#include "kit/KitTexts.h"
#include "payload/Catalogue.h"

namespace kit {

void ExtractPayloadItem(UpgradeServices& services, const std::string& itemType, const std::string& targetPath) {
    fw::Blob item;
    const fw::Status found = services.payload.Find(itemType, payload::kItemName, item);
    if (!found) throw fw::Error(fw::FormatMessageText(text::kResourceNotFound, {payload::kItemName}), found.code);
    WriteFileAtomically(services.files, targetPath, item.data, item.size);
}

bool RunUpgrade(UpgradeServices& services, const std::string& installFolder) {
    // The version check leaves the folder empty when there is no installation;
    // nothing may then be written anywhere.
    if (installFolder.empty()) return false;

    const CheckedInstallation installation(services.files, installFolder);
    std::vector<std::string> targets;
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i)
        targets.push_back(installation.Folder() + payload::Catalogue()[i].targetPath);
    RemoveLeftovers(services.files, targets);

    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) {
        const payload::PayloadItem& item = payload::Catalogue()[i];
        const std::string& target = targets[i];
        if (!item.program) {
            if (item.rule == payload::WriteRule::OnlyIfMissing && services.files.Exists(target)) continue;
            ExtractPayloadItem(services, item.code, target);
            continue;
        }
        // The executable can't be written while the application runs (it
        // stays held beyond the wait for a scanner): the user is asked to
        // close it, and nothing is written. Any other failure is told as
        // what it is, as for every later item.
        try {
            ExtractPayloadItem(services, item.code, target);
        } catch (const fw::Error& failure) {
            if (failure.code != fw::kSharingViolation) throw;
            services.window.ShowErrorDialog(text::CloseFirstText());
            return false;
        }
    }

    // The record may say the new version only once every file is on disk.
    installation.Flush();
    services.window.SetUpgradeEnabled(false);
    services.window.AppendLog(text::kUpgradedLine);
    WriteRecordValue(services.registry, "VER", text::RecordedVersion());
    services.window.ShowInformationDialog(text::UpgradedText());
    return true;
}

}  // namespace kit
