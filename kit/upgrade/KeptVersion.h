// The previous version of an installation, as its last upgrade left it: the
// upgrade's committed journal, kept in the kit's folder under a name made of
// the installation folder's identity, and every file the upgrade replaced,
// moved there by its handle (copied, from another volume). One per
// installation: the next upgrade's takes its place, an undo consumes it.
#pragma once

#include <string>

#include "framework/FileSystem.h"
#include "kit/upgrade/Journal.h"
#include "kit/upgrade/KitFolder.h"

namespace kit {

// "kept-<volume>-<index>"
std::string KeptName(const fw::FileId& folder);

// The kept version of the installation folder of that identity: false when
// there is none. Fails when it can't be trusted or read.
bool ReadKept(KitFolder& kit, const fw::FileId& folder, Journal& kept);

// The end of a committed run, by the run itself or by the next one's
// recovery. An upgrade's replaced files become the installation's kept
// version, in place of the one before. An undo consumes the kept version,
// and each target it replaced is removed, or, changed since the upgrade,
// left in the kit's folder. The journal goes last: a run stopped on the way
// is finished by the next.
void FinishCommitted(fw::FileSystem& files, KitFolder& kit, Journal& journal, fw::HeldFile& journalFile);

}  // namespace kit
