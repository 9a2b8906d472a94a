#include "framework/SingleInstance.h"

namespace fw {

SingleInstance::SingleInstance(const std::string& name)
    : mutex_(CreateMutexA(nullptr, FALSE, ("Global\\" + name).c_str())) {
    // Asked at once, before another call can change the last error.
    taken_ = mutex_ && GetLastError() != ERROR_ALREADY_EXISTS;
}

}  // namespace fw
