#include "kit/UpgradeRun.h"

#include <exception>

#include "framework/Error.h"
#include "kit/AtomicFileWriter.h"
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

    for (std::size_t i = 0; i < payload::CatalogueSize(); ++i) {
        const payload::PayloadItem& item = payload::Catalogue()[i];
        const std::string target = installFolder + item.targetPath;
        if (!item.program) {
            RemoveLeftovers(services.files, target);
            if (item.rule == payload::WriteRule::OnlyIfMissing && services.files.Exists(target)) continue;
            ExtractPayloadItem(services, item.code, target);
            continue;
        }
        // The executable can't be written while the application runs: the
        // user is asked to close it, and nothing is written.
        try {
            RemoveLeftovers(services.files, target);
            ExtractPayloadItem(services, item.code, target);
        } catch (const std::exception&) {
            services.window.ShowErrorDialog(text::CloseFirstText());
            return false;
        }
    }

    services.window.SetUpgradeEnabled(false);
    services.window.AppendLog(text::kUpgradedLine);
    WriteRecordValue(services.registry, "VER", text::RecordedVersion());
    services.window.ShowInformationDialog(text::UpgradedText());
    return true;
}

}  // namespace kit
