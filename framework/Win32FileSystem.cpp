#include "framework/Win32FileSystem.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "framework/Handles.h"
#include "framework/LongPath.h"
#include "framework/Utf16.h"
#include "framework/Win32Error.h"

namespace fw {

WideText SystemPath(const std::string& path) {
    const WideText wide(path);
    std::vector<wchar_t> full(MAX_PATH);
    for (;;) {
        const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        // A path the system can't make full is passed on as it is: the file
        // call then fails with the system's own reason.
        if (length == 0) return wide;
        if (length < full.size()) return WideText(ExtendedLengthPath(Utf8(full.data(), length)));
        full.assign(length, L'\0');
    }
}

namespace {

// The failure of a call that set the last error.
FileResult FileFailureOf(DWORD code) { return FileResult::Failure(SystemErrorText(code), code); }
// The result of a call that reported success or set the last error.
FileResult ResultOf(BOOL succeeded) { return succeeded ? FileResult::Success() : FileFailureOf(GetLastError()); }

// A file or folder that is not where its path says, or not a plain one of
// ours, is refused with the system's own word for a link.
FileResult Redirected() { return FileFailureOf(ERROR_CANT_ACCESS_FILE); }

bool StartsWith(const std::vector<wchar_t>& text, const wchar_t* prefix) {
    for (std::size_t i = 0; prefix[i] != L'\0'; ++i)
        if (i >= text.size() || text[i] != prefix[i]) return false;
    return true;
}

// The path of the file behind handle, every link on the way resolved, in
// the extended-length form the system gives it ("\\?\C:\Apps\Meridal").
bool FinalPathOf(HANDLE handle, std::vector<wchar_t>& path) {
    path.assign(MAX_PATH + 1, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return false;
        if (length < path.size()) {
            path.resize(length);
            return true;
        }
        path.assign(length + 1, L'\0');
    }
}

// The final path in the form the kit builds paths: "C:\Apps\Meridal" or
// "\\server\share\Meridal".
std::string PlainPath(std::vector<wchar_t> path) {
    if (StartsWith(path, L"\\\\?\\UNC\\")) path.erase(path.begin() + 2, path.begin() + 8);  // "\\server"
    else if (StartsWith(path, L"\\\\?\\")) path.erase(path.begin(), path.begin() + 4);
    while (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return Utf8(path.data(), path.size());
}

// Whether the file behind handle is at path (a SystemPath) itself, reached
// through no link. File names compare without regard to case.
bool IsAt(HANDLE handle, const WideText& path) {
    std::vector<wchar_t> final;
    return FinalPathOf(handle, final) &&
           CompareStringOrdinal(final.data(), static_cast<int>(final.size()), path.c_str(),
                                static_cast<int>(path.size()), TRUE) == CSTR_EQUAL;
}

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens path itself, never what a link at its end points to, for the given
// access; folders too.
unique_hfile OpenItself(const WideText& path, DWORD access, DWORD share) {
    return unique_hfile(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// Opens path for a rename or removal when it is a regular file of the kit's
// kind: no link or reparse point, a single link, found where path says.
FileResult OpenOwnFile(const std::string& path, unique_hfile& file) {
    const WideText systemPath = SystemPath(path);
    file = OpenItself(systemPath, DELETE | FILE_READ_ATTRIBUTES, kShareAll);
    if (!file) return ResultOf(FALSE);
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file.get(), &info)) return ResultOf(FALSE);
    const DWORD notPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    if ((info.dwFileAttributes & notPlain) != 0 || info.nNumberOfLinks != 1 || !IsAt(file.get(), systemPath))
        return Redirected();
    return FileResult::Success();
}

// Renames the open file to the full path to, which must not exist. The
// request is the structure with the new name in place of its last member.
FileResult RenameOpenFile(HANDLE file, const std::string& to) {
    const WideText name = SystemPath(to);
    const std::size_t nameBytes = name.size() * sizeof(wchar_t);
    std::vector<char> request(sizeof(FILE_RENAME_INFO) + nameBytes, '\0');
    FILE_RENAME_INFO* rename = reinterpret_cast<FILE_RENAME_INFO*>(request.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(request.data() + offsetof(FILE_RENAME_INFO, FileName), name.c_str(), nameBytes);
    return ResultOf(SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(request.size())));
}

class Win32OutputFile : public OutputFile {
public:
    explicit Win32OutputFile(unique_hfile file) : file_(std::move(file)) {}

    FileResult Write(const void* data, std::size_t size) override {
        const char* bytes = static_cast<const char*>(data);
        while (size > 0) {
            const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!WriteFile(file_.get(), bytes, chunk, &written, nullptr)) return ResultOf(FALSE);
            if (written == 0) return FileFailureOf(ERROR_DISK_FULL);  // nothing taken, no error given
            bytes += written;
            size -= written;
        }
        return FileResult::Success();
    }

    FileResult Flush() override { return ResultOf(FlushFileBuffers(file_.get())); }

    FileResult MoveTo(const std::string& target) override {
        const FileResult moved = RenameOpenFile(file_.get(), target);
        if (moved) file_.reset();
        return moved;
    }

private:
    unique_hfile file_;
};

class Win32HeldFolder : public HeldFolder {
public:
    Win32HeldFolder(unique_hfile folder, std::string finalPath)
        : folder_(std::move(folder)), finalPath_(std::move(finalPath)) {}
    const std::string& FinalPath() const override { return finalPath_; }
    FileResult Flush() override {
        if (FlushFileBuffers(folder_.get())) return FileResult::Success();
        // A file system that can't flush a folder (some network shares) has
        // put its entries where it keeps them already.
        const DWORD code = GetLastError();
        if (code == ERROR_INVALID_FUNCTION || code == ERROR_NOT_SUPPORTED) return FileResult::Success();
        return FileFailureOf(code);
    }

private:
    unique_hfile folder_;
    std::string finalPath_;
};

}  // namespace

bool Win32FileSystem::Exists(const std::string& path) {
    // Attributes are cheaper to ask for than a folder search; a file whose
    // attributes can't be read for another reason than its absence exists.
    const WideText systemPath = SystemPath(path);
    if (GetFileAttributesW(systemPath.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    const DWORD code = GetLastError();
    return code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND && code != ERROR_INVALID_NAME &&
           code != ERROR_BAD_NETPATH && code != ERROR_BAD_NET_NAME && code != ERROR_INVALID_DRIVE;
}

PathKind Win32FileSystem::Examine(const std::string& path) {
    const WideText systemPath = SystemPath(path);
    // The attributes of a link are its own, not its target's.
    const DWORD attributes = GetFileAttributesW(systemPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return PathKind::Redirected;
    // Some links show no such attribute; their final path gives them away.
    unique_hfile item = OpenItself(systemPath, FILE_READ_ATTRIBUTES, kShareAll);
    if (item && !IsAt(item.get(), systemPath)) return PathKind::Redirected;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

FileResult Win32FileSystem::HoldFolder(const std::string& path, std::unique_ptr<HeldFolder>& held) {
    // Without delete sharing nobody can rename or remove the folder while it
    // is held; write access lets Flush force its entries to the disk.
    const WideText systemPath = SystemPath(path);
    unique_hfile folder(CreateFileW(systemPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return ResultOf(FALSE);
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(folder.get(), &info)) return ResultOf(FALSE);
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return FileFailureOf(ERROR_DIRECTORY);
    std::vector<wchar_t> final;
    if (!FinalPathOf(folder.get(), final)) return ResultOf(FALSE);
    held = std::make_unique<Win32HeldFolder>(std::move(folder), PlainPath(std::move(final)));
    return FileResult::Success();
}

std::vector<std::string> Win32FileSystem::FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    unique_hfind find(FindFirstFileW(SystemPath(folder + "\\*").c_str(), &data));
    if (!find) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(Utf8(data.cFileName));
    } while (FindNextFileW(find.get(), &data));
    return names;
}

FileResult Win32FileSystem::CreateNew(const std::string& path, std::unique_ptr<OutputFile>& file) {
    const WideText systemPath = SystemPath(path);
    unique_hfile created(CreateFileW(systemPath.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!created) return ResultOf(FALSE);
    // Created through a link that appeared on the way: gone again at once.
    if (!IsAt(created.get(), systemPath)) {
        FILE_DISPOSITION_INFO remove = {TRUE};
        SetFileInformationByHandle(created.get(), FileDispositionInfo, &remove, sizeof remove);
        return Redirected();
    }
    file = std::make_unique<Win32OutputFile>(std::move(created));
    return FileResult::Success();
}

FileResult Win32FileSystem::Replace(const std::string& from, const std::string& target, const std::string& backup) {
    const WideText targetPath = SystemPath(target);
    // A read-only file is said to be one; waiting wouldn't change it.
    const DWORD attributes = GetFileAttributesW(targetPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return FileFailureOf(ERROR_FILE_READ_ONLY);
    // A file that can't be opened for writing without sharing is in use (a
    // running program) or protected: leave it as it is. A renaming replace
    // alone would succeed on a running executable.
    {
        unique_hfile probe(CreateFileW(targetPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe) return ResultOf(FALSE);
        if (!IsAt(probe.get(), targetPath)) return Redirected();
    }
    // Keeps the replaced file's attributes and security. With a backup name
    // a failure never loses the replaced file: it is either still the target
    // or under the backup name (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2).
    return ResultOf(ReplaceFileW(targetPath.c_str(), SystemPath(from).c_str(), SystemPath(backup).c_str(),
                                 REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr));
}

FileResult Win32FileSystem::Rename(const std::string& from, const std::string& to) {
    unique_hfile file;
    const FileResult own = OpenOwnFile(from, file);
    return own ? RenameOpenFile(file.get(), to) : own;
}

FileResult Win32FileSystem::Remove(const std::string& path) {
    unique_hfile file;
    const FileResult own = OpenOwnFile(path, file);
    if (!own) return own;
    FILE_DISPOSITION_INFO remove = {TRUE};
    return ResultOf(SetFileInformationByHandle(file.get(), FileDispositionInfo, &remove, sizeof remove));
}

unsigned long Win32FileSystem::RunId() { return GetCurrentProcessId(); }

void Win32FileSystem::Pause(unsigned milliseconds) { Sleep(milliseconds); }

}  // namespace fw
