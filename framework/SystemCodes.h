// The system error codes the kit's decisions read, numbered as Windows
// numbers them, so the core reads codes without including windows.h.
#pragma once

namespace fw {

enum SystemCode : unsigned long {
    kFileNotFound = 2,  // also a registry key or value that doesn't exist
    kPathNotFound = 3,  // a folder on the way doesn't exist
    kAccessDenied = 5,
    kNotSameDevice = 17,     // a rename to another volume
    kSharingViolation = 32,  // another program has the file open
    kFileExists = 80,
    kAlreadyExists = 183,
    kNoUnicodeTranslation = 1113,  // a name with no Unicode form
    kCantAccessFile = 1920,        // not a plain file of the kit's kind where its path says: a link, a second name
};

}  // namespace fw
