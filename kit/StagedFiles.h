// The payload written beside its targets first, then put in place all
// together or not at all.
//
// Each item goes to a new temporary file that stays open, shared with
// nobody, until it is the target: nobody can swap, rewrite or remove it
// meanwhile, and its bytes are never read back or opened again by name. A
// target it replaces is held the same way from before anything changes: its
// open is also the check for a running program. Putting in place renames
// handles only (the old target to a backup name, the new file to the
// target's name, neither replacing an existing name), so the new file keeps
// the security its folder gives new files. See Leftovers.h for the names
// and for what the next run does after a run stopped short.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/FileSystem.h"
#include "kit/Leftovers.h"

namespace kit {

class CheckedInstallation;

class StagedFiles {
public:
    // targets: every target of the run, in catalogue order.
    StagedFiles(fw::FileSystem& files, const std::vector<std::string>& targets) : files_(files), targets_(targets) {}
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;
    // Files never put in place are removed: every target stays as it was.
    ~StagedFiles();

    // Writes data to a new file beside the target at position and forces it
    // to the disk; then, when the target exists, holds it, waiting about two
    // seconds while another program has it open. Fails with "Cannot create
    // file "<target>". <system text>", carrying the system's code; no target
    // changes.
    void Stage(std::size_t position, const void* data, std::size_t size);

    // Puts every staged file in place and forces the installation's folders
    // to the disk. Whatever fails, every target is put back as it was and
    // the failure is thrown again. A run marker beside program says, while
    // files move, that they are moving and which targets are added.
    void Commit(const CheckedInstallation& installation, const std::string& program);

private:
    struct Item {
        std::string target, temporary;
        std::unique_ptr<fw::HeldFile> file;  // the new bytes
        std::unique_ptr<fw::HeldFile> old;   // the target it replaces; none when it adds one
        std::size_t position = 0;
        bool movedAside = false;  // the old target is under its backup name
        bool placed = false;      // the new file is the target
    };

    // Creates a new file named for base with a fresh random tail, passing
    // over names that exist; a run marker's tail names the added targets.
    fw::Result CreateBeside(const std::string& base, Leftover kind, std::uint64_t added, std::string& path,
                            std::unique_ptr<fw::HeldFile>& file);
    // Renames the replaced target to a backup name with a fresh random tail.
    fw::Result MoveAside(Item& item);
    void Place(Item& item);
    // Puts back what Commit changed; false when something couldn't be.
    bool PutBack();

    fw::FileSystem& files_;
    const std::vector<std::string>& targets_;
    std::vector<Item> items_;
    std::unique_ptr<fw::HeldFile> runMarker_;
};

}  // namespace kit
