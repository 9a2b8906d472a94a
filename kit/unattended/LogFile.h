// The /LOG file: opened for appending, each line written and flushed to the
// disk at once, so the lines before a crash or a power cut are kept. A line
// that can't be written or flushed ends the log (see RunLog).
//
// The kit runs as administrator and the path may lie in a folder where users
// can create files, so the log must be what its path says: a plain file on a
// disk, with a single name, reached through no link. Anything else (a link
// or junction, a folder, a device, a hard link to another file) is refused
// before a byte is written, and a new log is created only in a folder found
// at its path, so a refused one leaves no file anywhere.
#pragma once

#include <memory>
#include <string>

#include "framework/Error.h"
#include "framework/FileSystem.h"
#include "kit/unattended/RunLog.h"

namespace kit {

class LogFile : public RunLog {
public:
    // Opens the file for appending through files, or creates it open to
    // Administrators and SYSTEM alone. A failure carries the system's code
    // and text; a refused file the kit's reason (and code 0).
    fw::Result Open(fw::FileSystem& files, const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }

protected:
    // Prefixes the local date and time; does nothing when no file is open.
    void Append(const std::string& text) override;

private:
    // Writes the bytes and forces them to the disk.
    fw::Result WriteFlushed(const char* data, std::size_t size);

    std::unique_ptr<fw::HeldFile> file_;
    std::string path_;
};

}  // namespace kit
