#include "kit/upgrade/UpgradeRun.h"

#include <vector>

#include "framework/Error.h"
#include "kit/upgrade/CheckedInstallation.h"
#include "kit/upgrade/InstallationRecord.h"
#include "kit/KitTexts.h"
#include "kit/upgrade/PathFailures.h"
#include "kit/upgrade/PayloadCheck.h"
#include "payload/Catalogue.h"

namespace kit {

void ExtractPayloadItem(UpgradeServices& services, Transaction& transaction, const std::string& itemType,
                        std::size_t position) {
    fw::Blob item;
    const fw::Result found = services.payload.Find(itemType, payload::kItemName, item);
    std::uint32_t crc = 0;
    if (!found || !StoredChecksum(services.payload, position, crc))
        throw fw::Error(fw::FormatMessageText(text::kResourceNotFound, {payload::kItemName}), found.code);
    transaction.Stage(position, item.data, item.size, crc);
}

void TellDone(KitWindow& window, const std::string& text) {
    try {
        window.ShowInformationDialog(text);
    } catch (const fw::Error& failure) {
        window.Note(failure.what());
    }
}

std::vector<std::string> CatalogueTargets(const CheckedInstallation& installation, std::string& program) {
    std::vector<std::string> targets;
    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) {
        targets.push_back(installation.Folder() + payload::Catalogue()[i].targetPath);
        if (payload::Catalogue()[i].program) program = targets.back();
    }
    return targets;
}

RunOutcome RunUpgrade(UpgradeServices& services, const std::string& installFolder) {
    // The version check leaves the folder empty when there is no installation;
    // nothing may then be written anywhere.
    if (installFolder.empty()) return RunOutcome::NotInstalled;

    CheckedInstallation installation(services.files, installFolder);
    std::string program;
    const std::vector<std::string> targets = CatalogueTargets(installation, program);
    // Where the files really go, and what guards the run, for the administrator.
    services.window.Note(text::FinalFolderLine(installation.Folder()));
    if (!services.protections.empty()) services.window.Note(services.protections);

    fw::Result cleanedUp;
    std::string kept;  // the kit's folder, where the replaced files are kept
    try {
        Transaction transaction(services.files, services.registry, installation, targets, program);
        kept = transaction.Kit().Held().FinalPath();
        // An upgrade stopped after its commit point is complete now: doing it
        // again would keep the new files in place of the previous version.
        const Journal* finished = transaction.Finished();
        const bool done = finished && !finished->undo;
        for (std::size_t i = 0; !done && i < payload::CatalogueSize(); ++i) {
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
        // The new version is recorded once every file is in place and on the disk.
        if (!done)
            cleanedUp = transaction.Commit(ReadRecordValue(services.registry, "VER"), text::RecordedVersion(), false);
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
    if (!cleanedUp) services.window.Note(cleanedUp.text);
    services.window.SetUpgradeEnabled(false);
    services.window.AppendLog(text::kUpgradedLine);
    if (cleanedUp) services.window.AppendLog(fw::FormatMessageText(text::kKeptLine, {kept}));
    TellDone(services.window, text::UpgradedText());
    return RunOutcome::Upgraded;
}

}  // namespace kit
