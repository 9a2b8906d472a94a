// Functions that older systems lack, looked up at run time in a module
// already loaded (kernel32, user32) or loaded from System32.
#pragma once

#include <windows.h>

namespace fw {

// The function name of module, or null where the module or the function is missing.
template <typename Function>
Function SystemFunction(HMODULE module, const char* name) {
    const FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// The same, from a module the process has already loaded, such as "kernel32.dll".
template <typename Function>
Function SystemFunction(const wchar_t* loadedModule, const char* name) {
    return SystemFunction<Function>(GetModuleHandleW(loadedModule), name);
}

}  // namespace fw
