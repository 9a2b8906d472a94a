// Security descriptors written as SDDL text, for objects the kit creates.
#pragma once

#include <windows.h>

#include "framework/Error.h"
#include "framework/Handles.h"

namespace fw {

using unique_security_descriptor = unique_local<PSECURITY_DESCRIPTOR>;

// The descriptor that sddl describes ("O:BAD:(A;;GA;;;BA)"); a failure
// carries the system's code and text.
Status SecurityDescriptorOf(const wchar_t* sddl, unique_security_descriptor& descriptor);

}  // namespace fw
