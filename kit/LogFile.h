// The /LOG file: opened for appending, each line written and flushed to the
// disk at once, so the lines before a crash or a power cut are kept. A line
// that can't be written or flushed ends the log (see RunLog).
#pragma once

#include <string>

#include "framework/Error.h"
#include "framework/Handles.h"
#include "kit/RunLog.h"

namespace kit {

class LogFile : public RunLog {
public:
    // Opens the file for appending; a failure carries the system's code and text.
    fw::Status Open(const std::string& path);
    bool IsOpen() const { return static_cast<bool>(file_); }

protected:
    // Prefixes the local date and time; does nothing when no file is open.
    void Append(const std::string& text) override;

private:
    // Writes the bytes and forces them to the disk.
    fw::Status WriteFlushed(const char* data, std::size_t size);

    fw::unique_hfile file_;
    std::string path_;
};

}  // namespace kit
