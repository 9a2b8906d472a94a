// The upgrade run started by the upgrade button: writes the payload into the
// installation folder, records the new version and tells the user.
#pragma once

#include <string>

#include "framework/FileSystem.h"
#include "framework/PayloadStore.h"
#include "framework/RegistryStore.h"
#include "kit/KitWindow.h"

namespace kit {

struct UpgradeServices {
    fw::PayloadStore& payload;
    fw::FileSystem& files;
    fw::RegistryStore& registry;
    KitWindow& window;
};

// Writes the payload item of the given type to targetPath, byte for byte.
// Fails with "Resource UpGrade not found" when the kit lacks the item, or as
// WriteFileAtomically fails; the target is then as it was.
void ExtractPayloadItem(UpgradeServices& services, const std::string& itemType, const std::string& targetPath);

// The whole run; true when it completed. Nothing is written when the
// installation holds a link where the kit would write (see
// CheckedInstallation). The executable held by another program beyond the
// wait for a scanner (a running application) shows the close-first dialog,
// writes nothing and gives false; any other failure ends the run with its
// error, keeping the items written before. Before any target is looked at, the
// leftovers of earlier runs beside the targets are removed. The new version is
// recorded only after every file is on disk.
bool RunUpgrade(UpgradeServices& services, const std::string& installFolder);

}  // namespace kit
