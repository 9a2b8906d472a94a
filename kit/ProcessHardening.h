// What the hardening set before the C runtime started came to.
#pragma once

#include <string>

namespace kit {

// "Protectii: ...": whether DLLs load from System32 only, and whether
// junctions of users who are no administrators are not followed.
std::string HardeningLine();

}  // namespace kit
