#include "kit/LogFile.h"

#include <windows.h>

#include "framework/Win32Error.h"
#include "framework/Win32FileSystem.h"

namespace kit {

fw::Status LogFile::Open(const std::string& path) {
    // Appending only: other runs' lines stay, and a reader may look on.
    const fw::WideText systemPath = fw::SystemPath(path);
    file_.reset(CreateFileW(systemPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) return fw::LastFailure();
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;  // asked before another call can change it
    path_ = path;
    if (existed) return fw::Status::Success();
    // A file the kit creates starts with the UTF-8 byte-order mark, so that
    // editors read its folder names right.
    static const char kByteOrderMark[] = "\xEF\xBB\xBF";
    const fw::Status marked = WriteFlushed(kByteOrderMark, 3);
    if (!marked) file_.reset();
    return marked;
}

fw::Status LogFile::WriteFlushed(const char* data, std::size_t size) {
    DWORD written = 0;
    DWORD code = ERROR_SUCCESS;
    if (!WriteFile(file_.get(), data, static_cast<DWORD>(size), &written, nullptr)) code = GetLastError();
    else if (written != size) code = ERROR_DISK_FULL;  // a short write to a disk file: no room for the rest
    else if (!FlushFileBuffers(file_.get())) code = GetLastError();
    return code == ERROR_SUCCESS ? fw::Status::Success() : fw::FailureOf(code);
}

void LogFile::Append(const std::string& text) {
    if (!file_) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string line =
        TimestampedLine({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond}, text) + "\r\n";
    const fw::Status written = WriteFlushed(line.data(), line.size());
    if (!written) throw fw::Error(LogWriteFailedText(path_, written.text), written.code);
}

}  // namespace kit
