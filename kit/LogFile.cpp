#include "kit/LogFile.h"

#include <windows.h>

#include <vector>

#include "framework/LinkRules.h"
#include "framework/SecurityDescriptor.h"
#include "framework/Utf16.h"
#include "framework/Win32Error.h"
#include "framework/Win32FileSystem.h"
#include "kit/KitTexts.h"

namespace kit {

namespace {

// A log the kit creates: full control for Administrators and SYSTEM, reading
// for Users; nothing inherited from its folder.
const wchar_t kLogSecurity[] = L"D:P(A;;FA;;;BA)(A;;FA;;;SY)(A;;FR;;;BU)";

fw::Result Refused(const std::string& reason) { return fw::Result::Failure(0, reason); }

// Whether the file open at handle is a plain file on a disk, with a single
// name, at systemPath itself (compared without regard to case).
fw::Result CheckPlainFile(HANDLE file, const fw::WideText& systemPath) {
    SetLastError(NO_ERROR);  // GetFileType tells a failure only through the last error
    const DWORD type = GetFileType(file);
    if (type == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR) return fw::LastFailure();
    if (type != FILE_TYPE_DISK) return Refused(text::kLogIsDevice);
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info)) return fw::LastFailure();
    // Only tags that name another place are links; a deduplicated or
    // compressed file is an ordinary file.
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        FILE_ATTRIBUTE_TAG_INFO tag;
        if (!GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof(tag))) return fw::LastFailure();
        if (fw::IsLinkTag(tag.ReparseTag)) return Refused(text::kLogIsLink);
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return Refused(text::kLogIsFolder);
    if (info.nNumberOfLinks > 1) return Refused(text::kLogHasSeveralNames);
    // A link on the way to it, also one the system followed without showing
    // (as Wine does with a symbolic link), leads elsewhere.
    std::vector<wchar_t> finalPath;
    const DWORD code = fw::FinalPathOf(file, finalPath);
    if (code != ERROR_SUCCESS) return fw::FailureOf(code);
    if (CompareStringOrdinal(finalPath.data(), static_cast<int>(finalPath.size()), systemPath.c_str(),
                             static_cast<int>(systemPath.size()), TRUE) != CSTR_EQUAL)
        return Refused(fw::FormatMessageText(text::kLogElsewhere, {fw::PlainPath(finalPath)}));
    return fw::Result::Success();
}

}  // namespace

fw::Result LogFile::Open(const std::string& path) {
    fw::unique_security_descriptor descriptor;
    const fw::Result described = fw::SecurityDescriptorOf(kLogSecurity, descriptor);
    if (!described) return described;
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor.get(), FALSE};
    // Appending only, other runs' lines stay; readers may look on, nobody
    // else writes meanwhile. The name itself is opened, never what a link
    // there leads to, and a folder opens too, so either is told as what it is.
    const fw::WideText systemPath = fw::SystemPath(path);
    fw::unique_hfile file(CreateFileW(
        systemPath.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, &attributes, OPEN_ALWAYS,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return fw::LastFailure();
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;  // asked before another call can change it
    const fw::Result plain = CheckPlainFile(file.get(), systemPath);
    if (!plain) return plain;
    file_ = fw::HoldOpenFile(std::move(file));
    path_ = path;
    if (existed) return fw::Result::Success();
    // A file the kit creates starts with the UTF-8 byte-order mark, so that
    // editors read its folder names right.
    static const char kByteOrderMark[] = "\xEF\xBB\xBF";
    const fw::Result marked = WriteFlushed(kByteOrderMark, 3);
    if (!marked) file_.reset();
    return marked;
}

fw::Result LogFile::WriteFlushed(const char* data, std::size_t size) {
    const fw::Result written = file_->Write(data, size);
    return written ? file_->Flush() : written;
}

void LogFile::Append(const std::string& text) {
    if (!file_) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string line =
        TimestampedLine({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond}, text) + "\r\n";
    const fw::Result written = WriteFlushed(line.data(), line.size());
    if (!written) throw fw::Error(LogWriteFailedText(path_, written.text), written.code);
}

}  // namespace kit
