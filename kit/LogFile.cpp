#include "kit/LogFile.h"

#include <windows.h>

#include <cwchar>
#include <utility>
#include <vector>

#include "framework/LinkRules.h"
#include "framework/SecurityDescriptor.h"
#include "framework/NtFiles.h"
#include "framework/Utf16.h"
#include "framework/Win32Error.h"
#include "framework/Win32FileSystem.h"
#include "kit/KitTexts.h"

namespace kit {

namespace {

// A log the kit creates: full control for Administrators and SYSTEM, nothing
// for anyone else, nothing inherited from its folder; its owner is the one the
// system gives what an administrator creates.
const wchar_t kLogSecurity[] = L"D:P(A;;FA;;;BA)(A;;FA;;;SY)";

// Appending only, other runs' lines stay; readers may look on, nobody else
// writes meanwhile.
const DWORD kLogAccess = FILE_APPEND_DATA | FILE_READ_ATTRIBUTES;
const DWORD kLogSharing = FILE_SHARE_READ;

fw::Result Refused(const std::string& reason) { return fw::Result::Failure(0, reason); }

// Whether the file or folder open at handle lies at systemPath itself,
// compared without regard to case; elsewhere is refused naming the real
// place. Beyond the final path Wine gives (about 263 characters) the path
// below the volume is compared, and a place elsewhere fails unnamed.
fw::Result CheckWhere(HANDLE item, const fw::WideText& systemPath) {
    std::vector<wchar_t> finalPath;
    const DWORD code = fw::FinalPathOf(item, finalPath);
    if (code == ERROR_MORE_DATA) return fw::CheckAt(item, systemPath);
    if (code != ERROR_SUCCESS) return fw::FailureOf(code);
    // A root's final path ends in "\", and so does the path of a drive's root.
    std::size_t length = finalPath.size(), expected = systemPath.size();
    if (length > 0 && finalPath[length - 1] == L'\\') --length;
    if (expected > 0 && systemPath.c_str()[expected - 1] == L'\\') --expected;
    if (CompareStringOrdinal(finalPath.data(), static_cast<int>(length), systemPath.c_str(), static_cast<int>(expected),
                             TRUE) != CSTR_EQUAL)
        return Refused(fw::FormatMessageText(text::kLogElsewhere, {fw::PlainPath(std::move(finalPath))}));
    return fw::Result::Success();
}

// Whether the file open at handle is a plain file on a disk, with a single
// name, at systemPath itself.
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
    return CheckWhere(file, systemPath);
}

// Creates the log, with the kit's security, in its folder held and checked
// first, so nothing is made anywhere the path doesn't say. Held without
// delete sharing, the folder can't be renamed or swapped for a link until the
// file is made, by its bare name relative to the held folder. A file there
// already fails with ERROR_ALREADY_EXISTS.
fw::Result CreateNew(const fw::WideText& systemPath, fw::unique_hfile& file) {
    const wchar_t* slash = std::wcsrchr(systemPath.c_str(), L'\\');
    if (!slash || slash == systemPath.c_str() || slash[1] == L'\0') return fw::FailureOf(ERROR_INVALID_NAME);
    // The folder as the system names it: a drive's root with its "\"
    // ("\\?\C:" alone is the volume), any other folder without.
    const std::size_t folderLength = static_cast<std::size_t>(slash - systemPath.c_str()) + (slash[-1] == L':');
    const fw::WideText folderPath(fw::Utf8(systemPath.c_str(), folderLength));
    fw::unique_hfile folder(CreateFileW(folderPath.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return fw::LastFailure();
    // A link, junction or substituted drive on the way leads elsewhere.
    const fw::Result there = CheckWhere(folder.get(), folderPath);
    if (!there) return there;

    fw::unique_security_descriptor descriptor;
    const fw::Result described = fw::SecurityDescriptorOf(kLogSecurity, descriptor);
    if (!described) return described;
    const fw::Result made = fw::CreateFileIn(folder.get(), slash + 1, kLogAccess, kLogSharing, descriptor.get(), file);
    if (!made) return made;
    return CheckPlainFile(file.get(), systemPath);
}

// Opens the log that is there, checked, or else creates it; created tells
// which. One that another made meanwhile is opened as one that was there.
fw::Result OpenOrCreate(const fw::WideText& systemPath, fw::unique_hfile& file, bool& created) {
    for (bool first = true;; first = false) {
        // The name itself is opened, never what a link there leads to, and a
        // folder opens too, so either is told as what it is.
        file.reset(CreateFileW(systemPath.c_str(), kLogAccess, kLogSharing, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (file) return CheckPlainFile(file.get(), systemPath);
        if (!first || GetLastError() != ERROR_FILE_NOT_FOUND) return fw::LastFailure();
        const fw::Result made = CreateNew(systemPath, file);
        created = made.ok;
        if (made.code != ERROR_ALREADY_EXISTS && made.code != ERROR_FILE_EXISTS) return made;
    }
}

}  // namespace

fw::Result LogFile::Open(const std::string& path) {
    fw::unique_hfile file;
    bool created = false;
    const fw::Result opened = OpenOrCreate(fw::SystemPath(path), file, created);
    if (!opened) return opened;
    file_ = fw::HoldOpenFile(std::move(file));
    path_ = path;
    if (!created) return fw::Result::Success();
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
