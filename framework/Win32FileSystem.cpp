#include "framework/Win32FileSystem.h"

// RtlGenRandom, the random source of advapi32, loaded with the kit already:
// a DLL outside the known ones would be looked for beside the kit first.
#include <ntsecapi.h>
#include <shlobj.h>  // SHGetFolderPathW, the common application data folder

#include <cstddef>
#include <cstring>
#include <cwchar>
#include <vector>

#include "framework/Handles.h"
#include "framework/HexDigits.h"
#include "framework/LinkRules.h"
#include "framework/LongPath.h"
#include "framework/NtFiles.h"
#include "framework/SecurityDescriptor.h"
#include "framework/SecurityRules.h"
#include "framework/SystemFunction.h"
#include "framework/Utf16.h"
#include "framework/Win32Error.h"

namespace fw {

WideText SystemPath(const std::string& path) {
    const WideText wide(path);
    std::vector<wchar_t> full(MAX_PATH);
    for (;;) {
        const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        // A path the system can't make full is passed on as it is: the file
        // call then fails with the system's own reason.
        if (length == 0) return wide;
        if (length < full.size()) return WideText(ExtendedLengthPath(Utf8(full.data(), length)));
        full.assign(length, L'\0');
    }
}

namespace {

bool StartsWith(const std::vector<wchar_t>& text, const wchar_t* prefix) {
    for (std::size_t i = 0; prefix[i] != L'\0'; ++i)
        if (i >= text.size() || text[i] != prefix[i]) return false;
    return true;
}

// The result of a call that reported success or set the last error.
Result ResultOf(BOOL succeeded) { return succeeded ? Result::Success() : LastFailure(); }

// Which file or folder handle holds.
Result IdentityOf(HANDLE handle, FileId& id) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info)) return LastFailure();
    id.volume = info.dwVolumeSerialNumber;
    id.index = static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    return Result::Success();
}

// The attributes and the number of names of what handle holds; asked apart
// from the volume's serial number, which Wine is slow to give.
struct ItemInfo {
    DWORD attributes = 0, names = 0;
};
Result InfoOf(HANDLE handle, ItemInfo& info) {
    FILE_BASIC_INFO basic;
    FILE_STANDARD_INFO standard;
    if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) ||
        !GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard))
        return LastFailure();
    info.attributes = basic.FileAttributes;
    info.names = standard.NumberOfLinks;
    return Result::Success();
}

// A file or folder that is not where its path says, or not a plain one of
// ours, is refused with the system's own word for a link.
Result Redirected() { return FailureOf(ERROR_CANT_ACCESS_FILE); }

// The path of the file behind handle below its volume ("\Apps\Meridal"), as
// the file system keeps it: for names longer than Wine gives a final path of.
Result VolumePathOf(HANDLE handle, std::vector<wchar_t>& path) {
    std::vector<char> info(sizeof(FILE_NAME_INFO) + 1024 * sizeof(wchar_t));
    for (;;) {
        FILE_NAME_INFO* name = reinterpret_cast<FILE_NAME_INFO*>(info.data());
        if (GetFileInformationByHandleEx(handle, FileNameInfo, name, static_cast<DWORD>(info.size()))) {
            path.assign(name->FileName, name->FileName + name->FileNameLength / sizeof(wchar_t));
            return Result::Success();
        }
        if (GetLastError() != ERROR_MORE_DATA || info.size() > 0x100000) return LastFailure();
        info.resize(info.size() * 2);
    }
}

// The part of an extended-length path below its volume: "\\?\C:\a" as "\a",
// "\\?\UNC\server\share\a" as "\server\share\a".
const wchar_t* BelowVolume(const WideText& path) {
    const wchar_t* text = path.c_str();
    if (std::wcsncmp(text, L"\\\\?\\UNC\\", 8) == 0) return text + 7;
    if (std::wcsncmp(text, L"\\\\?\\", 4) == 0 && path.size() >= 6 && text[5] == L':') return text + 6;
    return text;
}

// Whether two paths name the same place: without regard to case, and to the
// "\" a root's path ends in.
bool SamePlace(const std::vector<wchar_t>& found, const wchar_t* expected) {
    std::size_t length = found.size(), expectedLength = std::wcslen(expected);
    if (length > 0 && found[length - 1] == L'\\') --length;
    if (expectedLength > 0 && expected[expectedLength - 1] == L'\\') --expectedLength;
    return CompareStringOrdinal(found.data(), static_cast<int>(length), expected, static_cast<int>(expectedLength),
                                TRUE) == CSTR_EQUAL;
}

Result Refuse(NotPlainFile& refused, NotPlainFile::Kind kind) {
    refused.kind = kind;
    return Redirected();
}

// Whether the file or folder behind handle is at path (a SystemPath) itself,
// reached through no link; where it isn't, refused tells so, and where it
// lies. Wine gives no final path beyond about 263 characters; there the path
// below the volume is compared instead, and the place stays untold.
Result CheckWhere(HANDLE handle, const WideText& path, NotPlainFile& refused) {
    std::vector<wchar_t> found;
    Result result = FinalPathOf(handle, found);
    const wchar_t* expected = path.c_str();
    if (result.code == ERROR_MORE_DATA) {
        result = VolumePathOf(handle, found);
        expected = BelowVolume(path);
    }
    if (!result || SamePlace(found, expected)) return result;
    if (expected == path.c_str()) refused.place = PlainPath(std::move(found));
    return Refuse(refused, NotPlainFile::Kind::Elsewhere);
}

}  // namespace

Result CheckAt(HANDLE handle, const WideText& path) {
    NotPlainFile refused;
    return CheckWhere(handle, path, refused);
}

namespace {

// Opens path itself, never what a link at its end points to, for the given
// access; folders too.
unique_hfile OpenItself(const WideText& path, DWORD access, DWORD share) {
    return unique_hfile(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Whether the item behind handle, opened following no link, is a link
// itself: a reparse point whose tag names another place. A tag that can't
// be read fails.
Result IsLink(HANDLE handle, DWORD attributes, bool& link) {
    link = false;
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return Result::Success();
    FILE_ATTRIBUTE_TAG_INFO tag = {};
    if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag)) return LastFailure();
    link = IsLinkTag(tag.ReparseTag);
    return Result::Success();
}

// The same for the item at path, by its directory entry.
Result IsLinkAt(const WideText& path, DWORD attributes, bool& link) {
    link = false;
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return Result::Success();
    WIN32_FIND_DATAW entry;
    unique_hfind find(FindFirstFileW(path.c_str(), &entry));
    if (!find) return LastFailure();
    // The tag is in dwReserved0 of an entry with the reparse attribute.
    link = IsLinkTag(entry.dwReserved0);
    return Result::Success();
}

// Whether the file open at handle, opened following no link, is a plain
// file on a disk with a single name, itself no link; refused tells what else
// it is. info holds what was read of it.
Result CheckPlain(HANDLE file, ItemInfo& info, NotPlainFile& refused) {
    using Kind = NotPlainFile::Kind;
    SetLastError(NO_ERROR);  // GetFileType tells a failure only through the last error
    const DWORD type = GetFileType(file);
    if (type == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR) return LastFailure();
    if (type != FILE_TYPE_DISK) return Refuse(refused, Kind::Device);
    bool link = false;
    Result result = InfoOf(file, info);
    if (result) result = IsLink(file, info.attributes, link);
    if (!result) return result;
    // Only tags that name another place are links; a deduplicated or
    // compressed file is an ordinary file.
    const Kind kind = link                                           ? Kind::Link
                      : (info.attributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Folder
                      : (info.attributes & FILE_ATTRIBUTE_DEVICE)    ? Kind::Device
                      : info.names != 1                              ? Kind::SeveralNames
                                                                     : Kind::None;
    return kind == Kind::None ? result : Refuse(refused, kind);
}

class Win32HeldFile : public HeldFile {
public:
    explicit Win32HeldFile(unique_hfile file) : file_(std::move(file)) {}

    Result Write(const void* data, std::size_t size) override {
        const char* bytes = static_cast<const char*>(data);
        while (size > 0) {
            const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!WriteFile(file_.get(), bytes, chunk, &written, nullptr)) return LastFailure();
            if (written == 0) return FailureOf(ERROR_DISK_FULL);  // nothing taken, no error given
            bytes += written;
            size -= written;
        }
        return Result::Success();
    }

    Result Flush() override { return ResultOf(FlushFileBuffers(file_.get())); }

    Result MoveTo(HeldFolder& folder, const std::string& name) override {
        return RenameInto(file_.get(), folder.SystemHandle(), WideText(name).c_str());
    }

    Result Remove() override {
        FILE_DISPOSITION_INFO remove = {TRUE};
        const Result removed =
            ResultOf(SetFileInformationByHandle(file_.get(), FileDispositionInfo, &remove, sizeof remove));
        if (removed) file_.reset();  // the name goes with the last handle
        return removed;
    }

    Result Index(std::uint64_t& index) override {
        ULONGLONG number = 0;
        const Result result = FileIndexOf(file_.get(), number);
        index = number;
        return result;
    }

    Result ReadAll(std::string& bytes) override {
        LARGE_INTEGER start = {};
        if (!SetFilePointerEx(file_.get(), start, nullptr, FILE_BEGIN)) return LastFailure();
        bytes.clear();
        char chunk[4096];
        for (DWORD read = 0;; bytes.append(chunk, read)) {
            if (!ReadFile(file_.get(), chunk, sizeof chunk, &read, nullptr)) return LastFailure();
            if (read == 0) return Result::Success();
        }
    }

    Result Security(std::string& sddl) override { return SddlOf(file_.get(), SE_FILE_OBJECT, sddl); }

private:
    unique_hfile file_;
};

// The owner and DACL, as SDDL text, of the item at path (a SystemPath):
// of the link itself where open flags say so.
Result SddlAt(const WideText& path, DWORD flags, std::string& sddl) {
    unique_hfile item(CreateFileW(path.c_str(), READ_CONTROL, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr));
    if (!item) return LastFailure();
    return SddlOf(item.get(), SE_FILE_OBJECT, sddl);
}

class Win32HeldFolder : public HeldFolder {
public:
    Win32HeldFolder(unique_hfile folder, std::string finalPath)
        : folder_(std::move(folder)), finalPath_(std::move(finalPath)) {}
    const std::string& FinalPath() const override { return finalPath_; }
    // Asked once: a folder held can't become another.
    Result Identity(FileId& id) override {
        const Result result = known_ ? Result::Success() : IdentityOf(folder_.get(), id_);
        known_ = result.ok;
        id = id_;
        return result;
    }
    Result CreateNew(const std::string& name, std::unique_ptr<HeldFile>& file) override {
        // Fails on any name that exists, a link's too: a new name in a held
        // folder can't lead elsewhere.
        unique_hfile created;
        const Result result = CreateFileIn(folder_.get(), WideText(name).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                           0, nullptr, created);
        if (result) file = std::make_unique<Win32HeldFile>(std::move(created));
        return result;
    }
    void* SystemHandle() override { return folder_.get(); }
    // Whether path, every link on the way followed, names the folder held:
    // the same volume and file index.
    Result SameAs(const std::string& path, bool& same) override {
        same = false;
        unique_hfile opened(CreateFileW(SystemPath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!opened) return LastFailure();
        FileId held, found;
        Result result = Identity(held);
        if (result) result = IdentityOf(opened.get(), found);
        same = result && held == found;
        return result;
    }

private:
    unique_hfile folder_;
    std::string finalPath_;
    FileId id_;
    bool known_ = false;
};

}  // namespace

Result Win32FileSystem::Examine(const std::string& path, PathKind& kind) {
    const WideText systemPath = SystemPath(path);
    // The attributes of a link are its own, not its target's.
    const DWORD attributes = GetFileAttributesW(systemPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) return FailureOf(code);
        kind = PathKind::Missing;
        return Result::Success();
    }
    kind = PathKind::Redirected;
    bool link = false;
    const Result tagged = IsLinkAt(systemPath, attributes, link);
    if (!tagged || link) return tagged;
    // Some links show no such attribute; their final path gives them away.
    unique_hfile item = OpenItself(systemPath, FILE_READ_ATTRIBUTES, kShareAll);
    if (!item) return LastFailure();
    const Result at = CheckAt(item.get(), systemPath);
    if (at.code == kCantAccessFile) return Result::Success();
    if (!at) return at;
    ItemInfo info;
    const Result read = InfoOf(item.get(), info);
    if (!read) return read;
    kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder
           : info.names > 1                        ? PathKind::SeveralNames
                                                   : PathKind::File;
    return Result::Success();
}

Result Win32FileSystem::HoldFolder(const std::string& path, std::unique_ptr<HeldFolder>& held) {
    // Without delete sharing nobody can rename or remove the folder while it
    // is held; listing is the least access that holds it so, and lets every
    // reader and writer be. Links on the way are followed (the caller checks
    // them once it is held); what is held is the folder the handle's final
    // path names.
    unique_hfile folder(
        CreateFileW(SystemPath(path).c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return LastFailure();
    ItemInfo info;
    std::vector<wchar_t> final;
    Result result = InfoOf(folder.get(), info);
    if (result && !(info.attributes & FILE_ATTRIBUTE_DIRECTORY)) result = FailureOf(ERROR_DIRECTORY);
    if (result) result = FinalPathOf(folder.get(), final);
    if (result) held = std::make_unique<Win32HeldFolder>(std::move(folder), PlainPath(std::move(final)));
    return result;
}

Result Win32FileSystem::LinksOnPath(const std::string& folder, std::vector<PathLink>& links) {
    const std::string path = Utf8(SystemPath(folder).c_str());
    // Each step past the drive ("\\?\C:\") or the share ("\\?\UNC\server\share\").
    const std::size_t root = path.compare(0, 8, "\\\\?\\UNC\\") == 0 ? path.find('\\', path.find('\\', 8) + 1) : 6;
    std::size_t end = root;
    while (end != std::string::npos && end + 1 < path.size()) {
        // The folder the step is in: the drive's or share's root with its "\".
        const WideText parent(path.substr(0, end == root ? end + 1 : end));
        end = path.find('\\', end + 1);
        const WideText step(path.substr(0, end));
        const DWORD attributes = GetFileAttributesW(step.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD code = GetLastError();
            if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) break;  // nothing further to follow
            return FailureOf(code);
        }
        bool isLink = false;
        const Result tagged = IsLinkAt(step, attributes, isLink);
        if (!tagged) return tagged;
        if (!isLink) continue;
        PathLink link;
        link.path = PlainPath(std::vector<wchar_t>(step.c_str(), step.c_str() + step.size()));
        std::vector<wchar_t> final;
        unique_hfile followed(CreateFileW(step.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (followed && FinalPathOf(followed.get(), final)) link.leadsTo = PlainPath(final);
        // Who can change the link, and the folder it is in, decides whether
        // it is followed: not knowing is a failure.
        Result read = SddlAt(step, FILE_FLAG_OPEN_REPARSE_POINT, link.sddl);
        if (read) read = SddlAt(parent, 0, link.parentSddl);
        if (!read) return read;
        links.push_back(std::move(link));
    }
    return Result::Success();
}

Result Win32FileSystem::OpenExisting(const std::string& path, std::unique_ptr<HeldFile>& file) {
    const WideText systemPath = SystemPath(path);
    // Write access too, though nothing is written through it: a running
    // program's image can be renamed, but not opened for writing.
    unique_hfile opened(CreateFileW(systemPath.c_str(),
                                    DELETE | FILE_READ_ATTRIBUTES | FILE_READ_DATA | FILE_WRITE_DATA | READ_CONTROL, 0,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!opened) {
        const DWORD code = GetLastError();
        // A read-only file is said to be one; waiting wouldn't change it.
        const DWORD attributes = GetFileAttributesW(systemPath.c_str());
        if (code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return FailureOf(ERROR_FILE_READ_ONLY);
        return FailureOf(code);
    }
    ItemInfo info;
    NotPlainFile refused;
    const Result plain = CheckPlain(opened.get(), info, refused);
    if (!plain) return plain;
    // Wine opens a read-only file for writing all the same.
    if (info.attributes & FILE_ATTRIBUTE_READONLY) return FailureOf(ERROR_FILE_READ_ONLY);
    const Result at = CheckAt(opened.get(), systemPath);
    if (!at) return at;
    file = std::make_unique<Win32HeldFile>(std::move(opened));
    return Result::Success();
}

namespace {

// A file appended to: its lines stay, readers may look on, nobody else
// writes meanwhile.
const DWORD kAppendAccess = FILE_APPEND_DATA | FILE_READ_ATTRIBUTES;
const DWORD kAppendSharing = FILE_SHARE_READ;

// Creates the file at path (a SystemPath) with the security sddl describes,
// in its folder held and checked first, so nothing is made anywhere the path
// doesn't say. Held without delete sharing, the folder can't be renamed or
// swapped for a link until the file is made, by its bare name relative to
// the held folder. A file there already fails with ERROR_ALREADY_EXISTS.
Result CreateToAppend(const WideText& path, const std::string& sddl, unique_hfile& file, NotPlainFile& refused) {
    const wchar_t* slash = std::wcsrchr(path.c_str(), L'\\');
    if (!slash || slash == path.c_str() || slash[1] == L'\0') return FailureOf(ERROR_INVALID_NAME);
    // The folder as the system names it: a drive's root with its "\"
    // ("\\?\C:" alone is the volume), any other folder without.
    const std::size_t folderLength = static_cast<std::size_t>(slash - path.c_str()) + (slash[-1] == L':');
    const WideText folderPath(Utf8(path.c_str(), folderLength));
    unique_hfile folder(CreateFileW(folderPath.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return LastFailure();
    // A link, junction or substituted drive on the way leads elsewhere.
    Result result = CheckWhere(folder.get(), folderPath, refused);
    unique_security_descriptor descriptor;
    if (result) result = SecurityDescriptorOf(WideText(sddl).c_str(), descriptor);
    if (result) result = CreateFileIn(folder.get(), slash + 1, kAppendAccess, kAppendSharing, descriptor.get(), file);
    return result;
}

}  // namespace

Result Win32FileSystem::OpenForAppend(const std::string& path, const std::string& newFileSddl,
                                      std::unique_ptr<HeldFile>& file, bool& created, NotPlainFile& refused) {
    const WideText systemPath = SystemPath(path);
    // The name itself is opened, never what a link there leads to, and a
    // folder opens too, so either is told as what it is.
    unique_hfile opened = OpenItself(systemPath, kAppendAccess, kAppendSharing);
    if (!opened && GetLastError() == ERROR_FILE_NOT_FOUND) {
        Result made = CreateToAppend(systemPath, newFileSddl, opened, refused);
        created = made.ok;
        // One another made meanwhile is opened as one that was there.
        if (made.code == ERROR_ALREADY_EXISTS || made.code == ERROR_FILE_EXISTS)
            opened = OpenItself(systemPath, kAppendAccess, kAppendSharing);
        else if (!made) return made;
    }
    if (!opened) return LastFailure();
    ItemInfo info;
    Result checked = CheckPlain(opened.get(), info, refused);
    // A link on the way to it, also one the system followed without showing
    // (as Wine does with a symbolic link), leads elsewhere.
    if (checked) checked = CheckWhere(opened.get(), systemPath, refused);
    if (checked) file = std::make_unique<Win32HeldFile>(std::move(opened));
    return checked;
}

namespace {

const char kKitFolderName[] = "MeridalUpgrade";
// Only Administrators and SYSTEM, for the folder and all it will hold.
const wchar_t kKitFolderSecurity[] = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";

// Holds the folder at path (a SystemPath) itself when it is one the kit may
// keep its state in: a plain folder, no link, that only Administrators and
// SYSTEM can change where the system keeps such rights.
Result HoldTrusted(FileSystem& files, const WideText& path, std::unique_ptr<HeldFolder>& held) {
    unique_hfile folder(CreateFileW(
        path.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL | SYNCHRONIZE,
        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!folder) return LastFailure();
    ItemInfo info;
    Result result = InfoOf(folder.get(), info);
    if (!result) return result;
    if ((info.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != FILE_ATTRIBUTE_DIRECTORY)
        return Redirected();
    result = CheckAt(folder.get(), path);
    std::string sddl;
    if (result && files.KeepsFileSecurity() && (result = SddlOf(folder.get(), SE_FILE_OBJECT, sddl)) &&
        !OnlyAdministratorsCanChange(sddl))
        result = FailureOf(ERROR_INVALID_OWNER);
    if (result)
        held = std::make_unique<Win32HeldFolder>(
            std::move(folder), PlainPath(std::vector<wchar_t>(path.c_str(), path.c_str() + path.size())));
    return result;
}

}  // namespace

Result Win32FileSystem::HoldKitFolder(std::unique_ptr<HeldFolder>& held) {
    wchar_t common[MAX_PATH];
    const HRESULT found = SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common);
    if (FAILED(found)) return FailureOf(HRESULT_CODE(found));
    const std::string base = Utf8(common) + "\\" + kKitFolderName;
    // The kit's folder, or one made earlier under a name of the kind
    // ("MeridalUpgrade.~<tail>") because a user had taken the plain name.
    WIN32_FIND_DATAW entry;
    unique_hfind find(FindFirstFileW(SystemPath(base + "*").c_str(), &entry));
    if (!find && GetLastError() != ERROR_FILE_NOT_FOUND) return LastFailure();
    for (bool more = static_cast<bool>(find); more; more = FindNextFileW(find.get(), &entry) != FALSE) {
        std::string name;
        try {
            name = Utf8(entry.cFileName);
        } catch (const Error&) {
            continue;  // no name the kit gives
        }
        if (name != kKitFolderName && name.rfind(std::string(kKitFolderName) + ".~", 0) != 0) continue;
        if (HoldTrusted(*this, SystemPath(Utf8(common) + "\\" + name), held)) return Result::Success();
    }
    if (find && GetLastError() != ERROR_NO_MORE_FILES) return LastFailure();
    // None: a new one, under a fresh name where the plain one is taken.
    unique_security_descriptor descriptor;
    Result result = SecurityDescriptorOf(kKitFolderSecurity, descriptor);
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor.get(), FALSE};
    std::string path = base;
    for (unsigned attempt = 0; result && attempt < 10; ++attempt) {
        if (CreateDirectoryW(SystemPath(path).c_str(), &attributes)) return HoldTrusted(*this, SystemPath(path), held);
        if (GetLastError() != ERROR_ALREADY_EXISTS) return LastFailure();
        std::uint64_t tail = 0;
        if ((result = Random(tail))) path = base + ".~" + HexDigits(tail);
    }
    return result ? FailureOf(ERROR_ALREADY_EXISTS) : result;
}

Result Win32FileSystem::HoldLock(const std::string& path, std::unique_ptr<HeldFile>& file) {
    // Reading and writing asked for, shared with nobody: a second holder's
    // open fails with a sharing violation.
    unique_hfile lock(CreateFileW(SystemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!lock) return LastFailure();
    file = std::make_unique<Win32HeldFile>(std::move(lock));
    return Result::Success();
}

bool Win32FileSystem::KeepsFileSecurity() {
    // Wine's ntdll says what it is; Windows' has no such function.
    return SystemFunction<const char*(CDECL*)()>(L"ntdll.dll", "wine_get_version") == nullptr;
}

Result Win32FileSystem::Random(std::uint64_t& value) {
    // It sets no error code of its own.
    return RtlGenRandom(&value, sizeof value) ? Result::Success() : FailureOf(ERROR_GEN_FAILURE);
}

void Win32FileSystem::Pause(unsigned milliseconds) { Sleep(milliseconds); }

Result FinalPathOf(HANDLE handle, std::vector<wchar_t>& path) {
    path.assign(MAX_PATH + 1, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return LastFailure();
        if (length < path.size()) {
            path.resize(length);
            return Result::Success();
        }
        path.assign(length + 1, L'\0');
    }
}

std::string PlainPath(std::vector<wchar_t> path) {
    if (StartsWith(path, L"\\\\?\\UNC\\")) path.erase(path.begin() + 2, path.begin() + 8);  // "\\server"
    else if (StartsWith(path, L"\\\\?\\")) path.erase(path.begin(), path.begin() + 4);
    while (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return Utf8(path.data(), path.size());
}

}  // namespace fw
