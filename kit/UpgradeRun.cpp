#include "kit/UpgradeRun.h"

#include <vector>

#include "framework/Error.h"
#include "kit/CheckedInstallation.h"
#include "kit/InstallationRecord.h"
#include "kit/KitTexts.h"
#include "kit/PathFailures.h"
#include "payload/Catalogue.h"

namespace kit {

void ExtractPayloadItem(UpgradeServices& services, Transaction& transaction, const std::string& itemType,
                        std::size_t position) {
    fw::Blob item;
    const fw::Result found = services.payload.Find(itemType, payload::kItemName, item);
    if (!found) throw fw::Error(fw::FormatMessageText(text::kResourceNotFound, {payload::kItemName}), found.code);
    transaction.Stage(position, item.data, item.size);
}

RunOutcome RunUpgrade(UpgradeServices& services, const std::string& installFolder) {
    // The version check leaves the folder empty when there is no installation;
    // nothing may then be written anywhere.
    if (installFolder.empty()) return RunOutcome::NotInstalled;

    CheckedInstallation installation(services.files, installFolder);
    std::vector<std::string> targets;
    std::string program;
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) {
        targets.push_back(installation.Folder() + payload::Catalogue()[i].targetPath);
        if (payload::Catalogue()[i].program) program = targets.back();
    }
    // Where the files really go, and what guards the run, for the administrator.
    services.window.Note(text::FinalFolderLine(installation.Folder()));
    if (!services.protections.empty()) services.window.Note(services.protections);

    fw::Result cleanedUp;
    try {
        Transaction transaction(services.files, installation, targets, program);
        for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) {
            const payload::PayloadItem& item = payload::Catalogue()[i];
            const std::string& target = targets[i];
            if (item.rule == payload::WriteRule::OnlyIfMissing) {
                bool present = false;
                const fw::Result examined = fw::IsPresent(services.files, target, present);
                if (!examined) RaiseCannotCreate(target, examined);
                if (present) continue;
            }
            installation.HoldData();
            ExtractPayloadItem(services, transaction, item.code, i);
        }
        cleanedUp = transaction.Commit();
    } catch (const ProgramHeld&) {
        // The executable can't be replaced while the application runs (it
        // stays held beyond the wait for a scanner): the user is asked to
        // close it, and nothing is written.
        services.window.ShowErrorDialog(text::CloseFirstText());
        return RunOutcome::ApplicationRunning;
    } catch (const AnotherKitRunning& another) {
        services.window.ShowInformationDialog(another.what());
        return RunOutcome::AnotherKitRunning;
    }
    // Every file is in place and on the disk: the record may say so.
    if (!cleanedUp) services.window.Note(cleanedUp.text);
    services.window.SetUpgradeEnabled(false);
    services.window.AppendLog(text::kUpgradedLine);
    WriteRecordValue(services.registry, "VER", text::RecordedVersion());
    services.window.ShowInformationDialog(text::UpgradedText());
    return RunOutcome::Upgraded;
}

}  // namespace kit
