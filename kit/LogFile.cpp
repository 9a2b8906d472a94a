#include "kit/LogFile.h"

#include <windows.h>

#include "framework/Win32Error.h"

namespace kit {

fw::Status LogFile::Open(const std::string& path) {
    // Appending only: other runs' lines stay, and a reader may look on.
    file_.reset(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) return fw::LastFailure();
    path_ = path;
    return fw::Status::Success();
}

void LogFile::Append(const std::string& text) {
    if (!file_) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string line =
        TimestampedLine({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond}, text) + "\r\n";
    DWORD written = 0;
    DWORD code = ERROR_SUCCESS;
    if (!WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) code = GetLastError();
    else if (written != line.size()) code = ERROR_DISK_FULL;  // a short write to a disk file: no room for the rest
    else if (!FlushFileBuffers(file_.get())) code = GetLastError();
    if (code != ERROR_SUCCESS) throw fw::Error(LogWriteFailedText(path_, fw::FailureOf(code).text), code);
}

}  // namespace kit
