// The MinGW build's default terminate handler, in force only until the kit
// installs its own at start-up (kit::EndUnexpectedFailures, which logs the
// failure and ends with exit code 3); before that only static
// initialisation runs.
//
// libstdc++'s default terminate handler prints the exception's demangled type
// to the standard error stream and aborts. The kit is a GUI program: it has
// no standard error, so the message reaches nobody, yet the handler brings in
// a C++ demangler and a printf, a fifth of the executable's code. This
// definition takes the handler's place at link time and ends the program the
// same way, through abort().
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler();
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
