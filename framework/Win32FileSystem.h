// Win32 files behind the FileSystem interface.
#pragma once

#include <windows.h>

#include "framework/FileSystem.h"

namespace fw {

class Win32FileSystem : public FileSystem {
public:
    bool Exists(const std::string& path) override;
    std::unique_ptr<OutputFile> CreateTempBeside(const std::string& target, std::string& tempPath) override;
    bool Replace(const std::string& from, const std::string& target) override;
    void Remove(const std::string& path) override;
    std::string LastErrorText() override;

private:
    bool Fail();  // keeps GetLastError for LastErrorText
    DWORD lastError_ = 0;
};

// The system's text for an error code, without trailing blanks and dots.
std::string SystemErrorText(DWORD code);

}  // namespace fw
