// Win32 files behind the FileSystem interface.
#pragma once

#include <windows.h>

#include "framework/FileSystem.h"

namespace fw {

class Win32FileSystem : public FileSystem {
public:
    bool Exists(const std::string& path) override;
    std::vector<std::string> FilesIn(const std::string& folder) override;
    std::unique_ptr<OutputFile> CreateNew(const std::string& path) override;
    bool Replace(const std::string& from, const std::string& target, const std::string& backup) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
    bool LastErrorIsHeld() override;
    std::string LastErrorText() override;
    unsigned long RunId() override;
    void Pause(unsigned milliseconds) override;

private:
    bool Fail();  // keeps GetLastError for LastErrorText
    DWORD lastError_ = 0;
};

// The system's text for an error code, without trailing blanks and dots.
std::string SystemErrorText(DWORD code);

}  // namespace fw
