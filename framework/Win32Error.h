// Win32 failures as the framework carries them: the system's error code
// with its text.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Error.h"

namespace fw {

// The system's text for an error code, without trailing blanks and dots.
std::string SystemErrorText(DWORD code);

// The code a failed call is told with: code, unless the call left none (0,
// whose text is "The operation completed successfully"): then
// ERROR_UNIDENTIFIED_ERROR, so no failure reads as a success. Each helper
// below tells its code through this.
DWORD FailureCode(DWORD code);

// A failed call whose error code is code (as GetLastError or a registry
// call gives it): the code and the system's text for it.
Result FailureOf(DWORD code);
// The failure of the Win32 call that just failed, from GetLastError.
Result LastFailure();

// An Error saying what failed, then the system's reason: "<what>. <text>".
Error Win32Error(const std::string& what, DWORD code);

// Raises Win32Error(what, code); out of line, so each caller stays small.
[[noreturn]] void ThrowWin32Error(const char* what, DWORD code);

// Raises the failure of the Win32 call that just failed as Win32Error, with
// the code GetLastError holds: read first, before anything can change it.
[[noreturn]] void ThrowLastError(const char* what);
inline void ThrowLastErrorIf(bool failed, const char* what) {
    if (failed) ThrowLastError(what);
}
// value, unless it is null: then raises like ThrowLastError.
template <typename T>
T ThrowLastErrorIfNull(T value, const char* what) {
    if (!value) ThrowLastError(what);
    return value;
}

// GDI's object makers (CreateSolidBrush, CreatePen, CreateCompatibleDC,
// CreateFontIndirect, GetObject) and GetDC tell a failure by their result
// alone and leave the last error as it was, maybe some earlier call's code.
// They fail for want of GDI resources, so that is the reason given:
// ERROR_NOT_ENOUGH_MEMORY. (CreateBitmap and CreateDIBSection do set the
// last error: ThrowLastError for them.)
[[noreturn]] void ThrowGdiFailure(const char* what);
// value, unless it is null: then raises like ThrowGdiFailure.
template <typename T>
T ThrowGdiFailureIfNull(T value, const char* what) {
    if (!value) ThrowGdiFailure(what);
    return value;
}

}  // namespace fw
