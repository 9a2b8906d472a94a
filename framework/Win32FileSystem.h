// Win32 files behind the FileSystem interface.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/FileSystem.h"
#include "framework/Handles.h"
#include "framework/Utf16.h"

namespace fw {

class Win32FileSystem : public FileSystem {
public:
    Result Examine(const std::string& path, PathKind& kind) override;
    Result HoldFolder(const std::string& path, std::unique_ptr<HeldFolder>& held) override;
    Result LinksOnPath(const std::string& folder, std::vector<PathLink>& links) override;
    Result OpenExisting(const std::string& path, std::unique_ptr<HeldFile>& file) override;
    Result OpenForAppend(const std::string& path, const std::string& newFileSddl, std::unique_ptr<HeldFile>& file,
                         bool& created, NotPlainFile& refused) override;
    Result HoldKitFolder(std::unique_ptr<HeldFolder>& held) override;
    Result HoldLock(const std::string& path, std::unique_ptr<HeldFile>& file) override;
    bool KeepsFileSecurity() override;
    Result Random(std::uint64_t& value) override;
    void Pause(unsigned milliseconds) override;
};

// path as the W file functions take it at any length: made full by the
// system's own rules (".", "..", "/"), then in its extended-length form, so
// no name is held to the classic limit of 259 characters.
WideText SystemPath(const std::string& path);

// The path of the file open at handle, every link on the way resolved, in
// the extended-length form the system gives it ("\\?\C:\Apps\Meridal").
// Fails with ERROR_MORE_DATA where Wine gives none: beyond about 263
// characters.
Result FinalPathOf(HANDLE handle, std::vector<wchar_t>& path);

// Whether the file or folder behind handle is at path (a SystemPath)
// itself, reached through no link: fails with kCantAccessFile when it lies
// elsewhere. Names compare without regard to case, and to the "\" a root's
// path ends in; beyond the final path Wine gives (about 263 characters) the
// path below the volume is compared.
Result CheckAt(HANDLE handle, const WideText& path);

// Such a path in the form users write and the kit builds paths:
// "C:\Apps\Meridal" or "\\server\share\Meridal", without a trailing "\".
std::string PlainPath(std::vector<wchar_t> path);

}  // namespace fw
