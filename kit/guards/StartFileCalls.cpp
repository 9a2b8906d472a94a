// The two ANSI calls of the MinGW start files, served by their UTF-16 forms.
//
// Before main, the start files look for libgcc's DLL by its ANSI name (to
// register the exception tables with it, were it loaded). The kit calls no
// ANSI function of its own; these definitions of the import slots take the
// import library's place at link time, so none is imported either. The names
// they are given are ASCII: each character is widened as it is.
#include <windows.h>

namespace {

// name, widened into buffer; false when it is longer than MAX_PATH.
bool Widened(LPCSTR name, wchar_t (&buffer)[MAX_PATH]) {
    for (int i = 0; i < MAX_PATH; ++i) {
        buffer[i] = static_cast<unsigned char>(name[i]);
        if (name[i] == '\0') return true;
    }
    return false;
}

extern "C" HMODULE WINAPI KitGetModuleHandleA(LPCSTR name) {
    wchar_t wide[MAX_PATH];
    if (!name) return GetModuleHandleW(nullptr);
    if (!Widened(name, wide)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    return GetModuleHandleW(wide);
}

extern "C" HMODULE WINAPI KitLoadLibraryA(LPCSTR name) {
    wchar_t wide[MAX_PATH];
    if (!Widened(name, wide)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    return LoadLibraryW(wide);
}

}  // namespace

// The import slots the start files call through, by their decorated names.
#if defined(_WIN64)
extern "C" void* const ImportedGetModuleHandleA __asm__("__imp_GetModuleHandleA");
extern "C" void* const ImportedLoadLibraryA __asm__("__imp_LoadLibraryA");
#else
extern "C" void* const ImportedGetModuleHandleA __asm__("__imp__GetModuleHandleA@4");
extern "C" void* const ImportedLoadLibraryA __asm__("__imp__LoadLibraryA@4");
#endif
extern "C" void* const ImportedGetModuleHandleA = reinterpret_cast<void*>(&KitGetModuleHandleA);
extern "C" void* const ImportedLoadLibraryA = reinterpret_cast<void*>(&KitLoadLibraryA);
