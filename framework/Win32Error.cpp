#include "framework/Win32Error.h"

#include "framework/Win32FileSystem.h"

namespace fw {

Status FailureOf(DWORD code) { return Status::Failure(code, SystemErrorText(code)); }

Status LastFailure() { return FailureOf(GetLastError()); }

Error Win32Error(const std::string& what, DWORD code) {
    const std::string reason = SystemErrorText(code);
    return Error(reason.empty() ? what : what + ". " + reason, code);
}

}  // namespace fw
