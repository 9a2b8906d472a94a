// Win32 failures as the framework carries them: the system's error code
// with its text.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Error.h"

namespace fw {

// The system's text for an error code, without trailing blanks and dots.
std::string SystemErrorText(DWORD code);

// A failed call whose error code is code (as GetLastError or a registry
// call gives it): the code and the system's text for it.
Status FailureOf(DWORD code);
// The failure of the Win32 call that just failed, from GetLastError.
Status LastFailure();

// An Error saying what failed, then the system's reason: "<what>. <text>".
Error Win32Error(const std::string& what, DWORD code);

}  // namespace fw
