#include "framework/Win32FileSystem.h"

#include "framework/Handles.h"

namespace fw {

namespace {

class Win32OutputFile : public OutputFile {
public:
    explicit Win32OutputFile(HANDLE file) : file_(file) {}

    bool Write(const void* data, std::size_t size) override {
        const char* bytes = static_cast<const char*>(data);
        while (size > 0) {
            const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!WriteFile(file_.get(), bytes, chunk, &written, nullptr) || written == 0) return false;
            bytes += written;
            size -= written;
        }
        return true;
    }

    bool Flush() override { return FlushFileBuffers(file_.get()) != FALSE; }

private:
    unique_hfile file_;
};

}  // namespace

std::string SystemErrorText(DWORD code) {
    char* buffer = nullptr;
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = buffer ? std::string(buffer, length) : "";
    LocalFree(buffer);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.')) text.pop_back();
    return text;
}

namespace {
// The result of a call that reported success or set the last error.
FileResult ResultOf(BOOL succeeded) {
    if (succeeded) return FileResult::Success();
    const DWORD code = GetLastError();
    return FileResult::Failure(SystemErrorText(code), code == ERROR_SHARING_VIOLATION || code == ERROR_ACCESS_DENIED);
}
}  // namespace

bool Win32FileSystem::Exists(const std::string& path) {
    WIN32_FIND_DATAA data;
    unique_hfind find(FindFirstFileA(path.c_str(), &data));
    return static_cast<bool>(find);
}

std::vector<std::string> Win32FileSystem::FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    unique_hfind find(FindFirstFileA((folder + "\\*").c_str(), &data));
    if (!find) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileA(find.get(), &data));
    return names;
}

FileResult Win32FileSystem::CreateNew(const std::string& path, std::unique_ptr<OutputFile>& file) {
    HANDLE created =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) return ResultOf(FALSE);
    file = std::make_unique<Win32OutputFile>(created);
    return FileResult::Success();
}

FileResult Win32FileSystem::Replace(const std::string& from, const std::string& target, const std::string& backup) {
    // A file that can't be opened for writing without sharing is in use (a
    // running program) or protected: leave it as it is. A renaming replace
    // alone would succeed on a running executable.
    {
        unique_hfile probe(CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe) return ResultOf(FALSE);
    }
    // Keeps the replaced file's attributes and security. With a backup name
    // a failure never loses the replaced file: it is either still the target
    // or under the backup name (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2).
    return ResultOf(
        ReplaceFileA(target.c_str(), from.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr));
}

FileResult Win32FileSystem::Rename(const std::string& from, const std::string& to) {
    return ResultOf(MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH));
}

FileResult Win32FileSystem::Remove(const std::string& path) { return ResultOf(DeleteFileA(path.c_str())); }

unsigned long Win32FileSystem::RunId() { return GetCurrentProcessId(); }

void Win32FileSystem::Pause(unsigned milliseconds) { Sleep(milliseconds); }

}  // namespace fw
