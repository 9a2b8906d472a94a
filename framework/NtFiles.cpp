#include "framework/NtFiles.h"

#include <winternl.h>  // after windows.h, whose types it uses

#include <cstddef>
#include <cstring>
#include <cwchar>
#include <vector>

#include "framework/SystemFunction.h"
#include "framework/Win32Error.h"

namespace fw {

namespace {

// Declared here: the Windows SDK's winternl.h names neither the function
// nor the class.
using InformationFile = LONG(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, ULONG);
const ULONG kFileInternalInformation = 6, kFileRenameInformation = 10;

template <typename Function>
Function Ntdll(const char* name) {
    return SystemFunction<Function>(L"ntdll.dll", name);
}

// The system's error code of an NTSTATUS.
Result StatusResult(LONG status) {
    if (status >= 0) return Result::Success();
    const auto dosError = Ntdll<decltype(&RtlNtStatusToDosError)>("RtlNtStatusToDosError");
    return FailureOf(dosError ? dosError(status) : ERROR_GEN_FAILURE);
}

}  // namespace

Result CreateFileIn(HANDLE folder, const wchar_t* name, ACCESS_MASK access, ULONG share, PSECURITY_DESCRIPTOR security,
                    unique_hfile& file) {
    const auto create = Ntdll<decltype(&NtCreateFile)>("NtCreateFile");
    if (!create) return FailureOf(ERROR_PROC_NOT_FOUND);
    const std::size_t bytes = std::wcslen(name) * sizeof(wchar_t);
    if (bytes > 0xFFFE) return FailureOf(ERROR_FILENAME_EXCED_RANGE);
    UNICODE_STRING objectName = {static_cast<USHORT>(bytes), static_cast<USHORT>(bytes), const_cast<wchar_t*>(name)};
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &objectName, OBJ_CASE_INSENSITIVE, folder, security);
    IO_STATUS_BLOCK status = {};
    HANDLE created = INVALID_HANDLE_VALUE;
    // What CreateFileW asks for a file opened for synchronous reads and writes.
    const Result result =
        StatusResult(create(&created, access | SYNCHRONIZE, &attributes, &status, nullptr, FILE_ATTRIBUTE_NORMAL, share,
                            FILE_CREATE, FILE_NON_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0));
    if (result) file.reset(created);
    return result;
}

Result RenameInto(HANDLE file, HANDLE folder, const wchar_t* name) {
    const auto set = Ntdll<InformationFile>("NtSetInformationFile");
    if (!set) return FailureOf(ERROR_PROC_NOT_FOUND);
    // The request is the structure with the new name in place of its last member.
    const std::size_t nameBytes = std::wcslen(name) * sizeof(wchar_t);
    std::vector<char> request(sizeof(FILE_RENAME_INFO) + nameBytes, '\0');
    FILE_RENAME_INFO* rename = reinterpret_cast<FILE_RENAME_INFO*>(request.data());
    rename->RootDirectory = folder;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(request.data() + offsetof(FILE_RENAME_INFO, FileName), name, nameBytes);
    IO_STATUS_BLOCK status = {};
    return StatusResult(set(file, &status, request.data(), static_cast<ULONG>(request.size()), kFileRenameInformation));
}

Result FileIndexOf(HANDLE file, ULONGLONG& index) {
    const auto query = Ntdll<InformationFile>("NtQueryInformationFile");
    if (!query) return FailureOf(ERROR_PROC_NOT_FOUND);
    LARGE_INTEGER number = {};
    IO_STATUS_BLOCK status = {};
    const Result result = StatusResult(query(file, &status, &number, sizeof number, kFileInternalInformation));
    index = static_cast<ULONGLONG>(number.QuadPart);
    return result;
}

}  // namespace fw
