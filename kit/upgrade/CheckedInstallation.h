// The installation folder as the upgrade run writes into it. The recorded
// folder may be reached through links only administrators can change (none
// an ordinary user can), so it is held, its way checked, and it is known by
// its final path from then on. Inside it nothing may redirect the kit's
// writes: the folder is writable by ordinary users, and the kit runs as
// administrator. A link, junction or mount point as its Data folder or as a
// target, or a target with a second name, refuses the run before anything
// is written. Both folders stay held for the run, each checked through the
// handle that holds it, so neither can be swapped for a link after the check.
#pragma once

#include <memory>
#include <string>

#include "framework/FileSystem.h"

namespace kit {

class CheckedInstallation {
public:
    // Fails with the refusal's message naming the path, or with the
    // folder's own failure when it can't be held.
    CheckedInstallation(fw::FileSystem& files, const std::string& recordedFolder);

    // The folder's final path, to which the catalogue's target paths are joined.
    const std::string& Folder() const { return folder_->FinalPath(); }

    // Holds the Data folder if it exists and isn't held yet: it may have been
    // made since the check. A missing one is no failure here; its templates
    // then fail as files that can't be created, with the system's reason.
    void HoldData();

    // The identity of the folder held.
    fw::Result Identity(fw::FileId& id) const { return folder_->Identity(id); }

    // The folder held that path is directly in (the installation's or its
    // Data folder), for making and renaming files relative to it; null when
    // it is in neither. A missing Data folder gives the failure to hold it.
    fw::HeldFolder* FolderOf(const std::string& path, fw::Result& failure) const;

private:
    fw::FileSystem& files_;
    std::unique_ptr<fw::HeldFolder> folder_, data_;
    fw::Result dataHeld_;  // why the Data folder isn't held, where it isn't
};

}  // namespace kit
