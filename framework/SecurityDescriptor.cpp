#include "framework/SecurityDescriptor.h"

#include <aclapi.h>  // after windows.h, whose types it uses
#include <sddl.h>

#include "framework/Utf16.h"
#include "framework/Win32Error.h"

namespace fw {

Result SecurityDescriptorOf(const wchar_t* sddl, unique_security_descriptor& descriptor) {
    PSECURITY_DESCRIPTOR made = nullptr;
    const BOOL converted = ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &made, nullptr);
    const DWORD code = converted ? ERROR_SUCCESS : GetLastError();  // before the old descriptor is freed
    descriptor.reset(made);
    return converted ? Result::Success() : FailureOf(code);
}

std::string OwnerSidOf(HANDLE object, SE_OBJECT_TYPE type) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD code =
        GetSecurityInfo(object, type, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr, &descriptor);
    const unique_security_descriptor ownedDescriptor(descriptor);  // owner points into it
    wchar_t* text = nullptr;
    if (code != ERROR_SUCCESS || owner == nullptr || !ConvertSidToStringSidW(owner, &text)) return std::string();
    const unique_local<wchar_t*> ownedText(text);
    return Utf8(text);
}

}  // namespace fw
