#include "kit/StagedFiles.h"

#include <cstdint>
#include <utility>

#include "kit/PathFailures.h"
#include "kit/CheckedInstallation.h"
#include "kit/RetryWhileHeld.h"

namespace kit {

namespace {
const unsigned kMaxNames = 10;  // fresh names tried while the earlier ones exist

// Runs step with a fresh random tail while the name it made of the tail
// exists; gives the last attempt's result.
template <typename Step>
fw::Result WithFreshTail(fw::FileSystem& files, Step step) {
    fw::Result result;
    for (unsigned attempt = 0; attempt < kMaxNames; ++attempt) {
        std::uint64_t tail = 0;
        if (!(result = files.Random(tail)) || (result = step(tail)) ||
            (result.code != fw::kFileExists && result.code != fw::kAlreadyExists))
            break;
    }
    return result;
}
}  // namespace

StagedFiles::~StagedFiles() {
    // Through their own handles; one that can't be removed is a leftover the
    // next run removes.
    for (Item& item : items_)
        if (!item.placed && item.file) item.file->Remove();
}

fw::Result StagedFiles::CreateBeside(const std::string& base, Leftover kind, std::uint64_t added, std::string& path,
                                     std::unique_ptr<fw::HeldFile>& file) {
    return WithFreshTail(files_, [&](std::uint64_t tail) {
        if (kind == Leftover::Run) tail = (tail & ~kAddedTargetsMask) | added;
        path = LeftoverPath(base, tail, kind);
        return files_.CreateNew(path, file);
    });
}

fw::Result StagedFiles::MoveAside(Item& item) {
    return WithFreshTail(files_, [&](std::uint64_t tail) {
        return item.old->MoveTo(LeftoverPath(item.target, tail, Leftover::Backup));
    });
}

void StagedFiles::Stage(std::size_t position, const void* data, std::size_t size) {
    const std::string& target = targets_[position];
    Item item;
    item.target = target;
    item.position = position;
    fw::Result result = CreateBeside(target, Leftover::Temporary, 0, item.temporary, item.file);
    if (result) result = item.file->Write(data, size);
    if (result) result = item.file->Flush();
    if (result) {
        result = RetryWhileHeld(files_, [&] { return files_.OpenExisting(target, item.old); });
        if (result.code == fw::kFileNotFound) result = fw::Result::Success();  // a target the run adds
    }
    if (!result) {
        if (item.file) item.file->Remove();
        throw CannotCreate(target, result);
    }
    items_.push_back(std::move(item));
}

void StagedFiles::Place(Item& item) {
    fw::Result result;
    if (item.old) {
        if (!(result = MoveAside(item))) throw CannotCreate(item.target, result);
        item.movedAside = true;
    }
    if (!(result = item.file->MoveTo(item.target))) throw CannotCreate(item.target, result);
    item.placed = true;
}

bool StagedFiles::PutBack() {
    bool whole = true;
    for (auto item = items_.rbegin(); item != items_.rend(); ++item) {
        if (item->placed) {
            if (!item->file->Remove()) {
                whole = false;
                continue;
            }
            item->file.reset();
            item->placed = false;
        }
        if (item->movedAside) {
            if (!item->old->MoveTo(item->target)) {
                whole = false;
                continue;
            }
            item->movedAside = false;
        }
    }
    return whole;
}

void StagedFiles::Commit(const CheckedInstallation& installation, const std::string& program) {
    std::uint64_t added = 0;
    for (const Item& item : items_)
        if (!item.old) added |= std::uint64_t{1} << item.position;
    // The marker has a bit for each of 16 targets.
    if ((added & kAddedTargetsMask) != added) throw fw::Error("A run marker names at most 16 targets");
    std::string markerPath;
    const fw::Result result = CreateBeside(program, Leftover::Run, added, markerPath, runMarker_);
    if (!result) throw CannotCreate(program, result);
    try {
        installation.FlushFolder();  // the marker is on the disk before anything moves
        for (Item& item : items_) Place(item);
        installation.Flush();
        // Every file is in place and on the disk: the run is done once its
        // marker is gone from the disk too.
        const fw::Result done = runMarker_->Remove();
        if (!done) throw CannotCreate(program, done);
        runMarker_.reset();
        installation.FlushFolder();
    } catch (...) {
        // Whatever went wrong, every target goes back as it was. Should that
        // fail too, the marker stays, and the next run finishes the job.
        if (PutBack() && runMarker_) {
            try {
                installation.Flush();
                runMarker_->Remove();
            } catch (...) {
                // The failure told is the first; a marker left over only
                // makes the next run look for files already put back.
            }
        }
        throw;
    }
    // The replaced files; what can't be removed now the next run removes.
    for (Item& item : items_)
        if (item.old) item.old->Remove();
    items_.clear();  // lets every file go: the application may open them now
}

}  // namespace kit
