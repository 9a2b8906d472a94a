// Security descriptors written as SDDL text, for objects the kit creates,
// and the owner and DACL of an object the kit finds.
#pragma once

#include <windows.h>

#include <accctrl.h>  // after windows.h, whose types it uses

#include <string>

#include "framework/Error.h"
#include "framework/Handles.h"

namespace fw {

using unique_security_descriptor = unique_local<PSECURITY_DESCRIPTOR>;

// The descriptor that sddl describes ("O:BAD:(A;;GA;;;BA)"); a failure
// carries the system's code and text.
Result SecurityDescriptorOf(const wchar_t* sddl, unique_security_descriptor& descriptor);

// The owner of the object behind handle as SID text ("S-1-5-32-544").
Result OwnerSidOf(HANDLE object, SE_OBJECT_TYPE type, std::string& sid);

// The owner and DACL of the object behind handle as SDDL text
// ("O:BAD:PAI(A;OICI;FA;;;BA)"); handle needs READ_CONTROL.
Result SddlOf(HANDLE object, SE_OBJECT_TYPE type, std::string& sddl);

}  // namespace fw
