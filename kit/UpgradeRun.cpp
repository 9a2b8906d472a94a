#include "kit/UpgradeRun.h"

#include <exception>

#include "framework/Error.h"
#include "kit/AtomicFileWriter.h"
#include "kit/InstallationRecord.h"
#include "kit/KitConstants.h"
#include "payload/Catalogue.h"

namespace kit {

void ExtractPayloadItem(UpgradeServices& services, const std::string& itemType, const std::string& targetPath) {
    const std::string name = "UpGrade";
    fw::Blob item;
    if (!services.payload.Find(itemType, name, item))
        throw fw::Error(fw::FormatMessageText("Resource %s not found", {name}));
    WriteFileAtomically(services.files, targetPath, item.data, item.size);
}

bool RunUpgrade(UpgradeServices& services, const std::string& installFolder) {
    // The version check leaves the folder empty when there is no installation;
    // nothing may then be written anywhere.
    if (installFolder.empty()) return false;

    const payload::PayloadItem* items = payload::Catalogue();
    try {
        const std::string exe = installFolder + "\\" + ExeName;
        RemoveLeftovers(services.files, exe);
        ExtractPayloadItem(services, items[0].code, exe);
    } catch (const std::exception&) {
        services.window.ShowErrorDialog(std::string("Inchideti mai intai ") + ProductName + "!");
        return false;
    }

    for (std::size_t i = 1; i < payload::CatalogueSize(); ++i) {
        const std::string target = installFolder + items[i].targetPath;
        RemoveLeftovers(services.files, target);
        if (items[i].rule == payload::WriteRule::OnlyIfMissing && services.files.Exists(target)) continue;
        ExtractPayloadItem(services, items[i].code, target);
    }

    services.window.SetUpgradeEnabled(false);
    services.window.AppendLog("Versiune actualizata.");
    WriteRecordValue(services.registry, "VER", std::string(ProductName) + " v." + KitVersionText());
    services.window.ShowInformationDialog(std::string(ProductName) + " a fost actualizata la versiunea " +
                                          KitVersionText() + ".");
    return true;
}

}  // namespace kit
