// The /LOG file: opened for appending, each line written and handed to the
// system at once, so the lines before a crash or a power cut are kept.
#pragma once

#include <string>

#include "framework/Handles.h"
#include "kit/RunLog.h"

namespace kit {

class LogFile : public RunLog {
public:
    // False, with the reason in error, when the file can't be opened.
    bool Open(const std::string& path, std::string& error);
    bool IsOpen() const { return static_cast<bool>(file_); }
    // Prefixes the local date and time; does nothing when no file is open.
    void Write(const std::string& text) override;

private:
    fw::unique_hfile file_;
};

}  // namespace kit
