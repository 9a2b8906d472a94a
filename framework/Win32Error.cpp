#include "framework/Win32Error.h"

#include "framework/Handles.h"
#include "framework/SystemCodes.h"
#include "framework/Utf16.h"

namespace fw {

// The codes the core and the test fakes name are the system's.
static_assert(kFileNotFound == ERROR_FILE_NOT_FOUND && kPathNotFound == ERROR_PATH_NOT_FOUND &&
                  kAccessDenied == ERROR_ACCESS_DENIED && kNotEnoughMemory == ERROR_NOT_ENOUGH_MEMORY &&
                  kNotSameDevice == ERROR_NOT_SAME_DEVICE && kSharingViolation == ERROR_SHARING_VIOLATION &&
                  kFileExists == ERROR_FILE_EXISTS && kDiskFull == ERROR_DISK_FULL &&
                  kInvalidName == ERROR_INVALID_NAME && kAlreadyExists == ERROR_ALREADY_EXISTS &&
                  kNoUnicodeTranslation == ERROR_NO_UNICODE_TRANSLATION && kIoDevice == ERROR_IO_DEVICE &&
                  kUnidentifiedError == ERROR_UNIDENTIFIED_ERROR &&
                  kResourceNameNotFound == ERROR_RESOURCE_NAME_NOT_FOUND && kCantAccessFile == ERROR_CANT_ACCESS_FILE &&
                  kFileReadOnly == ERROR_FILE_READ_ONLY,
              "fw::SystemCode differs from the system's code");

std::string SystemErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const unique_local<wchar_t*> owned(buffer);
    std::string text = buffer ? Utf8(buffer, length) : "";
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.')) text.pop_back();
    return text;
}

DWORD FailureCode(DWORD code) { return code != ERROR_SUCCESS ? code : ERROR_UNIDENTIFIED_ERROR; }

Result FailureOf(DWORD code) {
    code = FailureCode(code);
    return Result::Failure(code, SystemErrorText(code));
}

Result LastFailure() { return FailureOf(GetLastError()); }

Error Win32Error(const std::string& what, DWORD code) {
    code = FailureCode(code);
    const std::string reason = SystemErrorText(code);
    return Error(reason.empty() ? what : what + ". " + reason, code);
}

void ThrowWin32Error(const char* what, DWORD code) { throw Win32Error(what, code); }

void ThrowLastError(const char* what) { ThrowWin32Error(what, GetLastError()); }

void ThrowGdiFailure(const char* what) { ThrowWin32Error(what, ERROR_NOT_ENOUGH_MEMORY); }

}  // namespace fw
