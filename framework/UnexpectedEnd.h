// The end of a program that can go on no longer: std::terminate (an
// exception that crossed a noexcept edge or escaped everything), or a
// hardware exception (such as an access violation) that no handler took.
// Neither brings up the runtime's abort box nor the system's fault dialog,
// which would wait for a person; the failure is told, then the process ends.
#pragma once

#include <string>

namespace fw {

// From now on such an end calls report once with the failure's text (the
// exception's message, "Unknown failure", or the hardware exception's code)
// and ends the process with exitCode.
void EndUnexpectedFailures(void (*report)(const std::string& text), unsigned exitCode);

}  // namespace fw
