// Entry point of the upgrade kit.
#include <windows.h>

#include "framework/Application.h"
#include "kit/Unit1.h"

namespace {
// The kit runs elevated, often from a downloads folder: load system DLLs
// from System32 only, never from beside the executable. Looked up at run
// time so the kit still starts where the call doesn't exist.
void RestrictDllSearchToSystem32() {
    using SetDirs = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC proc = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    if (proc) reinterpret_cast<SetDirs>(reinterpret_cast<void*>(proc))(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictDllSearchToSystem32();
    fw::Application& application = fw::Application::Get();
    application.Initialize();
    try {
        TForm1 form1;
        form1.Show();
        return application.Run();
    } catch (const std::exception& failure) {
        application.ShowException(failure);
        return 1;
    }
}
