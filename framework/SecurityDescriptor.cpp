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

Result OwnerSidOf(HANDLE object, SE_OBJECT_TYPE type, std::string& sid) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD code =
        GetSecurityInfo(object, type, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr, &descriptor);
    const unique_security_descriptor ownedDescriptor(descriptor);  // owner points into it
    if (code != ERROR_SUCCESS) return FailureOf(code);
    if (owner == nullptr) return FailureOf(ERROR_INVALID_OWNER);
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(owner, &text)) return LastFailure();
    const unique_local<wchar_t*> ownedText(text);
    sid = Utf8(text);
    return Result::Success();
}

Result SddlOf(HANDLE object, SE_OBJECT_TYPE type, std::string& sddl) {
    const SECURITY_INFORMATION parts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD code = GetSecurityInfo(object, type, parts, nullptr, nullptr, nullptr, nullptr, &descriptor);
    const unique_security_descriptor ownedDescriptor(descriptor);
    if (code != ERROR_SUCCESS) return FailureOf(code);
    wchar_t* text = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, parts, &text, nullptr))
        return LastFailure();
    const unique_local<wchar_t*> ownedText(text);
    sddl = Utf8(text);
    return Result::Success();
}

}  // namespace fw
