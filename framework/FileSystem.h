// The file operations the upgrade needs, behind a small interface: Win32
// files in the kit, fakes with fault injection in tests.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace fw {

// What a file operation came to: success, or a failure carrying the system's
// text for it, so the reason survives whatever clean-up follows.
struct FileResult {
    bool ok = true;
    bool held = false;  // a sharing violation or a denied access: something holds the file
    std::string error;  // the system's text of the failure

    explicit operator bool() const { return ok; }
    static FileResult Success() { return {}; }
    static FileResult Failure(std::string text, bool isHeld = false) { return {false, isHeld, std::move(text)}; }
};

class OutputFile {
public:
    virtual ~OutputFile() = default;  // closes the file
    virtual bool Write(const void* data, std::size_t size) = 0;
    // Forces the written bytes to the disk.
    virtual bool Flush() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool Exists(const std::string& path) = 0;
    // The names of the files (not folders) directly in folder; none when it
    // can't be read.
    virtual std::vector<std::string> FilesIn(const std::string& folder) = 0;
    // Creates a new, empty file at path into file; fails also when a file of
    // that name exists.
    virtual FileResult CreateNew(const std::string& path, std::unique_ptr<OutputFile>& file) = 0;
    // Puts the closed file at from in place of the existing target, leaving
    // the replaced file under the name backup. A failure leaves either both
    // files under their own names, or the replaced file already under backup
    // and no file at target; a failure on a held file moves nothing.
    virtual FileResult Replace(const std::string& from, const std::string& target, const std::string& backup) = 0;
    // Renames the file at from to to, which must not exist.
    virtual FileResult Rename(const std::string& from, const std::string& to) = 0;
    virtual FileResult Remove(const std::string& path) = 0;
    // A number no other running kit has (the process id), for file names.
    virtual unsigned long RunId() = 0;
    // Waits before the next attempt on a held file.
    virtual void Pause(unsigned milliseconds) = 0;
};

}  // namespace fw
