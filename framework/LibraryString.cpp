// Where the MinGW build takes the members of std::string from.
//
// libstdc++ declares std::string an explicitly instantiated template, so a
// program calls the members compiled into the library's string-inst.o rather
// than compiling them itself. The linker takes that object whole: its code
// (most of which the linker can drop) and its unwind table (which it cannot:
// the PE linker keeps every object's .eh_frame entire), some 29 KB for the
// few members the kit calls. The instantiation below defines every member
// here instead, as link-time intermediate code: the library's object is no
// longer needed, and the link keeps only the members something calls, with
// their unwind entries.
#include <string>

#if defined(__GLIBCXX__)
template class std::basic_string<char>;
#endif
