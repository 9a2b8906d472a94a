// What the MinGW build does when an exception escapes everything (which the
// kit's own handlers at every window procedure and in WinMain prevent).
//
// libstdc++'s default terminate handler prints the exception's demangled type
// to the standard error stream and aborts. The kit is a GUI program: it has
// no standard error, so the message reaches nobody, yet the handler brings in
// a C++ demangler and a printf, a fifth of the executable's code. This
// definition takes the handler's place at link time and ends the program the
// same way, through abort(), which reports the abnormal end to the user.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler();
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
