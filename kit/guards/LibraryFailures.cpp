// How the MinGW build raises the standard library's own failures (a string
// or vector grown past its limit, memory running out).
//
// libstdc++ raises them as std::length_error and its kin, whose message is a
// reference-counted string of the library's older ABI: one throw brings that
// whole second string implementation and its exception classes into the
// executable, a fifth of the kit's own code. These definitions take the
// library's place at link time and raise the kit's own failure type with the
// same message, which the kit's handlers report like any other failure; the
// failures that carry no message keep their standard types.
#include <new>
#include <typeinfo>

#include "framework/Error.h"

namespace std {
// Every function of this group must be defined here: one left to the library
// would bring its whole object file, and with it a second definition of the rest.
void __throw_bad_exception();
void __throw_bad_alloc();
void __throw_bad_array_new_length();
void __throw_bad_cast();
void __throw_bad_typeid();
void __throw_logic_error(const char* what);
void __throw_domain_error(const char* what);
void __throw_invalid_argument(const char* what);
void __throw_length_error(const char* what);
void __throw_out_of_range(const char* what);
void __throw_out_of_range_fmt(const char* format, ...);
void __throw_runtime_error(const char* what);
void __throw_range_error(const char* what);
void __throw_overflow_error(const char* what);
void __throw_underflow_error(const char* what);

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* what) { throw fw::Error(what); }
void __throw_domain_error(const char* what) { throw fw::Error(what); }
void __throw_invalid_argument(const char* what) { throw fw::Error(what); }
void __throw_length_error(const char* what) { throw fw::Error(what); }
void __throw_out_of_range(const char* what) { throw fw::Error(what); }
// The format's arguments are left out: the text names the failure well enough.
void __throw_out_of_range_fmt(const char* format, ...) { throw fw::Error(format); }
void __throw_runtime_error(const char* what) { throw fw::Error(what); }
void __throw_range_error(const char* what) { throw fw::Error(what); }
void __throw_overflow_error(const char* what) { throw fw::Error(what); }
void __throw_underflow_error(const char* what) { throw fw::Error(what); }
}  // namespace std
