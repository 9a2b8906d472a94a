#include "framework/Win32Error.h"

#include "framework/Handles.h"
#include "framework/Utf16.h"

namespace fw {

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

Result FailureOf(DWORD code) { return Result::Failure(code, SystemErrorText(code)); }

Result LastFailure() { return FailureOf(GetLastError()); }

Error Win32Error(const std::string& what, DWORD code) {
    const std::string reason = SystemErrorText(code);
    return Error(reason.empty() ? what : what + ". " + reason, code);
}

void ThrowWin32Error(const char* what, DWORD code) { throw Win32Error(what, code); }

void ThrowLastError(const char* what) { ThrowWin32Error(what, GetLastError()); }

}  // namespace fw
