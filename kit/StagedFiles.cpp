#include "kit/StagedFiles.h"

#include <cstdint>
#include <utility>

#include "kit/CannotCreate.h"
#include "kit/RetryWhileHeld.h"

namespace kit {

namespace {
const unsigned kMaxNames = 10;  // fresh names tried while the earlier ones exist

bool NameTaken(const fw::FileResult& result) {
    return result.code == fw::kFileExists || result.code == fw::kAlreadyExists;
}
}  // namespace

StagedFiles::~StagedFiles() {
    // Through their own handles; one that can't be removed is a leftover the
    // next run removes.
    for (Item& item : items_)
        if (!item.placed && item.file) item.file->Remove();
}

fw::FileResult StagedFiles::CreateBeside(const std::string& target, Leftover kind, std::string& path,
                                         std::unique_ptr<fw::HeldFile>& file) {
    fw::FileResult result;
    for (unsigned attempt = 0; attempt < kMaxNames; ++attempt) {
        std::uint64_t tail = 0;
        if (!(result = files_.Random(tail))) break;
        path = LeftoverPath(target, tail, kind);
        if ((result = files_.CreateNew(path, file)) || !NameTaken(result)) break;
    }
    return result;
}

fw::FileResult StagedFiles::MoveAside(Item& item) {
    fw::FileResult result;
    for (unsigned attempt = 0; attempt < kMaxNames; ++attempt) {
        std::uint64_t tail = 0;
        if (!(result = files_.Random(tail))) break;
        if ((result = item.old->MoveTo(LeftoverPath(item.target, tail, Leftover::Backup))) || !NameTaken(result)) break;
    }
    return result;
}

void StagedFiles::Stage(const std::string& target, const void* data, std::size_t size) {
    Item item;
    item.target = target;
    fw::FileResult result = CreateBeside(target, Leftover::Temporary, item.temporary, item.file);
    if (result) result = item.file->Write(data, size);
    if (result) result = item.file->Flush();
    if (result && files_.Exists(target))
        result = RetryWhileHeld(files_, [&] { return files_.OpenExisting(target, item.old); });
    if (!result) {
        if (item.file) item.file->Remove();
        throw CannotCreate(target, result);
    }
    items_.push_back(std::move(item));
}

void StagedFiles::Place(Item& item) {
    std::string markPath;
    fw::FileResult result =
        item.old ? MoveAside(item) : CreateBeside(item.target, Leftover::Added, markPath, item.mark);
    if (!result) throw CannotCreate(item.target, result);
    item.movedAside = item.old != nullptr;
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
        // A mark left behind without the run marker is removed by the next run.
        if (item->mark) item->mark->Remove();
        item->mark.reset();
    }
    return whole;
}

void StagedFiles::Commit(const std::string& program, const std::function<void()>& flushFolders) {
    std::string markerPath;
    const fw::FileResult marked = CreateBeside(program, Leftover::Run, markerPath, runMarker_);
    if (!marked) throw CannotCreate(program, marked);
    try {
        flushFolders();  // the marker is on the disk before anything moves
        for (Item& item : items_) Place(item);
        flushFolders();
        // Every file is in place and on the disk: the run is done once its
        // marker is gone from the disk too.
        const fw::FileResult done = runMarker_->Remove();
        if (!done) throw CannotCreate(markerPath, done);
        runMarker_.reset();
        flushFolders();
    } catch (...) {
        // Whatever went wrong, every target goes back as it was. Should that
        // fail too, the marker stays, and the next run finishes the job.
        if (PutBack() && runMarker_) {
            try {
                flushFolders();
                runMarker_->Remove();
            } catch (...) {}
        }
        throw;
    }
    // The replaced files and the marks; what can't be removed now the next
    // run removes.
    for (Item& item : items_) {
        if (item.old) item.old->Remove();
        if (item.mark) item.mark->Remove();
    }
    items_.clear();  // lets every file go: the application may open them now
}

}  // namespace kit
