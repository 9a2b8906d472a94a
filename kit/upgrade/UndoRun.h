// The undo (/UNDO): puts back the version the installation's last upgrade
// kept (see KeptVersion.h): every kept file to its name, every target the
// upgrade added removed, and the recorded version it replaced.
#pragma once

#include <string>

#include "kit/unattended/RunOutcome.h"
#include "framework/FileSystem.h"
#include "framework/RegistryStore.h"
#include "kit/window/KitWindow.h"

namespace kit {

// All or nothing, as the upgrade (see Transaction.h), with the same checks
// of the installation. NothingToUndo when no version is kept for the
// installation, or the record names another version than the one the kept
// version was upgraded to; a kept version that is incomplete or can't be
// trusted fails with what is wrong. The user is asked first, naming both
// versions (unattended, nobody is): UndoDeclined for No. A target changed
// since the upgrade stays in the kit's folder, and a log line says where.
// The running application and another kit end as the upgrade's do.
RunOutcome RunUndo(fw::FileSystem& files, fw::RegistryStore& registry, KitWindow& window,
                   const std::string& installFolder);

}  // namespace kit
