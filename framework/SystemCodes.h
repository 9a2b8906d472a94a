// The system error codes the kit's decisions read, numbered as Windows
// numbers them, so the core reads codes without including windows.h.
// The test fakes fail with these too, so they and the kit speak the same
// codes (framework/Win32Error.cpp checks each against windows.h).
#pragma once

namespace fw {

enum SystemCode : unsigned long {
    kFileNotFound = 2,  // also a registry key or value that doesn't exist
    kPathNotFound = 3,  // a folder on the way doesn't exist
    kAccessDenied = 5,
    kNotEnoughMemory = 8,    // also what GDI fails for: it sets no code of its own
    kNotSameDevice = 17,     // a rename to another volume
    kSharingViolation = 32,  // another program has the file open
    kFileExists = 80,
    kDiskFull = 112,
    kInvalidName = 123,  // a name the file system doesn't take
    kAlreadyExists = 183,
    kNoUnicodeTranslation = 1113,  // a name with no Unicode form
    kIoDevice = 1117,              // the device failed the request
    kUnidentifiedError = 1287,     // a call that failed and gave no code
    kResourceNameNotFound = 1814,  // no resource of that name in the image
    kCantAccessFile = 1920,        // not a plain file of the kit's kind where its path says: a link, a second name
    kFileReadOnly = 6009,
};

}  // namespace fw
