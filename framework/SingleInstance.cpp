#include "framework/SingleInstance.h"

#include "framework/Utf16.h"

namespace fw {

SingleInstance::SingleInstance(const std::string& name) {
    const WideText globalName("Global\\" + name);
    mutex_.reset(CreateMutexW(nullptr, FALSE, globalName.c_str()));
    // Asked at once, before another call can change the last error.
    taken_ = mutex_ && GetLastError() != ERROR_ALREADY_EXISTS;
}

}  // namespace fw
