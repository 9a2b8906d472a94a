// The file operations the upgrade needs, behind a small interface: Win32
// files in the kit, fakes with fault injection in tests.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace fw {

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
    // Creates a new, empty file with a unique name in the folder of target,
    // sets tempPath to its path; null on failure.
    virtual std::unique_ptr<OutputFile> CreateTempBeside(const std::string& target, std::string& tempPath) = 0;
    // Puts the closed file at from in place of target in one step, replacing
    // target if it exists; false on failure, target untouched.
    virtual bool Replace(const std::string& from, const std::string& target) = 0;
    virtual void Remove(const std::string& path) = 0;
    // The system's text for the last failure of this interface.
    virtual std::string LastErrorText() = 0;
};

}  // namespace fw
