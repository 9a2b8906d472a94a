#include "kit/LogFile.h"

#include <windows.h>

#include "framework/Win32FileSystem.h"

namespace kit {

bool LogFile::Open(const std::string& path, std::string& error) {
    // Appending only: other runs' lines stay, and a reader may look on.
    file_.reset(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file_) return true;
    error = LogUnavailableText(path, fw::SystemErrorText(GetLastError()));
    return false;
}

void LogFile::Write(const std::string& text) {
    if (!file_) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string line =
        TimestampedLine({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond}, text) + "\r\n";
    DWORD written = 0;
    WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace kit
