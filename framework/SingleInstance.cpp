#include "framework/SingleInstance.h"

#include "framework/SecurityDescriptor.h"
#include "framework/Utf16.h"
#include "framework/Win32Error.h"

namespace fw {

namespace {

// Owner Administrators, full access for Administrators and SYSTEM only.
const wchar_t kLockSecurity[] = L"O:BAD:(A;;GA;;;BA)(A;;GA;;;SY)";

}  // namespace

SingleInstance::SingleInstance(const std::string& name) : fullName_("Global\\" + name) {
    const WideText wideName(fullName_);
    unique_security_descriptor descriptor;
    const Result made = SecurityDescriptorOf(kLockSecurity, descriptor);
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
    // An owner that can't be read is nobody's the kit trusts.
    std::string owner;
    const bool kit = mutex_ && OwnerSidOf(mutex_.get(), SE_KERNEL_OBJECT, owner) &&
                     HolderOfName(owner) == NameHolder::AnotherInstance;
    holder_ = kit ? Holder::AnotherInstance : Holder::SomeoneElse;
    // Not kept: once its maker ends, the next program may create the name anew.
    mutex_.reset();
}

void SingleInstance::Fail(const Error& failure) {
    holder_ = Holder::Failed;
    failure_ = std::make_unique<Error>(failure);
}

}  // namespace fw
