// The upgrade run started by the upgrade button: writes the payload into the
// installation folder, records the new version and tells the user.
#pragma once

#include <string>
#include <vector>

#include "framework/FileSystem.h"
#include "framework/PayloadStore.h"
#include "framework/RegistryStore.h"
#include "kit/upgrade/CheckedInstallation.h"
#include "kit/window/KitWindow.h"
#include "kit/unattended/RunOutcome.h"
#include "kit/upgrade/Transaction.h"

namespace kit {

struct UpgradeServices {
    fw::PayloadStore& payload;
    fw::FileSystem& files;
    fw::RegistryStore& registry;
    KitWindow& window;
    // The hardening in force, noted in the administrator's log; empty to note none.
    std::string protections = {};
};

// Shows what a run that ended well did. It is done, and stays told as done,
// also when the box can't be shown: that failure goes to the log.
void TellDone(KitWindow& window, const std::string& text);

// Every target in catalogue order, in the installation held; program: the
// application's, among them.
std::vector<std::string> CatalogueTargets(const CheckedInstallation& installation, std::string& program);

// Stages the payload item of the given type for the target at position,
// byte for byte (see Transaction). Fails with "Resource UpGrade not found"
// when the kit lacks the item, or as Transaction::Stage fails; no target
// then changes.
void ExtractPayloadItem(UpgradeServices& services, Transaction& transaction, const std::string& itemType,
                        std::size_t position);

// The whole run: Upgraded when it completed. It is all or nothing (see
// Transaction.h): every item is written beside its target and every target
// it replaces is held before any target changes, and a failure before the
// commit point leaves every target as it was. Nothing is written when the
// installation holds a link or a second name where the kit would write (see
// CheckedInstallation). The executable held by another program beyond the
// wait for a scanner (a running application), also by the recovery of a
// stopped run, shows the close-first dialog and gives ApplicationRunning;
// another kit's transaction gives AnotherKitRunning; any other failure is
// thrown with its message. The new version is recorded only after every
// file is in place and on the disk. The files the run replaced are kept in
// the kit's folder (see KeptVersion.h), and a log line says where.
RunOutcome RunUpgrade(UpgradeServices& services, const std::string& installFolder);

}  // namespace kit
