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
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = buffer ? std::string(buffer, length) : "";
    LocalFree(buffer);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.')) text.pop_back();
    return text;
}

bool Win32FileSystem::Fail() {
    lastError_ = GetLastError();
    return false;
}

bool Win32FileSystem::Exists(const std::string& path) {
    WIN32_FIND_DATAA data;
    unique_hfind find(FindFirstFileA(path.c_str(), &data));
    return static_cast<bool>(find);
}

std::unique_ptr<OutputFile> Win32FileSystem::CreateTempBeside(const std::string& target, std::string& tempPath) {
    // A name of our own beside the target, so the final move stays within
    // one folder and so within one volume.
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        tempPath = target + ".~" + std::to_string(GetCurrentProcessId()) + "." + std::to_string(attempt) + ".tmp";
        HANDLE file = CreateFileA(tempPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return std::make_unique<Win32OutputFile>(file);
        if (GetLastError() != ERROR_FILE_EXISTS) break;
    }
    Fail();
    return nullptr;
}

bool Win32FileSystem::Replace(const std::string& from, const std::string& target) {
    if (!Exists(target)) {
        return MoveFileExA(from.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
               Fail();
    }
    // A file that can't be opened for writing without sharing is in use (a
    // running program) or protected: leave it as it is. A renaming replace
    // alone would succeed on a running executable.
    {
        unique_hfile probe(CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe) return Fail();
    }
    // Keeps the replaced file's attributes and security.
    return ReplaceFileA(target.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) ||
           Fail();
}

void Win32FileSystem::Remove(const std::string& path) { DeleteFileA(path.c_str()); }

std::string Win32FileSystem::LastErrorText() { return SystemErrorText(lastError_); }

}  // namespace fw
