#include "framework/SingleInstance.h"

#include <aclapi.h>  // after windows.h, whose types it uses
#include <sddl.h>

#include "framework/SecurityDescriptor.h"
#include "framework/Utf16.h"
#include "framework/Win32Error.h"

namespace fw {

namespace {

// Owner Administrators, full access for Administrators and SYSTEM only.
const wchar_t kLockSecurity[] = L"O:BAD:(A;;GA;;;BA)(A;;GA;;;SY)";

// The owner of the object behind handle as SID text; empty when it has
// none or it can't be read.
std::string OwnerOf(HANDLE object) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD code = GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                                       nullptr, &descriptor);
    const unique_security_descriptor ownedDescriptor(descriptor);  // owner points into it
    wchar_t* text = nullptr;
    if (code != ERROR_SUCCESS || owner == nullptr || !ConvertSidToStringSidW(owner, &text)) return std::string();
    const unique_local<wchar_t*> ownedText(text);
    return Utf8(text);
}

}  // namespace

SingleInstance::SingleInstance(const std::string& name) : fullName_("Global\\" + name) {
    const WideText wideName(fullName_);
    unique_security_descriptor descriptor;
    const Status made = SecurityDescriptorOf(kLockSecurity, descriptor);
    if (!made) {
        Fail(Win32Error("Cannot describe the lock's security", made.code));
        return;
    }
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor.get(), FALSE};
    mutex_.reset(CreateMutexW(&attributes, FALSE, wideName.c_str()));
    const DWORD code = GetLastError();  // asked at once, before another call can change it
    if (mutex_ && code != ERROR_ALREADY_EXISTS) return;
    // The name held by an object of another type (an event, a semaphore):
    // no program of the kind made it.
    if (!mutex_ && code == ERROR_INVALID_HANDLE) {
        holder_ = Holder::SomeoneElse;
        return;
    }
    if (!mutex_ && code != ERROR_ACCESS_DENIED) {
        Fail(Win32Error("Cannot create the lock \"" + fullName_ + "\"", code));
        return;
    }
    // A name whose object denies this program full access may still show
    // its owner to a reader.
    if (!mutex_) mutex_.reset(OpenMutexW(READ_CONTROL, FALSE, wideName.c_str()));
    const bool kit = mutex_ && HolderOfName(OwnerOf(mutex_.get())) == NameHolder::AnotherInstance;
    holder_ = kit ? Holder::AnotherInstance : Holder::SomeoneElse;
    // Not kept: once its maker ends, the next program may create the name anew.
    mutex_.reset();
}

void SingleInstance::Fail(const Error& failure) {
    holder_ = Holder::Failed;
    failure_ = std::make_unique<Error>(failure);
}

}  // namespace fw
