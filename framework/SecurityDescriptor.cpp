#include "framework/SecurityDescriptor.h"

#include <sddl.h>  // after windows.h, whose types it uses

#include "framework/Win32Error.h"

namespace fw {

Status SecurityDescriptorOf(const wchar_t* sddl, unique_security_descriptor& descriptor) {
    PSECURITY_DESCRIPTOR made = nullptr;
    const BOOL converted = ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &made, nullptr);
    const DWORD code = converted ? ERROR_SUCCESS : GetLastError();  // before the old descriptor is freed
    descriptor.reset(made);
    return converted ? Status::Success() : FailureOf(code);
}

}  // namespace fw
