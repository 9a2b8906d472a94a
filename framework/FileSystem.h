// The file operations the upgrade needs, behind a small interface: Win32
// files in the kit, fakes with fault injection in tests.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace fw {

// System error codes the kit's decisions read, numbered as Windows numbers them.
enum FileErrorCode : unsigned long {
    kAccessDenied = 5,
    kSharingViolation = 32,  // another program has the file open
};

// What a file operation came to: success, or a failure carrying the system's
// error code and text, so the reason survives whatever clean-up follows.
struct FileResult {
    bool ok = true;
    bool held = false;       // a sharing violation or a denied access: something may hold the file for a moment
    std::string error;       // the system's text of the failure
    unsigned long code = 0;  // the system's error code

    explicit operator bool() const { return ok; }
    static FileResult Success() { return {}; }
    static FileResult Failure(std::string text, unsigned long systemCode) {
        return {false, systemCode == kSharingViolation || systemCode == kAccessDenied, std::move(text), systemCode};
    }
};

class OutputFile {
public:
    virtual ~OutputFile() = default;  // closes the file
    virtual FileResult Write(const void* data, std::size_t size) = 0;
    // Forces the written bytes to the disk.
    virtual FileResult Flush() = 0;
    // Renames the file, still open, to target in the same folder, which must
    // not exist: no other file can take its place on the way.
    virtual FileResult MoveTo(const std::string& target) = 0;
};

// What a path names, seen without following a link at its end.
enum class PathKind {
    Missing,
    File,
    Folder,
    Redirected,  // a link, junction or mount point, or a name whose final path lies elsewhere
};

// A folder held open so that it can't be renamed, moved or replaced by
// another folder or a link while the kit works in it. Let go when destroyed.
class HeldFolder {
public:
    virtual ~HeldFolder() = default;
    // Its path with every link on the way resolved, without a trailing "\".
    virtual const std::string& FinalPath() const = 0;
    // Forces the folder's entries (created, renamed, removed files) to the disk.
    virtual FileResult Flush() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool Exists(const std::string& path) = 0;
    virtual PathKind Examine(const std::string& path) = 0;
    virtual FileResult HoldFolder(const std::string& path, std::unique_ptr<HeldFolder>& held) = 0;
    // The names of the files (not folders) directly in folder; none when it
    // can't be read.
    virtual std::vector<std::string> FilesIn(const std::string& folder) = 0;
    // Creates a new, empty file at path into file; fails also when a file of
    // that name exists, and when the file did not come to be at path itself
    // (a link on the way).
    virtual FileResult CreateNew(const std::string& path, std::unique_ptr<OutputFile>& file) = 0;
    // Puts the closed file at from in place of the existing target, leaving
    // the replaced file under the name backup. A failure leaves either both
    // files under their own names, or the replaced file already under backup
    // and no file at target; a failure on a held file moves nothing.
    virtual FileResult Replace(const std::string& from, const std::string& target, const std::string& backup) = 0;
    // Rename and Remove act only on a regular file with a single link that
    // is reached through no link, the only kind the kit creates; they never
    // follow a link, and leave anything else as it is, failing.
    // Renames the file at from to to, which must not exist.
    virtual FileResult Rename(const std::string& from, const std::string& to) = 0;
    virtual FileResult Remove(const std::string& path) = 0;
    // A number no other running kit has (the process id), for file names.
    virtual unsigned long RunId() = 0;
    // Waits before the next attempt on a held file.
    virtual void Pause(unsigned milliseconds) = 0;
};

}  // namespace fw
