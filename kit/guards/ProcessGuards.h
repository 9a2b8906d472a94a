// The process's own guards, in force from its first instruction to its last:
// the hardening set before the C runtime starts, and the end of a process
// that can go on no longer.
#pragma once

#include <string>

namespace kit {

// "Protectii: ...": whether DLLs load from System32 only, and whether
// junctions of users who are no administrators are not followed.
std::string HardeningLine();

// From now on std::terminate (an exception that crossed a noexcept edge or
// escaped everything) and a hardware exception no handler took (such as an
// access violation) call report once with the failure's text (the
// exception's message, "Unknown failure", or the hardware exception's code)
// and end the process with exitCode. Neither brings up the runtime's abort
// box nor the system's fault dialog, which would wait for a person.
void EndUnexpectedFailures(void (*report)(const std::string& text), unsigned exitCode);

}  // namespace kit
