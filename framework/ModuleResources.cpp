#include "framework/ModuleResources.h"

#include <windows.h>

#include "framework/Utf16.h"
#include "framework/Win32Error.h"

namespace fw {

Result ModuleResources::Find(const std::string& type, const std::string& name, Blob& blob) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, WideText(name).c_str(), WideText(type).c_str());
    if (!info) return LastFailure();
    HGLOBAL loaded = LoadResource(module, info);
    if (!loaded) return LastFailure();
    // Resource memory is mapped from the executable and lives as long as the
    // process: the bytes are written from there, never copied.
    const void* data = LockResource(loaded);
    if (!data) return LastFailure();
    // An empty resource is a size of 0 too: only a 0 with a code is a failure.
    SetLastError(ERROR_SUCCESS);
    const DWORD size = SizeofResource(module, info);
    if (size == 0 && GetLastError() != ERROR_SUCCESS) return LastFailure();
    blob.data = data;
    blob.size = size;
    return Result::Success();
}

}  // namespace fw
