// The unattended upgrade (/S): the version check and, where the check would
// arm the upgrade button for an older installation, the upgrade run, with the
// same rules and safety as a click, but no window and no dialog. Every log
// line, dialog text and error report goes to the run's log instead.
#pragma once

#include "framework/FileSystem.h"
#include "framework/PayloadStore.h"
#include "framework/RegistryStore.h"
#include "kit/RunLog.h"
#include "kit/RunOutcome.h"

namespace kit {

// A kit whose payload is damaged stops before it reads or writes anything.
// An installation that already has the kit's version is left as it is, so a
// repeated deployment does not replace its templates again.
RunOutcome RunSilently(fw::PayloadStore& payload, fw::FileSystem& files, fw::RegistryStore& registry, RunLog& log,
                       const std::string& errorReportTitle);

}  // namespace kit
