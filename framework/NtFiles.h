// What the kit asks of files through ntdll, where the Win32 calls can't give
// it or give it slowly.
//
// Files named relative to a folder the kit holds open, never by a full path,
// as Rust's standard library walks folders since CVE-2022-21658: a folder on
// the way swapped for a link since it was held can't redirect them. The
// Win32 calls take full paths (and Wine 8 refuses a rename relative to a
// folder through SetFileInformationByHandle).
#pragma once

#include <windows.h>

#include "framework/Handles.h"
#include "framework/Result.h"

namespace fw {

// Creates the file name (a bare name) in folder, failing when anything of
// that name exists; access and share as CreateFileW takes them, security as
// given (null: what the folder gives new files).
Result CreateFileIn(HANDLE folder, const wchar_t* name, ACCESS_MASK access, ULONG share, PSECURITY_DESCRIPTOR security,
                    unique_hfile& file);

// Renames the open file to name (a bare name) in folder, on the same volume;
// fails when anything of that name exists there.
Result RenameInto(HANDLE file, HANDLE folder, const wchar_t* name);

// The index of the file open at handle on its volume, without the volume's
// serial number, which Wine is slow to give.
Result FileIndexOf(HANDLE file, ULONGLONG& index);

}  // namespace fw
