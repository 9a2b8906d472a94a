// The kit's own folder, which only Administrators and SYSTEM can change
// (FileSystem::HoldKitFolder): held with its lock for as long as a
// transaction, a recovery or an undo runs, and the journals in it, read only
// when nobody else can have written them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Error.h"
#include "framework/FileSystem.h"
#include "kit/upgrade/Journal.h"

namespace kit {

// Another kit's transaction holds the lock.
class AnotherKitRunning : public fw::Error {
public:
    AnotherKitRunning();
};

enum class Found { Same, Missing, Other };

// What path holds: the file of the given index (then held in file), nothing,
// or anything else: another file, a link, a second name. A file held by
// another program is waited for; still held, it is a failure.
fw::Result FindFile(fw::FileSystem& files, const std::string& path, std::uint64_t index, Found& found,
                    std::unique_ptr<fw::HeldFile>& file);

// Removes the file at path when it is the one of that index.
fw::Result RemoveIfSame(fw::FileSystem& files, const std::string& path, std::uint64_t index);

std::string FileName(const std::string& path);

class KitFolder {
public:
    // Holds the folder, then the lock: AnotherKitRunning while another
    // kit's transaction holds it.
    explicit KitFolder(fw::FileSystem& files);

    fw::HeldFolder& Held() { return *folder_; }
    const fw::FileId& Id() const { return id_; }
    std::string Path(const std::string& name) const { return folder_->FinalPath() + "\\" + name; }
    bool Holds(const std::string& path) const { return path.rfind(folder_->FinalPath() + "\\", 0) == 0; }

    // The journal named name, held in file: false when there is none. Fails
    // when anyone but Administrators and SYSTEM can change it, or when it is
    // no journal of this kit's.
    bool Read(const std::string& name, Journal& journal, std::unique_ptr<fw::HeldFile>& file);

    // "<base>.~<16 random hexadecimal digits><extension>"
    fw::Result FreshName(const std::string& base, const char* extension, std::string& path);

private:
    fw::FileSystem& files_;
    std::unique_ptr<fw::HeldFolder> folder_;
    fw::FileId id_;
    std::unique_ptr<fw::HeldFile> lock_;
};

}  // namespace kit
