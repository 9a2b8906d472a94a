#include "framework/ModuleResources.h"

#include <windows.h>

namespace fw {

bool ModuleResources::Find(const std::string& type, const std::string& name, Blob& blob) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, name.c_str(), type.c_str());
    if (!info) return false;
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return false;
    // Resource memory is mapped from the executable and lives as long as the
    // process: the bytes are written from there, never copied.
    blob.data = data;
    blob.size = SizeofResource(module, info);
    return true;
}

}  // namespace fw
